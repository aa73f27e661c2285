#include "forms/frm_record_def.h"

namespace drillpad::forms {

namespace {

using K = ControlKind;

// The buttons' row along the bottom edge.
constexpr float kButtonTop = 8400;
constexpr float kButtonWidth = 1575;
constexpr float kButtonHeight = 435;

constexpr ControlDef kControls[] = {
    {.name = "lblOperation",
     .kind = K::Label,
     .caption = "运算[&O]:",
     .rect = {120, 180, 840, 210},
     .flags = SizedToText},
    {.name = "cmbOperation",
     .kind = K::ComboBox,
     .caption = "全部",
     .rect = {960, 120, 1335, 300},
     .accessibleName = "运算",
     .items = kRecordOperationItems},
    {.name = "lblQuizzes",
     .kind = K::Label,
     .caption = "练习[&Q]:",
     .rect = {2640, 180, 840, 210},
     .flags = SizedToText},
    {.name = "lblPupil",
     .kind = K::Label,
     .caption = "练习者[&U]:",
     .rect = {4080, 180, 960, 210},
     .flags = SizedToText},
    {.name = "cmbPupil",
     .kind = K::ComboBox,
     .caption = "全部",
     .rect = {5040, 120, 1800, 300},
     .accessibleName = "练习者"},
    // The current pupil's practice today: "今天 12 分钟, 40 题; 连续 3 天".
    {.name = "lblToday", .kind = K::Label, .rect = {7080, 180, 4800, 210}},
    {.name = "tblQuizzes",
     .kind = K::TableView,
     .rect = {120, 540, 11760, 3480},
     .accessibleName = "练习"},
    {.name = "chartProgress",
     .kind = K::ChartView,
     .rect = {120, 4140, 6480, 4140},
     .accessibleName = "得分和每题用时"},
    {.name = "lblWrong",
     .kind = K::Label,
     .caption = "错题和跳过的题[&W]:",
     .rect = {6720, 4140, 5160, 210}},
    {.name = "tblWrong",
     .kind = K::TableView,
     .rect = {6720, 4380, 5160, 3900},
     .accessibleName = "错题和跳过的题"},
    // Shown over the tables and the chart when the record is not kept.
    {.name = "lblNotKept",
     .kind = K::Label,
     .rect = {120, 540, 11760, 7740},
     .font = {.points = 10.5f},
     .flags = Hidden | WordWrap | Centred},
    {.name = "cmdRedo",
     .kind = K::CommandButton,
     .caption = "重做错题[&R]",
     .rect = {120, kButtonTop, kButtonWidth, kButtonHeight}},
    {.name = "cmdExport",
     .kind = K::CommandButton,
     .caption = "导出CSV[&E]",
     .rect = {1815, kButtonTop, kButtonWidth, kButtonHeight}},
    {.name = "cmdClear",
     .kind = K::CommandButton,
     .caption = "清除记录[&D]",
     .rect = {3510, kButtonTop, kButtonWidth, kButtonHeight}},
    {.name = "cmdClose",
     .kind = K::CommandButton,
     .caption = "关闭[&C]",
     .rect = {10305, kButtonTop, kButtonWidth, kButtonHeight}},
};

constexpr const char *kTabOrder[] = {"cmbOperation",  "cmbPupil", "tblQuizzes",
                                     "chartProgress", "tblWrong", "cmdRedo",
                                     "cmdExport",     "cmdClear", "cmdClose"};

constexpr FormDef kForm = {
    .name = "frmRecord",
    .caption = "练习记录",
    .client = {12000, 8955},
    .border = BorderStyle::FixedDialog,
    .centred = true,
    .minMaxButtons = false,
    .inTaskBar = false,
    .icon = ":/images/quiz_face.svg",
    .controls = kControls,
    .tabOrder = kTabOrder,
};

} // namespace

const FormDef &frmRecordDef() {
    return kForm;
}

} // namespace drillpad::forms
