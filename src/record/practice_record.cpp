#include "record/practice_record.h"

#include "record/disk_sync.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>

#include <algorithm>
#include <atomic>
#include <optional>

namespace drillpad {

namespace {

// The layout is built by these steps in order; PRAGMA user_version counts the
// steps a file has had, so an older file takes only the steps it lacks.
const char *const kLayoutSteps[][4] = {
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
};
constexpr int kLayoutVersion = static_cast<int>(std::size(kLayoutSteps));

constexpr int kDefaultBusyTimeoutMs = 2000;

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
    return QStringLiteral("练习记录没有保存，练习照常进行。\n原因：") + why;
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

QString operationOrNull(const QString &operation) {
    return operation.isNull() ? QStringLiteral("") : operation;
}

QDateTime fromMs(const QVariant &value) {
    return value.isNull() ? QDateTime() : QDateTime::fromMSecsSinceEpoch(value.toLongLong());
}

// A free name beside `path` for a damaged file, carrying today's date.
QString asideName(const QString &path) {
    const QFileInfo info(path);
    const QString stem = info.dir().filePath(info.completeBaseName() + QStringLiteral("-damaged-") +
                                             QDate::currentDate().toString(Qt::ISODate));
    const QString suffix = QLatin1Char('.') + info.suffix();
    QString candidate = stem + suffix;
    for (int n = 2; QFileInfo::exists(candidate); ++n)
        candidate = stem + QLatin1Char('-') + QString::number(n) + suffix;
    return candidate;
}

const char *const kQuizColumns = "id, started, ended, operation, range_from, range_to, answered, "
                                 "right_count, rate, score, seconds_used, kind";
const char *const kAnswerColumns =
    "quiz_id, sequence, question, expected, typed, is_right, seconds";

QuizSummary quizFrom(const QSqlQuery &q) {
    QuizSummary s;
    s.id = q.value(0).toLongLong();
    s.started = fromMs(q.value(1));
    s.ended = fromMs(q.value(2));
    s.operation = q.value(3).toString();
    s.from = q.value(4).toInt();
    s.to = q.value(5).toInt();
    s.answered = q.value(6).toInt();
    s.right = q.value(7).toInt();
    s.rate = q.value(8).toDouble();
    s.finished = s.ended.isValid();
    s.score = s.finished ? q.value(9).toInt() : -1;
    s.secondsUsed = q.value(10).toDouble();
    s.kind = q.value(11).toInt() == 1 ? QuizKind::Redo : QuizKind::Normal;
    return s;
}

// Every row a query returns, each read by `read`; none when it fails.
template <typename Read>
auto readRows(const QSqlDatabase &db, const QString &sql, const QVariantList &values, Read read) {
    QSqlQuery q(db);
    q.setForwardOnly(true);
    QList<decltype(read(q))> rows;
    if (!q.prepare(sql))
        return rows;
    for (const QVariant &value : values)
        q.addBindValue(value);
    if (q.exec()) {
        while (q.next())
            rows.append(read(q));
    }
    return rows;
}

AnswerEntry answerFrom(const QSqlQuery &q) {
    AnswerEntry a;
    a.quizId = q.value(0).toLongLong();
    a.sequence = q.value(1).toInt();
    a.question = q.value(2).toString();
    a.expected = q.value(3).toString();
    a.skipped = q.value(4).isNull();
    a.typed = a.skipped ? QString() : q.value(4).toString();
    a.right = q.value(5).toBool();
    a.seconds = q.value(6).toDouble();
    return a;
}

} // namespace

struct PracticeRecord::Impl {
    QString connection;
    QString path;
    QString problem;
    bool reported = false;
    int busyTimeoutMs = kDefaultBusyTimeoutMs;
    bool open = false;
    // Prepared once: an answer is written on every judged question.
    std::optional<QSqlQuery> answerInsert;
    std::optional<QSqlQuery> addToTotals;
    std::optional<DiskSync> journalSync;

    QSqlDatabase db() const { return QSqlDatabase::database(connection, false); }

