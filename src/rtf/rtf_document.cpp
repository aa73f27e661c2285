#include "rtf/rtf_document.h"

#include "rtf/rtf_feed.h"

#include <QElapsedTimer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <algorithm>
#include <chrono>
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

bool RtfPage::usable() const {
    constexpr int kInch = 1440;
    constexpr int kLargestPaper = 22 * kInch;
    const auto within = [](int value, int lowest, int highest) {
        return value >= lowest && value <= highest;
    };
    return within(width, kInch, kLargestPaper) && within(height, kInch, kLargestPaper) &&
           marginLeft >= 0 && marginRight >= 0 && marginTop >= 0 && marginBottom >= 0 &&
           within(headerTop, 0, marginTop) && textWidth() >= kInch &&
           height - marginTop - marginBottom >= kInch;
}

int lineTwipsFor(const RtfParagraph &paragraph) {
    int largest = paragraph.markFormat.halfPoints;
    for (const RtfRun &run : paragraph.runs)
        largest = std::max(largest, run.format.halfPoints);
    // Closer lines than single would be as tall as the fonts make them.
    const qint64 spacing = std::clamp(paragraph.lineSpacing, 100, kMaxLineSpacing);
    // Rounded, so that a spacing read back from these twips is itself.
    return static_cast<int>((spacing * kLineTwipsPerHalfPoint * clampHalfPoints(largest) + 50) /
                            100);
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

namespace {

// Properties the document keeps for the file beyond what Qt itself has.
enum Property {
    // A block that only separates a table from what comes before or after
    // it: it holds no paragraph of the file.
    kJointProperty = QTextFormat::UserProperty + 0x4470,
    kKeepRowsProperty, // a table whose rows are never split across pages
    kPageProperty,     // the root frame's: the page as a list of its twips values
    kHeaderProperty,   // the root frame's: the header's paragraphs
};

int twipsOf(qreal pixels) {
    return static_cast<int>(std::lround(pixels * kDocumentTwipsPerPixel));
}

qreal pixelsOf(int twips) {
    return twips / kDocumentTwipsPerPixel;
}

QTextBlockFormat qtBlockFormat(const RtfParagraph &paragraph, LineHeights heights) {
    QTextBlockFormat format;
    format.setAlignment(qtAlignment(paragraph.alignment));
    if (paragraph.pageBreakBefore)
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    if (paragraph.leftIndent != 0)
        format.setLeftMargin(pixelsOf(paragraph.leftIndent));
    if (paragraph.rightIndent != 0)
        format.setRightMargin(pixelsOf(paragraph.rightIndent));
    if (paragraph.firstLineIndent != 0)
        format.setTextIndent(pixelsOf(paragraph.firstLineIndent));
    if (!paragraph.tabStops.empty()) {
        // The editor measures tab stops from the left indent, RTF from the
        // left edge of the text.
        QList<QTextOption::Tab> tabs;
        for (const RtfTabStop &stop : paragraph.tabStops)
            tabs.append(
                QTextOption::Tab(pixelsOf(stop.position - paragraph.leftIndent),
                                 stop.right ? QTextOption::RightTab : QTextOption::LeftTab));
        format.setTabPositions(tabs);
    }
    if (heights == LineHeights::AtLeast)
        format.setLineHeight(pixelsOf(lineTwipsFor(paragraph)), QTextBlockFormat::MinimumHeight);
    else if (paragraph.lineSpacing != 100)
        format.setLineHeight(paragraph.lineSpacing, QTextBlockFormat::ProportionalHeight);
    return format;
}

void readBlockFormat(const QTextBlockFormat &format, RtfParagraph &paragraph) {
    paragraph.alignment = alignmentOf(format.alignment());
    paragraph.leftIndent = twipsOf(format.leftMargin());
    paragraph.rightIndent = twipsOf(format.rightMargin());
    paragraph.firstLineIndent = twipsOf(format.textIndent());
    for (const QTextOption::Tab &tab : format.tabPositions())
        paragraph.tabStops.push_back(
            {twipsOf(tab.position) + paragraph.leftIndent, tab.type == QTextOption::RightTab});
    if (format.lineHeightType() == QTextBlockFormat::ProportionalHeight)
        paragraph.lineSpacing = static_cast<int>(std::lround(format.lineHeight()));
}

// The page's values in the order the root frame keeps them.
constexpr int RtfPage::*kPageFields[] = {
    &RtfPage::width,     &RtfPage::height,       &RtfPage::marginLeft, &RtfPage::marginRight,
    &RtfPage::marginTop, &RtfPage::marginBottom, &RtfPage::headerTop,
};

void setPageAndHeader(QTextDocument &document, const RtfPage &page,
                      const std::vector<RtfParagraph> &header) {
    QList<QVariant> values;
    for (int RtfPage::*field : kPageFields)
        values.append(page.*field);
    QTextFrameFormat format = document.rootFrame()->frameFormat();
    format.setProperty(kPageProperty, values);
    format.setProperty(kHeaderProperty, QVariant::fromValue(header));
    document.rootFrame()->setFrameFormat(format);
}

} // namespace

RtfPage pageOf(const QTextDocument &document) {
    const QList<QVariant> values =
        document.rootFrame()->frameFormat().property(kPageProperty).toList();
    RtfPage page;
    if (values.size() == std::ssize(kPageFields)) {
        for (qsizetype i = 0; i < values.size(); ++i)
            page.*kPageFields[i] = values.at(i).toInt();
    }
    return page;
}

std::vector<RtfParagraph> headerOf(const QTextDocument &document) {
    return document.rootFrame()
        ->frameFormat()
        .property(kHeaderProperty)
        .value<std::vector<RtfParagraph>>();
}

void setHeader(QTextDocument &document, const std::vector<RtfParagraph> &header) {
    setPageAndHeader(document, pageOf(document), header);
}

namespace {

class DocumentReader {
public:
    explicit DocumentReader(const QTextDocument &document) : defaultFont_(document.defaultFont()) {
        rtf_.defaultFamily = defaultFont_.family();
        rtf_.page = pageOf(document);
        rtf_.header = headerOf(document);
        rtf_.paragraphs.reserve(static_cast<std::size_t>(document.blockCount()));
    }

    RtfDocument read(const QTextDocument &document) {
        for (auto it = document.rootFrame()->begin(); !it.atEnd(); ++it) {
            if (const QTextFrame *frame = it.currentFrame()) {
                if (const auto *table = qobject_cast<const QTextTable *>(frame))
                    readTable(document, *table);
                else
                    readBlocks(document, frame->firstPosition(), frame->lastPosition(), -1, 0);
            } else if (!isTableJoint(it.currentBlock())) {
                readBlock(it.currentBlock(), -1, 0);
            }
        }
        return std::move(rtf_);
    }

private:
    void readBlock(const QTextBlock &block, int row, int cell) {
        RtfParagraph &paragraph = rtf_.paragraphs.emplace_back();
        const QTextBlockFormat blockFormat = block.blockFormat();
        readBlockFormat(blockFormat, paragraph);
        paragraph.pageBreakBefore =
            std::exchange(breakPending_, false) ||
            (blockFormat.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
        breakPending_ = blockFormat.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysAfter;
        paragraph.markFormat = resolve(block.charFormat(), defaultFont_);
        paragraph.row = row;
        paragraph.cell = cell;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.isValid())
                paragraph.append(fragment.text(), resolve(fragment.charFormat(), defaultFont_));
        }
    }

    // The blocks between two positions, those of frames inside included.
    void readBlocks(const QTextDocument &document, int first, int last, int row, int cell) {
        for (QTextBlock block = document.findBlock(first);
             block.isValid() && block.position() <= last; block = block.next())
            readBlock(block, row, cell);
    }

    void readTable(const QTextDocument &document, const QTextTable &table) {
        const QTextTableFormat format = table.format();
        const QList<QTextLength> constraints = format.columnWidthConstraints();
        const int columns = table.columns();
        std::vector<int> widths;
        for (int column = 0; column < columns; ++column) {
            const QTextLength length =
                column < constraints.size() ? constraints.at(column) : QTextLength();
            const int evenShare = rtf_.page.textWidth() / std::max(1, columns);
            switch (length.type()) {
            case QTextLength::FixedLength:
                widths.push_back(twipsOf(length.rawValue()));
                break;
            case QTextLength::PercentageLength:
                widths.push_back(
                    static_cast<int>(std::lround(length.rawValue() * rtf_.page.textWidth() / 100)));
                break;
            case QTextLength::VariableLength:
                widths.push_back(evenShare);
                break;
            }
        }
        if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            breakPending_ = true;
        for (int r = 0; r < table.rows(); ++r) {
            const int row = static_cast<int>(rtf_.rows.size());
            rtf_.rows.push_back({widths, format.property(kKeepRowsProperty).toBool()});
            for (int column = 0; column < columns; ++column) {
                const QTextTableCell cell = table.cellAt(r, column);
                if (cell.row() != r || cell.column() != column) {
                    // Covered by a merged cell: an empty cell keeps the place.
                    RtfParagraph &empty = rtf_.paragraphs.emplace_back();
                    empty.row = row;
                    empty.cell = column;
                    continue;
                }
                readBlocks(document, cell.firstPosition(), cell.lastPosition(), row, column);
            }
        }
    }

    QFont defaultFont_;
    RtfDocument rtf_;
    bool breakPending_ = false; // the previous block breaks the page after it
};

} // namespace

