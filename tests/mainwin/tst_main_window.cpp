#include "app/forms_registry.h"
#include "common/fakes.h"
#include "common/test_main.h"
#include "controls/command_button.h"
#include "controls/rich_text_box.h"
#include "controls/tool_bar.h"
#include "mainwin/frm_main.h"
#include "mainwin/main_layout.h"

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

void flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

    testing::RecordingProcessControl process_;
    ScopedSeam<ProcessControl> processSeam_{process_};
    testing::RecordingMessageBoxes messages_;
    ScopedSeam<MessageBoxes> messageSeam_{messages_};
    testing::ScriptedFileDialogs dialogs_;
    ScopedSeam<FileDialogs> dialogSeam_{dialogs_};
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
        process_.endRequests = 0;
        messages_ = {};
        dialogs_ = {};
        unloaded_.clear();
        setUnloadObserver([this](FormId id) { unloaded_ << id; });
    }

    void cleanup() {
        setUnloadObserver({});
        UnloadAllForms();
        flushDeletes();
    }

    void startsWithItsDesignState() {
        FrmMain &main = shownMain();
        QCOMPARE(shownTitle(main), QStringLiteral("Drillpad"));
        QCOMPARE(main.txtMain()->text(), QString());
        QCOMPARE(main.cmbFont()->currentText(), QStringLiteral("宋体"));
        QCOMPARE(main.cmbFontSize()->currentText(), QStringLiteral("五号"));
        QCOMPARE(main.txtHelp()->toPlainText(),
                 QStringLiteral("这是向导界面,向导面\n板用来提示你的操作\n"));
        for (FormId other : {FormId::About, FormId::Face, FormId::Guide, FormId::Help})
            QVERIFY(!isFormLoaded(other));
        // The font list: the two design entries, then every screen font in
        // the platform's order, unsorted.
        const QStringList screenFonts = QFontDatabase::families();
        QComboBox *fonts = main.cmbFont();
        QCOMPARE(fonts->count(), 2 + screenFonts.size());
        QCOMPARE(fonts->itemText(0), QStringLiteral("宋体"));
        QCOMPARE(fonts->itemText(1), QStringLiteral("隶书"));
        for (int i = 0; i < screenFonts.size(); ++i)
            QCOMPARE(fonts->itemText(2 + i), screenFonts.at(i));
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
        QTest::newRow("narrow") << TwipsSize{2639, 7575} << TwipsRect{} << TwipsRect{};
        QTest::newRow("low") << TwipsSize{9960, 1440} << TwipsRect{} << TwipsRect{};
        QTest::newRow("minimised") << TwipsSize{0, 0} << TwipsRect{} << TwipsRect{};
    }
    void layoutRuleAtItsEdges() {
        QFETCH(TwipsSize, inner);
        QFETCH(TwipsRect, editor);
        QFETCH(TwipsRect, border);
        const std::optional<MainLayout> layout = mainLayoutFor(inner);
        QCOMPARE(layout.has_value(), editor.width > 0);
        if (layout) {
            QCOMPARE(layout->editor, editor);
            QCOMPARE(layout->border, border);
        }
    }

    void windowAppliesTheRuleOnResizeAndKeepsItWhenTooSmall() {
        FrmMain &main = shownMain();
        main.setClientSizeTwips({9960, 7575});
        QCOMPARE(innerSizeTwips(main.clientArea()), (TwipsSize{9960, 7575}));
        QWidget *shape = main.controls().widget(QStringLiteral("shapeTXT"));
        QCOMPARE(twipsGeometry(main.txtMain()), (TwipsRect{2520, 960, 7320, 6135}));
        QCOMPARE(twipsGeometry(shape), (TwipsRect{2510, 950, 7355, 6170}));

        // Shrinking by 80 pixels each way (the test screen is small).
        main.setClientSizeTwips({8760, 6375});
        QCOMPARE(twipsGeometry(main.txtMain()), (TwipsRect{2520, 960, 6120, 4935}));
        QCOMPARE(twipsGeometry(shape), (TwipsRect{2510, 950, 6155, 4970}));

        // Below the smallest size the last layout stays.
        main.clientArea()->resize(100, 60);
        QCOMPARE(twipsGeometry(main.txtMain()), (TwipsRect{2520, 960, 6120, 4935}));
        QCOMPARE(twipsGeometry(shape), (TwipsRect{2510, 950, 6155, 4970}));
    }

    void hintsFollowThePointer_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("hint");
        QTest::newRow("wizard button")
            << "cmdGuide"
            << QStringLiteral(
                   "单击本按钮将出现向导界面,你可以用向导出题,也可以在向导界面中定制及定制自己的"
                   "出题信息,并且重新出题");
        QTest::newRow("quiz button")
            << "cmdFace"
            << QStringLiteral(
                   "单击本按钮将出现交互界面,会自动出题,由用户交互完成,软件智能判断对错,并给出"
                   "结果,还有分数及建议");
        QTest::newRow("about button")
            << "cmdAbout" << QStringLiteral("这是关于按钮,单击后将出现本软件的版权信息及详细信息");
        QTest::newRow("hint panel")
            << "txtHelp" << QStringLiteral("这是向导界面,向导面板用来提示你的操作");
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

    void resetEmptiesTheSheetAndNothingElse() {
        FrmMain &main = shownMain();
        main.txtMain()->setText(QStringLiteral("\n乘法题:\n2\u00D73=\u3000\n\n"));
        moveMouseOver(main.button("cmdAbout"));
        const QString hint = main.txtHelp()->toPlainText();
        QTest::mouseClick(main.button("cmdReset"), Qt::LeftButton);
        QCOMPARE(main.txtMain()->text(), QString());
        QCOMPARE(main.txtHelp()->toPlainText(), hint);
        // The font lists show the caret's format, the default 宋体 9 pt.
        QCOMPARE(main.cmbFont()->currentText(), QStringLiteral("宋体"));
        QCOMPARE(main.cmbFontSize()->currentText(), QStringLiteral("9"));
        QTest::mouseClick(main.button("cmdReset"), Qt::LeftButton);
        QCOMPARE(main.txtMain()->text(), QString());
    }

    void shutdownUnloadsInTheFixedOrder_data() {
        QTest::addColumn<bool>("byMenu");
        QTest::addColumn<bool>("othersLoaded");
        QTest::newRow("exit menu entry") << true << true;
        QTest::newRow("closing the window") << false << true;
        QTest::newRow("exit with no other window ever opened") << true << false;
    }
    void shutdownUnloadsInTheFixedOrder() {
        QFETCH(bool, byMenu);
        QFETCH(bool, othersLoaded);
        if (othersLoaded) {
            frmHelp();
            frmGuide();
            frmAbout();
            frmFace();
        }
        FrmMain &main = shownMain();
        byMenu ? main.menuAction("mnuExit")->trigger() : void(main.close());
        const QList<FormId> expected =
            othersLoaded ? QList<FormId>{FormId::About, FormId::Face, FormId::Guide, FormId::Main,
                                         FormId::Help}
                         : QList<FormId>{FormId::Main};
        QCOMPARE(unloaded_, expected);
        QVERIFY(process_.endRequests >= 1);
        for (FormId id : {FormId::About, FormId::Face, FormId::Guide, FormId::Main, FormId::Help})
            QVERIFY(!isFormLoaded(id));
    }

    void exitButtonEndsAtOnceWithoutUnloading() {
        FrmMain &main = shownMain();
        frmGuide();
        main.txtMain()->setText(QStringLiteral("unsaved"));
        messages_.answers = {QStringLiteral("不保存")};
        QTest::mouseClick(main.button("cmdExit"), Qt::LeftButton);
        QCOMPARE(messages_.questions.size(), 1);
        QCOMPARE(process_.endRequests, 1);
        QVERIFY(unloaded_.isEmpty());
        QVERIFY(isFormLoaded(FormId::Main));
        QVERIFY(isFormLoaded(FormId::Guide));
    }

    void exitOffersToSaveUnsavedEdits_data() {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("sheet"); // "saved", "emptied" or "edited" since
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("saveChosen"); // the save dialog accepted
        for (const char *way : {"cmdExit", "Ctrl+E", "mnuExit", "close box"}) {
            QTest::addRow("%s, saved", way) << way << "saved" << QString() << false;
            QTest::addRow("%s, emptied", way) << way << "emptied" << QString() << false;
            QTest::addRow("%s, 保存", way) << way << "edited"
                                           << "保存" << true;
            QTest::addRow("%s, 保存 cancelled", way) << way << "edited"
                                                     << "保存" << false;
            QTest::addRow("%s, 不保存", way) << way << "edited"
                                             << "不保存" << false;
            QTest::addRow("%s, 取消", way) << way << "edited"
                                           << "取消" << false;
            QTest::addRow("%s, Esc", way) << way << "edited"
                                          << "Esc" << false;
        }
    }
    // Every way out asks about edits not yet saved, unless the sheet is empty;
    // once the user has chosen, each way ends as it always does. Choosing to
    // keep the sheet, or a save that does not happen, keeps everything.
    void exitOffersToSaveUnsavedEdits() {
        QFETCH(QString, way);
        QFETCH(QString, sheet);
        QFETCH(QString, answer);
        QFETCH(bool, saveChosen);
        QTemporaryDir folder;
        const QString saved = folder.filePath(QStringLiteral("sheet.rtf"));
        frmGuide();
        FrmMain &main = shownMain();
        QApplication::setActiveWindow(&main);
        QVERIFY(QTest::qWaitForWindowActive(&main));
        RichTextBox *editor = main.txtMain();
        QTest::keyClicks(editor, QStringLiteral("7+8=12"));
        if (sheet == QLatin1String("saved")) {
            dialogs_.answers << FileChoice{saved, 0};
            main.menuAction("mnuFileSave")->trigger();
            QVERIFY(QFile::remove(saved));
        } else if (sheet == QLatin1String("emptied")) {
            QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(editor, Qt::Key_Delete);
        }
        const QString text = editor->text();
        messages_.answers = {answer};
        if (saveChosen)
            dialogs_.answers << FileChoice{saved, 0};

        if (way == QLatin1String("cmdExit"))
            QTest::mouseClick(main.button("cmdExit"), Qt::LeftButton);
        else if (way == QLatin1String("Ctrl+E"))
            QTest::keyClick(editor, Qt::Key_E, Qt::ControlModifier);
        else if (way == QLatin1String("mnuExit"))
            main.menuAction("mnuExit")->trigger();
        else
            main.close();

        const bool asked = sheet == QLatin1String("edited");
        QCOMPARE(messages_.questions.size(), asked ? 1 : 0);
        if (asked)
            QCOMPARE(messages_.questions.first(),
                     (Question{
                         QStringLiteral("出题区的内容已修改。要保存吗?"),
                         {QStringLiteral("保存"), QStringLiteral("不保存"), QStringLiteral("取消")},
                         0,
                         2}));
        QCOMPARE(QFile::exists(saved), saveChosen);
        const bool ends = !asked || saveChosen || answer == QStringLiteral("不保存");
        QCOMPARE(process_.endRequests > 0, ends);
        const bool unloads = ends && way != QLatin1String("cmdExit");
        const QList<FormId> order = {FormId::Guide, FormId::Main};
        QCOMPARE(unloaded_, unloads ? order : QList<FormId>());
        if (ends)
            return;
        QVERIFY(main.isVisible() && isFormLoaded(FormId::Guide));
        QCOMPARE(editor->text(), text);
        QVERIFY(editor->document()->isModified());
        QCOMPARE(shownTitle(main), QStringLiteral("Drillpad*"));
    }

    // The caption marks unsaved edits: typing, formatting; saving, a sheet
    // from the wizard and undoing back to the saved state clear the mark.
    void captionMarksUnsavedEdits() {
        QTemporaryDir folder;
        FrmMain &main = shownMain();
        RichTextBox *editor = main.txtMain();
        QCOMPARE(shownTitle(main), QStringLiteral("Drillpad"));
        QTest::keyClicks(editor, QStringLiteral("3+4="));
        QCOMPARE(shownTitle(main), QStringLiteral("Drillpad*"));
        dialogs_.answers << FileChoice{folder.filePath(QStringLiteral("a")), 0};
        main.menuAction("mnuFileSave")->trigger();
        QCOMPARE(shownTitle(main), QStringLiteral("Drillpad"));
        editor->selectAll();
        QTest::mouseClick(main.toolbarEdit()->buttonWidget(QStringLiteral("tbBold")),
                          Qt::LeftButton);
        QCOMPARE(shownTitle(main), QStringLiteral("Drillpad*"));
        main.menuAction("mnuEditUndo")->trigger();
        QCOMPARE(shownTitle(main), QStringLiteral("Drillpad"));
    }

    void tabOrderFollowsTheDefinition() {
        FrmMain &main = shownMain();
        QApplication::setActiveWindow(&main);
        QVERIFY(QTest::qWaitForWindowActive(&main));
        const QStringList order = {
            QStringLiteral("cmdGuide"), QStringLiteral("cmdExit"),  QStringLiteral("cmdHelp"),
            QStringLiteral("cmdAbout"), QStringLiteral("cmdReset"), QStringLiteral("cmbFontSize"),
            QStringLiteral("cmbFont"),  QStringLiteral("cmdFace"),  QStringLiteral("txtMain")};
        main.controls().widget(order.first())->setFocus();
        for (int i = 1; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget *expected = main.controls().widget(order.at(i));
            QWidget *focus = QApplication::focusWidget();
            QVERIFY2(focus == expected || expected->isAncestorOf(focus), qPrintable(order.at(i)));
        }
    }
};

DRILLPAD_TEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
