#include "forms/frm_help_def.h"

namespace drillpad::forms {

namespace {

using K = ControlKind;

// The outline comes first so that it lies beneath the viewer.
constexpr ControlDef kControls[] = {
    {.name = "shapeHelp", .kind = K::Shape, .rect = {720, 3120, 615, 735}, .foreground = kDesktop},
    {.name = "txtHelp",
     .kind = K::RichTextBox,
     .rect = {840, 480, 2655, 1815},
     .accessibleName = "软件使用说明"},
};

constexpr const char *kTabOrder[] = {"txtHelp"};

constexpr FormDef kForm = {
    .name = "frmHelp",
    .caption = "软件使用说明",
    .client = {7365, 5970},
    .border = BorderStyle::Sizable,
    .position = {2940, 2280, 0, 0},
    .minMaxButtons = true,
    .icon = ":/images/help_icon.svg",
    .controls = kControls,
    .tabOrder = kTabOrder,
};

} // namespace

const FormDef &frmHelpDef() {
    return kForm;
}

} // namespace drillpad::forms
