#include "rtf/rtf_writer.h"

#include "rtf/rtf_charset.h"

#include <QHash>
#include <QStringEncoder>
#include <QStringList>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <initializer_list>
#include <utility>

namespace drillpad {

namespace {

class RtfWriter {
public:
    explicit RtfWriter(const RtfDocument &document) : document_(document) {}

    QByteArray write() {
        collectFonts();
        reserve();
        out_ += "{\\rtf1\\ansi\\ansicpg";
        number(kChineseCodePage);
        out_ += "\\deff0\\deflang2052\\uc1\n";
        writeFontTable();
        out_ += "{\\*\\generator Drillpad}\\viewkind4\n";
        writePage();
        if (!document_.header.empty()) {
            out_ += "{\\header\n";
            for (const RtfParagraph &paragraph : document_.header)
                writeParagraph(paragraph, "\\par", false);
            out_ += "}\n";
        }
        const auto &paragraphs = document_.paragraphs;
        for (std::size_t i = 0; i < paragraphs.size();) {
            if (paragraphs[i].row >= 0) {
                i = writeRow(i);
            } else {
                writeParagraph(paragraphs[i], "\\par");
                ++i;
            }
        }
        out_ += "}\n";
        return out_;
    }

private:
    void collectFonts() {
        addFont(document_.defaultFamily);
        for (const auto *paragraphs : {&document_.header, &document_.paragraphs}) {
            for (const RtfParagraph &paragraph : *paragraphs) {
                addFonts(paragraph.markFormat);
                for (const RtfRun &run : paragraph.runs)
                    addFonts(run.format);
            }
        }
    }

    void addFonts(const RtfCharFormat &format) {
        addFont(format.family);
        addFont(format.eastAsianFamily);
    }

    void addFont(const QString &family) {
        if (fonts_.isEmpty() || (!family.isEmpty() && !fontIndex_.contains(family))) {
            fontIndex_.insert(family, static_cast<int>(fonts_.size()));
            fonts_ << family;
        }
    }

    // Font 0 is the default font, which text without a font of its own uses.
    int fontOf(const QString &family) const {
        return family.isEmpty() ? 0 : fontIndex_.value(family);
    }

    void reserve() {
        qsizetype estimate = 512;
        for (const RtfParagraph &paragraph : document_.paragraphs) {
            estimate += 80;
            for (const RtfRun &run : paragraph.runs)
                estimate += 60 + run.text.size() * 2;
        }
        out_.reserve(estimate);
    }

    void writeFontTable() {
        out_ += "{\\fonttbl";
        QStringEncoder gbk(codecNameOfCodePage(kChineseCodePage).constData(),
                           QStringConverter::Flag::Stateless);
        for (qsizetype i = 0; i < fonts_.size(); ++i) {
            out_ += "{\\f";
            number(static_cast<int>(i));
            out_ += "\\fnil\\fcharset";
            number(kChineseCharset);
            out_ += ' ';
            writeFontName(fonts_.at(i), gbk);
            out_ += ";}";
        }
        out_ += "}\n";
    }

    // Font names are written in the document's code page, as word processors
    // read them; a character that GBK lacks is written as \uN instead.
    void writeFontName(const QString &name, QStringEncoder &gbk) {
        for (qsizetype i = 0; i < name.size(); ++i) {
            const QChar c = name.at(i);
            if (c.unicode() >= 0x20 && c.unicode() < 0x80 && c != u';') {
                escapeAscii(static_cast<char>(c.unicode()));
                continue;
            }
            const qsizetype length = c.isHighSurrogate() && i + 1 < name.size() ? 2 : 1;
            const QStringView piece = QStringView(name).mid(i, length);
            const QByteArray bytes = gbk.encode(piece);
            if (gbk.hasError() || bytes.isEmpty()) {
                gbk.resetState();
                for (QChar unit : piece)
                    unicode(unit.unicode());
            } else {
                for (char byte : bytes)
                    hexByte(static_cast<unsigned char>(byte));
            }
            i += length - 1;
        }
    }

    void writePage() {
        const RtfPage &page = document_.page;
        const std::pair<const char *, int> words[] = {
            {"\\paperw", page.width},      {"\\paperh", page.height},
            {"\\margl", page.marginLeft},  {"\\margr", page.marginRight},
            {"\\margt", page.marginTop},   {"\\margb", page.marginBottom},
            {"\\headery", page.headerTop},
        };
        for (const auto &[word, value] : words) {
            out_ += word;
            number(value);
        }
        out_ += '\n';
    }

    // The row whose paragraphs start at `first`: its definition, then each
    // cell's paragraphs, the last ending the cell. Returns the index after
    // the row's paragraphs.
    std::size_t writeRow(std::size_t first) {
        const auto &paragraphs = document_.paragraphs;
        const int rowIndex = paragraphs[first].row;
        std::size_t end = first;
        while (end < paragraphs.size() && paragraphs[end].row == rowIndex)
            ++end;
        static const RtfRow kNoRow;
        const RtfRow &row = rowIndex < static_cast<int>(document_.rows.size())
                                ? document_.rows[static_cast<std::size_t>(rowIndex)]
                                : kNoRow;
        const int cells = std::clamp(static_cast<int>(row.cellWidths.size()), 1, kMaxCellsPerRow);

        if (paragraphs[first].pageBreakBefore)
            out_ += "\\page\n";
        out_ += "\\trowd\\trgaph0\\trleft0";
        if (row.keepTogether)
            out_ += "\\trkeep";
        int right = 0;
        for (int cell = 0; cell < cells; ++cell) {
            right += cell < static_cast<int>(row.cellWidths.size())
                         ? std::max(0, row.cellWidths[static_cast<std::size_t>(cell)])
                         : document_.page.textWidth() / cells;
            out_ += "\\cellx";
            number(right);
        }
        out_ += '\n';
        std::size_t p = first;
        for (int cell = 0; cell < cells; ++cell) {
            // A cell's paragraphs; those beyond the last cell join it.
            std::size_t cellEnd = p;
            while (cellEnd < end && (paragraphs[cellEnd].cell <= cell || cell == cells - 1))
                ++cellEnd;
            if (cellEnd == p) {
                out_ += "\\pard\\plain\\intbl\\cell\n";
                continue;
            }
            for (; p < cellEnd; ++p)
                writeParagraph(paragraphs[p], p + 1 == cellEnd ? "\\cell" : "\\par", false);
        }
        out_ += "\\row\n";
        return end;
    }

