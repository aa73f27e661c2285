#include "common/fakes.h"
#include "common/sheet_text.h"
#include "common/test_main.h"

#include "controls/command_button.h"
#include "controls/rich_text_box.h"
#include "forms/frm_guide_def.h"
#include "guide/frm_guide.h"
#include "guide/guide_steps.h"
#include "mainwin/forms_registry.h"
#include "mainwin/frm_main.h"
#include "question/mixed_question.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <functional>
#include <memory>

using namespace drillpad;
using namespace drillpad::testing;

namespace {

const QString kNext = QStringLiteral("下一步[&N]");
const QString kFinish = QStringLiteral("完成[&F]");
const QString kOldSheet = QStringLiteral("旧内容\n第二行");
// The design-time hint as the box shows it: its CR LF read as one line break.
const QString kDesignHint =
    QStringLiteral("第一步:选择你所需要的出题类型,没选择的类型将不会背包含在出的题中\n");

constexpr QuestionType kTypes[] = {QuestionType::Add, QuestionType::Minus, QuestionType::Mul,
                                   QuestionType::Devition, QuestionType::Mix};

// Records each message with its kind, and lets a test look at the wizard
// while the message is up.
class GuideMessages final : public MessageBoxes {
public:
    struct Shown {
        bool warning;
        QString text;
    };
    void information(QWidget *, const QString &text) override { record(false, text); }
    void warning(QWidget *, const QString &text) override { record(true, text); }

    QList<Shown> shown;
    std::function<void()> whileShown;

private:
    void record(bool warning, const QString &text) {
        shown.append({warning, text});
        if (whileShown)
            whileShown();
    }
};

void unloadGuide() {
    unloadForm(FormId::Guide);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// 0 when no page panel is shown, the page number when one is, -1 when
// several are.
int visiblePage(const FrmGuide &guide) {
    int found = 0;
    for (int number = 1; number <= 3; ++number) {
        if (guide.page(number)->isVisibleTo(&guide))
            found = found == 0 ? number : -1;
    }
    return found;
}

CommandButton *button(const char *name) {
    return frmGuide().button(name);
}

void click(const char *name) {
    QTest::mouseClick(button(name), Qt::LeftButton);
}

// Runs a script of user actions: N Next, B Back, R Reset, S show the
// wizard again after Finish.
void perform(const QString &actions) {
    for (const QChar action : actions) {
        switch (action.unicode()) {
        case u'N':
            click("cmdNext");
            break;
        case u'B':
            click("cmdBack");
            break;
        case u'R':
            click("cmdReset");
            break;
        case u'S':
            frmGuide().show();
            break;
        }
    }
}

QString hint() {
    return frmGuide().txtGuideHelp()->toPlainText();
}

QString editorText() {
    return frmMain().txtMain()->text();
}

// The control the user is in: an editable combo box for its edit field.
QString focusName(QWidget *widget) {
    if (!widget)
        return QString();
    if (qobject_cast<QLineEdit *>(widget) && qobject_cast<QComboBox *>(widget->parentWidget()))
        widget = widget->parentWidget();
    return widget->objectName();
}

void tickOnly(std::initializer_list<QuestionType> types) {
    for (const QuestionType type : kTypes)
        frmGuide().typeCheck(type)->setChecked(std::find(types.begin(), types.end(), type) !=
                                               types.end());
}

} // namespace

Q_DECLARE_METATYPE(QuestionType)
Q_DECLARE_METATYPE(GuideField)

class TestFrmGuide : public QObject {
    Q_OBJECT

    GuideMessages messages_;
    std::unique_ptr<ScopedSeam<MessageBoxes>> seam_;

    FrmGuide &open() {
        FrmGuide &guide = frmGuide();
        guide.show();
        guide.activateWindow();
        [&] { QVERIFY(QTest::qWaitForWindowActive(&guide)); }();
        return guide;
    }

private Q_SLOTS:
    void init() {
        seam_ = std::make_unique<ScopedSeam<MessageBoxes>>(messages_);
        messages_.shown.clear();
        messages_.whileShown = nullptr;
        frmMain().txtMain()->setText(kOldSheet);
        unloadGuide();
    }

