#pragma once

#include <QStringList>

namespace drillpad {

// The windows ask for "宋体" and "隶书", the usual Chinese fonts of the
// program's home platform. Where they are not installed, Qt substitutes
// installed CJK fonts for them so that Chinese text renders everywhere.
void installFontSubstitutions();

} // namespace drillpad
