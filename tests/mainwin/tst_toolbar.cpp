#include "common/fakes.h"
#include "common/test_main.h"
#include "controls/rich_text_box.h"
#include "controls/tool_bar.h"
#include "mainwin/find_box.h"
#include "mainwin/forms_registry.h"
#include "mainwin/frm_main.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMimeData>
#include <QTextBlock>
#include <QToolButton>

using namespace drillpad;

using SelectionState = std::optional<bool> (RichTextBox::*)() const;
using SetSelectionState = void (RichTextBox::*)(bool);
Q_DECLARE_METATYPE(SelectionState)
Q_DECLARE_METATYPE(SetSelectionState)
Q_DECLARE_METATYPE(ToolButtonStyle)

// The main window's toolbars, font lists and Edit menu at work on the sheet:
// formatting, the clipboard, undo and redo, and the find box.
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

    // Clicks a toolbar button ("tb...") or triggers a menu entry ("mnu...").
    void run(const QString &command) {
        QToolButton *button = window_->toolbarSYSTEM()->buttonWidget(command);
        if (!button)
            button = window_->toolbarEdit()->buttonWidget(command);
        if (button && button->isVisible())
            QTest::mouseClick(button, Qt::LeftButton);
        else if (QAction *entry = window_->menuAction(command.toLatin1().constData()))
            entry->trigger();
        else
            QFAIL(qPrintable(command));
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

    // Which of undo and redo are offered, toolbar then menu: "U-U-" when only
    // undo is.
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
        clipboard()->setText(QStringLiteral("earlier"));
        window_ = std::make_unique<FrmMain>();
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }

    void cleanup() {
        window_.reset();
        UnloadAllForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void buttons_data() {
        QTest::addColumn<bool>("system"); // else the formatting bar
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("key");
        QTest::addColumn<ToolButtonStyle>("style");
        QTest::addColumn<QString>("spoken");
        using S = ToolButtonStyle;
        const auto row = [](bool system, int position, const char *key, S style,
                            const char *spoken) {
            QTest::newRow(key) << system << position << key << style << QString::fromUtf8(spoken);
        };
        row(true, 1, "tbNew", S::Push, "新建");
        row(true, 2, "tbOpen", S::Push, "打开");
        row(true, 3, "tbSave", S::Push, "保存");
        row(true, 5, "tbPrint", S::Push, "打印");
        row(true, 7, "tbCut", S::Push, "剪切");
        row(true, 8, "tbCopy", S::Push, "复制");
        row(true, 9, "tbPaste", S::Push, "粘贴");
        row(true, 10, "tbFind", S::Push, "查找");
        row(true, 12, "tbUndo", S::Push, "撤销");
        row(true, 13, "tbRedo", S::Push, "重做");
        row(true, 15, "tbHelp", S::Push, "帮助");
        row(false, 3, "tbBold", S::Check, "粗体");
        row(false, 4, "tbItaic", S::Check, "斜体");
        row(false, 5, "tbUnderline", S::Check, "下划线");
        row(false, 7, "tbLeft", S::Group, "左对齐");
        row(false, 8, "tbMid", S::Group, "居中");
        row(false, 9, "tbRight", S::Group, "右对齐");
    }
    // Each button in its place with its key, style and spoken name, showing a
    // picture and leaving the keyboard focus (and the selection) in the sheet.
    void buttons() {
        QFETCH(bool, system);
        QFETCH(int, position);
        QFETCH(QString, key);
        QFETCH(ToolButtonStyle, style);
        QFETCH(QString, spoken);
        ToolBar *bar = system ? window_->toolbarSYSTEM() : window_->toolbarEdit();
        QAction *action = bar->actions().value(position - 1);
        QVERIFY(action && action == bar->button(key));
        QCOMPARE(action->isCheckable(), style != ToolButtonStyle::Push);
        QCOMPARE(action->actionGroup() != nullptr, style == ToolButtonStyle::Group);
        QVERIFY(!action->icon().isNull());
        QToolButton *button = bar->buttonWidget(key);
        QVERIFY(button && button->isVisible());
        QCOMPARE(button->accessibleName(), spoken);
        QCOMPARE(button->focusPolicy(), Qt::NoFocus);
    }

    void buttonsThatOpenWindows() {
        for (const auto &[key, window] :
             {std::pair{"tbNew", "frmGuide"}, std::pair{"tbHelp", "frmHelp"}}) {
            QString opened;
            QTimer::singleShot(0, this, [&opened] {
                if (QWidget *modal = QApplication::activeModalWidget()) {
                    opened = modal->objectName();
                    modal->hide();
                }
            });
            run(QLatin1String(key));
            QTest::qWait(1);
            QCOMPARE(opened, QLatin1String(window));
        }
    }

    void toggles_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<SelectionState>("read");
        QTest::addColumn<SetSelectionState>("write");
        QTest::newRow("bold") << "tbBold" << &RichTextBox::selBold << &RichTextBox::setSelBold;
        QTest::newRow("italic") << "tbItaic" << &RichTextBox::selItalic
                                << &RichTextBox::setSelItalic;
        QTest::newRow("underline")
            << "tbUnderline" << &RichTextBox::selUnderline << &RichTextBox::setSelUnderline;
    }
    // Twice on a uniformly formatted selection: off, then on again (whatever
    // the button looks like); a partly formatted one becomes wholly formatted.
    void toggles() {
        QFETCH(QString, key);
        QFETCH(SelectionState, read);
        QFETCH(SetSelectionState, write);
        editor()->setText(QStringLiteral("3+4=\u3000 5+6=\u3000"));
        select(0, 5);
        (editor()->*write)(true);
        run(key);
        QCOMPARE((editor()->*read)(), std::optional<bool>(false));
        run(key);
        QCOMPARE((editor()->*read)(), std::optional<bool>(true));
        select(3, 8);
        QCOMPARE((editor()->*read)(), std::nullopt);
        run(key);
        QCOMPARE((editor()->*read)(), std::optional<bool>(true));
        select(8, 11); // never touched
        QCOMPARE((editor()->*read)(), std::optional<bool>(false));
    }

    void alignment_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("code");
        QTest::newRow("centre") << "tbMid" << 0 << 2;
        QTest::newRow("right") << "tbRight" << 0 << 1;
        QTest::newRow("left") << "tbLeft" << 2 << 0;
    }
    // Every paragraph the selection touches, and only those; the button
    // clicked last is the one that shows pressed.
    void alignment() {
        QFETCH(QString, key);
        QFETCH(int, before);
        QFETCH(int, code);
        editor()->setText(QStringLiteral("\n乘法题:\n2\u00D73=\u3000\n4\u00D75=\u3000"));
        select(0, 17);
        editor()->setSelAlignment(before);
        select(2, 6); // from inside the heading to inside the first line of questions
        run(QStringLiteral("tbRight"));
        run(key);
        const QList<int> expected = {before, code, code, before};
        for (int paragraph = 0; paragraph < expected.size(); ++paragraph) {
            const int start = editor()->document()->findBlockByNumber(paragraph).position();
            select(start, start);
            QCOMPARE(editor()->selAlignment(), std::optional<int>(expected.at(paragraph)));
        }
        for (const char *group : {"tbLeft", "tbMid", "tbRight"})
            QCOMPARE(window_->toolbarEdit()->button(QLatin1String(group))->isChecked(),
                     key == QLatin1String(group));
    }

    // A size picked applies to the selection; a font picked with nothing
    // selected applies to the text typed next; a size typed applies nothing.
    void fontLists() {
        QCOMPARE(window_->cmbFontSize()->currentText(), QStringLiteral("五号"));
        editor()->setText(QStringLiteral("7+3=\u3000"));
        select(0, 4);
        QVERIFY(pick(window_->cmbFontSize(), QStringLiteral("128")));
        QCOMPARE(editor()->selFontSize(), std::optional<double>(128));
        QVERIFY(editor()->hasFocus()); // back to the sheet for typing
        select(5, 5);
        QVERIFY(pick(window_->cmbFont(), QStringLiteral("隶书")));
        QTest::keyClicks(editor(), QStringLiteral("cd"));
        select(4, 7);
        QCOMPARE(editor()->selFontName(), std::nullopt);
        QVERIFY(editor()->selFontSize() != std::optional<double>(128));
        select(5, 7);
        QCOMPARE(editor()->selFontName(), std::optional<QString>(QStringLiteral("隶书")));
        const std::optional<double> size = editor()->selFontSize();

        window_->cmbFontSize()->setFocus();
        window_->cmbFontSize()->lineEdit()->selectAll();
        QTest::keyClicks(window_->cmbFontSize()->lineEdit(), QStringLiteral("13"));
        QCOMPARE(editor()->selFontSize(), size);
    }

    void cutAndCopy_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("cut");
        QTest::newRow("cut button") << "tbCut" << true;
        QTest::newRow("copy button") << "tbCopy" << false;
        QTest::newRow("cut menu") << "mnuEditCut" << true;
        QTest::newRow("copy menu") << "mnuEditCopy" << false;
    }
    // The selection goes to the clipboard as plain text only; with nothing
    // selected the clipboard is emptied.
    void cutAndCopy() {
        QFETCH(QString, command);
        QFETCH(bool, cut);
        editor()->setText(QStringLiteral("加法题:\n1+2=\u3000"));
        select(0, 3);
        editor()->setSelBold(true);
        run(command);
        QCOMPARE(clipboard()->text(), QStringLiteral("加法题"));
        QCOMPARE(clipboard()->mimeData()->formats(), QStringList{QStringLiteral("text/plain")});
        const QString after =
            cut ? QStringLiteral(":\n1+2=\u3000") : QStringLiteral("加法题:\n1+2=\u3000");
        QCOMPARE(editor()->text(), after);
        QCOMPARE(editor()->selText(), cut ? QString() : QStringLiteral("加法题"));

        select(1, 1);
        run(command);
        QCOMPARE(clipboard()->text(), QString());
        QVERIFY(!clipboard()->mimeData() || clipboard()->mimeData()->formats().isEmpty());
        QCOMPARE(editor()->text(), after);
    }

    void paste_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("onClipboard");
        QTest::addColumn<QString>("expected");
        QTest::newRow("button") << "tbPaste" << true << QStringLiteral("a7\u00D78=d");
        QTest::newRow("menu") << "mnuEditPaste" << true << QStringLiteral("a7\u00D78=d");
        QTest::newRow("no text on the clipboard") << "tbPaste" << false << QStringLiteral("ad");
    }
    // A formatted passage copied elsewhere replaces the selection as plain
    // text; with no text on the clipboard the selection is just deleted.
    void paste() {
        QFETCH(QString, command);
        QFETCH(bool, onClipboard);
        QFETCH(QString, expected);
        auto *data = new QMimeData;
        if (onClipboard) {
            data->setHtml(QStringLiteral("<b><i>7\u00D78=</i></b>"));
            data->setText(QStringLiteral("7\u00D78="));
        }
        clipboard()->setMimeData(data);
        editor()->setText(QStringLiteral("abcd"));
        select(1, 3);
        run(command);
        QCOMPARE(editor()->text(), expected);
        select(0, expected.size());
        QCOMPARE(editor()->selBold(), std::optional<bool>(false));
        QCOMPARE(editor()->selItalic(), std::optional<bool>(false));
    }

    // Greyed when there is nothing to do; a whole sheet as the wizard writes
    // it, and the reset that empties it, are one step each.
    void undoAndRedo() {
        QCOMPARE(offered(), QStringLiteral("----"));
        editor()->setFocus();
        QTest::keyClicks(editor(), QStringLiteral("x"));
        QCOMPARE(offered(), QStringLiteral("U-U-"));
        const QString sheet = QStringLiteral("\n乘法题:\n2\u00D73=\u30004\u00D75=\u3000\n\n");
        editor()->setText(sheet);
        QTest::mouseClick(window_->button("cmdReset"), Qt::LeftButton);
        QCOMPARE(editor()->text(), QString());
        run(QStringLiteral("tbUndo"));
        QCOMPARE(editor()->text(), sheet);
        run(QStringLiteral("mnuEditUndo"));
        QCOMPARE(editor()->text(), QStringLiteral("x"));
        run(QStringLiteral("tbUndo"));
        QCOMPARE(editor()->text(), QString());
        QCOMPARE(offered(), QStringLiteral("-R-R"));
        run(QStringLiteral("mnuEditRedo"));
        QCOMPARE(editor()->text(), QStringLiteral("x"));
        run(QStringLiteral("tbRedo"));
        QCOMPARE(editor()->text(), sheet);
        run(QStringLiteral("tbRedo"));
        QCOMPARE(editor()->text(), QString());
        QCOMPARE(offered(), QStringLiteral("U-U-"));
    }

    void find_data() {
        QTest::addColumn<QString>("command");
        QTest::newRow("button") << "tbFind";
        QTest::newRow("menu") << "mnuEditFind";
    }
    // The box offers the selection, searches on from the caret and wraps at
    // either end; absent text is reported and leaves the selection alone.
    void find() {
        QFETCH(QString, command);
        //                                    0123456789012
        editor()->setText(QStringLiteral("3+4=\u30005+6=\u30003+4="));
        select(2, 3);
        run(command);
        QVERIFY(findBox() && findBox()->isVisible());
        QVERIFY(!findBox()->isModal()); // the sheet stays usable
        QLineEdit *what = findBox()->txtFind();
        QCOMPARE(what->text(), QStringLiteral("4"));
        what->setText(QStringLiteral("3+4"));
        CommandButton *next = findBox()->button("cmdFindNext");
        const auto found = [this] { return editor()->textCursor().selectionStart(); };
        QTest::mouseClick(next, Qt::LeftButton);
        QCOMPARE(found(), 10);
        QTest::mouseClick(next, Qt::LeftButton); // wraps to the top
        QCOMPARE(found(), 0);
        QTest::mouseClick(findBox()->button("cmdFindPrevious"), Qt::LeftButton); // and back
        QCOMPARE(found(), 10);
        QTest::keyClick(what, Qt::Key_Return); // Enter finds the next one
        QCOMPARE(found(), 0);
        QCOMPARE(editor()->selText(), QStringLiteral("3+4"));
        QVERIFY(messages_.messages.isEmpty());

        what->setText(QStringLiteral("9\u00F73"));
        QTest::mouseClick(next, Qt::LeftButton);
        QCOMPARE(messages_.messages, QStringList{QStringLiteral("找不到\"9\u00F73\"")});
        QCOMPARE(editor()->selText(), QStringLiteral("3+4"));
    }
};

DRILLPAD_TEST_MAIN(TestToolbar)
#include "tst_toolbar.moc"