    void fail(const QString &why) {
        if (problem.isEmpty())
            problem = why;
    }
    // Notes a failed statement; false, for returning.
    bool failed(const QSqlError &error) {
        fail(notKept(reasonFor(error)));
        return false;
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

    bool insertAnswer(const AnswerEntry &a) {
        QSqlQuery &insert = *answerInsert;
        insert.bindValue(0, a.quizId);
        insert.bindValue(1, a.sequence);
        insert.bindValue(2, a.question);
        insert.bindValue(3, a.expected);
        insert.bindValue(4, a.skipped ? QVariant(QMetaType(QMetaType::QString)) : a.typed);
        insert.bindValue(5, a.right ? 1 : 0);
        insert.bindValue(6, a.seconds);
        return insert.exec() || failed(insert.lastError());
    }

    enum class OpenResult { Ready, Damaged, Failed };
    OpenResult openAndMigrate();
};

PracticeRecord::PracticeRecord(QObject *parent) : QObject(parent), d_(std::make_unique<Impl>()) {
    static std::atomic<int> counter{0};
    d_->connection = QStringLiteral("drillpad-record-%1").arg(++counter);
}

PracticeRecord::~PracticeRecord() {
    close();
}

QString PracticeRecord::defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/drillpad.sqlite");
}

void PracticeRecord::close() {
    d_->answerInsert.reset();
    d_->addToTotals.reset();
    d_->journalSync.reset();
    d_->open = false;
    if (QSqlDatabase::contains(d_->connection)) {
        d_->db().close();
        QSqlDatabase::removeDatabase(d_->connection);
    }
}

// Opens the file and brings its layout up to date.
PracticeRecord::Impl::OpenResult PracticeRecord::Impl::openAndMigrate() {
    Impl &d = *this;
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), d.connection);
    db.setDatabaseName(d.path);
    if (!db.open()) {
        d.failed(db.lastError());
        return OpenResult::Failed;
    }
    QSqlQuery q(db);
    // The version is read from the file's first page: a file that is not a
    // database fails here.
    if (!q.exec(QStringLiteral("PRAGMA busy_timeout = %1").arg(d.busyTimeoutMs)) ||
        !q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) ||
        !q.exec(QStringLiteral("PRAGMA user_version")) || !q.next()) {
        if (isDamage(q.lastError()))
            return OpenResult::Damaged;
        d.failed(q.lastError());
        return OpenResult::Failed;
    }
    const int version = q.value(0).toInt();
    if (version > kLayoutVersion) {
        d.fail(notKept(QStringLiteral("记录文件由较新版本的 Drillpad 建立。")));
        return OpenResult::Failed;
    }
    // WAL lets readers and a writer work side by side. Commits do not wait
    // for the disk (a crash of the program loses nothing committed); the
    // journal is flushed right after each answer on a thread of its own, so
    // a power cut loses at most what was being answered.
    if (!d.exec(q, QStringLiteral("PRAGMA journal_mode = WAL")) ||
        !d.exec(q, QStringLiteral("PRAGMA synchronous = NORMAL")) ||
        !d.exec(q, QStringLiteral("PRAGMA foreign_keys = ON")))
        return isDamage(q.lastError()) ? OpenResult::Damaged : OpenResult::Failed;
    if (version == kLayoutVersion)
        return OpenResult::Ready;

    // Another Drillpad may be migrating the same file: take the write lock
    // first and read the version again under it.
    if (!d.exec(q, QStringLiteral("BEGIN IMMEDIATE")))
        return OpenResult::Failed;
    int current = -1;
    if (q.exec(QStringLiteral("PRAGMA user_version")) && q.next())
        current = q.value(0).toInt();
    bool ok = current >= 0;
    for (int step = std::max(current, 0); ok && step < kLayoutVersion; ++step) {
        for (const char *sql : kLayoutSteps[step]) {
            if (sql && !d.exec(q, QString::fromUtf8(sql))) {
                ok = false;
                break;
            }
        }
    }
    ok = ok && d.exec(q, QStringLiteral("PRAGMA user_version = %1").arg(kLayoutVersion)) &&
         d.exec(q, QStringLiteral("COMMIT"));
    if (!ok) {
        const bool damaged = isDamage(q.lastError());
        q.exec(QStringLiteral("ROLLBACK"));
        return damaged ? OpenResult::Damaged : OpenResult::Failed;
    }
    return OpenResult::Ready;
}

