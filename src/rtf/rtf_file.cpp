#include "rtf/rtf_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace drillpad {

namespace {

// The system's own words follow in brackets, for whoever has to look into it.
QString withDetail(const QString &reason, const QString &detail) {
    return detail.isEmpty() ? reason : reason + QStringLiteral("(") + detail + QStringLiteral(")");
}

const QString kWriteFailed = QStringLiteral("写入文件时出错,磁盘可能已满。");
// A named pipe or a device is no file to keep a sheet in; opening one for
// reading or writing could wait for ever.
const QString kNotAFile = QStringLiteral("这不是普通的文件。");

#ifdef Q_OS_UNIX
// Opens a file for reading without waiting on what is not a regular file,
// and refuses that, whatever the name pointed to when it was looked at.
FileStatus openRegularFile(QFile &file) {
    const int fd =
        ::open(QFile::encodeName(file.fileName()).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {QString::fromLocal8Bit(std::strerror(errno))};
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return {kNotAFile};
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return {file.errorString()};
    }
    return {};
}
#else
FileStatus openRegularFile(QFile &file) {
    if (!QFileInfo(file.fileName()).isFile())
        return {kNotAFile};
    if (!file.open(QIODevice::ReadOnly))
        return {file.errorString()};
    return {};
}
#endif

} // namespace

AtomicFileWriter::AtomicFileWriter(const QString &path) : path_(path) {}

AtomicFileWriter::~AtomicFileWriter() = default;

FileStatus AtomicFileWriter::open() {
    const QFileInfo info(path_);
    if (!info.absoluteDir().exists())
        status_ = {QStringLiteral("文件夹不存在。")};
    else if (info.isDir())
        status_ = {QStringLiteral("这个名字是一个文件夹。")};
    else if (info.exists() && !info.isFile())
        status_ = {kNotAFile};
    else if (info.exists() && !info.isWritable())
        status_ = {QStringLiteral("文件是只读的。")};
    if (failed())
        return status_;
    file_ = std::make_unique<QSaveFile>(path_);
    if (!file_->open(QIODevice::WriteOnly))
        status_ = {withDetail(QStringLiteral("无法在这个文件夹里写文件,可能没有写入权限。"),
                              file_->errorString())};
    return status_;
}

void AtomicFileWriter::write(QByteArrayView data) {
    if (failed() || !file_)
        return;
    if (file_->write(data.data(), data.size()) != data.size())
        status_ = {withDetail(kWriteFailed, file_->errorString())};
}

FileStatus AtomicFileWriter::commit() {
    if (!file_ && status_.ok())
        status_ = {kWriteFailed};
    if (failed())
        return status_;
    // QSaveFile::commit() flushes its buffer while closing but does not
    // report a flush that fails, so a full disk would pass for success:
    // flush and sync here, where the failure can still be seen.
    if (!file_->flush())
        status_ = {withDetail(kWriteFailed, file_->errorString())};
#ifdef Q_OS_UNIX
    else if (::fsync(file_->handle()) != 0)
        status_ = {withDetail(kWriteFailed, QString::fromLocal8Bit(std::strerror(errno)))};
#endif
    else if (!file_->commit())
        status_ = {withDetail(kWriteFailed, file_->errorString())};
    if (failed())
        file_->cancelWriting();
    file_.reset();
    return status_;
}

FileStatus writeFileAtomically(const QString &path, QByteArrayView data) {
    AtomicFileWriter writer(path);
    if (const FileStatus opened = writer.open(); !opened.ok())
        return opened;
    writer.write(data);
    return writer.commit();
}

FileContents readWholeFile(const QString &path, qint64 maxBytes) {
    const QFileInfo info(path);
    if (!info.exists())
        return {{}, {QStringLiteral("文件不存在。")}};
    if (info.isDir())
        return {{}, {QStringLiteral("这个名字是一个文件夹。")}};
    if (!info.isFile())
        return {{}, {kNotAFile}};
    QFile file(path);
    if (const FileStatus opened = openRegularFile(file); !opened.ok())
        return {
            {},
            {opened.error == kNotAFile
                 ? kNotAFile
                 : withDetail(QStringLiteral("无法读取文件,可能没有读取权限。"), opened.error)}};
    const FileContents tooLarge{
        {}, {QStringLiteral("文件太大(超过%1 MB)。").arg(maxBytes / (1024 * 1024))}};
    if (file.size() > maxBytes)
        return tooLarge;
    // Read one byte past the limit: files of unknown size (pipes) say 0.
    QByteArray data = file.read(maxBytes + 1);
    if (data.size() > maxBytes)
        return tooLarge;
    if (file.error() != QFileDevice::NoError)
        return {{}, {withDetail(QStringLiteral("读取文件时出错。"), file.errorString())}};
    return {data, {}};
}

} // namespace drillpad
