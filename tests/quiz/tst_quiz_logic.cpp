#include "common/test_main.h"

#include "quiz/quiz_logic.h"

using namespace drillpad;
using namespace drillpad::quiz;

Q_DECLARE_METATYPE(drillpad::Operator)

namespace {

const QLocale kC = QLocale::c();
const QLocale kGerman(QLocale::German, QLocale::Germany);

} // namespace

class TestQuizLogic : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A bound for which the redrawing could never end draws nothing.
    void boundOutsideRangeDrawsNothing() {
        for (const auto &[op, n] : {std::pair{Operator::Divide, 1}, std::pair{Operator::Add, 0},
                                    std::pair{Operator::Multiply, 32768}}) {
            int draws = 0;
            const auto draw = [&](std::int16_t) {
                ++draws;
                return QStringLiteral("1");
            };
            QCOMPARE(drawQuizQuestion(op, n, draw), QuizQuestion{});
            QCOMPARE(draws, 0);
        }
    }

    void parseBound_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Operator>("op");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<int>("bound"); // 0: refused
        QTest::newRow("half down to even") << "10.5" << Operator::Add << kC << 10;
        QTest::newRow("1.5 for division") << "1.5" << Operator::Divide << kC << 2;
        QTest::newRow("locale decimal comma") << "9,5" << Operator::Add << kGerman << 10;
        QTest::newRow("C format in any locale") << "2.5" << Operator::Add << kGerman << 2;
        QTest::newRow("trailing letters") << "9a" << Operator::Add << kC << 0;
        QTest::newRow("full-width digit") << "\uFF19" << Operator::Add << kC << 0;
        QTest::newRow("half rounds to zero") << "0.5" << Operator::Add << kC << 0;
        QTest::newRow("1.4 for division") << "1.4" << Operator::Divide << kC << 0;
        QTest::newRow("rounds above 16 bits") << "32767.5" << Operator::Add << kC << 0;
        QTest::newRow("not a number") << "nan" << Operator::Add << kC << 0;
    }
    void parseBound() {
        QFETCH(QString, text);
        QFETCH(Operator, op);
        QFETCH(QLocale, locale);
        QFETCH(int, bound);
        const BoundCheck check = drillpad::quiz::parseBound(text, op, locale);
        QCOMPARE(check.bound, bound ? std::optional(bound) : std::nullopt);
        if (bound == 0) {
            QVERIFY2(check.message.contains(op == Operator::Divide ? u"2到32767" : u"1到32767"),
                     qPrintable(check.message));
            QVERIFY(check.message.contains(QStringLiteral("“到”")));
        }
        QCOMPARE(check.message.isEmpty(), bound != 0);
    }

    // The score rounds halves to even, also where floating point misses the
    // half; the rate shows two decimals in the locale's format.
    void scoreAndRate_data() {
        QTest::addColumn<qint64>("right");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<int>("score");
        QTest::addColumn<QString>("rate"); // in the German locale
        QTest::newRow("12.5") << qint64(1) << qint64(8) << 12 << "12,50";
        QTest::newRow("87.5") << qint64(7) << qint64(8) << 88 << "87,50";
        QTest::newRow("99.5") << qint64(199) << qint64(200) << 100 << "99,50";
        // 23/40*100 is 57.49999999999999 and 109/200*100 is 54.50000000000001.
        QTest::newRow("57.5") << qint64(23) << qint64(40) << 58 << "57,50";
        QTest::newRow("54.5") << qint64(109) << qint64(200) << 54 << "54,50";
        QTest::newRow("66.67") << qint64(2) << qint64(3) << 67 << "66,67";
        QTest::newRow("none right") << qint64(0) << qint64(7) << 0 << "0,00";
        QTest::newRow("nothing judged") << qint64(0) << qint64(0) << 0 << "";
    }
    void scoreAndRate() {
        QFETCH(qint64, right);
        QFETCH(qint64, total);
        QFETCH(int, score);
        QFETCH(QString, rate);
        QCOMPARE(scoreOf(right, total), score);
        if (total > 0) {
            QCOMPARE(rateText(ratePercent(right, total), kGerman), rate);
            QCOMPARE(rateText(ratePercent(right, total), kC), rate.replace(u',', u'.'));
        }
    }

    // Each border belongs to the higher band.
    void comment() {
        const char *const bands[] = {
            "满分,真棒,不要骄傲,继续保持",   "离满分仅差一步,优秀,继续努力",
            "再接再厉,良好,尚需努力",        "努力会做得更好,中等,继续努力",
            "再不努力就不行了,及格，努力啊", "赶紧加把劲,争取及格,继续努力",
            "好好学习,尚未及格,继续努力",    "本软件会帮你学好数学"};
        QCOMPARE(commentFor(100), QString::fromUtf8(bands[0]));
        for (int band = 1; band < 7; ++band) {
            QCOMPARE(commentFor(100 - 10 * band), QString::fromUtf8(bands[band]));
            QCOMPARE(commentFor(99 - 10 * (band - 1)), QString::fromUtf8(bands[band]));
        }
        QCOMPARE(commentFor(39), QString::fromUtf8(bands[7]));
        QCOMPARE(commentFor(0), QString::fromUtf8(bands[7]));
    }
};

DRILLPAD_TEST_MAIN(TestQuizLogic)
#include "tst_quiz_logic.moc"
