#include "question/answer_key.h"

#include "question/question.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <numeric>
#include <optional>

namespace drillpad {

namespace {

// Longer numbers are not read: their products would not fit.
constexpr int kMaxDigits = 12;
// The most decimal places a worked-out number may have.
constexpr int kMaxScale = 18;
// The deepest a question may nest, in brackets or steps: deeper ones are
// not read (working them out would take as deep a stack).
constexpr int kMaxDepth = 100;

constexpr std::array<long long, kMaxScale + 1> kPowersOfTen = [] {
    std::array<long long, kMaxScale + 1> powers{};
    long long power = 1;
    for (std::size_t i = 0; i < powers.size(); ++i) {
        powers[i] = power;
        if (i + 1 < powers.size())
            power *= 10;
    }
    return powers;
}();

// A number worked out exactly: units / 10^scale, without trailing zeros.
struct Decimal {
    long long units = 0;
    int scale = 0;

    bool isWhole() const { return scale == 0; }
    friend bool operator==(const Decimal &, const Decimal &) = default;
};

Decimal normalised(Decimal d) {
    while (d.scale > 0 && d.units % 10 == 0) {
        d.units /= 10;
        --d.scale;
    }
    return d;
}

std::optional<long long> timesPowerOfTen(long long units, int exponent) {
    long long result = 0;
    if (exponent > kMaxScale || __builtin_mul_overflow(units, kPowersOfTen[exponent], &result))
        return std::nullopt;
    return result;
}

std::optional<Decimal> addOrSubtract(Operator op, Decimal x, Decimal y) {
    const int scale = std::max(x.scale, y.scale);
    const std::optional<long long> xu = timesPowerOfTen(x.units, scale - x.scale);
    const std::optional<long long> yu = timesPowerOfTen(y.units, scale - y.scale);
    long long result = 0;
    if (!xu || !yu ||
        (op == Operator::Add ? __builtin_add_overflow(*xu, *yu, &result)
                             : __builtin_sub_overflow(*xu, *yu, &result)))
        return std::nullopt;
    return normalised({result, scale});
}

std::optional<Decimal> multiply(Decimal x, Decimal y) {
    long long result = 0;
    if (__builtin_mul_overflow(x.units, y.units, &result) || x.scale + y.scale > kMaxScale)
        return std::nullopt;
    return normalised({result, x.scale + y.scale});
}

// x ÷ y when the quotient ends: in lowest terms the divisor has no prime
// factors but 2 and 5.
std::optional<Decimal> divide(Decimal x, Decimal y) {
    long long n = x.units;
    long long d = y.units;
    if (d == 0 || n == LLONG_MIN || d == LLONG_MIN)
        return std::nullopt;
    if (d < 0) {
        n = -n;
        d = -d;
    }
    const long long common = std::gcd(n, d);
    n /= common;
    d /= common;
    int twos = 0;
    int fives = 0;
    for (long long rest = d; rest % 2 == 0; rest /= 2)
        ++twos;
    for (long long rest = d; rest % 5 == 0; rest /= 5)
        ++fives;
    const int places = std::max(twos, fives);
    if (places > kMaxScale || kPowersOfTen[places] % d != 0)
        return std::nullopt;
    long long units = 0;
    if (__builtin_mul_overflow(n, kPowersOfTen[places] / d, &units))
        return std::nullopt;
    int scale = places + x.scale - y.scale;
    if (scale < 0) {
        const std::optional<long long> whole = timesPowerOfTen(units, -scale);
        if (!whole)
            return std::nullopt;
        units = *whole;
        scale = 0;
    }
    if (scale > kMaxScale)
        return std::nullopt;
    return normalised({units, scale});
}

std::optional<Decimal> apply(Operator op, Decimal x, Decimal y) {
    switch (op) {
    case Operator::Add:
    case Operator::Subtract:
        return addOrSubtract(op, x, y);
    case Operator::Multiply:
        return multiply(x, y);
    case Operator::Divide:
        return divide(x, y);
    }
    return std::nullopt;
}

void appendDecimal(QString &out, Decimal d) {
    if (d.units < 0)
        out += u'-';
    const auto magnitude = d.units < 0 ? 0ull - static_cast<unsigned long long>(d.units)
                                       : static_cast<unsigned long long>(d.units);
    QString digits = QString::number(magnitude);
    if (d.scale == 0) {
        out += digits;
        return;
    }
    if (digits.size() <= d.scale)
        digits.prepend(QString(d.scale + 1 - digits.size(), u'0'));
    out += QStringView(digits).first(digits.size() - d.scale);
    out += u'.';
    out += QStringView(digits).last(d.scale);
}

// What a character of a sheet is; sheets are typed with either half- or
// full-width forms.
enum class Kind : std::uint8_t {
    Other,
    Digit,
    Operator,
    Equals,
    Blank,
    Open,
    Close,
    Box,
    Point,
    Comma,
    Ellipsis
};

struct CharClass {
    Kind kind = Kind::Other;
    std::uint8_t value = 0; // the digit, or the Operator
};

constexpr CharClass operatorClass(Operator op) {
    return {Kind::Operator, static_cast<std::uint8_t>(op)};
}

constexpr CharClass classifyCode(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return {Kind::Digit, static_cast<std::uint8_t>(c - u'0')};
    if (c >= u'\uFF10' && c <= u'\uFF19')
        return {Kind::Digit, static_cast<std::uint8_t>(c - u'\uFF10')};
    switch (c) {
    case u'+':
    case u'\uFF0B':
        return operatorClass(Operator::Add);
    case u'-':
    case u'\uFF0D':
    case u'\u2212':
        return operatorClass(Operator::Subtract);
    case u'\u00D7':
    case u'*':
    case u'\uFF0A':
        return operatorClass(Operator::Multiply);
    case u'\u00F7':
    case u'/':
    case u'\uFF0F':
        return operatorClass(Operator::Divide);
    case u'=':
    case u'\uFF1D':
        return {Kind::Equals};
    case u' ':
    case u'\t':
    case u'\u00A0':
    case kAnswerGap:
        return {Kind::Blank};
    case u'(':
    case u'[':
    case u'\uFF08':
    case u'\uFF3B':
        return {Kind::Open};
    case u')':
    case u']':
    case u'\uFF09':
    case u'\uFF3D':
        return {Kind::Close};
    case u'\u25A1':
        return {Kind::Box};
    case u'.':
    case u'\uFF0E':
        return {Kind::Point};
    case u',':
    case u'\uFF0C':
        return {Kind::Comma};
    case u'\u2026':
        return {Kind::Ellipsis};
    default:
        return {};
    }
}

constexpr auto kAsciiClasses = [] {
    std::array<CharClass, 128> classes{};
    for (char16_t c = 0; c < 128; ++c)
        classes[c] = classifyCode(c);
    return classes;
}();

CharClass classify(QChar ch) {
    const char16_t c = ch.unicode();
    return c < 128 ? kAsciiClasses[c] : classifyCode(c);
}

Kind kindAt(QStringView text, qsizetype i) {
    return classify(text[i]).kind;
}

// Where the run of characters of the kind starting at `from` ends.
qsizetype endOfRun(QStringView text, qsizetype from, Kind kind) {
    while (from < text.size() && kindAt(text, from) == kind)
        ++from;
    return from;
}

enum class Tok : std::uint8_t {
    Number,
    BadNumber, // digits that do not make one number: "1,00", ".5", too many
    Operator,
    Equals,
    Open,
    Close,
    Slot, // a blank to fill: "(　)" or "□"
    Ellipsis,
    Other
};

struct Token {
    Tok type = Tok::Other;
    Operator op = Operator::Add;
    qsizetype start = 0;
    qsizetype end = 0;
    Decimal value;