    void cleanup() {
        unloadGuide();
        seam_.reset();
    }

    void firstOpening() {
        FrmGuide &guide = open();
        QCOMPARE(guide.windowTitle(), QStringLiteral("出题向导"));
        QCOMPARE(guideStep(), 1);
        QCOMPARE(visiblePage(guide), 1);
        QCOMPARE(hint(), kDesignHint);
        QCOMPARE(button("cmdNext")->caption(), kNext);
        QVERIFY(button("cmdNext")->isEnabled());
        QVERIFY(!button("cmdBack")->isEnabled());
        QVERIFY(!guide.chkSelectAll()->isChecked());
        for (const QuestionType type : kTypes) {
            const bool mul = type == QuestionType::Mul;
            QCOMPARE(guide.typeCheck(type)->isChecked(), mul);
            for (const GuideField field : {GuideField::From, GuideField::To, GuideField::Count})
                QCOMPARE(guide.entryBox(type, field)->isEnabled(), mul);
            QCOMPARE(guide.entryText(type, GuideField::From), QStringLiteral("0"));
            QCOMPARE(guide.entryText(type, GuideField::To), QStringLiteral("9"));
            QCOMPARE(guide.entryText(type, GuideField::Count), QStringLiteral("20"));
        }
    }

    // The three pages lie in one place, over the success text.
    void stacksThePages() {
        FrmGuide &guide = open();
        const QRect place = guide.page(1)->geometry();
        for (int number = 1; number <= 3; ++number) {
            QCOMPARE(twipsGeometry(guide.page(number)), (TwipsRect{2040, 120, 6525, 3315}));
            QCOMPARE(guide.page(number)->geometry(), place);
        }
        auto *success = guide.controls().widget(QStringLiteral("Text1"));
        const QPoint middle = success->mapTo(&guide, success->rect().center());
        QVERIFY(guide.page(1)->isAncestorOf(guide.childAt(middle)) ||
                guide.childAt(middle) == guide.page(1));
        perform(QStringLiteral("NNN"));
        QCOMPARE(guide.childAt(middle), success);
    }

    void hintTexts() {
        QCOMPARE(
            stepHintText(1),
            QStringLiteral("第一步:选择你所需要的出题类型,没选择的类型将不会被包含在出的题中"));
        QCOMPARE(stepHintText(2),
                 QStringLiteral("第二步:请选择你所需要的出题类型的数值范围,你可以在下拉框中选择一个"
                                "数,也可以直接在下拉框编辑框中输入一个数.如果下拉框显示为灰色不可"
                                "编辑状态,是因为第一步中你没有选择这种类型"));
        QCOMPARE(stepHintText(3),
                 QStringLiteral("第三步:请选择你所选择的出题类型中每种类型所出题的数量,输入后单击["
                                "完成]按钮,系统将给你出出相应数量的题目,如果文本框显示为灰色不可编"
                                "辑状态,是因为第一步中你没有选择这种类型"));
        QCOMPARE(stepHintText(4), QStringLiteral("恭喜你,出题成功!你可以单击[上一步]修改你的设置,"
                                                 "也可以单击[复位]而重新出题"));
        QVERIFY(stepHintText(5)->startsWith(QStringLiteral("有错误发生,错误代码0001.")));
        QVERIFY(!stepHintText(0));
        QVERIFY(!stepHintText(6));
    }

