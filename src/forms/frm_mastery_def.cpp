#include "forms/frm_mastery_def.h"

namespace drillpad::forms {

namespace {

using K = ControlKind;

// The buttons' row along the bottom edge.
constexpr float kButtonTop = 7080;
constexpr float kButtonWidth = 1575;
constexpr float kButtonHeight = 435;

constexpr ControlDef kControls[] = {
    // Shows "练习者: 小明".
    {.name = "lblPupil", .kind = K::Label, .rect = {120, 180, 3600, 210}},
    {.name = "lblGrid",
     .kind = K::Label,
     .caption = "运算[&O]:",
     .rect = {3840, 180, 840, 210},
     .flags = SizedToText},
    {.name = "cmbGrid",
     .kind = K::ComboBox,
     .caption = "加法",
     .rect = {4680, 120, 1335, 300},
     .accessibleName = "运算",
     .items = kMasteryGridItems},
    {.name = "lblFacts",
     .kind = K::Label,
     .caption = "掌握情况[&F]:",
     .rect = {120, 600, 1800, 210},
     .flags = SizedToText},
    {.name = "tblFacts",
     .kind = K::TableView,
     .rect = {120, 840, 8760, 4860},
     .accessibleName = "掌握情况"},
    // The record of the cell with the focus.
    {.name = "lblCell", .kind = K::Label, .rect = {120, 5820, 8760, 240}},
    // The states and what decides them.
    {.name = "lblLegend", .kind = K::Label, .rect = {120, 6180, 8760, 780}, .flags = WordWrap},
    {.name = "cmdPrint",
     .kind = K::CommandButton,
     .caption = "打印[&P]...",
     .rect = {120, kButtonTop, kButtonWidth, kButtonHeight}},
    {.name = "cmdSave",
     .kind = K::CommandButton,
     .caption = "存为图片[&S]...",
     .rect = {1815, kButtonTop, kButtonWidth, kButtonHeight}},
    {.name = "cmdClose",
     .kind = K::CommandButton,
     .caption = "关闭[&C]",
     .rect = {7305, kButtonTop, kButtonWidth, kButtonHeight}},
};

constexpr const char *kTabOrder[] = {"cmbGrid", "tblFacts", "cmdPrint", "cmdSave", "cmdClose"};

constexpr FormDef kForm = {
    .name = "frmMastery",
    .caption = "掌握情况",
    .client = {9000, 7635},
    .border = BorderStyle::FixedDialog,
    .centred = true,
    .minMaxButtons = false,
    .inTaskBar = false,
    .icon = ":/images/quiz_face.svg",
    .controls = kControls,
    .tabOrder = kTabOrder,
};

} // namespace

const FormDef &frmMasteryDef() {
    return kForm;
}

} // namespace drillpad::forms
