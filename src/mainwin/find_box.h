#pragma once

#include "controls/form_dialog.h"
#include "forms/form_builder.h"

class QLineEdit;
class QTextEdit;

namespace drillpad {

// Selects the next occurrence of `text` after the selection (or, backwards,
// before it), carrying on from the other end of the document when the end is
// reached. Letters match regardless of case. False, with the selection
// unchanged, when the text does not occur at all.
bool findInEditor(QTextEdit &editor, const QString &text, bool backward);

// The main window's find box: a small window that stays open beside the
// sheet while the user searches it, next or previous.
class FindBox : public FormDialog {
    Q_OBJECT
public:
    FindBox(QTextEdit *editor, QWidget *parent);

    QLineEdit *txtFind() const;
    CommandButton *button(const char *name) const;

    // Shows the box with the editor's selection (when it is one line) as the
    // text to find, ready for typing.
    void showFor(const QString &selected);

    void cmdFindNext_Click();
    void cmdFindPrevious_Click();

private:
    void find(bool backward);
    void updateButtons();

    QTextEdit *editor_;
    forms::ControlMap controls_;
};

} // namespace drillpad