    // Every row of the step machine, reached by the user's clicks.
    void stepMachine_data() {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("nextCaption");
        QTest::addColumn<bool>("nextEnabled");
        QTest::addColumn<bool>("backEnabled");
        QTest::addColumn<int>("hintStep"); // 0: the design-time text
        QTest::addColumn<bool>("shown");
        QTest::newRow("load") << "" << 1 << 1 << kNext << true << false << 0 << true;
        QTest::newRow("1 Next") << "N" << 2 << 2 << kNext << true << true << 2 << true;
        QTest::newRow("2 Next") << "NN" << 3 << 3 << kFinish << true << true << 3 << true;
        QTest::newRow("3 Finish") << "NNN" << 4 << 0 << kFinish << true << true << 4 << false;
        QTest::newRow("reopened") << "NNNS" << 4 << 0 << kFinish << true << true << 4 << true;
        QTest::newRow("4 Next") << "NNNSN" << 4 << 0 << kFinish << false << true << 4 << true;
        QTest::newRow("4 Back") << "NNNSB" << 3 << 3 << kFinish << true << true << 3 << true;
        QTest::newRow("4 Next, Back") << "NNNSNB" << 3 << 3 << kFinish << true << true << 3 << true;
        QTest::newRow("3 Back") << "NNB" << 2 << 2 << kNext << true << true << 2 << true;
        QTest::newRow("2 Back") << "NB" << 1 << 1 << kNext << true << false << 1 << true;
        QTest::newRow("3 Back, Back, Next")
            << "NNBBN" << 2 << 2 << kNext << true << true << 2 << true;
        QTest::newRow("Reset on 1") << "R" << 1 << 1 << kNext << true << false << 0 << true;
        QTest::newRow("Reset on 2") << "NR" << 1 << 1 << kNext << true << false << 2 << true;
        QTest::newRow("Reset on 3") << "NNR" << 1 << 1 << kNext << true << false << 3 << true;
        QTest::newRow("Reset after Finish")
            << "NNNSR" << 1 << 1 << kNext << true << false << 4 << true;
        QTest::newRow("Reset with Next disabled")
            << "NNNSNR" << 1 << 1 << kNext << true << false << 4 << true;
        QTest::newRow("Reset, Next") << "NNRN" << 2 << 2 << kNext << true << true << 2 << true;
    }
    void stepMachine() {
        QFETCH(QString, actions);
        QFETCH(int, step);
        QFETCH(int, page);
        QFETCH(QString, nextCaption);
        QFETCH(bool, nextEnabled);
        QFETCH(bool, backEnabled);
        QFETCH(int, hintStep);
        QFETCH(bool, shown);
        FrmGuide &guide = open();
        perform(actions);
        QCOMPARE(guideStep(), step);
        QCOMPARE(visiblePage(guide), page);
        QCOMPARE(button("cmdNext")->caption(), nextCaption);
        QCOMPARE(button("cmdNext")->isEnabled(), nextEnabled);
        QCOMPARE(button("cmdBack")->isEnabled(), backEnabled);
        QCOMPARE(hint(), hintStep == 0 ? kDesignHint : *stepHintText(hintStep));
        QCOMPARE(guide.isVisible(), shown);
        QVERIFY(messages_.shown.isEmpty());
    }

    void refusesNoType() {
        FrmGuide &guide = open();
        guide.typeCheck(QuestionType::Mul)->setChecked(false);
        int pageDuringMessage = -2;
        messages_.whileShown = [&] { pageDuringMessage = visiblePage(guide); };
        click("cmdNext");
        QCOMPARE(messages_.shown.size(), 1);
        QVERIFY(!messages_.shown[0].warning);
        QCOMPARE(messages_.shown[0].text, QStringLiteral("请选择出题类型"));
        QCOMPARE(pageDuringMessage, 1);
        QCOMPARE(guideStep(), 1);
        QCOMPARE(visiblePage(guide), 1);
        QVERIFY(!button("cmdBack")->isEnabled());
        QCOMPARE(hint(), *stepHintText(1));
    }

    void mixedAlonePassesPageOne() {
        FrmGuide &guide = open();
        tickOnly({QuestionType::Mix});
        click("cmdNext");
        QVERIFY(messages_.shown.isEmpty());
        QCOMPARE(visiblePage(guide), 2);
        for (const QuestionType type : kTypes)
            QCOMPARE(guide.entryBox(type, GuideField::To)->isEnabled(), type == QuestionType::Mix);
    }

