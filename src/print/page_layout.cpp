#include "print/page_layout.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextTable>

#include <algorithm>
#include <cmath>
#include <optional>

namespace drillpad {

namespace {

constexpr int kTwipsPerInch = 1440;
constexpr double kTwipsPerPoint = 20;
// However tall the header, the body keeps half an inch of each page.
constexpr double kLeastBodyHeight = kTwipsPerInch / 2.0;

// A device of 1440 dots per inch: laid out for it, the documents count in
// twips, as word processors do, so that heights add up without rounding.
QImage twipsDevice() {
    QImage device(1, 1, QImage::Format_ARGB32);
    const int dotsPerMeter = static_cast<int>(std::lround(kTwipsPerInch / 0.0254));
    device.setDotsPerMeterX(dotsPerMeter);
    device.setDotsPerMeterY(dotsPerMeter);
    return device;
}

// Where each stretch of the body that must not be split lies, in the body
// laid out as one long page: a line, or a paragraph kept together, or a
// row of a table.
struct Piece {
    double top = 0;
    double bottom = 0;
    bool pageBreakBefore = false;
    bool startsParagraph = true;
};

// How tall a block's line is, the spacing of its format included.
double lineExtent(const QTextBlock &block, const QTextLine &line) {
    constexpr double kTwipsPerScreenPixel = 15;
    return block.blockFormat().lineHeight(line.height(), kTwipsPerScreenPixel);
}

void addBlockPieces(const QTextDocument &document, const QTextBlock &block,
                    std::vector<Piece> &pieces) {
    const QTextLayout *layout = block.layout();
    const double top = document.documentLayout()->blockBoundingRect(block).top();
    const bool pageBreak =
        block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore;
    for (int i = 0; layout && i < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        pieces.push_back({top + line.y(), top + line.y() + lineExtent(block, line),
                          pageBreak && i == 0, i == 0});
    }
}

// A table breaks between its rows only: each row is one piece, from the
// top of its highest cell to the next row's.
void addTablePieces(const QTextDocument &document, QTextTable *table, std::vector<Piece> &pieces) {
    const QRectF frame = document.documentLayout()->frameBoundingRect(table);
    std::vector<double> rowTops;
    for (int row = 0; row < table->rows(); ++row) {
        double rowTop = frame.bottom();
        for (int column = 0; column < table->columns(); ++column) {
            const QTextTableCell cell = table->cellAt(row, column);
            if (cell.row() != row)
                continue; // spanned from a row above
            const QTextBlock block = document.findBlock(cell.firstPosition());
            rowTop = std::min(rowTop, document.documentLayout()->blockBoundingRect(block).top());
        }
        rowTops.push_back(row == 0 ? frame.top() : rowTop);
    }
    rowTops.push_back(frame.bottom());
    const bool pageBreak =
        table->frameFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore;
    for (std::size_t row = 0; row + 1 < rowTops.size(); ++row)
        pieces.push_back(
            {rowTops[row], std::max(rowTops[row], rowTops[row + 1]), pageBreak && row == 0, true});
}

// The body's pieces, in order; nothing when `progress` stops it.
std::optional<std::vector<Piece>> piecesOf(const QTextDocument &document,
                                           const PageProgress &progress) {
    // Laying out this many blocks takes a few milliseconds.
    constexpr int kBlocksBetweenQuestions = 256;
    std::vector<Piece> pieces;
    pieces.reserve(static_cast<std::size_t>(document.blockCount()));
    QTextFrame *root = document.rootFrame();
    int blocks = 0;
    for (auto it = root->begin(); !it.atEnd(); ++it) {
        if (progress && ++blocks % kBlocksBetweenQuestions == 0 &&
            !progress(it.currentBlock().isValid() ? it.currentBlock().blockNumber() : 0,
                      document.blockCount()))
            return std::nullopt;
        if (QTextFrame *frame = it.currentFrame()) {
            if (auto *table = qobject_cast<QTextTable *>(frame))
                addTablePieces(document, table, pieces);
            else
                pieces.push_back({document.documentLayout()->frameBoundingRect(frame).top(),
                                  document.documentLayout()->frameBoundingRect(frame).bottom(),
                                  false, true});
        } else if (!isTableJoint(it.currentBlock())) {
            addBlockPieces(document, it.currentBlock(), pieces);
        }
    }
    return pieces;
}

// Where each page begins in the long page, as LibreOffice breaks pages: a
// piece goes on while it ends within the page; a paragraph that would not
// end there begins the next page whole, unless no page holds it, and then
// only its lines that do not fit move on.
std::vector<double> pageStarts(const std::vector<Piece> &pieces, double pageHeight) {
    std::vector<double> starts{pieces.empty() ? 0.0 : pieces.front().top};
    const auto fits = [&](double bottom) { return bottom - starts.back() <= pageHeight; };
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const Piece &piece = pieces[i];
        const bool atPageTop = piece.top <= starts.back();
        if (piece.pageBreakBefore && !atPageTop) {
            starts.push_back(piece.top);
        } else if (piece.startsParagraph && !atPageTop) {
            std::size_t end = i + 1;
            while (end < pieces.size() && !pieces[end].startsParagraph)
                ++end;
            const double bottom = pieces[end - 1].bottom;
            if (!fits(bottom) && bottom - piece.top <= pageHeight)
                starts.push_back(piece.top);
        }
        if (!fits(piece.bottom) && piece.top > starts.back())
            starts.push_back(piece.top);
    }
    return starts;
}

} // namespace

