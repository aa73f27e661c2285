#include "bench_main.h"
#include "controls/fonts.h"
#include "controls/rich_text_box.h"
#include "guide/sheet_writer.h"
#include "question/question.h"

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

} // namespace

DRILLPAD_BENCHMARK_MAIN()
