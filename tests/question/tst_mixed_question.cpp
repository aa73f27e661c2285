#include "common/chi_square.h"
#include "common/test_main.h"

#include "question/bracket_question.h"
#include "question/mixed_question.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <set>

using namespace drillpad;
using drillpad::testing::looksUniform;

namespace {

constexpr Operator kAdd = Operator::Add;
constexpr Operator kSub = Operator::Subtract;
constexpr Operator kMul = Operator::Multiply;
constexpr Operator kDiv = Operator::Divide;
constexpr Operator kOperators[] = {kAdd, kSub, kMul, kDiv};

MixedQuestion question(int a, Operator first, int b, Operator second, int c) {
    return MixedQuestion{{a, b, c}, {first, second}};
}

int pairOf(const MixedQuestion &q) {
    return static_cast<int>(q.operators[0]) * 4 + static_cast<int>(q.operators[1]);
}

std::uint64_t keyOf(const MixedQuestion &q) {
    return (std::uint64_t(q.operands[0]) << 40) | (std::uint64_t(q.operands[1]) << 20) |
           (std::uint64_t(q.operands[2]) << 4) | std::uint64_t(pairOf(q));
}

// A step a pupil may take: never below 0, never a remainder.
std::optional<long long> step(Operator op, std::optional<long long> x, long long y) {
    if (!x)
        return std::nullopt;
    switch (op) {
    case Operator::Add:
        return *x + y;
    case Operator::Subtract:
        return *x >= y ? std::optional(*x - y) : std::nullopt;
    case Operator::Multiply:
        return *x * y;
    case Operator::Divide:
        return y != 0 && *x % y == 0 ? std::optional(*x / y) : std::nullopt;
    }
    return std::nullopt;
}

// × and ÷ before + and -, unless brackets put the other step first.
std::optional<long long> valueOf(const MixedQuestion &q) {
    const auto [a, b, c] = q.operands;
    const auto [first, second] = q.operators;
    if (((first == kAdd || first == kSub) && (second == kMul || second == kDiv)) != q.bracketed) {
        const std::optional<long long> product = step(second, b, c);
        return product ? step(first, a, *product) : std::nullopt;
    }
    return step(second, step(first, a, b), c);
}

// The sheet's rules, each looked for by brute force over the range:
// operands from max(2, lo) to hi; every step allowed; no number divided by
// itself (12÷12, 5+6÷6) when the range holds a division with a quotient of 2
// or more; no worked-out number divided by itself (2×3÷6, and 8÷2÷4 when some
// a÷b÷c ends in 2 or more); and no answer 0 when the operator pair has
// another answer in the range.
// How many whole numbers 0..bound in the blank give the question's value.
int answersInBlank(MixedQuestion q, long long bound) {
    const std::optional<long long> value = valueOf(q);
    int answers = 0;
    for (long long x = 0; x <= bound && value; ++x) {
        q.operands[q.blank] = static_cast<int>(x);
        answers += valueOf(q) == value;
    }
    return answers;
}

// Every answer lies below this: undoing a step multiplies by an operand or
// adds one at most, twice over.
long long answerBound(const MixedQuestion &q, int hi) {
    return (*valueOf(q) + 2) * hi * hi + hi;
}

class Oracle {
public:
    Oracle(int from, int to, bool keepQuestions) : lo_(std::max(from, 2)), hi_(to) {
        bool realQuotient = false;
        for (int x = lo_; x <= hi_ && !realQuotient; ++x) {
            for (int y = lo_; y <= hi_ && !realQuotient; ++y)
                realQuotient = x % y == 0 && x / y >= 2;
        }
        bool doubleQuotient = false;
        forEach(kDiv, kDiv, [&](const MixedQuestion &q) {
            doubleQuotient = doubleQuotient || valueOf(q).value_or(0) >= 2;
        });
        for (int pair = 0; pair < 16; ++pair) {
            const Operator first = kOperators[pair / 4];
            const Operator second = kOperators[pair % 4];
            const auto allowed = [&](const MixedQuestion &q) {
                const auto [a, b, c] = q.operands;
                const bool selfDivision =
                    (first == kDiv && a == b) ||
                    ((first == kAdd || first == kSub) && second == kDiv && b == c);
                return valueOf(q) && !(realQuotient && selfDivision) &&
                       !(first == kMul && second == kDiv && a * b == c) &&
                       !(first == kDiv && second == kDiv && doubleQuotient && valueOf(q) == 1);
            };
            bool nonZero = false;
            forEach(first, second, [&](const MixedQuestion &q) {
                nonZero = nonZero || (allowed(q) && valueOf(q) != 0);
            });
            forEach(first, second, [&](const MixedQuestion &q) {
                if (allowed(q) && (valueOf(q) != 0 || !nonZero)) {
                    ++sizes[pair];
                    if (keepQuestions)
                        questions.insert(keyOf(q));
                }
            });
        }
    }

