#include "guide/sheet_layout.h"

#include "guide/sheet_header.h"
#include "question/answer_key.h"

#include <QStringList>

#include <algorithm>

namespace drillpad {

namespace {

// A digit, a Latin letter or sign takes about this share of the print's
// height; Chinese and full-width characters all of it.
constexpr double kNarrowShare = 0.6;
// Twips per half point of the print's size: a full-width character.
constexpr int kTwipsPerHalfPoint = 10;
// Most 竖式 side by side when the layout leaves it to the type.
constexpr int kVerticalColumns = 5;
// A figure space keeps the operator left of the wider first number.
constexpr QChar kFigureSpace = u'\u2007';

double emsOf(const QString &text) {
    double ems = 0;
    for (const QChar c : text)
        ems += c.unicode() < 0x80 ? kNarrowShare : 1.0;
    return ems;
}

QString verticalLine(const WrittenQuestion &question) {
    const QString top = QString::number(question.top);
    const QString bottom = QString::number(question.bottom);
    const qsizetype pad = std::max<qsizetype>(0, top.size() - bottom.size());
    return operatorGlyph(*question.verticalOp) + QString(pad + 1, kFigureSpace) + bottom;
}

class SheetBuilder {
public:
    explicit SheetBuilder(const SheetSettings &settings) : layout_(settings.layout) {
        format_.halfPoints = halfPointsOf(layout_.printSize);
        rtf_.header = makeSheetHeader(layout_.header, layout_.title);
    }

    void addSet(const Sheet &set, int number) {
        if (layout_.sets > 1) {
            paragraph(setHeading(number)).pageBreakBefore = number > 1;
            onPage_ = 0;
        }
        for (const SectionSummary &section : set.sections) {
            const SectionLayout &kind = *std::find_if(
                std::begin(kSheetSections), std::end(kSheetSections),
                [&section](const SectionLayout &s) { return s.type == section.type; });
            paragraph(QString());
            heading_ = rtf_.paragraphs.size();
            paragraph(QString::fromUtf8(kind.heading));
            addQuestions(section, kind);
            paragraph(QString());
        }
    }

    void addAnswers(const Sheet &set, int number) {
        paragraph(setAnswersHeading(number)).pageBreakBefore = true;
        const AnswerKey key = makeAnswerKey(set.text.split(u'\n'));
        for (std::size_t i = 1; i < key.lines.size(); ++i)
            paragraph(key.lines[i].text);
    }

    RtfDocument take() { return std::move(rtf_); }

private:
    RtfParagraph &paragraph(const QString &text) {
        RtfParagraph &added = rtf_.paragraphs.emplace_back();
        added.markFormat = format_;
        added.lineSpacing = percentOf(layout_.lineSpacing);
        added.append(text, format_);
        return added;
    }

    // A new page before the line about to be written when it would take
    // this one past 每页题数; before its heading when it is the first line.
    void breakPageFor(int questions, std::size_t lineStart) {
        if (layout_.perPage > 0 && onPage_ > 0 && onPage_ + questions > layout_.perPage) {
            const bool first = lineStart == heading_ + 1;
            rtf_.paragraphs[first ? heading_ : lineStart].pageBreakBefore = true;
            onPage_ = 0;
        }
        onPage_ += questions;
    }

    void addQuestions(const SectionSummary &section, const SectionLayout &kind) {
        const int textWidth = rtf_.page.textWidth();
        const bool vertical =
            layout_.vertical && std::all_of(section.questions.begin(), section.questions.end(),
                                            [](const WrittenQuestion &question) {
                                                return question.verticalOp.has_value();
                                            });
        const int wanted =
            layout_.perLine > 0 ? layout_.perLine : (vertical ? kVerticalColumns : kind.perLine);
        const int columns =
            columnsThatFit(wanted, section.questions, format_.halfPoints, textWidth, vertical);
        const int cellWidth = textWidth / columns;
        const auto &questions = section.questions;
        for (std::size_t first = 0; first < questions.size(); first += std::size_t(columns)) {
            const std::size_t end = std::min(questions.size(), first + std::size_t(columns));
            const std::size_t lineStart = rtf_.paragraphs.size();
            if (vertical)
                addVerticalRow(questions, first, end, columns, cellWidth);
            else
                addLine(questions, first, end, columns, cellWidth);
            breakPageFor(static_cast<int>(end - first), lineStart);
        }
    }

