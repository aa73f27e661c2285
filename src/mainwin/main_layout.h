#pragma once

#include "controls/twips.h"

#include <optional>

namespace drillpad {

// Where the sheet editor and the border drawn around it go for a given inner
// size of the main window, all in twips. The editor keeps a 2520-twip band at
// the left (the panels), 960 at the top (the toolbars), 120 at the right and
// 480 at the bottom (the status bar); the border starts 10 twips outside the
// editor and ends 25 twips beyond it. Computed in single precision.
struct MainLayout {
    TwipsRect editor;
    TwipsRect border;
};

inline constexpr float kMinMainInnerWidth = 2640.0f;
inline constexpr float kMinMainInnerHeight = 1440.0f;

// No layout for an inner size below 2640 × 1440 twips (the editor would have
// no size); the window then keeps its last layout.
std::optional<MainLayout> mainLayoutFor(TwipsSize inner);

} // namespace drillpad
