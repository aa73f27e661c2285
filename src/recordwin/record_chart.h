#pragma once

#include "record/practice_record.h"

#include <QList>
#include <QPointF>

class QChart;

namespace drillpad {

// The chart's points: x is the start of a quiz in milliseconds since the
// epoch, y its score or its seconds per question. Only finished quizzes with
// answers have a score, so only they are drawn; oldest first.
struct ProgressPoints {
    QList<QPointF> score;
    QList<QPointF> secondsPerQuestion;
};
ProgressPoints progressPoints(const QList<QuizSummary> &quizzes);

// Gives the chart its two series ("得分" on the left axis, "每题秒数" on the
// right one) and a date axis along the bottom.
void setUpProgressChart(QChart *chart);
// Replaces the points of a chart set up as above and fits its axes to them.
void showProgress(QChart *chart, const ProgressPoints &points);

} // namespace drillpad
