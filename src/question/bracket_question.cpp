#include "question/bracket_question.h"

#include "question/random.h"

#include <algorithm>
#include <array>

namespace drillpad {

namespace {

using enum Operator;

struct Shape {
    Operator first;
    Operator second;
    // The smallest value of the bracket: 1 where it is multiplied, divided
    // or subtracted from, 2 where it divides (÷1 teaches nothing).
    long long smallestInner;
};

// Brackets around a+b and a-b before × and ÷; around the last two operands
// after - and ÷ (a-(b+c)) and after × and ÷ before + and - (a×(b+c)).
constexpr Shape kShapes[] = {
    {Add, Multiply, 0}, {Subtract, Multiply, 1}, {Add, Divide, 0},      {Subtract, Divide, 1},
    {Subtract, Add, 0}, {Subtract, Subtract, 1}, {Divide, Multiply, 0}, {Divide, Divide, 2},
    {Multiply, Add, 0}, {Multiply, Subtract, 1}, {Divide, Add, 0},      {Divide, Subtract, 2},
};

bool leftBracket(const Shape &shape) {
    const auto additive = [](Operator op) { return op == Add || op == Subtract; };
    return additive(shape.first) && !additive(shape.second);
}

long long ceilDiv(long long x, long long y) {
    return (x + y - 1) / y;
}

// Whether the range holds a question of the shape.
bool shapeAllowed(const Shape &s, long long lo, long long hi) {
    if (s.first == Subtract && s.second == Add)
        return hi >= 2 * lo + 1;
    if ((s.first == Subtract && s.second == Divide) || (s.first == Divide && s.second == Divide) ||
        (s.first == Divide && s.second == Add))
        return hi >= 2 * lo;
    if (s.first == Divide && s.second == Multiply)
        return hi >= lo * lo;
    if (s.first == Divide && s.second == Subtract)
        return hi >= lo + 2;
    if (s.smallestInner >= 1)
        return hi > lo;
    return lo <= hi;
}

const Shape *shapeOf(const MixedQuestion &q) {
    for (const Shape &shape : kShapes) {
        if (shape.first == q.operators[0] && shape.second == q.operators[1])
            return &shape;
    }
    return nullptr;
}

} // namespace

bool isSheetBracketedQuestion(const MixedQuestion &q, int lo, int hi) {
    lo = std::max(lo, 2);
    const Shape *shape = shapeOf(q);
    if (!q.bracketed || !shape)
        return false;
    for (const int operand : q.operands) {
        if (operand < lo || operand > hi)
            return false;
    }
    const auto [a, b, c] = q.operands;
    const MixedQuestion inner{
        .operands = leftBracket(*shape) ? std::array{a, b, 0} : std::array{b, c, 0},
        .operators = {leftBracket(*shape) ? shape->first : shape->second, Add}};
    const std::optional<long long> innerValue = evaluateMixed(inner);
    const std::optional<long long> value = evaluateMixed(q);
    if (!innerValue || !value || *innerValue < shape->smallestInner)
        return false;
    // a-(b+c) leaves something.
    return !(shape->first == Subtract && shape->second == Add && *value == 0);
}

std::optional<MixedQuestion> drawBracketedQuestion(int lo, int hi, const DrawBetween &draw) {
    lo = std::max(lo, 2);
    std::array<const Shape *, std::size(kShapes)> allowed{};
    int count = 0;
    for (const Shape &shape : kShapes) {
        if (shapeAllowed(shape, lo, hi))
            allowed[count++] = &shape;
    }
    if (count == 0)
        return std::nullopt;
    const Shape &s = *allowed[draw(0, count - 1)];
    const long long L = lo;
    const long long H = hi;
    const auto between = [&](long long from, long long to) {
        return static_cast<long long>(draw(static_cast<int>(from), static_cast<int>(to)));
    };
    long long a = 0, b = 0, c = 0;
    if (s.first == Add && s.second == Divide) { // (a+b)÷c
        c = between(L, H);
        const long long sum = c * between(ceilDiv(2 * L, c), 2 * H / c);
        a = between(std::max(L, sum - H), std::min(H, sum - L));
        b = sum - a;
    } else if (s.first == Subtract && s.second == Divide) { // (a-b)÷c
        c = between(L, H - L);
        const long long t = c * between(1, (H - L) / c);
        b = between(L, H - t);
        a = b + t;
    } else if (s.first == Subtract && s.second == Add) { // a-(b+c)
        a = between(2 * L + 1, H);
        b = between(L, a - 1 - L);
        c = between(L, a - 1 - b);
    } else if (s.first == Subtract && s.second == Subtract) { // a-(b-c)
        b = between(L + 1, H);
        c = between(L, b - 1);
        a = between(std::max(L, b - c), H);
    } else if (s.first == Divide && s.second == Multiply) { // a÷(b×c)
        b = between(L, H / L);
        c = between(L, H / b);
        a = b * c * between(ceilDiv(L, b * c), H / (b * c));
    } else if (s.first == Divide && s.second == Divide) { // a÷(b÷c)
        c = between(L, H / 2);
        const long long t = between(std::max(2LL, ceilDiv(L, c)), H / c);
        b = t * c;
        a = t * between(ceilDiv(L, t), H / t);
    } else if (s.first == Divide && s.second == Add) { // a÷(b+c)
        b = between(L, H - L);
        c = between(L, H - b);
        a = (b + c) * between(ceilDiv(L, b + c), H / (b + c));
    } else if (s.first == Divide && s.second == Subtract) { // a÷(b-c)
        b = between(L + 2, H);
        c = between(L, b - 2);
        a = (b - c) * between(ceilDiv(L, b - c), H / (b - c));
    } else if (s.smallestInner == 1) { // (a-b)×c, a×(b-c): the subtraction leaves 1 or more
        const long long larger = between(L + 1, H);
        const long long smaller = between(L, larger - 1);
        const long long other = between(L, H);
        if (s.first == Subtract) {
            a = larger, b = smaller, c = other;
        } else {
            a = other, b = larger, c = smaller;
        }
    } else { // (a+b)×c, a×(b+c)
        a = between(L, H);
        b = between(L, H);
        c = between(L, H);
    }
    MixedQuestion question;
    question.operands = {static_cast<int>(a), static_cast<int>(b), static_cast<int>(c)};
    question.operators = {s.first, s.second};
    question.bracketed = true;
    return question;
}

std::optional<MixedQuestion> drawBracketedQuestion(int lo, int hi) {
    static const DrawBetween uniform = randomBetween;
    return drawBracketedQuestion(lo, hi, uniform);
}

long long differentBracketedQuestions(int lo, int hi) {
    lo = std::max(lo, 2);
    const long long width = hi - lo + 1;
    if (width <= 0)
        return 0;
    if (width >= 32)
        return width * width * width;
    long long count = 0;
    MixedQuestion q;
    q.bracketed = true;
    for (const Shape &shape : kShapes) {
        q.operators = {shape.first, shape.second};
        for (int a = lo; a <= hi; ++a) {
            for (int b = lo; b <= hi; ++b) {
                for (int c = lo; c <= hi; ++c) {
                    q.operands = {a, b, c};
                    count += isSheetBracketedQuestion(q, lo, hi) ? 1 : 0;
                }
            }
        }
    }
    return count;
}

} // namespace drillpad
