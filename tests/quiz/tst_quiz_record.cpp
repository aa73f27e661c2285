#include "common/chi_square.h"
#include "common/fakes.h"
#include "common/small_disk.h"
#include "common/test_main.h"

#include "controls/command_button.h"
#include "quiz/frm_face.h"
#include "quiz/quiz_logic.h"
#include "quiz/quiz_recorder.h"
#include "record/practice_record.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QRadioButton>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <cstdio>
#include <cstdlib>

using namespace drillpad;
using namespace Qt::StringLiterals;
using drillpad::testing::RecordingMessageBoxes;

namespace {

// Set in the environment of the child that answers and is then killed: the
// record file it writes.
constexpr const char *kChildRecord = "DRILLPAD_TEST_QUIZ_CHILD";

constexpr int kAdd = 0, kMultiply = 2;

// Starts a quiz of operation `op` with operands from..to.
void begin(FrmFace &face, int op, const QString &from, const QString &to) {
    face.optActive(op)->setChecked(true);
    face.comboFrom()->setEditText(from);
    face.comboTo()->setEditText(to);
    face.button("cmdBegin")->click();
}

// An answer as the record should hold it, in one line.
QString row(const QString &question, const QString &expected, const QString &typed, bool skipped,
            bool right) {
    return QStringList{question, expected, typed, skipped ? u"skipped"_s : QString(),
                       right ? u"right"_s : QString()}
        .join(u'|');
}

// A quiz as the record holds it, in one line.
QString summaryOf(const QuizSummary &q) {
    const auto n = [](int i) { return QString::number(i); };
    return QStringList{q.operation,
                       n(q.from) + u'~' + n(q.to),
                       n(q.answered) + u'/' + n(q.right),
                       n(q.score),
                       q.finished ? u"finished"_s : u"open"_s,
                       q.kind == QuizKind::Redo ? u"redo"_s : QString()}
        .join(u' ');
}

QStringList rowsOf(const QList<AnswerEntry> &answers) {
    QStringList rows;
    for (const AnswerEntry &a : answers)
        rows << row(a.question, a.expected, a.typed, a.skipped, a.right);
    return rows;
}

// Answers the question on screen with `typed` ("%1" is the right answer),
// or skips it when `typed` is empty. Returns the answer as a row.
QString answer(FrmFace &face, QString typed) {
    const QString question = face.txtQuestion()->text(), expected = face.expectedAnswer();
    typed.replace(u"%1"_s, expected);
    face.txtAnswer()->setText(typed);
    face.button(typed.isEmpty() ? "cmdJump" : "cmdOK")->click();
    return row(question, expected, typed, typed.isEmpty(), typed == expected);
}

// The child: three answers through the quiz window (right, wrong, skipped),
// reported on stdout, then waiting to be killed.
int answerAndWait() {
    practiceRecord().open(qEnvironmentVariable(kChildRecord));
    FrmFace face;
    face.show();
    begin(face, kMultiply, u"0"_s, u"9"_s);
    for (const QString &typed : {u"%1"_s, u"%10"_s, QString()})
        std::printf("%s\n", qPrintable(answer(face, typed)));
    std::printf("answered\n");
    std::fflush(stdout);
    return QApplication::exec();
}

// A recorder on its own record, reporting problems to `reports`, its
// clock set by hand.
struct RecorderOnFile {
    PracticeRecord record;
    QStringList reports;
    qint64 now = 0;
    quiz::QuizRecorder recorder{[this](const QString &p) { reports << p; }, &record,
                                [this] { return now; }};
};

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

