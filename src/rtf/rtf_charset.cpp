#include "rtf/rtf_charset.h"

namespace drillpad {

namespace {

struct Pair {
    int key;
    int value;
};

// \fcharsetN → code page. Default (1) is absent on purpose: it means the
// document's own code page. Symbol (2) has a layout of its own.
constexpr Pair kCharsetCodePages[] = {
    {0, 1252},   {77, 10000}, {128, 932},  {129, 949},  {134, 936},  {136, 950},
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

struct Sign {
    unsigned char byte;
    char32_t character;
};

// The font Symbol: Greek letters on the Latin ones, mathematical signs.
// clang-format off
constexpr Sign kSymbolSigns[] = {
    {0x22, U'∀'}, {0x24, U'∃'}, {0x27, U'∋'}, {0x2A, U'∗'}, {0x2D, U'−'}, {0x40, U'≅'},
    {0x41, U'Α'}, {0x42, U'Β'}, {0x43, U'Χ'}, {0x44, U'Δ'}, {0x45, U'Ε'}, {0x46, U'Φ'},
    {0x47, U'Γ'}, {0x48, U'Η'}, {0x49, U'Ι'}, {0x4A, U'ϑ'}, {0x4B, U'Κ'}, {0x4C, U'Λ'},
    {0x4D, U'Μ'}, {0x4E, U'Ν'}, {0x4F, U'Ο'}, {0x50, U'Π'}, {0x51, U'Θ'}, {0x52, U'Ρ'},
    {0x53, U'Σ'}, {0x54, U'Τ'}, {0x55, U'Υ'}, {0x56, U'ς'}, {0x57, U'Ω'}, {0x58, U'Ξ'},
    {0x59, U'Ψ'}, {0x5A, U'Ζ'}, {0x5C, U'∴'}, {0x5E, U'⊥'}, {0x60, U'‾'}, {0x61, U'α'},
    {0x62, U'β'}, {0x63, U'χ'}, {0x64, U'δ'}, {0x65, U'ε'}, {0x66, U'φ'}, {0x67, U'γ'},
    {0x68, U'η'}, {0x69, U'ι'}, {0x6A, U'ϕ'}, {0x6B, U'κ'}, {0x6C, U'λ'}, {0x6D, U'μ'},
    {0x6E, U'ν'}, {0x6F, U'ο'}, {0x70, U'π'}, {0x71, U'θ'}, {0x72, U'ρ'}, {0x73, U'σ'},
    {0x74, U'τ'}, {0x75, U'υ'}, {0x76, U'ϖ'}, {0x77, U'ω'}, {0x78, U'ξ'}, {0x79, U'ψ'},
    {0x7A, U'ζ'}, {0x7E, U'∼'}, {0xA1, U'ϒ'}, {0xA2, U'′'}, {0xA3, U'≤'}, {0xA4, U'⁄'},
    {0xA5, U'∞'}, {0xA6, U'ƒ'}, {0xA7, U'♣'}, {0xA8, U'♦'}, {0xA9, U'♥'}, {0xAA, U'♠'},
    {0xAB, U'↔'}, {0xAC, U'←'}, {0xAD, U'↑'}, {0xAE, U'→'}, {0xAF, U'↓'}, {0xB0, U'°'},
    {0xB1, U'±'}, {0xB2, U'″'}, {0xB3, U'≥'}, {0xB4, U'×'}, {0xB5, U'∝'}, {0xB6, U'∂'},
    {0xB7, U'•'}, {0xB8, U'÷'}, {0xB9, U'≠'}, {0xBA, U'≡'}, {0xBB, U'≈'}, {0xBC, U'…'},
    {0xC0, U'ℵ'}, {0xC5, U'⊕'}, {0xC6, U'∅'}, {0xC7, U'∩'}, {0xC8, U'∪'}, {0xD6, U'√'},
    {0xD7, U'⋅'}, {0xD8, U'¬'}, {0xD9, U'∧'}, {0xDA, U'∨'}, {0xDB, U'⇔'}, {0xDC, U'⇐'},
    {0xDD, U'⇑'}, {0xDE, U'⇒'}, {0xDF, U'⇓'}, {0xE0, U'◊'}, {0xE1, U'〈'}, {0xE5, U'∑'},
    {0xF1, U'〉'}, {0xF2, U'∫'},
};

// Wingdings: the bullets, boxes, check marks and faces worksheets use.
constexpr Sign kWingdingsSigns[] = {
    {0x21, U'✏'}, {0x22, U'✂'}, {0x28, U'☎'}, {0x2A, U'✉'}, {0x4A, U'☺'}, {0x4C, U'☹'},
    {0x4E, U'☠'}, {0x52, U'☼'}, {0x6C, U'●'}, {0x6D, U'❍'}, {0x6E, U'■'}, {0x6F, U'□'},
    {0x71, U'❑'}, {0x72, U'❒'}, {0x75, U'◆'}, {0x76, U'❖'}, {0x9F, U'•'}, {0xA1, U'○'},
    {0xA7, U'▪'}, {0xA8, U'◻'}, {0xD8, U'➢'}, {0xE8, U'➔'}, {0xFB, U'✗'}, {0xFC, U'✓'},
    {0xFD, U'☒'}, {0xFE, U'☑'},
};
// clang-format on

template <std::size_t N> char32_t signOf(const Sign (&signs)[N], unsigned char byte) {
    for (const Sign &sign : signs) {
        if (sign.byte == byte)
            return sign.character;
    }
    return 0;
}

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

int symbolCodePageOf(const QString &fontName) {
    return fontName.contains(QStringLiteral("wingdings"), Qt::CaseInsensitive) ? kWingdingsCodePage
                                                                               : kSymbolCodePage;
}

bool isSymbolCodePage(int codePage) {
    return codePage == kSymbolCodePage || codePage == kWingdingsCodePage;
}

QString decodeSymbolBytes(int symbolCodePage, QByteArrayView bytes) {
    QString text;
    text.reserve(bytes.size());
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        char32_t sign = symbolCodePage == kWingdingsCodePage ? signOf(kWingdingsSigns, byte)
                                                             : signOf(kSymbolSigns, byte);
        if (!sign)
            sign = byte <= 0x20 || (symbolCodePage == kSymbolCodePage && byte < 0x80)
                       ? byte
                       : 0xF000 + byte;
        text += QString::fromUcs4(&sign, 1);
    }
    return text;
}

bool isLeadByte(int codePage, unsigned char byte) {
    switch (codePage) {
    case 932:
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 936:
    case 949:
    case 950:
        return byte >= 0x81 && byte <= 0xFE;
    default:
        return false;
    }
}

bool isTrailByte(int codePage, unsigned char byte) {
    return byte >= 0x40 && byte != 0x7F && byte <= (codePage == 932 ? 0xFC : 0xFE);
}

} // namespace drillpad
