#pragma once

#include "record/daily_review.h"
#include "record/practice_facts.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QSqlDatabase;

namespace drillpad {

// A quiz as the pupil chose it, a second try at earlier mistakes, or the
// daily review of the facts that are due.
enum class QuizKind { Normal = 0, Redo = 1, Review = 2 };

// One who practises: every quiz belongs to one pupil.
struct Pupil {
    qint64 id = 0;
    QString name;

    friend bool operator==(const Pupil &, const Pupil &) = default;
};

// The pupil a record starts with, and the one its quizzes go to when a
// record from before pupils is opened.
inline constexpr const char *kFirstPupilName = "小朋友";
// The longest name, in characters.
inline constexpr int kPupilNameLength = 20;

// Why `name` cannot be a pupil's (new) name among `pupils`: empty, too long,
// a line break or another control character, or another pupil's name;
// nothing when it can. Blanks around the name do not count. `renaming` is
// the pupil being renamed, whose own name is no clash.
std::optional<QString> pupilNameProblem(const QString &name, const QList<Pupil> &pupils,
                                        qint64 renaming = 0);

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
    qint64 pupilId = 0;
    QString pupilName; // empty if the pupil is gone

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
    // When it was judged: the facts' summary is dated by it. Not kept with
    // the answer; an answer read back has none.
    QDateTime at;

    friend bool operator==(const AnswerEntry &, const AnswerEntry &) = default;
};

// What a quiz adds to the record in one write: the quiz itself the first
// time, the answers not written yet, its operation and range as they stand,
// and its end once it has one.
struct QuizUpdate {
    qint64 id = 0; // 0: not in the record yet; a successful write sets it
    // 0: the current pupil when it is first written; a successful write sets it
    qint64 pupilId = 0;
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
// a quiz's totals equal to its answers, and each pupil's summary of the
// basic facts equal to what those answers make of it.
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
    int busyTimeout() const;
    // Counts the files opened: a write of an earlier generation went to a
    // file that has been moved aside since.
    int generation() const;
    // The Qt SQL connection of the record, for queries of its own.
    QString connectionName() const;

    // Writes one quiz's update in one transaction, with what its answers to
    // basic facts make of the pupil's summary of those facts; on success the
    // update's id and pupil are set and its answers are emptied. False, and
    // nothing written, on failure. An update of a quiz not yet in the record
    // and without answers has nothing to keep and succeeds.
    bool write(QuizUpdate &update);

    // Quizzes with at least one answer, newest first; an empty operation
    // lists all, and so does pupil 0. Nothing when the record cannot be read
    // whole.
    std::optional<QList<QuizSummary>> quizzes(const QString &operation = {},
                                              qint64 pupilId = 0) const;

    // The pupils, in the order they were added.
    std::optional<QList<Pupil>> pupils() const;
    // The pupil quizzes are now kept for, kept between runs (the first one
    // when the one chosen last is gone). Nothing when the record cannot be
    // read.
    std::optional<Pupil> currentPupil() const;
    qint64 currentPupilId() const;
    void setCurrentPupil(qint64 pupilId);
    // Adds a pupil with a name that passed pupilNameProblem (blanks around
    // it dropped); its id, or nothing on failure.
    std::optional<qint64> addPupil(const QString &name);
    bool renamePupil(qint64 pupilId, const QString &name);
    // Removes a pupil with all its quizzes, their answers and its facts, in
    // one transaction. The last pupil is not removed.
    bool removePupil(qint64 pupilId);
    // How many quizzes with answers a pupil has.
    std::optional<int> quizCount(qint64 pupilId) const;

    // The pupil's summary of each basic fact answered at least once. Nothing
    // while the summaries of a record from before them are being made.
    std::optional<QList<FactSummary>> factSummaries(qint64 pupilId) const;
    // Each quiz of the pupil with answers: its day, time and questions.
    std::optional<QList<DayPractice>> practiceDays(qint64 pupilId) const;
    // The answers of one quiz, in the order asked.
    std::optional<QList<AnswerEntry>> answers(qint64 quizId) const;
    // The wrong and skipped answers of the given quizzes, each question once
    // (its first occurrence), oldest quiz first and in the order asked.
    std::optional<QList<AnswerEntry>> wrongAndSkipped(const QList<qint64> &quizIds) const;
    // Writes whole quizzes with their answers in one transaction, keeping the
    // quiz ids given (which must be new to the record); answers refer to them
    // by quizId, and the pupils' summaries of the facts are made again from
    // every answer. A quiz of pupil 0 goes to the current pupil. For bringing
    // in a record in bulk.
    bool importQuizzes(const QList<QuizSummary> &quizzes, const QList<AnswerEntry> &answers);
    // Empties the record of quizzes, answers and summaries; the pupils stay.
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
