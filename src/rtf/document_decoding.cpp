#include "rtf/document_decoding.h"

#include "rtf/rtf_charset.h"
#include "rtf/rtf_reader.h"

#include <QStringDecoder>

#include <algorithm>

namespace drillpad {

namespace {

constexpr int kBig5CodePage = 950;

std::optional<QString> decodeStrictly(QStringDecoder &&decoder, QByteArrayView data) {
    QString text = decoder.decode(data);
    if (decoder.hasError() || !decoder.isValid() || text.contains(QChar::ReplacementCharacter))
        return std::nullopt;
    return text;
}

std::optional<QString> decodeCodePage(int codePage, QByteArrayView data) {
    return decodeStrictly(QStringDecoder(codecNameOfCodePage(codePage).constData()), data);
}

// Big5 puts the second byte of some 40% of its characters below 0xA1, where
// GB2312, the common part of GBK, never does; GBK text rarely leaves it.
bool looksLikeBig5(QByteArrayView data) {
    qsizetype pairs = 0;
    qsizetype lowTrails = 0;
    for (qsizetype i = 0; i + 1 < data.size(); ++i) {
        if (!isLeadByte(kChineseCodePage, static_cast<unsigned char>(data[i])))
            continue;
        ++pairs;
        lowTrails += static_cast<unsigned char>(data[i + 1]) < 0xA1;
        ++i;
    }
    return pairs > 0 && lowTrails * 5 >= pairs;
}

std::optional<QString> decodeChinese(QByteArrayView data) {
    const int preferred = looksLikeBig5(data) ? kBig5CodePage : kChineseCodePage;
    const int other = preferred == kBig5CodePage ? kChineseCodePage : kBig5CodePage;
    if (std::optional<QString> text = decodeCodePage(preferred, data))
        return text;
    return decodeCodePage(other, data);
}

// Whether the text fits in the editor: as many lines and as long ones as
// a file of rich text may have.
bool fitsEditor(const QString &text) {
    std::size_t lines = 1;
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) != u'\n')
            continue;
        if (++lines > kMaxParagraphs || std::size_t(i - lineStart) > kMaxParagraphLength)
            return false;
        lineStart = i + 1;
    }
    return std::size_t(text.size() - lineStart) <= kMaxParagraphLength;
}

QString tooLargeMessage() {
    return QStringLiteral("内容太多(超过%1段、%2处格式变化或一段超过%3字),")
        .arg(kMaxParagraphs)
        .arg(kMaxRuns)
        .arg(kMaxParagraphLength);
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
        // Text files written on Chinese Windows systems.
        if (utf8.hasError())
            text = decodeChinese(data);
    }
    if (!text)
        return std::nullopt;
    // Control characters other than line ends, tabs and page breaks, and
    // the private characters that stray bytes become in GBK, are no part of
    // a text: this is some other kind of file.
    const auto foreign = [](QChar c) {
        const char16_t u = c.unicode();
        return (u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r' && u != u'\f') ||
               (u >= 0xE000 && u <= 0xF8FF);
    };
    if (std::any_of(text->cbegin(), text->cend(), foreign))
        return std::nullopt;
    text->replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text->replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

DecodedDocument decodeDocument(QByteArrayView data) {
    DecodedDocument decoded;
    if (looksLikeRtf(data)) {
        decoded.rtf = parseRtf(data);
        if (!decoded.rtf)
            decoded.refusal = tooLargeMessage();
        return decoded;
    }
    std::optional<QString> text = decodePlainText(data);
    if (!text)
        decoded.refusal = QStringLiteral("既不是RTF文件,也不是文本文件,");
    else if (!fitsEditor(*text))
        decoded.refusal = tooLargeMessage();
    else
        decoded.text = std::move(*text);
    return decoded;
}

} // namespace drillpad