bool PracticeRecord::open(const QString &path) {
    close();
    d_->path = path;
    d_->problem.clear();
    d_->reported = false;

    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        d_->fail(notKept(QStringLiteral("无法建立数据文件夹“%1”。").arg(folder)));
        return false;
    }
    Impl::OpenResult result = d_->openAndMigrate();
    if (result == Impl::OpenResult::Damaged) {
        // Keep the damaged file for whoever wants to rescue it, with its
        // journal files, and start afresh.
        close();
        const QString aside = asideName(path);
        if (!QFile::rename(path, aside)) {
            d_->fail(notKept(QStringLiteral("记录文件已损坏，且无法改名。")));
            return false;
        }
        for (const char *journal : {"-wal", "-shm"})
            QFile::rename(path + QLatin1String(journal), aside + QLatin1String(journal));
        d_->problem.clear();
        result = d_->openAndMigrate();
        if (result == Impl::OpenResult::Ready)
            d_->problem = QStringLiteral("练习记录文件已损坏，已改名为“%1”保留，"
                                         "并新建了记录文件；以前的记录不再显示。")
                              .arg(QFileInfo(aside).fileName());
    }
    if (result != Impl::OpenResult::Ready) {
        d_->fail(notKept(QStringLiteral("记录文件无法打开。")));
        close();
        return false;
    }

    QSqlDatabase db = d_->db();
    d_->answerInsert.emplace(db);
    d_->addToTotals.emplace(db);
    d_->answerInsert->prepare(
        QStringLiteral("INSERT INTO answers (%1) VALUES (?, ?, ?, ?, ?, ?, ?)")
            .arg(QLatin1String(kAnswerColumns)));
    d_->addToTotals->prepare(QStringLiteral(
        "UPDATE quizzes SET answered = answered + 1, right_count = right_count + ?,"
        " rate = 100.0 * (right_count + ?) / (answered + 1), seconds_used = seconds_used + ?"
        " WHERE id = ?"));
    d_->journalSync.emplace(path + QStringLiteral("-wal"));
    d_->open = true;
    Q_EMIT changed();
    return true;
}

bool PracticeRecord::isOpen() const {
    return d_->open;
}

QString PracticeRecord::path() const {
    return d_->path;
}

QString PracticeRecord::problem() const {
    return d_->problem;
}

QString PracticeRecord::takeProblemToReport() {
    if (d_->reported || d_->problem.isEmpty())
        return {};
    d_->reported = true;
    return d_->problem;
}

void PracticeRecord::setBusyTimeout(int milliseconds) {
    d_->busyTimeoutMs = milliseconds;
    if (d_->open)
        QSqlQuery(d_->db()).exec(QStringLiteral("PRAGMA busy_timeout = %1").arg(milliseconds));
}

QString PracticeRecord::connectionName() const {
    return d_->connection;
}

qint64 PracticeRecord::startQuiz(QuizKind kind, const QString &operation, int from, int to) {
    if (!d_->open)
        return 0;
    QSqlQuery q(d_->db());
    q.prepare(QStringLiteral("INSERT INTO quizzes (started, operation, range_from, range_to, kind)"
                             " VALUES (?, ?, ?, ?, ?)"));
    q.addBindValue(QDateTime::currentMSecsSinceEpoch());
    q.addBindValue(operationOrNull(operation));
    q.addBindValue(from);
    q.addBindValue(to);
    q.addBindValue(static_cast<int>(kind));
    if (!q.exec())
        return d_->failed(q.lastError());
    Q_EMIT changed();
    return q.lastInsertId().toLongLong();
}

bool PracticeRecord::recordAnswer(const AnswerEntry &answer) {
    if (!d_->open || answer.quizId <= 0)
        return false;
    QSqlQuery &totals = *d_->addToTotals;
    totals.bindValue(0, answer.right ? 1 : 0);
    totals.bindValue(1, answer.right ? 1 : 0);
    totals.bindValue(2, answer.seconds);
    totals.bindValue(3, answer.quizId);
    if (!d_->transaction([&] {
            return d_->insertAnswer(answer) && (totals.exec() || d_->failed(totals.lastError()));
        }))
        return false;
    d_->journalSync->request();
    Q_EMIT changed();
    return true;
}

bool PracticeRecord::setQuizSettings(qint64 quizId, const QString &operation, int from, int to) {
    if (!d_->open || quizId <= 0)
        return false;
    QSqlQuery q(d_->db());
    q.prepare(QStringLiteral(
        "UPDATE quizzes SET operation = ?, range_from = ?, range_to = ? WHERE id = ?"));
    for (const QVariant &value :
         {QVariant(operationOrNull(operation)), QVariant(from), QVariant(to), QVariant(quizId)})
        q.addBindValue(value);
    if (!q.exec())
        return d_->failed(q.lastError());
    Q_EMIT changed();
    return true;
}

bool PracticeRecord::finishQuiz(qint64 quizId, int answered, int right, double rate, int score,
                                double secondsUsed) {
    if (!d_->open || quizId <= 0)
        return false;
    QSqlQuery q(d_->db());
    q.prepare(
        QStringLiteral("UPDATE quizzes SET ended = ?, answered = ?, right_count = ?, rate = ?,"
                       " score = ?, seconds_used = ? WHERE id = ?"));
    for (const QVariant &value :
         {QVariant(QDateTime::currentMSecsSinceEpoch()), QVariant(answered), QVariant(right),
          QVariant(rate), QVariant(score), QVariant(secondsUsed), QVariant(quizId)})
        q.addBindValue(value);
    if (!q.exec())
        return d_->failed(q.lastError());
    Q_EMIT changed();
    return true;
}

