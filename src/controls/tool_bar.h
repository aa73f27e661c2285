#pragma once

#include <QColor>
#include <QIcon>
#include <QList>
#include <QSize>
#include <QToolBar>

#include <cstdint>
#include <span>

class QToolButton;

namespace drillpad {

// One picture of an image list: its key and the resource it is drawn from
// (nullptr: a picture that nothing shows).
struct ImageDef {
    const char *key = nullptr;
    const char *picture = nullptr;
};

// A store of equally sized toolbar pictures, addressed by 1-based position.
// The mask colour is the colour that counts as transparent in a bitmap;
// SVG pictures carry their own transparency and need none.
struct ImageListDef {
    const char *name = nullptr;
    int imageWidth = 16; // pixels
    int imageHeight = 16;
    std::uint32_t maskColour = 0; // #RRGGBB
    std::span<const ImageDef> images{};
};

class ImageList {
public:
    explicit ImageList(const ImageListDef &def);

    int count() const { return static_cast<int>(def_.images.size()); }
    QSize imageSize() const { return {def_.imageWidth, def_.imageHeight}; }
    QColor maskColour() const { return QColor(QRgb(def_.maskColour)); }
    // The key at a position; empty outside 1..count.
    QString key(int position) const;
    // The picture at a position, drawn afresh at whatever size and screen
    // scale it is shown (SVG); a null icon outside 1..count or without one.
    QIcon icon(int position) const;

private:
    const ImageDef *at(int position) const;
    ImageListDef def_;
};

enum class ToolButtonStyle {
    Push,        // clicks and springs back
    Check,       // flips between pressed and released at each click
    Group,       // consecutive group buttons: the last one clicked shows pressed
    Separator,   // a gap with a line
    Placeholder, // an empty space on which other controls may lie
};

struct ToolButtonDef {
    ToolButtonStyle style = ToolButtonStyle::Push;
    const char *key = nullptr;            // identifies the button
    int image = 0;                        // 1-based position in the image list; 0: none
    const char *accessibleName = nullptr; // the button shows no text, screen readers say this
    // The menu entry that runs the same command; its shortcut key shows in
    // the button's tooltip.
    const char *menuEntry = nullptr;
    float width = 0; // placeholders, in twips
};

// A bar of picture buttons identified by key. The buttons show no text, only
// a tooltip with their name, and take no keyboard focus, so that clicking one
// leaves the focus (and the selection) where it was. Screen readers' press
// and toggle actions click them like the mouse.
class ToolBar : public QToolBar {
    Q_OBJECT
public:
    explicit ToolBar(QWidget *parent = nullptr);

    // Adds the buttons left to right. Positions count from 1 and include
    // separators and placeholders.
    void setButtons(std::span<const ToolButtonDef> buttons, const ImageList &images);

    // The button with this key (compared exactly), or nullptr.
    QAction *button(const QString &key) const;
    QToolButton *buttonWidget(const QString &key) const;
    // The keys of the buttons, left to right.
    QStringList keys() const;
    // Adds the key that runs a button's command to its tooltip: "粗体 (Ctrl+B)".
    void showShortcut(const QString &key, const QKeySequence &shortcut);
    // The placeholder at a position, or nullptr.
    QWidget *placeholder(int position) const;
    // Lays a control on a placeholder, keeping its twips position, which then
    // counts from the placeholder's corner.
    void placeOnPlaceholder(QWidget *control, int position);

Q_SIGNALS:
    // One event for every button: the handler reads the button's key
    // (its object name) and decides.
    void buttonClick(QAction *button);

private:
    QList<QAction *> positions_; // one per position, index = position - 1
};

} // namespace drillpad
