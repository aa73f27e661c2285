// The practice record window over a large record: 10,000 quizzes with
// 1,000,000 answers, written into a temporary folder once. Each iteration
// opens the window as the menu does and renders it with its table and chart.
#include "bench_main.h"
#include "record/practice_record.h"
#include "recordwin/frm_record.h"
#include "recordwin/record_table.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

using namespace drillpad;

namespace {

constexpr int kQuizzes = 10'000;
constexpr int kAnswersPerQuiz = 100;
// Quizzes are written in batches, each one transaction.
constexpr int kQuizzesPerBatch = 1'000;

const char *const kOperations[] = {"+", "-", "*", "/"};

// A quiz every five hours, with four in five answers right, one in ten
// wrong and one in ten skipped.
void fill(PracticeRecord &record) {
    const QDateTime first = QDateTime::currentDateTime().addDays(-kQuizzes * 5 / 24);
    // Few distinct texts: copies share their characters, which keeps the
    // batches small in memory.
    QStringList questions, expected;
    for (int i = 0; i < 100; ++i) {
        questions << QStringLiteral("%1×%2=").arg(i / 10 + 1).arg(i % 10 + 1);
        expected << QString::number((i / 10 + 1) * (i % 10 + 1));
    }
    const QString wrong = QStringLiteral("0");
    for (int batch = 0; batch < kQuizzes / kQuizzesPerBatch; ++batch) {
        QList<QuizSummary> quizzes;
        QList<AnswerEntry> answers;
        answers.reserve(kQuizzesPerBatch * kAnswersPerQuiz);
        for (int q = 0; q < kQuizzesPerBatch; ++q) {
            const int n = batch * kQuizzesPerBatch + q;
            QuizSummary quiz;
            quiz.id = n + 1;
            quiz.started = first.addSecs(qint64(n) * 5 * 3600);
            quiz.operation = QString::fromLatin1(kOperations[n % 4]);
            quiz.from = 1;
            quiz.to = 9 + n % 90;
            for (int a = 0; a < kAnswersPerQuiz; ++a) {
                const int kind = (n + a) % 10;
                AnswerEntry answer{quiz.id,
                                   a + 1,
                                   questions.at(a),
                                   expected.at(a),
                                   kind == 8   ? wrong
                                   : kind == 9 ? QString()
                                               : expected.at(a),
                                   kind == 9,
                                   kind < 8,
                                   3.0 + (n + a) % 7};
                quiz.right += answer.right;
                quiz.secondsUsed += answer.seconds;
                answers << answer;
            }
            quiz.answered = kAnswersPerQuiz;
            quiz.rate = 100.0 * quiz.right / quiz.answered;
            quiz.score = qRound(quiz.rate);
            quiz.finished = n + 1 < kQuizzes; // the newest is unfinished
            quiz.ended =
                quiz.finished ? quiz.started.addSecs(qint64(quiz.secondsUsed)) : QDateTime();
            quizzes << quiz;
        }
        if (!record.importQuizzes(quizzes, answers)) {
            std::fprintf(stderr, "cannot fill the record: %s\n", qPrintable(record.problem()));
            std::exit(EXIT_FAILURE);
        }
    }
}

// The record, filled on first use; its folder goes when the program ends.
// The application owns the record, so that it closes while Qt's database
// registry still exists.
PracticeRecord &largeRecord() {
    static QTemporaryDir folder;
    static PracticeRecord &record = *new PracticeRecord(QCoreApplication::instance());
    if (!record.isOpen()) {
        const QString path = QDir(folder.path()).filePath(QStringLiteral("drillpad.sqlite"));
        if (!record.open(path)) {
            std::fprintf(stderr, "cannot open %s: %s\n", qPrintable(path),
                         qPrintable(record.problem()));
            std::exit(EXIT_FAILURE);
        }
        fill(record);
    }
    return record;
}

qint64 databaseBytes(const PracticeRecord &record) {
    qint64 bytes = 0;
    for (const char *suffix : {"", "-wal", "-shm"})
        bytes += QFileInfo(record.path() + QString::fromLatin1(suffix)).size();
    return bytes;
}

void BM_RecordWindowOpens(benchmark::State &state) {
    PracticeRecord &record = largeRecord();
    int rows = 0;
    for (auto _ : state) {
        FrmRecord window(record);
        window.show();
        QCoreApplication::processEvents();
        // Paints everything, the table and the chart included.
        const QPixmap shown = window.grab();
        benchmark::DoNotOptimize(shown.cacheKey());
        rows = window.quizModel().rowCount();
    }
    state.counters["quizzes"] = rows;
    state.counters["database_MB"] = static_cast<double>(databaseBytes(record)) / (1024 * 1024);
}
BENCHMARK(BM_RecordWindowOpens)->Unit(benchmark::kMillisecond)->UseRealTime();

// Choosing one operation in the filter: the table and the chart follow.
void BM_RecordWindowFilters(benchmark::State &state) {
    FrmRecord window(largeRecord());
    window.show();
    int index = 0;
    for (auto _ : state) {
        window.cmbOperation()->setCurrentIndex(index = index % 4 + 1);
        const QPixmap shown = window.grab();
        benchmark::DoNotOptimize(shown.cacheKey());
    }
}
BENCHMARK(BM_RecordWindowFilters)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

DRILLPAD_BENCHMARK_MAIN();
