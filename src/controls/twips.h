#pragma once

#include <QRect>

class QWidget;

namespace drillpad {

// Positions and sizes of every window and control are kept in twips, 1/1440
// inch, exactly as they were set; widgets are placed at 15 twips per
// device-independent pixel.
inline constexpr float kTwipsPerPixel = 15.0f;

struct TwipsRect {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;

    friend bool operator==(const TwipsRect &, const TwipsRect &) = default;
};

struct TwipsSize {
    float width = 0;
    float height = 0;

    friend bool operator==(const TwipsSize &, const TwipsSize &) = default;
};

int twipsToPixels(float twips);
float pixelsToTwips(int pixels);
QRect toPixels(const TwipsRect &rect);

// Stores the rectangle on the widget and places the widget accordingly.
void setTwipsGeometry(QWidget *widget, const TwipsRect &rect);
// Reads back the rectangle last set; a widget never set through the layer
// reports its pixel geometry converted to twips.
TwipsRect twipsGeometry(const QWidget *widget);

// The inner (client) size of a window or container in twips.
TwipsSize innerSizeTwips(const QWidget *widget);
// Sizes a top-level window so that its client area measures the given twips.
void setInnerSizeTwips(QWidget *widget, const TwipsSize &size);

} // namespace drillpad
