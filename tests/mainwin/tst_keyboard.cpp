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
#include "masterywin/frm_mastery.h"
#include "quiz/frm_face.h"
#include "recordwin/frm_record.h"
#include "settings/frm_settings.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>

using namespace drillpad;
using namespace Qt::StringLiterals;

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

// The manual's keyboard table as rows "place|command|access key|toolbar
// button", each with the shortcuts it lists ("Ctrl+Y 或 Ctrl+Shift+Z"); read
// from the program, with the shortcut its menu shows.
using KeyTable = QMap<QString, QStringList>;

QString shown(const QString &caption) {
    return QString(caption).remove(u'&');
}

QString accessKeyOf(const QString &caption) {
    return QKeySequence::mnemonic(caption).toString(QKeySequence::PortableText);
}

KeyTable keysOfTheProgram(const QList<QWidget *> &windows) {
    KeyTable table;
    FrmMain &main = frmMain();
    QHash<QString, QString> toolbarOf; // the key a tooltip names -> the button
    for (ToolBar *bar : {main.toolbarSYSTEM(), main.toolbarEdit()}) {
        for (const QString &key : bar->keys()) {
            const QToolButton *button = bar->buttonWidget(key);
            const QString name = button->accessibleName();
            if (button->toolTip() != name) // "保存 (Ctrl+S)"
                toolbarOf.insert(button->toolTip().mid(name.size() + 2).chopped(1), name);
        }
    }
    for (QAction *title : main.menuBar()->actions()) {
        table.insert(u"菜单栏|%1|%2|"_s.arg(shown(title->text()), accessKeyOf(title->text())), {});
        for (QAction *entry : title->menu()->actions()) {
            const QKeySequence key = entry->shortcut();
            if (!entry->isSeparator())
                table.insert(u"%1|%2|%3|%4"_s.arg(shown(title->text()), shown(entry->text()),
                                                  accessKeyOf(entry->text()).remove(u"Alt+"_s),
                                                  key.isEmpty() ? QString()
                                                                : toolbarOf.value(key.toString())),
                             key.isEmpty() ? QStringList() : QStringList{key.toString()});
        }
    }
    for (QWidget *window : windows) {
        QStringList captions; // of the window's own controls, not of a window it holds
        for (const QAbstractButton *button : window->findChildren<QAbstractButton *>())
            captions << (button->window() == window ? button->text() : QString());
        for (const QLabel *label : window->findChildren<QLabel *>())
            captions << (label->window() == window && label->buddy() ? label->text() : QString());
        const QString place = window == &main ? u"主窗口"_s : window->windowTitle();
        for (const QString &caption : captions) {
            if (!accessKeyOf(caption).isEmpty())
                table.insert(u"%1|%2|%3|"_s.arg(place, shown(caption), accessKeyOf(caption)), {});
        }
    }
    return table;
}

KeyTable keysOfTheManual() {
    QFile source(qEnvironmentVariable("DRILLPAD_SOURCE_DIR") + "/resources/manual/help.txt"_L1);
    KeyTable table;
    bool inSection = false;
    for (const QString &line : source.open(QIODevice::ReadOnly)
                                   ? QString::fromUtf8(source.readAll()).split(u'\n')
                                   : QStringList()) {
        if (line.startsWith(u"# "_s))
            inSection = line.contains(u"键盘"_s);
        QStringList cells = line.split(u'|');
        if (!inSection || cells.size() != 7 || cells[1].trimmed() == u"位置"_s)
            continue;
        for (QString &cell : cells)
            cell = cell.trimmed();
        table.insert(QStringList{cells[1], cells[2], cells[3], cells[5]}.join(u'|'),
                     cells[4].split(u" 或 "_s, Qt::SkipEmptyParts));
    }
    return table;
}

} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT

    testing::RecordedEndAndMessages fakes_;

