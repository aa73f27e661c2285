#pragma once

#include "question/mixed_question.h"

#include <optional>

namespace drillpad {

// Whether the question is a bracketed four-operation question a sheet asks
// for the range: operands in max(2, lo)..hi, brackets that change the order
// of work ((a+b)×c, (a-b)÷c, a-(b+c), a-(b-c), a÷(b×c), a÷(b÷c), a×(b+c),
// a×(b-c), a÷(b+c), a÷(b-c)), every step exact and not negative, a bracket
// that is not 0 where it is multiplied or divided by, and not 1 where it
// divides.
bool isSheetBracketedQuestion(const MixedQuestion &question, int lo, int hi);

// Draws such a question: the shape uniformly from those the range allows,
// then the operands step by step, each from the values that still leave a
// question. Nothing when the range allows none.
std::optional<MixedQuestion> drawBracketedQuestion(int lo, int hi, const DrawBetween &draw);
std::optional<MixedQuestion> drawBracketedQuestion(int lo, int hi);

// How many such questions the range holds; for a range of 32 numbers or
// more, width³ (fewer than there are).
long long differentBracketedQuestions(int lo, int hi);

} // namespace drillpad
