#include "common/main_window_fixture.h"
#include "common/test_main.h"
#include "controls/rich_text_box.h"
#include "controls/tool_bar.h"
#include "forms/frm_main_def.h"

#include <QActionGroup>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolButton>

using namespace drillpad;

namespace {

enum class Style { Push, Check, Group };

struct MenuEntry {
    const char *name;
    const char *caption;                                      // "-" for a separator
    const char *shortcut = nullptr;                           // a fixed shortcut
    QKeySequence::StandardKey key = QKeySequence::UnknownKey; // or the platform's usual one
};

QImage pixels(const QIcon &icon) {
    return icon.pixmap(QSize(16, 16), 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

Q_DECLARE_METATYPE(Style)

// The main window as built from its definition: toolbars, menus, status bar.
class TestMainWindowDefinition : public QObject {
    Q_OBJECT

    std::unique_ptr<FrmMain> window_;

    void compareMenu(const char *menuName, const QList<MenuEntry> &entries) {
        auto *menu = window_->menuBar()->findChild<QMenu *>(QString::fromLatin1(menuName));
        QVERIFY(menu);
        const QList<QAction *> actions = menu->actions();
        QCOMPARE(actions.size(), entries.size());
        for (int i = 0; i < entries.size(); ++i) {
            const MenuEntry &entry = entries.at(i);
            QAction *action = actions.at(i);
            QCOMPARE(action->objectName(), QString::fromLatin1(entry.name));
            if (QByteArray(entry.caption) == "-") {
                QVERIFY2(action->isSeparator(), entry.name);
                continue;
            }
            QCOMPARE(action->text(), QString::fromUtf8(entry.caption));
            QList<QKeySequence> shortcuts;
            if (entry.shortcut)
                shortcuts << QKeySequence(QString::fromLatin1(entry.shortcut));
            else if (entry.key != QKeySequence::UnknownKey)
                shortcuts = QKeySequence::keyBindings(entry.key);
            QCOMPARE(action->shortcuts(), shortcuts);
        }
    }

private Q_SLOTS:
    void init() { window_ = testing::shownMainWindow(); }
    void cleanup() { window_.reset(); }

    void toolbarButtons_data() {
        QTest::addColumn<QString>("toolbar");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("key");
        QTest::addColumn<Style>("style");
        QTest::addColumn<int>("image");
        QTest::addColumn<QString>("spoken");
        const auto row = [](const char *bar, int position, const char *key, Style style, int image,
                            const char *spoken) {
            QTest::newRow(key) << QString::fromLatin1(bar) << position << QString::fromLatin1(key)
                               << style << image << QString::fromUtf8(spoken);
        };
        row("toolbarSYSTEM", 1, "tbNew", Style::Push, 25, "新建");
        row("toolbarSYSTEM", 2, "tbOpen", Style::Push, 2, "打开");
        row("toolbarSYSTEM", 3, "tbSave", Style::Push, 23, "保存");
        row("toolbarSYSTEM", 5, "tbPrint", Style::Push, 24, "打印");
        row("toolbarSYSTEM", 7, "tbCut", Style::Push, 7, "剪切");
        row("toolbarSYSTEM", 8, "tbCopy", Style::Push, 5, "复制");
        row("toolbarSYSTEM", 9, "tbPaste", Style::Push, 16, "粘贴");
        row("toolbarSYSTEM", 10, "tbFind", Style::Push, 9, "查找");
        row("toolbarSYSTEM", 12, "tbUndo", Style::Push, 20, "撤销");
        row("toolbarSYSTEM", 13, "tbRedo", Style::Push, 18, "重做");
        row("toolbarSYSTEM", 15, "tbHelp", Style::Push, 10, "帮助");
        row("toolbarEdit", 3, "tbBold", Style::Check, 3, "粗体");
        row("toolbarEdit", 4, "tbItaic", Style::Check, 12, "斜体");
        row("toolbarEdit", 5, "tbUnderline", Style::Check, 21, "下划线");
        row("toolbarEdit", 7, "tbLeft", Style::Group, 14, "左对齐");
        row("toolbarEdit", 8, "tbMid", Style::Group, 6, "居中");
        row("toolbarEdit", 9, "tbRight", Style::Group, 19, "右对齐");
    }
    void toolbarButtons() {
        QFETCH(QString, toolbar);
        QFETCH(int, position);
        QFETCH(QString, key);
        QFETCH(Style, style);
        QFETCH(int, image);
        QFETCH(QString, spoken);

        auto *bar = window_->controls().get<ToolBar>(toolbar);
        QVERIFY(bar);
        QAction *action = bar->actions().at(position - 1);
        QCOMPARE(action, bar->button(key));
        QCOMPARE(action->isCheckable(), style != Style::Push);
        QCOMPARE(action->actionGroup() != nullptr, style == Style::Group);
        if (style == Style::Group) {
            QCOMPARE(action->actionGroup()->actions().size(), 3);
            QCOMPARE(action->actionGroup()->exclusionPolicy(),
                     QActionGroup::ExclusionPolicy::Exclusive);
        }
        QCOMPARE(pixels(action->icon()), pixels(ImageList(forms::frmMainImageList()).icon(image)));

        QToolButton *button = bar->buttonWidget(key);
        QVERIFY(button && button->isVisible());
        QCOMPARE(button->objectName(), key);
        QCOMPARE(button->text(), QString());
        QCOMPARE(button->toolTip(), QString());
        QCOMPARE(action->toolTip(), QString());
        QCOMPARE(button->accessibleName(), spoken);
        QCOMPARE(button->iconSize(), QSize(16, 16));
        QCOMPARE(button->focusPolicy(), Qt::NoFocus);
    }

    void toolbarsInOrderWithSeparatorsAndPlaceholder() {
        // b: button, |: separator, p: placeholder.
        const auto shape = [](const ToolBar *bar) {
            QString result;
            for (QAction *action : bar->actions()) {
                if (action->isSeparator())
                    result += QLatin1Char('|');
                else if (qobject_cast<QToolButton *>(bar->widgetForAction(action)))
                    result += QLatin1Char('b');
                else
                    result += QLatin1Char('p');
            }
            return result;
        };
        QCOMPARE(shape(window_->toolbarSYSTEM()), QStringLiteral("bbb|b|bbbb|bb|b"));
        QCOMPARE(shape(window_->toolbarEdit()), QStringLiteral("p|bbb|bbb"));
        QCOMPARE(window_->toolbarEdit()->keys(),
                 (QStringList{"tbBold", "tbItaic", "tbUnderline", "tbLeft", "tbMid", "tbRight"}));
    }

    void fontListsLieOnTheFormattingBar() {
        QWidget *space = window_->toolbarEdit()->placeholder(forms::kFontComboPlaceholder);
        QVERIFY(space);
        QCOMPARE(space->width(), twipsToPixels(3000));
        QCOMPARE(window_->cmbFont()->parentWidget(), space);
        QCOMPARE(window_->cmbFontSize()->parentWidget(), space);
        QCOMPARE(twipsGeometry(window_->cmbFont()), (TwipsRect{0, 0, 1695, 300}));
        QCOMPARE(twipsGeometry(window_->cmbFontSize()), (TwipsRect{1800, 0, 1095, 300}));
        QVERIFY(window_->cmbFont()->isVisible());
        QVERIFY(window_->cmbFontSize()->isVisible());
        QCOMPARE(window_->cmbFont()->accessibleName(), QStringLiteral("字体"));
        QCOMPARE(window_->cmbFontSize()->accessibleName(), QStringLiteral("字号"));
        QCOMPARE(window_->txtMain()->accessibleName(), QStringLiteral("出题区"));
    }

    // The bars keep to the top edge and the status bar to the bottom, all
    // as wide as the window.
    void barsFollowTheWidth() {
        window_->setClientSizeTwips({9000, 6000});
        QCOMPARE(twipsGeometry(window_->toolbarSYSTEM()), (TwipsRect{0, 0, 9000, 360}));
        QCOMPARE(twipsGeometry(window_->toolbarEdit()), (TwipsRect{0, 360, 9000, 360}));
        QCOMPARE(twipsGeometry(window_->statusBar1()), (TwipsRect{0, 5745, 9000, 255}));
        const QList<QLabel *> panels = window_->statusBar1()->findChildren<QLabel *>();
        QCOMPARE(panels.size(), 1);
        QCOMPARE(panels.first()->text(), QString());
    }

    void menus() {
        QStringList titles;
        for (QAction *action : window_->menuBar()->actions())
            titles << action->text();
        QCOMPARE(titles, (QStringList{QStringLiteral("文件[&F]"), QStringLiteral("编辑[&E]"),
                                      QStringLiteral("帮助[&A]")}));
        compareMenu("mnuFile", {{"mnuFileSave", "保存[&S]", "Ctrl+S"},
                                {"mnuFileDivision1", "-"},
                                {"mnuFilePrint", "打印[&P]"},
                                {"mnuFileDivision2", "-"},
                                {"mnuExit", "退出[&E]", "Ctrl+E"}});
        compareMenu("mnuEdit", {{"mnuEditUndo", "撤销[&U]", nullptr, QKeySequence::Undo},
                                {"mnuEditRedo", "重做[&R]", nullptr, QKeySequence::Redo},
                                {"mnuEditDivision1", "-"},
                                {"mnuEditCut", "剪切[&T]", nullptr, QKeySequence::Cut},
                                {"mnuEditCopy", "复制[&C]", nullptr, QKeySequence::Copy},
                                {"mnuEditPaste", "粘贴[&P]", nullptr, QKeySequence::Paste},
                                {"mnuEditDivision2", "-"},
                                {"mnuEditFind", "查找[&F]", nullptr, QKeySequence::Find}});
        compareMenu("mnuAbout", {{"mnuHelp", "使用说明[&H]"},
                                 {"mnuFileDivision4", "-"},
                                 {"mnuHome", "访问软件官方主页[&H]"},
                                 {"mnuWriteTo", "给作者写信[&E]"},
                                 {"mnuReportErr", "报告错误[&R]"},
                                 {"mnuGbook", "在线技术支持[留言解答][&G]"},
                                 {"mnuFileDivision3", "-"},
                                 {"mnuAboutAbout", "关于[&A]"}});
    }
};

DRILLPAD_TEST_MAIN(TestMainWindowDefinition)
#include "tst_main_def.moc"
