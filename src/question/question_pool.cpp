#include "question/question_pool.h"

#include "question/random.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace drillpad {

namespace {

constexpr int kColumns = 5; // every operand is below 10^5
constexpr long long kPow10[kColumns + 1] = {1, 10, 100, 1000, 10000, 100000};

int digitOf(long long value, int column) {
    return static_cast<int>(value / kPow10[column] % 10);
}

using Second = QuestionPool::SecondOperands;

// How many numbers 0..x have every digit at or below the column's bound.
long long digitsAtMostUpTo(long long x, const Second &s) {
    if (x < 0)
        return 0;
    int digits[kColumns];
    for (int column = 0; column < kColumns; ++column, x /= 10)
        digits[column] = static_cast<int>(x % 10); // a constant divisor: no division
    long long count = 0;
    for (int column = kColumns - 1; column >= 0; --column) {
        const int digit = digits[column];
        count += std::min(digit, s.digitMax[column] + 1) * s.below[column];
        if (digit > s.digitMax[column])
            return count;
    }
    return count + 1; // x itself
}

// The choices of the columns under each column, once the bounds are set.
void setBelow(Second &s) {
    long long product = 1;
    for (int column = 0; column < kColumns; ++column) {
        s.below[column] = product;
        product *= s.digitMax[column] + 1;
    }
}

// How many of the second operands are at most x; `bounded` is the count of
// digit-bounded numbers below s.lo.
long long countUpTo(const Second &s, long long x, long long bounded) {
    x = std::min(x, s.hi);
    if (x < s.lo)
        return 0;
    const long long all = x - s.lo + 1;
    switch (s.rule) {
    case Second::Rule::All:
        return all;
    case Second::Rule::DigitsAtMost:
        return digitsAtMostUpTo(x, s) - bounded;
    case Second::Rule::DigitsAbove:
        return all - (digitsAtMostUpTo(x, s) - bounded);
    case Second::Rule::Mask: {
        const unsigned upTo = (2u << x) - 1u; // x <= 9 here
        const unsigned from = (1u << s.lo) - 1u;
        return std::popcount(static_cast<unsigned>(s.mask) & upTo & ~from);
    }
    }
    return 0;
}

long long countAll(const Second &s) {
    return countUpTo(s, s.hi, digitsAtMostUpTo(s.lo - 1, s));
}

// The n-th (from 0) of the numbers 0, 1, 2, ... that are not digit-bounded,
// found column by column from the top: a block of 10^column numbers under a
// prefix that is still bounded holds below[column] bounded ones, any other
// block none.
long long nthNotBounded(long long n, const Second &s) {
    long long value = 0;
    for (int column = kColumns - 1; column >= 0; --column) {
        const long long block = kPow10[column];
        for (int digit = 0; digit <= 9; ++digit) {
            const bool bounded = digit <= s.digitMax[column];
            const long long others = bounded ? block - s.below[column] : block;
            if (n >= others) {
                n -= others;
                continue;
            }
            value += digit * block;
            if (!bounded)
                return value + n; // every number of the block counts
            break;
        }
    }
    return value;
}

// The k-th second operand (from 0).
long long kthSecond(const Second &s, long long k) {
    if (s.rule == Second::Rule::All)
        return s.lo + k;
    const long long bounded = digitsAtMostUpTo(s.lo - 1, s);
    if (s.rule == Second::Rule::DigitsAtMost) {
        // In increasing order the digit-bounded numbers count in a mixed
        // radix, each column's digit running 0..bound: the n-th is read off.
        const long long n = bounded + k;
        long long value = 0;
        for (int column = 0; column < kColumns; ++column)
            value += n / s.below[column] % (s.digitMax[column] + 1) * kPow10[column];
        return value;
    }
    if (s.rule == Second::Rule::DigitsAbove) // past the others below s.lo
        return nthNotBounded(k + s.lo - bounded, s);
    // A mask of one-digit numbers: its k-th number from s.lo.
    for (long long d = s.lo; d <= s.hi; ++d) {
        if ((s.mask >> d & 1) && k-- == 0)
            return d;
    }
    return s.hi;
}

// Whether a×d carries in some column, worked digit by digit (d of one digit).
bool multiplicationCarries(long long a, int d) {
    int carry = 0;
    for (; a > 0; a /= 10) {
        const int column = static_cast<int>(a % 10) * d + carry;
        if (column >= 10)
            return true;
        carry = column / 10;
    }
    return false;
}

// The digit bounds of a number with no carry or borrow against `first`.
void setDigitBounds(Second &s, long long first, int (*boundOf)(int digit)) {
    for (int column = 0; column < kColumns; ++column)
        s.digitMax[column] = static_cast<std::uint8_t>(boundOf(digitOf(first, column)));
}

Second::Rule digitRule(Carry carry) {
    switch (carry) {
    case Carry::Any:
        return Second::Rule::All;
    case Carry::Required:
        return Second::Rule::DigitsAbove;
    case Carry::None:
        return Second::Rule::DigitsAtMost;
    }
    return Second::Rule::All;
}

// The index within the forms asked for, as a form.
QuestionForm formAt(AskFor askFor, long long index) {
    const int offset = askFor == AskFor::Unknown ? 1 : 0;
    return static_cast<QuestionForm>(index + offset);
}

// A uniform whole number 0..n-1 for n up to about 2^40.
long long drawIndex(long long n) {
    return std::min(n - 1, static_cast<long long>(std::floor(drawUnit() * static_cast<double>(n))));
}

} // namespace

