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

// The date axis's format for points from `firstMs` to `lastMs` (local
// time): hours within two days, dates beyond, with the year when the points
// lie in different years.
QString dateAxisFormat(qint64 firstMs, qint64 lastMs);

// What the chart shows, in words for a screen reader: how many quizzes, the
// newest scores and seconds per question, and whether the newer half of the
// quizzes scores higher (by a point or more) and answers faster (by half a
// second or more a question) than the older half.
QString progressSummary(const ProgressPoints &points);

// Gives the chart its two series ("得分" on the left axis, "每题秒数" on the
// right one) and a date axis along the bottom.
void setUpProgressChart(QChart *chart);
// Replaces the points of a chart set up as above and fits its axes to them.
void showProgress(QChart *chart, const ProgressPoints &points);

} // namespace drillpad
