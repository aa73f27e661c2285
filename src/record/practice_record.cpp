#include "record/practice_record.h"

#include "record/disk_sync.h"
#include "record/record_clock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QPointer>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

namespace drillpad {

namespace {

// The layout is built by these steps in order; PRAGMA user_version counts the
// steps a file has had, so an older file takes only the steps it lacks.
const char *const kLayoutSteps[][8] = {
    // 1: quizzes with their totals, answers in the order asked.
    {"CREATE TABLE quizzes ("
     " id INTEGER PRIMARY KEY,"
     " started INTEGER NOT NULL," // milliseconds since 1970, UTC
     " ended INTEGER,"            // NULL until finished
     " operation TEXT NOT NULL,"
     " range_from INTEGER NOT NULL,"
     " range_to INTEGER NOT NULL,"
     " answered INTEGER NOT NULL DEFAULT 0,"
     " right_count INTEGER NOT NULL DEFAULT 0,"
     " rate REAL NOT NULL DEFAULT 0,"
     " score INTEGER NOT NULL DEFAULT -1,"
     " seconds_used REAL NOT NULL DEFAULT 0)",
     "CREATE TABLE answers ("
     " quiz_id INTEGER NOT NULL REFERENCES quizzes(id) ON DELETE CASCADE,"
     " sequence INTEGER NOT NULL,"
     " question TEXT NOT NULL,"
     " expected TEXT NOT NULL,"
     " typed TEXT," // NULL when skipped
     " is_right INTEGER NOT NULL,"
     " seconds REAL NOT NULL,"
     " PRIMARY KEY (quiz_id, sequence)) WITHOUT ROWID",
     nullptr, nullptr},
    // 2: redo quizzes, and indexes for listing the newest quizzes first.
    {"ALTER TABLE quizzes ADD COLUMN kind INTEGER NOT NULL DEFAULT 0",
     "CREATE INDEX quizzes_newest ON quizzes (started DESC, id DESC)",
     "CREATE INDEX quizzes_by_operation ON quizzes (operation, started DESC, id DESC)", nullptr},
    // 3: pupils, each quiz's pupil (the quizzes from before go to the first
    // pupil, named as kFirstPupilName), and each pupil's summary of the basic
    // facts, which the answers already kept make once the layout stands.
    {"CREATE TABLE pupils (id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE)",
     "INSERT INTO pupils (id, name) VALUES (1, '小朋友')",
     "ALTER TABLE quizzes ADD COLUMN pupil_id INTEGER NOT NULL DEFAULT 1",
     "CREATE INDEX quizzes_by_pupil ON quizzes (pupil_id, started DESC, id DESC)",
     "CREATE TABLE facts ("
     " pupil_id INTEGER NOT NULL,"
     " fact TEXT NOT NULL," // such as "7×8"
     " attempts INTEGER NOT NULL,"
     " right_count INTEGER NOT NULL,"
     " total_seconds REAL NOT NULL,"
     " last_at INTEGER NOT NULL," // milliseconds since 1970, UTC
     " last_right INTEGER NOT NULL,"
     " last_seconds REAL NOT NULL,"
     " fast_in_a_row INTEGER NOT NULL,"
     " box INTEGER NOT NULL,"
     " due_day INTEGER NOT NULL," // Julian day
     " PRIMARY KEY (pupil_id, fact)) WITHOUT ROWID",
     "CREATE TABLE record_state (facts_made INTEGER NOT NULL)",
     "INSERT INTO record_state (facts_made) VALUES (0)"},
};
constexpr int kLayoutVersion = static_cast<int>(std::size(kLayoutSteps));

// Short enough that a write waiting for another Drillpad never holds the
// window up; what fails is kept by the writer and written later.
constexpr int kDefaultBusyTimeoutMs = 150;
// PRAGMA quick_check reads the whole file; below this size it takes a few
// milliseconds and runs at once.
constexpr qint64 kDefaultBackgroundCheckBytes = 8 * 1024 * 1024;
// Making the facts' summaries from this many answers takes about 50 ms;
// more are summed up in the background.
constexpr qint64 kFactsMadeAtOnce = 20000;
// The background check waits this long for another Drillpad's write.
constexpr int kCheckBusyTimeoutMs = 2000;
// Where the pupil chosen last is kept.
constexpr const char *kCurrentPupilKey = "practice/currentPupil";
// The pupil chosen last (its id the value) if it is still there, else the
// first one.
constexpr const char *kCurrentPupilSql = "SELECT id FROM pupils ORDER BY id = ? DESC, id LIMIT 1";

QSettings programSettings() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Drillpad"),
                     QStringLiteral("Drillpad"));
}

qint64 chosenPupil() {
    return programSettings().value(QLatin1String(kCurrentPupilKey)).toLongLong();
}

// SQLite's primary result codes that decide what to tell the user.
enum SqliteCode {
    kSqliteBusy = 5,
    kSqliteLocked = 6,
    kSqliteReadOnly = 8,
    kSqliteIoError = 10,
    kSqliteCorrupt = 11,
    kSqliteFull = 13,
    kSqliteCantOpen = 14,
    kSqliteNotADatabase = 26,
};

int primaryCode(const QSqlError &error) {
    return error.nativeErrorCode().toInt() & 0xff;
}

bool isDamage(const QSqlError &error) {
    const int code = primaryCode(error);
    return code == kSqliteCorrupt || code == kSqliteNotADatabase;
}

QString notKept(const QString &why) {
    return QStringLiteral("练习记录暂时没有保存，练习照常进行；能保存时会自动补上。\n原因：") + why;
}

QString reasonFor(const QSqlError &error) {
    switch (primaryCode(error)) {
    case kSqliteBusy:
    case kSqliteLocked:
        return QStringLiteral("记录文件正被另一个程序占用。");
    case kSqliteFull:
        return QStringLiteral("磁盘已满。");
    case kSqliteReadOnly:
    case kSqliteCantOpen:
        return QStringLiteral("记录文件不能写入。");
    case kSqliteIoError:
        return QStringLiteral("读写记录文件时出错。");
    case kSqliteCorrupt:
    case kSqliteNotADatabase:
        return QStringLiteral("记录文件已损坏。");
    default:
        return QStringLiteral("记录文件出错（%1）。").arg(error.text());
    }
}

