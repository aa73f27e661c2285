#include "controls/form_dialog.h"

#include "controls/command_button.h"

#include <QKeyEvent>

namespace drillpad {

FormDialog::FormDialog(QWidget *parent) : QDialog(parent) {
    setWindowModality(Qt::ApplicationModal);
}

void FormDialog::setDefaultButton(CommandButton *button) {
    if (defaultButton_)
        defaultButton_->setDefaultRole(false);
    defaultButton_ = button;
    if (button)
        button->setDefaultRole(true);
}

void FormDialog::setCancelButton(CommandButton *button) {
    if (cancelButton_)
        cancelButton_->setCancelRole(false);
    cancelButton_ = button;
    if (button)
        button->setCancelRole(true);
}

void FormDialog::showModal() {
    setWindowModality(Qt::ApplicationModal);
    exec();
}

void FormDialog::keyPressEvent(QKeyEvent *event) {
    if (isPlainEnter(event)) {
        if (defaultButton_ && defaultButton_->isEnabled() && defaultButton_->isVisible())
            defaultButton_->click();
        event->accept();
        return;
    }
    if (isPlainEscape(event)) {
        if (cancelButton_ && cancelButton_->isEnabled() && cancelButton_->isVisible())
            cancelButton_->click();
        else
            close();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace drillpad
