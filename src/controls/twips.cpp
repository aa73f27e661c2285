#include "controls/twips.h"

#include <QVariant>
#include <QWidget>

#include <cmath>

namespace drillpad {

namespace {
constexpr const char *kGeometryProperty = "drillpadTwipsGeometry";
}

int twipsToPixels(float twips) {
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

float pixelsToTwips(int pixels) {
    return static_cast<float>(pixels) * kTwipsPerPixel;
}

QRect toPixels(const TwipsRect &rect) {
    return QRect(twipsToPixels(rect.left), twipsToPixels(rect.top), twipsToPixels(rect.width),
                 twipsToPixels(rect.height));
}

void setTwipsGeometry(QWidget *widget, const TwipsRect &rect) {
    widget->setProperty(kGeometryProperty, QRectF(rect.left, rect.top, rect.width, rect.height));
    widget->setGeometry(toPixels(rect));
}

TwipsRect twipsGeometry(const QWidget *widget) {
    const QVariant stored = widget->property(kGeometryProperty);
    if (stored.isValid()) {
        const QRectF r = stored.toRectF();
        return {static_cast<float>(r.x()), static_cast<float>(r.y()), static_cast<float>(r.width()),
                static_cast<float>(r.height())};
    }
    const QRect g = widget->geometry();
    return {pixelsToTwips(g.x()), pixelsToTwips(g.y()), pixelsToTwips(g.width()),
            pixelsToTwips(g.height())};
}

TwipsSize innerSizeTwips(const QWidget *widget) {
    return {pixelsToTwips(widget->width()), pixelsToTwips(widget->height())};
}

void setInnerSizeTwips(QWidget *widget, const TwipsSize &size) {
    widget->resize(twipsToPixels(size.width), twipsToPixels(size.height));
}

} // namespace drillpad
