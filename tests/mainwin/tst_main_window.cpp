#include "app/forms_registry.h"
#include "common/fakes.h"
#include "common/test_main.h"
#include "controls/command_button.h"
#include "controls/rich_text_box.h"
#include "controls/tool_bar.h"
#include "guide/frm_guide.h"
#include "mainwin/find_box.h"
#include "mainwin/frm_main.h"
#include "mainwin/main_layout.h"
#include "platform/shell.h"
#include "version.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QClipboard>
#include <QComboBox>
#include <QFontDatabase>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QWindow>

using namespace drillpad;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(drillpad::FormId)

namespace {

// Records shell requests and answers that the shell could not open them.
class FailingShell final : public Shell {
public:
    bool execute(const ShellRequest &request) override {
        requests << request;
        return false;
    }
    QList<ShellRequest> requests;
};

// Picks an entry of a font list as a user does: opens the list, clicks.
bool pick(QComboBox *combo, const QString &entry) {
    combo->showPopup();
    QAbstractItemView *view = combo->view();
    const QModelIndex item = view->model()->index(combo->findText(entry), 0);
    if (!item.isValid() || !QTest::qWaitFor([view] { return view->isVisible(); }))
        return false;
    view->scrollTo(item);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(item).center());
    return QTest::qWaitFor([view] { return !view->isVisible(); });
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

    testing::RecordedEndAndMessages fakes_;
    testing::ScriptedFileDialogs dialogs_;
    ScopedSeam<FileDialogs> dialogSeam_{dialogs_};
    FailingShell shell_;
    ScopedSeam<Shell> shellSeam_{shell_};
    QList<FormId> unloaded_;

    FrmMain &shownMain() {
        FrmMain &main = frmMain();
        main.show();
        QApplication::setActiveWindow(&main);
        if (!QTest::qWaitForWindowActive(&main))
            qWarning("main window not active");
        return main;
    }

    RichTextBox *sheet() const { return frmMain().txtMain(); }
    static QClipboard *clipboard() { return QGuiApplication::clipboard(); }
    void select(int from, int to) {
        QTextCursor cursor(sheet()->document());
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        sheet()->setTextCursor(cursor);
    }

