#include "common/fakes.h"
#include "common/test_main.h"

#include "controls/command_button.h"
#include "quiz/frm_face.h"
#include "quiz/quiz_recorder.h"
#include "record/practice_record.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>

#include <cstdio>
#include <cstdlib>

using namespace drillpad;
using namespace Qt::StringLiterals;
using drillpad::testing::RecordingMessageBoxes;

namespace {

// Set in the environment of the child that answers and is then killed: the
// record file it writes.
constexpr const char *kChildRecord = "DRILLPAD_TEST_QUIZ_CHILD";

constexpr int kAdd = 0, kSubtract = 1, kMultiply = 2, kDivide = 3;

// Starts a quiz of operation `op` with operands from..to.
void begin(FrmFace &face, int op, const QString &from, const QString &to) {
    face.optActive(op)->setChecked(true);
    face.comboFrom()->setEditText(from);
    face.comboTo()->setEditText(to);
    face.button("cmdBegin")->click();
}

// Answers the question on screen with `typed` ("%1" is the right answer),
// or skips it when `typed` is empty. Returns question, expected and typed.
QStringList answer(FrmFace &face, QString typed) {
    QStringList shown{face.txtQuestion()->text(), face.expectedAnswer()};
    if (typed.isEmpty()) {
        face.button("cmdJump")->click();
    } else {
        typed.replace(u"%1"_s, face.expectedAnswer());
        face.txtAnswer()->setText(typed);
        face.button("cmdOK")->click();
    }
    return shown << typed;
}

// The same three answers, as the record should hold them: right, wrong,
// skipped.
QList<QStringList> answerThree(FrmFace &face) {
    return {answer(face, u"%1"_s), answer(face, u"%10"_s), answer(face, QString())};
}

QStringList asRows(const QList<AnswerEntry> &answers) {
    QStringList rows;
    for (const AnswerEntry &a : answers)
        rows << QStringList{a.question, a.expected, a.typed, a.skipped ? u"skipped"_s : QString(),
                            a.right ? u"right"_s : QString()}
                    .join(u'|');
    return rows;
}

QStringList asRows(const QList<QStringList> &shown) {
    QStringList rows;
    for (const QStringList &s : shown)
        rows << QStringList{s[0], s[1], s[2], s[2].isEmpty() ? u"skipped"_s : QString(),
                            s[2] == s[1] ? u"right"_s : QString()}
                    .join(u'|');
    return rows;
}

// The child: three answers through the quiz window, reported on stdout, and
// then waiting to be killed.
int answerAndWait() {
    practiceRecord().open(qEnvironmentVariable(kChildRecord));
    FrmFace face;
    face.show();
    begin(face, kMultiply, u"0"_s, u"9"_s);
    for (const QStringList &shown : answerThree(face))
        std::printf("%s\n", qPrintable(shown.join(u'\t')));
    std::printf("answered\n");
    std::fflush(stdout);
    return QApplication::exec();
}

// The operands of a quiz question, or nothing.
std::optional<std::pair<int, int>> operandsOf(const QString &question) {
    static const QRegularExpression shape(u"^([0-9]+)[-+×÷]([0-9]+)=$"_s);
    const QRegularExpressionMatch m = shape.match(question);
    if (!m.hasMatch())
        return std::nullopt;
    return std::pair{m.captured(1).toInt(), m.captured(2).toInt()};
}

} // namespace

class TestQuizRecord : public QObject {
    Q_OBJECT
    RecordingMessageBoxes messages_;
    ScopedSeam<MessageBoxes> seam_{messages_};
    QTemporaryDir folder_;

private Q_SLOTS:
    void initTestCase() {
        if (qEnvironmentVariableIsSet(kChildRecord))
            std::exit(answerAndWait());
    }

    void init() {
        messages_.messages.clear();
        QVERIFY(practiceRecord().open(PracticeRecord::defaultPath()));
        QVERIFY(practiceRecord().clear());
    }

