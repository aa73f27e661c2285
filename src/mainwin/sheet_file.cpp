#include "mainwin/sheet_file.h"

#include "controls/document_decoding.h"
#include "controls/file_dialogs.h"
#include "controls/message_box.h"
#include "controls/print_dialog.h"
#include "controls/rich_text_box.h"
#include "controls/rtf_file.h"
#include "mainwin/frm_main.h"

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

void saveSheet(FrmMain &window) {
    const std::optional<FileChoice> choice = dMain(window).showSave(&window);
    if (!choice)
        return;
    const SheetTarget target = sheetTarget(choice->path, choice->filterIndex);
    RichTextBox *editor = window.txtMain();
    const FileStatus status = target.format == SheetFormat::Rtf
                                  ? editor->saveFile(target.path)
                                  : writeFileAtomically(target.path, editor->text().toUtf8());
    if (!status.ok())
        showWarning(
            &window,
            QStringLiteral("无法保存文件“%1”:%2").arg(shownName(target.path), status.error));
}

void openSheet(FrmMain &window) {
    const std::optional<FileChoice> choice = dMain(window).showOpen(&window);
    if (!choice)
        return;
    const QString &path = choice->path;
    const FileContents file = readWholeFile(path, kMaxDocumentFileBytes);
    if (!file.status.ok()) {
        showWarning(&window,
                    QStringLiteral("无法打开文件“%1”:%2").arg(shownName(path), file.status.error));
        return;
    }
    const DecodedDocument decoded = decodeDocument(file.data);
    if (!decoded.ok()) {
        refuseFile(window, path, decoded.refusal);
        return;
    }
    if (decoded.rtf)
        window.txtMain()->setRtfDocument(*decoded.rtf);
    else
        window.txtMain()->setText(decoded.text);
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
