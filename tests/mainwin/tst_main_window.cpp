#include "app/forms_registry.h"
#include "common/fakes.h"
#include "common/test_main.h"
#include "controls/command_button.h"
#include "controls/rich_text_box.h"
#include "controls/tool_bar.h"
#include "guide/frm_guide.h"
#include "mainwin/frm_main.h"
#include "mainwin/main_layout.h"
#include "platform/shell.h"
#include "version.h"

#include <QAccessible>
#include <QComboBox>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QWindow>

using namespace drillpad;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(drillpad::FormId)

namespace {

void moveMouseOver(QWidget *widget) {
    QWidget *target = widget;
    if (auto *area = qobject_cast<QAbstractScrollArea *>(widget))
        target = area->viewport();
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), target->mapToGlobal(QPointF(2, 2)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
}

// The caption as the window shows it, with its modified marker worked in.
QString shownTitle(const QWidget &window) {
    return window.windowHandle() ? window.windowHandle()->title() : QString();
}

// Records shell requests and answers that the shell could not open them.
class FailingShell final : public Shell {
public:
    bool execute(const ShellRequest &request) override {
        requests << request;
        return false;
    }
    QList<ShellRequest> requests;
};

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
        if (!QTest::qWaitForWindowExposed(&main))
            qWarning("main window not exposed");
        return main;
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

    // The two design entries, then every screen font in the platform's order, unsorted.
    void fontList() {
        QComboBox *fonts = shownMain().cmbFont();
        QStringList shown;
        for (int i = 0; i < fonts->count(); ++i)
            shown << fonts->itemText(i);
        QCOMPARE(shown, QStringList({u"宋体"_s, u"隶书"_s}) + QFontDatabase::families());
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
        QTest::newRow("editor")
            << "txtMain"
            << QStringLiteral(
                   "这是出题后的显示界面,你可以在这里编辑修改题目,修改完后单击工具栏上的打印或者"
                   "[文件]菜单中的[打印]菜单即可直接打印题目");
    }
    void hintsFollowThePointer() {
        QFETCH(QString, control);
        QFETCH(QString, hint);
        FrmMain &main = shownMain();
        moveMouseOver(main.controls().widget(control));
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
        QApplication::setActiveWindow(&main);
        QVERIFY(QTest::qWaitForWindowActive(&main));
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
        const QString text = editor->text();
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
        QVERIFY(main.isVisible() && isFormLoaded(FormId::Guide) && editor->text() == text);
        QCOMPARE(shownTitle(main), u"Drillpad*"_s); // still unsaved
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
};

DRILLPAD_TEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
