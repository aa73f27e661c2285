// The largest sheet the wizard can write: every type ticked with 32767
// questions, as sheet text alone and from the Finish click into the editor;
// and sections that must repeat questions.
#include "app/forms_registry.h"
#include "bench_main.h"
#include "controls/command_button.h"
#include "controls/fonts.h"
#include "controls/rich_text_box.h"
#include "guide/frm_guide.h"
#include "guide/sheet_layout.h"
#include "guide/sheet_writer.h"
#include "mainwin/frm_main.h"
#include "mainwin/sheet_file.h"
#include "question/answer_key.h"
#include "rtf/rtf_reader.h"
#include "rtf/rtf_writer.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QTemporaryDir>
#include <QTextDocument>

#include <benchmark/benchmark.h>

using namespace drillpad;

namespace {

constexpr int kLargest = 32767;

SheetSettings largestSheet(int to) {
    SheetSettings settings;
    for (TypeSettings &type : settings.types)
        type = {true, 0, to, kLargest};
    return settings;
}

void BM_SheetText(benchmark::State &state) {
    const SheetSettings settings = largestSheet(static_cast<int>(state.range(0)));
    qsizetype length = 0;
    for (auto _ : state) {
        const QString sheet = makeSheetText(settings);
        length = sheet.size();
        benchmark::DoNotOptimize(sheet.constData());
    }
    state.counters["chars"] = static_cast<double>(length);
    state.counters["questions"] = 5.0 * kLargest;
}
// "to" 3 is the slowest subtraction draw (one pair in nine accepted); 32767
// gives the longest text.
BENCHMARK(BM_SheetText)->Arg(3)->Arg(9)->Arg(kLargest)->Unit(benchmark::kMillisecond);

// One section of 32767 questions in a narrow range: the range holds fewer
// different questions than asked (28 subtractions to 9; 12 mixed questions
// at 2..2, about 1500 at 10..15), so the sheet is written in rounds.
void BM_RepeatingSection(benchmark::State &state) {
    SheetSettings settings;
    const auto type = static_cast<QuestionType>(state.range(0));
    settings[type] = {true, static_cast<int>(state.range(1)), static_cast<int>(state.range(2)),
                      kLargest};
    long long different = 0;
    for (auto _ : state) {
        const Sheet sheet = makeSheet(settings);
        different = sheet.sections.front().different;
        benchmark::DoNotOptimize(sheet.text.constData());
    }
    state.counters["different"] = static_cast<double>(different);
}
BENCHMARK(BM_RepeatingSection)
    ->ArgNames({"type", "from", "to"})
    ->Args({static_cast<int>(QuestionType::Minus), 0, 9})
    ->Args({static_cast<int>(QuestionType::Mix), 0, 2})
    ->Args({static_cast<int>(QuestionType::Mix), 10, 15})
    ->Args({static_cast<int>(QuestionType::Mix), 0, 9})
    ->Unit(benchmark::kMillisecond);

// The answer key of the largest sheet as text alone: reading every question
// and writing its answer.
void BM_AnswerKeyText(benchmark::State &state) {
    const QStringList lines = makeSheetText(largestSheet(kLargest)).split(u'\n');
    int answered = 0;
    for (auto _ : state) {
        const AnswerKey key = makeAnswerKey(lines);
        answered = key.answered;
        benchmark::DoNotOptimize(key.lines.data());
    }
    state.counters["answered"] = answered;
}
BENCHMARK(BM_AnswerKeyText)->Unit(benchmark::kMillisecond);

// The answer page of the largest sheet, from the menu command until the
// page is in the editor, its heading in view (with `paint`: until the editor
// has shown it); undo takes it away between iterations.
void BM_AnswerPage(benchmark::State &state) {
    const bool paint = state.range(0) != 0;
    FrmMain &main = frmMain();
    main.show();
    main.txtMain()->setText(makeSheetText(largestSheet(kLargest)));
    QAction *command = main.menuAction("mnuFileAnswerKey");
    for (auto _ : state) {
        command->trigger();
        if (paint) {
            QCoreApplication::processEvents();
            main.txtMain()->viewport()->repaint();
        }
        state.PauseTiming();
        main.txtMain()->undo();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["blocks"] = static_cast<double>(main.txtMain()->document()->blockCount());
}
BENCHMARK(BM_AnswerPage)
    ->ArgName("paint")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(4);

// Ctrl+A over the largest sheet: the selection changes and the toolbar reads
// the selection's format to show it; a caret click ends each iteration.
void BM_SelectAllLargestSheet(benchmark::State &state) {
    FrmMain &main = frmMain();
    main.show();
    RichTextBox *editor = main.txtMain();
    editor->setText(makeSheetText(largestSheet(kLargest)));
    for (auto _ : state) {
        editor->selectAll();
        state.PauseTiming();
        editor->moveCursor(QTextCursor::Start);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SelectAllLargestSheet)->Unit(benchmark::kMillisecond);

// Fills the wizard with the largest settings and leaves it on page 3.
FrmGuide &preparedGuide() {
    FrmGuide &guide = frmGuide();
    guide.show();
    guide.chkSelectAll()->setChecked(true);
    guide.button("cmdNext")->click();
    for (int type = 0; type < kQuestionTypeCount; ++type) {
        guide.setEntryText(static_cast<QuestionType>(type), GuideField::To,
                           QString::number(kLargest));
        guide.setEntryText(static_cast<QuestionType>(type), GuideField::Count,
                           QString::number(kLargest));
    }
    guide.button("cmdNext")->click();
    return guide;
}

// From the Finish click until the sheet is in the editor and the wizard is
// hidden; Back returns to page 3 between iterations, outside the timing.
void BM_FinishIntoEditor(benchmark::State &state) {
    const bool paint = state.range(0) != 0;
    FrmMain &main = frmMain();
    main.show();
    FrmGuide &guide = preparedGuide();
    for (auto _ : state) {
        guide.button("cmdNext")->click();
        if (paint) {
            // The editor as the user next sees it.
            main.txtMain()->viewport()->repaint();
            QCoreApplication::processEvents();
        }
        state.PauseTiming();
        if (guide.isVisible() || main.txtMain()->document()->isEmpty())
            state.SkipWithError("Finish did not write the sheet");
        guide.show();
        guide.button("cmdBack")->click();
        // Undo steps would pile up the old sheets between iterations; the
        // sheet counts as saved, so that the next 完成 does not ask first.
        main.txtMain()->document()->clearUndoRedoStacks();
        main.txtMain()->document()->setModified(false);
        state.ResumeTiming();
    }
    state.counters["chars"] = static_cast<double>(main.txtMain()->document()->characterCount());
    unloadForm(FormId::Guide);
}
BENCHMARK(BM_FinishIntoEditor)
    ->ArgName("paint")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(8);

// 50 sets of 100 multiplications in 竖式, with their answers: laid out,
// shown in the editor and saved as RTF (the goal: under 2 s together).
void BM_VerticalSets(benchmark::State &state) {
    SheetSettings settings;
    settings[QuestionType::Mul] = {true, 2, 99, 100};
    settings.layout.sets = kMostSets;
    settings.layout.vertical = true;
    FrmMain &main = frmMain();
    main.show();
    RichTextBox *editor = main.txtMain();
    qsizetype saved = 0;
    for (auto _ : state) {
        const LaidOutSheet sheet = layOutSheet(settings);
        editor->setRtfDocument(sheet.document);
        editor->viewport()->repaint();
        QCoreApplication::processEvents();
        saved = editor->rtf().size();
        state.PauseTiming();
        editor->document()->clearUndoRedoStacks();
        state.ResumeTiming();
    }
    state.counters["bytes"] = static_cast<double>(saved);
}
BENCHMARK(BM_VerticalSets)->Unit(benchmark::kMillisecond)->Iterations(3);

// The largest sheet (5 x 32767) in columns, header and all: opened from its
// RTF file as the 打开 button does, until it shows, against a bare
// setPlainText of its text (the goal: within twice that).
void BM_OpenLargestSheet(benchmark::State &state) {
    const bool laidOut = state.range(0) != 0;
    SheetSettings settings = largestSheet(kLargest);
    settings.layout.perLine = 4;
    const LaidOutSheet sheet = layOutSheet(settings);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("largest.rtf"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(writeRtf(sheet.document)) < 0) {
        state.SkipWithError("the sheet was not written");
        return;
    }
    file.close();
    QTextDocument plain;
    rtfToTextDocument(sheet.document, plain);
    const QString text = plain.toPlainText();
    FrmMain &main = frmMain();
    main.show();
    RichTextBox *editor = main.txtMain();
    // QTextEdit's own setPlainText stumbles over the caret of a table an
    // earlier benchmark left; the program itself never calls it.
    editor->setText(QString());
    for (auto _ : state) {
        if (laidOut)
            openSheetFile(main, path);
        else
            editor->setPlainText(text);
        editor->viewport()->repaint();
        QCoreApplication::processEvents();
        state.PauseTiming();
        if (editor->document()->blockCount() < static_cast<int>(sheet.document.paragraphs.size()))
            state.SkipWithError("the sheet was not opened");
        editor->document()->clearUndoRedoStacks();
        state.ResumeTiming();
    }
    state.counters["paragraphs"] = static_cast<double>(sheet.document.paragraphs.size());
}
BENCHMARK(BM_OpenLargestSheet)
    ->ArgName("laidOut")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace

DRILLPAD_BENCHMARK_MAIN()
