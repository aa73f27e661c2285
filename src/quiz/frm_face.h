#pragma once

#include "controls/form_dialog.h"
#include "forms/form_builder.h"
#include "question/question.h"
#include "question/question_settings.h"
#include "quiz/quiz_logic.h"
#include "quiz/quiz_recorder.h"
#include "record/practice_record.h"

#include <cstdint>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QTimer;

namespace drillpad {

class CommandButton;

// The quiz window: draws one question at a time for the chosen operation and
// upper bound, judges the answers, keeps the history and the running rate,
// and ends a quiz with a score and a comment. Closing only hides it, so the
// counters and the history last as long as the window object.
class FrmFace : public FormDialog {
    Q_OBJECT
public:
    FrmFace();
    // What the record still could not take is tried once more, and the
    // user told if it is lost.
    ~FrmFace() override;

    const forms::ControlMap &controls() const { return controls_; }
    CommandButton *button(const char *name) const;
    QLabel *label(const char *name) const;
    QLineEdit *txtQuestion() const { return txtQuestion_; }
    QLineEdit *txtAnswer() const { return txtAnswer_; }
    QListWidget *listHistory() const { return listHistory_; }
    QComboBox *comboFrom() const { return comboFrom_; }
    QComboBox *comboTo() const { return comboTo_; }
    QRadioButton *optActive(int index) const;
    QTimer *timer1() const { return timer1_; }

    std::int64_t totalCount() const { return TotalCount; }
    std::int64_t rightCount() const { return RightCount; }
    // The expected answer, kept as the tag of txtQuestion.
    QString expectedAnswer() const;
    // "1" while a quiz runs and is not paused, "0" otherwise (cmdPause's tag).
    QString runFlag() const;

    // Draws a question of the selected operation with operands from
    // max(1, from) to n (a range already accepted for it), shows it and stores
    // its answer. During a redo it shows the next question of the redo.
    void getQuestion(int n, int from = 1);
    // Turns the totals into the score and its comment.
    void GetCent();

    // Starts a quiz on exactly these questions (the question text as the quiz
    // shows it and the expected answer), each asked once in random order,
    // judged, counted and scored as usual and recorded as a redo. The quiz
    // finishes by itself after the last one; the next Begin draws as usual
    // again. A quiz still running is finished first. False, and nothing
    // started, when the list holds no question.
    bool startRedo(const QList<AnswerEntry> &questions);
    // True while a redo quiz runs or is paused.
    bool redoing() const;

    // Starts a quiz on the questions of a sheet with these settings (those
    // of "出题设置" or a preset), asked once each in random order and recorded
    // as asked; it finishes by itself after the last. A blank question is
    // judged on the missing number. Settings that give no question are
    // refused with a message and nothing starts (false).
    bool startPractice(const SheetSettings &settings);

    // Starts today's review of the current pupil's basic facts (planReview),
    // asked in its order and recorded as a review; it finishes by itself
    // after the last. When nothing is due it says when the next review is
    // due, and nothing starts (false).
    bool startReview();

    // Handlers.
    void cmdBegin_Click();
    void cmdOK_Click();
    void cmdJump_Click();
    void cmdPause_Click();
    void cmdFinish_Click();
    void cmdClose_Click();
    void optActive_Click(int index);
    void Timer1_Timer();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    void connectHandlers();
    Operator selectedOperation() const;
    struct OperandRange {
        int from;
        int to;
    };
    // The range in comboFrom and comboTo for the selected operation, or
    // nothing after telling the user which range is allowed (the focus goes
    // to the box to mend).
    std::optional<OperandRange> acceptedRange();
    // Asks exactly these questions (a redo, or a practice of settings).
    void startQueue(QList<quiz::QuizQuestion> queue, QuizKind kind, int from, int to);
    // Begin's work once the questions to ask are settled.
    void beginQuiz(QuizKind kind, const QString &operation, int from, int to);
    void setRunning(bool running);
    void setLabel(QLabel *label, const QString &text);
    void setRateCaption(const QString &caption);

    forms::ControlMap controls_;
    QLineEdit *txtQuestion_ = nullptr;
    QLineEdit *txtAnswer_ = nullptr;
    QListWidget *listHistory_ = nullptr;
    QComboBox *comboFrom_ = nullptr;
    QComboBox *comboTo_ = nullptr;
    QTimer *timer1_ = nullptr;
    CommandButton *cmdBegin_ = nullptr;
    CommandButton *cmdClose_ = nullptr;
    CommandButton *cmdOK_ = nullptr;
    CommandButton *cmdJump_ = nullptr;
    CommandButton *cmdPause_ = nullptr;
    CommandButton *cmdFinish_ = nullptr;
    QLabel *lblTotal_ = nullptr;
    QLabel *lblRight_ = nullptr;
    QLabel *lblCaption_ = nullptr;
    QLabel *lblCent_ = nullptr;
    QLabel *lblMemo_ = nullptr;
    QLabel *lblHint_ = nullptr;

    // Answers judged and answers judged right since the window was created.
    std::int64_t TotalCount = 0;
    std::int64_t RightCount = 0;

    // The practice record of the quiz in progress.
    quiz::QuizRecorder recorder_;
    // Set by Skip around the OK action, so the record tells skipped from typed.
    bool skipping_ = false;
    // During a redo: the questions still to ask, the last one first.
    bool redo_ = false;
    QList<quiz::QuizQuestion> redoQueue_;
    // What the record keeps of the questions being asked from the list.
    QString queueOperation_;
    int queueFrom_ = 0;
    int queueTo_ = 0;
};

} // namespace drillpad
