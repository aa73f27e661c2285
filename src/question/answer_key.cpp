#include "question/answer_key.h"

#include "question/question.h"

#include <algorithm>

namespace drillpad {

namespace {

// Longer numbers are not worked out: their products would not fit.
constexpr int kMaxDigits = 12;

enum class CharKind { Digit, Operator, Equals, Blank, Other };

struct CharClass {
    CharKind kind = CharKind::Other;
    int digit = 0;
    Operator op = Operator::Add;
};

// Sheets are typed with either half- or full-width forms.
CharClass classify(QChar ch) {
    const char16_t c = ch.unicode();
    if (c >= u'0' && c <= u'9')
        return {CharKind::Digit, c - u'0'};
    if (c >= u'\uFF10' && c <= u'\uFF19')
        return {CharKind::Digit, c - u'\uFF10'};
    switch (c) {
    case u'+':
    case u'\uFF0B':
        return {CharKind::Operator, 0, Operator::Add};
    case u'-':
    case u'\uFF0D':
    case u'\u2212':
        return {CharKind::Operator, 0, Operator::Subtract};
    case u'\u00D7':
    case u'*':
    case u'\uFF0A':
        return {CharKind::Operator, 0, Operator::Multiply};
    case u'\u00F7':
    case u'/':
    case u'\uFF0F':
        return {CharKind::Operator, 0, Operator::Divide};
    case u'=':
    case u'\uFF1D':
        return {CharKind::Equals};
    case u' ':
    case u'\t':
    case u'\u00A0':
    case kAnswerGap:
        return {CharKind::Blank};
    default:
        return {CharKind::Other};
    }
}

CharKind kindAt(QStringView text, qsizetype i) {
    return classify(text[i]).kind;
}

enum class Reading { NotAQuestion, Unreadable, Question };

struct ParsedQuestion {
    Reading reading = Reading::NotAQuestion;
    qsizetype start = 0;
    std::vector<long long> numbers;
    std::vector<Operator> operators;
};

// Reads the question that ends just before `end` (an "=" or the end of the
// text), not looking before `floor`: numbers and operators, blanks allowed
// between them, from the right until no operator precedes a number. Text
// before "=" that holds neither is no question; a number or an operator
// that does not make a whole question ("7×", "×9", "9") is an unreadable
// one.
ParsedQuestion readBackwards(QStringView text, qsizetype end, qsizetype floor) {
    ParsedQuestion parsed;
    qsizetype p = end;
    const auto skipBlanks = [&](qsizetype from) {
        while (from > floor && kindAt(text, from - 1) == CharKind::Blank)
            --from;
        return from;
    };
    bool tooLong = false;
    // The number ending at p, or nothing.
    const auto readNumber = [&](qsizetype at) -> std::optional<qsizetype> {
        qsizetype first = at;
        while (first > floor && kindAt(text, first - 1) == CharKind::Digit)
            --first;
        if (first == at)
            return std::nullopt;
        if (at - first > kMaxDigits) {
            tooLong = true;
            parsed.numbers.push_back(0);
            return first;
        }
        long long value = 0;
        for (qsizetype i = first; i < at; ++i)
            value = value * 10 + classify(text[i]).digit;
        parsed.numbers.push_back(value);
        return first;
    };

    p = skipBlanks(p);
    if (p == floor)
        return parsed;
    const CharKind last = kindAt(text, p - 1);
    if (last != CharKind::Digit) {
        if (last == CharKind::Operator)
            parsed.reading = Reading::Unreadable;
        return parsed;
    }
    p = *readNumber(p);
    parsed.start = p;
    for (;;) {
        qsizetype q = skipBlanks(p);
        if (q == floor || kindAt(text, q - 1) != CharKind::Operator)
            break;
        parsed.operators.push_back(classify(text[q - 1]).op);
        q = skipBlanks(q - 1);
        const std::optional<qsizetype> first = readNumber(q);
        if (!first) {
            parsed.reading = Reading::Unreadable;
            return parsed;
        }
        p = *first;
        parsed.start = p;
    }
    if (parsed.operators.empty() || tooLong) {
        parsed.reading = Reading::Unreadable;
        return parsed;
    }
    std::reverse(parsed.numbers.begin(), parsed.numbers.end());
    std::reverse(parsed.operators.begin(), parsed.operators.end());
    parsed.reading = Reading::Question;
    return parsed;
}

std::optional<long long> addOrSubtract(Operator op, long long x, long long y) {
    long long result = 0;
    const bool overflow = op == Operator::Add ? __builtin_add_overflow(x, y, &result)
                                              : __builtin_sub_overflow(x, y, &result);
    return overflow ? std::nullopt : std::optional(result);
}

// × and ÷ first, each division exact; then + and - from left to right.
std::optional<long long> evaluate(const ParsedQuestion &q) {
    long long total = 0;
    Operator pending = Operator::Add;
    long long term = q.numbers[0];
    for (std::size_t i = 0; i < q.operators.size(); ++i) {
        const Operator op = q.operators[i];
        const long long next = q.numbers[i + 1];
        if (op == Operator::Multiply) {
            if (__builtin_mul_overflow(term, next, &term))
                return std::nullopt;
        } else if (op == Operator::Divide) {
            if (next == 0 || term % next != 0)
                return std::nullopt;
            term /= next;
        } else {
            const std::optional<long long> sum = addOrSubtract(pending, total, term);
            if (!sum)
                return std::nullopt;
            total = *sum;
            pending = op;
            term = next;
        }
    }
    return addOrSubtract(pending, total, term);
}

std::optional<QString> answerOf(const ParsedQuestion &q) {
    if (q.reading != Reading::Question)
        return std::nullopt;
    if (q.operators.size() == 1 && q.operators[0] == Operator::Divide && q.numbers[1] != 0 &&
        q.numbers[0] % q.numbers[1] != 0) {
        return QString::number(q.numbers[0] / q.numbers[1]) + QStringLiteral("……") +
               QString::number(q.numbers[0] % q.numbers[1]);
    }
    const std::optional<long long> value = evaluate(q);
    return value ? std::optional(QString::number(*value)) : std::nullopt;
}

// Where an answer already written after "=" at `from` ends: a whole
// number, perhaps negative or with a remainder ("3……1"), unless an operator
// follows it (then its digits begin the next question).
qsizetype writtenAnswerEnd(QStringView line, qsizetype from) {
    const auto digitsFrom = [&](qsizetype at) {
        while (at < line.size() && kindAt(line, at) == CharKind::Digit)
            ++at;
        return at;
    };
    qsizetype start = from;
    if (start < line.size() && classify(line[start]).kind == CharKind::Operator &&
        classify(line[start]).op == Operator::Subtract)
        ++start;
    qsizetype end = digitsFrom(start);
    if (end == start)
        return from;
    if (line.sliced(end).startsWith(u"……")) {
        const qsizetype remainderEnd = digitsFrom(end + 2);
        if (remainderEnd > end + 2)
            end = remainderEnd;
    }
    qsizetype next = end;
    while (next < line.size() && kindAt(line, next) == CharKind::Blank)
        ++next;
    if (next < line.size() && kindAt(line, next) == CharKind::Operator)
        return from;
    return end;
}

struct AnsweredLine {
    bool hasQuestions = false;
    QString text;
};

// The line with an answer after each question's "=".
AnsweredLine answerLine(QStringView line, AnswerKey &key) {
    AnsweredLine result;
    qsizetype copied = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (kindAt(line, i) != CharKind::Equals)
            continue;
        const ParsedQuestion parsed = readBackwards(line, i, copied);
        if (parsed.reading == Reading::NotAQuestion)
            continue;
        result.hasQuestions = true;
        result.text += line.sliced(copied, i + 1 - copied);
        copied = i + 1;
        if (const std::optional<QString> answer = answerOf(parsed)) {
            result.text += *answer;
            copied = writtenAnswerEnd(line, copied);
            ++key.answered;
        } else {
            ++key.leftOut;
        }
        i = copied - 1;
    }
    if (result.hasQuestions)
        result.text += line.sliced(copied);
    return result;
}

bool isBlank(QStringView line) {
    return std::all_of(line.begin(), line.end(),
                       [](QChar ch) { return classify(ch).kind == CharKind::Blank; });
}

bool isHeading(QStringView line) {
    const QStringView trimmed = line.trimmed();
    return !trimmed.isEmpty() && (trimmed.endsWith(u':') || trimmed.endsWith(u'\uFF1A'));
}

} // namespace