bool isTableJoint(const QTextBlock &block) {
    return block.blockFormat().hasProperty(kJointProperty) && block.length() == 1;
}

RtfDocument rtfFromTextDocument(const QTextDocument &document) {
    return DocumentReader(document).read(document);
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
           !b.pageBreakBefore && a.leftIndent == b.leftIndent && a.rightIndent == b.rightIndent &&
           a.firstLineIndent == b.firstLineIndent && a.tabStops == b.tabStops &&
           a.lineSpacing == b.lineSpacing && a.row < 0 && b.row < 0;
}

// More rows in one table make the editor lay the table out at once and
// slowly; tables that follow one another without a gap look as one.
constexpr int kRowsPerTable = 16;

// Plain text goes in a slice of this many characters at a time, and a
// stretch of like paragraphs is cut after this many: either takes a few
// milliseconds.
constexpr qsizetype kTextSlice = 64 * 1024;
constexpr qsizetype kStretchLength = 64 * 1024;

// Writes a document's paragraphs at a cursor, a paragraph, a stretch of like
// paragraphs or a table at a time.
class DocumentWriter {
public:
    DocumentWriter(const RtfDocument &rtf, QTextCursor &cursor, LineHeights heights)
        : rtf_(rtf), heights_(heights), formats_(cursor.document()->defaultFont().family()),
          cursor_(cursor) {
        setPageAndHeader(*cursor.document(), rtf.page, rtf.header);
    }