    // A box is filled by replacing it, brackets by writing between them.
    qsizetype fillStart(QStringView line) const {
        return kindAt(line, start) == Kind::Box ? start : start + 1;
    }
    qsizetype fillEnd(QStringView line) const {
        return kindAt(line, start) == Kind::Box ? end : end - 1;
    }
};

// The number starting at `start`: digits, a decimal point and thousands
// separators, each separator followed by a digit.
Token readNumber(QStringView line, qsizetype start) {
    Token token{Tok::Number, Operator::Add, start, start, {}};
    int digits = 0;
    int points = 0;
    int commas = 0;
    int groupDigits = 0; // digits since the last separator
    bool wellFormed = start == 0 || (kindAt(line, start - 1) != Kind::Point &&
                                     kindAt(line, start - 1) != Kind::Comma);
    qsizetype i = start;
    for (; i < line.size(); ++i) {
        const CharClass c = classify(line[i]);
        if (c.kind == Kind::Digit) {
            if (++digits <= kMaxDigits)
                token.value.units = token.value.units * 10 + c.value;
            token.value.scale += points;
            ++groupDigits;
            continue;
        }
        const bool separator = c.kind == Kind::Point || c.kind == Kind::Comma;
        if (!separator || i + 1 == line.size() || kindAt(line, i + 1) != Kind::Digit)
            break;
        // 1,234,567.89: the first group of one to three digits, then groups
        // of three, then one point.
        if (c.kind == Kind::Point)
            wellFormed = wellFormed && points++ == 0 && (commas == 0 || groupDigits == 3);
        else
            wellFormed =
                wellFormed && points == 0 && (commas++ == 0 ? groupDigits <= 3 : groupDigits == 3);
        groupDigits = 0;
    }
    if (commas > 0 && points == 0 && groupDigits != 3)
        wellFormed = false;
    token.end = i;
    if (!wellFormed || digits > kMaxDigits)
        token.type = Tok::BadNumber;
    token.value = normalised(token.value);
    return token;
}

void tokenize(QStringView line, std::vector<Token> &tokens) {
    tokens.clear();
    const qsizetype n = line.size();
    qsizetype i = 0;
    const auto add = [&](Tok type, qsizetype end, Operator op = Operator::Add) {
        tokens.push_back({type, op, i, end, {}});
        i = end;
    };
    while (i < n) {
        const CharClass c = classify(line[i]);
        switch (c.kind) {
        case Kind::Blank:
            ++i;
            break;
        case Kind::Digit:
            tokens.push_back(readNumber(line, i));
            i = tokens.back().end;
            break;
        case Kind::Operator:
            add(Tok::Operator, i + 1, static_cast<Operator>(c.value));
            break;
        case Kind::Equals:
            add(Tok::Equals, i + 1);
            break;
        case Kind::Open: {
            const qsizetype close = endOfRun(line, i + 1, Kind::Blank);
            if (close < n && kindAt(line, close) == Kind::Close)
                add(Tok::Slot, close + 1);
            else
                add(Tok::Open, i + 1);
            break;
        }
        case Kind::Close:
            add(Tok::Close, i + 1);
            break;
        case Kind::Box:
            add(Tok::Slot, i + 1);
            break;
        case Kind::Ellipsis:
            add(Tok::Ellipsis, endOfRun(line, i + 1, Kind::Ellipsis));
            break;
        default:
            add(Tok::Other, endOfRun(line, i + 1, Kind::Other));
            break;
        }
    }
}

// A question before an "=" as a tree: numbers and a blank at the leaves.
struct Node {
    enum class Type : std::uint8_t { Value, Slot, Apply } type = Type::Value;
    Operator op = Operator::Add;
    bool holdsSlot = false;
    int depth = 1;
    int left = -1;
    int right = -1;
    Decimal value;
    int token = -1;
};

// Reads tokens[from, to) as one expression, × and ÷ before + and -.
class Parser {
public:
    Parser(const std::vector<Token> &tokens, std::vector<Node> &nodes, int from, int to)
        : tokens_(tokens), nodes_(nodes), at_(from), end_(to) {
        nodes_.clear();
    }

