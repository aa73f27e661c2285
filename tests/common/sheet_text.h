#pragma once

#include "question/mixed_question.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace drillpad::testing {

// A question read back from a sheet: "a+b=　" or "a+b×c=　".
struct ReadQuestion {
    QList<long long> operands;
    QString glyphs; // the operator glyphs in order, e.g. "+×"
};

// Reads one question's text, with or without the answer gap after "=".
inline std::optional<ReadQuestion> readQuestion(const QString &text) {
    ReadQuestion question;
    QString digits;
    bool ended = false;
    for (const QChar ch : text) {
        if (ended)
            return ch == QChar(u'\u3000') ? std::optional(question) : std::nullopt;
        if (ch.isDigit() && ch.unicode() < 0x80) {
            digits += ch;
            continue;
        }
        if (digits.isEmpty())
            return std::nullopt;
        question.operands << digits.toLongLong();
        digits.clear();
        if (ch == u'=')
            ended = true;
        else if (QStringLiteral("+-×÷").contains(ch))
            question.glyphs += ch;
        else
            return std::nullopt;
    }
    if (!ended || question.operands.size() != question.glyphs.size() + 1)
        return std::nullopt;
    return question;
}

// A mixed question read back, to be evaluated.
inline MixedQuestion asMixed(const ReadQuestion &read) {
    const auto operatorOf = [](QChar glyph) {
        for (const Operator op :
             {Operator::Add, Operator::Subtract, Operator::Multiply, Operator::Divide}) {
            if (operatorGlyph(op) == glyph)
                return op;
        }
        return Operator::Add;
    };
    return MixedQuestion{
        {int(read.operands.value(0)), int(read.operands.value(1)), int(read.operands.value(2))},
        {operatorOf(read.glyphs.size() > 0 ? read.glyphs[0] : QChar()),
         operatorOf(read.glyphs.size() > 1 ? read.glyphs[1] : QChar())}};
}

// One section of a sheet: its heading and its question lines.
struct SheetSection {
    QString heading;
    QStringList lines;     // the lines of questions, as written
    QStringList questions; // every question, each ending in "=　"
};

// Splits a sheet into its sections. A sheet is, per section: LF, heading,
// LF, lines of questions each ended by LF (the last may be unended), LF LF.
inline QList<SheetSection> readSheet(const QString &sheet) {
    QList<SheetSection> sections;
    const QStringList lines = sheet.split(QChar(u'\n'));
    SheetSection *current = nullptr;
    for (const QString &line : lines) {
        if (line.endsWith(QChar(u':'))) {
            sections.append(SheetSection{line, {}, {}});
            current = &sections.last();
            continue;
        }
        if (line.isEmpty() || !current)
            continue;
        current->lines << line;
        const QStringList parts = line.split(QChar(u'\u3000'), Qt::SkipEmptyParts);
        for (const QString &part : parts)
            current->questions << part + QChar(u'\u3000');
    }
    return sections;
}

// The sheet as it should be written for the sections read, with the given
// questions per line: per section LF, heading, LF, the questions with a LF
// after every full line, LF LF. A test compares it with the sheet itself.
inline QString rebuildSheet(const QList<SheetSection> &sections, const QList<int> &perLine) {
    QString sheet;
    for (qsizetype s = 0; s < sections.size(); ++s) {
        const SheetSection &section = sections[s];
        sheet += QChar(u'\n') + section.heading + QChar(u'\n');
        for (qsizetype i = 0; i < section.questions.size(); ++i) {
            sheet += section.questions[i];
            if ((i + 1) % perLine[s] == 0)
                sheet += QChar(u'\n');
        }
        sheet += QStringLiteral("\n\n");
    }
    return sheet;
}

} // namespace drillpad::testing
