// Sheets saved, opened, printed, previewed and exported as PDF from the 文件
// menu; the pages under the header.
#include "app/forms_registry.h"
#include "common/fakes.h"
#include "common/pdf_text.h"
#include "common/small_disk.h"
#include "common/test_main.h"
#include "controls/command_button.h"
#include "controls/frame_box.h"
#include "controls/rich_text_box.h"
#include "guide/frm_guide.h"
#include "guide/guide_steps.h"
#include "guide/sheet_header.h"
#include "guide/sheet_layout.h"
#include "mainwin/frm_main.h"
#include "mainwin/sheet_file.h"
#include "rtf/rtf_reader.h"
#include "rtf/rtf_writer.h"
#include "settings/settings_store.h"
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace drillpad;
using namespace Qt::StringLiterals;
using testing::kTitle;
using testing::pdfPageTexts;

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

// 120 lines of 9 pt questions: three pages of 51 lines (13.5 pt each).
QString threePages() {
    QString sheet;
    for (int line = 0; line < 120; ++line)
        sheet += u"%1×7=\u3000%1÷7=\u3000\n"_s.arg(line);
    return sheet;
}

} // namespace

class TestSheetFile : public QObject {
    Q_OBJECT

    RichTextBox *editor() { return frmMain().txtMain(); }
    void save() { trigger("mnuFileSave"); }
    void trigger(const char *entry) { frmMain().menuAction(entry)->trigger(); }
    void print() { trigger("mnuFilePrint"); }
    // Every page under the header, the sheet's lines in order over them.
    void verifyPages(const QString &pdf) {
        const QStringList pages = pdfPageTexts(pdf);
        QCOMPARE(pages.size(), 3);
        QStringList bodies;
        testing::verifyUnderHeader(pages, testing::headerText(), &bodies);
        QCOMPARE(bodies.join(QString()), testing::withoutBlanks(editor()->text()));
    }
    void select(int from, int length) {
        QTextCursor cursor(editor()->document());
        cursor.setPosition(from);
        cursor.setPosition(from + length, QTextCursor::KeepAnchor);
        editor()->setTextCursor(cursor);
    }