    // The root, or -1 when the tokens are no expression.
    int parse() {
        const int root = sum();
        return at_ == end_ ? root : -1;
    }

private:
    bool atOperator(Operator a, Operator b) const {
        return at_ < end_ && tokens_[at_].type == Tok::Operator &&
               (tokens_[at_].op == a || tokens_[at_].op == b);
    }

    template <typename Operand> int chain(Operator a, Operator b, Operand operand) {
        int left = operand();
        while (left >= 0 && atOperator(a, b)) {
            const Operator op = tokens_[at_++].op;
            const int right = operand();
            if (right < 0)
                return -1;
            const int depth = 1 + std::max(nodes_[left].depth, nodes_[right].depth);
            if (depth > kMaxDepth)
                return -1;
            nodes_.push_back({Node::Type::Apply,
                              op,
                              nodes_[left].holdsSlot || nodes_[right].holdsSlot,
                              depth,
                              left,
                              right,
                              {},
                              -1});
            left = static_cast<int>(nodes_.size()) - 1;
        }
        return left;
    }

    int sum() {
        return chain(Operator::Add, Operator::Subtract, [this] { return product(); });
    }
    int product() {
        return chain(Operator::Multiply, Operator::Divide, [this] { return factor(); });
    }
    int factor() {
        if (at_ == end_)
            return -1;
        const Token &token = tokens_[at_];
        if (token.type == Tok::Open) {
            if (++nesting_ > kMaxDepth)
                return -1;
            ++at_;
            const int inner = sum();
            --nesting_;
            if (inner < 0 || at_ == end_ || tokens_[at_].type != Tok::Close)
                return -1;
            ++at_;
            return inner;
        }
        if (token.type != Tok::Number && token.type != Tok::Slot)
            return -1;
        const bool slot = token.type == Tok::Slot;
        nodes_.push_back({slot ? Node::Type::Slot : Node::Type::Value, Operator::Add, slot, 1, -1,
                          -1, token.value, at_++});
        return static_cast<int>(nodes_.size()) - 1;
    }

