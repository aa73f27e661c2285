#include "recordwin/frm_record.h"

#include "app/forms_registry.h"
#include "controls/command_button.h"
#include "controls/file_dialogs.h"
#include "controls/message_box.h"
#include "forms/frm_record_def.h"
#include "recordwin/record_chart.h"
#include "recordwin/record_csv.h"
#include "recordwin/record_table.h"
#include "rtf/rtf_file.h"

#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QStandardPaths>
#include <QTableView>

#include <algorithm>

namespace drillpad {

namespace {

// Column widths of the quiz table in twips; the last column takes the rest.
constexpr float kQuizColumnTwips[] = {1950, 1350, 1200, 900, 750, 1050, 900, 1200};
// The question and answer columns of the wrong answers' table.
constexpr float kWrongColumnTwips[] = {1800, 1350};

constexpr const char *kCsvFilter = "CSV文件 (*.csv)";
constexpr const char *kCsvFileName = "练习记录.csv";

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
    buddy("lblQuizzes", tblQuizzes_);
    buddy("lblWrong", tblWrong_);

    setUpTables();
    chartProgress_->setRenderHint(QPainter::Antialiasing);
    setUpProgressChart(chartProgress_->chart());
    setCancelButton(button("cmdClose"));

    connectHandlers();
    reload();
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
    connect(tblQuizzes_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &FrmRecord::tblQuizzes_SelectionChange);
    const auto onClick = [this](const char *name, void (FrmRecord::*handler)()) {
        connect(button(name), &QPushButton::clicked, this, handler);
    };
    onClick("cmdRedo", &FrmRecord::cmdRedo_Click);
    onClick("cmdExport", &FrmRecord::cmdExport_Click);
    onClick("cmdClear", &FrmRecord::cmdClear_Click);
    onClick("cmdClose", &FrmRecord::cmdClose_Click);
}

void FrmRecord::showKept(bool kept) {
    for (const char *name : {"lblOperation", "cmbOperation", "lblQuizzes", "tblQuizzes",
                             "chartProgress", "lblWrong", "tblWrong"})
        controls_.widget(QString::fromLatin1(name))->setVisible(kept);
    lblNotKept_->setVisible(!kept);
    button("cmdExport")->setEnabled(kept);
    button("cmdClear")->setEnabled(kept);
    if (kept)
        return;
    const QString problem = record_.problem();
    lblNotKept_->setText(QStringLiteral("现在没有保存练习记录。") +
                         (problem.isEmpty() ? QString() : QStringLiteral("\n\n") + problem));
}

void FrmRecord::reload() {
    const bool kept = record_.isOpen();
    showKept(kept);
    quizModel_->setQuizzes(kept ? record_.quizzes(operationOfFilter(cmbOperation_->currentIndex()))
                                : QList<QuizSummary>());
    showProgress(chart(), progressPoints(quizModel_->quizzes()));
    // The newest quiz is selected, so that its mistakes show at once.
    if (quizModel_->rowCount() > 0)
        tblQuizzes_->selectRow(0);
    tblQuizzes_SelectionChange();
    (kept ? static_cast<QWidget *>(tblQuizzes_) : button("cmdClose"))->setFocus();
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

void FrmRecord::cmbOperation_Click() {
    reload();
}

void FrmRecord::tblQuizzes_SelectionChange() {
    const QList<qint64> ids = selectedQuizIds();
    wrongModel_->setAnswers(ids.isEmpty() ? QList<AnswerEntry>() : record_.wrongAndSkipped(ids));
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
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const FileChoice initial{QDir(folder).filePath(QString::fromUtf8(kCsvFileName)), 0};
    const std::optional<FileChoice> choice =
        Seam<FileDialogs>::get().saveFile(this, {QString::fromUtf8(kCsvFilter)}, initial);
    if (!choice || choice->path.isEmpty())
        return;
    const FileStatus status =
        writeFileAtomically(choice->path, recordCsv(record_.quizzes(), record_.allAnswers()));
    if (!status.ok())
        showWarning(this, QStringLiteral("无法保存文件“%1”:%2")
                              .arg(QDir::toNativeSeparators(choice->path), status.error));
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
