#include "common/fakes.h"
#include "common/test_main.h"

#include "controls/command_button.h"
#include "controls/twips.h"
#include "mainwin/forms_registry.h"
#include "mainwin/frm_main.h"
#include "quiz/frm_face.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTimer>

using namespace drillpad;
using drillpad::testing::RecordingMessageBoxes;

namespace {

const char *const kButtons[] = {"cmdBegin", "cmdClose", "cmdOK",
                                "cmdJump",  "cmdPause", "cmdFinish"};

// Which of kButtons are enabled, as a string of 1s and 0s in that order.
QString enabledButtons(const FrmFace &face) {
    QString states;
    for (const char *name : kButtons)
        states += face.button(name)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    return states;
}
const QString kIdle = QStringLiteral("110000");
const QString kRunning = QStringLiteral("001111");
const QString kPaused = QStringLiteral("000010");

QString labelText(const FrmFace &face, const char *name) {
    return face.label(name)->text();
}

// Shows the window and makes it the active one, so that keys reach it as
// they would from the keyboard.
bool showActive(QWidget &window) {
    window.show();
    QApplication::setActiveWindow(&window);
    return QTest::qWaitForWindowActive(&window);
}

QWidget *focused(QWidget &window) {
    QWidget *widget = QApplication::focusWidget();
    return widget ? widget : &window;
}

void press(FrmFace &face, Qt::Key key) {
    QTest::keyClick(focused(face), key);
}

// Alt with a letter, the access key of a button.
void pressAlt(FrmFace &face, Qt::Key key) {
    QTest::keyClick(focused(face), key, Qt::AltModifier);
}

// Types into the answer box and presses Enter there.
void answer(FrmFace &face, const QString &text) {
    QTest::keyClicks(face.txtAnswer(), text);
    QTest::keyClick(face.txtAnswer(), Qt::Key_Return);
}

QString rate(double percent) {
    return QLocale::system().toString(percent, 'f', 2);
}

// The answer a question on screen asks for, worked out from its text.
QString solve(const QString &question, int n, int operation) {
    static const QRegularExpression shape(QStringLiteral("^([1-9][0-9]*)(.)([1-9][0-9]*)=$"));
    const QRegularExpressionMatch m = shape.match(question);
    if (!m.hasMatch())
        return QStringLiteral("bad shape");
    const qint64 a = m.captured(1).toLongLong();
    const qint64 b = m.captured(3).toLongLong();
    const QString glyphs = QStringLiteral("+-\u00D7\u00F7");
    if (m.captured(2) != glyphs.at(operation))
        return QStringLiteral("wrong operator");
    const qint64 lowest = operation == 3 ? 2 : 1;
    if (b < lowest || b > n || (operation != 3 && (a < lowest || a > n)))
        return QStringLiteral("operand out of range");
    switch (operation) {
    case 0:
        return QString::number(a + b);
    case 1:
        return a >= b ? QString::number(a - b) : QStringLiteral("negative");
    case 2:
        return QString::number(a * b);
    default:
        if (a % b != 0 || a / b < 2 || a / b > n)
            return QStringLiteral("bad division");
        return QString::number(a / b);
    }
}

} // namespace

class TestFrmFace : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void initialWindow();
    void layoutAndLooks();
    void beginDrawsAndFocuses();
    void fullQuiz();
    void operations_data();
    void operations();
    void pauseAndResume();
    void optionChange();
    void idleKeysDoNothing();
    void enterOnJumpSkips();
    void enterInBoundBoxConfirms();
    void finishWithNoAnswers();
    void scores_data();
    void scores();
    void secondQuizContinuesTotals();
    void timerClearsHintWhileRunning();
    void badBoundAtBegin_data();
    void badBoundAtBegin();
    void badBoundWhileRunning();
    void boundIsRoundedHalfToEven();
    void closeBoxOnlyWhenIdle();
    void closeAndReopenFromMainWindow();

private:
    RecordingMessageBoxes messages_;
    std::unique_ptr<ScopedSeam<MessageBoxes>> seam_;
};

void TestFrmFace::init() {
    messages_.messages.clear();
    seam_ = std::make_unique<ScopedSeam<MessageBoxes>>(messages_);
}

