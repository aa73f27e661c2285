#include "forms/frm_settings_def.h"

namespace drillpad::forms {

namespace {

using K = ControlKind;

// The choices of the lists, in the order of the values they stand for.
constexpr const char *kCarryItems[] = {"不限", "必须进位", "不进位"};
constexpr const char *kBorrowItems[] = {"不限", "必须退位", "不退位"};
constexpr const char *kRemainderItems[] = {"整除", "有余数", "不限"};
constexpr const char *kAskItems[] = {"求得数", "求未知数", "两种都有"};
constexpr const char *kBracketItems[] = {"不要", "可以有"};
constexpr const char *kBlankItems[] = {"(\u3000)", "□"};

constexpr const char *kFrame = "frameQuestions";
constexpr float kLabelHeight = 180;
constexpr float kBoxHeight = 300;
// Boxes sit a little higher than the caption in front of them, so that both
// share a middle line.
constexpr float kBoxRaise = 90;

constexpr ControlDef caption(const char *name, const char *text, float left, float top,
                             const char *buddy = nullptr, const char *parent = kFrame) {
    return {.name = name,
            .kind = K::Label,
            .parent = parent,
            .caption = text,
            .rect = {left, top, textWidth(text), kLabelHeight},
            .flags = SizedToText,
            .buddy = buddy};
}

// A list to choose from (not typed into).
constexpr ControlDef choice(const char *name, float left, float rowTop, float width,
                            const char *accessibleName, std::span<const char *const> items) {
    return {.name = name,
            .kind = K::ComboBox,
            .parent = kFrame,
            .caption = items[0],
            .rect = {left, rowTop - kBoxRaise, width, kBoxHeight},
            .flags = ReadOnly,
            .accessibleName = accessibleName,
            .items = items};
}

// A number box; empty means no bound.
constexpr ControlDef number(const char *name, float left, float rowTop,
                            const char *accessibleName) {
    return {.name = name,
            .kind = K::TextBox,
            .parent = kFrame,
            .caption = "",
            .rect = {left, rowTop - kBoxRaise, 660, kBoxHeight},
            .accessibleName = accessibleName};
}

constexpr ControlDef button(const char *name, const char *text, float left, float top,
                            float width) {
    return {
        .name = name, .kind = K::CommandButton, .caption = text, .rect = {left, top, width, 375}};
}

constexpr float kRowAdd = 420;
constexpr float kRowMinus = 900;
constexpr float kRowMul = 1380;
constexpr float kRowMulDigits = 1800;
constexpr float kRowDiv = 2280;
constexpr float kRowMix = 2760;
constexpr float kRowBlank = 3240;

constexpr ControlDef kControls[] = {
    caption("lblPreset", "预设:", 120, 180, "cmbPreset", nullptr),
    {.name = "cmbPreset",
     .kind = K::ComboBox,
     .rect = {900, 90, 3240, kBoxHeight},
     .flags = ReadOnly,
     .accessibleName = "预设"},
    button("cmdLoad", "载入[&L]", 4260, 60, 1200),
    caption("lblPresetName", "名称:", 120, 600, "txtPresetName", nullptr),
    {.name = "txtPresetName",
     .kind = K::TextBox,
     .caption = "",
     .rect = {900, 510, 3240, kBoxHeight},
     .accessibleName = "预设名称"},
    button("cmdSave", "存为预设[&S]", 4260, 480, 1320),
    button("cmdRename", "重命名[&M]", 5700, 480, 1200),
    button("cmdDelete", "删除[&D]", 7020, 480, 1200),

    {.name = kFrame, .kind = K::Frame, .caption = "题目设置", .rect = {120, 1020, 8160, 4320}},
    caption("lblAdd", "加法:", 240, kRowAdd),
    caption("lblAddCarry", "进位", 1020, kRowAdd, "cmbAddCarry"),
    choice("cmbAddCarry", 1500, kRowAdd, 1260, "加法进位", kCarryItems),
    caption("lblAddLow", "和从", 2940, kRowAdd, "txtAddLow"),
    number("txtAddLow", 3420, kRowAdd, "加法和从"),
    caption("lblAddHigh", "到", 4200, kRowAdd, "txtAddHigh"),
    number("txtAddHigh", 4500, kRowAdd, "加法和到"),
    caption("lblAddAsk", "题型", 5400, kRowAdd, "cmbAddAsk"),
    choice("cmbAddAsk", 5880, kRowAdd, 1500, "加法题型", kAskItems),

    caption("lblMinus", "减法:", 240, kRowMinus),
    caption("lblMinusCarry", "退位", 1020, kRowMinus, "cmbMinusCarry"),
    choice("cmbMinusCarry", 1500, kRowMinus, 1260, "减法退位", kBorrowItems),
    caption("lblMinusLow", "差从", 2940, kRowMinus, "txtMinusLow"),
    number("txtMinusLow", 3420, kRowMinus, "减法差从"),
    caption("lblMinusHigh", "到", 4200, kRowMinus, "txtMinusHigh"),
    number("txtMinusHigh", 4500, kRowMinus, "减法差到"),
    caption("lblMinusAsk", "题型", 5400, kRowMinus, "cmbMinusAsk"),
    choice("cmbMinusAsk", 5880, kRowMinus, 1500, "减法题型", kAskItems),

    caption("lblMul", "乘法:", 240, kRowMul),
    caption("lblMulCarry", "进位", 1020, kRowMul, "cmbMulCarry"),
    choice("cmbMulCarry", 1500, kRowMul, 1260, "乘法进位", kCarryItems),
    caption("lblMulHigh", "积不超过", 2940, kRowMul, "txtMulHigh"),
    number("txtMulHigh", 3780, kRowMul, "乘法积不超过"),
    caption("lblMulAsk", "题型", 5400, kRowMul, "cmbMulAsk"),
    choice("cmbMulAsk", 5880, kRowMul, 1500, "乘法题型", kAskItems),
    {.name = "chkMulOneDigit",
     .kind = K::CheckBox,
     .parent = kFrame,
     .caption = "多位数乘一位数[&O]",
     .rect = {1020, kRowMulDigits - 45, 2700, 255}},

    caption("lblDiv", "除法:", 240, kRowDiv),
    caption("lblDivRemainder", "余数", 1020, kRowDiv, "cmbDivRemainder"),
    choice("cmbDivRemainder", 1500, kRowDiv, 1260, "除法余数", kRemainderItems),
    caption("lblDivLow", "商从", 2940, kRowDiv, "txtDivLow"),
    number("txtDivLow", 3420, kRowDiv, "除法商从"),
    caption("lblDivHigh", "到", 4200, kRowDiv, "txtDivHigh"),
    number("txtDivHigh", 4500, kRowDiv, "除法商到"),
    caption("lblDivAsk", "题型", 5400, kRowDiv, "cmbDivAsk"),
    choice("cmbDivAsk", 5880, kRowDiv, 1500, "除法题型", kAskItems),

    caption("lblMix", "四则混合:", 240, kRowMix),
    caption("lblMixBrackets", "括号", 1380, kRowMix, "cmbMixBrackets"),
    choice("cmbMixBrackets", 1860, kRowMix, 1260, "四则混合括号", kBracketItems),
    caption("lblMixAsk", "题型", 5400, kRowMix, "cmbMixAsk"),
    choice("cmbMixAsk", 5880, kRowMix, 1500, "四则混合题型", kAskItems),

    caption("lblBlank", "未知数写作", 240, kRowBlank, "cmbBlank"),
    choice("cmbBlank", 1500, kRowBlank, 1260, "未知数写作", kBlankItems),

    {.name = "lblNote",
     .kind = K::Label,
     .parent = kFrame,
     .caption = "和、差、积、商的范围留空就是不限。进位和退位按竖式一位一位地看；"
                "乘法的进位只看多位数乘一位数。数字范围和题数在出题向导里填写。",
     .rect = {240, 3600, 7680, 600},
     .flags = WordWrap},

    button("cmdDefault", "恢复默认[&R]", 120, 5460, 1560),
    button("cmdOK", "确定", 5520, 5460, 1320),
    button("cmdCancel", "取消[&C]", 6960, 5460, 1320),
};

constexpr const char *kTabOrder[] = {
    "cmbPreset",     "cmdLoad",     "txtPresetName",  "cmdSave",         "cmdRename",
    "cmdDelete",     "cmbAddCarry", "txtAddLow",      "txtAddHigh",      "cmbAddAsk",
    "cmbMinusCarry", "txtMinusLow", "txtMinusHigh",   "cmbMinusAsk",     "cmbMulCarry",
    "txtMulHigh",    "cmbMulAsk",   "chkMulOneDigit", "cmbDivRemainder", "txtDivLow",
    "txtDivHigh",    "cmbDivAsk",   "cmbMixBrackets", "cmbMixAsk",       "cmbBlank",
    "cmdDefault",    "cmdOK",       "cmdCancel",
};

constexpr FormDef kForm = {
    .name = "frmSettings",
    .caption = "出题设置",
    .client = {8400, 6000},
    .border = BorderStyle::FixedDialog,
    .centred = true,
    .minMaxButtons = false,
    .inTaskBar = false,
    .icon = ":/images/guide_icon.svg",
    .controls = kControls,
    .tabOrder = kTabOrder,
};

} // namespace

const FormDef &frmSettingsDef() {
    return kForm;
}

} // namespace drillpad::forms
