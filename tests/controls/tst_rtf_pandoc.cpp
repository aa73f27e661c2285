#include "common/test_main.h"

#include "controls/rich_text_box.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextBlock>

using namespace drillpad;

namespace {

// One character as a reader shows it.
struct Shown {
    QChar character;
    bool bold = false;
    bool italic = false;
    bool underline = false;

    friend bool operator==(const Shown &, const Shown &) = default;
};

using Paragraph = QList<Shown>;

QString describe(const QList<Paragraph> &paragraphs) {
    QString out;
    for (const Paragraph &p : paragraphs) {
        for (const Shown &s : p)
            out += s.character + QString(s.bold ? "b" : "") + QString(s.italic ? "i" : "") +
                   QString(s.underline ? "u" : "") + QLatin1Char('|');
        out += QLatin1Char('\n');
    }
    return out;
}

// Pandoc's JSON: the text of each paragraph with the emphasis around it.
void collectInlines(const QJsonArray &inlines, Shown marks, Paragraph &out) {
    for (const QJsonValue &value : inlines) {
        const QJsonObject node = value.toObject();
        const QString type = node.value(QStringLiteral("t")).toString();
        const QJsonValue content = node.value(QStringLiteral("c"));
        if (type == QLatin1String("Str")) {
            for (QChar c : content.toString())
                out.append({c, marks.bold, marks.italic, marks.underline});
        } else if (type == QLatin1String("Space") || type == QLatin1String("SoftBreak")) {
            out.append({QChar(u' '), marks.bold, marks.italic, marks.underline});
        } else if (type == QLatin1String("LineBreak")) {
            out.append({QChar(u'\n'), marks.bold, marks.italic, marks.underline});
        } else {
            Shown inner = marks;
            inner.bold |= type == QLatin1String("Strong");
            inner.italic |= type == QLatin1String("Emph");
            inner.underline |= type == QLatin1String("Underline");
            // Spans and links carry their inlines after their attributes.
            collectInlines(content.isArray() && content.toArray().last().isArray()
                               ? content.toArray().last().toArray()
                               : content.toArray(),
                           inner, out);
        }
    }
}

void collectBlocks(const QJsonArray &blocks, QList<Paragraph> &out) {
    for (const QJsonValue &value : blocks) {
        const QJsonObject node = value.toObject();
        const QString type = node.value(QStringLiteral("t")).toString();
        const QJsonValue content = node.value(QStringLiteral("c"));
        if (type == QLatin1String("Para") || type == QLatin1String("Plain")) {
            Paragraph paragraph;
            collectInlines(content.toArray(), {}, paragraph);
            out.append(paragraph);
        } else if (type == QLatin1String("Div")) {
            collectBlocks(content.toArray().last().toArray(), out);
        } else if (type == QLatin1String("Header")) {
            Paragraph paragraph;
            collectInlines(content.toArray().last().toArray(), {}, paragraph);
            out.append(paragraph);
        }
    }
}

// Runs pandoc on an RTF file; the test fails when pandoc cannot be run.
QList<Paragraph> readWithPandoc(const QString &path) {
    QProcess pandoc;
    pandoc.start(QStringLiteral("pandoc"), {QStringLiteral("-f"), QStringLiteral("rtf"),
                                            QStringLiteral("-t"), QStringLiteral("json"), path});
    if (!pandoc.waitForStarted(30000) || !pandoc.waitForFinished(120000)) {
        qWarning("pandoc could not be run: %s", qPrintable(pandoc.errorString()));
        return {};
    }
    if (pandoc.exitStatus() != QProcess::NormalExit || pandoc.exitCode() != 0) {
        qWarning("pandoc failed: %s", pandoc.readAllStandardError().constData());
        return {};
    }
    QList<Paragraph> paragraphs;
    collectBlocks(QJsonDocument::fromJson(pandoc.readAllStandardOutput())
                      .object()
                      .value(QStringLiteral("blocks"))
                      .toArray(),
                  paragraphs);
    return paragraphs;
}

// What the editor shows, as pandoc reports it: empty paragraphs dropped,
// tabs as spaces.
QList<Paragraph> shownByEditor(const QTextDocument &document) {
    QList<Paragraph> paragraphs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        Paragraph paragraph;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            for (QChar c : it.fragment().text()) {
                paragraph.append({c == u'\t' ? QChar(u' ') : c, format.fontWeight() >= QFont::Bold,
                                  format.fontItalic(), format.fontUnderline()});
            }
        }
        if (!paragraph.isEmpty())
            paragraphs.append(paragraph);
    }
    return paragraphs;
}

