#pragma once

#include <QStringList>

namespace drillpad {

// The windows ask for "宋体" and "隶书", the usual Chinese fonts of the
// program's home platform. Where they are not installed, Qt substitutes
// installed CJK fonts for them so that Chinese text renders everywhere.
void installFontSubstitutions();

// Application-wide settings shared by the program and its tests: names, font
// substitutions, the default font, Qt's Chinese texts.
void initialiseApplication();

} // namespace drillpad