void TestFrmFace::cleanup() {
    seam_.reset();
}

void TestFrmFace::initialWindow() {
    FrmFace face;
    QVERIFY(showActive(face));
    QCOMPARE(face.windowTitle(), QStringLiteral("交互界面"));
    QCOMPARE(enabledButtons(face), kIdle);
    QCOMPARE(face.button("cmdPause")->caption(), QStringLiteral("暂停[&P]"));
    QCOMPARE(face.runFlag(), QStringLiteral("0"));
    QCOMPARE(face.defaultButton(), face.button("cmdOK"));
    QCOMPARE(face.cancelButton(), face.button("cmdFinish"));

    QVERIFY(face.optActive(0)->isChecked());
    QCOMPARE(face.comboTo()->currentText(), QStringLiteral("9"));
    QCOMPARE(face.comboTo()->count(), 100);
    QCOMPARE(face.comboTo()->itemText(0), QStringLiteral("1"));
    QCOMPARE(face.comboTo()->itemText(99), QStringLiteral("100"));
    auto *comboFrom = face.findChild<QComboBox *>(QStringLiteral("comboFrom"));
    QCOMPARE(comboFrom->currentText(), QStringLiteral("0"));
    QCOMPARE(comboFrom->count(), 0);

    QCOMPARE(labelText(face, "lblTotal"), QStringLiteral("0"));
    QCOMPARE(labelText(face, "lblRight"), QStringLiteral("0"));
    QCOMPARE(labelText(face, "lblCaption"), QStringLiteral("正确率:"));
    QCOMPARE(labelText(face, "lblCent"), QStringLiteral("100%"));
    QCOMPARE(labelText(face, "lblMemo"), QStringLiteral("..."));
    QCOMPARE(labelText(face, "lblHint"), QString());
    QCOMPARE(face.txtQuestion()->text(), QString());
    QCOMPARE(face.expectedAnswer(), QString());
    QCOMPARE(face.listHistory()->count(), 0);

    QVERIFY(face.timer1()->isActive());
    QCOMPARE(face.timer1()->interval(), 1000);

    QCOMPARE(face.txtQuestion()->accessibleName(), QStringLiteral("题目"));
    QCOMPARE(face.txtAnswer()->accessibleName(), QStringLiteral("答案"));
    QCOMPARE(face.listHistory()->accessibleName(), QStringLiteral("答题记录"));
    QCOMPARE(comboFrom->accessibleName(), QStringLiteral("从"));
    QCOMPARE(face.comboTo()->accessibleName(), QStringLiteral("到"));
}

void TestFrmFace::layoutAndLooks() {
    FrmFace face;
    face.show();
    QCOMPARE(face.size(), QSize(498, 396));
    QCOMPARE(twipsGeometry(face.button("cmdOK")), (TwipsRect{4080, 3960, 1575, 495}));
    QCOMPARE(twipsGeometry(face.txtAnswer()), (TwipsRect{2280, 0, 1575, 375}));
    QCOMPARE(twipsGeometry(face.comboTo()), (TwipsRect{2160, 1200, 735, 300}));
    QCOMPARE(face.comboTo()->parentWidget()->objectName(), QStringLiteral("Frame1"));

    QCOMPARE(face.label("Label1")->font().pointSizeF(), 10.5);
    QCOMPARE(face.label("lblMemo")->font().pointSizeF(), 10.5);
    QCOMPARE(face.label("lblCent")->font().pointSizeF(), 21.75);
    QCOMPARE(face.label("lblHint")->font().pointSizeF(), 12.0);
    QCOMPARE(face.label("Label5")->font().pointSizeF(), 9.0);
    QCOMPARE(face.txtQuestion()->font().pointSizeF(), 12.0);
    QCOMPARE(face.label("lblCent")->font().family(), QStringLiteral("宋体"));
    const auto colour = [&](const char *name) {
        return face.label(name)->palette().color(QPalette::WindowText);
    };
    QCOMPARE(colour("lblTotal"), QColor(0xFF, 0x80, 0x00));
    QCOMPARE(colour("lblCent"), QColor(0xFF, 0x00, 0x00));
    QCOMPARE(colour("lblMemo"), QColor(0x00, 0x00, 0xFF));
    QCOMPARE(colour("lblHint"), QColor(0x00, 0x80, 0x00));

    // Tab order of the buttons and input fields.
    const QStringList order = {"cmdBegin",     "cmdJump",      "txtQuestion",  "txtAnswer",
                               "listHistory",  "cmdClose",     "cmdFinish",    "cmdOK",
                               "cmdPause",     "optActive(0)", "optActive(1)", "optActive(2)",
                               "optActive(3)", "comboFrom",    "comboTo"};
    QWidget *widget = face.findChild<QWidget *>(order.first());
    for (qsizetype i = 1; i < order.size(); ++i) {
        do
            widget = widget->nextInFocusChain();
        while (!order.contains(widget->objectName()));
        QCOMPARE(widget->objectName(), order.at(i));
    }
}

