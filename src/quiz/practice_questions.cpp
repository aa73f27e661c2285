#include "quiz/practice_questions.h"

#include "question/mixed_question.h"
#include "question/no_repeats.h"
#include "question/question_pool.h"
#include "question/random.h"

#include <QRegularExpression>

namespace drillpad::quiz {

std::optional<QString> practiceProblem(const SheetSettings &settings) {
    bool any = false;
    for (const QuestionType type : kQuestionTypes) {
        const TypeSettings &part = settings[type];
        if (!part.selected || part.count <= 0)
            continue;
        any = true;
        if (type == QuestionType::Mix && !mixedRangeAllowed(part.from, part.to))
            return questionTypeName(type) + QStringLiteral("的数字范围里没有可出的题");
        if (std::optional<QString> message = noQuestionMessage(type, part))
            return message;
    }
    if (!any)
        return QStringLiteral("请在出题向导里选择出题类型，并填写出题数量");
    return std::nullopt;
}

QList<QuizQuestion> practiceQuestions(const SheetSettings &settings) {
    QList<QuizQuestion> questions;
    for (const QuestionType type : kQuestionTypes) {
        const TypeSettings &part = settings[type];
        if (!part.selected || part.count <= 0)
            continue;
        if (const std::optional<Operator> op = operatorOfType(type)) {
            const QuestionPool pool(*op, part);
            const auto drawn = drawWithoutRepeats<PoolQuestion>(
                part.count, pool.size(), [&] { return pool.draw(); },
                [](const PoolQuestion &q) { return keyOf(q); });
            for (const PoolQuestion &q : drawn)
                questions.append({quizText(q, settings.blank), answerText(q)});
            continue;
        }
        const MixedSection section =
            drawMixedSection(part.from, part.to, part.count, part.brackets, part.askFor);
        for (const MixedQuestion &q : section.questions) {
            QString text;
            appendMixedQuestion(text, q, settings.blank);
            text.chop(1); // the answer gap
            questions.append({text, QString::number(mixedAnswer(q))});
        }
    }
    for (qsizetype i = questions.size() - 1; i > 0; --i)
        questions.swapItemsAt(i, randomBetween(0, static_cast<int>(i)));
    return questions;
}

bool sameAnswer(const QString &typed, const QString &expected) {
    if (isRightAnswer(typed, expected))
        return true;
    if (!expected.contains(u'…'))
        return false;
    static const QRegularExpression separator(QStringLiteral("\\s*(?:[.…。]+|余)\\s*"));
    QString written = answerAsRead(typed);
    written.replace(separator, QStringLiteral("……"));
    return written == expected;
}

} // namespace drillpad::quiz
