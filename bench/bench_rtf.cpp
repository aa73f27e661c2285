// Saving and loading the largest sheet the wizard writes: five sections of
// 32767 questions each. Opening and showing it is measured beside a bare
// QTextEdit::setPlainText of the same text, and files that once froze the
// editor (many paragraphs, many format changes) are opened or refused.
#include "bench_main.h"
#include "controls/fonts.h"
#include "controls/rich_text_box.h"
#include "guide/sheet_writer.h"
#include "rtf/document_decoding.h"
#include "rtf/rtf_document.h"
#include "rtf/rtf_reader.h"
#include "rtf/rtf_writer.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>

#include <benchmark/benchmark.h>

using namespace drillpad;

namespace {

QString largestSheet() {
    SheetSettings settings;
    for (QuestionType type : {QuestionType::Add, QuestionType::Minus, QuestionType::Mul,
                              QuestionType::Devition, QuestionType::Mix})
        settings[type] = TypeSettings{true, 0, 32767, 32767};
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

// What a user waits for: the file read, the editor filled and its first
// screen painted.
void showEditor(QTextEdit &editor) {
    editor.resize(800, 600);
    editor.show();
    editor.viewport()->repaint();
}

void BM_OpenAndShowLargestSheet(benchmark::State &state) {
    if (!sheetEditor().saveFile(sheetPath()).ok())
        state.SkipWithError("could not write the sheet");
    for (auto _ : state) {
        RichTextBox editor;
        const FileStatus status = editor.loadFile(sheetPath());
        if (!status.ok())
            state.SkipWithError(qPrintable(status.error));
        showEditor(editor);
    }
}
BENCHMARK(BM_OpenAndShowLargestSheet)->Unit(benchmark::kMillisecond);

// The yardstick: bare Qt showing the same text.
void BM_BareSetPlainText(benchmark::State &state) {
    const QString text = sheetEditor().text();
    for (auto _ : state) {
        QTextEdit editor;
        editor.setPlainText(text);
        showEditor(editor);
    }
}
BENCHMARK(BM_BareSetPlainText)->Unit(benchmark::kMillisecond);

// Files up to the size limit that once took minutes and gigabytes, and
// files as large as are opened at all.
QByteArray pathological(int kind, qsizetype bytes) {
    const QByteArray line(240, 'x');
    const QByteArray pieces[] = {"\\par ", "{\\b a}{\\i b}", "{\\f1 x}{\\f2 y}\\par\n", "x\\tab ",
                                 "",       line + '\n',      line + "\\par\n"};
    QByteArray data = kind == 5 ? "" : "{\\rtf1\\ansi ";
    if (kind == 3) {
        data += "{\\fonttbl";
        while (data.size() < bytes)
            data += "{\\f" + QByteArray::number(data.size()) + " Arial;}";
        data += "}";
    }
    QByteArray piece = pieces[kind];
    if (kind == 4) {
        for (std::size_t run = 0; run + 2 < kMaxRunsPerParagraph; run += 2)
            piece += "{\\b a}{\\i b}";
        piece += "\\par\n";
    }
    data.reserve(bytes + piece.size());
    while (data.size() + piece.size() < bytes)
        data += piece;
    return kind == 5 ? data : data + "}";
}

void BM_OpenPathological(benchmark::State &state) {
    const QByteArray data = pathological(static_cast<int>(state.range(0)), state.range(1) * 1024);
    const QString path = folder().filePath(QStringLiteral("odd.rtf"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
        state.SkipWithError("could not write the file");
    file.close();
    for (auto _ : state) {
        RichTextBox editor;
        const FileContents contents = readWholeFile(path, kMaxDocumentFileBytes);
        const DecodedDocument decoded = decodeDocument(contents.data);
        if (decoded.rtf)
            editor.setRtfDocument(*decoded.rtf);
        else if (decoded.ok())
            editor.setText(decoded.text);
        showEditor(editor);
        state.counters["refused"] = decoded.ok() ? 0 : 1;
        state.counters["paragraphs"] = editor.document()->blockCount();
    }
}
// Kinds: 0 empty paragraphs, 1 format changes in one paragraph, 2 short
// paragraphs of two runs, 3 a font table of tiny entries, 4 paragraphs of
// as many format changes as a paragraph may have, 5 plain text and 6 RTF of
// long lines; sizes in KB, from just below the limits to the largest file
// opened.
BENCHMARK(BM_OpenPathological)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5, 6}, {29, 1400, 5000, 65000}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

void BM_ParseRtfOnly(benchmark::State &state) {
    const QByteArray rtf = sheetEditor().rtf();
    for (auto _ : state)
        benchmark::DoNotOptimize(parseRtf(rtf));
    state.SetBytesProcessed(state.iterations() * rtf.size());
}
BENCHMARK(BM_ParseRtfOnly)->Unit(benchmark::kMillisecond);

} // namespace

DRILLPAD_BENCHMARK_MAIN()
