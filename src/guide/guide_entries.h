#pragma once

#include "guide/sheet_writer.h"

#include <QString>

#include <array>
#include <optional>
#include <variant>

namespace drillpad {

// The entry fields of one question type on the wizard's pages 2 and 3, and
// the type's rules of "出题设置".
enum class GuideField { From, To, Count, Rules };

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

// One line for each section of the sheet that had to repeat questions:
// "减法范围内只有1道不同的题"; empty when none did.
QString repeatNote(const Sheet &sheet);

// Converts and checks the entries of every ticked type, in the order of the
// types and, within a type, from, to, count: each must be a whole number
// from 0 to 32767, "to" at least 2 (3 for subtraction), and the range must
// allow a question, under the type's rules in `rules` (those of "出题设置").
// Unticked types are not read. The first entry that fails is reported. The
// result is `rules` with the entries' ticks, ranges and counts.
std::variant<SheetSettings, EntryError> checkGuideEntries(const GuideEntries &entries,
                                                          const SheetSettings &rules = {});

} // namespace drillpad
