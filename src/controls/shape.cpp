#include "controls/shape.h"

#include <QPainter>

namespace drillpad {

ShapeWidget::ShapeWidget(QWidget *parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void ShapeWidget::setOutlineColor(const QColor &color) {
    outline_ = color;
    update();
}

void ShapeWidget::setFillColor(const QColor &color) {
    fill_ = color;
    update();
}

void ShapeWidget::setOutlineWidth(int pixels) {
    outlineWidth_ = pixels;
    update();
}

void ShapeWidget::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    if (fill_.isValid())
        painter.fillRect(rect(), fill_);
    if (outline_.isValid() && outlineWidth_ > 0) {
        QPen pen(outline_);
        pen.setWidth(outlineWidth_);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        const int inset = outlineWidth_ / 2;
        painter.drawRect(rect().adjusted(inset, inset, -inset - 1, -inset - 1));
    }
}

} // namespace drillpad
