#pragma once

#include "controls/form_dialog.h"

namespace drillpad {

// Placeholder until the window is built.
class FrmGuide : public FormDialog {
    Q_OBJECT
public:
    FrmGuide();
};

} // namespace drillpad
