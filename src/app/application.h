#pragma once

namespace drillpad {

// Application-wide settings shared by the program and its tests: names, font
// substitutions, the default font.
void initialiseApplication();

} // namespace drillpad
