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
    {.name = "toolbarSYSTEM", .kind = K::Toolbar, .rect = {0, 0, 9960, 360}},
    {.name = "toolbarEdit", .kind = K::Toolbar, .rect = {0, 360, 9960, 360}},
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
     .accessibleDescription = "提示"},
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
     .accessibleDescription = "主页"},
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
    // A new sheet is made with the wizard.
    {.name = "mnuFileNew", .parent = "mnuFile", .caption = "新建[&N]...", .shortcut = "Ctrl+N"},
    {.name = "mnuFileOpen", .parent = "mnuFile", .caption = "打开[&O]...", .shortcut = "Ctrl+O"},
    {.name = "mnuFileSave", .parent = "mnuFile", .caption = "保存[&S]", .shortcut = "Ctrl+S"},
    {.name = "mnuFileDivision1", .parent = "mnuFile", .caption = "-"},
    {.name = "mnuFilePrint", .parent = "mnuFile", .caption = "打印[&P]", .shortcut = "Ctrl+P"},
    {.name = "mnuFilePreview",
     .parent = "mnuFile",
     .caption = "打印预览[&V]",
     .shortcut = "Ctrl+Shift+P"},
    {.name = "mnuFilePdf",
     .parent = "mnuFile",
     .caption = "导出PDF[&D]...",
     .shortcut = "Ctrl+Shift+D"},
    {.name = "mnuFileAnswerKey",
     .parent = "mnuFile",
     .caption = "答案页[&K]",
     .shortcut = "Ctrl+K"},
    {.name = "mnuFileSettings",
     .parent = "mnuFile",
     .caption = "出题设置[&T]...",
     .shortcut = "Ctrl+Shift+T"},
    {.name = "mnuFileDivision2", .parent = "mnuFile", .caption = "-"},
    {.name = "mnuExit", .parent = "mnuFile", .caption = "退出[&E]", .shortcut = "Ctrl+E"},
    {.name = "mnuEdit", .caption = "编辑[&E]"},
    {.name = "mnuEditUndo",
     .parent = "mnuEdit",
     .caption = "撤销[&U]",
     .standardKey = QKeySequence::Undo},
    {.name = "mnuEditRedo",
     .parent = "mnuEdit",
     .caption = "重做[&R]",
     .standardKey = QKeySequence::Redo},
    {.name = "mnuEditDivision1", .parent = "mnuEdit", .caption = "-"},
    {.name = "mnuEditCut",
     .parent = "mnuEdit",
     .caption = "剪切[&T]",
     .standardKey = QKeySequence::Cut},
    {.name = "mnuEditCopy",
     .parent = "mnuEdit",
     .caption = "复制[&C]",
     .standardKey = QKeySequence::Copy},
    {.name = "mnuEditPaste",
     .parent = "mnuEdit",
     .caption = "粘贴[&P]",
     .standardKey = QKeySequence::Paste},
    {.name = "mnuEditSelectAll",
     .parent = "mnuEdit",
     .caption = "全选[&A]",
     .standardKey = QKeySequence::SelectAll},
    {.name = "mnuEditDivision2", .parent = "mnuEdit", .caption = "-"},
    {.name = "mnuEditFind",
     .parent = "mnuEdit",
     .caption = "查找[&F]",
     .standardKey = QKeySequence::Find},
    {.name = "mnuFormat", .caption = "格式[&O]"},
    {.name = "mnuFormatBold", .parent = "mnuFormat", .caption = "粗体[&B]", .shortcut = "Ctrl+B"},
    {.name = "mnuFormatItalic", .parent = "mnuFormat", .caption = "斜体[&I]", .shortcut = "Ctrl+I"},
    {.name = "mnuFormatUnderline",
     .parent = "mnuFormat",
     .caption = "下划线[&U]",
     .shortcut = "Ctrl+U"},
    // Ctrl+E and Ctrl+R, the usual keys for centring and right alignment,
    // are 退出 and 练习记录 here; Shift joins each of the three letters.
    {.name = "mnuFormatDivision1", .parent = "mnuFormat", .caption = "-"},
    {.name = "mnuFormatLeft",
     .parent = "mnuFormat",
     .caption = "左对齐[&L]",
     .shortcut = "Ctrl+Shift+L"},
    {.name = "mnuFormatCenter",
     .parent = "mnuFormat",
     .caption = "居中[&C]",
     .shortcut = "Ctrl+Shift+E"},
    {.name = "mnuFormatRight",
     .parent = "mnuFormat",
     .caption = "右对齐[&R]",
     .shortcut = "Ctrl+Shift+R"},
    {.name = "mnuPractice", .caption = "练习[&R]"},
    {.name = "mnuPracticeRecord",
     .parent = "mnuPractice",
     .caption = "练习记录[&R]...",
     .shortcut = "Ctrl+R"},
    {.name = "mnuPracticeMastery",
     .parent = "mnuPractice",
     .caption = "掌握情况[&M]...",
     .shortcut = "Ctrl+M"},
    {.name = "mnuPracticeReview",
     .parent = "mnuPractice",
     .caption = "今日复习[&J]",
     .shortcut = "Ctrl+J"},
    {.name = "mnuPracticeSettings",
     .parent = "mnuPractice",
     .caption = "按出题设置练习[&Q]",
     .shortcut = "Ctrl+Shift+Q"},
    // Its entries, one per preset, are listed when it opens.
    {.name = "mnuPracticePreset", .parent = "mnuPractice", .caption = "按预设练习[&P]"},
    {.name = "mnuPracticeDivision1", .parent = "mnuPractice", .caption = "-"},
    // Shows the current pupil ("练习者: 小明[&U]") and lists the pupils to
    // choose from when it opens.
    {.name = "mnuPracticePupil", .parent = "mnuPractice", .caption = "练习者[&U]"},
    {.name = "mnuPracticePupilAdd", .parent = "mnuPractice", .caption = "添加练习者[&A]..."},
    {.name = "mnuPracticePupilRename", .parent = "mnuPractice", .caption = "重命名练习者[&N]..."},
    {.name = "mnuPracticePupilRemove", .parent = "mnuPractice", .caption = "删除练习者[&D]..."},
    {.name = "mnuAbout", .caption = "帮助[&A]"},
    {.name = "mnuHelp", .parent = "mnuAbout", .caption = "使用说明[&H]", .shortcut = "F1"},
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

