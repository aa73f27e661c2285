#pragma once

#include "controls/form_dialog.h"
#include "controls/twips.h"
#include "forms/form_builder.h"

#include <optional>

namespace drillpad {

class RichTextBox;
class ShapeWidget;

// Where the viewer and its outline go, in twips, for an inner size of the
// window. The outline takes the size the viewer had before (plus 2); the
// viewer fills the window less 24 twips. Computed in single precision. No
// layout while the inner width or height is below 24 twips.
struct HelpLayout {
    TwipsRect outline;
    TwipsRect viewer;
};
std::optional<HelpLayout> helpLayoutFor(TwipsSize inner, TwipsSize previousViewer);

// The help window: shows the manual "help.rtf", read afresh each time the
// window loads. A missing or damaged manual leaves the viewer empty. Closing
// the window unloads it.
class FrmHelp : public FormDialog {
    Q_OBJECT
public:
    FrmHelp();

    RichTextBox *txtHelp() const;
    ShapeWidget *shapeHelp() const;

    // The manual next to the program (a build tree) if it is there, else the
    // one in the installed data folder, found relative to the program's
    // folder; the place next to the program when there is neither.
    static QString documentPath(const QString &programFolder);
    static QString documentPath();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    void Form_Resize();

    forms::ControlMap controls_;
};

} // namespace drillpad
