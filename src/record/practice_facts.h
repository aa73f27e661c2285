#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace drillpad {

// The four grids of basic facts, in the order the map shows them.
enum class FactOperation { Add, Subtract, Multiply, Divide };
inline constexpr int kFactOperationCount = 4;

// One basic fact, placed by its row and column in its grid: addition the
// two addends, subtraction the minuend and the subtrahend, multiplication
// the two factors, division the divisor and the quotient (the dividend is
// their product).
struct BasicFact {
    FactOperation operation = FactOperation::Add;
    int row = 0;
    int column = 0;

    // The question as the quiz asks it, such as "7×8=" or "56÷8=".
    QString question() const;
    // Its answer, such as 56 or 7.
    int answer() const;
    // The key the record keeps the fact under: the question without "=".
    QString key() const;

    friend bool operator==(const BasicFact &, const BasicFact &) = default;
};

// A grid of facts: its rows and columns, and what they stand for.
struct FactGrid {
    FactOperation operation;
    int firstRow, lastRow;
    int firstColumn, lastColumn;
    const char *name;          // "加法"
    const char *rowMeaning;    // "第一个加数"
    const char *columnMeaning; // "第二个加数"

    int rowCount() const { return lastRow - firstRow + 1; }
    int columnCount() const { return lastColumn - firstColumn + 1; }
};

// Addition and subtraction within 20 (addends 0–10; minuends 0–20 less a
// subtrahend 0–10, never below 0), the multiplication and division tables
// 1–9.
const std::array<FactGrid, kFactOperationCount> &factGrids();
const FactGrid &factGrid(FactOperation operation);
// The fact in row `row` and column `column` (grid numbers, not indexes), if
// that place holds one.
std::optional<BasicFact> factAt(const FactGrid &grid, int row, int column);
// Every basic fact of the grid, row by row.
QList<BasicFact> factsOf(const FactGrid &grid);

// The basic fact a quiz question asks, when it is one of the grids' facts
// and `expected` is its answer: "7×8=" with "56", "13-6=" with "7".
std::optional<BasicFact> basicFactOf(const QString &question, const QString &expected);
// The fact a key names ("7×8"), if it is one.
std::optional<BasicFact> factOfKey(const QString &key);

// How well a pupil knows a fact.
enum class MasteryState {
    NotPractised, // 未练习: never answered
    Weak,         // 不熟: the last answer wrong, skipped or slower than kSlowSeconds
    Practising,   // 练习中: anything between
    Mastered,     // 已掌握: the last kMasteredInARow answers right, each within kFastSeconds
};
inline constexpr int kMasteryStateCount = 4;
QString masteryStateName(MasteryState state);

// The research on fact fluency counts a fact as known when it is recalled
// right within about 2–3 seconds; an answer that takes longer than twice
// that is still counted out.
inline constexpr double kFastSeconds = 3.0;
inline constexpr int kMasteredInARow = 3;
inline constexpr double kSlowSeconds = 6.0;

// Leitner boxes: a fact in box n comes back kBoxDays[n - 1] days after it
// was last answered right; a miss sends it back to box 1.
inline constexpr std::array<int, 5> kBoxDays = {1, 2, 4, 8, 16};
inline constexpr int kLastBox = static_cast<int>(kBoxDays.size());

// One answer to a fact.
struct FactAnswer {
    bool right = false;
    double seconds = 0;
    QDateTime at;
};

// What the record keeps of one fact for one pupil, updated with each answer.
struct FactSummary {
    QString fact; // its key, such as "7×8"
    int attempts = 0;
    int right = 0;
    double totalSeconds = 0;
    QDateTime last; // the last answer
    bool lastRight = false;
    double lastSeconds = 0;
    // The most recent answers in a row that were right within kFastSeconds,
    // counted up to kMasteredInARow.
    int fastInARow = 0;
    int box = 0; // 1..kLastBox once answered
    QDate due;   // the day it is due for review; invalid before the first answer

    double averageSeconds() const { return attempts > 0 ? totalSeconds / attempts : 0; }
    bool isDue(const QDate &today) const { return due.isValid() && due <= today; }

    friend bool operator==(const FactSummary &, const FactSummary &) = default;
};

MasteryState masteryOf(const FactSummary &summary);

// The summary after one more answer. Right within kSlowSeconds: a fact
// answered for the first time enters box 1; a fact that is due moves up a
// box (up to the last) and is due again after that box's days; practice
// before it is due leaves its schedule alone. Wrong or skipped: back to box
// 1, due at once. Right but slow: its box stays and it is due at once.
FactSummary advanced(FactSummary summary, const FactAnswer &answer);

// "7×8=56: 5 次, 对 4 次, 平均 2.4 秒, 上次 12月5日", or "7×8=56: 未练习".
QString factRecordText(const BasicFact &fact, const FactSummary *summary);

} // namespace drillpad
