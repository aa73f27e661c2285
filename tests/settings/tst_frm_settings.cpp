#include "common/fakes.h"
#include "common/question_oracle.h"
#include "common/test_main.h"

#include "app/forms_registry.h"
#include "controls/command_button.h"
#include "controls/rich_text_box.h"
#include "guide/frm_guide.h"
#include "mainwin/frm_main.h"
#include "question/answer_key.h"
#include "quiz/frm_face.h"
#include "settings/frm_settings.h"
#include "settings/settings_store.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QTimer>

using namespace drillpad;
using namespace drillpad::testing;
using namespace Qt::StringLiterals;

namespace {

// Runs `step` inside the modal loop of "出题设置" once it is open.
void whenSettingsOpen(std::function<void(FrmSettings &)> step) {
    QTimer::singleShot(0, [step] {
        auto *window = qobject_cast<FrmSettings *>(QApplication::activeModalWidget());
        QVERIFY(window);
        step(*window);
        if (window->isVisible())
            window->button("cmdCancel")->click();
    });
}

// Chosen by the arrow keys in the list (which shows it at once), or then
// also by 载入.
void choosePreset(FrmSettings &window, const QString &name, bool pressLoad) {
    QComboBox *presets = window.combo("cmbPreset");
    presets->setFocus();
    QTest::keyClick(presets, Qt::Key_Home);
    while (presets->currentText() != name && presets->currentIndex() + 1 < presets->count())
        QTest::keyClick(presets, Qt::Key_Down);
    QCOMPARE(presets->currentText(), name);
    if (pressLoad)
        QTest::mouseClick(window.button("cmdLoad"), Qt::LeftButton);
}

// The sheet lines of a section, without its heading and empty lines.
QStringList questionLines(const QString &sheet) {
    QStringList lines = sheet.split(u'\n', Qt::SkipEmptyParts);
    lines.removeIf([](const QString &line) { return line.endsWith(u':'); });
    return lines;
}

// The sheet the wizard makes when `choose` sets the rules in "出题设置"
// and the wizard is then taken through to 完成.
QString sheetFromTheWizard(std::function<void(FrmSettings &)> choose) {
    FrmGuide &guide = frmGuide();
    guide.show();
    whenSettingsOpen([choose](FrmSettings &window) {
        choose(window);
        QTest::keyClick(&window, Qt::Key_Return); // 确定
    });
    QTest::mouseClick(guide.button("cmdSettings"), Qt::LeftButton);
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(guide.button("cmdNext"), Qt::LeftButton); // 完成 last
    return frmMain().txtMain()->text();
}

} // namespace

