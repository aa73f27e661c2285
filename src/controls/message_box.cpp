#include "controls/message_box.h"

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
    bool question(QWidget *parent, const QString &text) override {
        QMessageBox box(QMessageBox::Question, QString::fromLatin1(kAppTitle), text,
                        QMessageBox::Yes | QMessageBox::No, parent);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("是[&Y]"));
        box.button(QMessageBox::No)->setText(QStringLiteral("否[&N]"));
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes;
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
    return Seam<MessageBoxes>::get().question(parent, text);
}

} // namespace drillpad
