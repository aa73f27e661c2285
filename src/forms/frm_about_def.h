#pragma once

#include "forms/form_def.h"

namespace drillpad::forms {

// The About box: caption, client size, controls and tab order. The caption,
// the title and the version hold design texts that the box replaces when it
// loads.
const FormDef &frmAboutDef();

} // namespace drillpad::forms
