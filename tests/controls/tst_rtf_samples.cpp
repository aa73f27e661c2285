// Files as other word processors write them, read as LibreOffice 7.4 reads
// them (its plain-text export, written down here), and page breaks from the
// file to the printed page.
#include "common/test_main.h"

#include "controls/rich_text_box.h"
#include "controls/rtf_reader.h"

#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextBlock>

using namespace drillpad;
using namespace Qt::StringLiterals;

namespace {

// WordPad on a Simplified Chinese system: characters whose second byte is a
// plain or escaped character, Western text in a Western font, a first byte
// that lost its second.
const char kWordPadGbk[] =
    R"({\rtf1\ansi\ansicpg936\deff0\nouicompat\deflang1033\deflangfe2052{\fonttbl{\f0\fnil\fcharset134 \'cb\'ce\'cc\'e5;}{\f1\fnil\fcharset0 Calibri;}}
{\*\generator Riched20 10.0.19041}\viewkind4\uc1
\pard\sa200\sl276\slmult1\f0\fs22\lang2052\'8cW\'95r\'d5f\'df@\'ee\}\'f3w\par
\f1 7\'d73=\'a1\'a1 caf\'e9 \'93quoted\'94 \'91x\'92\par
\f0\'bf\'da\'8c\par
\'b3\'cb\f1 x\par
})";

// WordPad on a Traditional Chinese system (Big5).
const char kWordPadBig5[] =
    R"({\rtf1\ansi\ansicpg950\deff0\deflang1033\deflangfe1028{\fonttbl{\f0\fnil\fcharset136 \'b7\'73\'b2\'d3\'a9\'fa\'c5\'e9;}}
\viewkind4\uc1\pard\lang1028\f0\fs20\'be\'c7\'ae\'c9\'bb\'a1\'b3o\'c3D\'c5\'e9 \'a4Q\'a4f\'aak\par
})";

// Word on a Japanese system: Shift_JIS, second bytes written as \\ and \{.
const char kWordShiftJis[] =
    R"({\rtf1\adeflang1025\ansi\ansicpg932\uc2\adeff0\deff0\deflang1033\deflangfe1041{\fonttbl{\f0\fbidi \froman\fcharset0\fprq2 Times New Roman;}{\f1\fbidi \fmodern\fcharset128\fprq1 MS Mincho;}}
{\*\rsidtbl \rsid123}\pard\plain \ltrpar\ql \rtlch\fcs1 \af0 \ltrch\fcs0 \fs21\lang1033\langfe1041\loch\af0\hich\af0\dbch\af1 {\rtlch\fcs1 \af0 \ltrch\fcs0 \hich\af1\dbch\af1\loch\f1 \'83e\'83X\'83g\'83\\\'95\\\'9b\{\'8eZ\'96@}{\rtlch\fcs1 \af0 \ltrch\fcs0 \par }})";

// Korean (code page 949) with characters whose second byte is a letter.
const char kWordPadKorean[] =
    R"({\rtf1\ansi\ansicpg949\deff0{\fonttbl{\f0\fnil\fcharset129 Gulim;}}\pard\f0\'b0\'a2\'81A\'8cc\par})";

// Word: symbol fonts, an embedded object's result, a table, page and
// section breaks.
const char kWordStructure[] =
    R"({\rtf1\ansi\ansicpg936\uc1\deff0\deflangfe2052{\fonttbl{\f0\froman\fcharset0\fprq2 Times New Roman;}{\f3\froman\fcharset2\fprq2 Symbol;}{\f10\fnil\fcharset2\fprq2 Wingdings;}{\f13\fnil\fcharset134\fprq2 \'cb\'ce\'cc\'e5;}}
\pard\plain \ql\f0\fs21 {\f3 \'b7}{ item}\par
{\f3 \'b4}{ \f3 \'b8}\par
{\f10 \'fc}{ ok }{\f10 \'fb}\par
{\object\objemb{\*\objclass Equation.3}\objw1000\objh300{\*\objdata 01050000020000000b000000}{\result {\rtlch 3+4=7}}}\par
\trowd \trgaph108\cellx2000\cellx4000\cellx6000\pard\plain \intbl\f0\fs21 a\cell b\cell c\cell\row
\trowd \trgaph108\cellx2000\cellx4000\cellx6000\pard\plain \intbl\f0\fs21 1\cell 2\cell 3\cell\row
\pard\plain\f0\fs21 before\par\page after\par
middle\page end\par
\sect\sectd last\par})";

// LibreOffice: a page break as the paragraph's property, Unicode with \'3f
// fallbacks.
const char kLibreOffice[] =
    R"({\rtf1\ansi\deff3\adeflang1025
{\fonttbl{\f0\froman\fprq2\fcharset0 Times New Roman;}{\f3\froman\fprq2\fcharset0 Liberation Serif;}{\f4\fnil\fprq2\fcharset0 Noto Serif CJK SC;}}
{\*\generator LibreOffice/7.4$Linux_X86_64}\deftab709
\pard\plain \s0\ql\dbch\af4\loch\f3\fs24{\loch\u20056\'3f\u27861\'3f:}
\par \pard\plain \s0\ql\pagebb\dbch\af4\loch\f3\fs24{\loch 7\u215\'3f3=\u12288\'3f}
\par })";

// pandoc: \uN with "?" fallbacks, \bullet, a paragraph per group.
const char kPandoc[] =
    R"({\rtf1\ansi\deff0{\fonttbl{\f0 \fswiss Helvetica;}{\f1 \fmodern Courier;}}
{\colortbl;\red255\green0\blue0;}
\widowctrl\hyphauto

{\pard \ql \f0 \sa180 \li0 \fi0 \u20056?\u27861?\u39064?\u-244?\par}
{\pard \ql \f0 \sa180 \li360 \fi-360 \bullet \tx360\tab \u8220?7\u215?3=21\u8221?\par}
{\pard \ql \f0 \sa180 \li0 \fi0 {\b bold} {\i it}\par}
})";

