// The practice record's file, and what it makes of the answers: basic facts,
// their Leitner boxes and mastery, the daily review, pupils.
#include "common/chi_square.h"
#include "common/test_main.h"

#include "record/daily_review.h"
#include "record/practice_facts.h"
#include "record/practice_record.h"
#include "record/record_clock.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

using namespace drillpad;
using namespace Qt::StringLiterals;

namespace {

AnswerEntry answerOf(int sequence, const QString &question, const QString &expected,
                     const QString &typed) {
    const bool skipped = typed.isEmpty();
    return {0,   sequence, question, expected, typed, skipped, !skipped && typed == expected,
            1.5, {}};
}

QuizUpdate quizOf(const QString &operation, const QList<AnswerEntry> &answers,
                  QuizKind kind = QuizKind::Normal) {
    return {0, 0, kind, QDateTime::currentDateTime(), operation, 3, 9, answers, {}, -1, 0};
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

QByteArray contents(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A record of 60 quizzes of 100 answers, closed (its journal folded in).
void writeLargeRecord(const QString &path) {
    PracticeRecord record;
    QVERIFY(record.open(path));
    for (int quiz = 0; quiz < 60; ++quiz) {
        QuizUpdate update = quizOf(u"+"_s, {});
        for (int i = 1; i <= 100; ++i)
            update.answers << answerOf(i, u"%1+%2="_s.arg(i).arg(quiz), QString::number(i + quiz),
                                       u"0"_s);
        QVERIFY(record.write(update));
    }
}

// Overwrites three pages in the middle of a file.
void damageInteriorPages(const QString &path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    const qint64 pages = file.size() / 4096;
    QVERIFY(pages > 20);
    QVERIFY(file.seek(pages / 2 * 4096));
    QCOMPARE(file.write(QByteArray(3 * 4096, '\x5a')), 3 * 4096);
}

const QString kForeignTwo = uR"(CREATE TABLE quizzes (id INTEGER PRIMARY KEY, title TEXT);
CREATE TABLE answers (quiz_id INTEGER, text TEXT);
INSERT INTO quizzes VALUES (1, 'not a drill');
PRAGMA user_version = 2)"_s;

const QDate kToday(2026, 12, 5);
const QDateTime kNoon(kToday, QTime(12, 0));

// The facts of a review test, one letter each, on the multiplication table
// row by row: W missed and due, S right but slow and due, D known and due,
// L known and due tomorrow.
QList<FactSummary> factsOf(const QString &letters) {
    const QList<BasicFact> table = factsOf(factGrid(FactOperation::Multiply));
    QList<FactSummary> facts;
    for (int i = 0; i < letters.size(); ++i) {
        const QChar kind = letters[i];
        FactSummary f = advanced({}, {kind != u'W', kind == u'S' ? 7.0 : 2.0, kNoon});
        f.fact = table[i].key();
        f.due = kind == u'L' ? kToday.addDays(1) : kToday;
        facts.append(f);
    }
    return facts;
}

int randomBelow(int n) {
    return static_cast<int>(QRandomGenerator::global()->bounded(n));
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
    static QString asidePath(const QString &path, const char *why) {
        return QFileInfo(path).dir().filePath(u"drillpad-%1-%2.sqlite"_s.arg(
            QLatin1String(why), QDate::currentDate().toString(Qt::ISODate)));
    }

private Q_SLOTS:
    // A quiz enters the record with its first answer and is written in
    // parts; its totals equal its answers at every step and its end alone
    // sets the score. Quizzes list newest first; one ended without answers
    // leaves nothing; a write that fails leaves nothing of itself.
    void quizzesAndAnswers() {
        PracticeRecord record;
        QVERIFY(record.open(freshPath()));
        QuizUpdate empty = quizOf(u"+"_s, {});
        empty.ended = QDateTime::currentDateTime();
        QVERIFY(record.write(empty) && empty.id == 0);

        QList<AnswerEntry> written = {answerOf(1, u"7×3="_s, u"21"_s, u"21"_s),
                                      answerOf(2, u"4×5="_s, u"20"_s, u"02"_s),
                                      answerOf(3, u"8×8="_s, u"64"_s, QString())};
        QuizUpdate first = quizOf(u"*"_s, written.first(2));
        QVERIFY(record.write(first) && first.id > 0 && first.answers.isEmpty());
        QCOMPARE(record.quizzes()->value(0).answered, 2);
        first.answers = {written[2]};
        QVERIFY(record.write(first));
        // The same place in the quiz again: refused, and nothing of it kept.
        first.answers = {answerOf(4, u"1×1="_s, u"1"_s, u"1"_s),
                         answerOf(3, u"8×8="_s, u"64"_s, u"64"_s)};
        QVERIFY(!record.write(first));
        QCOMPARE(first.answers.size(), 2);

        QTest::qWait(5); // the second starts later
        QuizUpdate second =
            quizOf(u"+"_s, {answerOf(1, u"1+1="_s, u"2"_s, u"2"_s)}, QuizKind::Redo);
        second.ended = QDateTime::currentDateTime();
        second.score = 100;
        second.secondsUsed = 9.25;
        QVERIFY(record.write(second));

        const QList<QuizSummary> all = record.quizzes().value();
        QCOMPARE(all.size(), 2);
        QVERIFY(all[0].id == second.id && all[0].finished && all[0].ended.isValid());
        QVERIFY(all[0].kind == QuizKind::Redo && all[0].score == 100 && all[0].secondsUsed == 9.25);
        const QuizSummary &open = all[1];
        QVERIFY(!open.finished && !open.ended.isValid() && open.kind == QuizKind::Normal);
        QCOMPARE(QList<int>({open.answered, open.right, open.score, open.from, open.to}),
                 QList<int>({3, 1, -1, 3, 9}));
        QVERIFY(qAbs(open.rate - 100.0 / 3) < 1e-9 && qAbs(open.secondsUsed - 4.5) < 1e-9);
        QVERIFY(qAbs(open.started.secsTo(QDateTime::currentDateTime())) < 60);
        for (AnswerEntry &a : written)
            a.quizId = first.id;
        QCOMPARE(record.answers(first.id).value(), written);
    }

    // Files of older layouts, today's included, are brought up to date with
    // their content: every quiz goes to a first pupil, whose summary of the
    // facts is made from the answers kept (at once, or in the background for
    // a large record, which is not read until it is made).
    void migration_data() {
        QTest::addColumn<int>("version");
        QTest::addColumn<bool>("background");
        QTest::newRow("version 1") << 1 << false;
        QTest::newRow("version 2, summed up in the background") << 2 << true;
    }
    void migration() {
        QFETCH(int, version);
        QFETCH(bool, background);
        const QString path = freshPath();
        const qint64 day1 = QDateTime(QDate(2023, 11, 14), QTime(12, 0)).toMSecsSinceEpoch();
        const qint64 day2 = day1 + 86400000;
        QStringList sql = uR"(CREATE TABLE quizzes (id INTEGER PRIMARY KEY,
  started INTEGER NOT NULL, ended INTEGER, operation TEXT NOT NULL, range_from INTEGER NOT NULL,
  range_to INTEGER NOT NULL, answered INTEGER NOT NULL DEFAULT 0,
  right_count INTEGER NOT NULL DEFAULT 0, rate REAL NOT NULL DEFAULT 0,
  score INTEGER NOT NULL DEFAULT -1, seconds_used REAL NOT NULL DEFAULT 0);
CREATE TABLE answers (quiz_id INTEGER NOT NULL REFERENCES quizzes(id) ON DELETE CASCADE,
  sequence INTEGER NOT NULL, question TEXT NOT NULL, expected TEXT NOT NULL, typed TEXT,
  is_right INTEGER NOT NULL, seconds REAL NOT NULL, PRIMARY KEY (quiz_id, sequence)) WITHOUT ROWID;
INSERT INTO quizzes VALUES (7, %1, %1 + 60000, '-', 1, 20, 2, 1, 50.0, 50, 60.0);
INSERT INTO answers VALUES (7, 1, '12-9=', '3', '3', 1, 20.0);
INSERT INTO answers VALUES (7, 2, '15-6=', '9', NULL, 0, 40.0);
INSERT INTO quizzes VALUES (8, %2, %2 + 60000, '-', 1, 20, 1, 1, 100.0, 100, 2.0);
INSERT INTO answers VALUES (8, 1, '12-9=', '3', '3', 1, 2.0))"_s.arg(day1)
                              .arg(day2)
                              .split(u';');
        if (version == 2)
            sql << u"ALTER TABLE quizzes ADD COLUMN kind INTEGER NOT NULL DEFAULT 0"_s
                << u"CREATE INDEX quizzes_newest ON quizzes (started DESC, id DESC)"_s
                << u"CREATE INDEX quizzes_by_operation ON quizzes (operation, started DESC, id DESC)"_s;
        sql << u"PRAGMA user_version = %1"_s.arg(version);
        QVERIFY(runSql(path, sql));
        PracticeRecord record;
        record.setBackgroundCheckBytes(background ? 1 : std::numeric_limits<qint64>::max());
        QVERIFY2(record.open(path), qPrintable(record.problem()));
        QCOMPARE(record.isChecking(), background);
        if (background) {
            QVERIFY(!record.factSummaries(1));
            record.waitForCheck();
        }
        QVERIFY(record.problem().isEmpty());
        const Pupil first{1, QString::fromUtf8(kFirstPupilName)};
        QCOMPARE(record.pupils().value(), QList<Pupil>{first});
        QCOMPARE(record.currentPupil(), first);
        const QuizSummary quiz = record.quizzes()->value(1);
        QCOMPARE(quiz.started, QDateTime::fromMSecsSinceEpoch(day1));
        QVERIFY(quiz.finished && quiz.kind == QuizKind::Normal && quiz.score == 50);
        QCOMPARE(std::pair(quiz.pupilId, quiz.pupilName), std::pair(first.id, first.name));
        QCOMPARE(record.answers(7)->value(1),
                 (AnswerEntry{7, 2, u"15-6="_s, u"9"_s, QString(), true, false, 40.0, {}}));
        QStringList facts;
        const QList<FactSummary> summaries = record.factSummaries(1).value();
        for (const FactSummary &f : summaries)
            facts << factRecordText(*factOfKey(f.fact), &f) + u' ' + masteryStateName(masteryOf(f));
        facts.sort();
        QCOMPARE(facts,
                 QStringList({u"12-9=3: 2 次, 对 2 次, 平均 11.0 秒, 上次 11月15日 练习中"_s,
                              u"15-6=9: 1 次, 对 0 次, 平均 40.0 秒, 上次 11月14日 不熟"_s}));

        QuizUpdate redo = quizOf(u"-"_s, {answerOf(1, u"3-1="_s, u"2"_s, u"2"_s)}, QuizKind::Redo);
        QVERIFY(record.write(redo));
        QVERIFY(record.quizzes()->value(0).kind == QuizKind::Redo);
        record.close();
        QVERIFY(record.open(path) && record.problem().isEmpty());
        record.waitForCheck();
        QCOMPARE(record.quizzes()->size(), 3);
        QCOMPARE(record.factSummaries(1)->size(), 3);
    }

