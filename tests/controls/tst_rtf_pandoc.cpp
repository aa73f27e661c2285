#include "common/test_main.h"

#include "controls/rich_text_box.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTextBlock>

using namespace drillpad;

namespace {

// The visible characters of each non-empty paragraph with their bold, italic
// and underline marks, blanks joined into one: readers lay out white space
// their own way and may leave it outside emphasis.
QStringList marked(const QTextDocument &document) {
    QStringList paragraphs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QString line;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            for (QChar c : it.fragment().text()) {
                if (c.isSpace()) {
                    if (!line.isEmpty() && !line.endsWith(u' '))
                        line += u' ';
                    continue;
                }
                line += c;
                line += format.fontWeight() >= QFont::Bold ? u"b" : u"";
                line += format.fontItalic() ? u"i" : u"";
                line += format.fontUnderline() ? u"u" : u"";
            }
        }
        if (!line.trimmed().isEmpty())
            paragraphs << line.trimmed();
    }
    return paragraphs;
}

// What pandoc reads from an RTF file, as HTML shown in a text document.
QStringList readWithPandoc(const QString &path) {
    QProcess pandoc;
    pandoc.start(QStringLiteral("pandoc"), {QStringLiteral("-f"), QStringLiteral("rtf"),
                                            QStringLiteral("-t"), QStringLiteral("html"), path});
    if (!pandoc.waitForFinished(120000) || pandoc.exitCode() != 0) {
        qWarning("pandoc failed: %s %s", qPrintable(pandoc.errorString()),
                 pandoc.readAllStandardError().constData());
        return {};
    }
    QTextDocument document;
    document.setHtml(QString::fromUtf8(pandoc.readAllStandardOutput()));
    return marked(document);
}

} // namespace

// Another program reads our files as the editor shows them.
class TestRtfPandoc : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pandocReadsTheSavedSheet() {
        RichTextBox editor;
        editor.setHtml(QStringLiteral(
            "<p align=center><b style='font-size:16pt'>乘法题:</b></p>"
            "<p><u>3×4=\u3000</u> <i>5×6=\u3000</i> <b style='font-family:隶书'>8÷2=\u3000</b></p>"
            "<p></p><p><b>粗体</b> <i>斜体</i> <u>下划线</u> "
            "<b><i><u style='font-size:10.5pt'>全部</u></i></b> normal\tend</p>"));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("sheet.rtf"));
        QVERIFY(editor.saveFile(path).ok());
        const QStringList shown = marked(*editor.document());
        QCOMPARE(shown.size(), 3);
        QCOMPARE(readWithPandoc(path), shown);
    }

    void pandocReadsTheManual() {
        const QString manual =
            qEnvironmentVariable("DRILLPAD_SOURCE_DIR") + QStringLiteral("/resources/help.rtf");
        RichTextBox editor;
        QVERIFY(editor.loadFile(manual).ok());
        const QStringList shown = marked(*editor.document());
        QVERIFY(shown.size() > 10);
        QCOMPARE(readWithPandoc(manual), shown);
    }
};

DRILLPAD_TEST_MAIN(TestRtfPandoc)
#include "tst_rtf_pandoc.moc"