QList<int> pageStarts(const QTextDocument &document) {
    QList<int> starts;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            starts << block.blockNumber();
    }
    return starts;
}

} // namespace

class TestRtfSamples : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The expected texts are LibreOffice's, but for four things it does
    // differently, as the comments say.
    void samples_data() {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("pageStarts"); // paragraphs that start a new page
        // LibreOffice shows "�}" for \'ee\}: the escaped byte is the second
        // byte of 題 all the same.
        QTest::newRow("WordPad, GBK")
            << QByteArray(kWordPadGbk) << u"學時說這題體\n7×3=¡¡ café “quoted” ‘x’\n口\uFFFD\n乘x"_s
            << QList<int>{};
        QTest::newRow("WordPad, Big5")
            << QByteArray(kWordPadBig5) << u"學時說這題體 十口法"_s << QList<int>{};
        // LibreOffice: "テスト�\\�\\�{算法".
        QTest::newRow("Word, Shift_JIS")
            << QByteArray(kWordShiftJis) << u"テストソ表學算法"_s << QList<int>{};
        QTest::newRow("WordPad, Korean")
            << QByteArray(kWordPadKorean) << u"각갂똠"_s << QList<int>{};
        // LibreOffice keeps the symbol fonts' private codes (U+F0B7 for the
        // bullet) and puts every table cell on a line of its own.
        QTest::newRow("Word, symbols, object, table, breaks")
            << QByteArray(kWordStructure)
            << u"• item\n× ÷\n✓ ok ✗\n3+4=7\na\tb\tc\n1\t2\t3\nbefore\nafter\nmiddle\nend\nlast"_s
            << QList<int>{7, 9, 10};
        QTest::newRow("LibreOffice")
            << QByteArray(kLibreOffice) << u"乘法:\n7×3=\u3000"_s << QList<int>{1};
        QTest::newRow("pandoc") << QByteArray(kPandoc) << u"乘法题，\n•\t“7×3=21”\nbold it"_s
                                << QList<int>{};
    }
    void samples() {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, text);
        QFETCH(QList<int>, pageStarts);
        RichTextBox editor;
        QVERIFY(editor.setRtf(rtf));
        QCOMPARE(editor.text(), text);
        QCOMPARE(::pageStarts(*editor.document()), pageStarts);
        // Saved and read again, the text and its page breaks stay.
        RichTextBox again;
        QVERIFY(again.setRtf(editor.rtf()));
        QCOMPARE(again.text(), text);
        QCOMPARE(::pageStarts(*again.document()), pageStarts);
    }

    // The page break is saved as \page, also after a paragraph that holds
    // only a line break, and a following paragraph does not inherit it.
    void writesPageBreaks() {
        RichTextBox editor;
        editor.setText(u"乘法题:\n2×3=\u3000\n除法题:\n8÷2=\u3000"_s);
        QTextCursor cursor(editor.document()->findBlockByNumber(2));
        QTextBlockFormat pageBreak;
        pageBreak.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        cursor.mergeBlockFormat(pageBreak);
        const QByteArray rtf = editor.rtf();
        QCOMPARE(rtf.count("\\page"), 1);
        const std::optional<RtfDocument> read = parseRtf(rtf);
        QVERIFY(read.has_value());
        QCOMPARE(read->paragraphs.size(), std::size_t{4});
        for (std::size_t i = 0; i < 4; ++i)
            QCOMPARE(read->paragraphs[i].pageBreakBefore, i == 2);
    }

    // Printed, the text after the break is on the second page.
    void printsPageBreaks() {
        RichTextBox editor;
        QVERIFY(editor.setRtf("{\\rtf1 ABC\\par\\page XYZ\\par}"));
        QTemporaryDir dir;
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(u"sheet.pdf"_s));
        QVERIFY(editor.printSelection(&printer));
        const auto page = [&](int number) {
            QProcess pdftotext;
            const QString n = QString::number(number);
            pdftotext.start(u"pdftotext"_s,
                            {u"-f"_s, n, u"-l"_s, n, printer.outputFileName(), u"-"_s});
            pdftotext.waitForFinished(60000);
            return QString::fromUtf8(pdftotext.readAllStandardOutput());
        };
        QVERIFY2(page(1).contains(u"ABC"_s) && !page(1).contains(u"XYZ"_s), qPrintable(page(1)));
        QVERIFY2(page(2).contains(u"XYZ"_s), qPrintable(page(2)));
    }
};

DRILLPAD_TEST_MAIN(TestRtfSamples)
#include "tst_rtf_samples.moc"
