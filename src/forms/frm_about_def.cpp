#include "forms/frm_about_def.h"

namespace drillpad::forms {

namespace {

constexpr const char *kDescription =
    "    本软件能自动出算术题，在孩子上小学、学习加减乘除四则运算的时候，"
    "帮助家长给孩子出题练习。";

constexpr const char *kDisclaimer = "本软件可免费使用、复制和传播；\n"
                                    "如因使用本软件造成损失，作者概不负责。";

constexpr Colour kBlack = rgb(0x000000);

using K = ControlKind;

constexpr ControlDef kControls[] = {
    {.name = "picIcon",
     .kind = K::PictureBox,
     .rect = {53, 72, 975, 975},
     .flags = NoBorder,
     .accessibleName = "程序图标",
     .picture = ":/images/drillpad.svg"},
    {.name = "lblTitle",
     .kind = K::Label,
     .caption = "应用程序标题",
     .rect = {1171, 240, 4725, 480},
     .foreground = kBlack},
    {.name = "lblVersion", .kind = K::Label, .caption = "版本", .rect = {1171, 780, 4845, 225}},
    {.name = "Label1",
     .kind = K::Label,
     .caption = "说明:",
     .rect = {1080, 1200, 450, 180},
     .flags = SizedToText},
    {.name = "lblDescription",
     .kind = K::Label,
     .caption = kDescription,
     .rect = {1171, 1440, 4725, 1050},
     .foreground = kBlack,
     .flags = WordWrap,
     .accessibleName = "说明"},
    // An etched separator: a white line two pixels high with a grey line of
    // one pixel over its upper half, one pixel further right.
    {.name = "Line1",
     .kind = K::Line,
     .rect = {105, 2640, 5880 - 105, 2 * kTwipsPerPixel},
     .foreground = rgb(0xFFFFFF),
     .index = 0},
    {.name = "Line1",
     .kind = K::Line,
     .rect = {120, 2640, 5880 - 120, 1 * kTwipsPerPixel},
     .foreground = rgb(0x808080),
     .index = 1},
    {.name = "lblDisclaimer",
     .kind = K::Label,
     .caption = kDisclaimer,
     .rect = {120, 2880, 4095, 585},
     .foreground = kBlack,
     .flags = WordWrap},
    {.name = "cmdOK",
     .kind = K::CommandButton,
     .caption = "确定[&O]",
     .rect = {4320, 2880, 1575, 330}},
    {.name = "cmdSysInfo",
     .kind = K::CommandButton,
     .caption = "系统信息[&S]",
     .rect = {4320, 3360, 1575, 330}},
};

constexpr const char *kTabOrder[] = {"cmdOK", "cmdSysInfo"};

constexpr FormDef kForm = {
    .name = "frmAbout",
    .caption = "关于我的应用程序",
    .client = {6000, 3825},
    .border = BorderStyle::FixedDialog,
    .centred = true,
    .minMaxButtons = false,
    .inTaskBar = false,
    .icon = ":/images/drillpad.svg",
    .controls = kControls,
    .tabOrder = kTabOrder,
};

} // namespace

const FormDef &frmAboutDef() {
    return kForm;
}

} // namespace drillpad::forms
