#include "common/fakes.h"
#include "common/test_main.h"

#include "controls/command_button.h"
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

QString labelText(const FrmFace &face, const char *name) {
    return face.label(name)->text();
}

// Shows the window and makes it the active one, so that keys reach it.
bool showActive(QWidget &window) {
    window.show();
    QApplication::setActiveWindow(&window);
    return QTest::qWaitForWindowActive(&window);
}

// A key pressed where the focus is, as from the keyboard.
void press(FrmFace &face, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget *widget = QApplication::focusWidget();
    QTest::keyClick(widget ? widget : &face, key, modifiers);
}

// Types into the answer box and presses Enter there.
void answer(FrmFace &face, const QString &text) {
    QTest::keyClicks(face.txtAnswer(), text);
    QTest::keyClick(face.txtAnswer(), Qt::Key_Return);
}

QString rate(double percent) {
    return QLocale::system().toString(percent, 'f', 2);
}

// The answer a question on screen asks for, worked out from its text, or
// what is wrong with the question.
QString solve(const QString &question, int n, int operation) {
    static const QRegularExpression shape(u"^([1-9][0-9]*)(.)([1-9][0-9]*)=$"_s);
    const QRegularExpressionMatch m = shape.match(question);
    if (!m.hasMatch() || m.captured(2) != u"+-×÷"_s.at(operation))
        return u"bad shape"_s;
    const qint64 a = m.captured(1).toLongLong();
    const qint64 b = m.captured(3).toLongLong();
    const qint64 lowest = operation == 3 ? 2 : 1;
    if (b < lowest || b > n || (operation != 3 && (a < lowest || a > n)))
        return u"operand out of range"_s;
    switch (operation) {
    case 0:
        return QString::number(a + b);
    case 1:
        return a >= b ? QString::number(a - b) : u"negative"_s;
    case 2:
        return QString::number(a * b);
    default:
        return a % b != 0 || a / b < 2 || a / b > n ? u"bad division"_s : QString::number(a / b);
    }
}

} // namespace

class TestFrmFace : public QObject {
    Q_OBJECT
    RecordingMessageBoxes messages_;
    std::unique_ptr<ScopedSeam<MessageBoxes>> seam_;

private Q_SLOTS:
    void init() {
        messages_.messages.clear();
        seam_ = std::make_unique<ScopedSeam<MessageBoxes>>(messages_);
    }
    void cleanup() { seam_.reset(); }

