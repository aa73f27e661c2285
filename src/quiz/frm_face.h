#pragma once

#include "controls/form_dialog.h"

namespace drillpad {

// Placeholder until the window is built.
class FrmFace : public FormDialog {
    Q_OBJECT
public:
    FrmFace();
};

} // namespace drillpad
