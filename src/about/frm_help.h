#pragma once

#include "controls/form_dialog.h"

namespace drillpad {

// Placeholder until the window is built.
class FrmHelp : public FormDialog {
    Q_OBJECT
public:
    FrmHelp();
};

} // namespace drillpad