    // The answer is compared with the expected one as text and recorded
    // exactly as typed. "%1" stands for the expected answer.
    void judging_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key"); // Alt with it, or Enter
        QTest::addColumn<QString>("focus");
        QTest::addColumn<bool>("right");
        QTest::addColumn<QString>("recorded");
        const int enter = Qt::Key_Return;
        QTest::newRow("right") << "%1" << enter << "txtAnswer" << true << "%1";
        QTest::newRow("leading zero") << "0%1" << enter << "txtAnswer" << false << "0%1";
        QTest::newRow("blank after") << "%1 " << enter << "txtAnswer" << false << "%1 ";
        QTest::newRow("spaces only") << "  " << enter << "txtAnswer" << false << "  ";
        QTest::newRow("Alt+O") << "%1" << int(Qt::Key_O) << "txtAnswer" << true << "%1";
        QTest::newRow("Alt+N skips")
            << "%1" << int(Qt::Key_N) << "txtAnswer" << false << "此题跳过";
        QTest::newRow("Enter on Skip") << "%1" << enter << "cmdJump" << false << "此题跳过";
        QTest::newRow("Enter in bound box") << "%1" << enter << "comboTo" << true << "%1";
    }
    void judging() {
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(QString, focus);
        QFETCH(bool, right);
        QFETCH(QString, recorded);
        FrmFace face;
        QVERIFY(showActive(face));
        press(face, Qt::Key_B, Qt::AltModifier);
        QCOMPARE(enabledButtons(face), kRunning);
        QCOMPARE(QApplication::focusWidget(), face.txtAnswer());
        const QString question = face.txtQuestion()->text();
        const QString expected = face.expectedAnswer();
        QCOMPARE(solve(question, 9, 0), expected);
        typed.replace(u"%1"_s, expected);
        recorded.replace(u"%1"_s, expected);

        QTest::keyClicks(face.txtAnswer(), typed);
        face.findChild<QWidget *>(focus)->setFocus();
        press(face, Qt::Key(key), key == Qt::Key_Return ? Qt::NoModifier : Qt::AltModifier);
        QCOMPARE(face.listHistory()->count(), 1);
        QCOMPARE(face.listHistory()->item(0)->text(),
                 "1.  "_L1 + question + recorded + (right ? u"       √"_s : u"       ×"_s));
        QCOMPARE(labelText(face, "lblTotal"), u"1"_s);
        QCOMPARE(labelText(face, "lblRight"), right ? u"1"_s : u"0"_s);
        QCOMPARE(labelText(face, "lblCent"), rate(right ? 100 : 0) + u'%');
        QCOMPARE(face.txtAnswer()->text(), QString());
        QCOMPARE(QApplication::focusWidget(), face.txtAnswer());
        QCOMPARE(solve(face.txtQuestion()->text(), 9, 0), face.expectedAnswer());
    }

    // Finish or Esc shows the score, rounded half to even, and its comment.
    void finish_data() {
        QTest::addColumn<int>("right");
        QTest::addColumn<int>("wrong");
        QTest::addColumn<QString>("memo");
        QTest::newRow("nothing answered") << 0 << 0 << "本软件会帮你学好数学";
        QTest::newRow("8 of 8") << 8 << 0 << "满分,真棒,不要骄傲,继续保持";
        QTest::newRow("7 of 8, 87.5 scores 88") << 7 << 1 << "再接再厉,良好,尚需努力";
        QTest::newRow("2 of 6, 33.33") << 2 << 4 << "本软件会帮你学好数学";
    }
    void finish() {
        QFETCH(int, right);
        QFETCH(int, wrong);
        QFETCH(QString, memo);
        FrmFace face;
        QVERIFY(showActive(face));
        answer(face, u"5"_s); // before the first quiz: judges nothing
        QCOMPARE(face.txtQuestion()->text(), QString());
        face.txtAnswer()->clear();

        face.button("cmdBegin")->click();
        for (int i = 0; i < right; ++i)
            answer(face, face.expectedAnswer());
        for (int i = 0; i < wrong; ++i)
            face.button("cmdJump")->click();
        press(face, Qt::Key_Escape);
        QCOMPARE(labelText(face, "lblCaption"), u"总分:"_s);
        QCOMPARE(labelText(face, "lblCent"),
                 right + wrong == 0 ? u"100%"_s : rate(100.0 * right / (right + wrong)));
        QCOMPARE(labelText(face, "lblMemo"), memo);
        QCOMPARE(face.label("lblMemo")->width(), face.label("lblMemo")->sizeHint().width());
        QVERIFY(face.label("lblMemo")->geometry().right() < face.width());
        QCOMPARE(enabledButtons(face), kIdle);
        QCOMPARE(face.runFlag(), u"0"_s);
        // Idle, Enter judges nothing and the window may be closed.
        answer(face, u"1"_s);
        QCOMPARE(face.totalCount(), right + wrong);
        QCOMPARE(labelText(face, "lblMemo"), memo);
        face.close();
        QVERIFY(!face.isVisible());
    }

    // Every question fits its operation and bound, the bound rounded half to
    // even, and the expected answer is its result.
    void operations_data() {
        QTest::addColumn<int>("operation");
        QTest::addColumn<QString>("bound");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("only"); // the one question the bound allows
        const char *names[] = {"add", "subtract", "multiply", "divide"};
        const char *ones[] = {"1+1=", "1-1=", "1×1="};
        for (int op = 0; op < 4; ++op) {
            if (op < 3)
                QTest::addRow("%s 1", names[op]) << op << "1" << 1 << QString::fromUtf8(ones[op]);
            for (const int n : {20, 32767})
                QTest::addRow("%s %d", names[op], n) << op << QString::number(n) << n << QString();
        }
        QTest::newRow("divide 2") << 3 << "2" << 2 << "4÷2=";
        QTest::newRow("divide 2.5 rounds to 2") << 3 << "2.5" << 2 << "4÷2=";
        QTest::newRow("add 1.4 rounds to 1") << 0 << "1.4" << 1 << "1+1=";
    }
    void operations() {
        QFETCH(int, operation);
        QFETCH(QString, bound);
        QFETCH(int, n);
        QFETCH(QString, only);
        FrmFace face;
        QVERIFY(showActive(face));
        face.comboTo()->setEditText(bound);
        QTest::mouseClick(face.optActive(operation), Qt::LeftButton);
        face.button("cmdBegin")->click();
        for (int i = 0; i < 30; ++i) {
            QCOMPARE(solve(face.txtQuestion()->text(), n, operation), face.expectedAnswer());
            if (!only.isEmpty())
                QCOMPARE(face.txtQuestion()->text(), only);
            answer(face, face.expectedAnswer());
        }
        QCOMPARE(face.rightCount(), 30);
        QVERIFY(messages_.messages.isEmpty());
    }

    // An empty answer counts nothing and shows a hint, which the timer clears
    // while running only. Paused, Enter, Esc and the close box do nothing. A
    // new operation replaces the question uncounted unless the quiz is idle.
    void pauseAndOptionChange() {
        FrmFace face;
        QVERIFY(showActive(face));
        face.button("cmdBegin")->click();
        press(face, Qt::Key_Return);
        QCOMPARE(labelText(face, "lblHint"), u"请输入答案..."_s);
        QTest::mouseClick(face.optActive(2), Qt::LeftButton);
        QCOMPARE(solve(face.txtQuestion()->text(), 9, 2), face.expectedAnswer());
        QCOMPARE(QApplication::focusWidget(), face.txtAnswer());

        press(face, Qt::Key_P, Qt::AltModifier);
        QCOMPARE(enabledButtons(face), kPaused);
        QCOMPARE(face.button("cmdPause")->caption(), u"暂停中..."_s);
        QTest::mouseClick(face.optActive(1), Qt::LeftButton);
        const QString question = face.txtQuestion()->text();
        QCOMPARE(solve(question, 9, 1), face.expectedAnswer());
        answer(face, face.expectedAnswer());
        press(face, Qt::Key_Escape);
        face.close();
        QTest::qWait(1300); // at least one tick while paused
        QCOMPARE(labelText(face, "lblHint"), u"请输入答案..."_s);
        QCOMPARE(face.txtQuestion()->text(), question);
        QCOMPARE(enabledButtons(face), kPaused);
        QVERIFY(face.isVisible());

        QTest::mouseClick(face.button("cmdPause"), Qt::LeftButton);
        QCOMPARE(enabledButtons(face), kRunning);
        QCOMPARE(face.button("cmdPause")->caption(), u"暂停[&P]"_s);
        QTRY_COMPARE_WITH_TIMEOUT(labelText(face, "lblHint"), QString(), 2500);
        face.close();
        QVERIFY(face.isVisible());
        // The answer typed while paused is judged after resuming.
        QTest::keyClick(face.txtAnswer(), Qt::Key_Return);
        QCOMPARE(face.totalCount(), 1);
        QCOMPARE(face.rightCount(), 1);

        face.button("cmdFinish")->click();
        const QString idleQuestion = face.txtQuestion()->text();
        QTest::mouseClick(face.optActive(3), Qt::LeftButton);
        QCOMPARE(face.txtQuestion()->text(), idleQuestion);
        face.button("cmdBegin")->click();
        QCOMPARE(solve(face.txtQuestion()->text(), 9, 3), face.expectedAnswer());
    }

    // A bad bound is refused, at Begin or when running, with a message that
    // names the allowed range; the question and the typed answer are kept.
    void badBound_data() {
        QTest::addColumn<bool>("running");
        QTest::addColumn<QString>("bound");
        QTest::addColumn<int>("operation");
        QTest::addColumn<QString>("range");
        QTest::newRow("letters") << false << "abc" << 1 << "1到32767";
        QTest::newRow("zero") << false << "0" << 2 << "1到32767";
        QTest::newRow("too large") << false << "32768" << 2 << "1到32767";
        QTest::newRow("division by 1") << false << "1" << 3 << "2到32767";
        QTest::newRow("running, words") << true << "很多" << 1 << "1到32767";
        QTest::newRow("running, division by 1") << true << "1" << 3 << "2到32767";
    }
    void badBound() {
        QFETCH(bool, running);
        QFETCH(QString, bound);
        QFETCH(int, operation);
        QFETCH(QString, range);
        FrmFace face;
        QVERIFY(showActive(face));
        if (running)
            face.button("cmdBegin")->click();
        const QString question = face.txtQuestion()->text();
        QTest::keyClicks(face.txtAnswer(), face.expectedAnswer());
        face.comboTo()->setEditText(bound);
        QTest::mouseClick(face.optActive(operation), Qt::LeftButton);
        face.button(running ? "cmdOK" : "cmdBegin")->click();
        if (running)
            face.button("cmdJump")->click();
        QCOMPARE(messages_.messages.size(), running ? 3 : 1);
        QVERIFY2(messages_.messages.last().contains(range), qPrintable(messages_.messages.last()));
        QCOMPARE(enabledButtons(face), running ? kRunning : kIdle);
        QCOMPARE(face.txtQuestion()->text(), question);
        QCOMPARE(face.txtAnswer()->text(), face.expectedAnswer());
        QCOMPARE(face.comboTo()->currentText(), bound);
        QCOMPARE(face.totalCount(), 0);
    }

    // Closed and opened again from the main window, the quiz shows the state
    // it was left in, and a second quiz continues the totals; unloaded, it
    // starts afresh.
    void reopenAndSecondQuiz() {
        FrmMain &main = frmMain();
        bool modal = false;
        QTimer::singleShot(0, this, [&] {
            FrmFace &face = frmFace();
            modal = face.isModal();
            QVERIFY(showActive(face));
            press(face, Qt::Key_B, Qt::AltModifier);
            answer(face, face.expectedAnswer());
            answer(face, u"x"_s);
            press(face, Qt::Key_Escape);
            press(face, Qt::Key_C, Qt::AltModifier);
        });
        main.button("cmdFace")->click();
        QVERIFY(modal);
        QVERIFY(!frmFace().isVisible());

        QStringList shown;
        QTimer::singleShot(0, this, [&] {
            FrmFace &face = frmFace();
            shown << labelText(face, "lblCaption") << labelText(face, "lblCent");
            face.button("cmdBegin")->click();
            shown << labelText(face, "lblCent") << labelText(face, "lblTotal");
            answer(face, face.expectedAnswer());
            shown << labelText(face, "lblCent") << face.listHistory()->item(2)->text().left(4);
            face.button("cmdFinish")->click();
            shown << labelText(face, "lblMemo");
            face.button("cmdClose")->click();
        });
        main.button("cmdFace")->click();
        QCOMPARE(shown,
                 (QStringList{u"总分:"_s, rate(50), u"100%"_s, u"2"_s, rate(100.0 * 2 / 3) + u'%',
                              u"3.  "_s, u"再不努力就不行了,及格，努力啊"_s}));

        unloadForm(FormId::Face);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(frmFace().totalCount(), 0);
    }
};

DRILLPAD_TEST_MAIN(TestFrmFace)
#include "tst_frm_face.moc"