    // Writes what starts at paragraph `i`; returns the index after it.
    std::size_t writeFrom(std::size_t i) {
        return rtf_.paragraphs[i].row >= 0 ? writeTable(i) : writeParagraphs(i);
    }

private:
    // The block for the next paragraph: the cursor's, while it holds none
    // yet, else a new one.
    void startBlock(QTextCursor &cursor, bool &used, const QTextBlockFormat &format,
                    const QTextCharFormat &mark) {
        if (used) {
            cursor.insertBlock(format, mark);
        } else {
            cursor.setBlockFormat(format);
            cursor.setBlockCharFormat(mark);
            used = true;
        }
    }

    void writeRuns(QTextCursor &cursor, const RtfParagraph &paragraph) {
        for (const RtfRun &run : paragraph.runs)
            cursor.insertText(run.text, formats_.of(run.format));
    }

    // Writes the paragraph at `i`, with the uniform ones alike that follow
    // it; returns the index after them.
    std::size_t writeParagraphs(std::size_t i) {
        const auto &paragraphs = rtf_.paragraphs;
        const RtfParagraph &paragraph = paragraphs[i];
        const QTextCharFormat &mark = formats_.of(paragraph.markFormat);
        bool used = place_ != Place::Fresh;
        startBlock(cursor_, used, qtBlockFormat(paragraph, heights_), mark);
        place_ = Place::Used;
        if (!isUniform(paragraph)) {
            writeRuns(cursor_, paragraph);
            return i + 1;
        }
        // The following paragraphs alike join this one, separated by
        // paragraph separators, which the cursor turns into blocks of this
        // block's format and this format.
        stretch_.clear();
        for (;;) {
            if (!paragraphs[i].runs.empty())
                stretch_ += paragraphs[i].runs.front().text;
            if (i + 1 == paragraphs.size() || !isUniform(paragraphs[i + 1]) ||
                !sameBlock(paragraph, paragraphs[i + 1]) || stretch_.size() >= kStretchLength)
                break;
            stretch_ += QChar::ParagraphSeparator;
            ++i;
        }
        if (!stretch_.isEmpty())
            cursor_.insertText(stretch_, mark);
        return i + 1;
    }

    void markJoint(QTextCursor &cursor) const {
        QTextBlockFormat joint;
        joint.setProperty(kJointProperty, true);
        // On the printed page, as in a word processor, nothing at all.
        if (heights_ == LineHeights::AtLeast)
            joint.setLineHeight(0, QTextBlockFormat::FixedHeight);
        cursor.setBlockFormat(joint);
    }

