#pragma once

#include "record/practice_record.h"

#include <QString>
#include <QTimer>

#include <functional>

namespace drillpad::quiz {

// Time on a quiz and on its current question, pauses left out, from a clock
// in milliseconds that only moves forward.
class QuizClock {
public:
    void start(qint64 nowMs);
    void pause(qint64 nowMs);
    void resume(qint64 nowMs);
    // Starts timing a newly shown question.
    void questionShown(qint64 nowMs);
    // Seconds since the current question was shown.
    double questionSeconds(qint64 nowMs) const;
    // Seconds since the start.
    double totalSeconds(qint64 nowMs) const;

private:
    qint64 activeMs(qint64 nowMs) const;

    qint64 activeBeforeMs_ = 0; // active time up to the last pause
    qint64 runningSinceMs_ = 0;
    bool paused_ = false;
    qint64 questionMarkMs_ = 0; // active time when the question was shown
};

// Keeps the quizzes in the practice record as they go: each quiz with its
// answers, their times and the quiz's own score. What cannot be written at
// once (the file held by another program, a full disk) is kept here and
// written as soon as the file is usable again: with the next answer, at the
// quiz's end, or by a timer that tries again every second, so nothing the
// pupil answered is lost and a quiz begun during the trouble is recorded too.
// Each episode of trouble is told once through `report`; the quiz goes on.
// Each quiz belongs to the pupil who was current when it began. When the
// program ends, what still waits is tried once more (writeBeforeExit).
class QuizRecorder {
public:
    using Clock = std::function<qint64()>;
    using Report = std::function<void(const QString &)>;

    // `record` null: the program's one record, opened when first needed.
    QuizRecorder(Report report, PracticeRecord *record = nullptr, Clock clock = {});
    ~QuizRecorder();
    QuizRecorder(const QuizRecorder &) = delete;
    QuizRecorder &operator=(const QuizRecorder &) = delete;

    void begin(QuizKind kind, const QString &operation, int from, int to);
    // A question drawn and shown: the record keeps it as drawn, whatever
    // the question box shows when it is judged.
    void questionShown(const QString &question, const QString &expected);
    void pause();
    void resume();
    // The shown question judged, drawn with the given operation and range;
    // a normal quiz whose answers mix operations keeps an empty one, and its
    // range grows to hold every answer's. A redo keeps what it began with.
    void answered(const QString &typed, bool skipped, bool right, const QString &operation,
                  int from, int to);
    void finish();

    // Writes what waits; true when nothing is left to write.
    bool flush();
    // At the program's end: writes what waits, waiting up to kExitWaitMs
    // for a file that another program holds. What still cannot be written
    // is lost with the program, and `report` says how many answers that is.
    // True when nothing is left unwritten.
    bool writeBeforeExit();
    // When the quiz window closes: writes what waits, once more at once; what
    // still cannot be written is said, and waits for the timer and the end.
    bool writeOnClose();
    static constexpr int kExitWaitMs = 2000;
    // Answers and quiz ends not in the record yet.
    bool hasUnwritten() const;

    bool running() const { return running_; }
    int answeredCount() const { return answered_; }
    int rightCount() const { return right_; }

private:
    // A quiz not yet wholly in the record: what its next write brings, every
    // answer so far (a file moved aside takes them all again), and the
    // record's generation its last write went to.
    struct Pending {
        QuizUpdate update;
        QList<AnswerEntry> all;
        int generation = 0;
        bool dirty = false;
    };

    PracticeRecord &record();
    void reportProblem();
    int unwrittenAnswers() const;
    // "还有 3 道题的答案没有保存", or the quiz's end when no answer waits.
    QString unwrittenText() const;
    void mergeSettings(Pending &quiz, const QString &operation, int from, int to);

    Report report_;
    PracticeRecord *record_;
    Clock clock_;
    QuizClock timing_;
    bool running_ = false;
    int answered_ = 0;
    int right_ = 0;
    QString question_;
    QString expected_;
    // Oldest first; while a quiz runs, it is the last.
    QList<Pending> pending_;
    QTimer *retry_;
    // writeBeforeExit has run and failed: the end is not waited for twice.
    bool exitFailed_ = false;
};

} // namespace drillpad::quiz
