#pragma once

#include "rtf/rtf_document.h"
#include "rtf/rtf_file.h"

#include <QByteArrayView>
#include <QPointer>
#include <QString>
#include <QTextEdit>

#include <functional>
#include <optional>
#include <vector>

class QLabel;
class QMenu;
class QPrinter;

namespace drillpad {

// The rich-text editor of the sheet and of the help viewer: a thin adapter
// over QTextEdit with the operations the windows use. Text travels with lone
// line feeds. Selection properties read back std::nullopt when the selection
// mixes several values.
class RichTextBox : public QTextEdit {
    Q_OBJECT
public:
    // Paragraph alignment codes of the editor.
    enum Alignment { AlignLeftCode = 0, AlignRightCode = 1, AlignCenterCode = 2 };

    explicit RichTextBox(QWidget *parent = nullptr);

    // The whole document as plain text.
    QString text() const;
    // The same with a form feed, the page break of plain text, at the start
    // of every line that begins a new page.
    QString textWithPageBreaks() const;
    // Between the slices in which a large document is put in: told how far
    // it is, keeps the window answering, and returns false to stop.
    using BetweenSlices = std::function<bool(qsizetype done, qsizetype total)>;

    // Replaces the whole document by plain text in one undoable step; the
    // text takes the document's default formatting, and a form feed starts a
    // new page with the line it begins (or the next line, after a line end).
    // Plain text has no header unless one is given; the page stays. With
    // `between`, the text goes in a slice at a time and shows only once it is
    // whole; stopped, the document is left as it was and the call returns
    // false.
    bool setText(const QString &text, const BetweenSlices &between = {},
                 const std::vector<RtfParagraph> &header = {});

    // The page the document is printed on and the header at the top of each
    // page, shown above the text. Both come and go with the content, and
    // undo and redo with it.
    RtfPage pageSetup() const;
    std::vector<RtfParagraph> header() const;
    // The whole document as it is saved, page and header included; with
    // `selectionOnly`, only the selection where there is one.
    RtfDocument rtfDocument(bool selectionOnly = false) const;

    QString selText() const;
    // Replaces the selection, or inserts at the caret, as plain text taking
    // the formatting of that place.
    void setSelText(const QString &text);

    // The character format of the selection, or at the caret: each
    // property where the whole selection agrees, nothing where it is mixed.
    struct CharFormatState {
        std::optional<bool> bold;
        std::optional<bool> italic;
        std::optional<bool> underline;
        std::optional<QString> fontName;
        std::optional<double> fontSize;
    };
    CharFormatState selCharFormat() const;
    std::optional<int> selAlignment() const;

    void setSelBold(bool on);
    void setSelItalic(bool on);
    void setSelUnderline(bool on);
    void setSelFontName(const QString &family);
    // The size is given as text and taken as points; text that is not a
    // positive number is ignored.
    bool setSelFontSize(const QString &points);
    // Applies an alignment code to the paragraphs the selection covers (not
    // one it only ends at the start of), or to the caret's paragraph.
    void setSelAlignment(int code);

    // The whole document as RTF, and back. Reading replaces the whole
    // document in one undoable step; data that is not RTF leaves it as it
    // was and returns false.
    QByteArray rtf() const;
    bool setRtf(QByteArrayView data);
    // Replaces the whole document by rich text already read, page and header
    // included, in one undoable step; `between` as for setText.
    bool setRtfDocument(const RtfDocument &rtf, const BetweenSlices &between = {});
    // The same with rich text still being read by another thread: each part
    // goes in as it comes. False when stopped or when the file was not read
    // whole; then the document is left as it was.
    bool setRtfFeed(RtfFeed &feed, const BetweenSlices &between = {});

    // Reads an RTF file and replaces the whole document; a file that cannot
    // be read or is not RTF leaves the document as it was.
    FileStatus loadFile(const QString &path);
    // Writes the whole document as RTF; an existing file is replaced only
    // once the new one is complete.
    FileStatus saveFile(const QString &path) const;
    // Prints the selection with its formatting, or the whole document when
    // nothing is selected, on the document's pages with the header at the
    // top of each. False when the printer could not be used.
    bool printSelection(QPrinter *printer) const;

    // A menu of the window, such as its Edit menu, shown by the context-menu
    // key, Shift+F10 or the right mouse button instead of Qt's own, so that
    // screen readers find it where they find the menu bar's menus. Opened
    // from the keyboard, its first command is highlighted.
    void setContextMenu(QMenu *menu);

Q_SIGNALS:
    void mouseMoved();

protected:
    void changeEvent(QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    // Shift+F10 opens the context menu at the caret, as the menu key does.
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    // Pasting and dropping insert plain text only.
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    void layOutWithoutShaping();
    void mergeSelectionFormat(const QTextCharFormat &format);
    template <typename... Content>
    bool replaceContent(const BetweenSlices &between, Content &&...content);
    // Shows the document's header, when it has changed.
    void showHeader();
    void placeHeader();
    std::vector<RtfParagraph> shownHeader_;
    QLabel *headerView_ = nullptr;

    QPointer<QMenu> contextMenu_;
};

} // namespace drillpad
