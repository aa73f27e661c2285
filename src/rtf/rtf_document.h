#pragma once

#include <QString>

#include <cstddef>
#include <memory>
#include <vector>

class QTextBlock;
class QTextCursor;
class QTextDocument;

namespace drillpad {

// Character formatting as an RTF file carries it.
struct RtfCharFormat {
    QString family;          // the western font; empty: the document's default font
    QString eastAsianFamily; // the font of Chinese text; empty: the same as `family`
    int halfPoints = 24;     // the size in half points; 24 (12 pt) is RTF's default
    bool bold = false;
    bool italic = false;
    bool underline = false;

    friend bool operator==(const RtfCharFormat &, const RtfCharFormat &) = default;
};

enum class RtfAlignment { Left, Centre, Right, Justify };

// A stretch of text in one format. Tabs are '\t' and line breaks inside a
// paragraph U+2028; a run never holds a paragraph break.
struct RtfRun {
    QString text;
    RtfCharFormat format;

    friend bool operator==(const RtfRun &, const RtfRun &) = default;
};

// Where the text after a tab starts (a left stop) or ends (a right stop), in
// twips from the left edge of the text: of the page, or of the table cell.
struct RtfTabStop {
    int position = 0;
    bool right = false;

    friend bool operator==(const RtfTabStop &, const RtfTabStop &) = default;
};

struct RtfParagraph {
    RtfAlignment alignment = RtfAlignment::Left;
    // The format of the paragraph mark: what an empty paragraph is as tall as.
    RtfCharFormat markFormat;
    std::vector<RtfRun> runs;
    // The paragraph starts a new page.
    bool pageBreakBefore = false;
    // Indents in twips: the left and right edges of the text, and where the
    // first line starts from the left edge (negative: hanging out of it).
    int leftIndent = 0;
    int rightIndent = 0;
    int firstLineIndent = 0;
    // Ascending by position.
    std::vector<RtfTabStop> tabStops;
    // The height of each line in percent of single spacing: 150 for 1.5
    // lines, 200 for double spacing. Single spacing is 1.5 times the
    // paragraph's largest font (see lineTwipsFor).
    int lineSpacing = 100;
    // In a table: the row, an index into RtfDocument::rows, and the cell;
    // row -1 outside tables. A row's paragraphs come together, cell by cell
    // from the left, each cell with at least one.
    int row = -1;
    int cell = 0;

    // Appends text, joining it to the last run when the formats agree.
    void append(const QString &text, const RtfCharFormat &format);

    friend bool operator==(const RtfParagraph &, const RtfParagraph &) = default;
};

// A row of a table: the widths of its cells, in twips. Rows that follow one
// another form one table, as in RTF itself; they have no borders.
struct RtfRow {
    std::vector<int> cellWidths;
    // The row is never split across two pages.
    bool keepTogether = false;

    friend bool operator==(const RtfRow &, const RtfRow &) = default;
};

// The paper, its margins and where the header begins, in twips, as RTF's
// \paperw, \paperh, \margl, \margr, \margt, \margb and \headery give them:
// A4 with margins of 2 cm, the margins Qt prints a document with, and the
// header 1 cm below the paper's edge. The text begins at the top margin or,
// where the header reaches further, right below it.
struct RtfPage {
    int width = 11906;
    int height = 16838;
    int marginLeft = 1134;
    int marginRight = 1134;
    int marginTop = 1134;
    int marginBottom = 1134;
    int headerTop = 567;

    // The width of the text between the left and right margins.
    int textWidth() const { return width - marginLeft - marginRight; }
    // Whether the text has room: at least an inch across and down between
    // the margins, on paper of at most 22 inches (RTF's largest).
    bool usable() const;

    friend bool operator==(const RtfPage &, const RtfPage &) = default;
};

struct RtfDocument {
    QString defaultFamily; // the font that text without a font of its own uses
    std::vector<RtfParagraph> paragraphs;
    std::vector<RtfRow> rows;
    RtfPage page;
    // The header at the top of every page.
    std::vector<RtfParagraph> header;

