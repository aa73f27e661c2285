#include "common/test_main.h"
#include "controls/rich_text_box.h"
#include <QProcess>
#include <QTemporaryDir>
#include <QTextBlock>

using namespace drillpad;

namespace {

// Each non-empty paragraph's visible characters with bold, italic and underline
// marks, blanks joined: readers lay out white space their own way.
QStringList marked(const QTextDocument &document) {
    QStringList paragraphs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QString line;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            const QString marks = QString(format.fontWeight() >= QFont::Bold ? "b" : "") +
                                  (format.fontItalic() ? "i" : "") +
                                  (format.fontUnderline() ? "u" : "");
            for (QChar c : it.fragment().text())
                line += c.isSpace() ? QString(c) : c + marks;
        }
        if (!line.simplified().isEmpty())
            paragraphs << line.simplified();
    }
    return paragraphs;
}

void compareWithPandoc(const RichTextBox &editor, const QString &path) {
    QProcess pandoc;
    pandoc.start(QStringLiteral("pandoc"), {"-f", "rtf", "-t", "html", path});
    QVERIFY2(pandoc.waitForFinished(120000) && pandoc.exitCode() == 0,
             pandoc.readAllStandardError().constData());
    QTextDocument read;
    read.setHtml(QString::fromUtf8(pandoc.readAllStandardOutput()));
    QCOMPARE(marked(read), marked(*editor.document()));
}

} // namespace

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
        QCOMPARE(marked(*editor.document()).size(), 3);
        compareWithPandoc(editor, path);
    }
    void pandocReadsTheManual() {
        const QString manual = qEnvironmentVariable("DRILLPAD_BINARY_DIR") + "/help.rtf";
        RichTextBox editor;
        QVERIFY(editor.loadFile(manual).ok());
        QVERIFY(marked(*editor.document()).size() > 10);
        compareWithPandoc(editor, manual);
    }
};

DRILLPAD_TEST_MAIN(TestRtfPandoc)
#include "tst_rtf_pandoc.moc"