QString operationOrEmpty(const QString &operation) {
    return operation.isNull() ? QStringLiteral("") : operation;
}

QDateTime fromMs(const QVariant &value) {
    return value.isNull() ? QDateTime() : QDateTime::fromMSecsSinceEpoch(value.toLongLong());
}

QVariant msOrNull(const QDateTime &time) {
    return time.isValid() ? QVariant(time.toMSecsSinceEpoch())
                          : QVariant(QMetaType(QMetaType::LongLong));
}

// A free name beside `path` for a file moved aside, carrying today's date.
QString asideName(const QString &path, const char *why) {
    const QFileInfo info(path);
    const QString stem =
        info.dir().filePath(info.completeBaseName() + QLatin1Char('-') + QLatin1String(why) +
                            QLatin1Char('-') + QDate::currentDate().toString(Qt::ISODate));
    const QString suffix = QLatin1Char('.') + info.suffix();
    QString candidate = stem + suffix;
    for (int n = 2; QFileInfo::exists(candidate); ++n)
        candidate = stem + QLatin1Char('-') + QString::number(n) + suffix;
    return candidate;
}

const char *const kQuizColumns = "id, started, ended, operation, range_from, range_to, answered, "
                                 "right_count, rate, score, seconds_used, kind, pupil_id";
// A quiz with its pupil's name, read from kQuizTables.
const char *const kQuizSelect =
    "z.id, z.started, z.ended, z.operation, z.range_from, z.range_to, z.answered,"
    " z.right_count, z.rate, z.score, z.seconds_used, z.kind, z.pupil_id, p.name";
const char *const kQuizTables = "quizzes z LEFT JOIN pupils p ON p.id = z.pupil_id";
const char *const kFactColumns = "fact, attempts, right_count, total_seconds, last_at, last_right,"
                                 " last_seconds, fast_in_a_row, box, due_day";
const char *const kAnswerColumns =
    "quiz_id, sequence, question, expected, typed, is_right, seconds";

QuizSummary quizFrom(const QSqlQuery &q, int at = 0) {
    QuizSummary s;
    s.id = q.value(at).toLongLong();
    s.started = fromMs(q.value(at + 1));
    s.ended = fromMs(q.value(at + 2));
    s.operation = q.value(at + 3).toString();
    s.from = q.value(at + 4).toInt();
    s.to = q.value(at + 5).toInt();
    s.answered = q.value(at + 6).toInt();
    s.right = q.value(at + 7).toInt();
    s.rate = q.value(at + 8).toDouble();
    s.finished = s.ended.isValid();
    s.score = s.finished ? q.value(at + 9).toInt() : -1;
    s.secondsUsed = q.value(at + 10).toDouble();
    const int kind = q.value(at + 11).toInt();
    s.kind = kind == 1 ? QuizKind::Redo : kind == 2 ? QuizKind::Review : QuizKind::Normal;
    s.pupilId = q.value(at + 12).toLongLong();
    s.pupilName = q.value(at + 13).toString();
    return s;
}
constexpr int kQuizColumnCount = 14;

FactSummary factFrom(const QSqlQuery &q) {
    FactSummary f;
    f.fact = q.value(0).toString();
    f.attempts = q.value(1).toInt();
    f.right = q.value(2).toInt();
    f.totalSeconds = q.value(3).toDouble();
    f.last = QDateTime::fromMSecsSinceEpoch(q.value(4).toLongLong());
    f.lastRight = q.value(5).toBool();
    f.lastSeconds = q.value(6).toDouble();
    f.fastInARow = q.value(7).toInt();
    f.box = q.value(8).toInt();
    f.due = QDate::fromJulianDay(q.value(9).toLongLong());
    return f;
}

// The values of a pupil's row of the facts' table, in the order of
// "pupil_id, " followed by kFactColumns.
QVariantList factValues(qint64 pupilId, const FactSummary &f) {
    return {pupilId,
            f.fact,
            f.attempts,
            f.right,
            f.totalSeconds,
            f.last.toMSecsSinceEpoch(),
            f.lastRight ? 1 : 0,
            f.lastSeconds,
            f.fastInARow,
            f.box,
            f.due.toJulianDay()};
}

QString insertFactSql() {
    return QStringLiteral("INSERT OR REPLACE INTO facts (pupil_id, %1)"
                          " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
        .arg(QLatin1String(kFactColumns));
}

AnswerEntry answerFrom(const QSqlQuery &q, int at = 0) {
    AnswerEntry a;
    a.quizId = q.value(at).toLongLong();
    a.sequence = q.value(at + 1).toInt();
    a.question = q.value(at + 2).toString();
    a.expected = q.value(at + 3).toString();
    a.skipped = q.value(at + 4).isNull();
    a.typed = a.skipped ? QString() : q.value(at + 4).toString();
    a.right = q.value(at + 5).toBool();
    a.seconds = q.value(at + 6).toDouble();
    return a;
}

// Runs a prepared query with its values and hands each row to `row`; the
// error when preparing, running or stepping through the rows fails, which a
// loop on next() alone would take for the end of the rows.
template <typename Row>
std::optional<QSqlError> forEachRow(QSqlQuery &q, const QString &sql, const QVariantList &values,
                                    Row row) {
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        return q.lastError();
    for (const QVariant &value : values)
        q.addBindValue(value);
    if (!q.exec())
        return q.lastError();
    while (q.next()) {
        if (!row(q))
            return std::nullopt;
    }
    if (q.lastError().isValid())
        return q.lastError();
    return std::nullopt;
}

// The tables of a database with their columns and declared types, one line
// each, for telling Drillpad's layout from another program's.
std::optional<QStringList> layoutOf(const QSqlDatabase &db, QSqlError *error) {
    QStringList tables;
    QSqlQuery q(db);
    std::optional<QSqlError> failure = forEachRow(
        q,
        QStringLiteral("SELECT m.name, group_concat(c.name || ' ' || c.type, ', ')"
                       " FROM sqlite_master m JOIN pragma_table_info(m.name) c"
                       " WHERE m.type = 'table' AND m.name NOT LIKE 'sqlite\\_%' ESCAPE '\\'"
                       " GROUP BY m.name ORDER BY m.name"),
        {}, [&tables](const QSqlQuery &row) {
            tables << row.value(0).toString() + QLatin1Char(':') + row.value(1).toString();
            return true;
        });
    if (failure) {
        *error = *failure;
        return std::nullopt;
    }
    return tables;
}

// Drillpad's layout after `version` steps, as layoutOf() writes it.
QStringList expectedLayout(int version) {
    static QHash<int, QStringList> known;
    if (const auto found = known.constFind(version); found != known.cend())
        return *found;
    const QString name = QStringLiteral("drillpad-layout-%1").arg(version);
    QStringList layout;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(QStringLiteral(":memory:"));
        if (db.open()) {
            QSqlQuery q(db);
            for (int step = 0; step < version; ++step) {
                for (const char *sql : kLayoutSteps[step]) {
                    if (sql)
                        q.exec(QString::fromUtf8(sql));
                }
            }
            QSqlError ignored;
            layout = layoutOf(db, &ignored).value_or(QStringList());
        }
    }
    QSqlDatabase::removeDatabase(name);
    known.insert(version, layout);
    return layout;
}

