#pragma once

#include "controls/command_button.h"

#include <QDialog>
#include <QPointer>

namespace drillpad {

// A secondary window, shown modally. Enter clicks the default button and Esc
// the cancel button, each only while that button is enabled. Where no
// enabled cancel button takes Esc, Esc closes the window as its close box
// does, so no window traps the keyboard; a window that must stay open (a
// quiz in progress) refuses in its closeEvent.
class FormDialog : public QDialog {
    Q_OBJECT
public:
    explicit FormDialog(QWidget *parent = nullptr);

    void setDefaultButton(CommandButton *button);
    void setCancelButton(CommandButton *button);
    CommandButton *defaultButton() const { return defaultButton_; }
    CommandButton *cancelButton() const { return cancelButton_; }

    // Shows the window modally with no owner and returns when it closes.
    void showModal();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QPointer<CommandButton> defaultButton_;
    QPointer<CommandButton> cancelButton_;
};

} // namespace drillpad
