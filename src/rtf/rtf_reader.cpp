#include "rtf/rtf_reader.h"

#include "rtf/rtf_charset.h"
#include "rtf/rtf_feed.h"

#include <QHash>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <stop_token>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

namespace drillpad {

namespace {

// Real documents nest a few dozen groups deep; deeper groups share the
// state of the deepest one kept, so that hostile input cannot exhaust memory.
constexpr std::size_t kMaxDepth = 256;
constexpr int kMaxWordLetters = 32;
constexpr int kMaxUnicodeSkip = 255;
constexpr int kNoFont = std::numeric_limits<int>::min();

// More fonts than any document uses; further entries are not kept.
constexpr std::size_t kMaxFonts = 4096;

// Text goes to the document; an embedded object shows only its result.
enum class Destination : std::uint8_t { Text, FontTable, Object };

// The kind of characters that follow (\loch, \hich, \dbch), which decides
// the script whose font \f and \af set. With the direction (\rtlch,
// \ltrch) it also decides, as LibreOffice reads them, what the associated
// properties \af, \ab, \ai and \afs set: \af the East Asian font after
// \dbch and the western one otherwise, \ab, \ai and \afs bold, italic and
// size as \b, \i and \fs do; after \hich (\af apart) and in right-to-left
// text they are the properties of complex scripts, which the editor does not
// tell apart, and are left out.
enum class FontSlot : std::uint8_t { Low, High, DoubleByte };

struct CharState {
    int westernFont = -1;   // -1: the default font (\deff)
    int eastAsianFont = -1; // -1: the same as the western font
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    FontSlot slot = FontSlot::Low;
    bool rightToLeft = false;

    friend bool operator==(const CharState &, const CharState &) = default;
};

// Paragraph properties, which \pard resets.
struct ParagraphState {
    RtfAlignment alignment = RtfAlignment::Left;
    bool pageBreakBefore = false; // \pagebb
    int leftIndent = 0;
    int rightIndent = 0;
    int firstLineIndent = 0;
    std::vector<RtfTabStop> tabStops;
    bool nextTabRight = false; // \tqr before the next \tx
    int lineSpacing = 0;       // \slN: twips, or with \slmult1 240ths of a line
    bool lineMultiple = false;
    bool inTable = false;

