#include "guide/sheet_writer.h"

#include "question/mixed_question.h"
#include "question/no_repeats.h"

#include <algorithm>

namespace drillpad {

SheetSettings SheetSettings::initial() {
    SheetSettings settings;
    settings[QuestionType::Mul].selected = true;
    return settings;
}

namespace {

std::uint64_t keyOf(QuestionOperands operands) {
    return static_cast<std::uint64_t>(operands.a) << 32 | static_cast<std::uint32_t>(operands.b);
}

// The questions with a line feed after every full line.
template <typename Question, typename Append>
void appendLines(QString &sheet, const std::vector<Question> &questions, int perLine,
                 Append append) {
    int written = 0;
    for (const Question &question : questions) {
        append(question);
        if (++written % perLine == 0)
            sheet += QChar(u'\n');
    }
}

void writeMixedSection(QString &sheet, const TypeSettings &type, SectionSummary &summary) {
    const MixedSection section = drawMixedSection(type.from, type.to, type.count);
    summary.different = section.different;
    appendLines(sheet, section.questions, kSheetSections[4].perLine, [&](const MixedQuestion &q) {
        appendMixedQuestion(sheet, q);
        summary.answers.push_back(*evaluateMixed(q));
    });
}

void writeSection(QString &sheet, const SectionLayout &section, const TypeSettings &type,
                  SectionSummary &summary) {
    summary.count = std::max(type.count, 0);
    summary.answers.reserve(static_cast<std::size_t>(summary.count));
    if (!section.op) {
        writeMixedSection(sheet, type, summary);
        return;
    }
    const Operator op = *section.op;
    summary.different = differentQuestions(op, type.from, type.to);
    const auto draw = [&] {
        // From 2 up the generator's own range, 2..to.
        return type.from <= 2 ? drawOperands(op, static_cast<std::int16_t>(type.to))
                              : drawOperandsInRange(op, type.from, type.to);
    };
    const auto questions = drawWithoutRepeats<QuestionOperands>(
        type.count, summary.different, draw, [](QuestionOperands q) { return keyOf(q); });
    appendLines(sheet, questions, section.perLine, [&](QuestionOperands q) {
        appendQuestion(sheet, op, q);
        summary.answers.push_back(answerOf(op, q));
    });
}

} // namespace

bool sectionRangeAllowed(const SectionLayout &section, int from, int to) {
    return section.op ? questionRangeAllowed(*section.op, from, to) : mixedRangeAllowed(from, to);
}

Sheet makeSheet(const SheetSettings &settings) {
    qsizetype expected = 0;
    for (const SectionLayout &section : kSheetSections) {
        const TypeSettings &type = settings[section.type];
        if (type.selected && type.count > 0)
            expected += static_cast<qsizetype>(type.count) * 16 + 16;
    }
    Sheet sheet;
    sheet.text.reserve(expected);

    for (const SectionLayout &section : kSheetSections) {
        const TypeSettings &type = settings[section.type];
        if (!type.selected)
            continue;
        sheet.text += QChar(u'\n');
        sheet.text += QString::fromUtf8(section.heading);
        sheet.text += QChar(u'\n');
        sheet.sections.emplace_back().type = section.type;
        writeSection(sheet.text, section, type, sheet.sections.back());
        sheet.text += QLatin1String("\n\n");
    }
    return sheet;
}

QString makeSheetText(const SheetSettings &settings) {
    return makeSheet(settings).text;
}

} // namespace drillpad
