#include "common/fakes.h"
#include "common/test_main.h"

#include "controls/file_dialogs.h"
#include "controls/print_dialog.h"
#include "controls/rich_text_box.h"
#include "controls/rtf_reader.h"
#include "mainwin/forms_registry.h"
#include "mainwin/frm_main.h"
#include "mainwin/sheet_file.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextBlock>

#include <csignal>
#include <sys/resource.h>

using namespace drillpad;
using namespace drillpad::testing;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(drillpad::SheetFormat)

namespace {

const QString kSheet = u"\n乘法题:\n2×3=\u30004×5=\u3000\n除法题:\n8÷2=\u30009÷3=\u3000\n\n"_s;

QByteArray contents(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &data) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

// The output of a poppler tool on a PDF; the test fails when it cannot run.
QString poppler(const QString &tool, const QStringList &arguments) {
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        qWarning("%s failed: %s", qPrintable(tool), process.readAllStandardError().constData());
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString withoutBlanks(QString text) {
    static const QRegularExpression blanks(u"\\s"_s,
                                           QRegularExpression::UseUnicodePropertiesOption);
    return text.remove(blanks);
}

// Answers each file dialog from a script (nothing: cancelled) and records
// how it was opened.
struct ScriptedFileDialogs final : FileDialogs {
    struct Shown {
        bool save;
        QStringList filters;
        FileChoice initial;
    };
    std::optional<FileChoice> saveFile(QWidget *, const QStringList &filters,
                                       const FileChoice &initial) override {
        shown.append({true, filters, initial});
        return answers.isEmpty() ? std::nullopt : answers.takeFirst();
    }
    std::optional<FileChoice> openFile(QWidget *, const QStringList &filters,
                                       const FileChoice &initial) override {
        shown.append({false, filters, initial});
        return answers.isEmpty() ? std::nullopt : answers.takeFirst();
    }
    QList<std::optional<FileChoice>> answers;
    QList<Shown> shown;
};

// A print dialog confirmed with a printer writing PDF, or cancelled. Like
// the real one it offers the selection when there is one; `allPages` is the
// user choosing everything instead.
struct PdfPrintDialogs final : PrintDialogs {
    explicit PdfPrintDialogs(const QString &pdfPath) : printer(QPrinter::HighResolution) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfPath);
    }
    QPrinter *choosePrinter(QWidget *, bool selection) override {
        ++shown;
        offeredSelection = selection;
        printer.setPrintRange(selection && !allPages ? QPrinter::Selection : QPrinter::AllPages);
        return accept ? &printer : nullptr;
    }
    QPrinter printer;
    bool accept = true;
    bool allPages = false;
    bool offeredSelection = false;
    int shown = 0;
};

} // namespace

class TestSheetFile : public QObject {
    Q_OBJECT

    FrmMain &window() { return frmMain(); }
    RichTextBox *editor() { return frmMain().txtMain(); }
    void save() { window().menuAction("mnuFileSave")->trigger(); }
    void print() { window().menuAction("mnuFilePrint")->trigger(); }
    void select(int block, int from, int length) {
        QTextCursor cursor(editor()->document());
        cursor.setPosition(editor()->document()->findBlockByNumber(block).position() + from);
        cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor, length);
        editor()->setTextCursor(cursor);
    }

    // What each test starts with, in place of the real dialogs and message boxes.
    struct Session {
        QTemporaryDir dir;
        RecordingMessageBoxes messages;
        ScriptedFileDialogs dialogs;
        ScopedSeam<MessageBoxes> messageSeam{messages};
        ScopedSeam<FileDialogs> dialogSeam{dialogs};
    };
    std::unique_ptr<Session> session_;
    QStringList &messages() { return session_->messages.messages; }
    ScriptedFileDialogs &dialogs() { return session_->dialogs; }
    QString path(const QString &name) const { return QDir(session_->dir.path()).filePath(name); }
    QStringList files() const { return QDir(session_->dir.path()).entryList(QDir::Files); }

