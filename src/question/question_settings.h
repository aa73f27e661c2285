#pragma once

#include <QString>

#include <array>
#include <limits>
#include <optional>
#include <vector>

namespace drillpad {

// The question types of the wizard, in the order used everywhere.
enum class QuestionType { Add, Minus, Mul, Devition, Mix };
inline constexpr int kQuestionTypeCount = 5;
inline constexpr QuestionType kQuestionTypes[] = {QuestionType::Add, QuestionType::Minus,
                                                  QuestionType::Mul, QuestionType::Devition,
                                                  QuestionType::Mix};

// The type's name as the user reads it in messages: "加法" ... "四则混合运算".
QString questionTypeName(QuestionType type);

// 进位 (addition, and a many-digit number times a one-digit one) or 退位
// (subtraction): whether a column carries or borrows, digit by digit.
enum class Carry { Any, Required, None };
// 余数 of a division: 整除 (no remainder), 有余数, or either.
enum class Remainder { None, Required, Any };
// 题型: the result asked for, one operand left blank, or either.
enum class AskFor { Result, Unknown, Both };
// How many forms 题型 gives each question of `operands` operands: the
// result, one operand blank (each in turn), or either.
int formsAskedFor(AskFor askFor, int operands);
// How a blank operand is written: "(　)" or "□".
enum class BlankStyle { Parentheses, Box };

// The largest count, bound or number the settings accept (the 16-bit limit).
inline constexpr int kLargestEntry = 32767;

// A whole number from 0 to 32767, written in decimal digits (ASCII or
// full-width), with blanks around it allowed; nothing for anything else.
std::optional<int> parseWholeNumber(const QString &text);

// A result bound that is not set.
inline constexpr int kNoLimit = std::numeric_limits<int>::max();

// One type's settings: the wizard's tick, range and count, and the rules a
// question of the type must meet. The defaults give today's questions.
struct TypeSettings {
    bool selected = false;
    int from = 0;
    int to = 9;
    int count = 20;

    Carry carry = Carry::Any;
    // The sum, difference or quotient lies in resultLowest..resultHighest;
    // for multiplication only the highest is used (积不超过).
    int resultLowest = 0;
    int resultHighest = kNoLimit;
    Remainder remainder = Remainder::None; // division
    // Multiplication: one factor of one digit, the other of several.
    bool oneDigitFactor = false;
    bool brackets = false; // the mixed type: 括号可以有
    AskFor askFor = AskFor::Result;

    friend bool operator==(const TypeSettings &, const TypeSettings &) = default;
};

// Everything a sheet is made from, indexed by QuestionType.
struct SheetSettings {
    std::array<TypeSettings, kQuestionTypeCount> types{};
    BlankStyle blank = BlankStyle::Parentheses;

    TypeSettings &operator[](QuestionType type) { return types[static_cast<int>(type)]; }
    const TypeSettings &operator[](QuestionType type) const {
        return types[static_cast<int>(type)];
    }

    // The settings a fresh wizard starts with: only multiplication ticked,
    // from "0", to "9", count "20", and no rule beyond today's.
    static SheetSettings initial();

    // The same ticks, ranges and counts with the rules (and blank) of
    // `rules`.
    SheetSettings withRulesOf(const SheetSettings &rules) const;

    friend bool operator==(const SheetSettings &, const SheetSettings &) = default;
};

// The settings as one line of text, "key=value" pairs joined by ";", and
// read back. Unknown keys are skipped and a missing or unreadable value keeps
// the default, so a line written by an older or newer version still reads.
QString settingsToText(const SheetSettings &settings);
SheetSettings settingsFromText(const QString &text);

// A named set of settings.
struct Preset {
    QString name;
    SheetSettings settings;
};

// The presets every user has, named after what primary classes practise:
// 10以内加减法, 20以内进位加法, ... 带括号的四则混合运算.
const std::vector<Preset> &builtInPresets();
std::optional<Preset> builtInPreset(const QString &name);

// The names a user may give a preset: not empty after trimming, at most
// 30 characters, and not one of the built-in names.
inline constexpr int kLongestPresetName = 30;
bool presetNameAllowed(const QString &name);

} // namespace drillpad
