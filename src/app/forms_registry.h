#pragma once

#include <functional>

namespace drillpad {

class FrmMain;
class FrmGuide;
class FrmFace;
class FrmHelp;
class FrmAbout;
class FrmRecord;
class FrmSettings;

// Every window is one global instance, created the first time anything
// refers to it. Unloading destroys it; the next reference creates it afresh.
enum class FormId { About, Face, Guide, Main, Help, Record, Settings };

FrmMain &frmMain();
FrmGuide &frmGuide();
FrmFace &frmFace();
FrmHelp &frmHelp();
FrmAbout &frmAbout();
FrmRecord &frmRecord();
FrmSettings &frmSettings();

bool isFormLoaded(FormId id);

// Unloads one window: its unload handler runs, it closes (ending a modal
// loop it runs) and it is destroyed. Unloading a window that is not loaded,
// or that is already being unloaded, does nothing.
void unloadForm(FormId id);

// Unloads frmSettings, frmRecord, frmAbout, frmFace, frmGuide, frmMain and
// frmHelp in that order.
void UnloadAllForms();

// Tests watch the unload order through this.
void setUnloadObserver(std::function<void(FormId)> observer);

} // namespace drillpad
