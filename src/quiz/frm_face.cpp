#include "quiz/frm_face.h"

namespace drillpad {

FrmFace::FrmFace() {
    setObjectName(QStringLiteral("frmFace"));
    setWindowTitle(QStringLiteral("交互界面"));
}

} // namespace drillpad
