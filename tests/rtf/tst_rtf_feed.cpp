// A file's paragraphs going into the editor while the rest is still read.
#include "common/test_main.h"

#include "guide/sheet_layout.h"
#include "rtf/rtf_feed.h"
#include "rtf/rtf_reader.h"
#include "rtf/rtf_writer.h"

#include <QDir>
#include <QFile>
#include <QTextDocument>

#include <thread>

using namespace drillpad;

namespace {

SheetSettings sheetSettings(int perLine, int sets, bool vertical) {
    SheetSettings settings;
    settings[QuestionType::Add] = {true, 0, 99, 1200};
    settings[QuestionType::Mul] = {true, 2, 99, 300};
    settings.layout.perLine = perLine;
    settings.layout.sets = sets;
    settings.layout.vertical = vertical;
    return settings;
}

// Reads `rtf` on a thread of its own into `feed`, as opening a file does.
std::jthread readInto(const QByteArray &rtf, RtfFeed &feed) {
    return std::jthread(
        [&rtf, &feed](std::stop_token stop) { feed.close(readRtf(rtf, stop, &feed).document); });
}

} // namespace

class TstRtfFeed : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Filled from the feed a piece at a time, a document is the one filled
    // from the whole reading: sheets of every layout,
    // the sample files, and the cases where paragraphs wait for what comes
    // later (a section's page break, a table that goes on or takes its
    // widths from the page, the default font named after the text).
    void sameAsTheWholeReading_data() {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<bool>("handedEarly"); // paragraphs went before the reading ended
        const auto sheet = [](const char *name, const SheetSettings &settings) {
            QTest::newRow(name) << writeRtf(layOutSheet(settings).document) << true;
        };
        sheet("columns", sheetSettings(4, 1, false));
        sheet("竖式, three sets", sheetSettings(5, 3, true));
        sheet("plain lines, two sets", sheetSettings(0, 2, false));
        const QDir corpus(qEnvironmentVariable("DRILLPAD_SOURCE_DIR") +
                          QStringLiteral("/fuzz/corpus/rtf_reader"));
        QVERIFY(corpus.exists());
        for (const QString &name : corpus.entryList(QDir::Files)) {
            QFile file(corpus.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QTest::newRow(qPrintable(name)) << file.readAll() << false;
        }
        const QByteArray fonts = "{\\rtf1\\deff0{\\fonttbl{\\f0 Noto Sans;}}";
        const QByteArray lines = QByteArray("line\\par ").repeated(600);
        const QByteArray row = "\\trowd\\cellx2000\\cellx4000\\intbl a\\cell b\\cell\\row ";
        QTest::newRow("sections") << fonts + lines + "\\sect " + lines + "\\sect\\sbknone " +
                                         lines + "}"
                                  << true;
        QTest::newRow("a long table between lines")
            << fonts + lines + row.repeated(700) + "\\pard after\\par " + lines + "}" << true;
        QTest::newRow("a table without widths")
            << fonts + "\\paperw8000 " + lines +
                   QByteArray("\\intbl a\\cell b\\cell\\row ").repeated(300) +
                   "\\pard after\\par\\paperw12000 " + lines + "}"
            << true;
        QTest::newRow("a nameless default font named again later")
            << "{\\rtf1\\deff0{\\fonttbl{\\f0 ;}}" + lines +
                   "{\\fonttbl{\\f0 Noto Serif CJK SC;}{\\f1 Liberation Serif;}}\\deff1 " + lines +
                   "}"
            << true;
        QTest::newRow("an empty paragraph before the font table")
            << "{\\rtf1\\deff0\\par{\\fonttbl{\\f0 Noto Sans;}}" + lines + "}" << false;
        QTest::newRow("the default font named last")
            << "{\\rtf1\\deff0 " + lines + "{\\fonttbl{\\f0 Noto Serif CJK SC;}}" + lines + "}"
            << false;
    }
    void sameAsTheWholeReading() {
        QFETCH(QByteArray, rtf);
        QFETCH(bool, handedEarly);
        const std::optional<RtfDocument> whole = parseRtf(rtf);
        QVERIFY(whole);
        QTextDocument expected;
        rtfToTextDocument(*whole, expected);

        // The whole reading first, then the filling: each piece the reader
        // handed over goes in before the next is taken, the page and header
        // last.
        RtfFeed feed;
        RtfReading reading = readRtf(rtf, {}, &feed);
        QVERIFY(reading.document);
        QCOMPARE(feed.hasRichText(), handedEarly);
        feed.close(std::move(reading.document));
        QTextDocument filled;
        filled.setPlainText(QStringLiteral("the old sheet"));
        DocumentFill fill(filled, feed);
        while (!fill.fillFor(1)) {
        }
        QVERIFY(fill.finish());
        QCOMPARE(filled.toPlainText(), expected.toPlainText());
        QCOMPARE(writeRtf(rtfFromTextDocument(filled)), writeRtf(rtfFromTextDocument(expected)));
    }

    // Filled a step at a time, the progress never goes back and ends at the
    // file's size, also when the file's start (here a long generator name)
    // holds many more bytes per paragraph than the rest.
    void progressOnlyGrows() {
        const QByteArray rtf = "{\\rtf1\\deff0{\\fonttbl{\\f0 Noto Sans;}}{\\*\\generator " +
                               QByteArray(100'000, 'g') + "}" +
                               QByteArray("{\\b x}y\\par ").repeated(1000) + "}";
        RtfFeed feed;
        feed.close(readRtf(rtf, {}, &feed).document);
        QTextDocument document;
        DocumentFill fill(document, feed);
        qsizetype before = 0;
        while (!fill.fillFor(0)) {
            QVERIFY2(fill.done() >= before && fill.done() <= fill.total(),
                     qPrintable(QStringLiteral("%1 after %2 of %3")
                                    .arg(fill.done())
                                    .arg(before)
                                    .arg(fill.total())));
            before = fill.done();
        }
        QCOMPARE(fill.done(), rtf.size());
        QCOMPARE(fill.total(), rtf.size());
        QVERIFY(fill.finish());
    }

    // A file refused once much of it went in, or a reading stopped, leaves
    // the old content, with nothing more to undo.
    void refusedLate() {
        const QByteArray rtf =
            "{\\rtf1 " + QByteArray("x\\par ").repeated(qsizetype(kMaxParagraphs) + 1) + "}";
        QTextDocument document;
        document.setPlainText(QStringLiteral("the old sheet"));
        const int undoSteps = document.availableUndoSteps();
        RtfFeed feed;
        const std::jthread reader = readInto(rtf, feed);
        DocumentFill fill(document, feed);
        while (!fill.fillFor(1)) {
        }
        QVERIFY(!fill.finish());
        QCOMPARE(document.toPlainText(), QStringLiteral("the old sheet"));
        QCOMPARE(document.availableUndoSteps(), undoSteps);
        QVERIFY(!document.isRedoAvailable());
    }
};

DRILLPAD_TEST_MAIN(TstRtfFeed)
#include "tst_rtf_feed.moc"