// ImageList1. Pictures that no button shows have none.
constexpr ImageDef kImages[] = {
    {"IMG1", nullptr},
    {"IMG2", ":/images/tb_open.svg"},
    {"IMG3", ":/images/tb_bold.svg"},
    {"IMG4", nullptr},
    {"IMG5", ":/images/tb_copy.svg"},
    {"IMG6", ":/images/tb_center.svg"},
    {"IMG7", ":/images/tb_cut.svg"},
    {"IMG8", nullptr},
    {"IMG9", ":/images/tb_find.svg"},
    {"IMG10", ":/images/tb_help.svg"},
    {"IMG11", nullptr},
    {"IMG12", ":/images/tb_italic.svg"},
    {"IMG13", nullptr},
    {"IMG14", ":/images/tb_left.svg"},
    {"IMG15", nullptr},
    {"IMG16", ":/images/tb_paste.svg"},
    {"IMG17", nullptr},
    {"IMG18", ":/images/tb_redo.svg"},
    {"IMG19", ":/images/tb_right.svg"},
    {"IMG20", ":/images/tb_undo.svg"},
    {"IMG21", ":/images/tb_underline.svg"},
    {"IMG22", nullptr},
    {"IMG23", ":/images/tb_save.svg"},
    {"IMG24", ":/images/tb_print.svg"},
    {"IMG25", ":/images/tb_new.svg"},
};

