#pragma once

#include "controls/tool_bar.h"
#include "forms/form_def.h"

#include <span>

namespace drillpad::forms {

// The main window: caption, client size, controls and tab order.
const FormDef &frmMainDef();

// Hint panel texts and the sizes offered by the size combo box.
inline constexpr const char *kMainHelpDesignText = "这是向导界面,向导面\r\n板用来提示你的操作\r\n";

// The buttons of one of the main window's toolbars, left to right.
struct ToolbarDef {
    const char *name = nullptr; // the toolbar control in frmMainDef()
    std::span<const ToolButtonDef> buttons;
};

// toolbarSYSTEM (documents and editing) and toolbarEdit (formatting).
std::span<const ToolbarDef> frmMainToolbars();

// ImageList1: the toolbars' pictures, keys "IMG1" to "IMG25".
const ImageListDef &frmMainImageList();

// The position on toolbarEdit of the space on which the font combo boxes lie.
inline constexpr int kFontComboPlaceholder = 1;

// The find box of the main window's sheet.
const FormDef &frmFindDef();

} // namespace drillpad::forms
