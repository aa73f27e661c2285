#include "recordwin/record_table.h"

#include <QLocale>

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace drillpad {

namespace {

// Operation codes with their names, in the order of the window's filter.
constexpr std::array<std::pair<const char *, const char *>, 4> kOperations = {{
    {"+", "加法"},
    {"-", "减法"},
    {"*", "乘法"},
    {"/", "除法"},
}};

constexpr const char *kQuizHeaders[] = {"日期时间", "运算", "范围", "答题数", "答对",
                                        "正确率",   "得分", "用时", "秒/题"};
static_assert(std::size(kQuizHeaders) == QuizTableModel::ColumnCount);

constexpr const char *kWrongHeaders[] = {"题目", "正确答案", "所答"};
static_assert(std::size(kWrongHeaders) == WrongAnswerModel::ColumnCount);

QVariant headerOf(const char *const *headers, int count, int section, Qt::Orientation orientation,
                  int role) {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section < 0 || section >= count)
        return {};
    return QString::fromUtf8(headers[section]);
}

bool isNumberColumn(int column) {
    return column >= QuizTableModel::Answered && column != QuizTableModel::TimeUsed;
}

} // namespace

QString operationName(const QString &operation) {
    for (const auto &[code, name] : kOperations) {
        if (operation == QLatin1String(code))
            return QString::fromUtf8(name);
    }
    return QStringLiteral("混合");
}

QString kindName(QuizKind kind) {
    switch (kind) {
    case QuizKind::Normal:
        break;
    case QuizKind::Redo:
        return QStringLiteral("重做");
    case QuizKind::Review:
        return QStringLiteral("复习");
    }
    return QStringLiteral("练习");
}

QString operationOfFilter(int index) {
    if (index < 1 || index > static_cast<int>(kOperations.size()))
        return {};
    return QString::fromLatin1(kOperations[static_cast<std::size_t>(index - 1)].first);
}

QString durationText(double seconds) {
    const qint64 whole = std::llround(std::max(seconds, 0.0));
    if (whole < 60)
        return QStringLiteral("%1秒").arg(whole);
    return QStringLiteral("%1分%2秒").arg(whole / 60).arg(whole % 60, 2, 10, QLatin1Char('0'));
}

void QuizTableModel::setQuizzes(QList<QuizSummary> quizzes) {
    beginResetModel();
    quizzes_ = std::move(quizzes);
    endResetModel();
}

int QuizTableModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(quizzes_.size());
}

int QuizTableModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString QuizTableModel::cellText(const QuizSummary &quiz, int column) {
    const QLocale locale = QLocale::system();
    switch (column) {
    case Started:
        return quiz.started.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    case Operation: {
        const QString name = operationName(quiz.operation);
        if (quiz.kind == QuizKind::Normal)
            return name;
        return quiz.operation.isEmpty() ? kindName(quiz.kind)
                                        : name + QStringLiteral("(%1)").arg(kindName(quiz.kind));
    }
    case Range:
        if (quiz.kind == QuizKind::Redo)
            return QStringLiteral("错题");
        if (quiz.kind == QuizKind::Review)
            return QStringLiteral("到期的题");
        return QStringLiteral("%1~%2").arg(quiz.from).arg(quiz.to);
    case Answered:
        return QString::number(quiz.answered);
    case Right:
        return QString::number(quiz.right);
    case Rate:
        return quiz.answered > 0 ? locale.toString(quiz.rate, 'f', 2) + QStringLiteral("%")
                                 : QStringLiteral("—");
    case Score:
        return quiz.finished ? QString::number(quiz.score) : QStringLiteral("未完成");
    case TimeUsed:
        return durationText(quiz.secondsUsed);
    case SecondsPerQuestion:
        return quiz.answered > 0 ? locale.toString(quiz.secondsPerQuestion(), 'f', 1)
                                 : QStringLiteral("—");
    default:
        return {};
    }
}

QVariant QuizTableModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= quizzes_.size())
        return {};
    const QuizSummary &quiz = quizzes_.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return cellText(quiz, index.column());
    case Qt::TextAlignmentRole:
        return isNumberColumn(index.column()) ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                              : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    case QuizIdRole:
        return quiz.id;
    default:
        return {};
    }
}

QVariant QuizTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    return headerOf(kQuizHeaders, ColumnCount, section, orientation, role);
}

QString WrongAnswerModel::givenText(const AnswerEntry &answer) {
    return answer.skipped ? QStringLiteral("(跳过)") : answer.typed;
}

void WrongAnswerModel::setAnswers(QList<AnswerEntry> answers) {
    beginResetModel();
    answers_ = std::move(answers);
    endResetModel();
}

int WrongAnswerModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(answers_.size());
}

int WrongAnswerModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant WrongAnswerModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= answers_.size())
        return {};
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    const AnswerEntry &answer = answers_.at(index.row());
    switch (index.column()) {
    case Question:
        return answer.question;
    case Expected:
        return answer.expected;
    case Given:
        return givenText(answer);
    default:
        return {};
    }
}

QVariant WrongAnswerModel::headerData(int section, Qt::Orientation orientation, int role) const {
    return headerOf(kWrongHeaders, ColumnCount, section, orientation, role);
}

} // namespace drillpad
