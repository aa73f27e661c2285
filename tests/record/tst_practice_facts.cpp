#include "common/chi_square.h"
#include "common/test_main.h"

#include "record/daily_review.h"
#include "record/practice_facts.h"
#include "record/practice_record.h"

#include <QRandomGenerator>

using namespace drillpad;
using namespace Qt::StringLiterals;

namespace {

const QDate kToday(2026, 12, 5);
const QDateTime kNoon(kToday, QTime(12, 0));

// The facts of a review test, one letter each, on the multiplication table
// row by row: W missed and due, S right but slow and due, D known and due,
// L known and due tomorrow.
QList<FactSummary> factsOf(const QString &letters) {
    const QList<BasicFact> table = factsOf(factGrid(FactOperation::Multiply));
    QList<FactSummary> facts;
    for (int i = 0; i < letters.size(); ++i) {
        const QChar kind = letters[i];
        FactSummary f = advanced({}, {kind != u'W', kind == u'S' ? 7.0 : 2.0, kNoon});
        f.fact = table[i].key();
        f.due = kind == u'L' ? kToday.addDays(1) : kToday;
        facts.append(f);
    }
    return facts;
}

int randomBelow(int n) {
    return static_cast<int>(QRandomGenerator::global()->bounded(n));
}

} // namespace