class TestFrmSettings : public QObject {
    Q_OBJECT
    RecordingMessageBoxes boxes;
    ScopedSeam<MessageBoxes> seam_{boxes};

private Q_SLOTS:
    void init() {
        boxes.messages.clear();
        boxes.answers.clear();
        saveCurrentSettings(SheetSettings::initial());
        saveUserPresets({});
        // The sheet an earlier row made is given up without a question.
        frmMain().txtMain()->document()->setModified(false);
    }
    void cleanup() {
        // The main window stays: closing the last window would end the
        // application's event loops.
        unloadForm(FormId::Settings);
        unloadForm(FormId::Guide);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Screen readers hear every box and list by the caption in front of it.
    void everyInputIsNamed() {
        FrmSettings &window = frmSettings();
        int inputs = 0;
        for (QWidget *widget : window.findChildren<QWidget *>()) {
            if (!qobject_cast<QComboBox *>(widget) && !qobject_cast<QLineEdit *>(widget) &&
                !qobject_cast<QAbstractButton *>(widget))
                continue;
            if (widget->parentWidget() && qobject_cast<QComboBox *>(widget->parentWidget()))
                continue; // a combo box's own parts
            ++inputs;
            QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
            QVERIFY2(face && !face->text(QAccessible::Name).isEmpty(),
                     qPrintable(widget->objectName()));
        }
        QCOMPARE(inputs, 36); // the boxes, lists, the check boxes and the buttons
        QCOMPARE(window.combo("cmbAddCarry")->accessibleName(), u"加法进位"_s);
        QVERIFY(!window.combo("cmbAddCarry")->isEditable());
    }

    // As a parent: a preset and how its questions are asked, chosen through the
    // wizard (the preset shown by the arrow keys alone, or then 载入), then 完成:
    // every question meets the preset with one blank in the style chosen, none,
    // or either; the key answers each (what it writes: tst_answer_key).
    void presetChosenInTheWizardMakesItsSheet_data() {
        QTest::addColumn<QString>("preset");
        QTest::addColumn<int>("ask"); // 1 blanks, 2 both
        QTest::addColumn<int>("blank");
        QTest::addColumn<int>("questions");
        const QString add = u"20以内进位加法"_s, mixed = u"带括号的四则混合运算"_s;
        QTest::newRow("blanks (　), not loaded") << add << 1 << 0 << 50;
        QTest::newRow("both, □") << add << 2 << 1 << 50;
        QTest::newRow("mixed blanks (　)") << mixed << 1 << 0 << 30;
        QTest::newRow("mixed blanks □") << mixed << 1 << 1 << 30;
    }
    void presetChosenInTheWizardMakesItsSheet() {
        QFETCH(QString, preset);
        QFETCH(int, ask);
        QFETCH(int, blank);
        QFETCH(int, questions);
        const bool mixed = questions == 30;
        const QString sheet = sheetFromTheWizard([&](FrmSettings &window) {
            choosePreset(window, preset, mixed || ask != 1);
            window.combo(mixed ? "cmbMixAsk" : "cmbAddAsk")->setCurrentIndex(ask);
            window.combo("cmbBlank")->setCurrentIndex(blank);
        });
        const TypeSettings rules = builtInPreset(preset)->settings[QuestionType::Add];
        static const QRegularExpression twoOperators(u"^[^-+×÷]*[-+×÷][^-+×÷]*[-+×÷][^-+×÷]*$"_s);
        int asked = 0;
        for (const QString &line : questionLines(sheet)) {
            for (const QString &question : splitQuestions(line)) {
                ++asked;
                const qsizetype blanks = question.count(blank ? kBox : kParen);
                QVERIFY2(!question.contains(blank ? kParen : kBox) &&
                             (ask == 2 ? blanks <= 1 : blanks == ask),
                         qPrintable(question));
                if (mixed) {
                    QVERIFY2(twoOperators.match(question).hasMatch(), qPrintable(question));
                    continue;
                }
                const std::optional<Read> read = readQuestion(question);
                QString why;
                QVERIFY2(read && read->op == u'+' && meets(*read, rules, why),
                         qPrintable(question + u' ' + why));
            }
        }
        QCOMPARE(asked, questions);
        const AnswerKey key = makeAnswerKey(sheet.split(u'\n'));
        QCOMPARE(key.answered, questions);
        QCOMPARE(key.leftOut, 0);
    }

    // 练习 → 按预设练习 lists every preset; one chosen starts the quiz on it.
    void practiseAPresetFromTheMenu() {
        saveUserPresets({{u"我的练习"_s, SheetSettings::initial()}});
        auto *menu = frmMain().findChild<QMenu *>(u"mnuPracticePresetMenu"_s);
        QVERIFY(menu);
        Q_EMIT menu->aboutToShow();
        QStringList names;
        for (const QAction *action : menu->actions())
            names << action->text();
        QCOMPARE(names, presetNames());
        QCOMPARE(names.size(), static_cast<qsizetype>(builtInPresets().size() + 1));
        QString asked, expected;
        QTimer::singleShot(0, [&] {
            auto *face = qobject_cast<FrmFace *>(QApplication::activeModalWidget());
            QVERIFY(face);
            asked = face->txtQuestion()->text();
            expected = face->expectedAnswer();
            face->button("cmdFinish")->click();
            face->button("cmdClose")->click();
        });
        menu->actions().at(names.indexOf(u"有余数的除法"_s))->trigger();
        const std::optional<Read> read = readQuestion(asked);
        QVERIFY2(read && read->op == u'÷' && read->remainder > 0, qPrintable(asked));
        QCOMPARE(expected, u"%1……%2"_s.arg(read->result).arg(read->remainder));
        unloadForm(FormId::Face);
    }

    void rulesThatLeaveNoQuestionAreRefused() {
        SheetSettings sheet = SheetSettings::initial();
        sheet[QuestionType::Add].selected = true;
        whenSettingsOpen([&](FrmSettings &window) {
            window.edit("txtAddLow")->setText(u"19"_s); // above 9+9
            window.button("cmdOK")->click();
            QVERIFY(window.isVisible());
            QCOMPARE(boxes.messages.size(), 1);
            QVERIFY2(boxes.messages[0].contains(u"“和的范围”"_s), qPrintable(boxes.messages[0]));
            // The limit itself, 9+9, is kept.
            window.edit("txtAddLow")->setText(u"18"_s);
            window.button("cmdOK")->click();
            QVERIFY(!window.isVisible());
        });
        frmSettings().editSettings(sheet);
        QCOMPARE(boxes.messages.size(), 1);
        QCOMPARE(loadCurrentSettings()[QuestionType::Add].resultLowest, 18);
    }

    void layoutIsCheckedAndKept_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("kept"); // the value kept; -1: refused
        QTest::newRow("份数 1") << u"txtSets"_s << u"1"_s << 1;
        QTest::newRow("份数 50, the most") << u"txtSets"_s << u"50"_s << 50;
        QTest::newRow("份数 51") << u"txtSets"_s << u"51"_s << -1;
        QTest::newRow("份数 0") << u"txtSets"_s << u"0"_s << -1;
        QTest::newRow("份数 empty") << u"txtSets"_s << u""_s << -1;
        QTest::newRow("每页题数 empty: no pages") << u"txtPerPage"_s << u""_s << 0;
        QTest::newRow("每页题数 1") << u"txtPerPage"_s << u"1"_s << 1;
        QTest::newRow("每页题数 32767") << u"txtPerPage"_s << u"32767"_s << 32767;
        QTest::newRow("每页题数 32768") << u"txtPerPage"_s << u"32768"_s << -1;
        QTest::newRow("每页题数 0") << u"txtPerPage"_s << u"0"_s << -1;
    }
    // 份数 and 每页题数 within their limits are kept with the other layout
    // choices; beyond them refused with a message, the window staying open.
    void layoutIsCheckedAndKept() {
        QFETCH(QString, box);
        QFETCH(QString, text);
        QFETCH(int, kept);
        whenSettingsOpen([&](FrmSettings &window) {
            window.combo("cmbPerLine")->setCurrentIndex(3);
            window.combo("cmbPrintSize")->setCurrentIndex(2);
            window.combo("cmbLineSpacing")->setCurrentIndex(1);
            window.check("chkVertical")->setChecked(true);
            window.check("chkHeader")->setChecked(false);
            window.edit("txtTitle")->setText(u" 二年级口算练习 "_s);
            window.edit(qPrintable(box))->setText(text);
            window.button("cmdOK")->click();
            if (kept < 0) {
                QVERIFY(window.isVisible());
                QCOMPARE(boxes.messages.size(), 1);
                QCOMPARE(window.focusWidget(), window.edit(qPrintable(box)));
                window.button("cmdCancel")->click();
            }
        });
        frmSettings().editSettings(SheetSettings::initial());
        SheetLayout expected{3,     PrintSize::ExtraLarge, LineSpacing::OneAndHalf, 0, 1, true,
                             false, u"二年级口算练习"_s};
        (box == u"txtSets"_s ? expected.sets : expected.perPage) = kept;
        QCOMPARE(loadCurrentSettings().layout, kept < 0 ? SheetLayout{} : expected);
    }