    std::array<long long, 16> sizes{};
    std::set<std::uint64_t> questions;

private:
    template <typename Visit> void forEach(Operator first, Operator second, Visit visit) const {
        for (int a = lo_; a <= hi_; ++a) {
            for (int b = lo_; b <= hi_; ++b) {
                for (int c = lo_; c <= hi_; ++c)
                    visit(question(a, first, b, second, c));
            }
        }
    }

    int lo_;
    int hi_;
};

} // namespace

Q_DECLARE_METATYPE(drillpad::MixedQuestion)
Q_DECLARE_METATYPE(drillpad::AskFor)

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

    // The questions of each operator pair, counted against the rules worked
    // out by brute force; in a narrow range every one of them is drawn, and
    // nothing else. From 32 numbers on, the count is the lower bound width³.
    void followsTheRulesOfARange_data() {
        QTest::addColumn<int>("lo");
        QTest::addColumn<int>("hi");
        QTest::addColumn<bool>("drawAll");
        QTest::newRow("0..1: none") << 0 << 1 << false;
        QTest::newRow("5..4: none") << 5 << 4 << false;
        QTest::newRow("2..2: twelve pairs, one question each") << 2 << 2 << true;
        QTest::newRow("7..7") << 7 << 7 << true;
        QTest::newRow("2..4: 4÷4 is no question, 4-2-2 only zero") << 2 << 4 << true;
        QTest::newRow("5..10: 10÷5, so no 5÷5") << 5 << 10 << true;
        QTest::newRow("10..12: only n÷n") << 10 << 12 << true;
        QTest::newRow("3..9: 9÷3÷3 the only ÷÷") << 3 << 9 << true;
        QTest::newRow("2..9: 8÷2÷2, not 8÷2÷4 or 2×3÷6") << 2 << 9 << true;
        QTest::newRow("2..17: 16 numbers, counted") << 2 << 17 << false;
        QTest::newRow("2..32: 31 numbers, counted") << 2 << 32 << false;
        QTest::newRow("2..33: 32 numbers, at least 32768") << 2 << 33 << false;
    }
    void followsTheRulesOfARange() {
        QFETCH(int, lo);
        QFETCH(int, hi);
        QFETCH(bool, drawAll);
        const Oracle oracle(lo, hi, drawAll);
        const long long total = std::accumulate(oracle.sizes.begin(), oracle.sizes.end(), 0LL);
        const long long width = hi - std::max(lo, 2) + 1;
        const std::array<long long, 16> sizes = mixedPairSizes(lo, hi);
        QCOMPARE(mixedRangeAllowed(lo, hi), total > 0);
        QCOMPARE(makeMixedQuestion(lo, hi).isEmpty(), total == 0);
        for (int pair = 0; pair < 16; ++pair) {
            const Operator first = kOperators[pair / 4];
            const Operator second = kOperators[pair % 4];
            QCOMPARE(mixedPairAllowed(first, second, lo, hi), oracle.sizes[pair] > 0);
            QCOMPARE(sizes[pair], width >= 32 && oracle.sizes[pair] > 0 ? kUnknownGroupSize
                                                                        : oracle.sizes[pair]);
        }
        if (width >= 32) {
            QCOMPARE(differentMixedQuestions(lo, hi), width * width * width);
            QVERIFY(total >= width * width * width);
        } else {
            QCOMPARE(differentMixedQuestions(lo, hi), total);
        }
        if (!drawAll)
            return;
        std::set<std::uint64_t> drawn;
        for (int i = 0; i < 300000; ++i)
            drawn.insert(keyOf(*drawMixedQuestion(lo, hi)));
        QVERIFY(drawn == oracle.questions);
    }

    // Where the range holds a real quotient there is no n÷n and no answer 0;
    // the operands are built so that every draw fits, whatever the draws
    // return (here always the smallest, then always the largest value).
    void wideRangesAskRealQuestions_data() {
        QTest::addColumn<int>("lo");
        QTest::addColumn<int>("hi");
        QTest::newRow("0..100") << 0 << 100;
        QTest::newRow("0..32767") << 0 << 32767;
        QTest::newRow("100..32767") << 100 << 32767;
        QTest::newRow("180..32767: -× and ÷- barely") << 180 << 32767;
    }
    void wideRangesAskRealQuestions() {
        QFETCH(int, lo);
        QFETCH(int, hi);
        const auto isReal = [&](const MixedQuestion &q) {
            const auto [a, b, c] = q.operands;
            const auto [first, second] = q.operators;
            const bool inRange = std::all_of(q.operands.begin(), q.operands.end(), [&](int x) {
                return x >= std::max(lo, 2) && x <= hi;
            });
            const bool selfDivision =
                (first == kDiv && a == b) ||
                ((first == kAdd || first == kSub) && second == kDiv && b == c) ||
                (first == kMul && second == kDiv && static_cast<long long>(a) * b == c);
            return inRange && valueOf(q).value_or(0) > 0 && !selfDivision;
        };
        const DrawBetween lowest = [](int from, int) { return from; };
        const DrawBetween highest = [](int, int to) { return to; };
        for (const DrawBetween *draw : {&lowest, &highest}) {
            for (int pair = 0; pair < 16; ++pair) {
                // The pair is the first draw.
                const DrawBetween fixedPair = [&, calls = 0](int from, int to) mutable {
                    return calls++ == 0 ? std::min(from + pair, to) : (*draw)(from, to);
                };
                QVERIFY(isReal(*drawMixedQuestion(lo, hi, fixedPair)));
            }
        }
        for (int i = 0; i < 20000; ++i)
            QVERIFY(isReal(*drawMixedQuestion(lo, hi)));
    }

    // A blank has one answer unless a step multiplies by 0 or divides 0:
    // checked by trying every number.
    void blankHasOneAnswerOrIsNotAsked_data() {
        QTest::addColumn<MixedQuestion>("q");
        const auto blank = [](MixedQuestion q, int at, bool bracketed = false) {
            q.blank = at;
            q.bracketed = bracketed;
            return q;
        };
        QTest::newRow("(　)+3×4=20") << blank(question(8, kAdd, 3, kMul, 4), 0);
        QTest::newRow("(　)×0+3=3") << blank(question(7, kMul, 0, kAdd, 3), 0);
        QTest::newRow("0÷(　)+1=1") << blank(question(0, kDiv, 4, kAdd, 1), 1);
        QTest::newRow("9-9×(　)=0") << blank(question(9, kSub, 9, kMul, 1), 2);
        QTest::newRow("(5-5)×(　)=0") << blank(question(5, kSub, 5, kMul, 3), 2, true);
        QTest::newRow("(5-5)÷(　)=0") << blank(question(5, kSub, 5, kDiv, 3), 2, true);
        QTest::newRow("6×(3-(　))=0") << blank(question(6, kMul, 3, kSub, 3), 2, true);
        QTest::newRow("12÷((　)÷2)=3") << blank(question(12, kDiv, 8, kDiv, 2), 1, true);
        QTest::newRow("4-4-(　)=0") << blank(question(4, kSub, 4, kSub, 0), 2);
        QTest::newRow("(　)÷3÷2=4") << blank(question(24, kDiv, 3, kDiv, 2), 0);
    }
    void blankHasOneAnswerOrIsNotAsked() {
        QFETCH(MixedQuestion, q);
        QCOMPARE(blankHasOneAnswer(q), answersInBlank(q, 1000) == 1);
    }

    // With blanks asked, each question that qualifies (counted by brute
    // force) comes with each blank (and the result, for both kinds) once in
    // a section of that many; every blank has one answer.
    void blanksAreEveryQualifyingOneOnce_data() {
        QTest::addColumn<int>("lo");
        QTest::addColumn<int>("hi");
        QTest::addColumn<bool>("brackets");
        QTest::addColumn<AskFor>("askFor");
        QTest::newRow("2..5, blanks") << 2 << 5 << false << AskFor::Unknown;
        QTest::newRow("3..7, both kinds") << 3 << 7 << false << AskFor::Both;
        QTest::newRow("2..6 with brackets, blanks") << 2 << 6 << true << AskFor::Unknown;
    }
    void blanksAreEveryQualifyingOneOnce() {
        QFETCH(int, lo);
        QFETCH(int, hi);
        QFETCH(bool, brackets);
        QFETCH(AskFor, askFor);
        const int forms = askFor == AskFor::Both ? 4 : 3;
        const Oracle oracle(lo, hi, true);
        const auto different =
            static_cast<int>(drawMixedSection(lo, hi, 0, brackets, askFor).different);
        const MixedSection section = drawMixedSection(lo, hi, different, brackets, askFor);
        QCOMPARE(static_cast<int>(section.questions.size()), different);
        if (!brackets)
            QCOMPARE(different, static_cast<int>(oracle.questions.size()) * forms);
        std::set<std::pair<std::uint64_t, int>> once, unbracketed;
        for (int i = 0; i < different; ++i) {
            const MixedQuestion &q = section.questions[static_cast<std::size_t>(i)];
            once.insert({keyOf(q) ^ (std::uint64_t(q.bracketed) << 63), q.blank});
            if (!q.bracketed)
                unbracketed.insert({keyOf(q), q.blank});
            if (q.blank >= 0)
                QVERIFY(answersInBlank(q, answerBound(q, hi)) == 1);
        }
        QCOMPARE(static_cast<int>(once.size()), different);
        std::set<std::pair<std::uint64_t, int>> expected;
        for (const std::uint64_t key : oracle.questions) {
            for (int blank = forms == 4 ? -1 : 0; blank < 3; ++blank)
                expected.insert({key, blank});
        }
        QVERIFY(unbracketed == expected);
    }

    // Each blank place (and the result, for both kinds) equally likely.
    void blankPlacesAreEquallyLikely_data() {
        QTest::addColumn<AskFor>("askFor");
        QTest::newRow("blanks") << AskFor::Unknown;
        QTest::newRow("both kinds") << AskFor::Both;
    }
    void blankPlacesAreEquallyLikely() {
        QFETCH(AskFor, askFor);
        std::vector<MixedQuestion> questions;
        std::size_t next = 0;
        const auto place = [&] {
            if (next == questions.size()) {
                questions = drawMixedSection(0, 100, 10000, true, askFor).questions;
                next = 0;
            }
            return QString::number(questions[next++].blank);
        };
        QVERIFY(looksUniform(place, askFor == AskFor::Both ? 4 : 3, 20000));
    }

    // A large section: the operator pairs take equal shares, except those
    // with fewer questions than a share, which give every one of them once;
    // no question comes back (the range holds millions). With brackets,
    // bracketed questions take half the places.
    void sharesALargeSectionEvenly_data() {
        QTest::addColumn<bool>("brackets");
        QTest::newRow("without brackets") << false;
        QTest::newRow("half with brackets") << true;
    }
    void sharesALargeSectionEvenly() {
        QFETCH(bool, brackets);
        constexpr int kCount = 32767;
        const Oracle oracle(0, 100, false);
        // The pairs with fewer questions than their share are used up.
        std::array<bool, 16> usedUp{};
        for (long long left = brackets ? kCount / 2 : kCount, pairs = 16, filled = 1; filled > 0;) {
            filled = 0;
            for (int pair = 0; pair < 16; ++pair) {
                if (!usedUp[pair] && oracle.sizes[pair] < left / pairs) {
                    usedUp[pair] = true;
                    left -= oracle.sizes[pair];
                    --pairs;
                    ++filled;
                }
            }
        }
        QCOMPARE(std::count(usedUp.begin(), usedUp.end(), true), 1); // ÷÷, 324 questions

        // Each section: every question once, each used-up pair's every one,
        // half bracketed within five standard deviations.
        bool sectionsRight = true;
        std::vector<MixedQuestion> questions;
        std::size_t next = 0;
        const auto nextSharedPair = [&] {
            for (;;) {
                if (next == questions.size()) {
                    questions = drawMixedSection(0, 100, kCount, brackets).questions;
                    next = 0;
                    std::array<long long, 16> counts{};
                    std::set<std::uint64_t> distinct;
                    long long bracketed = 0;
                    for (const MixedQuestion &q : questions) {
                        bracketed += q.bracketed;
                        counts[pairOf(q)] += !q.bracketed;
                        distinct.insert(keyOf(q) ^ (std::uint64_t(q.bracketed) << 63));
                    }
                    sectionsRight = sectionsRight && distinct.size() == kCount &&
                                    std::abs(bracketed - (brackets ? kCount / 2 : 0)) <
                                        5 * std::sqrt(kCount) / 2;
                    for (int pair = 0; pair < 16; ++pair)
                        sectionsRight =
                            sectionsRight && (!usedUp[pair] || counts[pair] == oracle.sizes[pair]);
                }
                const MixedQuestion &q = questions[next++];
                if (!q.bracketed && !usedUp[pairOf(q)])
                    return QString::number(pairOf(q));
            }
        };
        QVERIFY(looksUniform(nextSharedPair, 15, 30000));
        QVERIFY(sectionsRight);
    }

    // A bracketed question has its operands in the range, is worked out with
    // the bracketed step first, every step whole and not negative, is written
    // with the brackets around that step, and comes in the twelve shapes
    // where the brackets change the order of work.
    void bracketedQuestionsAreFair() {
        const auto glyph = [](Operator op) { return QString(QStringLiteral("+-×÷").at(int(op))); };
        std::set<QString> shapes;
        for (int i = 0; i < 5000; ++i) {
            const std::optional<MixedQuestion> q = drawBracketedQuestion(3, 30);
            QVERIFY(q && q->bracketed);
            const auto [a, b, c] = q->operands;
            const auto [f, g] = q->operators;
            const bool left = (f == kAdd || f == kSub) && (g == kMul || g == kDiv);
            QString written;
            appendMixedQuestion(written, *q);
            QCOMPARE(written, (left ? QStringLiteral("(%1%2%3)%4%5=\u3000")
                                    : QStringLiteral("%1%2(%3%4%5)=\u3000"))
                                  .arg(QString::number(a), glyph(f), QString::number(b), glyph(g),
                                       QString::number(c)));
            for (const int operand : q->operands)
                QVERIFY2(operand >= 3 && operand <= 30, qPrintable(written));
            QVERIFY2(valueOf(*q), qPrintable(written));
            QCOMPARE(evaluateMixed(*q), valueOf(*q));
            shapes.insert(glyph(f) + glyph(g));
        }
        const QStringList expected =
            QStringLiteral("+× +÷ -× -÷ -+ -- ×+ ×- ÷+ ÷- ÷× ÷÷").split(u' ');
        QCOMPARE(shapes, std::set<QString>(expected.begin(), expected.end()));
    }
};

DRILLPAD_TEST_MAIN(TestMixedQuestion)
#include "tst_mixed_question.moc"
