#include "record/record_clock.h"

namespace drillpad {

namespace {

std::function<QDateTime()> &replacement() {
    static std::function<QDateTime()> clock;
    return clock;
}

} // namespace

QDateTime recordNow() {
    return replacement() ? replacement()() : QDateTime::currentDateTime();
}

ScopedRecordClock::ScopedRecordClock(std::function<QDateTime()> clock)
    : previous_(std::exchange(replacement(), std::move(clock))) {}

ScopedRecordClock::~ScopedRecordClock() {
    replacement() = std::move(previous_);
}

} // namespace drillpad
