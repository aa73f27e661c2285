#include "common/test_main.h"

#include "forms/frm_guide_def.h"
#include "guide/frm_guide.h"
#include "mainwin/forms_registry.h"

#include <QImageReader>
#include <QSet>

#include <cstring>

using namespace drillpad;
using namespace drillpad::forms;

class TestFrmGuideDef : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The names the wizard's behaviour looks up are all defined, as the
    // kind of control it expects.
    void definesEveryTypeControl() {
        const FormDef &form = frmGuideDef();
        for (const GuideTypeControls &names : kGuideTypeControls) {
            const std::pair<const char *, ControlKind> expected[] = {
                {names.check, ControlKind::CheckBox},
                {names.from, ControlKind::ComboBox},
                {names.to, ControlKind::ComboBox},
                {names.count, ControlKind::TextBox}};
            for (const auto &[name, kind] : expected) {
                const ControlDef *def = findControl(form, name);
                QVERIFY2(def, name);
                QVERIFY2(def->kind == kind, name);
            }
        }
        for (const char *page : kGuidePages)
            QVERIFY(findControl(form, page));
    }

    // Every button and input field is in the tab order once, every input
    // field has a name for screen readers, and every control name is unique.
    void listsEveryInputInTheTabOrder() {
        const FormDef &form = frmGuideDef();
        QStringList order;
        for (const char *name : form.tabOrder) {
            QVERIFY2(findControl(form, name), name);
            order << QString::fromUtf8(name);
        }
        QCOMPARE(QSet<QString>(order.begin(), order.end()).size(), order.size());
        QSet<QString> names;
        int labels = 0;
        for (const ControlDef &def : form.controls) {
            const QString name = QString::fromUtf8(def.name);
            QVERIFY2(!names.contains(name), def.name);
            names.insert(name);
            const bool focusable = def.kind == ControlKind::CommandButton ||
                                   def.kind == ControlKind::CheckBox ||
                                   def.kind == ControlKind::ComboBox ||
                                   (def.kind == ControlKind::TextBox && !(def.flags & ReadOnly));
            QCOMPARE(order.contains(name), focusable);
            if (def.kind == ControlKind::ComboBox || def.kind == ControlKind::TextBox ||
                def.kind == ControlKind::MultiLineTextBox)
                QVERIFY2(def.accessibleName, def.name);
            if (def.kind == ControlKind::Label) {
                ++labels;
                QCOMPARE(name, QStringLiteral("Label%1").arg(labels));
            }
        }
        QCOMPARE(labels, 30);
    }

    void keepsTheHintsLineEnd() {
        const ControlDef *hint = findControl(frmGuideDef(), "txtGuideHelp");
        QVERIFY(hint);
        QVERIFY(QByteArray(hint->caption).endsWith("中\r\n"));
    }

    void picturesHaveTheirSizes_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");
        QTest::newRow("banner") << ":/images/guide_banner.svg" << QSize(695, 73);
        QTest::newRow("side picture") << ":/images/guide_side.svg" << QSize(119, 266);
        QTest::newRow("icon") << ":/images/guide_icon.svg" << QSize(64, 64);
    }
    void picturesHaveTheirSizes() {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        QImageReader reader(path);
        QCOMPARE(reader.size(), size);
        QVERIFY(!reader.read().isNull());
    }

    void buildsTheWindow() {
        FrmGuide &guide = frmGuide();
        QCOMPARE(guide.size(), QSize(570, 357)); // 8550 × 5355 twips
        QCOMPARE(guide.minimumSize(), guide.maximumSize());
        QVERIFY(!guide.windowIcon().isNull());
        QCOMPARE(guide.controls().size(), int(std::size(frmGuideDef().controls)));
        unloadForm(FormId::Guide);
    }
};

DRILLPAD_TEST_MAIN(TestFrmGuideDef)
#include "tst_frm_guide_def.moc"
