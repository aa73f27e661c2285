#include "controls/rtf_charset.h"

namespace drillpad {

namespace {

struct Pair {
    int key;
    int value;
};

// \fcharsetN → code page. ANSI (0) and default (1) are absent on purpose:
// they mean the document's own code page.
constexpr Pair kCharsetCodePages[] = {
    {2, 1252},   {77, 10000}, {128, 932},  {129, 949},  {134, 936},  {136, 950},
    {161, 1253}, {162, 1254}, {163, 1258}, {177, 1255}, {178, 1256}, {186, 1257},
    {204, 1251}, {222, 874},  {238, 1250}, {255, 437},
};

struct CodecName {
    int codePage;
    const char *name;
};

constexpr CodecName kCodecNames[] = {
    {437, "IBM437"},        {850, "IBM850"},        {874, "windows-874"},   {932, "Shift_JIS"},
    {936, "GBK"},           {949, "windows-949"},   {950, "Big5"},          {1250, "windows-1250"},
    {1251, "windows-1251"}, {1252, "windows-1252"}, {1253, "windows-1253"}, {1254, "windows-1254"},
    {1255, "windows-1255"}, {1256, "windows-1256"}, {1257, "windows-1257"}, {1258, "windows-1258"},
    {10000, "macintosh"},   {54936, "GB18030"},     {65001, "UTF-8"},
};

} // namespace

int codePageOfCharset(int charset) {
    for (const Pair &pair : kCharsetCodePages) {
        if (pair.key == charset)
            return pair.value;
    }
    return 0;
}

QByteArray codecNameOfCodePage(int codePage) {
    for (const CodecName &codec : kCodecNames) {
        if (codec.codePage == codePage)
            return QByteArray(codec.name);
    }
    return QByteArray();
}

} // namespace drillpad
