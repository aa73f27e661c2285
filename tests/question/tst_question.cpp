#include "common/test_main.h"
#include "question/question.h"
#include "question/random.h"

#include <QRegularExpression>

#include <map>
#include <set>

using namespace drillpad;

namespace {

// Pearson's chi-square statistic of observed counts against equal
// expectations.
double chiSquare(const std::map<QString, int> &counts, int categories, int draws) {
    const double expected = static_cast<double>(draws) / categories;
    double sum = 0;
    for (const auto &[key, observed] : counts)
        sum += (observed - expected) * (observed - expected) / expected;
    // Categories never seen contribute their whole expectation.
    sum += (categories - static_cast<int>(counts.size())) * expected;
    return sum;
}

// Upper 0.01% points of the chi-square distribution: a fair generator fails
// one of these checks once in ten thousand runs.
double chiSquareCritical(int degreesOfFreedom) {
    switch (degreesOfFreedom) {
    case 8:
        return 31.83;
    case 27:
        return 63.4;
    case 63:
        return 113.7;
    default:
        return -1;
    }
}

// Whether `draw` looks uniform over `categories` outcomes. A fair generator
// fails one sample in ten thousand; a second, fresh sample must then fail
// too, so a true fault is still caught while a chance failure (one in a
// hundred million) is not reported.
template <typename Draw> bool looksUniform(Draw draw, int categories, int draws) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        std::map<QString, int> counts;
        for (int i = 0; i < draws; ++i)
            ++counts[draw()];
        if (static_cast<int>(counts.size()) != categories)
            return false;
        const double statistic = chiSquare(counts, categories, draws);
        if (statistic < chiSquareCritical(categories - 1))
            return true;
        qWarning("chi-square %f over %d categories", statistic, categories);
    }
    return false;
}

struct Parsed {
    long long a;
    QChar glyph;
    long long b;
};

// Splits "a<glyph>b=　" into its parts; fails the test on any other shape.
Parsed parseQuestion(const QString &text) {
    static const QRegularExpression shape(
        QStringLiteral("^([1-9][0-9]*)([-+\u00D7\u00F7])([1-9][0-9]*)=\u3000$"));
    const QRegularExpressionMatch m = shape.match(text);
    if (!m.hasMatch()) {
        QTest::qFail(qPrintable(QStringLiteral("malformed question: ") + text), __FILE__, __LINE__);
        return {0, QChar(), 0};
    }
    return {m.captured(1).toLongLong(), m.captured(2).at(0), m.captured(3).toLongLong()};
}

} // namespace

