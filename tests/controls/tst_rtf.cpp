#include "common/test_main.h"

#include "controls/rich_text_box.h"
#include "controls/rtf_reader.h"
#include "controls/rtf_writer.h"
#include "guide/sheet_writer.h"

#include <QTextDocument>

using namespace drillpad;

Q_DECLARE_METATYPE(drillpad::RtfDocument)
Q_DECLARE_METATYPE(drillpad::RtfAlignment)

namespace {

using F = RtfCharFormat;

const QString kSong = QStringLiteral("宋体");

enum Attributes { Plain = 0, Bold = 1, Italic = 2, Underline = 4 };

F fmt(const QString &family, int halfPoints, int attributes = Plain,
      const QString &eastAsian = QString()) {
    F format;
    format.family = family;
    format.eastAsianFamily = eastAsian;
    format.halfPoints = halfPoints;
    format.bold = attributes & Bold;
    format.italic = attributes & Italic;
    format.underline = attributes & Underline;
    return format;
}

F song(int halfPoints = 18) {
    return fmt(kSong, halfPoints);
}

RtfParagraph paragraph(std::vector<RtfRun> runs, RtfAlignment alignment = RtfAlignment::Left,
                       F mark = song()) {
    return RtfParagraph{alignment, mark, std::move(runs)};
}

RtfDocument document(std::vector<RtfParagraph> paragraphs) {
    return RtfDocument{kSong, std::move(paragraphs)};
}

// Saving a document and reading it back, through the editor's document.
RtfDocument throughFile(const RtfDocument &rtf) {
    QTextDocument original;
    rtfToTextDocument(rtf, original);
    const std::optional<RtfDocument> read = parseRtf(writeRtf(rtfFromTextDocument(original)));
    if (!read)
        return {};
    QTextDocument reloaded;
    rtfToTextDocument(*read, reloaded);
    return rtfFromTextDocument(reloaded);
}

RtfDocument asEditorHasIt(const RtfDocument &rtf) {
    QTextDocument document;
    rtfToTextDocument(rtf, document);
    return rtfFromTextDocument(document);
}

// The run holding `piece` in a read document.
const RtfRun *runWith(const RtfDocument &rtf, const QString &piece) {
    for (const RtfParagraph &p : rtf.paragraphs) {
        for (const RtfRun &run : p.runs) {
            if (run.text.contains(piece))
                return &run;
        }
    }
    return nullptr;
}

RtfDocument parsed(const QByteArray &data) {
    const std::optional<RtfDocument> rtf = parseRtf(data);
    return rtf ? *rtf : RtfDocument{};
}

} // namespace

class TestRtf : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data();
    void roundTrip();
    void roundTripOfTheLargestSheet();
    void writesAsciiWithUnicodeEscapes_data();
    void writesAsciiWithUnicodeEscapes();
    void writesHeaderFontTableAndRunIdiom();
    void sizesAreWholeHalfPoints_data();
    void sizesAreWholeHalfPoints();
    void readsWordPadStyle();
    void readsWordStyle();
    void readsLibreOfficeStyle();
    void readsFeatures_data();
    void readsFeatures();
    void readsDamagedInputAsFarAsItGoes_data();
    void readsDamagedInputAsFarAsItGoes();
    void refusesWhatIsNotRtf_data();
    void refusesWhatIsNotRtf();
    void editorKeepsDocumentWhenDataIsNotRtf();
};

