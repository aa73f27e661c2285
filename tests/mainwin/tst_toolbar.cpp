#include "app/forms_registry.h"
#include "common/fakes.h"
#include "common/test_main.h"
#include "controls/rich_text_box.h"
#include "controls/tool_bar.h"
#include "mainwin/find_box.h"
#include "mainwin/frm_main.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMimeData>
#include <QTextBlock>
#include <QToolButton>

using namespace drillpad;
using namespace Qt::StringLiterals;

// The main window's toolbars, font lists and Edit menu at work on the sheet.
class TestToolbar : public QObject {
    Q_OBJECT

    std::unique_ptr<FrmMain> window_;
    testing::RecordingMessageBoxes messages_;
    ScopedSeam<MessageBoxes> messageSeam_{messages_};

    RichTextBox *editor() const { return window_->txtMain(); }
    static QClipboard *clipboard() { return QGuiApplication::clipboard(); }
    FindBox *findBox() const { return window_->findBox(); }

    void select(int from, int to) {
        QTextCursor cursor(editor()->document());
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        editor()->setTextCursor(cursor);
    }

    // Triggers a menu entry ("mnu...") or clicks a toolbar button ("tb...").
    void run(const QString &command) {
        if (QAction *entry = window_->menuAction(command.toLatin1().constData()))
            return entry->trigger();
        QToolButton *button = window_->toolbarSYSTEM()->buttonWidget(command);
        if (!button)
            button = window_->toolbarEdit()->buttonWidget(command);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // Picks an entry of a font list as a user does: opens the list, clicks.
    static bool pick(QComboBox *combo, const QString &entry) {
        combo->showPopup();
        QAbstractItemView *view = combo->view();
        const QModelIndex item = view->model()->index(combo->findText(entry), 0);
        if (!item.isValid() || !QTest::qWaitFor([view] { return view->isVisible(); }))
            return false;
        view->scrollTo(item);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(item).center());
        return QTest::qWaitFor([view] { return !view->isVisible(); });
    }

    // Which of undo and redo are offered, toolbar then menu: "U-U-", "-R-R"...
    QString offered() const {
        QString result;
        for (const char *key : {"tbUndo", "tbRedo"})
            result +=
                window_->toolbarSYSTEM()->button(QLatin1String(key))->isEnabled() ? key[2] : '-';
        for (const char *entry : {"mnuEditUndo", "mnuEditRedo"})
            result += window_->menuAction(entry)->isEnabled() ? entry[7] : '-';
        return result;
    }

private Q_SLOTS:
    void init() {
        messages_.messages.clear();
        clipboard()->setText(u"earlier"_s);
        window_ = std::make_unique<FrmMain>();
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }

