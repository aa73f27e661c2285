// Pages as LibreOffice lays out the same RTF: page breaks counted by hand,
// and the header and the text of every page compared with LibreOffice's
// own PDF of the file, where LibreOffice is installed.
#include "common/pdf_text.h"
#include "common/test_main.h"

#include "print/page_layout.h"
#include "rtf/rtf_file.h"
#include "rtf/rtf_writer.h"

#include <QTemporaryDir>

using namespace drillpad;
using namespace Qt::StringLiterals;
using testing::kTitle;
using testing::pdfPageTexts;
using testing::withoutBlanks;

namespace {

const QString kSong = u"宋体"_s;

RtfParagraph paragraph(const QString &text, int halfPoints = 24, bool pageBreak = false) {
    RtfParagraph p;
    p.markFormat.family = kSong;
    p.markFormat.halfPoints = halfPoints;
    p.append(text, p.markFormat);
    p.pageBreakBefore = pageBreak;
    return p;
}

// A small page: ten ideographs of 12 pt across (each 240 twips wide in any
// Chinese font) and five lines of 18 pt down.
RtfPage smallPage() {
    return {720 + 2400 + 720, 720 + 5 * 360 + 720, 720, 720, 720, 720, 360};
}

// A document on the small page, its paragraphs one line each.
RtfDocument onSmallPage(const QStringList &lines = {}) {
    RtfDocument document;
    document.defaultFamily = kSong;
    document.page = smallPage();
    for (const QString &text : lines)
        document.paragraphs.push_back(paragraph(text));
    return document;
}

// A hundred lines of eight questions (38 to a page) with a page break
// before the 51st, a paragraph of three lines that does not fit at the end
// of the first page, and a line in large print: four A4 pages.
RtfDocument longSheet(int lines = 100) {
    RtfDocument sheet;
    sheet.defaultFamily = kSong;
    sheet.header = makeSheetHeader(true, kTitle);
    for (int line = 0; line < lines; ++line) {
        QString text;
        for (int i = 0; i < 8; ++i)
            text += u"%1×%2=\u3000"_s.arg(2 + i).arg(2 + line % 8);
        sheet.paragraphs.push_back(paragraph(text, 24, line == 50));
    }
    sheet.paragraphs.insert(sheet.paragraphs.begin() + 36, paragraph(u"说明"_s.repeated(50)));
    sheet.paragraphs.push_back(paragraph(u"大字"_s, 40));
    return sheet;
}

} // namespace

