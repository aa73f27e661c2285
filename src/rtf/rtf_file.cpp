#include "rtf/rtf_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace drillpad {

namespace {

// The system's own words follow in brackets, for whoever has to look into it.
QString withDetail(const QString &reason, const QString &detail) {
    return detail.isEmpty() ? reason : reason + QStringLiteral("(") + detail + QStringLiteral(")");
}

const QString kWriteFailed = QStringLiteral("写入文件时出错,磁盘可能已满。");

} // namespace

AtomicFileWriter::AtomicFileWriter(const QString &path) : path_(path) {}

AtomicFileWriter::~AtomicFileWriter() = default;

FileStatus AtomicFileWriter::open() {
    const QFileInfo info(path_);
    if (!info.absoluteDir().exists())
        status_ = {QStringLiteral("文件夹不存在。")};
    else if (info.isDir())
        status_ = {QStringLiteral("这个名字是一个文件夹。")};
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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {
            {},
            {withDetail(QStringLiteral("无法读取文件,可能没有读取权限。"), file.errorString())}};
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
