#include "guide/guide_entries.h"

#include "question/question_pool.h"

#include <QStringList>

namespace drillpad {

namespace {

// The smallest "to" that gives a question whatever "from" is.
int smallestTo(const SectionLayout &section) {
    return section.op ? minimumBound(*section.op) : 2;
}

QString wholeNumberMessage(const QString &what, int smallest) {
    return QStringLiteral("%1必须是%2到%3之间的整数").arg(what).arg(smallest).arg(kLargestEntry);
}

} // namespace

QString repeatNote(const Sheet &sheet) {
    QStringList lines;
    for (const SectionSummary &section : sheet.sections) {
        if (section.repeats())
            lines << QStringLiteral("%1范围内只有%2道不同的题")
                         .arg(questionTypeName(section.type))
                         .arg(section.different);
    }
    return lines.join(u'\n');
}

std::variant<SheetSettings, EntryError> checkGuideEntries(const GuideEntries &entries,
                                                          const SheetSettings &rules) {
    SheetSettings settings = rules;
    for (const SectionLayout &section : kSheetSections) {
        const TypeEntries &typeEntries = entries[section.type];
        TypeSettings &type = settings[section.type];
        type.selected = typeEntries.selected;
        if (!type.selected)
            continue;

        const QString name = questionTypeName(section.type);
        const auto refuse = [&](GuideField field, const QString &message) {
            return EntryError{section.type, field, message};
        };
        const std::optional<int> from = parseWholeNumber(typeEntries.from);
        if (!from)
            return refuse(GuideField::From,
                          wholeNumberMessage(name + QStringLiteral("范围的起始数"), 0));
        const std::optional<int> to = parseWholeNumber(typeEntries.to);
        if (!to || *to < smallestTo(section))
            return refuse(GuideField::To, wholeNumberMessage(name + QStringLiteral("范围的结束数"),
                                                             smallestTo(section)));
        if (!sectionRangeAllowed(section, *from, *to)) {
            const QString rule = section.type == QuestionType::Minus
                                     ? QStringLiteral("范围的起始数必须小于结束数")
                                     : QStringLiteral("范围的起始数不能大于结束数");
            return refuse(GuideField::From, name + rule);
        }
        const std::optional<int> count = parseWholeNumber(typeEntries.count);
        if (!count)
            return refuse(GuideField::Count,
                          wholeNumberMessage(name + QStringLiteral("的出题数量"), 0));

        type.from = *from;
        type.to = *to;
        type.count = *count;
        if (const std::optional<QString> message = noQuestionMessage(section.type, type))
            return refuse(GuideField::Rules, *message);
    }
    return settings;
}

} // namespace drillpad
