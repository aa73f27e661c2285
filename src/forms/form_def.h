#pragma once

#include "controls/twips.h"

#include <QColor>
#include <QKeySequence>

#include <cstdint>
#include <span>

namespace drillpad::forms {

// The kinds of control a window definition is made of.
enum class ControlKind {
    CommandButton,
    Label,
    TextBox,          // single-line edit field
    MultiLineTextBox, // multi-line edit field
    Frame,            // group box, a container
    CheckBox,
    OptionButton, // one of a group that shares a name, told apart by index
    ComboBox,     // editable drop-down
    ListBox,
    PictureBox, // a container showing a picture
    Shape,      // rectangle drawn on the container
    Line,       // straight line drawn on the container
    RichTextBox,
    Timer,
    Container, // a plain area that only holds other controls
    Toolbar,   // button bar; its buttons are added by the window's behaviour
    TableView, // rows and columns shown from a model that the behaviour sets
    ChartView, // a chart; its series and axes are added by the behaviour
};

// A colour as a window definition gives it: none, an RGB value or one of the
// system colours.
struct Colour {
    enum class Kind : std::uint8_t { Unset, Rgb, ButtonFace, Desktop, WindowBackground };
    Kind kind = Kind::Unset;
    std::uint32_t rgb = 0;

    constexpr bool isSet() const { return kind != Kind::Unset; }
    friend constexpr bool operator==(const Colour &, const Colour &) = default;
};

constexpr Colour rgb(std::uint32_t value) {
    return {Colour::Kind::Rgb, value};
}
inline constexpr Colour kButtonFace{Colour::Kind::ButtonFace, 0};
inline constexpr Colour kDesktop{Colour::Kind::Desktop, 0};
inline constexpr Colour kWindowBackground{Colour::Kind::WindowBackground, 0};

QColor resolveColour(const Colour &colour);

// Every window and control uses "宋体" 9 pt unless it says otherwise.
inline constexpr const char *kDefaultFontFamily = "宋体";
inline constexpr float kDefaultFontPoints = 9.0f;

// The width of a caption in the default font: a Chinese character is 12
// pixels wide, a Latin one half of that. Labels sized to their text start
// from it and grow to the font's real extent when built.
constexpr float textWidth(const char *text) {
    float width = 0;
    for (const char *p = text; *p; ++p) {
        const auto byte = static_cast<unsigned char>(*p);
        if (byte < 0x80)
            width += 90;
        else if (byte >= 0xE0) // lead byte of a three-byte character
            width += 180;
    }
    return width;
}

struct FontDef {
    const char *family = nullptr; // nullptr: the default family
    float points = 0;             // 0: the default size
    bool bold = false;

    constexpr bool isDefault() const { return family == nullptr && points == 0 && !bold; }
};

// Flags of a control in its window definition.
enum ControlFlag : std::uint32_t {
    NoFlags = 0,
    Hidden = 1u << 0,
    Disabled = 1u << 1,
    Checked = 1u << 2,     // check box ticked, option button selected
    NoBorder = 1u << 3,    // text boxes, picture boxes
    Centred = 1u << 4,     // text centred
    SizedToText = 1u << 5, // labels that take the size of their caption
    Transparent = 1u << 6, // labels that paint no background
    ReadOnly = 1u << 7,    // text boxes; combo boxes: a list to choose from, not typed into
    WordWrap = 1u << 8,
    NarrowArrow = 1u << 9, // combo boxes: a narrow drop-down arrow leaves room for the text
};

struct ControlDef {
    const char *name = nullptr; // the name behaviour code refers to
    ControlKind kind = ControlKind::Label;
    const char *parent = nullptr;  // containing control; nullptr: the window
    const char *caption = nullptr; // caption or initial text (UTF-8)
    TwipsRect rect{};
    FontDef font{};
    Colour foreground{};
    Colour background{};
    std::uint32_t flags = NoFlags;
    int index = -1;                       // position in a control array
    const char *accessibleName = nullptr; // for screen readers
    // What a control that shows a value (a label, a read-only text) shows:
    // screen readers read its text as its name and this as its description.
    const char *accessibleDescription = nullptr;
    const char *picture = nullptr;        // resource path of a picture
    int interval = 0;                     // timers, in milliseconds
    std::span<const char *const> items{}; // list entries of combo and list boxes
    // Labels: the control this caption stands in front of (QLabel::setBuddy),
    // so that screen readers announce the caption with it.
    const char *buddy = nullptr;
    // Combo boxes: the caption at the head of their row, which labels them
    // besides their buddy label (a label has one buddy, a row two boxes).
    const char *rowCaption = nullptr;
};

// An entry of a window's menu bar. Top-level menus have no parent; a
// separator has the caption "-".
struct MenuDef {
    const char *name = nullptr;
    const char *parent = nullptr;
    const char *caption = nullptr;
    const char *shortcut = nullptr; // portable text, e.g. "Ctrl+S"
    // The platform's usual keys for a standard command (undo, copy, ...),
    // used instead of a fixed shortcut.
    QKeySequence::StandardKey standardKey = QKeySequence::UnknownKey;

    constexpr bool isSeparator() const {
        return caption && caption[0] == '-' && caption[1] == '\0';
    }
};

enum class BorderStyle { Sizable, FixedSingle, FixedDialog };

struct FormDef {
    const char *name = nullptr;
    const char *caption = nullptr;
    TwipsSize client{};
    BorderStyle border = BorderStyle::Sizable;
    bool centred = false; // centred on the screen when shown
    TwipsRect position{}; // screen position of the client area, when not centred
    bool minMaxButtons = false;
    bool inTaskBar = true;
    const char *icon = nullptr; // resource path
    std::span<const ControlDef> controls;
    std::span<const char *const> tabOrder; // buttons and input fields, in order
    std::span<const MenuDef> menus{};
};

// The object name of a control: its name, or "name(index)" in an array.
QString objectNameOf(const ControlDef &def);

// Looks a control up by name (and index) in a definition; nullptr if absent.
const ControlDef *findControl(const FormDef &form, const char *name, int index = -1);

} // namespace drillpad::forms