// Runs PRAGMA quick_check on a connection: true when the file is whole.
// A check that cannot run (another program holding the file) passes; the
// statements that follow will find real damage anyway.
bool passesQuickCheck(const QSqlDatabase &db) {
    QSqlQuery q(db);
    QStringList findings;
    const std::optional<QSqlError> failure =
        forEachRow(q, QStringLiteral("PRAGMA quick_check"), {}, [&findings](const QSqlQuery &row) {
            findings << row.value(0).toString();
            return true;
        });
    if (failure)
        return !isDamage(*failure);
    return findings == QStringList{QStringLiteral("ok")};
}

// Makes every pupil's summary of the basic facts again from all the answers,
// in the order they were given, and notes that the summaries are made. An
// answer is dated by its quiz's start and the seconds answered up to it.
// Runs inside the caller's write transaction.
std::optional<QSqlError> makeFactSummaries(const QSqlDatabase &db) {
    struct PupilFact {
        qint64 pupilId;
        FactSummary summary;
    };
    QHash<QString, PupilFact> facts;
    QSqlQuery q(db);
    qint64 quizId = 0;
    double answeredMs = 0;
    std::optional<QSqlError> failure = forEachRow(
        q,
        QStringLiteral("SELECT z.id, z.pupil_id, z.started, a.question, a.expected, a.is_right,"
                       " a.seconds FROM quizzes z JOIN answers a ON a.quiz_id = z.id"
                       " ORDER BY z.started, z.id, a.sequence"),
        {}, [&](const QSqlQuery &row) {
            if (row.value(0).toLongLong() != quizId) {
                quizId = row.value(0).toLongLong();
                answeredMs = row.value(2).toDouble();
            }
            const double seconds = row.value(6).toDouble();
            answeredMs += seconds * 1000;
            const std::optional<BasicFact> fact =
                basicFactOf(row.value(3).toString(), row.value(4).toString());
            if (!fact)
                return true;
            const qint64 pupilId = row.value(1).toLongLong();
            const QString key = fact->key();
            PupilFact &entry = facts[QString::number(pupilId) + QLatin1Char('/') + key];
            entry.pupilId = pupilId;
            entry.summary.fact = key;
            entry.summary = advanced(
                entry.summary, {row.value(5).toBool(), seconds,
                                QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(answeredMs))});
            return true;
        });
    if (failure)
        return failure;
    if (!q.exec(QStringLiteral("DELETE FROM facts")))
        return q.lastError();
    if (!q.prepare(insertFactSql()))
        return q.lastError();
    for (const PupilFact &entry : std::as_const(facts)) {
        const QVariantList values = factValues(entry.pupilId, entry.summary);
        for (int i = 0; i < values.size(); ++i)
            q.bindValue(i, values[i]);
        if (!q.exec())
            return q.lastError();
    }
    if (!q.exec(QStringLiteral("UPDATE record_state SET facts_made = 1")))
        return q.lastError();
    return std::nullopt;
}

// Whether the facts' summaries of the record are made; true when that cannot
// be read, which the integrity check and the reads that follow will tell.
bool factsAreMade(const QSqlDatabase &db) {
    QSqlQuery q(db);
    bool made = true;
    forEachRow(q, QStringLiteral("SELECT min(facts_made) FROM record_state"), {},
               [&made](const QSqlQuery &row) {
                   made = row.value(0).isNull() || row.value(0).toInt() != 0;
                   return true;
               });
    return made;
}

qint64 answersKept(const QSqlDatabase &db) {
    QSqlQuery q(db);
    qint64 count = 0;
    forEachRow(q, QStringLiteral("SELECT total(answered) FROM quizzes"), {},
               [&count](const QSqlQuery &row) {
                   count = row.value(0).toLongLong();
                   return true;
               });
    return count;
}

// Makes the facts' summaries on a connection of its own (the background
// check's thread), unless another Drillpad has made them meanwhile.
bool makeFactSummariesOn(const QString &file, const QString &connection) {
    bool made = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(file);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kCheckBusyTimeoutMs));
        QSqlQuery q(db);
        if (db.open() && q.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
            made = (factsAreMade(db) || !makeFactSummaries(db)) && q.exec(QStringLiteral("COMMIT"));
            if (!made)
                q.exec(QStringLiteral("ROLLBACK"));
        }
    }
    QSqlDatabase::removeDatabase(connection);
    return made;
}

// The wrong and skipped answers of the quizzes, each question once where it
// first went wrong, oldest quiz first and in the order asked.
QString wrongAndSkippedSql(const QList<qint64> &quizIds) {
    QStringList ids;
    ids.reserve(quizIds.size());
    for (qint64 id : quizIds)
        ids << QString::number(id);
    return QStringLiteral("SELECT %1 FROM (SELECT a.*, z.started AS quiz_started,"
                          " row_number() OVER (PARTITION BY a.question"
                          " ORDER BY z.started, z.id, a.sequence) AS occurrence"
                          " FROM answers a JOIN quizzes z ON z.id = a.quiz_id"
                          " WHERE a.is_right = 0 AND a.quiz_id IN (%2))"
                          " WHERE occurrence = 1 ORDER BY quiz_started, quiz_id, sequence")
        .arg(QLatin1String(kAnswerColumns), ids.join(QLatin1Char(',')));
}

