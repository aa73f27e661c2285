#include "common/test_main.h"

#include "record/practice_record.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

using namespace drillpad;
using namespace Qt::StringLiterals;

namespace {

AnswerEntry answerOf(qint64 quiz, int sequence, const QString &question, const QString &expected,
                     const QString &typed) {
    const bool skipped = typed.isEmpty();
    return {quiz, sequence, question, expected, typed, skipped, !skipped && typed == expected, 1.5};
}

// Runs statements on a connection of its own to the file at `path`.
bool runSql(const QString &path, const QStringList &statements) {
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"test-side"_s);
        db.setDatabaseName(path);
        ok = db.open();
        QSqlQuery q(db);
        for (const QString &sql : statements)
            ok = ok && q.exec(sql);
    }
    QSqlDatabase::removeDatabase(u"test-side"_s);
    return ok;
}

} // namespace

class TestPracticeRecord : public QObject {
    Q_OBJECT
    QTemporaryDir folder_;
    int fileCount_ = 0;

    // A new file name in its own folder.
    QString freshPath() {
        const QString sub = folder_.filePath(QString::number(++fileCount_));
        QDir().mkpath(sub);
        return sub + u"/drillpad.sqlite"_s;
    }

private Q_SLOTS:
    // Quizzes list newest first; answers keep their
    // order, typed text and skips, and a quiz's totals follow its answers
    // even before its finish, which alone sets the end and the score.
    void quizzesAndAnswers() {
        PracticeRecord record;
        QVERIFY(record.open(freshPath()));
        const qint64 first = record.startQuiz(QuizKind::Normal, u"*"_s, 3, 9);
        QTest::qWait(5); // the second starts later
        const qint64 second = record.startQuiz(QuizKind::Redo, u"+"_s, 0, 0);
        const QList<AnswerEntry> answers{answerOf(first, 1, u"7×3="_s, u"21"_s, u"21"_s),
                                         answerOf(first, 2, u"4×5="_s, u"20"_s, u"02"_s),
                                         answerOf(first, 3, u"8×8="_s, u"64"_s, QString()),
                                         answerOf(second, 1, u"1+1="_s, u"2"_s, u"2"_s)};
        for (const AnswerEntry &a : answers)
            QVERIFY(record.recordAnswer(a));
        // A second answer with the same place in the quiz is refused, and
        // the refusal leaves the totals alone.
        QVERIFY(!record.recordAnswer(answerOf(first, 3, u"8×8="_s, u"64"_s, u"64"_s)));
        QVERIFY(record.finishQuiz(second, 1, 1, 100.0, 100, 9.25));

        const QList<QuizSummary> all = record.quizzes();
        QCOMPARE(all.size(), 2);
        QVERIFY(all[0].id == second && all[0].finished && all[0].ended.isValid());
        QVERIFY(all[0].kind == QuizKind::Redo && all[0].score == 100 && all[0].secondsUsed == 9.25);
        const QuizSummary &open = all[1];
        QVERIFY(!open.finished && !open.ended.isValid() && open.kind == QuizKind::Normal);
        QCOMPARE(QList<int>({open.answered, open.right, open.score, open.from, open.to}),
                 QList<int>({3, 1, -1, 3, 9}));
        QVERIFY(qAbs(open.rate - 100.0 / 3) < 1e-9 && qAbs(open.secondsUsed - 4.5) < 1e-9);
        QVERIFY(qAbs(open.started.secsTo(QDateTime::currentDateTime())) < 60);
        QCOMPARE(record.answers(first), answers.first(3));
    }

