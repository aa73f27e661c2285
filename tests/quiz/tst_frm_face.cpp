#include "common/fakes.h"
#include "common/test_main.h"

#include "app/forms_registry.h"
#include "controls/command_button.h"
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
using namespace Qt::StringLiterals;
using drillpad::testing::RecordingMessageBoxes;

namespace {

// Which of Begin, Close, OK, Skip, Pause and Finish are enabled, as 1s and 0s.
QString enabledButtons(const FrmFace &face) {
    QString states;
    for (const char *name : {"cmdBegin", "cmdClose", "cmdOK", "cmdJump", "cmdPause", "cmdFinish"})
        states += face.button(name)->isEnabled() ? u'1' : u'0';
    return states;
}
const QString kIdle = u"110000"_s, kRunning = u"001111"_s, kPaused = u"000010"_s;

// Shows the window and makes it the active one, so that keys reach it.
bool showActive(QWidget &window) {
    window.show();
    QApplication::setActiveWindow(&window);
    return QTest::qWaitForWindowActive(&window);
}

// A key pressed where the focus is, as from the keyboard.
void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

// Types into the answer box and presses Enter there.
void answer(FrmFace &face, const QString &text) {
    QTest::keyClicks(face.txtAnswer(), text);
    QTest::keyClick(face.txtAnswer(), Qt::Key_Return);
}

QString rate(double percent) {
    return QLocale::system().toString(percent, 'f', 2);
}

// The answer a question on screen asks for, or "" if it does not fit op and n.
QString solve(const QString &question, int n, int op) {
    static const QRegularExpression shape(u"^([1-9][0-9]*)(.)([1-9][0-9]*)=$"_s);
    const QRegularExpressionMatch m = shape.match(question);
    const qint64 a = m.captured(1).toLongLong(), b = std::max(m.captured(3).toLongLong(), 1LL);
    const qint64 result = QList<qint64>{a + b, a - b, a * b, a / b}[op];
    const bool fits = m.hasMatch() && m.captured(2) == u"+-×÷"_s.at(op) && b >= (op == 3 ? 2 : 1) &&
                      b <= n &&
                      (op == 3 ? a % b == 0 && result >= 2 && result <= n : a <= n && result >= 0);
    return fits ? QString::number(result) : QString();
}

} // namespace

class TestFrmFace : public QObject {
    Q_OBJECT
    RecordingMessageBoxes messages_;
    ScopedSeam<MessageBoxes> seam_{messages_};

private Q_SLOTS:
    void init() { messages_.messages.clear(); }

    // The answer is compared with the expected one as text and recorded
    // exactly as typed, or as skipped. "%1" stands for the expected answer.
    void judging_data() {
        QTest::addColumn<QString>("focus"); // where Enter is pressed
        QTest::addColumn<bool>("right");
        QTest::addColumn<QString>("typed");
        QTest::newRow("right") << "txtAnswer" << true << "%1";
        QTest::newRow("leading zero") << "txtAnswer" << false << "0%1";
        QTest::newRow("Enter on Skip") << "cmdJump" << false << "%1";
        QTest::newRow("Enter in bound box") << "comboTo" << true << "%1";
    }
    void judging() {
        QFETCH(QString, focus);
        QFETCH(bool, right);
        QFETCH(QString, typed);
        FrmFace face;
        QVERIFY(showActive(face));
        press(Qt::Key_B, Qt::AltModifier);
        const QString question = face.txtQuestion()->text();
        typed.replace(u"%1"_s, face.expectedAnswer());
        const QString recorded = focus == "cmdJump"_L1 ? u"此题跳过"_s : typed;
        QTest::keyClicks(face.txtAnswer(), typed);
        face.findChild<QWidget *>(focus)->setFocus();
        press(Qt::Key_Return);
        QCOMPARE(face.listHistory()->item(0)->text(),
                 "1.  "_L1 + question + recorded + (right ? u"       √"_s : u"       ×"_s));
        QCOMPARE(face.label("lblTotal")->text() + face.label("lblRight")->text() + u' ' +
                     face.label("lblCent")->text(),
                 (right ? u"11 "_s : u"10 "_s) + rate(right ? 100 : 0) + u'%');
        QVERIFY(face.txtAnswer()->text().isEmpty() &&
                QApplication::focusWidget() == face.txtAnswer());
    }