    // The daily review over days that pass on the record's clock: 7×8
    // answered on day n (W wrong, R right in 1 s, S right in 7 s), then
    // whether today's review asks it first, as a weak fact (w), or among
    // new ones (d), or says the next review is on day k (nk). A right answer on its day moves it up
    // a box (1, 2, 4, 8, 16 days), a miss back to box 1 and due at once.
    void reviewAcrossDays_data() {
        QTest::addColumn<QString>("steps");
        QTest::newRow("a miss is due at once, then after 2 and 4 days")
            << u"0:W 0:w 0:R 1:n2 2:d 2:R 3:n6 5:n6 6:d"_s;
        QTest::newRow("right but slow: due at once") << u"0:R 1:S 1:w 1:R 2:n3"_s;
    }
    void reviewAcrossDays() {
        QFETCH(QString, steps);
        PracticeRecord record;
        QVERIFY(record.open(freshPath()));
        const QDateTime dayZero(QDate(2026, 12, 1), QTime(18, 0));
        QDateTime now = dayZero;
        ScopedRecordClock clock([&now] { return now; });
        const auto pickFirst = [](int) { return 0; };
        for (const QString &step : steps.split(u' ')) {
            now = dayZero.addDays(step.section(u':', 0, 0).toInt());
            const QString what = step.section(u':', 1);
            const ReviewPlan plan =
                planReview(record.factSummaries(1).value(), now.date(), pickFirst);
            QStringList asked;
            for (const BasicFact &fact : plan.questions)
                asked << fact.key();
            if (what == u"w"_s) {
                QVERIFY2(asked.value(0) == u"7×8"_s, qPrintable(step));
            } else if (what == u"d"_s) {
                QVERIFY2(asked.contains(u"7×8"_s) && asked.value(0) != u"7×8"_s, qPrintable(step));
            } else if (what.startsWith(u'n')) {
                QVERIFY2(plan.questions.isEmpty(), qPrintable(step));
                QCOMPARE(plan.nextDue, dayZero.date().addDays(what.mid(1).toInt()));
            } else {
                QuizUpdate quiz = quizOf(
                    u"*"_s, {answerOf(1, u"7×8="_s, u"56"_s, what == u"W"_s ? u"54"_s : u"56"_s)});
                quiz.answers[0].seconds = what == u"S"_s ? 7.0 : 1.0;
                QVERIFY(record.write(quiz));
            }
        }
    }

