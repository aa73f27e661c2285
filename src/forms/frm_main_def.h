#pragma once

#include "forms/form_def.h"

namespace drillpad::forms {

// The main window: caption, client size, controls and tab order.
const FormDef &frmMainDef();

// Hint panel texts and the sizes offered by the size combo box.
inline constexpr const char *kMainHelpDesignText = "这是向导界面,向导面\r\n板用来提示你的操作\r\n";

} // namespace drillpad::forms
