#pragma once

#include "record/practice_facts.h"

#include <QDate>
#include <QList>

#include <functional>

namespace drillpad {

// About ten minutes a day: a review of this many questions.
inline constexpr int kReviewSize = 20;
// Each weak or new fact is followed by this many known ones, so that the
// pupil meets about one weak fact among three known.
inline constexpr int kKnownPerWeak = 3;
// Facts never answered are brought in a few at a time.
inline constexpr int kNewFactsPerReview = 3;

// A uniform whole number from 0 to n - 1.
using RandomBelow = std::function<int(int)>;

// Today's review: the questions in the order asked, or, when nothing is due,
// none and the first day something will be (invalid when the pupil has no
// fact in the record at all).
struct ReviewPlan {
    QList<BasicFact> questions;
    QDate nextDue;
};

// Chooses today's review from a pupil's fact summaries. Due facts that are
// weak (missed ones before slow ones, the longest due first) and then up to
// kNewFactsPerReview facts never answered, of the operations the pupil has
// practised, each lead a group and are followed by kKnownPerWeak known
// facts: those due first, in random order, then known facts not yet due,
// chosen at random. Once the leaders are used up, the remaining known due
// facts follow. Nothing is asked when no fact is due.
ReviewPlan planReview(const QList<FactSummary> &facts, const QDate &today,
                      const RandomBelow &random);

// What "今日复习" says when nothing is due: the day of the next review, or
// that the pupil has yet to practise basic facts.
QString reviewNotDueText(const QString &pupil, const QDate &nextDue, const QDate &today);

// One quiz's share of a day's practice.
struct DayPractice {
    QDate day;
    double seconds = 0;
    int questions = 0;
};

// Today's minutes and questions, and the days in a row with practice up to
// today (or up to yesterday while today has none yet).
struct TodayFigures {
    double seconds = 0;
    int questions = 0;
    int daysInARow = 0;
};
TodayFigures todayFigures(const QList<DayPractice> &practice, const QDate &today);

} // namespace drillpad
