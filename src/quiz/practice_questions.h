#pragma once

#include "question/question_settings.h"
#include "quiz/quiz_logic.h"

#include <QList>
#include <QString>

#include <optional>

namespace drillpad::quiz {

// Why the settings give no quiz: no type ticked, or a ticked type whose range
// and rules leave no question (the message names the type and the setting).
std::optional<QString> practiceProblem(const SheetSettings &settings);

// The questions of a sheet with these settings as the quiz asks them ("7+3=",
// "(　)+3=7", "17÷5=" with the answer "3……2"), each type's count of them
// drawn as the sheet draws them, all in random order. The settings must have
// passed practiceProblem.
QList<QuizQuestion> practiceQuestions(const SheetSettings &settings);

// Whether a typed answer is the expected one (isRightAnswer). A remainder
// may be typed with "……", "…", "...", "。。" or "余" between the quotient and
// the remainder.
bool sameAnswer(const QString &typed, const QString &expected);

} // namespace drillpad::quiz
