#include "quiz/quiz_logic.h"

#include "question/random.h"

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

QuizQuestion drawQuizQuestion(Operator op, int n, const DrawFunction &draw) {
    if (n < quizMinimumBound(op) || n > kMaxBound)
        return {};
    const auto bound = static_cast<std::int16_t>(n);
    QString a = draw(bound);
    QString b = draw(bound);
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
            a = draw(bound);
            b = draw(bound);
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

QuizQuestion drawQuizQuestion(Operator op, int n) {
    return drawQuizQuestion(op, n, [](std::int16_t bound) { return RandomUpTo(bound); });
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

BoundCheck parseBound(const QString &text, Operator op, const QLocale &locale) {
    bool ok = false;
    double value = text.toDouble(&ok); // C format, surrounding blanks ignored
    if (!ok)
        value = locale.toDouble(text.trimmed(), &ok);
    const int lowest = quizMinimumBound(op);
    if (ok && std::isfinite(value)) {
        const double rounded = roundHalfEven(value);
        if (rounded >= lowest && rounded <= kMaxBound)
            return {static_cast<int>(rounded), QString()};
    }
    const QString range = QString::number(lowest) + QStringLiteral("到") +
                          QString::number(kMaxBound) + QStringLiteral("之间的数");
    if (op == Operator::Divide)
        return {std::nullopt, QStringLiteral("除法题请在“到”中输入") + range};
    return {std::nullopt, QStringLiteral("请在“到”中输入") + range};
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