    int columnsOf(const RtfRow &row) const {
        return std::clamp(static_cast<int>(row.cellWidths.size()), 1, kMaxCellsPerRow);
    }

    // The index after the paragraphs of the row that starts at `i`.
    std::size_t rowEnd(std::size_t i) const {
        const int row = rtf_.paragraphs[i].row;
        while (i < rtf_.paragraphs.size() && rtf_.paragraphs[i].row == row)
            ++i;
        return i;
    }

    const RtfRow &rowAt(std::size_t i) const {
        static const RtfRow kEmpty;
        const int row = rtf_.paragraphs[i].row;
        return row < static_cast<int>(rtf_.rows.size()) ? rtf_.rows[static_cast<std::size_t>(row)]
                                                        : kEmpty;
    }

    // Writes the rows from `i` that form one table; returns the index after
    // their paragraphs.
    std::size_t writeTable(std::size_t i) {
        const auto &paragraphs = rtf_.paragraphs;
        const RtfRow &first = rowAt(i);
        const int columns = columnsOf(first);
        std::vector<std::size_t> rowStarts{i};
        std::size_t end = rowEnd(i);
        while (end < paragraphs.size() && paragraphs[end].row >= 0 &&
               !paragraphs[end].pageBreakBefore && columnsOf(rowAt(end)) == columns &&
               rowStarts.size() < kRowsPerTable) {
            rowStarts.push_back(end);
            end = rowEnd(end);
        }

        QTextTableFormat format;
        format.setBorder(0);
        format.setBorderStyle(QTextFrameFormat::BorderStyle_None);
        format.setCellPadding(0);
        format.setCellSpacing(0);
        format.setMargin(0);
        QList<QTextLength> widths;
        for (int column = 0; column < columns; ++column) {
            const int twips = column < static_cast<int>(first.cellWidths.size())
                                  ? first.cellWidths[static_cast<std::size_t>(column)]
                                  : rtf_.page.textWidth() / columns;
            widths.append(QTextLength(QTextLength::FixedLength, pixelsOf(std::max(twips, 0))));
        }
        format.setColumnWidthConstraints(widths);
        if (paragraphs[i].pageBreakBefore)
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        if (first.keepTogether)
            format.setProperty(kKeepRowsProperty, true);

        // The table stands between two joints, empty blocks that the editor
        // does not show, so that the paragraphs around it show as they do
        // in a word processor.
        if (place_ == Place::Used)
            cursor_.insertBlock(QTextBlockFormat(), QTextCharFormat());
        markJoint(cursor_);
        QTextTable *table =
            cursor_.insertTable(static_cast<int>(rowStarts.size()), columns, format);
        for (std::size_t r = 0; r < rowStarts.size(); ++r) {
            const std::size_t rowFinish = r + 1 < rowStarts.size() ? rowStarts[r + 1] : end;
            int filledUpTo = -1; // the last cell that has a paragraph
            QTextCursor cell;
            for (std::size_t p = rowStarts[r]; p < rowFinish; ++p) {
                const RtfParagraph &paragraph = paragraphs[p];
                const int column = std::clamp(paragraph.cell, 0, columns - 1);
                bool used = column <= filledUpTo;
                if (!used)
                    cell = table->cellAt(static_cast<int>(r), column).firstCursorPosition();
                filledUpTo = std::max(filledUpTo, column);
                // Beyond the last cell, or back in an earlier one: the text
                // joins the cell the cursor is in.
                startBlock(cell, used, qtBlockFormat(paragraph, heights_),
                           formats_.of(paragraph.markFormat));
                writeRuns(cell, paragraph);
            }
        }
        cursor_ = table->lastCursorPosition();
        cursor_.movePosition(QTextCursor::NextBlock);
        markJoint(cursor_);
        place_ = Place::Joint;
        return end;
    }

    const RtfDocument &rtf_;
    LineHeights heights_;
    QtFormats formats_;
    QTextCursor &cursor_;
    // The cursor's block: the document's first, still empty; one that holds
    // a paragraph; or the joint after a table.
    enum class Place { Fresh, Used, Joint } place_ = Place::Fresh;
    QString stretch_;
};

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

class DocumentFill::Private {
public:
    explicit Private(QTextDocument &document)
        : document_(document), undoStepsBefore_(document.availableUndoSteps()),
          cursor_(beginReplacingContent(document)) {}