    // Ticking alone does not change the rows; the next page change does.
    void enablesRowsOnPageChange() {
        FrmGuide &guide = open();
        guide.typeCheck(QuestionType::Add)->setChecked(true);
        QVERIFY(!guide.entryBox(QuestionType::Add, GuideField::From)->isEnabled());
        click("cmdNext");
        QVERIFY(guide.entryBox(QuestionType::Add, GuideField::From)->isEnabled());
        click("cmdBack");
        guide.typeCheck(QuestionType::Add)->setChecked(false);
        QVERIFY(guide.entryBox(QuestionType::Add, GuideField::Count)->isEnabled());
        perform(QStringLiteral("NN"));
        QVERIFY(!guide.entryBox(QuestionType::Add, GuideField::Count)->isEnabled());
    }

    void selectsAll() {
        FrmGuide &guide = open();
        QTest::mouseClick(guide.chkSelectAll(), Qt::LeftButton);
        for (const QuestionType type : kTypes)
            QVERIFY(guide.typeCheck(type)->isChecked());
        click("cmdNext");
        for (const QuestionType type : kTypes)
            QVERIFY(guide.entryBox(type, GuideField::From)->isEnabled());
        click("cmdBack");
        // Its access key toggles it back: every type is cleared.
        QTest::keyClick(&guide, Qt::Key_A, Qt::AltModifier);
        QTRY_VERIFY(!guide.chkSelectAll()->isChecked());
        for (const QuestionType type : kTypes)
            QVERIFY(!guide.typeCheck(type)->isChecked());
    }

    void resetKeepsTicksAndRanges_data() {
        QTest::addColumn<QString>("actions");
        QTest::newRow("page 1") << "";
        QTest::newRow("page 2") << "N";
        QTest::newRow("page 3") << "NN";
        QTest::newRow("after Finish") << "NNNS";
    }
    void resetKeepsTicksAndRanges() {
        QFETCH(QString, actions);
        FrmGuide &guide = open();
        tickOnly({QuestionType::Add, QuestionType::Mix});
        for (const QuestionType type : kTypes) {
            guide.setEntryText(type, GuideField::From, QStringLiteral("3"));
            guide.setEntryText(type, GuideField::To, QStringLiteral("30"));
            guide.setEntryText(type, GuideField::Count, QStringLiteral("7"));
        }
        perform(actions);
        frmMain().txtMain()->setText(kOldSheet);
        click("cmdReset");
        QCOMPARE(editorText(), QString());
        QCOMPARE(visiblePage(guide), 1);
        for (const QuestionType type : kTypes) {
            const bool mix = type == QuestionType::Mix;
            QCOMPARE(guide.typeCheck(type)->isChecked(), mix || type == QuestionType::Add);
            QCOMPARE(guide.entryText(type, GuideField::From), QStringLiteral("3"));
            QCOMPARE(guide.entryText(type, GuideField::To), QStringLiteral("30"));
            QCOMPARE(guide.entryText(type, GuideField::Count),
                     mix ? QStringLiteral("7") : QStringLiteral("20"));
        }
    }

    void cancelUnloads() {
        FrmGuide &guide = open();
        tickOnly({QuestionType::Add});
        click("cmdNext");
        guide.setEntryText(QuestionType::Add, GuideField::To, QStringLiteral("50"));
        click("cmdNext");
        guide.setEntryText(QuestionType::Add, GuideField::Count, QStringLiteral("5"));
        click("cmdCancle");
        QVERIFY(!isFormLoaded(FormId::Guide));
        QCOMPARE(guideStep(), 3); // outlives the window
        QCOMPARE(editorText(), kOldSheet);

        FrmGuide &fresh = open();
        QCOMPARE(guideStep(), 1);
        QCOMPARE(visiblePage(fresh), 1);
        QCOMPARE(hint(), kDesignHint);
        QVERIFY(!fresh.typeCheck(QuestionType::Add)->isChecked());
        QVERIFY(fresh.typeCheck(QuestionType::Mul)->isChecked());
        QCOMPARE(fresh.entryText(QuestionType::Add, GuideField::To), QStringLiteral("9"));
        QCOMPARE(fresh.entryText(QuestionType::Add, GuideField::Count), QStringLiteral("20"));
        QCOMPARE(button("cmdNext")->caption(), kNext);
    }

    void closingUnloadsToo() {
        FrmGuide &guide = open();
        click("cmdNext");
        guide.close();
        QVERIFY(!isFormLoaded(FormId::Guide));
        QCOMPARE(guideStep(), 2);
    }

