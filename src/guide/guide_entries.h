#pragma once

#include "guide/sheet_writer.h"

#include <QString>

#include <array>
#include <optional>
#include <variant>

namespace drillpad {

// The entry fields of one question type on the wizard's pages 2 and 3.
enum class GuideField { From, To, Count };

// One type's settings as the user left them in the wizard: the tick and the
// three texts, unconverted.
struct TypeEntries {
    bool selected = false;
    QString from;
    QString to;
    QString count;
};

struct GuideEntries {
    std::array<TypeEntries, kQuestionTypeCount> types{};

    TypeEntries &operator[](QuestionType type) { return types[static_cast<int>(type)]; }
    const TypeEntries &operator[](QuestionType type) const { return types[static_cast<int>(type)]; }
};

// An entry that cannot be used, with the message that tells the user which
// type and which field, and what is allowed.
struct EntryError {
    QuestionType type;
    GuideField field;
    QString message;

    friend bool operator==(const EntryError &, const EntryError &) = default;
};

// The largest count and bound the wizard accepts (the 16-bit limit).
inline constexpr int kLargestEntry = 32767;

// The type's name as the user reads it in messages: "加法" ... "四则混合运算".
QString questionTypeName(QuestionType type);

// One line for each section of the sheet that had to repeat questions:
// "减法范围内只有1道不同的题"; empty when none did.
QString repeatNote(const Sheet &sheet);

// A whole number from 0 to 32767, written in decimal digits (ASCII or
// full-width), with blanks around it allowed; nothing for anything else.
std::optional<int> parseWholeNumber(const QString &text);

// Converts and checks the entries of every ticked type, in the order of the
// types and, within a type, from, to, count: each must be a whole number
// from 0 to 32767, "to" at least 2 (3 for subtraction), and the range must
// allow a question. Unticked types are not read. The first entry that fails
// is reported.
std::variant<SheetSettings, EntryError> checkGuideEntries(const GuideEntries &entries);

} // namespace drillpad
