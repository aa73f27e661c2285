#include "common/test_main.h"

#include "quiz/quiz_logic.h"

using namespace drillpad;
using namespace drillpad::quiz;

Q_DECLARE_METATYPE(drillpad::Operator)

namespace {

// Hands out prepared operand texts and records the bound of every call.
struct ScriptedDraws {
    QStringList values;
    QList<int> bounds;
    DrawFunction function() {
        return [this](std::int16_t n) {
            bounds << n;
            return values.isEmpty() ? QStringLiteral("1") : values.takeFirst();
        };
    }
};

const QLocale kC = QLocale::c();
const QLocale kGerman(QLocale::German, QLocale::Germany);
const QLocale kChinese(QLocale::Chinese, QLocale::China);

} // namespace

class TestQuizLogic : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void scriptedQuestion_data();
    void scriptedQuestion();
    void boundOutsideRangeDrawsNothing();
    void parseBound_data();
    void parseBound();
    void roundHalfEven_data();
    void roundHalfEven();
    void historyLine();
    void rateText_data();
    void rateText();
    void score_data();
    void score();
    void comment_data();
    void comment();
};

void TestQuizLogic::scriptedQuestion_data() {
    QTest::addColumn<Operator>("op");
    QTest::addColumn<int>("n");
    QTest::addColumn<QStringList>("draws");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QList<int>>("bounds");

    const auto row = [](const char *name, Operator op, int n, QStringList draws, QString text,
                        QString answer, QList<int> bounds) {
        QTest::newRow(name) << op << n << draws << text << answer << bounds;
    };
    row("add 1", Operator::Add, 1, {"1", "1"}, "1+1=", "2", {1, 1});
    row("add largest", Operator::Add, 32767, {"32767", "32767"}, "32767+32767=", "65534",
        {32767, 32767});
    row("subtract larger first", Operator::Subtract, 20, {"12", "9"}, "12-9=", "3", {20, 20});
    row("subtract swapped", Operator::Subtract, 20, {"9", "12"}, "12-9=", "3", {20, 20});
    row("subtract equal", Operator::Subtract, 9, {"5", "5"}, "5-5=", "0", {9, 9});
    row("multiply", Operator::Multiply, 9, {"6", "4"}, "6\u00D74=", "24", {9, 9});
    row("multiply largest", Operator::Multiply, 32767, {"32767", "32767"},
        "32767\u00D732767=", "1073676289", {32767, 32767});
    // Pairs with a factor of 1 are drawn again; a draw above 5 divides by
    // the second factor, otherwise by the first.
    row("divide redraw, by second", Operator::Divide, 9, {"1", "7", "3", "1", "3", "4", "6"},
        "12\u00F74=", "3", {9, 9, 9, 9, 9, 9, 10});
    row("divide by first", Operator::Divide, 9, {"3", "4", "5"}, "12\u00F73=", "4", {9, 9, 10});
    row("divide largest", Operator::Divide, 32767, {"32767", "2", "10"}, "65534\u00F72=", "32767",
        {32767, 32767, 10});
    row("divide largest product", Operator::Divide, 32767, {"32767", "32767", "1"},
        "1073676289\u00F732767=", "32767", {32767, 32767, 10});
}

void TestQuizLogic::scriptedQuestion() {
    QFETCH(Operator, op);
    QFETCH(int, n);
    QFETCH(QStringList, draws);
    QFETCH(QString, text);
    QFETCH(QString, answer);
    QFETCH(QList<int>, bounds);
    ScriptedDraws script{draws, {}};
    const QuizQuestion question = drawQuizQuestion(op, n, script.function());
    QCOMPARE(question.text, text);
    QCOMPARE(question.answer, answer);
    QCOMPARE(script.bounds, bounds);
    QVERIFY(script.values.isEmpty());
}

void TestQuizLogic::boundOutsideRangeDrawsNothing() {
    for (const auto &[op, n] : {std::pair{Operator::Divide, 1}, std::pair{Operator::Add, 0},
                                std::pair{Operator::Multiply, 32768}}) {
        ScriptedDraws script;
        QCOMPARE(drawQuizQuestion(op, n, script.function()), QuizQuestion{});
        QVERIFY(script.bounds.isEmpty());
    }
}

