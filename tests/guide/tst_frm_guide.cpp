#include "common/fakes.h"
#include "common/test_main.h"

#include "controls/command_button.h"
#include "controls/frame_box.h"
#include "controls/rich_text_box.h"
#include "guide/frm_guide.h"
#include "guide/guide_steps.h"
#include "mainwin/forms_registry.h"
#include "mainwin/frm_main.h"
#include "question/mixed_question.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QRegularExpression>

using namespace drillpad;
using namespace Qt::StringLiterals;
using drillpad::testing::RecordingMessageBoxes;

namespace {

const QString kOldSheet = u"旧内容\n第二行"_s;
// The hint box's texts: at load (its CR LF read as one line break), then
// for steps 1 to 4.
const QString kHints[] = {
    u"第一步:选择你所需要的出题类型,没选择的类型将不会背包含在出的题中\n"_s,
    u"第一步:选择你所需要的出题类型,没选择的类型将不会被包含在出的题中"_s,
    u"第二步:请选择你所需要的出题类型的数值范围,你可以在下拉框中选择一个数,也可以直接在下拉框编辑"
    u"框中输入一个数.如果下拉框显示为灰色不可编辑状态,是因为第一步中你没有选择这种类型"_s,
    u"第三步:请选择你所选择的出题类型中每种类型所出题的数量,输入后单击[完成]按钮,系统将给你出出相"
    u"应数量的题目,如果文本框显示为灰色不可编辑状态,是因为第一步中你没有选择这种类型"_s,
    u"恭喜你,出题成功!你可以单击[上一步]修改你的设置,也可以单击[复位]而重新出题"_s};

constexpr QuestionType kTypes[] = {QuestionType::Add, QuestionType::Minus, QuestionType::Mul,
                                   QuestionType::Devition, QuestionType::Mix};

// 0 when no page is shown, the page number when one is, -1 when several are.
int visiblePage() {
    int found = 0;
    for (int number = 1; number <= 3; ++number) {
        if (frmGuide().page(number)->isVisibleTo(&frmGuide()))
            found = found == 0 ? number : -1;
    }
    return found;
}

CommandButton *button(const char *name) {
    return frmGuide().button(name);
}

// Runs the user's clicks: N Next, B Back, R Reset, S show the wizard again.
void perform(const QString &actions) {
    const char *const buttons[] = {"cmdNext", "cmdBack", "cmdReset"};
    for (const QChar action : actions) {
        if (action == u'S')
            frmGuide().show();
        else
            QTest::mouseClick(button(buttons[u"NBR"_s.indexOf(action)]), Qt::LeftButton);
    }
}

QString hint() {
    return frmGuide().txtGuideHelp()->toPlainText();
}

QString editorText() {
    return frmMain().txtMain()->text();
}

// The wizard as the user sees it: step, visible page (0: none), Next's
// caption ("Next" for 下一步[&N], "Finish" for 完成[&F]) and whether Next and
// Back are enabled, which of kHints is shown, and whether the wizard is shown.
QString state() {
    QString caption = button("cmdNext")->caption();
    caption = caption == u"下一步[&N]"_s ? u"Next"_s
              : caption == u"完成[&F]"_s ? u"Finish"_s
                                         : caption;
    return u"%1 p%2 %3%4 Back%5 h%6 %7"_s.arg(guideStep())
        .arg(visiblePage())
        .arg(caption)
        .arg(button("cmdNext")->isEnabled() ? "+"_L1 : "-"_L1)
        .arg(button("cmdBack")->isEnabled() ? "+"_L1 : "-"_L1)
        .arg(std::find(std::begin(kHints), std::end(kHints), hint()) - kHints)
        .arg(frmGuide().isVisible() ? "shown"_L1 : "hidden"_L1);
}

void tickOnly(QuestionType ticked) {
    for (const QuestionType type : kTypes)
        frmGuide().typeCheck(type)->setChecked(type == ticked);
}

// A sheet's sections: the heading and every question, without its gap.
QList<std::pair<QString, QStringList>> readSheet(const QString &sheet) {
    QList<std::pair<QString, QStringList>> sections;
    for (const QString &line : sheet.split(u'\n')) {
        if (line.endsWith(u':'))
            sections.append({line, {}});
        else if (!sections.isEmpty())
            sections.last().second << line.split(u'\u3000', Qt::SkipEmptyParts);
    }
    return sections;
}

// The operands of a question such as "7+3=" or "12+3×4=", and whether it is
// a question of the type: its one operator, or for the mixed type two
// operators and a fair result.
std::pair<QList<long long>, bool> readQuestion(const QString &text, QuestionType type) {
    static const QRegularExpression shape(u"^([0-9]+)([-+×÷])([0-9]+)(?:([-+×÷])([0-9]+))?=$"_s);
    const QRegularExpressionMatch m = shape.match(text);
    QList<long long> operands;
    for (const int i : {1, 3, 5}) {
        if (!m.captured(i).isEmpty())
            operands << m.captured(i).toLongLong();
    }
    const auto op = [&](int i) { return Operator(u"+-×÷"_s.indexOf(m.captured(i))); };
    if (type == QuestionType::Mix)
        return {operands, operands.size() == 3 &&
                              evaluateMixed({{int(operands[0]), int(operands[1]), int(operands[2])},
                                             {op(2), op(4)}})};
    return {operands, operands.size() == 2 && op(2) == Operator(int(type))};
}

} // namespace

