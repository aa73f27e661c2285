#pragma once

#include "rtf/rtf_document.h"

#include <QByteArrayView>

#include <optional>
#include <stop_token>

namespace drillpad {

class RtfFeed;

// Whether the data starts like an RTF file ("{\rtf", after blanks).
bool looksLikeRtf(QByteArrayView data);

// What reading RTF gave: the document, or nothing when the data is not RTF,
// goes beyond what the editor takes (and then which limit) or the reading
// was asked to stop.
struct RtfReading {
    std::optional<RtfDocument> document;
    ContentLimit exceeded = ContentLimit::None;
};

// Reads RTF as word processors write it: text in the document's or the
// font's code page (\'hh, GBK included) or as \uN, fonts, sizes, bold,
// italic, underline, alignment, indents, tab stops, line spacing,
// paragraphs, page and section breaks, line breaks and tabs, tables, the
// page's size and margins, and the first header, as LibreOffice reads them;
// everything
// else (pictures, tables of styles and colours, document information) is
// skipped. Damaged input is read as far as it makes sense. Another thread
// may stop the reading through `stop`. With a `feed`, paragraphs go there
// as they are read, and the document returned holds the rest (see RtfFeed).
RtfReading readRtf(QByteArrayView data, std::stop_token stop = {}, RtfFeed *feed = nullptr);

// The document of readRtf, or nothing.
std::optional<RtfDocument> parseRtf(QByteArrayView data);

} // namespace drillpad
