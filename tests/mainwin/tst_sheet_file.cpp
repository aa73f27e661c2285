#include "common/fakes.h"
#include "common/file_fakes.h"
#include "common/test_main.h"

#include "controls/rich_text_box.h"
#include "controls/rtf_reader.h"
#include "mainwin/forms_registry.h"
#include "mainwin/frm_main.h"
#include "mainwin/sheet_file.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextBlock>

#include <csignal>
#include <sys/resource.h>

using namespace drillpad;
using namespace drillpad::testing;

Q_DECLARE_METATYPE(drillpad::SheetFormat)

namespace {

const QString kSheet =
    QStringLiteral("\n乘法题:\n2×3=\u30004×5=\u3000\n除法题:\n8÷2=\u30009÷3=\u3000\n\n");

QByteArray contents(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &data) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

// The text of a PDF as pdftotext reads it, pages joined; the test fails
// when pdftotext cannot be run.
QString pdfText(const QString &path) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        qWarning("pdftotext failed: %s", process.readAllStandardError().constData());
        return QString();
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The names of the fonts a PDF uses, as pdffonts lists them.
QString pdfFonts(const QString &path) {
    QProcess process;
    process.start(QStringLiteral("pdffonts"), {path});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString withoutBlanks(QString text) {
    static const QRegularExpression blanks(QStringLiteral("\\s"),
                                           QRegularExpression::UseUnicodePropertiesOption);
    return text.remove(blanks);
}

// Makes writing any file past `bytes` fail, as a full disk would.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &previous_); }

private:
    rlimit previous_{};
};

} // namespace

class TestSheetFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void targetNameAndFormat_data();
    void targetNameAndFormat();
    void saveWritesTheSheetAsRtf();
    void secondSaveOffersTheFirstName();
    void cancellingSaveWritesNothing();
    void textEntrySavesPlainText();
    void failedSaveNamesFileAndReason_data();
    void failedSaveNamesFileAndReason();
    void failedSaveLeavesTheOldFile();
    void openReplacesTheSheet_data();
    void openReplacesTheSheet();
    void openRefusesWhatItCannotRead_data();
    void openRefusesWhatItCannotRead();
    void cancellingOpenKeepsTheSheet();
    void printPrintsTheWholeSheet();
    void printPrintsOnlyTheSelection_data();
    void printPrintsOnlyTheSelection();
    void cancellingPrintPrintsNothing();
    void failedPrintIsReported();

private:
    FrmMain &window() { return frmMain(); }
    RichTextBox *editor() { return frmMain().txtMain(); }
    void save() { window().menuAction("mnuFileSave")->trigger(); }
    void print() { window().menuAction("mnuFilePrint")->trigger(); }
    QString path(const QString &name) const { return dir_->filePath(name); }

    std::unique_ptr<QTemporaryDir> dir_;
    RecordingMessageBoxes messages_;
    ScriptedFileDialogs dialogs_;
    std::unique_ptr<ScopedSeam<MessageBoxes>> messageSeam_;
    std::unique_ptr<ScopedSeam<FileDialogs>> dialogSeam_;
};

void TestSheetFile::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    messages_.messages.clear();
    dialogs_.answers.clear();
    dialogs_.shown.clear();
    messageSeam_ = std::make_unique<ScopedSeam<MessageBoxes>>(messages_);
    dialogSeam_ = std::make_unique<ScopedSeam<FileDialogs>>(dialogs_);
    editor()->setText(kSheet);
}

void TestSheetFile::cleanup() {
    dialogSeam_.reset();
    messageSeam_.reset();
    // A fresh main window, and with it a fresh dialog, for every test.
    RecordingProcessControl process;
    ScopedSeam<ProcessControl> processSeam(process);
    unloadForm(FormId::Main);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestSheetFile::targetNameAndFormat_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<int>("filter");
    QTest::addColumn<QString>("written");
    QTest::addColumn<SheetFormat>("format");
    const SheetFormat rtf = SheetFormat::Rtf;
    const SheetFormat text = SheetFormat::Text;
    QTest::newRow("name alone") << "/d/sheet" << 0 << "/d/sheet.rtf" << rtf;
    QTest::newRow("name with .rtf") << "/d/sheet.rtf" << 0 << "/d/sheet.rtf" << rtf;
    QTest::newRow("suffix in capitals") << "/d/SHEET.RTF" << 0 << "/d/SHEET.RTF" << rtf;
    QTest::newRow("other suffix") << "/d/sheet.txt" << 0 << "/d/sheet.txt.rtf" << rtf;
    QTest::newRow("text entry") << "/d/sheet" << 1 << "/d/sheet.txt" << text;
    QTest::newRow("text entry with .txt") << "/d/sheet.txt" << 1 << "/d/sheet.txt" << text;
    QTest::newRow("text entry, .rtf typed") << "/d/a.rtf" << 1 << "/d/a.rtf.txt" << text;
    QTest::newRow("dotted folder") << "/d.rtf/sheet" << 0 << "/d.rtf/sheet.rtf" << rtf;
}