    void cleanup() {
        window_.reset();
        UnloadAllForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Both bars by spoken name ("|" a separator, "_" the font lists, "*" an alignment); each
    // button shows a picture and leaves the keyboard focus (and selection) in the sheet.
    void buttons() {
        QStringList layout;
        for (ToolBar *bar : {window_->toolbarSYSTEM(), window_->toolbarEdit()}) {
            for (QAction *action : bar->actions()) {
                auto *button = qobject_cast<QToolButton *>(bar->widgetForAction(action));
                if (action->isSeparator() || !button) {
                    layout << (action->isSeparator() ? u"|"_s : u"_"_s);
                    continue;
                }
                QVERIFY(button->isVisible() && !action->icon().isNull());
                QCOMPARE(button->focusPolicy(), Qt::NoFocus);
                QCOMPARE(action->isCheckable(), bar == window_->toolbarEdit());
                layout << button->accessibleName() + (action->actionGroup() ? u"*"_s : u""_s);
            }
        }
        QCOMPARE(layout.join(u' '),
                 u"新建 打开 保存 | 打印 | 剪切 复制 粘贴 查找 | 撤销 重做 | 帮助 "
                 u"_ | 粗体 斜体 下划线 | 左对齐* 居中* 右对齐*"_s);
    }

    // A partly formatted selection becomes wholly formatted; a uniformly
    // formatted one is switched off, then on again (whatever the button shows).
    void toggles() {
        using Read = std::optional<bool> (RichTextBox::*)() const;
        const std::tuple<const char *, Read, void (RichTextBox::*)(bool)> kinds[] = {
            {"tbBold", &RichTextBox::selBold, &RichTextBox::setSelBold},
            {"tbItaic", &RichTextBox::selItalic, &RichTextBox::setSelItalic},
            {"tbUnderline", &RichTextBox::selUnderline, &RichTextBox::setSelUnderline}};
        for (const auto &[key, read, write] : kinds) {
            editor()->setText(u"3+4=\u3000 5+6=\u3000"_s);
            select(0, 5);
            (editor()->*write)(true);
            select(3, 8);
            run(QLatin1String(key));
            select(0, 8);
            QCOMPARE((editor()->*read)(), std::optional<bool>(true));
            const auto click = [&] { return run(QLatin1String(key)), (editor()->*read)(); };
            QCOMPARE(click(), std::optional<bool>(false));
            QCOMPARE(click(), std::optional<bool>(true));
        }
    }

    // Every paragraph the selection touches, and only those; the last one clicked shows pressed.
    void alignment() {
        editor()->setText(u"\n乘法题:\n2\u00D73=\u3000\n4\u00D75=\u3000"_s);
        select(0, 17);
        editor()->setSelAlignment(RichTextBox::AlignCenterCode);
        select(2, 6); // from inside the heading to inside the first line of questions
        run(u"tbRight"_s);
        run(u"tbLeft"_s);
        const QList<int> expected = {2, 0, 0, 2};
        for (int paragraph = 0; paragraph < expected.size(); ++paragraph) {
            const int start = editor()->document()->findBlockByNumber(paragraph).position();
            select(start, start);
            QCOMPARE(editor()->selAlignment(), std::optional<int>(expected.at(paragraph)));
        }
        for (const char *group : {"tbLeft", "tbMid", "tbRight"})
            QCOMPARE(window_->toolbarEdit()->button(QLatin1String(group))->isChecked(),
                     group == "tbLeft"_L1);
    }

    // A size picked applies to the selection; a font picked with nothing
    // selected applies to the text typed next.
    void fontLists() {
        editor()->setText(u"7+3=\u3000"_s);
        select(0, 4);
        QVERIFY(pick(window_->cmbFontSize(), u"128"_s));
        QCOMPARE(editor()->selFontSize(), std::optional<double>(128));
        QVERIFY(editor()->hasFocus()); // back to the sheet for typing
        select(5, 5);
        QVERIFY(pick(window_->cmbFont(), u"隶书"_s));
        QTest::keyClicks(editor(), u"cd"_s);
        select(4, 7);
        QCOMPARE(editor()->selFontName(), std::nullopt);
        QVERIFY(editor()->selFontSize() != std::optional<double>(128));
        select(5, 7);
        QCOMPARE(editor()->selFontName(), std::optional<QString>(u"隶书"_s));
    }

    // Cut and copy put the selection on the clipboard as plain text only, or empty it
    // when nothing is selected; a formatted passage copied elsewhere is pasted as plain
    // text, and with no text on the clipboard paste just deletes the selection.
    void clipboardCommands() {
        editor()->setText(u"abcd"_s);
        select(0, 4);
        editor()->setSelBold(true);
        select(1, 3);
        run(u"tbCopy"_s);
        QCOMPARE(clipboard()->text(), u"bc"_s);
        QCOMPARE(clipboard()->mimeData()->formats(), QStringList{u"text/plain"_s});
        QCOMPARE(editor()->selText(), u"bc"_s);
        run(u"mnuEditCut"_s);
        QCOMPARE(editor()->text(), u"ad"_s);
        QCOMPARE(clipboard()->text(), u"bc"_s);
        run(u"tbCut"_s); // nothing selected
        QCOMPARE(clipboard()->text(), QString());
        QVERIFY(!clipboard()->mimeData() || clipboard()->mimeData()->formats().isEmpty());
        QCOMPARE(editor()->text(), u"ad"_s);
        auto *data = new QMimeData;
        data->setHtml(u"<b><i>7\u00D78=</i></b>"_s);
        data->setText(u"7\u00D78="_s);
        clipboard()->setMimeData(data);
        select(0, 1);
        run(u"mnuEditPaste"_s);
        QCOMPARE(editor()->text(), u"7\u00D78=d"_s);
        select(0, 4);
        QCOMPARE(editor()->selItalic(), std::optional<bool>(false));
        clipboard()->setMimeData(new QMimeData);
        run(u"tbPaste"_s);
        QCOMPARE(editor()->text(), u"d"_s);
    }

    // Greyed when there is nothing to do; the reset that empties the sheet is
    // one step, undone and redone from the toolbar and the menu alike.
    void undoAndRedo() {
        QCOMPARE(offered(), u"----"_s);
        editor()->setFocus();
        QTest::keyClicks(editor(), u"x"_s);
        QCOMPARE(offered(), u"U-U-"_s);
        QTest::mouseClick(window_->button("cmdReset"), Qt::LeftButton);
        run(u"tbUndo"_s);
        QCOMPARE(editor()->text(), u"x"_s);
        run(u"mnuEditUndo"_s);
        QCOMPARE(editor()->text(), QString());
        QCOMPARE(offered(), u"-R-R"_s);
        run(u"mnuEditRedo"_s);
        QCOMPARE(editor()->text(), u"x"_s);
        run(u"tbRedo"_s);
        QCOMPARE(editor()->text(), QString());
        QCOMPARE(offered(), u"U-U-"_s);
    }

    // The box offers the selection, searches on from the caret and wraps at
    // either end; absent text is reported and leaves the selection alone.
    void find() {
        editor()->setText(u"3+4=\u30005+6=\u30003+4="_s);
        select(2, 3);
        run(u"mnuEditFind"_s);
        QVERIFY(findBox() && findBox()->isVisible());
        QVERIFY(!findBox()->isModal()); // the sheet stays usable
        QLineEdit *what = findBox()->txtFind();
        QCOMPARE(what->text(), u"4"_s);
        what->setText(u"3+4"_s);
        CommandButton *next = findBox()->button("cmdFindNext");
        const auto found = [this] { return editor()->textCursor().selectionStart(); };
        QTest::mouseClick(next, Qt::LeftButton);
        QCOMPARE(found(), 10);
        QTest::keyClick(what, Qt::Key_Return); // Enter finds the next one, from the top
        QCOMPARE(found(), 0);
        QTest::mouseClick(findBox()->button("cmdFindPrevious"), Qt::LeftButton); // and back
        QCOMPARE(found(), 10);
        QCOMPARE(editor()->selText(), u"3+4"_s);
        QVERIFY(messages_.messages.isEmpty());
        what->setText(u"9\u00F73"_s);
        QTest::mouseClick(next, Qt::LeftButton);
        QCOMPARE(messages_.messages, QStringList{u"找不到\"9\u00F73\""_s});
        QCOMPARE(editor()->selText(), u"3+4"_s);
    }
};

DRILLPAD_TEST_MAIN(TestToolbar)
#include "tst_toolbar.moc"
