#include "common/test_main.h"

#include "about/frm_help.h"
#include "controls/rich_text_box.h"
#include "controls/shape.h"
#include "forms/frm_help_def.h"

#include <QIcon>
#include <QImage>

using namespace drillpad;
using namespace drillpad::forms;

class TestHelpDef : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void window();
    void controls();
    void builtWindow();
};

void TestHelpDef::window() {
    const FormDef &def = frmHelpDef();
    QCOMPARE(QString::fromUtf8(def.name), QStringLiteral("frmHelp"));
    QCOMPARE(QString::fromUtf8(def.caption), QStringLiteral("软件使用说明"));
    QCOMPARE(def.client, (TwipsSize{7365, 5970}));
    QCOMPARE(def.position.left, 2940.0f);
    QCOMPARE(def.position.top, 2280.0f);
    QVERIFY(!def.centred);
    QVERIFY(def.border == BorderStyle::Sizable);
    QVERIFY(def.minMaxButtons);
    const QImage icon(QString::fromUtf8(def.icon));
    QCOMPARE(icon.size(), QSize(64, 64));
    QVERIFY(def.menus.empty());
}

void TestHelpDef::controls() {
    const FormDef &def = frmHelpDef();
    QCOMPARE(def.controls.size(), std::size_t(2));
    const ControlDef *text = findControl(def, "txtHelp");
    QVERIFY(text);
    QVERIFY(text->kind == ControlKind::RichTextBox);
    QVERIFY(!text->parent);
    QCOMPARE(text->rect, (TwipsRect{840, 480, 2655, 1815}));
    QVERIFY(!text->caption || QString::fromUtf8(text->caption).isEmpty());
    QVERIFY(text->accessibleName);
    const ControlDef *shape = findControl(def, "shapeHelp");
    QVERIFY(shape);
    QVERIFY(shape->kind == ControlKind::Shape);
    QCOMPARE(shape->rect, (TwipsRect{720, 3120, 615, 735}));
    QVERIFY(shape->foreground == kDesktop);
    QVERIFY(!shape->background.isSet()); // outline only
}

void TestHelpDef::builtWindow() {
    FrmHelp help;
    QCOMPARE(help.objectName(), QStringLiteral("frmHelp"));
    QCOMPARE(help.windowTitle(), QStringLiteral("软件使用说明"));
    QVERIFY(help.windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(help.windowFlags() & Qt::WindowMaximizeButtonHint);
    QVERIFY(!help.windowIcon().isNull());
    QCOMPARE(help.pos(), QPoint(196, 152));
    QCOMPARE(help.size(), QSize(491, 398));
    QCOMPARE(help.txtHelp()->objectName(), QStringLiteral("txtHelp"));
    QCOMPARE(help.txtHelp()->accessibleName(), QStringLiteral("软件使用说明"));
    QCOMPARE(help.shapeHelp()->objectName(), QStringLiteral("shapeHelp"));
    QCOMPARE(help.txtHelp()->geometry(), QRect(56, 32, 177, 121));
    QCOMPARE(help.shapeHelp()->geometry(), QRect(48, 208, 41, 49));
    QCOMPARE(help.font().family(), QStringLiteral("宋体"));
    QCOMPARE(help.font().pointSizeF(), 9.0);
}

DRILLPAD_TEST_MAIN(TestHelpDef)
#include "tst_help_def.moc"