void TestFrmFace::beginDrawsAndFocuses() {
    FrmFace face;
    QVERIFY(showActive(face));
    pressAlt(face, Qt::Key_B);
    QCOMPARE(enabledButtons(face), kRunning);
    QCOMPARE(face.runFlag(), QStringLiteral("1"));
    QCOMPARE(face.button("cmdPause")->caption(), QStringLiteral("暂停[&P]"));
    QCOMPARE(solve(face.txtQuestion()->text(), 9, 0), face.expectedAnswer());
    QCOMPARE(QApplication::focusWidget(), face.txtAnswer());
    QCOMPARE(labelText(face, "lblCaption"), QStringLiteral("正确率:"));
    QCOMPARE(labelText(face, "lblCent"), QStringLiteral("100%"));
    QCOMPARE(labelText(face, "lblMemo"), QStringLiteral("..."));
    QCOMPARE(face.totalCount(), 0);
    QVERIFY(messages_.messages.isEmpty());
}

void TestFrmFace::fullQuiz() {
    FrmFace face;
    QVERIFY(showActive(face));
    face.button("cmdBegin")->click();

    // Right.
    QString question = face.txtQuestion()->text();
    QString expected = face.expectedAnswer();
    answer(face, expected);
    QCOMPARE(face.listHistory()->item(0)->text(),
             QStringLiteral("1.  ") + question + expected + QStringLiteral("       \u221A"));
    QCOMPARE(labelText(face, "lblTotal"), QStringLiteral("1"));
    QCOMPARE(labelText(face, "lblRight"), QStringLiteral("1"));
    QCOMPARE(labelText(face, "lblCent"), rate(100) + QLatin1Char('%'));
    QCOMPARE(face.txtAnswer()->text(), QString());
    QCOMPARE(QApplication::focusWidget(), face.txtAnswer());

    // Wrong: the expected answer with a leading zero.
    question = face.txtQuestion()->text();
    expected = face.expectedAnswer();
    answer(face, QStringLiteral("0") + expected);
    QCOMPARE(face.listHistory()->item(1)->text(), QStringLiteral("2.  ") + question +
                                                      QStringLiteral("0") + expected +
                                                      QStringLiteral("       \u00D7"));
    QCOMPARE(labelText(face, "lblTotal"), QStringLiteral("2"));
    QCOMPARE(labelText(face, "lblRight"), QStringLiteral("1"));
    QCOMPARE(labelText(face, "lblCent"), rate(50) + QLatin1Char('%'));

    // Empty: nothing is counted, the question stays, the hint shows.
    question = face.txtQuestion()->text();
    expected = face.expectedAnswer();
    press(face, Qt::Key_Return);
    QCOMPARE(face.totalCount(), 2);
    QCOMPARE(face.listHistory()->count(), 2);
    QCOMPARE(face.txtQuestion()->text(), question);
    QCOMPARE(face.expectedAnswer(), expected);
    QCOMPARE(labelText(face, "lblHint"), QStringLiteral("请输入答案..."));

    // Spaces only: counted and wrong, kept exactly in the history.
    answer(face, QStringLiteral("  "));
    QCOMPARE(face.listHistory()->item(2)->text(),
             QStringLiteral("3.  ") + question + QStringLiteral("         \u00D7"));

    // The right number with a blank after it is wrong too.
    question = face.txtQuestion()->text();
    expected = face.expectedAnswer();
    answer(face, expected + QLatin1Char(' '));
    QCOMPARE(face.listHistory()->item(3)->text(),
             QStringLiteral("4.  ") + question + expected + QStringLiteral("        \u00D7"));

    // Skip with its access key.
    question = face.txtQuestion()->text();
    pressAlt(face, Qt::Key_N);
    QCOMPARE(face.listHistory()->item(4)->text(),
             QStringLiteral("5.  ") + question + QStringLiteral("此题跳过       \u00D7"));
    QCOMPARE(face.txtAnswer()->text(), QString());

    // A right answer confirmed with Alt+O.
    question = face.txtQuestion()->text();
    QTest::keyClicks(face.txtAnswer(), face.expectedAnswer());
    const QString typed = face.expectedAnswer();
    pressAlt(face, Qt::Key_O);
    QCOMPARE(face.listHistory()->item(5)->text(),
             QStringLiteral("6.  ") + question + typed + QStringLiteral("       \u221A"));
    QCOMPARE(labelText(face, "lblTotal"), QStringLiteral("6"));
    QCOMPARE(labelText(face, "lblRight"), QStringLiteral("2"));
    QCOMPARE(labelText(face, "lblCent"), rate(100.0 * 2 / 6) + QLatin1Char('%'));

    // Esc finishes: 2 of 6 is 33.33, score 33.
    press(face, Qt::Key_Escape);
    QCOMPARE(labelText(face, "lblCaption"), QStringLiteral("总分:"));
    QCOMPARE(labelText(face, "lblCent"), rate(100.0 * 2 / 6));
    QCOMPARE(labelText(face, "lblMemo"), QStringLiteral("本软件会帮你学好数学"));
    QCOMPARE(face.label("lblCent")->accessibleName(), QStringLiteral("总分"));
    QCOMPARE(enabledButtons(face), kIdle);
    QCOMPARE(face.runFlag(), QStringLiteral("0"));
    QCOMPARE(face.listHistory()->count(), 6);
    QVERIFY(!face.txtQuestion()->text().isEmpty());
    QVERIFY(messages_.messages.isEmpty());
}