    // Files of older layouts are brought up to date with their content; the
    // new layout takes redo quizzes.
    void migration_data() {
        QTest::addColumn<QString>("older"); // statements, separated by ";"
        QTest::addColumn<int>("quizzes");
        QTest::newRow("empty file") << QString() << 0;
        QTest::newRow("version 0 with other tables") << u"CREATE TABLE notes (text TEXT)"_s << 0;
        QTest::newRow("version 1") << uR"(CREATE TABLE quizzes (id INTEGER PRIMARY KEY,
  started INTEGER NOT NULL, ended INTEGER, operation TEXT NOT NULL, range_from INTEGER NOT NULL,
  range_to INTEGER NOT NULL, answered INTEGER NOT NULL DEFAULT 0,
  right_count INTEGER NOT NULL DEFAULT 0, rate REAL NOT NULL DEFAULT 0,
  score INTEGER NOT NULL DEFAULT -1, seconds_used REAL NOT NULL DEFAULT 0);
CREATE TABLE answers (quiz_id INTEGER NOT NULL REFERENCES quizzes(id) ON DELETE CASCADE,
  sequence INTEGER NOT NULL, question TEXT NOT NULL, expected TEXT NOT NULL, typed TEXT,
  is_right INTEGER NOT NULL, seconds REAL NOT NULL, PRIMARY KEY (quiz_id, sequence)) WITHOUT ROWID;
INSERT INTO quizzes VALUES (7, 1700000000000, 1700000060000, '-', 1, 20, 2, 1, 50.0, 50, 60.0);
INSERT INTO answers VALUES (7, 1, '12-9=', '3', '3', 1, 20.0);
INSERT INTO answers VALUES (7, 2, '15-6=', '9', NULL, 0, 40.0);
PRAGMA user_version = 1)"_s << 1;
    }
    void migration() {
        QFETCH(QString, older);
        QFETCH(int, quizzes);
        const QString path = freshPath();
        QFile(path).open(QIODevice::WriteOnly);
        QVERIFY(runSql(path, older.split(u';', Qt::SkipEmptyParts)));
        PracticeRecord record;
        QVERIFY2(record.open(path), qPrintable(record.problem()));
        QVERIFY(record.problem().isEmpty());
        QList<QuizSummary> list = record.quizzes();
        QCOMPARE(list.size(), quizzes);
        if (quizzes) {
            QCOMPARE(list[0].started, QDateTime::fromMSecsSinceEpoch(1700000000000));
            QVERIFY(list[0].finished && list[0].kind == QuizKind::Normal && list[0].score == 50);
            QCOMPARE(record.answers(7).value(1),
                     (AnswerEntry{7, 2, u"15-6="_s, u"9"_s, QString(), true, false, 40.0}));
        }
        const qint64 redo = record.startQuiz(QuizKind::Redo, u"-"_s, 0, 0);
        QVERIFY(record.quizzes().value(0).id == redo && record.quizzes()[0].kind == QuizKind::Redo);
        // Opened again, it is already up to date.
        record.close();
        QVERIFY(record.open(path));
        QCOMPARE(record.quizzes().size(), quizzes + 1);
    }

    // Bad conditions fail with a reason in Chinese, told once; a damaged
    // file is kept beside the new one under a dated name.
    void badConditions_data() {
        QTest::addColumn<QString>("condition");
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder cannot be made") << "folder" << u"无法建立数据文件夹"_s;
        QTest::newRow("not a database") << "garbage" << u"已损坏"_s;
        QTest::newRow("written by a newer Drillpad") << "newer" << u"较新版本"_s;
        QTest::newRow("disk full") << "full" << u"磁盘已满"_s;
    }
    void badConditions() {
        QFETCH(QString, condition);
        QFETCH(QString, reason);
        QString path = freshPath();
        const QString folder = QFileInfo(path).absolutePath();
        const QByteArray garbage(5000, 'x');
        if (condition == "folder"_L1) {
            QFile(folder + u"/plain"_s).open(QIODevice::WriteOnly);
            path = folder + u"/plain/Drillpad/drillpad.sqlite"_s;
        } else if (condition == "garbage"_L1) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(garbage) == garbage.size());
        } else if (condition == "newer"_L1) {
            QVERIFY(runSql(path, {u"CREATE TABLE future (x)"_s, u"PRAGMA user_version = 99"_s}));
        }

        PracticeRecord record;
        const bool opens = record.open(path);
        QCOMPARE(opens, condition != "folder"_L1 && condition != "newer"_L1);
        qint64 quiz = record.startQuiz(QuizKind::Normal, u"+"_s, 1, 9);
        QCOMPARE(quiz > 0, opens);
        if (condition == "full"_L1) {
            QSqlQuery q(QSqlDatabase::database(record.connectionName()));
            QVERIFY(q.exec(u"PRAGMA page_count"_s) && q.next());
            QVERIFY(q.exec(u"PRAGMA max_page_count = %1"_s.arg(q.value(0).toInt())));
        }
        bool failed = false;
        for (int i = 1; i <= 200 && !failed; ++i)
            failed = !record.recordAnswer(
                answerOf(quiz ? quiz : 1, i, QString(500, u'1') + u"+1="_s, u"2"_s, u"2"_s));
        // A damaged file costs its content, not the writes to the new one.
        QCOMPARE(failed, condition != "garbage"_L1);
        QVERIFY2(record.problem().contains(reason), qPrintable(record.problem()));
        QCOMPARE(record.takeProblemToReport(), record.problem());
        QVERIFY(record.takeProblemToReport().isEmpty());

        if (condition == "garbage"_L1) {
            // The damaged bytes sit beside the new record, dated.
            QFile kept(folder + u"/drillpad-damaged-%1.sqlite"_s.arg(
                                    QDate::currentDate().toString(Qt::ISODate)));
            QVERIFY(kept.open(QIODevice::ReadOnly) && kept.readAll() == garbage);
        }
    }

    // Two programs writing the same file in turn lose nothing.
    void twoWritersShareTheFile() {
        const QString path = freshPath();
        PracticeRecord one, two;
        QVERIFY(one.open(path) && two.open(path));
        const qint64 a = one.startQuiz(QuizKind::Normal, u"+"_s, 1, 9);
        const qint64 b = two.startQuiz(QuizKind::Normal, u"-"_s, 1, 9);
        for (int i = 1; i <= 20; ++i) {
            QVERIFY(one.recordAnswer(answerOf(a, i, u"1+1="_s, u"2"_s, u"2"_s)));
            QVERIFY(two.recordAnswer(answerOf(b, i, u"2-1="_s, u"1"_s, u"0"_s)));
        }
        QCOMPARE(one.answers(b).size(), 20);
        QCOMPARE(two.quizzes(u"+"_s).value(0).right, 20);
    }
};

DRILLPAD_TEST_MAIN(TestPracticeRecord)
#include "tst_practice_record.moc"
