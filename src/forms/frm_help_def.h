#pragma once

#include "forms/form_def.h"

namespace drillpad::forms {

// The help window: caption, client size, position, icon and its two
// controls, the viewer and the outline drawn around it.
const FormDef &frmHelpDef();

} // namespace drillpad::forms
