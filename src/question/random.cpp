#include "question/random.h"

#include <chrono>
#include <cmath>
#include <ctime>

namespace drillpad {

namespace {

std::uint64_t timeOfDayNanoseconds() {
#if defined(CLOCK_REALTIME_COARSE)
    // The coarse clock is a few nanoseconds to read; the counter below keeps
    // draws within one of its ticks apart.
    timespec ts{};
    clock_gettime(CLOCK_REALTIME_COARSE, &ts);
    return static_cast<std::uint64_t>(ts.tv_sec) * 1000000000ull +
           static_cast<std::uint64_t>(ts.tv_nsec);
#else
    return static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
#endif
}

std::uint64_t drawCounter = 0;

} // namespace

double drawUnit() {
    const std::uint64_t seed = timeOfDayNanoseconds() ^ mix64(++drawCounter);
    const std::uint64_t bits = mix64(seed);
    return static_cast<double>(bits >> 11) * 0x1.0p-53;
}

int randomUpToValue(int n) {
    if (n < 1)
        n = 1;
    return static_cast<int>(std::floor(drawUnit() * n)) + 1;
}

QString RandomUpTo(std::int16_t n) {
    return QString::number(randomUpToValue(n));
}

int randomBetween(int lo, int hi) {
    return lo - 1 + randomUpToValue(hi - lo + 1);
}

} // namespace drillpad
