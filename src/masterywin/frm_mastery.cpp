#include "masterywin/frm_mastery.h"

#include "controls/command_button.h"
#include "controls/file_dialogs.h"
#include "controls/message_box.h"
#include "controls/print_dialog.h"
#include "controls/twips.h"
#include "forms/frm_mastery_def.h"
#include "rtf/rtf_file.h"

#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QTableView>

namespace drillpad {

namespace {

constexpr const char *kPngFilter = "PNG图片 (*.png)";
constexpr const char *kPngFileName = "掌握情况.png";
// The picture for the fridge: A4 landscape at about 150 dots per inch.
constexpr QSize kPictureSize(1754, 1240);
constexpr float kCellTwips = 720;

} // namespace

FrmMastery::FrmMastery(PracticeRecord &record, QWidget *parent)
    : FormDialog(parent), record_(record) {
    const forms::FormDef &def = forms::frmMasteryDef();
    forms::applyWindowDef(def, this, this);
    controls_ = forms::buildControls(def, this);
    forms::applyTabOrder(def, controls_);

    cmbGrid_ = controls_.get<QComboBox>(QStringLiteral("cmbGrid"));
    tblFacts_ = controls_.get<QTableView>(QStringLiteral("tblFacts"));
    cmbGrid_->setEditable(false);
    cmbGrid_->setCurrentIndex(0);
    label("lblGrid")->setBuddy(cmbGrid_);
    label("lblFacts")->setBuddy(tblFacts_);
    // A value label is named by its value.
    label("lblLegend")->setText(masteryLegendText());
    label("lblLegend")->setAccessibleName(masteryLegendText());

    model_ = new MasteryModel(this);
    tblFacts_->setModel(model_);
    tblFacts_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblFacts_->setSelectionMode(QAbstractItemView::SingleSelection);
    tblFacts_->setSelectionBehavior(QAbstractItemView::SelectItems);
    tblFacts_->setWordWrap(false);
    tblFacts_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    tblFacts_->horizontalHeader()->setDefaultSectionSize(twipsToPixels(kCellTwips));
    tblFacts_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    tblFacts_->verticalHeader()->setDefaultSectionSize(tblFacts_->fontMetrics().height() + 6);
    tblFacts_->setMouseTracking(true);

    connect(cmbGrid_, &QComboBox::currentIndexChanged, this, &FrmMastery::cmbGrid_Click);
    connect(tblFacts_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) { showCell(current); });
    connect(button("cmdPrint"), &QPushButton::clicked, this, &FrmMastery::cmdPrint_Click);
    connect(button("cmdSave"), &QPushButton::clicked, this, &FrmMastery::cmdSave_Click);
    connect(button("cmdClose"), &QPushButton::clicked, this, &QDialog::reject);
    connect(&record_, &PracticeRecord::changed, this, &FrmMastery::reload);
    setCancelButton(button("cmdClose"));
    reload();
    tblFacts_->setFocus();
}

CommandButton *FrmMastery::button(const char *name) const {
    return controls_.get<CommandButton>(QString::fromLatin1(name));
}

QLabel *FrmMastery::label(const char *name) const {
    return controls_.get<QLabel>(QString::fromLatin1(name));
}

void FrmMastery::reload() {
    const std::optional<Pupil> pupil = record_.currentPupil();
    const std::optional<QList<FactSummary>> facts =
        pupil ? record_.factSummaries(pupil->id) : std::nullopt;
    pupilName_ = pupil ? pupil->name : QString();
    summaries_ = facts ? summariesByFact(*facts) : FactSummaries();
    const QString shown = !facts ? QStringLiteral("练习记录现在无法读取，下面的题都按未练习显示。")
                                 : QStringLiteral("练习者: %1").arg(pupilName_);
    label("lblPupil")->setText(shown);
    label("lblPupil")->setAccessibleName(shown);
    const QModelIndex current = tblFacts_->currentIndex();
    model_->setGrid(factGrids()[static_cast<std::size_t>(qMax(0, cmbGrid_->currentIndex()))],
                    summaries_);
    const QModelIndex again = model_->index(qMax(0, current.row()), qMax(0, current.column()));
    tblFacts_->setCurrentIndex(again);
    showCell(again);
}

void FrmMastery::cmbGrid_Click() {
    tblFacts_->setCurrentIndex({});
    reload();
}

void FrmMastery::showCell(const QModelIndex &index) {
    const std::optional<BasicFact> fact = model_->factAt(index);
    const QString text = fact ? masteryCellText(*fact, summaries_) : QString();
    label("lblCell")->setText(text);
    label("lblCell")->setAccessibleName(text);
}

QString FrmMastery::mapTitle() const {
    return QStringLiteral("%1的掌握情况（%2）")
        .arg(pupilName_, QDate::currentDate().toString(QStringLiteral("yyyy年M月d日")));
}

void FrmMastery::cmdPrint_Click() {
    QPrinter *printer = choosePrinter(this, false);
    if (!printer)
        return;
    QPainter painter;
    if (!painter.begin(printer)) {
        showWarning(this, QStringLiteral("无法打印掌握情况：打印机没有准备好。"));
        return;
    }
    const QRectF page = printer->pageLayout().paintRectPixels(printer->resolution());
    paintMasteryMap(painter, QRectF(QPointF(0, 0), page.size()), mapTitle(), summaries_);
    painter.end();
}

void FrmMastery::cmdSave_Click() {
    const std::optional<QString> path =
        chooseSavePath(this, QString::fromUtf8(kPngFilter), QString::fromUtf8(kPngFileName),
                       QStringLiteral(".png"));
    if (!path)
        return;
    QImage picture(kPictureSize, QImage::Format_RGB32);
    QPainter painter(&picture);
    paintMasteryMap(painter, QRectF(picture.rect()), mapTitle(), summaries_);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    const FileStatus status = writeFileAtomically(*path, bytes);
    if (!status.ok())
        showWarning(this, QStringLiteral("无法保存文件“%1”:%2")
                              .arg(QDir::toNativeSeparators(*path), status.error));
}

} // namespace drillpad
