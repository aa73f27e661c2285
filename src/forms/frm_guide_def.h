#pragma once

#include "forms/form_def.h"

namespace drillpad::forms {

// The exercise-sheet wizard: caption, client size, pictures, the three page
// panels with their controls, the buttons and the tab order.
const FormDef &frmGuideDef();

// The hint box's text as designed, shown until the first step refresh.
inline constexpr const char *kGuideHelpDesignText =
    "第一步:选择你所需要的出题类型,没选择的类型将不会背包含在出的题中\r\n";

// The controls that hold one question type's settings.
struct GuideTypeControls {
    const char *check; // page 1: selected
    const char *from;  // page 2: lower bound
    const char *to;    // page 2: upper bound
    const char *count; // page 3: how many questions
};

// In the fixed type order: addition, subtraction, multiplication, division,
// mixed.
inline constexpr GuideTypeControls kGuideTypeControls[] = {
    {"chkAdd", "comboAdd", "comboAdd_", "txtHowADD"},
    {"chkMinus", "comboMinus", "comboMinus_", "txtHowMinus"},
    {"chkMul", "comboMul", "comboMul_", "txtHowMul"},
    {"chkDevition", "comboDevition", "comboDevition_", "txtHowDevition"},
    {"chkMix", "comboMix", "comboMix_", "txtHowMix"},
};

// The page panels, page 1 to 3.
inline constexpr const char *kGuidePages[] = {"Step1", "Step2", "Step3"};

} // namespace drillpad::forms
