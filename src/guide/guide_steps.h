#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace drillpad {

class FrmGuide;

// The wizard's step number: 1 types page, 2 ranges page, 3 counts page,
// 4 sheet written, 5 passing state after Next on step 4; 0 before the wizard
// is first loaded. It belongs to the program, not to the window: unloading
// the wizard leaves it as it was until the next load sets it to 1.
std::int16_t guideStep();
void setGuideStep(std::int16_t step);

// The hint for a step number; nothing for a step that has none, which
// leaves the hint box unchanged.
std::optional<QString> stepHintText(int step);

// Puts the hint of the current step into the wizard's hint box.
void ShowStepHint(FrmGuide &guide);
// Enables the range and count boxes of each ticked type and disables those
// of the others.
void EnableTypeControls(FrmGuide &guide);

// The same on the wizard instance, which they create if it is not loaded.
void ShowStepHint();
void EnableTypeControls();

} // namespace drillpad
