#include "mainwin/sheet_file.h"

#include "controls/file_dialogs.h"
#include "controls/message_box.h"
#include "controls/print_dialog.h"
#include "controls/progress_window.h"
#include "controls/rich_text_box.h"
#include "mainwin/frm_main.h"
#include "print/page_layout.h"
#include "rtf/document_decoding.h"
#include "rtf/rtf_feed.h"
#include "rtf/rtf_file.h"

#include <QDir>
#include <QPrinter>
#include <QTextDocument>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>
#include <utility>

namespace drillpad {

namespace {

constexpr int kTextFilterIndex = 1;

QString shownName(const QString &path) {
    return QDir::toNativeSeparators(path);
}

void refuseFile(FrmMain &window, const QString &path, const QString &what) {
    showWarning(&window,
                QStringLiteral("文件“%1”%2出题区的内容保持不变。").arg(shownName(path), what));
}

} // namespace

FileDialog &dMain(FrmMain &window) {
    auto *dialog =
        window.findChild<FileDialog *>(QStringLiteral("dMain"), Qt::FindDirectChildrenOnly);
    if (!dialog) {
        dialog = new FileDialog(QString::fromUtf8(kSheetFilter), &window);
        dialog->setObjectName(QStringLiteral("dMain"));
    }
    return *dialog;
}

SheetTarget sheetTarget(const QString &chosenPath, int filterIndex) {
    const bool text = filterIndex == kTextFilterIndex;
    const QString suffix = text ? QStringLiteral(".txt") : QStringLiteral(".rtf");
    SheetTarget target{chosenPath, text ? SheetFormat::Text : SheetFormat::Rtf};
    if (!chosenPath.endsWith(suffix, Qt::CaseInsensitive))
        target.path += suffix;
    return target;
}

bool saveSheet(FrmMain &window, QWidget *parent) {
    if (!parent)
        parent = &window;
    FileDialog &dialog = dMain(window);
    const std::optional<FileChoice> choice = dialog.showSave(parent);
    if (!choice)
        return false;
    const SheetTarget target = sheetTarget(choice->path, choice->filterIndex);
    // The name written may not be the one the dialog saw, so the question is
    // asked here, about the file that would be lost.
    if (!askToReplaceFile(parent, target.path))
        return false;
    RichTextBox *editor = window.txtMain();
    const FileStatus status =
        target.format == SheetFormat::Rtf
            ? editor->saveFile(target.path)
            : writeFileAtomically(target.path, editor->textWithPageBreaks().toUtf8());
    if (!status.ok()) {
        showWarning(
            parent,
            QStringLiteral("无法保存文件“%1”:%2").arg(shownName(target.path), status.error));
        return false;
    }
    editor->document()->setModified(false);
    dialog.setLastPath(target.path);
    return true;
}

namespace {

// A sheet opened from a file is that file: no edits to save, and nothing to
// undo that would bring the sheet it replaced back under the file's name.
void startAfresh(QTextDocument &sheet) {
    sheet.clearUndoRedoStacks();
    sheet.setModified(false);
}

} // namespace

bool offerToSaveSheet(FrmMain &window, QWidget *parent) {
    const QTextDocument *sheet = window.txtMain()->document();
    if (!sheet->isModified() || sheet->isEmpty())
        return true;
    enum { Save, DontSave, Cancel };
    const Question question{
        QString::fromUtf8(kSaveChangesQuestion),
        {QStringLiteral("保存"), QStringLiteral("不保存"), QStringLiteral("取消")},
        Save,
        Cancel};
    switch (Seam<MessageBoxes>::get().ask(parent ? parent : &window, question)) {
    case Save:
        return saveSheet(window, parent);
    case DontSave:
        return true;
    default:
        return false;
    }
}

void openSheet(FrmMain &window) {
    if (!offerToSaveSheet(window))
        return;
    if (const std::optional<FileChoice> choice = dMain(window).showOpen(&window))
        openSheetFile(window, choice->path);
}

void openSheetFile(FrmMain &window, const QString &path) {
    // Reading and decoding a large file takes a while, and so does filling
    // the editor: the file is read on a thread of its own, rich text goes
    // into the editor as it is read, the window answers all along, and the
    // user may cancel.
    ProgressWindow progress(&window,
                            QStringLiteral("正在打开文件“%1”……").arg(QFileInfo(path).fileName()));
    FileStatus status;
    DecodedDocument decoded;
    RtfFeed feed;
    std::jthread reading([&](std::stop_token stop) {
        FileContents file = readWholeFile(path, kMaxDocumentFileBytes);
        status = file.status;
        if (status.ok())
            decoded = decodeDocument(file.data, stop, &feed);
        feed.close(std::exchange(decoded.rtf, std::nullopt));
    });
    constexpr std::chrono::milliseconds kWaitBetweenAnswers{20};
    // Cancelled: the reader stops at its next look, but a file still coming
    // from the disk, or plain text being decoded, goes on for a while; the
    // window answers until the reading has ended (joining `reading` as it
    // goes out of scope would freeze it meanwhile).
    const auto stopReading = [&] {
        reading.request_stop();
        bool whole = false;
        for (RtfDocument dropped; !feed.take(dropped, whole); dropped = {}) {
            progress.keepAnswering(0, 0);
            feed.waitForNews(kWaitBetweenAnswers);
        }
    };
    while (!feed.hasNews()) {
        if (!progress.keepAnswering(0, 0)) {
            stopReading();
            return;
        }
        feed.waitForNews(kWaitBetweenAnswers);
    }
    RichTextBox *editor = window.txtMain();
    bool cancelled = false;
    const auto between = [&progress, &cancelled](qsizetype done, qsizetype total) {
        cancelled = !progress.keepAnswering(done, total);
        return !cancelled;
    };
    if (feed.hasRichText()) {
        if (editor->setRtfFeed(feed, between)) {
            startAfresh(*editor->document());
            return;
        }
        if (cancelled) {
            stopReading();
            return;
        }
    }
    // The reading has ended: plain text, or why the file is not shown.
    reading.join();
    if (!status.ok()) {
        showWarning(&window,
                    QStringLiteral("无法打开文件“%1”:%2").arg(shownName(path), status.error));
        return;
    }
    if (!decoded.ok()) {
        refuseFile(window, path, decoded.refusal);
        return;
    }
    if (editor->setText(decoded.text, between))
        startAfresh(*editor->document());
}

namespace {

// The sheet's pages, laid out while the window answers; nothing when the
// user cancelled.
std::unique_ptr<PageLayout> layOutPages(FrmMain &window, const RtfDocument &sheet) {
    ProgressWindow progress(&window, QStringLiteral("正在排版……"));
    auto pages = std::make_unique<PageLayout>(
        sheet, [&progress](int done, int total) { return progress.keepAnswering(done, total); });
    if (!pages->complete())
        pages.reset();
    return pages;
}

// Prints the pages, the window answering between them; false when the
// user cancelled or the printer failed.
bool printLaidOut(FrmMain &window, const PageLayout &pages, QPrinter &printer,
                  const QString &label) {
    ProgressWindow progress(&window, label);
    return printPages(
        pages, printer, printer.fromPage(), printer.toPage(),
        [&progress](int done, int total) { return progress.keepAnswering(done, total); });
}

FileDialog &pdfDialog(FrmMain &window) {
    auto *dialog =
        window.findChild<FileDialog *>(QStringLiteral("dPdf"), Qt::FindDirectChildrenOnly);
    if (!dialog) {
        dialog = new FileDialog(QString::fromUtf8(kPdfFilter), &window);
        dialog->setObjectName(QStringLiteral("dPdf"));
    }
    return *dialog;
}

} // namespace

void printSheet(FrmMain &window) {
    RichTextBox *editor = window.txtMain();
    const bool selection = editor->textCursor().hasSelection();
    QPrinter *printer = choosePrinter(&window, selection);
    if (!printer)
        return;
    // The dialog offers the selection when there is one; choosing all pages
    // there instead prints the whole sheet.
    const std::unique_ptr<PageLayout> pages =
        layOutPages(window, editor->rtfDocument(printer->printRange() == QPrinter::Selection));
    if (!pages)
        return;
    const bool printed = printLaidOut(window, *pages, *printer, QStringLiteral("正在打印……"));
    if (!printed && printer->printerState() == QPrinter::Error)
        showWarning(&window, QStringLiteral("打印失败:无法使用打印机“%1”。")
                                 .arg(printer->outputFileName().isEmpty()
                                          ? printer->printerName()
                                          : shownName(printer->outputFileName())));
}

void previewSheet(FrmMain &window) {
    const std::unique_ptr<PageLayout> pages = layOutPages(window, window.txtMain()->rtfDocument());
    if (!pages)
        return;
    showPrintPreview(&window, [&window, &pages](QPrinter *printer) {
        printLaidOut(window, *pages, *printer, QStringLiteral("正在准备预览……"));
    });
}

bool exportPdf(FrmMain &window) {
    const std::optional<FileChoice> choice = pdfDialog(window).showSave(&window);
    if (!choice)
        return false;
    QString path = choice->path;
    if (!path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        path += QLatin1String(".pdf");
    if (!askToReplaceFile(&window, path))
        return false;
    const RtfDocument sheet = window.txtMain()->rtfDocument();
    const QString title = QFileInfo(path).completeBaseName();
    QByteArray pdf;
    ProgressWindow progress(&window, QStringLiteral("正在导出PDF文件……"));
    if (!progress.runAside([&](std::stop_token stop) { pdf = pdfOf(sheet, title, stop); }))
        return false;
    const FileStatus status = pdf.isEmpty() ? FileStatus{QStringLiteral("无法生成PDF。")}
                                            : writeFileAtomically(path, pdf);
    if (!status.ok()) {
        showWarning(&window,
                    QStringLiteral("无法导出PDF文件“%1”:%2").arg(shownName(path), status.error));
        return false;
    }
    return true;
}

} // namespace drillpad
