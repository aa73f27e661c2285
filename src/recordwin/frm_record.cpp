#include "recordwin/frm_record.h"

#include "app/forms_registry.h"
#include "controls/command_button.h"
#include "controls/file_dialogs.h"
#include "controls/message_box.h"
#include "forms/frm_record_def.h"
#include "record/record_clock.h"
#include "recordwin/record_chart.h"
#include "recordwin/record_export.h"
#include "recordwin/record_table.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPointer>
#include <QProgressDialog>
#include <QTableView>
#include <QThreadPool>
#include <QTimer>

#include <algorithm>
#include <climits>

namespace drillpad {

namespace {

// Column widths of the quiz table in twips; the last column takes the rest.
constexpr float kQuizColumnTwips[] = {1950, 1350, 1200, 900, 750, 1050, 900, 1200};
// The question and answer columns of the wrong answers' table.
constexpr float kWrongColumnTwips[] = {1800, 1350};

constexpr const char *kCsvFilter = "CSV文件 (*.csv)";
constexpr const char *kCsvFileName = "练习记录.csv";
// Up to this many selected quizzes, their mistakes are read at once; more
// are read off the interface thread.
constexpr qsizetype kQuizzesReadAtOnce = 100;
// How often the export's progress is shown.
constexpr int kProgressPollMs = 50;

template <std::size_t N> void setColumnWidths(QTableView *table, const float (&twips)[N]) {
    QHeaderView *header = table->horizontalHeader();
    // Fixed widths: measuring ten thousand rows would hold the window up.
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setStretchLastSection(true);
    for (std::size_t i = 0; i < N; ++i)
        header->resizeSection(static_cast<int>(i), twipsToPixels(twips[i]));
}

void setUpTable(QTableView *table, QAbstractItemModel *model) {
    table->setModel(model);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setAlternatingRowColors(true);
    table->setWordWrap(false);
    table->verticalHeader()->setVisible(false);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->horizontalHeader()->setHighlightSections(false);
}

} // namespace

FrmRecord::FrmRecord(PracticeRecord &record) : record_(record) {
    const forms::FormDef &def = forms::frmRecordDef();
    forms::applyWindowDef(def, this, this);
    controls_ = forms::buildControls(def, this);
    forms::applyTabOrder(def, controls_);

    cmbOperation_ = controls_.get<QComboBox>(QStringLiteral("cmbOperation"));
    cmbPupil_ = controls_.get<QComboBox>(QStringLiteral("cmbPupil"));
    tblQuizzes_ = controls_.get<QTableView>(QStringLiteral("tblQuizzes"));
    tblWrong_ = controls_.get<QTableView>(QStringLiteral("tblWrong"));
    chartProgress_ = controls_.get<QChartView>(QStringLiteral("chartProgress"));
    lblNotKept_ = controls_.get<QLabel>(QStringLiteral("lblNotKept"));

    // A filter offers its entries only; nothing is typed into it.
    cmbOperation_->setEditable(false);
    cmbOperation_->setCurrentIndex(0);
    const auto buddy = [this](const char *label, QWidget *widget) {
        controls_.get<QLabel>(QString::fromLatin1(label))->setBuddy(widget);
    };
    buddy("lblOperation", cmbOperation_);
    buddy("lblPupil", cmbPupil_);
    cmbPupil_->setEditable(false);
    cmbPupil_->setProperty("pupilId", record_.currentPupilId());
    buddy("lblQuizzes", tblQuizzes_);
    buddy("lblWrong", tblWrong_);

    setUpTables();
    chartProgress_->setRenderHint(QPainter::Antialiasing);
    setUpProgressChart(chartProgress_->chart());
    setCancelButton(button("cmdClose"));

    connectHandlers();
    reload();
    placeFocus();
}

CommandButton *FrmRecord::button(const char *name) const {
    return controls_.get<CommandButton>(QString::fromLatin1(name));
}

QChart *FrmRecord::chart() const {
    return chartProgress_->chart();
}

void FrmRecord::setUpTables() {
    quizModel_ = new QuizTableModel(this);
    wrongModel_ = new WrongAnswerModel(this);
    setUpTable(tblQuizzes_, quizModel_);
    setUpTable(tblWrong_, wrongModel_);
    tblQuizzes_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tblWrong_->setSelectionMode(QAbstractItemView::SingleSelection);
    setColumnWidths(tblQuizzes_, kQuizColumnTwips);
    setColumnWidths(tblWrong_, kWrongColumnTwips);
}

void FrmRecord::connectHandlers() {
    connect(cmbOperation_, &QComboBox::currentIndexChanged, this, &FrmRecord::cmbOperation_Click);
    connect(cmbPupil_, &QComboBox::currentIndexChanged, this, &FrmRecord::cmbPupil_Click);
    connect(tblQuizzes_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &FrmRecord::tblQuizzes_SelectionChange);
    const auto onClick = [this](const char *name, void (FrmRecord::*handler)()) {
        connect(button(name), &QPushButton::clicked, this, handler);
    };
    onClick("cmdRedo", &FrmRecord::cmdRedo_Click);
    onClick("cmdExport", &FrmRecord::cmdExport_Click);
    onClick("cmdClear", &FrmRecord::cmdClear_Click);
    onClick("cmdClose", &FrmRecord::cmdClose_Click);
    // A write, a finished check or a file moved aside: read again once the
    // work at hand is done.
    connect(&record_, &PracticeRecord::changed, this, [this] {
        if (std::exchange(reloadQueued_, true))
            return;
        QMetaObject::invokeMethod(
            this,
            [this] {
                reloadQueued_ = false;
                reload();
            },
            Qt::QueuedConnection);
    });
}

void FrmRecord::showKept(const QString &why) {
    const bool kept = why.isEmpty();
    for (const char *name : {"lblOperation", "cmbOperation", "lblPupil", "cmbPupil", "lblToday",
                             "lblQuizzes", "tblQuizzes", "chartProgress", "lblWrong", "tblWrong"})
        controls_.widget(QString::fromLatin1(name))->setVisible(kept);
    lblNotKept_->setVisible(!kept);
    lblNotKept_->setText(why);
    button("cmdExport")->setEnabled(kept);
    button("cmdClear")->setEnabled(kept);
    // Focus left on a control that went away goes where it can act.
    if (QWidget *focus = focusWidget(); focus && !focus->isVisibleTo(this))
        placeFocus();
}

void FrmRecord::placeFocus() {
    (tblQuizzes_->isVisibleTo(this) ? static_cast<QWidget *>(tblQuizzes_) : button("cmdClose"))
        ->setFocus();
}

void FrmRecord::reload() {
    std::optional<QList<QuizSummary>> quizzes;
    QString why;
    if (!record_.isOpen())
        why = QStringLiteral("现在没有保存练习记录。");
    else if (record_.isChecking())
        why = QStringLiteral("正在检查练习记录文件，请稍候……");
    else if (fillPupilFilter();
             !(quizzes = record_.quizzes(operationOfFilter(cmbOperation_->currentIndex()),
                                         pupilOfFilter())))
        why = QStringLiteral("练习记录现在无法读取。");
    if (!why.isEmpty() && !record_.problem().isEmpty() && !record_.isChecking())
        why += QStringLiteral("\n\n") + record_.problem();
    showKept(why);
    quizModel_->setQuizzes(quizzes.value_or(QList<QuizSummary>()));
    const ProgressPoints points = progressPoints(quizModel_->quizzes());
    showProgress(chart(), points);
    chartProgress_->setAccessibleDescription(progressSummary(points));
    showToday();
    // The newest quiz is selected, so that its mistakes show at once.
    if (quizModel_->rowCount() > 0)
        tblQuizzes_->selectRow(0);
    tblQuizzes_SelectionChange();
    reportProblem();
}

void FrmRecord::reportProblem() {
    if (!isVisible())
        return;
    const QString problem = record_.takeProblemToReport();
    if (!problem.isEmpty())
        showWarning(this, problem);
}

void FrmRecord::showEvent(QShowEvent *event) {
    FormDialog::showEvent(event);
    // Each opening shows the pupil who practises now, whoever was chosen
    // in the filter the last time.
    if (const qint64 current = record_.currentPupilId();
        current != cmbPupil_->property("pupilId").toLongLong()) {
        cmbPupil_->setProperty("pupilId", current);
        reload();
    }
    QMetaObject::invokeMethod(this, &FrmRecord::reportProblem, Qt::QueuedConnection);
}

QList<qint64> FrmRecord::selectedQuizIds() const {
    QList<qint64> ids;
    const QModelIndexList rows = tblQuizzes_->selectionModel()->selectedRows();
    ids.reserve(rows.size());
    for (const QModelIndex &row : rows)
        ids << quizModel_->quiz(row.row()).id;
    std::sort(ids.begin(), ids.end());
    return ids;
}

void FrmRecord::fillPupilFilter() {
    const std::optional<QList<Pupil>> pupils = record_.pupils();
    const qint64 chosen = cmbPupil_->property("pupilId").toLongLong();
    const QSignalBlocker quiet(cmbPupil_);
    cmbPupil_->clear();
    cmbPupil_->addItem(QStringLiteral("全部"), qint64(0));
    for (const Pupil &pupil : pupils.value_or(QList<Pupil>()))
        cmbPupil_->addItem(pupil.name, pupil.id);
    cmbPupil_->setCurrentIndex(qMax(0, cmbPupil_->findData(chosen)));
}

qint64 FrmRecord::pupilOfFilter() const {
    return cmbPupil_->currentData().toLongLong();
}

void FrmRecord::cmbPupil_Click() {
    cmbPupil_->setProperty("pupilId", pupilOfFilter());
    reload();
}

void FrmRecord::showToday() {
    const std::optional<Pupil> pupil = record_.currentPupil();
    const std::optional<QList<DayPractice>> days =
        pupil ? record_.practiceDays(pupil->id) : std::nullopt;
    QString text;
    if (days) {
        const TodayFigures today = todayFigures(*days, recordNow().date());
        text = QStringLiteral("%1今天练了 %2 分钟, %3 题; 连续 %4 天")
                   .arg(pupil->name)
                   .arg(qRound(today.seconds / 60))
                   .arg(today.questions)
                   .arg(today.daysInARow);
    }
    QLabel *label = controls_.get<QLabel>(QStringLiteral("lblToday"));
    label->setText(text);
    label->setAccessibleName(text);
}

void FrmRecord::cmbOperation_Click() {
    reload();
}

void FrmRecord::tblQuizzes_SelectionChange() {
    const QList<qint64> ids = selectedQuizIds();
    const int request = ++wrongRequest_;
    if (ids.size() <= kQuizzesReadAtOnce) {
        showWrong(record_.wrongAndSkipped(ids).value_or(QList<AnswerEntry>()));
        return;
    }
    // Thousands of quizzes take longer than the window may stop answering:
    // they are read on a thread of its own and shown when read, unless the
    // selection changed meanwhile.
    showWrong({});
    QThreadPool::globalInstance()->start(
        [path = record_.path(), ids, request, window = QPointer<FrmRecord>(this)] {
            QList<AnswerEntry> wrong =
                RecordReader(path).wrongAndSkipped(ids).value_or(QList<AnswerEntry>());
            QMetaObject::invokeMethod(
                qApp,
                [window, request, wrong = std::move(wrong)] {
                    if (window && window->wrongRequest_ == request)
                        window->showWrong(wrong);
                },
                Qt::QueuedConnection);
        });
}

void FrmRecord::showWrong(const QList<AnswerEntry> &answers) {
    wrongModel_->setAnswers(answers);
    button("cmdRedo")->setEnabled(wrongModel_->rowCount() > 0);
}

void FrmRecord::cmdRedo_Click() {
    const QList<AnswerEntry> questions = wrongModel_->answers();
    if (questions.isEmpty())
        return;
    Q_EMIT redoRequested(questions);
    // The redo is a quiz of the record now.
    reload();
}

void FrmRecord::cmdExport_Click() {
    if (const std::optional<QString> path =
            chooseSavePath(this, QString::fromUtf8(kCsvFilter), QString::fromUtf8(kCsvFileName),
                           QStringLiteral(".csv")))
        exportTo(*path);
}

void FrmRecord::exportTo(const QString &path) {
    CsvExport job(record_.path(), path);
    job.start();
    QProgressDialog progress(QStringLiteral("正在导出练习记录……"), QStringLiteral("取消"), 0, 0,
                             this);
    progress.setWindowTitle(QString::fromLatin1(kAppTitle));
    progress.setWindowModality(Qt::WindowModal);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setMinimumDuration(0);
    progress.show();
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(kProgressPollMs);
    connect(&poll, &QTimer::timeout, &loop, [&] {
        if (progress.wasCanceled())
            job.cancel();
        if (job.total() > 0) {
            progress.setMaximum(static_cast<int>(std::min<qint64>(job.total(), INT_MAX)));
            progress.setValue(static_cast<int>(std::min<qint64>(job.written(), INT_MAX)));
        }
        if (job.stage() == CsvExport::Stage::Written && !job.cancelled()) {
            // Past this point the old file is replaced; there is no going back.
            progress.setCancelButton(nullptr);
            progress.setLabelText(QStringLiteral("正在写入磁盘……"));
            job.commit();
        }
        if (job.stage() == CsvExport::Stage::Finished)
            loop.quit();
    });
    poll.start();
    loop.exec();
    job.wait();
    progress.close();
    const FileStatus status = job.status();
    if (job.cancelled() || status.ok())
        return;
    showWarning(
        this,
        QStringLiteral("无法保存文件“%1”:%2").arg(QDir::toNativeSeparators(path), status.error));
    if (job.recordDamaged())
        record_.moveAsideDamaged();
}

void FrmRecord::cmdClear_Click() {
    if (!askYesNo(this, QStringLiteral("要清除全部练习记录吗？清除后无法恢复。")))
        return;
    if (!record_.clear())
        showWarning(this, QStringLiteral("练习记录没有清除:") + record_.problem());
    reload();
}

void FrmRecord::cmdClose_Click() {
    unloadForm(FormId::Record);
}

void FrmRecord::closeEvent(QCloseEvent *event) {
    // The close box unloads the window, as Close does.
    event->accept();
    unloadForm(FormId::Record);
}

} // namespace drillpad