    // Triggers a menu entry ("mnu...") or clicks a toolbar button ("tb...").
    void run(const QString &command) {
        if (QAction *entry = frmMain().menuAction(command.toLatin1().constData()))
            return entry->trigger();
        QToolButton *button = frmMain().toolbarSYSTEM()->buttonWidget(command);
        if (!button)
            button = frmMain().toolbarEdit()->buttonWidget(command);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // Which formatting buttons show pressed, bold to right: "B--L--".
    QString pressed() const {
        QString result;
        for (const char *key : {"tbBold", "tbItaic", "tbUnderline", "tbLeft", "tbMid", "tbRight"})
            result +=
                frmMain().toolbarEdit()->button(QLatin1String(key))->isChecked() ? key[2] : '-';
        return result;
    }
    // The font lists' texts: "宋体 9".
    QString fontShown() const {
        return frmMain().cmbFont()->currentText() + u' ' + frmMain().cmbFontSize()->currentText();
    }
    // Which of undo and redo are offered, toolbar then menu: "U-U-", "-R-R"...
    QString offered() const {
        const auto on = [](bool enabled, char key) { return enabled ? key : '-'; };
        const ToolBar *bar = frmMain().toolbarSYSTEM();
        return QString() + on(bar->button(u"tbUndo"_s)->isEnabled(), 'U') +
               on(bar->button(u"tbRedo"_s)->isEnabled(), 'R') +
               on(frmMain().menuAction("mnuEditUndo")->isEnabled(), 'U') +
               on(frmMain().menuAction("mnuEditRedo")->isEnabled(), 'R');
    }

private Q_SLOTS:
    void init() {
        fakes_.process.endRequests = 0;
        fakes_.messages = {};
        dialogs_ = {};
        unloaded_.clear();
        setUnloadObserver([this](FormId id) { unloaded_ << id; });
    }

    void cleanup() {
        setUnloadObserver({});
        UnloadAllForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void layoutRuleAtItsEdges_data() {
        QTest::addColumn<TwipsSize>("inner");
        QTest::addColumn<TwipsRect>("editor"); // empty: no layout
        QTest::addColumn<TwipsRect>("border");
        QTest::newRow("smallest") << TwipsSize{2641, 1441} << TwipsRect{2520, 960, 1, 1}
                                  << TwipsRect{2510, 950, 36, 36};
        QTest::newRow("fractional")
            << TwipsSize{9960.5f, 7575.25f} << TwipsRect{2520, 960, 7320.5f, 6135.25f}
            << TwipsRect{2510, 950, 7355.5f, 6170.25f};
        QTest::newRow("narrow") << TwipsSize{2640, 7575} << TwipsRect{} << TwipsRect{};
        QTest::newRow("low") << TwipsSize{9960, 1440} << TwipsRect{} << TwipsRect{};
    }
    void layoutRuleAtItsEdges() {
        QFETCH(TwipsSize, inner);
        QFETCH(TwipsRect, editor);
        const std::optional<MainLayout> layout = mainLayoutFor(inner);
        QCOMPARE(layout.has_value(), editor.width > 0);
        QCOMPARE(layout.value_or(MainLayout{}).editor, editor);
        QTEST(layout.value_or(MainLayout{}).border, "border");
    }

    void windowAppliesTheRuleOnResizeAndKeepsItWhenTooSmall() {
        FrmMain &main = shownMain();
        QWidget *shape = main.controls().widget(u"shapeTXT"_s);
        main.setClientSizeTwips({8760, 6375}); // 80 pixels less each way (a small test screen)
        for (bool tooSmall : {false, true}) {  // below the smallest size the last layout stays
            if (tooSmall)
                main.clientArea()->resize(100, 60);
            QCOMPARE(twipsGeometry(main.txtMain()), (TwipsRect{2520, 960, 6120, 4935}));
            QCOMPARE(twipsGeometry(shape), (TwipsRect{2510, 950, 6155, 4970}));
        }
    }

    void hintsFollowThePointer_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("hint");
        QTest::newRow("hint panel") << "txtHelp" << u"这是向导界面,向导面板用来提示你的操作"_s;
        // Leaving asks about unsaved work (leavingOffersToSaveUnsavedEdits); the hint
        // must not promise that it is thrown away.
        QTest::newRow("exit button")
            << "cmdExit" << u"单击本按钮将退出本软件,出题区有未保存的题目时会先问你是否保存"_s;
    }
    void hintsFollowThePointer() {
        QFETCH(QString, control);
        QFETCH(QString, hint);
        FrmMain &main = shownMain();
        QWidget *target = main.controls().widget(control);
        if (auto *area = qobject_cast<QAbstractScrollArea *>(target))
            target = area->viewport();
        QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), target->mapToGlobal(QPointF(2, 2)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(target, &move);
        QCOMPARE(main.txtHelp()->toPlainText(), hint);
        // What a screen reader reads of the panel: the hint, then what it is.
        QAccessibleInterface *panel = QAccessible::queryAccessibleInterface(main.txtHelp());
        QCOMPARE(panel->text(QAccessible::Name) + u'|' + panel->text(QAccessible::Description),
                 hint + u"|提示"_s);
    }

    void leavingOffersToSaveUnsavedEdits_data() {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("sheet"); // "saved", "emptied" or "edited" since
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("saveChosen"); // the save dialog accepted
        QTest::addColumn<bool>("othersOpen"); // the other windows were opened before
        const auto row = [](const char *way, const char *sheet, const char *answer = "",
                            bool saveChosen = false, bool othersOpen = true) {
            QTest::addRow("%s: %s%s", way, *answer ? answer : sheet, saveChosen ? ", chosen" : "")
                << QString::fromUtf8(way) << QString::fromUtf8(sheet) << QString::fromUtf8(answer)
                << saveChosen << othersOpen;
        };
        row("cmdExit", "saved");
        row("mnuExit", "saved", "", false, false);
        row("close box", "emptied");
        row("Ctrl+E", "edited", "保存", true);
        row("close box", "edited", "保存"); // the save dialog cancelled
        row("cmdExit", "edited", "不保存");
        row("mnuExit", "edited", "取消");
        row("cmdExit", "edited", "Esc");
        row("tbOpen", "edited", "保存", true);
        row("tbOpen", "edited", "取消");
    }
    // Every way out, and opening another file, asks about edits not yet saved, unless the
    // sheet is empty; once the user has chosen, each way goes on as it always does: the exit
    // button ends at once, the others unload the windows in a fixed order (and only those ever
    // opened), opening replaces the sheet. Choosing to keep the sheet, or a save that does not
    // happen, keeps everything.
    void leavingOffersToSaveUnsavedEdits() {
        QFETCH(QString, way);
        QFETCH(QString, sheet);
        QFETCH(QString, answer);
        QFETCH(bool, saveChosen);
        QFETCH(bool, othersOpen);
        QTemporaryDir folder;
        const QString saved = folder.filePath(u"sheet.rtf"_s);
        if (othersOpen) // loaded in another order than they unload
            frmHelp(), frmGuide(), frmAbout(), frmFace();
        FrmMain &main = shownMain();
        RichTextBox *editor = main.txtMain();
        QTest::keyClicks(editor, u"7+8=12"_s);
        if (sheet == u"saved"_s) {
            dialogs_.answers << FileChoice{saved, 0};
            main.menuAction("mnuFileSave")->trigger();
            QVERIFY(QFile::remove(saved));
        } else if (sheet == u"emptied"_s) {
            QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(editor, Qt::Key_Delete);
        }
        fakes_.messages.answers = {answer};
        if (saveChosen || answer == u"保存"_s) // the save dialog comes first
            dialogs_.answers << (saveChosen ? std::optional(FileChoice{saved, 0}) : std::nullopt);
        const bool opening = way == u"tbOpen"_s;
        QFile other(folder.filePath(u"other.txt"_s));
        QVERIFY(other.open(QIODevice::WriteOnly) && other.write("other") == 5 && other.flush());
        if (opening)
            dialogs_.answers << FileChoice{other.fileName(), 1};
        if (way == u"cmdExit"_s)
            QTest::mouseClick(main.button("cmdExit"), Qt::LeftButton);
        else if (way == u"Ctrl+E"_s)
            QTest::keyClick(editor, Qt::Key_E, Qt::ControlModifier);
        else if (way == u"mnuExit"_s)
            main.menuAction("mnuExit")->trigger();
        else if (opening)
            QTest::mouseClick(main.toolbarSYSTEM()->buttonWidget(way), Qt::LeftButton);
        else
            main.close();

        const bool asked = sheet == u"edited"_s;
        const Question question{
            u"出题区的内容已修改。要保存吗?"_s, {u"保存"_s, u"不保存"_s, u"取消"_s}, 0, 2};
        QCOMPARE(fakes_.messages.questions, asked ? QList{question} : QList<Question>());
        QCOMPARE(QFile::exists(saved), saveChosen);
        const bool goesOn = !asked || saveChosen || answer == u"不保存"_s;
        QCOMPARE(fakes_.process.endRequests > 0, goesOn && !opening);
        const bool unloads = goesOn && !opening && way != u"cmdExit"_s;
        QCOMPARE(isFormLoaded(FormId::Main), !unloads);
        const QList<FormId> order = othersOpen
                                        ? QList<FormId>{FormId::About, FormId::Face, FormId::Guide,
                                                        FormId::Main, FormId::Help}
                                        : QList<FormId>{FormId::Main};
        QCOMPARE(unloaded_, unloads ? order : QList<FormId>());
        if (goesOn) {
            if (opening) // a sheet with nothing to save
                QVERIFY(editor->text() == u"other"_s && !editor->document()->isModified());
            return;
        }
        QVERIFY(main.isVisible() && isFormLoaded(FormId::Guide) && editor->text() == u"7+8=12"_s);
        QCOMPARE(main.windowHandle()->title(), u"Drillpad*"_s); // still unsaved, as shown
    }

    // The four links of the Help menu hand exactly these requests to the shell;
    // a request that fails shows nothing.
    // (The entries' captions and access keys: tst_keyboard's manualListsEveryKey.)
    void helpLinks_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("verb"); // "open" and "Open" are different verbs here
        QTest::addColumn<QString>("file");
        const QString home = QString::fromUtf8(product::kHomePage);
        // The subject goes in unchanged, not percent-encoded.
        const QString mail = "mailto:" + QString::fromUtf8(product::kAuthorMail) + "?subject=";
        QTest::newRow("home page") << u"mnuHome"_s << u"open"_s << home;
        QTest::newRow("guestbook") << u"mnuGbook"_s << u"open"_s << home + "/gbook";
        QTest::newRow("to the author")
            << u"mnuWriteTo"_s << u"Open"_s << mail + u"Drillpad用户-交个朋友"_s;
        QTest::newRow("report an error")
            << u"mnuReportErr"_s << u"Open"_s << mail + u"Drillpad用户-报告错误"_s;
    }
    void helpLinks() {
        QFETCH(QString, entry);
        QFETCH(QString, verb);
        QFETCH(QString, file);
        shell_.requests.clear();
        FrmMain window;
        window.menuAction(entry.toLatin1().constData())->trigger();
        ShellRequest expected;
        expected.owner = &window;
        expected.verb = verb;
        expected.file = file;
        if (file.startsWith("mailto:"_L1)) { // parameters "" (not none), the program's folder
            expected.parameters = QString();
            expected.folder = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
            expected.showCommand = 1;
        }
        QCOMPARE(shell_.requests, QList{expected});
        QVERIFY(fakes_.messages.messages.isEmpty());
    }

