#include "question/mixed_question.h"

#include "question/bracket_question.h"
#include "question/question_pool.h"
#include "question/random.h"

#include <algorithm>
#include <numeric>
#include <tuple>
#include <utility>

namespace drillpad {

namespace {

bool isAdditive(Operator op) {
    return op == Operator::Add || op == Operator::Subtract;
}

// x op y, or nothing when the step is not allowed on a sheet.
std::optional<long long> apply(Operator op, long long x, long long y) {
    switch (op) {
    case Operator::Add:
        return x + y;
    case Operator::Subtract:
        if (x < y)
            return std::nullopt;
        return x - y;
    case Operator::Multiply:
        return x * y;
    case Operator::Divide:
        if (y == 0 || x % y != 0)
            return std::nullopt;
        return x / y;
    }
    return std::nullopt;
}

// The operator between b and c is worked out first.
bool rightFirst(Operator first, Operator second) {
    return isAdditive(first) && !isAdditive(second);
}

constexpr Operator kOperators[] = {Operator::Add, Operator::Subtract, Operator::Multiply,
                                   Operator::Divide};

// The operator pair of mixedPairSizes' index.
std::pair<Operator, Operator> pairAt(int pair) {
    return {kOperators[pair / 4], kOperators[pair % 4]};
}

// Ranges this wide hold 32768 additions or more: more than a sheet asks for.
constexpr long long kCountedWidth = 32;

// Operands below 2^15, operators below 4, the blank from -1 to 2.
std::uint64_t mixedKeyOf(const MixedQuestion &question) {
    const auto [a, b, c] = question.operands;
    const auto [first, second] = question.operators;
    return static_cast<std::uint64_t>(question.blank + 1) << 49 |
           static_cast<std::uint64_t>(a) << 34 | static_cast<std::uint64_t>(b) << 19 |
           static_cast<std::uint64_t>(c) << 4 | static_cast<std::uint64_t>(first) << 2 |
           static_cast<std::uint64_t>(second) |
           static_cast<std::uint64_t>(question.bracketed) << 63;
}

bool is(Operator first, Operator second, Operator wantFirst, Operator wantSecond) {
    return first == wantFirst && second == wantSecond;
}

// The range holds a division with a quotient of 2 or more, so n÷n is not
// asked.
bool properQuotients(long long lo, long long hi) {
    return 2 * lo <= hi;
}

// a÷b÷c can end in a quotient of 2 or more: a = 2·lo·lo fits.
bool secondQuotientOfTwo(long long lo, long long hi) {
    return 2 * lo * lo <= hi;
}

// Whether the pair gives a question with an answer other than 0 (lo >= 2);
// a-b-c = 0, a-b×c = 0 and a÷b-c = 0 are all that narrow ranges allow.
bool nonZeroAnswerPossible(Operator first, Operator second, long long lo, long long hi) {
    using enum Operator;
    if (is(first, second, Subtract, Subtract))
        return hi >= 2 * lo + 1;
    if (is(first, second, Subtract, Multiply))
        return hi >= lo * lo + 1;
    if (is(first, second, Divide, Subtract))
        return hi >= lo * (lo + 1);
    return true;
}

bool pairAllowed(Operator first, Operator second, long long lo, long long hi) {
    using enum Operator;
    if (lo > hi)
        return false;
    if (is(first, second, Subtract, Subtract))
        return hi >= 2 * lo;
    if (is(first, second, Subtract, Multiply) || is(first, second, Divide, Subtract) ||
        is(first, second, Divide, Divide))
        return hi >= lo * lo;
    return true;
}

// Draws operands within lo..hi (2 <= lo <= hi).
class OperandDrawer {
public:
    OperandDrawer(int lo, int hi, const DrawBetween &draw) : lo_(lo), hi_(hi), draw_(draw) {}

    long long lo() const { return lo_; }
    long long hi() const { return hi_; }
    int any() const { return draw_(lo_, hi_); }
    // A value from..to; the callers make sure the interval is not empty.
    int between(long long from, long long to) const {
        return draw_(static_cast<int>(from), static_cast<int>(to));
    }

    // A dividend and a divisor that divide exactly, with a quotient of at
    // least 2 wherever the range has such a pair: 17÷17 teaches nothing.
    std::pair<int, int> exactDivision() const {
        const bool proper = properQuotients(lo_, hi_);
        const int divisor = proper ? between(lo_, hi_ / 2) : any();
        const long long smallest = (lo_ + divisor - 1) / divisor;
        const int quotient = between(std::max<long long>(proper ? 2 : 1, smallest), hi_ / divisor);
        return {divisor * quotient, divisor};
    }

