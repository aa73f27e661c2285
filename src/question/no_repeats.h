#pragma once

#include "question/random.h"

#include <bit>
#include <cstdint>
#include <optional>
#include <vector>

namespace drillpad {

// The keys already drawn in one round: open addressing over a table twice
// the size of the round, so that a round of a few questions stays small and
// cheap to clear.
class KeySet {
public:
    explicit KeySet(long long capacity);

    // Adds the key; false when it was there already.
    bool insert(std::uint64_t key);
    void clear();

private:
    std::vector<std::uint64_t> slots_; // key + 1; 0 marks an empty slot
    std::uint64_t mask_ = 0;
};

// The size of a group of questions that only drawing can tell.
inline constexpr long long kUnknownGroupSize = -1;

// Draws `count` questions so that within one section no question comes
// back while others are left: the questions fall into rounds of `different`
// (the number of different questions there are), no question twice in a
// round, and never the same question twice in a row unless there is only
// one. So each question appears at most ⌈count / different⌉ times.
//
// The questions fall into groups (the operator pairs of mixed questions;
// a single group otherwise), `groupSizes` saying how many different
// questions each holds. Each place's group is drawn uniformly from the groups
// with questions left in the round, and then its question by `drawIn(group)`,
// drawn again while it was drawn already: so the groups share the section
// evenly until one runs out, and a place's question is distributed as
// `drawIn` is over the questions of its group still open. A group of unknown
// size, and as a guard any group whose draw cannot give what its size says,
// counts as run out after a number of redraws in a row that its remaining
// questions would almost never need.
//
// `keyOf` gives each question a distinct 64-bit key. `different` may be an
// underestimate only when it is at least `count` (one round).
template <typename Question, typename DrawIn, typename KeyOf>
std::vector<Question> drawWithoutRepeats(int count, long long different,
                                         const std::vector<long long> &groupSizes, DrawIn drawIn,
                                         KeyOf keyOf) {
    std::vector<Question> drawn;
    if (count <= 0 || different <= 0)
        return drawn;
    drawn.reserve(static_cast<std::size_t>(count));
    const long long roundSize = different < count ? different : count;
    KeySet used(roundSize);
    const std::size_t groups = groupSizes.size();
    std::vector<long long> usedIn(groups);
    std::vector<long long> redraws(groups);
    std::vector<int> open; // the groups with questions left in the round
    long long inRound = 0;
    const auto startRound = [&] {
        used.clear();
        inRound = 0;
        open.clear();
        for (std::size_t g = 0; g < groups; ++g) {
            usedIn[g] = redraws[g] = 0;
            if (groupSizes[g] != 0)
                open.push_back(static_cast<int>(g));
        }
    };
    const auto closeGroup = [&](int g) { std::erase(open, g); };
    startRound();
    std::optional<std::uint64_t> lastKey;
    while (static_cast<int>(drawn.size()) < count) {
        if (inRound == roundSize || open.empty())
            startRound();
        if (open.empty())
            break; // no group holds a question
        const int group =
            open[static_cast<std::size_t>(randomBetween(0, static_cast<int>(open.size()) - 1))];
        const auto g = static_cast<std::size_t>(group);
        for (;;) {
            Question question = drawIn(group);
            const std::uint64_t key = keyOf(question);
            // The last question opens the next round: its place takes another group too.
            if (lastKey == key && different > 1)
                break;
            if (!used.insert(key)) {
                // 1024·(k + 1) redraws in a row after k questions of the
                // group: one that the draw gives once in 100·(k + 1) times
                // is still missed less than once in e^10 rounds.
                if (++redraws[g] > 1024 * (usedIn[g] + 1)) {
                    closeGroup(group);
                    break;
                }
                continue;
            }
            drawn.push_back(question);
            lastKey = key;
            ++inRound;
            redraws[g] = 0;
            if (++usedIn[g] == groupSizes[g])
                closeGroup(group);
            break;
        }
    }
    return drawn;
}

// The same with the questions in one group of `different` questions.
template <typename Question, typename Draw, typename KeyOf>
std::vector<Question> drawWithoutRepeats(int count, long long different, Draw draw, KeyOf keyOf) {
    return drawWithoutRepeats<Question>(
        count, different, {different}, [&draw](int) { return draw(); }, keyOf);
}

} // namespace drillpad