constexpr ImageListDef kImageList = {
    .name = "ImageList1",
    .imageWidth = 16,
    .imageHeight = 16,
    .maskColour = 0xC0C0C0,
    .images = kImages,
};

using S = ToolButtonStyle;

// Buttons that share a command with a menu entry name it, for the shortcut
// key in their tooltip.
constexpr ToolButtonDef kSystemButtons[] = {
    {S::Push, "tbNew", 25, "新建", "mnuFileNew"},
    {S::Push, "tbOpen", 2, "打开", "mnuFileOpen"},
    {S::Push, "tbSave", 23, "保存", "mnuFileSave"},
    {S::Separator},
    {S::Push, "tbPrint", 24, "打印", "mnuFilePrint"},
    {S::Separator},
    {S::Push, "tbCut", 7, "剪切", "mnuEditCut"},
    {S::Push, "tbCopy", 5, "复制", "mnuEditCopy"},
    {S::Push, "tbPaste", 16, "粘贴", "mnuEditPaste"},
    {S::Push, "tbFind", 9, "查找", "mnuEditFind"},
    {S::Separator},
    {S::Push, "tbUndo", 20, "撤销", "mnuEditUndo"},
    {S::Push, "tbRedo", 18, "重做", "mnuEditRedo"},
    {S::Separator},
    {S::Push, "tbHelp", 10, "帮助", "mnuHelp"},
};

// The switches and alignments are also the Format menu's entries, which
// click them.
constexpr ToolButtonDef kEditButtons[] = {
    {.style = S::Placeholder, .width = 3000},
    {S::Separator},
    {S::Check, "tbBold", 3, "粗体", "mnuFormatBold"},
    {S::Check, "tbItaic", 12, "斜体", "mnuFormatItalic"},
    {S::Check, "tbUnderline", 21, "下划线", "mnuFormatUnderline"},
    {S::Separator},
    {S::Group, "tbLeft", 14, "左对齐", "mnuFormatLeft"},
    {S::Group, "tbMid", 6, "居中", "mnuFormatCenter"},
    {S::Group, "tbRight", 19, "右对齐", "mnuFormatRight"},
};

constexpr ToolbarDef kToolbars[] = {
    {"toolbarSYSTEM", kSystemButtons},
    {"toolbarEdit", kEditButtons},
};

constexpr ControlDef kFindControls[] = {
    {.name = "lblFind", .kind = K::Label, .caption = "查找内容:", .rect = {120, 180, 945, 255}},
    {.name = "txtFind",
     .kind = K::TextBox,
     .rect = {1080, 120, 2655, 315},
     .accessibleName = "查找内容"},
    {.name = "cmdFindNext",
     .kind = K::CommandButton,
     .caption = "查找下一个[&F]",
     .rect = {3900, 120, 1395, 330}},
    {.name = "cmdFindPrevious",
     .kind = K::CommandButton,
     .caption = "查找上一个[&B]",
     .rect = {3900, 540, 1395, 330}},
    {.name = "cmdFindClose",
     .kind = K::CommandButton,
     .caption = "关闭[&C]",
     .rect = {3900, 960, 1395, 330}},
};

constexpr const char *kFindTabOrder[] = {"txtFind", "cmdFindNext", "cmdFindPrevious",
                                         "cmdFindClose"};

constexpr FormDef kFindForm = {
    .name = "frmFind",
    .caption = "查找",
    .client = {5415, 1410},
    .border = BorderStyle::FixedDialog,
    .centred = true,
    .inTaskBar = false,
    .controls = kFindControls,
    .tabOrder = kFindTabOrder,
};

} // namespace

const FormDef &frmMainDef() {
    return kForm;
}

std::span<const ToolbarDef> frmMainToolbars() {
    return kToolbars;
}

const ImageListDef &frmMainImageList() {
    return kImageList;
}

const FormDef &frmFindDef() {
    return kFindForm;
}

} // namespace drillpad::forms
