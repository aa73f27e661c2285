// The practice record window over a large record: 10,000 quizzes with
// 1,000,000 answers, written into a temporary folder once. Each iteration
// opens the window as the menu does and renders it with its table and chart.
#include "bench_main.h"
#include "controls/file_dialogs.h"
#include "controls/message_box.h"
#include "masterywin/frm_mastery.h"
#include "record/practice_record.h"
#include "recordwin/frm_record.h"
#include "recordwin/record_table.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
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
                                   3.0 + (n + a) % 7,
                                   {}};
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

// 掌握情况 over the large record: the pupil's summary of the facts read and
// the grid painted. The facts' share of the file is reported beside it.
void BM_MasteryMapOpens(benchmark::State &state) {
    PracticeRecord &record = largeRecord();
    for (auto _ : state) {
        FrmMastery window(record);
        window.show();
        QCoreApplication::processEvents();
        const QPixmap shown = window.grab();
        benchmark::DoNotOptimize(shown.cacheKey());
    }
    QSqlQuery q(QSqlDatabase::database(record.connectionName()));
    // dbstat counts the pages of each table; -1 where SQLite lacks it.
    const bool counted = q.exec(QStringLiteral("SELECT sum(pgsize) FROM dbstat WHERE name = 'facts'"
                                               " OR name LIKE 'sqlite_autoindex_facts%'")) &&
                         q.next();
    const double factsBytes = counted ? q.value(0).toDouble() : -1;
    state.counters["facts_KB"] = factsBytes / 1024;
    state.counters["facts_share_%"] =
        counted ? 100.0 * factsBytes / static_cast<double>(databaseBytes(record)) : -1;
}
BENCHMARK(BM_MasteryMapOpens)->Unit(benchmark::kMillisecond)->UseRealTime();

// 今日复习's choice over the large record: the summaries read and the whole
// review planned, which bounds the time for any one question of it.
void BM_ReviewPlanned(benchmark::State &state) {
    PracticeRecord &record = largeRecord();
    const QDate today = QDate::currentDate();
    QRandomGenerator random(1);
    int asked = 0;
    for (auto _ : state) {
        const std::optional<QList<FactSummary>> facts =
            record.factSummaries(record.currentPupilId());
        const ReviewPlan plan = planReview(facts.value_or(QList<FactSummary>()), today,
                                           [&random](int n) { return int(random.bounded(n)); });
        asked = static_cast<int>(plan.questions.size());
        benchmark::DoNotOptimize(asked);
    }
    state.counters["questions"] = asked;
}
BENCHMARK(BM_ReviewPlanned)->Unit(benchmark::kMicrosecond)->UseRealTime();

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

// The longest time the window leaves a 10 ms timer unserved while `work`
// runs: how long it stops answering.
template <typename Work> double longestGapMs(Work work) {
    QElapsedTimer clock;
    qint64 last = 0, longest = 0;
    QTimer tick;
    tick.setInterval(10);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longest = std::max(longest, clock.elapsed() - last);
        last = clock.elapsed();
    });
    clock.start();
    tick.start();
    work();
    longest = std::max(longest, clock.elapsed() - last);
    return static_cast<double>(longest);
}

// Selecting all 10,000 quizzes lists the mistakes of all of them (read off
// the interface thread): the time until they show, and the longest the
// window stops answering meanwhile.
void BM_RecordWindowSelectsAll(benchmark::State &state) {
    FrmRecord window(largeRecord());
    window.show();
    benchmark::DoNotOptimize(window.grab().cacheKey());
    double gap = 0;
    for (auto _ : state) {
        window.tblQuizzes()->clearSelection();
        gap = std::max(gap, longestGapMs([&] {
                           window.tblQuizzes()->selectAll();
                           while (window.wrongModel().rowCount() == 0)
                               QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
                       }));
    }
    state.counters["questions_listed"] = window.wrongModel().rowCount();
    state.counters["longest_gap_ms"] = gap;
}
BENCHMARK(BM_RecordWindowSelectsAll)->Unit(benchmark::kMillisecond)->UseRealTime();

// The file dialog answering with a new name each time, and no message box.
class ExportChoices final : public FileDialogs, public MessageBoxes {
public:
    QString folder;
    int count = 0;
    std::optional<FileChoice> saveFile(QWidget *, const QStringList &,
                                       const FileChoice &) override {
        return FileChoice{QDir(folder).filePath(QStringLiteral("export-%1.csv").arg(++count)), 0};
    }
    std::optional<FileChoice> openFile(QWidget *, const QStringList &,
                                       const FileChoice &) override {
        return std::nullopt;
    }
    void information(QWidget *, const QString &text) override { warning(nullptr, text); }
    void warning(QWidget *, const QString &text) override {
        std::fprintf(stderr, "export refused: %s\n", qPrintable(text));
    }
    int ask(QWidget *, const Question &) override { return 0; }
};

// 导出CSV of the 1,000,000 answers through the window: the whole export, and
// the longest the window stops answering meanwhile.
void BM_RecordWindowExports(benchmark::State &state) {
    QTemporaryDir folder;
    ExportChoices choices;
    choices.folder = folder.path();
    ScopedSeam<FileDialogs> dialogs(choices);
    ScopedSeam<MessageBoxes> messages(choices);
    FrmRecord window(largeRecord());
    window.show();
    // The window's first paint (BM_RecordWindowOpens) is not the export's.
    benchmark::DoNotOptimize(window.grab().cacheKey());
    double gap = 0;
    for (auto _ : state) {
        gap = std::max(gap, longestGapMs([&] { window.cmdExport_Click(); }));
        QFile::remove(
            QDir(folder.path()).filePath(QStringLiteral("export-%1.csv").arg(choices.count)));
    }
    state.counters["longest_gap_ms"] = gap;
}
BENCHMARK(BM_RecordWindowExports)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

} // namespace

DRILLPAD_BENCHMARK_MAIN();
