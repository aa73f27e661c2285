#pragma once

#include "controls/rich_text_box.h"

#include <optional>

class QClipboard;

namespace drillpad {

// What the main window's editing and formatting tools do to the sheet.
namespace edit {

// A switch of the selection's character format: it reads the selection's
// state and writes the opposite.
struct Toggle {
    std::optional<bool> RichTextBox::CharFormatState::*state;
    void (RichTextBox::*write)(bool);
};

inline constexpr Toggle kBold{&RichTextBox::CharFormatState::bold, &RichTextBox::setSelBold};
inline constexpr Toggle kItalic{&RichTextBox::CharFormatState::italic, &RichTextBox::setSelItalic};
inline constexpr Toggle kUnderline{&RichTextBox::CharFormatState::underline,
                                   &RichTextBox::setSelUnderline};

// Writes the negation of the selection's state. A selection that is partly
// on reports no single state; the whole of it is switched on, as word
// processors do.
void toggle(RichTextBox &editor, const Toggle &format);

// How the size box shows a size in points: "9", "10.5"; nothing for a
// selection of mixed sizes. Sizes are shown as numbers, like the list's
// entries; a Chinese size name such as "五号" (10.5 pt) is never claimed.
std::optional<QString> fontSizeText(std::optional<double> points);

// The clipboard is emptied first; then the selected text, if there is any,
// is put on it as plain text. Cut then deletes the selection.
void copyToClipboard(const RichTextBox &editor, QClipboard &clipboard);
void cutToClipboard(RichTextBox &editor, QClipboard &clipboard);
// Replaces the selection by the clipboard's plain text (nothing when it
// holds no text), which takes the formatting of that place.
void pasteFromClipboard(RichTextBox &editor, const QClipboard &clipboard);

} // namespace edit
} // namespace drillpad
