#pragma once

#include "rtf/rtf_document.h"

#include <QByteArray>

namespace drillpad {

// Writes a document as RTF 1.x in plain ASCII: text outside ASCII as \uN with
// a "?" fallback byte (\'3f), fonts named in GBK with the Chinese character
// set, and every run in a group of its own that sets its attributes, size
// and both its western and East Asian font, so that word processors show
// what the editor showed.
QByteArray writeRtf(const RtfDocument &document);

} // namespace drillpad