    // The toolbars, font lists and Edit menu at work on the sheet.
    // The switches, the alignment group and the font lists show the format at the caret,
    // or of a uniform selection; a mixed selection presses nothing and blanks the lists.
    // A switch then acts on what it shows. (The three switches share one toggle.)
    void followsTheCaret() {
        shownMain();
        QCOMPARE(pressed() + u' ' + fontShown(), u"---L-- 宋体 五号"_s); // the design state
        sheet()->setText(u"abc def\nghi"_s);
        select(0, 3);
        run(u"tbBold"_s);
        sheet()->setSelFontSize(u"10.5"_s);
        QCOMPARE(pressed() + u' ' + fontShown(), u"B--L-- 宋体 10.5"_s);
        select(5, 5); // into plain text
        QCOMPARE(pressed() + u' ' + fontShown(), u"---L-- 宋体 9"_s);
        run(u"tbBold"_s); // bold for what is typed next, and shown so
        QCOMPARE(pressed(), u"B--L--"_s);
        QTest::keyClicks(sheet(), u"x"_s);
        QCOMPARE(pressed(), u"B--L--"_s);
        select(2, 9);
        sheet()->setSelFontName(u"隶书"_s);
        select(0, 1);
        run(u"tbRight"_s);
        select(2, 11); // bold and plain, two fonts, two sizes, two alignments
        QCOMPARE(pressed() + u'|' + fontShown(), u"------| "_s);
        select(0, 1);
        QCOMPARE(pressed() + u' ' + fontShown(), u"B----R 宋体 10.5"_s);
        // A partly formatted selection becomes wholly formatted; a uniformly formatted
        // one is switched off, then on again, whatever the button shows.
        sheet()->setText(u"3+4=\u3000 5+6=\u3000"_s);
        select(0, 5);
        sheet()->setSelBold(true);
        select(3, 8);
        QCOMPARE(sheet()->selCharFormat().bold, std::nullopt); // mixed
        run(u"tbBold"_s);
        select(0, 8);
        QCOMPARE(sheet()->selCharFormat().bold, std::optional<bool>(true));
        const auto click = [this] { return run(u"tbBold"_s), sheet()->selCharFormat().bold; };
        QCOMPARE(click(), std::optional<bool>(false));
        QCOMPARE(click(), std::optional<bool>(true));
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
        shownMain();
        QFETCH(QString, key);
        QFETCH(QString, action);
        QFETCH(QString, shown);
        sheet()->setText(u"7+3=\u3000"_s);
        select(0, 4);
        QAccessibleInterface *button =
            QAccessible::queryAccessibleInterface(frmMain().toolbarEdit()->buttonWidget(key));
        QVERIFY(button->actionInterface()->actionNames().contains(action));
        button->actionInterface()->doAction(action);
        QTRY_VERIFY(button->state().checked);
        select(4, 0); // the same text, selected anew: the buttons show its format
        QCOMPARE(pressed(), shown);
    }