void TestFrmFace::operations_data() {
    QTest::addColumn<int>("operation");
    QTest::addColumn<int>("bound");
    const char *names[] = {"add", "subtract", "multiply", "divide"};
    for (int op = 0; op < 4; ++op) {
        for (int bound : {1, 2, 9, 20, 32767}) {
            if (op == 3 && bound == 1)
                continue; // refused, see badBoundAtBegin
            QTest::addRow("%s %d", names[op], bound) << op << bound;
        }
    }
}

void TestFrmFace::operations() {
    QFETCH(int, operation);
    QFETCH(int, bound);
    FrmFace face;
    QVERIFY(showActive(face));
    face.comboTo()->setEditText(QString::number(bound));
    QTest::mouseClick(face.optActive(operation), Qt::LeftButton);
    QVERIFY(face.optActive(operation)->isChecked());
    QCOMPARE(face.txtQuestion()->text(), QString()); // idle: nothing drawn
    face.button("cmdBegin")->click();
    const int rounds = 40;
    for (int i = 0; i < rounds; ++i) {
        const QString question = face.txtQuestion()->text();
        QCOMPARE(solve(question, bound, operation), face.expectedAnswer());
        if (bound == 1) {
            const char *only[] = {"1+1=", "1-1=", "1\u00D71="};
            QCOMPARE(question, QString::fromUtf8(only[operation]));
        }
        if (bound == 2 && operation == 3)
            QCOMPARE(question, QStringLiteral("4\u00F72="));
        answer(face, face.expectedAnswer());
    }
    QCOMPARE(face.totalCount(), rounds);
    QCOMPARE(face.rightCount(), rounds);
    QCOMPARE(labelText(face, "lblCent"), rate(100) + QLatin1Char('%'));
    QVERIFY(messages_.messages.isEmpty());
}