QString newConnectionName(const char *kind) {
    static std::atomic<int> counter{0};
    return QStringLiteral("drillpad-%1-%2").arg(QLatin1String(kind)).arg(++counter);
}

} // namespace

struct PracticeRecord::Impl {
    PracticeRecord *owner = nullptr;
    QString connection;
    QString path;
    // Trouble of the current episode, and whether it has been reported.
    QString trouble;
    bool troubleReported = false;
    // A file moved aside on opening, to be told once.
    QString notice;
    int busyTimeoutMs = kDefaultBusyTimeoutMs;
    qint64 backgroundCheckBytes = kDefaultBackgroundCheckBytes;
    bool open = false;
    // A statement since the last write began found the file damaged.
    bool damageSeen = false;
    // Opening failed for a reason that may pass; the next write tries again.
    bool reopen = false;
    int generation = 0;
    std::optional<DiskSync> journalSync;

    // The background integrity check.
    std::thread checker;
    std::mutex checkMutex;
    std::optional<bool> checkPassed; // set by the checker
    bool factsMadeByCheck = false;   // set by the checker
    bool checking = false;
    // The facts' summaries of a record from before them are made.
    bool factsMade = true;

    QSqlDatabase db() const { return QSqlDatabase::database(connection, false); }

    void fail(const QString &why) {
        if (trouble.isEmpty())
            trouble = why;
    }
    // Notes a failed statement; false, for returning.
    bool failed(const QSqlError &error) {
        damageSeen = damageSeen || isDamage(error);
        fail(notKept(reasonFor(error)));
        return false;
    }
    // A write went through: the episode of trouble is over.
    void succeeded() {
        trouble.clear();
        troubleReported = false;
    }

    bool exec(QSqlQuery &q, const QString &sql) { return q.exec(sql) || failed(q.lastError()); }

    // Runs `work` as one write transaction, rolled back if any of it fails.
    template <typename Work> bool transaction(Work work) {
        QSqlQuery q(db());
        if (!exec(q, QStringLiteral("BEGIN IMMEDIATE")))
            return false;
        if (work() && exec(q, QStringLiteral("COMMIT")))
            return true;
        q.exec(QStringLiteral("ROLLBACK"));
        return false;
    }

    // Prepares and runs one statement with its values.
    bool run(const QString &sql, const QVariantList &values, QSqlQuery *out = nullptr) {
        QSqlQuery q(db());
        if (!q.prepare(sql))
            return failed(q.lastError());
        for (const QVariant &value : values)
            q.addBindValue(value);
        if (!q.exec())
            return failed(q.lastError());
        if (out)
            *out = std::move(q);
        return true;
    }

    bool insertAnswer(const AnswerEntry &a) {
        return run(QStringLiteral("INSERT INTO answers (%1) VALUES (?, ?, ?, ?, ?, ?, ?)")
                       .arg(QLatin1String(kAnswerColumns)),
                   {a.quizId, a.sequence, a.question, a.expected,
                    a.skipped ? QVariant(QMetaType(QMetaType::QString)) : QVariant(a.typed),
                    a.right ? 1 : 0, a.seconds});
    }

    // A reading statement's rows, each through `read`; nothing when it fails.
    template <typename Read>
    auto readRows(const QString &sql, const QVariantList &values, Read read)
        -> std::optional<QList<decltype(read(std::declval<const QSqlQuery &>()))>> {
        QList<decltype(read(std::declval<const QSqlQuery &>()))> rows;
        if (!usable())
            return std::nullopt;
        QSqlQuery q(db());
        const std::optional<QSqlError> failure =
            forEachRow(q, sql, values, [&](const QSqlQuery &row) {
                rows.append(read(row));
                return true;
            });
        if (failure) {
            q.finish();
            readFailed(*failure);
            return std::nullopt;
        }
        return rows;
    }
    // A read found damage: the file goes aside once the reading caller is done.
    void readFailed(const QSqlError &error) {
        fail(QStringLiteral("读取练习记录时出错：") + reasonFor(error));
        if (isDamage(error))
            QMetaObject::invokeMethod(
                owner, [record = owner] { record->moveAsideDamaged(); }, Qt::QueuedConnection);
    }

    // Open and checked; a record whose opening failed for a passing reason
    // is opened again.
    bool usable() {
        if (!open && reopen)
            openFile();
        return open && !checking;
    }

    enum class OpenResult { Ready, Damaged, Foreign, Failed };
    OpenResult openAndMigrate();
    bool openFile();
    bool moveAside(const char *why, const QString &what);
    void startCheck(bool makeFacts);
    void finishCheck();
    void closeConnection();

    // The pupil chosen last if it is still there, else the first one; 0
    // when the pupils cannot be read.
    qint64 currentPupilId() {
        const std::optional<QList<qint64>> found =
            readRows(QLatin1String(kCurrentPupilSql), {chosenPupil()},
                     [](const QSqlQuery &q) { return q.value(0).toLongLong(); });
        return found && !found->isEmpty() ? found->first() : 0;
    }

    // Brings one answer into its pupil's summary of the fact it asks.
    bool summariseAnswer(qint64 pupilId, const AnswerEntry &answer) {
        const std::optional<BasicFact> fact = basicFactOf(answer.question, answer.expected);
        if (!fact)
            return true;
        FactSummary summary;
        summary.fact = fact->key();
        QSqlQuery read;
        if (!run(QStringLiteral("SELECT %1 FROM facts WHERE pupil_id = ? AND fact = ?")
                     .arg(QLatin1String(kFactColumns)),
                 {pupilId, summary.fact}, &read))
            return false;
        if (read.next())
            summary = factFrom(read);
        else if (read.lastError().isValid())
            return failed(read.lastError());
        read.finish();
        summary = advanced(
            summary, {answer.right, answer.seconds, answer.at.isValid() ? answer.at : recordNow()});
        return run(insertFactSql(), factValues(pupilId, summary));
    }
};

PracticeRecord::PracticeRecord(QObject *parent) : QObject(parent), d_(std::make_unique<Impl>()) {
    d_->owner = this;
    d_->connection = newConnectionName("record");
}

PracticeRecord::~PracticeRecord() {
    close();
}

QString PracticeRecord::defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/drillpad.sqlite");
}

