#pragma once

// Reading sheet and quiz questions back and checking them against the
// settings, column by column as a pupil works: an oracle of its own, apart
// from the generator's digit bounds.

#include "question/question_settings.h"

#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <optional>

namespace drillpad::testing {

// The checks below work column by column as a pupil does, independently of
// the generator's digit bounds.
inline bool additionCarries(long long a, long long b) {
    for (int carry = 0; a > 0 || b > 0; a /= 10, b /= 10) {
        carry = static_cast<int>(a % 10 + b % 10) + carry >= 10 ? 1 : 0;
        if (carry)
            return true;
    }
    return false;
}

inline bool subtractionBorrows(long long a, long long b) {
    for (; a > 0 || b > 0; a /= 10, b /= 10) {
        if (a % 10 < b % 10)
            return true;
    }
    return false;
}

// A many-digit number times a one-digit one, column by column.
inline bool multiplicationCarries(long long many, long long one) {
    int carry = 0;
    for (; many > 0; many /= 10) {
        const long long column = many % 10 * one + carry;
        if (column >= 10)
            return true;
        carry = 0;
    }
    return false;
}

inline bool carryMatches(Carry rule, bool carries) {
    return rule == Carry::Any || carries == (rule == Carry::Required);
}

// One question as read back from its text.
struct Read {
    QChar op;
    long long first = 0, second = 0, result = 0, remainder = 0;
    int blank = 0; // 0: the result asked, 1: the first operand, 2: the second
};

// Whether the question meets every setting of the type; `why` says what not.
inline bool meets(const Read &q, const TypeSettings &t, QString &why) {
    const long long lo = std::max(t.from, 2), hi = t.to;
    const auto fail = [&](const char *what) {
        why = QString::fromUtf8(what);
        return false;
    };
    const long long low = t.resultLowest, high = t.resultHighest;
    if (q.op == u'+') {
        if (q.first < lo || q.first > hi || q.second < lo || q.second > hi)
            return fail("operand range");
        if (q.result != q.first + q.second || q.result < low || q.result > high)
            return fail("sum");
        return carryMatches(t.carry, additionCarries(q.first, q.second)) || fail("carry");
    }
    if (q.op == u'-') {
        if (q.first > hi || q.second < lo || q.second >= q.first)
            return fail("operand range");
        if (q.result != q.first - q.second || q.result < low || q.result > high)
            return fail("difference");
        return carryMatches(t.carry, subtractionBorrows(q.first, q.second)) || fail("borrow");
    }
    if (q.op == u'×') {
        if (q.first < lo || q.first > hi || q.second < lo || q.second > hi)
            return fail("operand range");
        if (q.result != q.first * q.second || q.result > high)
            return fail("product");
        if (t.carry == Carry::Any && !t.oneDigitFactor)
            return true;
        const long long one = std::min(q.first, q.second), many = std::max(q.first, q.second);
        if (one > 9 || many < 10)
            return fail("not many digits times one");
        return carryMatches(t.carry, multiplicationCarries(many, one)) || fail("carry");
    }
    // Division: the quotient and the divisor in the range.
    if (q.second < lo || q.second > hi || q.result < std::max(lo, low) ||
        q.result > std::min(hi, high))
        return fail("divisor or quotient");
    if (q.first != q.result * q.second + q.remainder || q.remainder >= q.second)
        return fail("dividend");
    const bool allowed =
        t.remainder == Remainder::Any || (t.remainder == Remainder::None) == (q.remainder == 0);
    return allowed || fail("remainder");
}

inline const QString kParen = QStringLiteral("(\u3000)");
inline const QString kBox = QStringLiteral("□");

// Reads "7+3=", "(　)+3=7", "17÷5=3……2" or "□÷5=3……2"; the numbers of a
// result question come from the operands.
inline std::optional<Read> readQuestion(const QString &text) {
    static const QRegularExpression shape(QStringLiteral(
        "^(\\d+|\\(\u3000\\)|□)([-+×÷])(\\d+|\\(\u3000\\)|□)=(?:(\\d+)(?:……(\\d+))?)?$"));
    const QRegularExpressionMatch m = shape.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    Read q;
    q.op = m.captured(2).at(0);
    const bool blankFirst = !m.captured(1).at(0).isDigit();
    const bool blankSecond = !m.captured(3).at(0).isDigit();
    q.blank = blankFirst ? 1 : blankSecond ? 2 : 0;
    if ((q.blank == 0) == m.hasCaptured(4) || (blankFirst && blankSecond))
        return std::nullopt;
    q.first = m.captured(1).toLongLong();
    q.second = m.captured(3).toLongLong();
    q.result = m.captured(4).toLongLong();
    q.remainder = m.captured(5).toLongLong();
    if (q.blank == 0) { // worked out here, as the pupil would
        switch (q.op.unicode()) {
        case u'+':
            q.result = q.first + q.second;
            break;
        case u'-':
            q.result = q.first - q.second;
            break;
        case u'×':
            q.result = q.first * q.second;
            break;
        default:
            q.result = q.first / q.second;
            q.remainder = q.first % q.second;
        }
    } else if (q.blank == 1) {
        const long long other = q.second, r = q.result;
        q.first = q.op == u'+'   ? r - other
                  : q.op == u'-' ? r + other
                  : q.op == u'×' ? r / other
                                 : r * other + q.remainder;
    } else {
        const long long other = q.first, r = q.result;
        q.second = q.op == u'+'   ? r - other
                   : q.op == u'-' ? other - r
                   : q.op == u'×' ? r / other
                                  : (other - q.remainder) / r;
    }
    return q;
}

// The questions of a sheet line: each ends in the answer gap, and a blank
// "(　)" holds one too.
inline QStringList splitQuestions(const QString &line) {
    static const QRegularExpression gap(QStringLiteral("(?<!\\()\u3000"));
    return line.split(gap, Qt::SkipEmptyParts);
}

} // namespace drillpad::testing