void TestFrmFace::pauseAndResume() {
    FrmFace face;
    QVERIFY(showActive(face));
    face.button("cmdBegin")->click();
    const QString question = face.txtQuestion()->text();

    pressAlt(face, Qt::Key_P);
    QCOMPARE(enabledButtons(face), kPaused);
    QCOMPARE(face.button("cmdPause")->caption(), QStringLiteral("暂停中..."));
    QCOMPARE(face.runFlag(), QStringLiteral("0"));

    // While paused neither Enter in the answer box nor Esc does anything.
    face.txtAnswer()->setFocus();
    answer(face, face.expectedAnswer());
    press(face, Qt::Key_Escape);
    QCOMPARE(face.totalCount(), 0);
    QCOMPARE(face.listHistory()->count(), 0);
    QCOMPARE(face.txtAnswer()->text(), face.expectedAnswer());
    QCOMPARE(face.txtQuestion()->text(), question);
    QCOMPARE(labelText(face, "lblCaption"), QStringLiteral("正确率:"));
    QVERIFY(face.isVisible());
    QCOMPARE(enabledButtons(face), kPaused);

    QTest::mouseClick(face.button("cmdPause"), Qt::LeftButton);
    QCOMPARE(enabledButtons(face), kRunning);
    QCOMPARE(face.button("cmdPause")->caption(), QStringLiteral("暂停[&P]"));
    QCOMPARE(face.runFlag(), QStringLiteral("1"));

    // The answer typed while paused is judged after resuming.
    QTest::keyClick(face.txtAnswer(), Qt::Key_Return);
    QCOMPARE(face.totalCount(), 1);
    QCOMPARE(face.rightCount(), 1);
}

void TestFrmFace::optionChange() {
    FrmFace face;
    QVERIFY(showActive(face));
    face.button("cmdBegin")->click();
    answer(face, QStringLiteral("x"));

    // Running: a new question of the new operation replaces the old one.
    QTest::mouseClick(face.optActive(2), Qt::LeftButton);
    QCOMPARE(solve(face.txtQuestion()->text(), 9, 2), face.expectedAnswer());
    QCOMPARE(face.totalCount(), 1);
    QCOMPARE(face.listHistory()->count(), 1);
    QCOMPARE(QApplication::focusWidget(), face.txtAnswer());

    // Paused: the same.
    face.button("cmdPause")->click();
    QTest::mouseClick(face.optActive(1), Qt::LeftButton);
    QCOMPARE(solve(face.txtQuestion()->text(), 9, 1), face.expectedAnswer());
    QCOMPARE(face.totalCount(), 1);
    QCOMPARE(enabledButtons(face), kPaused);
    face.button("cmdPause")->click();

    // Idle: only the selection changes.
    face.button("cmdFinish")->click();
    const QString question = face.txtQuestion()->text();
    const QString expected = face.expectedAnswer();
    QTest::mouseClick(face.optActive(3), Qt::LeftButton);
    QVERIFY(face.optActive(3)->isChecked());
    QCOMPARE(face.txtQuestion()->text(), question);
    QCOMPARE(face.expectedAnswer(), expected);

    // The next quiz asks the chosen operation.
    face.button("cmdBegin")->click();
    QCOMPARE(solve(face.txtQuestion()->text(), 9, 3), face.expectedAnswer());
}

void TestFrmFace::idleKeysDoNothing() {
    FrmFace face;
    QVERIFY(showActive(face));
    face.txtAnswer()->setFocus();
    answer(face, QStringLiteral("5"));
    press(face, Qt::Key_Escape);
    face.button("cmdClose")->setFocus();
    pressAlt(face, Qt::Key_O);
    pressAlt(face, Qt::Key_S);
    QCOMPARE(face.totalCount(), 0);
    QCOMPARE(face.listHistory()->count(), 0);
    QCOMPARE(face.txtQuestion()->text(), QString());
    QCOMPARE(face.txtAnswer()->text(), QStringLiteral("5"));
    QCOMPARE(labelText(face, "lblCaption"), QStringLiteral("正确率:"));
    QCOMPARE(labelText(face, "lblMemo"), QStringLiteral("..."));
    QCOMPARE(enabledButtons(face), kIdle);
    QVERIFY(face.isVisible());

    // After Finish, Enter no longer changes the totals.
    face.button("cmdBegin")->click();
    answer(face, face.expectedAnswer());
    face.button("cmdFinish")->click();
    const QString memo = labelText(face, "lblMemo");
    face.txtAnswer()->setFocus();
    answer(face, QStringLiteral("1"));
    QCOMPARE(face.totalCount(), 1);
    QCOMPARE(labelText(face, "lblMemo"), memo);
    QCOMPARE(labelText(face, "lblCaption"), QStringLiteral("总分:"));
}

