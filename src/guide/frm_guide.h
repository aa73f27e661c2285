#pragma once

#include "controls/form_dialog.h"
#include "forms/form_builder.h"
#include "guide/guide_entries.h"

#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;

namespace drillpad {

class FrameBox;

class CommandButton;

// The exercise-sheet wizard: three pages (types, ranges, counts) stacked in
// one place, moved through with Next and Back; Finish hands the sheet to the
// window that keeps it and hides the wizard, which keeps its settings until
// it is unloaded by Cancel or by closing it.
class FrmGuide : public FormDialog {
    Q_OBJECT
public:
    FrmGuide();

    const forms::ControlMap &controls() const { return controls_; }
    CommandButton *button(const char *name) const;
    FrameBox *page(int number) const; // Step1 to Step3
    QPlainTextEdit *txtGuideHelp() const;
    QCheckBox *chkSelectAll() const;
    QCheckBox *typeCheck(QuestionType type) const;
    // The box that holds one field of a type: a range box (a combo box) or
    // the count box (a line edit).
    QWidget *entryBox(QuestionType type, GuideField field) const;
    // The text of an entry box.
    QString entryText(QuestionType type, GuideField field) const;
    void setEntryText(QuestionType type, GuideField field, const QString &text);

    // The settings as the controls hold them now.
    GuideEntries entries() const;
    // The ticks, ranges and counts as far as they read as numbers (the
    // others as a fresh wizard has them), for "出题设置" to keep with a preset.
    SheetSettings sheetPart() const;
    // Shows a preset's ticks, ranges and counts in the boxes.
    void showSheetPart(const SheetSettings &settings);

    // Asked before Finish or Reset replaces the sheet, which may hold work
    // not yet saved: false keeps the sheet, and the wizard where it was.
    void setSheetGuard(std::function<bool()> mayReplaceSheet);

    // Event handlers.
    void cmdNext_Click();
    void cmdBack_Click();
    void cmdReset_Click();
    void cmdCancle_Click();
    void chkSelectAll_Click();
    void cmdSettings_Click();

Q_SIGNALS:
    // The sheet's new text: the written sheet at Finish, empty at Reset. The
    // window that keeps the sheet replaces its document with it.
    void sheetReplaced(const QString &text);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    void connectHandlers();
    void hideAllPages();
    void showPage(int number);
    void setNextCaption(const char *caption);
    // Back on a page of entries, its Next button captioned for it.
    void returnToPage(int number);
    // Writes the sheet, or refuses the entries, puts the wizard back on the
    // page of the offending box, gives it the focus and returns false.
    bool finish();

    forms::ControlMap controls_;
    std::function<bool()> mayReplaceSheet_;
};

} // namespace drillpad