void TestQuizLogic::parseBound_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<Operator>("op");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<int>("bound"); // 0: refused

    const auto row = [](const char *name, const char *text, Operator op, QLocale locale,
                        int bound) {
        QTest::newRow(name) << QString::fromUtf8(text) << op << locale << bound;
    };
    row("plain", "9", Operator::Add, kC, 9);
    row("blanks around", " 20 ", Operator::Add, kC, 20);
    row("half up to even", "9.5", Operator::Add, kC, 10);
    row("half down to even", "10.5", Operator::Add, kC, 10);
    row("below half", "9.49", Operator::Add, kC, 9);
    row("exponent", "1e2", Operator::Add, kC, 100);
    row("one for addition", "1", Operator::Add, kC, 1);
    row("one for subtraction", "1", Operator::Subtract, kC, 1);
    row("1.5 rounds to 2", "1.5", Operator::Divide, kC, 2);
    row("2.5 rounds to 2", "2.5", Operator::Divide, kC, 2);
    row("largest", "32767", Operator::Multiply, kC, 32767);
    row("largest after rounding", "32767.4", Operator::Divide, kC, 32767);
    row("locale decimal comma", "9,5", Operator::Add, kGerman, 10);
    row("C format in any locale", "2.5", Operator::Add, kGerman, 2);
    row("empty", "", Operator::Add, kC, 0);
    row("blanks", "   ", Operator::Add, kC, 0);
    row("letters", "abc", Operator::Add, kC, 0);
    row("trailing letters", "9a", Operator::Add, kC, 0);
    row("full-width digit", "\uFF19", Operator::Add, kC, 0);
    row("zero", "0", Operator::Add, kC, 0);
    row("half rounds to zero", "0.5", Operator::Add, kC, 0);
    row("negative", "-3", Operator::Subtract, kC, 0);
    row("one for division", "1", Operator::Divide, kC, 0);
    row("1.4 for division", "1.4", Operator::Divide, kC, 0);
    row("above 16 bits", "32768", Operator::Add, kC, 0);
    row("rounds above 16 bits", "32767.5", Operator::Add, kC, 0);
    row("huge", "1e300", Operator::Multiply, kC, 0);
    row("infinity", "inf", Operator::Add, kC, 0);
    row("not a number", "nan", Operator::Add, kC, 0);
}

void TestQuizLogic::parseBound() {
    QFETCH(QString, text);
    QFETCH(Operator, op);
    QFETCH(QLocale, locale);
    QFETCH(int, bound);
    const BoundCheck check = drillpad::quiz::parseBound(text, op, locale);
    if (bound == 0) {
        QVERIFY(!check.bound);
        const QString range =
            op == Operator::Divide ? QStringLiteral("2到32767") : QStringLiteral("1到32767");
        QVERIFY2(check.message.contains(range), qPrintable(check.message));
        QVERIFY(check.message.contains(QStringLiteral("“到”")));
    } else {
        QCOMPARE(check.bound, std::optional<int>(bound));
        QVERIFY(check.message.isEmpty());
    }
}

void TestQuizLogic::roundHalfEven_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("rounded");
    QTest::newRow("0.5") << 0.5 << 0.0;
    QTest::newRow("1.5") << 1.5 << 2.0;
    QTest::newRow("2.5") << 2.5 << 2.0;
    QTest::newRow("12.5") << 12.5 << 12.0;
    QTest::newRow("87.5") << 87.5 << 88.0;
    QTest::newRow("2.4999") << 2.4999 << 2.0;
    QTest::newRow("2.5001") << 2.5001 << 3.0;
    QTest::newRow("-2.5") << -2.5 << -2.0;
    QTest::newRow("-1.5") << -1.5 << -2.0;
    QTest::newRow("whole") << 7.0 << 7.0;
}

void TestQuizLogic::roundHalfEven() {
    QFETCH(double, value);
    QFETCH(double, rounded);
    QCOMPARE(drillpad::quiz::roundHalfEven(value), rounded);
}

