#include "mainwin/sheet_file.h"

#include "mainwin/frm_main.h"

namespace drillpad {

// Not written yet.
void saveSheet(FrmMain &) {}
void openSheet(FrmMain &) {}
void printSheet(FrmMain &) {}

} // namespace drillpad
