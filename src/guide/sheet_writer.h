#pragma once

#include "question/question.h"
#include "question/question_settings.h"

#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace drillpad {

// How one section of the sheet is written. The mixed section has no single
// operator: its questions combine three operands with two of + - × ÷.
struct SectionLayout {
    QuestionType type;
    const char *heading;
    std::optional<Operator> op;
    int perLine;
};

inline constexpr SectionLayout kSheetSections[] = {
    {QuestionType::Add, "加法题:", Operator::Add, 9},
    {QuestionType::Minus, "减法题:", Operator::Subtract, 9},
    {QuestionType::Mul, "乘法题:", Operator::Multiply, 8},
    {QuestionType::Devition, "除法题:", Operator::Divide, 8},
    {QuestionType::Mix, "四则混合运算题:", std::nullopt, 6},
};

// Whether a ticked type's range allows a question: operands are drawn from
// max(2, from) to `to`.
bool sectionRangeAllowed(const SectionLayout &section, int from, int to);

// One question as the sheet writes it ("7+3=　"), and for a question whose
// result is asked of an addition, subtraction or multiplication, its two
// numbers for the 竖式.
struct WrittenQuestion {
    QString text;
    std::optional<Operator> verticalOp;
    long long top = 0;
    long long bottom = 0;
};

// What was written for one ticked type.
struct SectionSummary {
    QuestionType type = QuestionType::Add;
    int count = 0;
    // How many different questions the range holds (for a wide mixed range:
    // at least this many).
    long long different = 0;
    // The answers of the questions in the order written: the number the
    // pupil writes (for a blank, the missing operand; for a division, the
    // quotient).
    std::vector<long long> answers;
    // The questions one by one, when asked for.
    std::vector<WrittenQuestion> questions;

    // The count is more than the range holds, so questions come back.
    bool repeats() const { return different < count; }
};

struct Sheet {
    QString text;
    std::vector<SectionSummary> sections; // the ticked types, in order
};

// The sheet for the settings, as makeSheetText describes. Each question of a
// single operation is drawn from the questions that meet the type's rules
// (QuestionPool), each with the same chance. Within a section no question
// comes back while the range holds others; when the count is more than the
// range holds, each question appears at most ⌈count / different⌉ times and
// never twice in a row.
// With `keepQuestions`, each section lists its questions as well.
Sheet makeSheet(const SheetSettings &settings, bool keepQuestions = false);

// The whole sheet text for the settings: for each ticked type, in the order
// above, a line feed, the heading, a line feed, the questions with a line
// feed after every full line, and two closing line feeds. Operands of a type
// are drawn from max(2, from) to `to` (for division: the divisor and the
// quotient). The settings must have been checked (counts from 0, a question
// possible in each ticked range under its rules).
QString makeSheetText(const SheetSettings &settings);

} // namespace drillpad
