#pragma once

#include "question/no_repeats.h"
#include "question/question.h"
#include "question/question_settings.h"

#include <QString>

#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace drillpad {

// A four-operation question of three operands and two operators, such as
// 12+3×4=　 or 36÷4-5=　, read with the usual precedence: × and ÷ before + and
// -, otherwise left to right.
struct MixedQuestion {
    std::array<int, 3> operands{};
    std::array<Operator, 2> operators{};
    // The step that precedence would leave for last is worked out first and
    // written in brackets: (a+b)×c, a-(b+c), a÷(b×c).
    bool bracketed = false;
    // The operand left blank for the pupil to find ("(　)+3×4=20"), or
    // kNoBlank when the result is asked.
    int blank = kNoBlank;

    static constexpr int kNoBlank = -1;

    friend bool operator==(const MixedQuestion &, const MixedQuestion &) = default;
};

// The value of the question, or nothing when it is not a fair question for a
// pupil: an intermediate or the final result below 0, or a division that
// leaves a remainder (or divides by 0).
std::optional<long long> evaluateMixed(const MixedQuestion &question);

// The number the pupil writes: the value, or the blank operand. The
// question must have a value.
long long mixedAnswer(const MixedQuestion &question);

// Whether the blank operand is the only whole number that gives the
// question's value with every step exact and not negative. Each step is
// undone in turn; one that multiplies by 0 or divides 0 fits many numbers
// (or none), so it counts as not one answer even in the rare case where
// only one would do ("1÷(　)×0"). Sheet questions, whose operands are 2 or
// more and whose brackets are never 0 where they multiply or divide, have
// no such step.
bool blankHasOneAnswer(const MixedQuestion &question);

// Draws a whole number from lo to hi inclusive (lo <= hi).
using DrawBetween = std::function<int(int, int)>;

// Whether a mixed question with every operand in max(2, lo)..hi exists.
bool mixedRangeAllowed(int lo, int hi);

// Whether a question of the operator pair can be formed in the range. Only
// four pairs need a wide enough range: a-b-c needs hi >= 2·lo, a-b×c, a÷b-c
// and a÷b÷c need hi >= lo² (lo taken as at least 2).
bool mixedPairAllowed(Operator first, Operator second, int lo, int hi);

// Whether the question is one a sheet asks for this range: operands in
// max(2, lo)..hi and a value by evaluateMixed; no division of a number by
// itself (such as 12÷12) where the range holds a division with a quotient
// of 2 or more, nor of a worked-out number (2×3÷6, and 8÷2÷4 where a÷b÷c can
// end in 2 or more); and no answer 0 unless the operator pair gives nothing
// else in this range.
bool isSheetMixedQuestion(const MixedQuestion &question, int lo, int hi);

// Gives the question a form of those askFor allows, each equally likely:
// the result, or one operand blank. False when the blank drawn has not one
// answer; the caller then draws another question, so that every question
// and blank that qualify keep an equal share.
bool drawMixedForm(MixedQuestion &question, AskFor askFor, const DrawBetween &draw);

// Draws a question for which isSheetMixedQuestion holds; every such question
// can be drawn. The operator pair is drawn uniformly from the pairs that can
// be formed in the range; the operands are then built step by step, each
// drawn uniformly from the values that still allow a question (divisions
// are made exact by drawing the divisor and the quotient). Nothing when the
// range allows no question at all.
std::optional<MixedQuestion> drawMixedQuestion(int lo, int hi, const DrawBetween &draw);
std::optional<MixedQuestion> drawMixedQuestion(int lo, int hi);

// How many different questions of each operator pair (indexed first·4 +
// second) drawMixedQuestion gives for the range, counted one by one in a range
// of fewer than 32 numbers. A wider range holds more than any sheet asks for
// (32768 additions a+b+c alone); there a pair that can be formed has
// kUnknownGroupSize.
std::array<long long, 16> mixedPairSizes(int lo, int hi);

// How many different questions drawMixedQuestion gives for the range; for a
// range of 32 numbers or more the lower bound width³.
long long differentMixedQuestions(int lo, int hi);

// A sheet's section of mixed questions: `count` questions without repeats
// (see drawWithoutRepeats), every operator pair that can be formed taking an
// equal share while it has questions left; a pair's questions are drawn as
// drawMixedQuestion draws them. With `brackets`, bracketed questions
// (drawBracketedQuestion) take half the places where the range gives any.
// Each question then takes a form as drawMixedForm gives it for `askFor`.
struct MixedSection {
    std::vector<MixedQuestion> questions;
    // differentMixedQuestions, and differentBracketedQuestions with
    // brackets, times the forms asked for (formsAskedFor)
    long long different = 0;
};
MixedSection drawMixedSection(int lo, int hi, int count, bool brackets = false,
                              AskFor askFor = AskFor::Result);

// Appends "a○b○c=　" (with its brackets, "(a○b)○c=　" or "a○(b○c)=　") with the printed glyphs and
// the ideographic answer gap; with a blank operand, the value after the
// "=": "(　)+3×4=20　", "(□+3)×4=20　".
void appendMixedQuestion(QString &out, const MixedQuestion &question,
                         BlankStyle style = BlankStyle::Parentheses);

// One mixed question as sheet text; empty when the range allows none.
QString makeMixedQuestion(int lo, int hi);

} // namespace drillpad
