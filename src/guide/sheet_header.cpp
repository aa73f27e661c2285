#include "guide/sheet_header.h"

namespace drillpad {

namespace {

// 三号 for the title, 小四 for the line, in the font of the sheet.
constexpr int kTitleHalfPoints = 32;
constexpr int kLineHalfPoints = 24;

RtfParagraph headerParagraph(const QString &text, int halfPoints, bool bold,
                             RtfAlignment alignment) {
    RtfCharFormat format;
    format.family = QStringLiteral("宋体");
    format.halfPoints = halfPoints;
    format.bold = bold;
    RtfParagraph paragraph;
    paragraph.alignment = alignment;
    paragraph.markFormat = format;
    paragraph.append(text, format);
    return paragraph;
}

} // namespace

std::vector<RtfParagraph> makeSheetHeader(bool nameLine, const QString &title) {
    std::vector<RtfParagraph> header;
    if (!title.trimmed().isEmpty())
        header.push_back(
            headerParagraph(title.trimmed(), kTitleHalfPoints, true, RtfAlignment::Centre));
    if (nameLine)
        header.push_back(headerParagraph(QString::fromUtf8(kNameLine), kLineHalfPoints, false,
                                         RtfAlignment::Left));
    return header;
}

} // namespace drillpad
