#include "controls/frame_box.h"

namespace drillpad {

FrameBox::FrameBox(const QString &caption, QWidget *parent) : QGroupBox(caption, parent) {}

void FrameBox::setBorder(bool on) {
    border_ = on;
    setFlat(!on);
    update();
}

void FrameBox::paintEvent(QPaintEvent *event) {
    if (border_)
        QGroupBox::paintEvent(event);
}

} // namespace drillpad