    const std::vector<Token> &tokens_;
    std::vector<Node> &nodes_;
    int at_;
    int end_;
    int nesting_ = 0;
};

// The value of a node, the blank taken as `slot`.
std::optional<Decimal> evaluate(const std::vector<Node> &nodes, int at,
                                std::optional<Decimal> slot = std::nullopt) {
    const Node &node = nodes[at];
    switch (node.type) {
    case Node::Type::Value:
        return node.value;
    case Node::Type::Slot:
        return slot;
    case Node::Type::Apply:
        break;
    }
    const std::optional<Decimal> left = evaluate(nodes, node.left, slot);
    const std::optional<Decimal> right = left ? evaluate(nodes, node.right, slot) : std::nullopt;
    return right ? apply(node.op, *left, *right) : std::nullopt;
}

// The number in the blank below `at` that gives `target`, when there is
// exactly one: each step undone in turn. Multiplying by 0 (0×(　)=0) or
// dividing 0 ((0÷(　)=0) fits every number, or none.
std::optional<Decimal> solve(const std::vector<Node> &nodes, int at, Decimal target) {
    const Node &node = nodes[at];
    if (node.type == Node::Type::Slot)
        return target;
    const bool slotLeft = nodes[node.left].holdsSlot;
    const std::optional<Decimal> known = evaluate(nodes, slotLeft ? node.right : node.left);
    if (!known)
        return std::nullopt;
    std::optional<Decimal> inner;
    switch (node.op) {
    case Operator::Add:
        inner = addOrSubtract(Operator::Subtract, target, *known);
        break;
    case Operator::Subtract:
        inner = slotLeft ? addOrSubtract(Operator::Add, target, *known)
                         : addOrSubtract(Operator::Subtract, *known, target);
        break;
    case Operator::Multiply:
        inner = divide(target, *known);
        break;
    case Operator::Divide:
        inner = slotLeft ? multiply(target, *known) : divide(*known, target);
        break;
    }
    return inner ? solve(nodes, slotLeft ? node.left : node.right, *inner) : std::nullopt;
}

// The result written after the "=" of a question with a blank: a number,
// perhaps with a remainder ("3……2").
struct Result {
    Decimal value;
    std::optional<Decimal> remainder;
    int next = 0; // the token after it
};

// The missing number of "a÷(　)=q……r" or "(　)÷d=q……r", whole numbers
// throughout.
std::optional<Decimal> solveRemainder(const std::vector<Node> &nodes, int root,
                                      const Result &result) {
    const Node &node = nodes[root];
    const Decimal quotient = result.value;
    const Decimal remainder = *result.remainder;
    if (node.type != Node::Type::Apply || node.op != Operator::Divide)
        return std::nullopt;
    const bool slotLeft = nodes[node.left].type == Node::Type::Slot;
    if (!slotLeft && nodes[node.right].type != Node::Type::Slot)
        return std::nullopt;
    const std::optional<Decimal> known = evaluate(nodes, slotLeft ? node.right : node.left);
    if (!known || !known->isWhole() || !quotient.isWhole() || !remainder.isWhole() ||
        known->units < 0 || quotient.units < 0 || remainder.units < 0)
        return std::nullopt;
    const long long q = quotient.units;
    const long long r = remainder.units;
    long long x = 0;
    if (slotLeft) { // x = q·d + r, r < d
        if (r >= known->units || __builtin_mul_overflow(q, known->units, &x) ||
            __builtin_add_overflow(x, r, &x))
            return std::nullopt;
    } else { // a = q·x + r, r < x; with q = 0 every x above a fits
        if (q == 0 || known->units < r || (known->units - r) % q != 0)
            return std::nullopt;
        x = (known->units - r) / q;
        if (x <= r)
            return std::nullopt;
    }
    return Decimal{x, 0};
}

enum class Reading { NotAQuestion, Unreadable, Question };

struct AnsweredLine {
    bool hasQuestions = false;
    int answered = 0;
    int leftOut = 0;
    // Answers written where nothing was: a question still to be answered.
    int opened = 0;
    QString text;
};

// Answers the questions of one line; its buffers serve line after line.
class LineAnswerer {
public:
    AnsweredLine answer(QStringView line, bool writeText = true);

private:
    struct Question {
        Reading reading = Reading::NotAQuestion;
        int root = -1;
        int slots = 0;
    };
    // Where an answer goes after the "=" of a question without a blank.
    struct Place {
        qsizetype from = 0;
        qsizetype to = 0; // [from, to) is replaced
        bool empty = true;
        int next = 0;
    };

