#include "forms/frm_guide_def.h"

namespace drillpad::forms {

namespace {

using K = ControlKind;

constexpr float kLabelHeight = 180;

constexpr ControlDef label(const char *name, const char *parent, const char *caption, float left,
                           float top, std::uint32_t flags = SizedToText,
                           const char *buddy = nullptr) {
    return {.name = name,
            .kind = K::Label,
            .parent = parent,
            .caption = caption,
            .rect = {left, top, textWidth(caption), kLabelHeight},
            .flags = flags,
            .buddy = buddy};
}

// Page 2: the range boxes, editable combo boxes offering usual bounds. Their
// arrow is narrow, so that five digits show in full.
constexpr const char *kFromItems[] = {"0", "2", "5", "10", "20", "50", "100"};
constexpr const char *kToItems[] = {"5", "9", "10", "12", "20", "50", "100", "1000"};

// Screen readers name each by its row and bound ("加法范围 从") and read both
// the row caption and the "从" or "到" in front of it as its labels.
constexpr ControlDef rangeBox(const char *name, float left, float top, const char *text,
                              const char *accessibleName, const char *rowCaption,
                              std::span<const char *const> items) {
    return {.name = name,
            .kind = K::ComboBox,
            .parent = "frameSelectNumber",
            .caption = text,
            .rect = {left, top, 735, 300},
            .flags = NarrowArrow,
            .accessibleName = accessibleName,
            .items = items,
            .rowCaption = rowCaption};
}

constexpr ControlDef fromBox(const char *name, float top, const char *accessibleName,
                             const char *rowCaption) {
    return rangeBox(name, 2400, top, "0", accessibleName, rowCaption, kFromItems);
}

constexpr ControlDef toBox(const char *name, float top, const char *accessibleName,
                           const char *rowCaption) {
    return rangeBox(name, 3960, top, "9", accessibleName, rowCaption, kToItems);
}

// A row caption, or the "从"/"到" in front of the range box it names.
constexpr ControlDef rangeLabel(const char *name, const char *caption, float left, float top,
                                const char *box = nullptr) {
    return label(name, "frameSelectNumber", caption, left, top, SizedToText, box);
}

// Page 3: the count boxes and their labels, with a transparent background.
constexpr ControlDef countBox(const char *name, float left, float top, float width,
                              const char *accessibleName) {
    return {.name = name,
            .kind = K::TextBox,
            .parent = "frameSelectMany",
            .caption = "20",
            .rect = {left, top, width, 270},
            .accessibleName = accessibleName};
}

// The row caption and the "出题" in front of a count box both label it.
constexpr ControlDef countLabel(const char *name, const char *caption, float left, float top,
                                const char *box = nullptr) {
    return label(name, "frameSelectMany", caption, left, top, SizedToText | Transparent, box);
}

constexpr ControlDef typeCheck(const char *name, const char *caption, float top, float height,
                               std::uint32_t flags = NoFlags) {
    return {.name = name,
            .kind = K::CheckBox,
            .parent = "frameSelectType",
            .caption = caption,
            .rect = {240, top, 1455, height},
            .flags = flags};
}

constexpr ControlDef stepPanel(const char *name, float left, float top, std::uint32_t flags) {
    return {.name = name,
            .kind = K::Frame,
            .parent = "Frame1",
            .rect = {left, top, 6525, 3315},
            .flags = flags};
}

constexpr ControlDef kControls[] = {
    {.name = "Picture1",
     .kind = K::PictureBox,
     .rect = {0, 0, 8550, 1000},
     .flags = NoBorder,
     .picture = ":/images/guide_banner.svg"},
    // Its left edge lies outside the window so that it shows as two rules.
    {.name = "Frame1", .kind = K::Frame, .rect = {-120, 920, 8655, 3510}},
    {.name = "Picture2",
     .kind = K::PictureBox,
     .parent = "Frame1",
     .rect = {120, 120, 1815, 3375},
     .flags = NoBorder,
     .picture = ":/images/guide_side.svg"},
    {.name = "txtGuideHelp",
     .kind = K::MultiLineTextBox,
     .parent = "Picture2",
     .caption = kGuideHelpDesignText,
     .rect = {120, 840, 1455, 2295},
     .foreground = rgb(0x008000),
     .background = rgb(0xFFFFFF),
     .flags = NoBorder | ReadOnly,
     .accessibleDescription = "提示"},
    // Behind the page panels: seen only when no page is shown.
    {.name = "Text1",
     .kind = K::TextBox,
     .parent = "Frame1",
     .caption = "已出题成功!",
     .rect = {4320, 1560, 1815, 270},
     .font = {.family = "宋体", .points = 12},
     .foreground = rgb(0x00C000),
     .background = kButtonFace,
     .flags = NoBorder | ReadOnly | Centred,
     .accessibleDescription = "出题结果"},
    // Under it, the sections whose range held fewer questions than asked.
    {.name = "lblRepeats",
     .kind = K::Label,
     .parent = "Frame1",
     .rect = {2160, 1920, 6285, 1215},
     .foreground = rgb(0x00C000),
     .flags = WordWrap | Centred},
    stepPanel("Step1", 2160, 2280, NoFlags),
    stepPanel("Step2", 2040, 120, Hidden),
    stepPanel("Step3", 7560, 240, Hidden),
    {.name = "Shape1",
     .kind = K::Shape,
     .rect = {0, 4410, 8535, 33},
     .foreground = rgb(0xFFFFFF),
     .background = rgb(0xFFFFFF)},
    {.name = "cmdReset",
     .kind = K::CommandButton,
     .caption = "复位[&R]",
     .rect = {1920, 4680, 1575, 375}},
    {.name = "cmdBack",
     .kind = K::CommandButton,
     .caption = "上一步[&B]",
     .rect = {3840, 4680, 1365, 345}},
    {.name = "cmdNext",
     .kind = K::CommandButton,
     .caption = "下一步[&N]",
     .rect = {5280, 4680, 1365, 345}},
    {.name = "cmdCancle",
     .kind = K::CommandButton,
     .caption = "取消[&C]",
     .rect = {6960, 4680, 1365, 345}},
    // Opens "出题设置", in the free place left of the specified buttons.
    {.name = "cmdSettings",
     .kind = K::CommandButton,
     .caption = "出题设置[&T]...",
     .rect = {120, 4680, 1680, 375}},

    // Page 1: the question types.
    {.name = "frameSelectType",
     .kind = K::Frame,
     .parent = "Step1",
     .caption = "请选择",
     .rect = {360, 480, 2055, 2535}},
    typeCheck("chkAdd", "加法运算训练", 480, 255),
    typeCheck("chkMinus", "减法运算训练", 840, 255),
    typeCheck("chkMul", "乘法运算训练", 1200, 255, Checked),
    typeCheck("chkDevition", "除法运算训练", 1560, 255),
    typeCheck("chkMix", "四则混合运算", 2040, 375),
    {.name = "chkSelectAll",
     .kind = K::CheckBox,
     .parent = "Step1",
     .caption = "全部选择[&A]",
     .rect = {4200, 2600, 1575, 255}},

    // Page 2: the ranges.
    {.name = "frameSelectNumber",
     .kind = K::Frame,
     .parent = "Step2",
     .caption = "请选择出题数字范围",
     .rect = {480, 480, 5535, 2535}},
    rangeLabel("Label1", "加法范围:", 840, 480),
    rangeLabel("Label2", "从", 1920, 480, "comboAdd"),
    fromBox("comboAdd", 360, "加法范围 从", "Label1"),
    rangeLabel("Label3", "到", 3480, 480, "comboAdd_"),
    toBox("comboAdd_", 360, "加法范围 到", "Label1"),
    rangeLabel("Label4", "减法范围:", 840, 840),
    rangeLabel("Label5", "从", 1920, 840, "comboMinus"),
    fromBox("comboMinus", 720, "减法范围 从", "Label4"),
    rangeLabel("Label6", "到", 3480, 840, "comboMinus_"),
    toBox("comboMinus_", 720, "减法范围 到", "Label4"),
    rangeLabel("Label7", "乘法范围:", 840, 1200),
    rangeLabel("Label8", "从", 1920, 1200, "comboMul"),
    fromBox("comboMul", 1080, "乘法范围 从", "Label7"),
    rangeLabel("Label9", "到", 3480, 1200, "comboMul_"),
    toBox("comboMul_", 1080, "乘法范围 到", "Label7"),
    rangeLabel("Label10", "除法除数范围:", 480, 1560),
    rangeLabel("Label11", "从", 1920, 1560, "comboDevition"),
    fromBox("comboDevition", 1440, "除法除数范围 从", "Label10"),
    rangeLabel("Label12", "到", 3480, 1560, "comboDevition_"),
    toBox("comboDevition_", 1440, "除法除数范围 到", "Label10"),
    rangeLabel("Label13", "四则运算范围:", 480, 2040),
    rangeLabel("Label14", "从", 1920, 2040, "comboMix"),
    fromBox("comboMix", 1920, "四则运算范围 从", "Label13"),
    rangeLabel("Label15", "到", 3480, 2040, "comboMix_"),
    toBox("comboMix_", 1920, "四则运算范围 到", "Label13"),

    // Page 3: the counts.
    {.name = "frameSelectMany",
     .kind = K::Frame,
     .parent = "Step3",
     .caption = "请输入出题数量",
     .rect = {360, 360, 5895, 2655}},
    countLabel("Label16", "加法:", 240, 480, "txtHowADD"),
    countLabel("Label17", "出题", 1200, 480, "txtHowADD"),
    countBox("txtHowADD", 1800, 480, 975, "加法 出题数量"),
    countLabel("Label18", "道", 3000, 480),
    countLabel("Label19", "减法:", 240, 840, "txtHowMinus"),
    countLabel("Label20", "出题", 1200, 840, "txtHowMinus"),
    countBox("txtHowMinus", 1800, 840, 975, "减法 出题数量"),
    countLabel("Label21", "道", 3000, 840),
    countLabel("Label22", "乘法:", 240, 1200, "txtHowMul"),
    countLabel("Label23", "出题", 1200, 1200, "txtHowMul"),
    countBox("txtHowMul", 1800, 1200, 975, "乘法 出题数量"),
    countLabel("Label24", "道", 3000, 1200),
    countLabel("Label25", "除法:", 240, 1560, "txtHowDevition"),
    countLabel("Label26", "出题", 1200, 1560, "txtHowDevition"),
    countBox("txtHowDevition", 1800, 1560, 975, "除法 出题数量"),
    countLabel("Label27", "道", 3000, 1560),
    countLabel("Label28", "四则混合运算:", 240, 2280, "txtHowMix"),
    countLabel("Label29", "出题", 1680, 2280, "txtHowMix"),
    countBox("txtHowMix", 2280, 2280, 1215, "四则混合运算 出题数量"),
    countLabel("Label30", "道", 3720, 2280),
};

constexpr const char *kTabOrder[] = {
    "cmdCancle",   "cmdBack",     "cmdNext",        "chkAdd",        "chkMinus",
    "chkMul",      "chkDevition", "comboDevition_", "comboDevition", "comboMul_",
    "comboMul",    "comboMinus_", "comboMinus",     "comboAdd_",     "comboAdd",
    "txtHowMinus", "txtHowMul",   "txtHowDevition", "txtHowMix",     "txtHowADD",
    "cmdReset",    "chkMix",      "chkSelectAll",   "comboMix",      "comboMix_",
};

constexpr FormDef kForm = {
    .name = "frmGuide",
    .caption = "出题向导",
    .client = {8550, 5355},
    .border = BorderStyle::FixedSingle,
    .centred = true,
    .minMaxButtons = false,
    .icon = ":/images/guide_icon.svg",
    .controls = kControls,
    .tabOrder = kTabOrder,
};

} // namespace

const FormDef &frmGuideDef() {
    return kForm;
}

} // namespace drillpad::forms
