#pragma once

#include <QColor>
#include <QWidget>

namespace drillpad {

// A rectangle or a line drawn on its container; it takes no input.
class ShapeWidget : public QWidget {
    Q_OBJECT
public:
    explicit ShapeWidget(QWidget *parent = nullptr);

    void setOutlineColor(const QColor &color);
    void setFillColor(const QColor &color); // invalid colour: not filled
    void setOutlineWidth(int pixels);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor outline_ = Qt::black;
    QColor fill_;
    int outlineWidth_ = 1;
};

} // namespace drillpad
