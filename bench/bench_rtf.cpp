// Saving and loading the largest sheet the wizard writes: four sections of
// 32767 questions each.
#include "bench_main.h"
#include "controls/fonts.h"
#include "controls/rich_text_box.h"
#include "controls/rtf_document.h"
#include "controls/rtf_reader.h"
#include "controls/rtf_writer.h"
#include "guide/sheet_writer.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>

#include <benchmark/benchmark.h>

using namespace drillpad;

namespace {

QString largestSheet() {
    SheetSettings settings;
    for (QuestionType type :
         {QuestionType::Add, QuestionType::Minus, QuestionType::Mul, QuestionType::Devition})
        settings[type] = TypeSettings{true, 0, 99, 32767};
    return makeSheetText(settings);
}

// The sheet as a user leaves it: the text in the editor, the headings bold.
RichTextBox &sheetEditor() {
    static RichTextBox *editor = [] {
        auto *e = new RichTextBox;
        e->setText(largestSheet());
        for (QTextBlock block = e->document()->begin(); block.isValid(); block = block.next()) {
            if (block.text().endsWith(u':')) {
                QTextCursor cursor(block);
                cursor.select(QTextCursor::BlockUnderCursor);
                QTextCharFormat bold;
                bold.setFontWeight(QFont::Bold);
                cursor.mergeCharFormat(bold);
            }
        }
        return e;
    }();
    return *editor;
}

QTemporaryDir &folder() {
    static QTemporaryDir dir;
    return dir;
}

QString sheetPath() {
    return folder().filePath(QStringLiteral("sheet.rtf"));
}

void BM_SaveLargestSheet(benchmark::State &state) {
    const RichTextBox &editor = sheetEditor();
    for (auto _ : state) {
        const FileStatus status = editor.saveFile(sheetPath());
        if (!status.ok())
            state.SkipWithError(qPrintable(status.error));
    }
    state.SetBytesProcessed(state.iterations() * editor.rtf().size());
}
BENCHMARK(BM_SaveLargestSheet)->Unit(benchmark::kMillisecond);

void BM_WriteRtfOnly(benchmark::State &state) {
    const RtfDocument document = rtfFromTextDocument(*sheetEditor().document());
    for (auto _ : state)
        benchmark::DoNotOptimize(writeRtf(document));
}
BENCHMARK(BM_WriteRtfOnly)->Unit(benchmark::kMillisecond);

void BM_LoadLargestSheet(benchmark::State &state) {
    if (!sheetEditor().saveFile(sheetPath()).ok())
        state.SkipWithError("could not write the sheet");
    RichTextBox editor;
    for (auto _ : state) {
        const FileStatus status = editor.loadFile(sheetPath());
        if (!status.ok())
            state.SkipWithError(qPrintable(status.error));
    }
}
BENCHMARK(BM_LoadLargestSheet)->Unit(benchmark::kMillisecond);

void BM_ParseRtfOnly(benchmark::State &state) {
    const QByteArray rtf = sheetEditor().rtf();
    for (auto _ : state)
        benchmark::DoNotOptimize(parseRtf(rtf));
    state.SetBytesProcessed(state.iterations() * rtf.size());
}
BENCHMARK(BM_ParseRtfOnly)->Unit(benchmark::kMillisecond);

} // namespace

DRILLPAD_BENCHMARK_MAIN()