void TestRtf::roundTrip_data() {
    QTest::addColumn<RtfDocument>("rtf");
    const auto one = [](const QString &t, const F &f) { return document({paragraph({{t, f}})}); };
    const QString question = QStringLiteral("7×8=\u3000");
    QTest::newRow("plain") << one(question, song());
    QTest::newRow("bold") << one(question, fmt(kSong, 18, Bold));
    QTest::newRow("italic") << one(question, fmt(kSong, 18, Italic));
    QTest::newRow("underline") << one(question, fmt(kSong, 18, Underline));
    QTest::newRow("10.5 pt") << one(question, song(21));
    QTest::newRow("128 pt") << one(question, song(256));
    QTest::newRow("font") << one(QStringLiteral("隶书的字"), fmt(QStringLiteral("隶书"), 24));
    QTest::newRow("western and East Asian font")
        << one(QStringLiteral("Arial 和宋体"), fmt(QStringLiteral("Arial"), 24, Plain, kSong));
    for (RtfAlignment alignment :
         {RtfAlignment::Left, RtfAlignment::Centre, RtfAlignment::Right, RtfAlignment::Justify}) {
        QTest::addRow("alignment %d", static_cast<int>(alignment))
            << document({paragraph({{QStringLiteral("乘法题:"), song()}}, alignment)});
    }
    QTest::newRow("mixed") << document({
        paragraph({{QStringLiteral("乘法题:"), fmt(QStringLiteral("黑体"), 32, Bold)}},
                  RtfAlignment::Centre, fmt(QStringLiteral("黑体"), 32)),
        paragraph({{QStringLiteral("3×4=\u3000"), song(21)},
                   {QStringLiteral("5×6=\u3000"), fmt(kSong, 21, Bold | Italic)},
                   {QStringLiteral("7÷7=\u3000"),
                    fmt(QStringLiteral("Times New Roman"), 24, Underline)}}),
        paragraph({}, RtfAlignment::Right, song(40)),
        paragraph({{QStringLiteral("完"), song()}}, RtfAlignment::Right),
    });
    QTest::newRow("tabs, line breaks and RTF's own characters")
        << one(QStringLiteral("a\tb\u2028c {x} \\y\\ ;"), song());
    QTest::newRow("outside the basic plane") << one(QStringLiteral("笑\U0001F600\uFF1D"), song());
    QTest::newRow("empty document") << document({paragraph({})});
    QTest::newRow("empty paragraphs keep their size") << document(
        {paragraph({}, RtfAlignment::Centre, song(48)), paragraph({{QStringLiteral("x"), song()}}),
         paragraph({}, RtfAlignment::Left, song(21)), paragraph({})});
}

void TestRtf::roundTrip() {
    QFETCH(RtfDocument, rtf);
    const RtfDocument expected = asEditorHasIt(rtf);
    const RtfDocument actual = throughFile(rtf);
    QCOMPARE(actual.plainText(), expected.plainText());
    QCOMPARE(actual.paragraphs.size(), expected.paragraphs.size());
    for (std::size_t i = 0; i < expected.paragraphs.size(); ++i) {
        QCOMPARE(actual.paragraphs[i].alignment, expected.paragraphs[i].alignment);
        QCOMPARE(actual.paragraphs[i].markFormat, expected.paragraphs[i].markFormat);
        QCOMPARE(actual.paragraphs[i].runs, expected.paragraphs[i].runs);
    }
}

void TestRtf::roundTripOfTheLargestSheet() {
    SheetSettings settings;
    for (QuestionType type :
         {QuestionType::Add, QuestionType::Minus, QuestionType::Mul, QuestionType::Devition})
        settings[type] = TypeSettings{true, 0, 99, 32767};
    const QString sheet = makeSheetText(settings);

    RichTextBox saved;
    saved.setText(sheet);
    saved.selectAll();
    saved.setSelFontSize(QStringLiteral("10.5"));
    const QByteArray rtf = saved.rtf();

    RichTextBox loaded;
    QVERIFY(loaded.setRtf(rtf));
    QCOMPARE(loaded.text(), sheet);
    QCOMPARE(loaded.document()->blockCount(), saved.document()->blockCount());
    QVERIFY(rtfFromTextDocument(*loaded.document()).paragraphs ==
            rtfFromTextDocument(*saved.document()).paragraphs);
}

void TestRtf::writesAsciiWithUnicodeEscapes_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("ideographic space") << QStringLiteral("\u3000") << QByteArray("\\u12288\\'3f");
    QTest::newRow("fullwidth equals, above 32767")
        << QStringLiteral("\uFF1D") << QByteArray("\\u-227\\'3f");
    QTest::newRow("times and divide")
        << QStringLiteral("×÷") << QByteArray("\\u215\\'3f\\u247\\'3f");
    QTest::newRow("surrogate pair")
        << QStringLiteral("\U0001F600") << QByteArray("\\u-10179\\'3f\\u-8704\\'3f");
    QTest::newRow("escapes") << QStringLiteral("{\\}") << QByteArray("\\{\\\\\\}");
    QTest::newRow("tab and line") << QStringLiteral("a\tb\u2028c")
                                  << QByteArray("a\\tab b\\line c");
}

