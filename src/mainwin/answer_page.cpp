#include "mainwin/answer_page.h"

#include "controls/message_box.h"
#include "controls/rich_text_box.h"
#include "guide/sheet_layout.h"
#include "mainwin/frm_main.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextTable>

namespace drillpad {

namespace {

bool startsPage(const QTextBlock &block) {
    return block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore;
}

// The heading and the page break travel through RTF files, and through text
// files as a form feed; a text file edited elsewhere may have lost the break.
QTextBlock earlierAnswerPage(const QTextDocument &document) {
    const QStringView heading(kAnswerKeyHeading);
    QTextBlock firstHeading;
    for (QTextBlock block = document.begin().next(); block.isValid(); block = block.next()) {
        // Most lines are too long to be the heading: their text is not read.
        if (block.length() > 2 * heading.size() + 8 || block.text().trimmed() != heading)
            continue;
        if (startsPage(block))
            return block;
        if (!firstHeading.isValid())
            firstHeading = block;
    }
    return firstHeading;
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

QTextDocumentFragment contentOf(const QTextBlock &block) {
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    return cursor.selection();
}

} // namespace

WrittenAnswerPage writeAnswerPage(QTextEdit &editor) {
    QTextDocument *document = editor.document();
    const QTextBlock earlierPage = earlierAnswerPage(*document);
    QStringList lines;
    std::vector<QTextBlock> sources; // the block of each line
    for (QTextBlock block = document->begin(); block.isValid() && block != earlierPage;
         block = block.next()) {
        if (const QTextTable *table = QTextCursor(block).currentTable()) {
            // 竖式: each row of the table is a line of questions.
            for (int row = 0; row < table->rows(); ++row) {
                std::vector<QStringList> cells;
                for (int column = 0; column < table->columns(); ++column) {
                    const QTextTableCell cell = table->cellAt(row, column);
                    QStringList &texts = cells.emplace_back();
                    for (QTextBlock inCell = document->findBlock(cell.firstPosition());
                         inCell.isValid() && inCell.position() <= cell.lastPosition();
                         inCell = inCell.next())
                        texts << inCell.text();
                }
                lines << verticalRowAsLine(cells);
                sources.push_back(document->findBlock(table->cellAt(row, 0).firstPosition()));
            }
            block = document->findBlock(table->lastPosition());
            continue;
        }
        lines << block.text();
        sources.push_back(block);
    }
    std::vector<QTextBlock> added;
    if (earlierPage.isValid()) {
        QStringList pageLines;
        std::vector<QTextBlock> pageBlocks;
        for (QTextBlock block = earlierPage.next(); block.isValid(); block = block.next()) {
            pageLines << block.text();
            pageBlocks.push_back(block);
        }
        for (const int line : linesAddedToAnswerKey(pageLines)) {
            added.push_back(pageBlocks[static_cast<std::size_t>(line)]);
            lines << pageLines[line];
            sources.push_back(added.back());
        }
    }
    WrittenAnswerPage page{makeAnswerKey(lines), static_cast<int>(added.size())};
    const AnswerKey &key = page.key;
    if (key.lines.empty())
        return {};

    // Formats and moved lines are taken before the edit changes the document.
    std::vector<LineFormat> formats;
    formats.reserve(key.lines.size());
    for (const AnswerLine &line : key.lines) {
        // The heading looks like the first line it stands above.
        const int source = line.sourceLine >= 0 ? line.sourceLine : key.lines.at(1).sourceLine;
        const QTextBlock &block = sources.at(static_cast<std::size_t>(source));
        formats.push_back(formatOf(block));
        // A 竖式's answer is a line of the page, not a block of a cell.
        if (QTextCursor(block).currentTable())
            formats.back().block = QTextBlockFormat();
    }
    formats.front().block.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    std::vector<std::pair<LineFormat, QTextDocumentFragment>> moved;
    for (const QTextBlock &block : added)
        moved.emplace_back(formatOf(block), contentOf(block));

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
    for (const auto &[format, content] : moved) {
        cursor.insertBlock(format.block, format.chars);
        cursor.insertFragment(content);
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
    return page;
}

// A sheet of several sets carries each set's answers on pages of its own,
// from "第1套答案" on; a key of all the sets at once would only repeat them.
static bool hasSetAnswers(const QTextDocument &document) {
    const QString heading = setAnswersHeading(1);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (startsPage(block) && block.length() <= heading.size() + 8 &&
            block.text().trimmed() == heading)
            return true;
    }
    return false;
}

void addAnswerPage(FrmMain &window) {
    if (hasSetAnswers(*window.txtMain()->document())) {
        showMessage(&window, QStringLiteral("这份练习纸每套题的答案已经写在后面了,没有再写答案页"));
        return;
    }
    const WrittenAnswerPage page = writeAnswerPage(*window.txtMain());
    if (page.key.lines.empty()) {
        showMessage(&window, QStringLiteral("编辑区中没有找到题目,没有写出答案页"));
        return;
    }
    QStringList notes;
    if (page.linesMoved > 0)
        notes << QStringLiteral("答案页上后来添加的%1行已移到题目的最后").arg(page.linesMoved);
    if (page.key.leftOut > 0)
        notes
            << QStringLiteral("有%1道题无法识别,答案页中没有写出它们的答案").arg(page.key.leftOut);
    if (!notes.isEmpty())
        showMessage(&window, notes.join(u'\n'));
}

} // namespace drillpad
