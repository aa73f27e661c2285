#include "bench_main.h"
#include "controls/fonts.h"
#include "controls/rich_text_box.h"
#include "guide/sheet_writer.h"
#include "question/bracket_question.h"
#include "question/mixed_question.h"
#include "question/question.h"
#include "question/question_pool.h"
#include "question/random.h"

#include <QApplication>

#include <benchmark/benchmark.h>

using namespace drillpad;

namespace {

void BM_MakeQuestion(benchmark::State &state, const char *op, std::int16_t bound) {
    const QString code = QString::fromLatin1(op);
    for (auto _ : state)
        benchmark::DoNotOptimize(MakeQuestion(code, bound));
}
BENCHMARK_CAPTURE(BM_MakeQuestion, add_9, "+", 9);
BENCHMARK_CAPTURE(BM_MakeQuestion, subtract_9, "-", 9);
BENCHMARK_CAPTURE(BM_MakeQuestion, multiply_9, "*", 9);
BENCHMARK_CAPTURE(BM_MakeQuestion, divide_9, "/", 9);
BENCHMARK_CAPTURE(BM_MakeQuestion, divide_32767, "/", 32767);

SheetSettings largestSheet() {
    SheetSettings settings;
    for (QuestionType type :
         {QuestionType::Add, QuestionType::Minus, QuestionType::Mul, QuestionType::Devition})
        settings[type] = {true, 0, 32767, 32767};
    return settings;
}

void BM_SheetText_4x32767(benchmark::State &state) {
    const SheetSettings settings = largestSheet();
    for (auto _ : state)
        benchmark::DoNotOptimize(makeSheetText(settings));
    state.SetItemsProcessed(state.iterations() * 4 * 32767);
}
BENCHMARK(BM_SheetText_4x32767)->Unit(benchmark::kMillisecond);

// Writing the largest sheet into a shown editor, as the wizard's Finish
// does, up to the editor's first repaint.
void BM_SheetIntoEditor_4x32767(benchmark::State &state) {
    const QString sheet = makeSheetText(largestSheet());
    RichTextBox editor;
    editor.resize(488, 409);
    editor.show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        editor.setText(sheet);
        QCoreApplication::processEvents();
        editor.viewport()->repaint();
    }
}
BENCHMARK(BM_SheetIntoEditor_4x32767)->Unit(benchmark::kMillisecond);

// The most restrictive rule of each type over the widest range: carrying
// with sums of 30000 and more, borrowing with a difference below 10, a
// many-digit number times a one-digit one without carrying, and a remainder
// with a quotient up to 100; blanks asked beside results.
SheetSettings restrictiveSheet() {
    SheetSettings settings = largestSheet();
    TypeSettings &add = settings[QuestionType::Add];
    add.carry = Carry::Required;
    add.resultLowest = 30000;
    TypeSettings &minus = settings[QuestionType::Minus];
    minus.carry = Carry::Required;
    minus.resultHighest = 9;
    TypeSettings &mul = settings[QuestionType::Mul];
    mul.carry = Carry::None;
    mul.oneDigitFactor = true;
    TypeSettings &div = settings[QuestionType::Devition];
    div.remainder = Remainder::Required;
    div.resultHighest = 100;
    for (TypeSettings &type : settings.types)
        type.askFor = AskFor::Both;
    return settings;
}

// One draw from the qualifying questions of a type, once its pool is built.
void BM_RestrictiveDraw(benchmark::State &state, QuestionType type) {
    const QuestionPool pool(*operatorOfType(type), restrictiveSheet()[type]);
    for (auto _ : state)
        benchmark::DoNotOptimize(pool.draw());
}
BENCHMARK_CAPTURE(BM_RestrictiveDraw, carrying_addition, QuestionType::Add)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_RestrictiveDraw, borrowing_subtraction, QuestionType::Minus)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_RestrictiveDraw, multiplication_without_carry, QuestionType::Mul)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_RestrictiveDraw, division_with_remainder, QuestionType::Devition)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The whole sheet: 32767 questions of each type under its most restrictive
// rule, pools built, no repeats, text written.
void BM_RestrictiveSheet_4x32767(benchmark::State &state) {
    const SheetSettings settings = restrictiveSheet();
    for (auto _ : state)
        benchmark::DoNotOptimize(makeSheetText(settings));
    state.SetItemsProcessed(state.iterations() * 4 * 32767);
}
BENCHMARK(BM_RestrictiveSheet_4x32767)->Unit(benchmark::kMillisecond);

// Mixed questions over the widest range, with brackets and one operand
// blank: the most the mixed type asks of the drawing.
TypeSettings restrictiveMixed() {
    TypeSettings mixed{true, 0, 32767, 32767};
    mixed.brackets = true;
    mixed.askFor = AskFor::Unknown;
    return mixed;
}

// One bracketed question with a blank.
void BM_RestrictiveMixedDraw(benchmark::State &state) {
    static const DrawBetween uniform = randomBetween;
    const AskFor askFor = restrictiveMixed().askFor;
    for (auto _ : state) {
        MixedQuestion question = *drawBracketedQuestion(0, 32767, uniform);
        while (!drawMixedForm(question, askFor, uniform))
            question = *drawBracketedQuestion(0, 32767, uniform);
        benchmark::DoNotOptimize(question);
    }
}
BENCHMARK(BM_RestrictiveMixedDraw)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_RestrictiveMixedSheet_32767(benchmark::State &state) {
    SheetSettings settings;
    settings[QuestionType::Mix] = restrictiveMixed();
    for (auto _ : state)
        benchmark::DoNotOptimize(makeSheetText(settings));
    state.SetItemsProcessed(state.iterations() * 32767);
}
BENCHMARK(BM_RestrictiveMixedSheet_32767)->Unit(benchmark::kMillisecond);

} // namespace

DRILLPAD_BENCHMARK_MAIN()