    // Every button shows a picture and leaves the keyboard focus in the sheet (its
    // tooltip names its key: tst_keyboard); the Format menu switches the selection's
    // format, by its keys too, with the caret in the sheet.
    void tooltipsAndMenus() {
        shownMain();
        for (ToolBar *bar : {frmMain().toolbarSYSTEM(), frmMain().toolbarEdit()}) {
            for (const QString &key : bar->keys()) {
                QToolButton *button = bar->buttonWidget(key);
                QVERIFY(button->focusPolicy() == Qt::NoFocus && !button->icon().isNull());
            }
        }
        QStringList menus;
        for (QAction *menu : frmMain().menuBar()->actions())
            menus << menu->text();
        QCOMPARE(menus.indexOf(u"格式[&O]"_s), menus.indexOf(u"编辑[&E]"_s) + 1);
        const QList<QAction *> file = frmMain().findChild<QMenu *>(u"mnuFile"_s)->actions();
        QVERIFY(file.size() > 3);
        QCOMPARE(file.at(0)->text() + file.at(1)->text() + file.at(2)->text(),
                 u"新建[&N]...打开[&O]...保存[&S]"_s);

        sheet()->setFocus();
        sheet()->setText(u"abc"_s);
        select(0, 2);
        QTest::keyClick(sheet(), Qt::Key_B, Qt::ControlModifier);
        QTest::keyClick(sheet(), Qt::Key_I, Qt::ControlModifier);
        QTest::keyClick(sheet(), Qt::Key_U, Qt::ControlModifier);
        QCOMPARE(pressed(), u"BIUL--"_s);
        QCOMPARE(sheet()->text(), u"abc"_s);
        frmMain().menuAction("mnuFormatItalic")->trigger();
        QCOMPARE(sheet()->selCharFormat().italic, std::optional<bool>(false));
        QCOMPARE(pressed(), u"B-UL--"_s);
    }