    // The paragraph ends with `end`: \par, or \cell for a cell's last.
    void writeParagraph(const RtfParagraph &paragraph, const char *end, bool mayBreakPage = true) {
        if (paragraph.pageBreakBefore && mayBreakPage)
            out_ += "\\page\n";
        // No paragraph is split across pages, here or in a word processor.
        out_ += "\\pard\\plain\\keep";
        if (paragraph.row >= 0)
            out_ += "\\intbl";
        switch (paragraph.alignment) {
        case RtfAlignment::Left: // what \pard leaves
            break;
        case RtfAlignment::Centre:
            out_ += "\\qc";
            break;
        case RtfAlignment::Right:
            out_ += "\\qr";
            break;
        case RtfAlignment::Justify:
            out_ += "\\qj";
            break;
        }
        writeIndents(paragraph);
        // The mark's format right after \pard\plain gives an empty paragraph
        // its height and is what runs differ from.
        writeFormat(paragraph.markFormat, nullptr);
        out_ += '\n';
        for (const RtfRun &run : paragraph.runs) {
            // A run in the mark's own format needs no group: most lines of a
            // sheet are one such run, and the reader's time goes by words.
            if (run.format == paragraph.markFormat) {
                writeText(run.text);
                continue;
            }
            out_ += '{';
            writeFormat(run.format, &paragraph.markFormat);
            out_ += ' ';
            writeText(run.text);
            out_ += '}';
        }
        out_ += end;
        out_ += '\n';
    }

    void writeIndents(const RtfParagraph &paragraph) {
        const std::pair<const char *, int> indents[] = {{"\\li", paragraph.leftIndent},
                                                        {"\\ri", paragraph.rightIndent},
                                                        {"\\fi", paragraph.firstLineIndent}};
        for (const auto &[word, value] : indents) {
            if (value != 0) {
                out_ += word;
                number(value);
            }
        }
        for (const RtfTabStop &stop : paragraph.tabStops) {
            out_ += stop.right ? "\\tqr\\tx" : "\\tx";
            number(stop.position);
        }
        // Every line at least as tall as lineTwipsFor says, which a word
        // processor and the printed page both keep to.
        out_ += "\\sl";
        number(lineTwipsFor(paragraph)); // \slmult0, "at least", is what \pard leaves
    }

    // Attributes first, the font idiom last; `base` is the format the group
    // starts from (nothing set after \plain).
    void writeFormat(const RtfCharFormat &format, const RtfCharFormat *base) {
        toggle(format.bold, base && base->bold, "\\b", "\\b0");
        toggle(format.italic, base && base->italic, "\\i", "\\i0");
        toggle(format.underline, base && base->underline, "\\ul", "\\ulnone");
        out_ += "\\fs";
        number(clampHalfPoints(format.halfPoints));
        const int western = fontOf(format.family);
        const int eastAsian =
            format.eastAsianFamily.isEmpty() ? western : fontOf(format.eastAsianFamily);
        out_ += "\\hich\\af";
        number(western);
        out_ += "\\dbch\\af";
        number(eastAsian);
        out_ += "\\loch\\f";
        number(western);
    }

    void toggle(bool on, bool baseOn, const char *onWord, const char *offWord) {
        if (on && !baseOn)
            out_ += onWord;
        else if (!on && baseOn)
            out_ += offWord;
    }

    void writeText(QStringView text) {
        for (QChar c : text) {
            const char16_t unit = c.unicode();
            if (unit >= 0x20 && unit < 0x80) {
                escapeAscii(static_cast<char>(unit));
            } else if (unit == u'\t') {
                out_ += "\\tab ";
            } else if (unit == QChar::LineSeparator) {
                out_ += "\\line ";
            } else if (unit >= 0x80 && unit != QChar::ObjectReplacementCharacter) {
                unicode(unit);
            }
            // Other control characters and embedded objects have no text to
            // write.
        }
    }

    void escapeAscii(char c) {
        if (c == '\\' || c == '{' || c == '}')
            out_ += '\\';
        out_ += c;
    }

    // \uN takes a signed 16-bit N; the fallback for readers without Unicode
    // is written as \'3f, which readers never mistake for text to keep.
    void unicode(char16_t unit) {
        out_ += "\\u";
        number(static_cast<std::int16_t>(unit));
        out_ += "\\'3f";
    }

    void hexByte(unsigned char byte) {
        static constexpr char kHex[] = "0123456789abcdef";
        out_ += "\\'";
        out_ += kHex[byte >> 4];
        out_ += kHex[byte & 0xf];
    }

    void number(int value) {
        char buffer[16];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
        out_.append(buffer, result.ptr - buffer);
    }

    const RtfDocument &document_;
    QByteArray out_;
    QStringList fonts_;
    QHash<QString, int> fontIndex_;
};

} // namespace

QByteArray writeRtf(const RtfDocument &document) {
    return RtfWriter(document).write();
}

} // namespace drillpad
