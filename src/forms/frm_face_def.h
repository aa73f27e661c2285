#pragma once

#include "forms/form_def.h"

namespace drillpad::forms {

// The quiz window: caption, client size, controls, fonts, colours and tab
// order.
const FormDef &frmFaceDef();

// The number of option buttons in the operation group optActive(0..3).
inline constexpr int kFaceOperationCount = 4;

// The design-time tag of cmdPause: the run flag of an idle quiz.
inline constexpr const char *kPauseDesignTag = "0";

} // namespace drillpad::forms