void TestFrmFace::enterOnJumpSkips() {
    FrmFace face;
    QVERIFY(showActive(face));
    face.button("cmdBegin")->click();
    QTest::keyClicks(face.txtAnswer(), face.expectedAnswer());
    const QString question = face.txtQuestion()->text();
    face.button("cmdJump")->setFocus();
    press(face, Qt::Key_Return);
    QCOMPARE(face.totalCount(), 1);
    QCOMPARE(face.rightCount(), 0);
    QCOMPARE(face.listHistory()->item(0)->text(),
             QStringLiteral("1.  ") + question + QStringLiteral("此题跳过       \u00D7"));
}

void TestFrmFace::enterInBoundBoxConfirms() {
    FrmFace face;
    QVERIFY(showActive(face));
    face.button("cmdBegin")->click();
    QTest::keyClicks(face.txtAnswer(), face.expectedAnswer());
    face.comboTo()->setFocus();
    press(face, Qt::Key_Return);
    QCOMPARE(face.totalCount(), 1);
    QCOMPARE(face.rightCount(), 1);
    face.comboTo()->setFocus();
    press(face, Qt::Key_Escape);
    QCOMPARE(labelText(face, "lblCaption"), QStringLiteral("总分:"));
}

void TestFrmFace::finishWithNoAnswers() {
    FrmFace face;
    QVERIFY(showActive(face));
    face.button("cmdBegin")->click();
    pressAlt(face, Qt::Key_S);
    QCOMPARE(labelText(face, "lblCaption"), QStringLiteral("总分:"));
    QCOMPARE(labelText(face, "lblCent"), QStringLiteral("100%"));
    QCOMPARE(labelText(face, "lblMemo"), QStringLiteral("本软件会帮你学好数学"));
    QCOMPARE(enabledButtons(face), kIdle);
}

void TestFrmFace::scores_data() {
    QTest::addColumn<int>("right");
    QTest::addColumn<int>("wrong");
    QTest::addColumn<QString>("memo");
    QTest::newRow("8 of 8") << 8 << 0 << "满分,真棒,不要骄傲,继续保持";
    QTest::newRow("7 of 8, 87.5 scores 88") << 7 << 1 << "再接再厉,良好,尚需努力";
    QTest::newRow("3 of 8, 37.5 scores 38") << 3 << 5 << "本软件会帮你学好数学";
}

void TestFrmFace::scores() {
    QFETCH(int, right);
    QFETCH(int, wrong);
    QFETCH(QString, memo);
    FrmFace face;
    QVERIFY(showActive(face));
    face.button("cmdBegin")->click();
    for (int i = 0; i < right; ++i)
        answer(face, face.expectedAnswer());
    for (int i = 0; i < wrong; ++i)
        face.button("cmdJump")->click();
    face.button("cmdFinish")->click();
    QCOMPARE(labelText(face, "lblCent"), rate(100.0 * right / (right + wrong)));
    QCOMPARE(labelText(face, "lblMemo"), memo);
    // The comment fits the window.
    QVERIFY(face.label("lblMemo")->geometry().right() < face.width());
    QCOMPARE(face.label("lblMemo")->width(), face.label("lblMemo")->sizeHint().width());
}

void TestFrmFace::secondQuizContinuesTotals() {
    FrmFace face;
    QVERIFY(showActive(face));
    face.button("cmdBegin")->click();
    answer(face, face.expectedAnswer());
    answer(face, QStringLiteral("x"));
    face.button("cmdFinish")->click();
    QCOMPARE(labelText(face, "lblCent"), rate(50));

    face.button("cmdBegin")->click();
    QCOMPARE(labelText(face, "lblCaption"), QStringLiteral("正确率:"));
    QCOMPARE(labelText(face, "lblCent"), QStringLiteral("100%"));
    QCOMPARE(labelText(face, "lblMemo"), QStringLiteral("..."));
    QCOMPARE(labelText(face, "lblTotal"), QStringLiteral("2"));
    QCOMPARE(face.listHistory()->count(), 2);
    answer(face, face.expectedAnswer());
    QCOMPARE(labelText(face, "lblCent"), rate(100.0 * 2 / 3) + QLatin1Char('%'));
    QVERIFY(face.listHistory()->item(2)->text().startsWith(QStringLiteral("3.  ")));
    face.button("cmdFinish")->click();
    QCOMPARE(labelText(face, "lblMemo"), QStringLiteral("再不努力就不行了,及格，努力啊"));
}

