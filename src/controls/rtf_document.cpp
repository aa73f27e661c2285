#include "controls/rtf_document.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cmath>

namespace drillpad {

void RtfParagraph::append(const QString &text, const RtfCharFormat &format) {
    if (text.isEmpty())
        return;
    if (!runs.empty() && runs.back().format == format)
        runs.back().text += text;
    else
        runs.push_back({text, format});
}

QString RtfDocument::plainText() const {
    QString text;
    for (const RtfParagraph &paragraph : paragraphs) {
        if (&paragraph != &paragraphs.front())
            text += QLatin1Char('\n');
        for (const RtfRun &run : paragraph.runs)
            text += run.text;
    }
    return text;
}

int clampHalfPoints(int halfPoints) {
    return std::clamp(halfPoints, 2 * kMinFontPoints, 2 * kMaxFontPoints);
}

int halfPointsFor(double points) {
    if (!(points > 0)) // also NaN
        return 2 * kMinFontPoints;
    if (points > kMaxFontPoints)
        return 2 * kMaxFontPoints;
    return clampHalfPoints(static_cast<int>(std::lround(points * 2)));
}

namespace {

RtfCharFormat resolve(const QTextCharFormat &format, const QFont &defaultFont) {
    RtfCharFormat result;
    const QStringList families = format.fontFamilies().toStringList();
    result.family = families.isEmpty() ? defaultFont.family() : families.first();
    if (families.size() > 1 && families.at(1) != result.family)
        result.eastAsianFamily = families.at(1);
    const double points =
        format.fontPointSize() > 0 ? format.fontPointSize() : defaultFont.pointSizeF();
    result.halfPoints = halfPointsFor(points > 0 ? points : 12.0);
    // The editor calls a weight bold from QFont::Bold on; so does the file.
    result.bold = format.fontWeight() >= QFont::Bold;
    result.italic = format.fontItalic();
    result.underline = format.fontUnderline();
    return result;
}

RtfAlignment alignmentOf(Qt::Alignment alignment) {
    if (alignment & Qt::AlignHCenter)
        return RtfAlignment::Centre;
    if (alignment & Qt::AlignJustify)
        return RtfAlignment::Justify;
    if (alignment & (Qt::AlignRight | Qt::AlignTrailing))
        return RtfAlignment::Right;
    return RtfAlignment::Left;
}

Qt::Alignment qtAlignment(RtfAlignment alignment) {
    switch (alignment) {
    case RtfAlignment::Centre:
        return Qt::AlignHCenter;
    case RtfAlignment::Right:
        return Qt::AlignRight;
    case RtfAlignment::Justify:
        return Qt::AlignJustify;
    case RtfAlignment::Left:
        break;
    }
    return Qt::AlignLeft;
}

QTextCharFormat qtFormat(const RtfCharFormat &format, const QString &defaultFamily) {
    QTextCharFormat result;
    if (!format.family.isEmpty() || !format.eastAsianFamily.isEmpty()) {
        QStringList families{format.family.isEmpty() ? defaultFamily : format.family};
        if (!format.eastAsianFamily.isEmpty() && format.eastAsianFamily != families.first())
            families << format.eastAsianFamily;
        result.setFontFamilies(families);
    }
    result.setFontPointSize(clampHalfPoints(format.halfPoints) / 2.0);
    result.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
    result.setFontItalic(format.italic);
    result.setFontUnderline(format.underline);
    return result;
}

} // namespace

RtfDocument rtfFromTextDocument(const QTextDocument &document) {
    const QFont defaultFont = document.defaultFont();
    RtfDocument rtf;
    rtf.defaultFamily = defaultFont.family();
    rtf.paragraphs.reserve(static_cast<std::size_t>(document.blockCount()));
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        RtfParagraph &paragraph = rtf.paragraphs.emplace_back();
        paragraph.alignment = alignmentOf(block.blockFormat().alignment());
        paragraph.markFormat = resolve(block.charFormat(), defaultFont);
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.isValid())
                paragraph.append(fragment.text(), resolve(fragment.charFormat(), defaultFont));
        }
    }
    return rtf;
}

void rtfToTextDocument(const RtfDocument &rtf, QTextDocument &document) {
    const QString defaultFamily = document.defaultFont().family();
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
    cursor.setBlockFormat(QTextBlockFormat());
    cursor.setBlockCharFormat(QTextCharFormat());
    bool first = true;
    for (const RtfParagraph &paragraph : rtf.paragraphs) {
        QTextBlockFormat blockFormat;
        blockFormat.setAlignment(qtAlignment(paragraph.alignment));
        const QTextCharFormat mark = qtFormat(paragraph.markFormat, defaultFamily);
        if (first) {
            cursor.setBlockFormat(blockFormat);
            cursor.setBlockCharFormat(mark);
            first = false;
        } else {
            cursor.insertBlock(blockFormat, mark);
        }
        for (const RtfRun &run : paragraph.runs)
            cursor.insertText(run.text, qtFormat(run.format, defaultFamily));
    }
    cursor.endEditBlock();
}

} // namespace drillpad
