#include "quiz/quiz_recorder.h"

#include "quiz/quiz_logic.h"

#include <QElapsedTimer>

#include <algorithm>

namespace drillpad::quiz {

void QuizClock::start(qint64 nowMs) {
    activeBeforeMs_ = 0;
    runningSinceMs_ = nowMs;
    paused_ = false;
    questionMarkMs_ = 0;
}

void QuizClock::pause(qint64 nowMs) {
    if (paused_)
        return;
    activeBeforeMs_ = activeMs(nowMs);
    paused_ = true;
}

void QuizClock::resume(qint64 nowMs) {
    if (!paused_)
        return;
    runningSinceMs_ = nowMs;
    paused_ = false;
}

void QuizClock::questionShown(qint64 nowMs) {
    questionMarkMs_ = activeMs(nowMs);
}

double QuizClock::questionSeconds(qint64 nowMs) const {
    return static_cast<double>(activeMs(nowMs) - questionMarkMs_) / 1000.0;
}

double QuizClock::totalSeconds(qint64 nowMs) const {
    return static_cast<double>(activeMs(nowMs)) / 1000.0;
}

qint64 QuizClock::activeMs(qint64 nowMs) const {
    return activeBeforeMs_ + (paused_ ? 0 : std::max<qint64>(nowMs - runningSinceMs_, 0));
}

namespace {

qint64 monotonicMs() {
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return timer.elapsed();
}

} // namespace

QuizRecorder::QuizRecorder(Report report, PracticeRecord *record, Clock clock)
    : report_(std::move(report)), record_(record),
      clock_(clock ? std::move(clock) : Clock(monotonicMs)) {}

PracticeRecord &QuizRecorder::record() {
    return record_ ? *record_ : practiceRecord();
}

void QuizRecorder::reportProblem() {
    const QString problem = record().takeProblemToReport();
    if (!problem.isEmpty() && report_)
        report_(problem);
}

void QuizRecorder::begin(QuizKind kind, const QString &operation, int from, int to) {
    if (running_)
        finish();
    running_ = true;
    kind_ = kind;
    answered_ = right_ = 0;
    operation_ = operation;
    from_ = from;
    to_ = to;
    timing_.start(clock_());
    quizId_ = record().startQuiz(kind, operation, from, to);
    reportProblem();
}

void QuizRecorder::questionShown() {
    timing_.questionShown(clock_());
}

void QuizRecorder::pause() {
    timing_.pause(clock_());
}

void QuizRecorder::resume() {
    timing_.resume(clock_());
}

void QuizRecorder::answered(const QString &question, const QString &expected, const QString &typed,
                            bool skipped, bool right, const QString &operation, int from, int to) {
    if (!running_)
        return;
    ++answered_;
    if (right)
        ++right_;
    if (quizId_ <= 0)
        return;
    AnswerEntry entry;
    entry.quizId = quizId_;
    entry.sequence = answered_;
    entry.question = question;
    entry.expected = expected;
    entry.typed = skipped ? QString() : typed;
    entry.skipped = skipped;
    entry.right = right;
    entry.seconds = timing_.questionSeconds(clock_());
    record().recordAnswer(entry);
    if (kind_ == QuizKind::Normal)
        mergeSettings(operation, from, to);
    reportProblem();
}

void QuizRecorder::mergeSettings(const QString &operation, int from, int to) {
    const QString mergedOperation = operation == operation_ ? operation_ : QString();
    const int mergedFrom = std::min(from, from_), mergedTo = std::max(to, to_);
    if (mergedOperation != operation_ || mergedFrom != from_ || mergedTo != to_) {
        operation_ = mergedOperation;
        from_ = mergedFrom;
        to_ = mergedTo;
        record().setQuizSettings(quizId_, operation_, from_, to_);
    }
}

void QuizRecorder::finish() {
    if (!running_)
        return;
    running_ = false;
    if (quizId_ > 0) {
        const double rate = answered_ > 0 ? ratePercent(right_, answered_) : 0.0;
        record().finishQuiz(quizId_, answered_, right_, rate, scoreOf(right_, answered_),
                            timing_.totalSeconds(clock_()));
        reportProblem();
    }
    quizId_ = 0;
}

} // namespace drillpad::quiz
