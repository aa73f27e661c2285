#include "mainwin/sheet_file.h"

#include "controls/file_dialogs.h"
#include "controls/message_box.h"
#include "controls/print_dialog.h"
#include "controls/progress_window.h"
#include "controls/rich_text_box.h"
#include "mainwin/frm_main.h"
#include "rtf/document_decoding.h"
#include "rtf/rtf_file.h"

#include <QDir>
#include <QPrinter>
#include <QTextDocument>

#include <algorithm>

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
    const std::optional<FileChoice> choice = dMain(window).showOpen(&window);
    if (!choice)
        return;
    const QString &path = choice->path;
    // Reading and decoding a large file takes a while, and so does filling
    // the editor: the window answers all along, and the user may cancel.
    ProgressWindow progress(&window,
                            QStringLiteral("正在打开文件“%1”……").arg(QFileInfo(path).fileName()));
    FileStatus status;
    DecodedDocument decoded;
    if (!progress.runAside([&](std::stop_token stop) {
            FileContents file = readWholeFile(path, kMaxDocumentFileBytes);
            status = file.status;
            if (status.ok())
                decoded = decodeDocument(file.data, stop);
        }))
        return;
    if (!status.ok()) {
        showWarning(&window,
                    QStringLiteral("无法打开文件“%1”:%2").arg(shownName(path), status.error));
        return;
    }
    if (!decoded.ok()) {
        refuseFile(window, path, decoded.refusal);
        return;
    }
    RichTextBox *editor = window.txtMain();
    const auto between = [&progress](qsizetype done, qsizetype total) {
        return progress.keepAnswering(done, total);
    };
    if (decoded.rtf ? editor->setRtfDocument(*decoded.rtf, between)
                    : editor->setText(decoded.text, between))
        editor->document()->setModified(false);
}

void printSheet(FrmMain &window) {
    RichTextBox *editor = window.txtMain();
    const bool selection = editor->textCursor().hasSelection();
    QPrinter *printer = choosePrinter(&window, selection);
    if (!printer)
        return;
    // The dialog offers the selection when there is one; choosing all pages
    // there instead prints the whole sheet.
    bool printed = true;
    if (selection && printer->printRange() != QPrinter::Selection) {
        editor->document()->print(printer);
        printed = printer->printerState() != QPrinter::Error;
    } else {
        printed = editor->printSelection(printer);
    }
    if (!printed)
        showWarning(&window, QStringLiteral("打印失败:无法使用打印机“%1”。")
                                 .arg(printer->outputFileName().isEmpty()
                                          ? printer->printerName()
                                          : shownName(printer->outputFileName())));
}

} // namespace drillpad
