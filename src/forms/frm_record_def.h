#pragma once

#include "forms/form_def.h"

namespace drillpad::forms {

// The practice record window: caption, client size, controls and tab order.
const FormDef &frmRecordDef();

// The entries of the operation filter, "全部" first and then the four
// operations in the quiz's order.
inline constexpr const char *kRecordOperationItems[] = {"全部", "加法", "减法", "乘法", "除法"};

} // namespace drillpad::forms
