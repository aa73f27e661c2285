#pragma once

#include "rtf/rtf_document.h"

#include <QByteArrayView>

#include <optional>

namespace drillpad {

// Whether the data starts like an RTF file ("{\rtf", after blanks).
bool looksLikeRtf(QByteArrayView data);

// Reads RTF as word processors write it: text in the document's or the
// font's code page (\'hh, GBK included) or as \uN, fonts, sizes, bold,
// italic, underline, alignment, line spacing, paragraphs, line breaks and
// tabs, the page's size and margins, and the first header; everything
// else (pictures, tables of styles and colours, document information) is
// skipped. Damaged input is read as far as it makes sense. Returns nothing
// only when the data is not RTF at all.
std::optional<RtfDocument> parseRtf(QByteArrayView data);

} // namespace drillpad