void TestSheetFile::targetNameAndFormat() {
    QFETCH(QString, chosen);
    QFETCH(int, filter);
    QFETCH(QString, written);
    QFETCH(SheetFormat, format);
    QCOMPARE(sheetTarget(chosen, filter), (SheetTarget{written, format}));
}

void TestSheetFile::saveWritesTheSheetAsRtf() {
    QTextCursor cursor(editor()->document()->findBlockByNumber(1));
    cursor.select(QTextCursor::BlockUnderCursor);
    editor()->setTextCursor(cursor);
    editor()->setSelBold(true);
    editor()->setSelAlignment(RichTextBox::AlignCenterCode);

    dialogs_.answers << FileChoice{path(QStringLiteral("sheet")), 0};
    save();

    QCOMPARE(dialogs_.shown.size(), 1);
    QVERIFY(dialogs_.shown[0].save);
    QCOMPARE(dialogs_.shown[0].filters,
             (QStringList{QStringLiteral("RTF格式 (*.rtf)"), QStringLiteral("文本格式(*.txt)")}));
    QCOMPARE(dialogs_.shown[0].initial.path, QString());
    QVERIFY(messages_.messages.isEmpty());
    const std::optional<RtfDocument> saved = parseRtf(contents(path(QStringLiteral("sheet.rtf"))));
    QVERIFY(saved.has_value());
    QCOMPARE(saved->plainText(), kSheet);
    QCOMPARE(saved->paragraphs[1].alignment, RtfAlignment::Centre);
    QVERIFY(saved->paragraphs[1].runs.front().format.bold);
    QVERIFY(!saved->paragraphs[2].runs.front().format.bold);
    QVERIFY(!QFile::exists(path(QStringLiteral("sheet"))));
}

void TestSheetFile::secondSaveOffersTheFirstName() {
    const FileChoice first{path(QStringLiteral("sheet.rtf")), 0};
    dialogs_.answers << first;
    save();
    editor()->setText(QStringLiteral("第二次"));
    dialogs_.answers << first; // the user accepts what is offered
    save();
    QCOMPARE(dialogs_.shown.size(), 2);
    QCOMPARE(dialogs_.shown[1].initial, first);
    QCOMPARE(parseRtf(contents(first.path))->plainText(), QStringLiteral("第二次"));
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList{QStringLiteral("sheet.rtf")});
}

void TestSheetFile::cancellingSaveWritesNothing() {
    dialogs_.answers << FileChoice{path(QStringLiteral("first")), 1};
    save();
    dialogs_.answers << std::nullopt;
    save();
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList{QStringLiteral("first.txt")});
    QVERIFY(messages_.messages.isEmpty());
    QCOMPARE(editor()->text(), kSheet);
    // A cancelled dialog forgets nothing.
    dialogs_.answers << std::nullopt;
    save();
    QCOMPARE(dialogs_.shown.last().initial, (FileChoice{path(QStringLiteral("first")), 1}));
}

void TestSheetFile::textEntrySavesPlainText() {
    dialogs_.answers << FileChoice{path(QStringLiteral("sheet")), 1};
    save();
    QCOMPARE(contents(path(QStringLiteral("sheet.txt"))), kSheet.toUtf8());
}

void TestSheetFile::failedSaveNamesFileAndReason_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing folder") << "missing/sheet"
                                    << "missing/sheet.rtf"
                                    << "文件夹不存在";
    QTest::newRow("a folder of that name") << "folder.rtf"
                                           << "folder.rtf"
                                           << "文件夹";
    QTest::newRow("folder that takes no files") << "/proc/sheet.rtf"
                                                << "/proc/sheet.rtf"
                                                << "无法在这个文件夹里写文件";
}

