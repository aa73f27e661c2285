#pragma once

#include "controls/form_dialog.h"
#include "forms/form_builder.h"
#include "record/practice_record.h"

#include <QList>

class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QTableView;

namespace drillpad {

class CommandButton;
class QuizTableModel;
class WrongAnswerModel;

// The practice record: every quiz in a table, newest first, with a chart of
// score and seconds per question over time, both filtered by operation; the
// wrong and skipped questions of the selected quizzes below, which
// "重做错题" hands on to the quiz window. The record can be exported as CSV and
// cleared. When the record is not being kept, the window says so and why.
class FrmRecord : public FormDialog {
    Q_OBJECT
public:
    explicit FrmRecord(PracticeRecord &record = practiceRecord());

    const forms::ControlMap &controls() const { return controls_; }
    CommandButton *button(const char *name) const;
    QComboBox *cmbOperation() const { return cmbOperation_; }
    QComboBox *cmbPupil() const { return cmbPupil_; }
    QTableView *tblQuizzes() const { return tblQuizzes_; }
    QTableView *tblWrong() const { return tblWrong_; }
    QChartView *chartProgress() const { return chartProgress_; }
    QChart *chart() const;
    QLabel *lblNotKept() const { return lblNotKept_; }
    const QuizTableModel &quizModel() const { return *quizModel_; }
    const WrongAnswerModel &wrongModel() const { return *wrongModel_; }

    // Reads the record again, keeping the filter.
    void reload();

    // Handlers.
    void cmbOperation_Click();
    void cmbPupil_Click();
    void tblQuizzes_SelectionChange();
    void cmdRedo_Click();
    void cmdExport_Click();
    void cmdClear_Click();
    void cmdClose_Click();

Q_SIGNALS:
    // "重做错题": the quiz should ask these questions again. Whoever opened
    // the window connects it to the quiz window; the record is read again
    // once the connected handlers return.
    void redoRequested(const QList<AnswerEntry> &questions);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void setUpTables();
    void connectHandlers();
    // Shows the tables and the chart, or in their place why there is nothing
    // to show (`why` empty: the record is shown).
    void showKept(const QString &why);
    void placeFocus();
    // Tells, once, what the record has to report (a file moved aside, new
    // trouble).
    void reportProblem();
    // Writes the record as CSV to `path` with a progress dialog.
    void exportTo(const QString &path);
    QList<qint64> selectedQuizIds() const;
    // Lists the pupils in the filter again, keeping the one chosen (the
    // current pupil when the window opens).
    void fillPupilFilter();
    qint64 pupilOfFilter() const;
    void showToday();
    void showWrong(const QList<AnswerEntry> &answers);

    PracticeRecord &record_;
    forms::ControlMap controls_;
    QComboBox *cmbOperation_ = nullptr;
    QComboBox *cmbPupil_ = nullptr;
    QTableView *tblQuizzes_ = nullptr;
    QTableView *tblWrong_ = nullptr;
    QChartView *chartProgress_ = nullptr;
    QLabel *lblNotKept_ = nullptr;
    QuizTableModel *quizModel_ = nullptr;
    WrongAnswerModel *wrongModel_ = nullptr;
    bool reloadQueued_ = false;
    // Counts the readings of the wrong answers; only the latest is shown.
    int wrongRequest_ = 0;
};

} // namespace drillpad
