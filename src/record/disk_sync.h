#pragma once

#include <QString>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace drillpad {

// Flushes one file to the disk on a thread of its own whenever asked, so a
// caller that wants its writes to survive a power cut need not wait for the
// disk. Requests made while a flush is pending are served by one flush.
class DiskSync {
public:
    explicit DiskSync(QString path);
    // Finishes the flush still asked for, then stops.
    ~DiskSync();
    DiskSync(const DiskSync &) = delete;
    DiskSync &operator=(const DiskSync &) = delete;

    void request();
    // Waits until every flush asked for so far is done.
    void wait();

private:
    void run();

    const QString path_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    bool pending_ = false;
    bool busy_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace drillpad
