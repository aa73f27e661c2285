#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace drillpad {

// The code page and font character set the program writes with: Simplified
// Chinese (GBK), as word processors on Chinese systems expect.
inline constexpr int kChineseCodePage = 936;
inline constexpr int kChineseCharset = 134;
// What RTF assumes when a file names no code page, and the code page of a
// font whose character set is ANSI (\fcharset0).
inline constexpr int kWesternCodePage = 1252;

// Symbol fonts (\fcharset2) place their own signs on the byte values: the
// layout of the font Symbol (Windows calls it code page 42), and that of
// Wingdings, which is no Windows code page and is only told apart by the
// font's name.
inline constexpr int kSymbolCodePage = 42;
inline constexpr int kWingdingsCodePage = -42;

// The Windows code page of an RTF font character set (\fcharsetN), or 0 when
// the character set means "the document's code page" or is unknown. Symbol
// fonts are not covered: see symbolCodePageOf.
int codePageOfCharset(int charset);

// The name QStringDecoder and QStringEncoder know a Windows code page by;
// empty when there is none.
QByteArray codecNameOfCodePage(int codePage);

// The layout of a symbol font by its name.
int symbolCodePageOf(const QString &fontName);
bool isSymbolCodePage(int codePage);
// The text of bytes in a symbol font: the signs Unicode has for them, and
// the font's private code (U+F000 plus the byte) for the others, as word
// processors keep them.
QString decodeSymbolBytes(int symbolCodePage, QByteArrayView bytes);

// In the double-byte code pages of East Asia (932, 936, 949, 950), whether a
// byte starts a two-byte character, and whether a byte can be its second.
bool isLeadByte(int codePage, unsigned char byte);
bool isTrailByte(int codePage, unsigned char byte);

} // namespace drillpad