void TestRtf::writesAsciiWithUnicodeEscapes() {
    QFETCH(QString, text);
    QFETCH(QByteArray, written);
    const QByteArray rtf = writeRtf(document({paragraph({{text, song()}})}));
    QVERIFY2(rtf.contains(" " + written + "}"), rtf.constData());
    QVERIFY(std::all_of(rtf.cbegin(), rtf.cend(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x80; }));
}

void TestRtf::writesHeaderFontTableAndRunIdiom() {
    const QByteArray rtf = writeRtf(document({paragraph(
        {{QStringLiteral("x"), song()},
         {QStringLiteral("y"), fmt(QStringLiteral("Arial"), 21, Bold | Italic | Underline)}},
        RtfAlignment::Centre)}));
    QVERIFY(rtf.startsWith("{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang2052\\uc1"));
    QVERIFY(rtf.contains("{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}"
                         "{\\f1\\fnil\\fcharset134 Arial;}}"));
    QVERIFY(rtf.contains("\\pard\\plain\\qc\\fs18\\hich\\af0\\dbch\\af0\\loch\\f0"));
    QVERIFY(rtf.contains("{\\fs18\\hich\\af0\\dbch\\af0\\loch\\f0 x}"));
    QVERIFY(rtf.contains("{\\b\\i\\ul\\fs21\\hich\\af1\\dbch\\af1\\loch\\f1 y}"));
    QVERIFY(rtf.trimmed().endsWith("\\par\n}"));
}

void TestRtf::sizesAreWholeHalfPoints_data() {
    QTest::addColumn<double>("points");
    QTest::addColumn<int>("halfPoints");
    QTest::newRow("10.5") << 10.5 << 21;
    QTest::newRow("128") << 128.0 << 256;
    QTest::newRow("10.3 to the nearest half point") << 10.3 << 21;
    QTest::newRow("10.2") << 10.2 << 20;
    QTest::newRow("tiny") << 0.1 << 2;
    QTest::newRow("huge") << 5000.0 << 3276;
}

void TestRtf::sizesAreWholeHalfPoints() {
    QFETCH(double, points);
    QFETCH(int, halfPoints);
    QCOMPARE(halfPointsFor(points), halfPoints);

    QTextDocument doc;
    QTextCharFormat format;
    format.setFontPointSize(points);
    QTextCursor(&doc).insertText(QStringLiteral("x"), format);
    const QByteArray rtf = writeRtf(rtfFromTextDocument(doc));
    QVERIFY(rtf.contains("\\fs" + QByteArray::number(halfPoints) + "\\hich"));
}

// WordPad on a Chinese system: GBK bytes through \'hh, formatting switched
// on and off in place, no groups per run.
void TestRtf::readsWordPadStyle() {
    const QByteArray sample =
        "{\\rtf1\\ansi\\ansicpg936\\deff0\\nouicompat\\deflang1033\\deflangfe2052"
        "{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}"
        "{\\f1\\fnil\\fcharset0 Calibri;}}\r\n"
        "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
        "\\pard\\sa200\\sl276\\slmult1\\qc\\b\\f0\\fs32\\'b3\\'cb\\'b7\\'a8\\'cc\\'e2:"
        "\\b0\\fs22\\par\r\n"
        "\\pard\\sa200\\sl276\\slmult1\\f1\\lang2052 3\\'a1\\'c14=\\'a1\\'a1\\tab "
        "\\i italic\\i0  \\ul under\\ulnone\\line next\\par\r\n"
        "\\pard\\qr\\f0\\fs21\\'b3\\'fd\\'b7\\'a8\\par\r\n"
        "}\r\n\0";
    const RtfDocument rtf = parsed(sample);
    QCOMPARE(rtf.plainText(), QStringLiteral("乘法题:\n3×4=\u3000\titalic under\u2028next\n除法"));
    QCOMPARE(rtf.paragraphs.size(), std::size_t(3));
    QCOMPARE(rtf.paragraphs[0].alignment, RtfAlignment::Centre);
    QCOMPARE(rtf.paragraphs[1].alignment, RtfAlignment::Left);
    QCOMPARE(rtf.paragraphs[2].alignment, RtfAlignment::Right);
    QCOMPARE(rtf.paragraphs[0].runs.front().format, fmt(kSong, 32, Bold));
    QCOMPARE(runWith(rtf, QStringLiteral("3×4"))->format, fmt(QStringLiteral("Calibri"), 22));
    QVERIFY(runWith(rtf, QStringLiteral("italic"))->format.italic);
    QVERIFY(runWith(rtf, QStringLiteral("under"))->format.underline);
    QVERIFY(!runWith(rtf, QStringLiteral("next"))->format.underline);
    QCOMPARE(runWith(rtf, QStringLiteral("除法"))->format, song(21));
}

