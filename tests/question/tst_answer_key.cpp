#include "common/test_main.h"
#include "guide/sheet_writer.h"
#include "question/answer_key.h"

using namespace drillpad;

class TestAnswerKey : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // One sheet line and its line on the answer page, worked out by hand;
    // a line with questions left out is repeated with those as they were.
    void answersALine_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("answered");
        QTest::addColumn<int>("leftOut");
        const auto row = [](const char *name, const char16_t *line, const char16_t *expected,
                            int answered, int leftOut) {
            QTest::newRow(name) << QString::fromUtf16(line) << QString::fromUtf16(expected)
                                << answered << leftOut;
        };
        row("precedence, typed and full-width forms", u"12+6÷3=　6×4÷8=　7*9/3=　７＋３－２=　",
            u"12+6÷3=14　6×4÷8=3　7*9/3=21　７＋３－２=8　", 4, 0);
        row("below zero midway, negative answer", u"2-3+4=　3-5=", u"2-3+4=3　3-5=-2", 2, 0);
        row("blanks between", u" 7 × 9 = 3 × 4 =", u" 7 × 9 =63 3 × 4 =12", 2, 0);
        row("remainder of a single division", u"7÷2=　17÷5=", u"7÷2=3……1　17÷5=3……2", 2, 0);
        row("largest numbers", u"32767×32767×32767=　1073676289÷32767=",
            u"32767×32767×32767=35181150961663　1073676289÷32767=32767", 2, 0);
        row("unanswerable", u"8÷0=　7×=　×9=　9=　1÷3+1=　", u"8÷0=　7×=　×9=　9=　1÷3+1=　", 0, 5);
        row("decimals exact", u"1.5+2=　0.5×4=　2.5×2=　0.1+0.2=　7.5÷2=　1.5÷0.5=",
            u"1.5+2=3.5　0.5×4=2　2.5×2=5　0.1+0.2=0.3　7.5÷2=3.75　1.5÷0.5=3", 6, 0);
        row("a quotient that ends, within", u"6÷4×2=　7+6÷4=", u"6÷4×2=3　7+6÷4=8.5", 2, 0);
        row("a division that does not end", u"1÷0.3=　2÷3×3=", u"1÷0.3=　2÷3×3=", 0, 2);
        row("thousands", u"1,000+1=　1，000×2=　1,000,000+1=　12,345.5+0.5=",
            u"1,000+1=1001　1，000×2=2000　1,000,000+1=1000001　12,345.5+0.5=12346", 4, 0);
        row("part of a number is no number", u"1,00+1=　1,0000+1=　.5+1=　1.2.3+1=　1.5,0+1=",
            u"1,00+1=　1,0000+1=　.5+1=　1.2.3+1=　1.5,0+1=", 0, 5);
        row("12 digits read", u"999999999999+1=　0.12345678901+1=",
            u"999999999999+1=1000000000000　0.12345678901+1=1.12345678901", 2, 0);
        row("13 digits too many", u"1000000000000+1=　0.123456789012+1=",
            u"1000000000000+1=　0.123456789012+1=", 0, 2);
        row("brackets", u"(3+4)×2=　3+(4×2)=　[(1+2)×3]÷9=　（3+4）×2=",
            u"(3+4)×2=14　3+(4×2)=11　[(1+2)×3]÷9=1　（3+4）×2=14", 4, 0);
        row("an unclosed bracket", u"(3+4×2=　3+4)×2=", u"(3+4×2=　3+4)×2=", 0, 2);
        row("numbering kept", u"(1) 7×9=62　2、3×4=　3)5+5=", u"(1) 7×9=63　2、3×4=12　3)5+5=10", 3,
            0);
        row("written answers replaced", u"7+3=　10　3+4= 8　3-5=-1　7÷2=3……0　6×6=(35)",
            u"7+3=10　3+4=7　3-5=-2　7÷2=3……1　6×6=(36)", 5, 0);
        row("numbering after the gap is no answer", u"7×9=　2、3×4=　(3) 5+5=",
            u"7×9=63　2、3×4=12　(3) 5+5=10", 3, 0);
        row("two questions on one line", u"3+4=7+5=　7×9=3×4=", u"3+4=7　7+5=12　7×9=63　3×4=12", 4,
            0);
        row("blank after the =", u"7+3=(　)　7+3=□　7+3=（ ）", u"7+3=(10)　7+3=10　7+3=（10）", 3,
            0);
        row("blank operands", u"(　)+3=7　8-(　)=5　(　)×4=24　36÷(　)=9　□+3=7",
            u"(4)+3=7　8-(3)=5　(6)×4=24　36÷(4)=9　4+3=7", 5, 0);
        row("blanks in longer questions",
            u"(　)+2×3=10　2×(□+1)=8　(12-(　))÷3=2　(　)+3×4=20　□+3×4=20　((　)+3)×4=20",
            u"(4)+2×3=10　2×(3+1)=8　(12-(6))÷3=2　(8)+3×4=20　8+3×4=20　((2)+3)×4=20", 6, 0);
        row("blanks with a remainder", u"(　)÷5=3……2　17÷(　)=3……2　17÷(　)=3……5",
            u"(17)÷5=3……2　17÷(5)=3……2　17÷(　)=3……5", 2, 1);
        row("a blank for a digit, a number against a bracket", u"4□+3=50　□4+3=50　2(3+4)=14",
            u"4□+3=50　□4+3=50　2(3+4)=14", 0, 3);
        row("blanks without one whole answer",
            u"0×(　)=0　(　)×0=5　0÷(　)=0　7÷(　)=2　8-(　)=9　(　)+1.5=3　(　)+(　)=4　(　)+3=　"
            u"(　)×0+3=3　0÷(　)+1=1　(5-5)×□=0",
            u"0×(　)=0　(　)×0=5　0÷(　)=0　7÷(　)=2　8-(　)=9　(　)+1.5=3　(　)+(　)=4　(　)+3=　"
            u"(　)×0+3=3　0÷(　)+1=1　(5-5)×□=0",
            0, 11);
        row("no question", u"a=b　口算练习=", u"", 0, 0);
    }
    void answersALine() {
        QFETCH(QString, line);
        QFETCH(QString, expected);
        QFETCH(int, answered);
        QFETCH(int, leftOut);
        const AnswerKey key = makeAnswerKey({line});
        QCOMPARE(key.text(), expected.isEmpty() ? QString() : u"答案:\n"_qs + expected);
        QCOMPARE(key.answered, answered);
        QCOMPARE(key.leftOut, leftOut);
        // The answer page answers itself with the same answers.
        if (!expected.isEmpty())
            QCOMPARE(makeAnswerKey({expected}).text(), key.text());
    }

    void answersASheet_data() {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QString>("expected");
        QTest::newRow("wizard layout")
            << u"\n加法题:\n7+3=　2+2=　\n5+4=　\n\n\n四则混合运算题:\n12+6÷3=　\n\n"_qs
            << u"答案:\n\n加法题:\n7+3=10　2+2=4　\n5+4=9　\n\n\n四则混合运算题:\n12+6÷3=14　"_qs;
        QTest::newRow("other text skipped, heading without questions dropped")
            << u"姓名:\n口算练习 第一天\n\n减法题:\n\n除法题:\n24÷4=　a=b\n"_qs
            << u"答案:\n除法题:\n24÷4=6　a=b"_qs;
        QTest::newRow("no question") << u"\n加法题:\n\n"_qs << QString();
    }
    void answersASheet() {
        QFETCH(QString, sheet);
        const QStringList lines = sheet.split(u'\n');
        const AnswerKey key = makeAnswerKey(lines);
        QTEST(key.text(), "expected");
        // Every line but the heading repeats the sheet line it names.
        for (const AnswerLine &line : key.lines) {
            if (line.sourceLine >= 0)
                QCOMPARE(line.text.left(3), lines.at(line.sourceLine).left(3));
        }
    }

    void readsAVerticalRow_data() {
        QTest::addColumn<QList<QStringList>>("cells");
        QTest::addColumn<QString>("line");
        QTest::newRow("three 竖式, blanks and figure spaces aside")
            << QList<QStringList>{{u"34"_qs, u"+ 25"_qs, u""_qs, u""_qs},
                                  {u"7"_qs, u"×\u2007\u20079"_qs, u""_qs},
                                  {u"105"_qs, u"- 6"_qs}}
            << u"34+25=　7×9=　105-6=　"_qs;
        QTest::newRow("empty cells add nothing")
            << QList<QStringList>{{u"8"_qs, u"+ 1"_qs}, {u""_qs}, {}} << u"8+1=　"_qs;
        QTest::newRow("other text kept as it is") << QList<QStringList>{{u"第1套"_qs},
                                                                        {u"17÷5=　"_qs},
                                                                        {u"5"_qs, u"÷ 2"_qs},
                                                                        {u"3"_qs, u"+"_qs}}
                                                  << u"第1套　17÷5=　5　÷ 2　3　+　"_qs;
    }
    // A row of 竖式 is read as its line of questions, which the key answers.
    void readsAVerticalRow() {
        QFETCH(QList<QStringList>, cells);
        QTEST(verticalRowAsLine({cells.begin(), cells.end()}), "line");
    }

    // On an earlier answer page, what the page did not write itself.
    void findsLinesAddedToAnAnswerPage_data() {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QList<int>>("added");
        QTest::newRow("the page alone")
            << u"\n加法题:\n7+3=10　(4)+3=7　\n\n乘法题:\n7×=　1÷3+1=　0×(　)=0\n"_qs
            << QList<int>();
        QTest::newRow("questions, text and headings added")
            << u"\n加法题:\n7+3=10\n\n12+5=　\n家长签字:\n(　)+3=7\n3+4=7\n注意:\n5+5=　\n签名:"_qs
            << QList<int>{4, 5, 6, 8, 9, 10};
    }
    void findsLinesAddedToAnAnswerPage() {
        QFETCH(QString, page);
        const std::vector<int> found = linesAddedToAnswerKey(page.split(u'\n'));
        QTEST(QList<int>(found.begin(), found.end()), "added");
    }

    // The largest sheet the wizard writes, answered: every answer is the one
    // the generator drew the question for, in the sheet's own layout.
    void answersTheLargestSheet() {
        SheetSettings settings;
        for (TypeSettings &type : settings.types)
            type = {true, 0, 32767, 32767};
        const Sheet sheet = makeSheet(settings);
        QString expected = u"答案:\n"_qs;
        expected.reserve(sheet.text.size() * 2);
        const QString gap = u"=\u3000"_qs;
        qsizetype copied = 0;
        for (const SectionSummary &section : sheet.sections) {
            for (const long long answer : section.answers) {
                const qsizetype at = sheet.text.indexOf(gap, copied);
                expected += QStringView(sheet.text).sliced(copied, at + 1 - copied);
                expected += QString::number(answer);
                copied = at + 1;
            }
        }
        expected += QStringView(sheet.text).sliced(copied);
        while (expected.endsWith(u'\n'))
            expected.chop(1);

        const AnswerKey key = makeAnswerKey(sheet.text.split(u'\n'));
        QCOMPARE(key.answered, 5 * 32767);
        QCOMPARE(key.leftOut, 0);
        QVERIFY(key.text() == expected);
    }
};

DRILLPAD_TEST_MAIN(TestAnswerKey)
#include "tst_answer_key.moc"
