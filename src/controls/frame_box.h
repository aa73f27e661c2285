#pragma once

#include <QGroupBox>

namespace drillpad {

// A frame: a group box with an optional caption. A frame without a border
// draws only its background (Qt's flat group box still draws a rule).
class FrameBox : public QGroupBox {
    Q_OBJECT
public:
    explicit FrameBox(const QString &caption, QWidget *parent = nullptr);

    bool hasBorder() const { return border_; }
    void setBorder(bool on);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool border_ = true;
};

} // namespace drillpad