class TestPracticeFacts : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A question is a basic fact when it is one of the grids', written as
    // the quiz writes it, with its own answer expected.
    void basicFacts_data() {
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("key"); // empty: not a basic fact
        const QList<std::array<const char *, 3>> rows = {
            {"7×8=", "56", "7×8"}, {"0+0=", "0", "0+0"},      {"10+10=", "20", "10+10"},
            {"11+0=", "11", ""},   {"20-10=", "10", "20-10"}, {"21-1=", "20", ""},
            {"20-11=", "9", ""},   {"5-6=", "-1", ""},        {"9×9=", "81", "9×9"},
            {"10×1=", "10", ""},   {"0×5=", "0", ""},         {"81÷9=", "9", "81÷9"},
            {"90÷9=", "10", ""},   {"56÷7=", "8", "56÷7"},    {"17÷5=", "3……2", ""},
            {"07+3=", "10", ""},   {"7+3=", "11", ""},        {"(　)+3=7", "4", ""},
            {"3+4×2=", "11", ""},  {"7+3", "10", ""},         {"1000+1=", "1001", ""},
        };
        for (const auto &[question, expected, key] : rows)
            QTest::newRow(question) << QString::fromUtf8(question) << QString::fromUtf8(expected)
                                    << QString::fromUtf8(key);
    }
    void basicFacts() {
        QFETCH(QString, question);
        QFETCH(QString, expected);
        QFETCH(QString, key);
        const std::optional<BasicFact> fact = basicFactOf(question, expected);
        QCOMPARE(fact ? fact->key() : QString(), key);
        if (fact)
            QCOMPARE(factOfKey(key), fact);
    }

    // Every question a quiz could ask with operands up to 99, counted by
    // the operation whose grid holds it: 11 × 11 sums, the 176 differences
    // of minuends 0–20 and subtrahends 0–10 that are not negative, and
    // 9 × 9 products and quotients. Each is in its grid at its place.
    void gridsHoldEveryFactOnce() {
        const QString glyphs = u"+-×÷"_s;
        int counts[kFactOperationCount] = {};
        for (int a = 0; a < 100; ++a) {
            for (int b = 0; b < 100; ++b) {
                for (int op = 0; op < 4; ++op) {
                    if (op == 3 && (b == 0 || a % b))
                        continue;
                    const int answer = op == 0 ? a + b : op == 1 ? a - b : op == 2 ? a * b : a / b;
                    const QString question = u"%1%2%3="_s.arg(a).arg(glyphs[op]).arg(b);
                    if (const auto fact = basicFactOf(question, QString::number(answer))) {
                        ++counts[op];
                        QCOMPARE(static_cast<int>(fact->operation), op);
                        QCOMPARE(factAt(factGrid(fact->operation), fact->row, fact->column), fact);
                    }
                }
            }
        }
        QCOMPARE(QList<int>(std::begin(counts), std::end(counts)), QList<int>({121, 176, 81, 81}));
        int listed = 0;
        for (const FactGrid &grid : factGrids())
            listed += static_cast<int>(factsOf(grid).size());
        QCOMPARE(listed, 121 + 176 + 81 + 81);
    }

    // Answers as "day:R2" (right in 2 s on day 0; the day may be left
    // out) or "W1", and after each the Leitner box and the day it is due as
    // "box@day": a right answer on its day moves up a box (1, 2, 4, 8, 16
    // days), a miss or more than 6 s back to box 1, due at once. Then the
    // state: 不熟 the last answer wrong, skipped or slower than 6 s; 已掌握
    // the last three right within 3 s each; 练习中 in between. Empty: not
    // looked at.
    void answered_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("boxes");
        QTest::addColumn<QString>("state");
        const auto row = [](const char *name, const QString &steps, const QString &boxes,
                            const QString &state = {}) {
            QTest::newRow(name) << steps << boxes << state;
        };
        row("never", {}, {}, u"未练习"_s);
        row("three right at 3 s", u"R3 R3 R3"_s, {}, u"已掌握"_s);
        row("the third at 3.01 s", u"R3 R3 R3.01"_s, {}, u"练习中"_s);
        row("two fast", u"R1 R1"_s, {}, u"练习中"_s);
        row("a miss before three fast", u"W1 R1 R1 R1"_s, {}, u"已掌握"_s);
        row("a miss among them", u"R1 W1 R1 R1"_s, {}, u"练习中"_s);
        row("last right at 6 s", u"R1 R1 R1 R6"_s, {}, u"练习中"_s);
        row("last right at 6.01 s", u"R1 R1 R1 R6.01"_s, {}, u"不熟"_s);
        row("last wrong", u"R1 R1 R1 W1"_s, {}, u"不熟"_s);
        row("up every box, then every 16 days", u"0:R2 1:R2 3:R2 7:R2 15:R2 31:R2 47:R2"_s,
            u"1@1 2@3 3@7 4@15 5@31 5@47 5@63"_s);
        row("practice before the day changes nothing", u"0:R2 0:R2 2:R2"_s, u"1@1 1@1 2@4"_s);
        row("a miss: box 1, due at once", u"0:R2 1:R2 3:W1 3:R2"_s, u"1@1 2@3 1@3 2@5"_s);
        row("first answer wrong", u"0:W1 0:W1 1:R2"_s, u"1@0 1@0 2@3"_s);
        row("6 s moves up, 6.01 s stays due", u"0:R6 1:R6 3:R6.01 3:R2"_s, u"1@1 2@3 2@3 3@7"_s);
        row("slow first answer", u"0:R6.01"_s, u"1@0"_s);
    }
    void answered() {
        QFETCH(QString, steps);
        QFETCH(QString, boxes);
        QFETCH(QString, state);
        FactSummary summary;
        QStringList seen;
        for (const QString &step : steps.split(u' ', Qt::SkipEmptyParts)) {
            const QString answer = step.section(u':', -1);
            summary = advanced(summary, {answer[0] == u'R', answer.mid(1).toDouble(),
                                         kNoon.addDays(step.section(u':', -2, -2).toInt())});
            seen << u"%1@%2"_s.arg(summary.box).arg(kToday.daysTo(summary.due));
        }
        if (!boxes.isEmpty())
            QCOMPARE(seen.join(u' '), boxes);
        if (!state.isEmpty())
            QCOMPARE(masteryStateName(masteryOf(summary)), state);
    }

    // A quotient's question is written from its product (the map's cells
    // and their words are checked in tst_frm_mastery).
    void divisionQuestion() {
        QCOMPARE(BasicFact({FactOperation::Divide, 8, 7}).question(), u"56÷8="_s);
    }

    // Today's review: each weak (W before S) or new (N) fact followed by
    // three known ones, due (D) before later (L); the rest of the due ones
    // after; 20 at most; nothing when nothing is due. New facts are the
    // first of the table not in the record.
    void reviewMix_data() {
        QTest::addColumn<QString>("facts");
        QTest::addColumn<QString>("asked");
        QTest::addColumn<int>("nextDueInDays"); // told when nothing is asked; -1: none
        QTest::newRow("weak and known")
            << u"WWDDDDDLLLLLLLLLL"_s << u"WDDDWDDLNLLLNLLLNLLL"_s << -1;
        QTest::newRow("missed before slow") << u"SWDDDDDDDD"_s << u"WDDDSDDDNDDNN"_s << -1;
        QTest::newRow("known only")
            << u"DDDDDDDDDDDDDDDDDDDDDDDDD"_s << u"NDDDNDDDNDDDDDDDDDDD"_s << -1;
        QTest::newRow("weak only") << u"WWWWWWWW"_s << u"WWWWWWWWNNN"_s << -1;
        QTest::newRow("more weak than a review") << QString(25, u'W') << QString(20, u'W') << -1;
        QTest::newRow("nothing due") << u"LLL"_s << u""_s << 1;
        QTest::newRow("nothing practised") << u""_s << u""_s << -1;
    }
    void reviewMix() {
        QFETCH(QString, facts);
        QFETCH(QString, asked);
        QFETCH(int, nextDueInDays);
        const QList<FactSummary> summaries = factsOf(facts);
        const ReviewPlan plan = planReview(summaries, kToday, randomBelow);
        QString kinds;
        QSet<QString> distinct;
        for (const BasicFact &fact : plan.questions) {
            const auto known =
                std::find_if(summaries.cbegin(), summaries.cend(),
                             [&](const FactSummary &f) { return f.fact == fact.key(); });
            kinds += known == summaries.cend() ? u'N' : facts[known - summaries.cbegin()];
            distinct.insert(fact.key());
        }
        QCOMPARE(kinds, asked);
        QCOMPARE(distinct.size(), plan.questions.size());
        QCOMPARE(plan.nextDue.isValid() ? kToday.daysTo(plan.nextDue) : -1, nextDueInDays);
    }

    // The known facts that follow a weak one are drawn evenly: the first of
    // them is any of twelve due ones, or, with none due, any of twenty that
    // are not due yet, equally often.
    void reviewDrawsKnownFactsEvenly_data() {
        QTest::addColumn<QString>("facts");
        QTest::addColumn<int>("pool");
        QTest::newRow("due") << u"W"_s + QString(12, u'D') << 12;
        QTest::newRow("not due yet") << u"W"_s + QString(20, u'L') << 20;
    }
    void reviewDrawsKnownFactsEvenly() {
        QFETCH(QString, facts);
        QFETCH(int, pool);
        const QList<FactSummary> summaries = factsOf(facts);
        const auto draw = [&] {
            return planReview(summaries, kToday, randomBelow).questions[1].key();
        };
        QVERIFY(testing::looksUniform(draw, pool, 200 * pool));
    }

    void reviewNotDue() {
        QCOMPARE(reviewNotDueText(u"小明"_s, kToday.addDays(1), kToday),
                 u"小明今天没有要复习的题。下次复习：12月6日（明天）。"_s);
        QCOMPARE(reviewNotDueText(u"小明"_s, kToday.addDays(3), kToday),
                 u"小明今天没有要复习的题。下次复习：12月8日（3天后）。"_s);
        QVERIFY(reviewNotDueText(u"小红"_s, {}, kToday).startsWith(u"小红还没有做过"_s));
    }

    // Days given as offsets from today with their questions: today's
    // questions and seconds, and the days in a row up to today or, while
    // today has none, up to yesterday.
    void today_data() {
        QTest::addColumn<QString>("days");        // "offset/questions/seconds"
        QTest::addColumn<QList<int>>("expected"); // questions, seconds, days in a row
        QTest::newRow("none") << u""_s << QList<int>{0, 0, 0};
        QTest::newRow("two quizzes today") << u"0/10/60 0/5/30"_s << QList<int>{15, 90, 1};
        QTest::newRow("yesterday and before") << u"-1/5/9 -2/5/9"_s << QList<int>{0, 0, 2};
        QTest::newRow("a gap") << u"0/5/9 -1/5/9 -3/5/9"_s << QList<int>{5, 9, 2};
        QTest::newRow("two days ago only") << u"-2/5/9"_s << QList<int>{0, 0, 0};
        QTest::newRow("no questions today") << u"0/0/0 -1/5/9"_s << QList<int>{0, 0, 1};
    }
    void today() {
        QFETCH(QString, days);
        QFETCH(QList<int>, expected);
        QList<DayPractice> practice;
        for (const QString &day : days.split(u' ', Qt::SkipEmptyParts)) {
            const QStringList part = day.split(u'/');
            practice.append({kToday.addDays(part[0].toInt()), part[2].toDouble(), part[1].toInt()});
        }
        const TodayFigures figures = todayFigures(practice, kToday);
        QCOMPARE((QList<int>{figures.questions, int(figures.seconds), figures.daysInARow}),
                 expected);
    }

    void pupilNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("problem"); // part of the message; empty: accepted
        QTest::newRow("new") << u" 小红 "_s << QString();
        QTest::newRow("own name when renaming") << u"小明"_s << QString();
        QTest::newRow("empty") << u""_s << u"请输入"_s;
        QTest::newRow("blanks") << u"  　"_s << u"请输入"_s;
        QTest::newRow("20 characters") << QString(20, u'字') << QString();
        QTest::newRow("21 characters") << QString(21, u'字') << u"最多 20 个字"_s;
        QTest::newRow("20 beyond the BMP")
            << QString::fromUcs4(QList<char32_t>(20, 0x1F600).data(), 20) << QString();
        QTest::newRow("line break") << u"小\n明"_s << u"控制字符"_s;
        QTest::newRow("another's") << u"小刚"_s << u"已经有名叫“小刚”"_s;
    }
    void pupilNames() {
        QFETCH(QString, name);
        QFETCH(QString, problem);
        const QList<Pupil> pupils = {{1, u"小明"_s}, {2, u"小刚"_s}};
        const std::optional<QString> found = pupilNameProblem(name, pupils, 1);
        QVERIFY2(problem.isEmpty() ? !found : found && found->contains(problem),
                 qPrintable(found.value_or(u"accepted"_s)));
    }
};

DRILLPAD_TEST_MAIN(TestPracticeFacts)
#include "tst_practice_facts.moc"