Q_DECLARE_METATYPE(QuestionType)
Q_DECLARE_METATYPE(GuideField)

class TestFrmGuide : public QObject {
    Q_OBJECT
    RecordingMessageBoxes messages_;
    std::unique_ptr<ScopedSeam<MessageBoxes>> seam_;

    FrmGuide &open() {
        FrmGuide &guide = frmGuide();
        guide.show();
        guide.activateWindow();
        [&] { QVERIFY(QTest::qWaitForWindowActive(&guide)); }();
        return guide;
    }

    void unloadGuide() {
        unloadForm(FormId::Guide);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

private Q_SLOTS:
    void init() {
        seam_ = std::make_unique<ScopedSeam<MessageBoxes>>(messages_);
        messages_.messages.clear();
        frmMain().txtMain()->setText(kOldSheet);
        unloadGuide();
    }

    void cleanup() {
        unloadGuide();
        seam_.reset();
    }

    // Every row of the step machine, reached by the user's clicks.
    void stepMachine_data() {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QString>("state");
        QTest::newRow("load") << "" << u"1 p1 Next+ Back- h0 shown"_s;
        QTest::newRow("1 Next") << "N" << u"2 p2 Next+ Back+ h2 shown"_s;
        QTest::newRow("2 Next") << "NN" << u"3 p3 Finish+ Back+ h3 shown"_s;
        QTest::newRow("3 Finish") << "NNN" << u"4 p0 Finish+ Back+ h4 hidden"_s;
        QTest::newRow("reopened") << "NNNS" << u"4 p0 Finish+ Back+ h4 shown"_s;
        QTest::newRow("4 Next") << "NNNSN" << u"4 p0 Finish- Back+ h4 shown"_s;
        QTest::newRow("4 Back") << "NNNSB" << u"3 p3 Finish+ Back+ h3 shown"_s;
        QTest::newRow("4 Next, Back") << "NNNSNB" << u"3 p3 Finish+ Back+ h3 shown"_s;
        QTest::newRow("3 Back") << "NNB" << u"2 p2 Next+ Back+ h2 shown"_s;
        QTest::newRow("2 Back") << "NB" << u"1 p1 Next+ Back- h1 shown"_s;
        QTest::newRow("Back, Back, Next") << "NNBBN" << u"2 p2 Next+ Back+ h2 shown"_s;
        QTest::newRow("Reset on 3") << "NNR" << u"1 p1 Next+ Back- h3 shown"_s;
        QTest::newRow("Reset after Finish") << "NNNSR" << u"1 p1 Next+ Back- h4 shown"_s;
        QTest::newRow("Reset, Next disabled") << "NNNSNR" << u"1 p1 Next+ Back- h4 shown"_s;
    }
    void stepMachine() {
        QFETCH(QString, actions);
        QFETCH(QString, state);
        open();
        perform(actions);
        QCOMPARE(::state(), state);
        QVERIFY(messages_.messages.isEmpty());
    }

    void refusesNoType() {
        open().typeCheck(QuestionType::Mul)->setChecked(false);
        perform(u"N"_s);
        QCOMPARE(messages_.messages, QStringList(u"请选择出题类型"_s));
        QCOMPARE(state(), u"1 p1 Next+ Back- h1 shown"_s);
    }

    // After a Finish, Reset empties the document and restores the four
    // counts, but keeps the ticks, the ranges and the mixed count.
    void resetKeepsTicksAndRanges() {
        FrmGuide &guide = open();
        guide.typeCheck(QuestionType::Mix)->setChecked(true);
        for (const QuestionType type : kTypes) {
            guide.setEntryText(type, GuideField::From, u"3"_s);
            guide.setEntryText(type, GuideField::To, u"30"_s);
            guide.setEntryText(type, GuideField::Count, u"7"_s);
        }
        perform(u"NNNSR"_s);
        QCOMPARE(editorText(), QString());
        for (const QuestionType type : kTypes) {
            const bool mix = type == QuestionType::Mix;
            QCOMPARE(guide.typeCheck(type)->isChecked(), mix || type == QuestionType::Mul);
            const TypeEntries entries = guide.entries()[type];
            QCOMPARE((QStringList{entries.from, entries.to, entries.count}),
                     (QStringList{u"3"_s, u"30"_s, mix ? u"7"_s : u"20"_s}));
        }
    }

    // Cancel and the close box unload the wizard, which opens afresh (only
    // multiplication ticked and editable, "0", "9", "20"); the step number
    // outlives the window.
    void cancelUnloads() {
        open();
        tickOnly(QuestionType::Add);
        perform(u"N"_s);
        frmGuide().setEntryText(QuestionType::Add, GuideField::To, u"50"_s);
        perform(u"N"_s);
        QTest::mouseClick(button("cmdCancle"), Qt::LeftButton);
        QVERIFY(!isFormLoaded(FormId::Guide));
        QCOMPARE(guideStep(), 3);
        QCOMPARE(editorText(), kOldSheet);

        FrmGuide &guide = open();
        QCOMPARE(state(), u"1 p1 Next+ Back- h0 shown"_s);
        QVERIFY(!guide.chkSelectAll()->isChecked());
        for (const QuestionType type : kTypes) {
            QCOMPARE(guide.typeCheck(type)->isChecked(), type == QuestionType::Mul);
            QCOMPARE(guide.entryBox(type, GuideField::To)->isEnabled(), type == QuestionType::Mul);
            const TypeEntries entries = guide.entries()[type];
            QCOMPARE((QStringList{entries.from, entries.to, entries.count}),
                     (QStringList{u"0"_s, u"9"_s, u"20"_s}));
        }
        perform(u"N"_s);
        guide.close();
        QVERIFY(!isFormLoaded(FormId::Guide));
        QCOMPARE(guideStep(), 2);
    }

    // From the main window the wizard opens modally and Finish ends the
    // modal call; opened again it shows the state it was left in. The sheet
    // replaces the document in one step, which one undo takes back.
    void finishFromTheMainWindowAndReopen() {
        bool wasModal = false;
        QTimer::singleShot(0, [&] {
            wasModal = frmGuide().isVisible() && frmGuide().isModal();
            perform(u"NNN"_s);
        });
        frmMain().button("cmdGuide")->click();
        QVERIFY(wasModal);
        QVERIFY(!frmGuide().isVisible());
        QVERIFY(editorText().startsWith(u"\n乘法题:\n"_s));

        QString shown;
        QTimer::singleShot(0, [&] {
            shown = state();
            QTest::mouseClick(button("cmdCancle"), Qt::LeftButton);
        });
        frmMain().button("cmdGuide")->click();
        QCOMPARE(shown, u"4 p0 Finish+ Back+ h4 shown"_s);
        frmMain().txtMain()->undo();
        QCOMPARE(editorText(), kOldSheet);
    }

    // Every ticked type gets its section, in order, the mixed one last, six
    // questions to a line.
    void finishWritesEverySection() {
        FrmGuide &guide = open();
        QTest::mouseClick(guide.chkSelectAll(), Qt::LeftButton);
        perform(u"NN"_s);
        for (const QuestionType type : kTypes) {
            QVERIFY(guide.entryBox(type, GuideField::Count)->isEnabled());
            guide.setEntryText(type, GuideField::Count, QString::number(10 + int(type)));
        }
        perform(u"N"_s);
        QVERIFY(messages_.messages.isEmpty());
        const auto sections = readSheet(editorText());
        QCOMPARE(sections.size(), 5);
        const char *const headings[] = {
            "加法题:", "减法题:", "乘法题:", "除法题:", "四则混合运算题:"};
        const int perLine[] = {9, 9, 8, 8, 6};
        QString laidOut;
        for (int s = 0; s < 5; ++s) {
            const QStringList &questions = sections[s].second;
            QCOMPARE(questions.size(), 10 + s);
            laidOut += u'\n' + QString::fromUtf8(headings[s]) + u'\n';
            for (qsizetype i = 0; i < questions.size(); ++i) {
                QVERIFY2(readQuestion(questions[i], kTypes[s]).second, qPrintable(questions[i]));
                laidOut += questions[i] + u'\u3000' + ((i + 1) % perLine[s] ? ""_L1 : "\n"_L1);
            }
            laidOut += "\n\n"_L1;
        }
        QCOMPARE(editorText(), laidOut);
    }

    // Operands (for division the divisor and the quotient) lie from
    // max(2, from) to "to"; unticked types are not read.
    void finishUsesTheRanges_data() {
        QTest::addColumn<QuestionType>("type");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("only"); // the one question the range allows
        using T = QuestionType;
        QTest::newRow("addition 10..20") << T::Add << 10 << 20 << "";
        QTest::newRow("subtraction 15..16") << T::Minus << 15 << 16 << "16-15=";
        QTest::newRow("multiplication 1..2") << T::Mul << 1 << 2 << "2×2=";
        QTest::newRow("division 0..9") << T::Devition << 0 << 9 << "";
        QTest::newRow("division 5..5") << T::Devition << 5 << 5 << "25÷5=";
        QTest::newRow("mixed 0..9") << T::Mix << 0 << 9 << "";
        QTest::newRow("mixed 7..7") << T::Mix << 7 << 7 << "";
    }
    void finishUsesTheRanges() {
        QFETCH(QuestionType, type);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QString, only);
        FrmGuide &guide = open();
        tickOnly(type);
        for (const QuestionType other : kTypes)
            guide.setEntryText(other, GuideField::Count, other == type ? u"100"_s : u"x"_s);
        guide.setEntryText(type, GuideField::From, QString::number(from));
        guide.setEntryText(type, GuideField::To, QString::number(to));
        perform(u"NNN"_s);
        QVERIFY(messages_.messages.isEmpty());
        const auto sections = readSheet(editorText());
        QCOMPARE(sections.size(), 1);
        QCOMPARE(sections[0].second.size(), 100);
        for (const QString &text : sections[0].second) {
            auto [operands, fair] = readQuestion(text, type);
            QVERIFY2(fair, qPrintable(text));
            QVERIFY2(only.isEmpty() || text == only, qPrintable(text));
            QVERIFY2(type != QuestionType::Minus || operands[0] > operands[1], qPrintable(text));
            if (type == QuestionType::Devition) {
                QCOMPARE(operands[0] % operands[1], 0);
                operands = {operands[1], operands[0] / operands[1]};
            }
            for (const long long operand : operands)
                QVERIFY2(operand >= std::max(from, 2) && operand <= to, qPrintable(text));
        }
    }

