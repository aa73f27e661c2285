#include "recordwin/record_export.h"

#include "record/practice_record.h"
#include "recordwin/record_csv.h"

namespace drillpad {

namespace {

// Lines are handed to the file in pieces of about this size.
constexpr qsizetype kChunkBytes = 256 * 1024;

} // namespace

CsvExport::CsvExport(QString recordPath, QString target)
    : recordPath_(std::move(recordPath)), target_(std::move(target)) {}

CsvExport::~CsvExport() {
    cancel();
    wait();
}

void CsvExport::start() {
    thread_ = std::thread([this] { run(); });
}

void CsvExport::cancel() {
    std::lock_guard lock(mutex_);
    if (commit_)
        return;
    cancelled_ = true;
    decided_.notify_all();
}

void CsvExport::commit() {
    std::lock_guard lock(mutex_);
    if (cancelled_)
        return;
    commit_ = true;
    decided_.notify_all();
}

void CsvExport::wait() {
    if (thread_.joinable())
        thread_.join();
}

FileStatus CsvExport::status() const {
    std::lock_guard lock(mutex_);
    return status_;
}

bool CsvExport::recordDamaged() const {
    std::lock_guard lock(mutex_);
    return damaged_;
}

void CsvExport::finish(FileStatus status, bool damaged) {
    {
        std::lock_guard lock(mutex_);
        status_ = std::move(status);
        damaged_ = damaged;
    }
    stage_ = Stage::Finished;
}

void CsvExport::run() {
    RecordReader reader(recordPath_);
    const std::optional<qint64> total = reader.answerCount();
    if (!total)
        return finish({reader.error()}, reader.damaged());
    total_ = *total;
    AtomicFileWriter writer(target_);
    if (FileStatus opened = writer.open(); !opened.ok())
        return finish(opened);
    QByteArray chunk = recordCsvStart();
    // A quiz's columns are the same on each of its lines: written once.
    qint64 quizId = 0;
    QByteArray quizColumns;
    const bool read = reader.forEachAnswer([&](const QuizSummary &quiz, const AnswerEntry &answer) {
        if (cancelled_)
            return false;
        if (quiz.id != quizId) {
            quizId = quiz.id;
            quizColumns = recordCsvQuizColumns(quiz);
        }
        chunk += quizColumns;
        chunk += recordCsvAnswerColumns(answer);
        ++written_;
        if (chunk.size() >= kChunkBytes) {
            writer.write(chunk);
            chunk.clear();
        }
        return !writer.failed();
    });
    writer.write(chunk);
    if (cancelled_)
        return finish({});
    if (!read)
        return finish({reader.error()}, reader.damaged());
    if (written_ != *total)
        return finish({QStringLiteral("练习记录中的题数和各次练习的总数对不上，记录可能已损坏。")},
                      true);
    if (writer.failed())
        return finish(writer.commit());
    stage_ = Stage::Written;
    std::unique_lock lock(mutex_);
    decided_.wait(lock, [this] { return commit_ || cancelled_; });
    const bool keep = commit_;
    lock.unlock();
    // Dropping the writer without commit() discards the temporary file.
    finish(keep ? writer.commit() : FileStatus{});
}

} // namespace drillpad
