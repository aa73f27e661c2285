#include "recordwin/record_chart.h"

#include <QChart>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QValueAxis>

#include <algorithm>

namespace drillpad {

namespace {

constexpr double kHighestScore = 100;
// One day, so that a single quiz still gets an axis around it.
constexpr qint64 kDayMs = 24 * 60 * 60 * 1000;

QLineSeries *seriesAt(const QChart *chart, int index) {
    const QList<QAbstractSeries *> all = chart->series();
    return index < all.size() ? qobject_cast<QLineSeries *>(all.at(index)) : nullptr;
}

template <typename Axis> Axis *axisOf(const QChart *chart, Qt::Alignment alignment) {
    const QList<QAbstractAxis *> axes = chart->axes(Qt::Horizontal | Qt::Vertical);
    for (QAbstractAxis *axis : axes) {
        if (axis->alignment() == alignment)
            return qobject_cast<Axis *>(axis);
    }
    return nullptr;
}

QLineSeries *addSeries(QChart *chart, const QString &name, QAbstractAxis *time,
                       QAbstractAxis *values) {
    auto *series = new QLineSeries(chart);
    series->setName(name);
    series->setPointsVisible(true);
    chart->addSeries(series);
    series->attachAxis(time);
    series->attachAxis(values);
    return series;
}

} // namespace

ProgressPoints progressPoints(const QList<QuizSummary> &quizzes) {
    ProgressPoints points;
    // The record lists the newest first; time runs left to right.
    for (auto it = quizzes.crbegin(); it != quizzes.crend(); ++it) {
        if (!it->finished || it->answered <= 0)
            continue;
        const auto x = static_cast<double>(it->started.toMSecsSinceEpoch());
        points.score.append({x, static_cast<double>(it->score)});
        points.secondsPerQuestion.append({x, it->secondsPerQuestion()});
    }
    return points;
}

void setUpProgressChart(QChart *chart) {
    chart->legend()->setAlignment(Qt::AlignTop);
    chart->setMargins({4, 4, 4, 4});

    auto *time = new QDateTimeAxis(chart);
    time->setFormat(QStringLiteral("MM-dd"));
    time->setTitleText(QStringLiteral("日期"));
    chart->addAxis(time, Qt::AlignBottom);

    auto *score = new QValueAxis(chart);
    score->setRange(0, kHighestScore);
    score->setLabelFormat(QStringLiteral("%d"));
    score->setTitleText(QStringLiteral("得分"));
    chart->addAxis(score, Qt::AlignLeft);

    auto *seconds = new QValueAxis(chart);
    seconds->setLabelFormat(QStringLiteral("%.0f"));
    seconds->setTitleText(QStringLiteral("每题秒数"));
    chart->addAxis(seconds, Qt::AlignRight);

    addSeries(chart, QStringLiteral("得分"), time, score);
    addSeries(chart, QStringLiteral("每题秒数"), time, seconds);
}

void showProgress(QChart *chart, const ProgressPoints &points) {
    QLineSeries *score = seriesAt(chart, 0);
    QLineSeries *seconds = seriesAt(chart, 1);
    auto *time = axisOf<QDateTimeAxis>(chart, Qt::AlignBottom);
    auto *secondsAxis = axisOf<QValueAxis>(chart, Qt::AlignRight);
    if (!score || !seconds || !time || !secondsAxis)
        return;
    // replace() redraws once for the whole list, however long.
    score->replace(points.score);
    seconds->replace(points.secondsPerQuestion);

    if (points.score.isEmpty()) {
        const QDateTime now = QDateTime::currentDateTime();
        time->setRange(now.addDays(-1), now);
        secondsAxis->setRange(0, 10);
        return;
    }
    // Points run oldest first.
    auto first = static_cast<qint64>(points.score.constFirst().x());
    auto last = static_cast<qint64>(points.score.constLast().x());
    if (last - first < kDayMs) {
        first -= kDayMs / 2;
        last += kDayMs / 2;
    }
    // Dates for a record of several days, hours within one or two.
    time->setFormat(last - first > 2 * kDayMs ? QStringLiteral("MM-dd") : QStringLiteral("HH:mm"));
    time->setRange(QDateTime::fromMSecsSinceEpoch(first), QDateTime::fromMSecsSinceEpoch(last));
    const auto slowest =
        std::max_element(points.secondsPerQuestion.cbegin(), points.secondsPerQuestion.cend(),
                         [](const QPointF &a, const QPointF &b) { return a.y() < b.y(); });
    secondsAxis->setRange(0, std::max(10.0, slowest->y() * 1.1));
    secondsAxis->applyNiceNumbers();
}

} // namespace drillpad
