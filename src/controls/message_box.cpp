#include "controls/message_box.h"

#include <QMessageBox>

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

} // namespace drillpad
