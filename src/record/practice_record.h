#pragma once

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QSqlDatabase;

namespace drillpad {

// A quiz as the pupil chose it, or a second try at earlier mistakes.
enum class QuizKind { Normal = 0, Redo = 1 };

// One quiz of the record, with its totals. The counts are those of this quiz
// alone (the quiz window's own counters run on across quizzes).
struct QuizSummary {
    qint64 id = 0;
    QDateTime started; // local time
    QDateTime ended;   // invalid while unfinished
    QString operation; // "+", "-", "*" or "/"; empty for a redo mixing operations
    int from = 0;      // the range the operands were drawn from; 0 and 0 for a redo
    int to = 0;
    int answered = 0; // judged and skipped questions
    int right = 0;
    double rate = 0;        // right ÷ answered × 100; 0 with nothing answered
    int score = -1;         // rate rounded half to even; -1 while unfinished
    double secondsUsed = 0; // time spent answering, pauses left out
    QuizKind kind = QuizKind::Normal;
    bool finished = false;

    // Seconds per answered question, 0 with nothing answered.
    double secondsPerQuestion() const { return answered > 0 ? secondsUsed / answered : 0; }
};

// One judged or skipped question of a quiz.
struct AnswerEntry {
    qint64 quizId = 0;
    int sequence = 0; // 1 for the first question of the quiz
    QString question; // as the quiz drew it, such as "7×3="
    QString expected; // the answer it wanted, such as "21"
    QString typed;    // what was typed; empty when skipped
    bool skipped = false;
    bool right = false;
    double seconds = 0; // from showing the question to judging it, pauses left out

    friend bool operator==(const AnswerEntry &, const AnswerEntry &) = default;
};

// What a quiz adds to the record in one write: the quiz itself the first
// time, the answers not written yet, its operation and range as they stand,
// and its end once it has one.
struct QuizUpdate {
    qint64 id = 0; // 0: not in the record yet; a successful write sets it
    QuizKind kind = QuizKind::Normal;
    QDateTime started;
    QString operation;
    int from = 0;
    int to = 0;
    QList<AnswerEntry> answers; // in the order asked; their quizId is ignored
    QDateTime ended;            // valid once the quiz is finished
    int score = -1;
    double secondsUsed = 0; // of the whole quiz, at its end
};

// The practice record: every quiz and every answer, kept in one SQLite file.
// A quiz enters the record with its first answer, so a quiz ended without
// one leaves nothing behind; each write is one short transaction that keeps
// a quiz's totals equal to its answers.
//
// Trouble (the file held by another program, a full disk, a folder that
// cannot be written) fails the write after a short wait and leaves the reason
// in problem(); whoever writes keeps what failed and tries again later. Each
// episode of trouble is reported once (takeProblemToReport); a successful
// write ends it. A damaged file, or a database of another program, is moved
// aside under a dated name and a new record started; a record written by a
// newer Drillpad is left alone and not opened.
class PracticeRecord : public QObject {
    Q_OBJECT
public:
    explicit PracticeRecord(QObject *parent = nullptr);
    ~PracticeRecord() override;

    // drillpad.sqlite in the user's data folder.
    static QString defaultPath();

    // Opens (creating or bringing an older layout up to date) the record at
    // `path`, closing any record open before, and checks its integrity: a
    // large file in the background (reads and writes fail meanwhile, without
    // a problem, and changed() follows the check), a small one at once.
    bool open(const QString &path);
    void close();
    bool isOpen() const;
    // True while the integrity check runs in the background.
    bool isChecking() const;
    // Waits for a background check to end (for tools and tests).
    void waitForCheck();
    // Files from this size on are checked in the background.
    void setBackgroundCheckBytes(qint64 bytes);
    QString path() const;
    // The current trouble, or what the last opening had to say (a file moved
    // aside), in plain Chinese for a message; empty while all is well.
    QString problem() const;
    // What has not been reported yet: once for each episode of trouble, and
    // once for a file moved aside. Empty afterwards.
    QString takeProblemToReport();
    // How long a statement waits for another Drillpad holding the file.
    void setBusyTimeout(int milliseconds);
    // Counts the files opened: a write of an earlier generation went to a
    // file that has been moved aside since.
    int generation() const;
    // The Qt SQL connection of the record, for queries of its own.
    QString connectionName() const;

    // Writes one quiz's update in one transaction; on success the update's
    // id is set and its answers are emptied. False, and nothing written, on
    // failure. An update of a quiz not yet in the record and without answers
    // has nothing to keep and succeeds.
    bool write(QuizUpdate &update);

    // Quizzes with at least one answer, newest first; an empty operation
    // lists all. Nothing when the record cannot be read whole.
    std::optional<QList<QuizSummary>> quizzes(const QString &operation = {}) const;
    // The answers of one quiz, in the order asked.
    std::optional<QList<AnswerEntry>> answers(qint64 quizId) const;
    // The wrong and skipped answers of the given quizzes, each question once
    // (its first occurrence), oldest quiz first and in the order asked.
    std::optional<QList<AnswerEntry>> wrongAndSkipped(const QList<qint64> &quizIds) const;
    // Writes whole quizzes with their answers in one transaction, keeping the
    // quiz ids given (which must be new to the record); answers refer to them
    // by quizId. For bringing in a record in bulk.
    bool importQuizzes(const QList<QuizSummary> &quizzes, const QList<AnswerEntry> &answers);
    // Empties the record.
    bool clear();
    // A reader elsewhere found the file damaged: it is moved aside and a new
    // record started, as on opening.
    void moveAsideDamaged();

Q_SIGNALS:
    // The record's content changed (a quiz written, the record cleared,
    // reopened, checked or moved aside).
    void changed();

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

// Reads a record on a connection of its own, in the thread that creates it
// (an export runs off the interface thread), all from one snapshot.
class RecordReader {
public:
    explicit RecordReader(const QString &path);
    ~RecordReader();
    RecordReader(const RecordReader &) = delete;
    RecordReader &operator=(const RecordReader &) = delete;

    // Why the last call failed, in plain Chinese; empty after success.
    QString error() const { return error_; }
    // Whether the last failure was damage in the file.
    bool damaged() const { return damaged_; }

    // As PracticeRecord::wrongAndSkipped().
    std::optional<QList<AnswerEntry>> wrongAndSkipped(const QList<qint64> &quizIds);
    // The lines an export writes: one per answer of each quiz with answers.
    std::optional<qint64> answerCount();
    // Each quiz with answers, oldest first, with each of its answers in the
    // order asked; false from `row` stops. False when reading failed.
    bool forEachAnswer(const std::function<bool(const QuizSummary &, const AnswerEntry &)> &row);

private:
    QSqlDatabase db() const;
    bool failed(const QString &why, bool damage);

    QString connection_;
    QString error_;
    bool damaged_ = false;
};

// The program's one record, opened at defaultPath() on first use. It belongs
// to the application object and closes with it.
PracticeRecord &practiceRecord();
// Makes the program's one record the file at `path`, without touching the
// default one: for tools and tests that must leave the user's record alone.
bool usePracticeRecordAt(const QString &path);

} // namespace drillpad