    // Paragraphs joined by line feeds.
    QString plainText() const;
};

// What the editor takes from a file. Beyond these a file is no exercise
// sheet or manual: the largest sheet the wizard writes, with its answer page,
// has about 42000 paragraphs and 5 million characters, its longest paragraph
// a few hundred. Qt lays a paragraph out in one piece, in time that grows
// with the square of an unbroken stretch of it (a 100000-letter word takes
// seconds) and with the number of its format changes, so paragraphs are kept
// short enough to lay out in a moment, and the whole small enough to open
// within a second or two.
inline constexpr std::size_t kMaxParagraphs = 100'000;
inline constexpr std::size_t kMaxRunsPerParagraph = 200;
inline constexpr std::size_t kMaxRuns = 100'000;
inline constexpr std::size_t kMaxParagraphLength = 20'000;
inline constexpr std::size_t kMaxCharacters = 8'000'000;
// Tables beyond these take the editor minutes to lay out; the cells of a row
// beyond the most RTF allows are joined to its last one.
inline constexpr std::size_t kMaxTableCells = 100'000;
inline constexpr int kMaxCellsPerRow = 63;
inline constexpr std::size_t kMaxTabStops = 64;

// The limit above that a file went beyond.
enum class ContentLimit {
    None,
    Paragraphs,
    RunsInParagraph,
    Runs,
    ParagraphLength,
    Characters,
    TableCells
};

// The smallest and largest font sizes kept, in points.
inline constexpr int kMinFontPoints = 1;
inline constexpr int kMaxFontPoints = 1638;

// A size in points as whole half points, rounded to the nearest half point
// and kept within 1..1638 pt.
int halfPointsFor(double points);
int clampHalfPoints(int halfPoints);

// Single spacing is 1.5 times the paragraph's largest font (of its runs and
// its mark): more than common fonts' own lines, so that Qt and word
// processors, whose fonts' line heights differ a little, break pages at the
// same lines. The height each line of `paragraph` takes at least, in twips,
// at its spacing: the file says so (\slN\slmult0) and the printed page keeps
// to it.
inline constexpr int kLineTwipsPerHalfPoint = 15;
inline constexpr int kMaxLineSpacing = 1000; // percent
int lineTwipsFor(const RtfParagraph &paragraph);

// The document's paragraphs and runs with every format resolved against the
// document's default font, with its page and header.
RtfDocument rtfFromTextDocument(const QTextDocument &document);

// The page and the header the document keeps, and a new header, set in one
// undoable step (or as part of the edit under way).
RtfPage pageOf(const QTextDocument &document);
std::vector<RtfParagraph> headerOf(const QTextDocument &document);
void setHeader(QTextDocument &document, const std::vector<RtfParagraph> &header);

// Empties the document in an edit block left open for what replaces its
// content: the cursor, at the start, ends it.
QTextCursor beginReplacingContent(QTextDocument &document);

// Whether the block only separates a table from what is around it: the
// editor shows it as nothing, and it is no paragraph of the file.
bool isTableJoint(const QTextBlock &block);

// Twips as the editor's lengths: device-independent pixels at 96 dpi, which
// printing scales to the printer's resolution.
inline constexpr double kDocumentTwipsPerPixel = 15.0;

// Replaces the whole content of `document` in one undoable step. A paragraph
// that starts a new page becomes a block whose format has the page break
// policy QTextFormat::PageBreak_AlwaysBefore. Rows that follow one another
// with the same number of cells become one borderless QTextTable, the widths
// of the first; a row that starts a new page starts a table whose frame
// breaks the page. The page and the header travel with the root frame's
// format. Line spacing is the block's proportional height; for the printed
// page, each line is instead at least lineTwipsFor tall, as in the file, and
// the blocks around tables take no room.
enum class LineHeights { AsSpaced, AtLeast };
void rtfToTextDocument(const RtfDocument &rtf, QTextDocument &document,
                       LineHeights heights = LineHeights::AsSpaced);

// Replaces the whole content of a document a slice at a time, so that the
// window can answer between slices: with rich text (paragraphs and runs, as
// rtfToTextDocument), or with plain text in the document's default format.
// The edit block stays open from the first slice to finish(), which makes it
// one undoable step; abandon() instead puts the old content back, leaving
// nothing to redo. Filled from a feed, the paragraphs go in as they are read,
// the page and header once the reading is done; a file that was not read
// whole leaves the old content in place.
class RtfFeed;
class DocumentFill {
public:
    DocumentFill(QTextDocument &document, const RtfDocument &rtf,
                 LineHeights heights = LineHeights::AsSpaced);
    DocumentFill(QTextDocument &document, RtfFeed &feed);
    // Plain text has no header unless one is given; the page stays.
    DocumentFill(QTextDocument &document, const QString &text,
                 const std::vector<RtfParagraph> &header = {});
    ~DocumentFill();
    DocumentFill(const DocumentFill &) = delete;
    DocumentFill &operator=(const DocumentFill &) = delete;

    // Fills for about `milliseconds`; true once everything is in.
    bool fillFor(int milliseconds);
    // How far it is, in paragraphs, characters or bytes read of `total()`.
    qsizetype done() const;
    qsizetype total() const;
    // Keeps the new content; false when the feed's file was not read whole,
    // and then the old content is back as by abandon().
    bool finish();
    void abandon();

private:
    class Private;
    std::unique_ptr<Private> d;
};

} // namespace drillpad