    // From the main window: the wizard opens modally and its modal call
    // returns on Finish; opened again it shows the state it was left in.
    void finishFromTheMainWindowAndReopen() {
        bool wasModal = false;
        QTimer::singleShot(0, [&] {
            wasModal = frmGuide().isVisible() && frmGuide().isModal();
            perform(QStringLiteral("NNN"));
        });
        frmMain().button("cmdGuide")->click();
        QVERIFY(wasModal);
        QVERIFY(!frmGuide().isVisible());
        QVERIFY(isFormLoaded(FormId::Guide));
        const QList<SheetSection> sections = readSheet(editorText());
        QCOMPARE(sections.size(), 1);
        QCOMPARE(sections[0].heading, QStringLiteral("乘法题:"));
        QCOMPARE(sections[0].questions.size(), 20);

        int page = -2;
        QString shownHint;
        QTimer::singleShot(0, [&] {
            page = visiblePage(frmGuide());
            shownHint = hint();
            click("cmdCancle");
        });
        frmMain().button("cmdGuide")->click();
        QCOMPARE(page, 0);
        QCOMPARE(shownHint, *stepHintText(4));
    }

    // The sheet replaces the document in one step, which one undo takes back.
    void finishIsOneUndoStep() {
        open();
        perform(QStringLiteral("NNN"));
        QCOMPARE(readSheet(editorText()).size(), 1);
        frmMain().txtMain()->undo();
        QCOMPARE(editorText(), kOldSheet);
    }

    void backAndFinishWritesAFreshSheet() {
        open();
        perform(QStringLiteral("NNNSB"));
        QCOMPARE(visiblePage(frmGuide()), 3);
        click("cmdNext");
        QCOMPARE(readSheet(editorText()).size(), 1);
        QCOMPARE(guideStep(), 4);
        QVERIFY(!frmGuide().isVisible());
    }

    void finishesWithTypes_data() {
        QTest::addColumn<QList<int>>("types");
        QTest::addColumn<QStringList>("headings");
        QTest::newRow("addition") << QList<int>{0} << QStringList{"加法题:"};
        QTest::newRow("subtraction") << QList<int>{1} << QStringList{"减法题:"};
        QTest::newRow("multiplication") << QList<int>{2} << QStringList{"乘法题:"};
        QTest::newRow("division") << QList<int>{3} << QStringList{"除法题:"};
        QTest::newRow("mixed only") << QList<int>{4} << QStringList{"四则混合运算题:"};
        QTest::newRow("all five") << QList<int>{0, 1, 2, 3, 4}
                                  << QStringList{"加法题:", "减法题:", "乘法题:", "除法题:",
                                                 "四则混合运算题:"};
    }
    void finishesWithTypes() {
        QFETCH(QList<int>, types);
        QFETCH(QStringList, headings);
        FrmGuide &guide = open();
        const int perLine[] = {9, 9, 8, 8, 6};
        QList<int> expectedPerLine;
        for (const QuestionType type : kTypes) {
            const bool ticked = types.contains(int(type));
            guide.typeCheck(type)->setChecked(ticked);
            if (ticked)
                expectedPerLine << perLine[int(type)];
        }
        perform(QStringLiteral("N"));
        for (const QuestionType type : kTypes)
            guide.setEntryText(type, GuideField::To, QStringLiteral("12"));
        perform(QStringLiteral("N"));
        for (const QuestionType type : kTypes)
            guide.setEntryText(type, GuideField::Count, QString::number(10 + int(type)));
        perform(QStringLiteral("N"));

        QVERIFY(messages_.shown.isEmpty());
        QVERIFY(!guide.isVisible());
        const QString sheet = editorText();
        const QList<SheetSection> sections = readSheet(sheet);
        QStringList read;
        for (const SheetSection &section : sections)
            read << section.heading;
        QCOMPARE(read, headings);
        QCOMPARE(sheet, rebuildSheet(sections, expectedPerLine));
        for (qsizetype s = 0; s < sections.size(); ++s) {
            QCOMPARE(sections[s].questions.size(), 10 + types[s]);
            for (const QString &text : sections[s].questions) {
                const std::optional<ReadQuestion> q = readQuestion(text);
                QVERIFY2(q, qPrintable(text));
                if (types[s] == int(QuestionType::Mix)) {
                    QCOMPARE(q->glyphs.size(), 2);
                    QVERIFY2(evaluateMixed(asMixed(*q)), qPrintable(text));
                    for (const long long operand : q->operands)
                        QVERIFY(operand >= 2 && operand <= 12);
                }
            }
        }
    }

