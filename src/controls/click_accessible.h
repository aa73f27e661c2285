#pragma once

namespace drillpad {

// Lets screen readers click the program's buttons (command buttons and
// toolbar buttons) exactly as the mouse does: their "press" and "toggle"
// actions run the button's click at once, where Qt's own would toggle a
// check-style button without running its command, or click a push button
// only after a pressed-look animation. Safe to call more than once.
void installClickAccessibility();

} // namespace drillpad
