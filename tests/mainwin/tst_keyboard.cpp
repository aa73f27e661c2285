#include "common/fakes.h"
#include "common/test_main.h"

#include "about/frm_about.h"
#include "about/frm_help.h"
#include "app/forms_registry.h"
#include "controls/command_button.h"
#include "controls/print_dialog.h"
#include "controls/rich_text_box.h"
#include "controls/tool_bar.h"
#include "guide/frm_guide.h"
#include "guide/guide_steps.h"
#include "mainwin/find_box.h"
#include "mainwin/frm_main.h"
#include "quiz/frm_face.h"
#include "recordwin/frm_record.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>

using namespace drillpad;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(drillpad::FormId)

namespace {

bool showActive(QWidget &window) {
    window.show();
    QApplication::setActiveWindow(&window);
    return QTest::qWaitForWindowActive(&window);
}

// Presses keys such as "Alt+N Alt+N" where the focus is, one after another.
void press(const QString &keys) {
    for (const QString &key : keys.split(u' ', Qt::SkipEmptyParts)) {
        QWidget *focus = QApplication::focusWidget();
        QTest::keySequence(focus ? focus : QApplication::activeWindow(), QKeySequence(key));
    }
}

// Runs `inside` once the modal window that `open` shows is up, and closes it
// afterwards if it is still there.
void whileModal(const std::function<void()> &open, const std::function<void(QWidget &)> &inside) {
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QPointer<QWidget> window = QApplication::activeModalWidget();
        if (!window || !showActive(*window))
            return qWarning("no modal window");
        inside(*window);
        if (window && window->isVisible())
            static_cast<QDialog *>(window.data())->done(QDialog::Rejected);
    });
    timer.start(0);
    open();
}

// The caption of the window a row of the manual's table names a window by.
QString placeOf(const QWidget *window) {
    return window->objectName() == u"frmMain"_s ? u"主窗口"_s : window->windowTitle();
}

QString shownCaption(const QString &caption) {
    return QString(caption).remove(u'&');
}

// One row of the manual's keyboard table: where, which command, its access
// key (the letter alone inside a menu), its shortcuts (the manual may list
// the platform's alternatives, "Ctrl+Y 或 Ctrl+Shift+Z") and its toolbar
// button.
struct KeyRow {
    QString place, command, accessKey;
    QStringList shortcuts;
    QString toolbar;

    // A table row matches a row read from the program if everything agrees
    // and it lists the shortcut the program shows.
    bool describes(const KeyRow &real) const {
        return place == real.place && command == real.command && accessKey == real.accessKey &&
               toolbar == real.toolbar &&
               (real.shortcuts.isEmpty() ? shortcuts.isEmpty()
                                         : shortcuts.contains(real.shortcuts.first()));
    }
    QString text() const {
        return QStringList{place, command, accessKey, shortcuts.join(u" 或 "_s), toolbar}.join(
            u" | "_s);
    }
};

QString accessKeyOf(const QString &caption) {
    return QKeySequence::mnemonic(caption).toString(QKeySequence::PortableText);
}

// Every menu and menu entry of the main window, as the program has them.
QList<KeyRow> keysOfTheMenus() {
    QList<KeyRow> rows;
    FrmMain &main = frmMain();
    // A toolbar button's tooltip names it and the key of its menu entry.
    QHash<QString, QString> toolbarOf; // key shown -> toolbar button
    for (ToolBar *bar : {main.toolbarSYSTEM(), main.toolbarEdit()}) {
        for (const QString &key : bar->keys()) {
            const QToolButton *button = bar->buttonWidget(key);
            const QString name = button->accessibleName();
            if (button->toolTip() != name)
                toolbarOf.insert(button->toolTip().mid(name.size() + 2).chopped(1), name);
        }
    }
    for (QAction *title : main.menuBar()->actions()) {
        rows << KeyRow{
            u"菜单栏"_s, shownCaption(title->text()), accessKeyOf(title->text()), {}, {}};
        for (QAction *entry : title->menu()->actions()) {
            if (entry->isSeparator())
                continue;
            const QString key = accessKeyOf(entry->text()).remove(u"Alt+"_s);
            QStringList shortcuts;
            if (!entry->shortcut().isEmpty())
                shortcuts << entry->shortcut().toString(QKeySequence::PortableText);
            const QString shown = entry->shortcut().toString(QKeySequence::NativeText);
            rows << KeyRow{shownCaption(title->text()), shownCaption(entry->text()), key, shortcuts,
                           shown.isEmpty() ? QString() : toolbarOf.value(shown)};
        }
    }
    return rows;
}