class TestQuestion : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void randomUpToOneIsAlwaysOne() {
        for (int i = 0; i < 1000; ++i)
            QCOMPARE(RandomUpTo(1), QStringLiteral("1"));
    }

    void randomUpToIsUniform() {
        QVERIFY(looksUniform([] { return RandomUpTo(9); }, 9, 90000));
    }

    void drawsWithinOneClockTickDoNotRepeat() {
        // Thousands of draws happen within one tick of the coarse clock; the
        // reseeding must not make them repeat.
        std::set<double> seen;
        for (int i = 0; i < 20000; ++i)
            seen.insert(drawUnit());
        QCOMPARE(static_cast<int>(seen.size()), 20000);
    }

    void randomUpToLargestBoundStaysInRange() {
        for (int i = 0; i < 20000; ++i) {
            const int v = RandomUpTo(32767).toInt();
            QVERIFY(v >= 1 && v <= 32767);
        }
    }

    void smallestBoundsGiveTheOnlyQuestion_data() {
        QTest::addColumn<QString>("op");
        QTest::addColumn<int>("bound");
        QTest::addColumn<QString>("expected");
        QTest::newRow("addition 2") << "+" << 2 << QStringLiteral("2+2=\u3000");
        QTest::newRow("multiplication 2") << "*" << 2 << QStringLiteral("2\u00D72=\u3000");
        QTest::newRow("division 2") << "/" << 2 << QStringLiteral("4\u00F72=\u3000");
        QTest::newRow("subtraction 3") << "-" << 3 << QStringLiteral("3-2=\u3000");
    }
    void smallestBoundsGiveTheOnlyQuestion() {
        QFETCH(QString, op);
        QFETCH(int, bound);
        QFETCH(QString, expected);
        for (int i = 0; i < 200; ++i)
            QCOMPARE(MakeQuestion(op, static_cast<std::int16_t>(bound)), expected);
    }

    void boundsTooSmallAreRefused_data() {
        QTest::addColumn<QString>("op");
        QTest::addColumn<int>("bound");
        QTest::newRow("addition 1") << "+" << 1;
        QTest::newRow("multiplication 1") << "*" << 1;
        QTest::newRow("division 1") << "/" << 1;
        QTest::newRow("subtraction 2") << "-" << 2;
        QTest::newRow("subtraction 1") << "-" << 1;
        QTest::newRow("zero") << "+" << 0;
        QTest::newRow("negative") << "*" << -5;
    }
    void boundsTooSmallAreRefused() {
        QFETCH(QString, op);
        QFETCH(int, bound);
        QCOMPARE(MakeQuestion(op, static_cast<std::int16_t>(bound)), QString());
    }

    void unknownOperatorGivesEmptyText_data() {
        QTest::addColumn<QString>("op");
        QTest::newRow("letter") << "x";
        QTest::newRow("empty") << "";
        QTest::newRow("glyph instead of code") << QStringLiteral("\u00D7");
        QTest::newRow("doubled") << "++";
        QTest::newRow("with space") << " +";
    }
    void unknownOperatorGivesEmptyText() {
        QFETCH(QString, op);
        QCOMPARE(MakeQuestion(op, 20), QString());
    }

    void questionsHaveTheirShapeAndRange_data() {
        QTest::addColumn<QString>("op");
        QTest::addColumn<int>("bound");
        QTest::addColumn<QChar>("glyph");
        for (int bound : {3, 9, 20, 32767}) {
            const QByteArray n = QByteArray::number(bound);
            QTest::newRow("+ " + n) << "+" << bound << QChar(u'+');
            QTest::newRow("- " + n) << "-" << bound << QChar(u'-');
            QTest::newRow("* " + n) << "*" << bound << QChar(u'\u00D7');
            QTest::newRow("/ " + n) << "/" << bound << QChar(u'\u00F7');
        }
    }
    void questionsHaveTheirShapeAndRange() {
        QFETCH(QString, op);
        QFETCH(int, bound);
        QFETCH(QChar, glyph);
        for (int i = 0; i < 2000; ++i) {
            const QString text = MakeQuestion(op, static_cast<std::int16_t>(bound));
            QVERIFY(!text.contains(QLatin1Char(' ')));
            QVERIFY(text.endsWith(QStringLiteral("=\u3000")));
            const Parsed q = parseQuestion(text);
            QCOMPARE(q.glyph, glyph);
            if (glyph == QChar(u'\u00F7')) {
                // Divisor and quotient in 2..n; the dividend is their product.
                QCOMPARE(q.a % q.b, 0LL);
                const long long quotient = q.a / q.b;
                QVERIFY(q.b >= 2 && q.b <= bound);
                QVERIFY(quotient >= 2 && quotient <= bound);
            } else {
                QVERIFY(q.a >= 2 && q.a <= bound);
                QVERIFY(q.b >= 2 && q.b <= bound);
            }
            if (glyph == QChar(u'-'))
                QVERIFY2(q.a > q.b, qPrintable(text));
        }
    }

    void largeDivisionIsWrittenInFull() {
        // With the largest bound the dividend exceeds 16 and 31 bits alike;
        // it must be the exact product.
        bool sawLarge = false;
        for (int i = 0; i < 200; ++i) {
            const Parsed q = parseQuestion(MakeQuestion(QStringLiteral("/"), 32767));
            QCOMPARE(q.a % q.b, 0LL);
            sawLarge = sawLarge || q.a > 32767LL * 16;
        }
        QVERIFY(sawLarge);
    }

    void subtractionPairsAreUniform() {
        // For n = 9 there are 28 pairs 2 <= b < a <= 9, each equally likely,
        // whatever their digit counts.
        QVERIFY(looksUniform([] { return MakeQuestion(QStringLiteral("-"), 9); }, 28, 56000));
    }

    void subtractionPutsTheLargerNumberFirstAcrossDigitCounts() {
        bool sawTwoDigitsOverOne = false;
        for (int i = 0; i < 5000; ++i) {
            const Parsed q = parseQuestion(MakeQuestion(QStringLiteral("-"), 20));
            QVERIFY(q.a > q.b);
            sawTwoDigitsOverOne = sawTwoDigitsOverOne || (q.a >= 10 && q.b < 10);
        }
        QVERIFY(sawTwoDigitsOverOne);
    }

    void additionOperandPairsAreUniform() {
        // 8 × 8 ordered pairs of operands in 2..9, equal operands (5+5)
        // included.
        QVERIFY(looksUniform([] { return MakeQuestion(QStringLiteral("+"), 9); }, 64, 64000));
    }

    void rangedQuestionsStayInTheirRange_data() {
        QTest::addColumn<int>("op");
        QTest::addColumn<int>("lo");
        QTest::addColumn<int>("hi");
        QTest::newRow("addition 10..20") << int(Operator::Add) << 10 << 20;
        QTest::newRow("subtraction 31000..32767") << int(Operator::Subtract) << 31000 << 32767;
        QTest::newRow("subtraction one pair") << int(Operator::Subtract) << 7 << 8;
        QTest::newRow("multiplication single value") << int(Operator::Multiply) << 12 << 12;
        QTest::newRow("division 5..6") << int(Operator::Divide) << 5 << 6;
        QTest::newRow("from below 2") << int(Operator::Add) << 0 << 3;
    }
    void rangedQuestionsStayInTheirRange() {
        QFETCH(int, op);
        QFETCH(int, lo);
        QFETCH(int, hi);
        const auto oper = static_cast<Operator>(op);
        const int low = std::max(lo, 2);
        for (int i = 0; i < 1000; ++i) {
            const Parsed q = parseQuestion(makeQuestionInRange(oper, lo, hi));
            const long long first = oper == Operator::Divide ? q.a / q.b : q.a;
            QVERIFY(first >= low && first <= hi);
            QVERIFY(q.b >= low && q.b <= hi);
            if (oper == Operator::Subtract)
                QVERIFY(q.a > q.b);
        }
    }

    void rangesWithoutQuestionsAreRefused_data() {
        QTest::addColumn<int>("op");
        QTest::addColumn<int>("lo");
        QTest::addColumn<int>("hi");
        QTest::newRow("from above to") << int(Operator::Add) << 21 << 20;
        QTest::newRow("subtraction single value") << int(Operator::Subtract) << 8 << 8;
        QTest::newRow("to below 2") << int(Operator::Multiply) << 0 << 1;
    }
    void rangesWithoutQuestionsAreRefused() {
        QFETCH(int, op);
        QFETCH(int, lo);
        QFETCH(int, hi);
        QVERIFY(!questionRangeAllowed(static_cast<Operator>(op), lo, hi));
        QCOMPARE(makeQuestionInRange(static_cast<Operator>(op), lo, hi), QString());
    }
};

DRILLPAD_TEST_MAIN(TestQuestion)
#include "tst_question.moc"