    // In place of the real dialogs and message boxes; a fresh folder per test.
    std::optional<QTemporaryDir> dir_;
    testing::RecordingMessageBoxes messages_;
    QStringList &messages = messages_.messages;
    testing::ScriptedFileDialogs dialogs;
    ScopedSeam<MessageBoxes> messageSeam_{messages_};
    ScopedSeam<FileDialogs> dialogSeam_{dialogs};
    QString path(const QString &name) const { return QDir(dir_->path()).filePath(name); }

private Q_SLOTS:
    void init() {
        dir_.emplace();
        messages_ = {};
        messages_.answers = {u"是"_s, u"是"_s, u"是"_s}; // replacing is the point here
        dialogs = {};
        editor()->setText(kSheet);
        editor()->document()->setModified(false); // as the wizard leaves it
    }
    void cleanup() {
        testing::RecordingProcessControl process;
        ScopedSeam<ProcessControl> processSeam(process);
        editor()->document()->setModified(false);
        unloadForm(FormId::Guide);
        unloadForm(FormId::Main);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void saving_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("reason"); // why it failed
        QTest::newRow("RTF over an old file") << u"sheet"_s << 0 << u"sheet.rtf"_s << QString();
        QTest::newRow("text entry") << u"sheet.rtf"_s << 1 << u"sheet.rtf.txt"_s << QString();
        QTest::newRow("no folder") << u"no.rtf/a"_s << 0 << u"no.rtf/a.rtf"_s << u"文件夹不存在"_s;
        QTest::newRow("a named pipe") << u"pipe.rtf"_s << 0 << u"pipe.rtf"_s << u"不是普通的文件"_s;
    }
    // Adding the suffix of the format chosen; the name of the file written is offered
    // again, and a cancelled dialog forgets nothing. A failure keeps the old file and
    // says why.
    void saving() {
        QFETCH(QString, chosen);
        QFETCH(int, filter);
        QFETCH(QString, written);
        QFETCH(QString, reason);
        select(1, 4);
        editor()->setSelBold(true);
        editor()->setSelAlignment(RichTextBox::AlignCenterCode);
        QVERIFY(writeFile(path(u"sheet.rtf"_s), "{\\rtf1 old}"));
        QVERIFY(::mkfifo(QFile::encodeName(path(u"pipe.rtf"_s)), 0600) == 0);
        dialogs.answers << FileChoice{path(chosen), filter};
        save();
        if (!reason.isEmpty()) {
            QVERIFY2(messages.size() == 1 && messages.first().startsWith(u"无法保存文件"_s) &&
                         messages.first().contains(reason) &&
                         messages.first().contains(QDir::toNativeSeparators(path(written))),
                     qPrintable(messages.join(u'\n')));
            QCOMPARE(contents(path(u"sheet.rtf"_s)), QByteArray("{\\rtf1 old}"));
            QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::System),
                     (QStringList{u"pipe.rtf"_s, u"sheet.rtf"_s}));
            return;
        }
        save();
        save();
        const QString again = u"save %1 %2"_s.arg(path(written)).arg(filter);
        QCOMPARE(dialogs.shown, (QStringList{u"save  0"_s, again, again}));
        QCOMPARE(dialogs.filters, (QStringList{u"RTF格式 (*.rtf)"_s, u"文本格式(*.txt)"_s}));
        QVERIFY(messages.isEmpty());
        if (filter == 1) {
            QCOMPARE(contents(path(written)), kSheet.toUtf8());
            return;
        }
        const std::optional<RtfDocument> saved = parseRtf(contents(path(written)));
        QVERIFY(saved && saved->plainText() == kSheet);
        const RtfParagraph &heading = saved->paragraphs[1];
        QVERIFY(heading.alignment == RtfAlignment::Centre && heading.runs.front().format.bold &&
                !saved->paragraphs[2].runs.front().format.bold);
    }

    void fullDisk_data() {
        QTest::addColumn<int>("filter");
        QTest::addColumn<int>("free"); // bytes
        QTest::newRow("RTF, nothing free") << 0 << 0;
        QTest::newRow("RTF, 8 KB free") << 0 << 8192;
        QTest::newRow("text, nothing free") << 1 << 0;
        QTest::newRow("text, 8 KB free") << 1 << 8192;
    }
    // An 11.5 KB sheet (1150 questions of 10 bytes) saved over a file on a full disk:
    // the message says why, the old file stays byte for byte and alone, the sheet unsaved.
    void fullDisk() {
        QFETCH(int, filter);
        QFETCH(int, free);
        testing::SmallDisk disk(64);
        if (!disk.mounted)
            QSKIP("A small file system cannot be mounted here (it needs root).");
        const QString old = disk.dir.filePath(filter ? u"a.txt"_s : u"a.rtf"_s);
        QVERIFY(writeFile(old, "old sheet") && disk.leaveFree(free));
        editor()->setText(u"12×12=\u3000"_s.repeated(1150));
        dialogs.answers << FileChoice{old, filter};
        save();
        QVERIFY2(messages.size() == 1 && messages.first().contains(u"磁盘可能已满"_s),
                 qPrintable(messages.join(u'\n')));
        QCOMPARE(contents(old), QByteArray("old sheet"));
        QCOMPARE(QDir(disk.dir.path()).entryList(QDir::Files),
                 (QStringList{QFileInfo(old).fileName(), u"filler"_s}));
        QVERIFY(frmMain().isWindowModified()); // so leaving asks: tst_main_window
    }

    void opening_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("refused");
        QTest::newRow("not RTF") << u"sheet.rtf"_s << QByteArray("PK\3\4\0 no rtf", 11)
                                 << u"也不是文本文件"_s;
        QTest::newRow("a named pipe") << u"x.rtf"_s << QByteArray() << u"不是普通的文件"_s;
        QTest::newRow("a line too long")
            << u"long.txt"_s << QByteArray(20'001, 'x') << u"内容太多(有一段超过20000字),"_s;
    }
    // A file refused leaves the sheet alone and says why. (A file opened: the main
    // window's tbOpen rows and tst_answer_page; decoding: tst_document_decoding.)
    void opening() {
        QFETCH(QString, name);
        QFETCH(QByteArray, data);
        QFETCH(QString, refused);
        QVERIFY(data.isEmpty() || writeFile(path(name), data));
        // The other end of a pipe, for a while: were the pipe opened and waited on, it
        // would get a sheet of its own.
        const QByteArray pipe = QFile::encodeName(path(u"x.rtf"_s));
        QVERIFY(::mkfifo(pipe.constData(), 0600) == 0);
        std::signal(SIGPIPE, SIG_IGN); // should the reader have gone at once
        std::jthread writer([&pipe](std::stop_token stop) {
            for (int tries = 0; tries < 100 && !stop.stop_requested(); ++tries) {
                if (const int fd = ::open(pipe.constData(), O_WRONLY | O_NONBLOCK); fd >= 0) {
                    Q_UNUSED(::write(fd, "{\\rtf1 pipe}", 12));
                    ::close(fd);
                    return;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        });
        dialogs.answers << FileChoice{path(name), 0};
        openSheet(frmMain());
        QCOMPARE(editor()->text(), kSheet);
        QCOMPARE(dialogs.shown.first(), u"open  0"_s);
        QVERIFY2(messages.size() == 1 && messages.first().contains(refused) &&
                     messages.first().contains(QDir::toNativeSeparators(path(name))),
                 qPrintable(messages.join(u'\n')));
    }

    // A large file goes into the sheet while it is still read: whole as it is in
    // the file, or, refused when the reading finds it too long, not at all.
    void openingWhileRead_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("refused");
        SheetSettings settings;
        settings[QuestionType::Add] = {true, 0, 99, 4000};
        settings.layout.perLine = 4;
        QTest::newRow("a sheet of 1000 lines")
            << writeRtf(layOutSheet(settings).document) << QString();
        QTest::newRow("one paragraph too many")
            << "{\\rtf1\\deff0{\\fonttbl{\\f0 ;}}" +
                   QByteArray("1+1=\\par ").repeated(qsizetype(kMaxParagraphs) + 1) + "}"
            << u"内容太多(超过100000段),"_s;
    }
    void openingWhileRead() {
        QFETCH(QByteArray, data);
        QFETCH(QString, refused);
        QVERIFY(writeFile(path(u"big.rtf"_s), data));
        dialogs.answers << FileChoice{path(u"big.rtf"_s), 0};
        openSheet(frmMain());
        if (refused.isEmpty()) {
            QTextDocument whole;
            rtfToTextDocument(*parseRtf(data), whole);
            QCOMPARE(editor()->text(), whole.toPlainText());
            QVERIFY(messages.isEmpty() && !editor()->document()->isModified());
            // The sheet it replaced is not brought back under the file's name.
            QVERIFY(!editor()->document()->isUndoAvailable());
        } else {
            QCOMPARE(editor()->text(), kSheet);
            QVERIFY2(messages.size() == 1 && messages.first().contains(refused),
                     qPrintable(messages.join(u'\n')));
        }
    }

    void replacing_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("existing"); // the file already in the folder
        QTest::addColumn<QString>("answer");   // to the question; "" for none asked
        // The file really written has the format's suffix added, even to a name with dots
        // (the dialog sees no suffix-less "练习1.2") or one ending in another format's suffix.
        QTest::newRow("练习1.2 否") << u"练习1.2"_s << 0 << u"练习1.2.rtf"_s << u"否"_s;
        QTest::newRow("a.txt 是") << u"a.txt"_s << 0 << u"a.txt.rtf"_s << u"是"_s;
        QTest::newRow("第1.2课 是") << u"第1.2课"_s << 1 << u"第1.2课.txt"_s << u"是"_s;
        QTest::newRow("sheet.rtf 否") << u"sheet.rtf"_s << 0 << u"sheet.rtf"_s << u"否"_s;
        // Files of the very name chosen are not the ones written: nothing to ask.
        QTest::newRow("练习1.2 beside") << u"练习1.2"_s << 0 << u"练习1.2"_s << QString();
    }
    // Saving asks before it replaces the file it really writes, with "否" the
    // default and the escape button; "否" leaves the old file byte for byte and the
    // sheet unsaved.
    void replacing() {
        QFETCH(QString, chosen);
        QFETCH(int, filter);
        QFETCH(QString, existing);
        QFETCH(QString, answer);
        const QByteArray old = "{\\rtf1\\ansi old sheet\\par}\r\n";
        QVERIFY(writeFile(path(existing), old));
        editor()->setSelText(u"7×8=\u3000"_s); // an edit
        messages_.answers = {answer};
        dialogs.answers << FileChoice{path(chosen), filter};
        save();
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join(u'\n')));
        const Question asked{
            u"文件“%1”已存在。要替换它吗?"_s.arg(QDir::toNativeSeparators(path(existing))),
            {u"是"_s, u"否"_s},
            1,
            1};
        QCOMPARE(messages_.questions, answer.isEmpty() ? QList<Question>() : QList{asked});
        const bool replaced = answer == u"是"_s;
        QCOMPARE(contents(path(existing)) == old, !replaced);
        QCOMPARE(contents(path(existing)).contains("7"), replaced); // the edit written
        QCOMPARE(editor()->document()->isModified(), answer == u"否"_s);
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files).size(), answer.isEmpty() ? 2 : 1);
    }

    void wizardReplacing_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("sheet"); // "saved", "edited" or "empty"
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("saveChosen"); // the save dialog accepted
        const auto row = [](const char *button, const char *sheet, const char *answer = "",
                            bool saveChosen = false) {
            QTest::addRow("%s %s %s%s", button, sheet, answer, saveChosen ? " chosen" : "")
                << QString::fromUtf8(button) << QString::fromUtf8(sheet)
                << QString::fromUtf8(answer) << saveChosen;
        };
        row("cmdNext", "edited", "取消");
        row("cmdNext", "edited", "保存"); // the save dialog cancelled
        row("cmdNext", "edited", "保存", true);
        row("cmdNext", "edited", "不保存");
        row("cmdNext", "saved");
        row("cmdReset", "edited", "取消");
        row("cmdReset", "edited", "不保存");
        row("cmdReset", "empty");
    }
    // The wizard's Finish (on page 3) and Reset ask about unsaved edits before they
    // replace the sheet, as opening a file does; keeping it leaves the sheet and the
    // wizard as they were. The new sheet is unsaved work in turn; an emptied one is not.
    void wizardReplacing() {
        QFETCH(QString, button);
        QFETCH(QString, sheet);
        QFETCH(QString, answer);
        QFETCH(bool, saveChosen);
        if (sheet == u"edited"_s)
            editor()->setSelText(u"7×8=\u3000"_s);
        else if (sheet == u"empty"_s)
            editor()->clear();
        const QString before = editor()->text();
        messages_.answers = {answer};
        if (answer == u"保存"_s)
            dialogs.answers << (saveChosen ? std::optional(FileChoice{path(u"kept"_s), 0})
                                           : std::nullopt);
        FrmGuide &guide = frmGuide();
        guide.show();
        guide.button("cmdNext")->click();
        guide.button("cmdNext")->click();
        guide.button(qPrintable(button))->click();
        const bool asked = sheet == u"edited"_s;
        QCOMPARE(messages_.questions.size(), int(asked)); // the question: tst_main_window
        if (asked && answer != u"不保存"_s && !saveChosen) {
            QVERIFY(editor()->text() == before && frmMain().isWindowModified());
            QVERIFY(guideStep() == 3 && guide.isVisible() && guide.page(3)->isVisible());
            QCOMPARE(guide.button("cmdNext")->caption(), u"完成[&F]"_s);
            return;
        }
        if (saveChosen)
            QCOMPARE(parseRtf(contents(path(u"kept.rtf"_s)))->plainText(), before);
        const bool finished = button == u"cmdNext"_s;
        QCOMPARE(editor()->text().startsWith(u"\n乘法题:\n"_s), finished);
        QVERIFY(finished || editor()->text().isEmpty());
        QCOMPARE(frmMain().isWindowModified(), finished);
        QCOMPARE(guideStep(), finished ? 4 : 1);
    }

    // The selection offered, kept or declined; formatting; cancelling.
    void printing() {
        testing::PdfPrintDialogs printers(path(u"out.pdf"_s));
        ScopedSeam<PrintDialogs> seam(printers);
        const QString pdf = printers.printer.outputFileName();
        const auto printed = [&] {
            return testing::withoutBlanks(testing::pdftotext("-raw"_L1, pdf));
        };
        select(6, 5); // "2×3=" and the gap
        editor()->setSelBold(true);
        print();
        QCOMPARE(printed(), u"2×3="_s);
        QProcess fonts;
        fonts.start(u"pdffonts"_s, {pdf});
        QVERIFY(fonts.waitForFinished() && fonts.readAllStandardOutput().contains("Bold"));
        QCOMPARE(editor()->selText(), u"2×3=\u3000"_s);
        printers.allPages = true;
        print();
        QCOMPARE(printed(), u"乘法题:2×3=4×5=除法题:8÷2=9÷3="_s);
        QVERIFY(QFile::remove(pdf));
        printers.accept = false; // cancelled: nothing printed
        print();
        QVERIFY(!QFile::exists(pdf) && messages.isEmpty());
        // Three pages with the header: the preview and the printout as the PDF.
        editor()->setText(threePages(), {}, makeSheetHeader(true, kTitle));
        trigger("mnuFilePreview");
        QCOMPARE(printers.previews, 1);
        verifyPages(pdf);
        QVERIFY(QFile::remove(pdf));
        printers.accept = true;
        print();
        verifyPages(pdf);
    }

    void exporting_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("answer"); // to the replace question; "" for none asked
        QTest::addColumn<QString>("failure");
        QTest::newRow("name without the suffix")
            << u"sheet"_s << u"sheet.pdf"_s << QString() << QString();
        QTest::newRow("suffix of another case kept")
            << u"Sheet.PDF"_s << u"Sheet.PDF"_s << QString() << QString();
        QTest::newRow("another suffix")
            << u"sheet.rtf"_s << u"sheet.rtf.pdf"_s << QString() << QString();
        QTest::newRow("replacing declined") << u"old"_s << u"old.pdf"_s << u"否"_s << QString();
        QTest::newRow("replacing agreed") << u"old"_s << u"old.pdf"_s << u"是"_s << QString();
        QTest::newRow("no such folder")
            << u"gone/sheet"_s << u"gone/sheet.pdf"_s << QString() << u"文件夹不存在"_s;
    }
    // ".pdf" added where missing; the question before replacing a file (as in
    // replacing), 否 keeping it; a file that cannot be written reported, nothing
    // left behind.
    void exporting() {
        QFETCH(QString, chosen);
        QFETCH(QString, written);
        QFETCH(QString, answer);
        QFETCH(QString, failure);
        editor()->setText(threePages(), {}, makeSheetHeader(true, kTitle));
        const QByteArray old = "%PDF old";
        QVERIFY(answer.isEmpty() || writeFile(path(written), old));
        messages_.answers = {answer};
        dialogs.answers << FileChoice{path(chosen), 0};
        trigger("mnuFilePdf");
        QCOMPARE(dialogs.filters, QStringList{u"PDF文件 (*.pdf)"_s});
        QCOMPARE(messages_.questions.size(), answer.isEmpty() ? 0 : 1);
        if (!failure.isEmpty()) {
            QVERIFY2(messages.size() == 1 && messages.first().contains(u"无法导出PDF文件"_s) &&
                         messages.first().contains(failure),
                     qPrintable(messages.join(u'\n')));
            QVERIFY(!QFileInfo::exists(path(written)));
            return;
        }
        QVERIFY(messages.isEmpty());
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files),
                 QStringList{QFileInfo(written).fileName()});
        QCOMPARE(contents(path(written)) == old, answer == u"否"_s);
        if (answer == u"否"_s)
            return;
        verifyPages(path(written));
        trigger("mnuFilePdf"); // offered again next time
        QCOMPARE(dialogs.shown.last(), u"save %1 0"_s.arg(path(chosen)));
    }

    // As a teacher: three sets in 竖式 with the header, chosen in 出题设置,
    // written by the wizard, exported as PDF and saved as RTF. Every page of
    // the PDF has the header, each set starts a page with "第N套" and its
    // answers follow all sets; LibreOffice shows the saved file on the same
    // pages with the same text.
    void threeVerticalSetsAsTheTeacherGetsThem() {
        SheetSettings settings = SheetSettings::initial();
        settings.layout.sets = 3;
        settings.layout.vertical = true;
        settings.layout.title = kTitle;
        saveCurrentSettings(settings);
        editor()->document()->setModified(false);
        FrmGuide &guide = frmGuide();
        guide.show();
        for (int click = 0; click < 3; ++click)
            guide.button("cmdNext")->click();
        QVERIFY(guide.isHidden());
        saveCurrentSettings(SheetSettings::initial());

        dialogs.answers << FileChoice{path(u"sets"_s), 0};
        trigger("mnuFilePdf");
        const QStringList pages = pdfPageTexts(path(u"sets.pdf"_s));
        QStringList bodies;
        testing::verifyUnderHeader(pages, testing::headerText(), &bodies);
        const auto firstPage = [&bodies](const QString &start) {
            return bodies.indexOf(QRegularExpression(QRegularExpression::escape(start) + u".*"_s));
        };
        // The sets in order, then their answers in order.
        QList<qsizetype> order;
        for (int set = 1; set <= 3; ++set)
            order << firstPage(setHeading(set) + u"乘法题:"_s);
        for (int set = 1; set <= 3; ++set)
            order << firstPage(setAnswersHeading(set));
        QVERIFY2(order.front() == 0 && std::is_sorted(order.begin(), order.end()) &&
                     std::adjacent_find(order.begin(), order.end()) == order.end(),
                 qPrintable(bodies.join(u'|').left(300)));

        dialogs.answers << FileChoice{path(u"sets"_s), 0};
        save();
        QVERIFY(messages.isEmpty());
        const QString officePdf = testing::officePdf(path(u"sets.rtf"_s), dir_->path());
        if (officePdf.isEmpty())
            QSKIP("LibreOffice is not installed");
        const QStringList officePages = pdfPageTexts(officePdf);
        testing::verifyUnderHeader(officePages, testing::headerText());
        testing::compareCharacters(officePages, pages);
    }
};

DRILLPAD_TEST_MAIN(TestSheetFile)
#include "tst_sheet_file.moc"
