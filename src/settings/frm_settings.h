#pragma once

#include "controls/form_dialog.h"
#include "forms/form_builder.h"
#include "question/question_settings.h"

#include <variant>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace drillpad {

// The window "出题设置": the rules of each question type (carrying and
// borrowing, result bounds, remainders, brackets, blanks) and the presets,
// built-in and the user's own. 确定 keeps the rules for the wizard and the
// quiz and, after a preset was loaded, hands its ticks, ranges and counts on
// to the wizard; 取消 and Esc leave everything as it was.
class FrmSettings : public FormDialog {
    Q_OBJECT
public:
    FrmSettings();

    const forms::ControlMap &controls() const { return controls_; }
    CommandButton *button(const char *name) const;
    QComboBox *combo(const char *name) const;
    QCheckBox *check(const char *name) const;
    QLineEdit *edit(const char *name) const;

    // Shows the window modally on the rules in force. `sheet` holds the
    // wizard's ticks, ranges and counts, which a saved preset keeps.
    void editSettings(const SheetSettings &sheet);
    // Puts the rules of `settings` into the controls and keeps its ticks,
    // ranges and counts.
    void showSettings(const SheetSettings &settings);

    // An entry that cannot be used: the box and what is wrong.
    struct Refusal {
        QWidget *box;
        QString message;
    };
    // The wizard's part with the rules the controls hold, or the first entry
    // that cannot be used.
    std::variant<SheetSettings, Refusal> settingsFromControls() const;

    // Handlers.
    void cmdLoad_Click();
    void cmdSave_Click();
    void cmdRename_Click();
    void cmdDelete_Click();
    void cmdDefault_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

Q_SIGNALS:
    // 确定: the settings now in force; `withSheet` when they come from a
    // loaded preset, whose ticks, ranges and counts the wizard takes.
    void settingsApplied(const SheetSettings &settings, bool withSheet);

private:
    void fillPresets(const QString &selected);
    // Shows the preset chosen in the list; false when there is none.
    bool loadPreset();
    // Shows the refusal and puts the focus on its box; false.
    bool refuse(const Refusal &refusal);
    // The settings, or nothing after telling the user what to mend.
    std::optional<SheetSettings> acceptedSettings();

    forms::ControlMap controls_;
    SheetSettings sheet_;
    bool presetLoaded_ = false;
};

} // namespace drillpad
