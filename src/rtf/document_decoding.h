#pragma once

#include "rtf/rtf_document.h"

#include <QByteArrayView>
#include <QString>

#include <optional>
#include <stop_token>

namespace drillpad {

class RtfFeed;

// What a file opened in the editor holds, whatever its name: rich text, or
// plain text, or why it cannot be shown.
struct DecodedDocument {
    std::optional<RtfDocument> rtf;
    QString text; // when the file is plain text
    // Why the file is refused, in words for the user; empty when it is read
    // (and when the decoding was stopped).
    QString refusal;

    bool ok() const { return refusal.isEmpty(); }
};

// Reads the bytes of a file: RTF when it starts like RTF, else plain text
// (see decodePlainText). Files beyond what the editor takes are refused,
// naming the limit. Another thread may stop the decoding through `stop`:
// then nothing is decoded. With a `feed`, rich text goes there as it is read
// and `rtf` holds the rest (see RtfFeed).
DecodedDocument decodeDocument(QByteArrayView data, std::stop_token stop = {},
                               RtfFeed *feed = nullptr);

// The text of a plain-text file, with line ends made line feeds: UTF-16
// (little or big endian) or UTF-8 after a byte-order mark, UTF-8, the
// Chinese code page GB18030 or Big5, whichever reads as more of the common
// characters of its script, or else Windows-1252. Nothing when the data is
// no text (it holds a NUL).
std::optional<QString> decodePlainText(QByteArrayView data);

// The refusal of a file beyond the limit, naming it.
QString contentLimitRefusal(ContentLimit limit);

} // namespace drillpad
