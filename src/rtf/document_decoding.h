#pragma once

#include "rtf/rtf_document.h"

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace drillpad {

// What a file opened in the editor holds, whatever its name: rich text, or
// plain text, or why it cannot be shown.
struct DecodedDocument {
    std::optional<RtfDocument> rtf;
    QString text; // when the file is plain text
    // Why the file is refused, in words for the user; empty when it is read.
    QString refusal;

    bool ok() const { return refusal.isEmpty(); }
};

// Reads the bytes of a file: RTF when it starts like RTF, else plain text
// (see decodePlainText). Files beyond what the editor takes are refused.
DecodedDocument decodeDocument(QByteArrayView data);

// The text of a plain-text file, with line ends made line feeds: UTF-16
// (little or big endian) or UTF-8 after a byte-order mark, UTF-8, or else
// the Chinese code page the bytes fit best, GBK or Big5. Nothing when the
// data is not text.
std::optional<QString> decodePlainText(QByteArrayView data);

} // namespace drillpad
