#include "controls/rich_text_box.h"

#include "print/page_layout.h"
#include "rtf/rtf_reader.h"
#include "rtf/rtf_writer.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPrinter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

#include <algorithm>
#include <limits>

namespace drillpad {

namespace {

QString toLineFeeds(QString text) {
    text.replace(QChar::ParagraphSeparator, QChar(u'\n'));
    text.replace(QChar::LineSeparator, QChar(u'\n'));
    return text;
}

Qt::Alignment qtAlignment(int code) {
    switch (code) {
    case RichTextBox::AlignRightCode:
        return Qt::AlignRight;
    case RichTextBox::AlignCenterCode:
        return Qt::AlignHCenter;
    default:
        return Qt::AlignLeft;
    }
}

// The paragraphs a selection covers, as a cursor spanning them. A selection
// that ends at the very start of a paragraph (Shift+Down over one line) does
// not cover that paragraph; a caret alone covers its own.
QTextCursor coveredParagraphs(const QTextCursor &selection) {
    QTextCursor cursor(selection.document());
    const int start = selection.selectionStart();
    int end = selection.selectionEnd();
    if (end > start && selection.document()->findBlock(end).position() == end)
        --end;
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    return cursor;
}

int alignmentCode(Qt::Alignment alignment) {
    if (alignment & Qt::AlignRight)
        return RichTextBox::AlignRightCode;
    if (alignment & Qt::AlignHCenter)
        return RichTextBox::AlignCenterCode;
    return RichTextBox::AlignLeftCode;
}

} // namespace

RichTextBox::RichTextBox(QWidget *parent) : QTextEdit(parent) {
    setAcceptRichText(false);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    setTabChangesFocus(false);
    // The header stands above the text, on the frame's colour, as a word
    // processor shows the header of the page.
    headerView_ = new QLabel(this);
    headerView_->setObjectName(QStringLiteral("headerView"));
    headerView_->setTextFormat(Qt::RichText);
    headerView_->setWordWrap(true);
    headerView_->setContentsMargins(4, 4, 4, 4);
    headerView_->setAccessibleDescription(QStringLiteral("页眉"));
    headerView_->hide();
    // The header changes with the content, and with undo and redo.
    connect(document(), &QTextDocument::contentsChanged, this, &RichTextBox::showHeader);
    layOutWithoutShaping();
}

RtfPage RichTextBox::pageSetup() const {
    return pageOf(*document());
}

std::vector<RtfParagraph> RichTextBox::header() const {
    return headerOf(*document());
}

void RichTextBox::showHeader() {
    std::vector<RtfParagraph> header = headerOf(*document());
    if (header == shownHeader_)
        return;
    shownHeader_ = std::move(header);
    if (shownHeader_.empty()) {
        headerView_->clear();
        headerView_->setAccessibleName(QString());
    } else {
        RtfDocument shown;
        shown.defaultFamily = document()->defaultFont().family();
        shown.paragraphs = shownHeader_;
        QTextDocument view;
        view.setDefaultFont(document()->defaultFont());
        rtfToTextDocument(shown, view);
        headerView_->setText(view.toHtml());
        headerView_->setAccessibleName(shown.plainText());
    }
    placeHeader();
}

void RichTextBox::placeHeader() {
    const bool shown = !shownHeader_.empty();
    const int width = std::max(0, viewport()->width());
    const int height = shown ? headerView_->heightForWidth(width) + 1 : 0;
    setViewportMargins(0, height, 0, 0);
    const QRect contents = contentsRect();
    headerView_->setGeometry(contents.left(), contents.top(), contents.width(), height);
    headerView_->setVisible(shown);
}

void RichTextBox::resizeEvent(QResizeEvent *event) {
    QTextEdit::resizeEvent(event);
    placeHeader();
}

// Chinese, digits and the operators need no OpenType shaping, and without it
// the largest sheet is laid out in a third of the time; scripts that need
// shaping still get it, and Latin text only loses kerning and ligatures.
void RichTextBox::layOutWithoutShaping() {
    QFont font = document()->defaultFont();
    font.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() | QFont::PreferNoShaping));
    document()->setDefaultFont(font);
}

void RichTextBox::changeEvent(QEvent *event) {
    QTextEdit::changeEvent(event); // takes the widget's font as the document's
    if (event->type() == QEvent::FontChange || event->type() == QEvent::ApplicationFontChange)
        layOutWithoutShaping();
}

QString RichTextBox::text() const {
    const QTextDocument &sheet = *document();
    if (sheet.rootFrame()->childFrames().isEmpty())
        return toLineFeeds(sheet.toPlainText());
    // A table's cells each on a line of their own, as word processors
    // write them as text, without the blocks that only separate tables.
    QString text;
    bool first = true;
    for (QTextBlock block = sheet.begin(); block.isValid(); block = block.next()) {
        if (isTableJoint(block))
            continue;
        if (!first)
            text += u'\n';
        first = false;
        text += block.text();
    }
    return toLineFeeds(text);
}

