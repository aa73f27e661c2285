#pragma once

#include "forms/form_def.h"

namespace drillpad::forms {

// The mastery map window: caption, client size, controls and tab order.
const FormDef &frmMasteryDef();

// The grids the map offers, in the order of the basic facts' operations.
inline constexpr const char *kMasteryGridItems[] = {"加法", "减法", "乘法", "除法"};

} // namespace drillpad::forms
