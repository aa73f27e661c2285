#include "controls/message_box.h"

#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace drillpad {

namespace {

class RealMessageBoxes final : public MessageBoxes {
public:
    void information(QWidget *parent, const QString &text) override {
        show(parent, QMessageBox::NoIcon, text);
    }
    void warning(QWidget *parent, const QString &text) override {
        show(parent, QMessageBox::Warning, text);
    }
    int ask(QWidget *parent, const Question &question) override {
        QMessageBox box(parent);
        prepareQuestionBox(box, question);
        box.exec();
        const int chosen = static_cast<int>(box.buttons().indexOf(box.clickedButton()));
        return chosen >= 0 ? chosen : question.escapeButton;
    }
    std::optional<QString> askText(QWidget *parent, const QString &prompt,
                                   const QString &initial) override {
        QInputDialog box(parent);
        box.setWindowTitle(QString::fromLatin1(kAppTitle));
        box.setLabelText(prompt);
        box.setTextValue(initial);
        // The line has no label of its own for a screen reader.
        if (auto *line = box.findChild<QLineEdit *>())
            line->setAccessibleName(prompt);
        if (box.exec() != QDialog::Accepted)
            return std::nullopt;
        return box.textValue();
    }

private:
    static void show(QWidget *parent, QMessageBox::Icon icon, const QString &text) {
        QMessageBox box(icon, QString::fromLatin1(kAppTitle), text, QMessageBox::Ok, parent);
        box.exec();
    }
};

} // namespace

template <> MessageBoxes &Seam<MessageBoxes>::real() {
    static RealMessageBoxes boxes;
    return boxes;
}

void showMessage(QWidget *parent, const QString &text) {
    Seam<MessageBoxes>::get().information(parent, text);
}

void showWarning(QWidget *parent, const QString &text) {
    Seam<MessageBoxes>::get().warning(parent, text);
}

bool askYesNo(QWidget *parent, const QString &text) {
    const Question question{text, {QStringLiteral("是"), QStringLiteral("否")}, 1, 1};
    return Seam<MessageBoxes>::get().ask(parent, question) == 0;
}

std::optional<QString> askText(QWidget *parent, const QString &prompt, const QString &initial) {
    return Seam<MessageBoxes>::get().askText(parent, prompt, initial);
}

void prepareQuestionBox(QMessageBox &box, const Question &question) {
    box.setIcon(QMessageBox::Question);
    box.setWindowTitle(QString::fromLatin1(kAppTitle));
    box.setText(question.text);
    // One role for all keeps the buttons in the order given on every
    // desktop; the roles' own orders differ between desktops.
    for (const QString &caption : question.buttons)
        box.addButton(caption, QMessageBox::ActionRole);
    const QList<QAbstractButton *> buttons = box.buttons();
    if (auto *button = qobject_cast<QPushButton *>(buttons.value(question.defaultButton)))
        box.setDefaultButton(button);
    box.setEscapeButton(buttons.value(question.escapeButton));
}

} // namespace drillpad