void TestQuizLogic::historyLine() {
    QCOMPARE(drillpad::quiz::historyLine(1, QStringLiteral("3+4="), QStringLiteral("7"), true),
             QStringLiteral("1.  3+4=7       \u221A"));
    QCOMPARE(drillpad::quiz::historyLine(12, QStringLiteral("12\u00F74="),
                                         QString::fromUtf8(kSkippedAnswer), false),
             QStringLiteral("12.  12\u00F74=此题跳过       \u00D7"));
    // The answer is kept exactly, blanks included.
    QCOMPARE(drillpad::quiz::historyLine(3, QStringLiteral("5-5="), QStringLiteral(" 0 "), false),
             QStringLiteral("3.  5-5= 0        \u00D7"));
}

void TestQuizLogic::rateText_data() {
    QTest::addColumn<qint64>("right");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");
    QTest::newRow("two of three, C") << qint64(2) << qint64(3) << kC << "66.67";
    QTest::newRow("two of three, Chinese") << qint64(2) << qint64(3) << kChinese << "66.67";
    QTest::newRow("two of three, German") << qint64(2) << qint64(3) << kGerman << "66,67";
    QTest::newRow("none right") << qint64(0) << qint64(1) << kChinese << "0.00";
    QTest::newRow("all right") << qint64(1) << qint64(1) << kChinese << "100.00";
    QTest::newRow("all right, German") << qint64(5) << qint64(5) << kGerman << "100,00";
    QTest::newRow("199 of 200") << qint64(199) << qint64(200) << kC << "99.50";
}

void TestQuizLogic::rateText() {
    QFETCH(qint64, right);
    QFETCH(qint64, total);
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    QCOMPARE(drillpad::quiz::rateText(ratePercent(right, total), locale), text);
}

void TestQuizLogic::score_data() {
    QTest::addColumn<qint64>("right");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<int>("score");
    QTest::newRow("12.5") << qint64(1) << qint64(8) << 12;
    QTest::newRow("87.5") << qint64(7) << qint64(8) << 88;
    QTest::newRow("89.5") << qint64(179) << qint64(200) << 90;
    QTest::newRow("99.5") << qint64(199) << qint64(200) << 100;
    QTest::newRow("37.5") << qint64(3) << qint64(8) << 38;
    // Halves that floating point misses: 23/40*100 is 57.49999999999999 and
    // 109/200*100 is 54.50000000000001.
    QTest::newRow("57.5") << qint64(23) << qint64(40) << 58;
    QTest::newRow("54.5") << qint64(109) << qint64(200) << 54;
    QTest::newRow("66.67") << qint64(2) << qint64(3) << 67;
    QTest::newRow("none right") << qint64(0) << qint64(7) << 0;
    QTest::newRow("all right") << qint64(7) << qint64(7) << 100;
    QTest::newRow("nothing judged") << qint64(0) << qint64(0) << 0;
}

void TestQuizLogic::score() {
    QFETCH(qint64, right);
    QFETCH(qint64, total);
    QFETCH(int, score);
    QCOMPARE(scoreOf(right, total), score);
}

void TestQuizLogic::comment_data() {
    QTest::addColumn<int>("score");
    QTest::addColumn<QString>("comment");
    const QString full = QStringLiteral("满分,真棒,不要骄傲,继续保持");
    const QString excellent = QStringLiteral("离满分仅差一步,优秀,继续努力");
    const QString good = QStringLiteral("再接再厉,良好,尚需努力");
    const QString medium = QStringLiteral("努力会做得更好,中等,继续努力");
    const QString pass = QStringLiteral("再不努力就不行了,及格，努力啊");
    const QString nearly = QStringLiteral("赶紧加把劲,争取及格,继续努力");
    const QString fail = QStringLiteral("好好学习,尚未及格,继续努力");
    const QString lowest = QStringLiteral("本软件会帮你学好数学");
    const std::pair<int, QString> rows[] = {
        {100, full},  {99, excellent}, {90, excellent}, {89, good},   {80, good},
        {79, medium}, {70, medium},    {69, pass},      {60, pass},   {59, nearly},
        {50, nearly}, {49, fail},      {40, fail},      {39, lowest}, {0, lowest}};
    for (const auto &[score, comment] : rows)
        QTest::addRow("%d", score) << score << comment;
}

void TestQuizLogic::comment() {
    QFETCH(int, score);
    QFETCH(QString, comment);
    QCOMPARE(commentFor(score), comment);
}

DRILLPAD_TEST_MAIN(TestQuizLogic)
#include "tst_quiz_logic.moc"
