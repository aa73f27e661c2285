#pragma once

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

#include <memory>

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
    QString question; // as the quiz showed it, such as "7×3="
    QString expected; // the answer it wanted, such as "21"
    QString typed;    // what was typed; empty when skipped
    bool skipped = false;
    bool right = false;
    double seconds = 0; // from showing the question to judging it, pauses left out

    friend bool operator==(const AnswerEntry &, const AnswerEntry &) = default;
};

// The practice record: every quiz and every answer, kept in one SQLite file.
// Each answer is written in its own short transaction as soon as it is
// judged, so ending the program mid-quiz loses nothing already answered.
// Failing writes never throw or block for long: they return false and leave
// the reason in problem(), and the quiz goes on without its record.
class PracticeRecord : public QObject {
    Q_OBJECT
public:
    explicit PracticeRecord(QObject *parent = nullptr);
    ~PracticeRecord() override;

    // drillpad.sqlite in the user's data folder.
    static QString defaultPath();

    // Opens (creating or bringing an older layout up to date) the record at
    // `path`, closing any record open before. A file that is not a usable
    // database is moved aside, renamed with the date, and a new one started;
    // problem() then says so. A record written by a newer Drillpad is left as
    // it is and not opened.
    bool open(const QString &path);
    void close();
    bool isOpen() const;
    QString path() const;
    // What went wrong with the record since it was opened (the first thing),
    // in plain Chinese for a message; empty while all is well.
    QString problem() const;
    // The problem, the first time it is asked for; empty afterwards, so that
    // one message tells of it. Opening the record again starts anew.
    QString takeProblemToReport();
    // How long a write waits for another Drillpad holding the file.
    void setBusyTimeout(int milliseconds);
    // The Qt SQL connection of the record, for queries of its own.
    QString connectionName() const;

    // A new, unfinished quiz; its id, or 0 when it cannot be recorded.
    qint64 startQuiz(QuizKind kind, const QString &operation, int from, int to);
    // Adds one answer to its quiz and the quiz's running totals.
    bool recordAnswer(const AnswerEntry &answer);
    // A quiz whose answers changed operation or range on the way.
    bool setQuizSettings(qint64 quizId, const QString &operation, int from, int to);
    bool finishQuiz(qint64 quizId, int answered, int right, double rate, int score,
                    double secondsUsed);

    // Quizzes, newest first; an empty operation lists all.
    QList<QuizSummary> quizzes(const QString &operation = {}) const;
    // The answers of one quiz, in the order asked.
    QList<AnswerEntry> answers(qint64 quizId) const;
    // Every answer of the record, by quiz and in the order asked.
    QList<AnswerEntry> allAnswers() const;
    // The wrong and skipped answers of the given quizzes, each question once
    // (its first occurrence, oldest quiz first).
    QList<AnswerEntry> wrongAndSkipped(const QList<qint64> &quizIds) const;
    // Writes whole quizzes with their answers in one transaction, keeping the
    // quiz ids given (which must be new to the record); answers refer to them
    // by quizId. For bringing in a record in bulk.
    bool importQuizzes(const QList<QuizSummary> &quizzes, const QList<AnswerEntry> &answers);
    // Empties the record.
    bool clear();

Q_SIGNALS:
    // The record's content changed (a quiz started, answered, finished, or
    // the record was cleared or reopened).
    void changed();

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

// The program's one record, opened at defaultPath() on first use. It belongs
// to the application object and closes with it.
PracticeRecord &practiceRecord();

} // namespace drillpad
