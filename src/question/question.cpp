#include "question/question.h"

#include "question/random.h"

#include <algorithm>
#include <utility>

namespace drillpad {

std::optional<Operator> operatorFromCode(const QString &code) {
    if (code == u"+")
        return Operator::Add;
    if (code == u"-")
        return Operator::Subtract;
    if (code == u"*")
        return Operator::Multiply;
    if (code == u"/")
        return Operator::Divide;
    return std::nullopt;
}

QString operatorCode(Operator op) {
    constexpr char kCodes[] = {'+', '-', '*', '/'};
    return QString(QLatin1Char(kCodes[static_cast<int>(op)]));
}

std::optional<int> digitValue(QChar ch) {
    for (const char16_t zero : {u'0', u'\uFF10'}) {
        if (ch.unicode() >= zero && ch.unicode() <= zero + 9)
            return ch.unicode() - zero;
    }
    return std::nullopt;
}

QChar operatorGlyph(Operator op) {
    switch (op) {
    case Operator::Add:
        return QChar(u'+');
    case Operator::Subtract:
        return QChar(u'-');
    case Operator::Multiply:
        return QChar(u'\u00D7');
    case Operator::Divide:
        return QChar(u'\u00F7');
    }
    return QChar();
}

int minimumBound(Operator op) {
    return op == Operator::Subtract ? 3 : 2;
}

namespace {

// Writes the decimal digits of value at `out`; returns the end.
char16_t *writeNumber(char16_t *out, long long value) {
    char16_t digits[24];
    int count = 0;
    const bool negative = value < 0;
    unsigned long long magnitude = negative ? 0ull - static_cast<unsigned long long>(value)
                                            : static_cast<unsigned long long>(value);
    do {
        digits[count++] = static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (negative)
        *out++ = u'-';
    while (count > 0)
        *out++ = digits[--count];
    return out;
}

// Writes "a<glyph>b=" and the answer gap; returns the end. `out` must hold
// 48 characters.
char16_t *writeQuestion(char16_t *out, long long a, Operator op, long long b, bool withGap) {
    out = writeNumber(out, a);
    *out++ = operatorGlyph(op).unicode();
    out = writeNumber(out, b);
    *out++ = u'=';
    if (withGap)
        *out++ = kAnswerGap;
    return out;
}

} // namespace

void appendQuestion(QString &out, long long a, Operator op, long long b, bool withGap) {
    char16_t buffer[48];
    const char16_t *end = writeQuestion(buffer, a, op, b, withGap);
    out.append(reinterpret_cast<const QChar *>(buffer), static_cast<qsizetype>(end - buffer));
}

void appendQuestion(QString &out, Operator op, QuestionOperands operands) {
    const long long b = operands.b;
    appendQuestion(out, op == Operator::Divide ? operands.a * b : operands.a, op, b);
}

long long answerOf(Operator op, QuestionOperands operands) {
    const long long a = operands.a;
    const long long b = operands.b;
    switch (op) {
    case Operator::Add:
        return a + b;
    case Operator::Subtract:
        return a - b;
    case Operator::Multiply:
        return a * b;
    case Operator::Divide:
        return a;
    }
    return 0;
}

QString MakeQuestion(const QString &operatorCode, std::int16_t n) {
    const std::optional<Operator> op = operatorFromCode(operatorCode);
    return op ? makeQuestion(*op, n) : QString();
}

QuestionOperands drawOperands(Operator op, std::int16_t n) {
    for (;;) {
        int a = randomUpToValue(n);
        int b = randomUpToValue(n);
        if (a <= 1 || b <= 1)
            continue;
        if (op == Operator::Subtract) {
            // Redrawing until a > b and putting the larger operand first give
            // the same uniform distribution over the pairs b < a; the latter
            // needs half the draws.
            if (a == b)
                continue;
            if (a < b)
                std::swap(a, b);
        }
        return {a, b};
    }
}

QString makeQuestion(Operator op, std::int16_t n) {
    QString text;
    if (n >= minimumBound(op))
        appendQuestion(text, op, drawOperands(op, n));
    return text;
}

bool questionRangeAllowed(Operator op, int lo, int hi) {
    return differentQuestions(op, lo, hi) > 0;
}

long long differentQuestions(Operator op, int lo, int hi) {
    const long long width = hi - std::max(lo, 2) + 1;
    if (width <= 0)
        return 0;
    return op == Operator::Subtract ? width * (width - 1) / 2 : width * width;
}

QuestionOperands drawOperandsInRange(Operator op, int lo, int hi) {
    lo = std::max(lo, 2);
    if (op == Operator::Subtract) {
        // Uniform over the pairs lo <= b < a <= hi.
        for (;;) {
            const int a = randomBetween(lo, hi);
            const int b = randomBetween(lo, hi);
            if (a != b)
                return {std::max(a, b), std::min(a, b)};
        }
    }
    return {randomBetween(lo, hi), randomBetween(lo, hi)};
}

} // namespace drillpad
