// The reader and writer, and files as other word processors write them,
// read as LibreOffice 7.4 reads them (its plain-text export, written down
// here); what the editor saves, read by pandoc.
#include "common/test_main.h"

#include "controls/rich_text_box.h"
#include "rtf/rtf_reader.h"
#include "rtf/rtf_writer.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>

using namespace drillpad;
using namespace Qt::StringLiterals;

namespace {

using F = RtfCharFormat;
using A = RtfAlignment;

const QString kSong = QStringLiteral("宋体");

enum Attributes { Plain = 0, Bold = 1, Italic = 2, Underline = 4 };

F fmt(const QString &family, int halfPoints, int attributes = Plain,
      const QString &eastAsian = QString()) {
    return F{family,
             eastAsian,
             halfPoints,
             bool(attributes & Bold),
             bool(attributes & Italic),
             bool(attributes & Underline)};
}

// A piece of text and the paragraph alignment and format it is read with.
struct Styled {
    QString piece;
    RtfAlignment alignment;
    F format;
};
using Styles = QList<Styled>;

// A file as WordPad saves it: GBK bytes through \'hh, Western text in a
// Western font (Windows-1252 whatever the document's code page), formatting
// switched on and off in place.
const char kWordPad[] =
    "{\\rtf1\\ansi\\ansicpg936\\deff0\\nouicompat\\deflang1033\\deflangfe2052{\\fonttbl{\\f0"
    "\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}{\\f1\\fnil\\fcharset0 Calibri;}}\r\n{\\*"
    "\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n\\pard\\sa200\\sl276\\slmult1\\qc\\b"
    "\\f0\\fs32\\'b3\\'cb\\'b7\\'a8\\'cc\\'e2:\\b0\\fs22\\par\r\n\\pard\\sa200\\sl276\\slmult1"
    "\\f1\\lang2052 3\\'d74=\\f0\\'a1\\'a1\\f1\\tab \\i italic\\i0  \\ul under\\ulnone\\line next"
    "\\par\r\n\\pard\\qr\\f0\\fs21\\'b3\\'fd\\'b7\\'a8\\par\r\n}\r\n\0";
// LibreOffice: \'3f fallbacks, the East Asian font in \dbch\af followed by the
// complex-script one, page styles, a page break as the paragraph's property.
const char kLibreOffice[] =
    R"({\rtf1\ansi\deff3\adeflang1025
{\fonttbl{\f0\froman\fprq2\fcharset0 Times New Roman;}{\f3\froman\fprq2\fcharset0 Liberation Serif{\*\falt Times New Roman};}{\f4\fnil\fprq2\fcharset0 Noto Serif CJK SC;}{\f5\fnil\fprq2\fcharset0 Noto Sans Devanagari;}}
{\colortbl;\red0\green0\blue0;}
{\stylesheet{\s0\snext0\dbch\af4\langfe2052\dbch\af5\afs24\alang1081\loch\f3\fs24\lang2052 Normal;}}
{\*\generator LibreOffice/7.4$Linux_X86_64}{\info{\creatim\yr2024\mo3}}{\*\userprops}\deftab709
{\*\pgdsctbl
{\pgdsc0\pgdscuse451\pgwsxn11906\pgdscnxt0 Default Page Style;}}
\formshade\paperh16838\sectd\sbknone\pgndec
{\*\ftnsep\chftnsep}\pard\plain \s0\qr\widctlpar\ltrpar\cf0\dbch\af4\langfe2052\dbch\af5\afs24\alang1081\loch\f3\fs24\lang2052{\b\fs32\dbch\af4\loch\f3\hich\af3\rtlch\ab\ltrch\loch
\u20056\'3f\u27861\'3f\u39064\'3f:}
\par \pard\plain \s0\ql\pagebb\dbch\af4\dbch\af5\afs24\loch\f3\fs24{\i\ul\ulc0\loch
7\u215\'3f3=\u12288\'3f}{\fs21\loch
 2\u247\'3f1=}
\par })";

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

// Word on a Japanese system: Shift_JIS, second bytes written as \\ and \{,
// \uc2 with the character's own bytes as the fallback.
const char kWordShiftJis[] =
    R"({\rtf1\adeflang1025\ansi\ansicpg932\uc2\adeff0\deff0\deflang1033\deflangfe1041{\fonttbl{\f0\fbidi \froman\fcharset0\fprq2 Times New Roman;}{\f1\fbidi \fmodern\fcharset128\fprq1 MS Mincho;}}
{\*\rsidtbl \rsid123}\pard\plain \ltrpar\qj \rtlch\fcs1 \af0 \ltrch\fcs0 \fs21\lang1033\langfe1041\loch\af0\hich\af0\dbch\af1 {\rtlch\fcs1 \af0 \ltrch\fcs0 \b\hich\af1\dbch\af1\loch\f1 \'83e\'83X\'83g\'83\\\'95\\\'9b\{\u31639\'8eZ\'96@}{\rtlch\fcs1 \af0 \ltrch\fcs0 \par }})";

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

// pandoc: \uN with "?" fallbacks, \bullet, a paragraph per group.
const char kPandoc[] =
    R"({\rtf1\ansi\deff0{\fonttbl{\f0 \fswiss Helvetica;}{\f1 \fmodern Courier;}}
{\colortbl;\red255\green0\blue0;}
\widowctrl\hyphauto

{\pard \ql \f0 \sa180 \li0 \fi0 \u20056?\u27861?\u39064?\u-244?\par}
{\pard \ql \f0 \sa180 \li360 \fi-360 \bullet \tx360\tab \u8220?7\u215?3=21\u8221?\par}
{\pard \ql \f0 \sa180 \li0 \fi0 {\b bold} {\i it}\par}
})";