void PracticeRecord::Impl::closeConnection() {
    if (checker.joinable())
        checker.join();
    checking = false;
    journalSync.reset();
    open = false;
    if (QSqlDatabase::contains(connection)) {
        db().close();
        QSqlDatabase::removeDatabase(connection);
    }
}

void PracticeRecord::close() {
    d_->reopen = false;
    d_->closeConnection();
}

// Opens the file and brings its layout up to date.
PracticeRecord::Impl::OpenResult PracticeRecord::Impl::openAndMigrate() {
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
    database.setDatabaseName(path);
    if (!database.open()) {
        failed(database.lastError());
        return OpenResult::Failed;
    }
    QSqlQuery q(database);
    // The version is read from the file's first page: a file that is not a
    // database fails here.
    if (!q.exec(QStringLiteral("PRAGMA busy_timeout = %1").arg(busyTimeoutMs)) ||
        !q.exec(QStringLiteral("PRAGMA user_version")) || !q.next()) {
        if (isDamage(q.lastError()))
            return OpenResult::Damaged;
        failed(q.lastError());
        return OpenResult::Failed;
    }
    const int version = q.value(0).toInt();
    if (version > kLayoutVersion) {
        fail(notKept(QStringLiteral("记录文件由较新版本的 Drillpad 建立。")));
        return OpenResult::Failed;
    }
    QSqlError error;
    const std::optional<QStringList> layout = layoutOf(database, &error);
    if (!layout) {
        if (isDamage(error))
            return OpenResult::Damaged;
        failed(error);
        return OpenResult::Failed;
    }
    if (*layout != expectedLayout(version))
        return OpenResult::Foreign;
    // WAL lets readers and a writer work side by side. Commits do not wait
    // for the disk (a crash of the program loses nothing committed); the
    // journal is flushed right after each write on a thread of its own, so
    // a power cut loses at most what was being written.
    if (!exec(q, QStringLiteral("PRAGMA journal_mode = WAL")) ||
        !exec(q, QStringLiteral("PRAGMA synchronous = NORMAL")) ||
        !exec(q, QStringLiteral("PRAGMA foreign_keys = ON")))
        return isDamage(q.lastError()) ? OpenResult::Damaged : OpenResult::Failed;
    if (version == kLayoutVersion)
        return OpenResult::Ready;

    // Another Drillpad may be migrating the same file: take the write lock
    // first and read the version again under it.
    if (!exec(q, QStringLiteral("BEGIN IMMEDIATE")))
        return OpenResult::Failed;
    int current = -1;
    if (q.exec(QStringLiteral("PRAGMA user_version")) && q.next())
        current = q.value(0).toInt();
    bool ok = current >= 0;
    for (int step = std::max(current, 0); ok && step < kLayoutVersion; ++step) {
        for (const char *sql : kLayoutSteps[step]) {
            if (sql && !exec(q, QString::fromUtf8(sql))) {
                ok = false;
                break;
            }
        }
    }
    ok = ok && exec(q, QStringLiteral("PRAGMA user_version = %1").arg(kLayoutVersion)) &&
         exec(q, QStringLiteral("COMMIT"));
    if (!ok) {
        const bool damaged = isDamage(q.lastError());
        q.exec(QStringLiteral("ROLLBACK"));
        return damaged ? OpenResult::Damaged : OpenResult::Failed;
    }
    return OpenResult::Ready;
}

// Keeps the file and its journal under a dated name, untouched, for whoever
// wants to rescue it, and says so in `notice`.
bool PracticeRecord::Impl::moveAside(const char *why, const QString &what) {
    closeConnection();
    const QString aside = asideName(path, why);
    if (!QFile::rename(path, aside)) {
        fail(notKept(what + QStringLiteral("，且无法改名。")));
        return false;
    }
    for (const char *journal : {"-wal", "-shm"})
        QFile::rename(path + QLatin1String(journal), aside + QLatin1String(journal));
    notice = QStringLiteral("%1，已改名为“%2”原样保留，并新建了记录文件；以前的记录不再显示。")
                 .arg(what, QFileInfo(aside).fileName());
    return true;
}

bool PracticeRecord::Impl::openFile() {
    reopen = false;
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        fail(notKept(QStringLiteral("无法建立数据文件夹“%1”。").arg(folder)));
        reopen = true;
        return false;
    }
    OpenResult result = openAndMigrate();
    if (result == OpenResult::Damaged || result == OpenResult::Foreign) {
        const bool damaged = result == OpenResult::Damaged;
        if (!moveAside(damaged ? "damaged" : "foreign",
                       damaged ? QStringLiteral("练习记录文件已损坏")
                               : QStringLiteral("练习记录文件“%1”不是 Drillpad 的记录")
                                     .arg(QFileInfo(path).fileName())))
            return false;
        result = openAndMigrate();
    }
    if (result != OpenResult::Ready) {
        // A newer Drillpad's file stays as it is; anything else may pass.
        reopen = !trouble.contains(QStringLiteral("较新版本"));
        fail(notKept(QStringLiteral("记录文件无法打开。")));
        closeConnection();
        return false;
    }
    journalSync.emplace(path + QStringLiteral("-wal"));
    open = true;
    ++generation;
    factsMade = factsAreMade(db());
    if (QFileInfo(path).size() >= backgroundCheckBytes ||
        (!factsMade && answersKept(db()) > kFactsMadeAtOnce)) {
        startCheck(!factsMade);
        return true;
    }
    if (!passesQuickCheck(db()))
        return moveAside("damaged", QStringLiteral("练习记录文件已损坏")) && openFile();
    if (!factsMade)
        factsMade = transaction([this] {
            const std::optional<QSqlError> failure = makeFactSummaries(db());
            return !failure || failed(*failure);
        });
    return true;
}

void PracticeRecord::Impl::startCheck(bool makeFacts) {
    checking = true;
    checkPassed.reset();
    // The record is neither read nor written meanwhile, so the summaries
    // made on the checker's connection cannot miss a write of this program.
    checker = std::thread([this, file = path, makeFacts] {
        const QString name = newConnectionName("check");
        bool passed = true;
        {
            QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            database.setDatabaseName(file);
            database.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
            if (database.open())
                passed = passesQuickCheck(database);
        }
        QSqlDatabase::removeDatabase(name);
        const bool made =
            !makeFacts || (passed && makeFactSummariesOn(file, newConnectionName("facts")));
        {
            std::lock_guard lock(checkMutex);
            checkPassed = passed;
            factsMadeByCheck = made;
        }
        // The record joins this thread before it goes, so `owner` is alive.
        QMetaObject::invokeMethod(
            owner, [this] { finishCheck(); }, Qt::QueuedConnection);
    });
}