private Q_SLOTS:
    void init() {
        session_ = std::make_unique<Session>();
        editor()->setText(kSheet);
    }
    void cleanup() {
        session_.reset();
        // A fresh main window, and with it a fresh dialog, for every test.
        RecordingProcessControl process;
        ScopedSeam<ProcessControl> processSeam(process);
        unloadForm(FormId::Main);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void targetNameAndFormat_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("written");
        QTest::addColumn<SheetFormat>("format");
        const SheetFormat rtf = SheetFormat::Rtf;
        const SheetFormat text = SheetFormat::Text;
        QTest::newRow("name with .rtf") << "/d/sheet.rtf" << 0 << "/d/sheet.rtf" << rtf;
        QTest::newRow("suffix in capitals") << "/d/SHEET.RTF" << 0 << "/d/SHEET.RTF" << rtf;
        QTest::newRow("other suffix") << "/d/sheet.txt" << 0 << "/d/sheet.txt.rtf" << rtf;
        QTest::newRow("text entry with .txt") << "/d/sheet.txt" << 1 << "/d/sheet.txt" << text;
        QTest::newRow("text entry, .rtf typed") << "/d/a.rtf" << 1 << "/d/a.rtf.txt" << text;
        QTest::newRow("dotted folder") << "/d.rtf/sheet" << 0 << "/d.rtf/sheet.rtf" << rtf;
    }
    void targetNameAndFormat() {
        QFETCH(QString, chosen);
        QFETCH(int, filter);
        QFETCH(QString, written);
        QFETCH(SheetFormat, format);
        QCOMPARE(sheetTarget(chosen, filter), (SheetTarget{written, format}));
    }

    void saveWritesTheSheetAndOffersItsNameAgain() {
        select(1, 0, 4);
        editor()->setSelBold(true);
        editor()->setSelAlignment(RichTextBox::AlignCenterCode);
        QVERIFY(writeFile(path(u"sheet.rtf"_s), "{\\rtf1 old}"));
        const FileChoice first{path(u"sheet"_s), 0};
        dialogs().answers << first << std::nullopt << FileChoice{path(u"sheet"_s), 1};
        save();
        save(); // cancelled
        save();
        QCOMPARE(dialogs().shown.size(), 3);
        QVERIFY(dialogs().shown[0].save);
        QCOMPARE(dialogs().shown[0].filters,
                 (QStringList{u"RTF格式 (*.rtf)"_s, u"文本格式(*.txt)"_s}));
        QCOMPARE(dialogs().shown[0].initial.path, QString());
        QCOMPARE(dialogs().shown[1].initial, first);
        QCOMPARE(dialogs().shown[2].initial, first); // a cancelled dialog forgets nothing
        QVERIFY(messages().isEmpty());

        const std::optional<RtfDocument> saved = parseRtf(contents(path(u"sheet.rtf"_s)));
        QVERIFY(saved.has_value());
        QCOMPARE(saved->plainText(), kSheet);
        QCOMPARE(saved->paragraphs[1].alignment, RtfAlignment::Centre);
        QVERIFY(saved->paragraphs[1].runs.front().format.bold);
        QVERIFY(!saved->paragraphs[2].runs.front().format.bold);
        QCOMPARE(contents(path(u"sheet.txt"_s)), kSheet.toUtf8()); // the text entry
        QCOMPARE(files(), (QStringList{u"sheet.rtf"_s, u"sheet.txt"_s}));
    }

    void failedSaveKeepsTheOldFileAndSaysWhy_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("reason");
        const auto row = [](const char *tag, const char *chosen, const char *written,
                            const char *reason) {
            QTest::newRow(tag) << QString::fromUtf8(chosen) << QString::fromUtf8(written)
                               << QString::fromUtf8(reason);
        };
        row("missing folder", "missing/sheet", "missing/sheet.rtf", "文件夹不存在");
        row("a folder of that name", "folder.rtf", "folder.rtf", "文件夹");
        row("folder that takes no files", "/proc/sheet.rtf", "/proc/sheet.rtf",
            "无法在这个文件夹里写文件");
        row("disk full", "sheet.rtf", "sheet.rtf", "磁盘可能已满");
    }
    void failedSaveKeepsTheOldFileAndSaysWhy() {
        QFETCH(QString, chosen);
        QFETCH(QString, written);
        QFETCH(QString, reason);
        QVERIFY(QDir().mkdir(path(u"folder.rtf"_s)));
        QVERIFY(writeFile(path(u"sheet.rtf"_s), "{\\rtf1 old}"));
        const QString sheet = u"12×12=\u3000"_s.repeated(2000);
        editor()->setText(sheet);
        dialogs().answers << FileChoice{path(chosen), 0};
        rlimit previous{};
        getrlimit(RLIMIT_FSIZE, &previous);
        rlimit full = previous;
        full.rlim_cur = 4096; // no file grows past 4 KiB, as on a full disk
        std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &full);
        save();
        setrlimit(RLIMIT_FSIZE, &previous);
        QCOMPARE(messages().size(), 1);
        const QString message = messages().first();
        QVERIFY2(message.startsWith(u"无法保存文件"_s), qPrintable(message));
        QVERIFY2(message.contains(QDir::toNativeSeparators(path(written))), qPrintable(message));
        QVERIFY2(message.contains(reason), qPrintable(message));
        QCOMPARE(editor()->text(), sheet);
        QCOMPARE(contents(path(u"sheet.rtf"_s)), QByteArray("{\\rtf1 old}"));
        QCOMPARE(files(), QStringList{u"sheet.rtf"_s});
    }

    void opening_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("refused");
        const auto row = [](const char *tag, const QString &name, const QByteArray &data,
                            const QString &text, const QString &refused = QString()) {
            QTest::newRow(tag) << name << data << text << refused;
        };
        row("RTF", u"old.rtf"_s,
            "{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}"
            "\\b \\'bf\\'da\\'cb\\'e3\\b0\\par 1+1=}",
            u"口算\n1+1="_s);
        row("GBK text", u"a.txt"_s, "\xbf\xda\xcb\xe3\r1", u"口算\n1"_s);
        row("not RTF", u"sheet.rtf"_s, "PK\3\4 no rtf", kSheet, u"不是有效的RTF文件"_s);
        row("not text", u"sheet.txt"_s, QByteArray("ab\0cd", 5), kSheet, u"不是文本文件"_s);
        row("missing file", u"gone.rtf"_s, "", kSheet, u"文件不存在"_s);
    }
    void opening() {
        QFETCH(QString, name);
        QFETCH(QByteArray, data);
        QFETCH(QString, text);
        QFETCH(QString, refused);
        if (name != u"gone.rtf"_s)
            QVERIFY(writeFile(path(name), data));
        dialogs().answers << FileChoice{path(name), 0};
        openSheet(window());
        QVERIFY(!dialogs().shown.first().save);
        QCOMPARE(editor()->text(), text);
        if (!refused.isEmpty()) {
            QCOMPARE(messages().size(), 1);
            const QString message = messages().first();
            QVERIFY2(message.contains(QDir::toNativeSeparators(path(name))), qPrintable(message));
            QVERIFY2(message.contains(refused), qPrintable(message));
            return;
        }
        QVERIFY2(messages().isEmpty(), qPrintable(messages().join(u'\n')));
        save(); // offers the name opened
        QCOMPARE(dialogs().shown.last().initial.path, path(name));
    }

    void cancelling_data() {
        QTest::addColumn<QString>("action");
        QTest::newRow("save") << "mnuFileSave";
        QTest::newRow("open") << "open";
        QTest::newRow("print") << "mnuFilePrint";
    }
    void cancelling() {
        QFETCH(QString, action);
        PdfPrintDialogs printers(path(u"out.pdf"_s));
        printers.accept = false;
        ScopedSeam<PrintDialogs> seam(printers);
        if (action == u"open"_s)
            openSheet(window());
        else
            window().menuAction(action.toLatin1().constData())->trigger();
        QCOMPARE(int(dialogs().shown.size()) + printers.shown, 1);
        QCOMPARE(files(), QStringList());
        QVERIFY(messages().isEmpty());
        QCOMPARE(editor()->text(), kSheet);
    }

    void printing_data() {
        QTest::addColumn<bool>("selection");
        QTest::addColumn<bool>("allPages");
        QTest::addColumn<QString>("printed");
        QTest::newRow("nothing selected") << false << false << kSheet;
        QTest::newRow("selection") << true << false << u"2×3="_s;
        QTest::newRow("all pages chosen in the dialog") << true << true << kSheet;
    }
    void printing() {
        QFETCH(bool, selection);
        QFETCH(bool, allPages);
        QFETCH(QString, printed);
        PdfPrintDialogs printers(path(u"out.pdf"_s));
        printers.allPages = allPages;
        ScopedSeam<PrintDialogs> seam(printers);
        select(2, 0, 5); // "2×3=" and the gap
        editor()->setSelBold(true);
        select(2, 0, selection ? 5 : 0);
        print();
        QCOMPARE(printers.shown, 1);
        QCOMPARE(printers.offeredSelection, selection);
        // The page number follows the text.
        const QString pdf = printers.printer.outputFileName();
        QCOMPARE(withoutBlanks(poppler(u"pdftotext"_s, {u"-enc"_s, u"UTF-8"_s, pdf, u"-"_s})),
                 withoutBlanks(printed) + u'1');
        // With its formatting: the bold face is in the document.
        QVERIFY(poppler(u"pdffonts"_s, {pdf}).contains(u"Bold"_s));
        QCOMPARE(editor()->selText(), selection ? u"2×3=\u3000"_s : QString());
        QVERIFY(messages().isEmpty());
    }

    void failedPrintIsReported() {
        PdfPrintDialogs printers(path(u"missing/out.pdf"_s));
        ScopedSeam<PrintDialogs> seam(printers);
        QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
        print();
        QCOMPARE(messages().size(), 1);
        QVERIFY(messages().first().startsWith(u"打印失败"_s));
    }
};

DRILLPAD_TEST_MAIN(TestSheetFile)
#include "tst_sheet_file.moc"