    void addLine(const std::vector<WrittenQuestion> &questions, std::size_t first, std::size_t end,
                 int columns, int cellWidth) {
        QString text;
        for (std::size_t i = first; i < end; ++i) {
            if (i > first)
                text += u'\t';
            text += questions[i].text;
        }
        RtfParagraph &line = paragraph(text);
        for (int column = 1; column < columns; ++column)
            line.tabStops.push_back({column * cellWidth, false});
    }

    void addVerticalRow(const std::vector<WrittenQuestion> &questions, std::size_t first,
                        std::size_t end, int columns, int cellWidth) {
        const int row = static_cast<int>(rtf_.rows.size());
        rtf_.rows.push_back({std::vector<int>(std::size_t(columns), cellWidth), true});
        RtfCharFormat ruled = format_;
        ruled.underline = true;
        // Right-aligned, clear of the next block by a character's width.
        const int gap = format_.halfPoints * kTwipsPerHalfPoint;
        for (int column = 0; column < columns; ++column) {
            const std::size_t i = first + std::size_t(column);
            const auto cellParagraph = [&](const QString &text, const RtfCharFormat &format) {
                RtfParagraph &p = paragraph(QString());
                p.append(text, format);
                p.alignment = RtfAlignment::Right;
                p.rightIndent = gap;
                p.row = row;
                p.cell = column;
            };
            if (i >= end) { // an empty cell keeps the row's columns
                cellParagraph(QString(), format_);
                continue;
            }
            cellParagraph(QString::number(questions[i].top), format_);
            cellParagraph(verticalLine(questions[i]), ruled);
            cellParagraph(QString(), format_); // the answer
            cellParagraph(QString(), format_); // room before the next row
        }
    }

    const SheetLayout &layout_;
    RtfCharFormat format_;
    RtfDocument rtf_;
    std::size_t heading_ = 0;
    int onPage_ = 0;
};

} // namespace

QString setHeading(int set) {
    return QStringLiteral("第%1套").arg(set);
}

QString setAnswersHeading(int set) {
    return QStringLiteral("第%1套答案").arg(set);
}

int halfPointsOf(PrintSize size) {
    switch (size) {
    case PrintSize::Large:
        return 32;
    case PrintSize::ExtraLarge:
        return 40;
    case PrintSize::Standard:
        break;
    }
    return 18; // the editor's own 9 pt, in which a plain sheet is written
}

int percentOf(LineSpacing spacing) {
    switch (spacing) {
    case LineSpacing::OneAndHalf:
        return 150;
    case LineSpacing::Double:
        return 200;
    case LineSpacing::Single:
        break;
    }
    return 100;
}

int columnsThatFit(int wanted, const std::vector<WrittenQuestion> &questions, int halfPoints,
                   int textWidth, bool vertical) {
    double widest = 0;
    for (const WrittenQuestion &question : questions) {
        const double ems = vertical ? emsOf(verticalLine(question)) + 1 : emsOf(question.text);
        widest = std::max(widest, ems);
    }
    // Room after the question: its answer gap and half a character more.
    const double columnTwips = (widest + 0.5) * halfPoints * kTwipsPerHalfPoint;
    const int fit = columnTwips > 0 ? static_cast<int>(textWidth / columnTwips) : wanted;
    return std::clamp(std::min(wanted, fit), 1, std::max(1, wanted));
}

LaidOutSheet layOutSheet(const SheetSettings &settings) {
    LaidOutSheet sheet;
    SheetBuilder builder(settings);
    const int sets = std::clamp(settings.layout.sets, 1, kMostSets);
    for (int set = 1; set <= sets; ++set) {
        sheet.sets.push_back(makeSheet(settings, true));
        builder.addSet(sheet.sets.back(), set);
    }
    if (sets > 1) {
        for (int set = 1; set <= sets; ++set)
            builder.addAnswers(sheet.sets[std::size_t(set - 1)], set);
    }
    sheet.document = builder.take();
    return sheet;
}

} // namespace drillpad
