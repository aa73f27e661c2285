#include "about/frm_help.h"

namespace drillpad {

FrmHelp::FrmHelp() {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("软件使用说明"));
}

} // namespace drillpad