    // The font list: the two design entries, then every screen font in the platform's
    // order, unsorted. A size picked applies to the selection; a font picked with
    // nothing selected applies to the text typed next.
    void fontLists() {
        QComboBox *fonts = shownMain().cmbFont();
        QStringList listed;
        for (int i = 0; i < fonts->count(); ++i)
            listed << fonts->itemText(i);
        QCOMPARE(listed, QStringList({u"宋体"_s, u"隶书"_s}) + QFontDatabase::families());
        sheet()->setText(u"7+3=\u3000"_s);
        select(0, 4);
        QVERIFY(pick(frmMain().cmbFontSize(), u"128"_s));
        QCOMPARE(sheet()->selCharFormat().fontSize, std::optional<double>(128));
        QVERIFY(sheet()->hasFocus()); // back to the sheet for typing
        select(5, 5);
        QVERIFY(pick(fonts, u"隶书"_s));
        QTest::keyClicks(sheet(), u"cd"_s);
        select(4, 7);
        QCOMPARE(sheet()->selCharFormat().fontName, std::nullopt);
        QVERIFY(sheet()->selCharFormat().fontSize != std::optional<double>(128));
        select(5, 7);
        QCOMPARE(sheet()->selCharFormat().fontName, std::optional<QString>(u"隶书"_s));
    }

