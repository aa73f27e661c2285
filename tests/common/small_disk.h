#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <sys/mount.h>
#include <sys/statvfs.h>

namespace drillpad::testing {

// A tmpfs of a few KB mounted on a fresh folder for as long as it lives (the
// tests run as root); nothing is mounted where that is refused, and the test
// then skips.
struct SmallDisk {
    QTemporaryDir dir;
    bool mounted = false;

    explicit SmallDisk(int kilobytes) {
        const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k";
        mounted = ::mount("tmpfs", QFile::encodeName(dir.path()), "tmpfs", MS_NOSUID | MS_NODEV,
                          options.constData()) == 0;
    }
    ~SmallDisk() {
        if (mounted)
            ::umount2(QFile::encodeName(dir.path()), MNT_DETACH);
    }
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    QString filler() const { return dir.filePath(QStringLiteral("filler")); }
    // Fills the disk with a file of its own, then frees `bytes` of it.
    bool leaveFree(qint64 bytes) const {
        QFile file(filler());
        if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return false;
        while (file.write(QByteArray(4096, 'f')) > 0) {
        }
        struct statvfs disk {};
        return file.resize(file.size() - bytes) &&
               ::statvfs(QFile::encodeName(dir.path()), &disk) == 0 &&
               qint64(disk.f_bavail * disk.f_bsize) == bytes;
    }
    void free() const { QFile::remove(filler()); }
};

} // namespace drillpad::testing
