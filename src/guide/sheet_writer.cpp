#include "guide/sheet_writer.h"

#include "question/mixed_question.h"
#include "question/no_repeats.h"
#include "question/question_pool.h"

#include <algorithm>

namespace drillpad {

namespace {

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

void writeMixedSection(QString &sheet, const TypeSettings &type, BlankStyle blank,
                       SectionSummary &summary) {
    const MixedSection section =
        drawMixedSection(type.from, type.to, type.count, type.brackets, type.askFor);
    summary.different = section.different;
    appendLines(sheet, section.questions, kSheetSections[4].perLine, [&](const MixedQuestion &q) {
        appendMixedQuestion(sheet, q, blank);
        summary.answers.push_back(mixedAnswer(q));
    });
}

void writeSection(QString &sheet, const SectionLayout &section, const TypeSettings &type,
                  BlankStyle blank, SectionSummary &summary) {
    summary.count = std::max(type.count, 0);
    summary.answers.reserve(static_cast<std::size_t>(summary.count));
    if (!section.op) {
        writeMixedSection(sheet, type, blank, summary);
        return;
    }
    const QuestionPool pool(*section.op, type);
    summary.different = pool.size();
    const auto questions = drawWithoutRepeats<PoolQuestion>(
        type.count, summary.different, [&] { return pool.draw(); },
        [](const PoolQuestion &q) { return keyOf(q); });
    appendLines(sheet, questions, section.perLine, [&](const PoolQuestion &q) {
        appendPoolQuestion(sheet, q, blank);
        summary.answers.push_back(missingNumber(q));
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
            expected += static_cast<qsizetype>(type.count) * 20 + 16;
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
        writeSection(sheet.text, section, type, settings.blank, sheet.sections.back());
        sheet.text += QLatin1String("\n\n");
    }
    return sheet;
}

QString makeSheetText(const SheetSettings &settings) {
    return makeSheet(settings).text;
}

} // namespace drillpad
