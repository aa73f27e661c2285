#pragma once

namespace drillpad {

class FrmMain;

// The sheet as a file: save ("保存[&S]", Ctrl+S, the toolbar's save button),
// open (the toolbar's open button) and print ("打印[&P]", the toolbar's print
// button).
void saveSheet(FrmMain &window);
void openSheet(FrmMain &window);
void printSheet(FrmMain &window);

} // namespace drillpad
