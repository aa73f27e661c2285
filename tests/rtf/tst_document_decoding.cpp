// Opening a file by its content, and files beyond what the editor takes.
#include "common/test_main.h"

#include "controls/rich_text_box.h"
#include "rtf/document_decoding.h"
#include "rtf/rtf_reader.h"

#include <QStringEncoder>
#include <QTextCursor>
#include <QTextDocument>

#include <optional>
#include <stop_token>

using namespace drillpad;
using namespace Qt::StringLiterals;

namespace {

QByteArray encoded(const char *codec, const QString &text) {
    QStringEncoder encoder(codec);
    return encoder.encode(text);
}

QByteArray repeated(const QByteArray &piece, std::size_t times, const QByteArray &tail = {}) {
    return "{\\rtf1\\ansi " + piece.repeated(qsizetype(times)) + tail + "}";
}

// `count` one-letter runs, bold and italic in turn.
QByteArray runs(std::size_t count) {
    return QByteArray("{\\b a}{\\i b}").repeated(qsizetype(count / 2)) +
           (count % 2 ? "{\\b a}" : "");
}

QByteArray letters(std::size_t count) {
    return QByteArray(qsizetype(count), 'x');
}

} // namespace

class TestDocumentDecoding : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void opens_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("text");
        const QString sheet = u"乘法題:\n學生 7×3=\u3000"_s;
        QTest::newRow("UTF-8") << sheet.toUtf8() << sheet;
        QTest::newRow("UTF-8 with a byte-order mark") << "\xEF\xBB\xBF" + sheet.toUtf8() << sheet;
        QTest::newRow("UTF-16 LE") << encoded("UTF-16LE", u"\uFEFF"_s + sheet) << sheet;
        QTest::newRow("UTF-16 BE") << encoded("UTF-16BE", u"\uFEFF"_s + sheet) << sheet;
        QTest::newRow("GBK, Windows line ends")
            << QByteArray("\xb3\xcb\xb7\xa8\xcc\xe2:\r\n7\xa1\xc1"
                          "3=")
            << u"乘法题:\n7×3="_s;
        // Short lines in Big5 and GB18030 that each reads as the other; GB18030's
        // characters of four bytes.
        for (const QString &line :
             {u"期末考試複習題"_s, u"數學練習"_s, u"國語"_s, u"第一單元測驗"_s, u"學生姓名："_s,
              u"三年級數學"_s, u"請寫出答案"_s})
            QTest::addRow("Big5 %s", qPrintable(line)) << encoded("Big5", line) << line;
        for (const QString &line : {u"期末考试复习题"_s, u"数学练习"_s, u"口算"_s, u"学生姓名："_s,
                                    u"乘法题\U0001F600ᠠ€"_s})
            QTest::addRow("GB18030 %s", qPrintable(line)) << encoded("GB18030", line) << line;
        QTest::newRow("Windows-1252") << QByteArray("caf\xe9 na\xefve, \xc7"
                                                    "a co\xfbte 5\x80")
                                      << u"café naïve, Ça coûte 5€"_s;
        QTest::newRow("stray control and private characters")
            << u"乘\x1b法\v\uE000"_s.toUtf8() << u"乘\x1b法\v\uE000"_s;
        QTest::newRow("GB18030 with ESC") << QByteArray("\xb3\xcb\x1b\xb7\xa8") << u"乘\x1b法"_s;
        QTest::newRow("not text") << QByteArray("PK\3\4\0\0", 6) << QString();
        QTest::newRow("UTF-16 cut in half") << QByteArray("\xFF\xFE\x41", 3) << QString();
        QTest::newRow("RTF whatever the name, after blanks")
            << QByteArray("\xEF\xBB\xBF \t\r\n{\\rtf1 a\\par b}") << u"a\nb"_s;
    }
    void opens() {
        QFETCH(QByteArray, data);
        QFETCH(QString, text);
        const DecodedDocument decoded = decodeDocument(data);
        QCOMPARE(decoded.ok(), !text.isEmpty());
        const bool rtf = data.contains("{\\rtf1");
        QCOMPARE(bool(decoded.rtf), rtf);
        QCOMPARE(rtf ? decoded.rtf->plainText() : decoded.text, text);
    }

    // Files that once froze the editor for minutes: at each limit they open,
    // one past it they are refused with the limit named, and either way the
    // reader stops early instead of building gigabytes.
    void limits_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("paragraphs"); // 0: refused
        QTest::addColumn<QString>("refusal");
        const auto row = [](const char *name, const QByteArray &data, std::size_t paragraphs,
                            const QString &refusal = {}) {
            QTest::newRow(name) << data << int(paragraphs) << refusal;
        };
        row("paragraphs at the limit", repeated("\\par ", kMaxParagraphs), kMaxParagraphs);
        row("one paragraph too many", repeated("\\par ", kMaxParagraphs + 1), 0, u"超过100000段"_s);
        row("text lines at the limit", QByteArray(qsizetype(kMaxParagraphs) - 1, '\n'),
            kMaxParagraphs);
        row("one text line too many", QByteArray(qsizetype(kMaxParagraphs), '\n'), 0,
            u"超过100000段"_s);
        row("format changes in a paragraph at the limit", repeated(runs(kMaxRunsPerParagraph), 1),
            1);
        row("one format change too many in a paragraph",
            repeated(runs(kMaxRunsPerParagraph + 1), 1), 0, u"一段中的格式变化超过200处"_s);
        const std::size_t full = kMaxRuns / kMaxRunsPerParagraph;
        row("format changes at the limit", repeated(runs(kMaxRunsPerParagraph) + "\\par ", full),
            full);
        row("one format change too many",
            repeated(runs(kMaxRunsPerParagraph) + "\\par ", full, "{\\ul c}"), 0,
            u"格式变化超过100000处"_s);
        row("paragraph at the limit", repeated(letters(kMaxParagraphLength), 1), 1);
        row("paragraph one too long", repeated(letters(kMaxParagraphLength + 1), 1), 0,
            u"有一段超过20000字"_s);
        row("text line at the limit", letters(kMaxParagraphLength), 1);
        row("text line one too long", letters(kMaxParagraphLength + 1), 0, u"有一段超过20000字"_s);
        const std::size_t lines = kMaxCharacters / kMaxParagraphLength;
        const QByteArray line = letters(kMaxParagraphLength);
        row("characters at the limit", repeated(line + "\\par ", lines), lines);
        row("one character too many", repeated(line + "\\par ", lines, "x"), 0, u"超过8000000字"_s);
        row("text characters at the limit", (line + '\n').repeated(lines - 1) + line, lines);
        row("one text character too many", (line + '\n').repeated(lines) + "x", 0,
            u"超过8000000字"_s);
        QByteArray fonts = "{\\rtf1{\\fonttbl";
        for (int i = 0; i < 2'000'000; ++i)
            fonts += "{\\f" + QByteArray::number(i) + " A;}";
        row("a font table of millions", fonts + "}\\f1999999 x}", 1);
    }
    void limits() {
        QFETCH(QByteArray, data);
        QFETCH(int, paragraphs);
        QFETCH(QString, refusal);
        const DecodedDocument decoded = decodeDocument(data);
        if (paragraphs == 0) {
            QCOMPARE(decoded.refusal, u"内容太多(%1),"_s.arg(refusal));
            return;
        }
        QVERIFY2(decoded.ok(), qPrintable(decoded.refusal));
        // The editor takes it without laying it all out at once.
        RichTextBox editor;
        editor.resize(400, 300);
        editor.show();
        if (decoded.rtf)
            editor.setRtfDocument(*decoded.rtf);
        else
            editor.setText(decoded.text);
        editor.viewport()->repaint();
        QCOMPARE(editor.document()->blockCount(), paragraphs);
    }

    // Filled a slice at a time, a document changes in one undoable step;
    // abandoned halfway, it is as it was, with nothing to redo.
    void fillsInSlices_data() {
        QTest::addColumn<bool>("rich");
        QTest::addColumn<bool>("abandoned");
        QTest::newRow("rich text") << true << false;
        QTest::newRow("rich text abandoned") << true << true;
        QTest::newRow("plain text") << false << false;
        QTest::newRow("plain text abandoned") << false << true;
    }
    void fillsInSlices() {
        QFETCH(bool, rich);
        QFETCH(bool, abandoned);
        QTextDocument document;
        QTextCursor(&document).insertText(u"old sheet"_s);
        const std::optional<RtfDocument> rtf = parseRtf(repeated("{\\b a}b\\par ", 1000));
        const QString text = rich ? u"ab\n"_s.repeated(1000).chopped(1) : QString(200'000, u'x');
        std::optional<DocumentFill> fill;
        if (rich)
            fill.emplace(document, *rtf);
        else
            fill.emplace(document, text);
        QVERIFY(!fill->fillFor(0));
        QVERIFY(fill->done() > 0 && fill->done() < fill->total());
        if (abandoned) {
            fill->abandon();
            QCOMPARE(document.toPlainText(), u"old sheet"_s);
            QVERIFY(document.availableUndoSteps() == 1 && document.availableRedoSteps() == 0);
            return;
        }
        while (!fill->fillFor(0)) {
        }
        fill->finish();
        QCOMPARE(document.toPlainText(), text);
        document.undo();
        QCOMPARE(document.toPlainText(), u"old sheet"_s);
        document.redo();
        QCOMPARE(document.toPlainText(), text);
    }

    // Asked to stop, decoding ends without a document.
    void stopsWhenAsked() {
        std::stop_source source;
        source.request_stop();
        const DecodedDocument decoded =
            decodeDocument(repeated("a\\par ", 100'000), source.get_token());
        QVERIFY(decoded.ok() && !decoded.rtf && decoded.text.isEmpty());
    }
};

DRILLPAD_TEST_MAIN(TestDocumentDecoding)
#include "tst_document_decoding.moc"