    // Each pupil has quizzes and facts of its own; removing one takes them
    // all away and leaves the others as they were.
    void pupilsKeptApart() {
        PracticeRecord record;
        const QString path = freshPath();
        QVERIFY(record.open(path));
        const std::optional<qint64> red = record.addPupil(u" 小红 "_s);
        QVERIFY(red && *red != 1);
        QCOMPARE(record.pupils()->value(1), (Pupil{*red, u"小红"_s}));
        QuizUpdate first = quizOf(u"*"_s, {answerOf(1, u"7×8="_s, u"56"_s, u"54"_s)});
        QVERIFY(record.write(first) && first.pupilId == 1); // the current pupil
        record.setCurrentPupil(*red);
        QCOMPARE(record.currentPupil()->name, u"小红"_s);
        {
            PracticeRecord nextRun; // the current pupil is kept between runs
            QVERIFY(nextRun.open(path));
            QCOMPARE(nextRun.currentPupil()->name, u"小红"_s);
        }
        QuizUpdate second = quizOf(u"*"_s, {answerOf(1, u"7×8="_s, u"56"_s, u"56"_s),
                                            answerOf(2, u"6×7="_s, u"42"_s, u"42"_s)});
        QVERIFY(record.write(second) && second.pupilId == *red);

        const auto ids = [&](qint64 pupil) {
            QList<qint64> listed;
            const QList<QuizSummary> quizzes = record.quizzes({}, pupil).value();
            for (const QuizSummary &q : quizzes)
                listed << q.id;
            return listed;
        };
        const auto facts = [&](qint64 pupil) {
            QStringList listed;
            const QList<FactSummary> summaries = record.factSummaries(pupil).value();
            for (const FactSummary &f : summaries)
                listed << u"%1 %2/%3"_s.arg(f.fact).arg(f.right).arg(f.attempts);
            listed.sort();
            return listed;
        };
        QCOMPARE(ids(1), QList<qint64>{first.id});
        QCOMPARE(ids(*red), QList<qint64>{second.id});
        QCOMPARE(ids(0), (QList<qint64>{second.id, first.id}));
        QCOMPARE(facts(1), QStringList{u"7×8 0/1"_s});
        QCOMPARE(facts(*red), (QStringList{u"6×7 1/1"_s, u"7×8 1/1"_s}));
        QCOMPARE(record.quizCount(*red), 1);

        QVERIFY(record.renamePupil(*red, u"小红红"_s));
        QCOMPARE(record.quizzes({}, *red)->value(0).pupilName, u"小红红"_s);
        QVERIFY(record.removePupil(*red));
        QCOMPARE(record.pupils()->size(), 1);
        QCOMPARE(ids(0), QList<qint64>{first.id});
        QVERIFY(record.answers(second.id)->isEmpty() && facts(*red).isEmpty());
        QCOMPARE(facts(1), QStringList{u"7×8 0/1"_s});
        QCOMPARE(record.currentPupil()->id, 1); // the one chosen last is gone
        QVERIFY(!record.removePupil(1));        // the last one stays
        // What was still to be written of a removed pupil's quiz went with it.
        second.answers = {answerOf(3, u"2×2="_s, u"4"_s, u"4"_s)};
        QVERIFY(record.write(second) && second.answers.isEmpty());
        QCOMPARE(ids(0), QList<qint64>{first.id});
    }

