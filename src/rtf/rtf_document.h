#pragma once

#include <QString>

#include <cstddef>
#include <vector>

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

struct RtfParagraph {
    RtfAlignment alignment = RtfAlignment::Left;
    // The format of the paragraph mark: what an empty paragraph is as tall as.
    RtfCharFormat markFormat;
    std::vector<RtfRun> runs;
    // The paragraph starts a new page.
    bool pageBreakBefore = false;
    // Each of its lines at least this tall, in twips (RTF's \slN\slmult0);
    // 0 leaves them as tall as their fonts make them.
    int lineTwips = 0;

    // Appends text, joining it to the last run when the formats agree.
    void append(const QString &text, const RtfCharFormat &format);

    friend bool operator==(const RtfParagraph &, const RtfParagraph &) = default;
};

// The paper a document is printed on and its margins, in twips, as RTF's
// \paperw, \paperh, \margl, \margr, \margt, \margb and \headery give them.
// The defaults are the sheet's page: A4, margins of 2 cm and 3 cm at the top,
// the header 1 cm below the paper's edge.
struct RtfPageSetup {
    int paperWidth = 11906;
    int paperHeight = 16838;
    int marginLeft = 1134;
    int marginRight = 1134;
    int marginTop = 1701;
    int marginBottom = 1134;
    int headerTop = 567; // from the paper's top edge to the header

    // Whether the text has room: at least an inch across and down between
    // the margins, on paper of at most 22 inches (RTF's largest).
    bool usable() const;

    friend bool operator==(const RtfPageSetup &, const RtfPageSetup &) = default;
};

struct RtfDocument {
    QString defaultFamily; // the font that text without a font of its own uses
    std::vector<RtfParagraph> paragraphs;
    // The header at the top of every page, and the page.
    std::vector<RtfParagraph> header;
    RtfPageSetup page;

    // Paragraphs joined by line feeds.
    QString plainText() const;
};

// What the editor takes from a file. Beyond these a file is no exercise
// sheet or manual, and filling the editor with it would take minutes and
// gigabytes, so it is refused; the largest sheet has about 30000 paragraphs
// of a few runs and a hundred characters each.
inline constexpr std::size_t kMaxParagraphs = 300'000;
inline constexpr std::size_t kMaxRunsPerParagraph = 5'000;
inline constexpr std::size_t kMaxRuns = 500'000;
inline constexpr std::size_t kMaxParagraphLength = 1'000'000;

// The smallest and largest font sizes kept, in points.
inline constexpr int kMinFontPoints = 1;
inline constexpr int kMaxFontPoints = 1638;

// A size in points as whole half points, rounded to the nearest half point
// and kept within 1..1638 pt.
int halfPointsFor(double points);
int clampHalfPoints(int halfPoints);

// Lines of a paragraph whose fonts say nothing else are 1.5 times as tall as
// its largest font: taller than any common font makes them, so that Qt and
// word processors, whose fonts' line heights differ a little, break pages
// at the same lines.
inline constexpr int kLineTwipsPerHalfPoint = 15;
// The lowest height `paragraph`'s lines take: its own, or 1.5 times its
// largest font.
int lineTwipsFor(const RtfParagraph &paragraph);

// The document's paragraphs and runs with every format resolved against the
// document's default font, each paragraph with its line height (the block's
// own where it sets one, as a multiple of 1.5 times the largest font for
// proportional spacing) and never below lineTwipsFor.
RtfDocument rtfFromTextDocument(const QTextDocument &document);

// Empties the document in an edit block left open for what replaces its
// content: the cursor, at the start, ends it.
QTextCursor beginReplacingContent(QTextDocument &document);

// Replaces the whole content of `document` in one undoable step. A paragraph
// that starts a new page becomes a block whose format has the page break
// policy QTextFormat::PageBreak_AlwaysBefore; a line height, a block of that
// minimum height. The header and the page are not the document's.
void rtfToTextDocument(const RtfDocument &rtf, QTextDocument &document);

} // namespace drillpad