QuestionPool::QuestionPool(Operator op, const TypeSettings &settings)
    : op_(op), settings_(settings), lo_(std::max(settings.from, 2)), hi_(settings.to),
      forms_(formsAskedFor(settings.askFor, 2)) {
    if (op_ == Operator::Divide) {
        quotientLo_ = std::max<long long>(lo_, settings_.resultLowest);
        quotientHi_ = std::min<long long>(hi_, settings_.resultHighest);
    }
    const int width = std::max(hi_ - lo_ + 1, 0);
    running_.resize(static_cast<std::size_t>(width) + 1);
    for (int i = 0; i < width; ++i)
        running_[i + 1] = running_[i] + weightOf(lo_ + i);
    total_ = running_.back();
}

QuestionPool::SecondOperands QuestionPool::secondOperands(int first) const {
    Second s;
    const long long a = first;
    const long long lowest = settings_.resultLowest;
    const long long highest = settings_.resultHighest;
    switch (op_) {
    case Operator::Add:
        s.lo = std::max<long long>(lo_, lowest - a);
        s.hi = std::min<long long>(hi_, highest - a);
        s.rule = digitRule(settings_.carry);
        setDigitBounds(s, a, [](int digit) { return 9 - digit; });
        break;
    case Operator::Subtract:
        // The larger first: the difference is at least 1.
        s.lo = std::max<long long>(lo_, a - highest);
        s.hi = std::min<long long>({hi_, a - 1, a - lowest});
        s.rule = digitRule(settings_.carry);
        setDigitBounds(s, a, [](int digit) { return digit; });
        break;
    case Operator::Multiply: {
        s.lo = lo_;
        s.hi = std::min<long long>(hi_, highest / a);
        if (!settings_.oneDigitFactor && settings_.carry == Carry::Any)
            break;
        if (a <= 9) {
            // A one-digit first factor: the second has several digits and
            // carries where one of its digits times a is 10 or more.
            s.lo = std::max<long long>(s.lo, 10);
            s.rule = digitRule(settings_.carry);
            const int digitMax = static_cast<int>(9 / a);
            for (std::uint8_t &bound : s.digitMax)
                bound = static_cast<std::uint8_t>(digitMax);
        } else {
            s.hi = std::min<long long>(s.hi, 9);
            s.rule = Second::Rule::Mask;
            for (int d = 2; d <= 9; ++d) {
                const bool carries = multiplicationCarries(a, d);
                if (settings_.carry == Carry::Any ||
                    carries == (settings_.carry == Carry::Required))
                    s.mask = static_cast<std::uint16_t>(s.mask | (1u << d));
            }
        }
        break;
    }
    case Operator::Divide:
        break;
    }
    setBelow(s);
    return s;
}

long long QuestionPool::weightOf(int first) const {
    if (op_ == Operator::Divide) {
        const long long quotients = std::max(quotientHi_ - quotientLo_ + 1, 0LL);
        switch (settings_.remainder) {
        case Remainder::None:
            return quotients;
        case Remainder::Required:
            return quotients * (first - 1);
        case Remainder::Any:
            return quotients * first;
        }
        return 0;
    }
    return countAll(secondOperands(first));
}

PoolQuestion QuestionPool::at(long long index) const {
    PoolQuestion question;
    question.op = op_;
    question.form = formAt(settings_.askFor, index % forms_);
    const long long pair = index / forms_;
    const auto after = std::upper_bound(running_.begin(), running_.end(), pair);
    const auto offset = static_cast<int>(after - running_.begin()) - 1;
    const int first = lo_ + offset;
    const long long k = pair - running_[static_cast<std::size_t>(offset)];
    if (op_ == Operator::Divide) {
        const long long remainders = settings_.remainder == Remainder::None       ? 1
                                     : settings_.remainder == Remainder::Required ? first - 1
                                                                                  : first;
        const long long lowestRemainder = settings_.remainder == Remainder::Required ? 1 : 0;
        question.b = first;
        question.a = static_cast<int>(quotientLo_ + k / remainders);
        question.remainder = static_cast<int>(lowestRemainder + k % remainders);
        return question;
    }
    question.a = first;
    question.b = static_cast<int>(kthSecond(secondOperands(first), k));
    return question;
}

