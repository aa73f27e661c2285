#include "app/forms_registry.h"
#include "common/fakes.h"
#include "common/test_main.h"
#include "controls/command_button.h"
#include "controls/rich_text_box.h"
#include "mainwin/frm_main.h"
#include "mainwin/main_layout.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QPlainTextEdit>

using namespace drillpad;

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

void flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

    testing::RecordingProcessControl process_;
    ScopedSeam<ProcessControl> processSeam_{process_};
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
        QCOMPARE(main.windowTitle(), QStringLiteral("Drillpad"));
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
    }

    void resetEmptiesTheSheetAndNothingElse() {
        FrmMain &main = shownMain();
        main.txtMain()->setText(QStringLiteral("\n乘法题:\n2\u00D73=\u3000\n\n"));
        moveMouseOver(main.button("cmdAbout"));
        const QString hint = main.txtHelp()->toPlainText();
        QTest::mouseClick(main.button("cmdReset"), Qt::LeftButton);
        QCOMPARE(main.txtMain()->text(), QString());
        QCOMPARE(main.txtHelp()->toPlainText(), hint);
        QCOMPARE(main.cmbFont()->currentText(), QStringLiteral("宋体"));
        QCOMPARE(main.cmbFontSize()->currentText(), QStringLiteral("五号"));
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
        QTest::mouseClick(main.button("cmdExit"), Qt::LeftButton);
        QCOMPARE(process_.endRequests, 1);
        QVERIFY(unloaded_.isEmpty());
        QVERIFY(isFormLoaded(FormId::Main));
        QVERIFY(isFormLoaded(FormId::Guide));
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
