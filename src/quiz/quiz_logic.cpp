#include "quiz/quiz_logic.h"

#include "question/random.h"

#include <algorithm>
#include <cmath>

namespace drillpad::quiz {

namespace {

QString questionText(const QString &left, Operator op, const QString &right) {
    return left + operatorGlyph(op) + right + QLatin1Char('=');
}

struct Band {
    int lowest;
    const char *comment;
};

// Checked top down: the first band whose lowest score is reached.
constexpr Band kBands[] = {
    {100, "满分,真棒,不要骄傲,继续保持"},  {90, "离满分仅差一步,优秀,继续努力"},
    {80, "再接再厉,良好,尚需努力"},        {70, "努力会做得更好,中等,继续努力"},
    {60, "再不努力就不行了,及格，努力啊"}, {50, "赶紧加把劲,争取及格,继续努力"},
    {40, "好好学习,尚未及格,继续努力"},
};
constexpr const char *kLowestComment = "本软件会帮你学好数学";

} // namespace

int quizMinimumBound(Operator op) {
    return op == Operator::Divide ? 2 : 1;
}

QuizQuestion drawQuizQuestion(Operator op, int from, int n, const DrawFunction &draw) {
    const int lowest = std::max(from, 1);
    if (n < quizMinimumBound(op) || n > kMaxBound || lowest > n)
        return {};
    const auto width = static_cast<std::int16_t>(n - lowest + 1);
    const auto operand = [&] {
        return lowest == 1 ? draw(width) : QString::number(lowest - 1 + draw(width).toInt());
    };
    QString a = operand();
    QString b = operand();
    std::int64_t x = a.toLongLong();
    std::int64_t y = b.toLongLong();
    switch (op) {
    case Operator::Add:
        return {questionText(a, op, b), QString::number(x + y)};
    case Operator::Subtract:
        if (x >= y)
            return {questionText(a, op, b), QString::number(x - y)};
        return {questionText(b, op, a), QString::number(y - x)};
    case Operator::Multiply:
        return {questionText(a, op, b), QString::number(x * y)};
    case Operator::Divide: {
        while (x <= 1 || y <= 1) {
            a = operand();
            b = operand();
            x = a.toLongLong();
            y = b.toLongLong();
        }
        const std::int64_t product = x * y;
        const bool divideByB = draw(10).toInt() > 5;
        const QString &divisor = divideByB ? b : a;
        const std::int64_t quotient = divideByB ? x : y;
        return {questionText(QString::number(product), op, divisor), QString::number(quotient)};
    }
    }
    return {};
}

QuizQuestion drawQuizQuestion(Operator op, int n, const DrawFunction &draw) {
    return drawQuizQuestion(op, 1, n, draw);
}

QuizQuestion drawQuizQuestion(Operator op, int from, int n) {
    return drawQuizQuestion(op, from, n, [](std::int16_t bound) { return RandomUpTo(bound); });
}

double roundHalfEven(double value) {
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction > 0.5)
        return below + 1;
    if (fraction < 0.5)
        return below;
    return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

namespace {

// A bound read as a number in the C or the locale's format and rounded, if it
// lies in lowest..highest. Full-width digits, as a Chinese input method
// types them, read as digits.
std::optional<int> boundIn(const QString &typed, int lowest, int highest, const QLocale &locale) {
    const QString text = answerAsRead(typed);
    bool ok = false;
    double value = text.toDouble(&ok); // C format
    if (!ok)
        value = locale.toDouble(text, &ok);
    if (ok && std::isfinite(value)) {
        const double rounded = roundHalfEven(value);
        if (rounded >= lowest && rounded <= highest)
            return static_cast<int>(rounded);
    }
    return std::nullopt;
}

QString rangeText(int lowest, int highest) {
    return QString::number(lowest) + QStringLiteral("到") + QString::number(highest) +
           QStringLiteral("之间的数");
}

} // namespace

BoundCheck parseBound(const QString &text, Operator op, const QLocale &locale) {
    const int lowest = quizMinimumBound(op);
    if (const std::optional<int> bound = boundIn(text, lowest, kMaxBound, locale))
        return {bound, QString()};
    const QString range = rangeText(lowest, kMaxBound);
    if (op == Operator::Divide)
        return {std::nullopt, QStringLiteral("除法题请在“到”中输入") + range};
    return {std::nullopt, QStringLiteral("请在“到”中输入") + range};
}

BoundCheck parseFrom(const QString &text, int to, const QLocale &locale) {
    if (const std::optional<int> from = boundIn(text, 0, to, locale))
        return {from, QString()};
    return {std::nullopt, QStringLiteral("请在“从”中输入") + rangeText(0, to)};
}

QString answerAsRead(const QString &typed) {
    QString answer = typed.trimmed();
    for (QChar &ch : answer) {
        if (const std::optional<int> digit = digitValue(ch))
            ch = QChar(char16_t(u'0' + *digit));
    }
    return answer;
}

bool isRightAnswer(const QString &typed, const QString &expected) {
    const QString answer = answerAsRead(typed);
    return !answer.isEmpty() && answer == expected;
}

std::optional<Operator> operatorOfQuestion(const QString &question) {
    for (Operator op : {Operator::Add, Operator::Subtract, Operator::Multiply, Operator::Divide}) {
        if (question.contains(operatorGlyph(op)))
            return op;
    }
    return std::nullopt;
}

QList<QuizQuestion> redoOrder(const QList<QuizQuestion> &questions) {
    QList<QuizQuestion> order;
    for (const QuizQuestion &question : questions) {
        if (!question.text.isEmpty() && !order.contains(question))
            order.append(question);
    }
    // Each place swapped with a random one at or before it.
    for (qsizetype i = order.size() - 1; i > 0; --i)
        order.swapItemsAt(i, randomBetween(0, static_cast<int>(i)));
    return order;
}

QString sharedOperationCode(const QList<QuizQuestion> &questions) {
    if (questions.isEmpty())
        return {};
    const std::optional<Operator> first = operatorOfQuestion(questions.first().text);
    const bool shared =
        first && std::all_of(questions.cbegin(), questions.cend(), [&](const QuizQuestion &q) {
            return operatorOfQuestion(q.text) == first;
        });
    return shared ? operatorCode(*first) : QString();
}

QString historyLine(std::int64_t total, const QString &question, const QString &answer,
                    bool right) {
    return QString::number(total) + QStringLiteral(".  ") + question + answer +
           (right ? QStringLiteral("       \u221A") : QStringLiteral("       \u00D7"));
}

double ratePercent(std::int64_t right, std::int64_t total) {
    return static_cast<double>(right) / static_cast<double>(total) * 100.0;
}

QString rateText(double percent, const QLocale &locale) {
    return locale.toString(percent, 'f', 2);
}

int scoreOf(std::int64_t right, std::int64_t total) {
    if (total <= 0)
        return 0;
    // 100·right = quotient·total + remainder; compare the remainder with the
    // half exactly instead of trusting a floating-point .5.
    const std::int64_t scaled = right * 100;
    std::int64_t quotient = scaled / total;
    const std::int64_t twice = (scaled % total) * 2;
    if (twice > total || (twice == total && quotient % 2 != 0))
        ++quotient;
    return static_cast<int>(quotient);
}

QString commentFor(int score) {
    for (const Band &band : kBands) {
        if (score >= band.lowest)
            return QString::fromUtf8(band.comment);
    }
    return QString::fromUtf8(kLowestComment);
}

} // namespace drillpad::quiz
