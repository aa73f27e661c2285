#pragma once

#include "guide/sheet_writer.h"
#include "question/question_settings.h"
#include "rtf/rtf_document.h"

#include <QString>

#include <vector>

namespace drillpad {

// "第N套" above each set of a sheet of several, "第N套答案" above its answers.
QString setHeading(int set);
QString setAnswersHeading(int set);

// The print sizes, in half points: 12, 16 (大字) and 20 pt (特大).
int halfPointsOf(PrintSize size);
// The line spacing in percent of single spacing.
int percentOf(LineSpacing spacing);

// How many questions of a section fit side by side in `textWidth` twips at
// `halfPoints`, at most `wanted`: a column is as wide as the section's
// widest question, with room after it. Written in 竖式, a question is as
// wide as its longer number and the operator.
int columnsThatFit(int wanted, const std::vector<WrittenQuestion> &questions, int halfPoints,
                   int textWidth, bool vertical);

// A sheet laid out on its pages, as rich text.
struct LaidOutSheet {
    RtfDocument document;
    // Each set as makeSheet wrote it: its plain text and its questions.
    std::vector<Sheet> sets;
};

// The sheet for the settings, each set drawn anew by makeSheet with the
// layout's print size and line spacing. A set is its sections, each a
// heading and lines of questions in columns at tab stops, or in 竖式 as rows
// of a borderless table whose cells hold a question each: the first number,
// the operator before the second with a line under it, and room for the
// answer, right-aligned. Divisions and mixed questions stay in a line. A
// line that would take a page past 每页题数 starts a new page (with its
// section's heading when it is the section's first). With several sets,
// each starts a page with "第N套", and after all of them each set's
// answers follow on a new page under "第N套答案". The header is the layout's
// on every page.
LaidOutSheet layOutSheet(const SheetSettings &settings);

} // namespace drillpad