// LibreOffice 7.4's own file (style sheet and page settings left out): the
// East Asian text's bold and size as associated properties after \dbch.
const char kLibreOfficeEastAsian[] =
    R"({\rtf1\ansi\deff3\adeflang1025
{\fonttbl{\f0\froman\fprq2\fcharset0 Times New Roman;}{\f3\froman\fprq2\fcharset0 DejaVu Serif;}{\f5\fnil\fprq2\fcharset0 Noto Sans CJK SC;}{\f7\fnil\fprq2\fcharset0 DejaVu Sans;}}
{\*\generator LibreOffice/7.4.7.2$Linux_X86_64 LibreOffice_project/40$Build-2}
\sectd\sbknone\pgndec
{\*\ftnsep\chftnsep}\pgndec\pard\plain \s0\rtlch\af7\afs24\alang1081 \ltrch\lang1033\langfe2052\hich\af3\loch\nowidctlpar\hyphpar0\ltrpar\cf0\f3\fs24\lang1033\kerning1\dbch\af8\langfe2052\ql\ltrpar{\dbch
\u26222\'3f\u36890\'3f}{\rtlch\ab \ltrch\dbch\ab\dbch
\u21152\'3f\u31895\'3f}{\dbch
\u26222\'3f\u36890\'3f}{\rtlch\afs40 \ltrch\dbch\afs40\dbch
\u22823\'3f\u23383\'3f}{\dbch
\u21644\'3f}{\rtlch\ai \ltrch\dbch\i\dbch
\u26012\'3f\u20307\'3f}{\dbch
\u12290\'3f}{\loch
Latin }{\rtlch\ab \ltrch\loch\b\loch
bold}{\loch
 end}
\par \pard\plain \s0\rtlch\af7\afs24\alang1081 \ltrch\lang1033\langfe2052\hich\af3\loch\nowidctlpar\hyphpar0\ltrpar\cf0\f3\fs24\lang1033\kerning1\dbch\af8\langfe2052\ql\ltrpar{\dbch
\u21482\'3f\u26377\'3f\u19996\'3f\u20122\'3f}{\dbch\afs40\ab\dbch
\u21152\'3f\u31895\'3f\u22823\'3f\u23383\'3f }{\loch
and latin}{\dbch
\u23436\'3f}
\par })";

// Associated properties by hand, one letter each, as LibreOffice reads them:
// after \dbch and \loch as the plain ones, after \hich (\af apart) and
// \rtlch for complex scripts only.
const char kAssociated[] =
    R"({\rtf1\ansi{\fonttbl{\f0 Arial;}{\f1 SimSun;}{\f2 KaiTi;}}\f0 a{\dbch\af1\afs40 b}c{\dbch\ab d}e)"
    R"({\loch\ab f}g{\hich\ab h}i{\rtlch\ab j}k{\ltrch\ai l}m{\loch\af2 n}o{\hich\af2 p}q)"
    R"({\rtlch\af2 r}s{\rtlch\afs40\ltrch\afs30 t}u{\dbch\af2\ab v}w\par})";

// WordPad writes Chinese as \'hh bytes and switches formatting right after
// them: the bytes are in the format they were written in.
const char kWordPadBytesThenFormat[] =
    R"({\rtf1\ansi\ansicpg936{\fonttbl{\f0\fcharset134 SimSun;}}\f0\qc\b\fs32\'b3\'cb\'b7\'a8\b0\fs24\par)"
    R"(\pard\'b3\'fd\ul\'ca\'fd\ulnone\par\'bf\'da\i\'cb\'e3\par})";

// The paragraphs that start a new page, counted as the file has them.
QList<int> pageStarts(const QTextDocument &document) {
    QList<int> starts;
    const RtfDocument rtf = rtfFromTextDocument(document);
    for (std::size_t i = 0; i < rtf.paragraphs.size(); ++i) {
        if (rtf.paragraphs[i].pageBreakBefore)
            starts << static_cast<int>(i);
    }
    return starts;
}

