#include "bench_main.h"
#include "record/practice_record.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

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
            for (int n = 1; n <= 100; ++n) {
                answers.append({i, n, QStringLiteral("%1×%2=").arg(n % 9 + 1).arg(i % 9 + 1),
                                QString::number((n % 9 + 1) * (i % 9 + 1)), QStringLiteral("7"),
                                false, n % 3 == 0, 4.5});
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
    const qint64 quiz = record.startQuiz(QuizKind::Normal, QStringLiteral("+"), 1, 9);
    AnswerEntry answer{
        quiz, 0,  QStringLiteral("3+4="), QStringLiteral("7"), QStringLiteral("7"), false,
        true, 2.5};
    for (auto _ : state) {
        ++answer.sequence;
        if (!record.recordAnswer(answer))
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

} // namespace

DRILLPAD_BENCHMARK_MAIN()
