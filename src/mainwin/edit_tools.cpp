#include "mainwin/edit_tools.h"

#include <QClipboard>

namespace drillpad::edit {

void toggle(RichTextBox &editor, const Toggle &format) {
    const std::optional<bool> state = (editor.*format.read)();
    (editor.*format.write)(!state.value_or(false));
}

void copyToClipboard(const RichTextBox &editor, QClipboard &clipboard) {
    clipboard.clear();
    const QString selected = editor.selText();
    // Nothing selected leaves the clipboard empty rather than holding "".
    if (!selected.isEmpty())
        clipboard.setText(selected);
}

void cutToClipboard(RichTextBox &editor, QClipboard &clipboard) {
    copyToClipboard(editor, clipboard);
    editor.setSelText(QString());
}

void pasteFromClipboard(RichTextBox &editor, const QClipboard &clipboard) {
    editor.setSelText(clipboard.text());
}

} // namespace drillpad::edit
