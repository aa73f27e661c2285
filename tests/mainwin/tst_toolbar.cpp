#include "app/forms_registry.h"
#include "common/fakes.h"
#include "common/test_main.h"
#include "controls/rich_text_box.h"
#include "controls/tool_bar.h"
#include "mainwin/find_box.h"
#include "mainwin/frm_main.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
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

    // Which formatting buttons show pressed, bold to right: "B--L--".
    QString pressed() const {
        QString result;
        for (const char *key : {"tbBold", "tbItaic", "tbUnderline", "tbLeft", "tbMid", "tbRight"})
            result +=
                window_->toolbarEdit()->button(QLatin1String(key))->isChecked() ? key[2] : '-';
        return result;
    }
    // The font lists' texts: "宋体 9".
    QString fontShown() const {
        return window_->cmbFont()->currentText() + u' ' + window_->cmbFontSize()->currentText();
    }
    // Which of undo and redo are offered, toolbar then menu: "U-U-", "-R-R"...
    QString offered() const {
        const auto on = [](bool enabled, char key) { return enabled ? key : '-'; };
        const ToolBar *bar = window_->toolbarSYSTEM();
        return QString() + on(bar->button(u"tbUndo"_s)->isEnabled(), 'U') +
               on(bar->button(u"tbRedo"_s)->isEnabled(), 'R') +
               on(window_->menuAction("mnuEditUndo")->isEnabled(), 'U') +
               on(window_->menuAction("mnuEditRedo")->isEnabled(), 'R');
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

    // The switches, the alignment group and the font lists show the format at the caret,
    // or of a uniform selection; a mixed selection presses nothing and blanks the lists.
    // A switch then acts on what it shows.
    void followsTheCaret() {
        QCOMPARE(pressed() + u' ' + fontShown(), u"---L-- 宋体 五号"_s); // the design state
        editor()->setText(u"abc def\nghi"_s);
        select(0, 3);
        run(u"tbBold"_s);
        editor()->setSelFontSize(u"10.5"_s);
        QCOMPARE(pressed() + u' ' + fontShown(), u"B--L-- 宋体 10.5"_s);
        select(5, 5); // into plain text
        QCOMPARE(pressed() + u' ' + fontShown(), u"---L-- 宋体 9"_s);
        run(u"tbBold"_s); // bold for what is typed next, and shown so
        QCOMPARE(pressed(), u"B--L--"_s);
        QTest::keyClicks(editor(), u"x"_s);
        QCOMPARE(pressed(), u"B--L--"_s);
        select(2, 9);
        editor()->setSelFontName(u"隶书"_s);
        select(0, 1);
        run(u"tbRight"_s);
        select(2, 11); // bold and plain, two fonts, two sizes, two alignments
        QCOMPARE(pressed() + u'|' + fontShown(), u"------| "_s);
        select(0, 1);
        QCOMPARE(pressed() + u' ' + fontShown(), u"B----R 宋体 10.5"_s);
    }

    // A screen reader's press or toggle action on a switch is a click: it formats the
    // selection and the button shows the result.
    void accessibleActions_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("shown"); // the buttons pressed, as read back from the text
        QTest::newRow("bold, toggle")
            << u"tbBold"_s << QAccessibleActionInterface::toggleAction() << u"B--L--"_s;
        QTest::newRow("underline, press")
            << u"tbUnderline"_s << QAccessibleActionInterface::pressAction() << u"--UL--"_s;
        QTest::newRow("centre, press")
            << u"tbMid"_s << QAccessibleActionInterface::pressAction() << u"----M-"_s;
    }
    void accessibleActions() {
        QFETCH(QString, key);
        QFETCH(QString, action);
        QFETCH(QString, shown);
        editor()->setText(u"7+3=\u3000"_s);
        select(0, 4);
        QAccessibleInterface *button =
            QAccessible::queryAccessibleInterface(window_->toolbarEdit()->buttonWidget(key));
        QVERIFY(button->actionInterface()->actionNames().contains(action));
        button->actionInterface()->doAction(action);
        QTRY_VERIFY(button->state().checked);
        select(4, 0); // the same text, selected anew: the buttons show its format
        QCOMPARE(pressed(), shown);
        QCOMPARE(editor()->selText(), u"7+3="_s);
    }

    // Every button shows a picture and leaves the keyboard focus in the sheet (its
    // tooltip names its key: tst_keyboard); the Format menu switches the selection's
    // format, by its keys too, with the caret in the sheet.
    void tooltipsAndMenus() {
        for (ToolBar *bar : {window_->toolbarSYSTEM(), window_->toolbarEdit()}) {
            for (const QString &key : bar->keys()) {
                QToolButton *button = bar->buttonWidget(key);
                QVERIFY(button->focusPolicy() == Qt::NoFocus && !button->icon().isNull());
            }
        }
        QStringList menus;
        for (QAction *menu : window_->menuBar()->actions())
            menus << menu->text();
        QCOMPARE(menus.indexOf(u"格式[&O]"_s), menus.indexOf(u"编辑[&E]"_s) + 1);
        const QList<QAction *> file = window_->findChild<QMenu *>(u"mnuFile"_s)->actions();
        QVERIFY(file.size() > 3);
        QCOMPARE(file.at(0)->text() + file.at(1)->text() + file.at(2)->text(),
                 u"新建[&N]...打开[&O]...保存[&S]"_s);

        QApplication::setActiveWindow(window_.get());
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        editor()->setFocus();
        editor()->setText(u"abc"_s);
        select(0, 2);
        QTest::keyClick(editor(), Qt::Key_B, Qt::ControlModifier);
        QTest::keyClick(editor(), Qt::Key_I, Qt::ControlModifier);
        QTest::keyClick(editor(), Qt::Key_U, Qt::ControlModifier);
        QCOMPARE(pressed(), u"BIUL--"_s);
        QCOMPARE(editor()->text(), u"abc"_s);
        window_->menuAction("mnuFormatItalic")->trigger();
        QCOMPARE(editor()->selCharFormat().italic, std::optional<bool>(false));
        QCOMPARE(pressed(), u"B-UL--"_s);
    }

    // A partly formatted selection becomes wholly formatted; a uniformly formatted one is
    // switched off, then on again (whatever the button shows). The three switches share this.
    void toggles() {
        editor()->setText(u"3+4=\u3000 5+6=\u3000"_s);
        select(0, 5);
        editor()->setSelBold(true);
        select(3, 8);
        QCOMPARE(editor()->selCharFormat().bold, std::nullopt); // mixed
        run(u"tbBold"_s);
        select(0, 8);
        QCOMPARE(editor()->selCharFormat().bold, std::optional<bool>(true));
        const auto click = [this] { return run(u"tbBold"_s), editor()->selCharFormat().bold; };
        QCOMPARE(click(), std::optional<bool>(false));
        QCOMPARE(click(), std::optional<bool>(true));
    }

    // A size picked applies to the selection; a font picked with nothing
    // selected applies to the text typed next.
    void fontLists() {
        editor()->setText(u"7+3=\u3000"_s);
        select(0, 4);
        QVERIFY(pick(window_->cmbFontSize(), u"128"_s));
        QCOMPARE(editor()->selCharFormat().fontSize, std::optional<double>(128));
        QVERIFY(editor()->hasFocus()); // back to the sheet for typing
        select(5, 5);
        QVERIFY(pick(window_->cmbFont(), u"隶书"_s));
        QTest::keyClicks(editor(), u"cd"_s);
        select(4, 7);
        QCOMPARE(editor()->selCharFormat().fontName, std::nullopt);
        QVERIFY(editor()->selCharFormat().fontSize != std::optional<double>(128));
        select(5, 7);
        QCOMPARE(editor()->selCharFormat().fontName, std::optional<QString>(u"隶书"_s));
    }

    // Cut and copy put the selection on the clipboard as plain text only, or empty it
    // when nothing is selected; a formatted passage copied elsewhere is pasted as plain
    // text, and with no text on the clipboard paste just deletes the selection.
    void clipboardCommands() {
        editor()->setText(u"abcd"_s);
        select(0, 4);
        editor()->setSelBold(true);
        select(1, 2);
        run(u"tbCopy"_s);
        QCOMPARE(clipboard()->text(), u"b"_s);
        QCOMPARE(clipboard()->mimeData()->formats(), QStringList{u"text/plain"_s});
        select(1, 3);
        run(u"mnuEditCut"_s);
        QCOMPARE(editor()->text() + u'|' + clipboard()->text(), u"ad|bc"_s);
        run(u"tbCut"_s); // nothing selected
        QVERIFY(!clipboard()->mimeData() || clipboard()->mimeData()->formats().isEmpty());
        auto *data = new QMimeData;
        data->setHtml(u"<b><i>7\u00D78=</i></b>"_s);
        data->setText(u"7\u00D78="_s);
        clipboard()->setMimeData(data);
        select(0, 1);
        run(u"mnuEditPaste"_s);
        QCOMPARE(editor()->text(), u"7\u00D78=d"_s);
        select(0, 4);
        QCOMPARE(editor()->selCharFormat().italic, std::optional<bool>(false));
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
        QTest::mouseClick(window_->button("cmdReset"), Qt::LeftButton);
        run(u"tbUndo"_s);
        QCOMPARE(editor()->text(), u"x"_s);
        QCOMPARE(offered(), u"URUR"_s);
        run(u"mnuEditUndo"_s);
        QCOMPARE(editor()->text() + offered(), u"-R-R"_s);
        run(u"mnuEditRedo"_s);
        run(u"tbRedo"_s);
        QCOMPARE(editor()->text() + offered(), u"U-U-"_s);
    }

    // The box offers the selection, searches on from the caret and wraps at
    // either end; absent text is reported and leaves the selection alone.
    void find() {
        editor()->setText(u"3+4=\u30005+6=\u30003+4="_s);
        select(2, 3);
        run(u"mnuEditFind"_s);
        QVERIFY(findBox() && findBox()->isVisible() && !findBox()->isModal()); // sheet usable
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
        what->setText(u"9\u00F73"_s);
        QTest::mouseClick(next, Qt::LeftButton);
        QCOMPARE(messages_.messages, QStringList{u"找不到\"9\u00F73\""_s});
        QCOMPARE(editor()->selText(), u"3+4"_s);
    }
};

DRILLPAD_TEST_MAIN(TestToolbar)
#include "tst_toolbar.moc"
