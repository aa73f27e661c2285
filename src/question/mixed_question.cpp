#include "question/mixed_question.h"

#include "question/random.h"

#include <algorithm>
#include <numeric>
#include <tuple>
#include <utility>

namespace drillpad {

namespace {

// Operator pairs tried before a question falls back to two additions. Every
// pair but a few fits most ranges, so this is almost never reached; it only
// bounds the work for the narrowest ranges.
constexpr int kMaxOperatorDraws = 64;

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

// Draws operands within lo..hi, each helper returning nothing when no value
// fits its constraint.
class OperandDrawer {
public:
    OperandDrawer(int lo, int hi, const DrawBetween &draw) : lo_(lo), hi_(hi), draw_(draw) {}

    int hi() const { return hi_; }
    int any() const { return draw_(lo_, hi_); }

    // A value within both lo..hi and from..to.
    std::optional<int> within(long long from, long long to) const {
        from = std::max<long long>(from, lo_);
        to = std::min<long long>(to, hi_);
        if (from > to)
            return std::nullopt;
        return draw_(static_cast<int>(from), static_cast<int>(to));
    }

    // A multiple of m (m >= 1) within lo..hi.
    std::optional<int> multipleOf(long long m) const {
        const long long first = (lo_ + m - 1) / m;
        const long long last = hi_ / m;
        if (first > last)
            return std::nullopt;
        return static_cast<int>(m * draw_(static_cast<int>(first), static_cast<int>(last)));
    }

    // A dividend and a divisor that divide exactly, with a quotient of at
    // least 2 wherever the range has such a pair: 17÷17 teaches nothing.
    std::pair<int, int> exactDivision() const {
        const bool properQuotient = 2LL * lo_ <= hi_;
        const int divisor = properQuotient ? draw_(lo_, hi_ / 2) : any();
        const long long smallest = (lo_ + divisor - 1) / divisor;
        const int quotient = draw_(
            static_cast<int>(std::max<long long>(properQuotient ? 2 : 1, smallest)), hi_ / divisor);
        return {divisor * quotient, divisor};
    }

    // A divisor of n (n >= 1) within lo..hi.
    std::optional<int> divisorOf(long long n) const {
        std::array<int, 256> found{};
        int count = 0;
        const auto keep = [&](long long candidate) {
            if (candidate >= lo_ && candidate <= hi_ && count < static_cast<int>(found.size()))
                found[count++] = static_cast<int>(candidate);
        };
        for (long long d = 1; d * d <= n; ++d) {
            if (n % d != 0)
                continue;
            keep(d);
            if (d != n / d)
                keep(n / d);
        }
        if (count == 0)
            return std::nullopt;
        return found[draw_(0, count - 1)];
    }

private:
    int lo_;
    int hi_;
    const DrawBetween &draw_;
};

// Fills in the operands for one operator pair, building each step so that
// it is allowed rather than drawing blindly: a blind draw of 30000-7×4000
// style questions would almost never succeed in a wide range.
std::optional<MixedQuestion> fillOperands(Operator first, Operator second,
                                          const OperandDrawer &drawer) {
    MixedQuestion question;
    question.operators = {first, second};
    auto &[a, b, c] = question.operands;

    if (rightFirst(first, second)) {
        // a ± (b × c) or a ± (b ÷ c)
        long long inner = 0;
        if (second == Operator::Multiply) {
            b = drawer.any();
            // For a - b × c the product must stay within reach of a.
            const std::optional<int> factor = first == Operator::Subtract
                                                  ? drawer.within(0, drawer.hi() / b)
                                                  : std::optional<int>(drawer.any());
            if (!factor)
                return std::nullopt;
            c = *factor;
            inner = static_cast<long long>(b) * c;
        } else {
            std::tie(b, c) = drawer.exactDivision();
            inner = b / c;
        }
        const std::optional<int> left = first == Operator::Subtract
                                            ? drawer.within(inner, drawer.hi())
                                            : std::optional<int>(drawer.any());
        if (!left)
            return std::nullopt;
        a = *left;
        return question;
    }

    if (first == Operator::Multiply && second == Operator::Divide) {
        // a × b ÷ c: c / gcd(b, c) must divide a; c is one such a.
        c = drawer.any();
        b = drawer.any();
        a = *drawer.multipleOf(c / std::gcd(b, c));
        return question;
    }

    // Left to right: t = a op b, then t op c.
    long long t = 0;
    switch (first) {
    case Operator::Add:
    case Operator::Multiply:
        a = drawer.any();
        b = drawer.any();
        t = *apply(first, a, b);
        break;
    case Operator::Subtract:
        a = drawer.any();
        b = drawer.any();
        if (a < b)
            std::swap(a, b);
        t = a - b;
        break;
    case Operator::Divide:
        std::tie(a, b) = drawer.exactDivision();
        t = a / b;
        break;
    }
    std::optional<int> last;
    switch (second) {
    case Operator::Add:
    case Operator::Multiply:
        last = drawer.any();
        break;
    case Operator::Subtract:
        last = drawer.within(0, t);
        break;
    case Operator::Divide:
        last = drawer.divisorOf(t); // t = a ÷ b here, at least 1
        break;
    }
    if (!last)
        return std::nullopt;
    c = *last;
    return question;
}

} // namespace

std::optional<long long> evaluateMixed(const MixedQuestion &question) {
    const auto [first, second] = question.operators;
    const auto [a, b, c] = question.operands;
    if (a < 0 || b < 0 || c < 0)
        return std::nullopt;
    if (rightFirst(first, second)) {
        const std::optional<long long> inner = apply(second, b, c);
        return inner ? apply(first, a, *inner) : std::nullopt;
    }
    const std::optional<long long> left = apply(first, a, b);
    return left ? apply(second, *left, c) : std::nullopt;
}

bool mixedRangeAllowed(int lo, int hi) {
    return std::max(lo, 2) <= hi;
}

std::optional<MixedQuestion> drawMixedQuestion(int lo, int hi, const DrawBetween &draw) {
    lo = std::max(lo, 2);
    if (!mixedRangeAllowed(lo, hi))
        return std::nullopt;
    const OperandDrawer drawer(lo, hi, draw);
    for (int attempt = 0; attempt < kMaxOperatorDraws; ++attempt) {
        const auto first = static_cast<Operator>(draw(0, 3));
        const auto second = static_cast<Operator>(draw(0, 3));
        if (std::optional<MixedQuestion> question = fillOperands(first, second, drawer))
            return question;
    }
    return fillOperands(Operator::Add, Operator::Add, drawer);
}

std::optional<MixedQuestion> drawMixedQuestion(int lo, int hi) {
    static const DrawBetween uniform = randomBetween;
    return drawMixedQuestion(lo, hi, uniform);
}

void appendMixedQuestion(QString &out, const MixedQuestion &question) {
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