    // Cut and copy put the selection on the clipboard as plain text only, or empty it
    // when nothing is selected; a formatted passage copied elsewhere is pasted as plain
    // text, and with no text on the clipboard paste just deletes the selection.
    void clipboardCommands() {
        shownMain();
        sheet()->setText(u"abcd"_s);
        select(0, 4);
        sheet()->setSelBold(true);
        select(1, 2);
        run(u"tbCopy"_s);
        QCOMPARE(clipboard()->text(), u"b"_s);
        QCOMPARE(clipboard()->mimeData()->formats(), QStringList{u"text/plain"_s});
        select(1, 3);
        run(u"mnuEditCut"_s);
        QCOMPARE(sheet()->text() + u'|' + clipboard()->text(), u"ad|bc"_s);
        run(u"tbCut"_s); // nothing selected
        QVERIFY(!clipboard()->mimeData() || clipboard()->mimeData()->formats().isEmpty());
        auto *data = new QMimeData;
        data->setHtml(u"<b><i>7\u00D78=</i></b>"_s);
        data->setText(u"7\u00D78="_s);
        clipboard()->setMimeData(data);
        select(0, 1);
        run(u"mnuEditPaste"_s);
        QCOMPARE(sheet()->text(), u"7\u00D78=d"_s);
        select(0, 4);
        QCOMPARE(sheet()->selCharFormat().italic, std::optional<bool>(false));
        clipboard()->setMimeData(new QMimeData);
        run(u"tbPaste"_s);
        QCOMPARE(sheet()->text(), u"d"_s);
    }

    // Greyed when there is nothing to do; the reset that empties the sheet is
    // one step, undone and redone from the toolbar and the menu alike.
    void undoAndRedo() {
        shownMain();
        QCOMPARE(offered(), u"----"_s);
        QTest::keyClicks(sheet(), u"x"_s);
        QTest::mouseClick(frmMain().button("cmdReset"), Qt::LeftButton);
        run(u"tbUndo"_s);
        QCOMPARE(sheet()->text(), u"x"_s);
        QCOMPARE(offered(), u"URUR"_s);
        run(u"mnuEditUndo"_s);
        QCOMPARE(sheet()->text() + offered(), u"-R-R"_s);
        run(u"mnuEditRedo"_s);
        run(u"tbRedo"_s);
        QCOMPARE(sheet()->text() + offered(), u"U-U-"_s);
    }

    // The box offers the selection, searches on from the caret and wraps at
    // either end; absent text is reported and leaves the selection alone.
    void find() {
        shownMain();
        sheet()->setText(u"3+4=\u30005+6=\u30003+4="_s);
        select(2, 3);
        run(u"mnuEditFind"_s);
        FindBox *box = frmMain().findBox();
        QVERIFY(box && box->isVisible() && !box->isModal()); // the sheet usable
        QLineEdit *what = box->txtFind();
        QCOMPARE(what->text(), u"4"_s);
        what->setText(u"3+4"_s);
        CommandButton *next = box->button("cmdFindNext");
        const auto found = [this] { return sheet()->textCursor().selectionStart(); };
        QTest::mouseClick(next, Qt::LeftButton);
        QCOMPARE(found(), 10);
        QTest::keyClick(what, Qt::Key_Return); // Enter finds the next one, from the top
        QCOMPARE(found(), 0);
        QTest::mouseClick(box->button("cmdFindPrevious"), Qt::LeftButton); // and back
        QCOMPARE(found(), 10);
        what->setText(u"9\u00F73"_s);
        QTest::mouseClick(next, Qt::LeftButton);
        QCOMPARE(fakes_.messages.messages, QStringList{u"找不到\"9\u00F73\""_s});
        QCOMPARE(sheet()->selText(), u"3+4"_s);
    }
};

DRILLPAD_TEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