    // A file that cannot serve as the record fails with a reason in Chinese,
    // told once. A damaged file and another program's database are moved
    // aside byte for byte under a dated name, and a new record is started.
    void badFiles_data() {
        QTest::addColumn<QString>("condition");
        QTest::addColumn<QString>("aside"); // the name's middle part; empty: not moved
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder cannot be made") << u"folder"_s << u""_s << u"无法建立数据文件夹"_s;
        QTest::newRow("written by a newer Drillpad") << u"newer"_s << u""_s << u"较新版本"_s;
        QTest::newRow("not a database") << u"garbage"_s << u"damaged"_s << u"已损坏，已改名为"_s;
        QTest::newRow("damaged interior page")
            << u"pages"_s << u"damaged"_s << u"已损坏，已改名为"_s;
        QTest::newRow("another layout, version 2")
            << kForeignTwo << u"foreign"_s << u"“drillpad.sqlite”不是 Drillpad 的记录"_s;
        QTest::newRow("another program's tables, version 0")
            << u"CREATE TABLE notes (text TEXT)"_s << u"foreign"_s << u"不是 Drillpad 的记录"_s;
    }
    void badFiles() {
        QFETCH(QString, condition);
        QFETCH(QString, aside);
        QFETCH(QString, reason);
        QString path = freshPath();
        const QString folder = QFileInfo(path).absolutePath();
        if (condition == "folder"_L1) {
            QFile(folder + u"/plain"_s).open(QIODevice::WriteOnly);
            path = folder + u"/plain/Drillpad/drillpad.sqlite"_s;
        } else if (condition == "newer"_L1) {
            QVERIFY(runSql(path, {u"CREATE TABLE future (x)"_s, u"PRAGMA user_version = 99"_s}));
        } else if (condition == "garbage"_L1) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(5000, 'x')) == 5000);
        } else if (condition == "pages"_L1) {
            writeLargeRecord(path);
            damageInteriorPages(path);
        } else {
            QVERIFY(runSql(path, condition.split(u';')));
        }
        const QByteArray before = contents(path);

        PracticeRecord record;
        QCOMPARE(record.open(path), !aside.isEmpty());
        QVERIFY2(record.problem().contains(reason), qPrintable(record.problem()));
        QCOMPARE(record.takeProblemToReport(), record.problem());
        QVERIFY(record.takeProblemToReport().isEmpty());
        QuizUpdate quiz = quizOf(u"+"_s, {answerOf(1, u"1+1="_s, u"2"_s, {})});
        QCOMPARE(record.write(quiz), !aside.isEmpty());
        // A newer Drillpad's file stays as it was; a moved one is there whole
        // and the new record holds only the quiz just written.
        QCOMPARE(contents(aside.isEmpty() ? path : asidePath(path, aside.toLatin1())), before);
        if (!aside.isEmpty())
            QCOMPARE(record.quizzes()->size(), 1);
    }

    // Damage found after opening: in the background check of a large file,
    // or by a read of a file damaged while open. Nothing is listed in part:
    // the read fails, and the file is moved aside.
    void damageFoundLater_data() {
        QTest::addColumn<bool>("background");
        QTest::newRow("background check") << true;
        QTest::newRow("read after opening") << false;
    }
    void damageFoundLater() {
        QFETCH(bool, background);
        const QString path = freshPath();
        writeLargeRecord(path);
        if (background)
            damageInteriorPages(path);
        PracticeRecord record;
        record.setBackgroundCheckBytes(background ? 1 : std::numeric_limits<qint64>::max());
        QSignalSpy changed(&record, &PracticeRecord::changed);
        QVERIFY(record.open(path));
        QCOMPARE(record.isChecking(), background);
        if (background) {
            QVERIFY(!record.quizzes() && record.problem().isEmpty());
            QuizUpdate quiz = quizOf(u"+"_s, {answerOf(1, u"1+1="_s, u"2"_s, {})});
            QVERIFY(!record.write(quiz) && record.problem().isEmpty());
        } else {
            QCOMPARE(record.quizzes()->size(), 60);
            damageInteriorPages(path);
            // Read again from the file, not from what the connection keeps.
            QSqlQuery(QSqlDatabase::database(record.connectionName()))
                .exec(u"PRAGMA shrink_memory"_s);
            // The answers of the quizzes in the damaged pages cannot all be read.
            bool whole = true;
            for (const QuizSummary &quiz : record.quizzes().value_or(QList<QuizSummary>{}))
                whole = whole && record.answers(quiz.id).value_or(QList<AnswerEntry>()).size() ==
                                     quiz.answered;
            QVERIFY(!whole);
        }
        QTRY_VERIFY(!record.isChecking() && record.problem().contains(u"已损坏，已改名为"_s));
        QVERIFY(QFile::exists(asidePath(path, "damaged")));
        QCOMPARE(record.quizzes()->size(), 0);
        QVERIFY(changed.size() >= 2);
    }

    void twoWritersShareTheFile() {
        const QString path = freshPath();
        PracticeRecord one, two;
        QVERIFY(one.open(path) && two.open(path));
        QuizUpdate a = quizOf(u"+"_s, {}), b = quizOf(u"-"_s, {});
        for (int i = 1; i <= 20; ++i) {
            a.answers = {answerOf(i, u"1+1="_s, u"2"_s, u"2"_s)};
            b.answers = {answerOf(i, u"2-1="_s, u"1"_s, u"0"_s)};
            QVERIFY(one.write(a) && two.write(b));
        }
        QCOMPARE(one.answers(b.id)->size(), 20);
        QCOMPARE(two.quizzes(u"+"_s)->value(0).right, 20);
    }

    // A question is a basic fact when it is one of the grids', written as
    // the quiz writes it, with its own answer expected.
    void basicFacts_data() {
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("key"); // empty: not a basic fact
        const QList<std::array<const char *, 3>> rows = {
            {"7×8=", "56", "7×8"}, {"0+0=", "0", "0+0"},      {"10+10=", "20", "10+10"},
            {"11+0=", "11", ""},   {"20-10=", "10", "20-10"}, {"21-1=", "20", ""},
            {"20-11=", "9", ""},   {"5-6=", "-1", ""},        {"9×9=", "81", "9×9"},
            {"10×1=", "10", ""},   {"0×5=", "0", ""},         {"81÷9=", "9", "81÷9"},
            {"90÷9=", "10", ""},   {"56÷7=", "8", "56÷7"},    {"17÷5=", "3……2", ""},
            {"07+3=", "10", ""},   {"7+3=", "11", ""},        {"(　)+3=7", "4", ""},
            {"3+4×2=", "11", ""},  {"7+3", "10", ""},         {"1000+1=", "1001", ""},
        };
        for (const auto &[question, expected, key] : rows)
            QTest::newRow(question) << QString::fromUtf8(question) << QString::fromUtf8(expected)
                                    << QString::fromUtf8(key);
    }
    void basicFacts() {
        QFETCH(QString, question);
        QFETCH(QString, expected);
        QFETCH(QString, key);
        const std::optional<BasicFact> fact = basicFactOf(question, expected);
        QCOMPARE(fact ? fact->key() : QString(), key);
        if (fact)
            QCOMPARE(factOfKey(key), fact);
    }

    // Every question a quiz could ask with operands up to 99, counted by
    // the operation whose grid holds it: 11 × 11 sums, the 176 differences
    // of minuends 0–20 and subtrahends 0–10 that are not negative, and
    // 9 × 9 products and quotients. Each is in its grid at its place.
    void gridsHoldEveryFactOnce() {
        const QString glyphs = u"+-×÷"_s;
        int counts[kFactOperationCount] = {};
        for (int a = 0; a < 100; ++a) {
            for (int b = 0; b < 100; ++b) {
                for (int op = 0; op < 4; ++op) {
                    if (op == 3 && (b == 0 || a % b))
                        continue;
                    const int answer = op == 0 ? a + b : op == 1 ? a - b : op == 2 ? a * b : a / b;
                    const QString question = u"%1%2%3="_s.arg(a).arg(glyphs[op]).arg(b);
                    if (const auto fact = basicFactOf(question, QString::number(answer))) {
                        ++counts[op];
                        QCOMPARE(static_cast<int>(fact->operation), op);
                        QCOMPARE(factAt(factGrid(fact->operation), fact->row, fact->column), fact);
                    }
                }
            }
        }
        QCOMPARE(QList<int>(std::begin(counts), std::end(counts)), QList<int>({121, 176, 81, 81}));
        int listed = 0;
        for (const FactGrid &grid : factGrids())
            listed += static_cast<int>(factsOf(grid).size());
        QCOMPARE(listed, 121 + 176 + 81 + 81);
    }

    // Answers as "day:R2" (right in 2 s on day 0; the day may be left
    // out) or "W1", and after each the Leitner box and the day it is due as
    // "box@day": a right answer on its day moves up a box (1, 2, 4, 8, 16
    // days), a miss or more than 6 s back to box 1, due at once. Then the
    // state: 不熟 the last answer wrong, skipped or slower than 6 s; 已掌握
    // the last three right within 3 s each; 练习中 in between. Empty: not
    // looked at.
    void answered_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("boxes");
        QTest::addColumn<QString>("state");
        const auto row = [](const char *name, const QString &steps, const QString &boxes,
                            const QString &state = {}) {
            QTest::newRow(name) << steps << boxes << state;
        };
        row("never", {}, {}, u"未练习"_s);
        row("three right at 3 s", u"R3 R3 R3"_s, {}, u"已掌握"_s);
        row("the third at 3.01 s", u"R3 R3 R3.01"_s, {}, u"练习中"_s);
        row("two fast", u"R1 R1"_s, {}, u"练习中"_s);
        row("a miss before three fast", u"W1 R1 R1 R1"_s, {}, u"已掌握"_s);
        row("a miss among them", u"R1 W1 R1 R1"_s, {}, u"练习中"_s);
        row("last right at 6 s", u"R1 R1 R1 R6"_s, {}, u"练习中"_s);
        row("last right at 6.01 s", u"R1 R1 R1 R6.01"_s, {}, u"不熟"_s);
        row("last wrong", u"R1 R1 R1 W1"_s, {}, u"不熟"_s);
        row("up every box, then every 16 days", u"0:R2 1:R2 3:R2 7:R2 15:R2 31:R2 47:R2"_s,
            u"1@1 2@3 3@7 4@15 5@31 5@47 5@63"_s);
        row("practice before the day changes nothing", u"0:R2 0:R2 2:R2"_s, u"1@1 1@1 2@4"_s);
        row("a miss: box 1, due at once", u"0:R2 1:R2 3:W1 3:R2"_s, u"1@1 2@3 1@3 2@5"_s);
        row("first answer wrong", u"0:W1 0:W1 1:R2"_s, u"1@0 1@0 2@3"_s);
        row("6 s moves up, 6.01 s stays due", u"0:R6 1:R6 3:R6.01 3:R2"_s, u"1@1 2@3 2@3 3@7"_s);
        row("slow first answer", u"0:R6.01"_s, u"1@0"_s);
    }
    void answered() {
        QFETCH(QString, steps);
        QFETCH(QString, boxes);
        QFETCH(QString, state);
        FactSummary summary;
        QStringList seen;
        for (const QString &step : steps.split(u' ', Qt::SkipEmptyParts)) {
            const QString answer = step.section(u':', -1);
            summary = advanced(summary, {answer[0] == u'R', answer.mid(1).toDouble(),
                                         kNoon.addDays(step.section(u':', -2, -2).toInt())});
            seen << u"%1@%2"_s.arg(summary.box).arg(kToday.daysTo(summary.due));
        }
        if (!boxes.isEmpty())
            QCOMPARE(seen.join(u' '), boxes);
        if (!state.isEmpty())
            QCOMPARE(masteryStateName(masteryOf(summary)), state);
    }

    // A quotient's question is written from its product (the map's cells
    // and their words are checked in tst_frm_mastery).
    void divisionQuestion() {
        QCOMPARE(BasicFact({FactOperation::Divide, 8, 7}).question(), u"56÷8="_s);
    }

    // Today's review: each weak (W before S) or new (N) fact followed by
    // three known ones, due (D) before later (L); the rest of the due ones
    // after; 20 at most; nothing when nothing is due. New facts are the
    // first of the table not in the record.
    void reviewMix_data() {
        QTest::addColumn<QString>("facts");
        QTest::addColumn<QString>("asked");
        QTest::addColumn<int>("nextDueInDays"); // told when nothing is asked; -1: none
        QTest::newRow("weak and known")
            << u"WWDDDDDLLLLLLLLLL"_s << u"WDDDWDDLNLLLNLLLNLLL"_s << -1;
        QTest::newRow("missed before slow") << u"SWDDDDDDDD"_s << u"WDDDSDDDNDDNN"_s << -1;
        QTest::newRow("known only")
            << u"DDDDDDDDDDDDDDDDDDDDDDDDD"_s << u"NDDDNDDDNDDDDDDDDDDD"_s << -1;
        QTest::newRow("weak only") << u"WWWWWWWW"_s << u"WWWWWWWWNNN"_s << -1;
        QTest::newRow("more weak than a review") << QString(25, u'W') << QString(20, u'W') << -1;
        QTest::newRow("nothing due") << u"LLL"_s << u""_s << 1;
        QTest::newRow("nothing practised") << u""_s << u""_s << -1;
    }
    void reviewMix() {
        QFETCH(QString, facts);
        QFETCH(QString, asked);
        QFETCH(int, nextDueInDays);
        const QList<FactSummary> summaries = factsOf(facts);
        const ReviewPlan plan = planReview(summaries, kToday, randomBelow);
        QString kinds;
        QSet<QString> distinct;
        for (const BasicFact &fact : plan.questions) {
            const auto known =
                std::find_if(summaries.cbegin(), summaries.cend(),
                             [&](const FactSummary &f) { return f.fact == fact.key(); });
            kinds += known == summaries.cend() ? u'N' : facts[known - summaries.cbegin()];
            distinct.insert(fact.key());
        }
        QCOMPARE(kinds, asked);
        QCOMPARE(distinct.size(), plan.questions.size());
        QCOMPARE(plan.nextDue.isValid() ? kToday.daysTo(plan.nextDue) : -1, nextDueInDays);
    }

    // The known facts that follow a weak one are drawn evenly: the first of
    // them is any of twelve due ones, or, with none due, any of twenty that
    // are not due yet, equally often.
    void reviewDrawsKnownFactsEvenly_data() {
        QTest::addColumn<QString>("facts");
        QTest::addColumn<int>("pool");
        QTest::newRow("due") << u"W"_s + QString(12, u'D') << 12;
        QTest::newRow("not due yet") << u"W"_s + QString(20, u'L') << 20;
    }
    void reviewDrawsKnownFactsEvenly() {
        QFETCH(QString, facts);
        QFETCH(int, pool);
        const QList<FactSummary> summaries = factsOf(facts);
        const auto draw = [&] {
            return planReview(summaries, kToday, randomBelow).questions[1].key();
        };
        QVERIFY(testing::looksUniform(draw, pool, 200 * pool));
    }

    void reviewNotDue() {
        QCOMPARE(reviewNotDueText(u"小明"_s, kToday.addDays(1), kToday),
                 u"小明今天没有要复习的题。下次复习：12月6日（明天）。"_s);
        QCOMPARE(reviewNotDueText(u"小明"_s, kToday.addDays(3), kToday),
                 u"小明今天没有要复习的题。下次复习：12月8日（3天后）。"_s);
        QVERIFY(reviewNotDueText(u"小红"_s, {}, kToday).startsWith(u"小红还没有做过"_s));
    }

    // Days given as offsets from today with their questions: today's
    // questions and seconds, and the days in a row up to today or, while
    // today has none, up to yesterday.
    void today_data() {
        QTest::addColumn<QString>("days");        // "offset/questions/seconds"
        QTest::addColumn<QList<int>>("expected"); // questions, seconds, days in a row
        QTest::newRow("none") << u""_s << QList<int>{0, 0, 0};
        QTest::newRow("two quizzes today") << u"0/10/60 0/5/30"_s << QList<int>{15, 90, 1};
        QTest::newRow("yesterday and before") << u"-1/5/9 -2/5/9"_s << QList<int>{0, 0, 2};
        QTest::newRow("a gap") << u"0/5/9 -1/5/9 -3/5/9"_s << QList<int>{5, 9, 2};
        QTest::newRow("two days ago only") << u"-2/5/9"_s << QList<int>{0, 0, 0};
        QTest::newRow("no questions today") << u"0/0/0 -1/5/9"_s << QList<int>{0, 0, 1};
    }
    void today() {
        QFETCH(QString, days);
        QFETCH(QList<int>, expected);
        QList<DayPractice> practice;
        for (const QString &day : days.split(u' ', Qt::SkipEmptyParts)) {
            const QStringList part = day.split(u'/');
            practice.append({kToday.addDays(part[0].toInt()), part[2].toDouble(), part[1].toInt()});
        }
        const TodayFigures figures = todayFigures(practice, kToday);
        QCOMPARE((QList<int>{figures.questions, int(figures.seconds), figures.daysInARow}),
                 expected);
    }

    void pupilNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("problem"); // part of the message; empty: accepted
        QTest::newRow("new") << u" 小红 "_s << QString();
        QTest::newRow("own name when renaming") << u"小明"_s << QString();
        QTest::newRow("empty") << u""_s << u"请输入"_s;
        QTest::newRow("blanks") << u"  　"_s << u"请输入"_s;
        QTest::newRow("20 characters") << QString(20, u'字') << QString();
        QTest::newRow("21 characters") << QString(21, u'字') << u"最多 20 个字"_s;
        QTest::newRow("20 beyond the BMP")
            << QString::fromUcs4(QList<char32_t>(20, 0x1F600).data(), 20) << QString();
        QTest::newRow("line break") << u"小\n明"_s << u"控制字符"_s;
        QTest::newRow("another's") << u"小刚"_s << u"已经有名叫“小刚”"_s;
    }
    void pupilNames() {
        QFETCH(QString, name);
        QFETCH(QString, problem);
        const QList<Pupil> pupils = {{1, u"小明"_s}, {2, u"小刚"_s}};
        const std::optional<QString> found = pupilNameProblem(name, pupils, 1);
        QVERIFY2(problem.isEmpty() ? !found : found && found->contains(problem),
                 qPrintable(found.value_or(u"accepted"_s)));
    }
};

DRILLPAD_TEST_MAIN(TestPracticeRecord)
#include "tst_practice_record.moc"
