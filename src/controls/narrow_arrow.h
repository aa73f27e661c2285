#pragma once

class QComboBox;

namespace drillpad {

// Gives a small editable combo box a narrow drop-down arrow and a thin
// frame, so that its text field takes the room: a box 49 pixels wide then
// shows five digits in full. The look is otherwise the application style's.
void useNarrowArrow(QComboBox *combo);

} // namespace drillpad