    // Every question fits its operation and bound, the bound rounded half to
    // even, and the expected answer is its result. A bad bound is refused at
    // Begin with a message that names the allowed range.
    void bounds_data() {
        QTest::addColumn<int>("operation");
        QTest::addColumn<QString>("bound");
        QTest::addColumn<int>("n");        // 0: refused
        QTest::addColumn<QString>("only"); // the one question allowed, or the range
        QTest::newRow("add 1") << 0 << "1" << 1 << "1+1=";
        QTest::newRow("subtract 1") << 1 << "1" << 1 << "1-1=";
        QTest::newRow("multiply 32767") << 2 << "32767" << 32767 << "";
        QTest::newRow("divide 32767") << 3 << "32767" << 32767 << "";
        QTest::newRow("divide 2.5 rounds to 2") << 3 << "2.5" << 2 << "4÷2=";
        QTest::newRow("too large") << 2 << "32768" << 0 << "1到32767";
        QTest::newRow("division by 1") << 3 << "1" << 0 << "2到32767";
    }
    void bounds() {
        QFETCH(int, operation);
        QFETCH(QString, bound);
        QFETCH(int, n);
        QFETCH(QString, only);
        FrmFace face;
        QVERIFY(showActive(face));
        face.comboTo()->setEditText(bound);
        QTest::mouseClick(face.optActive(operation), Qt::LeftButton);
        face.button("cmdBegin")->click();
        QCOMPARE(enabledButtons(face), n ? kRunning : kIdle);
        for (int i = 0; n && i < 30; ++i) {
            QCOMPARE(solve(face.txtQuestion()->text(), n, operation), face.expectedAnswer());
            QVERIFY(only.isEmpty() || face.txtQuestion()->text() == only);
            answer(face, face.expectedAnswer());
        }
        QCOMPARE(face.rightCount(), n ? 30 : 0);
        QCOMPARE(messages_.messages.size(), n ? 0 : 1);
        QVERIFY2(n || messages_.messages[0].contains(only),
                 qPrintable(messages_.messages.value(0)));
    }

    // Running, an empty answer counts nothing and shows a hint, and a bad
    // bound is refused by a new operation and by OK, which keep the question
    // and the typed answer. Paused, Enter, Esc and the close box do nothing;
    // the typed answer is judged after resuming. Idle, a new operation waits.
    void runningAndPaused() {
        FrmFace face;
        QVERIFY(showActive(face));
        face.button("cmdBegin")->click();
        press(Qt::Key_Return);
        QCOMPARE(face.label("lblHint")->text(), u"请输入答案..."_s);
        const QString question = face.txtQuestion()->text();
        face.comboTo()->setEditText(u"1"_s);
        QTest::mouseClick(face.optActive(3), Qt::LeftButton);
        answer(face, face.expectedAnswer());
        QCOMPARE(messages_.messages.size(), 2);
        QVERIFY2(messages_.messages[1].contains(u"2到32767"_s), qPrintable(messages_.messages[1]));
        QCOMPARE(face.txtQuestion()->text() + face.txtAnswer()->text(),
                 question + face.expectedAnswer());
        face.comboTo()->setEditText(u"9"_s);
        press(Qt::Key_P, Qt::AltModifier);
        QCOMPARE(face.button("cmdPause")->caption(), u"暂停中..."_s);
        QTest::keyClick(face.txtAnswer(), Qt::Key_Return);
        press(Qt::Key_Escape);
        face.close();
        QCOMPARE(enabledButtons(face), kPaused);
        QVERIFY(face.isVisible() && face.totalCount() == 0);
        QTest::mouseClick(face.button("cmdPause"), Qt::LeftButton);
        QTest::keyClick(face.txtAnswer(), Qt::Key_Return);
        QCOMPARE(face.rightCount(), 1);
        face.button("cmdFinish")->click();
        const QString idleQuestion = face.txtQuestion()->text();
        QTest::mouseClick(face.optActive(1), Qt::LeftButton);
        QCOMPARE(face.txtQuestion()->text(), idleQuestion);
    }

    // From the main window the quiz opens modally. Finish and Esc show the
    // score and its comment (100% with nothing answered), then Enter judges
    // nothing. Closed and opened again, it
    // shows the state it was left in and a second quiz continues the totals;
    // unloaded, it starts afresh.
    void finishAndReopen() {
        QStringList shown;
        QTimer::singleShot(0, this, [&] {
            FrmFace &face = frmFace();
            shown << (face.isModal() && showActive(face) ? "modal"_L1 : "modeless"_L1);
            face.button("cmdBegin")->click();
            face.button("cmdFinish")->click();
            shown << face.label("lblCent")->text() << face.label("lblMemo")->text();
            press(Qt::Key_B, Qt::AltModifier);
            answer(face, face.expectedAnswer());
            answer(face, u"x"_s);
            press(Qt::Key_Escape);
            answer(face, u"1"_s);
            shown << enabledButtons(face) << face.label("lblTotal")->text();
            face.txtAnswer()->clear();
            press(Qt::Key_C, Qt::AltModifier);
        });
        frmMain().button("cmdFace")->click();
        QCOMPARE(shown,
                 (QStringList{u"modal"_s, u"100%"_s, u"本软件会帮你学好数学"_s, kIdle, u"2"_s}));
        shown.clear();
        QTimer::singleShot(0, this, [&] {
            FrmFace &face = frmFace();
            shown << face.label("lblCaption")->text() << face.label("lblCent")->text();
            face.button("cmdBegin")->click();
            answer(face, face.expectedAnswer());
            shown << face.label("lblCent")->text() << face.listHistory()->item(2)->text().left(4);
            face.button("cmdFinish")->click();
            shown << face.label("lblMemo")->text();
            face.button("cmdClose")->click();
        });
        frmMain().button("cmdFace")->click();
        QCOMPARE(shown, (QStringList{u"总分:"_s, rate(50), rate(100.0 * 2 / 3) + u'%', u"3.  "_s,
                                     u"再不努力就不行了,及格，努力啊"_s}));
        unloadForm(FormId::Face);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(frmFace().totalCount(), 0);
    }
};

DRILLPAD_TEST_MAIN(TestFrmFace)
#include "tst_frm_face.moc"
