#include "guide/sheet_writer.h"

#include "question/mixed_question.h"

namespace drillpad {

SheetSettings SheetSettings::initial() {
    SheetSettings settings;
    settings[QuestionType::Mul].selected = true;
    return settings;
}

namespace {

QString drawQuestion(const SectionLayout &section, const TypeSettings &type) {
    if (!section.op)
        return makeMixedQuestion(type.from, type.to);
    const Operator op = *section.op;
    if (type.from <= 2) {
        // The generator's own range, 2..to.
        return makeQuestion(op, static_cast<std::int16_t>(type.to));
    }
    return makeQuestionInRange(op, type.from, type.to);
}

} // namespace

bool sectionRangeAllowed(const SectionLayout &section, int from, int to) {
    return section.op ? questionRangeAllowed(*section.op, from, to) : mixedRangeAllowed(from, to);
}

QString makeSheetText(const SheetSettings &settings) {
    qsizetype expected = 0;
    for (const SectionLayout &section : kSheetSections) {
        const TypeSettings &type = settings[section.type];
        if (type.selected && type.count > 0)
            expected += static_cast<qsizetype>(type.count) * 16 + 16;
    }
    QString sheet;
    sheet.reserve(expected);

    for (const SectionLayout &section : kSheetSections) {
        const TypeSettings &type = settings[section.type];
        if (!type.selected)
            continue;
        sheet += QChar(u'\n');
        sheet += QString::fromUtf8(section.heading);
        sheet += QChar(u'\n');
        for (int i = 1; i <= type.count; ++i) {
            sheet += drawQuestion(section, type);
            if (i % section.perLine == 0)
                sheet += QChar(u'\n');
        }
        sheet += QLatin1String("\n\n");
    }
    return sheet;
}

} // namespace drillpad
