#pragma once

#include "question/question.h"

#include <QString>

#include <array>
#include <functional>
#include <optional>

namespace drillpad {

// A four-operation question of three operands and two operators, such as
// 12+3×4=　 or 36÷4-5=　, read with the usual precedence: × and ÷ before + and
// -, otherwise left to right.
struct MixedQuestion {
    std::array<int, 3> operands{};
    std::array<Operator, 2> operators{};

    friend bool operator==(const MixedQuestion &, const MixedQuestion &) = default;
};

// The value of the question, or nothing when it is not a fair question for a
// pupil: an intermediate or the final result below 0, or a division that
// leaves a remainder (or divides by 0).
std::optional<long long> evaluateMixed(const MixedQuestion &question);

// Draws a whole number from lo to hi inclusive (lo <= hi).
using DrawBetween = std::function<int(int, int)>;

// Whether a mixed question with every operand in max(2, lo)..hi exists.
bool mixedRangeAllowed(int lo, int hi);

// Draws a mixed question whose three operands lie in max(2, lo)..hi and for
// which evaluateMixed gives a value. The operators are drawn from + - × ÷ and
// the operands are built to fit them (divisions are made exact by drawing
// the divisor first). Always ends: an operator pair that cannot be filled in
// this range is drawn again a bounded number of times, and then the question
// falls back to two additions, which fit any range. Nothing when the range
// allows no question at all.
std::optional<MixedQuestion> drawMixedQuestion(int lo, int hi, const DrawBetween &draw);
std::optional<MixedQuestion> drawMixedQuestion(int lo, int hi);

// Appends "a○b○c=　" with the printed glyphs and the ideographic answer gap.
void appendMixedQuestion(QString &out, const MixedQuestion &question);

// One mixed question as sheet text; empty when the range allows none.
QString makeMixedQuestion(int lo, int hi);

} // namespace drillpad
