#include "controls/narrow_arrow.h"

#include <QComboBox>
#include <QProxyStyle>
#include <QStyleOptionComplex>

namespace drillpad {

namespace {

// The style's own arrow of some 18 pixels would leave a 49-pixel box three
// digits. Only the combo box's parts move; the style draws them as usual.
class NarrowArrowStyle : public QProxyStyle {
public:
    static constexpr int kArrowWidth = 9;
    static constexpr int kFrame = 2;

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl part,
                         const QWidget *widget) const override {
        if (control == CC_ComboBox) {
            const QRect box = option->rect;
            if (part == SC_ComboBoxArrow)
                return visualRect(
                    option->direction, box,
                    QRect(box.right() - kArrowWidth + 1, box.top(), kArrowWidth, box.height()));
            if (part == SC_ComboBoxEditField)
                return visualRect(option->direction, box,
                                  box.adjusted(kFrame, kFrame, -kArrowWidth, -kFrame));
        }
        return QProxyStyle::subControlRect(control, option, part, widget);
    }
};

} // namespace

void useNarrowArrow(QComboBox *combo) {
    // Without a base style of its own the proxy follows the application's.
    auto *style = new NarrowArrowStyle();
    style->setParent(combo);
    combo->setStyle(style);
}

} // namespace drillpad