class PageLayout::Private {
public:
    Private(const RtfDocument &document, const PageProgress &progress)
        : setup(document.page.usable() ? document.page : RtfPage{}) {
        width = setup.width - setup.marginLeft - setup.marginRight;
        RtfDocument headerOnly;
        headerOnly.defaultFamily = document.defaultFamily;
        headerOnly.paragraphs = document.header;
        fill(header, headerOnly);
        top = setup.marginTop;
        if (!document.header.empty())
            top = std::max(top, setup.headerTop + header.size().height());
        height = std::max(setup.height - setup.marginBottom - top, kLeastBodyHeight);
        fill(body, document);
        if (const auto laidOut = piecesOf(body, progress)) {
            complete = true;
            pieces = *laidOut;
            starts = pageStarts(pieces, height);
        }
    }

    // Fills a document for the twips device, laid out at the body's width
    // once it is full: laid out as it fills, it would take minutes.
    void fill(QTextDocument &document, const RtfDocument &content) {
        document.setUndoRedoEnabled(false);
        document.documentLayout()->setPaintDevice(&device);
        document.setDocumentMargin(0);
        document.setDefaultFont(QFont(content.defaultFamily));
        document.setPageSize(QSizeF(0, 0));
        rtfToTextDocument(content, document, LineHeights::AtLeast);
        document.setTextWidth(width);
    }

    QImage device = twipsDevice();
    RtfPage setup;
    double width = 0;
    double top = 0;
    double height = 0;
    QTextDocument header;
    QTextDocument body;
    bool complete = false;
    std::vector<Piece> pieces;
    std::vector<double> starts; // each page's top in the body laid out as one page
};

PageLayout::PageLayout(const RtfDocument &document, const PageProgress &progress)
    : d(std::make_unique<Private>(document, progress)) {}

PageLayout::~PageLayout() = default;

bool PageLayout::complete() const {
    return d->complete;
}

int PageLayout::pageCount() const {
    return static_cast<int>(d->starts.size());
}

const RtfPage &PageLayout::pageSetup() const {
    return d->setup;
}

double PageLayout::bodyTop() const {
    return d->top;
}

double PageLayout::bodyHeight() const {
    return d->height;
}

