#pragma once

class QLabel;
class QWidget;

namespace drillpad {

// How screen readers see the program's combo boxes: by their accessible name
// where they have one (Qt's own reads them by their text on Linux, so "宋体"
// where the box is 字体), their value as the text of their edit field, and
// labelled by their buddy label, their frame's title and any caption added
// with addAccessibleCaption. Safe to call more than once.
void installComboAccessibility();

// Adds a caption that labels a combo box besides its buddy label: a row
// caption heads both boxes of its row, and a label has one buddy. The
// caption must lie in the same container as the box.
void addAccessibleCaption(QWidget *comboBox, const QLabel *caption);

} // namespace drillpad