PoolQuestion QuestionPool::draw() const {
    return at(drawIndex(size()));
}

long long firstNumber(const PoolQuestion &q) {
    return q.op == Operator::Divide ? static_cast<long long>(q.a) * q.b + q.remainder : q.a;
}

long long resultOf(const PoolQuestion &q) {
    return answerOf(q.op, {q.a, q.b});
}

long long missingNumber(const PoolQuestion &q) {
    switch (q.form) {
    case QuestionForm::Result:
        return resultOf(q);
    case QuestionForm::BlankFirst:
        return firstNumber(q);
    case QuestionForm::BlankSecond:
        return q.b;
    }
    return 0;
}

std::uint64_t keyOf(const PoolQuestion &q) {
    // Operands and remainders below 2^15, the form below 4.
    return static_cast<std::uint64_t>(q.a) << 32 | static_cast<std::uint64_t>(q.b) << 17 |
           static_cast<std::uint64_t>(q.remainder) << 2 | static_cast<std::uint64_t>(q.form);
}

QString blankText(BlankStyle style) {
    return style == BlankStyle::Box ? QStringLiteral("□") : QStringLiteral("(\u3000)");
}

namespace {

QString resultText(const PoolQuestion &q) {
    QString text = QString::number(resultOf(q));
    if (q.remainder > 0)
        text += QStringLiteral("……") + QString::number(q.remainder);
    return text;
}

void appendQuestionText(QString &out, const PoolQuestion &q, BlankStyle style, bool withGap) {
    if (q.form == QuestionForm::Result) {
        appendQuestion(out, firstNumber(q), q.op, q.b, withGap);
        return;
    }
    const QString blank = blankText(style);
    out += q.form == QuestionForm::BlankFirst ? blank : QString::number(firstNumber(q));
    out += operatorGlyph(q.op);
    out += q.form == QuestionForm::BlankSecond ? blank : QString::number(q.b);
    out += QLatin1Char('=');
    out += resultText(q);
    if (withGap)
        out += QChar(kAnswerGap);
}

} // namespace

void appendPoolQuestion(QString &out, const PoolQuestion &question, BlankStyle style) {
    appendQuestionText(out, question, style, true);
}

QString quizText(const PoolQuestion &question, BlankStyle style) {
    QString text;
    appendQuestionText(text, question, style, false);
    return text;
}

QString answerText(const PoolQuestion &question) {
    return question.form == QuestionForm::Result ? resultText(question)
                                                 : QString::number(missingNumber(question));
}

std::optional<Operator> operatorOfType(QuestionType type) {
    switch (type) {
    case QuestionType::Add:
        return Operator::Add;
    case QuestionType::Minus:
        return Operator::Subtract;
    case QuestionType::Mul:
        return Operator::Multiply;
    case QuestionType::Devition:
        return Operator::Divide;
    case QuestionType::Mix:
        break;
    }
    return std::nullopt;
}

namespace {

// A rule of a type, with its name in messages and how to lift it.
struct Rule {
    QuestionType type;
    const char *name;
    void (*lift)(TypeSettings &);
};

void liftCarry(TypeSettings &t) {
    t.carry = Carry::Any;
}
void liftResult(TypeSettings &t) {
    t.resultLowest = 0;
    t.resultHighest = kNoLimit;
}
void liftRemainder(TypeSettings &t) {
    t.remainder = Remainder::Any;
}
void liftOneDigit(TypeSettings &t) {
    t.oneDigitFactor = false;
}

constexpr Rule kRules[] = {
    {QuestionType::Add, "进位", liftCarry},
    {QuestionType::Add, "和的范围", liftResult},
    {QuestionType::Minus, "退位", liftCarry},
    {QuestionType::Minus, "差的范围", liftResult},
    {QuestionType::Mul, "进位", liftCarry},
    {QuestionType::Mul, "积的上限", liftResult},
    {QuestionType::Mul, "多位数乘一位数", liftOneDigit},
    {QuestionType::Devition, "余数", liftRemainder},
    {QuestionType::Devition, "商的范围", liftResult},
};

} // namespace

std::optional<QString> noQuestionMessage(QuestionType type, const TypeSettings &settings) {
    const std::optional<Operator> op = operatorOfType(type);
    if (!op || QuestionPool(*op, settings).size() > 0)
        return std::nullopt;
    // The first rule that, lifted alone, leaves a question is the one named;
    // when none does, the rules together or the range are.
    QString setting = QStringLiteral("数字范围");
    for (const Rule &rule : kRules) {
        TypeSettings lifted = settings;
        rule.lift(lifted);
        if (rule.type == type && QuestionPool(*op, lifted).size() > 0) {
            setting = QString::fromUtf8(rule.name);
            break;
        }
    }
    return QStringLiteral("%1：“%2”的设置下没有可出的题，请放宽这项设置或修改数字范围")
        .arg(questionTypeName(type), setting);
}

} // namespace drillpad