std::vector<int> PageLayout::pageOfBlocks() const {
    std::vector<int> pages;
    pages.reserve(static_cast<std::size_t>(d->body.blockCount()));
    for (QTextBlock block = d->body.begin(); block.isValid(); block = block.next()) {
        const QTextLayout *lines = block.layout();
        const double top = d->body.documentLayout()->blockBoundingRect(block).top() +
                           (lines && lines->lineCount() > 0 ? lines->lineAt(0).y() : 0.0);
        const auto after = std::upper_bound(d->starts.cbegin(), d->starts.cend(), top);
        pages.push_back(static_cast<int>(std::max<std::ptrdiff_t>(after - d->starts.cbegin(), 1)) -
                        1);
    }
    return pages;
}

void PageLayout::paintPage(QPainter &painter, int page) const {
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, Qt::black);
    const RtfPage &setup = d->setup;

    painter.save();
    painter.translate(setup.marginLeft, setup.headerTop);
    d->header.documentLayout()->draw(&painter, context);
    painter.restore();

    if (page < 0 || page >= pageCount())
        return;
    // The page's stretch of the body, as wide as the paper so that nothing
    // reaching into the margins is cut.
    const double from = d->starts[static_cast<std::size_t>(page)];
    const double to = page + 1 < pageCount() ? d->starts[static_cast<std::size_t>(page) + 1]
                                             : d->body.size().height();
    painter.save();
    painter.translate(setup.marginLeft, d->top - from);
    const QRectF stretch(-setup.marginLeft, from, setup.width, std::max(0.0, to - from));
    painter.setClipRect(stretch);
    // Qt draws the lines that touch the clip: the line ending where the page
    // begins and the one beginning where it ends are the neighbours'.
    context.clip = stretch.adjusted(0, 1, 0, -1);
    d->body.documentLayout()->draw(&painter, context);
    painter.restore();
}

bool printPages(const PageLayout &layout, QPagedPaintDevice &device, int first, int last,
                const PageProgress &progress, std::stop_token stop) {
    const RtfPage &setup = layout.pageSetup();
    const QSizeF paper(setup.width / kTwipsPerPoint, setup.height / kTwipsPerPoint);
    device.setPageLayout(QPageLayout(QPageSize(paper, QPageSize::Point), QPageLayout::Portrait,
                                     QMarginsF(), QPageLayout::Point));
    auto *printer = dynamic_cast<QPrinter *>(&device);
    if (printer)
        printer->setFullPage(true);
    const int count = layout.pageCount();
    if (!layout.complete() || count == 0)
        return false;
    first = std::clamp(first > 0 ? first : 1, 1, count);
    last = std::clamp(last > 0 ? last : count, first, count);

    QPainter painter;
    if (!painter.begin(&device))
        return false;
    // Twips to the device's dots, shrunk where its paper is smaller.
    const double dotsPerTwip = device.logicalDpiX() / double(kTwipsPerInch);
    const double fit = std::min({1.0, device.width() / (setup.width * dotsPerTwip),
                                 device.height() / (setup.height * dotsPerTwip)});
    bool whole = true;
    for (int page = first; page <= last; ++page) {
        if (stop.stop_requested() || (progress && !progress(page - first, last - first + 1))) {
            whole = false;
            break;
        }
        if (page > first && !device.newPage()) {
            whole = false;
            break;
        }
        painter.save();
        painter.scale(dotsPerTwip * fit, dotsPerTwip * fit);
        layout.paintPage(painter, page - 1);
        painter.restore();
    }
    if (!whole && printer)
        printer->abort();
    const bool ended = painter.end();
    return whole && ended && (!printer || printer->printerState() != QPrinter::Error);
}

QByteArray pdfOf(const RtfDocument &document, const QString &title, std::stop_token stop) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(1200);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Drillpad"));
        const PageLayout layout(document);
        if (stop.stop_requested() || !printPages(layout, writer, 0, 0, {}, stop))
            return {};
    }
    return buffer.data();
}

} // namespace drillpad
