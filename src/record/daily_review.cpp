#include "record/daily_review.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <tuple>

namespace drillpad {

namespace {

void shuffle(QList<BasicFact> &facts, const RandomBelow &random) {
    for (qsizetype i = facts.size() - 1; i > 0; --i)
        facts.swapItemsAt(i, random(static_cast<int>(i + 1)));
}

// Facts never answered, of the operations the pupil has practised, the
// smallest numbers first.
QList<BasicFact> newFacts(const QSet<QString> &seen, const QSet<FactOperation> &practised) {
    QList<BasicFact> fresh;
    for (const FactGrid &grid : factGrids()) {
        if (!practised.contains(grid.operation))
            continue;
        for (const BasicFact &fact : factsOf(grid)) {
            if (!seen.contains(fact.key()))
                fresh.append(fact);
        }
    }
    std::stable_sort(fresh.begin(), fresh.end(), [](const BasicFact &a, const BasicFact &b) {
        return std::tuple(a.row + a.column, a.row) < std::tuple(b.row + b.column, b.row);
    });
    return fresh.mid(0, kNewFactsPerReview);
}

} // namespace

ReviewPlan planReview(const QList<FactSummary> &facts, const QDate &today,
                      const RandomBelow &random) {
    struct Weak {
        BasicFact fact;
        const FactSummary *summary;
    };
    QList<Weak> weak;
    QList<BasicFact> knownDue, knownLater;
    QSet<QString> seen;
    QSet<FactOperation> practised;
    ReviewPlan plan;
    for (const FactSummary &summary : facts) {
        const std::optional<BasicFact> fact = factOfKey(summary.fact);
        if (!fact || summary.attempts == 0)
            continue;
        seen.insert(summary.fact);
        practised.insert(fact->operation);
        const bool due = summary.isDue(today);
        if (!due && summary.due.isValid() &&
            (!plan.nextDue.isValid() || summary.due < plan.nextDue))
            plan.nextDue = summary.due;
        if (masteryOf(summary) == MasteryState::Weak) {
            if (due)
                weak.append({*fact, &summary});
        } else {
            (due ? knownDue : knownLater).append(*fact);
        }
    }
    if (weak.isEmpty() && knownDue.isEmpty())
        return plan;
    plan.nextDue = QDate();

    std::stable_sort(weak.begin(), weak.end(), [](const Weak &a, const Weak &b) {
        return std::tuple(a.summary->lastRight, a.summary->due, a.summary->last) <
               std::tuple(b.summary->lastRight, b.summary->due, b.summary->last);
    });
    QList<BasicFact> leaders;
    for (const Weak &w : weak)
        leaders.append(w.fact);
    leaders.append(newFacts(seen, practised));
    shuffle(knownDue, random);
    shuffle(knownLater, random);

    QList<BasicFact> &asked = plan.questions;
    qsizetype nextLeader = 0, nextDue = 0, nextLater = 0;
    while (asked.size() < kReviewSize) {
        if (nextLeader < leaders.size()) {
            asked.append(leaders[nextLeader++]);
            for (int i = 0; i < kKnownPerWeak && asked.size() < kReviewSize; ++i) {
                if (nextDue < knownDue.size())
                    asked.append(knownDue[nextDue++]);
                else if (nextLater < knownLater.size())
                    asked.append(knownLater[nextLater++]);
            }
        } else if (nextDue < knownDue.size()) {
            asked.append(knownDue[nextDue++]);
        } else {
            break;
        }
    }
    return plan;
}

QString reviewNotDueText(const QString &pupil, const QDate &nextDue, const QDate &today) {
    if (!nextDue.isValid())
        return QStringLiteral("%1还没有做过加减法（20以内）或乘除法（表内）的基本算式。"
                              "先做几次练习，再来复习吧。")
            .arg(pupil);
    const qint64 days = today.daysTo(nextDue);
    const QString when = days == 1 ? QStringLiteral("明天") : QStringLiteral("%1天后").arg(days);
    return QStringLiteral("%1今天没有要复习的题。下次复习：%2（%3）。")
        .arg(pupil, nextDue.toString(QStringLiteral("M月d日")), when);
}

TodayFigures todayFigures(const QList<DayPractice> &practice, const QDate &today) {
    TodayFigures figures;
    QSet<QDate> days;
    for (const DayPractice &p : practice) {
        if (p.questions <= 0)
            continue;
        days.insert(p.day);
        if (p.day == today) {
            figures.seconds += p.seconds;
            figures.questions += p.questions;
        }
    }
    QDate day = days.contains(today) ? today : today.addDays(-1);
    while (days.contains(day)) {
        ++figures.daysInARow;
        day = day.addDays(-1);
    }
    return figures;
}

} // namespace drillpad
