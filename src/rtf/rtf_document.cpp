#include "rtf/rtf_document.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <list>
#include <utility>

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

bool RtfPageSetup::usable() const {
    constexpr int kInch = 1440;
    constexpr int kLargestPaper = 22 * kInch;
    const auto within = [](int value, int lowest, int highest) {
        return value >= lowest && value <= highest;
    };
    return within(paperWidth, kInch, kLargestPaper) && within(paperHeight, kInch, kLargestPaper) &&
           marginLeft >= 0 && marginRight >= 0 && marginTop >= 0 && marginBottom >= 0 &&
           within(headerTop, 0, marginTop) && paperWidth - marginLeft - marginRight >= kInch &&
           paperHeight - marginTop - marginBottom >= kInch;
}

int lineTwipsFor(const RtfParagraph &paragraph) {
    int largest = paragraph.markFormat.halfPoints;
    for (const RtfRun &run : paragraph.runs)
        largest = std::max(largest, run.format.halfPoints);
    return std::max(paragraph.lineTwips, kLineTwipsPerHalfPoint * clampHalfPoints(largest));
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

// A block's line height in twips, given what single spacing is for its
// fonts; 0 for single spacing.
int lineTwipsOf(const QTextBlockFormat &format, int singleTwips) {
    const qreal height = format.lineHeight();
    const auto twips = [](qreal value) {
        return static_cast<int>(std::lround(std::clamp(value, 0.0, 1e6)));
    };
    switch (format.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
        return twips(singleTwips * height / 100);
    case QTextBlockFormat::FixedHeight:
    case QTextBlockFormat::MinimumHeight:
        // Qt's heights are pixels of a 96-dpi screen: 15 twips each.
        return twips(height * 15);
    case QTextBlockFormat::LineDistanceHeight:
        return singleTwips + twips(height * 15);
    default:
        return 0;
    }
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
    bool breakAfterPrevious = false;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        RtfParagraph &paragraph = rtf.paragraphs.emplace_back();
        const QTextBlockFormat blockFormat = block.blockFormat();
        paragraph.alignment = alignmentOf(blockFormat.alignment());
        paragraph.pageBreakBefore = breakAfterPrevious || (blockFormat.pageBreakPolicy() &
                                                           QTextFormat::PageBreak_AlwaysBefore);
        breakAfterPrevious = blockFormat.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysAfter;
        paragraph.markFormat = resolve(block.charFormat(), defaultFont);
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.isValid())
                paragraph.append(fragment.text(), resolve(fragment.charFormat(), defaultFont));
        }
        const int single = lineTwipsFor(paragraph);
        paragraph.lineTwips = std::max(single, lineTwipsOf(blockFormat, single));
    }
    return rtf;
}

namespace {

// The editor's formats of the file's formats: a file has few distinct ones,
// and building each anew is most of the cost of filling the document.
class QtFormats {
public:
    explicit QtFormats(const QString &defaultFamily) : defaultFamily_(defaultFamily) {}

    const QTextCharFormat &of(const RtfCharFormat &format) {
        if (!last_ || !(last_->first == format)) {
            auto found = std::find_if(cache_.begin(), cache_.end(), [&format](const auto &entry) {
                return entry.first == format;
            });
            if (found == cache_.end()) {
                if (cache_.size() >= kCacheSize)
                    cache_.pop_front();
                cache_.emplace_back(format, qtFormat(format, defaultFamily_));
                found = std::prev(cache_.end());
            }
            last_ = &*found;
        }
        return last_->second;
    }

private:
    static constexpr std::size_t kCacheSize = 16;
    QString defaultFamily_;
    std::list<std::pair<RtfCharFormat, QTextCharFormat>> cache_;
    const std::pair<RtfCharFormat, QTextCharFormat> *last_ = nullptr;
};

// A paragraph whose one format is also its mark's: a stretch of them goes
// into the document in one piece, as plain text does.
bool isUniform(const RtfParagraph &paragraph) {
    return paragraph.runs.empty() ||
           (paragraph.runs.size() == 1 && paragraph.runs.front().format == paragraph.markFormat);
}

bool sameBlock(const RtfParagraph &a, const RtfParagraph &b) {
    // A joined block takes the format of the block before it, page break
    // included.
    return a.alignment == b.alignment && a.markFormat == b.markFormat &&
           a.lineTwips == b.lineTwips && !a.pageBreakBefore && !b.pageBreakBefore;
}

} // namespace

QTextCursor beginReplacingContent(QTextDocument &document) {
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
    cursor.setBlockFormat(QTextBlockFormat());
    cursor.setBlockCharFormat(QTextCharFormat());
    return cursor;
}

void rtfToTextDocument(const RtfDocument &rtf, QTextDocument &document) {
    QtFormats formats(document.defaultFont().family());
    QTextCursor cursor = beginReplacingContent(document);
    const auto &paragraphs = rtf.paragraphs;
    QString stretch;
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        const RtfParagraph &paragraph = paragraphs[i];
        QTextBlockFormat blockFormat;
        blockFormat.setAlignment(qtAlignment(paragraph.alignment));
        if (paragraph.pageBreakBefore)
            blockFormat.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        if (paragraph.lineTwips > 0)
            blockFormat.setLineHeight(paragraph.lineTwips / 15.0, QTextBlockFormat::MinimumHeight);
        const QTextCharFormat &mark = formats.of(paragraph.markFormat);
        if (i == 0) {
            cursor.setBlockFormat(blockFormat);
            cursor.setBlockCharFormat(mark);
        } else {
            cursor.insertBlock(blockFormat, mark);
        }
        if (!isUniform(paragraph)) {
            for (const RtfRun &run : paragraph.runs)
                cursor.insertText(run.text, formats.of(run.format));
            continue;
        }
        // The following paragraphs alike join this one, separated by
        // paragraph separators, which the cursor turns into blocks of this
        // block's format and this format.
        stretch.clear();
        for (;;) {
            if (!paragraphs[i].runs.empty())
                stretch += paragraphs[i].runs.front().text;
            if (i + 1 == paragraphs.size() || !isUniform(paragraphs[i + 1]) ||
                !sameBlock(paragraph, paragraphs[i + 1]))
                break;
            stretch += QChar::ParagraphSeparator;
            ++i;
        }
        if (!stretch.isEmpty())
            cursor.insertText(stretch, mark);
    }
    cursor.endEditBlock();
}

} // namespace drillpad
