// Writes the manual help.rtf from its source, resources/manual/help.txt.
//
// The source is UTF-8 text, one paragraph per line:
//   = text      the title: centred, bold, 22 pt, in the heading face
//   # text      a chapter heading: bold, 14 pt, in the heading face
//   ## text     a section heading: bold, 12 pt, in the heading face
//   ^ text      a centred line, 12 pt
//   - text      a bullet point
//   | a | b |   a table row: its cells separated by tabs
//   (empty)     a little space before the next paragraph
//   text        a paragraph of body text, 10.5 pt
// Inside a line, **bold**, *italic* and __underlined__ text; a backslash
// takes the character after it as it is (\* for an asterisk).
//
// Usage: drillpad_make_manual <help.txt> <help.rtf>

#include "rtf/rtf_document.h"
#include "rtf/rtf_file.h"
#include "rtf/rtf_writer.h"

#include <QFile>
#include <QStringList>

#include <cstdio>

using namespace drillpad;

namespace {

const QString kBodyFace = QStringLiteral("宋体");
const QString kHeadingFace = QStringLiteral("黑体");

RtfCharFormat face(const QString &family, int halfPoints, bool bold = false) {
    RtfCharFormat format;
    format.family = family;
    format.eastAsianFamily = family;
    format.halfPoints = halfPoints;
    format.bold = bold;
    return format;
}

// Appends `text` with its inline marks resolved against `base`.
void appendMarked(RtfParagraph &paragraph, QStringView text, const RtfCharFormat &base) {
    RtfCharFormat format = base;
    QString pending;
    auto flush = [&] {
        if (!pending.isEmpty())
            paragraph.append(pending, format);
        pending.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\\' && i + 1 < text.size()) {
            pending += text[++i];
        } else if (text.mid(i).startsWith(u"**")) {
            flush();
            format.bold = !format.bold;
            ++i;
        } else if (text.mid(i).startsWith(u"__")) {
            flush();
            format.underline = !format.underline;
            ++i;
        } else if (text[i] == u'*') {
            flush();
            format.italic = !format.italic;
        } else {
            pending += text[i];
        }
    }
    flush();
}

RtfParagraph paragraphFor(QStringView line) {
    RtfParagraph paragraph;
    const RtfCharFormat body = face(kBodyFace, 21);
    auto set = [&](RtfCharFormat format, QStringView text) {
        paragraph.markFormat = format;
        appendMarked(paragraph, text, format);
    };
    if (line.isEmpty()) {
        paragraph.markFormat = face(kBodyFace, 12);
    } else if (line.startsWith(u"= ")) {
        paragraph.alignment = RtfAlignment::Centre;
        set(face(kHeadingFace, 44, true), line.mid(2));
    } else if (line.startsWith(u"## ")) {
        set(face(kHeadingFace, 24, true), line.mid(3));
    } else if (line.startsWith(u"# ")) {
        set(face(kHeadingFace, 28, true), line.mid(2));
    } else if (line.startsWith(u"^ ")) {
        paragraph.alignment = RtfAlignment::Centre;
        set(face(kBodyFace, 24), line.mid(2));
    } else if (line.startsWith(u"- ")) {
        set(body, QStringLiteral("  • ") + line.mid(2).toString());
    } else if (line.startsWith(u"|")) {
        QStringList cells = line.toString().split(u'|');
        cells.removeFirst();
        if (!cells.isEmpty() && cells.last().trimmed().isEmpty())
            cells.removeLast();
        for (QString &cell : cells)
            cell = cell.trimmed();
        set(body, cells.join(u'\t'));
    } else {
        set(body, line);
    }
    return paragraph;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <help.txt> <help.rtf>\n", argv[0]);
        return 2;
    }
    QFile source(QString::fromLocal8Bit(argv[1]));
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[1]);
        return 1;
    }
    const QString text = QString::fromUtf8(source.readAll());
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();

    RtfDocument manual;
    manual.defaultFamily = kBodyFace;
    for (const QString &line : lines)
        manual.paragraphs.push_back(paragraphFor(line));

    const FileStatus written =
        writeFileAtomically(QString::fromLocal8Bit(argv[2]), writeRtf(manual));
    if (!written.ok()) {
        std::fprintf(stderr, "%s: %s\n", argv[0], qPrintable(written.error));
        return 1;
    }
    return 0;
}