// Each non-empty paragraph's visible characters with bold, italic and underline
// marks, blanks joined: readers lay out white space their own way.
QStringList marked(const QTextDocument &document) {
    QStringList paragraphs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QString line;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            const QString marks = QString(format.fontWeight() >= QFont::Bold ? "b" : "") +
                                  (format.fontItalic() ? "i" : "") +
                                  (format.fontUnderline() ? "u" : "");
            for (QChar c : it.fragment().text())
                line += c.isSpace() ? QString(c) : c + marks;
        }
        if (!line.simplified().isEmpty())
            paragraphs << line.simplified();
    }
    return paragraphs;
}

void compareWithPandoc(const RichTextBox &editor, const QString &path) {
    QProcess pandoc;
    pandoc.start(u"pandoc"_s, {u"-f"_s, u"rtf"_s, u"-t"_s, u"html"_s, path});
    QVERIFY2(pandoc.waitForFinished(120000) && pandoc.exitCode() == 0,
             pandoc.readAllStandardError().constData());
    QTextDocument read;
    read.setHtml(QString::fromUtf8(pandoc.readAllStandardOutput()));
    QCOMPARE(marked(read), marked(*editor.document()));
}

} // namespace

Q_DECLARE_METATYPE(drillpad::RtfDocument)
Q_DECLARE_METATYPE(drillpad::RtfPage)
Q_DECLARE_METATYPE(Styles)

class TestRtf : public QObject {
    Q_OBJECT

