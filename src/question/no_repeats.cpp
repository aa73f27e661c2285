#include "question/no_repeats.h"

#include "question/random.h"

#include <algorithm>

namespace drillpad {

KeySet::KeySet(long long capacity) {
    const auto size = std::bit_ceil(static_cast<std::uint64_t>(std::max(capacity, 4LL)) * 2);
    slots_.assign(size, 0);
    mask_ = size - 1;
}

bool KeySet::insert(std::uint64_t key) {
    const std::uint64_t stored = key + 1;
    for (std::uint64_t slot = mix64(key) & mask_;; slot = (slot + 1) & mask_) {
        if (slots_[slot] == stored)
            return false;
        if (slots_[slot] == 0) {
            slots_[slot] = stored;
            return true;
        }
    }
}

void KeySet::clear() {
    std::fill(slots_.begin(), slots_.end(), 0);
}

} // namespace drillpad
