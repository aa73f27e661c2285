#include "record/disk_sync.h"

#include <QFile>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace drillpad {

namespace {

void flushToDisk(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
        return; // nothing written yet, or gone with the last connection
#ifdef Q_OS_WIN
    _commit(file.handle());
#else
    ::fsync(file.handle());
#endif
}

} // namespace

DiskSync::DiskSync(QString path) : path_(std::move(path)), thread_([this] { run(); }) {}

DiskSync::~DiskSync() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void DiskSync::request() {
    {
        std::lock_guard lock(mutex_);
        pending_ = true;
    }
    wake_.notify_one();
}

void DiskSync::wait() {
    std::unique_lock lock(mutex_);
    done_.wait(lock, [this] { return !pending_ && !busy_; });
}

void DiskSync::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return pending_ || stopping_; });
        if (!pending_)
            return; // stopping with nothing left to flush
        pending_ = false;
        busy_ = true;
        lock.unlock();
        flushToDisk(path_);
        lock.lock();
        busy_ = false;
        done_.notify_all();
    }
}

} // namespace drillpad
