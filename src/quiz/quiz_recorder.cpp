#include "quiz/quiz_recorder.h"

#include "quiz/quiz_logic.h"
#include "record/record_clock.h"

#include <QCoreApplication>
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

// Trouble such as a lock held by another program usually passes within
// seconds.
constexpr int kRetryMs = 1000;

QuizRecorder::QuizRecorder(Report report, PracticeRecord *record, Clock clock)
    : report_(std::move(report)), record_(record),
      clock_(clock ? std::move(clock) : Clock(monotonicMs)), retry_(new QTimer) {
    retry_->setInterval(kRetryMs);
    QObject::connect(retry_, &QTimer::timeout, retry_, [this] { flush(); });
    if (QCoreApplication *app = QCoreApplication::instance())
        QObject::connect(app, &QCoreApplication::aboutToQuit, retry_,
                         [this] { writeBeforeExit(); });
}

QuizRecorder::~QuizRecorder() {
    // The window may go before the program ends: once more, quietly.
    if (hasUnwritten() && !exitFailed_) {
        report_ = nullptr;
        writeBeforeExit();
    }
    delete retry_;
}

PracticeRecord &QuizRecorder::record() {
    return record_ ? *record_ : practiceRecord();
}

void QuizRecorder::reportProblem() {
    const QString problem = record().takeProblemToReport();
    if (!problem.isEmpty() && report_)
        report_(problem);
}

bool QuizRecorder::hasUnwritten() const {
    return std::any_of(pending_.cbegin(), pending_.cend(),
                       [](const Pending &quiz) { return quiz.dirty; });
}

bool QuizRecorder::flush() {
    PracticeRecord &file = record();
    for (qsizetype i = 0; i < pending_.size();) {
        Pending &quiz = pending_[i];
        if (quiz.update.id != 0 && quiz.generation != file.generation()) {
            // The file it went to was moved aside: the new one takes it all.
            quiz.update.id = 0;
            quiz.update.answers = quiz.all;
            quiz.dirty = true;
        }
        if (quiz.dirty && !file.write(quiz.update)) {
            reportProblem();
            retry_->start();
            return false;
        }
        quiz.dirty = false;
        quiz.generation = file.generation();
        const bool done = quiz.update.ended.isValid();
        if (done)
            pending_.removeAt(i);
        else
            ++i;
    }
    retry_->stop();
    reportProblem();
    return true;
}

int QuizRecorder::unwrittenAnswers() const {
    int count = 0;
    for (const Pending &quiz : pending_)
        count += static_cast<int>(quiz.update.answers.size());
    return count;
}

bool QuizRecorder::writeBeforeExit() {
    if (!hasUnwritten())
        return true;
    PracticeRecord &file = record();
    const int usual = file.busyTimeout();
    file.setBusyTimeout(kExitWaitMs);
    const bool written = flush();
    file.setBusyTimeout(usual);
    if (!written) {
        exitFailed_ = true;
        retry_->stop();
        if (report_)
            report_(
                QStringLiteral("练习记录文件仍然无法写入（例如正被另一个程序占用，或者磁盘已满），"
                               "%1；程序结束后，这些不会留在练习记录里。")
                    .arg(unwrittenText()));
    }
    return written;
}

bool QuizRecorder::writeOnClose() {
    if (!hasUnwritten() || flush())
        return true;
    if (report_)
        report_(QStringLiteral("练习记录文件仍然无法写入，%1。软件会继续尝试，退出前还会再试一次。")
                    .arg(unwrittenText()));
    return false;
}

QString QuizRecorder::unwrittenText() const {
    const int answers = unwrittenAnswers();
    return answers > 0 ? QStringLiteral("还有 %1 道题的答案没有保存").arg(answers)
                       : QStringLiteral("练习的得分还没有保存");
}

void QuizRecorder::begin(QuizKind kind, const QString &operation, int from, int to) {
    if (running_)
        finish();
    running_ = true;
    answered_ = right_ = 0;
    timing_.start(clock_());
    Pending quiz;
    quiz.update.kind = kind;
    // 0 when the record cannot be read now: the current pupil when written.
    quiz.update.pupilId = record().currentPupilId();
    quiz.update.started = recordNow();
    quiz.update.operation = operation;
    quiz.update.from = from;
    quiz.update.to = to;
    pending_.append(quiz);
    // Nothing is written before the first answer; what waits from earlier
    // quizzes is tried now.
    flush();
}

void QuizRecorder::questionShown(const QString &question, const QString &expected) {
    question_ = question;
    expected_ = expected;
    timing_.questionShown(clock_());
}

void QuizRecorder::pause() {
    timing_.pause(clock_());
}

void QuizRecorder::resume() {
    timing_.resume(clock_());
}

void QuizRecorder::answered(const QString &typed, bool skipped, bool right,
                            const QString &operation, int from, int to) {
    if (!running_ || pending_.isEmpty())
        return;
    ++answered_;
    if (right)
        ++right_;
    Pending &quiz = pending_.last();
    AnswerEntry entry;
    entry.sequence = answered_;
    entry.question = question_;
    entry.expected = expected_;
    entry.typed = skipped ? QString() : typed;
    entry.skipped = skipped;
    entry.right = right;
    entry.seconds = timing_.questionSeconds(clock_());
    entry.at = recordNow();
    quiz.update.answers.append(entry);
    quiz.all.append(entry);
    quiz.dirty = true;
    if (quiz.update.kind == QuizKind::Normal)
        mergeSettings(quiz, operation, from, to);
    flush();
}

void QuizRecorder::mergeSettings(Pending &quiz, const QString &operation, int from, int to) {
    QuizUpdate &u = quiz.update;
    if (operation != u.operation)
        u.operation.clear();
    u.from = std::min(from, u.from);
    u.to = std::max(to, u.to);
}

void QuizRecorder::finish() {
    if (!running_)
        return;
    running_ = false;
    Pending &quiz = pending_.last();
    quiz.update.ended = recordNow();
    quiz.update.score = scoreOf(right_, answered_);
    quiz.update.secondsUsed = timing_.totalSeconds(clock_());
    quiz.dirty = true;
    flush();
}

} // namespace drillpad::quiz
