#pragma once

#include "controls/form_dialog.h"

namespace drillpad {

// Placeholder until the window is built.
class FrmAbout : public FormDialog {
    Q_OBJECT
public:
    FrmAbout();
};

} // namespace drillpad
