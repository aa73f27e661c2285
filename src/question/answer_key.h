#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <vector>

namespace drillpad {

// The heading of the answer section.
inline constexpr char16_t kAnswerKeyHeading[] = u"答案:";

// The answer to the question text before an "=", such as "7×9" or
// "12+6÷3": whole numbers joined by + - × ÷ (also * and /, and their
// full-width forms), × and ÷ before + and -, otherwise left to right. A single
// division that leaves a remainder is answered as a pupil writes it,
// "7÷2" → "3……1". Nothing when the text is not such a question or has no
// whole-number answer (a division by 0, an inexact division within a longer
// question, numbers too large to work out).
std::optional<QString> answerOf(QStringView question);

// One line of the answer section and the sheet line it repeats (-1 for the
// section's own heading).
struct AnswerLine {
    int sourceLine = -1;
    QString text;
};

struct AnswerKey {
    // The heading "答案:" first; empty when the sheet has no question.
    std::vector<AnswerLine> lines;
    int answered = 0;
    // Questions that were recognised as questions but could not be answered
    // ("7×=", "8÷0="); they are repeated without an answer.
    int leftOut = 0;

    // The lines joined by line feeds.
    QString text() const;
};

// Reads the questions in the lines of a sheet and writes the answer section:
// the heading, then every line that holds questions, repeated with the answer
// written after each "=" (an answer already written there is replaced), and
// every heading (a line ending in a colon) that has questions under it. The
// empty lines between them are kept; other text is skipped.
AnswerKey makeAnswerKey(const QStringList &sheetLines);

} // namespace drillpad
