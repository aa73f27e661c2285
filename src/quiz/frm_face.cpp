#include "quiz/frm_face.h"

#include "controls/command_button.h"
#include "controls/message_box.h"
#include "forms/frm_face_def.h"
#include "question/random.h"
#include "quiz/practice_questions.h"
#include "quiz/quiz_logic.h"
#include "record/record_clock.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QRadioButton>
#include <QShowEvent>
#include <QTimer>

namespace drillpad {

namespace {

// A text box has no tag of its own; the expected answer travels as this
// property of txtQuestion.
constexpr const char *kTagProperty = "tag";

constexpr const char *kRunning = "1";
constexpr const char *kStopped = "0";
constexpr const char *kPauseCaption = "暂停[&P]";
constexpr const char *kPausedCaption = "暂停中...";
constexpr const char *kRateCaption = "正确率:";
constexpr const char *kScoreCaption = "总分:";
constexpr int kComboToItems = 100;

QString text(const char *utf8) {
    return QString::fromUtf8(utf8);
}

// What the number beside a caption such as "总分:" is, for screen readers.
QString withoutColon(const QString &caption) {
    QString name = caption;
    if (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    return name;
}

} // namespace

FrmFace::FrmFace() : recorder_([this](const QString &problem) { showWarning(this, problem); }) {
    const forms::FormDef &def = forms::frmFaceDef();
    forms::applyWindowDef(def, this, this);
    controls_ = forms::buildControls(def, this);
    forms::applyTabOrder(def, controls_);

    txtQuestion_ = controls_.get<QLineEdit>(QStringLiteral("txtQuestion"));
    txtAnswer_ = controls_.get<QLineEdit>(QStringLiteral("txtAnswer"));
    listHistory_ = controls_.get<QListWidget>(QStringLiteral("listHistory"));
    comboFrom_ = controls_.get<QComboBox>(QStringLiteral("comboFrom"));
    comboTo_ = controls_.get<QComboBox>(QStringLiteral("comboTo"));
    timer1_ = controls_.get<QTimer>(QStringLiteral("Timer1"));
    cmdBegin_ = button("cmdBegin");
    cmdClose_ = button("cmdClose");
    cmdOK_ = button("cmdOK");
    cmdJump_ = button("cmdJump");
    cmdPause_ = button("cmdPause");
    cmdFinish_ = button("cmdFinish");
    lblTotal_ = label("lblTotal");
    lblRight_ = label("lblRight");
    lblCaption_ = label("lblCaption");
    lblCent_ = label("lblCent");
    lblMemo_ = label("lblMemo");
    lblHint_ = label("lblHint");

    // The fonts standing in for 宋体 have a taller line than the fixed label
    // boxes were drawn for; centring the line keeps the digits inside them.
    for (QLabel *fixed : {lblTotal_, lblRight_, lblCaption_, lblHint_})
        fixed->setAlignment((fixed->alignment() & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter);

    setDefaultButton(cmdOK_);
    setCancelButton(cmdFinish_);
    cmdPause_->setTag(text(forms::kPauseDesignTag));
    txtQuestion_->setProperty(kTagProperty, QString());

    connectHandlers();
    // The timer is enabled by design, from the moment the window exists.
    timer1_->start();
    Form_Load();
}

CommandButton *FrmFace::button(const char *name) const {
    return controls_.get<CommandButton>(QString::fromLatin1(name));
}

QLabel *FrmFace::label(const char *name) const {
    return controls_.get<QLabel>(QString::fromLatin1(name));
}

QRadioButton *FrmFace::optActive(int index) const {
    return controls_.get<QRadioButton>(QStringLiteral("optActive(%1)").arg(index));
}

QString FrmFace::expectedAnswer() const {
    return txtQuestion_->property(kTagProperty).toString();
}

QString FrmFace::runFlag() const {
    return cmdPause_->tag();
}

void FrmFace::Form_Load() {
    // Adding items to an empty editable combo box would show the first one;
    // the design text stays.
    const QString design = comboTo_->currentText();
    for (int i = 1; i <= kComboToItems; ++i)
        comboTo_->addItem(QString::number(i));
    comboTo_->setEditText(design);
}

void FrmFace::connectHandlers() {
    const auto onClick = [this](CommandButton *b, void (FrmFace::*handler)()) {
        connect(b, &QPushButton::clicked, this, handler);
    };
    onClick(cmdBegin_, &FrmFace::cmdBegin_Click);
    onClick(cmdOK_, &FrmFace::cmdOK_Click);
    onClick(cmdJump_, &FrmFace::cmdJump_Click);
    onClick(cmdPause_, &FrmFace::cmdPause_Click);
    onClick(cmdFinish_, &FrmFace::cmdFinish_Click);
    onClick(cmdClose_, &FrmFace::cmdClose_Click);
    for (int i = 0; i < forms::kFaceOperationCount; ++i) {
        // A change of selection, by mouse, arrow keys or code, is the click.
        connect(optActive(i), &QRadioButton::toggled, this, [this, i](bool checked) {
            if (checked)
                optActive_Click(i);
        });
    }
    connect(timer1_, &QTimer::timeout, this, &FrmFace::Timer1_Timer);
}

Operator FrmFace::selectedOperation() const {
    constexpr Operator kOperations[] = {Operator::Add, Operator::Subtract, Operator::Multiply,
                                        Operator::Divide};
    for (int i = 0; i < forms::kFaceOperationCount; ++i) {
        if (optActive(i)->isChecked())
            return kOperations[i];
    }
    return Operator::Add;
}

std::optional<FrmFace::OperandRange> FrmFace::acceptedRange() {
    const auto refuse = [this](QComboBox *box, const QString &message) {
        showWarning(this, message);
        // The next keystroke mends the bound.
        box->setFocus(Qt::OtherFocusReason);
        box->lineEdit()->selectAll();
        return std::nullopt;
    };
    const QLocale locale = QLocale::system();
    const quiz::BoundCheck to =
        quiz::parseBound(comboTo_->currentText(), selectedOperation(), locale);
    if (!to.bound)
        return refuse(comboTo_, to.message);
    const quiz::BoundCheck from = quiz::parseFrom(comboFrom_->currentText(), *to.bound, locale);
    if (!from.bound)
        return refuse(comboFrom_, from.message);
    return OperandRange{*from.bound, *to.bound};
}

void FrmFace::setLabel(QLabel *label, const QString &caption) {
    label->setText(caption);
    const forms::ControlDef *def =
        forms::findControl(forms::frmFaceDef(), label->objectName().toLatin1().constData());
    if (def && (def->flags & forms::SizedToText))
        label->resize(label->sizeHint());
}

void FrmFace::setRateCaption(const QString &caption) {
    setLabel(lblCaption_, caption);
    lblCent_->setAccessibleDescription(withoutColon(caption));
}

void FrmFace::setRunning(bool running) {
    cmdPause_->setTag(text(running ? kRunning : kStopped));
    cmdFinish_->setEnabled(running);
    cmdOK_->setEnabled(running);
    cmdJump_->setEnabled(running);
}

void FrmFace::getQuestion(int n, int from) {
    const quiz::QuizQuestion question = redo_ && !redoQueue_.isEmpty()
                                            ? redoQueue_.takeLast()
                                            : quiz::drawQuizQuestion(selectedOperation(), from, n);
    recorder_.questionShown(question.text, question.answer);
    txtQuestion_->setText(question.text);
    txtQuestion_->setProperty(kTagProperty, question.answer);
    txtAnswer_->setFocus();
}

void FrmFace::cmdBegin_Click() {
    const std::optional<OperandRange> range = acceptedRange();
    if (!range)
        return; // stays idle
    beginQuiz(QuizKind::Normal, operatorCode(selectedOperation()), range->from, range->to);
}

void FrmFace::beginQuiz(QuizKind kind, const QString &operation, int from, int to) {
    recorder_.begin(kind, operation, from, to);
    setRateCaption(text(kRateCaption));
    setLabel(lblCent_, QStringLiteral("100%"));
    setLabel(lblMemo_, QStringLiteral("..."));
    cmdBegin_->setEnabled(false);
    cmdClose_->setEnabled(false);
    cmdPause_->setEnabled(true);
    setRunning(true);
    getQuestion(to, from);
}

void FrmFace::cmdOK_Click() {
    const QString answer = txtAnswer_->text();
    if (answer.isEmpty()) {
        txtAnswer_->setFocus();
        setLabel(lblHint_, text(quiz::kAnswerHint));
        return;
    }
    // The next question needs a usable range; refusing before judging keeps
    // the answer for when the range is mended. A redo asks its own questions.
    std::optional<OperandRange> range = OperandRange{queueFrom_, queueTo_};
    if (!redo_ && !(range = acceptedRange()))
        return;

    ++TotalCount;
    setLabel(lblTotal_, QString::number(TotalCount));
    const bool right = quiz::sameAnswer(answer, expectedAnswer());
    recorder_.answered(answer, skipping_, right,
                       redo_ ? queueOperation_ : operatorCode(selectedOperation()), range->from,
                       range->to);
    listHistory_->addItem(quiz::historyLine(TotalCount, txtQuestion_->text(), answer, right));
    listHistory_->scrollToBottom();
    if (right) {
        ++RightCount;
        setLabel(lblRight_, QString::number(RightCount));
    }
    setLabel(lblCent_,
             quiz::rateText(quiz::ratePercent(RightCount, TotalCount), QLocale::system()) +
                 QLatin1Char('%'));
    txtAnswer_->clear();
    if (redo_ && redoQueue_.isEmpty()) {
        cmdFinish_Click(); // every question of the redo asked
        return;
    }
    getQuestion(range->to, range->from);
}

void FrmFace::cmdJump_Click() {
    if (!redo_ && !acceptedRange())
        return;
    txtAnswer_->setText(text(quiz::kSkippedAnswer));
    skipping_ = true;
    cmdOK_Click();
    skipping_ = false;
}

void FrmFace::cmdPause_Click() {
    const bool pausing = runFlag() == QLatin1String(kRunning);
    if (pausing)
        recorder_.pause();
    else
        recorder_.resume();
    setRunning(!pausing);
    cmdPause_->setCaption(text(pausing ? kPausedCaption : kPauseCaption));
    // Paused, Enter on the button resumes; resumed, the next keys answer.
    if (!pausing)
        txtAnswer_->setFocus(Qt::OtherFocusReason);
}

void FrmFace::GetCent() {
    const int score = quiz::scoreOf(RightCount, TotalCount);
    setRateCaption(text(kScoreCaption));
    // With nothing judged there is no rate; the label keeps its text.
    if (TotalCount > 0)
        setLabel(lblCent_,
                 quiz::rateText(quiz::ratePercent(RightCount, TotalCount), QLocale::system()));
    setLabel(lblMemo_, quiz::commentFor(score));
}

void FrmFace::cmdFinish_Click() {
    recorder_.finish();
    redo_ = false;
    redoQueue_.clear();
    GetCent();
    cmdBegin_->setEnabled(true);
    cmdClose_->setEnabled(true);
    cmdPause_->setEnabled(false);
    setRunning(false);
}

bool FrmFace::startRedo(const QList<AnswerEntry> &questions) {
    QList<quiz::QuizQuestion> asked;
    for (const AnswerEntry &entry : questions)
        asked.append({entry.question, entry.expected});
    QList<quiz::QuizQuestion> queue = quiz::redoOrder(asked);
    if (queue.isEmpty())
        return false;
    startQueue(std::move(queue), QuizKind::Redo, 0, 0);
    return true;
}

bool FrmFace::startPractice(const SheetSettings &settings) {
    if (const std::optional<QString> problem = quiz::practiceProblem(settings)) {
        showWarning(this, *problem);
        return false;
    }
    // The record keeps the range of the first ticked type.
    int from = 0, to = 0;
    for (const QuestionType type : kQuestionTypes) {
        if (settings[type].selected && settings[type].count > 0) {
            from = settings[type].from;
            to = settings[type].to;
            break;
        }
    }
    startQueue(quiz::practiceQuestions(settings), QuizKind::Normal, from, to);
    return true;
}

bool FrmFace::startReview() {
    PracticeRecord &record = practiceRecord();
    const std::optional<Pupil> pupil = record.currentPupil();
    const std::optional<QList<FactSummary>> facts =
        pupil ? record.factSummaries(pupil->id) : std::nullopt;
    if (!facts) {
        showWarning(this, QStringLiteral("练习记录现在无法读取，今日复习没有开始。"));
        return false;
    }
    const QDate today = recordNow().date();
    const ReviewPlan plan =
        planReview(*facts, today, [](int n) { return randomBetween(0, n - 1); });
    if (plan.questions.isEmpty()) {
        showMessage(this, reviewNotDueText(pupil->name, plan.nextDue, today));
        return false;
    }
    QList<quiz::QuizQuestion> queue;
    for (const BasicFact &fact : plan.questions)
        queue.append({fact.question(), QString::number(fact.answer())});
    startQueue(std::move(queue), QuizKind::Review, 0, 0);
    return true;
}

void FrmFace::startQueue(QList<quiz::QuizQuestion> queue, QuizKind kind, int from, int to) {
    if (!cmdBegin_->isEnabled()) {
        cmdFinish_Click();
        cmdPause_->setCaption(text(kPauseCaption));
    }
    queueOperation_ = quiz::sharedOperationCode(queue);
    queueFrom_ = from;
    queueTo_ = to;
    // Asked from the end of the list.
    std::reverse(queue.begin(), queue.end());
    redo_ = true;
    redoQueue_ = std::move(queue);
    beginQuiz(kind, queueOperation_, from, to);
}

bool FrmFace::redoing() const {
    return redo_;
}

void FrmFace::cmdClose_Click() {
    hide();
}

void FrmFace::optActive_Click(int) {
    if (cmdBegin_->isEnabled() || redo_)
        return; // idle, or a redo that asks its own questions: only the selection changes
    if (const std::optional<OperandRange> range = acceptedRange())
        getQuestion(range->to, range->from);
    // An arrow key moves the focus to the newly chosen button after the
    // choice is made; then the focus goes back where this handler put it
    // (the answer box, or the refused bound).
    QPointer<QWidget> next = focusWidget();
    QMetaObject::invokeMethod(
        this,
        [next] {
            if (next && next->isEnabled())
                next->setFocus(Qt::OtherFocusReason);
        },
        Qt::QueuedConnection);
}

void FrmFace::Timer1_Timer() {
    if (runFlag() == QLatin1String(kRunning))
        lblHint_->clear();
}

void FrmFace::showEvent(QShowEvent *event) {
    FormDialog::showEvent(event);
    // The first stop of the tab order; idle, that is where a quiz begins.
    if (cmdBegin_->isEnabled())
        cmdBegin_->setFocus(Qt::OtherFocusReason);
}

FrmFace::~FrmFace() {
    recorder_.writeBeforeExit();
}

void FrmFace::hideEvent(QHideEvent *event) {
    FormDialog::hideEvent(event);
    // What the record could not take yet is tried once more, and what still
    // waits is said before the pupil walks away.
    recorder_.writeOnClose();
}

void FrmFace::closeEvent(QCloseEvent *event) {
    // Like its Close button, the title bar closes the window only when no
    // quiz is running or paused.
    if (!cmdClose_->isEnabled()) {
        event->ignore();
        return;
    }
    FormDialog::closeEvent(event);
}

} // namespace drillpad