    // Bad entries are refused at Finish, not before: the message says what is
    // wrong, nothing is written, and the offending box, on its page, has the
    // focus. Mended (blanks and full-width digits allowed), Finish writes.
    void refusesBadEntries_data() {
        QTest::addColumn<QuestionType>("type");
        QTest::addColumn<GuideField>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        using T = QuestionType;
        using F = GuideField;
        const QString count = u"的出题数量必须是0到32767之间的整数"_s;
        const QString to = u"范围的结束数必须是2到32767之间的整数"_s;
        const QString from = u"范围的起始数必须是0到32767之间的整数"_s;
        QTest::newRow("empty count") << T::Add << F::Count << "" << u"加法"_s + count;
        QTest::newRow("plus sign") << T::Mul << F::Count << "+5" << u"乘法"_s + count;
        QTest::newRow("count overflows")
            << T::Devition << F::Count << "99999999999999999999" << u"除法"_s + count;
        QTest::newRow("count too large")
            << T::Mix << F::Count << "32768" << u"四则混合运算"_s + count;
        QTest::newRow("to too small") << T::Add << F::To << "1" << u"加法"_s + to;
        QTest::newRow("subtraction to 2")
            << T::Minus << F::To << "2" << u"减法范围的结束数必须是3到32767之间的整数"_s;
        QTest::newRow("Chinese numeral") << T::Mul << F::To << "九" << u"乘法"_s + to;
        QTest::newRow("from above to")
            << T::Add << F::From << "10" << u"加法范围的起始数不能大于结束数"_s;
        QTest::newRow("no subtraction pair")
            << T::Minus << F::From << "9" << u"减法范围的起始数必须小于结束数"_s;
        QTest::newRow("mixed from above to")
            << T::Mix << F::From << "12" << u"四则混合运算范围的起始数不能大于结束数"_s;
    }
    void refusesBadEntries() {
        QFETCH(QuestionType, type);
        QFETCH(GuideField, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        FrmGuide &guide = open();
        guide.typeCheck(type)->setChecked(true);
        guide.setEntryText(type, field, text);
        perform(u"NNN"_s);
        QCOMPARE(messages_.messages, QStringList(message));
        QCOMPARE(editorText(), kOldSheet);
        QVERIFY(guide.isVisible());
        const bool onCounts = field == GuideField::Count;
        QCOMPARE(state(),
                 onCounts ? u"3 p3 Finish+ Back+ h3 shown"_s : u"2 p2 Next+ Back+ h2 shown"_s);
        // An editable combo box has the focus through its edit field.
        QWidget *focus = QApplication::focusWidget();
        QVERIFY(focus);
        QVERIFY(focus == guide.entryBox(type, field) ||
                focus->parentWidget() == guide.entryBox(type, field));

        guide.setEntryText(type, field, field == GuideField::From ? u" ０"_s : u"\u3000１２ "_s);
        perform(onCounts ? u"N"_s : u"NN"_s);
        QCOMPARE(messages_.messages.size(), 1);
        QVERIFY(!guide.isVisible());
        QVERIFY(editorText() != kOldSheet);
    }
};

DRILLPAD_TEST_MAIN(TestFrmGuide)
#include "tst_frm_guide.moc"
