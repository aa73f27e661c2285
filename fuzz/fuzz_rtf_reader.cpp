// Feeds arbitrary bytes to the RTF reader. Besides crashes, hangs and
// out-of-bounds reads, it checks that whatever the reader keeps, the writer
// writes and the reader reads back unchanged, and that the editor's document
// takes it and lays it out, so that files whose layout blows up are found.
// Read with a feed, the pieces handed over and the rest make the same
// document.
#include "rtf/rtf_feed.h"
#include "rtf/rtf_reader.h"
#include "rtf/rtf_writer.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int appArgc = *argc;
    static QGuiApplication app(appArgc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace drillpad;
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const std::optional<RtfDocument> read = parseRtf(bytes);
    RtfFeed feed;
    feed.close(readRtf(bytes, {}, &feed).document);
    RtfDocument fed;
    bool whole = false;
    while (!feed.take(fed, whole)) {
    }
    if (whole != read.has_value())
        std::abort();
    if (!read)
        return 0;
    if (fed.paragraphs != read->paragraphs || fed.rows != read->rows ||
        fed.header != read->header || fed.defaultFamily != read->defaultFamily ||
        !(fed.page == read->page))
        std::abort();
    const std::optional<RtfDocument> again = parseRtf(writeRtf(*read));
    if (!again || again->defaultFamily != read->defaultFamily ||
        again->paragraphs != read->paragraphs)
        std::abort();
    QTextDocument document;
    rtfToTextDocument(*read, document);
    if (rtfFromTextDocument(document).plainText() != read->plainText())
        std::abort();
    document.setTextWidth(600);
    if (!(document.size().height() > 0)) // lays the whole document out
        std::abort();
    return 0;
}
