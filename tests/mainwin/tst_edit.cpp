#include "common/editor_helpers.h"
#include "common/fakes.h"
#include "common/main_window_fixture.h"
#include "common/test_main.h"
#include "controls/tool_bar.h"
#include "mainwin/find_box.h"

#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QToolButton>

using namespace drillpad;
using testing::placeCaret;
using testing::selectRange;

// Cut, copy and paste through the system clipboard, undo and redo, and the
// find box, from the toolbar and from the Edit menu.
class TestEdit : public QObject {
    Q_OBJECT

    std::unique_ptr<FrmMain> window_;
    testing::RecordingMessageBoxes messages_;
    ScopedSeam<MessageBoxes> messageSeam_{messages_};

    RichTextBox *editor() const { return window_->txtMain(); }
    static QClipboard *clipboard() { return QGuiApplication::clipboard(); }

    // Runs a command from the toolbar ("tb...") or the Edit menu ("mnu...").
    void run(const QString &command) {
        if (command.startsWith(QLatin1String("tb"))) {
            QToolButton *button = window_->toolbarSYSTEM()->buttonWidget(command);
            QVERIFY2(button, qPrintable(command));
            QTest::mouseClick(button, Qt::LeftButton);
        } else {
            QAction *entry = window_->menuAction(command.toLatin1().constData());
            QVERIFY2(entry, qPrintable(command));
            entry->trigger();
        }
    }

    bool enabled(const char *key, const char *entry) const {
        const bool button = window_->toolbarSYSTEM()->button(QString::fromLatin1(key))->isEnabled();
        const bool menu = window_->menuAction(entry)->isEnabled();
        if (button != menu)
            qWarning("%s and %s disagree", key, entry);
        return button && menu;
    }
    bool canUndo() const { return enabled("tbUndo", "mnuEditUndo"); }
    bool canRedo() const { return enabled("tbRedo", "mnuEditRedo"); }

    FindBox *findBox() const { return window_->findBox(); }

private Q_SLOTS:
    void init() {
        messages_.messages.clear();
        clipboard()->setText(QStringLiteral("earlier"));
        window_ = testing::shownMainWindow();
    }

    void cleanup() {
        window_.reset();
        testing::unloadAllWindows();
    }