void TestFrmFace::timerClearsHintWhileRunning() {
    FrmFace face;
    QVERIFY(showActive(face));
    face.button("cmdBegin")->click();
    face.button("cmdOK")->click(); // empty answer
    QCOMPARE(labelText(face, "lblHint"), QStringLiteral("请输入答案..."));
    face.button("cmdPause")->click();
    QTest::qWait(1300); // at least one tick while paused
    QCOMPARE(labelText(face, "lblHint"), QStringLiteral("请输入答案..."));
    face.button("cmdPause")->click();
    QTRY_COMPARE_WITH_TIMEOUT(labelText(face, "lblHint"), QString(), 2500);
}

void TestFrmFace::badBoundAtBegin_data() {
    QTest::addColumn<QString>("bound");
    QTest::addColumn<int>("operation");
    QTest::addColumn<QString>("range");
    QTest::newRow("empty") << "" << 0 << "1到32767";
    QTest::newRow("letters") << "abc" << 1 << "1到32767";
    QTest::newRow("zero") << "0" << 2 << "1到32767";
    QTest::newRow("0.5 rounds to 0") << "0.5" << 0 << "1到32767";
    QTest::newRow("negative") << "-5" << 1 << "1到32767";
    QTest::newRow("too large") << "32768" << 2 << "1到32767";
    QTest::newRow("rounds too large") << "32767.5" << 0 << "1到32767";
    QTest::newRow("huge") << "1e9" << 3 << "2到32767";
    QTest::newRow("division by 1") << "1" << 3 << "2到32767";
}

void TestFrmFace::badBoundAtBegin() {
    QFETCH(QString, bound);
    QFETCH(int, operation);
    QFETCH(QString, range);
    FrmFace face;
    QVERIFY(showActive(face));
    face.optActive(operation)->setChecked(true);
    face.comboTo()->setEditText(bound);
    face.button("cmdBegin")->click();
    QCOMPARE(messages_.messages.size(), 1);
    QVERIFY2(messages_.messages.first().contains(range), qPrintable(messages_.messages.first()));
    QCOMPARE(enabledButtons(face), kIdle);
    QCOMPARE(face.runFlag(), QStringLiteral("0"));
    QCOMPARE(face.txtQuestion()->text(), QString());
    QCOMPARE(face.comboTo()->currentText(), bound);

    // Mended, the quiz starts.
    face.comboTo()->setEditText(QStringLiteral("9"));
    face.button("cmdBegin")->click();
    QCOMPARE(enabledButtons(face), kRunning);
    QCOMPARE(solve(face.txtQuestion()->text(), 9, operation), face.expectedAnswer());
    QCOMPARE(messages_.messages.size(), 1);
}

