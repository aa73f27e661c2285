#include "question/question_settings.h"

#include "question/question.h"

#include <QStringList>

namespace drillpad {

SheetSettings SheetSettings::initial() {
    SheetSettings settings;
    settings[QuestionType::Mul].selected = true;
    return settings;
}

SheetSettings SheetSettings::withRulesOf(const SheetSettings &rules) const {
    SheetSettings merged = rules;
    for (int i = 0; i < kQuestionTypeCount; ++i) {
        merged.types[i].selected = types[i].selected;
        merged.types[i].from = types[i].from;
        merged.types[i].to = types[i].to;
        merged.types[i].count = types[i].count;
    }
    return merged;
}

int formsAskedFor(AskFor askFor, int operands) {
    switch (askFor) {
    case AskFor::Result:
        return 1;
    case AskFor::Unknown:
        return operands;
    case AskFor::Both:
        return operands + 1;
    }
    return 1;
}

QString questionTypeName(QuestionType type) {
    switch (type) {
    case QuestionType::Add:
        return QStringLiteral("加法");
    case QuestionType::Minus:
        return QStringLiteral("减法");
    case QuestionType::Mul:
        return QStringLiteral("乘法");
    case QuestionType::Devition:
        return QStringLiteral("除法");
    case QuestionType::Mix:
        return QStringLiteral("四则混合运算");
    }
    return QString();
}

std::optional<int> parseWholeNumber(const QString &text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    int value = 0;
    for (const QChar ch : trimmed) {
        const std::optional<int> digit = digitValue(ch);
        if (!digit)
            return std::nullopt;
        value = value * 10 + *digit;
        if (value > kLargestEntry)
            return std::nullopt;
    }
    return value;
}

namespace {

// The short names of the types and fields in the text form.
constexpr const char *kTypeKeys[] = {"add", "minus", "mul", "div", "mix"};

// Every field as a whole number: enumerations by their value, flags as 0/1.
int get(const TypeSettings &t, int field) {
    switch (field) {
    case 0:
        return t.selected;
    case 1:
        return t.from;
    case 2:
        return t.to;
    case 3:
        return t.count;
    case 4:
        return static_cast<int>(t.carry);
    case 5:
        return t.resultLowest;
    case 6:
        return t.resultHighest;
    case 7:
        return static_cast<int>(t.remainder);
    case 8:
        return t.oneDigitFactor;
    case 9:
        return t.brackets;
    case 10:
        return static_cast<int>(t.askFor);
    }
    return 0;
}

// Sets a field from its text form; values outside an enumeration are skipped.
void set(TypeSettings &t, int field, int v) {
    const bool inEnum = v >= 0 && v <= 2;
    switch (field) {
    case 0:
        t.selected = v != 0;
        break;
    case 1:
        t.from = v;
        break;
    case 2:
        t.to = v;
        break;
    case 3:
        t.count = v;
        break;
    case 4:
        if (inEnum)
            t.carry = static_cast<Carry>(v);
        break;
    case 5:
        t.resultLowest = v;
        break;
    case 6:
        t.resultHighest = v;
        break;
    case 7:
        if (inEnum)
            t.remainder = static_cast<Remainder>(v);
        break;
    case 8:
        t.oneDigitFactor = v != 0;
        break;
    case 9:
        t.brackets = v != 0;
        break;
    case 10:
        if (inEnum)
            t.askFor = static_cast<AskFor>(v);
        break;
    }
}

constexpr const char *kFieldKeys[] = {"on",   "from", "to",     "count",    "carry", "low",
                                      "high", "rem",  "digit1", "brackets", "ask"};
constexpr int kFieldCount = 11;

} // namespace

QString settingsToText(const SheetSettings &settings) {
    QStringList pairs;
    const TypeSettings defaults;
    for (int type = 0; type < kQuestionTypeCount; ++type) {
        for (int field = 0; field < kFieldCount; ++field) {
            const int value = get(settings.types[type], field);
            // Ticks, ranges and counts always; rules only where set.
            if (field < 4 || value != get(defaults, field))
                pairs << QStringLiteral("%1.%2=%3")
                             .arg(QLatin1String(kTypeKeys[type]), QLatin1String(kFieldKeys[field]))
                             .arg(value);
        }
    }
    pairs << QStringLiteral("blank=%1").arg(static_cast<int>(settings.blank));
    return pairs.join(u';');
}

SheetSettings settingsFromText(const QString &text) {
    SheetSettings settings;
    for (const QString &pair : text.split(u';', Qt::SkipEmptyParts)) {
        const qsizetype equals = pair.indexOf(u'=');
        if (equals < 0)
            continue;
        const QString key = pair.left(equals).trimmed();
        bool ok = false;
        const int value = pair.mid(equals + 1).trimmed().toInt(&ok);
        if (!ok)
            continue;
        if (key == u"blank") {
            if (value == 0 || value == 1)
                settings.blank = static_cast<BlankStyle>(value);
            continue;
        }
        for (int type = 0; type < kQuestionTypeCount; ++type) {
            for (int field = 0; field < kFieldCount; ++field) {
                if (key == QLatin1String(kTypeKeys[type]) + u'.' + QLatin1String(kFieldKeys[field]))
                    set(settings.types[type], field, value);
            }
        }
    }
    return settings;
}

namespace {

// One type of a preset: ticked with a range, a count and rules.
TypeSettings ticked(int from, int to, int count) {
    TypeSettings type;
    type.selected = true;
    type.from = from;
    type.to = to;
    type.count = count;
    return type;
}

Preset preset(const char *name,
              std::initializer_list<std::pair<QuestionType, TypeSettings>> types) {
    Preset result{QString::fromUtf8(name), {}};
    for (const auto &[type, settings] : types)
        result.settings[type] = settings;
    return result;
}

std::vector<Preset> makeBuiltInPresets() {
    using enum QuestionType;
    // Within 20: the sum at most 20, each addend of one digit as first
    // graders learn it (9+8, 7+5).
    TypeSettings add20 = ticked(0, 9, 50);
    add20.carry = Carry::Required;
    add20.resultHighest = 20;
    // 20以内退位减法: 11..18 minus one digit, always borrowing (15-7).
    TypeSettings minus20 = ticked(0, 18, 50);
    minus20.carry = Carry::Required;
    minus20.resultHighest = 9;
    TypeSettings add10 = ticked(0, 9, 25);
    add10.resultHighest = 10;
    TypeSettings minus10 = ticked(0, 10, 25);
    TypeSettings add100 = ticked(0, 99, 50);
    add100.resultHighest = 100;
    TypeSettings add100None = add100;
    add100None.carry = Carry::None;
    TypeSettings add100Carry = add100;
    add100Carry.carry = Carry::Required;
    TypeSettings minus100 = ticked(0, 100, 50);
    TypeSettings minus100None = minus100;
    minus100None.carry = Carry::None;
    TypeSettings minus100Borrow = minus100;
    minus100Borrow.carry = Carry::Required;
    TypeSettings tableMul = ticked(0, 9, 40);
    TypeSettings tableDiv = ticked(0, 9, 40);
    TypeSettings remainderDiv = ticked(0, 9, 40);
    remainderDiv.remainder = Remainder::Required;
    TypeSettings twoByOne = ticked(0, 99, 40);
    twoByOne.oneDigitFactor = true;
    TypeSettings bracketMix = ticked(0, 20, 30);
    bracketMix.brackets = true;
    return {
        preset("10以内加减法", {{Add, add10}, {Minus, minus10}}),
        preset("20以内进位加法", {{Add, add20}}),
        preset("20以内退位减法", {{Minus, minus20}}),
        preset("100以内不进位加法", {{Add, add100None}}),
        preset("100以内不退位减法", {{Minus, minus100None}}),
        preset("100以内进位加法", {{Add, add100Carry}}),
        preset("100以内退位减法", {{Minus, minus100Borrow}}),
        preset("表内乘法", {{Mul, tableMul}}),
        preset("表内除法", {{Devition, tableDiv}}),
        preset("有余数的除法", {{Devition, remainderDiv}}),
        preset("两位数乘一位数", {{Mul, twoByOne}}),
        preset("带括号的四则混合运算", {{Mix, bracketMix}}),
    };
}

} // namespace

const std::vector<Preset> &builtInPresets() {
    static const std::vector<Preset> presets = makeBuiltInPresets();
    return presets;
}

std::optional<Preset> builtInPreset(const QString &name) {
    for (const Preset &p : builtInPresets()) {
        if (p.name == name)
            return p;
    }
    return std::nullopt;
}

bool presetNameAllowed(const QString &name) {
    const QString trimmed = name.trimmed();
    return !trimmed.isEmpty() && trimmed.size() <= kLongestPresetName && !builtInPreset(trimmed);
}

} // namespace drillpad
