#include "mainwin/edit_tools.h"

#include <QClipboard>

#include <cmath>

namespace drillpad::edit {

void toggle(RichTextBox &editor, const Toggle &format) {
    const std::optional<bool> state = editor.selCharFormat().*format.state;
    (editor.*format.write)(!state.value_or(false));
}

std::optional<QString> fontSizeText(std::optional<double> points) {
    if (!points)
        return std::nullopt;
    // Two decimals at most, without trailing zeros: 10.5, not 10.50.
    return QString::number(std::round(*points * 100) / 100, 'g', 6);
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
