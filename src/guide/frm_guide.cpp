#include "guide/frm_guide.h"

namespace drillpad {

FrmGuide::FrmGuide() {
    setObjectName(QStringLiteral("frmGuide"));
    setWindowTitle(QStringLiteral("出题向导"));
}

} // namespace drillpad
