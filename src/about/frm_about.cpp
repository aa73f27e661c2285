#include "about/frm_about.h"

namespace drillpad {

FrmAbout::FrmAbout() {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("关于 Drillpad"));
}

} // namespace drillpad
