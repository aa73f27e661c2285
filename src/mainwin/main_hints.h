#pragma once

namespace drillpad {

// What the hint panel of the main window says while the pointer is over a
// control. The panel keeps the last hint until another replaces it.
struct MainHint {
    const char *control;
    const char *text;
};

inline constexpr MainHint kMainHints[] = {
    {"cmdGuide",
     "单击本按钮将出现向导界面,你可以用向导出题,也可以在向导界面中定制及定制自己的出题信息,"
     "并且重新出题"},
    {"cmdFace", "单击本按钮将出现交互界面,会自动出题,由用户交互完成,软件智能判断对错,并给出结果,"
                "还有分数及建议"},
    {"cmdAbout", "这是关于按钮,单击后将出现本软件的版权信息及详细信息"},
    {"txtHelp", "这是向导界面,向导面板用来提示你的操作"},
    {"txtMain", "这是出题后的显示界面,你可以在这里编辑修改题目,修改完后单击工具栏上的打印或者[文件]"
                "菜单中的[打印]菜单即可直接打印题目"},
    // The three buttons below had no hint; they get one so that the panel
    // never describes a button the pointer has left. The exit button asks
    // about unsaved work before it ends the program, and its hint says so.
    {"cmdReset", "单击本按钮将清空出题区中已出的题目,需要的题目请先保存"},
    {"cmdHelp", "单击本按钮将打开软件使用说明"},
    {"cmdExit", "单击本按钮将退出本软件,出题区有未保存的题目时会先问你是否保存"},
};

} // namespace drillpad
