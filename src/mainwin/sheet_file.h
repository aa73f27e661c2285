#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace drillpad {

class FrmMain;
class FileDialog;

// The sheet as a file: save ("保存[&S]", Ctrl+S, the toolbar's save button),
// open (the toolbar's open button) and print ("打印[&P]", the toolbar's print
// button).
void saveSheet(FrmMain &window);
void openSheet(FrmMain &window);
void printSheet(FrmMain &window);

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
