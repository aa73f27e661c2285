#pragma once

#include "record/practice_facts.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QHash>

class QPainter;
class QRectF;

namespace drillpad {

// A pupil's fact summaries by fact key, as the map looks them up.
using FactSummaries = QHash<QString, FactSummary>;
FactSummaries summariesByFact(const QList<FactSummary> &summaries);

// The colour a cell of `state` is filled with; the state is also written in
// the cell, so the colour is never the only sign of it.
QColor masteryColour(MasteryState state);

// What the map tells about a fact: its record and its state,
// "7×8=56: 5 次, 对 4 次, 平均 2.4 秒, 上次 12月5日 (已掌握)" or "7×8=56: 未练习".
QString masteryCellText(const BasicFact &fact, const FactSummaries &summaries);

// The thresholds that decide the states, in words, as the window shows them.
QString masteryLegendText();

// One grid of the map as a table: a row per first number, a column per
// second, each cell the state of its fact (a place that holds no fact, such
// as 3-5, is empty). The tooltip and the screen reader's text of a cell are
// masteryCellText.
class MasteryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit MasteryModel(QObject *parent = nullptr);

    void setGrid(const FactGrid &grid, const FactSummaries &summaries);
    const FactGrid &grid() const { return *grid_; }
    std::optional<BasicFact> factAt(const QModelIndex &index) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const FactGrid *grid_;
    FactSummaries summaries_;
};

// Draws the whole map for the fridge into `area`: `title` on top, the four
// grids with each fact coloured by its state, and the colours' legend.
void paintMasteryMap(QPainter &painter, const QRectF &area, const QString &title,
                     const FactSummaries &summaries);

} // namespace drillpad