    // A quiz ended by killing the program keeps every answer judged before,
    // and shows as unfinished.
    void killedMidQuizKeepsItsAnswers() {
        QProcess child;
        const QString path = folder_.filePath(u"killed/drillpad.sqlite"_s);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kChildRecord), path);
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {});
        QByteArray out;
        while (!out.contains("answered\n") && child.waitForReadyRead(20000))
            out += child.readAllStandardOutput();
        QVERIFY2(out.contains("answered\n"), child.readAllStandardError().constData());
        child.kill();
        QVERIFY(child.waitForFinished());
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);

        QList<QStringList> shown; // the lines of the answers among the test's own
        for (const QString &line : QString::fromUtf8(out).split(u'\n')) {
            if (line.count(u'\t') == 2)
                shown << line.split(u'\t');
        }
        QCOMPARE(shown.size(), 3);
        PracticeRecord record;
        QVERIFY(record.open(path));
        const QList<QuizSummary> quizzes = record.quizzes();
        QCOMPARE(quizzes.size(), 1);
        QVERIFY(!quizzes[0].finished && quizzes[0].score == -1);
        QCOMPARE(quizzes[0].answered * 10 + quizzes[0].right, 31);
        QCOMPARE(asRows(record.answers(quizzes[0].id)), asRows(shown));
    }

    // Each quiz is kept with its own counts and score, operation and range,
    // while the window's totals run on; pauses do not count as time.
    void quizzesAreRecorded() {
        FrmFace face;
        begin(face, kMultiply, u"3"_s, u"5"_s);
        const QList<QStringList> first = answerThree(face);
        face.button("cmdPause")->click();
        face.button("cmdPause")->click();
        face.button("cmdFinish")->click();
        begin(face, kAdd, u"0"_s, u"9"_s);
        answer(face, u"%1"_s);
        face.button("cmdFinish")->click();

        const QList<QuizSummary> quizzes = practiceRecord().quizzes();
        QCOMPARE(quizzes.size(), 2);
        const QuizSummary &older = quizzes[1], &newer = quizzes[0];
        QCOMPARE(older.operation + u' ' + newer.operation, u"* +"_s);
        QCOMPARE(QList<int>({older.from, older.to, older.answered, older.right, older.score}),
                 QList<int>({3, 5, 3, 1, 33}));
        QCOMPARE(QList<int>({newer.from, newer.to, newer.answered, newer.right, newer.score}),
                 QList<int>({0, 9, 1, 1, 100}));
        QVERIFY(older.finished && newer.finished && older.kind == QuizKind::Normal);
        QCOMPARE(face.totalCount(), 4);
        QCOMPARE(asRows(practiceRecord().answers(older.id)), asRows(first));
        QVERIFY(older.secondsUsed >= 0 && older.secondsUsed < 60);
        QVERIFY(messages_.messages.isEmpty());
    }

    // Operands come from max(1, 从) to 到, divisor and quotient from
    // max(2, 从); a 从 that is not a whole number from 0 to 到 is refused at
    // Begin with a message, and the focus goes to it.
    void fromBox_data() {
        QTest::addColumn<int>("op");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<int>("lowest"); // 0: refused
        QTest::addColumn<QString>("refusal");
        QTest::newRow("add 5 to 9") << kAdd << "5"
                                    << "9" << 5 << "";
        QTest::newRow("subtract 7 to 7") << kSubtract << "7"
                                         << "7" << 7 << "";
        QTest::newRow("multiply 2.5 rounds to 2") << kMultiply << "2.5"
                                                  << "3" << 2 << "";
        QTest::newRow("divide 0 to 6") << kDivide << "0"
                                       << "6" << 2 << "";
        QTest::newRow("divide 4 to 4") << kDivide << "4"
                                       << "4" << 4 << "";
        QTest::newRow("above 到") << kAdd << "10"
                                  << "9" << 0 << "请在“从”中输入0到9之间的数";
        QTest::newRow("negative") << kAdd << "-1"
                                  << "9" << 0 << "0到9之间";
        QTest::newRow("not a number") << kDivide << "abc"
                                      << "20" << 0 << "0到20之间";
        QTest::newRow("到 checked first") << kDivide << "abc"
                                          << "1" << 0 << "除法题请在“到”";
    }
    void fromBox() {
        QFETCH(int, op);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(int, lowest);
        QFETCH(QString, refusal);
        FrmFace face;
        face.show();
        QApplication::setActiveWindow(&face);
        QVERIFY(QTest::qWaitForWindowActive(&face));
        begin(face, op, from, to);
        QCOMPARE(face.button("cmdBegin")->isEnabled(), lowest == 0);
        if (!lowest) {
            QCOMPARE(messages_.messages.size(), 1);
            QVERIFY2(messages_.messages[0].contains(refusal), qPrintable(messages_.messages[0]));
            QCOMPARE(QApplication::focusWidget(),
                     refusal.contains(u"“到”"_s) ? face.comboTo() : face.comboFrom());
            return;
        }
        const int highest = to.toInt();
        for (int i = 0; i < 30; ++i) {
            const auto operands = operandsOf(face.txtQuestion()->text());
            QVERIFY2(operands, qPrintable(face.txtQuestion()->text()));
            const auto [a, b] = *operands;
            // The divisor and the answer are the two factors.
            const int other = op == kDivide ? a / b : a;
            for (int value : {other, b})
                QVERIFY2(value >= lowest && value <= highest,
                         qPrintable(face.txtQuestion()->text()));
            answer(face, u"%1"_s);
        }
        QCOMPARE(face.rightCount(), 30);
    }

    // A redo asks exactly the given questions, each once and in a shuffled
    // order, keeps them while the operation changes, finishes by itself after
    // the last, and is recorded as a redo; then Begin draws as usual again.
    void redoAsksExactlyTheGivenQuestions() {
        FrmFace face;
        begin(face, kMultiply, u"0"_s, u"9"_s);
        for (int i = 0; i < 6; ++i)
            answer(face, i % 2 ? u"%1"_s : (i % 4 ? u"%10"_s : QString()));
        face.button("cmdFinish")->click();
        const qint64 quiz = practiceRecord().quizzes().value(0).id;
        QList<AnswerEntry> wrong = practiceRecord().wrongAndSkipped({quiz});
        QVERIFY(!wrong.isEmpty() && wrong.size() <= 3);
        QStringList expected;
        for (const AnswerEntry &e : wrong)
            expected << e.question + e.expected;
        wrong << wrong.first(); // asked once all the same
        wrong << AnswerEntry{0, 0, u"81÷9="_s, u"9"_s, {}, false, false, 0};
        expected << u"81÷9=9"_s;

        QVERIFY(!face.startRedo({}));
        QVERIFY(face.startRedo(wrong));
        QStringList asked;
        while (face.redoing() && asked.size() <= expected.size()) {
            const QString question = face.txtQuestion()->text();
            asked << question + face.expectedAnswer();
            face.optActive(kAdd)->setChecked(true);
            QCOMPARE(face.txtQuestion()->text(), question);
            answer(face, asked.size() == 1 ? u"%1"_s : u"x"_s);
        }
        QCOMPARE(QSet<QString>(asked.cbegin(), asked.cend()),
                 QSet<QString>(expected.cbegin(), expected.cend()));
        QCOMPARE(asked.size(), expected.size());
        QVERIFY(face.button("cmdBegin")->isEnabled() && !face.button("cmdOK")->isEnabled());
        QCOMPARE(face.label("lblCaption")->text(), u"总分:"_s);

        const QuizSummary redo = practiceRecord().quizzes().value(0);
        QVERIFY(redo.kind == QuizKind::Redo && redo.finished);
        QCOMPARE(redo.answered * 10 + redo.right, static_cast<int>(expected.size()) * 10 + 1);
        QCOMPARE(redo.operation, QString()); // × and ÷ mixed
        begin(face, kAdd, u"0"_s, u"1"_s);
        QCOMPARE(face.txtQuestion()->text(), u"1+1="_s);
    }

    // A record that cannot be kept never stops the quiz: it runs as usual
    // and one message says why; a damaged file is moved aside and a new one
    // started.
    void badRecordDoesNotStopTheQuiz_data() {
        QTest::addColumn<bool>("damaged");
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder cannot be made") << false << "练习记录没有保存";
        QTest::newRow("damaged file") << true << "已改名为“drillpad-damaged-";
    }
    void badRecordDoesNotStopTheQuiz() {
        QFETCH(bool, damaged);
        QFETCH(QString, reason);
        const QString folder = folder_.filePath(QString::number(damaged));
        QDir().mkpath(folder);
        QString path = folder + u"/drillpad.sqlite"_s;
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(3000, '\x7f')));
        file.close();
        if (!damaged)
            path += u"/drillpad.sqlite"_s; // inside a plain file
        practiceRecord().open(path);

        FrmFace face;
        for (int quiz = 0; quiz < 2; ++quiz) {
            begin(face, kAdd, u"0"_s, u"9"_s);
            answerThree(face);
            face.button("cmdFinish")->click();
        }
        QCOMPARE(face.totalCount() * 10 + face.rightCount(), 62);
        QCOMPARE(messages_.messages.size(), 1);
        QVERIFY2(messages_.messages[0].contains(reason), qPrintable(messages_.messages[0]));
        QCOMPARE(practiceRecord().quizzes().size(), damaged ? 2 : 0);
        QCOMPARE(QDir(folder).entryList({u"drillpad-damaged-*.sqlite"_s}).size(), damaged ? 1 : 0);
    }

    // Time on a question and on the quiz leaves pauses out; a normal quiz
    // whose operation or range changes keeps no single operation and the
    // widest range.
    void recorderTiming() {
        PracticeRecord record;
        QVERIFY(record.open(folder_.filePath(u"timing/drillpad.sqlite"_s)));
        qint64 now = 0;
        QStringList reports;
        quiz::QuizRecorder recorder([&](const QString &p) { reports << p; }, &record,
                                    [&] { return now; });
        recorder.begin(QuizKind::Normal, u"+"_s, 1, 9);
        recorder.questionShown();
        now = 2000;
        recorder.answered(u"3+4="_s, u"7"_s, u"7"_s, false, true, u"+"_s, 1, 9);
        recorder.questionShown();
        now = 2500;
        recorder.pause();
        recorder.pause(); // a second pause changes nothing
        now = 9500;
        recorder.resume();
        now = 10000;
        recorder.answered(u"9-2="_s, u"7"_s, u"6"_s, false, false, u"-"_s, 0, 20);
        now = 10250;
        recorder.finish();

        const QuizSummary quiz = record.quizzes().value(0);
        QCOMPARE(quiz.secondsUsed, 3.25);
        QCOMPARE(quiz.operation + u' ' + QString::number(quiz.from) + u' ' +
                     QString::number(quiz.to),
                 u" 0 20"_s);
        QList<double> seconds;
        for (const AnswerEntry &a : record.answers(quiz.id))
            seconds << a.seconds;
        QCOMPARE(seconds, QList<double>({2.0, 1.0}));
        QVERIFY(reports.isEmpty());
    }
};

DRILLPAD_TEST_MAIN(TestQuizRecord)

#include "tst_quiz_record.moc"
