#include "common/fakes.h"
#include "common/question_oracle.h"
#include "common/test_main.h"

#include "app/forms_registry.h"
#include "controls/command_button.h"
#include "mainwin/frm_main.h"
#include "question/answer_key.h"
#include "quiz/frm_face.h"
#include "quiz/practice_questions.h"
#include "record/practice_record.h"

#include <QAccessible>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTimer>

#include <cmath>

using namespace drillpad;
using namespace Qt::StringLiterals;
using namespace drillpad::testing;

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

// The answer a question on screen asks for, or "" if it does not fit op and
// its operands (the divisor and the quotient for ÷) from lo to n.
QString solve(const QString &question, int lo, int n, int op) {
    static const QRegularExpression shape(u"^([1-9][0-9]*)(.)([1-9][0-9]*)=$"_s);
    const QRegularExpressionMatch m = shape.match(question);
    const qint64 a = m.captured(1).toLongLong(), b = std::max(m.captured(3).toLongLong(), 1LL);
    const qint64 result = QList<qint64>{a + b, a - b, a * b, a / b}[op];
    const qint64 first = op == 3 ? result : a;
    const bool fits = m.hasMatch() && m.captured(2) == u"+-×÷"_s.at(op) && b >= lo && b <= n &&
                      first >= lo && first <= n && (op == 3 ? a % b == 0 : result >= 0);
    return fits ? QString::number(result) : QString();
}

// What a screen reader announces for the labelled controls of a window, one
// "caption name" line per caption that labels a control (a frame's title
// included), followed by the value of a box that has one besides its name.
QStringList announced(QWidget &window) {
    QStringList lines;
    QList<QAccessibleInterface *> pending{QAccessible::queryAccessibleInterface(&window)};
    while (!pending.isEmpty()) {
        QAccessibleInterface *node = pending.takeFirst();
        for (int i = 0; i < node->childCount(); ++i)
            pending << node->child(i);
        QString read = node->text(QAccessible::Name);
        if (node->role() == QAccessible::ComboBox)
            read += u' ' + node->text(QAccessible::Value);
        for (const auto &[caption, relation] : node->relations(QAccessible::Label))
            lines << caption->text(QAccessible::Name) + u' ' + read;
    }
    return lines;
}

// Additions asking for a missing addend, and divisions with a remainder.
SheetSettings blanksAndRemainders(int additions, int divisions) {
    SheetSettings settings;
    TypeSettings &add = settings[QuestionType::Add];
    add = {true, 0, 9, additions};
    add.askFor = AskFor::Unknown;
    TypeSettings &div = settings[QuestionType::Devition];
    div = {divisions > 0, 0, 9, divisions};
    div.remainder = Remainder::Required;
    return settings;
}

} // namespace

Q_DECLARE_METATYPE(drillpad::SheetSettings)

class TestFrmFace : public QObject {
    Q_OBJECT
    RecordingMessageBoxes messages_;
    ScopedSeam<MessageBoxes> seam_{messages_};

private Q_SLOTS:
    void init() { messages_.messages.clear(); }

