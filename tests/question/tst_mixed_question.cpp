#include "common/test_main.h"

#include "question/mixed_question.h"

#include <set>
#include <tuple>

using namespace drillpad;

namespace {

constexpr Operator kAdd = Operator::Add;
constexpr Operator kSub = Operator::Subtract;
constexpr Operator kMul = Operator::Multiply;
constexpr Operator kDiv = Operator::Divide;

MixedQuestion question(int a, Operator first, int b, Operator second, int c) {
    return MixedQuestion{{a, b, c}, {first, second}};
}

} // namespace

Q_DECLARE_METATYPE(drillpad::MixedQuestion)

class TestMixedQuestion : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // × and ÷ before + and -, otherwise left to right; a question is fair
    // only when no step goes below zero or leaves a remainder.
    void evaluatesWithPrecedence_data() {
        QTest::addColumn<MixedQuestion>("q");
        QTest::addColumn<long long>("expected"); // -1: not a fair question
        QTest::newRow("12+3×4") << question(12, kAdd, 3, kMul, 4) << 24LL;
        QTest::newRow("36÷4-5") << question(36, kDiv, 4, kSub, 5) << 4LL;
        QTest::newRow("6×4÷8 left to right") << question(6, kMul, 4, kDiv, 8) << 3LL;
        QTest::newRow("9-4-5 reaches zero") << question(9, kSub, 4, kSub, 5) << 0LL;
        QTest::newRow("2-3+4 below zero midway") << question(2, kSub, 3, kAdd, 4) << -1LL;
        QTest::newRow("2-3×4") << question(2, kSub, 3, kMul, 4) << -1LL;
        QTest::newRow("7+6÷4 inexact") << question(7, kAdd, 6, kDiv, 4) << -1LL;
        QTest::newRow("24÷4÷4 inexact") << question(24, kDiv, 4, kDiv, 4) << -1LL;
        QTest::newRow("8÷0+1") << question(8, kDiv, 0, kAdd, 1) << -1LL;
        QTest::newRow("32767×32767×32767")
            << question(32767, kMul, 32767, kMul, 32767) << 32767LL * 32767 * 32767;
    }
    void evaluatesWithPrecedence() {
        QFETCH(MixedQuestion, q);
        QFETCH(long long, expected);
        QCOMPARE(evaluateMixed(q), expected < 0 ? std::nullopt : std::optional(expected));
    }

    // A range without any question gives none; otherwise drawn questions
    // are fair, with operands in max(2, lo)..hi.
    void drawsQuestionsOnlyInRange_data() {
        QTest::addColumn<int>("lo");
        QTest::addColumn<int>("hi");
        QTest::newRow("30000..32767") << 30000 << 32767;
        QTest::newRow("0..1: none") << 0 << 1;
        QTest::newRow("5..4: none") << 5 << 4;
    }
    void drawsQuestionsOnlyInRange() {
        QFETCH(int, lo);
        QFETCH(int, hi);
        const bool none = hi < std::max(lo, 2);
        QCOMPARE(mixedRangeAllowed(lo, hi), !none);
        QCOMPARE(makeMixedQuestion(lo, hi).isEmpty(), none);
        for (int i = 0; i < (none ? 1 : 3000); ++i) {
            const std::optional<MixedQuestion> drawn = drawMixedQuestion(lo, hi);
            QCOMPARE(drawn.has_value(), !none);
            QVERIFY(none || isSheetMixedQuestion(*drawn, lo, hi));
        }
    }

    // In a narrow range every question a sheet may ask is drawn, and nothing
    // else: so every operator pair that can be formed appears. Zero answers
    // come only from a pair that has nothing else (4-2-2, 9-3×3, 9÷3-3).
    void drawsEveryQuestionOfANarrowRange_data() {
        QTest::addColumn<int>("lo");
        QTest::addColumn<int>("hi");
        QTest::addColumn<int>("pairs");
        QTest::newRow("2..2: no -- -× ÷- ÷÷") << 2 << 2 << 12;
        QTest::newRow("7..7: the same") << 7 << 7 << 12;
        QTest::newRow("2..4: 4-2-2 and 4-2×2 only zero") << 2 << 4 << 16;
        QTest::newRow("10..12: only n÷n") << 10 << 12 << 12;
        QTest::newRow("3..9: 9÷3÷3 the only ÷÷") << 3 << 9 << 16;
        QTest::newRow("2..9: 8÷2÷2, not 8÷2÷4 or 2×3÷6") << 2 << 9 << 16;
    }
    void drawsEveryQuestionOfANarrowRange() {
        QFETCH(int, lo);
        QFETCH(int, hi);
        QFETCH(int, pairs);
        std::set<std::tuple<int, int, int, int, int>> drawn;
        std::set<std::pair<Operator, Operator>> drawnPairs;
        for (int i = 0; i < 300000; ++i) {
            const MixedQuestion q = *drawMixedQuestion(lo, hi);
            QVERIFY(isSheetMixedQuestion(q, lo, hi));
            drawn.insert({q.operands[0], q.operands[1], q.operands[2], int(q.operators[0]),
                          int(q.operators[1])});
            drawnPairs.insert({q.operators[0], q.operators[1]});
        }
        QCOMPARE(static_cast<long long>(drawn.size()), differentMixedQuestions(lo, hi));
        QCOMPARE(static_cast<int>(drawnPairs.size()), pairs);
        for (const Operator first : {kAdd, kSub, kMul, kDiv}) {
            for (const Operator second : {kAdd, kSub, kMul, kDiv})
                QCOMPARE(mixedPairAllowed(first, second, lo, hi),
                         drawnPairs.count({first, second}) == 1);
        }
    }

    // Where the range holds a real quotient there is no n÷n and no answer 0;
    // the operands are built so that every draw fits, whatever the draws
    // return (here always the smallest, then always the largest value).
    void wideRangesAskRealQuestions_data() {
        QTest::addColumn<int>("lo");
        QTest::addColumn<int>("hi");
        QTest::newRow("0..9") << 0 << 9;
        QTest::newRow("0..100") << 0 << 100;
        QTest::newRow("0..32767") << 0 << 32767;
        QTest::newRow("2..32767") << 2 << 32767;
        QTest::newRow("100..32767") << 100 << 32767;
        QTest::newRow("180..32767: -× and ÷- barely") << 180 << 32767;
    }
    void wideRangesAskRealQuestions() {
        QFETCH(int, lo);
        QFETCH(int, hi);
        const DrawBetween lowest = [](int from, int) { return from; };
        const DrawBetween highest = [](int, int to) { return to; };
        for (const DrawBetween *draw : {&lowest, &highest}) {
            for (int pair = 0; pair < 16; ++pair) {
                // The pair is the first draw.
                const DrawBetween fixedPair = [&, calls = 0](int from, int to) mutable {
                    return calls++ == 0 ? std::min(from + pair, to) : (*draw)(from, to);
                };
                QVERIFY(isSheetMixedQuestion(*drawMixedQuestion(lo, hi, fixedPair), lo, hi));
            }
        }
        for (int i = 0; i < 20000; ++i) {
            const MixedQuestion q = *drawMixedQuestion(lo, hi);
            QVERIFY(isSheetMixedQuestion(q, lo, hi));
            QVERIFY(evaluateMixed(q) != 0);
            QVERIFY(!(q.operators[0] == kDiv && q.operands[0] == q.operands[1]));
            // 3×4÷4 and 18÷3÷3 divide a result, not the number itself.
            const bool divisionFirst = q.operators[0] == kAdd || q.operators[0] == kSub;
            QVERIFY(!(divisionFirst && q.operators[1] == kDiv && q.operands[1] == q.operands[2]));
        }
    }
};

DRILLPAD_TEST_MAIN(TestMixedQuestion)
#include "tst_mixed_question.moc"
