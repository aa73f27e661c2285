#include "app/forms_registry.h"
#include "common/fakes.h"
#include "common/test_main.h"
#include "controls/rich_text_box.h"
#include "guide/sheet_layout.h"
#include "mainwin/frm_main.h"

#include <QAction>
#include <QTextBlock>
#include <QTextDocument>

using namespace drillpad;
using namespace Qt::StringLiterals;

namespace {

enum Change { EditSheet, AppendToPage, SaveRtf, SaveText, SaveTextLosingBreak };

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

    testing::RecordingMessageBoxes messages_;
    ScopedSeam<MessageBoxes> seam_{messages_};

    RichTextBox &editorWith(const QString &sheet) {
        FrmMain &main = frmMain();
        main.show();
        main.txtMain()->setText(sheet);
        main.txtMain()->document()->clearUndoRedoStacks();
        messages_.messages.clear();
        return *main.txtMain();
    }
    // Puts a laid-out sheet in the main window and asks for its answer page;
    // returns the text before.
    QString answerPageOf(const LaidOutSheet &sheet) {
        RichTextBox &editor = editorWith({});
        editor.setRtfDocument(sheet.document);
        const QString before = editor.text();
        frmMain().menuAction("mnuFileAnswerKey")->trigger();
        return before;
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

    // A sheet in 竖式: each question answered on the page, in the order
    // written, each answer right by plain arithmetic.
    void answersVerticalQuestions() {
        SheetSettings settings = SheetSettings::initial();
        settings[QuestionType::Add].selected = true;
        settings[QuestionType::Add].to = 99;
        settings.layout.vertical = true;
        const LaidOutSheet sheet = layOutSheet(settings);
        answerPageOf(sheet);
        QVERIFY2(messages_.messages.isEmpty(), qPrintable(messages_.messages.join(u'|')));
        const QString text = frmMain().txtMain()->text();
        const QString page = text.mid(text.lastIndexOf(u"答案:"_s));
        static const QRegularExpression answered(u"(\\d+)([+×])(\\d+)=(\\d+)"_s);
        QStringList expected, found;
        for (const SectionSummary &section : sheet.sets.front().sections) {
            for (const WrittenQuestion &question : section.questions)
                expected << question.text.section(u'=', 0, 0);
        }
        for (auto it = answered.globalMatch(page); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            const long long a = m.captured(1).toLongLong(), b = m.captured(3).toLongLong();
            const long long sum = m.captured(2) == u"+"_s ? a + b : a * b;
            QCOMPARE(m.captured(4).toLongLong(), sum);
            found << m.captured(1) + m.captured(2) + m.captured(3);
        }
        QCOMPARE(found, expected);
    }

    // Several sets carry their own answers: Ctrl+K says so and leaves the
    // sheet as it is.
    void setsKeepTheirOwnAnswers() {
        SheetSettings settings = SheetSettings::initial();
        settings.layout.sets = 2;
        const QString before = answerPageOf(layOutSheet(settings));
        QCOMPARE(messages_.messages,
                 QStringList{u"这份练习纸每套题的答案已经写在后面了,没有再写答案页"_s});
        QCOMPARE(frmMain().txtMain()->text(), before);
        QCOMPARE(pageStarts(*frmMain().txtMain()->document()).count(u"第2套答案"_s), 1);
    }

    // Ctrl+K again after a change replaces the answer page, keeps the sheet's
    // formatting, and each run is one undo step. Questions added to the page
    // move to the sheet and are answered; a page saved and opened again, as
    // RTF or as text with or without its page break, is found and replaced.
    void runningAgainReplacesThePage_data() {
        QTest::addColumn<int>("change");
        QTest::addColumn<QString>("expected");
        const QString again = u"\n加法题:\n7+3=　\n\n答案:\n\n加法题:\n7+3=10　"_s;
        QTest::newRow("sheet edited, heading made bold")
            << int(EditSheet) << u"\n加法题:\n8+5=　\n\n答案:\n\n加法题:\n8+5=13　"_s;
        QTest::newRow("questions and a note added after the page")
            << int(AppendToPage)
            << u"\n加法题:\n7+3=　\n\n12+5=　(　)-4=3\n小明:\n答案:\n\n加法题:\n7+3=10　"
               u"\n\n12+5=17　(7)-4=3"_s;
        QTest::newRow("saved as RTF") << int(SaveRtf) << again;
        QTest::newRow("saved as text") << int(SaveText) << again;
        QTest::newRow("saved as text, page break lost") << int(SaveTextLosingBreak) << again;
    }
    void runningAgainReplacesThePage() {
        QFETCH(int, change);
        QFETCH(QString, expected);
        RichTextBox &editor = editorWith(u"\n加法题:\n7+3=　\n"_s);
        frmMain().menuAction("mnuFileAnswerKey")->trigger();
        QTemporaryDir folder;
        const QString textFile = folder.filePath(u"sheet.txt"_s);
        testing::ScriptedFileDialogs dialogs;
        ScopedSeam<FileDialogs> dialogSeam(dialogs);
        const auto selectBlock = [&editor](int number) {
            QTextCursor block(editor.document()->findBlockByNumber(number));
            block.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
            editor.setTextCursor(block);
        };
        switch (Change(change)) {
        case EditSheet:
            selectBlock(2);
            editor.setSelText(u"8+5=　"_s);
            selectBlock(1); // the heading
            editor.setSelBold(true);
            break;
        case AppendToPage:
            editor.moveCursor(QTextCursor::End);
            editor.insertPlainText(u"\n12+5=　(　)-4=3\n小明:"_s);
            break;
        case SaveRtf:
            QVERIFY(editor.setRtf(editor.rtf()));
            break;
        case SaveText:
        case SaveTextLosingBreak: {
            dialogs.answers << FileChoice{textFile, 1};
            frmMain().menuAction("mnuFileSave")->trigger();
            QFile file(textFile);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QByteArray saved = file.readAll();
            QVERIFY(saved.contains("\n\f答案:\n"));
            if (change == SaveTextLosingBreak)
                QVERIFY(file.resize(0) && file.seek(0) && file.write(saved.replace('\f', "")) > 0);
            file.close();
            editor.setText(QString());
            editor.document()->setModified(false);
            dialogs.answers << FileChoice{textFile, 1};
            frmMain().menuAction("mnuFileOpen")->trigger();
            QCOMPARE(pageStarts(*editor.document()).size(), change == SaveText ? 1 : 0);
            break;
        }
        }
        editor.document()->clearUndoRedoStacks();
        messages_.messages.clear();
        const QString changed = editor.text();

        frmMain().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frmMain()));
        QTest::keyClick(&editor, Qt::Key_K, Qt::ControlModifier);
        QCOMPARE(editor.text(), expected);
        QCOMPARE(pageStarts(*editor.document()), QStringList(u"答案:"_s));
        QCOMPARE(messages_.messages, change == AppendToPage
                                         ? QStringList{u"答案页上后来添加的2行已移到题目的最后"_s}
                                         : QStringList());
        // The heading on the page looks like the sheet's.
        const auto weightOf = [&](int block) {
            return QTextCursor(editor.document()->findBlockByNumber(block))
                .charFormat()
                .fontWeight();
        };
        QCOMPARE(weightOf(int(expected.left(expected.indexOf(u"答案:")).count(u'\n')) + 2),
                 weightOf(1));

        editor.undo();
        QCOMPARE(editor.text(), changed);
        QVERIFY(!editor.document()->isUndoAvailable());
    }
};

DRILLPAD_TEST_MAIN(TestAnswerPage)
#include "tst_answer_page.moc"
