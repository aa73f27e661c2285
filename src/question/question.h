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

// The ideographic space that ends every question on a sheet.
inline constexpr char16_t kAnswerGap = u'\u3000';

// The smallest upper bound for which a question of the operator exists:
// 3 for subtraction, 2 for the others.
int minimumBound(Operator op);

// One sheet question such as "7+3=　", drawn with operands in 2..n by
// redrawing both operands until they are acceptable. An unknown operator code
// gives an empty text, and so does a bound too small for the operator (the
// redrawing could never end); callers check bounds before calling.
QString MakeQuestion(const QString &operatorCode, std::int16_t n);
QString makeQuestion(Operator op, std::int16_t n);

// The same with both operands drawn directly from lo..hi (2 <= lo). Returns
// an empty text when no question exists in that range.
QString makeQuestionInRange(Operator op, int lo, int hi);

// Whether a question of the operator exists with operands in lo..hi.
bool questionRangeAllowed(Operator op, int lo, int hi);

// Appends "a<glyph>b=　" to `out` without intermediate strings.
void appendQuestion(QString &out, long long a, Operator op, long long b, bool withGap = true);

} // namespace drillpad