QString RichTextBox::textWithPageBreaks() const {
    QString text;
    bool breakAfterPrevious = false;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        const QTextFormat::PageBreakFlags breaks = block.blockFormat().pageBreakPolicy();
        if (block != document()->begin())
            text += u'\n';
        if (breakAfterPrevious || (breaks & QTextFormat::PageBreak_AlwaysBefore))
            text += u'\f';
        breakAfterPrevious = breaks & QTextFormat::PageBreak_AlwaysAfter;
        text += block.text();
    }
    return toLineFeeds(text);
}

template <typename... Content>
bool RichTextBox::replaceContent(const BetweenSlices &between, Content &&...content) {
    // Without a page size the layout skips the edit and the caret's move;
    // restoring it then lays the new content out from the top a step at a
    // time, as for a fresh document, instead of all at once (seconds for a
    // sheet of 160000 questions, minutes for a file of many paragraphs).
    const QSizeF pageSize = document()->pageSize();
    document()->setPageSize(QSizeF(0, 0));
    // Between slices the half-filled document is not painted.
    const bool updates = updatesEnabled();
    if (between)
        setUpdatesEnabled(false);
    DocumentFill fill(*document(), std::forward<Content>(content)...);
    constexpr int kSliceMilliseconds = 40;
    bool whole = true;
    while (!fill.fillFor(between ? kSliceMilliseconds : std::numeric_limits<int>::max())) {
        if (!between(fill.done(), fill.total())) {
            whole = false;
            break;
        }
    }
    if (whole)
        whole = fill.finish();
    if (whole) {
        setTextCursor(QTextCursor(document()));
    } else {
        fill.abandon();
    }
    setUpdatesEnabled(updates);
    document()->setPageSize(pageSize);
    return whole;
}

bool RichTextBox::setText(const QString &text, const BetweenSlices &between,
                          const std::vector<RtfParagraph> &header) {
    if (!replaceContent(between, text, header))
        return false;
    setCurrentCharFormat(QTextCharFormat());
    return true;
}

QString RichTextBox::selText() const {
    return toLineFeeds(textCursor().selectedText());
}

void RichTextBox::setSelText(const QString &text) {
    textCursor().insertText(text);
}

RichTextBox::CharFormatState RichTextBox::selCharFormat() const {
    const QFont defaultFont = document()->defaultFont();
    const auto stateOf = [&defaultFont](const QTextCharFormat &f) {
        const QStringList families = f.fontFamilies().toStringList();
        return CharFormatState{
            .bold = f.fontWeight() >= QFont::Bold,
            .italic = f.fontItalic(),
            .underline = f.fontUnderline(),
            .fontName = families.isEmpty() ? defaultFont.family() : families.first(),
            .fontSize = f.fontPointSize() > 0 ? f.fontPointSize() : defaultFont.pointSizeF()};
    };
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection())
        return stateOf(currentCharFormat());
    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    const auto keepIfSame = [](auto &kept, const auto &value) {
        if (kept != value)
            kept.reset();
    };
    std::optional<CharFormatState> state;
    // A sheet holds few formats: a fragment in the format of the last one
    // read tells nothing new, which keeps a selection of the whole of a
    // large sheet quick to read.
    int lastFormat = -1;
    for (QTextBlock block = document()->findBlock(start); block.isValid() && block.position() < end;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int fragStart = fragment.position();
            if (fragStart + fragment.length() <= start || fragStart >= end ||
                fragment.charFormatIndex() == lastFormat)
                continue;
            lastFormat = fragment.charFormatIndex();
            const CharFormatState here = stateOf(fragment.charFormat());
            if (!state) {
                state = here;
                continue;
            }
            keepIfSame(state->bold, here.bold);
            keepIfSame(state->italic, here.italic);
            keepIfSame(state->underline, here.underline);
            keepIfSame(state->fontName, here.fontName);
            keepIfSame(state->fontSize, here.fontSize);
        }
    }
    // Only paragraph breaks selected: the format at the caret.
    return state ? *state : stateOf(cursor.charFormat());
}

std::optional<int> RichTextBox::selAlignment() const {
    const QTextCursor cursor = coveredParagraphs(textCursor());
    QTextBlock block = document()->findBlock(cursor.selectionStart());
    const QTextBlock last = document()->findBlock(cursor.selectionEnd());
    const int first = alignmentCode(block.blockFormat().alignment());
    for (; block.isValid(); block = block.next()) {
        if (alignmentCode(block.blockFormat().alignment()) != first)
            return std::nullopt;
        if (block == last)
            break;
    }
    return first;
}

