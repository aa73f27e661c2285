#include "rtf/rtf_document.h"

#include <QElapsedTimer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <list>
#include <optional>
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
    return a.alignment == b.alignment && a.markFormat == b.markFormat && !a.pageBreakBefore &&
           !b.pageBreakBefore;
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

namespace {

// Plain text goes in a slice of this many characters at a time, and a
// stretch of like paragraphs is cut after this many: either takes a few
// milliseconds.
constexpr qsizetype kTextSlice = 64 * 1024;
constexpr qsizetype kStretchLength = 64 * 1024;

} // namespace

class DocumentFill::Private {
public:
    explicit Private(QTextDocument &document)
        : document_(document), undoStepsBefore_(document.availableUndoSteps()),
          cursor_(beginReplacingContent(document)) {}

    // Puts in the next paragraph, or stretch of paragraphs, or slice of text.
    void fillStep() {
        if (rtf_)
            fillParagraphs();
        else
            fillText();
    }
    bool atEnd() const { return done_ >= total(); }
    qsizetype total() const {
        return rtf_ ? static_cast<qsizetype>(rtf_->paragraphs.size()) : text_.size();
    }

    void end(bool keep) {
        if (!open_)
            return;
        open_ = false;
        cursor_.endEditBlock();
        if (keep || document_.availableUndoSteps() == undoStepsBefore_)
            return;
        document_.undo();
        document_.clearUndoRedoStacks(QTextDocument::RedoStack);
    }

    QTextDocument &document_;
    const int undoStepsBefore_;
    QTextCursor cursor_;
    const RtfDocument *rtf_ = nullptr;
    std::optional<QtFormats> formats_;
    QString text_;
    qsizetype nextFormFeed_ = -1;
    // The line that starts a page is being put in, up to its end.
    bool pageLineOpen_ = false;
    qsizetype pageLineEnd_ = -1;
    qsizetype done_ = 0;
    bool open_ = true;

private:
    void fillParagraphs() {
        const auto &paragraphs = rtf_->paragraphs;
        auto i = static_cast<std::size_t>(done_);
        const RtfParagraph &paragraph = paragraphs[i];
        QTextBlockFormat blockFormat;
        blockFormat.setAlignment(qtAlignment(paragraph.alignment));
        if (paragraph.pageBreakBefore)
            blockFormat.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        const QTextCharFormat &mark = formats_->of(paragraph.markFormat);
        if (i == 0) {
            cursor_.setBlockFormat(blockFormat);
            cursor_.setBlockCharFormat(mark);
        } else {
            cursor_.insertBlock(blockFormat, mark);
        }
        if (!isUniform(paragraph)) {
            for (const RtfRun &run : paragraph.runs)
                cursor_.insertText(run.text, formats_->of(run.format));
            done_ = static_cast<qsizetype>(i + 1);
            return;
        }
        // The following paragraphs alike join this one, separated by
        // paragraph separators, which the cursor turns into blocks of this
        // block's format and this format.
        QString stretch;
        for (;;) {
            if (!paragraphs[i].runs.empty())
                stretch += paragraphs[i].runs.front().text;
            if (i + 1 == paragraphs.size() || !isUniform(paragraphs[i + 1]) ||
                !sameBlock(paragraph, paragraphs[i + 1]) || stretch.size() >= kStretchLength)
                break;
            stretch += QChar::ParagraphSeparator;
            ++i;
        }
        if (!stretch.isEmpty())
            cursor_.insertText(stretch, mark);
        done_ = static_cast<qsizetype>(i + 1);
    }

    // Plain text: a form feed starts a new page with the line it begins.
    void fillText() {
        const QChar next = text_.at(done_);
        if (next == u'\f') {
            QTextBlockFormat startsPage;
            startsPage.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            if (cursor_.block().length() == 1)
                cursor_.setBlockFormat(startsPage);
            else
                cursor_.insertBlock(startsPage, QTextCharFormat());
            pageLineOpen_ = true;
            nextFormFeed_ = text_.indexOf(u'\f', ++done_);
            pageLineEnd_ = text_.indexOf(u'\n', done_);
            return;
        }
        // Only that line starts the page: the next one is a plain block.
        if (pageLineOpen_ && done_ == pageLineEnd_) {
            cursor_.insertBlock(QTextBlockFormat(), QTextCharFormat());
            pageLineOpen_ = false;
            ++done_;
            return;
        }
        qsizetype end = std::min(done_ + kTextSlice, text_.size());
        if (nextFormFeed_ >= 0)
            end = std::min(end, nextFormFeed_);
        if (pageLineOpen_ && pageLineEnd_ >= 0)
            end = std::min(end, pageLineEnd_);
        // A character outside the basic plane stays in one piece.
        if (end < text_.size() && text_.at(end - 1).isHighSurrogate())
            ++end;
        cursor_.insertText(text_.mid(done_, end - done_), QTextCharFormat());
        done_ = end;
    }
};

DocumentFill::DocumentFill(QTextDocument &document, const RtfDocument &rtf)
    : d(std::make_unique<Private>(document)) {
    d->rtf_ = &rtf;
    d->formats_.emplace(document.defaultFont().family());
}

DocumentFill::DocumentFill(QTextDocument &document, const QString &text)
    : d(std::make_unique<Private>(document)) {
    d->text_ = text;
    d->nextFormFeed_ = text.indexOf(u'\f');
    d->cursor_.setCharFormat(QTextCharFormat());
}

// A fill dropped before it was finished leaves nothing half done.
DocumentFill::~DocumentFill() {
    d->end(false);
}

bool DocumentFill::fillFor(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (!d->atEnd()) {
        d->fillStep();
        if (clock.elapsed() >= milliseconds)
            break;
    }
    return d->atEnd();
}

qsizetype DocumentFill::done() const {
    return d->done_;
}

qsizetype DocumentFill::total() const {
    return d->total();
}

void DocumentFill::finish() {
    d->end(true);
}

void DocumentFill::abandon() {
    d->end(false);
}

void rtfToTextDocument(const RtfDocument &rtf, QTextDocument &document) {
    DocumentFill fill(document, rtf);
    fill.fillFor(std::numeric_limits<int>::max());
    fill.finish();
}

} // namespace drillpad