QList<QuizSummary> PracticeRecord::quizzes(const QString &operation) const {
    if (!d_->open)
        return {};
    const QString where = operation.isEmpty() ? QString() : QStringLiteral(" WHERE operation = ?");
    return readRows(d_->db(),
                    QStringLiteral("SELECT %1 FROM quizzes%2 ORDER BY started DESC, id DESC")
                        .arg(QLatin1String(kQuizColumns), where),
                    operation.isEmpty() ? QVariantList() : QVariantList{operation}, quizFrom);
}

QList<AnswerEntry> PracticeRecord::answers(qint64 quizId) const {
    if (!d_->open)
        return {};
    return readRows(d_->db(),
                    QStringLiteral("SELECT %1 FROM answers WHERE quiz_id = ? ORDER BY sequence")
                        .arg(QLatin1String(kAnswerColumns)),
                    {quizId}, answerFrom);
}

QList<AnswerEntry> PracticeRecord::allAnswers() const {
    if (!d_->open)
        return {};
    return readRows(d_->db(),
                    QStringLiteral("SELECT %1 FROM answers ORDER BY quiz_id, sequence")
                        .arg(QLatin1String(kAnswerColumns)),
                    {}, answerFrom);
}

QList<AnswerEntry> PracticeRecord::wrongAndSkipped(const QList<qint64> &quizIds) const {
    if (!d_->open || quizIds.isEmpty())
        return {};
    QStringList ids;
    for (qint64 id : quizIds)
        ids << QString::number(id);
    QList<AnswerEntry> wrong =
        readRows(d_->db(),
                 QStringLiteral("SELECT a.quiz_id, a.sequence, a.question, a.expected, a.typed,"
                                " a.is_right, a.seconds FROM answers a JOIN quizzes z ON"
                                " z.id = a.quiz_id WHERE a.is_right = 0 AND a.quiz_id IN (%1)"
                                " ORDER BY z.started, z.id, a.sequence")
                     .arg(ids.join(QLatin1Char(','))),
                 {}, answerFrom);
    // Each question once, where it first went wrong.
    QSet<QString> seen;
    wrong.removeIf([&seen](const AnswerEntry &a) {
        if (seen.contains(a.question))
            return true;
        seen.insert(a.question);
        return false;
    });
    return wrong;
}

bool PracticeRecord::importQuizzes(const QList<QuizSummary> &quizzes,
                                   const QList<AnswerEntry> &answers) {
    if (!d_->open)
        return false;
    QSqlQuery quiz(d_->db());
    quiz.prepare(
        QStringLiteral("INSERT INTO quizzes (%1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
            .arg(QLatin1String(kQuizColumns)));
    const auto insertQuiz = [&](const QuizSummary &s) {
        const QVariant noTime{QMetaType(QMetaType::LongLong)};
        quiz.bindValue(0, s.id > 0 ? QVariant(s.id) : noTime);
        quiz.bindValue(1, s.started.toMSecsSinceEpoch());
        quiz.bindValue(2, s.finished && s.ended.isValid() ? QVariant(s.ended.toMSecsSinceEpoch())
                                                          : noTime);
        quiz.bindValue(3, operationOrNull(s.operation));
        quiz.bindValue(4, s.from);
        quiz.bindValue(5, s.to);
        quiz.bindValue(6, s.answered);
        quiz.bindValue(7, s.right);
        quiz.bindValue(8, s.rate);
        quiz.bindValue(9, s.score);
        quiz.bindValue(10, s.secondsUsed);
        quiz.bindValue(11, static_cast<int>(s.kind));
        return quiz.exec() || d_->failed(quiz.lastError());
    };
    const bool ok = d_->transaction([&] {
        return std::all_of(quizzes.cbegin(), quizzes.cend(), insertQuiz) &&
               std::all_of(answers.cbegin(), answers.cend(),
                           [&](const AnswerEntry &a) { return d_->insertAnswer(a); });
    });
    if (ok)
        Q_EMIT changed();
    return ok;
}

bool PracticeRecord::clear() {
    if (!d_->open)
        return false;
    QSqlQuery q(d_->db());
    if (!d_->transaction([&] {
            return d_->exec(q, QStringLiteral("DELETE FROM answers")) &&
                   d_->exec(q, QStringLiteral("DELETE FROM quizzes"));
        }))
        return false;
    // Give the space back; another Drillpad reading at the moment only
    // delays this to a later clearing.
    q.exec(QStringLiteral("VACUUM"));
    Q_EMIT changed();
    return true;
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