void PracticeRecord::Impl::finishCheck() {
    if (!checking)
        return;
    checker.join();
    checking = false;
    bool passed = true;
    {
        std::lock_guard lock(checkMutex);
        passed = checkPassed.value_or(true);
        factsMade = factsMadeByCheck;
    }
    if (!passed && moveAside("damaged", QStringLiteral("练习记录文件已损坏")))
        openFile();
    Q_EMIT owner->changed();
}

bool PracticeRecord::open(const QString &path) {
    close();
    d_->path = path;
    d_->trouble.clear();
    d_->notice.clear();
    d_->troubleReported = false;
    const bool opened = d_->openFile();
    Q_EMIT changed();
    return opened;
}

bool PracticeRecord::isOpen() const {
    return d_->open;
}

bool PracticeRecord::isChecking() const {
    return d_->checking;
}

void PracticeRecord::waitForCheck() {
    d_->finishCheck();
}

void PracticeRecord::setBackgroundCheckBytes(qint64 bytes) {
    d_->backgroundCheckBytes = bytes;
}

QString PracticeRecord::path() const {
    return d_->path;
}

QString PracticeRecord::problem() const {
    return d_->trouble.isEmpty() ? d_->notice : d_->trouble;
}

QString PracticeRecord::takeProblemToReport() {
    QStringList untold;
    if (!d_->notice.isEmpty())
        untold << std::exchange(d_->notice, QString());
    if (!d_->trouble.isEmpty() && !d_->troubleReported) {
        untold << d_->trouble;
        d_->troubleReported = true;
    }
    return untold.join(QStringLiteral("\n\n"));
}

void PracticeRecord::setBusyTimeout(int milliseconds) {
    d_->busyTimeoutMs = milliseconds;
    if (d_->open)
        QSqlQuery(d_->db()).exec(QStringLiteral("PRAGMA busy_timeout = %1").arg(milliseconds));
}

int PracticeRecord::busyTimeout() const {
    return d_->busyTimeoutMs;
}

int PracticeRecord::generation() const {
    return d_->generation;
}

QString PracticeRecord::connectionName() const {
    return d_->connection;
}

bool PracticeRecord::write(QuizUpdate &update) {
    if (update.id == 0 && update.answers.isEmpty())
        return true; // a quiz enters the record with its first answer
    if (!d_->usable())
        return false;
    d_->damageSeen = false;
    qint64 id = update.id;
    int right = 0;
    double seconds = 0;
    for (const AnswerEntry &a : update.answers) {
        right += a.right ? 1 : 0;
        seconds += a.seconds;
    }
    const auto count = static_cast<int>(update.answers.size());
    const bool ended = update.ended.isValid();
    // The quiz's pupil: its own once in the record, else the one it was
    // begun for, else the current one.
    const bool current = id == 0 && update.pupilId == 0;
    const QString pupilSql = id != 0   ? QStringLiteral("SELECT pupil_id FROM quizzes WHERE id = ?")
                             : current ? QLatin1String(kCurrentPupilSql)
                                       : QStringLiteral("SELECT id FROM pupils WHERE id = ?");
    const qint64 pupilKey = id != 0 ? id : current ? chosenPupil() : update.pupilId;
    qint64 pupilId = 0;
    // A quiz whose pupil was removed, or that was cleared away, went with
    // them: what is left of it has no place to go.
    bool gone = false;
    const bool ok = d_->transaction([&] {
        QSqlQuery found;
        if (!d_->run(pupilSql, {pupilKey}, &found))
            return false;
        gone = !found.next();
        if (found.lastError().isValid())
            return d_->failed(found.lastError());
        if (gone)
            return true;
        pupilId = found.value(0).toLongLong();
        found.finish();
        QSqlQuery inserted;
        if (id == 0) {
            if (!d_->run(QStringLiteral("INSERT INTO quizzes (started, operation, range_from,"
                                        " range_to, kind, pupil_id) VALUES (?, ?, ?, ?, ?, ?)"),
                         {msOrNull(update.started), operationOrEmpty(update.operation), update.from,
                          update.to, static_cast<int>(update.kind), pupilId},
                         &inserted))
                return false;
            id = inserted.lastInsertId().toLongLong();
        }
        for (AnswerEntry a : update.answers) {
            a.quizId = id;
            if (!d_->insertAnswer(a) || !d_->summariseAnswer(pupilId, a))
                return false;
        }
        // The totals move with the answers in the same transaction, so they
        // always equal the answers the record holds.
        return d_->run(
            QStringLiteral("UPDATE quizzes SET operation = ?, range_from = ?, range_to = ?,"
                           " answered = answered + ?, right_count = right_count + ?,"
                           " rate = CASE WHEN answered + ? > 0"
                           " THEN 100.0 * (right_count + ?) / (answered + ?) ELSE 0 END,"
                           " seconds_used = CASE WHEN ? THEN ? ELSE seconds_used + ? END,"
                           " ended = ?, score = ? WHERE id = ?"),
            {operationOrEmpty(update.operation), update.from, update.to, count, right, count, right,
             count, ended, update.secondsUsed, seconds, msOrNull(update.ended),
             ended ? update.score : -1, id});
    });
    if (!ok) {
        if (d_->damageSeen)
            moveAsideDamaged();
        return false;
    }
    update.answers.clear();
    d_->succeeded();
    if (gone)
        return true;
    update.id = id;
    update.pupilId = pupilId;
    if (d_->journalSync)
        d_->journalSync->request();
    Q_EMIT changed();
    return true;
}

std::optional<QList<QuizSummary>> PracticeRecord::quizzes(const QString &operation,
                                                          qint64 pupilId) const {
    QString filter;
    QVariantList values;
    if (!operation.isEmpty()) {
        filter += QStringLiteral(" AND z.operation = ?");
        values << operation;
    }
    if (pupilId != 0) {
        filter += QStringLiteral(" AND z.pupil_id = ?");
        values << pupilId;
    }
    return d_->readRows(QStringLiteral("SELECT %1 FROM %2 WHERE z.answered > 0%3"
                                       " ORDER BY z.started DESC, z.id DESC")
                            .arg(QLatin1String(kQuizSelect), QLatin1String(kQuizTables), filter),
                        values, [](const QSqlQuery &q) { return quizFrom(q); });
}

