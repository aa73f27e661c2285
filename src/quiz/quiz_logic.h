#pragma once

#include "question/question.h"

#include <QList>
#include <QLocale>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

namespace drillpad::quiz {

// One quiz question: its text such as "3+4=" and the exact text a right
// answer must equal.
struct QuizQuestion {
    QString text;
    QString answer;

    friend bool operator==(const QuizQuestion &, const QuizQuestion &) = default;
};

// The operand source: the decimal text of a whole number from 1 to n.
using DrawFunction = std::function<QString(std::int16_t)>;

// The largest upper bound the quiz accepts, and the smallest for an operator:
// division needs two factors greater than 1, the others allow 1.
inline constexpr int kMaxBound = 32767;
int quizMinimumBound(Operator op);

// Draws one question of `op` with operands from max(1, from) to n, each
// drawn by its own call of `draw` (an operand is the draw from 1 to the
// width of the range, shifted up to its start). Subtraction puts the larger
// operand first; division draws factor pairs until both exceed 1 and then
// lets a draw from 1 to 10 pick the divisor. Answers are computed in 64-bit
// arithmetic. A bound outside the operator's range, or a start above it,
// gives an empty question (the redrawing could never end).
QuizQuestion drawQuizQuestion(Operator op, int from, int n, const DrawFunction &draw);
QuizQuestion drawQuizQuestion(Operator op, int n, const DrawFunction &draw);
QuizQuestion drawQuizQuestion(Operator op, int from, int n);

// The upper bound typed into "到", read as a number in the C or the given
// locale's format and rounded half to even. A text that is not a number or
// that rounds outside the operator's range is refused with a message that
// names the allowed range.
struct BoundCheck {
    std::optional<int> bound;
    QString message; // empty when accepted
};
BoundCheck parseBound(const QString &text, Operator op, const QLocale &locale);

// The lower bound typed into "从", read like the upper one: a number from 0
// up to the accepted upper bound `to`, or refused with a message naming that
// range.
BoundCheck parseFrom(const QString &text, int to, const QLocale &locale);

// A typed answer as it is judged: blanks around it dropped and full-width
// digits (as a Chinese input method types them) read as ordinary ones;
// nothing else is converted.
QString answerAsRead(const QString &typed);

// Whether a typed answer, as read, is the expected one: 07, +7 and 7.0 stay
// wrong where 7 is expected, and so does an answer of blanks alone.
bool isRightAnswer(const QString &typed, const QString &expected);

// The operation of a question text such as "7×3=", by its glyph.
std::optional<Operator> operatorOfQuestion(const QString &question);

// The questions of a redo in the order they are asked: each once, none empty,
// shuffled.
QList<QuizQuestion> redoOrder(const QList<QuizQuestion> &questions);

// The operator code all the questions share, or empty when they mix.
QString sharedOperationCode(const QList<QuizQuestion> &questions);

// Rounds to the nearest whole number, halves to the even one.
double roundHalfEven(double value);

// The history line of one judged answer, such as "1.  3+4=7       √".
QString historyLine(std::int64_t total, const QString &question, const QString &answer, bool right);

// right ÷ total × 100 in floating point, division first; total must be > 0.
double ratePercent(std::int64_t right, std::int64_t total);

// The rate as the locale writes it, with two decimals (66.67 or 66,67).
QString rateText(double percent, const QLocale &locale);

// The score: right ÷ total × 100 rounded half to even, computed exactly so
// that halves are recognised; 0 when nothing has been judged.
int scoreOf(std::int64_t right, std::int64_t total);

// The graded comment for a score: a border belongs to the higher band.
QString commentFor(int score);

// Texts the quiz shows.
inline constexpr const char *kSkippedAnswer = "此题跳过";
inline constexpr const char *kAnswerHint = "请输入答案...";

} // namespace drillpad::quiz
