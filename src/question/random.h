#pragma once

#include <QString>

#include <cstdint>

namespace drillpad {

// A uniform value 0 <= r < 1. The generator is reseeded from the time of day
// before every draw; a process-wide counter is mixed into the seed so that
// draws taken within one clock tick are still independent.
double drawUnit();

// A uniform whole number from 1 to n (n below 1 is taken as 1).
int randomUpToValue(int n);

// The decimal text of a uniform whole number from 1 to n.
QString RandomUpTo(std::int16_t n);

// A uniform whole number from lo to hi inclusive (lo <= hi).
int randomBetween(int lo, int hi);

// The 64-bit finaliser of SplitMix64: a bijective mixer with full avalanche.
constexpr std::uint64_t mix64(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

} // namespace drillpad
