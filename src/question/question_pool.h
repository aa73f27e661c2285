#pragma once

#include "question/question.h"
#include "question/question_settings.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace drillpad {

// Which number of a question the pupil writes: the result, or the first or
// the second operand left blank ("(　)+3=7", "8-(　)=5").
enum class QuestionForm : std::uint8_t { Result, BlankFirst, BlankSecond };

// One question of a single operation drawn under the settings. For division
// `a` is the quotient and `b` the divisor; the dividend a×b+remainder is
// written first.
struct PoolQuestion {
    Operator op = Operator::Add;
    int a = 0;
    int b = 0;
    int remainder = 0;
    QuestionForm form = QuestionForm::Result;

    friend bool operator==(const PoolQuestion &, const PoolQuestion &) = default;
};

// The number written before the operator: a, or the dividend.
long long firstNumber(const PoolQuestion &question);
// The result: a+b, a-b, a×b, or the quotient a.
long long resultOf(const PoolQuestion &question);
// The number the pupil writes: the result, or the blank operand.
long long missingNumber(const PoolQuestion &question);
// A distinct key for the no-repeats rule.
std::uint64_t keyOf(const PoolQuestion &question);

// The blank as written: "(　)" or "□".
QString blankText(BlankStyle style);

// Appends the sheet text: "7+3=　", "17÷5=　", "(　)+3=7　", "□÷5=3……2　".
void appendPoolQuestion(QString &out, const PoolQuestion &question, BlankStyle style);
// The quiz's text, without the answer gap: "7+3=", "(　)+3=7".
QString quizText(const PoolQuestion &question, BlankStyle style);
// The answer the pupil writes: "10", "3……2" for a remainder, or the blank's
// number.
QString answerText(const PoolQuestion &question);

// Every question of one operation that meets a type's settings: operands
// from max(2, from) to `to` (for division the divisor and the quotient), the
// carry or borrow rule digit by digit, the result bounds, the remainder rule
// and the forms asked for. It counts them exactly and draws each with the
// same chance by construction: a uniform index is turned into its question
// through running totals over the first operand and, for the second, the
// k-th qualifying number read off column by column.
class QuestionPool {
public:
    QuestionPool(Operator op, const TypeSettings &settings);

    Operator op() const { return op_; }
    // How many different questions qualify.
    long long size() const { return total_ * forms_; }
    // The index-th question, 0 <= index < size(), in a fixed order.
    PoolQuestion at(long long index) const;
    // A uniformly drawn question; the pool must not be empty.
    PoolQuestion draw() const;

    // The numbers that may stand after the first operand, with the rule
    // they meet: all of them, those whose digits stay at or below a bound
    // per column (no carry, no borrow), the others (a carry or a borrow),
    // or the one-digit numbers of a mask.
    struct SecondOperands {
        enum class Rule : std::uint8_t { All, DigitsAtMost, DigitsAbove, Mask };
        long long lo = 0;
        long long hi = -1;
        Rule rule = Rule::All;
        std::uint16_t mask = 0;     // Rule::Mask: bit d for the number d
        std::uint8_t digitMax[5]{}; // per column, ones first
        long long below[5]{};       // the choices of the columns under each
    };

private:
    SecondOperands secondOperands(int first) const;
    long long weightOf(int first) const;

    Operator op_;
    TypeSettings settings_;
    int lo_ = 2;
    int hi_ = 0;
    long long forms_ = 1;
    // Division: the quotients and the remainders per divisor.
    long long quotientLo_ = 0;
    long long quotientHi_ = -1;
    // running_[i]: the qualifying pairs whose first operand (the divisor for
    // division) is below lo_ + i.
    std::vector<long long> running_;
    long long total_ = 0;
};

// Whether a type's settings leave a question. When they leave none: the
// message that names the type and the setting to change, such as
// "加法：“进位”的设置下没有可出的题，请放宽这项设置或修改数字范围".
std::optional<QString> noQuestionMessage(QuestionType type, const TypeSettings &settings);

// The operator of a single-operation type; nothing for the mixed type.
std::optional<Operator> operatorOfType(QuestionType type);

} // namespace drillpad
