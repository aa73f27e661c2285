#include "mainwin/answer_page.h"

#include "controls/message_box.h"
#include "controls/rich_text_box.h"
#include "mainwin/frm_main.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace drillpad {

namespace {

// The first line of an answer page: the heading on a block that starts a
// new page. Both travel through the RTF file, so a saved and reopened sheet
// is recognised too.
bool startsAnswerPage(const QTextBlock &block) {
    return (block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) &&
           block.text().trimmed() == QStringView(kAnswerKeyHeading);
}

struct LineFormat {
    QTextBlockFormat block;
    QTextCharFormat chars;

    bool operator==(const LineFormat &) const = default;
};

LineFormat formatOf(const QTextBlock &block) {
    LineFormat format{block.blockFormat(), block.charFormat()};
    const QTextBlock::iterator first = block.begin();
    if (!first.atEnd())
        format.chars = first.fragment().charFormat();
    format.block.setPageBreakPolicy(QTextFormat::PageBreak_Auto);
    return format;
}

} // namespace

AnswerKey writeAnswerPage(QTextEdit &editor) {
    QTextDocument *document = editor.document();
    QStringList lines;
    std::vector<QTextBlock> sheetBlocks;
    QTextBlock earlierPage;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (startsAnswerPage(block) && block.position() > 0) {
            earlierPage = block;
            break;
        }
        lines << block.text();
        sheetBlocks.push_back(block);
    }
    AnswerKey key = makeAnswerKey(lines);
    if (key.lines.empty())
        return key;

    // Formats are taken before the edit changes the document.
    std::vector<LineFormat> formats;
    formats.reserve(key.lines.size());
    for (const AnswerLine &line : key.lines) {
        // The heading looks like the first line it stands above.
        const int source = line.sourceLine >= 0 ? line.sourceLine : key.lines.at(1).sourceLine;
        formats.push_back(formatOf(sheetBlocks.at(static_cast<std::size_t>(source))));
    }
    formats.front().block.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);

    // As in RichTextBox::setText: without a page size the layout waits for
    // the end of the edit instead of following every inserted line.
    const QSizeF pageSize = document->pageSize();
    document->setPageSize(QSizeF(0, 0));
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    if (earlierPage.isValid()) {
        cursor.setPosition(earlierPage.position() - 1);
        cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    } else {
        cursor.movePosition(QTextCursor::End);
    }
    cursor.insertBlock(formats.front().block, formats.front().chars);
    const int pageStart = cursor.position();
    // Lines alike in format go in as one text: inserting the 20000 lines of
    // the largest sheet one by one takes seconds.
    for (std::size_t first = 0; first < key.lines.size();) {
        std::size_t end = first + 1;
        QString run = key.lines[first].text;
        while (end < key.lines.size() && formats[end] == formats[first]) {
            run += u'\n';
            run += key.lines[end++].text;
        }
        if (first > 0)
            cursor.insertBlock(formats[first].block, formats[first].chars);
        cursor.insertText(run, formats[first].chars);
        first = end;
    }
    cursor.endEditBlock();
    document->setPageSize(pageSize);

    QTextCursor caret(document);
    caret.setPosition(pageStart);
    editor.setTextCursor(caret);
    editor.ensureCursorVisible();
    return key;
}

void addAnswerPage(FrmMain &window) {
    const AnswerKey key = writeAnswerPage(*window.txtMain());
    if (key.lines.empty()) {
        showMessage(&window, QStringLiteral("编辑区中没有找到题目,没有写出答案页"));
    } else if (key.leftOut > 0) {
        showMessage(&window,
                    QStringLiteral("有%1道题无法识别,答案页中没有写出它们的答案").arg(key.leftOut));
    }
}

} // namespace drillpad
