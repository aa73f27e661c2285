#pragma once

#include "record/practice_record.h"

#include <QAbstractTableModel>
#include <QList>

namespace drillpad {

// The name of an operation as the record window shows it: "加法" for "+",
// ...; "混合" for a redo that mixes operations.
QString operationName(const QString &operation);
// The kind of a quiz as the record shows it: "练习", "重做" or "复习".
QString kindName(QuizKind kind);
// The operation code of an entry of the window's operation filter: "" for
// "全部" (index 0), then "+", "-", "*", "/".
QString operationOfFilter(int index);
// A duration such as "2分05秒", or "45秒" below a minute.
QString durationText(double seconds);

// The quizzes of the record, one row each, in the order the record lists
// them (newest first). The rows hold the summaries themselves, so that even
// ten thousand quizzes show at once.
class QuizTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        Started,
        Operation,
        Range,
        Answered,
        Right,
        Rate,
        Score,
        TimeUsed,
        SecondsPerQuestion,
        ColumnCount
    };
    // The quiz id of a row, under Qt::UserRole in every column.
    static constexpr int QuizIdRole = Qt::UserRole;

    using QAbstractTableModel::QAbstractTableModel;

    void setQuizzes(QList<QuizSummary> quizzes);
    const QList<QuizSummary> &quizzes() const { return quizzes_; }
    const QuizSummary &quiz(int row) const { return quizzes_.at(row); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The text of one cell, as the table shows it.
    static QString cellText(const QuizSummary &quiz, int column);

private:
    QList<QuizSummary> quizzes_;
};

// Wrong and skipped answers: the question, the answer it wanted and what the
// pupil gave.
class WrongAnswerModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Question, Expected, Given, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    void setAnswers(QList<AnswerEntry> answers);
    const QList<AnswerEntry> &answers() const { return answers_; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // What the pupil gave: the typed text, or "(跳过)" for a skipped one.
    static QString givenText(const AnswerEntry &answer);

private:
    QList<AnswerEntry> answers_;
};

} // namespace drillpad
