#include "masterywin/mastery_map.h"

#include <QPainter>

namespace drillpad {

FactSummaries summariesByFact(const QList<FactSummary> &summaries) {
    FactSummaries byFact;
    byFact.reserve(summaries.size());
    for (const FactSummary &summary : summaries)
        byFact.insert(summary.fact, summary);
    return byFact;
}

QColor masteryColour(MasteryState state) {
    switch (state) {
    case MasteryState::NotPractised:
        break;
    case MasteryState::Weak:
        return {0xF4, 0xA7, 0xA7};
    case MasteryState::Practising:
        return {0xFF, 0xE0, 0x8A};
    case MasteryState::Mastered:
        return {0x9F, 0xD8, 0x9F};
    }
    return {0xEE, 0xEE, 0xEE};
}

namespace {

const FactSummary *summaryOf(const BasicFact &fact, const FactSummaries &summaries) {
    const auto found = summaries.constFind(fact.key());
    return found == summaries.cend() ? nullptr : &*found;
}

MasteryState stateOf(const BasicFact &fact, const FactSummaries &summaries) {
    const FactSummary *summary = summaryOf(fact, summaries);
    return summary ? masteryOf(*summary) : MasteryState::NotPractised;
}

} // namespace

QString masteryCellText(const BasicFact &fact, const FactSummaries &summaries) {
    const FactSummary *summary = summaryOf(fact, summaries);
    const QString text = factRecordText(fact, summary);
    if (!summary || summary->attempts == 0)
        return text;
    return text + QStringLiteral(" (%1)").arg(masteryStateName(masteryOf(*summary)));
}

QString masteryLegendText() {
    return QStringLiteral("已掌握：最近 %1 次都答对，每次不超过 %2 秒。不熟：最近一次答错、跳过"
                          "或用了 %3 秒以上。练习中：其余答过的题。未练习：还没有答过。")
        .arg(kMasteredInARow)
        .arg(kFastSeconds)
        .arg(kSlowSeconds);
}

MasteryModel::MasteryModel(QObject *parent)
    : QAbstractTableModel(parent), grid_(&factGrid(FactOperation::Add)) {}

void MasteryModel::setGrid(const FactGrid &grid, const FactSummaries &summaries) {
    beginResetModel();
    grid_ = &grid;
    summaries_ = summaries;
    endResetModel();
}

std::optional<BasicFact> MasteryModel::factAt(const QModelIndex &index) const {
    if (!index.isValid())
        return std::nullopt;
    return drillpad::factAt(*grid_, grid_->firstRow + index.row(),
                            grid_->firstColumn + index.column());
}

int MasteryModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : grid_->rowCount();
}

int MasteryModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : grid_->columnCount();
}

QVariant MasteryModel::data(const QModelIndex &index, int role) const {
    const std::optional<BasicFact> fact = factAt(index);
    if (!fact)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return masteryStateName(stateOf(*fact, summaries_));
    case Qt::BackgroundRole:
        return masteryColour(stateOf(*fact, summaries_));
    case Qt::ForegroundRole:
        return QColor(Qt::black);
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    case Qt::ToolTipRole:
    case Qt::AccessibleTextRole:
        return masteryCellText(*fact, summaries_);
    default:
        return {};
    }
}

QVariant MasteryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    const bool rows = orientation == Qt::Vertical;
    if (role == Qt::DisplayRole)
        return (rows ? grid_->firstRow : grid_->firstColumn) + section;
    if (role == Qt::ToolTipRole || role == Qt::AccessibleTextRole)
        return QStringLiteral("%1 %2")
            .arg(QString::fromUtf8(rows ? grid_->rowMeaning : grid_->columnMeaning))
            .arg((rows ? grid_->firstRow : grid_->firstColumn) + section);
    return {};
}

void paintMasteryMap(QPainter &painter, const QRectF &area, const QString &title,
                     const FactSummaries &summaries) {
    painter.save();
    painter.fillRect(area, Qt::white);
    painter.setPen(Qt::black);
    QFont font = painter.font();
    const double unit = area.height() / 60; // a line of text
    font.setPixelSize(qMax(1, qRound(unit * 1.6)));
    painter.setFont(font);
    const QRectF titleBox(area.left(), area.top(), area.width(), unit * 3);
    painter.drawText(titleBox, Qt::AlignCenter, title);

    // Two grids a row, each with a line for its name and a line of numbers.
    const double legendHeight = unit * 3;
    const double gridsTop = titleBox.bottom();
    const double halfWidth = area.width() / 2,
                 halfHeight = (area.bottom() - legendHeight - gridsTop) / 2;
    font.setPixelSize(qMax(1, qRound(unit * 0.9)));
    painter.setFont(font);
    for (const FactGrid &grid : factGrids()) {
        const int at = static_cast<int>(grid.operation);
        const QRectF box(area.left() + (at % 2) * halfWidth, gridsTop + (at / 2) * halfHeight,
                         halfWidth, halfHeight);
        painter.drawText(QRectF(box.left(), box.top(), box.width(), unit * 1.5), Qt::AlignCenter,
                         QString::fromUtf8(grid.name));
        const double cell = qMin((box.width() - unit * 2) / (grid.columnCount() + 1),
                                 (box.height() - unit * 2) / (grid.rowCount() + 1));
        const double left = box.center().x() - cell * (grid.columnCount() + 1) / 2;
        const double top = box.top() + unit * 1.5;
        for (int column = 0; column < grid.columnCount(); ++column)
            painter.drawText(QRectF(left + cell * (column + 1), top, cell, cell), Qt::AlignCenter,
                             QString::number(grid.firstColumn + column));
        for (int row = 0; row < grid.rowCount(); ++row) {
            const double y = top + cell * (row + 1);
            painter.drawText(QRectF(left, y, cell, cell), Qt::AlignCenter,
                             QString::number(grid.firstRow + row));
            for (int column = 0; column < grid.columnCount(); ++column) {
                const std::optional<BasicFact> fact =
                    factAt(grid, grid.firstRow + row, grid.firstColumn + column);
                if (!fact)
                    continue;
                const QRectF place(left + cell * (column + 1), y, cell, cell);
                painter.fillRect(place, masteryColour(stateOf(*fact, summaries)));
                painter.drawRect(place);
            }
        }
    }

    // The legend: each colour with its state.
    const double legendTop = area.bottom() - legendHeight;
    const double step = area.width() / kMasteryStateCount;
    for (int state = 0; state < kMasteryStateCount; ++state) {
        const QRectF swatch(area.left() + step * state + unit, legendTop + unit, unit, unit);
        painter.fillRect(swatch, masteryColour(static_cast<MasteryState>(state)));
        painter.drawRect(swatch);
        painter.drawText(QRectF(swatch.right() + unit / 2, legendTop, step - unit * 2, unit * 3),
                         Qt::AlignVCenter | Qt::AlignLeft,
                         masteryStateName(static_cast<MasteryState>(state)));
    }
    painter.restore();
}

} // namespace drillpad
