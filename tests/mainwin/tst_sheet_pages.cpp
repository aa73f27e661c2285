// The sheet's pages from the 文件 menu: exported as PDF, previewed and
// printed, each page under the header.
#include "app/forms_registry.h"
#include "common/fakes.h"
#include "common/pdf_text.h"
#include "common/test_main.h"
#include "controls/command_button.h"
#include "controls/rich_text_box.h"
#include "guide/frm_guide.h"
#include "guide/sheet_header.h"
#include "guide/sheet_layout.h"
#include "mainwin/frm_main.h"
#include "settings/settings_store.h"

#include <QRegularExpression>

using namespace drillpad;
using namespace Qt::StringLiterals;
using testing::kTitle;
using testing::pdfPageTexts;
using testing::withoutBlanks;

namespace {

// 120 lines of 9 pt questions: three pages of 51 lines (13.5 pt each).
QString threePages() {
    QString sheet;
    for (int line = 0; line < 120; ++line)
        sheet += u"%1×7=\u3000%1÷7=\u3000\n"_s.arg(line);
    return sheet;
}

} // namespace

class TestSheetPages : public QObject {
    Q_OBJECT

    RichTextBox *editor() { return frmMain().txtMain(); }
    void trigger(const char *entry) { frmMain().menuAction(entry)->trigger(); }
    QString path(const QString &name) const { return QDir(dir_->path()).filePath(name); }

    // Every page under the header, the sheet's lines in order over them.
    void verifyPages(const QString &pdf) {
        const QStringList pages = pdfPageTexts(pdf);
        QCOMPARE(pages.size(), 3);
        QStringList bodies;
        testing::verifyUnderHeader(pages, testing::headerText(), &bodies);
        QCOMPARE(bodies.join(QString()), withoutBlanks(editor()->text()));
    }

    std::optional<QTemporaryDir> dir_;
    testing::RecordingMessageBoxes messages_;
    testing::ScriptedFileDialogs dialogs_;
    ScopedSeam<MessageBoxes> messageSeam_{messages_};
    ScopedSeam<FileDialogs> dialogSeam_{dialogs_};

private Q_SLOTS:
    void init() {
        dir_.emplace();
        messages_ = {};
        dialogs_ = {};
        editor()->setText(threePages(), {}, makeSheetHeader(true, kTitle));
    }
    void cleanup() {
        testing::RecordingProcessControl process;
        ScopedSeam<ProcessControl> processSeam(process);
        editor()->document()->setModified(false);
        unloadForm(FormId::Main);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
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
    // ".pdf" added where missing; the question before replacing a file (asked as
    // saving asks: tst_sheet_file), 否 keeping it; a file that cannot be written
    // reported, nothing left behind.
    void exporting() {
        QFETCH(QString, chosen);
        QFETCH(QString, written);
        QFETCH(QString, answer);
        QFETCH(QString, failure);
        const QByteArray old = "%PDF old";
        if (!answer.isEmpty()) {
            QFile file(path(written));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(old) == old.size());
        }
        messages_.answers = {answer};
        dialogs_.answers << FileChoice{path(chosen), 0};
        trigger("mnuFilePdf");
        QCOMPARE(dialogs_.filters, QStringList{u"PDF文件 (*.pdf)"_s});
        QCOMPARE(messages_.questions.size(), answer.isEmpty() ? 0 : 1);
        if (!failure.isEmpty()) {
            QCOMPARE(messages_.messages.size(), 1);
            QVERIFY2(messages_.messages.first().contains(u"无法导出PDF文件"_s) &&
                         messages_.messages.first().contains(failure),
                     qPrintable(messages_.messages.first()));
            QVERIFY(!QFileInfo::exists(path(written)));
            return;
        }
        QVERIFY(messages_.messages.isEmpty());
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files),
                 QStringList{QFileInfo(written).fileName()});
        if (QFile file(path(written)); answer == u"否"_s) {
            QVERIFY(file.open(QIODevice::ReadOnly) && file.readAll() == old);
            return;
        }
        verifyPages(path(written));
        // Offered again next time.
        trigger("mnuFilePdf");
        QCOMPARE(dialogs_.shown.last(), u"save %1 0"_s.arg(path(chosen)));
    }

    // The preview and the printout show the same pages as the PDF.
    void previewAndPrintout() {
        testing::PdfPrintDialogs printers(path(u"printed.pdf"_s));
        ScopedSeam<PrintDialogs> printSeam(printers);
        trigger("mnuFilePreview");
        QCOMPARE(printers.previews, 1);
        verifyPages(path(u"printed.pdf"_s));
        QVERIFY(QFile::remove(path(u"printed.pdf"_s)));
        trigger("mnuFilePrint");
        verifyPages(path(u"printed.pdf"_s));
        QVERIFY(messages_.messages.isEmpty());
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

        dialogs_.answers << FileChoice{path(u"sets"_s), 0};
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

        dialogs_.answers << FileChoice{path(u"sets"_s), 0};
        trigger("mnuFileSave");
        QVERIFY(messages_.messages.isEmpty());
        const QString officePdf = testing::officePdf(path(u"sets.rtf"_s), dir_->path());
        if (officePdf.isEmpty())
            QSKIP("LibreOffice is not installed");
        const QStringList officePages = pdfPageTexts(officePdf);
        testing::verifyUnderHeader(officePages, testing::headerText());
        testing::compareCharacters(officePages, pages);
    }
};

DRILLPAD_TEST_MAIN(TestSheetPages)
#include "tst_sheet_pages.moc"
