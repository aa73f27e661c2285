// Opening a file by its content, and files beyond what the editor takes.
#include "common/test_main.h"

#include "controls/rich_text_box.h"
#include "rtf/document_decoding.h"

#include <QStringEncoder>

using namespace drillpad;
using namespace Qt::StringLiterals;

namespace {

QByteArray encoded(const char *codec, const QString &text) {
    QStringEncoder encoder(codec);
    return encoder.encode(text);
}

QByteArray repeated(const QByteArray &piece, std::size_t times) {
    return "{\\rtf1\\ansi " + piece.repeated(qsizetype(times)) + "}";
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
        QTest::newRow("Big5") << encoded("Big5", u"學時說這題體 十口法\n"_s)
                              << u"學時說這題體 十口法\n"_s;
        QTest::newRow("not text") << QByteArray("PK\3\4\0\0", 6) << QString();
        QTest::newRow("UTF-16 cut in half") << QByteArray("\xFF\xFE\x41", 3) << QString();
        QTest::newRow("RTF whatever the name")
            << QByteArray("\xEF\xBB\xBF {\\rtf1 a\\par b}") << u"a\nb"_s;
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

    // Files that once froze the editor for minutes: within the limits they
    // open, beyond them they are refused, and either way the reader stops
    // early instead of building gigabytes.
    void limits_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("paragraphs"); // 0: refused
        QTest::newRow("paragraphs up to the limit")
            << repeated("\\par ", kMaxParagraphs) << int(kMaxParagraphs);
        QTest::newRow("one paragraph too many") << repeated("\\par ", kMaxParagraphs + 1) << 0;
        QTest::newRow("format changes in one paragraph up to the limit")
            << repeated("{\\b a}{\\i b}", kMaxRunsPerParagraph / 2) << 1;
        QTest::newRow("format changes in one paragraph beyond the limit")
            << repeated("{\\b a}{\\i b}", kMaxRunsPerParagraph) << 0;
        QTest::newRow("format changes in all beyond the limit")
            << repeated("{\\b a}{\\i b}\\par ", kMaxRuns / 2 + 1) << 0;
        QTest::newRow("one paragraph too long")
            << repeated("abcdefghij", kMaxParagraphLength / 10 + 1) << 0;
        QTest::newRow("a font table of millions") << [] {
            QByteArray data = "{\\rtf1{\\fonttbl";
            for (int i = 0; i < 2'000'000; ++i)
                data += "{\\f" + QByteArray::number(i) + " A;}";
            return data + "}\\f1999999 x}";
        }() << 1;
        QTest::newRow("text lines beyond the limit")
            << QByteArray(qsizetype(kMaxParagraphs) + 1, '\n') << 0;
    }
    void limits() {
        QFETCH(QByteArray, data);
        QFETCH(int, paragraphs);
        const DecodedDocument decoded = decodeDocument(data);
        QCOMPARE(decoded.ok(), paragraphs > 0);
        if (!decoded.ok()) {
            QVERIFY2(decoded.refusal.startsWith(u"内容太多"_s), qPrintable(decoded.refusal));
            return;
        }
        QCOMPARE(decoded.rtf->paragraphs.size(), std::size_t(paragraphs));
        // The editor takes it without laying it all out at once.
        RichTextBox editor;
        editor.resize(400, 300);
        editor.show();
        editor.setRtfDocument(*decoded.rtf);
        editor.viewport()->repaint();
        QCOMPARE(editor.document()->blockCount(), paragraphs);
    }
};

DRILLPAD_TEST_MAIN(TestDocumentDecoding)
#include "tst_document_decoding.moc"