std::optional<QList<Pupil>> PracticeRecord::pupils() const {
    return d_->readRows(QStringLiteral("SELECT id, name FROM pupils ORDER BY id"), {},
                        [](const QSqlQuery &q) {
                            return Pupil{q.value(0).toLongLong(), q.value(1).toString()};
                        });
}

std::optional<Pupil> PracticeRecord::currentPupil() const {
    const std::optional<QList<Pupil>> found =
        d_->readRows(QStringLiteral("SELECT id, name FROM pupils WHERE id = (%1)")
                         .arg(QLatin1String(kCurrentPupilSql)),
                     {chosenPupil()}, [](const QSqlQuery &q) {
                         return Pupil{q.value(0).toLongLong(), q.value(1).toString()};
                     });
    if (!found || found->isEmpty())
        return std::nullopt;
    return found->first();
}

qint64 PracticeRecord::currentPupilId() const {
    return d_->currentPupilId();
}

void PracticeRecord::setCurrentPupil(qint64 pupilId) {
    programSettings().setValue(QLatin1String(kCurrentPupilKey), pupilId);
    Q_EMIT changed();
}

std::optional<qint64> PracticeRecord::addPupil(const QString &name) {
    if (!d_->usable())
        return std::nullopt;
    QSqlQuery inserted;
    if (!d_->transaction([&] {
            return d_->run(QStringLiteral("INSERT INTO pupils (name) VALUES (?)"), {name.trimmed()},
                           &inserted);
        }))
        return std::nullopt;
    d_->succeeded();
    Q_EMIT changed();
    return inserted.lastInsertId().toLongLong();
}

bool PracticeRecord::renamePupil(qint64 pupilId, const QString &name) {
    if (!d_->usable() || !d_->transaction([&] {
            return d_->run(QStringLiteral("UPDATE pupils SET name = ? WHERE id = ?"),
                           {name.trimmed(), pupilId});
        }))
        return false;
    d_->succeeded();
    Q_EMIT changed();
    return true;
}

bool PracticeRecord::removePupil(qint64 pupilId) {
    if (!d_->usable())
        return false;
    const std::optional<QList<Pupil>> all = pupils();
    if (!all || all->size() < 2)
        return false;
    // The answers go with their quizzes (ON DELETE CASCADE).
    if (!d_->transaction([&] {
            return d_->run(QStringLiteral("DELETE FROM quizzes WHERE pupil_id = ?"), {pupilId}) &&
                   d_->run(QStringLiteral("DELETE FROM facts WHERE pupil_id = ?"), {pupilId}) &&
                   d_->run(QStringLiteral("DELETE FROM pupils WHERE id = ?"), {pupilId});
        }))
        return false;
    d_->succeeded();
    Q_EMIT changed();
    return true;
}

std::optional<int> PracticeRecord::quizCount(qint64 pupilId) const {
    const std::optional<QList<int>> count = d_->readRows(
        QStringLiteral("SELECT count(*) FROM quizzes WHERE pupil_id = ? AND answered > 0"),
        {pupilId}, [](const QSqlQuery &q) { return q.value(0).toInt(); });
    if (!count || count->isEmpty())
        return std::nullopt;
    return count->first();
}

std::optional<QList<FactSummary>> PracticeRecord::factSummaries(qint64 pupilId) const {
    if (!d_->factsMade)
        return std::nullopt;
    return d_->readRows(
        QStringLiteral("SELECT %1 FROM facts WHERE pupil_id = ?").arg(QLatin1String(kFactColumns)),
        {pupilId}, [](const QSqlQuery &q) { return factFrom(q); });
}

std::optional<QList<DayPractice>> PracticeRecord::practiceDays(qint64 pupilId) const {
    return d_->readRows(QStringLiteral("SELECT started, seconds_used, answered FROM quizzes"
                                       " WHERE pupil_id = ? AND answered > 0"),
                        {pupilId}, [](const QSqlQuery &q) {
                            return DayPractice{fromMs(q.value(0)).date(), q.value(1).toDouble(),
                                               q.value(2).toInt()};
                        });
}

std::optional<QList<AnswerEntry>> PracticeRecord::answers(qint64 quizId) const {
    return d_->readRows(QStringLiteral("SELECT %1 FROM answers WHERE quiz_id = ? ORDER BY sequence")
                            .arg(QLatin1String(kAnswerColumns)),
                        {quizId}, [](const QSqlQuery &q) { return answerFrom(q); });
}

std::optional<QList<AnswerEntry>>
PracticeRecord::wrongAndSkipped(const QList<qint64> &quizIds) const {
    if (quizIds.isEmpty())
        return QList<AnswerEntry>();
    return d_->readRows(wrongAndSkippedSql(quizIds), {},
                        [](const QSqlQuery &q) { return answerFrom(q); });
}

