#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace drillpad {

// The heading of the answer section.
inline constexpr char16_t kAnswerKeyHeading[] = u"答案:";

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
    // ("7×=", "8÷0=", "1÷3+1=", "0×(　)=0"); they are repeated as they are.
    int leftOut = 0;

    // The lines joined by line feeds.
    QString text() const;
};

// Reads the questions in the lines of a sheet and writes the answer section:
// the heading, then every line that holds questions, repeated with the
// answers written in, and every heading (a line ending in a colon) that has
// questions under it. The empty lines between them are kept; other text is
// skipped.
//
// A question is the text before an "=" back to where the previous one ended:
// numbers joined by + - × ÷ (also * and /, and the full-width forms), with
// brackets, × and ÷ before + and -, otherwise left to right. Numbers may have
// decimals ("1.5") and thousands separators ("1,000"), up to 12 digits; a
// number that is not well formed ("1,00", ".5") makes the question unreadable,
// never a shorter number. Answers are exact: "1.5+2=3.5", "0.5×4=2"; a single
// division of whole numbers that leaves a remainder is answered as a pupil
// writes it, "17÷5=3……2"; a division that does not end, within a question
// ("1÷3+1"), leaves the question out.
//
// The answer goes after the "=", replacing one already written there ("7+3=
// 11", "3-5=-1", "7÷2=3……0"), also inside brackets ("7+3=(　)" → "7+3=(10)")
// or in place of a box ("7+3=□" → "7+3=10"); a question written straight
// after the "=" is kept apart by an answer gap ("3+4=7+5=" → "3+4=7　7+5=12").
// A question with one blank before the "=", "(　)" or "□", and its result
// after it is answered by filling the blank with the missing number as a
// pupil would: "(　)+3=7" → "(4)+3=7", "□+3=7" → "4+3=7", "(　)÷5=3……2" →
// "(17)÷5=3……2"; a missing number that is not a whole number or not the only
// one ("0×(　)=0") leaves the question out.
AnswerKey makeAnswerKey(const QStringList &sheetLines);

// A row of 竖式, as a table's cells hold them (each cell its lines), read as
// the line of questions it stands for: a cell whose first line is a number
// and whose second is + - or × before another number, blanks between them
// aside, is the question "34+25=　"; another cell's lines are kept as text,
// joined by the answer gap; an empty cell adds nothing.
QString verticalRowAsLine(const std::vector<QStringList> &cells);

// The lines of an earlier answer section, after its heading, that the
// section did not write: the indexes of lines with a question still to be
// answered (nothing written after its "=", or a blank to fill), of other
// text, and of headings without answered lines under them. What the section
// wrote, answered lines, their headings and empty lines, is not listed.
std::vector<int> linesAddedToAnswerKey(const QStringList &sectionLines);

} // namespace drillpad