        QStringList shown = QString::fromUtf8(out).split(u'\n'); // the answers among the test's own
        shown.removeIf([](const QString &line) { return line.count(u'|') != 4; });
        QCOMPARE(shown.size(), 3);
        PracticeRecord record;
        QVERIFY(record.open(path));
        const QList<QuizSummary> quizzes = record.quizzes().value_or(QList<QuizSummary>());
        QCOMPARE(quizzes.size(), 1);
        QCOMPARE(summaryOf(quizzes[0]), u"* 0~9 3/1 -1 open "_s);
        QCOMPARE(rowsOf(record.answers(quizzes[0].id).value_or(QList<AnswerEntry>())), shown);
    }

    // A redo asks exactly the given questions, each once and in a shuffled
    // order, keeps them while the operation changes, finishes by itself after
    // the last, and is recorded as a redo; then Begin draws as usual again. The
    // record keeps a question as drawn even when its box was edited; the
    // history line reads the box.
    void redoAsksExactlyTheGivenQuestions() {
        FrmFace face;
        const auto entry = [](const QString &question, const QString &expected) {
            return AnswerEntry{1, 1, question, expected, {}, true, false, 0, {}};
        };
        const QList<AnswerEntry> wrong{entry(u"6×7="_s, u"42"_s), entry(u"8×9="_s, u"72"_s),
                                       entry(u"6×7="_s, u"42"_s), entry(u"81÷9="_s, u"9"_s)};
        const QSet<QString> expected{u"6×7=42"_s, u"8×9=72"_s, u"81÷9=9"_s}; // each once
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
        QCOMPARE(QSet<QString>(asked.cbegin(), asked.cend()), expected);
        QCOMPARE(asked.size(), expected.size());
        QVERIFY(face.button("cmdBegin")->isEnabled() && !face.button("cmdOK")->isEnabled());
        QCOMPARE(face.label("lblCaption")->text(), u"总分:"_s);
        // × and ÷ mixed: no single operation.
        QCOMPARE(summaryOf(practiceRecord().quizzes()->value(0)), u" 0~0 3/1 33 finished redo"_s);
        begin(face, kAdd, u"0"_s, u"1"_s);
        QCOMPARE(face.txtQuestion()->text(), u"1+1="_s);
        face.txtQuestion()->setText(u"x"_s);
        answer(face, u"2"_s);
        face.button("cmdFinish")->click();
        QListWidget *history = face.listHistory();
        QCOMPARE(history->item(history->count() - 1)->text(),
                 quiz::historyLine(history->count(), u"x"_s, u"2"_s, true));
        const QuizSummary quiz = practiceRecord().quizzes()->value(0);
        QCOMPARE(rowsOf(practiceRecord().answers(quiz.id).value_or(QList<AnswerEntry>())),
                 QStringList{row(u"1+1="_s, u"2"_s, u"2"_s, false, true)});
    }

    // Trouble never costs an answer: what cannot be written waits and is
    // written once the file is usable, so every quiz's totals equal its
    // answers; each episode is told once. Steps: b begin, a answer (odd ones
    // right), f finish, L/U a second connection takes/gives up the write
    // lock, F/E the disk fills/frees, w the retry timer fires.
    void troubleCostsNothing_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QStringList>("reasons"); // one per message
        QTest::addColumn<QStringList>("quizzes"); // oldest first
        const QString held = u"正被另一个程序占用"_s;
        QTest::newRow("lock held across answers")
            << "b a L a a a U a f" << QStringList{held} << QStringList{u"+ 1~9 5/3 60 finished "_s};
        QTest::newRow("quiz begun and ended during a lock")
            << "b a f L b a a f U w" << QStringList{held}
            << QStringList{u"+ 1~9 1/1 100 finished "_s, u"+ 1~9 2/1 50 finished "_s};
        QTest::newRow("two episodes, two messages")
            << "b a L a U a L a U f" << QStringList{held, held}
            << QStringList{u"+ 1~9 4/2 50 finished "_s};
        QTest::newRow("lock still held at the end: written later")
            << "b a L a f w U w" << QStringList{held} << QStringList{u"+ 1~9 2/1 50 finished "_s};
        QTest::newRow("quiz ended without answers is not kept")
            << "b f b a f b f" << QStringList{} << QStringList{u"+ 1~9 1/1 100 finished "_s};
        // c: the quiz window closes; x: the program ends (the lock then goes).
        QTest::newRow("lock held when the window closes, gone later")
            << "b a L a f c U w" << QStringList{held, u"还有 1 道题的答案没有保存"_s}
            << QStringList{u"+ 1~9 2/1 50 finished "_s};
        QTest::newRow("lock held at the close and at the end: told what is lost")
            << "b a L a f c x U"
            << QStringList{held, u"退出前还会再试一次"_s, u"不会留在练习记录里"_s}
            << QStringList{u"+ 1~9 1/1 -1 open "_s};
        QTest::newRow("disk fills and frees") << "b a F a a E a f" << QStringList{u"磁盘已满"_s}
                                              << QStringList{u"+ 1~9 4/2 50 finished "_s};
        QTest::newRow("quiz begun on a full disk")
            << "F b a a a f E w" << QStringList{u"磁盘已满"_s}
            << QStringList{u"+ 1~9 3/2 67 finished "_s};
    }
    void troubleCostsNothing() {
        QFETCH(QString, steps);
        QFETCH(QStringList, reasons);
        QFETCH(QStringList, quizzes);
        QString folder = folder_.filePath(QString::fromLatin1(QTest::currentDataTag()));
        QDir().mkpath(folder);
        std::optional<testing::SmallDisk> disk;
        if (steps.contains(u'F')) {
            disk.emplace(1024);
            if (!disk->mounted)
                QSKIP("a small tmpfs can only be mounted by root");
            folder = disk->dir.path();
        }
        const QString path = folder + u"/drillpad.sqlite"_s;
        std::optional<RecorderOnFile> f(std::in_place);
        QVERIFY(f->record.open(path));
        std::optional<QSqlDatabase> holder;
        int answered = 0;
        for (const QString &step : steps.split(u' ')) {
            switch (step.at(0).toLatin1()) {
            case 'b':
                answered = 0;
                f->recorder.begin(QuizKind::Normal, u"+"_s, 1, 9);
                break;
            case 'a':
                ++answered;
                f->recorder.questionShown(u"%1+1="_s.arg(answered), QString::number(answered + 1));
                f->recorder.answered(answered % 2 ? QString::number(answered + 1) : u"0"_s, false,
                                     answered % 2, u"+"_s, 1, 9);
                break;
            case 'f':
                f->recorder.finish();
                break;
            case 'L':
                holder = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"holder"_s);
                holder->setDatabaseName(path);
                QVERIFY(holder->open() && QSqlQuery(*holder).exec(u"BEGIN IMMEDIATE"_s));
                break;
            case 'U':
                QSqlQuery(*holder).exec(u"ROLLBACK"_s);
                holder.reset();
                QSqlDatabase::removeDatabase(u"holder"_s);
                break;
            case 'F':
                QVERIFY(disk->leaveFree(0));
                break;
            case 'E':
                disk->free();
                break;
            case 'w':
                f->recorder.flush();
                break;
            case 'c':
                f->recorder.writeOnClose();
                break;
            case 'x':
                f->recorder.writeBeforeExit();
                break;
            }
        }
        QCOMPARE(f->recorder.hasUnwritten(), steps.contains(u'x'));
        QCOMPARE(f->reports.size(), reasons.size());
        for (int i = 0; i < reasons.size(); ++i)
            QVERIFY2(f->reports[i].contains(reasons[i]), qPrintable(f->reports[i]));
        // Read back by a record of its own, as the next start of the program would.
        f.reset();
        PracticeRecord reread;
        QVERIFY(reread.open(path));
        QStringList kept;
        const QList<QuizSummary> all = reread.quizzes().value_or(QList<QuizSummary>());
        for (auto quiz = all.crbegin(); quiz != all.crend(); ++quiz) {
            kept << summaryOf(*quiz);
            const QList<AnswerEntry> answers =
                reread.answers(quiz->id).value_or(QList<AnswerEntry>());
            QCOMPARE(answers.size(), quiz->answered);
            for (int i = 0; i < answers.size(); ++i)
                QCOMPARE(answers[i].question, u"%1+1="_s.arg(i + 1));
        }
        QCOMPARE(kept, quizzes);
    }

    // A redo's order is a fair shuffle: every order of two or three
    // questions, and every place for the first of eight, about equally often.
    void redoShuffle_data() {
        QTest::addColumn<int>("questions");
        QTest::addColumn<bool>("wholeOrder"); // or the place of the first question
        QTest::addColumn<int>("outcomes");
        QTest::newRow("two questions, both orders") << 2 << true << 2;
        QTest::newRow("three questions, six orders") << 3 << true << 6;
        QTest::newRow("eight questions, the first anywhere") << 8 << false << 8;
    }
    void redoShuffle() {
        QFETCH(int, questions);
        QFETCH(bool, wholeOrder);
        QFETCH(int, outcomes);
        QList<quiz::QuizQuestion> given;
        for (int i = 0; i < questions; ++i)
            given.append({u"%1+1="_s.arg(i), QString::number(i + 1)});
        const auto draw = [&] {
            const QList<quiz::QuizQuestion> order = quiz::redoOrder(given);
            QString outcome;
            for (int place = 0; place < order.size(); ++place) {
                if (wholeOrder)
                    outcome += order[place].text.front();
                else if (order[place] == given.first())
                    outcome = QString::number(place);
            }
            return outcome;
        };
        QVERIFY(testing::looksUniform(draw, outcomes, 1000 * outcomes));
    }

    // Time on a question and on the quiz leaves pauses out; a normal quiz
    // whose operation or range changes keeps no single operation and the
    // widest range.
    void recorderTiming() {
        RecorderOnFile f;
        QVERIFY(f.record.open(folder_.filePath(u"timing/drillpad.sqlite"_s)));
        f.recorder.begin(QuizKind::Normal, u"+"_s, 1, 9);
        f.recorder.questionShown(u"3+4="_s, u"7"_s);
        f.now = 2000;
        f.recorder.answered(u"7"_s, false, true, u"+"_s, 1, 9);
        f.recorder.questionShown(u"9-2="_s, u"7"_s);
        f.now = 2500;
        f.recorder.pause();
        f.recorder.pause(); // a second pause changes nothing
        f.now = 9500;
        f.recorder.resume();
        f.now = 10000;
        f.recorder.answered(u"6"_s, false, false, u"-"_s, 0, 20);
        f.now = 10250;
        f.recorder.finish();

        const QuizSummary quiz = f.record.quizzes()->value(0);
        QCOMPARE(quiz.secondsUsed, 3.25);
        QCOMPARE(summaryOf(quiz), u" 0~20 2/1 50 finished "_s);
        const QList<AnswerEntry> answers = f.record.answers(quiz.id).value_or(QList<AnswerEntry>());
        QVERIFY(answers.size() == 2 && answers[0].seconds == 2.0 && answers[1].seconds == 1.0);
        QVERIFY(f.reports.isEmpty());
    }
};

DRILLPAD_TEST_MAIN(TestQuizRecord)

#include "tst_quiz_record.moc"
