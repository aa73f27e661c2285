#pragma once

#include <QByteArray>

namespace drillpad {

// The code page and font character set the program writes with: Simplified
// Chinese (GBK), as word processors on Chinese systems expect.
inline constexpr int kChineseCodePage = 936;
inline constexpr int kChineseCharset = 134;
// What RTF assumes when a file names no code page.
inline constexpr int kWesternCodePage = 1252;

// The Windows code page of an RTF font character set (\fcharsetN), or 0 when
// the character set means "the document's code page" or is unknown.
int codePageOfCharset(int charset);

// The name QStringDecoder and QStringEncoder know a Windows code page by;
// empty when there is none.
QByteArray codecNameOfCodePage(int codePage);

} // namespace drillpad
