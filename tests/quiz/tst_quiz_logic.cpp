#include "common/chi_square.h"
#include "common/test_main.h"

#include "question/random.h"
#include "quiz/practice_questions.h"
#include "quiz/quiz_logic.h"

using namespace drillpad;
using namespace drillpad::quiz;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(drillpad::Operator)

static const QLocale kC = QLocale::c();
static const QLocale kGerman(QLocale::German, QLocale::Germany);

class TestQuizLogic : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // With a lower bound each operand is a draw over the width of the range,
    // shifted to its start; division's factors start at 2 at least. A bound for
    // which the redrawing could never end draws nothing.
    void rangedDraw_data() {
        QTest::addColumn<Operator>("op");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("n");
        QTest::addColumn<QList<int>>("draws");
        QTest::addColumn<QString>("widths"); // the bounds passed to the draws
        QTest::addColumn<QString>("question");
        QTest::newRow("add from 5") << Operator::Add << 5 << 9 << QList<int>{1, 5} << "5 5"
                                    << "5+9=";
        QTest::newRow("subtract from 0")
            << Operator::Subtract << 0 << 20 << QList<int>{9, 12} << "20 20"
            << "12-9=";
        QTest::newRow("divide from 3")
            << Operator::Divide << 3 << 6 << QList<int>{4, 1, 6} << "4 4 10"
            << "18÷3=";
        QTest::newRow("divide from 1 redraws 1s")
            << Operator::Divide << 1 << 9 << QList<int>{1, 7, 2, 7, 2} << "9 9 9 9 10"
            << "14÷2=";
        for (const auto &[name, op, from, n] :
             {std::tuple{"start above the bound", Operator::Add, 10, 9},
              {"divide to 1", Operator::Divide, 0, 1},
              {"add to 0", Operator::Add, 0, 0},
              {"multiply to 32768", Operator::Multiply, 0, 32768}})
            QTest::newRow(name) << op << from << n << QList<int>{} << ""
                                << "";
    }
    void rangedDraw() {
        QFETCH(Operator, op);
        QFETCH(int, from);
        QFETCH(int, n);
        QFETCH(QList<int>, draws);
        QStringList asked;
        const auto draw = [&](std::int16_t bound) {
            asked << QString::number(bound);
            return QString::number(draws.value(asked.size() - 1, 1));
        };
        QTEST(drawQuizQuestion(op, from, n, draw).text, "question");
        QTEST(asked.join(u' '), "widths");
    }

    void parseBound_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("divide");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<int>("bound"); // 0: refused
        QTest::newRow("half down to even") << "10.5" << false << kC << 10;
        QTest::newRow("1.5 for division") << "1.5" << true << kC << 2;
        QTest::newRow("locale decimal comma") << "9,5" << false << kGerman << 10;
        QTest::newRow("C format in any locale") << "2.5" << false << kGerman << 2;
        QTest::newRow("full-width digits, as an input method types them")
            << "\uFF11\uFF19" << false << kC << 19;
        QTest::newRow("half rounds to zero") << "0.5" << false << kC << 0;
        QTest::newRow("1.4 for division") << "1.4" << true << kC << 0;
        QTest::newRow("rounds above 16 bits") << "32767.5" << false << kC << 0;
    }
    void parseBound() {
        QFETCH(QString, text);
        QFETCH(bool, divide);
        QFETCH(QLocale, locale);
        QFETCH(int, bound);
        const BoundCheck check =
            drillpad::quiz::parseBound(text, divide ? Operator::Divide : Operator::Add, locale);
        QCOMPARE(check.bound, bound ? std::optional(bound) : std::nullopt);
        QCOMPARE(check.message.isEmpty(), bound != 0);
        QVERIFY2(bound || (check.message.contains(divide ? u"2到32767" : u"1到32767") &&
                           check.message.contains(u"“到”")),
                 qPrintable(check.message));
    }

    // Answers are judged on their value as a pupil types it with a Chinese input
    // method: full-width digits and blanks around the answer count as nothing
    // more; a remainder may be written with dots or 余; anything else is wrong.
    void judging_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("right");
        for (const auto &[name, typed, expected, right] :
             {std::tuple{"full-width 0, the first", u"\uFF11\uFF10"_s, u"10"_s, true},
              {"full-width 9, the last", u"\uFF19"_s, u"9"_s, true},
              {"full-width solidus, before 0", u"\uFF0F"_s, u"/"_s, false},
              {"full-width colon, after 9", u"\uFF1A"_s, u":"_s, false},
              {"blank before", u" 3"_s, u"3"_s, true},
              {"ideographic blank and tab after", u"3\u3000\t"_s, u"3"_s, true},
              {"blank inside", u"1 2"_s, u"12"_s, false},
              {"leading zero", u"07"_s, u"7"_s, false},
              {"decimal point", u"7.0"_s, u"7"_s, false},
              {"blanks alone", u"  "_s, QString(), false},
              {"remainder after dots", u"3...2"_s, u"3……2"_s, true},
              {"remainder after 余", u"3余2"_s, u"3……2"_s, true},
              {"blanks around the dots", u" 3 …… 2 "_s, u"3……2"_s, true},
              {"full-width remainder", u"３余２"_s, u"3……2"_s, true},
              {"no separator", u"32"_s, u"3……2"_s, false},
              {"wrong remainder", u"3……1"_s, u"3……2"_s, false},
              {"a remainder where there is none", u"4…"_s, u"4"_s, false}})
            QTest::newRow(name) << typed << expected << right;
    }
    void judging() {
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        QTEST(sameAnswer(typed, expected), "right");
    }

    // The divisor of a division question is either drawn factor, each half the
    // time: a draw from 1 to 10 picks it.
    void divisorIsEitherFactorEvenly() {
        const auto whichFactor = [] {
            QStringList factors;
            const DrawFunction draw = [&](std::int16_t n) {
                factors << RandomUpTo(n);
                return factors.last();
            };
            QuizQuestion question;
            do { // equal factors would not tell
                factors.clear();
                question = drawQuizQuestion(Operator::Divide, 9, draw);
            } while (factors.at(factors.size() - 3) == factors.at(factors.size() - 2));
            const QString divisor = question.text.section(u'\u00F7', 1).chopped(1);
            return divisor == factors.at(factors.size() - 2) ? u"second"_s : u"first"_s;
        };
        QVERIFY(drillpad::testing::looksUniform(whichFactor, 2, 4000));
    }

    // The score rounds halves to even, also where floating point misses the
    // half; the rate shows two decimals in the locale's format.
    void scoreAndRate_data() {
        QTest::addColumn<qint64>("right");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<int>("score");
        QTest::addColumn<QString>("rate"); // in the German locale
        // 23/40*100 is 57.49999999999999 and 109/200*100 is 54.50000000000001.
        QTest::newRow("57.5") << qint64(23) << qint64(40) << 58 << "57,50";
        QTest::newRow("54.5") << qint64(109) << qint64(200) << 54 << "54,50";
        QTest::newRow("66.67") << qint64(2) << qint64(3) << 67 << "66,67";
    }
    void scoreAndRate() {
        QFETCH(qint64, right);
        QFETCH(qint64, total);
        QFETCH(QString, rate);
        QTEST(scoreOf(right, total), "score");
        QCOMPARE(rateText(ratePercent(right, total), kGerman), rate);
        QCOMPARE(rateText(ratePercent(right, total), kC), rate.replace(u',', u'.'));
    }

    // Each border belongs to the higher band.
    void comment() {
        const QStringList bands =
            QStringLiteral(
                "满分,真棒,不要骄傲,继续保持|离满分仅差一步,优秀,继续努力|再接再厉,良好,尚需努力|"
                "努力会做得更好,中等,继续努力|再不努力就不行了,及格，努力啊|"
                "赶紧加把劲,争取及格,继续努力|好好学习,尚未及格,继续努力|本软件会帮你学好数学")
                .split(u'|');
        for (int score = 0; score <= 100; ++score)
            QCOMPARE(commentFor(score),
                     bands[score == 100 ? 0 : std::clamp(10 - score / 10, 1, 7)]);
    }
};

DRILLPAD_TEST_MAIN(TestQuizLogic)
#include "tst_quiz_logic.moc"