// Every button or caption with an access key of these windows.
QList<KeyRow> keysOfTheWindows(const QList<QWidget *> &windows) {
    QList<KeyRow> rows;
    for (QWidget *window : windows) {
        QStringList captions; // of the window's own controls, not of a window it holds
        for (const QAbstractButton *button : window->findChildren<QAbstractButton *>())
            captions << (button->window() == window ? button->text() : QString());
        for (const QLabel *label : window->findChildren<QLabel *>())
            captions << (label->window() == window && label->buddy() ? label->text() : QString());
        for (const QString &caption : captions) {
            if (!accessKeyOf(caption).isEmpty())
                rows << KeyRow{
                    placeOf(window), shownCaption(caption), accessKeyOf(caption), {}, {}};
        }
    }
    return rows;
}

// The rows of the keyboard table in the manual's source, less its heading row.
QList<KeyRow> keysOfTheManual() {
    QFile source(qEnvironmentVariable("DRILLPAD_SOURCE_DIR") + "/resources/manual/help.txt"_L1);
    if (!source.open(QIODevice::ReadOnly))
        return {};
    QList<KeyRow> rows;
    bool inSection = false;
    for (const QString &line : QString::fromUtf8(source.readAll()).split(u'\n')) {
        if (line.startsWith(u"# "_s))
            inSection = line.contains(u"键盘"_s);
        QStringList cells = line.split(u'|');
        if (!inSection || cells.size() != 7)
            continue;
        for (QString &cell : cells)
            cell = cell.trimmed().remove(u'\\');
        rows << KeyRow{cells[1], cells[2], cells[3], cells[4].split(u" 或 "_s, Qt::SkipEmptyParts),
                       cells[5]};
    }
    return rows.mid(1);
}

} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT

    testing::RecordingProcessControl process_;
    ScopedSeam<ProcessControl> processSeam_{process_};
    testing::RecordingMessageBoxes messages_;
    ScopedSeam<MessageBoxes> messageSeam_{messages_};

    FrmMain &activeMain() {
        FrmMain &main = frmMain();
        if (!showActive(main))
            qWarning("the main window is not active");
        return main;
    }