void TestFrmFace::badBoundWhileRunning() {
    FrmFace face;
    QVERIFY(showActive(face));
    face.button("cmdBegin")->click();
    const QString question = face.txtQuestion()->text();
    const QString expected = face.expectedAnswer();
    face.comboTo()->setEditText(QStringLiteral("很多"));

    // An operation click draws nothing.
    QTest::mouseClick(face.optActive(1), Qt::LeftButton);
    QCOMPARE(messages_.messages.size(), 1);
    QCOMPARE(face.txtQuestion()->text(), question);
    QCOMPARE(face.expectedAnswer(), expected);

    // Confirming and skipping keep the answer and count nothing.
    answer(face, expected);
    face.button("cmdJump")->click();
    QCOMPARE(messages_.messages.size(), 3);
    QCOMPARE(face.totalCount(), 0);
    QCOMPARE(face.listHistory()->count(), 0);
    QCOMPARE(face.txtAnswer()->text(), expected);

    // Division refuses a bound of 1 while running as well.
    face.comboTo()->setEditText(QStringLiteral("1"));
    QTest::mouseClick(face.optActive(3), Qt::LeftButton);
    QCOMPARE(messages_.messages.size(), 4);
    QVERIFY(messages_.messages.last().contains(QStringLiteral("2到32767")));
    QCOMPARE(face.txtQuestion()->text(), question);

    // Mended, the kept answer is judged against the question on screen.
    face.comboTo()->setEditText(QStringLiteral("9"));
    QTest::keyClick(face.txtAnswer(), Qt::Key_Return);
    QCOMPARE(face.totalCount(), 1);
    QCOMPARE(face.rightCount(), 1);
    QVERIFY(face.listHistory()->item(0)->text().startsWith(QStringLiteral("1.  ") + question));
    QCOMPARE(solve(face.txtQuestion()->text(), 9, 3), face.expectedAnswer());
}

void TestFrmFace::boundIsRoundedHalfToEven() {
    FrmFace face;
    QVERIFY(showActive(face));
    face.optActive(3)->setChecked(true);
    face.comboTo()->setEditText(QStringLiteral("2.5")); // 2, not 3
    face.button("cmdBegin")->click();
    for (int i = 0; i < 12; ++i) {
        QCOMPARE(face.txtQuestion()->text(), QStringLiteral("4\u00F72="));
        answer(face, face.expectedAnswer());
    }
    face.button("cmdFinish")->click();
    face.optActive(0)->setChecked(true);
    face.comboTo()->setEditText(QStringLiteral("1.4"));
    face.button("cmdBegin")->click();
    QCOMPARE(face.txtQuestion()->text(), QStringLiteral("1+1="));
    QVERIFY(messages_.messages.isEmpty());
}

void TestFrmFace::closeBoxOnlyWhenIdle() {
    FrmFace face;
    QVERIFY(showActive(face));
    face.button("cmdBegin")->click();
    face.close();
    QVERIFY(face.isVisible());
    face.button("cmdPause")->click();
    face.close();
    QVERIFY(face.isVisible());
    face.button("cmdPause")->click();
    face.button("cmdFinish")->click();
    face.close();
    QVERIFY(!face.isVisible());
}

void TestFrmFace::closeAndReopenFromMainWindow() {
    FrmMain &main = frmMain();
    main.show();
    int opened = 0;
    QString firstQuestion;
    const auto quiz = [&] {
        ++opened;
        FrmFace &face = frmFace();
        QVERIFY(face.isVisible());
        QVERIFY(face.isModal());
        QVERIFY(showActive(face));
        pressAlt(face, Qt::Key_B);
        firstQuestion = face.txtQuestion()->text();
        answer(face, face.expectedAnswer());
        press(face, Qt::Key_Escape);
        pressAlt(face, Qt::Key_C);
    };
    QTimer::singleShot(0, this, quiz);
    main.button("cmdFace")->click();
    QCOMPARE(opened, 1);
    QVERIFY(!frmFace().isVisible());

    QString questionOnReopen;
    qint64 totalOnReopen = -1;
    QString captionOnReopen;
    int historyOnReopen = -1;
    QTimer::singleShot(0, this, [&] {
        FrmFace &face = frmFace();
        questionOnReopen = face.txtQuestion()->text();
        totalOnReopen = face.totalCount();
        captionOnReopen = labelText(face, "lblCaption");
        historyOnReopen = face.listHistory()->count();
        face.button("cmdClose")->click();
    });
    main.button("cmdFace")->click();
    QCOMPARE(totalOnReopen, 1);
    QCOMPARE(historyOnReopen, 1);
    QCOMPARE(captionOnReopen, QStringLiteral("总分:"));
    QVERIFY(!questionOnReopen.isEmpty());
    QVERIFY(isFormLoaded(FormId::Face));

    // Unloading discards the window; the next one starts afresh.
    unloadForm(FormId::Face);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(frmFace().totalCount(), 0);
    QCOMPARE(frmFace().listHistory()->count(), 0);
    main.hide();
}

DRILLPAD_TEST_MAIN(TestFrmFace)
#include "tst_frm_face.moc"