void TestSheetFile::failedSaveNamesFileAndReason() {
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    QFETCH(QString, reason);
    QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("folder.rtf")));
    dialogs_.answers << FileChoice{QDir(dir_->path()).filePath(chosen), 0};
    save();
    QCOMPARE(messages_.messages.size(), 1);
    const QString message = messages_.messages.first();
    QVERIFY2(message.startsWith(QStringLiteral("无法保存文件")), qPrintable(message));
    QVERIFY2(message.contains(QDir::toNativeSeparators(QDir(dir_->path()).filePath(written))),
             qPrintable(message));
    QVERIFY2(message.contains(reason), qPrintable(message));
    QCOMPARE(editor()->text(), kSheet);
}

void TestSheetFile::failedSaveLeavesTheOldFile() {
    const QString target = path(QStringLiteral("sheet.rtf"));
    QVERIFY(writeFile(target, "{\\rtf1 old}"));
    QString big;
    for (int i = 0; i < 2000; ++i)
        big += QStringLiteral("12×12=\u3000");
    editor()->setText(big);
    dialogs_.answers << FileChoice{target, 0};
    {
        FileSizeLimit full(4096);
        save();
    }
    QCOMPARE(messages_.messages.size(), 1);
    QVERIFY(messages_.messages.first().contains(QDir::toNativeSeparators(target)));
    QVERIFY(messages_.messages.first().contains(QStringLiteral("磁盘可能已满")));
    QCOMPARE(contents(target), QByteArray("{\\rtf1 old}"));
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList{QStringLiteral("sheet.rtf")});
}

void TestSheetFile::openReplacesTheSheet_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("text");
    QTest::newRow("RTF") << "old.rtf"
                         << QByteArray(
                                "{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0\\fcharset134 "
                                "\\'cb\\'ce\\'cc\\'e5;}}\\b \\'bf\\'da\\'cb\\'e3\\b0\\par 1+1=}")
                         << QStringLiteral("口算\n1+1=");
    QTest::newRow("RTF whatever its name")
        << "sheet.txt" << QByteArray("{\\rtf1 a\\par b}") << QStringLiteral("a\nb");
    QTest::newRow("UTF-8 text") << "sheet.txt"
                                << QStringLiteral("乘法题:\r\n2×3=\u3000\r\n").toUtf8()
                                << QStringLiteral("乘法题:\n2×3=\u3000\n");
    QTest::newRow("UTF-8 with byte-order mark")
        << "a.txt" << QByteArray("\xEF\xBB\xBF") + QStringLiteral("加法").toUtf8()
        << QStringLiteral("加法");
    QTest::newRow("GBK text") << "a.txt" << QByteArray("\xbf\xda\xcb\xe3\r1")
                              << QStringLiteral("口算\n1");
    QByteArray utf16("\xFF\xFE");
    utf16.append(reinterpret_cast<const char *>(u"除法÷"), 6);
    QTest::newRow("UTF-16 text") << "a.txt" << utf16 << QStringLiteral("除法÷");
    QTest::newRow("empty text file") << "a.txt" << QByteArray() << QString();
}

void TestSheetFile::openReplacesTheSheet() {
    QFETCH(QString, name);
    QFETCH(QByteArray, data);
    QFETCH(QString, text);
    QVERIFY(writeFile(path(name), data));
    dialogs_.answers << FileChoice{path(name), 0};
    openSheet(window());
    QVERIFY2(messages_.messages.isEmpty(), qPrintable(messages_.messages.join(u'\n')));
    QCOMPARE(editor()->text(), text);
    QVERIFY(!dialogs_.shown.first().save);
    // The next save offers the name opened.
    dialogs_.answers << std::nullopt;
    save();
    QCOMPARE(dialogs_.shown.last().initial.path, path(name));
}

void TestSheetFile::openRefusesWhatItCannotRead_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("reason");
    QTest::newRow("not RTF") << "sheet.rtf" << QByteArray("PK\3\4 no rtf") << "不是有效的RTF文件";
    QTest::newRow("not text") << "sheet.txt" << QByteArray("ab\0cd", 5) << "不是文本文件";
    QTest::newRow("not text in any encoding")
        << "sheet.txt" << QByteArray("\xff\xff\xff\x80") << "不是文本文件";
    QTest::newRow("missing file") << "gone.rtf" << QByteArray() << "文件不存在";
}