    // Every question fits its operation and range, operands from max(1, 从)
    // (divisor and quotient from max(2, 从)) to 到, both rounded half to
    // even, and the expected answer is its result. A bad bound is refused at
    // Begin (到 first) with a message naming the allowed range; the focus goes
    // to the box, its text selected.
    void bounds_data() {
        QTest::addColumn<int>("operation");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("only"); // the one question allowed, or the refusal
        QTest::newRow("add 9 to 9") << 0 << u"9"_s << u"9"_s << u"9+9="_s;
        QTest::newRow("full-width 9 to 12") << 0 << u"\uFF19"_s << u"\uFF11\uFF12"_s << u""_s;
        QTest::newRow("subtract 1") << 1 << u"0"_s << u"1"_s << u"1-1="_s;
        QTest::newRow("multiply 2.5 to 3: from 2") << 2 << u"2.5"_s << u"3"_s << u""_s;
        QTest::newRow("multiply 32767") << 2 << u"0"_s << u"32767"_s << u""_s;
        QTest::newRow("divide 32767") << 3 << u"0"_s << u"32767"_s << u""_s;
        QTest::newRow("divide 2.5 rounds to 2") << 3 << u"0"_s << u"2.5"_s << u"4÷2="_s;
        QTest::newRow("too large") << 2 << u"0"_s << u"32768"_s << u"请在“到”中输入1到32767"_s;
        QTest::newRow("division by 1, 到 checked first")
            << 3 << u"abc"_s << u"1"_s << u"除法题请在“到”中输入2到32767"_s;
        QTest::newRow("从 above 到") << 0 << u"10"_s << u"9"_s << u"请在“从”中输入0到9之间的数"_s;
        QTest::newRow("从 not a number")
            << 3 << u"abc"_s << u"20"_s << u"请在“从”中输入0到20之间"_s;
    }
    void bounds() {
        QFETCH(int, operation);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, only);
        const bool refused = only.contains(u"请在"_s);
        const auto number = [](QString text) {
            for (QChar &c : text) {
                if (c >= u'\uFF10' && c <= u'\uFF19')
                    c = QChar(c.unicode() - u'\uFF10' + u'0');
            }
            return int(std::lrint(text.toDouble()));
        };
        const int lo = std::max(number(from), operation == 3 ? 2 : 1);
        const int n = number(to);
        FrmFace face;
        QVERIFY(showActive(face));
        face.comboFrom()->setEditText(from);
        face.comboTo()->setEditText(to);
        QTest::mouseClick(face.optActive(operation), Qt::LeftButton);
        face.button("cmdBegin")->click();
        QCOMPARE(enabledButtons(face), refused ? kIdle : kRunning);
        for (int i = 0; !refused && i < 30; ++i) {
            QCOMPARE(solve(face.txtQuestion()->text(), lo, n, operation), face.expectedAnswer());
            QVERIFY(only.isEmpty() || face.txtQuestion()->text() == only);
            answer(face, face.expectedAnswer());
        }
        QCOMPARE(face.rightCount(), refused ? 0 : 30);
        QCOMPARE(messages_.messages.size(), refused ? 1 : 0);
        if (refused) { // the next keys mend the bound
            QVERIFY2(messages_.messages[0].contains(only), qPrintable(messages_.messages[0]));
            QComboBox *box = only.contains(u"“到”"_s) ? face.comboTo() : face.comboFrom();
            QCOMPARE(QApplication::focusWidget(), box);
            QCOMPARE(box->lineEdit()->selectedText(), box->currentText());
        }
    }

    // The answer is compared with the expected one as text, full-width digits and
    // blanks around it aside, and kept exactly as typed in the history and the
    // record; Enter judges wherever the focus is and leaves it, cleared, in the
    // answer box. A screen reader reads each result with its caption, "正确率:
    // 66.67%", and the range boxes by their name and value with their own
    // captions as well as the frame's title.
    void judgingAndResultsForScreenReaders() {
        FrmFace face;
        QVERIFY(showActive(face));
        press(Qt::Key_B, Qt::AltModifier);
        QStringList history, typedTexts;
        for (const auto &[typed, focus, right] : {std::tuple{u"%1"_s, "txtAnswer", true},
                                                  {u"0%1"_s, "txtAnswer", false},
                                                  {u"\u3000%2 "_s, "comboTo", true}}) {
            QString fullWidth = face.expectedAnswer();
            for (QChar &digit : fullWidth)
                digit = QChar(char16_t(digit.unicode() - u'0' + u'\uFF10'));
            const QString text =
                QString(typed).replace(u"%1"_s, face.expectedAnswer()).replace(u"%2"_s, fullWidth);
            typedTexts << text;
            history << u"%1.  %2%3       %4"_s.arg(history.size() + 1)
                           .arg(face.txtQuestion()->text(), text, right ? u"√"_s : u"×"_s);
            // An input method hands over what it composed as one commit.
            QInputMethodEvent commit;
            commit.setCommitString(text);
            QApplication::sendEvent(face.txtAnswer(), &commit);
            face.findChild<QWidget *>(focus)->setFocus();
            press(Qt::Key_Return);
            QVERIFY(face.txtAnswer()->text().isEmpty() &&
                    QApplication::focusWidget() == face.txtAnswer());
        }
        QCOMPARE(face.listHistory()->count(), history.size());
        for (int i = 0; i < history.size(); ++i)
            QCOMPARE(face.listHistory()->item(i)->text(), history[i]);
        const std::optional<QList<QuizSummary>> quizzes = practiceRecord().quizzes();
        QVERIFY(quizzes && !quizzes->isEmpty()); // newest first
        const QList<AnswerEntry> answers =
            practiceRecord().answers(quizzes->first().id).value_or(QList<AnswerEntry>());
        QStringList recorded;
        for (const AnswerEntry &entry : answers)
            recorded << entry.typed;
        QCOMPARE(recorded, typedTexts);
        const QStringList running = announced(face);
        for (const QString &line :
             {u"共做了: 3"_s, u"做对了: 2"_s, u"正确率: "_s + rate(200.0 / 3) + u'%',
              u"评语及建议: ..."_s, u"从 从 0"_s, u"到 到 9"_s, u"设置题型及范围 到 9"_s})
            QVERIFY2(running.contains(line), qPrintable(line + u" in "_s + running.join(u", ")));
        QAccessibleInterface *hint = QAccessible::queryAccessibleInterface(face.label("lblHint"));
        answer(face, QString());
        QCOMPARE(hint->text(QAccessible::Name) + hint->text(QAccessible::Description),
                 u"请输入答案...提示"_s);

        face.button("cmdFinish")->click();
        const QStringList finished = announced(face);
        for (const QString &line :
             {u"总分: "_s + rate(200.0 / 3), u"评语及建议: "_s + face.label("lblMemo")->text()})
            QVERIFY2(finished.contains(line), qPrintable(line + u" in "_s + finished.join(u", ")));
    }

    // With the keyboard alone: opened modally on Begin, Enter begins, an arrow key
    // changes the operation and leaves the focus for the answer, Alt+P pauses, Enter
    // resumes into the answer box and judges, and the keypad's Enter clicks a focused
    // button. Reopened, the window keeps its state and totals; unloaded, it starts afresh.
    void keyboardOnlyAndReopen() {
        QStringList seen;
        QTimer::singleShot(0, this, [&] {
            // No test macro returns early in here: the window must close again.
            FrmFace &face = frmFace();
            showActive(face);
            const auto focus = [] {
                QWidget *widget = QApplication::focusWidget();
                return widget ? widget->objectName() : u"none"_s;
            };
            seen << (face.isModal() ? u"modal "_s : u"modeless "_s) + focus();
            press(Qt::Key_Return);
            seen << enabledButtons(face) << focus();
            for (int tabs = 0; tabs < 10 && !focus().startsWith(u"optActive"_s); ++tabs)
                press(Qt::Key_Tab);
            seen << focus();
            press(Qt::Key_Right);
            const bool settled = QTest::qWaitFor([&] { return focus() == u"txtAnswer"_s; });
            seen << (settled ? focus() : u"stayed in "_s + focus())
                 << QString(face.txtQuestion()->text().at(1)) << QString::number(face.totalCount());
            press(Qt::Key_P, Qt::AltModifier);
            seen << focus();
            press(Qt::Key_Return);
            seen << enabledButtons(face) << focus();
            QTest::keyClicks(QApplication::focusWidget(), face.expectedAnswer());
            press(Qt::Key_Enter, Qt::KeypadModifier);
            seen << face.label("lblRight")->text();
            press(Qt::Key_Tab, Qt::ShiftModifier);
            press(Qt::Key_Tab, Qt::ShiftModifier);
            seen << focus();
            press(Qt::Key_Enter, Qt::KeypadModifier);
            const QListWidgetItem *skipped = face.listHistory()->item(1);
            seen << (skipped ? skipped->text().section(u'=', 1).trimmed() : u"not judged"_s);
            press(Qt::Key_Escape);
            press(Qt::Key_C, Qt::AltModifier);
            if (face.isVisible()) // stuck in a quiz
                face.done(QDialog::Rejected);
        });
        frmMain().button("cmdFace")->click();
        QCOMPARE(seen,
                 (QStringList{u"modal cmdBegin"_s, kRunning, u"txtAnswer"_s, u"optActive(0)"_s,
                              u"txtAnswer"_s, u"-"_s, u"0"_s, u"cmdPause"_s, kRunning,
                              u"txtAnswer"_s, u"1"_s, u"cmdJump"_s, u"此题跳过       ×"_s}));
        seen.clear();
        QTimer::singleShot(0, this, [&] {
            FrmFace &face = frmFace();
            seen << face.label("lblCaption")->text() << face.label("lblCent")->text();
            face.button("cmdBegin")->click();
            answer(face, face.expectedAnswer());
            seen << face.label("lblCent")->text() << face.listHistory()->item(2)->text().left(4);
            face.button("cmdFinish")->click();
            seen << face.label("lblMemo")->text();
            face.button("cmdClose")->click();
        });
        frmMain().button("cmdFace")->click();
        QCOMPARE(seen, (QStringList{u"总分:"_s, rate(50), rate(100.0 * 2 / 3) + u'%', u"3.  "_s,
                                    u"再不努力就不行了,及格，努力啊"_s}));
        unloadForm(FormId::Face);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(frmFace().totalCount(), 0);
    }

    // An empty quiz scores 100%. Running, a bad bound is refused by a new operation
    // and by OK, keeping question and answer. Paused, Enter, Esc and the close box do
    // nothing. Esc finishes; then Enter judges nothing and a new operation waits.
    void runningPausedAndIdle() {
        FrmFace face;
        QVERIFY(showActive(face));
        face.button("cmdBegin")->click();
        face.button("cmdFinish")->click();
        QCOMPARE(face.label("lblCent")->text() + face.label("lblMemo")->text(),
                 u"100%本软件会帮你学好数学"_s);
        press(Qt::Key_B, Qt::AltModifier);
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
        QVERIFY(enabledButtons(face) == kPaused && face.isVisible() && face.totalCount() == 0);
        QTest::mouseClick(face.button("cmdPause"), Qt::LeftButton);
        QTest::keyClick(face.txtAnswer(), Qt::Key_Return);
        QCOMPARE(face.rightCount(), 1);
        press(Qt::Key_Escape);
        answer(face, u"1"_s);
        QCOMPARE(enabledButtons(face) + face.label("lblTotal")->text(), kIdle + u'1');
        const QString idleQuestion = face.txtQuestion()->text();
        QTest::mouseClick(face.optActive(1), Qt::LeftButton);
        QCOMPARE(face.txtQuestion()->text(), idleQuestion);
    }

    void practiceAsksTheSheetsQuestions() {
        const SheetSettings settings = blanksAndRemainders(30, 20);
        const QList<quiz::QuizQuestion> questions = quiz::practiceQuestions(settings);
        QCOMPARE(questions.size(), 50);
        int blanks = 0;
        for (const quiz::QuizQuestion &question : questions) {
            const std::optional<Read> read = readQuestion(question.text);
            QVERIFY2(read, qPrintable(question.text));
            const bool addition = read->op == u'+';
            QString why;
            QVERIFY2(
                meets(*read, settings[addition ? QuestionType::Add : QuestionType::Devition], why),
                qPrintable(question.text + u' ' + why));
            // The answer: the missing addend, or the quotient and remainder.
            const QString expected =
                addition ? QString::number(read->blank == 1 ? read->first : read->second)
                         : u"%1……%2"_s.arg(read->result).arg(read->remainder);
            QCOMPARE(question.answer, expected);
            blanks += read->blank != 0 ? 1 : 0;
        }
        QCOMPARE(blanks, 30);
        QCOMPARE(quiz::practiceProblem(settings), std::nullopt);
        QVERIFY(quiz::practiceProblem(SheetSettings())->contains(u"选择出题类型"_s));
    }

    // A blank question is judged on the missing number, and kept as asked.
    void quizJudgesABlankOnTheMissingNumber_data() {
        QTest::addColumn<SheetSettings>("settings");
        QTest::newRow("additions, (　)") << blanksAndRemainders(4, 0);
        SheetSettings mixed;
        mixed[QuestionType::Mix] = {true, 0, 20, 4};
        mixed[QuestionType::Mix].brackets = true;
        mixed[QuestionType::Mix].askFor = AskFor::Unknown;
        mixed.blank = BlankStyle::Box;
        QTest::newRow("mixed with brackets, □") << mixed;
    }
    void quizJudgesABlankOnTheMissingNumber() {
        QFETCH(SheetSettings, settings);
        FrmFace face;
        QVERIFY(showActive(face));
        QVERIFY(face.startPractice(settings));
        const QString blank = settings.blank == BlankStyle::Box ? kBox : kParen;
        QStringList asked;
        for (int i = 0; i < 4; ++i) {
            const QString question = face.txtQuestion()->text();
            asked << question;
            // The number the answer key writes in the blank.
            const qsizetype at = question.indexOf(blank);
            QVERIFY2(at >= 0 && question.count(blank) == 1, qPrintable(question));
            const QString filled = makeAnswerKey({question}).lines.at(1).text;
            QString missing;
            for (qsizetype c = at + (blank == kParen); filled.at(c).isDigit(); ++c)
                missing += filled.at(c);
            QVERIFY2(!missing.isEmpty(), qPrintable(filled));
            QTest::keyClicks(face.txtAnswer(),
                             i == 0 ? QString::number(missing.toLongLong() + 1) : missing);
            QTest::keyClick(face.txtAnswer(), Qt::Key_Return);
        }
        QCOMPARE(face.totalCount(), 4);
        QCOMPARE(face.rightCount(), 3);
        QVERIFY(face.button("cmdBegin")->isEnabled()); // finished by itself
        const QList<AnswerEntry> recorded = practiceRecord()
                                                .answers(practiceRecord().quizzes()->value(0).id)
                                                .value_or(QList<AnswerEntry>());
        QCOMPARE(recorded.size(), 4);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(recorded[i].question, asked[i]);
    }

    void settingsWithoutQuestionsStartNothing() {
        FrmFace face;
        SheetSettings settings = blanksAndRemainders(5, 0);
        settings[QuestionType::Add].resultLowest = 19; // above 9+9
        QVERIFY(!face.startPractice(settings));
        QCOMPARE(messages_.messages.size(), 1);
        QVERIFY(messages_.messages[0].contains(u"“和的范围”"_s));
        QVERIFY(face.button("cmdBegin")->isEnabled());
    }
};

DRILLPAD_TEST_MAIN(TestFrmFace)
#include "tst_frm_face.moc"
