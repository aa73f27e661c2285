#pragma once

#include <QByteArrayView>
#include <QString>

class QWidget;

#include <optional>

namespace drillpad {

class FrmMain;
class FileDialog;

// The sheet as a file: save ("保存[&S]", Ctrl+S, the toolbar's save button),
// open (the toolbar's open button) and print ("打印[&P]", the toolbar's print
// button). Saving asks before it replaces a file and returns whether the
// sheet was written; the dialog then offers the name of the file written.
// Opening reads a file of any name that holds RTF or text, keeping the
// window answering, and refuses others with the reason. The questions and
// messages of saving belong to `parent`, the window the user is in (the
// main window when none is given).
bool saveSheet(FrmMain &window, QWidget *parent = nullptr);
void openSheet(FrmMain &window);
// Opening once the file is chosen: replaces the sheet, whatever it holds.
void openSheetFile(FrmMain &window, const QString &path);
void printSheet(FrmMain &window);

// The sheet's pages, as printed and as LibreOffice shows the saved file,
// header and all: Qt's print preview ("打印预览[&V]", Ctrl+Shift+P), and a PDF
// file ("导出PDF[&D]...", Ctrl+Shift+D) with ".pdf" added to the name chosen,
// asked about before it replaces a file and written whole or not at all.
// The pages are laid out away from the window's thread.
void previewSheet(FrmMain &window);
bool exportPdf(FrmMain &window);

inline constexpr const char *kPdfFilter = "PDF文件 (*.pdf)|*.pdf";

// Before the sheet is given up (ending the program, opening a file, the
// wizard's new or emptied sheet): when it holds edits, or a wizard's sheet,
// never saved, asks whether to save them. False when the user would rather
// keep it: "取消", or the save did not happen.
bool offerToSaveSheet(FrmMain &window, QWidget *parent = nullptr);

inline constexpr const char *kSaveChangesQuestion = "出题区的内容已修改。要保存吗?";

// The main window's common dialog `dMain`, with the sheet's filter list; it
// lives as long as the window and remembers the name chosen last.
FileDialog &dMain(FrmMain &window);

inline constexpr const char *kSheetFilter = "RTF格式 (*.rtf)|*.rtf|文本格式(*.txt)|*.txt";

enum class SheetFormat { Rtf, Text };

struct SheetTarget {
    QString path;
    SheetFormat format = SheetFormat::Rtf;

    friend bool operator==(const SheetTarget &, const SheetTarget &) = default;
};

// Where and how a sheet is saved for the name and filter entry chosen: the
// entry's suffix (".rtf" or ".txt") is added unless the name already ends in
// it; the text entry saves plain text.
SheetTarget sheetTarget(const QString &chosenPath, int filterIndex);

} // namespace drillpad
