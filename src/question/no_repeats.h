#pragma once

#include "question/random.h"

#include <algorithm>
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

// A group of questions drawn without repeats: how many different ones it
// holds, its share of the places, and the family it shares them in.
struct QuestionGroup {
    long long size = kUnknownGroupSize;
    double weight = 1;
    std::size_t family = 0;
};

// Draws `count` questions so that within one section no question comes
// back while others are left: the questions fall into rounds of `different`
// (the number of different questions there are), no question twice in a
// round, and never the same question twice in a row unless there is only
// one. So each question appears at most ⌈count / different⌉ times.
//
// The questions fall into groups (the operator pairs of mixed questions;
// a single group otherwise), and the groups into families. Each place draws a
// family with questions left in the round, in proportion to the weights of
// all its groups, then one of its groups with questions left in proportion to
// theirs, and then the question by `drawIn(group)`, drawn again while it was
// drawn already. So the families share the section as their weights say
// while each has questions left, and within a family its groups do until one
// runs out; a place's question is distributed as `drawIn` is over the
// questions of its group still open. A group of unknown size, and as a guard
// any group whose draw cannot give what its size says, counts as run out
// after a number of redraws in a row that its remaining questions would
// almost never need.
//
// `keyOf` gives each question a distinct 64-bit key. `different` may be an
// underestimate only when it is at least `count` (one round).
template <typename Question, typename DrawIn, typename KeyOf>
std::vector<Question> drawWithoutRepeats(int count, long long different,
                                         const std::vector<QuestionGroup> &groups, DrawIn drawIn,
                                         KeyOf keyOf) {
    std::vector<Question> drawn;
    if (count <= 0 || different <= 0)
        return drawn;
    drawn.reserve(static_cast<std::size_t>(count));
    const long long roundSize = different < count ? different : count;
    KeySet used(roundSize);
    std::vector<long long> usedIn(groups.size());
    std::vector<long long> redraws(groups.size());
    std::vector<int> open; // the groups with questions left in the round
    long long inRound = 0;
    const auto startRound = [&] {
        used.clear();
        inRound = 0;
        open.clear();
        for (std::size_t g = 0; g < groups.size(); ++g) {
            usedIn[g] = redraws[g] = 0;
            if (groups[g].size != 0 && groups[g].weight > 0)
                open.push_back(static_cast<int>(g));
        }
    };
    std::vector<double> familyWeights;
    for (const QuestionGroup &group : groups) {
        familyWeights.resize(std::max(familyWeights.size(), group.family + 1));
        familyWeights[group.family] += group.weight;
    }
    // An open group in proportion to its weight within its family, the
    // family weighing all its groups, open or not.
    const auto drawGroup = [&] {
        std::vector<double> openWeights(familyWeights.size());
        for (const int g : open)
            openWeights[groups[static_cast<std::size_t>(g)].family] +=
                groups[static_cast<std::size_t>(g)].weight;
        const auto weightOf = [&](int g) {
            const QuestionGroup &group = groups[static_cast<std::size_t>(g)];
            return group.weight * familyWeights[group.family] / openWeights[group.family];
        };
        double total = 0;
        for (const int g : open)
            total += weightOf(g);
        double at = drawUnit() * total;
        for (const int g : open) {
            at -= weightOf(g);
            if (at < 0)
                return g;
        }
        return open.back();
    };
    const auto closeGroup = [&](int g) { std::erase(open, g); };
    startRound();
    std::optional<std::uint64_t> lastKey;
    while (static_cast<int>(drawn.size()) < count) {
        if (inRound == roundSize || open.empty())
            startRound();
        if (open.empty())
            break; // no group holds a question
        const int group = open.size() == 1 ? open.front() : drawGroup();
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
            if (++usedIn[g] == groups[g].size)
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
        count, different, {QuestionGroup{different, 1}}, [&draw](int) { return draw(); }, keyOf);
}

} // namespace drillpad
