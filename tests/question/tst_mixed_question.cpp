#include "common/test_main.h"

#include "question/mixed_question.h"

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

    // Drawn questions are fair, with operands in max(2, lo)..hi; a range
    // without any question gives none.
    void drawsFairQuestionsInRange_data() {
        QTest::addColumn<int>("lo");
        QTest::addColumn<int>("hi");
        QTest::newRow("0..9") << 0 << 9;
        QTest::newRow("7..7") << 7 << 7;
        QTest::newRow("2..32767") << 2 << 32767;
        QTest::newRow("30000..32767") << 30000 << 32767;
        QTest::newRow("0..1: none") << 0 << 1;
        QTest::newRow("5..4: none") << 5 << 4;
    }
    void drawsFairQuestionsInRange() {
        QFETCH(int, lo);
        QFETCH(int, hi);
        if (hi < std::max(lo, 2)) {
            QVERIFY(!mixedRangeAllowed(lo, hi));
            QVERIFY(!drawMixedQuestion(lo, hi));
            QVERIFY(makeMixedQuestion(lo, hi).isEmpty());
            return;
        }
        for (int i = 0; i < 3000; ++i) {
            const std::optional<MixedQuestion> drawn = drawMixedQuestion(lo, hi);
            QVERIFY(drawn);
            for (const int operand : drawn->operands)
                QVERIFY2(operand >= std::max(lo, 2) && operand <= hi,
                         qPrintable(QString::number(operand)));
            QVERIFY(evaluateMixed(*drawn) >= 0);
        }
    }

    // Draws that always pick ÷ ÷ with the largest operands never fit
    // (hi÷hi÷hi); the drawing still ends, with two additions.
    void endsWhenTheDrawsNeverFit() {
        int calls = 0;
        const auto draw = [&](int lo, int hi) {
            ++calls;
            return std::clamp(3, lo, hi);
        };
        QCOMPARE(drawMixedQuestion(5, 5, draw), std::optional(question(5, kAdd, 5, kAdd, 5)));
        QVERIFY(calls < 1000);
    }
};

DRILLPAD_TEST_MAIN(TestMixedQuestion)
#include "tst_mixed_question.moc"
