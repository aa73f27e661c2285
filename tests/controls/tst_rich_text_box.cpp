#include "common/test_main.h"
#include "controls/rich_text_box.h"

#include <QLabel>
#include <QTextBlock>

using namespace drillpad;

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
    void textTravelsWithLoneLineFeeds_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("sheet") << QStringLiteral("\n乘法题:\n2\u00D73=\u30004\u00D75=\u3000\n\n");
        QTest::newRow("no final line feed") << QStringLiteral("a\nb");
    }
    void textTravelsWithLoneLineFeeds() {
        QFETCH(QString, text);
        RichTextBox box;
        box.setText(QStringLiteral("old content"));
        box.setText(text);
        QCOMPARE(box.text(), text);
        QCOMPARE(box.document()->blockCount(), static_cast<int>(text.count(u'\n')) + 1);
    }

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
        if (caret < 0)
            select(box, end - 3, end);
        else
            select(box, caret, caret);
        QVERIFY(box.textCursor().currentTable());
        QVERIFY(rich ? box.setRtfDocument(table) : box.setText(QStringLiteral("7+3=")));
        QCOMPARE(box.textCursor().position(), 0);
        QCOMPARE(box.selAlignment(), std::optional<int>(RichTextBox::AlignLeftCode));
        QCOMPARE(box.text(),
                 rich ? QStringLiteral("34\n+ 25\n\n34\n+ 25\n") : QStringLiteral("7+3="));
    }

    // The header shows above the text, named by what it says, and comes
    // and goes with the text, undo (one step) and redo included; the text keeps
    // its room below it. New text drops the old formatting.
    void headerComesAndGoesWithTheText() {
        RichTextBox box;
        box.resize(400, 300);
        box.show();
        const auto *shown = box.findChild<QLabel *>(QStringLiteral("headerView"));
        QVERIFY(shown && shown->isHidden());
        RtfParagraph line;
        line.append(QStringLiteral("姓名:______ 得分:______"), RtfCharFormat{});
        box.setText(QStringLiteral("first"), {}, {line, line});
        QCOMPARE(box.header().size(), std::size_t(2));
        QVERIFY(shown->isVisible());
        QCOMPARE(shown->accessibleName(),
                 QStringLiteral("姓名:______ 得分:______\n姓名:______ 得分:______"));
        QVERIFY(box.viewport()->y() >= shown->geometry().bottom());
        select(box, 0, 5);
        box.setSelBold(true);
        box.setSelAlignment(RichTextBox::AlignCenterCode);
        box.setText(QStringLiteral("second"));
        QVERIFY(box.header().empty() && shown->isHidden());
        select(box, 0, 6);
        QCOMPARE(box.selCharFormat().bold, std::optional<bool>(false));
        QCOMPARE(box.selAlignment(), std::optional<int>(RichTextBox::AlignLeftCode));
        box.undo();
        QCOMPARE(box.text(), QStringLiteral("first"));
        QCOMPARE(box.header().size(), std::size_t(2));
        QVERIFY(shown->isVisible());
        box.redo();
        QVERIFY(box.header().empty() && shown->isHidden());
        QCOMPARE(box.text(), QStringLiteral("second"));
    }

    void togglesReportMixedSelections() {
        RichTextBox box;
        box.setText(QStringLiteral("bold plain"));
        select(box, 0, 4);
        box.setSelBold(true);
        QCOMPARE(box.selCharFormat().bold, std::optional<bool>(true));
        select(box, 0, 10);
        QCOMPARE(box.selCharFormat().bold, std::nullopt);
        select(box, 5, 10);
        QCOMPARE(box.selCharFormat().bold, std::optional<bool>(false));
    }

    void fontSizeTextThatIsNoSizeIsIgnored_data() {
        QTest::addColumn<QString>("size");
        QTest::newRow("design text") << QStringLiteral("五号");
        QTest::newRow("empty") << QString();
        QTest::newRow("negative") << QStringLiteral("-3");
        QTest::newRow("huge") << QStringLiteral("100000");
    }
    void fontSizeTextThatIsNoSizeIsIgnored() {
        QFETCH(QString, size);
        RichTextBox box;
        box.setText(QStringLiteral("abc"));
        select(box, 0, 3);
        const std::optional<double> before = box.selCharFormat().fontSize;
        QVERIFY(!box.setSelFontSize(size));
        QCOMPARE(box.selCharFormat().fontSize, before);
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
        QTest::newRow("two lines to the start of the third") << 0 << 8 << centre << "ccl";
        QTest::newRow("into the next line") << 4 << 9 << centre << "lcc";
        QTest::newRow("caret at a line's start") << 8 << 8 << centre << "llc";
        QTest::newRow("line break alone") << 7 << 8 << centre << "lcl";
        QTest::newRow("everything") << 0 << 13 << centre << "ccc";
        QTest::newRow("right, from inside a line into the next") << 5 << 9 << right << "lrr";
    }
    void alignmentSparesAParagraphTheSelectionOnlyReaches() {
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(int, code);
        QFETCH(QString, aligned);
        RichTextBox box;
        box.setText(QStringLiteral("one\ntwo\nthree"));
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
