#pragma once

#include "forms/form_def.h"

namespace drillpad::forms {

// The window "出题设置": the presets, the rules of each question type, the
// blank's form, and the buttons. The rules lie in one frame, the page of the
// question settings; other pages of settings can join it.
const FormDef &frmSettingsDef();

// The controls of one single-operation type's rules, in the type order
// addition, subtraction, multiplication, division. Multiplication has only a
// highest product (no lowest box).
struct SettingsTypeControls {
    const char *carry; // 进位/退位, or for division 余数
    const char *low;   // the lowest result, or nullptr
    const char *high;  // the highest result
    const char *ask;   // 题型
};

inline constexpr SettingsTypeControls kSettingsTypeControls[] = {
    {"cmbAddCarry", "txtAddLow", "txtAddHigh", "cmbAddAsk"},
    {"cmbMinusCarry", "txtMinusLow", "txtMinusHigh", "cmbMinusAsk"},
    {"cmbMulCarry", nullptr, "txtMulHigh", "cmbMulAsk"},
    {"cmbDivRemainder", "txtDivLow", "txtDivHigh", "cmbDivAsk"},
};

} // namespace drillpad::forms