    Question readQuestion(int floor, int equals);
    int matchingOpen(int close, int floor) const;
    bool endsAnswer(int last) const;
    bool endsAnswerAt(qsizetype after, int next) const;
    bool operatorAt(int i) const;
    std::optional<int> writtenNumber(int at) const;
    Place placeOfAnswer(int equals) const;
    std::optional<Result> resultAfter(int equals) const;
    std::optional<QString> answerOf(int root) const;

    QStringView line_;
    std::vector<Token> tokens_;
    std::vector<Node> nodes_;
};

// Whether a written answer that ends with tokens_[last] ends there: at the
// end of the line or before a blank ("2、" or "(2)" after an "=" is
// numbering), and before no operator that would go on with it as a question
// ("3 ×4="), unless an answer gap comes first ("10　+").
bool LineAnswerer::endsAnswer(int last) const {
    return endsAnswerAt(tokens_[last].end, last + 1);
}

// The same for an answer ending at `after`, tokens_[next] the token after it.
bool LineAnswerer::endsAnswerAt(qsizetype after, int next) const {
    if (after == line_.size())
        return true;
    if (kindAt(line_, after) != Kind::Blank)
        return false;
    return !operatorAt(next) ||
           line_.sliced(after, tokens_[next].start - after).contains(kAnswerGap);
}

bool LineAnswerer::operatorAt(int i) const {
    return i < static_cast<int>(tokens_.size()) &&
           (tokens_[i].type == Tok::Operator || tokens_[i].type == Tok::Equals);
}

int LineAnswerer::matchingOpen(int close, int floor) const {
    int depth = 0;
    for (int i = close; i >= floor; --i) {
        depth += tokens_[i].type == Tok::Close ? 1 : tokens_[i].type == Tok::Open ? -1 : 0;
        if (depth == 0)
            return i;
    }
    return -1;
}

// The question that ends before tokens_[equals], not looking before
// tokens_[floor]: operands (numbers, blanks, brackets) joined by operators,
// from the right until no operator precedes an operand. Text before "=" that
// is no operand is no question; an operator without an operand on either
// side ("7×=", "×9="), a bracket not closed, a number that is not well
// formed, or no operator at all makes an unreadable one.
LineAnswerer::Question LineAnswerer::readQuestion(int floor, int equals) {
    int i = equals - 1;
    int start = -1;
    for (;;) {
        int operandStart = -1;
        if (i >= floor) {
            const Tok type = tokens_[i].type;
            if (type == Tok::Number || type == Tok::BadNumber || type == Tok::Slot)
                operandStart = i;
            else if (type == Tok::Close)
                operandStart = matchingOpen(i, floor);
        }
        if (operandStart < 0) {
            if (start >= 0)
                return {Reading::Unreadable};
            return {i >= floor && tokens_[i].type == Tok::Operator ? Reading::Unreadable
                                                                   : Reading::NotAQuestion};
        }
        start = operandStart;
        i = operandStart - 1;
        if (i < floor || tokens_[i].type != Tok::Operator)
            break;
        --i;
    }
    Question question;
    question.reading = Reading::Unreadable;
    // "(3+4×2=": a bracket opened and never closed; "4□+3=", "□4+3=",
    // "2(3+4)=": a blank for a digit, or a number joined to a bracket.
    if (start > floor) {
        const Token &before = tokens_[start - 1];
        const bool joined = before.end == tokens_[start].start &&
                            (before.type == Tok::Number || before.type == Tok::BadNumber ||
                             before.type == Tok::Slot);
        if (before.type == Tok::Open || joined)
            return question;
    }
    for (int t = start; t < equals; ++t) {
        if (tokens_[t].type == Tok::BadNumber)
            return question;
        question.slots += tokens_[t].type == Tok::Slot;
    }
    question.root = Parser(tokens_, nodes_, start, equals).parse();
    if (question.root >= 0 && nodes_[question.root].type == Node::Type::Apply)
        question.reading = Reading::Question;
    return question;
}

// The end of a number written at tokens_[at] as an answer: perhaps negative
// ("-2") or with a remainder ("3……1").
std::optional<int> LineAnswerer::writtenNumber(int at) const {
    const auto size = static_cast<int>(tokens_.size());
    const auto adjacent = [&](int i) { return tokens_[i].start == tokens_[i - 1].end; };
    const auto isNumber = [&](int i) {
        return i < size && (tokens_[i].type == Tok::Number || tokens_[i].type == Tok::BadNumber);
    };
    if (at < size && tokens_[at].type == Tok::Operator && tokens_[at].op == Operator::Subtract &&
        isNumber(at + 1) && adjacent(at + 1))
        ++at;
    if (!isNumber(at))
        return std::nullopt;
    if (at + 2 < size && tokens_[at + 1].type == Tok::Ellipsis && adjacent(at + 1) &&
        isNumber(at + 2) && adjacent(at + 2))
        at += 2;
    return at + 1;
}

// An answer goes into a blank right after the "=" ("=(　)", "=□"), into
// brackets there ("=(9)"), or in place of a number written after it,
// blanks between allowed ("= 8"), each ending as endsAnswer says; a number
// that does not is the start of the next question.
LineAnswerer::Place LineAnswerer::placeOfAnswer(int equals) const {
    const Token &eq = tokens_[equals];
    const int first = equals + 1;
    Place place{eq.end, eq.end, true, first};
    if (first == static_cast<int>(tokens_.size()))
        return place;
    const Token &next = tokens_[first];
    const bool adjacent = next.start == eq.end;
    if (adjacent && next.type == Tok::Slot && endsAnswer(first))
        return {next.fillStart(line_), next.fillEnd(line_), true, first + 1};
    if (adjacent && next.type == Tok::Open) {
        const std::optional<int> end = writtenNumber(first + 1);
        if (end && *end < static_cast<int>(tokens_.size()) && tokens_[*end].type == Tok::Close &&
            endsAnswer(*end))
            return {next.end, tokens_[*end].start, false, *end + 1};
    }
    const std::optional<int> end = writtenNumber(first);
    if (end && endsAnswer(*end - 1))
        return {eq.end, tokens_[*end - 1].end, false, *end};
    return place;
}

std::optional<Result> LineAnswerer::resultAfter(int equals) const {
    const std::optional<int> end = writtenNumber(equals + 1);
    if (!end || !endsAnswer(*end - 1) || tokens_[equals + 1].type != Tok::Number)
        return std::nullopt;
    Result result{tokens_[equals + 1].value, std::nullopt, *end};
    if (*end - equals - 1 == 3) {
        if (tokens_[equals + 3].type != Tok::Number)
            return std::nullopt;
        result.remainder = tokens_[equals + 3].value;
    }
    return result;
}

std::optional<QString> LineAnswerer::answerOf(int root) const {
    const Node &node = nodes_[root];
    QString text;
    const Node &left = nodes_[node.left];
    const Node &right = nodes_[node.right];
    // A single division of whole numbers: the quotient and the remainder.
    if (node.op == Operator::Divide && left.type == Node::Type::Value &&
        right.type == Node::Type::Value && left.value.isWhole() && right.value.isWhole() &&
        right.value.units != 0 && left.value.units % right.value.units != 0) {
        text = QString::number(left.value.units / right.value.units);
        text += u"……";
        text += QString::number(left.value.units % right.value.units);
        return text;
    }
    const std::optional<Decimal> value = evaluate(nodes_, root);
    if (!value)
        return std::nullopt;
    appendDecimal(text, *value);
    return text;
}

AnsweredLine LineAnswerer::answer(QStringView line, bool writeText) {
    line_ = line;
    tokenize(line, tokens_);
    AnsweredLine result;
    qsizetype copied = 0;
    const auto write = [&](qsizetype upTo, QStringView answer) {
        if (writeText) {
            result.text += line.sliced(copied, upTo - copied);
            result.text += answer;
        }
    };
    int floor = 0;
    for (int e = 0; e < static_cast<int>(tokens_.size()); ++e) {
        if (tokens_[e].type != Tok::Equals)
            continue;
        const Question question = readQuestion(floor, e);
        // No question reaches back over an "=": each is read back only to the
        // one before, so that a line is read in one pass.
        floor = e + 1;
        if (question.reading == Reading::NotAQuestion)
            continue;
        result.hasQuestions = true;
        if (question.reading == Reading::Unreadable || question.slots > 1) {
            ++result.leftOut;
            continue;
        }
        if (question.slots == 1) {
            const std::optional<Result> given = resultAfter(e);
            std::optional<Decimal> missing;
            if (given) {
                floor = given->next;
                missing = given->remainder ? solveRemainder(nodes_, question.root, *given)
                                           : solve(nodes_, question.root, given->value);
            }
            const bool fits = missing && missing->isWhole() && missing->units >= 0 &&
                              (given->remainder || evaluate(nodes_, question.root, missing) ==
                                                       std::optional(given->value));
            if (!fits) {
                ++result.leftOut;
                continue;
            }
            const auto slot = std::find_if(nodes_.begin(), nodes_.end(), [](const Node &node) {
                return node.type == Node::Type::Slot;
            });
            const Token &blank = tokens_[slot->token];
            QString number;
            appendDecimal(number, *missing);
            write(blank.fillStart(line), number);
            copied = blank.fillEnd(line);
            ++result.answered;
            ++result.opened;
            e = floor - 1;
            continue;
        }
        const Place place = placeOfAnswer(e);
        floor = place.next;
        e = floor - 1;
        const std::optional<QString> answer = answerOf(question.root);
        if (!answer) {
            ++result.leftOut;
            continue;
        }
        write(place.from, *answer);
        // What is written straight after the "=" is kept apart, so that the
        // answer reads as one ("3+4=7+5=" → "3+4=7　7+5=").
        if (writeText && place.from == place.to && place.to == tokens_[e].end &&
            !endsAnswerAt(place.to, e + 1))
            result.text += kAnswerGap;
        copied = place.to;
        ++result.answered;
        result.opened += place.empty;
    }
    if (writeText && result.hasQuestions)
        result.text += line.sliced(copied);
    return result;
}

bool isBlank(QStringView line) {
    return endOfRun(line, 0, Kind::Blank) == line.size();
}

bool isHeading(QStringView line) {
    const QStringView trimmed = line.trimmed();
    return !trimmed.isEmpty() && (trimmed.endsWith(u':') || trimmed.endsWith(u'\uFF1A'));
}

} // namespace

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
    LineAnswerer answerer;
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
        AnsweredLine answered = answerer.answer(line);
        key.answered += answered.answered;
        key.leftOut += answered.leftOut;
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

QString verticalRowAsLine(const std::vector<QStringList> &cells) {
    const auto isNumber = [](const QString &text) {
        return !text.isEmpty() && std::all_of(text.begin(), text.end(),
                                              [](QChar c) { return c >= u'0' && c <= u'9'; });
    };
    const auto withoutBlanks = [](QString text) {
        text.removeIf([](QChar c) { return c.isSpace(); });
        return text;
    };
    QString line;
    for (const QStringList &cell : cells) {
        QStringList texts;
        for (const QString &text : cell) {
            if (!text.trimmed().isEmpty())
                texts << text.trimmed();
        }
        if (texts.isEmpty())
            continue;
        const QString top = withoutBlanks(texts.value(0));
        const QString second = withoutBlanks(texts.value(1));
        const bool vertical = texts.size() == 2 && isNumber(top) && second.size() > 1 &&
                              QStringView(u"+-×").contains(second.front()) &&
                              isNumber(second.sliced(1));
        line += vertical ? top + second + u'=' : texts.join(QChar(kAnswerGap));
        line += QChar(kAnswerGap);
    }
    return line;
}

std::vector<int> linesAddedToAnswerKey(const QStringList &sectionLines) {
    enum class Line { Empty, Answered, Heading, Added };
    LineAnswerer answerer;
    std::vector<Line> kinds;
    kinds.reserve(static_cast<std::size_t>(sectionLines.size()));
    for (const QString &line : sectionLines) {
        const AnsweredLine answered =
            isBlank(line) ? AnsweredLine{} : answerer.answer(line, /*writeText=*/false);
        if (isBlank(line))
            kinds.push_back(Line::Empty);
        else if (answered.hasQuestions)
            kinds.push_back(answered.opened > 0 ? Line::Added : Line::Answered);
        else
            kinds.push_back(isHeading(line) ? Line::Heading : Line::Added);
    }
    std::vector<int> added;
    Line below = Line::Empty; // the next line that is not empty
    for (int i = static_cast<int>(kinds.size()) - 1; i >= 0; --i) {
        if (kinds[i] == Line::Empty)
            continue;
        if (kinds[i] == Line::Added || (kinds[i] == Line::Heading && below != Line::Answered))
            added.push_back(i);
        below = kinds[i];
    }
    std::reverse(added.begin(), added.end());
    return added;
}

} // namespace drillpad