    friend bool operator==(const ParagraphState &, const ParagraphState &) = default;
};

struct GroupState {
    CharState chars;
    ParagraphState paragraph;
    int unicodeSkip = 1; // \ucN
    Destination destination = Destination::Text;
};

struct FontEntry {
    QString name;
    int charset = -1; // -1: none given
    int codePage = 0; // \cpgN, which overrides the character set
};

enum class Word : std::uint8_t {
    Ansi,
    AnsiCodePage,
    Mac,
    Pc,
    Pca,
    DefaultFont,
    UnicodeSkip,
    Unicode,
    Paragraph,
    PageBreak,
    SectionBreak,
    SectionDefaults,
    SectionContinues,
    SectionStartsPage,
    PageBreakBefore,
    Header,
    HeaderTop,
    Cell,
    Row,
    NestedCell,
    NestedRow,
    InTable,
    RowDefaults,
    CellRight,
    RowLeft,
    RowKeep,
    TabPosition,
    TabRight,
    TabOther,
    LeftIndent,
    RightIndent,
    FirstLineIndent,
    LineSpacing,
    LineMultiple,
    PageWidth,
    PageHeight,
    MarginLeft,
    MarginRight,
    MarginTop,
    MarginBottom,
    Object,
    Result,
    Line,
    Tab,
    ParagraphDefaults,
    Plain,
    AlignLeft,
    AlignCentre,
    AlignRight,
    AlignJustify,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    FontSize,
    Font,
    AssociatedFont,
    AssociatedBold,
    AssociatedItalic,
    AssociatedSize,
    LowAnsi,
    HighAnsi,
    DoubleByte,
    RightToLeft,
    LeftToRight,
    AssociatedProperty,
    FontTable,
    Charset,
    CodePage,
    Binary,
    Skip,
    Character,
};

struct WordInfo {
    Word word;
    char16_t character = 0; // for Word::Character
};

// Every underline style reads as underlined.
// clang-format off
constexpr std::string_view kUnderlineStyles[] = {
    "ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave", "ulldash", "ulth", "ulthd",
    "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash", "ululdbwave", "ulw", "ulwave",
};
// clang-format on

// Destinations whose content is not text of the document.
// clang-format off
constexpr std::string_view kSkippedDestinations[] = {
    "annotation", "atnauthor", "atndate", "atnid", "atnparent", "atnref", "atntime", "author",
    "bkmkend", "bkmkstart", "buptim", "colortbl", "colorschememapping", "comment", "company",
    "creatim", "datafield", "datastore", "do", "doccomm", "docvar", "falt", "fchars", "filetbl",
    "fldinst", "footer", "footerf", "footerl", "footerr", "footnote", "ftncn", "ftnsep",
    "ftnsepc", "generator", "headerf", "headerl", "info", "keywords",
    "latentstyles", "lchars", "listoverridetable", "listpicture", "listtable", "manager",
    "mmathPr", "nonshppict", "objclass", "objdata", "operator", "passwordhash",
    "pgdsctbl", "pgptbl", "pict", "pn", "pntxta", "pntxtb", "printim", "private", "protusertbl",
    "revtbl", "revtim", "rsidtbl", "rxe", "shp", "shpinst", "shppict", "stylesheet", "subject",
    "tc", "template", "themedata", "title", "txe", "userprops", "wgrffmtfilter", "xe",
    "xmlnstbl",
};
// clang-format on

const std::unordered_map<std::string_view, WordInfo> &wordTable() {
    static const std::unordered_map<std::string_view, WordInfo> table = [] {
        std::unordered_map<std::string_view, WordInfo> t = {
            {"ansi", {Word::Ansi}},
            {"ansicpg", {Word::AnsiCodePage}},
            {"mac", {Word::Mac}},
            {"pc", {Word::Pc}},
            {"pca", {Word::Pca}},
            {"deff", {Word::DefaultFont}},
            {"uc", {Word::UnicodeSkip}},
            {"u", {Word::Unicode}},
            {"par", {Word::Paragraph}},
            {"sect", {Word::SectionBreak}},
            {"sectd", {Word::SectionDefaults}},
            {"sbknone", {Word::SectionContinues}},
            {"sbkcol", {Word::SectionContinues}},
            {"sbkpage", {Word::SectionStartsPage}},
            {"sbkeven", {Word::SectionStartsPage}},
            {"sbkodd", {Word::SectionStartsPage}},
            {"page", {Word::PageBreak}},
            {"pagebb", {Word::PageBreakBefore}},
            // The header of every page; those of first, left and right
            // pages alone are not told apart.
            {"header", {Word::Header}},
            {"headerr", {Word::Header}},
            {"headery", {Word::HeaderTop}},
            {"row", {Word::Row}},
            {"nestrow", {Word::NestedRow}},
            {"intbl", {Word::InTable}},
            {"trowd", {Word::RowDefaults}},
            {"cellx", {Word::CellRight}},
            {"trleft", {Word::RowLeft}},
            {"trkeep", {Word::RowKeep}},
            {"tx", {Word::TabPosition}},
            {"tqr", {Word::TabRight}},
            {"tqc", {Word::TabOther}},
            {"tqdec", {Word::TabOther}},
            {"tb", {Word::TabOther}},
            {"li", {Word::LeftIndent}},
            {"lin", {Word::LeftIndent}},
            {"ri", {Word::RightIndent}},
            {"rin", {Word::RightIndent}},
            {"fi", {Word::FirstLineIndent}},
            {"sl", {Word::LineSpacing}},
            {"slmult", {Word::LineMultiple}},
            {"paperw", {Word::PageWidth}},
            {"paperh", {Word::PageHeight}},
            {"margl", {Word::MarginLeft}},
            {"margr", {Word::MarginRight}},
            {"margt", {Word::MarginTop}},
            {"margb", {Word::MarginBottom}},
            // The same for the section, as LibreOffice writes them.
            {"pgwsxn", {Word::PageWidth}},
            {"pghsxn", {Word::PageHeight}},
            {"marglsxn", {Word::MarginLeft}},
            {"margrsxn", {Word::MarginRight}},
            {"margtsxn", {Word::MarginTop}},
            {"margbsxn", {Word::MarginBottom}},
            {"line", {Word::Line}},
            {"tab", {Word::Tab}},
            {"cell", {Word::Cell}},
            {"nestcell", {Word::NestedCell}},
            {"object", {Word::Object}},
            {"result", {Word::Result}},
            {"pard", {Word::ParagraphDefaults}},
            {"plain", {Word::Plain}},
            {"ql", {Word::AlignLeft}},
            {"qc", {Word::AlignCentre}},
            {"qr", {Word::AlignRight}},
            {"qj", {Word::AlignJustify}},
            {"qd", {Word::AlignJustify}},
            {"b", {Word::Bold}},
            {"i", {Word::Italic}},
            {"ulnone", {Word::UnderlineNone}},
            {"fs", {Word::FontSize}},
            {"f", {Word::Font}},
            {"af", {Word::AssociatedFont}},
            {"loch", {Word::LowAnsi}},
            {"hich", {Word::HighAnsi}},
            {"dbch", {Word::DoubleByte}},
            {"rtlch", {Word::RightToLeft}},
            {"ltrch", {Word::LeftToRight}},
            {"ab", {Word::AssociatedBold}},
            {"ai", {Word::AssociatedItalic}},
            {"afs", {Word::AssociatedSize}},
            {"alang", {Word::AssociatedProperty}},
            {"fonttbl", {Word::FontTable}},
            {"fcharset", {Word::Charset}},
            {"cpg", {Word::CodePage}},
            {"bin", {Word::Binary}},
            {"emdash", {Word::Character, 0x2014}},
            {"endash", {Word::Character, 0x2013}},
            {"emspace", {Word::Character, 0x2003}},
            {"enspace", {Word::Character, 0x2002}},
            {"qmspace", {Word::Character, 0x2005}},
            {"bullet", {Word::Character, 0x2022}},
            {"lquote", {Word::Character, 0x2018}},
            {"rquote", {Word::Character, 0x2019}},
            {"ldblquote", {Word::Character, 0x201C}},
            {"rdblquote", {Word::Character, 0x201D}},
            {"zwj", {Word::Character, 0x200D}},
            {"zwnj", {Word::Character, 0x200C}},
            {"ltrmark", {Word::Character, 0x200E}},
            {"rtlmark", {Word::Character, 0x200F}},
        };
        for (std::string_view style : kUnderlineStyles)
            t.emplace(style, WordInfo{Word::Underline});
        for (std::string_view skipped : kSkippedDestinations)
            t.emplace(skipped, WordInfo{Word::Skip});
        return t;
    }();
    return table;
}

bool isLetter(unsigned char c) {
    return static_cast<unsigned char>((c | 0x20) - 'a') < 26; // either case
}
bool isDigit(unsigned char c) {
    return static_cast<unsigned char>(c - '0') < 10;
}

int hexValue(unsigned char c) {
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Text that QTextDocument would take for structure, or that is no text,
// does not reach the document: control characters other than the tab go,
// a paragraph separator becomes a line break, and a lone surrogate the
// replacement character.
// Tabs, CJK text and full-width forms pass as they are: only the
// characters sanitize changes need its copy.
bool needsSanitizing(QChar c) {
    const char16_t u = c.unicode();
    return (u < 0x20 && u != u'\t') || u == 0x2029 || (u >= 0xD800 && u < 0xE000) ||
           u == QChar::ObjectReplacementCharacter || (u >= 0xFDD0 && u <= 0xFDEF) || u >= 0xFFFE;
}
bool needsSanitizing(QStringView text) {
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return needsSanitizing(c); });
}
// The reader's ASCII runs hold printable bytes only (see textBytes).
bool needsSanitizing(QLatin1String) {
    return false;
}

void sanitize(QString &text) {
    QString clean;
    clean.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        if (u == u'\t' || u >= 0x20) {
            if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
                clean += c;
                clean += text.at(++i);
            } else if (c.isSurrogate()) {
                clean += QChar::ReplacementCharacter;
            } else if (u == 0x2029) {
                clean += QChar::LineSeparator;
            } else if (u == QChar::ObjectReplacementCharacter || (u >= 0xFDD0 && u <= 0xFDEF) ||
                       u >= 0xFFFE) {
                // Qt's markers for frames and objects, and non-characters.
            } else {
                clean += c;
            }
        }
    }
    text = clean;
}

class RtfReader {
public:
    RtfReader(QByteArrayView data, std::stop_token stop, RtfFeed *feed)
        : data_(data), stop_(std::move(stop)), feed_(feed) {}

    RtfDocument read() {
        // Another thread may ask to stop; asking is cheap, but not free.
        constexpr unsigned kTokensBetweenStopChecks = 4096;
        unsigned tokens = 0;
        while (pos_ < data_.size() && !finished_) {
            if (++tokens % kTokensBetweenStopChecks == 0 && stop_.stop_requested()) {
                stopped_ = true;
                return {};
            }
            if (skipDepth_ > 0) {
                skipToken();
                continue;
            }
            switch (byteAt(pos_)) {
            case '{':
                ++pos_;
                openGroup();
                break;
            case '}':
                ++pos_;
                closeGroup();
                break;
            case '\\':
                controlToken();
                break;
            case '\r':
            case '\n':
                ++pos_;
                break;
            default:
                textBytes();
                break;
            }
        }
        if (exceeded_ != ContentLimit::None)
            return {};
        // Whatever was read counts, also when groups were left open.
        finishFontName();
        if (inHeader_)
            leaveHeader();
        flushBytes();
        flushRun();
        if (!paragraph_.runs.empty())
            endParagraph();
        endSection();
        if (!document_.page.usable())
            document_.page = RtfPage{};
        document_.defaultFamily = fontName(defaultFont_);
        if (resolvedWithoutFamily_)
            giveDefaultFamily();
        return std::move(document_);
    }

