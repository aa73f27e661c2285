#include "record/practice_facts.h"

#include <algorithm>

namespace drillpad {

namespace {

constexpr std::array<FactGrid, kFactOperationCount> kGrids = {{
    {FactOperation::Add, 0, 10, 0, 10, "加法", "第一个加数", "第二个加数"},
    {FactOperation::Subtract, 0, 20, 0, 10, "减法", "被减数", "减数"},
    {FactOperation::Multiply, 1, 9, 1, 9, "乘法", "第一个因数", "第二个因数"},
    {FactOperation::Divide, 1, 9, 1, 9, "除法", "除数", "商"},
}};

// The operator glyphs of the quiz's questions, in the order of the grids.
constexpr char16_t kGlyphs[] = {u'+', u'-', u'×', u'÷'};

constexpr const char *kStateNames[] = {"未练习", "不熟", "练习中", "已掌握"};

// A whole number of up to three digits at `at`, moving `at` past it.
std::optional<int> readNumber(QStringView text, qsizetype &at) {
    int value = 0;
    const qsizetype start = at;
    while (at < text.size() && text[at] >= u'0' && text[at] <= u'9' && at - start < 3)
        value = value * 10 + (text[at++].unicode() - u'0');
    if (at == start || (at < text.size() && text[at].isDigit()))
        return std::nullopt;
    return value;
}

// The fact of `operation` with operands a and b as the question writes them.
std::optional<BasicFact> factOfOperands(FactOperation operation, int a, int b) {
    BasicFact fact{operation, a, b};
    if (operation == FactOperation::Divide) {
        if (b == 0 || a % b != 0)
            return std::nullopt;
        fact.row = b;
        fact.column = a / b;
    }
    return factAt(factGrid(operation), fact.row, fact.column);
}

// Parses "a<glyph>b" at the start of `text`, leaving `at` after b.
std::optional<BasicFact> parseFact(QStringView text, qsizetype &at) {
    const std::optional<int> a = readNumber(text, at);
    if (!a || at >= text.size())
        return std::nullopt;
    const auto glyph = std::find(std::begin(kGlyphs), std::end(kGlyphs), text[at].unicode());
    if (glyph == std::end(kGlyphs))
        return std::nullopt;
    ++at;
    const std::optional<int> b = readNumber(text, at);
    if (!b)
        return std::nullopt;
    return factOfOperands(static_cast<FactOperation>(glyph - std::begin(kGlyphs)), *a, *b);
}

} // namespace

QString BasicFact::key() const {
    const int first = operation == FactOperation::Divide ? row * column : row;
    const int second = operation == FactOperation::Divide ? row : column;
    return QString::number(first) + QChar(kGlyphs[static_cast<int>(operation)]) +
           QString::number(second);
}

QString BasicFact::question() const {
    return key() + QLatin1Char('=');
}

int BasicFact::answer() const {
    switch (operation) {
    case FactOperation::Add:
        return row + column;
    case FactOperation::Subtract:
        return row - column;
    case FactOperation::Multiply:
        return row * column;
    case FactOperation::Divide:
        break;
    }
    return column;
}

const std::array<FactGrid, kFactOperationCount> &factGrids() {
    return kGrids;
}

const FactGrid &factGrid(FactOperation operation) {
    return kGrids[static_cast<std::size_t>(operation)];
}

std::optional<BasicFact> factAt(const FactGrid &grid, int row, int column) {
    if (row < grid.firstRow || row > grid.lastRow || column < grid.firstColumn ||
        column > grid.lastColumn)
        return std::nullopt;
    // Subtraction never goes below 0.
    if (grid.operation == FactOperation::Subtract && column > row)
        return std::nullopt;
    return BasicFact{grid.operation, row, column};
}

QList<BasicFact> factsOf(const FactGrid &grid) {
    QList<BasicFact> facts;
    for (int row = grid.firstRow; row <= grid.lastRow; ++row) {
        for (int column = grid.firstColumn; column <= grid.lastColumn; ++column) {
            if (const std::optional<BasicFact> fact = factAt(grid, row, column))
                facts.append(*fact);
        }
    }
    return facts;
}

std::optional<BasicFact> basicFactOf(const QString &question, const QString &expected) {
    qsizetype at = 0;
    const std::optional<BasicFact> fact = parseFact(question, at);
    // Written as the quiz writes it: no leading zeros, nothing after "=".
    if (!fact || fact->question() != question || expected != QString::number(fact->answer()))
        return std::nullopt;
    return fact;
}

std::optional<BasicFact> factOfKey(const QString &key) {
    qsizetype at = 0;
    const std::optional<BasicFact> fact = parseFact(key, at);
    return fact && fact->key() == key ? fact : std::nullopt;
}

QString masteryStateName(MasteryState state) {
    return QString::fromUtf8(kStateNames[static_cast<int>(state)]);
}

MasteryState masteryOf(const FactSummary &summary) {
    if (summary.attempts == 0)
        return MasteryState::NotPractised;
    if (!summary.lastRight || summary.lastSeconds > kSlowSeconds)
        return MasteryState::Weak;
    if (summary.fastInARow >= kMasteredInARow)
        return MasteryState::Mastered;
    return MasteryState::Practising;
}

FactSummary advanced(FactSummary summary, const FactAnswer &answer) {
    const QDate today = answer.at.date();
    const bool firstAnswer = summary.attempts == 0;
    const bool due = summary.isDue(today);
    ++summary.attempts;
    summary.right += answer.right ? 1 : 0;
    summary.totalSeconds += answer.seconds;
    summary.last = answer.at;
    summary.lastRight = answer.right;
    summary.lastSeconds = answer.seconds;
    const bool fast = answer.right && answer.seconds <= kFastSeconds;
    summary.fastInARow = fast ? std::min(summary.fastInARow + 1, kMasteredInARow) : 0;

    if (!answer.right) {
        summary.box = 1;
        summary.due = today;
    } else if (answer.seconds > kSlowSeconds) {
        summary.box = std::max(summary.box, 1);
        summary.due = today;
    } else if (firstAnswer || due) {
        summary.box = firstAnswer ? 1 : std::min(summary.box + 1, kLastBox);
        summary.due = today.addDays(kBoxDays[static_cast<std::size_t>(summary.box - 1)]);
    }
    return summary;
}

QString factRecordText(const BasicFact &fact, const FactSummary *summary) {
    const QString head = fact.question() + QString::number(fact.answer()) + QStringLiteral(": ");
    if (!summary || summary->attempts == 0)
        return head + masteryStateName(MasteryState::NotPractised);
    return head + QStringLiteral("%1 次, 对 %2 次, 平均 %3 秒, 上次 %4")
                      .arg(summary->attempts)
                      .arg(summary->right)
                      .arg(QString::number(summary->averageSeconds(), 'f', 1))
                      .arg(summary->last.date().toString(QStringLiteral("M月d日")));
}

} // namespace drillpad