// Readers lay out white space their own way: they drop it at the start and
// end of a paragraph, join runs of it and may leave it outside emphasis.
// Only the marks of visible characters are compared.
void normaliseSpaces(QList<Paragraph> &paragraphs) {
    for (Paragraph &p : paragraphs) {
        Paragraph normalised;
        for (const Shown &s : p) {
            if (!s.character.isSpace())
                normalised.append(s);
            else if (!normalised.isEmpty() && normalised.last().character != u' ')
                normalised.append({QChar(u' ')});
        }
        if (!normalised.isEmpty() && normalised.last().character == u' ')
            normalised.removeLast();
        p = normalised;
    }
}

} // namespace

class TestRtfPandoc : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pandocReadsTheSavedSheet();
    void pandocReadsTheManual();

private:
    QTemporaryDir dir_;
};

void TestRtfPandoc::pandocReadsTheSavedSheet() {
    RichTextBox editor;
    editor.setText(QStringLiteral("乘法题:\n3×4=\u3000 5×6=\u3000 8÷2=\u3000\n\n"
                                  "粗体 斜体 下划线 全部 normal\tend"));
    const auto format = [&](int from, int length, auto apply) {
        QTextCursor cursor(editor.document());
        cursor.setPosition(from);
        cursor.setPosition(from + length, QTextCursor::KeepAnchor);
        editor.setTextCursor(cursor);
        apply();
    };
    format(0, 4, [&] {
        editor.setSelBold(true);
        editor.setSelFontSize(QStringLiteral("16"));
        editor.setSelAlignment(RichTextBox::AlignCenterCode);
    });
    format(5, 5, [&] { editor.setSelUnderline(true); });
    format(11, 5, [&] { editor.setSelItalic(true); });
    format(17, 5, [&] {
        editor.setSelBold(true);
        editor.setSelFontName(QStringLiteral("隶书"));
    });
    const int last = editor.document()->findBlockByNumber(3).position();
    format(last, 2, [&] { editor.setSelBold(true); });
    format(last + 3, 2, [&] { editor.setSelItalic(true); });
    format(last + 6, 3, [&] { editor.setSelUnderline(true); });
    format(last + 10, 2, [&] {
        editor.setSelBold(true);
        editor.setSelItalic(true);
        editor.setSelUnderline(true);
        editor.setSelFontSize(QStringLiteral("10.5"));
    });

    const QString path = dir_.filePath(QStringLiteral("sheet.rtf"));
    QVERIFY(editor.saveFile(path).ok());

    QList<Paragraph> expected = shownByEditor(*editor.document());
    QList<Paragraph> actual = readWithPandoc(path);
    QVERIFY2(!actual.isEmpty(), "pandoc read nothing");
    normaliseSpaces(expected);
    normaliseSpaces(actual);
    QCOMPARE(describe(actual), describe(expected));
}

void TestRtfPandoc::pandocReadsTheManual() {
    const QString manual =
        qEnvironmentVariable("DRILLPAD_SOURCE_DIR") + QStringLiteral("/resources/help.rtf");
    RichTextBox editor;
    QVERIFY(editor.loadFile(manual).ok());
    QList<Paragraph> expected = shownByEditor(*editor.document());
    QList<Paragraph> actual = readWithPandoc(manual);
    normaliseSpaces(expected);
    normaliseSpaces(actual);
    QVERIFY(actual.size() > 10);
    QCOMPARE(describe(actual), describe(expected));
}

DRILLPAD_TEST_MAIN(TestRtfPandoc)
#include "tst_rtf_pandoc.moc"
