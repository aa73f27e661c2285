#pragma once

#include <QString>

#include <cstddef>
#include <memory>
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

    // Appends text, joining it to the last run when the formats agree.
    void append(const QString &text, const RtfCharFormat &format);

    friend bool operator==(const RtfParagraph &, const RtfParagraph &) = default;
};

struct RtfDocument {
    QString defaultFamily; // the font that text without a font of its own uses
    std::vector<RtfParagraph> paragraphs;

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

// The limit above that a file went beyond.
enum class ContentLimit { None, Paragraphs, RunsInParagraph, Runs, ParagraphLength, Characters };

// The smallest and largest font sizes kept, in points.
inline constexpr int kMinFontPoints = 1;
inline constexpr int kMaxFontPoints = 1638;

// A size in points as whole half points, rounded to the nearest half point
// and kept within 1..1638 pt.
int halfPointsFor(double points);
int clampHalfPoints(int halfPoints);

// The document's paragraphs and runs with every format resolved against the
// document's default font.
RtfDocument rtfFromTextDocument(const QTextDocument &document);

// Empties the document in an edit block left open for what replaces its
// content: the cursor, at the start, ends it.
QTextCursor beginReplacingContent(QTextDocument &document);

// Replaces the whole content of `document` in one undoable step. A paragraph
// that starts a new page becomes a block whose format has the page break
// policy QTextFormat::PageBreak_AlwaysBefore.
void rtfToTextDocument(const RtfDocument &rtf, QTextDocument &document);

// Replaces the whole content of a document a slice at a time, so that the
// window can answer between slices: with rich text (paragraphs and runs, as
// rtfToTextDocument), or with plain text in the document's default format.
// The edit block stays open from the first slice to finish(), which makes it
// one undoable step; abandon() instead puts the old content back, leaving
// nothing to redo.
class DocumentFill {
public:
    DocumentFill(QTextDocument &document, const RtfDocument &rtf);
    DocumentFill(QTextDocument &document, const QString &text);
    ~DocumentFill();
    DocumentFill(const DocumentFill &) = delete;
    DocumentFill &operator=(const DocumentFill &) = delete;

    // Fills for about `milliseconds`; true once everything is in.
    bool fillFor(int milliseconds);
    // How far it is, in paragraphs or characters of `total()`.
    qsizetype done() const;
    qsizetype total() const;
    void finish();
    void abandon();

private:
    class Private;
    std::unique_ptr<Private> d;
};

} // namespace drillpad
