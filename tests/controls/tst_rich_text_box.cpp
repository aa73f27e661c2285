#include "common/test_main.h"
#include "controls/rich_text_box.h"

#include <QLabel>
#include <QTextBlock>

using namespace drillpad;
using namespace Qt::StringLiterals;

namespace {

void select(RichTextBox &box, int start, int end) {
    QTextCursor cursor = box.textCursor();
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    box.setTextCursor(cursor);
}

} // namespace

class TestRichTextBox : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void replacingATableWithTheCaretInIt_data() {
        QTest::addColumn<int>("caret"); // a position in the document
        QTest::addColumn<bool>("rich"); // replaced by rich text, else by plain text
        QTest::newRow("in a cell, by text") << 4 << false;
        QTest::newRow("in a cell, by a table") << 4 << true;
        QTest::newRow("in the last cell, with a selection, by text") << -1 << false;
    }
    // A table in the editor, the caret or a selection in one of its cells,
    // is replaced whole; the caret ends at the start, the formats read.
    void replacingATableWithTheCaretInIt() {
        QFETCH(int, caret);
        QFETCH(bool, rich);
        RtfDocument table;
        table.rows.push_back({{1440, 1440}, true});
        for (int cell = 0; cell < 2; ++cell) {
            for (const char *text : {"34", "+ 25", ""}) {
                RtfParagraph &paragraph = table.paragraphs.emplace_back();
                paragraph.append(QString::fromUtf8(text), RtfCharFormat{});
                paragraph.row = 0;
                paragraph.cell = cell;
            }
        }
        RichTextBox box;
        box.show();
        QVERIFY(box.setRtfDocument(table));
        const int end = box.document()->characterCount() - 2;
        select(box, caret < 0 ? end - 3 : caret, caret < 0 ? end : caret);
        QVERIFY(box.textCursor().currentTable());
        QVERIFY(rich ? box.setRtfDocument(table) : box.setText(u"7+3="_s));
        QCOMPARE(box.textCursor().position(), 0);
        QCOMPARE(box.selAlignment(), std::optional<int>(RichTextBox::AlignLeftCode));
        QCOMPARE(box.text(), rich ? u"34\n+ 25\n\n34\n+ 25\n"_s : u"7+3="_s);
    }

    // The header shows above the text, named by what it says, and comes
    // and goes with the text, undo (one step) and redo included; the text keeps
    // its room below it. New text drops the old formatting.
    void headerComesAndGoesWithTheText() {
        RichTextBox box;
        box.resize(400, 300);
        box.show();
        const auto *shown = box.findChild<QLabel *>(u"headerView"_s);
        QVERIFY(shown && shown->isHidden());
        RtfParagraph line;
        line.append(u"姓名:______ 得分:______"_s, RtfCharFormat{});
        box.setText(u"first"_s, {}, {line, line});
        QCOMPARE(box.header().size(), std::size_t(2));
        QVERIFY(shown->isVisible());
        QCOMPARE(shown->accessibleName(), u"姓名:______ 得分:______\n姓名:______ 得分:______"_s);
        QVERIFY(box.viewport()->y() >= shown->geometry().bottom());
        select(box, 0, 5);
        box.setSelBold(true);
        box.setSelAlignment(RichTextBox::AlignCenterCode);
        box.setText(u"second"_s);
        QVERIFY(box.header().empty() && shown->isHidden());
        select(box, 0, 6);
        QCOMPARE(box.selCharFormat().bold, std::optional<bool>(false));
        QCOMPARE(box.selAlignment(), std::optional<int>(RichTextBox::AlignLeftCode));
        box.undo();
        QCOMPARE(box.text(), u"first"_s);
        QCOMPARE(box.header().size(), std::size_t(2));
        QVERIFY(shown->isVisible());
        box.redo();
        QVERIFY(box.header().empty() && shown->isHidden());
        QCOMPARE(box.text(), u"second"_s);
    }

    // Text that is no size, or a size out of range, leaves the selection as it was.
    void fontSizeTakesOnlySizesInRange_data() {
        QTest::addColumn<QString>("size");
        QTest::addColumn<bool>("taken");
        QTest::newRow("design text") << u"五号"_s << false;
        QTest::newRow("zero") << u"0"_s << false;
        QTest::newRow("largest") << u"1638"_s << true;
        QTest::newRow("too large") << u"1638.5"_s << false;
    }
    void fontSizeTakesOnlySizesInRange() {
        QFETCH(QString, size);
        QFETCH(bool, taken);
        RichTextBox box;
        box.setText(u"abc"_s);
        select(box, 0, 3);
        const std::optional<double> before = box.selCharFormat().fontSize;
        QCOMPARE(box.setSelFontSize(size), taken);
        QCOMPARE(box.selCharFormat().fontSize, taken ? std::optional(size.toDouble()) : before);
    }

    void alignmentSparesAParagraphTheSelectionOnlyReaches_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("aligned"); // per paragraph: l left, c centred, r right
        const int centre = RichTextBox::AlignCenterCode, right = RichTextBox::AlignRightCode;
        // "one\ntwo\nthree": "two" starts at 4, "three" at 8.
        QTest::newRow("one line to the next one's start") << 4 << 8 << centre << "lcl";
        QTest::newRow("backwards from the next one's start") << 8 << 4 << centre << "lcl";
        QTest::newRow("into the next line") << 4 << 9 << centre << "lcc";
        QTest::newRow("caret at a line's start") << 8 << 8 << centre << "llc";
        QTest::newRow("right, from inside a line into the next") << 5 << 9 << right << "lrr";
    }
    void alignmentSparesAParagraphTheSelectionOnlyReaches() {
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(int, code);
        QFETCH(QString, aligned);
        RichTextBox box;
        box.setText(u"one\ntwo\nthree"_s);
        select(box, start, end);
        QCOMPARE(box.selAlignment(), std::optional<int>(RichTextBox::AlignLeftCode));
        box.setSelAlignment(code);
        QString found;
        for (QTextBlock block = box.document()->firstBlock(); block.isValid();
             block = block.next()) {
            const Qt::Alignment alignment = block.blockFormat().alignment();
            found += alignment & Qt::AlignRight ? u'r' : alignment & Qt::AlignHCenter ? u'c' : u'l';
        }
        QCOMPARE(found, aligned);
        // Read back over the same selection: what it covers is uniformly aligned.
        QCOMPARE(box.selAlignment(), std::optional<int>(code));
    }
};

DRILLPAD_TEST_MAIN(TestRichTextBox)
#include "tst_rich_text_box.moc"
