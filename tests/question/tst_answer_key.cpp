#include "common/test_main.h"
#include "guide/sheet_writer.h"
#include "question/answer_key.h"

using namespace drillpad;

class TestAnswerKey : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void answersOneQuestion_data() {
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("answer"); // empty: no answer
        QTest::newRow("7×9") << u"7×9"_qs << u"63"_qs;
        QTest::newRow("÷ before +") << u"12+6÷3"_qs << u"14"_qs;
        QTest::newRow("left to right") << u"6×4÷8"_qs << u"3"_qs;
        QTest::newRow("below zero midway") << u"2-3+4"_qs << u"3"_qs;
        QTest::newRow("negative answer") << u"3-5"_qs << u"-2"_qs;
        QTest::newRow("typed * and /") << u"7*9/3"_qs << u"21"_qs;
        QTest::newRow("full-width forms") << u"７＋３－２"_qs << u"8"_qs;
        QTest::newRow("blanks between") << u" 7 × 9 "_qs << u"63"_qs;
        QTest::newRow("four operands") << u"1+2×3+4"_qs << u"11"_qs;
        QTest::newRow("remainder") << u"7÷2"_qs << u"3……1"_qs;
        QTest::newRow("largest product") << u"32767×32767×32767"_qs << u"35181150961663"_qs;
        QTest::newRow("largest dividend") << u"1073676289÷32767"_qs << u"32767"_qs;
        QTest::newRow("division by 0") << u"8÷0"_qs << QString();
        QTest::newRow("inexact inside") << u"6÷4×2"_qs << QString();
        QTest::newRow("operand missing") << u"7×"_qs << QString();
        QTest::newRow("no operator") << u"9"_qs << QString();
        QTest::newRow("too long") << u"1234567890123×2"_qs << QString();
        QTest::newRow("text before") << u"共7×9"_qs << QString();
    }
    void answersOneQuestion() {
        QFETCH(QString, question);
        QFETCH(QString, answer);
        QCOMPARE(answerOf(question).value_or(QString()), answer);
    }

    void answersASheet_data() {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("answered");
        QTest::addColumn<int>("leftOut");
        QTest::newRow("wizard layout")
            << u"\n加法题:\n7+3=　2+2=　\n5+4=　\n\n\n四则混合运算题:\n12+6÷3=　\n\n"_qs
            << u"答案:\n\n加法题:\n7+3=10　2+2=4　\n5+4=9　\n\n\n四则混合运算题:\n12+6÷3=14　"_qs
            << 4 << 0;
        QTest::newRow("edited into nonsense")
            << u"乘法题:\n7×=　8÷0=　3×4=　×9=　"_qs
            << u"答案:\n乘法题:\n7×=　8÷0=　3×4=12　×9=　"_qs << 1 << 3;
        QTest::newRow("other text skipped, heading without questions dropped")
            << u"姓名:\n口算练习 第一天\n\n减法题:\n\n除法题:\n24÷4=　a=b\n"_qs
            << u"答案:\n除法题:\n24÷4=6　a=b"_qs << 1 << 0;
        QTest::newRow("written answers replaced, numbering kept")
            << u"(1) 7×9=62　(2) 3×4=　"_qs << u"答案:\n(1) 7×9=63　(2) 3×4=12　"_qs << 2 << 0;
        QTest::newRow("negative and remainder answers replaced")
            << u"3-5=-1　7÷2=3……0　"_qs << u"答案:\n3-5=-2　7÷2=3……1　"_qs << 2 << 0;
        QTest::newRow("no gap: the next question is no answer")
            << u"7×9=3×4="_qs << u"答案:\n7×9=633×4=12"_qs << 2 << 0;
        QTest::newRow("no question") << u"\n加法题:\n\n"_qs << QString() << 0 << 0;
    }
    void answersASheet() {
        QFETCH(QString, sheet);
        QFETCH(QString, expected);
        QFETCH(int, answered);
        QFETCH(int, leftOut);
        const AnswerKey key = makeAnswerKey(sheet.split(u'\n'));
        QCOMPARE(key.text(), expected);
        QCOMPARE(key.answered, answered);
        QCOMPARE(key.leftOut, leftOut);
        // Every line but the heading repeats the sheet line it names.
        for (const AnswerLine &line : key.lines) {
            if (line.sourceLine >= 0)
                QCOMPARE(line.text.left(3), sheet.split(u'\n').at(line.sourceLine).left(3));
        }
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