void TestSheetFile::openRefusesWhatItCannotRead() {
    QFETCH(QString, name);
    QFETCH(QByteArray, data);
    QFETCH(QString, reason);
    if (!data.isEmpty())
        QVERIFY(writeFile(path(name), data));
    dialogs_.answers << FileChoice{path(name), 0};
    openSheet(window());
    QCOMPARE(messages_.messages.size(), 1);
    QVERIFY2(messages_.messages.first().contains(QDir::toNativeSeparators(path(name))),
             qPrintable(messages_.messages.first()));
    QVERIFY2(messages_.messages.first().contains(reason), qPrintable(messages_.messages.first()));
    QCOMPARE(editor()->text(), kSheet);
}

void TestSheetFile::cancellingOpenKeepsTheSheet() {
    dialogs_.answers << std::nullopt;
    openSheet(window());
    QCOMPARE(dialogs_.shown.size(), 1);
    QCOMPARE(editor()->text(), kSheet);
    QVERIFY(messages_.messages.isEmpty());
}

void TestSheetFile::printPrintsTheWholeSheet() {
    FakePrintDialogs printers(path(QStringLiteral("out.pdf")));
    ScopedSeam<PrintDialogs> seam(printers);
    QTextCursor cursor(editor()->document()->findBlockByNumber(1));
    cursor.select(QTextCursor::BlockUnderCursor);
    cursor.clearSelection(); // the caret stays, nothing is selected
    editor()->setTextCursor(cursor);
    print();
    QCOMPARE(printers.shown, 1);
    QVERIFY(!printers.offeredSelection);
    // The page number follows the text.
    QCOMPARE(withoutBlanks(pdfText(printers.printer.outputFileName())),
             withoutBlanks(kSheet) + QStringLiteral("1"));
    QVERIFY(messages_.messages.isEmpty());
}

void TestSheetFile::printPrintsOnlyTheSelection_data() {
    QTest::addColumn<bool>("allPages");
    QTest::addColumn<QString>("printed");
    QTest::newRow("selection") << false << QStringLiteral("2×3=");
    QTest::newRow("all pages chosen in the dialog") << true << withoutBlanks(kSheet);
}

void TestSheetFile::printPrintsOnlyTheSelection() {
    QFETCH(bool, allPages);
    QFETCH(QString, printed);
    FakePrintDialogs printers(path(QStringLiteral("out.pdf")));
    printers.allPages = allPages;
    ScopedSeam<PrintDialogs> seam(printers);
    QTextCursor cursor(editor()->document());
    const int start = editor()->document()->findBlockByNumber(2).position();
    cursor.setPosition(start);
    cursor.setPosition(start + 5, QTextCursor::KeepAnchor); // "2×3=" and the gap
    editor()->setTextCursor(cursor);
    editor()->setSelBold(true);
    print();
    QVERIFY(printers.offeredSelection);
    QCOMPARE(withoutBlanks(pdfText(printers.printer.outputFileName())), printed + u'1');
    // With its formatting: the bold face is in the document.
    QVERIFY(pdfFonts(printers.printer.outputFileName()).contains(QStringLiteral("Bold")));
    QCOMPARE(editor()->selText(), QStringLiteral("2×3=\u3000")); // the selection stays
}

void TestSheetFile::cancellingPrintPrintsNothing() {
    FakePrintDialogs printers(path(QStringLiteral("out.pdf")));
    printers.accept = false;
    ScopedSeam<PrintDialogs> seam(printers);
    print();
    QCOMPARE(printers.shown, 1);
    QVERIFY(!QFile::exists(path(QStringLiteral("out.pdf"))));
    QVERIFY(messages_.messages.isEmpty());
}

void TestSheetFile::failedPrintIsReported() {
    FakePrintDialogs printers(path(QStringLiteral("missing/out.pdf")));
    ScopedSeam<PrintDialogs> seam(printers);
    QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
    print();
    QCOMPARE(messages_.messages.size(), 1);
    QVERIFY(messages_.messages.first().startsWith(QStringLiteral("打印失败")));
}

DRILLPAD_TEST_MAIN(TestSheetFile)
#include "tst_sheet_file.moc"