bool PracticeRecord::importQuizzes(const QList<QuizSummary> &quizzes,
                                   const QList<AnswerEntry> &answers) {
    if (!d_->usable())
        return false;
    QSqlQuery quiz(d_->db());
    if (!quiz.prepare(QStringLiteral(
                          "INSERT INTO quizzes (%1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                          .arg(QLatin1String(kQuizColumns))))
        return d_->failed(quiz.lastError());
    const qint64 current = d_->currentPupilId();
    const auto insertQuiz = [&](const QuizSummary &s) {
        quiz.bindValue(0, s.id > 0 ? QVariant(s.id) : QVariant(QMetaType(QMetaType::LongLong)));
        quiz.bindValue(1, s.started.toMSecsSinceEpoch());
        quiz.bindValue(2, msOrNull(s.finished ? s.ended : QDateTime()));
        quiz.bindValue(3, operationOrEmpty(s.operation));
        quiz.bindValue(4, s.from);
        quiz.bindValue(5, s.to);
        quiz.bindValue(6, s.answered);
        quiz.bindValue(7, s.right);
        quiz.bindValue(8, s.rate);
        quiz.bindValue(9, s.score);
        quiz.bindValue(10, s.secondsUsed);
        quiz.bindValue(11, static_cast<int>(s.kind));
        quiz.bindValue(12, s.pupilId != 0 ? s.pupilId : current);
        return quiz.exec() || d_->failed(quiz.lastError());
    };
    const bool ok = d_->transaction([&] {
        if (!std::all_of(quizzes.cbegin(), quizzes.cend(), insertQuiz) ||
            !std::all_of(answers.cbegin(), answers.cend(),
                         [&](const AnswerEntry &a) { return d_->insertAnswer(a); }))
            return false;
        quiz.finish();
        const std::optional<QSqlError> failure = makeFactSummaries(d_->db());
        return !failure || d_->failed(*failure);
    });
    if (ok) {
        d_->succeeded();
        Q_EMIT changed();
    }
    return ok;
}

bool PracticeRecord::clear() {
    if (!d_->usable())
        return false;
    QSqlQuery q(d_->db());
    if (!d_->transaction([&] {
            return d_->exec(q, QStringLiteral("DELETE FROM answers")) &&
                   d_->exec(q, QStringLiteral("DELETE FROM quizzes")) &&
                   d_->exec(q, QStringLiteral("DELETE FROM facts"));
        }))
        return false;
    d_->succeeded();
    // Give the space back; another Drillpad reading at the moment only
    // delays this to a later clearing.
    q.exec(QStringLiteral("VACUUM"));
    Q_EMIT changed();
    return true;
}

void PracticeRecord::moveAsideDamaged() {
    if (!d_->open)
        return;
    d_->trouble.clear();
    d_->troubleReported = false;
    if (d_->moveAside("damaged", QStringLiteral("练习记录文件已损坏")))
        d_->openFile();
    Q_EMIT changed();
}

RecordReader::RecordReader(const QString &path) : connection_(newConnectionName("reader")) {
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    database.setDatabaseName(path);
    database.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=2000"));
    if (!database.open())
        failed(reasonFor(database.lastError()), false);
    // One snapshot for everything read.
    else if (QSqlQuery q(database); !q.exec(QStringLiteral("BEGIN")))
        failed(reasonFor(q.lastError()), isDamage(q.lastError()));
}

RecordReader::~RecordReader() {
    if (QSqlDatabase::contains(connection_)) {
        db().close();
    }
    QSqlDatabase::removeDatabase(connection_);
}

QSqlDatabase RecordReader::db() const {
    return QSqlDatabase::database(connection_, false);
}

bool RecordReader::failed(const QString &why, bool damage) {
    error_ = why;
    damaged_ = damage;
    return false;
}

std::optional<qint64> RecordReader::answerCount() {
    if (!db().isOpen())
        return std::nullopt;
    QSqlQuery q(db());
    qint64 count = 0;
    if (const std::optional<QSqlError> failure =
            forEachRow(q, QStringLiteral("SELECT total(answered) FROM quizzes"), {},
                       [&count](const QSqlQuery &row) {
                           count = row.value(0).toLongLong();
                           return true;
                       })) {
        failed(reasonFor(*failure), isDamage(*failure));
        return std::nullopt;
    }
    error_.clear();
    return count;
}

std::optional<QList<AnswerEntry>> RecordReader::wrongAndSkipped(const QList<qint64> &quizIds) {
    QList<AnswerEntry> wrong;
    if (!db().isOpen())
        return std::nullopt;
    QSqlQuery q(db());
    if (const std::optional<QSqlError> failure =
            forEachRow(q, wrongAndSkippedSql(quizIds), {}, [&wrong](const QSqlQuery &row) {
                wrong.append(answerFrom(row));
                return true;
            })) {
        failed(reasonFor(*failure), isDamage(*failure));
        return std::nullopt;
    }
    error_.clear();
    return wrong;
}

bool RecordReader::forEachAnswer(
    const std::function<bool(const QuizSummary &, const AnswerEntry &)> &row) {
    if (!db().isOpen())
        return false;
    QSqlQuery q(db());
    QuizSummary quiz;
    // Quizzes from the index on their start, each one's answers by their key:
    // rows come in order without sorting the whole record.
    const std::optional<QSqlError> failure = forEachRow(
        q,
        QStringLiteral("SELECT %1, a.quiz_id, a.sequence, a.question, a.expected, a.typed,"
                       " a.is_right, a.seconds FROM %2 JOIN answers a ON a.quiz_id = z.id"
                       " ORDER BY z.started, z.id, a.sequence")
            .arg(QLatin1String(kQuizSelect), QLatin1String(kQuizTables)),
        {}, [&](const QSqlQuery &r) {
            if (r.value(0).toLongLong() != quiz.id)
                quiz = quizFrom(r);
            return row(quiz, answerFrom(r, kQuizColumnCount));
        });
    if (failure)
        return failed(reasonFor(*failure), isDamage(*failure));
    error_.clear();
    return true;
}

std::optional<QString> pupilNameProblem(const QString &name, const QList<Pupil> &pupils,
                                        qint64 renaming) {
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return QStringLiteral("请输入练习者的名字。");
    if (trimmed.toUcs4().size() > kPupilNameLength)
        return QStringLiteral("练习者的名字最多 %1 个字。").arg(kPupilNameLength);
    if (std::any_of(trimmed.cbegin(), trimmed.cend(),
                    [](QChar c) { return c.category() == QChar::Other_Control; }))
        return QStringLiteral("练习者的名字里不能有换行等控制字符。");
    for (const Pupil &pupil : pupils) {
        if (pupil.id != renaming && pupil.name == trimmed)
            return QStringLiteral("已经有名叫“%1”的练习者了。").arg(trimmed);
    }
    return std::nullopt;
}

namespace {

// Owned by the application so that it closes before Qt SQL's own globals are
// gone.
QPointer<PracticeRecord> &theRecord() {
    static QPointer<PracticeRecord> record;
    return record;
}

} // namespace

PracticeRecord &practiceRecord() {
    if (!theRecord()) {
        theRecord() = new PracticeRecord(QCoreApplication::instance());
        theRecord()->open(PracticeRecord::defaultPath());
    }
    return *theRecord();
}

bool usePracticeRecordAt(const QString &path) {
    if (!theRecord())
        theRecord() = new PracticeRecord(QCoreApplication::instance());
    return theRecord()->open(path);
}

} // namespace drillpad