// Word: \uc2 with GBK fallbacks, \loch/\hich/\dbch font idioms, style sheet,
// information, bookmarks, theme data, a picture and the final \par.
void TestRtf::readsWordStyle() {
    const QByteArray sample =
        "{\\rtf1\\adeflang1025\\ansi\\ansicpg936\\uc2\\adeff0\\deff0\\stshfdbch13\\stshfloch0"
        "\\deflang1033\\deflangfe2052{\\fonttbl{\\f0\\fbidi \\froman\\fcharset0\\fprq2"
        "{\\*\\panose 02020603050405020304}Times New Roman;}"
        "{\\f13\\fbidi \\fnil\\fcharset134\\fprq2{\\*\\panose 02010600030101010101}"
        "\\'cb\\'ce\\'cc\\'e5{\\*\\falt SimSun};}\r\n"
        "{\\f37\\fbidi \\fswiss\\fcharset0\\fprq2{\\*\\panose 020f0502020204030204}Calibri;}}"
        "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;}\r\n"
        "{\\stylesheet{\\ql \\li0\\ri0\\widctlpar\\rtlch\\fcs1 \\af0\\afs22\\alang1025 "
        "\\ltrch\\fcs0 "
        "\\fs21\\lang1033\\langfe2052\\loch\\f37\\hich\\af37\\dbch\\af13 \\snext0 Normal;}}\r\n"
        "{\\*\\rsidtbl \\rsid1000\\rsid2000}{\\info{\\title Sheet}{\\author Parent}"
        "{\\creatim\\yr2024\\mo3\\dy1\\hr10\\min5}}\r\n"
        "\\paperw11906\\paperh16838\\margl1800\\margr1800\\sectd \\pard\\plain \\ltrpar\\qc \\li0"
        "\\ri0\\widctlpar\\rtlch\\fcs1 \\af0\\afs22\\alang1025 \\ltrch\\fcs0 \\fs21\\lang1033"
        "\\langfe2052\\loch\\af37\\hich\\af37\\dbch\\af13 {\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 "
        "\\b\\fs32\\hich\\af13\\dbch\\af13\\loch\\f13 "
        "\\u20056\\'b3\\'cb\\u27861\\'b7\\'a8\\u39064\\'cc\\'e2}"
        "{\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 \\b\\fs32\\hich\\af37\\dbch\\af13\\loch\\f37 :}"
        "{\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 \\par }\r\n"
        "\\pard \\ltrpar\\qj \\li0\\ri0\\widctlpar {\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 "
        "\\i\\insrsid2000 "
        "\\hich\\af37\\dbch\\af13\\loch\\f37 8}{\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 \\i\\ul "
        "\\hich\\af37\\dbch\\af13\\loch\\f37 \\u215\\'a1\\'c1 9=\\u12288\\'a1\\'a1}"
        "{\\*\\bkmkstart _GoBack}{\\*\\bkmkend _GoBack}"
        "{\\*\\shppict{\\pict{\\*\\picprop}\\pngblip\\picw10\\pich10 89504e470d0a1a0a}}"
        "{\\nonshppict{\\pict\\wmetafile8 0100090000}}{\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 \\par }"
        "{\\*\\themedata 504b030414000600}{\\*\\datastore 01050000}}";
    const RtfDocument rtf = parsed(sample);
    QCOMPARE(rtf.plainText(), QStringLiteral("乘法题:\n8× 9=\u3000"));
    QCOMPARE(rtf.paragraphs[0].alignment, RtfAlignment::Centre);
    QCOMPARE(rtf.paragraphs[1].alignment, RtfAlignment::Justify);
    QCOMPARE(runWith(rtf, QStringLiteral("乘法题"))->format, fmt(kSong, 32, Bold));
    QCOMPARE(runWith(rtf, QStringLiteral(":"))->format,
             fmt(QStringLiteral("Calibri"), 32, Bold, kSong));
    QCOMPARE(runWith(rtf, QStringLiteral("8"))->format,
             fmt(QStringLiteral("Calibri"), 21, Italic, kSong));
    QVERIFY(runWith(rtf, QStringLiteral("9="))->format.underline);
    QCOMPARE(rtf.defaultFamily, QStringLiteral("Times New Roman"));
}

