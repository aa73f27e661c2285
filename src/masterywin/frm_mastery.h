#pragma once

#include "controls/form_dialog.h"
#include "forms/form_builder.h"
#include "masterywin/mastery_map.h"
#include "record/practice_record.h"

class QComboBox;
class QLabel;
class QTableView;

namespace drillpad {

class CommandButton;

// 掌握情况: for the current pupil, a grid of the basic facts of one operation
// at a time, each cell showing its state; the focused cell's record below
// it, the thresholds under that. The whole map can be printed or saved as a
// PNG picture.
class FrmMastery : public FormDialog {
    Q_OBJECT
public:
    explicit FrmMastery(PracticeRecord &record = practiceRecord(), QWidget *parent = nullptr);

    const forms::ControlMap &controls() const { return controls_; }
    CommandButton *button(const char *name) const;
    QComboBox *cmbGrid() const { return cmbGrid_; }
    QTableView *tblFacts() const { return tblFacts_; }
    QLabel *label(const char *name) const;
    const MasteryModel &model() const { return *model_; }

    // Reads the current pupil's facts again.
    void reload();

    // Handlers.
    void cmbGrid_Click();
    void cmdPrint_Click();
    void cmdSave_Click();

private:
    void showCell(const QModelIndex &index);
    QString mapTitle() const;

    PracticeRecord &record_;
    forms::ControlMap controls_;
    QComboBox *cmbGrid_ = nullptr;
    QTableView *tblFacts_ = nullptr;
    MasteryModel *model_ = nullptr;
    QString pupilName_;
    FactSummaries summaries_;
};

} // namespace drillpad
