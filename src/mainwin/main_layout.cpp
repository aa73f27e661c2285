#include "mainwin/main_layout.h"

namespace drillpad {

std::optional<MainLayout> mainLayoutFor(TwipsSize inner) {
    if (!(inner.width >= kMinMainInnerWidth) || !(inner.height >= kMinMainInnerHeight))
        return std::nullopt;
    MainLayout layout;
    TwipsRect &editor = layout.editor;
    editor.top = 960.0f;
    editor.left = 2520.0f;
    editor.width = inner.width - editor.left - 120.0f;
    editor.height = inner.height - editor.top - 480.0f;
    if (!(editor.width > 0) || !(editor.height > 0))
        return std::nullopt;
    TwipsRect &border = layout.border;
    border.left = editor.left - 10.0f;
    border.top = editor.top - 10.0f;
    border.width = editor.width + 35.0f;
    border.height = editor.height + 35.0f;
    return layout;
}

} // namespace drillpad