private Q_SLOTS:
    void init() { process_.endRequests = 0; }
    void cleanup() {
        UnloadAllForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Esc in each window: a window without an enabled cancel button closes as its
    // close box does (the quiz only while idle; paused it stays); the wizard cancels
    // as 取消 does; a quiz in progress finishes.
    void escapeInEachWindow_data() {
        QTest::addColumn<QString>("opener"); // a button or menu entry of the main window
        QTest::addColumn<FormId>("form");
        QTest::addColumn<QString>("keys"); // pressed before Esc
        QTest::addColumn<QString>("after");
        const auto row = [](const char *name, const char *opener, FormId form, const char *keys,
                            const char *after) {
            QTest::newRow(name) << QString::fromLatin1(opener) << form << QString::fromLatin1(keys)
                                << QString::fromLatin1(after);
        };
        row("help closes", "cmdHelp", FormId::Help, "", "unloaded");
        row("About closes", "cmdAbout", FormId::About, "", "unloaded");
        row("wizard cancels", "cmdGuide", FormId::Guide, "Alt+N", "unloaded");
        row("quiz, idle: closes", "cmdFace", FormId::Face, "", "hidden");
        row("quiz, running: finishes", "cmdFace", FormId::Face, "Alt+B", "idle");
        row("quiz, paused: stays", "cmdFace", FormId::Face, "Alt+B Alt+P", "paused");
        row("record closes", "mnuPracticeRecord", FormId::Record, "", "unloaded");
    }
    void escapeInEachWindow() {
        QFETCH(QString, opener);
        QFETCH(FormId, form);
        QFETCH(QString, keys);
        FrmMain &main = activeMain();
        QString after = u"not opened"_s;
        whileModal(
            [&] {
                if (QAction *entry = main.menuAction(opener.toLatin1().constData()))
                    return entry->trigger();
                main.button(opener.toLatin1().constData())->click();
            },
            [&](QWidget &window) {
                press(keys);
                press(u"Esc"_s);
                if (!isFormLoaded(form))
                    after = u"unloaded"_s;
                else if (!window.isVisible())
                    after = u"hidden"_s;
                else if (form != FormId::Face)
                    after = u"shown"_s;
                else if (frmFace().button("cmdBegin")->isEnabled())
                    after = u"idle"_s;
                else
                    after = frmFace().runFlag() == u"1"_s ? u"running"_s : u"paused"_s;
            });
        QTEST(after, "after");
    }

    // Enter in the wizard clicks 下一步/完成 wherever the focus is, except in a range
    // box, where it only confirms the box, and on another button, which takes it.
    void enterInTheWizard_data() {
        QTest::addColumn<QString>("keys"); // to the page
        QTest::addColumn<QString>("focus");
        QTest::addColumn<bool>("keypad");
        QTest::addColumn<int>("step");
        const auto row = [](const char *name, const char *keys, const char *focus, bool keypad,
                            int step) {
            QTest::newRow(name) << QString::fromLatin1(keys) << QString::fromLatin1(focus) << keypad
                                << step;
        };
        row("check box: next page", "", "chkAdd", false, 2);
        row("keypad's Enter too", "", "chkSelectAll", true, 2);
        row("range box: stays", "Alt+N", "comboMul_", false, 2);
        row("count box: finishes", "Alt+N Alt+N", "txtHowMul", false, 4);
        row("上一步 takes it itself", "Alt+N", "cmdBack", false, 1);
    }
    void enterInTheWizard() {
        QFETCH(QString, keys);
        QFETCH(QString, focus);
        QFETCH(bool, keypad);
        FrmGuide &guide = frmGuide();
        QVERIFY(showActive(guide));
        press(keys);
        guide.findChild<QWidget *>(focus)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), keypad ? Qt::Key_Enter : Qt::Key_Return,
                        keypad ? Qt::KeypadModifier : Qt::NoModifier);
        QTEST(int(guideStep()), "step");
        QCOMPARE(guide.isVisible(), guideStep() != 4);
    }

    // The keys the menus gained reach their commands wherever the focus is.
    void newShortcuts_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("result");
        const auto row = [](const char *keys, const char *result) {
            QTest::newRow(keys) << QString::fromLatin1(keys) << QString::fromUtf8(result);
        };
        row("Ctrl+N", "出题向导");
        row("F1", "软件使用说明");
        row("Ctrl+P", "print");
        row("Ctrl+Shift+L", "aligned 0 (左对齐 pressed)");
        row("Ctrl+Shift+E", "aligned 2 (居中 pressed)");
        row("Ctrl+Shift+R", "aligned 1 (右对齐 pressed)");
        row("Ctrl+A", "aligned 0 (左对齐 pressed), all selected");
    }
    void newShortcuts() {
        QFETCH(QString, keys);
        struct : PrintDialogs {
            QPrinter *choosePrinter(QWidget *, bool) override { return ++asked, nullptr; }
            int asked = 0;
        } printers;
        ScopedSeam<PrintDialogs> printSeam(printers);
        FrmMain &main = activeMain();
        RichTextBox *sheet = main.txtMain();
        sheet->setText(u"7+3=\n8+1="_s);
        // Each alignment starts from another one.
        sheet->setSelAlignment(keys.endsWith(u'L') ? RichTextBox::AlignRightCode
                                                   : RichTextBox::AlignLeftCode);
        sheet->document()->setModified(false);
        main.button("cmdGuide")->setFocus();
        QString result;
        whileModal([&] { press(keys); }, [&](QWidget &window) { result = window.windowTitle(); });
        if (printers.asked)
            result = u"print"_s;
        if (result.isEmpty()) { // the sheet's alignment and selection, the button shown
            result = u"aligned %1"_s.arg(sheet->selAlignment().value_or(-1));
            for (const char *key : {"tbLeft", "tbMid", "tbRight"}) {
                if (QToolButton *button = main.toolbarEdit()->buttonWidget(QLatin1String(key));
                    button->isChecked())
                    result += u" ("_s + button->accessibleName() + u" pressed)"_s;
            }
            if (sheet->selText() == sheet->text())
                result += u", all selected"_s;
        }
        QTEST(result, "result");
        QVERIFY(sheet->document()->isModified() == keys.startsWith(u"Ctrl+Shift"_s));
    }

    // No two commands of the main window share a key.
    void noTwoCommandsShareAKey() {
        QMultiHash<QKeySequence, QString> commands;
        for (const QAction *action : frmMain().findChildren<QAction *>()) {
            for (const QKeySequence &key : action->shortcuts())
                commands.insert(key, action->objectName());
        }
        QStringList shared;
        for (const QKeySequence &key : commands.uniqueKeys()) {
            if (commands.count(key) > 1)
                shared << key.toString() + u": "_s + QStringList(commands.values(key)).join(u", ");
        }
        QVERIFY2(shared.isEmpty(), qPrintable(shared.join(u"; "_s)));
    }

    // Alt with a menu's letter opens the menu, with its first command highlighted; a
    // button with the same letter takes it only from inside its frame. The sheet's
    // context menu is the 编辑 menu, also from the keyboard.
    void accessKeysAndTheContextMenu_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("result"); // the menu shown, or the window, or "exit"
        const auto row = [](const char *name, const char *focus, const char *keys,
                            const char *result) {
            QTest::newRow(name) << QString::fromLatin1(focus) << QString::fromLatin1(keys)
                                << QString::fromUtf8(result);
        };
        row("Alt+E in the sheet: 编辑", "txtMain", "Alt+E", "mnuEdit 剪切[&T]");
        row("Alt+E in the 向导 frame: 编辑", "cmdGuide", "Alt+E", "mnuEdit 剪切[&T]");
        row("Alt+E in the 帮助 frame: 退出", "cmdHelp", "Alt+E", "exit");
        row("Alt+A in the sheet: 帮助", "txtMain", "Alt+A", "mnuAbout 使用说明[&H]");
        row("Alt+A in the 帮助 frame: 关于", "cmdExit", "Alt+A", "关于 Drillpad");
        row("Alt+G anywhere: 向导界面", "txtMain", "Alt+G", "出题向导");
        row("Shift+F10 in the sheet", "txtMain", "Shift+F10", "mnuEdit 剪切[&T]");
    }
    void accessKeysAndTheContextMenu() {
        QFETCH(QString, focus);
        QFETCH(QString, keys);
        FrmMain &main = activeMain();
        main.findChild<QWidget *>(focus)->setFocus();
        QString result;
        whileModal([&] { press(keys); }, [&](QWidget &window) { result = window.windowTitle(); });
        if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
            result = menu->objectName() + u' ' +
                     (menu->activeAction() ? menu->activeAction()->text() : u"none"_s);
            menu->close();
        }
        if (process_.endRequests)
            result = u"exit"_s;
        QTEST(result, "result");
    }

    // The manual's table lists every menu, menu entry, toolbar button and access key
    // of every window exactly as the program has them, and nothing else.
    void manualListsEveryKey() {
        FrmMain &main = frmMain();
        main.menuAction("mnuEditFind")->trigger();
        FrmGuide &guide = frmGuide();
        QList<KeyRow> real =
            keysOfTheMenus() + keysOfTheWindows({&main, &guide, &frmFace(), &frmAbout(), &frmHelp(),
                                                 &frmRecord(), main.findBox()});
        guide.button("cmdNext")->click(); // 下一步 becomes 完成
        guide.button("cmdNext")->click();
        real += keysOfTheWindows({&guide});
        const QList<KeyRow> manual = keysOfTheManual();
        QStringList missing, stale;
        for (const KeyRow &row : real) {
            if (std::none_of(manual.cbegin(), manual.cend(),
                             [&](const KeyRow &listed) { return listed.describes(row); }))
                missing << row.text();
        }
        for (const KeyRow &listed : manual) {
            if (std::none_of(real.cbegin(), real.cend(),
                             [&](const KeyRow &row) { return listed.describes(row); }))
                stale << listed.text();
        }
        QVERIFY(manual.size() > 40);
        QVERIFY2(missing.isEmpty(), qPrintable(u"not in the manual: "_s + missing.join(u"; ")));
        QVERIFY2(stale.isEmpty(), qPrintable(u"not in the program: "_s + stale.join(u"; ")));
    }
};

DRILLPAD_TEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
