#pragma once

#include <QDateTime>

#include <functional>

namespace drillpad {

// The wall clock the practice record dates quizzes, answers and reviews by.
// Tests replace it to let days pass.
QDateTime recordNow();

// Makes `clock` the record's clock for as long as it lives.
class ScopedRecordClock {
public:
    explicit ScopedRecordClock(std::function<QDateTime()> clock);
    ~ScopedRecordClock();
    ScopedRecordClock(const ScopedRecordClock &) = delete;
    ScopedRecordClock &operator=(const ScopedRecordClock &) = delete;

private:
    std::function<QDateTime()> previous_;
};

} // namespace drillpad