// LibreOffice Writer: a later default font, \'3f fallbacks, the East Asian
// font with \dbch\af followed by the complex-script one, page styles and
// \par after the group.
void TestRtf::readsLibreOfficeStyle() {
    const QByteArray sample =
        "{\\rtf1\\ansi\\deff3\\adeflang1025\n"
        "{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New "
        "Roman;}{\\f1\\froman\\fprq2\\fcharset2 "
        "Symbol;}{\\f2\\fswiss\\fprq2\\fcharset0 Arial;}{\\f3\\froman\\fprq2\\fcharset0 Liberation "
        "Serif{\\*\\falt Times New Roman};}{\\f4\\fnil\\fprq2\\fcharset0 Noto Serif CJK SC;}"
        "{\\f5\\fnil\\fprq2\\fcharset0 Noto Sans Devanagari;}}\n"
        "{\\colortbl;\\red0\\green0\\blue0;\\red128\\green128\\blue128;}\n"
        "{\\stylesheet{\\s0\\snext0\\dbch\\af4\\langfe2052\\dbch\\af5\\afs24\\alang1081\\loch\\f3"
        "\\fs24\\lang2052 Normal;}\n{\\s15\\sbasedon0\\snext16\\sb240\\sa120\\keepn\\dbch\\af4"
        "\\dbch\\af5\\afs28\\loch\\f2\\fs28 Heading;}}\n"
        "{\\*\\generator LibreOffice/7.4$Linux_X86_64}{\\info{\\creatim\\yr2024\\mo3\\dy1\\hr10"
        "\\min0}{\\revtim\\yr2024\\mo3\\dy1\\hr10\\min9}{\\printim\\yr0\\mo0\\dy0\\hr0\\min0}}"
        "{\\*\\userprops}\\deftab709\n\\hyphauto1\\viewscale100\n"
        "{\\*\\pgdsctbl\n{\\pgdsc0\\pgdscuse451\\pgwsxn11906\\pghsxn16838\\marglsxn1134"
        "\\pgdscnxt0 Default Page Style;}}\n"
        "\\formshade\\paperh16838\\paperw11906\\sectd\\sbknone\\sectunlocked1\\pgndec\n"
        "{\\*\\ftnsep\\chftnsep}\\pgndec\\pard\\plain \\s0\\qr\\widctlpar\\hyphpar0\\ltrpar\\cf0"
        "\\dbch\\af4\\langfe2052\\dbch\\af5\\afs24\\alang1081\\loch\\f3\\fs24\\lang2052"
        "{\\b\\fs32\\dbch\\af4\\loch\\f3\\hich\\af3\\rtlch\\ab\\ltrch\\loch\n"
        "\\u20056\\'3f\\u27861\\'3f\\u39064\\'3f:}\n\\par \\pard\\plain \\s0\\ql\\widctlpar"
        "\\dbch\\af4\\langfe2052\\dbch\\af5\\afs24\\alang1081\\loch\\f3\\fs24\\lang2052"
        "{\\i\\ul\\ulc0\\loch\n7\\u215\\'3f3=\\u12288\\'3f}{\\fs21\\loch\n 2\\u247\\'3f1=}\n\\par "
        "}";
    const RtfDocument rtf = parsed(sample);
    QCOMPARE(rtf.plainText(), QStringLiteral("乘法题:\n7×3=\u3000 2÷1="));
    QCOMPARE(rtf.paragraphs[0].alignment, RtfAlignment::Right);
    const F heading =
        fmt(QStringLiteral("Liberation Serif"), 32, Bold, QStringLiteral("Noto Serif CJK SC"));
    QCOMPARE(rtf.paragraphs[0].runs.front().format, heading);
    QCOMPARE(runWith(rtf, QStringLiteral("7×3"))->format,
             fmt(QStringLiteral("Liberation Serif"), 24, Italic | Underline,
                 QStringLiteral("Noto Serif CJK SC")));
    QCOMPARE(runWith(rtf, QStringLiteral("2÷1"))->format.halfPoints, 21);
}