class TestPageLayout : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void breaksPages_data() {
        QTest::addColumn<QStringList>("paragraphs"); // "*" before a text: a page break before it
        QTest::addColumn<QList<int>>("pages");       // the page each starts on
        QTest::addColumn<int>("pageCount");
        const QString three = u"口"_s.repeated(25);
        QTest::newRow("five lines fill a page")
            << QStringList(5, u"一"_s) << QList<int>{0, 0, 0, 0, 0} << 1;
        QTest::newRow("the sixth begins the next")
            << QStringList(6, u"一"_s) << QList<int>{0, 0, 0, 0, 0, 1} << 2;
        QTest::newRow("a page break")
            << QStringList{u"一"_s, u"*二"_s, u"三"_s} << QList<int>{0, 1, 1} << 2;
        QTest::newRow("three lines just fit")
            << QStringList{u"一"_s, u"二"_s, three} << QList<int>{0, 0, 0} << 1;
        QTest::newRow("three lines one too many move whole")
            << QStringList{u"一"_s, u"二"_s, u"三"_s, three} << QList<int>{0, 0, 0, 1} << 2;
        QTest::newRow("taller than a page, split")
            << QStringList{u"一"_s, u"口"_s.repeated(60), u"二"_s} << QList<int>{0, 0, 1} << 2;
    }
    void breaksPages() {
        QFETCH(QStringList, paragraphs);
        QFETCH(QList<int>, pages);
        QFETCH(int, pageCount);
        RtfDocument document = onSmallPage();
        for (const QString &text : paragraphs)
            document.paragraphs.push_back(
                paragraph(QString(text).remove(u'*'), 24, text.startsWith(u'*')));
        const PageLayout layout(document);
        QCOMPARE(layout.pageCount(), pageCount);
        const std::vector<int> starts = layout.pageOfBlocks();
        QCOMPARE(QList<int>(starts.begin(), starts.end()), pages);
    }

    // A row of 竖式 (three lines in each of its two cells) that does not fit
    // in what is left of a page moves whole to the next, both cells together.
    void keepsATableRowWhole_data() {
        QTest::addColumn<int>("linesBefore");
        QTest::addColumn<int>("rowPage");
        QTest::newRow("fits: two lines before") << 2 << 0;
        QTest::newRow("one line short: three before") << 3 << 1;
    }
    void keepsATableRowWhole() {
        QFETCH(int, linesBefore);
        QFETCH(int, rowPage);
        RtfDocument document = onSmallPage(QStringList(linesBefore, u"一"_s));
        document.rows.push_back(RtfRow{{1200, 1200}, true});
        for (int cell = 0; cell < 2; ++cell) {
            for (const QString &text : {u"　34"_s, u"+25"_s, u"　"_s}) {
                RtfParagraph p = paragraph(text);
                p.alignment = RtfAlignment::Right;
                p.row = 0;
                p.cell = cell;
                document.paragraphs.push_back(p);
            }
        }
        const PageLayout layout(document);
        QVERIFY(layout.complete());
        const std::vector<int> starts = layout.pageOfBlocks();
        const QList<int> pages(starts.begin(), starts.end());
        // The lines, the table's own first block, its six cell lines, the end.
        QCOMPARE(pages.size(), linesBefore + 8);
        QCOMPARE(pages.first(linesBefore), QList<int>(linesBefore, 0));
        QCOMPARE(pages.mid(linesBefore + 1, 6), QList<int>(6, rowPage));
        QCOMPARE(layout.pageCount(), rowPage + 1);
    }

    // The body begins at the top margin, or below a header that reaches
    // further: title (24 pt) and name line (18 pt) from the header's top.
    void bodyBelowTheHeader_data() {
        QTest::addColumn<int>("marginTop");
        QTest::addColumn<int>("bodyTop");
        const int headerBottom = 360 + 480 + 360;
        QTest::newRow("margin below the header") << headerBottom + 1 << headerBottom + 1;
        QTest::newRow("margin at the header's end") << headerBottom << headerBottom;
        QTest::newRow("margin inside the header") << headerBottom - 1 << headerBottom;
    }
    void bodyBelowTheHeader() {
        QFETCH(int, marginTop);
        QFETCH(int, bodyTop);
        RtfDocument document = onSmallPage({u"一"_s});
        document.header = makeSheetHeader(true, kTitle);
        document.page = RtfPage{11906, 16838, 1134, 1134, marginTop, 1134, 360};
        const PageLayout layout(document);
        QCOMPARE(layout.bodyTop(), double(bodyTop));
        QCOMPARE(layout.bodyHeight(), double(16838 - 1134 - bodyTop));
    }

    // Stopped, the layout is incomplete and prints nothing.
    void stops() {
        const RtfDocument document = longSheet(1000);
        int asked = 0;
        const PageLayout layout(document, [&asked](int done, int total) {
            ++asked;
            return done < 0 || total < 0;
        });
        QVERIFY(!layout.complete());
        QCOMPARE(asked, 1);
        std::stop_source stopped;
        stopped.request_stop();
        QVERIFY(pdfOf(document, u"x"_s, stopped.get_token()).isEmpty());
    }

    // The PDF has the header on every page and each paragraph on the page
    // the layout gave it; LibreOffice, reading the RTF, makes the same pages.
    void sameAsLibreOffice() {
        const RtfDocument sheet = longSheet();
        const PageLayout layout(sheet);
        QCOMPARE(layout.pageCount(), 4);
        QTemporaryDir dir;
        const QString qtPdf = dir.filePath(u"qt.pdf"_s);
        QVERIFY(writeFileAtomically(qtPdf, pdfOf(sheet, u"sheet"_s)).ok());
        // What each page holds, by the layout.
        QStringList expected(layout.pageCount(), testing::headerText());
        const std::vector<int> pages = layout.pageOfBlocks();
        for (std::size_t i = 0; i < sheet.paragraphs.size(); ++i) {
            RtfDocument one;
            one.paragraphs = {sheet.paragraphs[i]};
            expected[pages[i]] += withoutBlanks(one.plainText());
        }
        QCOMPARE(pdfPageTexts(qtPdf), expected);

        const QString rtf = dir.filePath(u"sheet.rtf"_s);
        QVERIFY(writeFileAtomically(rtf, writeRtf(sheet)).ok());
        const QString officePdf = testing::officePdf(rtf, dir.path());
        if (officePdf.isEmpty())
            QSKIP("LibreOffice is not installed");
        QCOMPARE(pdfPageTexts(officePdf), expected);
    }
};

DRILLPAD_TEST_MAIN(TestPageLayout)
#include "tst_page_layout.moc"