private Q_SLOTS:
    void init() { fakes_.process.endRequests = 0; }
    void cleanup() {
        UnloadAllForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Enter in the wizard clicks 下一步/完成 wherever the focus is, except in a range
    // box, where it only confirms the box, and on another button, which takes it.
    void enterInTheWizard_data() {
        QTest::addColumn<QString>("keys"); // to the page
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("step");
        QTest::newRow("check box: next page") << u"Return"_s << u"chkAdd"_s << 2;
        QTest::newRow("keypad's Enter too") << u"Num+Enter"_s << u"chkSelectAll"_s << 2;
        QTest::newRow("range box: stays") << u"Alt+N Return"_s << u"comboMul_"_s << 2;
        QTest::newRow("count box: finishes") << u"Alt+N Alt+N Return"_s << u"txtHowMul"_s << 4;
        QTest::newRow("上一步 takes it itself") << u"Alt+N Return"_s << u"cmdBack"_s << 1;
    }
    void enterInTheWizard() {
        QFETCH(QString, keys);
        QFETCH(QString, focus);
        FrmGuide &guide = frmGuide();
        QVERIFY(showActive(guide));
        press(keys.section(u' ', 0, -2));
        guide.findChild<QWidget *>(focus)->setFocus();
        press(keys.section(u' ', -1));
        QTEST(int(guideStep()), "step");
    }

    // Keys in the main window, wherever the focus is: the menus' shortcuts reach
    // their commands; Alt with a menu's letter opens it with its first command
    // highlighted, except from the frame of a button with that letter; the sheet's
    // context menu is the 编辑 menu. Esc in a window shown: a window without an
    // enabled cancel button closes as its close box does; the wizard cancels as 取消
    // does. (Esc in a quiz running or paused: tst_frm_face; in 出题设置:
    // tst_frm_settings.)
    void keysOfTheMainWindow_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("inside"); // pressed in the window shown
        QTest::addColumn<QString>("result"); // the window or menu shown, or what was done
        const auto row = [](const char *focus, const char *keys, const char *result,
                            const char *inside = "") {
            QTest::addRow("%s in %s%s%s", keys, focus, *inside ? ", then " : "", inside)
                << QString::fromLatin1(focus) << QString::fromLatin1(keys)
                << QString::fromLatin1(inside) << QString::fromUtf8(result);
        };
        row("cmdGuide", "Ctrl+N", "出题向导, unloaded", "Alt+N Esc");
        row("cmdGuide", "F1", "软件使用说明, unloaded", "Esc");
        row("txtMain", "Alt+L", "交互界面, hidden", "Esc");
        row("txtMain", "Ctrl+R", "练习记录, unloaded", "Esc");
        row("cmdGuide", "Ctrl+P", "print");
        row("cmdGuide", "Ctrl+Shift+L", "aligned 0 (左对齐)");
        row("cmdGuide", "Ctrl+Shift+E", "aligned 2 (居中)");
        row("cmdGuide", "Ctrl+Shift+R", "aligned 1 (右对齐)");
        row("cmdGuide", "Ctrl+A", "aligned 0 (左对齐), all selected");
        row("cmdGuide", "Alt+E", "mnuEdit 剪切[&T]");
        row("cmdHelp", "Alt+E", "exit");
        row("txtMain", "Alt+A", "mnuAbout 使用说明[&H]");
        row("cmdExit", "Alt+A", "关于 Drillpad, unloaded", "Esc");
        row("txtMain", "Alt+G", "出题向导");
        row("txtMain", "Shift+F10", "mnuEdit 剪切[&T]");
    }
    void keysOfTheMainWindow() {
        QFETCH(QString, focus);
        QFETCH(QString, keys);
        QFETCH(QString, inside);
        struct : PrintDialogs {
            QPrinter *choosePrinter(QWidget *, bool) override { return ++asked, nullptr; }
            void preview(QWidget *, const std::function<void(QPrinter *)> &) override {}
            int asked = 0;
        } printers;
        ScopedSeam<PrintDialogs> printSeam(printers);
        FrmMain &main = frmMain();
        QVERIFY(showActive(main));
        RichTextBox *sheet = main.txtMain();
        sheet->setText(u"7+3=\n8+1="_s);
        // Each alignment starts from another one.
        sheet->setSelAlignment(keys.endsWith(u'L') ? RichTextBox::AlignRightCode
                                                   : RichTextBox::AlignLeftCode);
        sheet->document()->clearUndoRedoStacks(); // 撤销 greyed: 剪切 is the first command
        sheet->document()->setModified(false);    // nothing asks before leaving
        main.findChild<QWidget *>(focus)->setFocus();
        QString result;
        QTimer shown; // the window the keys open, once it is up
        shown.setSingleShot(true);
        shown.callOnTimeout([&] {
            QPointer<QWidget> window = QApplication::activeModalWidget();
            if (!window || !showActive(*window))
                return;
            result = window->windowTitle();
            press(inside);
            bool loaded = false;
            for (FormId form :
                 {FormId::Help, FormId::About, FormId::Guide, FormId::Face, FormId::Record})
                loaded |= isFormLoaded(form);
            if (!inside.isEmpty())
                result += window->isVisible() ? u", shown"_s
                          : loaded            ? u", hidden"_s
                                              : u", unloaded"_s;
            if (window && window->isVisible())
                static_cast<QDialog *>(window.data())->done(QDialog::Rejected);
        });
        shown.start(0);
        press(keys);
        if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
            const QAction *highlighted = menu->activeAction();
            result = menu->objectName() + u' ' + (highlighted ? highlighted->text() : QString());
            menu->close();
        } else if (printers.asked || fakes_.process.endRequests) {
            result = printers.asked ? u"print"_s : u"exit"_s;
        } else if (result.isEmpty()) { // the sheet's alignment and selection, the button shown
            result = u"aligned %1"_s.arg(sheet->selAlignment().value_or(-1));
            for (const char *key : {"tbLeft", "tbMid", "tbRight"}) {
                if (QToolButton *button = main.toolbarEdit()->buttonWidget(QLatin1String(key));
                    button->isChecked())
                    result += u" ("_s + button->accessibleName() + u')';
            }
            if (sheet->selText() == sheet->text())
                result += u", all selected"_s;
        }
        QTEST(result, "result");
    }

    // The manual's table lists every menu, menu entry and access key of every window,
    // and the toolbar button and shortcut of each command, exactly as the program has
    // them; no two commands share a shortcut, and every toolbar button has one.
    void manualListsEveryKey() {
        FrmMain &main = frmMain();
        main.menuAction("mnuEditFind")->trigger();
        FrmGuide &guide = frmGuide();
        FrmMastery map;
        KeyTable real = keysOfTheProgram({&main, &guide, &frmFace(), &frmAbout(), &frmHelp(),
                                          &frmRecord(), &frmSettings(), main.findBox(), &map});
        guide.button("cmdNext")->click(); // 下一步 becomes 完成
        guide.button("cmdNext")->click();
        real.insert(keysOfTheProgram({&guide}));
        const KeyTable manual = keysOfTheManual();
        const QSet<QString> listed(manual.keyBegin(), manual.keyEnd()),
            there(real.keyBegin(), real.keyEnd());
        QVERIFY2(listed == there, qPrintable(u"not in the manual: "_s +
                                             QStringList((there - listed).values()).join(u"; ") +
                                             u"; not in the program: "_s +
                                             QStringList((listed - there).values()).join(u"; ")));
        QStringList shortcuts, toolbar;
        for (const QString &row : real.keys()) {
            const QStringList key = real.value(row), listed = manual.value(row);
            QVERIFY2(key.isEmpty() ? listed.isEmpty() : listed.contains(key.first()),
                     qPrintable(row + u" lists "_s + listed.join(u", ")));
            shortcuts += key;
            toolbar << row.section(u'|', 3);
        }
        QCOMPARE(QSet<QString>(shortcuts.cbegin(), shortcuts.cend()).size(), shortcuts.size());
        toolbar.removeAll(QString());
        QCOMPARE(toolbar.size(),
                 main.toolbarSYSTEM()->keys().size() + main.toolbarEdit()->keys().size());
    }
};

DRILLPAD_TEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
