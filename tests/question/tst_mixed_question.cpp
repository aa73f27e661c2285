#include "common/test_main.h"

#include "question/mixed_question.h"

#include <QSet>

#include <map>

using namespace drillpad;

namespace {

constexpr Operator kAdd = Operator::Add;
constexpr Operator kSub = Operator::Subtract;
constexpr Operator kMul = Operator::Multiply;
constexpr Operator kDiv = Operator::Divide;

MixedQuestion question(int a, Operator first, int b, Operator second, int c) {
    return MixedQuestion{{a, b, c}, {first, second}};
}

// A draw that replays fixed choices: the n-th call returns the n-th value
// clamped into the asked range, then the last one again.
class ScriptedDraw {
public:
    explicit ScriptedDraw(QList<int> values) : values_(std::move(values)) {}
    int operator()(int lo, int hi) {
        ++calls;
        const int value = values_.isEmpty() ? lo : values_[std::min(next_++, values_.size() - 1)];
        return std::clamp(value, lo, hi);
    }
    int calls = 0;

private:
    QList<int> values_;
    qsizetype next_ = 0;
};

} // namespace

class TestMixedQuestion : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void evaluatesWithPrecedence_data() {
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("b");
        QTest::addColumn<int>("second");
        QTest::addColumn<int>("c");
        QTest::addColumn<long long>("expected"); // -1: not a fair question
        const auto row = [](const char *name, int a, Operator f, int b, Operator s, int c,
                            long long expected) {
            QTest::newRow(name) << a << int(f) << b << int(s) << c << expected;
        };
        row("12+3×4", 12, kAdd, 3, kMul, 4, 24);
        row("36÷4-5", 36, kDiv, 4, kSub, 5, 4);
        row("12-6÷3", 12, kSub, 6, kDiv, 3, 10);
        row("8÷4×3 left to right", 8, kDiv, 4, kMul, 3, 6);
        row("6×4÷8 left to right", 6, kMul, 4, kDiv, 8, 3);
        row("24÷4÷3", 24, kDiv, 4, kDiv, 3, 2);
        row("9-4-5 reaches zero", 9, kSub, 4, kSub, 5, 0);
        row("2×3-6", 2, kMul, 3, kSub, 6, 0);
        row("2-3+4 goes below zero midway", 2, kSub, 3, kAdd, 4, -1);
        row("2-3×4", 2, kSub, 3, kMul, 4, -1);
        row("9-4-6", 9, kSub, 4, kSub, 6, -1);
        row("7÷2+1 inexact", 7, kDiv, 2, kAdd, 1, -1);
        row("7+6÷4 inexact", 7, kAdd, 6, kDiv, 4, -1);
        row("6×4÷5 inexact", 6, kMul, 4, kDiv, 5, -1);
        row("24÷4÷4 inexact", 24, kDiv, 4, kDiv, 4, -1);
        row("8÷0+1", 8, kDiv, 0, kAdd, 1, -1);
        row("32767×32767×32767", 32767, kMul, 32767, kMul, 32767, 32767LL * 32767 * 32767);
    }
    void evaluatesWithPrecedence() {
        QFETCH(int, a);
        QFETCH(int, first);
        QFETCH(int, b);
        QFETCH(int, second);
        QFETCH(int, c);
        QFETCH(long long, expected);
        const std::optional<long long> value = evaluateMixed(
            question(a, static_cast<Operator>(first), b, static_cast<Operator>(second), c));
        if (expected < 0)
            QVERIFY(!value);
        else
            QCOMPARE(value, std::optional<long long>(expected));
    }

    void writesTheQuestionText() {
        QString text = QStringLiteral("x");
        appendMixedQuestion(text, question(36, kDiv, 4, kSub, 5));
        appendMixedQuestion(text, question(12, kAdd, 3, kMul, 4));
        QCOMPARE(text, QStringLiteral("x36÷4-5=\u300012+3×4=\u3000"));
    }

    void drawsFairQuestionsInRange_data() {
        QTest::addColumn<int>("lo");
        QTest::addColumn<int>("hi");
        QTest::newRow("initial 0..9") << 0 << 9;
        QTest::newRow("2..2") << 2 << 2;
        QTest::newRow("0..2") << 0 << 2;
        QTest::newRow("2..3") << 2 << 3;
        QTest::newRow("7..7") << 7 << 7;
        QTest::newRow("10..20") << 10 << 20;
        QTest::newRow("2..32767") << 2 << 32767;
        QTest::newRow("30000..32767") << 30000 << 32767;
        QTest::newRow("32767..32767") << 32767 << 32767;
    }
    void drawsFairQuestionsInRange() {
        QFETCH(int, lo);
        QFETCH(int, hi);
        const int smallest = std::max(lo, 2);
        for (int i = 0; i < 3000; ++i) {
            const std::optional<MixedQuestion> drawn = drawMixedQuestion(lo, hi);
            QVERIFY(drawn);
            for (const int operand : drawn->operands) {
                QVERIFY2(operand >= smallest && operand <= hi,
                         qPrintable(QString::number(operand)));
            }
            const std::optional<long long> value = evaluateMixed(*drawn);
            QVERIFY(value);
            QVERIFY(*value >= 0);
        }
    }

    // In a moderate range every operator pair, ÷÷ and -× included, occurs:
    // no pair is silently impossible.
    void usesEveryOperatorPair() {
        std::map<std::pair<int, int>, int> seen;
        for (int i = 0; i < 20000; ++i) {
            const MixedQuestion drawn = *drawMixedQuestion(2, 99);
            ++seen[{int(drawn.operators[0]), int(drawn.operators[1])}];
        }
        QCOMPARE(seen.size(), std::size_t(16));
        for (const auto &[pair, count] : seen)
            QVERIFY2(count > 200,
                     qPrintable(
                         QStringLiteral("%1,%2: %3").arg(pair.first).arg(pair.second).arg(count)));
    }

    // A division of one operand by another gives at least 2 where the range
    // allows it, so that x÷x questions do not crowd the sheet; in a range
    // too narrow for that, x÷x is all there is.
    void dividesToProperQuotients_data() {
        QTest::addColumn<int>("lo");
        QTest::addColumn<int>("hi");
        QTest::addColumn<bool>("narrow");
        QTest::newRow("2..20") << 2 << 20 << false;
        QTest::newRow("10..20") << 10 << 20 << false;
        QTest::newRow("11..20") << 11 << 20 << true;
    }
    void dividesToProperQuotients() {
        QFETCH(int, lo);
        QFETCH(int, hi);
        QFETCH(bool, narrow);
        int divisions = 0;
        for (int i = 0; i < 3000; ++i) {
            const MixedQuestion q = *drawMixedQuestion(lo, hi);
            const auto [a, b, c] = q.operands;
            const auto [first, second] = q.operators;
            long long quotient = 0;
            if (first == kDiv)
                quotient = a / b;
            else if (second == kDiv && (first == kAdd || first == kSub))
                quotient = b / c;
            else
                continue;
            ++divisions;
            if (narrow)
                QCOMPARE(quotient, 1LL);
            else
                QVERIFY2(quotient >= 2, qPrintable(QString::number(quotient)));
        }
        QVERIFY(divisions > 300);
    }

    void refusesEmptyRanges_data() {
        QTest::addColumn<int>("lo");
        QTest::addColumn<int>("hi");
        QTest::newRow("0..1") << 0 << 1;
        QTest::newRow("5..4") << 5 << 4;
        QTest::newRow("0..0") << 0 << 0;
    }
    void refusesEmptyRanges() {
        QFETCH(int, lo);
        QFETCH(int, hi);
        QVERIFY(!mixedRangeAllowed(lo, hi));
        QVERIFY(!drawMixedQuestion(lo, hi));
        QVERIFY(makeMixedQuestion(lo, hi).isEmpty());
    }

    // Draws that always pick ÷ ÷ with the largest operands never give a
    // question (hi÷hi÷hi); the drawing still ends, with two additions.
    void endsWhenTheDrawsNeverFit() {
        ScriptedDraw draw({3});
        const std::optional<MixedQuestion> drawn = drawMixedQuestion(5, 5, std::ref(draw));
        QVERIFY(drawn);
        QCOMPARE(*drawn, question(5, kAdd, 5, kAdd, 5));
        QVERIFY(draw.calls < 1000);
    }

    void buildsTheScriptedQuestion() {
        // Operators × then ÷ (codes 2, 3); then c = 6, b = 4, and a is the
        // multiple of 6 / gcd(4, 6) = 3 numbered 5: 15. 15×4÷6 = 10.
        ScriptedDraw draw({2, 3, 6, 4, 5});
        const std::optional<MixedQuestion> drawn = drawMixedQuestion(2, 20, std::ref(draw));
        QVERIFY(drawn);
        QCOMPARE(*drawn, question(15, kMul, 4, kDiv, 6));
        QCOMPARE(evaluateMixed(*drawn), std::optional<long long>(10));
    }

    void makesSheetText() {
        const QString text = makeMixedQuestion(2, 9);
        QVERIFY(text.endsWith(QStringLiteral("=\u3000")));
        QVERIFY(!text.contains(QChar(u' ')));
        int glyphs = 0;
        for (const QChar ch : text)
            glyphs += QStringLiteral("+-×÷").contains(ch) ? 1 : 0;
        QCOMPARE(glyphs, 2);
    }
};

DRILLPAD_TEST_MAIN(TestMixedQuestion)
#include "tst_mixed_question.moc"
