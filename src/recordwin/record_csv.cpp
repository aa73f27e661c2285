#include "recordwin/record_csv.h"

#include "recordwin/record_table.h"

#include <QRegularExpression>

#include <algorithm>

namespace drillpad {

namespace {

constexpr const char *kHeader[] = {"练习编号", "练习者",   "开始时间", "结束时间", "运算",
                                   "类别",     "状态",     "从",       "到",       "答题数",
                                   "答对",     "正确率",   "得分",     "用时(秒)", "题号",
                                   "题目",     "正确答案", "所答",     "对错",     "答题用时(秒)"};

QString timeText(const QDateTime &time) {
    return time.isValid() ? time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : QString();
}

QString number(double value) {
    return QString::number(value, 'f', 2);
}

QStringList quizFields(const QuizSummary &quiz) {
    // A redo and a review are asked from questions, not from a range.
    const bool ranged = quiz.kind == QuizKind::Normal;
    return {QString::number(quiz.id),
            quiz.pupilName,
            timeText(quiz.started),
            quiz.finished ? timeText(quiz.ended) : QString(),
            operationName(quiz.operation),
            kindName(quiz.kind),
            quiz.finished ? QStringLiteral("完成") : QStringLiteral("未完成"),
            ranged ? QString::number(quiz.from) : QString(),
            ranged ? QString::number(quiz.to) : QString(),
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

// Whether a spreadsheet would take the text for a formula.
bool looksLikeFormula(const QString &text) {
    static const QString starts = QStringLiteral("=+-@\t\r");
    static const QRegularExpression number(QStringLiteral("^[+-]?[0-9]+(\\.[0-9]+)?$"));
    return !text.isEmpty() && starts.contains(text.front()) && !number.match(text).hasMatch();
}

QString quoted(QString text) {
    text.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

} // namespace

QString csvField(const QString &text) {
    if (looksLikeFormula(text))
        return quoted(QLatin1Char('\'') + text);
    return needsQuotes(text) ? quoted(text) : text;
}

QString csvLine(const QStringList &fields) {
    QStringList quotedFields;
    quotedFields.reserve(fields.size());
    for (const QString &field : fields)
        quotedFields << csvField(field);
    return quotedFields.join(QLatin1Char(',')) + QLatin1String("\r\n");
}

namespace {

QByteArray columns(const QStringList &fields, QLatin1StringView end) {
    QString line = csvLine(fields);
    line.chop(2); // the line's end
    return (line + end).toUtf8();
}

} // namespace

QStringList recordCsvHeader() {
    QStringList header;
    for (const char *name : kHeader)
        header << QString::fromUtf8(name);
    return header;
}

QByteArray recordCsvStart() {
    return QByteArray("\xEF\xBB\xBF") + csvLine(recordCsvHeader()).toUtf8();
}

QByteArray recordCsvQuizColumns(const QuizSummary &quiz) {
    return columns(quizFields(quiz), QLatin1StringView(","));
}

QByteArray recordCsvAnswerColumns(const AnswerEntry &answer) {
    return columns(answerFields(answer), QLatin1StringView("\r\n"));
}

} // namespace drillpad
