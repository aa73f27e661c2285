#include "app/forms_registry.h"
#include "common/fakes.h"
#include "common/test_main.h"
#include "controls/rich_text_box.h"
#include "mainwin/frm_main.h"

#include <QAction>
#include <QTextBlock>
#include <QTextDocument>

#include <memory>

using namespace drillpad;
using namespace Qt::StringLiterals;
using drillpad::testing::RecordingMessageBoxes;

namespace {

// The blocks that start a new page, by their text.
QStringList pageStarts(const QTextDocument &document) {
    QStringList starts;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            starts << block.text();
    }
    return starts;
}

} // namespace

class TestAnswerPage : public QObject {
    Q_OBJECT

    RecordingMessageBoxes messages_;
    ScopedSeam<MessageBoxes> seam_{messages_};

    RichTextBox &editorWith(const QString &sheet) {
        FrmMain &main = frmMain();
        main.show();
        main.txtMain()->setText(sheet);
        main.txtMain()->document()->clearUndoRedoStacks();
        messages_.messages.clear();
        return *main.txtMain();
    }

private Q_SLOTS:
    void cleanup() { UnloadAllForms(); }

    void appendsTheAnswersOnANewPage_data() {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QString>("answers"); // the editor's text after the sheet
        QTest::addColumn<QString>("message");
        QTest::newRow("wizard sheet") << u"\n乘法题:\n7×9=　2×3=　\n\n"_s
                                      << u"\n答案:\n\n乘法题:\n7×9=63　2×3=6　"_s << QString();
        QTest::newRow("some questions unreadable")
            << u"7×=　3+4=　9÷0=　"_s << u"\n答案:\n7×=　3+4=7　9÷0=　"_s
            << u"有2道题无法识别,答案页中没有写出它们的答案"_s;
        QTest::newRow("no question: nothing added")
            << u"姓名:\n"_s << QString() << u"编辑区中没有找到题目,没有写出答案页"_s;
    }
    void appendsTheAnswersOnANewPage() {
        QFETCH(QString, sheet);
        QFETCH(QString, answers);
        QFETCH(QString, message);
        RichTextBox &editor = editorWith(sheet);
        frmMain().menuAction("mnuFileAnswerKey")->trigger();
        QCOMPARE(editor.text(), sheet + answers);
        QCOMPARE(messages_.messages, message.isEmpty() ? QStringList() : QStringList(message));
        QCOMPARE(pageStarts(*editor.document()),
                 answers.isEmpty() ? QStringList() : QStringList(u"答案:"_s));
        // Printed, the answers are on a page of their own.
        const std::unique_ptr<QTextDocument> printed(editor.document()->clone());
        printed->setPageSize(QSizeF(595, 842));
        QCOMPARE(printed->pageCount(), answers.isEmpty() ? 1 : 2);
    }

    // Ctrl+K again after editing the sheet replaces the answer page, keeps
    // the sheet's formatting, and each run is one undo step.
    void runningAgainReplacesThePage() {
        RichTextBox &editor = editorWith(u"\n加法题:\n7+3=　\n"_s);
        QAction *command = frmMain().menuAction("mnuFileAnswerKey");
        command->trigger();

        // The sheet's question changes and its heading is made bold.
        QTextCursor cursor(editor.document()->findBlockByNumber(2));
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        cursor.insertText(u"8+5=　"_s);
        QTextCursor heading(editor.document()->findBlockByNumber(1));
        heading.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        heading.mergeCharFormat(bold);
        editor.document()->clearUndoRedoStacks();
        const QString editedSheet = editor.text();

        frmMain().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frmMain()));
        QTest::keyClick(&editor, Qt::Key_K, Qt::ControlModifier);
        QCOMPARE(editor.text(), u"\n加法题:\n8+5=　\n\n答案:\n\n加法题:\n8+5=13　"_s);
        QCOMPARE(pageStarts(*editor.document()), QStringList(u"答案:"_s));
        const QTextBlock keyHeading = editor.document()->findBlockByNumber(6);
        QCOMPARE(keyHeading.text(), u"加法题:"_s);
        QCOMPARE(keyHeading.begin().fragment().charFormat().fontWeight(), int(QFont::Bold));

        editor.undo();
        QCOMPARE(editor.text(), editedSheet);
        QVERIFY(!editor.document()->isUndoAvailable());

        // Saved and opened again, the answer page is still found and replaced.
        command->trigger();
        const QString withKey = editor.text();
        QVERIFY(editor.setRtf(editor.rtf()));
        command->trigger();
        QCOMPARE(editor.text(), withKey);
        QCOMPARE(pageStarts(*editor.document()), QStringList(u"答案:"_s));
    }
};

DRILLPAD_TEST_MAIN(TestAnswerPage)
#include "tst_answer_page.moc"