void RichTextBox::mergeSelectionFormat(const QTextCharFormat &format) {
    QTextCursor cursor = textCursor();
    // One undo step, however many changes the two merges record.
    cursor.beginEditBlock();
    if (cursor.hasSelection())
        cursor.mergeCharFormat(format);
    mergeCurrentCharFormat(format);
    cursor.endEditBlock();
}

void RichTextBox::setSelBold(bool on) {
    QTextCharFormat format;
    format.setFontWeight(on ? QFont::Bold : QFont::Normal);
    mergeSelectionFormat(format);
}

void RichTextBox::setSelItalic(bool on) {
    QTextCharFormat format;
    format.setFontItalic(on);
    mergeSelectionFormat(format);
}

void RichTextBox::setSelUnderline(bool on) {
    QTextCharFormat format;
    format.setFontUnderline(on);
    mergeSelectionFormat(format);
}

void RichTextBox::setSelFontName(const QString &family) {
    QTextCharFormat format;
    format.setFontFamilies(QStringList{family});
    mergeSelectionFormat(format);
}

bool RichTextBox::setSelFontSize(const QString &points) {
    bool ok = false;
    const double size = points.trimmed().toDouble(&ok);
    if (!ok || !(size > 0) || size > 1638)
        return false;
    QTextCharFormat format;
    format.setFontPointSize(size);
    mergeSelectionFormat(format);
    return true;
}

void RichTextBox::setSelAlignment(int code) {
    QTextCursor cursor = coveredParagraphs(textCursor());
    QTextBlockFormat format;
    format.setAlignment(qtAlignment(code));
    cursor.mergeBlockFormat(format);
}

QByteArray RichTextBox::rtf() const {
    return writeRtf(rtfDocument());
}

bool RichTextBox::setRtf(QByteArrayView data) {
    const std::optional<RtfDocument> rtf = parseRtf(data);
    if (!rtf)
        return false;
    setRtfDocument(*rtf);
    return true;
}

bool RichTextBox::setRtfDocument(const RtfDocument &rtf, const BetweenSlices &between) {
    return replaceContent(between, rtf);
}

bool RichTextBox::setRtfFeed(RtfFeed &feed, const BetweenSlices &between) {
    return replaceContent(between, feed);
}

RtfDocument RichTextBox::rtfDocument(bool selectionOnly) const {
    const QTextCursor cursor = textCursor();
    RtfDocument rtf;
    if (selectionOnly && cursor.hasSelection()) {
        // The selection as a document of its own, formatting included.
        QTextDocument selection;
        selection.setDefaultFont(document()->defaultFont());
        QTextCursor(&selection).insertFragment(cursor.selection());
        rtf = rtfFromTextDocument(selection);
    } else {
        rtf = rtfFromTextDocument(*document());
    }
    rtf.page = pageOf(*document());
    rtf.header = headerOf(*document());
    return rtf;
}

FileStatus RichTextBox::loadFile(const QString &path) {
    const FileContents file = readWholeFile(path, kMaxDocumentFileBytes);
    if (!file.status.ok())
        return file.status;
    if (!setRtf(file.data))
        return {QStringLiteral("这不是RTF格式的文件。")};
    return {};
}

FileStatus RichTextBox::saveFile(const QString &path) const {
    return writeFileAtomically(path, rtf());
}

bool RichTextBox::printSelection(QPrinter *printer) const {
    const PageLayout pages(rtfDocument(true));
    return printPages(pages, *printer, printer->fromPage(), printer->toPage());
}

void RichTextBox::mouseMoveEvent(QMouseEvent *event) {
    Q_EMIT mouseMoved();
    QTextEdit::mouseMoveEvent(event);
}

void RichTextBox::setContextMenu(QMenu *menu) {
    contextMenu_ = menu;
}

void RichTextBox::contextMenuEvent(QContextMenuEvent *event) {
    if (!contextMenu_) {
        QTextEdit::contextMenuEvent(event);
        return;
    }
    contextMenu_->popup(event->globalPos());
    if (event->reason() == QContextMenuEvent::Keyboard) {
        const QList<QAction *> commands = contextMenu_->actions();
        const auto first = std::find_if(commands.cbegin(), commands.cend(), [](QAction *action) {
            return action->isEnabled() && action->isVisible() && !action->isSeparator();
        });
        if (first != commands.cend())
            contextMenu_->setActiveAction(*first);
    }
    event->accept();
}

void RichTextBox::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        const QPoint caret = cursorRect().center();
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, caret, viewport()->mapToGlobal(caret));
        contextMenuEvent(&menu);
        return;
    }
    QTextEdit::keyPressEvent(event);
}

bool RichTextBox::canInsertFromMimeData(const QMimeData *source) const {
    return source->hasText();
}

void RichTextBox::insertFromMimeData(const QMimeData *source) {
    if (source->hasText())
        textCursor().insertText(source->text());
}

} // namespace drillpad