    // A multiple of m within lo..hi, where m divides a number of the range.
    int multipleOf(long long m) const {
        return static_cast<int>(m * between((lo_ + m - 1) / m, hi_ / m));
    }

private:
    int lo_;
    int hi_;
    const DrawBetween &draw_;
};

// Fills in the operands for an allowed operator pair, each drawn from the
// values that still leave a question: drawing blindly and checking would
// almost never give 30000-7×4000 style questions in a wide range.
MixedQuestion fillOperands(Operator first, Operator second, const OperandDrawer &d) {
    using enum Operator;
    MixedQuestion question;
    question.operators = {first, second};
    auto &[a, b, c] = question.operands;
    const long long lo = d.lo();
    const long long hi = d.hi();
    const bool onlyZero = !nonZeroAnswerPossible(first, second, lo, hi);

    if (is(first, second, Subtract, Multiply)) {
        if (onlyZero) {
            a = static_cast<int>(lo * lo);
            b = c = static_cast<int>(lo);
        } else {
            b = d.between(lo, (hi - 1) / lo);
            c = d.between(lo, (hi - 1) / b);
            a = d.between(static_cast<long long>(b) * c + 1, hi);
        }
    } else if (rightFirst(first, second) && second == Multiply) {
        a = d.any();
        b = d.any();
        c = d.any();
    } else if (rightFirst(first, second)) { // a ± b÷c
        std::tie(b, c) = d.exactDivision();
        a = first == Add ? d.any() : d.between(std::max<long long>(lo, b / c + 1), hi);
    } else if (is(first, second, Multiply, Divide)) {
        // c / gcd(b, c) must divide a; c itself is one such a. a×b÷c = 1
        // is drawn again: L×L÷L always fits.
        do {
            c = d.any();
            b = d.any();
            a = d.multipleOf(c / std::gcd(b, c));
        } while (static_cast<long long>(a) * b == c);
    } else if (is(first, second, Divide, Divide)) {
        // a = r·c·b: b divides a, c divides the quotient r·c; the answer r
        // is 1 only where the range leaves nothing else.
        const long long smallest = secondQuotientOfTwo(lo, hi) ? 2 : 1;
        b = d.between(lo, hi / (smallest * lo));
        c = d.between(lo, hi / (smallest * b));
        a = d.between(smallest, hi / (static_cast<long long>(b) * c)) * c * b;
    } else if (is(first, second, Divide, Subtract)) {
        const long long smallest = onlyZero ? lo : lo + 1;
        const int quotient = d.between(smallest, hi / lo);
        b = d.between(lo, hi / quotient);
        a = quotient * b;
        c = d.between(lo, quotient - (smallest - lo));
    } else if (is(first, second, Subtract, Subtract)) {
        if (onlyZero) {
            a = static_cast<int>(2 * lo);
            b = c = static_cast<int>(lo);
        } else {
            a = d.between(2 * lo + 1, hi);
            b = d.between(lo, a - lo - 1);
            c = d.between(lo, a - b - 1);
        }
    } else {
        // Left to right: t = a op b, then t + c, t × c or t - c.
        if (first == Divide) {
            std::tie(a, b) = d.exactDivision();
        } else {
            a = d.any();
            b = d.any();
            if (first == Subtract && a < b)
                std::swap(a, b);
        }
        if (second == Subtract) {
            const long long t = *apply(first, a, b);
            c = d.between(lo, std::min(hi, t - 1));
        } else {
            c = d.any();
        }
    }
    return question;
}

// Whether x ○ known (or known ○ x) gives each result for one x at most.
bool undoable(Operator op, bool blankLeft, long long known) {
    switch (op) {
    case Operator::Add:
    case Operator::Subtract:
        return true;
    case Operator::Multiply:
        return known != 0;
    case Operator::Divide:
        return blankLeft || known != 0;
    }
    return false;
}

} // namespace

std::optional<long long> evaluateMixed(const MixedQuestion &question) {
    const auto [first, second] = question.operators;
    const auto [a, b, c] = question.operands;
    if (a < 0 || b < 0 || c < 0)
        return std::nullopt;
    if (rightFirst(first, second) != question.bracketed) {
        const std::optional<long long> inner = apply(second, b, c);
        return inner ? apply(first, a, *inner) : std::nullopt;
    }
    const std::optional<long long> left = apply(first, a, b);
    return left ? apply(second, *left, c) : std::nullopt;
}

long long mixedAnswer(const MixedQuestion &question) {
    return question.blank == MixedQuestion::kNoBlank ? *evaluateMixed(question)
                                                     : question.operands[question.blank];
}

bool blankHasOneAnswer(const MixedQuestion &question) {
    const int blank = question.blank;
    if (blank < 0 || blank > 2 || !evaluateMixed(question))
        return false;
    const auto [first, second] = question.operators;
    const auto [a, b, c] = question.operands;
    // The step worked out first joins `inner` (two operands), the other
    // joins it with `outer` (the third); a blank in the inner step is undone
    // there after the outer step is.
    const bool innerRight = rightFirst(first, second) != question.bracketed;
    const int outer = innerRight ? 0 : 2;
    const Operator innerOp = innerRight ? second : first;
    const Operator outerOp = innerRight ? first : second;
    const long long innerValue = *apply(innerOp, innerRight ? b : a, innerRight ? c : b);
    if (blank == outer)
        return undoable(outerOp, innerRight, innerValue);
    const int innerLeft = innerRight ? 1 : 0;
    const int innerKnown = blank == innerLeft ? innerLeft + 1 : innerLeft;
    return undoable(outerOp, !innerRight, question.operands[outer]) &&
           undoable(innerOp, blank == innerLeft, question.operands[innerKnown]);
}

bool drawMixedForm(MixedQuestion &question, AskFor askFor, const DrawBetween &draw) {
    // Form 0 is the result, forms 1 to 3 an operand left blank.
    const int lowest = askFor == AskFor::Unknown ? 1 : 0;
    const int form = askFor == AskFor::Result ? 0 : draw(lowest, 3);
    question.blank = form - 1;
    return form == 0 || blankHasOneAnswer(question);
}

bool mixedRangeAllowed(int lo, int hi) {
    return std::max(lo, 2) <= hi;
}

bool mixedPairAllowed(Operator first, Operator second, int lo, int hi) {
    return pairAllowed(first, second, std::max(lo, 2), hi);
}

bool isSheetMixedQuestion(const MixedQuestion &question, int lo, int hi) {
    lo = std::max(lo, 2);
    const auto [first, second] = question.operators;
    const auto [a, b, c] = question.operands;
    for (const int operand : question.operands) {
        if (operand < lo || operand > hi)
            return false;
    }
    const std::optional<long long> value = evaluateMixed(question);
    if (!value)
        return false;
    if (properQuotients(lo, hi) &&
        ((first == Operator::Divide && a == b) ||
         (second == Operator::Divide && rightFirst(first, second) && b == c)))
        return false;
    // A worked-out number divided by itself: 2×3÷6, 8÷2÷4.
    if (is(first, second, Operator::Multiply, Operator::Divide) &&
        static_cast<long long>(a) * b == c)
        return false;
    if (is(first, second, Operator::Divide, Operator::Divide) && *value == 1 &&
        secondQuotientOfTwo(lo, hi))
        return false;
    return *value != 0 || !nonZeroAnswerPossible(first, second, lo, hi);
}

std::optional<MixedQuestion> drawMixedQuestion(int lo, int hi, const DrawBetween &draw) {
    lo = std::max(lo, 2);
    if (!mixedRangeAllowed(lo, hi))
        return std::nullopt;
    std::array<std::pair<Operator, Operator>, 16> pairs;
    int allowed = 0;
    for (const Operator first : kOperators) {
        for (const Operator second : kOperators) {
            if (pairAllowed(first, second, lo, hi))
                pairs[allowed++] = {first, second};
        }
    }
    const auto [first, second] = pairs[draw(0, allowed - 1)];
    return fillOperands(first, second, OperandDrawer(lo, hi, draw));
}

std::optional<MixedQuestion> drawMixedQuestion(int lo, int hi) {
    static const DrawBetween uniform = randomBetween;
    return drawMixedQuestion(lo, hi, uniform);
}

std::array<long long, 16> mixedPairSizes(int lo, int hi) {
    lo = std::max(lo, 2);
    std::array<long long, 16> sizes{};
    const long long width = hi - lo + 1;
    MixedQuestion question;
    for (int pair = 0; pair < 16; ++pair) {
        const auto [first, second] = pairAt(pair);
        if (!pairAllowed(first, second, lo, hi))
            continue;
        if (width >= kCountedWidth) {
            sizes[pair] = kUnknownGroupSize;
            continue;
        }
        question.operators = {first, second};
        for (int a = lo; a <= hi; ++a) {
            for (int b = lo; b <= hi; ++b) {
                for (int c = lo; c <= hi; ++c) {
                    question.operands = {a, b, c};
                    sizes[pair] += isSheetMixedQuestion(question, lo, hi) ? 1 : 0;
                }
            }
        }
    }
    return sizes;
}

namespace {

long long differentOf(const std::array<long long, 16> &pairSizes, int lo, int hi) {
    const long long width = hi - std::max(lo, 2) + 1;
    if (width <= 0)
        return 0;
    if (width >= kCountedWidth)
        return width * width * width;
    return std::accumulate(pairSizes.begin(), pairSizes.end(), 0LL);
}

} // namespace

long long differentMixedQuestions(int lo, int hi) {
    return differentOf(mixedPairSizes(lo, hi), lo, hi);
}

MixedSection drawMixedSection(int lo, int hi, int count, bool brackets, AskFor askFor) {
    lo = std::max(lo, 2);
    const std::array<long long, 16> sizes = mixedPairSizes(lo, hi);
    MixedSection section;
    section.different = differentOf(sizes, lo, hi);
    if (section.different == 0)
        return section;
    // Every blank of a sheet question has one answer (blankHasOneAnswer),
    // so each question gives every form.
    const long long forms = formsAskedFor(askFor, 3);
    const auto timesForms = [forms](long long size) {
        return size == kUnknownGroupSize ? size : size * forms;
    };
    // The sixteen pairs share one half of the places, the bracketed
    // questions the other, where the range holds any.
    std::vector<QuestionGroup> groups;
    for (const long long size : sizes)
        groups.push_back({timesForms(size), size != 0 ? 1.0 : 0.0, 0});
    const long long bracketed = brackets ? differentBracketedQuestions(lo, hi) : 0;
    const auto pairs = std::count_if(sizes.begin(), sizes.end(), [](long long n) { return n; });
    groups.push_back({hi - lo + 1 >= kCountedWidth ? kUnknownGroupSize : bracketed * forms,
                      bracketed > 0 ? static_cast<double>(pairs) : 0.0, 1});
    section.different = (section.different + bracketed) * forms;
    static const DrawBetween uniform = randomBetween;
    const OperandDrawer drawer(lo, hi, uniform);
    const auto drawQuestion = [&](int group) {
        if (group == static_cast<int>(sizes.size()))
            return *drawBracketedQuestion(lo, hi);
        const auto [first, second] = pairAt(group);
        return fillOperands(first, second, drawer);
    };
    section.questions = drawWithoutRepeats<MixedQuestion>(
        count, section.different, groups,
        [&](int group) {
            MixedQuestion question = drawQuestion(group);
            while (!drawMixedForm(question, askFor, uniform))
                question = drawQuestion(group);
            return question;
        },
        mixedKeyOf);
    return section;
}

void appendMixedQuestion(QString &out, const MixedQuestion &question, BlankStyle style) {
    if (question.bracketed || question.blank != MixedQuestion::kNoBlank) {
        const auto [first, second] = question.operators;
        const auto operand = [&](int i) {
            return i == question.blank ? blankText(style) : QString::number(question.operands[i]);
        };
        const QString x = operand(0), y = operand(1), z = operand(2);
        const QChar f = operatorGlyph(first), g = operatorGlyph(second);
        if (!question.bracketed)
            out += x + f + y + g + z;
        else
            out += rightFirst(first, second) ? u'(' + x + f + y + u')' + g + z
                                             : x + f + u'(' + y + g + z + u')';
        out += QLatin1Char('=');
        if (question.blank != MixedQuestion::kNoBlank)
            out += QString::number(*evaluateMixed(question));
        out += QChar(kAnswerGap);
        return;
    }
    out += QString::number(question.operands[0]);
    out += operatorGlyph(question.operators[0]);
    // The last two operands and the "=　" are written like a single question.
    appendQuestion(out, question.operands[1], question.operators[1], question.operands[2]);
}

QString makeMixedQuestion(int lo, int hi) {
    QString text;
    if (const std::optional<MixedQuestion> question = drawMixedQuestion(lo, hi))
        appendMixedQuestion(text, *question);
    return text;
}

} // namespace drillpad
