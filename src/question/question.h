#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace drillpad {

enum class Operator { Add, Subtract, Multiply, Divide };

// "+", "-", "*" or "/"; anything else is no operator.
std::optional<Operator> operatorFromCode(const QString &code);
// The operator's code: "+", "-", "*" or "/".
QString operatorCode(Operator op);
// The glyph printed for the operator: + - × ÷
QChar operatorGlyph(Operator op);

// The value of a decimal digit written in ASCII or in full width (as a
// Chinese input method types it); nothing for any other character.
std::optional<int> digitValue(QChar ch);

// The ideographic space that ends every question on a sheet.
inline constexpr char16_t kAnswerGap = u'\u3000';

// The smallest upper bound for which a question of the operator exists:
// 3 for subtraction, 2 for the others.
int minimumBound(Operator op);

// The two drawn operands of a question. For division they are the quotient
// and the divisor; the dividend a×b is written before the divisor.
struct QuestionOperands {
    int a = 0;
    int b = 0;

    friend bool operator==(const QuestionOperands &, const QuestionOperands &) = default;
};

// The operands of one question in 2..n, drawn by redrawing both until they
// are acceptable (for subtraction the larger first). The bound must be at
// least minimumBound(op).
QuestionOperands drawOperands(Operator op, std::int16_t n);
// The same with both operands drawn directly from max(2, lo)..hi; the range
// must allow a question.
QuestionOperands drawOperandsInRange(Operator op, int lo, int hi);

// How many different questions of the operator have operands in
// max(2, lo)..hi.
long long differentQuestions(Operator op, int lo, int hi);

// The answer: a+b, a-b, a×b, or for division the quotient a.
long long answerOf(Operator op, QuestionOperands operands);

// Appends the question text "a○b=　" for the drawn operands.
void appendQuestion(QString &out, Operator op, QuestionOperands operands);

// One sheet question such as "7+3=　", drawn with operands in 2..n by
// redrawing both operands until they are acceptable. An unknown operator code
// gives an empty text, and so does a bound too small for the operator (the
// redrawing could never end); callers check bounds before calling.
QString MakeQuestion(const QString &operatorCode, std::int16_t n);
QString makeQuestion(Operator op, std::int16_t n);

// Whether a question of the operator exists with operands in lo..hi.
bool questionRangeAllowed(Operator op, int lo, int hi);

// Appends "a<glyph>b=　" to `out` without intermediate strings.
void appendQuestion(QString &out, long long a, Operator op, long long b, bool withGap = true);

} // namespace drillpad
