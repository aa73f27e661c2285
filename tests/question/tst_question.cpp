#include "common/chi_square.h"
#include "common/test_main.h"
#include "question/question.h"
#include "question/random.h"

#include <QRegularExpression>

#include <set>

using namespace drillpad;
using drillpad::testing::looksUniform;

class TestQuestion : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void randomDrawsAreUniformAndNeverRepeatWithinATick() {
        for (int i = 0; i < 1000; ++i)
            QCOMPARE(RandomUpTo(1), QStringLiteral("1"));
        QVERIFY(looksUniform([] { return RandomUpTo(9); }, 9, 90000));
        // Thousands of draws fall within one clock tick; reseeding must not
        // make them repeat.
        std::set<double> seen;
        for (int i = 0; i < 20000; ++i)
            seen.insert(drawUnit());
        QCOMPARE(static_cast<int>(seen.size()), 20000);
    }

    void questionPairsAreUniform_data() {
        QTest::addColumn<QString>("op");
        QTest::addColumn<int>("pairs");
        // 28 pairs 2 <= b < a <= 9; 8 × 8 ordered pairs, 5+5 included.
        QTest::newRow("subtraction") << "-" << 28;
        QTest::newRow("addition") << "+" << 64;
    }
    void questionPairsAreUniform() {
        QFETCH(QString, op);
        QFETCH(int, pairs);
        QVERIFY(looksUniform([&] { return MakeQuestion(op, 9); }, pairs, pairs * 1000));
    }

    void edgeBoundsAndCodes_data() {
        QTest::addColumn<QString>("op");
        QTest::addColumn<int>("bound");
        QTest::addColumn<QString>("expected");
        QTest::newRow("addition 2") << "+" << 2 << QStringLiteral("2+2=\u3000");
        QTest::newRow("division 2") << "/" << 2 << QStringLiteral("4\u00F72=\u3000");
        QTest::newRow("subtraction 3") << "-" << 3 << QStringLiteral("3-2=\u3000");
        // Too small for any question: refused instead of redrawing forever.
        QTest::newRow("addition 1") << "+" << 1 << QString();
        QTest::newRow("division 1") << "/" << 1 << QString();
        QTest::newRow("subtraction 2") << "-" << 2 << QString();
        QTest::newRow("negative") << "*" << -5 << QString();
        // Unknown operator codes draw nothing.
        QTest::newRow("letter") << "x" << 20 << QString();
        QTest::newRow("empty code") << "" << 20 << QString();
        QTest::newRow("glyph as code") << QStringLiteral("\u00D7") << 20 << QString();
    }
    void edgeBoundsAndCodes() {
        QFETCH(QString, op);
        QFETCH(int, bound);
        QFETCH(QString, expected);
        for (int i = 0; i < 100; ++i)
            QCOMPARE(MakeQuestion(op, static_cast<std::int16_t>(bound)), expected);
    }

    void questionsHaveTheirShapeAndRange_data() {
        QTest::addColumn<QString>("op");
        QTest::addColumn<int>("bound");
        for (int bound : {3, 32767}) {
            for (const char *op : {"+", "-", "*", "/"})
                QTest::addRow("%s %d", op, bound) << QString::fromLatin1(op) << bound;
        }
    }
    void questionsHaveTheirShapeAndRange() {
        QFETCH(QString, op);
        QFETCH(int, bound);
        bool sawLargeDividend = false;
        static const QRegularExpression shape(
            QStringLiteral("^([1-9][0-9]*)([-+\u00D7\u00F7])([1-9][0-9]*)=\u3000$"));
        for (int i = 0; i < 2000; ++i) {
            const QString text = MakeQuestion(op, static_cast<std::int16_t>(bound));
            const QRegularExpressionMatch q = shape.match(text);
            QVERIFY2(q.hasMatch(), qPrintable(text));
            QCOMPARE(q.captured(2).at(0), operatorGlyph(*operatorFromCode(op)));
            const long long a = q.captured(1).toLongLong(), b = q.captured(3).toLongLong();
            // Division bounds the divisor and the quotient; the dividend is
            // their exact product, past 16 and 31 bits for the largest bound.
            const long long first = op == u"/" ? a / b : a;
            if (op == u"/")
                QCOMPARE(a % b, 0LL);
            QVERIFY(first >= 2 && first <= bound && b >= 2 && b <= bound);
            if (op == u"-")
                QVERIFY2(a > b, qPrintable(text));
            sawLargeDividend = sawLargeDividend || a > 32767LL * 16;
        }
        if (op == u"/" && bound == 32767)
            QVERIFY(sawLargeDividend);
    }
};

DRILLPAD_TEST_MAIN(TestQuestion)
#include "tst_question.moc"
