#pragma once

#include "forms/form_builder.h"

#include <QMainWindow>
#include <QPointer>

class QAction;
class QComboBox;
class QPlainTextEdit;
class QStatusBar;

namespace drillpad {

class RichTextBox;
class CommandButton;
class ToolBar;
class FindBox;

// The main window: the sheet editor, the launch buttons with their hints,
// the menus, the toolbars with the editing and formatting tools, and the
// layout rule that follows the window's size.
class FrmMain : public QMainWindow {
    Q_OBJECT
public:
    FrmMain();

    RichTextBox *txtMain() const;
    QPlainTextEdit *txtHelp() const;
    QComboBox *cmbFont() const;
    QComboBox *cmbFontSize() const;
    QStatusBar *statusBar1() const { return statusBar_; }
    ToolBar *toolbarSYSTEM() const;
    ToolBar *toolbarEdit() const;
    // The find box, once it has been opened.
    FindBox *findBox() const;
    CommandButton *button(const char *name) const;
    QAction *menuAction(const char *name) const;
    // The client area, in which every control is placed in twips.
    QWidget *clientArea() const { return client_; }
    const forms::ControlMap &controls() const { return controls_; }

    // Sizes the window so that its client area measures `size` twips.
    void setClientSizeTwips(const TwipsSize &size);

    // Handlers, also run by the toolbar and the menus.
    void cmdGuide_Click();
    void cmdFace_Click();
    void cmdReset_Click();
    void cmdHelp_Click();
    void cmdAbout_Click();
    void cmdExit_Click();
    void mnuExit_Click();
    void mnuFileSave_Click();
    void mnuFilePrint_Click();
    void mnuFilePreview_Click();
    void mnuFilePdf_Click();
    void mnuFileAnswerKey_Click();
    void tbOpen_Click();
    void mnuPracticeRecord_Click();
    void mnuFileSettings_Click();
    void mnuPracticeSettings_Click();
    void mnuPracticeMastery_Click();
    void mnuPracticeReview_Click();
    void mnuPracticePupilAdd_Click();
    void mnuPracticePupilRename_Click();
    void mnuPracticePupilRemove_Click();
    // Starts the quiz on a preset's settings.
    void practisePreset(const QString &name);

    // The Edit menu, also run by the document toolbar.
    void mnuEditUndo_Click();
    void mnuEditRedo_Click();
    void mnuEditCut_Click();
    void mnuEditCopy_Click();
    void mnuEditPaste_Click();
    void mnuEditSelectAll_Click();
    void mnuEditFind_Click();

    // The web and mail links of the Help menu.
    void mnuHome_Click();
    void mnuWriteTo_Click();
    void mnuReportErr_Click();
    void mnuGbook_Click();

    // Each toolbar reports a click with the button; its key decides.
    void toolbarSYSTEM_ButtonClick(const QAction *button);
    void toolbarEdit_ButtonClick(const QAction *button);
    // Picking an entry from a font list applies it to the selection.
    void cmbFont_Click();
    void cmbFontSize_Click();

    // Runs when the window unloads: every window is unloaded and the
    // process ends.
    void formUnload();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Load();
    void Form_Resize();
    void connectHints();
    void connectHandlers();
    void buildToolbars();
    void buildStatusBar();
    void updateUndoRedo();
    // Presses the formatting switches and fills the font lists as the
    // format at the caret, or of the selection where it is uniform.
    void showCaretFormat();
    void showCaretAlignment();

    QWidget *client_ = nullptr;
    QStatusBar *statusBar_ = nullptr;
    forms::ControlMap controls_;
    forms::ControlMap menus_;
    QPointer<FindBox> findBox_;
};

} // namespace drillpad
