#include "recordwin/record_csv.h"

#include "recordwin/record_table.h"

#include <QHash>

#include <algorithm>

namespace drillpad {

namespace {

// The answer's own columns at the end of each line.
constexpr qsizetype kAnswerColumns = 6;

constexpr const char *kHeader[] = {"练习编号", "开始时间", "结束时间", "运算",        "类别",
                                   "状态",     "从",       "到",       "答题数",      "答对",
                                   "正确率",   "得分",     "用时(秒)", "题号",        "题目",
                                   "正确答案", "所答",     "对错",     "答题用时(秒)"};

QString timeText(const QDateTime &time) {
    return time.isValid() ? time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : QString();
}

QString number(double value) {
    return QString::number(value, 'f', 2);
}

QStringList quizFields(const QuizSummary &quiz) {
    const bool redo = quiz.kind == QuizKind::Redo;
    return {QString::number(quiz.id),
            timeText(quiz.started),
            quiz.finished ? timeText(quiz.ended) : QString(),
            operationName(quiz.operation),
            redo ? QStringLiteral("重做") : QStringLiteral("练习"),
            quiz.finished ? QStringLiteral("完成") : QStringLiteral("未完成"),
            redo ? QString() : QString::number(quiz.from),
            redo ? QString() : QString::number(quiz.to),
            QString::number(quiz.answered),
            QString::number(quiz.right),
            number(quiz.rate),
            quiz.finished ? QString::number(quiz.score) : QString(),
            number(quiz.secondsUsed)};
}

QStringList answerFields(const AnswerEntry &answer) {
    const QString verdict = answer.skipped ? QStringLiteral("跳过")
                            : answer.right ? QStringLiteral("对")
                                           : QStringLiteral("错");
    return {QString::number(answer.sequence),
            answer.question,
            answer.expected,
            answer.typed,
            verdict,
            number(answer.seconds)};
}

bool needsQuotes(const QString &text) {
    if (text.isEmpty())
        return false;
    static const QString special = QStringLiteral(",\"\r\n");
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return special.contains(c); }) ||
           text.front().isSpace() || text.back().isSpace();
}

} // namespace

QString csvField(const QString &text) {
    if (!needsQuotes(text))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString csvLine(const QStringList &fields) {
    QStringList quoted;
    quoted.reserve(fields.size());
    for (const QString &field : fields)
        quoted << csvField(field);
    return quoted.join(QLatin1Char(',')) + QLatin1String("\r\n");
}

QStringList recordCsvHeader() {
    QStringList header;
    for (const char *name : kHeader)
        header << QString::fromUtf8(name);
    return header;
}

QByteArray recordCsv(const QList<QuizSummary> &quizzes, const QList<AnswerEntry> &answers) {
    // Where each quiz's answers lie in `answers`, which keeps them by quiz.
    QHash<qint64, QList<qsizetype>> answersOf;
    answersOf.reserve(quizzes.size());
    for (qsizetype i = 0; i < answers.size(); ++i)
        answersOf[answers.at(i).quizId].append(i);

    QList<const QuizSummary *> oldestFirst;
    oldestFirst.reserve(quizzes.size());
    for (const QuizSummary &quiz : quizzes)
        oldestFirst << &quiz;
    std::stable_sort(oldestFirst.begin(), oldestFirst.end(),
                     [](const QuizSummary *a, const QuizSummary *b) {
                         return a->started != b->started ? a->started < b->started : a->id < b->id;
                     });

    QByteArray csv("\xEF\xBB\xBF");
    csv += csvLine(recordCsvHeader()).toUtf8();
    for (const QuizSummary *quiz : oldestFirst) {
        const QStringList fields = quizFields(*quiz);
        const QList<qsizetype> own = answersOf.value(quiz->id);
        if (own.isEmpty()) {
            csv += csvLine(fields + QStringList(kAnswerColumns, QString())).toUtf8();
            continue;
        }
        for (qsizetype i : own)
            csv += csvLine(fields + answerFields(answers.at(i))).toUtf8();
    }
    return csv;
}

} // namespace drillpad