    // The limit of what the editor takes that the file went beyond.
    ContentLimit exceeded() const { return exceeded_; }
    bool stopped() const { return stopped_; }

private:
    unsigned char byteAt(qsizetype i) const { return static_cast<unsigned char>(data_[i]); }
    GroupState &state() { return stack_.back(); }

    // ---- groups

    void openGroup() {
        flushBytes();
        unicodeSkipLeft_ = 0;
        if (stack_.empty()) {
            stack_.emplace_back();
            return;
        }
        if (stack_.size() >= kMaxDepth) {
            ++overflowDepth_;
            return;
        }
        stack_.push_back(stack_.back());
    }

    void closeGroup() {
        flushBytes();
        unicodeSkipLeft_ = 0;
        if (overflowDepth_ > 0) {
            --overflowDepth_;
            return;
        }
        if (stack_.size() <= 1) {
            finished_ = true; // the document's own group has ended
            return;
        }
        // A font entry ends with its name's ";" or with the group it began in.
        if (fontNameOpen_ && stack_.size() <= fontEntryDepth_)
            finishFontName();
        if (inHeader_ && stack_.size() <= headerDepth_)
            leaveHeader();
        stack_.pop_back();
        paragraphMayDiffer_ = true;
        // Paragraph properties set in a group that has ended are gone.
        if (paragraphWordDepth_ > stack_.size())
            paragraphWordDepth_ = 0;
    }

    // Skips the current group: its content is not text of the document.
    // The document's own group is never skipped.
    void skipGroup() {
        if (stack_.size() > 1 || overflowDepth_ > 0)
            skipDepth_ = 1;
    }

    void skipToken() {
        const unsigned char c = byteAt(pos_++);
        if (c == '{') {
            ++skipDepth_;
        } else if (c == '}') {
            if (--skipDepth_ == 0)
                closeGroup();
        } else if (c == '\\' && pos_ < data_.size()) {
            if (isLetter(byteAt(pos_))) {
                const ControlWord word = readControlWord();
                if (word.name == "bin")
                    skipBinary(word);
            } else {
                ++pos_; // \{, \}, \\ and the like
            }
        }
    }

    // ---- tokens

    struct ControlWord {
        std::string_view name;
        std::uint32_t hash = 0; // of the name, for the cache of words
        bool valid = true;
        bool hasParameter = false;
        int parameter = 0;
    };

