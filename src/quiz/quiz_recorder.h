#pragma once

#include "record/practice_record.h"

#include <QString>

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

// Keeps one quiz in the practice record as it goes: its start, each judged
// or skipped answer with its time, and its finish with the quiz's own score.
// Whatever goes wrong with the record is told once through `report` and the
// quiz goes on without it.
class QuizRecorder {
public:
    using Clock = std::function<qint64()>;
    using Report = std::function<void(const QString &)>;

    // `record` null: the program's one record, opened when first needed.
    QuizRecorder(Report report, PracticeRecord *record = nullptr, Clock clock = {});

    void begin(QuizKind kind, const QString &operation, int from, int to);
    void questionShown();
    void pause();
    void resume();
    // One judged answer, drawn with the given operation and range; a normal
    // quiz whose answers mix operations keeps an empty one, and its range
    // grows to hold every answer's. A redo keeps what it began with.
    void answered(const QString &question, const QString &expected, const QString &typed,
                  bool skipped, bool right, const QString &operation, int from, int to);
    void finish();

    bool running() const { return running_; }
    int answeredCount() const { return answered_; }
    int rightCount() const { return right_; }

private:
    PracticeRecord &record();
    void reportProblem();
    void mergeSettings(const QString &operation, int from, int to);

    Report report_;
    PracticeRecord *record_;
    Clock clock_;
    QuizClock timing_;
    bool running_ = false;
    QuizKind kind_ = QuizKind::Normal;
    qint64 quizId_ = 0;
    int answered_ = 0;
    int right_ = 0;
    QString operation_;
    int from_ = 0;
    int to_ = 0;
};

} // namespace drillpad::quiz