    void finishesWithCustomFrom() {
        FrmGuide &guide = open();
        tickOnly({QuestionType::Minus, QuestionType::Devition, QuestionType::Mix});
        click("cmdNext");
        guide.setEntryText(QuestionType::Minus, GuideField::From, QStringLiteral(" 15"));
        guide.setEntryText(QuestionType::Minus, GuideField::To, QStringLiteral("16 "));
        guide.setEntryText(QuestionType::Devition, GuideField::From, QStringLiteral("5"));
        guide.setEntryText(QuestionType::Devition, GuideField::To, QStringLiteral("5"));
        guide.setEntryText(QuestionType::Mix, GuideField::From, QStringLiteral("7"));
        guide.setEntryText(QuestionType::Mix, GuideField::To, QStringLiteral("7"));
        perform(QStringLiteral("NN"));
        QVERIFY(messages_.shown.isEmpty());
        const QList<SheetSection> sections = readSheet(editorText());
        QCOMPARE(sections.size(), 3);
        QCOMPARE(sections[0].questions, QStringList(20, QStringLiteral("16-15=\u3000")));
        QCOMPARE(sections[1].questions, QStringList(20, QStringLiteral("25÷5=\u3000")));
        for (const QString &text : sections[2].questions) {
            const std::optional<ReadQuestion> q = readQuestion(text);
            QVERIFY(q);
            QCOMPARE(q->operands, (QList<long long>{7, 7, 7}));
        }
    }

    // Bad entries are refused at Finish: the message names the type and the
    // field, nothing is written, and the offending box, on its page, has the
    // focus. Next presses before Finish never complain about them.
    void refusesBadEntries_data() {
        QTest::addColumn<QuestionType>("type");
        QTest::addColumn<GuideField>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<GuideField>("refused");
        QTest::addColumn<QString>("words"); // what the message must say
        using T = QuestionType;
        using F = GuideField;
        QTest::newRow("empty count") << T::Add << F::Count << "" << F::Count << "加法的出题数量";
        QTest::newRow("letters in count")
            << T::Mul << F::Count << "abc" << F::Count << "乘法的出题数量";
        QTest::newRow("decimal count")
            << T::Minus << F::Count << "1.5" << F::Count << "减法的出题数量";
        QTest::newRow("negative count")
            << T::Devition << F::Count << "-3" << F::Count << "除法的出题数量";
        QTest::newRow("count too large")
            << T::Mix << F::Count << "32768" << F::Count << "四则混合运算的出题数量";
        QTest::newRow("to too small") << T::Add << F::To << "1" << F::To << "加法范围的结束数";
        QTest::newRow("subtraction to 2")
            << T::Minus << F::To << "2" << F::To << "减法范围的结束数必须是3到32767";
        QTest::newRow("letters in to") << T::Mul << F::To << "九" << F::To << "乘法范围的结束数";
        QTest::newRow("to too large")
            << T::Devition << F::To << "99999" << F::To << "除法范围的结束数";
        QTest::newRow("empty from")
            << T::Mix << F::From << " " << F::From << "四则混合运算范围的起始数";
        QTest::newRow("from above to")
            << T::Add << F::From << "10" << F::From << "加法范围的起始数不能大于结束数";
        QTest::newRow("no subtraction pair")
            << T::Minus << F::From << "9" << F::From << "减法范围的起始数必须小于结束数";
    }
    void refusesBadEntries() {
        QFETCH(QuestionType, type);
        QFETCH(GuideField, field);
        QFETCH(QString, text);
        QFETCH(GuideField, refused);
        QFETCH(QString, words);
        FrmGuide &guide = open();
        guide.typeCheck(type)->setChecked(true);
        guide.setEntryText(type, field, text);
        perform(QStringLiteral("NNN"));

        QCOMPARE(messages_.shown.size(), 1);
        QVERIFY(messages_.shown[0].warning);
        QVERIFY2(messages_.shown[0].text.contains(words), qPrintable(messages_.shown[0].text));
        QCOMPARE(editorText(), kOldSheet);
        QVERIFY(guide.isVisible());
        const int page = refused == GuideField::Count ? 3 : 2;
        QCOMPARE(guideStep(), page);
        QCOMPARE(visiblePage(guide), page);
        QCOMPARE(button("cmdNext")->caption(), page == 3 ? kFinish : kNext);
        QVERIFY(button("cmdBack")->isEnabled());
        QCOMPARE(hint(), *stepHintText(page));
        QCOMPARE(focusName(QApplication::focusWidget()),
                 guide.entryBox(type, refused)->objectName());

        // Mended, the next Finish writes the sheet.
        guide.setEntryText(type, field, field == GuideField::From ? "0" : "12");
        perform(page == 3 ? QStringLiteral("N") : QStringLiteral("NN"));
        QCOMPARE(messages_.shown.size(), 1);
        QVERIFY(!guide.isVisible());
        QVERIFY(editorText() != kOldSheet);
    }