    static F song(int halfPoints = 18) { return fmt(kSong, halfPoints); }
    static RtfParagraph paragraph(std::vector<RtfRun> runs, RtfAlignment align = A::Left,
                                  F mark = song()) {
        RtfParagraph result;
        result.alignment = align;
        result.markFormat = mark;
        result.runs = std::move(runs);
        return result;
    }
    static RtfDocument document(std::vector<RtfParagraph> paragraphs,
                                std::vector<RtfRow> rows = {}) {
        RtfDocument result;
        result.defaultFamily = kSong;
        result.paragraphs = std::move(paragraphs);
        result.rows = std::move(rows);
        return result;
    }
    // A paragraph of a table cell, with a cell's usual layout: indented,
    // a right tab stop, 1.5 lines.
    static RtfParagraph inCell(const QString &text, int row, int cell, bool underline = false) {
        RtfParagraph result = paragraph(
            text.isEmpty()
                ? std::vector<RtfRun>{}
                : std::vector<RtfRun>{{text, fmt(kSong, 32, underline ? Underline : Plain)}},
            A::Left, song(32));
        result.row = row;
        result.cell = cell;
        result.leftIndent = 300;
        result.firstLineIndent = text.startsWith(u'5') ? -240 : 0;
        result.tabStops = {{1305, true}};
        result.lineSpacing = 150;
        return result;
    }
    static RtfDocument oneRun(const QString &text, const F &format) {
        return document({paragraph({{text, format}})});
    }
    static RtfDocument inEditor(const RtfDocument &rtf) {
        QTextDocument document;
        rtfToTextDocument(rtf, document);
        return rtfFromTextDocument(document);
    }

private Q_SLOTS:
    void roundTrip_data() {
        QTest::addColumn<RtfDocument>("rtf");
        QTest::newRow("western and East Asian font")
            << oneRun(u"Arial 和宋体"_s, fmt(u"Arial"_s, 24, Plain, kSong));
        QTest::newRow("paragraphs, alignments and runs") << document({
            paragraph({{u"乘法题:"_s, fmt(u"黑体"_s, 32, Bold)}}, A::Centre, fmt(u"黑体"_s, 32)),
            paragraph({{u"3×4=\u3000"_s, song(21)},
                       {u"5×6=\u3000"_s, fmt(kSong, 21, Bold | Italic)},
                       {u"7÷7=\u3000"_s, fmt(u"Times New Roman"_s, 24, Underline)}}),
            paragraph({{u"8÷4=\u3000"_s, song()}}, A::Justify),
            paragraph({{u"完"_s, song()}}, A::Right),
        });
        QTest::newRow("tabs, line breaks, RTF's own characters, outside the basic plane")
            << oneRun(u"a\tb\u2028c {x} \\y\\ ;笑\U0001F600\uFF1D"_s, song());
        QTest::newRow("runs unlike their paragraph's mark") << document(
            {paragraph(
                 {{u"plain"_s, song()}, {u"all"_s, fmt(kSong, 18, Bold | Italic | Underline)}},
                 A::Left, fmt(kSong, 18, Bold | Italic | Underline)),
             paragraph(
                 {{u"plain"_s, song()}, {u"all"_s, fmt(kSong, 18, Bold | Italic | Underline)}}),
             // Each attribute against a mark that has another one.
             paragraph({{u"i"_s, fmt(kSong, 18, Italic)}, {u"u"_s, fmt(kSong, 18, Underline)}},
                       A::Left, fmt(kSong, 18, Bold)),
             paragraph({{u"b"_s, fmt(kSong, 18, Bold)}, {u"u"_s, fmt(kSong, 18, Underline)}},
                       A::Left, fmt(kSong, 18, Italic)),
             paragraph({{u"b"_s, fmt(kSong, 18, Bold)}, {u"i"_s, fmt(kSong, 18, Italic)}}, A::Left,
                       fmt(kSong, 18, Underline))});
        QTest::newRow("empty paragraphs keep their size")
            << document({paragraph({}, A::Centre, song(48)), paragraph({{u"x"_s, song()}}),
                         paragraph({}, A::Left, song(21)), paragraph({})});
        // Two rows of a vertical sheet, the second on a new page and its
        // last cell empty, between paragraphs with tab stops; an empty
        // paragraph right after the table keeps its place.
        RtfParagraph columns = paragraph({{u"1+2=　	3+4=　"_s, song()}});
        columns.tabStops = {{1500, false}, {3000, false}};
        RtfParagraph pageTwo = inCell(u"	85"_s, 1, 0);
        pageTwo.pageBreakBefore = true;
        RtfDocument table = document(
            {columns, inCell(u"	12"_s, 0, 0), inCell(u"+	9"_s, 0, 0, true), inCell({}, 0, 0),
             inCell(u"	7"_s, 0, 1), inCell(u"×	8"_s, 0, 1, true), pageTwo,
             inCell(u"5）	85"_s, 1, 0), inCell({}, 1, 1), paragraph({}), columns},
            {{{1500, 1500}, true}, {{1500, 1500}, true}});
        table.page.width = 12240;
        table.page.marginTop = 720;
        QTest::newRow("tables, tab stops, indents, spacing and the page") << table;
        RtfDocument headed = document(
            {paragraph({{u"2×3=\u3000"_s, song(24)}}), paragraph({{u"4×5=\u3000"_s, song(40)}})});
        headed.paragraphs[1].lineSpacing = 150;
        headed.paragraphs[1].pageBreakBefore = true;
        headed.header = {
            paragraph({{u"二年级口算练习"_s, fmt(kSong, 32, Bold)}}, A::Centre, song(32)),
            paragraph({{u"姓名:______ 日期:______"_s, song(24)}}, A::Left, song(24))};
        headed.header[0].lineSpacing = 200;
        headed.page = {12240, 15840, 1800, 1700, 2000, 1440, 700};
        QTest::newRow("the header, the page and line heights") << headed;
    }
    // Saved from the editor and read back into it, nothing changes.
    void roundTrip() {
        QFETCH(RtfDocument, rtf);
        const RtfDocument expected = inEditor(rtf);
        const std::optional<RtfDocument> read = parseRtf(writeRtf(expected));
        QVERIFY(read.has_value());
        const RtfDocument actual = inEditor(*read);
        QCOMPARE(actual.paragraphs, expected.paragraphs);
        QCOMPARE(actual.rows, expected.rows);
        QCOMPARE(actual.page, rtf.page);
        QCOMPARE(actual.header, rtf.header);
        QCOMPARE(expected.paragraphs.size(), rtf.paragraphs.size()); // the editor added none
    }

    // Lines are at least 1.5 times the largest font of the paragraph apart,
    // times the spacing; never closer, and at most ten lines.
    void lineTwipsForSpacing_data() {
        QTest::addColumn<int>("spacing");
        QTest::addColumn<int>("mark");
        QTest::addColumn<int>("run"); // 0: no run
        QTest::addColumn<int>("twips");
        QTest::newRow("single, the run larger than the mark") << 100 << 24 << 40 << 600;
        QTest::newRow("single, the mark larger than the run") << 100 << 40 << 24 << 600;
        QTest::newRow("1.5 lines") << 150 << 24 << 40 << 900;
        QTest::newRow("closer than single") << 80 << 24 << 40 << 600;
        QTest::newRow("empty, as tall as its mark") << 100 << 48 << 0 << 720;
        QTest::newRow("ten lines") << 1000 << 24 << 0 << 3600;
        QTest::newRow("more than ten lines") << 1001 << 24 << 0 << 3600;
    }
    void lineTwipsForSpacing() {
        QFETCH(int, spacing);
        QFETCH(int, mark);
        QFETCH(int, run);
        QFETCH(int, twips);
        RtfParagraph p =
            paragraph(run ? std::vector<RtfRun>{{u"a"_s, song(run)}} : std::vector<RtfRun>{},
                      A::Left, song(mark));
        p.lineSpacing = spacing;
        QCOMPARE(lineTwipsFor(p), twips);
    }