void TestRtf::readsFeatures_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    QTest::newRow("GBK bytes by the document's code page")
        << QByteArray("{\\rtf1\\ansi\\ansicpg936 \\'bf\\'da\\'cb\\'e3}") << QStringLiteral("口算");
    QTest::newRow("GBK bytes by the font's character set")
        << QByteArray(
               "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fnil\\fcharset134 "
               "\\'cb\\'ce\\'cc\\'e5;}}\\f0 caf\\'e9 \\f1 \\'bf\\'da\\'cb\\'e3}")
        << QStringLiteral("café 口算");
    QTest::newRow("East Asian font after \\dbch decodes the bytes")
        << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset134 SimSun;}}"
                      "\\f0\\dbch\\af1 \\'bf\\'da}")
        << QStringLiteral("口");
    QTest::newRow("raw GBK bytes")
        << QByteArray("{\\rtf1\\ansi\\ansicpg936 \xbf\xda\xcb\xe3}") << QStringLiteral("口算");
    QTest::newRow("\\uc2 skips two fallback bytes")
        << QByteArray("{\\rtf1\\uc2\\u21475\\'bf\\'da\\u31639\\'cb\\'e3!}")
        << QStringLiteral("口算!");
    QTest::newRow("\\uc0 has no fallback")
        << QByteArray("{\\rtf1\\uc0\\u21475\\u31639 ab}") << QStringLiteral("口算ab");
    QTest::newRow("\\uc is kept per group")
        << QByteArray("{\\rtf1\\uc1{\\uc3\\u21475abcX}\\u31639?Y}") << QStringLiteral("口X算Y");
    QTest::newRow("fallback ends with the group")
        << QByteArray("{\\rtf1\\uc4{\\u21475 a}bc}") << QStringLiteral("口bc");
    QTest::newRow("negative \\u") << QByteArray("{\\rtf1\\u-227?}") << QStringLiteral("\uFF1D");
    QTest::newRow("surrogates as two \\u")
        << QByteArray("{\\rtf1\\u-10179?\\u-8704?}") << QStringLiteral("\U0001F600");
    QTest::newRow("skipped destinations")
        << QByteArray("{\\rtf1{\\*\\unknown x{y}}{\\info{\\title t}}{\\colortbl;\\red1;}"
                      "{\\stylesheet{\\s1 Heading;}}{\\pict\\picw1 ab\\'00cd}{\\header h}a}")
        << QStringLiteral("a");
    QTest::newRow("\\bin skips its bytes")
        << QByteArray("{\\rtf1 a{\\*\\blob\\bin6 }}{\\\\}}b}") << QStringLiteral("ab");
    QTest::newRow("\\bin in text") << QByteArray("{\\rtf1 a\\bin3 {}\\b}") << QStringLiteral("ab");
    QTest::newRow("paragraphs, lines, tabs and symbols")
        << QByteArray("{\\rtf1 a\\par b\\line c\\tab d\\~e\\_f\\-g\\emdash\\{\\}\\\\\\\nh}")
        << QStringLiteral("a\nb\u2028c\td\u00A0e\u2011fg\u2014{}\\\nh");
    QTest::newRow("line ends are not text")
        << QByteArray("{\\rtf1 a\r\nb\rc\nd}") << QStringLiteral("abcd");
    QTest::newRow("field result is text, its instruction is not")
        << QByteArray("{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}}")
        << QStringLiteral("link");
    QTest::newRow("control word of more than 32 letters is ignored")
        << QByteArray("{\\rtf1 a\\abcdefghijklmnopqrstuvwxyzabcdefghij b}") << QStringLiteral("ab");
    QTest::newRow("UTF-8 byte-order mark and blanks before")
        << QByteArray("\xEF\xBB\xBF \r\n{\\rtf1 ok}") << QStringLiteral("ok");
    QTest::newRow("text after the document's group")
        << QByteArray("{\\rtf1 in}out") << QStringLiteral("in");
}

