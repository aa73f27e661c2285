#include "mainwin/find_box.h"

#include "controls/message_box.h"
#include "forms/frm_main_def.h"

#include <QLineEdit>
#include <QTextDocument>
#include <QTextEdit>

namespace drillpad {

bool findInEditor(QTextEdit &editor, const QString &text, bool backward) {
    if (text.isEmpty())
        return false;
    QTextDocument *document = editor.document();
    const QTextDocument::FindFlags flags =
        backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    QTextCursor found = document->find(text, editor.textCursor(), flags);
    if (found.isNull()) {
        QTextCursor otherEnd(document);
        if (backward)
            otherEnd.movePosition(QTextCursor::End);
        found = document->find(text, otherEnd, flags);
    }
    if (found.isNull())
        return false;
    editor.setTextCursor(found);
    editor.ensureCursorVisible();
    return true;
}

FindBox::FindBox(QTextEdit *editor, QWidget *parent) : FormDialog(parent), editor_(editor) {
    const forms::FormDef &def = forms::frmFindDef();
    forms::applyWindowDef(def, this, this);
    controls_ = forms::buildControls(def, this);
    forms::applyTabOrder(def, controls_);
    // The box stays open while the user goes on editing the sheet.
    setWindowModality(Qt::NonModal);
    setDefaultButton(button("cmdFindNext"));
    setCancelButton(button("cmdFindClose"));

    connect(button("cmdFindNext"), &QPushButton::clicked, this, &FindBox::cmdFindNext_Click);
    connect(button("cmdFindPrevious"), &QPushButton::clicked, this,
            &FindBox::cmdFindPrevious_Click);
    connect(button("cmdFindClose"), &QPushButton::clicked, this, &QDialog::hide);
    connect(txtFind(), &QLineEdit::textChanged, this, &FindBox::updateButtons);
    updateButtons();
}

QLineEdit *FindBox::txtFind() const {
    return controls_.get<QLineEdit>(QStringLiteral("txtFind"));
}

CommandButton *FindBox::button(const char *name) const {
    return controls_.get<CommandButton>(QString::fromLatin1(name));
}

void FindBox::showFor(const QString &selected) {
    if (!selected.isEmpty() && !selected.contains(QLatin1Char('\n')))
        txtFind()->setText(selected);
    show();
    raise();
    activateWindow();
    txtFind()->setFocus();
    txtFind()->selectAll();
}

void FindBox::cmdFindNext_Click() {
    find(false);
}

void FindBox::cmdFindPrevious_Click() {
    find(true);
}

void FindBox::find(bool backward) {
    const QString text = txtFind()->text();
    if (text.isEmpty())
        return;
    if (!findInEditor(*editor_, text, backward))
        showMessage(this, QStringLiteral("找不到\"%1\"").arg(text));
}

void FindBox::updateButtons() {
    const bool any = !txtFind()->text().isEmpty();
    button("cmdFindNext")->setEnabled(any);
    button("cmdFindPrevious")->setEnabled(any);
}

} // namespace drillpad
