#include "question/question.h"

#include "question/random.h"

#include <algorithm>

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

int minimumBound(Operator op) { return op == Operator::Subtract ? 3 : 2; }

namespace {

void appendNumber(QString &out, long long value) {
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
        out.append(QChar(u'-'));
    while (count > 0)
        out.append(QChar(digits[--count]));
}

// The written question for operands a and b: for division a and b are the
// two factors and the dividend a×b is written before the divisor b.
QString formatQuestion(Operator op, long long a, long long b) {
    QString text;
    text.reserve(24);
    if (op == Operator::Divide)
        appendQuestion(text, a * b, op, b);
    else
        appendQuestion(text, a, op, b);
    return text;
}

} // namespace

void appendQuestion(QString &out, long long a, Operator op, long long b, bool withGap) {
    appendNumber(out, a);
    out.append(operatorGlyph(op));
    appendNumber(out, b);
    out.append(QChar(u'='));
    if (withGap)
        out.append(QChar(kAnswerGap));
}

QString MakeQuestion(const QString &operatorCode, std::int16_t n) {
    const std::optional<Operator> op = operatorFromCode(operatorCode);
    if (!op || n < minimumBound(*op))
        return QString();
    for (;;) {
        const long long a = randomUpToValue(n);
        const long long b = randomUpToValue(n);
        if (a <= 1 || b <= 1)
            continue;
        if (*op == Operator::Subtract && a - b <= 0)
            continue;
        return formatQuestion(*op, a, b);
    }
}

bool questionRangeAllowed(Operator op, int lo, int hi) {
    if (lo < 2)
        lo = 2;
    return op == Operator::Subtract ? hi - lo >= 1 : hi >= lo;
}

QString makeQuestionInRange(Operator op, int lo, int hi) {
    lo = std::max(lo, 2);
    if (!questionRangeAllowed(op, lo, hi))
        return QString();
    if (op == Operator::Subtract) {
        // Uniform over the pairs lo <= b < a <= hi.
        for (;;) {
            const long long a = randomBetween(lo, hi);
            const long long b = randomBetween(lo, hi);
            if (a > b)
                return formatQuestion(op, a, b);
        }
    }
    return formatQuestion(op, randomBetween(lo, hi), randomBetween(lo, hi));
}

} // namespace drillpad