    // Puts in the next paragraph, or stretch of paragraphs, or slice of
    // text; from a feed with nothing to put in, waits for it at most
    // `wait` milliseconds.
    void fillStep(int wait) {
        if (feed_ && !fed_ && done_ >= paragraphs()) {
            take();
            if (done_ >= paragraphs() && !fed_) {
                feed_->waitForNews(std::chrono::milliseconds(wait));
                take();
            }
            if (done_ >= paragraphs())
                return;
        }
        if (rtf_)
            fillParagraphs();
        else
            fillText();
    }
    bool atEnd() const { return (!feed_ || fed_) && done_ >= paragraphsOrCharacters(); }
    qsizetype paragraphs() const { return static_cast<qsizetype>(rtf_->paragraphs.size()); }
    qsizetype paragraphsOrCharacters() const { return rtf_ ? paragraphs() : text_.size(); }
    // A feed tells how far the reading is, in bytes: the bytes up to the
    // last piece taken count as the share of that piece filled in. Scaling
    // all bytes read by the share of all paragraphs would go back whenever
    // a piece has fewer bytes per paragraph than what came before it (a
    // long font table, say). A file handed over whole at the end counts in
    // paragraphs.
    qsizetype total() const {
        return feed_ && feed_->bytesTotal() > 0 ? feed_->bytesTotal() : paragraphsOrCharacters();
    }
    qsizetype done() const {
        if (!feed_ || feed_->bytesTotal() == 0)
            return done_;
        const qsizetype bytesInPiece = feed_->bytesTaken() - bytesBefore_;
        const qsizetype paragraphsInPiece = paragraphs() - paragraphsBefore_;
        return bytesBefore_ + (paragraphsInPiece == 0 ? bytesInPiece
                                                      : bytesInPiece * (done_ - paragraphsBefore_) /
                                                            paragraphsInPiece);
    }

    void end(bool keep) {
        if (!open_)
            return;
        open_ = false;
        keep = keep && feedOk_;
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
    // Filled from a feed: what came of it, whether all of it came, and
    // whether the file was read whole.
    RtfFeed *feed_ = nullptr;
    RtfDocument fromFeed_;
    bool fed_ = false;
    bool feedOk_ = true;
    // Where the piece being filled in starts: bytes read, paragraphs.
    qsizetype bytesBefore_ = 0;
    qsizetype paragraphsBefore_ = 0;
    std::optional<DocumentWriter> writer_;
    QString text_;
    qsizetype nextFormFeed_ = -1;
    // The line that starts a page is being put in, up to its end.
    bool pageLineOpen_ = false;
    qsizetype pageLineEnd_ = -1;
    qsizetype done_ = 0;
    bool open_ = true;

private:
    // Called once all that was taken is filled in.
    void take() {
        bytesBefore_ = feed_->bytesTaken();
        paragraphsBefore_ = paragraphs();
        if (!feed_->take(fromFeed_, feedOk_))
            return;
        fed_ = true;
        if (feedOk_)
            setPageAndHeader(document_, fromFeed_.page, fromFeed_.header);
    }

    void fillParagraphs() {
        done_ = static_cast<qsizetype>(writer_->writeFrom(static_cast<std::size_t>(done_)));
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

DocumentFill::DocumentFill(QTextDocument &document, const RtfDocument &rtf, LineHeights heights)
    : d(std::make_unique<Private>(document)) {
    d->rtf_ = &rtf;
    d->writer_.emplace(rtf, d->cursor_, heights);
}

DocumentFill::DocumentFill(QTextDocument &document, RtfFeed &feed)
    : d(std::make_unique<Private>(document)) {
    d->feed_ = &feed;
    d->rtf_ = &d->fromFeed_;
    d->writer_.emplace(d->fromFeed_, d->cursor_, LineHeights::AsSpaced);
}

DocumentFill::DocumentFill(QTextDocument &document, const QString &text,
                           const std::vector<RtfParagraph> &header)
    : d(std::make_unique<Private>(document)) {
    setHeader(document, header);
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
        d->fillStep(static_cast<int>(std::max<qint64>(0, milliseconds - clock.elapsed())));
        if (clock.elapsed() >= milliseconds)
            break;
    }
    return d->atEnd();
}

qsizetype DocumentFill::done() const {
    return d->done();
}

qsizetype DocumentFill::total() const {
    return d->total();
}

bool DocumentFill::finish() {
    d->end(true);
    return d->feedOk_;
}

void DocumentFill::abandon() {
    d->end(false);
}

void rtfToTextDocument(const RtfDocument &rtf, QTextDocument &document, LineHeights heights) {
    DocumentFill fill(document, rtf, heights);
    fill.fillFor(std::numeric_limits<int>::max());
    fill.finish();
}

} // namespace drillpad
