#include "bench_main.h"
#include "record/practice_record.h"
#include "recordwin/record_export.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <limits>
#include <thread>

using namespace drillpad;

namespace {

// A record in a fresh folder on the build's disk (not a memory file system),
// holding `quizzes` finished quizzes of 100 answers each beforehand.
struct BenchRecord {
    QTemporaryDir folder{QDir::current().filePath(QStringLiteral("bench-record-XXXXXX"))};
    PracticeRecord record;

    explicit BenchRecord(int quizzes) {
        record.open(folder.filePath(QStringLiteral("drillpad.sqlite")));
        QList<QuizSummary> summaries;
        QList<AnswerEntry> answers;
        const QDateTime start = QDateTime::currentDateTime().addDays(-quizzes);
        for (int i = 1; i <= quizzes; ++i) {
            QuizSummary s;
            s.id = i;
            s.started = start.addDays(i);
            s.ended = s.started.addSecs(600);
            s.finished = true;
            s.operation = QStringLiteral("*");
            s.to = 9;
            s.answered = 100;
            s.right = 33;
            for (int n = 1; n <= 100; ++n) {
                answers.append({i,
                                n,
                                QStringLiteral("%1×%2=").arg(n % 9 + 1).arg(i % 9 + 1),
                                QString::number((n % 9 + 1) * (i % 9 + 1)),
                                QStringLiteral("7"),
                                false,
                                n % 3 == 0,
                                4.5,
                                {}});
            }
            summaries.append(s);
        }
        if (!record.importQuizzes(summaries, answers))
            qFatal("cannot prepare the record: %s", qPrintable(record.problem()));
    }
};

void BM_RecordAnswer(benchmark::State &state) {
    BenchRecord bench(static_cast<int>(state.range(0)));
    PracticeRecord &record = bench.record;
    QuizUpdate quiz;
    quiz.started = QDateTime::currentDateTime();
    quiz.operation = QStringLiteral("+");
    quiz.from = 1;
    quiz.to = 9;
    AnswerEntry answer{
        0,   0, QStringLiteral("3+4="), QStringLiteral("7"), QStringLiteral("7"), false, true,
        2.5, {}};
    for (auto _ : state) {
        ++answer.sequence;
        quiz.answers = {answer};
        if (!record.write(quiz))
            state.SkipWithError(qPrintable(record.problem()));
    }
}
// Into an empty record, and into one of 1000 quizzes with 100,000 answers.
BENCHMARK(BM_RecordAnswer)
    ->Arg(0)
    ->Arg(1000)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The large record of 10,000 quizzes and 1,000,000 answers, written once.
BenchRecord &largeRecord() {
    static BenchRecord bench(10000);
    return bench;
}

// Opening the large record: what the interface thread waits for (the
// integrity check running in the background), and the whole check.
void BM_OpenLargeRecord(benchmark::State &state, bool wholeCheck) {
    PracticeRecord &record = largeRecord().record;
    const QString path = record.path();
    record.setBackgroundCheckBytes(wholeCheck ? std::numeric_limits<qint64>::max() : 0);
    for (auto _ : state) {
        if (!record.open(path))
            state.SkipWithError(qPrintable(record.problem()));
        state.PauseTiming();
        record.waitForCheck();
        state.ResumeTiming();
    }
    state.counters["file_MB"] = static_cast<double>(QFileInfo(path).size()) / (1024.0 * 1024.0);
}
BENCHMARK_CAPTURE(BM_OpenLargeRecord, interface_thread, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenLargeRecord, with_quick_check, true)->Unit(benchmark::kMillisecond);

// Exporting the large record as CSV, every line written and synced.
void BM_ExportLargeRecord(benchmark::State &state) {
    PracticeRecord &record = largeRecord().record;
    const QString target = largeRecord().folder.filePath(QStringLiteral("export.csv"));
    for (auto _ : state) {
        CsvExport job(record.path(), target);
        job.start();
        while (job.stage() == CsvExport::Stage::Writing)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        job.commit();
        job.wait();
        if (!job.status().ok())
            state.SkipWithError(qPrintable(job.status().error));
        state.counters["answers"] = static_cast<double>(job.written());
    }
    state.counters["csv_MB"] = static_cast<double>(QFileInfo(target).size()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_ExportLargeRecord)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

// What the record window reads from a record of 10,000 quizzes and
// 1,000,000 answers: the newest-first listing, and one quiz's answers. The
// file's size is reported as a counter.
void BM_ReadLargeRecord(benchmark::State &state, bool listing) {
    PracticeRecord &record = largeRecord().record;
    for (auto _ : state) {
        if (listing)
            benchmark::DoNotOptimize(record.quizzes());
        else
            benchmark::DoNotOptimize(record.answers(5000));
    }
    state.counters["file_MB"] =
        static_cast<double>(QFileInfo(record.path()).size()) / (1024.0 * 1024.0);
}
BENCHMARK_CAPTURE(BM_ReadLargeRecord, quizzes_newest_first, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadLargeRecord, answers_of_one_quiz, false)->Unit(benchmark::kMillisecond);

} // namespace

DRILLPAD_BENCHMARK_MAIN()