    // Read a byte at a time through local pointers: a file is mostly
    // control words, and this is where the reading spends its time.
    ControlWord readControlWord() {
        ControlWord word;
        const char *const begin = data_.data();
        const char *const end = begin + data_.size();
        const char *p = begin + pos_;
        const char *const start = p;
        // The factor gives the words of a paragraph's start, of tables and
        // of text (\pard, \plain, \tx, \fs, \dbch, \u, \tab, \cell...)
        // slots of their own in the cache.
        std::uint32_t hash = 0;
        while (p < end && isLetter(static_cast<unsigned char>(*p)))
            hash = hash * 7 + static_cast<unsigned char>(*p++);
        const std::size_t letters = static_cast<std::size_t>(p - start);
        word.valid = letters <= std::size_t{kMaxWordLetters};
        word.name = std::string_view(start, letters);
        word.hash = hash + static_cast<std::uint32_t>(letters);
        bool negative = false;
        if (end - p > 1 && *p == '-' && isDigit(static_cast<unsigned char>(p[1]))) {
            negative = true;
            ++p;
        }
        std::int64_t value = 0;
        constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<int>::max()} + 1;
        const char *const digits = p;
        while (p < end && isDigit(static_cast<unsigned char>(*p))) {
            value = std::min(kLimit, value * 10 + (*p - '0'));
            ++p;
        }
        word.hasParameter = p != digits;
        if (negative)
            value = -value;
        word.parameter = static_cast<int>(std::clamp<std::int64_t>(
            value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
        if (p < end && *p == ' ')
            ++p; // the delimiter belongs to the word
        pos_ = p - begin;
        return word;
    }

    void skipBinary(const ControlWord &word) {
        const qsizetype length = word.hasParameter ? std::max(0, word.parameter) : 0;
        pos_ += std::min(length, data_.size() - pos_);
    }

    void controlToken() {
        ++pos_; // the backslash
        if (pos_ >= data_.size())
            return;
        const unsigned char c = byteAt(pos_);
        if (isLetter(c)) {
            const ControlWord word = readControlWord();
            if (word.name == "bin") {
                skipBinary(word);
                consumeUnicodeFallback();
                return;
            }
            if (consumeUnicodeFallback() || !word.valid)
                return;
            controlWord(word);
            return;
        }
        ++pos_;
        if (c == '\'') {
            int value = 0;
            int digits = 0;
            while (digits < 2 && pos_ < data_.size() && hexValue(byteAt(pos_)) >= 0) {
                value = value * 16 + hexValue(byteAt(pos_++));
                ++digits;
            }
            if (!consumeUnicodeFallback() && digits == 2)
                addByte(static_cast<unsigned char>(value));
            return;
        }
        if (consumeUnicodeFallback())
            return;
        switch (c) {
        case '\\':
        case '{':
        case '}':
            if (!takeAsTrail(c))
                addText(QChar(c));
            break;
        case '~':
            addText(QChar(0x00A0));
            break;
        case '_':
            addText(QChar(0x2011));
            break;
        case '*':
            skipGroup();
            break;
        case '\r':
        case '\n':
            if (state().destination == Destination::Text)
                endParagraph();
            break;
        default: // \- (optional hyphen), \| and the like show nothing
            break;
        }
    }

    // After \uN, the next \ucN characters are the fallback for readers
    // without Unicode; each text byte, \'hh, control word or symbol counts
    // as one.
    bool consumeUnicodeFallback() {
        if (unicodeSkipLeft_ <= 0)
            return false;
        --unicodeSkipLeft_;
        return true;
    }

    void textBytes() {
        if (state().destination != Destination::Text) {
            textByteOutsideText();
            return;
        }
        while (pos_ < data_.size()) {
            const unsigned char c = byteAt(pos_);
            if (c == '{' || c == '}' || c == '\\' || c == '\r' || c == '\n')
                break;
            ++pos_;
            if (consumeUnicodeFallback())
                continue;
            if (takeAsTrail(c))
                continue;
            if (c >= 0x20 && c < 0x80) {
                // Plain ASCII goes in as one piece up to the next special byte.
                const qsizetype runStart = pos_ - 1;
                while (pos_ < data_.size() && byteAt(pos_) >= 0x20 && byteAt(pos_) < 0x80 &&
                       byteAt(pos_) != '{' && byteAt(pos_) != '}' && byteAt(pos_) != '\\')
                    ++pos_;
                addText(QLatin1String(data_.data() + runStart, pos_ - runStart));
            } else if (c >= 0x80) {
                addByte(c);
            } else if (c == '\t') {
                addText(QChar(u'\t'));
            }
            // other control bytes, NUL included, are not text
        }
    }

    void textByteOutsideText() {
        const unsigned char c = byteAt(pos_++);
        if (consumeUnicodeFallback())
            return;
        if (takeAsTrail(c))
            return;
        if (c == ';' && state().destination == Destination::FontTable)
            finishFontName();
        else if (c >= 0x80)
            addByte(c);
        else if (c >= 0x20 || c == '\t')
            addText(QChar(c));
    }

    // ---- control words

    // A file repeats a handful of words over and over: a small cache of the
    // last word seen in each slot spares most look-ups in the table. The
    // names point into the file, which outlives the reading.
    const WordInfo *wordInfo(const ControlWord &word) {
        CachedWord &cached = wordCache_[word.hash % wordCache_.size()];
        if (cached.name != word.name) {
            const auto &table = wordTable();
            const auto found = table.find(word.name);
            cached = {word.name, found == table.end() ? nullptr : &found->second};
        }
        return cached.info;
    }

    void controlWord(const ControlWord &word) {
        const WordInfo *known = wordInfo(word);
        if (!known)
            return;
        const WordInfo info = *known;
        // Text written before the word, \'hh bytes waiting for their
        // decoder included, is in the state it was written in.
        flushBytes();
        const int p = word.parameter;
        const int eastAsianBeforeAf = std::exchange(eastAsianBeforeAf_, kNoFont);
        const bool on = !word.hasParameter || p != 0;
        GroupState &s = state();
        const bool inText = s.destination == Destination::Text;
        // \ab, \ai and \afs of complex scripts (see FontSlot).
        const bool complexScript = s.chars.rightToLeft || s.chars.slot == FontSlot::High;
        switch (info.word) {
        case Word::Ansi:
            ansiCodePage_ = kWesternCodePage;
            break;
        case Word::AnsiCodePage:
            if (word.hasParameter && !codecNameOfCodePage(p).isEmpty())
                ansiCodePage_ = p;
            break;
        case Word::Mac:
            ansiCodePage_ = 10000;
            break;
        case Word::Pc:
            ansiCodePage_ = 437;
            break;
        case Word::Pca:
            ansiCodePage_ = 850;
            break;
        case Word::DefaultFont:
            if (word.hasParameter && !defaultFontSettled_)
                defaultFont_ = p;
            break;
        case Word::UnicodeSkip:
            s.unicodeSkip = std::clamp(p, 0, kMaxUnicodeSkip);
            break;
        case Word::Unicode:
            unicode(word);
            break;
        case Word::Paragraph:
            if (inText)
                endParagraph();
            break;
        case Word::PageBreak:
            // A header has no pages of its own.
            if (inText && !inHeader_) {
                endParagraphForBreak();
                pageBreakBefore_ = true;
            }
            break;
        case Word::SectionBreak:
            if (inText && !inHeader_) {
                endParagraphForBreak();
                endSection();
                sectionStart_ = paragraphCount();
            }
            break;
        case Word::SectionDefaults:
        case Word::SectionStartsPage:
            sectionStartsPage_ = true;
            break;
        case Word::SectionContinues:
            sectionStartsPage_ = false;
            break;
        case Word::PageBreakBefore:
            if (inText && !inHeader_)
                setParagraph(&ParagraphState::pageBreakBefore, true);
            break;
        case Word::Header:
            // The first header is the document's; the text of the others
            // is skipped.
            if (inText && !inHeader_ && !headerRead_ && stack_.size() > 1)
                enterHeader();
            else
                skipGroup();
            break;
        case Word::HeaderTop:
            document_.page.headerTop = p;
            break;
        case Word::Cell:
            if (inText) {
                endParagraph(true);
                ++cell_;
            }
            break;
        case Word::Row:
            if (inText)
                endRow();
            break;
        case Word::NestedCell:
            // A table inside a cell is read as lines of the cell, its cells
            // separated by tabs: the tab waits for the next cell's text, so
            // that none trails the row.
            if (inText)
                ++cellsPending_;
            break;
        case Word::NestedRow:
            if (inText) {
                cellsPending_ = 0;
                endParagraph();
            }
            break;
        case Word::InTable:
            setParagraph(&ParagraphState::inTable, true);
            break;
        case Word::RowDefaults:
            rowRights_.clear();
            rowLeft_ = 0;
            rowKeep_ = false;
            break;
        case Word::CellRight:
            if (rowRights_.size() < std::size_t{kMaxCellsPerRow})
                rowRights_.push_back(p);
            break;
        case Word::RowLeft:
            rowLeft_ = p;
            break;
        case Word::RowKeep:
            rowKeep_ = true;
            break;
        case Word::TabPosition:
            if (ParagraphState &paragraph = paragraphWord();
                paragraph.tabStops.size() < kMaxTabStops)
                paragraph.tabStops.push_back({p, paragraph.nextTabRight});
            s.paragraph.nextTabRight = false;
            break;
        case Word::TabRight:
            setParagraph(&ParagraphState::nextTabRight, true);
            break;
        case Word::TabOther: // centred, decimal and bar tabs act as left ones
            s.paragraph.nextTabRight = false;
            paragraphMayDiffer_ = true;
            break;
        case Word::LeftIndent:
            setParagraph(&ParagraphState::leftIndent, p);
            break;
        case Word::RightIndent:
            setParagraph(&ParagraphState::rightIndent, p);
            break;
        case Word::FirstLineIndent:
            setParagraph(&ParagraphState::firstLineIndent, p);
            break;
        case Word::LineSpacing:
            setParagraph(&ParagraphState::lineSpacing, p);
            break;
        case Word::LineMultiple:
            setParagraph(&ParagraphState::lineMultiple, on);
            break;
        case Word::PageWidth:
            document_.page.width = p;
            break;
        case Word::PageHeight:
            document_.page.height = p;
            break;
        case Word::MarginLeft:
            document_.page.marginLeft = p;
            break;
        case Word::MarginRight:
            document_.page.marginRight = p;
            break;
        case Word::MarginTop:
            document_.page.marginTop = p;
            break;
        case Word::MarginBottom:
            document_.page.marginBottom = p;
            break;
        case Word::Object:
            if (inText && stack_.size() > 1)
                s.destination = Destination::Object;
            break;
        case Word::Result:
            if (s.destination == Destination::Object)
                s.destination = Destination::Text;
            break;
        case Word::Line:
            addText(QChar(QChar::LineSeparator));
            break;
        case Word::Tab:
            addText(QChar(u'\t'));
            break;
        case Word::ParagraphDefaults: {
            // Every paragraph of a file starts so: the tab stops' storage is
            // kept for the next ones.
            ParagraphState &paragraph = paragraphWord();
            std::vector<RtfTabStop> tabStops = std::move(paragraph.tabStops);
            tabStops.clear();
            paragraph = ParagraphState{};
            paragraph.tabStops = std::move(tabStops);
            break;
        }
        case Word::Plain:
            s.chars = CharState{};
            break;
        case Word::AlignLeft:
            setParagraph(&ParagraphState::alignment, RtfAlignment::Left);
            break;
        case Word::AlignCentre:
            setParagraph(&ParagraphState::alignment, RtfAlignment::Centre);
            break;
        case Word::AlignRight:
            setParagraph(&ParagraphState::alignment, RtfAlignment::Right);
            break;
        case Word::AlignJustify:
            setParagraph(&ParagraphState::alignment, RtfAlignment::Justify);
            break;
        case Word::Bold:
            s.chars.bold = on;
            break;
        case Word::Italic:
            s.chars.italic = on;
            break;
        case Word::Underline:
            s.chars.underline = on;
            break;
        case Word::UnderlineNone:
            s.chars.underline = false;
            break;
        case Word::FontSize:
            s.chars.halfPoints = clampHalfPoints(word.hasParameter ? p : 24);
            break;
        case Word::Font:
            font(word);
            break;
        case Word::AssociatedFont:
            if (!inText || !word.hasParameter || s.chars.rightToLeft)
                break;
            if (s.chars.slot != FontSlot::DoubleByte) {
                s.chars.westernFont = p;
                break;
            }
            eastAsianBeforeAf_ = eastAsianFontSinceText_ ? s.chars.eastAsianFont : kNoFont;
            eastAsianFontSinceText_ = true;
            s.chars.eastAsianFont = p;
            return;
        case Word::AssociatedBold:
            if (!complexScript)
                s.chars.bold = on;
            break;
        case Word::AssociatedItalic:
            if (!complexScript)
                s.chars.italic = on;
            break;
        case Word::AssociatedSize:
            if (!complexScript && eastAsianBeforeAf == kNoFont)
                s.chars.halfPoints = clampHalfPoints(word.hasParameter ? p : 24);
            [[fallthrough]];
        case Word::AssociatedProperty:
            // Older LibreOffice writes the font of complex scripts with a
            // second \dbch\af right after the East Asian one, followed by
            // its size and language: that one is not the East Asian font.
            if (eastAsianBeforeAf != kNoFont)
                s.chars.eastAsianFont = eastAsianBeforeAf;
            break;
        case Word::LowAnsi:
            s.chars.slot = FontSlot::Low;
            break;
        case Word::HighAnsi:
            s.chars.slot = FontSlot::High;
            break;
        case Word::DoubleByte:
            s.chars.slot = FontSlot::DoubleByte;
            break;
        case Word::RightToLeft:
            s.chars.rightToLeft = true;
            break;
        case Word::LeftToRight:
            s.chars.rightToLeft = false;
            break;
        case Word::FontTable:
            if (stack_.size() > 1)
                s.destination = Destination::FontTable;
            break;
        case Word::Charset:
            if (s.destination == Destination::FontTable && currentFont_ >= 0)
                fonts_[currentFont_].charset = p;
            break;
        case Word::CodePage:
            if (s.destination == Destination::FontTable && currentFont_ >= 0)
                fonts_[currentFont_].codePage = p;
            break;
        case Word::Binary: // handled by the caller
            break;
        case Word::Skip:
            skipGroup();
            break;
        case Word::Character:
            addText(QChar(info.character));
            break;
        }
    }

    void unicode(const ControlWord &word) {
        unicodeSkipLeft_ = state().unicodeSkip;
        if (!word.hasParameter || word.parameter < -32768 || word.parameter > 65535)
            return;
        const int value = word.parameter < 0 ? word.parameter + 65536 : word.parameter;
        // Word writes a symbol font's signs as the font's private code.
        const int codePage = value >= 0xF020 && value <= 0xF0FF ? currentCodePage() : 0;
        if (isSymbolCodePage(codePage)) {
            const char byte = static_cast<char>(value - 0xF000);
            addText(decodeSymbolBytes(codePage, QByteArrayView(&byte, 1)));
            return;
        }
        addText(QChar(static_cast<char16_t>(value)));
    }

    void font(const ControlWord &word) {
        if (!word.hasParameter)
            return;
        GroupState &s = state();
        if (s.destination == Destination::FontTable) {
            finishFontName();
            if ((fonts_.size() >= qsizetype{kMaxFonts} && !fonts_.contains(word.parameter)) ||
                (defaultFontSettled_ && word.parameter == defaultFont_)) {
                currentFont_ = -1; // no font of a real document is missed
                return;
            }
            currentFont_ = word.parameter;
            fonts_[currentFont_] = FontEntry{};
            fontNameOpen_ = true;
            fontEntryDepth_ = stack_.size();
            return;
        }
        if (s.chars.slot == FontSlot::DoubleByte)
            s.chars.eastAsianFont = word.parameter;
        else
            s.chars.westernFont = word.parameter;
    }

    void finishFontName() {
        flushBytes();
        if (fontNameOpen_) {
            QString &name = fonts_[currentFont_].name;
            name = name.trimmed();
        }
        fontNameOpen_ = false;
    }

    // ---- text

    int codePageOf(int fontNumber) const {
        const auto it = fonts_.constFind(fontNumber);
        if (it == fonts_.constEnd())
            return ansiCodePage_;
        if (it->codePage && !codecNameOfCodePage(it->codePage).isEmpty())
            return it->codePage;
        if (it->charset == 2)
            return symbolCodePageOf(it->name);
        const int codePage = codePageOfCharset(it->charset);
        return codePage && !codecNameOfCodePage(codePage).isEmpty() ? codePage : ansiCodePage_;
    }

    int currentCodePage() {
        const GroupState &s = stack_.back();
        if (s.destination == Destination::FontTable)
            return currentFont_ >= 0 ? codePageOf(currentFont_) : ansiCodePage_;
        const CharState &c = s.chars;
        int number = c.westernFont;
        if (c.slot == FontSlot::DoubleByte && c.eastAsianFont >= 0)
            number = c.eastAsianFont;
        return codePageOf(number >= 0 ? number : defaultFont_);
    }

    void addByte(unsigned char byte) {
        const int codePage = currentCodePage();
        if (!pendingBytes_.isEmpty() && codePage != pendingCodePage_)
            flushBytes();
        pendingCodePage_ = codePage;
        pendingBytes_ += static_cast<char>(byte);
        leadPending_ = !leadPending_ && isLeadByte(codePage, byte);
    }

    // Writers put the second byte of a double-byte character as it comes:
    // \'hh, a plain character, or \\, \{ and \} for the bytes RTF uses.
    bool takeAsTrail(unsigned char byte) {
        if (!leadPending_ || !isTrailByte(pendingCodePage_, byte))
            return false;
        addByte(byte);
        return true;
    }

    QStringDecoder &decoderFor(int codePage) {
        auto it = decoders_.find(codePage);
        if (it == decoders_.end()) {
            auto decoder = std::make_unique<QStringDecoder>(
                codecNameOfCodePage(codePage).constData(), QStringConverter::Flag::Stateless);
            if (!decoder->isValid())
                decoder = std::make_unique<QStringDecoder>(QStringConverter::Latin1,
                                                           QStringConverter::Flag::Stateless);
            it = decoders_.emplace(codePage, std::move(decoder)).first;
        }
        return *it->second;
    }

    void flushBytes() {
        if (pendingBytes_.isEmpty())
            return;
        QString text;
        if (isSymbolCodePage(pendingCodePage_)) {
            text = decodeSymbolBytes(pendingCodePage_, pendingBytes_);
        } else {
            // A first byte without its second still shows that a character
            // was there.
            const bool orphan = std::exchange(leadPending_, false);
            text = decoderFor(pendingCodePage_)
                       .decode(QByteArrayView(pendingBytes_).chopped(orphan ? 1 : 0));
            if (orphan)
                text += QChar::ReplacementCharacter;
        }
        pendingBytes_.clear();
        route(text);
    }

    // Text comes as QString, QStringView, QLatin1String or QChar: the
    // common pieces, ASCII runs and single characters, go in without a
    // string of their own.
    template <typename Text> void addText(const Text &text) {
        flushBytes();
        route(text);
    }
    void addText(QChar c) {
        flushBytes();
        route(c);
    }

    template <typename Text> void route(const Text &text) {
        eastAsianBeforeAf_ = kNoFont;
        eastAsianFontSinceText_ = false;
        switch (state().destination) {
        case Destination::Text:
            if constexpr (!std::is_same_v<Text, QChar>) {
                if (text.isEmpty())
                    break;
            }
            if (!textBegun_) {
                textBegun_ = true;
                defaultFontSettled_ = fonts_.contains(defaultFont_);
            }
            if (pendingRun_.isEmpty()) {
                pendingState_ = state().chars;
                // A line of a sheet in one allocation rather than several.
                pendingRun_.reserve(kRunStartCapacity);
            } else if (!(pendingState_ == state().chars)) {
                flushRun();
                pendingState_ = state().chars;
            }
            if (cellsPending_ > 0)
                pendingRun_ += QString(std::exchange(cellsPending_, 0), QChar(u'\t'));
            pendingRun_ += text;
            // Checked as the text comes, so that a run of plain text is not
            // read twice.
            if (!pendingNeedsSanitizing_)
                pendingNeedsSanitizing_ = needsSanitizing(text);
            // Compared only after a change: copying the tab stops for every
            // piece of text would cost more than reading it.
            if (std::exchange(paragraphMayDiffer_, false) && !(textParagraph_ == state().paragraph))
                textParagraph_ = state().paragraph;
            paragraphHasText_ = true;
            paragraphWordDepth_ = 0;
            if (paragraphLength_ + pendingRun_.size() > qsizetype{kMaxParagraphLength})
                refuse(ContentLimit::ParagraphLength);
            else if (characters_ + pendingRun_.size() > qsizetype{kMaxCharacters})
                refuse(ContentLimit::Characters);
            break;
        case Destination::Object:
            break;
        case Destination::FontTable:
            if (fontNameOpen_)
                fonts_[currentFont_].name += text;
            break;
        }
    }

    void flushRun() {
        if (pendingRun_.isEmpty())
            return;
        if (std::exchange(pendingNeedsSanitizing_, false))
            sanitize(pendingRun_);
        paragraphLength_ += pendingRun_.size();
        characters_ += pendingRun_.size();
        const std::size_t runsBefore = paragraph_.runs.size();
        paragraph_.append(pendingRun_, resolve(pendingState_));
        pendingRun_.clear();
        runs_ += paragraph_.runs.size() - runsBefore;
        if (paragraph_.runs.size() > kMaxRunsPerParagraph)
            refuse(ContentLimit::RunsInParagraph);
        else if (runs_ > kMaxRuns)
            refuse(ContentLimit::Runs);
    }

    // Sets a paragraph property. LibreOffice gives a paragraph the
    // properties its last text was written with, as in "{\qc text}\par",
    // unless they are set again after that text in a group still open at
    // its end, as in "{\qc text}\ql\par": the depth of the outermost group
    // where that happened is kept.
    template <typename Value> void setParagraph(Value ParagraphState::*property, Value value) {
        paragraphWord().*property = value;
    }
    ParagraphState &paragraphWord() {
        paragraphMayDiffer_ = true;
        paragraphWordDepth_ =
            paragraphWordDepth_ == 0 ? stack_.size() : std::min(paragraphWordDepth_, stack_.size());
        return state().paragraph;
    }

    // Ends the paragraph; in a table when \intbl says so or `endsCell`.
    void endParagraph(bool endsCell = false) {
        flushBytes();
        flushRun();
        cellsPending_ = 0;
        const ParagraphState &properties =
            paragraphHasText_ && paragraphWordDepth_ == 0 ? textParagraph_ : state().paragraph;
        paragraph_.alignment = properties.alignment;
        paragraph_.leftIndent = properties.leftIndent;
        paragraph_.rightIndent = properties.rightIndent;
        paragraph_.firstLineIndent = properties.firstLineIndent;
        paragraph_.tabStops = properties.tabStops;
        const auto byPosition = [](const RtfTabStop &a, const RtfTabStop &b) {
            return a.position < b.position;
        };
        if (!std::is_sorted(paragraph_.tabStops.begin(), paragraph_.tabStops.end(), byPosition))
            std::stable_sort(paragraph_.tabStops.begin(), paragraph_.tabStops.end(), byPosition);
        paragraph_.markFormat = resolve(state().chars);
        paragraph_.lineSpacing = lineSpacingOf(properties, paragraph_);
        const bool inTable = endsCell || properties.inTable;
        paragraphHasText_ = false;
        paragraphWordDepth_ = 0;
        if (inHeader_) {
            // A header's table is read as its lines.
            document_.header.push_back(std::move(paragraph_));
            paragraph_ = RtfParagraph{};
            paragraphLength_ = 0;
            if (document_.header.size() > kMaxParagraphs)
                refuse(ContentLimit::Paragraphs);
            return;
        }
        if (inTable) {
            if (row_ < 0)
                startRow();
            paragraph_.row = row_;
            paragraph_.cell = std::min(cell_, kMaxCellsPerRow - 1);
            if (++tableCells_ > kMaxTableCells)
                refuse(ContentLimit::TableCells);
        } else {
            row_ = -1; // a row left open ends with the table
        }
        const bool pageBreak = std::exchange(pageBreakBefore_, false);
        paragraph_.pageBreakBefore = pageBreak || properties.pageBreakBefore;
        document_.paragraphs.push_back(std::move(paragraph_));
        paragraph_ = RtfParagraph{};
        paragraphLength_ = 0;
        paragraphHasText_ = false;
        paragraphWordDepth_ = 0;
        if (paragraphCount() > kMaxParagraphs)
            refuse(ContentLimit::Paragraphs);
        else if (feed_ && document_.paragraphs.size() >= handAt_)
            handOver();
    }

    // The paragraphs read so far, those handed over included.
    std::size_t paragraphCount() const { return handed_ + document_.paragraphs.size(); }

    // Hands the paragraphs that nothing read later can change over to the
    // feed: not those of a section still open (its first one may yet start
    // a page), nor a table that may go on, nor a table whose widths depend
    // on the page, and nothing while text read before the default font was
    // in a font table may yet take its name.
    void handOver() {
        // What is held back is looked at again a batch later.
        handAt_ = document_.paragraphs.size() + kFeedBatch;
        if (familyAwaited_)
            return;
        auto &paragraphs = document_.paragraphs;
        std::size_t final = paragraphs.size();
        if (sectionStart_)
            final = std::min(final, *sectionStart_ - handed_);
        const auto rowOf = [&](std::size_t i) -> const RtfRow & {
            return document_.rows[static_cast<std::size_t>(paragraphs[i].row) - rowsHanded_];
        };
        for (std::size_t i = 0; i < final; ++i) {
            if (paragraphs[i].row >= 0 && rowOf(i).cellWidths.empty()) {
                final = i;
                break;
            }
        }
        // A table goes over whole.
        while (final > 0 && paragraphs[final - 1].row >= 0)
            --final;
        std::size_t rows = 0;
        for (std::size_t i = 0; i < final; ++i) {
            if (paragraphs[i].row >= 0)
                rows = static_cast<std::size_t>(paragraphs[i].row) + 1 - rowsHanded_;
        }
        if (final == 0)
            return;
        const auto firstKept = paragraphs.begin() + static_cast<std::ptrdiff_t>(final);
        std::vector<RtfParagraph> handed(std::make_move_iterator(paragraphs.begin()),
                                         std::make_move_iterator(firstKept));
        paragraphs.erase(paragraphs.begin(), firstKept);
        const auto firstRowKept = document_.rows.begin() + static_cast<std::ptrdiff_t>(rows);
        std::vector<RtfRow> handedRows(std::make_move_iterator(document_.rows.begin()),
                                       std::make_move_iterator(firstRowKept));
        document_.rows.erase(document_.rows.begin(), firstRowKept);
        handed_ += final;
        rowsHanded_ += rows;
        handAt_ = paragraphs.size() + kFeedBatch;
        feed_->hand(std::move(handed), std::move(handedRows), pos_, data_.size());
    }

    // A page or section break ends the paragraph it is in; right after a
    // paragraph's end no empty paragraph is left.
    void endParagraphForBreak() {
        flushBytes();
        flushRun();
        if (!paragraph_.runs.empty() || cellsPending_ > 0)
            endParagraph();
    }

    // A section after the first starts a new page unless its own properties,
    // wherever in it they stand, say it goes on on the same page (\sbknone):
    // that is known when it ends. A section without paragraphs hands its
    // page break on to the next paragraph.
    void endSection() {
        if (!sectionStart_)
            return;
        if (sectionStartsPage_) {
            if (*sectionStart_ < paragraphCount())
                document_.paragraphs[*sectionStart_ - handed_].pageBreakBefore = true;
            else
                pageBreakBefore_ = true;
        }
        sectionStart_.reset();
    }

    // \slN with \slmult1 is N/240 lines; alone, at least (or with -N
    // exactly) N twips, of which single spacing is lineTwipsFor's.
    static int lineSpacingOf(const ParagraphState &properties, const RtfParagraph &paragraph) {
        const qint64 spacing = std::abs(qint64{properties.lineSpacing});
        if (spacing == 0)
            return 100;
        constexpr int kTwipsPerLine = 240;
        RtfParagraph single = paragraph;
        single.lineSpacing = 100;
        const qint64 singleTwips = lineTwipsFor(single);
        const qint64 percent = std::clamp<qint64>(
            properties.lineMultiple ? spacing * 100 / kTwipsPerLine
                                    : (spacing * 100 + singleTwips / 2) / singleTwips,
            100, kMaxLineSpacing); // never closer than single, as lines are laid out
        // Under fonts so small that a twip is more than a percent, the
        // spacing the writer can give back: read again, it stays.
        const qint64 written = (percent * singleTwips + 50) / 100;
        return static_cast<int>((written * 100 + singleTwips / 2) / singleTwips);
    }

    // The header's paragraphs are read aside; the body's paragraph, should
    // the header come in its middle, goes on after it.
    void enterHeader() {
        flushBytes();
        flushRun();
        bodyParagraph_ = std::exchange(paragraph_, RtfParagraph{});
        bodyParagraphLength_ = std::exchange(paragraphLength_, 0);
        bodyCellsPending_ = std::exchange(cellsPending_, 0);
        bodyHasText_ = std::exchange(paragraphHasText_, false);
        bodyTextParagraph_ = textParagraph_;
        inHeader_ = true;
        headerDepth_ = stack_.size();
    }

    void leaveHeader() {
        flushBytes();
        flushRun();
        if (!paragraph_.runs.empty())
            endParagraph();
        paragraph_ = std::move(bodyParagraph_);
        paragraphLength_ = bodyParagraphLength_;
        cellsPending_ = bodyCellsPending_;
        paragraphHasText_ = bodyHasText_;
        textParagraph_ = std::move(bodyTextParagraph_);
        paragraphMayDiffer_ = true;
        inHeader_ = false;
        headerRead_ = true;
    }

    void startRow() {
        row_ = static_cast<int>(rowsHanded_ + document_.rows.size());
        cell_ = 0;
        document_.rows.emplace_back();
        takeRowDefinition();
    }

    // The cells' widths from their right edges, which some writers give
    // again at the row's end.
    void takeRowDefinition() {
        if (row_ < 0 || rowRights_.empty())
            return;
        RtfRow &row = document_.rows[static_cast<std::size_t>(row_) - rowsHanded_];
        row.cellWidths.clear();
        int left = rowLeft_;
        for (const int right : rowRights_) {
            row.cellWidths.push_back(std::max(0, right - left));
            left = std::max(left, right);
        }
        row.keepTogether = rowKeep_;
    }

    void endRow() {
        flushBytes();
        flushRun();
        // Text after the last \cell belongs to the row's last cell.
        if (!paragraph_.runs.empty())
            endParagraph(true);
        takeRowDefinition();
        row_ = -1;
        cell_ = 0;
    }

    // Stops reading: what was read is dropped.
    void refuse(ContentLimit limit) {
        exceeded_ = limit;
        finished_ = true;
        pos_ = data_.size();
    }

    // Text read before the default font was named takes it now.
    void giveDefaultFamily() {
        const QString &family = document_.defaultFamily;
        const auto give = [&family](RtfCharFormat &format) {
            if (format.family.isEmpty())
                format.family = family;
            if (format.eastAsianFamily == format.family)
                format.eastAsianFamily.clear();
        };
        for (auto *paragraphs : {&document_.header, &document_.paragraphs}) {
            for (RtfParagraph &paragraph : *paragraphs) {
                give(paragraph.markFormat);
                std::vector<RtfRun> runs = std::move(paragraph.runs);
                paragraph.runs.clear();
                for (RtfRun &run : runs) {
                    give(run.format);
                    paragraph.append(run.text, run.format);
                }
            }
        }
    }

    QString fontName(int number) const {
        const auto it = fonts_.constFind(number);
        return it == fonts_.constEnd() ? QString() : it->name;
    }

    RtfCharFormat resolve(const CharState &chars) {
        RtfCharFormat format;
        format.family = chars.westernFont >= 0 ? fontName(chars.westernFont) : QString();
        if (format.family.isEmpty())
            format.family = fontName(defaultFont_);
        resolvedWithoutFamily_ |= format.family.isEmpty();
        // A paragraph's mark is resolved also when it holds no text, before
        // any text has settled the default font: the mark of an empty
        // paragraph before the font table takes the name given later.
        familyAwaited_ |= format.family.isEmpty() && !defaultFontSettled_;
        if (chars.eastAsianFont >= 0) {
            const QString eastAsian = fontName(chars.eastAsianFont);
            if (eastAsian != format.family)
                format.eastAsianFamily = eastAsian;
        }
        format.halfPoints = chars.halfPoints;
        format.bold = chars.bold;
        format.italic = chars.italic;
        format.underline = chars.underline;
        return format;
    }

    QByteArrayView data_;
    std::stop_token stop_;
    // Where paragraphs go as they are read, if anywhere; how many went, and
    // how many table rows.
    RtfFeed *feed_ = nullptr;
    static constexpr std::size_t kFeedBatch = 256;
    std::size_t handed_ = 0;
    std::size_t rowsHanded_ = 0;
    std::size_t handAt_ = kFeedBatch;
    qsizetype pos_ = 0;
    bool finished_ = false;
    bool stopped_ = false;

    std::vector<GroupState> stack_;
    qsizetype overflowDepth_ = 0;
    qsizetype skipDepth_ = 0;
    int unicodeSkipLeft_ = 0;

    int ansiCodePage_ = kWesternCodePage;
    int defaultFont_ = 0;
    QHash<int, FontEntry> fonts_;
    int currentFont_ = -1; // the entry of the font table being read
    // The East Asian font before the last \dbch\af, while nothing followed,
    // when that was the second since the last text.
    int eastAsianBeforeAf_ = kNoFont;
    bool eastAsianFontSinceText_ = false;
    bool fontNameOpen_ = false;
    std::size_t fontEntryDepth_ = 0;

    QByteArray pendingBytes_;
    struct CachedWord {
        std::string_view name;
        const WordInfo *info = nullptr;
    };
    std::array<CachedWord, 128> wordCache_{};
    int pendingCodePage_ = 0;
    std::map<int, std::unique_ptr<QStringDecoder>> decoders_;

    bool leadPending_ = false; // the last pending byte starts a two-byte character

    static constexpr qsizetype kRunStartCapacity = 96;
    QString pendingRun_;
    bool pendingNeedsSanitizing_ = false;
    // The paragraph properties may have changed since the last text.
    bool paragraphMayDiffer_ = true;
    CharState pendingState_;
    int cellsPending_ = 0;         // nested cells ended since the row's last text
    bool pageBreakBefore_ = false; // \page, or a section's start, before the next paragraph
    // The table row being read (an index into the document's rows, -1
    // outside tables), its cell, and the last row definition.
    int row_ = -1;
    int cell_ = 0;
    std::vector<int> rowRights_;
    int rowLeft_ = 0;
    bool rowKeep_ = false;
    std::size_t tableCells_ = 0;
    bool inHeader_ = false;
    bool headerRead_ = false;
    std::size_t headerDepth_ = 0; // the header's group
    RtfParagraph bodyParagraph_;  // the body's, while the header is read
    qsizetype bodyParagraphLength_ = 0;
    int bodyCellsPending_ = 0;
    bool bodyHasText_ = false;
    ParagraphState bodyTextParagraph_;
    // The paragraph properties of the paragraph's last text, and the depth
    // of the outermost group in which they were set again since (0: none).
    ParagraphState textParagraph_;
    bool paragraphHasText_ = false;
    std::size_t paragraphWordDepth_ = 0;
    // The paragraph that begins the current section, after the first, and
    // whether that section starts a new page.
    std::optional<std::size_t> sectionStart_;
    bool sectionStartsPage_ = true;
    qsizetype paragraphLength_ = 0;
    qsizetype characters_ = 0;
    std::size_t runs_ = 0;
    ContentLimit exceeded_ = ContentLimit::None;
    RtfParagraph paragraph_;
    RtfDocument document_;
    bool resolvedWithoutFamily_ = false;
    // Text has begun, and the default font was in the font table by then:
    // it stays that font, with that name, whatever a later \deff or font
    // table says, as the text read so far has it.
    bool textBegun_ = false;
    bool defaultFontSettled_ = false;
    // Something was read without a family before the default font settled:
    // it may yet take the default font's name.
    bool familyAwaited_ = false;
};

qsizetype rtfStart(QByteArrayView data) {
    qsizetype i = 0;
    if (data.startsWith("\xEF\xBB\xBF"))
        i = 3;
    while (i < data.size() &&
           (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n'))
        ++i;
    return data.sliced(i).startsWith("{\\rtf") ? i : -1;
}

} // namespace

bool looksLikeRtf(QByteArrayView data) {
    return rtfStart(data) >= 0;
}

RtfReading readRtf(QByteArrayView data, std::stop_token stop, RtfFeed *feed) {
    const qsizetype start = rtfStart(data);
    if (start < 0)
        return {};
    RtfReader reader(data.sliced(start), std::move(stop), feed);
    RtfDocument document = reader.read();
    if (reader.exceeded() != ContentLimit::None || reader.stopped())
        return {std::nullopt, reader.exceeded()};
    return {std::move(document), ContentLimit::None};
}

std::optional<RtfDocument> parseRtf(QByteArrayView data) {
    return readRtf(data).document;
}

} // namespace drillpad
