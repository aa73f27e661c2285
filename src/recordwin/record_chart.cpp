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
// The newest quizzes the summary names one by one.
constexpr qsizetype kNamedInSummary = 5;
// Smaller changes between the older and the newer half are no trend.
constexpr double kScoreTrend = 1.0;
constexpr double kSecondsTrend = 0.5;

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

// The mean of y over `count` points from `first` on.
double meanOf(const QList<QPointF> &points, qsizetype first, qsizetype count) {
    double sum = 0;
    for (qsizetype i = first; i < first + count; ++i)
        sum += points.at(i).y();
    return sum / static_cast<double>(count);
}

// "上升", "下降" or "持平" for the change of the newer half's mean over the
// older half's.
QString trendOf(const QList<QPointF> &points, double threshold, const char *up, const char *down) {
    const qsizetype half = points.size() / 2;
    const double change = meanOf(points, points.size() - half, half) - meanOf(points, 0, half);
    if (change >= threshold)
        return QString::fromUtf8(up);
    if (change <= -threshold)
        return QString::fromUtf8(down);
    return QStringLiteral("持平");
}

// The newest values, newest first, with `decimals` decimals.
QString newestValues(const QList<QPointF> &points, int decimals) {
    QStringList values;
    for (qsizetype i = points.size() - 1; i >= 0 && values.size() < kNamedInSummary; --i)
        values << QString::number(points.at(i).y(), 'f', decimals);
    return values.join(QStringLiteral("、"));
}

} // namespace

QString dateAxisFormat(qint64 firstMs, qint64 lastMs) {
    if (lastMs - firstMs <= 2 * kDayMs)
        return QStringLiteral("HH:mm");
    const bool sameYear = QDateTime::fromMSecsSinceEpoch(firstMs).date().year() ==
                          QDateTime::fromMSecsSinceEpoch(lastMs).date().year();
    return sameYear ? QStringLiteral("MM-dd") : QStringLiteral("yyyy-MM-dd");
}

QString progressSummary(const ProgressPoints &points) {
    const qsizetype count = points.score.size();
    if (count == 0)
        return QStringLiteral("图表中还没有练习。");
    const qsizetype named = std::min(count, kNamedInSummary);
    QString text =
        QStringLiteral("图表显示%1次练习的得分和每题秒数。最近%2次（从新到旧）得分：%3；"
                       "每题秒数：%4。")
            .arg(count)
            .arg(named)
            .arg(newestValues(points.score, 0), newestValues(points.secondsPerQuestion, 1));
    if (count == 1)
        return text + QStringLiteral("只有一次练习，还看不出变化。");
    return text + QStringLiteral("较新的一半练习比较早的一半：得分%1，每题用时%2。")
                      .arg(trendOf(points.score, kScoreTrend, "上升", "下降"),
                           trendOf(points.secondsPerQuestion, kSecondsTrend, "变长", "缩短"));
}

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
    time->setFormat(dateAxisFormat(first, last));
    time->setRange(QDateTime::fromMSecsSinceEpoch(first), QDateTime::fromMSecsSinceEpoch(last));
    const auto slowest =
        std::max_element(points.secondsPerQuestion.cbegin(), points.secondsPerQuestion.cend(),
                         [](const QPointF &a, const QPointF &b) { return a.y() < b.y(); });
    secondsAxis->setRange(0, std::max(10.0, slowest->y() * 1.1));
    secondsAxis->applyNiceNumbers();
}

} // namespace drillpad
