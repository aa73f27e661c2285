#pragma once

#include "rtf/rtf_file.h"

#include <QString>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace drillpad {

// Writes the whole practice record as CSV into a file, on a thread of its
// own so that the window goes on answering: every answer of every quiz,
// quizzes oldest first, streamed from one snapshot of the record into an
// AtomicFileWriter. The old file is replaced only when every line is written
// and commit() is called; cancel() before that leaves it byte for byte as
// it was. A record whose answers do not add up to its totals is refused
// rather than exported in part.
class CsvExport {
public:
    enum class Stage {
        Writing,  // lines being written
        Written,  // every line written; waiting for commit() or cancel()
        Finished, // in place, failed or cancelled: see status()
    };

    CsvExport(QString recordPath, QString target);
    // Cancels what is not committed and waits for the thread.
    ~CsvExport();
    CsvExport(const CsvExport &) = delete;
    CsvExport &operator=(const CsvExport &) = delete;

    void start();
    Stage stage() const { return stage_.load(); }
    // Answers in the record, once known (0 before), and lines written.
    qint64 total() const { return total_.load(); }
    qint64 written() const { return written_.load(); }
    // Stops writing and discards the file; too late once committed.
    void cancel();
    // Puts the file in place of the old one, once written.
    void commit();
    // Waits until finished.
    void wait();

    // After Finished: ok, or why not.
    FileStatus status() const;
    bool cancelled() const { return cancelled_.load(); }
    // The record itself was found damaged.
    bool recordDamaged() const;

private:
    void run();
    void finish(FileStatus status, bool damaged = false);

    const QString recordPath_;
    const QString target_;
    std::atomic<Stage> stage_{Stage::Writing};
    std::atomic<qint64> total_{0};
    std::atomic<qint64> written_{0};
    std::atomic<bool> cancelled_{false};
    mutable std::mutex mutex_;
    std::condition_variable decided_;
    bool commit_ = false;
    FileStatus status_;
    bool damaged_ = false;
    std::thread thread_;
};

} // namespace drillpad