    // Headers and pages as word processors write them.
    void readsHeaderAndPage_data() {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("header");
        QTest::addColumn<RtfPage>("page");
        QTest::addColumn<int>("spacing"); // of the first paragraph of the body, in percent
        const RtfPage sheet;
        QTest::newRow("Word: \\headerr, exact and multiple spacing")
            << QByteArray("{\\rtf1\\paperw12240\\paperh15840\\margl1800\\margr1800\\margt1440"
                          "\\margb1440\\headery720{\\headerr \\pard\\plain\\qc\\sl-360\\slmult0 "
                          "Title\\par}\\pard\\sl276\\slmult1\\fs24 body\\par}")
            << u"body"_s << u"Title"_s << RtfPage{12240, 15840, 1800, 1800, 1440, 1440, 720} << 115;
        QTest::newRow("LibreOffice: section margins, the first header only")
            << QByteArray(
                   "{\\rtf1\\sectd\\pgwsxn11906\\pghsxn16838\\marglsxn1134\\margrsxn1134"
                   "\\margtsxn1701\\margbsxn1134\\headery567{\\header\\pard\\plain h1\\par h2}"
                   "{\\header other}\\pard\\plain\\sl300\\slmult0 b\\par}")
            << u"b"_s << u"h1\nh2"_s << RtfPage{11906, 16838, 1134, 1134, 1701, 1134, 567}
            << 100; // at least 300 of 360 twips: single
        QTest::newRow("a header in the middle of a paragraph, its page break ignored")
            << QByteArray("{\\rtf1 ab{\\header h\\page}cd\\par}") << u"abcd"_s << u"h"_s << sheet
            << 100;
        QTest::newRow("a header left open")
            << QByteArray("{\\rtf1 a\\par{\\header h") << u"a"_s << u"h"_s << sheet << 100;
        QTest::newRow("paper too small, huge spacing")
            << QByteArray("{\\rtf1\\paperw1439\\sl-99999999 a\\par}") << u"a"_s << QString()
            << sheet << 1000;
        QTest::newRow("margins leaving less than an inch")
            << QByteArray("{\\rtf1\\margl5000\\margr5467 a\\par}") << u"a"_s << QString() << sheet
            << 100;
        QTest::newRow("margins leaving an inch")
            << QByteArray("{\\rtf1\\margl5000\\margr5466 a\\par}") << u"a"_s << QString()
            << RtfPage{11906, 16838, 5000, 5466, 1134, 1134, 567} << 100;
    }
    void readsHeaderAndPage() {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, body);
        QFETCH(QString, header);
        QFETCH(RtfPage, page);
        QFETCH(int, spacing);
        const std::optional<RtfDocument> read = parseRtf(rtf);
        QVERIFY(read.has_value());
        QCOMPARE(read->plainText(), body);
        RtfDocument headerOnly;
        headerOnly.paragraphs = read->header;
        QCOMPARE(headerOnly.plainText(), header);
        QCOMPARE(read->page, page);
        QCOMPARE(read->paragraphs.front().lineSpacing, spacing);
        RichTextBox editor;
        QVERIFY(editor.setRtf(rtf));
        QCOMPARE(editor.header(), read->header);
        QCOMPARE(editor.pageSetup(), page);
    }

    // Plain ASCII that any reader takes: GBK font names, \\uN with a fallback.
    void writesAscii() {
        const QByteArray rtf = writeRtf(oneRun(u"口\u3000\U0001F600\uFF1D"_s, song()));
        QVERIFY(rtf.startsWith("{\\rtf1\\ansi\\ansicpg936"));
        QVERIFY(rtf.contains("\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}"));
        QVERIFY2(rtf.contains(
                     "\n\\u21475\\'3f\\u12288\\'3f\\u-10179\\'3f\\u-8704\\'3f\\u-227\\'3f\\par"),
                 rtf.constData());
        QVERIFY(std::all_of(rtf.cbegin(), rtf.cend(),
                            [](char c) { return static_cast<unsigned char>(c) < 0x80; }));
    }

    // The expected texts are LibreOffice's, but for four things it does
    // differently, as the comments say.
    void samples_data() {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("pageStarts"); // paragraphs that start a new page
        QTest::addColumn<Styles>("styles");
        const auto row = [](const char *name, const char *rtf, const QString &text,
                            const Styles &styles = {}, const QList<int> &pageStarts = {}) {
            QTest::newRow(name) << QByteArray(rtf) << text << pageStarts << styles;
        };
        const QString calibri = u"Calibri"_s, serif = u"Liberation Serif"_s,
                      cjk = u"Noto Serif CJK SC"_s;
        row("WordPad, formatting", kWordPad, u"乘法题:\n3×4=\u3000\titalic under\nnext\n除法"_s,
            Styles{{u"乘法题"_s, A::Centre, fmt(kSong, 32, Bold)},
                   {u"3×4"_s, A::Left, fmt(calibri, 22)},
                   {u"italic"_s, A::Left, fmt(calibri, 22, Italic)},
                   {u"under"_s, A::Left, fmt(calibri, 22, Underline)},
                   {u"除法"_s, A::Right, fmt(kSong, 21)}});
        row("LibreOffice, formatting", kLibreOffice, u"乘法题:\n7×3=\u3000 2÷1="_s,
            Styles{{u"乘法题"_s, A::Right, fmt(serif, 32, Bold, cjk)},
                   {u"7×3"_s, A::Left, fmt(serif, 24, Italic | Underline, cjk)},
                   {u"2÷1"_s, A::Left, fmt(serif, 21, Plain, cjk)}},
            {1});
        // LibreOffice shows "�}" for \'ee\}: the escaped byte is the second
        // byte of 題 all the same.
        row("WordPad, GBK", kWordPadGbk,
            u"學時說這題體\n7×3=¡¡ café “quoted” ‘x’\n口\uFFFD\n乘x"_s);
        row("WordPad, Big5", kWordPadBig5, u"學時說這題體 十口法"_s);
        // LibreOffice: "テスト�\\�\\�{算法".
        row("Word, Shift_JIS", kWordShiftJis, u"テストソ表學算法"_s,
            Styles{{u"算法"_s, A::Justify, fmt(u"MS Mincho"_s, 21, Bold)}});
        row("WordPad, Korean", kWordPadKorean, u"각갂똠"_s);
        // LibreOffice keeps the symbol fonts' private codes (U+F0B7 for the
        // bullet).
        row("Word, symbols, object, table, breaks", kWordStructure,
            u"• item\n× ÷\n✓ ok ✗\n3+4=7\na\nb\nc\n1\n2\n3\nbefore\nafter\nmiddle\nend\nlast"_s, {},
            {11, 13, 14});
        row("pandoc", kPandoc, u"乘法题，\n•\t“7×3=21”\nbold it"_s);
        const QString dejaVu = u"DejaVu Serif"_s;
        row("LibreOffice, East Asian bold and size", kLibreOfficeEastAsian,
            u"普通加粗普通大字和斜体。Latin bold end\n只有东亚加粗大字 and latin完"_s,
            Styles{{u"普通"_s, A::Left, fmt(dejaVu, 24)},
                   {u"加粗"_s, A::Left, fmt(dejaVu, 24, Bold)},
                   {u"大字"_s, A::Left, fmt(dejaVu, 40)},
                   {u"斜体"_s, A::Left, fmt(dejaVu, 24, Italic)},
                   {u"bold"_s, A::Left, fmt(dejaVu, 24, Bold)},
                   {u"加粗大字 "_s, A::Left, fmt(dejaVu, 40, Bold)},
                   {u"and latin"_s, A::Left, fmt(dejaVu, 24)}});
        const QString arial = u"Arial"_s, kai = u"KaiTi"_s, sun = u"SimSun"_s;
        row("associated properties", kAssociated, u"abcdefghijklmnopqrstuvw"_s,
            Styles{{u"a"_s, A::Left, fmt(arial, 24)},
                   {u"b"_s, A::Left, fmt(arial, 40, Plain, sun)},
                   {u"d"_s, A::Left, fmt(arial, 24, Bold)},
                   {u"f"_s, A::Left, fmt(arial, 24, Bold)},
                   {u"h"_s, A::Left, fmt(arial, 24)},
                   {u"j"_s, A::Left, fmt(arial, 24)},
                   {u"l"_s, A::Left, fmt(arial, 24, Italic)},
                   {u"n"_s, A::Left, fmt(kai, 24)},
                   {u"p"_s, A::Left, fmt(kai, 24)},
                   {u"r"_s, A::Left, fmt(arial, 24)},
                   {u"t"_s, A::Left, fmt(arial, 30)},
                   {u"v"_s, A::Left, fmt(arial, 24, Bold, kai)}});
        row("WordPad, formatting right after \\'hh", kWordPadBytesThenFormat, u"乘法\n除数\n口算"_s,
            Styles{{u"乘法"_s, A::Centre, fmt(sun, 32, Bold)},
                   {u"除"_s, A::Left, fmt(sun, 24)},
                   {u"数"_s, A::Left, fmt(sun, 24, Underline)},
                   {u"口"_s, A::Left, fmt(sun, 24)},
                   {u"算"_s, A::Left, fmt(sun, 24, Italic)}});
    }
    void samples() {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, text);
        QFETCH(QList<int>, pageStarts);
        QFETCH(Styles, styles);
        const std::optional<RtfDocument> read = parseRtf(rtf);
        QVERIFY(read.has_value());
        for (const Styled &styled : styles) {
            bool found = false;
            for (const RtfParagraph &p : read->paragraphs)
                for (const RtfRun &run : p.runs)
                    found |= run.text.contains(styled.piece) && run.format == styled.format &&
                             p.alignment == styled.alignment;
            QVERIFY2(found, qPrintable(styled.piece));
        }
        // Saved, each page break as \page, and read again, the text and its
        // page breaks stay, and no paragraph after a break inherits it.
        RichTextBox editor, again;
        QVERIFY(editor.setRtf(rtf));
        QCOMPARE(editor.rtf().count("\\page"), pageStarts.size());
        QVERIFY(again.setRtf(editor.rtf()));
        for (const RichTextBox *box : {&editor, &again}) {
            QCOMPARE(box->text(), text);
            QCOMPARE(::pageStarts(*box->document()), pageStarts);
        }
    }
    // Features of the format, and damaged input read as far as it goes;
    // paragraph properties as LibreOffice reads them.
    void reads_data() {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("text");
        // Each paragraph's alignment (l, c, r, j), "^" where it starts a new
        // page; empty: not looked at.
        QTest::addColumn<QString>("paragraphs");
        const auto row = [](const char *name, const QByteArray &rtf, const QString &text,
                            const QString &paragraphs = {}) {
            QTest::newRow(name) << rtf << text << paragraphs;
        };
        row("GBK bytes by the font's character set",
            "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fnil\\fcharset134 "
            "\\'cb\\'ce\\'cc\\'e5;}}\\f0 caf\\'e9 \\f1 \\'bf\\'da\\'cb\\'e3}",
            u"café 口算"_s);
        row("\\uc is kept per group", "{\\rtf1\\uc1{\\uc3\\u21475abcX}\\u31639?Y}", u"口X算Y"_s);
        row("fallback ends with the group", "{\\rtf1\\uc4{\\u21475 a}bc}", u"口bc"_s);
        row("skipped destinations",
            "{\\rtf1{\\*\\unknown x{y}}{\\info{\\title t}}{\\pict\\picw1 ab\\'00cd}{\\header h}a}",
            u"a"_s);
        row("\\bin skips its bytes", "{\\rtf1 a{\\*\\blob\\bin6 }}{\\\\}}b}", u"ab"_s);
        row("paragraphs, lines, tabs and symbols",
            "{\\rtf1 a\\par b\\line c\\tab d\\~e\\_f\\-g\\emdash\\{\\}\\\\\\\nh}",
            u"a\nb\u2028c\td\u00A0e\u2011fg\u2014{}\\\nh"_s);
        row("field result is text, its instruction is not",
            "{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}}", u"link"_s);

        row("double-byte characters in raw bytes, split by a line end",
            "{\\rtf1\\ansi\\ansicpg936 \x8c\r\nW\xb3\xcb\x8c}", u"學乘\uFFFD"_s);
        row("a first byte cut off by a Unicode character or a font change",
            "{\\rtf1\\ansicpg950{\\fonttbl{\\f1\\fcharset0 Arial;}}\\'a4\\u21475?\\'a4\\f1 Q}",
            u"\uFFFD口\uFFFDQ"_s);
        row("symbol font signs as Word's private codes",
            "{\\rtf1{\\fonttbl{\\f3\\fcharset2 Symbol;}{\\f4\\fcharset2 Wingdings 2;}}"
            "{\\f3\\u-3913?\\'d6 x}{\\f4\\'50}}",
            u"•√ x\uF050"_s);
        // The private codes start at U+F020, Word's space; the font's own
        // signs end at 0x20 in Wingdings and at 0x7F in Symbol.
        row("symbol font edges",
            "{\\rtf1{\\fonttbl{\\f3\\fcharset2 Symbol;}{\\f4\\fcharset2 Wingdings;}}"
            "{\\f3\\u61471?\\u61472?\\u61473?\\u-4064?\\'7e\\'80\\u61695?\\u61696?}"
            "{\\f4\\u61472?\\'20\\'21\\'23\\u61694?}}",
            u"\uF01F !\u0020∼\uF080\uF0FF\uF100  ✏\uF023☑"_s);
        row("empty cells keep their place", "{\\rtf1 \\cell b\\cell\\cell d\\cell\\row\\cell\\row}",
            u"\nb\n\nd\n"_s);
        row("a table in a cell as lines of the cell",
            "{\\rtf1\\intbl a\\nestcell b\\nestcell{\\nestrow}c\\cell\\row}", u"a\tb\nc"_s);
        row("text of an object outside its result",
            "{\\rtf1 {\\object x{\\*\\objdata 01}y\\par{\\result z}}}", u"z"_s);
        row("groups left open", "{\\rtf1 a{\\b b{\\i c", u"abc"_s);
        row("huge numbers",
            "{\\rtf1\\fs99999999999999999999\\f-99999999999999999999\\uc99999999999 a"
            "\\u99999999999 b\\u-99999999999 c}",
            u"a"_s);
        row("huge \\bin", "{\\rtf1 a\\bin2147483647 bcd}", u"a"_s);
        row("NUL bytes", QByteArray("{\\rtf1 a\0b\\'00c\\u0?d}", 21), u"abcd"_s);
        row("Qt's own markers", "{\\rtf1 a\\u-560?\\u-4?\\u8233?b}", u"a\u2028b"_s);
        row("deep nesting",
            "{\\rtf1 a" + QByteArray(100000, '{') + "b" + QByteArray(100000, '}') + "c}", u"abc"_s);
        row("deep skipped group left open", "{\\rtf1 a{\\*\\x" + QByteArray(100000, '{'), u"a"_s);
        row("font table never closed", "{\\rtf1{\\fonttbl{\\f0 Arial", QString());
        // A section goes on on the page only by its own \sbknone, which may
        // stand anywhere in it; \sectd starts a section's properties afresh.
        row("section breaks",
            "{\\rtf1\\sectd\\sbknone A\\par\\sect B\\par\\sect\\sbkpage "
            "C\\par\\sect\\sectd\\sbknone "
            "D\\par\\sect\\sectd E\\par\\sect F\\page G\\par}",
            u"A\nB\nC\nD\nE\nF\nG"_s, u"l l l^ l l^ l^ l^"_s);
        row("\\pagebb until \\pard",
            "{\\rtf1 A\\par\\pagebb B\\par C\\par\\pard D\\par{\\pagebb E\\par}F\\par}",
            u"A\nB\nC\nD\nE\nF"_s, u"l l^ l^ l l^ l"_s);
        // A paragraph takes the alignment of its last text, unless it is set
        // again after that text in a group still open at the paragraph's end.
        row("alignment set in groups",
            "{\\rtf1 {\\qc A}\\par B\\par {\\qc}C\\par \\qc D{\\ql}\\par {\\qc E}\\ql\\par \\pard "
            "F{\\qr}\\par "
            "{\\qc G\\par}H\\par {\\qr I}{\\qc J}\\par}",
            u"A\nB\nC\nD\nE\nF\nG\nH\nIJ"_s, u"c l l c l l c l c"_s);
    }

    void reads() {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, text);
        QFETCH(QString, paragraphs);
        const std::optional<RtfDocument> read = parseRtf(rtf);
        QVERIFY(read.has_value());
        QCOMPARE(read->plainText(), text);
        QCOMPARE(inEditor(*read).plainText(), text); // and the editor takes it
        if (paragraphs.isEmpty())
            return;
        QStringList described;
        for (const RtfParagraph &paragraph : read->paragraphs)
            described << QString(u"lcrj"_s.at(int(paragraph.alignment))) +
                             (paragraph.pageBreakBefore ? u"^"_s : QString());
        QCOMPARE(described.join(u' '), paragraphs);
    }

    void refusesWhatIsNotRtf() {
        RichTextBox editor;
        editor.setText(u"乘法题:\n2×3=\u3000"_s);
        for (const char *data : {"", "7+3=", "x{\\rtf1 a}", "<html>{\\rtf1</html>", "{\\rt"}) {
            QVERIFY2(!looksLikeRtf(data) && !parseRtf(data), data);
            QVERIFY2(!editor.setRtf(data), data);
        }
        QCOMPARE(editor.text(), u"乘法题:\n2×3=\u3000"_s);
    }

    void pandocReadsTheSavedSheet() {
        RichTextBox editor;
        editor.setHtml(
            u"<p align=center><b style='font-size:16pt'>乘法题:</b></p>"
            "<p><u>3×4=\u3000</u> <i>5×6=\u3000</i> <b style='font-family:隶书'>8÷2=\u3000</b></p>"
            "<p></p><p><b>粗体</b> <i>斜体</i> <u>下划线</u> "
            "<b><i><u style='font-size:10.5pt'>全部</u></i></b> normal\tend</p>"_s);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"sheet.rtf"_s);
        QVERIFY(editor.saveFile(path).ok());
        QCOMPARE(marked(*editor.document()).size(), 3);
        compareWithPandoc(editor, path);
    }
    void pandocReadsTheManual() {
        const QString manual = qEnvironmentVariable("DRILLPAD_BINARY_DIR") + u"/help.rtf"_s;
        RichTextBox editor;
        QVERIFY(editor.loadFile(manual).ok());
        QVERIFY(marked(*editor.document()).size() > 10);
        compareWithPandoc(editor, manual);
    }
};

DRILLPAD_TEST_MAIN(TestRtf)
#include "tst_rtf.moc"
