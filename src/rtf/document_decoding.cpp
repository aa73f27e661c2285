#include "rtf/document_decoding.h"

#include "rtf/rtf_charset.h"
#include "rtf/rtf_reader.h"

#include <QStringDecoder>

#include <algorithm>

namespace drillpad {

namespace {

constexpr int kBig5CodePage = 950;
constexpr int kGb18030CodePage = 54936;

std::optional<QString> decodeStrictly(QStringDecoder &&decoder, QByteArrayView data) {
    QString text = decoder.decode(data);
    if (decoder.hasError() || !decoder.isValid() || text.contains(QChar::ReplacementCharacter))
        return std::nullopt;
    return text;
}

std::optional<QString> decodeCodePage(int codePage, QByteArrayView data) {
    return decodeStrictly(QStringDecoder(codecNameOfCodePage(codePage).constData()), data);
}

// The characters of a Chinese code page in a text, and how many of them are
// common ones, told by the bytes that encode them: in GB18030 the first level
// of GB2312 (its 3755 most used characters) and the punctuation rows, in Big5
// its first level (5401 common characters) and punctuation. Text in the other
// code page, or in none, reads as rare characters, kana and signs.
struct ChineseCharacters {
    qsizetype all = 0;
    qsizetype common = 0;
};

bool commonInGb(unsigned char lead, unsigned char trail) {
    return trail >= 0xA1 && trail <= 0xFE &&
           ((lead >= 0xB0 && lead <= 0xD7) || lead == 0xA1 || lead == 0xA3);
}

bool commonInBig5(unsigned char lead, unsigned char trail) {
    const int code = lead << 8 | trail;
    return (code >= 0xA440 && code <= 0xC67E) || (lead == 0xA1 && isTrailByte(950, trail));
}

ChineseCharacters countChinese(int codePage, QByteArrayView data) {
    ChineseCharacters count;
    for (qsizetype i = 0; i + 1 < data.size();) {
        const auto lead = static_cast<unsigned char>(data[i]);
        const auto trail = static_cast<unsigned char>(data[i + 1]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        ++count.all;
        if (codePage == kGb18030CodePage && trail >= 0x30 && trail <= 0x39) {
            i += 4; // a four-byte character: none is common
            continue;
        }
        count.common +=
            codePage == kBig5CodePage ? commonInBig5(lead, trail) : commonInGb(lead, trail);
        i += 2;
    }
    return count;
}

// The code page whose reading has more common characters, GB18030 when they
// tie; a reading of fewer than a quarter common characters is no Chinese.
std::optional<QString> decodeChinese(QByteArrayView data) {
    const ChineseCharacters gb = countChinese(kGb18030CodePage, data);
    const ChineseCharacters big5 = countChinese(kBig5CodePage, data);
    const bool big5First = big5.common > gb.common;
    for (const auto &[codePage, count] :
         {big5First ? std::pair{kBig5CodePage, big5} : std::pair{kGb18030CodePage, gb},
          big5First ? std::pair{kGb18030CodePage, gb} : std::pair{kBig5CodePage, big5}}) {
        if (count.common == 0 || count.common * 4 < count.all)
            continue;
        if (std::optional<QString> text = decodeCodePage(codePage, data))
            return text;
    }
    return std::nullopt;
}

} // namespace

std::optional<QString> decodePlainText(QByteArrayView data) {
    std::optional<QString> text;
    if (data.startsWith("\xFF\xFE") || data.startsWith("\xFE\xFF")) {
        if (data.size() % 2)
            return std::nullopt; // a character cut in half
        text =
            decodeStrictly(QStringDecoder(data.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE
                                                                      : QStringConverter::Utf16BE),
                           data.sliced(2));
    } else {
        if (data.startsWith("\xEF\xBB\xBF"))
            data = data.sliced(3);
        QStringDecoder utf8(QStringConverter::Utf8);
        text = utf8.decode(data);
        // Text files written on Chinese Windows systems, and on western ones.
        if (utf8.hasError())
            text = decodeChinese(data);
        if (!text)
            text = QStringDecoder(codecNameOfCodePage(kWesternCodePage).constData()).decode(data);
    }
    // A stray control character is kept; a NUL is in no text.
    if (!text || text->contains(QChar(u'\0')))
        return std::nullopt;
    text->replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text->replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text->replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

namespace {

// The limit of the editor a text goes beyond, if any.
ContentLimit plainTextLimit(const QString &text) {
    std::size_t lines = 1;
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text.at(i) != u'\n')
            continue;
        if (std::size_t(i - lineStart) > kMaxParagraphLength)
            return ContentLimit::ParagraphLength;
        if (i < text.size() && ++lines > kMaxParagraphs)
            return ContentLimit::Paragraphs;
        lineStart = i + 1;
    }
    return std::size_t(text.size()) - (lines - 1) > kMaxCharacters ? ContentLimit::Characters
                                                                   : ContentLimit::None;
}

} // namespace

QString contentLimitRefusal(ContentLimit limit) {
    QString what;
    switch (limit) {
    case ContentLimit::Paragraphs:
        what = QStringLiteral("超过%1段").arg(kMaxParagraphs);
        break;
    case ContentLimit::RunsInParagraph:
        what = QStringLiteral("一段中的格式变化超过%1处").arg(kMaxRunsPerParagraph);
        break;
    case ContentLimit::Runs:
        what = QStringLiteral("格式变化超过%1处").arg(kMaxRuns);
        break;
    case ContentLimit::ParagraphLength:
        what = QStringLiteral("有一段超过%1字").arg(kMaxParagraphLength);
        break;
    case ContentLimit::TableCells:
        what = QStringLiteral("表格超过%1格").arg(kMaxTableCells);
        break;
    case ContentLimit::Characters:
    case ContentLimit::None:
        what = QStringLiteral("超过%1字").arg(kMaxCharacters);
        break;
    }
    return QStringLiteral("内容太多(%1),").arg(what);
}

DecodedDocument decodeDocument(QByteArrayView data, std::stop_token stop, RtfFeed *feed) {
    DecodedDocument decoded;
    if (looksLikeRtf(data)) {
        RtfReading reading = readRtf(data, stop, feed);
        decoded.rtf = std::move(reading.document);
        if (reading.exceeded != ContentLimit::None)
            decoded.refusal = contentLimitRefusal(reading.exceeded);
        return decoded;
    }
    std::optional<QString> text = decodePlainText(data);
    if (stop.stop_requested())
        return decoded;
    if (!text)
        decoded.refusal = QStringLiteral("既不是RTF文件,也不是文本文件,");
    else if (const ContentLimit limit = plainTextLimit(*text); limit != ContentLimit::None)
        decoded.refusal = contentLimitRefusal(limit);
    else
        decoded.text = std::move(*text);
    return decoded;
}

} // namespace drillpad
