#pragma once

#include <bit>
#include <cstdint>
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

// Draws `count` questions with `draw` (which returns a question) so that
// within one section no question comes back while others are left: the
// questions fall into rounds of `different` (the number of different
// questions the draw can give), no question twice in a round, and never the
// same question twice in a row unless there is only one. So each question
// appears at most ⌈count / different⌉ times. A question that was drawn
// already is put back and drawn again, which keeps every position
// distributed as `draw` is over the questions still open, and exactly as
// `draw` is when `draw` is uniform.
//
// `keyOf` gives each question a distinct 64-bit key. `different` may be an
// underestimate only for draws whose supply is far beyond `count`; as a
// guard against a draw that cannot complete a round, a round also ends after
// a number of consecutive redraws that a complete round would almost never
// need.
template <typename Question, typename Draw, typename KeyOf>
std::vector<Question> drawWithoutRepeats(int count, long long different, Draw draw, KeyOf keyOf) {
    std::vector<Question> drawn;
    if (count <= 0 || different <= 0)
        return drawn;
    drawn.reserve(static_cast<std::size_t>(count));
    const long long roundSize = different < count ? different : count;
    // A coupon collector needs about n·ln n draws for a round of n; this is
    // far above that for every round size.
    const long long redrawLimit = 64 * roundSize + 1024;
    KeySet used(roundSize);
    long long inRound = 0;
    bool haveLast = false;
    std::uint64_t lastKey = 0;
    long long redraws = 0;
    while (static_cast<int>(drawn.size()) < count) {
        if (inRound == roundSize || redraws > redrawLimit) {
            used.clear();
            inRound = 0;
            redraws = 0;
        }
        Question question = draw();
        const std::uint64_t key = keyOf(question);
        const bool repeatsLast = haveLast && key == lastKey && different > 1;
        if (repeatsLast || !used.insert(key)) {
            ++redraws;
            continue;
        }
        drawn.push_back(question);
        ++inRound;
        redraws = 0;
        haveLast = true;
        lastKey = key;
    }
    return drawn;
}

} // namespace drillpad