    // The keyboard passes over the controls of hidden pages and disabled
    // controls, in the defined order.
    void tabOrderSkipsHiddenPages_data() {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("page 1") << "" << QStringList{"cmdCancle", "cmdNext", "chkAdd",
                                                     "chkMinus",  "chkMul",  "chkDevition",
                                                     "cmdReset",  "chkMix",  "chkSelectAll"};
        QTest::newRow("page 2, all ticked")
            << "AN" << QStringList{"cmdCancle",     "cmdBack",   "cmdNext",  "comboDevition_",
                                   "comboDevition", "comboMul_", "comboMul", "comboMinus_",
                                   "comboMinus",    "comboAdd_", "comboAdd", "cmdReset",
                                   "comboMix",      "comboMix_"};
        QTest::newRow("page 3") << "NN"
                                << QStringList{"cmdCancle", "cmdBack", "cmdNext", "txtHowMul",
                                               "cmdReset"};
    }
    void tabOrderSkipsHiddenPages() {
        QFETCH(QString, actions);
        QFETCH(QStringList, order);
        FrmGuide &guide = open();
        if (actions.startsWith(u'A')) {
            guide.chkSelectAll()->setChecked(true);
            actions.remove(0, 1);
        }
        perform(actions);
        button("cmdCancle")->setFocus(Qt::TabFocusReason);
        QStringList visited;
        for (int i = 0; i < order.size(); ++i) {
            visited << focusName(QApplication::focusWidget());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(visited, order);
        QCOMPARE(focusName(QApplication::focusWidget()), QStringLiteral("cmdCancle"));
    }

    // Access keys click their button (after the button's short pressed
    // look), and only while it is enabled.
    void accessKeys() {
        FrmGuide &guide = open();
        QTest::keyClick(&guide, Qt::Key_B, Qt::AltModifier); // Back is disabled on page 1
        QTest::keyClick(&guide, Qt::Key_N, Qt::AltModifier);
        QTRY_COMPARE(visiblePage(guide), 2);
        QCOMPARE(guideStep(), 2);
        QTest::keyClick(&guide, Qt::Key_N, Qt::AltModifier);
        QTRY_COMPARE(visiblePage(guide), 3);
        QTest::keyClick(&guide, Qt::Key_B, Qt::AltModifier);
        QTRY_COMPARE(visiblePage(guide), 2);
        QTest::keyClick(&guide, Qt::Key_R, Qt::AltModifier);
        QTRY_COMPARE(visiblePage(guide), 1);
        QCOMPARE(editorText(), QString());
        QTest::keyClick(&guide, Qt::Key_C, Qt::AltModifier);
        QTRY_VERIFY(!isFormLoaded(FormId::Guide));
    }
};

DRILLPAD_TEST_MAIN(TestFrmGuide)
#include "tst_frm_guide.moc"