    void cutAndCopy_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("cut");
        QTest::newRow("cut button") << "tbCut" << true;
        QTest::newRow("copy button") << "tbCopy" << false;
        QTest::newRow("cut menu") << "mnuEditCut" << true;
        QTest::newRow("copy menu") << "mnuEditCopy" << false;
    }

    // The selection goes to the clipboard as plain text only.
    void cutAndCopy() {
        QFETCH(QString, command);
        QFETCH(bool, cut);
        editor()->setText(QStringLiteral("加法题:\n1+2=\u3000"));
        selectRange(editor(), 0, 3);
        editor()->setSelBold(true);
        run(command);
        QCOMPARE(clipboard()->text(), QStringLiteral("加法题"));
        QCOMPARE(clipboard()->mimeData()->formats(), QStringList{QStringLiteral("text/plain")});
        if (cut) {
            QCOMPARE(editor()->text(), QStringLiteral(":\n1+2=\u3000"));
            QCOMPARE(editor()->textCursor().position(), 0);
            QVERIFY(!editor()->textCursor().hasSelection());
        } else {
            QCOMPARE(editor()->text(), QStringLiteral("加法题:\n1+2=\u3000"));
            QCOMPARE(editor()->selText(), QStringLiteral("加法题"));
        }
    }
    void cutAndCopyWithNothingSelectedEmptyTheClipboard() {
        QFETCH(QString, command);
        editor()->setText(QStringLiteral("abc"));
        placeCaret(editor(), 1);
        run(command);
        QCOMPARE(clipboard()->text(), QString());
        const QMimeData *data = clipboard()->mimeData();
        QVERIFY(!data || data->formats().isEmpty());
        QCOMPARE(editor()->text(), QStringLiteral("abc"));
    }
    void cutAndCopyWithNothingSelectedEmptyTheClipboard_data() { cutAndCopy_data(); }

    void paste_data() {
        QTest::addColumn<QString>("command");
        QTest::newRow("button") << "tbPaste";
        QTest::newRow("menu") << "mnuEditPaste";
    }

    // A formatted passage copied elsewhere arrives as plain text taking the
    // formatting of the place it lands.
    void pasteInsertsPlainText() {
        QFETCH(QString, command);
        auto *data = new QMimeData;
        data->setHtml(QStringLiteral("<b><i>7\u00D78=</i></b>"));
        data->setText(QStringLiteral("7\u00D78="));
        clipboard()->setMimeData(data);
        editor()->setText(QStringLiteral("ab"));
        placeCaret(editor(), 1);
        run(command);
        QCOMPARE(editor()->text(), QStringLiteral("a7\u00D78=b"));
        selectRange(editor(), 1, 5);
        QCOMPARE(editor()->selBold(), std::optional<bool>(false));
        QCOMPARE(editor()->selItalic(), std::optional<bool>(false));
    }
    void pasteInsertsPlainText_data() { paste_data(); }

    void pasteTakesTheFormattingOfThePlace() {
        QFETCH(QString, command);
        editor()->setText(QStringLiteral("bold plain"));
        selectRange(editor(), 0, 4);
        editor()->setSelBold(true);
        run(QStringLiteral("tbCopy"));
        placeCaret(editor(), 10);
        run(command);
        QCOMPARE(editor()->text(), QStringLiteral("bold plainbold"));
        selectRange(editor(), 10, 14);
        QCOMPARE(editor()->selBold(), std::optional<bool>(false));
    }
    void pasteTakesTheFormattingOfThePlace_data() { paste_data(); }

    void pasteWithoutTextOnTheClipboardDeletesTheSelection() {
        QFETCH(QString, command);
        clipboard()->clear();
        editor()->setText(QStringLiteral("abcd"));
        selectRange(editor(), 1, 3);
        run(command);
        QCOMPARE(editor()->text(), QStringLiteral("ad"));
    }
    void pasteWithoutTextOnTheClipboardDeletesTheSelection_data() { paste_data(); }

    void undoAndRedoAreGreyedWhenThereIsNothingToDo() {
        QVERIFY(!canUndo());
        QVERIFY(!canRedo());
        editor()->setFocus();
        QTest::keyClicks(editor(), QStringLiteral("12"));
        QVERIFY(canUndo());
        QVERIFY(!canRedo());
        run(QStringLiteral("tbUndo"));
        QCOMPARE(editor()->text(), QString());
        QVERIFY(!canUndo());
        QVERIFY(canRedo());
        run(QStringLiteral("mnuEditRedo"));
        QCOMPARE(editor()->text(), QStringLiteral("12"));
        QVERIFY(canUndo());
        QVERIFY(!canRedo());
    }

    // A whole sheet as the wizard writes it, and the reset that empties it,
    // are one step each.
    void undoAndRedoAcrossAWrittenSheetAndAReset() {
        editor()->setFocus();
        QTest::keyClicks(editor(), QStringLiteral("x"));
        const QString sheet = QStringLiteral("\n乘法题:\n2\u00D73=\u30004\u00D75=\u3000\n\n");
        editor()->setText(sheet);
        QTest::mouseClick(window_->button("cmdReset"), Qt::LeftButton);
        QCOMPARE(editor()->text(), QString());

        run(QStringLiteral("tbUndo"));
        QCOMPARE(editor()->text(), sheet);
        run(QStringLiteral("mnuEditUndo"));
        QCOMPARE(editor()->text(), QStringLiteral("x"));
        run(QStringLiteral("tbRedo"));
        QCOMPARE(editor()->text(), sheet);
        run(QStringLiteral("tbRedo"));
        QCOMPARE(editor()->text(), QString());
        QVERIFY(!canRedo());
    }

    // Emptying an empty sheet is no step to undo.
    void resetOfAnEmptySheetLeavesNothingToUndo() {
        QTest::mouseClick(window_->button("cmdReset"), Qt::LeftButton);
        QVERIFY(!canUndo());
        editor()->setText(QStringLiteral("x"));
        QTest::mouseClick(window_->button("cmdReset"), Qt::LeftButton);
        QTest::mouseClick(window_->button("cmdReset"), Qt::LeftButton);
        run(QStringLiteral("tbUndo"));
        QCOMPARE(editor()->text(), QStringLiteral("x"));
    }
    void undoRestoresFormatting() {
        editor()->setText(QStringLiteral("abc"));
        selectRange(editor(), 0, 3);
        QTest::mouseClick(window_->toolbarEdit()->buttonWidget(QStringLiteral("tbBold")),
                          Qt::LeftButton);
        QCOMPARE(editor()->selBold(), std::optional<bool>(true));
        run(QStringLiteral("tbUndo"));
        selectRange(editor(), 0, 3);
        QCOMPARE(editor()->selBold(), std::optional<bool>(false));
        QCOMPARE(editor()->text(), QStringLiteral("abc"));
    }

    void findSearchesOnAndWraps_data() {
        QTest::addColumn<QString>("command");
        QTest::newRow("button") << "tbFind";
        QTest::newRow("menu") << "mnuEditFind";
    }
    void findSearchesOnAndWraps() {
        QFETCH(QString, command);
        //                                    0123456789012
        editor()->setText(QStringLiteral("3+4=\u30005+6=\u30003+4="));
        placeCaret(editor(), 2);
        run(command);
        QVERIFY(findBox() && findBox()->isVisible());
        QVERIFY(!findBox()->isModal()); // the sheet stays usable
        QLineEdit *what = findBox()->txtFind();
        QTest::keyClicks(what, QStringLiteral("3+4"));
        CommandButton *next = findBox()->button("cmdFindNext");
        CommandButton *previous = findBox()->button("cmdFindPrevious");

        const auto found = [this] {
            const QTextCursor c = editor()->textCursor();
            return qMakePair(c.selectionStart(), c.selectedText());
        };
        QTest::mouseClick(next, Qt::LeftButton);
        QCOMPARE(found(), qMakePair(10, QStringLiteral("3+4")));
        QTest::mouseClick(next, Qt::LeftButton); // wraps to the top
        QCOMPARE(found(), qMakePair(0, QStringLiteral("3+4")));
        QTest::mouseClick(previous, Qt::LeftButton); // wraps to the bottom
        QCOMPARE(found(), qMakePair(10, QStringLiteral("3+4")));
        QTest::keyClick(what, Qt::Key_Return); // Enter finds the next one
        QCOMPARE(found(), qMakePair(0, QStringLiteral("3+4")));
        QVERIFY(messages_.messages.isEmpty());
    }

    void findByShortcutFromTheSheet() {
        QApplication::setActiveWindow(window_.get());
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        editor()->setText(QStringLiteral("5-2=\u3000"));
        selectRange(editor(), 0, 3);
        editor()->setFocus();
        QTest::keyClick(editor(), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(findBox() && findBox()->isVisible());
        QCOMPARE(findBox()->txtFind()->text(), QStringLiteral("5-2"));
    }

    void findReportsAbsentText() {
        editor()->setText(QStringLiteral("1+1=\u3000"));
        selectRange(editor(), 0, 1);
        run(QStringLiteral("tbFind"));
        QCOMPARE(findBox()->txtFind()->text(), QStringLiteral("1")); // from the selection
        findBox()->txtFind()->setText(QStringLiteral("9\u00F73"));
        QTest::mouseClick(findBox()->button("cmdFindNext"), Qt::LeftButton);
        QCOMPARE(messages_.messages, QStringList{QStringLiteral("找不到\"9\u00F73\"")});
        QCOMPARE(editor()->selText(), QStringLiteral("1"));
    }

    void findNeedsSomethingToFindAndEscCloses() {
        editor()->setText(QStringLiteral("a\nb"));
        selectRange(editor(), 0, 3); // more than one line: not offered
        run(QStringLiteral("tbFind"));
        QCOMPARE(findBox()->txtFind()->text(), QString());
        QVERIFY(!findBox()->button("cmdFindNext")->isEnabled());
        QVERIFY(!findBox()->button("cmdFindPrevious")->isEnabled());
        QTest::keyClick(findBox()->txtFind(), Qt::Key_Return);
        QVERIFY(messages_.messages.isEmpty());
        QTest::keyClick(findBox()->txtFind(), Qt::Key_Escape);
        QVERIFY(!findBox()->isVisible());
        QCOMPARE(editor()->text(), QStringLiteral("a\nb"));
    }
};

DRILLPAD_TEST_MAIN(TestEdit)
#include "tst_edit.moc"
