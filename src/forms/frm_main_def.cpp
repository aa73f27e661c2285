#include "forms/frm_main_def.h"

#include "version.h"

namespace drillpad::forms {

namespace {

constexpr const char *kFontItems[] = {"宋体", "隶书"};
constexpr const char *kFontSizeItems[] = {"8",  "9",  "10", "11", "12", "14", "16", "18",
                                          "20", "22", "24", "26", "28", "30", "34", "38",
                                          "42", "46", "50", "58", "64", "72", "128"};

using K = ControlKind;

constexpr ControlDef kControls[] = {
    {.name = "toolbarSYSTEM", .kind = K::Container, .rect = {0, 0, 9960, 360}},
    {.name = "toolbarEdit", .kind = K::Container, .rect = {0, 360, 9960, 360}},
    {.name = "cmbFont",
     .kind = K::ComboBox,
     .parent = "toolbarEdit",
     .caption = "宋体",
     .rect = {0, 0, 1695, 300},
     .accessibleName = "字体",
     .items = kFontItems},
    {.name = "cmbFontSize",
     .kind = K::ComboBox,
     .parent = "toolbarEdit",
     .caption = "五号",
     .rect = {1800, 0, 1095, 300},
     .accessibleName = "字号",
     .items = kFontSizeItems},
    {.name = "Frame1", .kind = K::Frame, .caption = "向导", .rect = {120, 840, 2055, 3975}},
    {.name = "cmdFace",
     .kind = K::CommandButton,
     .parent = "Frame1",
     .caption = "启动交互界面[&L]",
     .rect = {120, 240, 1815, 255}},
    {.name = "cmdGuide",
     .kind = K::CommandButton,
     .parent = "Frame1",
     .caption = "向导界面[&G]",
     .rect = {120, 600, 1815, 255}},
    {.name = "txtHelp",
     .kind = K::MultiLineTextBox,
     .parent = "Frame1",
     .caption = kMainHelpDesignText,
     .rect = {120, 960, 1815, 2655},
     .foreground = rgb(0x008000),
     .background = kButtonFace,
     .flags = NoBorder | ReadOnly,
     .accessibleName = "提示"},
    {.name = "cmdReset",
     .kind = K::CommandButton,
     .parent = "Frame1",
     .caption = "清空已出题目[&D]",
     .rect = {120, 3600, 1815, 255}},
    {.name = "Frame2", .kind = K::Frame, .caption = "帮助", .rect = {120, 4920, 2055, 2300}},
    {.name = "cmdAbout",
     .kind = K::CommandButton,
     .parent = "Frame2",
     .caption = "关于[&A]",
     .rect = {120, 360, 1815, 255}},
    {.name = "cmdHelp",
     .kind = K::CommandButton,
     .parent = "Frame2",
     .caption = "帮助[&H]",
     .rect = {120, 720, 1815, 255}},
    {.name = "cmdExit",
     .kind = K::CommandButton,
     .parent = "Frame2",
     .caption = "退出[&E]",
     .rect = {120, 1080, 1815, 255}},
    {.name = "Text1",
     .kind = K::TextBox,
     .parent = "Frame2",
     .caption = product::kHomePage,
     .rect = {120, 1920, 1785, 330},
     .font = {.family = "Arial", .points = 9},
     .background = kButtonFace,
     .flags = NoBorder | ReadOnly,
     .accessibleName = "主页"},
    {.name = "shapeTXT", .kind = K::Shape, .rect = {2280, 960, 1335, 2055}, .foreground = kDesktop},
    {.name = "txtMain",
     .kind = K::RichTextBox,
     .rect = {2400, 1080, 1095, 1815},
     .accessibleName = "出题区"},
};

constexpr const char *kTabOrder[] = {"cmdGuide",    "cmdExit", "cmdHelp", "cmdAbout", "cmdReset",
                                     "cmbFontSize", "cmbFont", "cmdFace", "txtMain"};

constexpr MenuDef kMenus[] = {
    {.name = "mnuFile", .caption = "文件[&F]"},
    {.name = "mnuFileSave", .parent = "mnuFile", .caption = "保存[&S]", .shortcut = "Ctrl+S"},
    {.name = "mnuFileDivision1", .parent = "mnuFile", .caption = "-"},
    {.name = "mnuFilePrint", .parent = "mnuFile", .caption = "打印[&P]"},
    {.name = "mnuFileDivision2", .parent = "mnuFile", .caption = "-"},
    {.name = "mnuExit", .parent = "mnuFile", .caption = "退出[&E]", .shortcut = "Ctrl+E"},
    {.name = "mnuEdit", .caption = "编辑[&E]"},
    {.name = "mnuAbout", .caption = "帮助[&A]"},
    {.name = "mnuHelp", .parent = "mnuAbout", .caption = "使用说明[&H]"},
    {.name = "mnuFileDivision4", .parent = "mnuAbout", .caption = "-"},
    {.name = "mnuHome", .parent = "mnuAbout", .caption = "访问软件官方主页[&H]"},
    {.name = "mnuWriteTo", .parent = "mnuAbout", .caption = "给作者写信[&E]"},
    {.name = "mnuReportErr", .parent = "mnuAbout", .caption = "报告错误[&R]"},
    {.name = "mnuGbook", .parent = "mnuAbout", .caption = "在线技术支持[留言解答][&G]"},
    {.name = "mnuFileDivision3", .parent = "mnuAbout", .caption = "-"},
    {.name = "mnuAboutAbout", .parent = "mnuAbout", .caption = "关于[&A]"},
};

constexpr FormDef kForm = {
    .name = "frmMain",
    .caption = "Drillpad",
    .client = {9960, 7575},
    .border = BorderStyle::Sizable,
    .position = {2430, 3120, 0, 0},
    .minMaxButtons = true,
    .icon = ":/images/drillpad.svg",
    .controls = kControls,
    .tabOrder = kTabOrder,
    .menus = kMenus,
};

} // namespace

const FormDef &frmMainDef() {
    return kForm;
}

} // namespace drillpad::forms