    void escapeKeepsTheRulesInForce() {
        whenSettingsOpen([](FrmSettings &window) {
            window.combo("cmbMinusCarry")->setCurrentIndex(1);
            QTest::keyClick(window.combo("cmbMinusCarry"), Qt::Key_Escape);
            QVERIFY(!window.isVisible());
        });
        frmSettings().editSettings(SheetSettings::initial());
        QCOMPARE(loadCurrentSettings(), SheetSettings::initial());
        // Opened again, it shows the rules in force.
        int shown = -1;
        whenSettingsOpen(
            [&](FrmSettings &window) { shown = window.combo("cmbMinusCarry")->currentIndex(); });
        frmSettings().editSettings(SheetSettings::initial());
        QCOMPARE(shown, 0);
    }

    void userPresetsAreSavedRenamedAndDeleted() {
        FrmSettings &window = frmSettings();
        window.showSettings(SheetSettings::initial());
        window.combo("cmbDivRemainder")->setCurrentIndex(1); // 有余数
        window.edit("txtPresetName")->setText(u" 我的练习 "_s);
        window.button("cmdSave")->click();
        QCOMPARE(loadUserPresets().size(), 1);
        QCOMPARE(loadUserPresets()[0].name, u"我的练习"_s);
        QCOMPARE(loadUserPresets()[0].settings[QuestionType::Devition].remainder,
                 Remainder::Required);
        QCOMPARE(window.combo("cmbPreset")->currentText(), u"我的练习"_s);
        // Kept on disk for the next run, in the test's own folder.
        QVERIFY(
            QFile::exists(qEnvironmentVariable("XDG_CONFIG_HOME") + u"/Drillpad/Drillpad.ini"_s));

        window.edit("txtPresetName")->setText(u"周末练习"_s);
        window.button("cmdRename")->click();
        QCOMPARE(presetNames().last(), u"周末练习"_s);
        QCOMPARE(findPreset(u"周末练习"_s)->settings[QuestionType::Devition].remainder,
                 Remainder::Required);

        // Built-in presets keep their names and stay.
        window.combo("cmbPreset")->setCurrentIndex(0);
        window.button("cmdRename")->click();
        window.button("cmdDelete")->click();
        QCOMPARE(boxes.messages.size(), 2);
        QCOMPARE(presetNames().size(), static_cast<qsizetype>(builtInPresets().size() + 1));

        window.combo("cmbPreset")->setCurrentIndex(window.combo("cmbPreset")->count() - 1);
        boxes.answers = QStringList{u"否"_s, u"是"_s};
        window.button("cmdDelete")->click();
        QCOMPARE(loadUserPresets().size(), 1);
        window.button("cmdDelete")->click();
        QVERIFY(loadUserPresets().isEmpty());
    }
};

DRILLPAD_TEST_MAIN(TestFrmSettings)
#include "tst_frm_settings.moc"