void TestRtf::readsFeatures() {
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    const std::optional<RtfDocument> read = parseRtf(rtf);
    QVERIFY(read.has_value());
    QCOMPARE(read->plainText(), text);
}

void TestRtf::readsDamagedInputAsFarAsItGoes_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    QTest::newRow("groups left open")
        << QByteArray("{\\rtf1 a{\\b b{\\i c") << QStringLiteral("abc");
    QTest::newRow("truncated control word") << QByteArray("{\\rtf1 abc\\") << QStringLiteral("abc");
    QTest::newRow("truncated hex escape") << QByteArray("{\\rtf1 abc\\'4") << QStringLiteral("abc");
    QTest::newRow("bad hex escape") << QByteArray("{\\rtf1 a\\'zzb}") << QStringLiteral("azzb");
    QTest::newRow("huge numbers")
        << QByteArray("{\\rtf1\\fs99999999999999999999\\f-99999999999999999999\\uc99999999999 a"
                      "\\u99999999999 b\\u-99999999999 c}")
        << QStringLiteral("a");
    QTest::newRow("huge \\bin") << QByteArray("{\\rtf1 a\\bin2147483647 bcd}")
                                << QStringLiteral("a");
    QTest::newRow("negative \\bin") << QByteArray("{\\rtf1 a\\bin-5 b}") << QStringLiteral("ab");
    QTest::newRow("NUL bytes") << QByteArray("{\\rtf1 a\0b\\'00c\\u0?d}", 21)
                               << QStringLiteral("abcd");
    QTest::newRow("lone surrogate")
        << QByteArray("{\\rtf1 \\u-10179?x}") << QStringLiteral("\uFFFDx");
    QTest::newRow("Qt's own markers")
        << QByteArray("{\\rtf1 a\\u-560?\\u-4?\\u8233?b}") << QStringLiteral("a\u2028b");
    QByteArray deep = "{\\rtf1 a";
    deep += QByteArray(100000, '{') + "b" + QByteArray(100000, '}') + "c}";
    QTest::newRow("deep nesting") << deep << QStringLiteral("abc");
    QByteArray deepSkip = "{\\rtf1 a{\\*\\x";
    deepSkip += QByteArray(100000, '{');
    QTest::newRow("deep skipped group left open") << deepSkip << QStringLiteral("a");
    QTest::newRow("destination in the document's own group")
        << QByteArray("{\\rtf1\\* a\\pict b}") << QStringLiteral(" ab");
    QTest::newRow("font table never closed")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial") << QString();
}

void TestRtf::readsDamagedInputAsFarAsItGoes() {
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    const std::optional<RtfDocument> read = parseRtf(rtf);
    QVERIFY(read.has_value());
    QCOMPARE(read->plainText(), text);
    QTextDocument document; // and the editor takes it
    rtfToTextDocument(*read, document);
    QCOMPARE(rtfFromTextDocument(document).plainText(), text);
}

void TestRtf::refusesWhatIsNotRtf_data() {
    QTest::addColumn<QByteArray>("data");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("plain text") << QByteArray("7+3=");
    QTest::newRow("text before the group") << QByteArray("x{\\rtf1 a}");
    QTest::newRow("other markup") << QByteArray("<html>{\\rtf1</html>");
    QTest::newRow("truncated header") << QByteArray("{\\rt");
}

void TestRtf::refusesWhatIsNotRtf() {
    QFETCH(QByteArray, data);
    QVERIFY(!looksLikeRtf(data));
    QVERIFY(!parseRtf(data).has_value());
}

void TestRtf::editorKeepsDocumentWhenDataIsNotRtf() {
    RichTextBox editor;
    editor.setText(QStringLiteral("乘法题:\n2×3=\u3000"));
    QVERIFY(!editor.setRtf("not rtf"));
    QCOMPARE(editor.text(), QStringLiteral("乘法题:\n2×3=\u3000"));
    QVERIFY(editor.setRtf("{\\rtf1 new}"));
    QCOMPARE(editor.text(), QStringLiteral("new"));
    editor.undo(); // loading is one step that can be undone
    QCOMPARE(editor.text(), QStringLiteral("乘法题:\n2×3=\u3000"));
}

DRILLPAD_TEST_MAIN(TestRtf)
#include "tst_rtf.moc"