std::optional<QString> answerOf(QStringView question) {
    const ParsedQuestion parsed = readBackwards(question, question.size(), 0);
    for (qsizetype i = 0; i < parsed.start; ++i) {
        if (kindAt(question, i) != CharKind::Blank)
            return std::nullopt;
    }
    return answerOf(parsed);
}

QString AnswerKey::text() const {
    QString joined;
    for (const AnswerLine &line : lines) {
        if (&line != &lines.front())
            joined += u'\n';
        joined += line.text;
    }
    return joined;
}

AnswerKey makeAnswerKey(const QStringList &sheetLines) {
    AnswerKey key;
    // Empty lines wait until the next line that is written; those after a
    // heading go with it when it turns out to have no questions.
    std::vector<int> emptiesBefore;
    std::vector<int> emptiesAfterHeading;
    int heading = -1; // a heading waiting for its questions
    const auto write = [&key](int source, QString text) {
        key.lines.push_back({source, std::move(text)});
    };
    const auto writeEmpties = [&](std::vector<int> &empties) {
        for (const int source : empties)
            write(source, QString());
        empties.clear();
    };

    for (int i = 0; i < sheetLines.size(); ++i) {
        const QString &line = sheetLines[i];
        if (isBlank(line)) {
            (heading >= 0 ? emptiesAfterHeading : emptiesBefore).push_back(i);
            continue;
        }
        AnsweredLine answered = answerLine(line, key);
        if (answered.hasQuestions) {
            if (key.lines.empty())
                write(-1, QString::fromUtf16(kAnswerKeyHeading));
            if (heading >= 0) {
                writeEmpties(emptiesBefore);
                write(heading, sheetLines[heading]);
                heading = -1;
                emptiesBefore.swap(emptiesAfterHeading);
            }
            writeEmpties(emptiesBefore);
            write(i, std::move(answered.text));
        } else if (isHeading(line)) {
            heading = i;
            emptiesAfterHeading.clear();
        }
    }
    return key;
}

} // namespace drillpad
