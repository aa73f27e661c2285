#include "rtf/rtf_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace drillpad {

namespace {

// The system's own words follow in brackets, for whoever has to look into it.
QString withDetail(const QString &reason, const QString &detail) {
    return detail.isEmpty() ? reason : reason + QStringLiteral("(") + detail + QStringLiteral(")");
}

} // namespace

FileStatus writeFileAtomically(const QString &path, const QByteArray &data) {
    const QFileInfo info(path);
    if (!info.absoluteDir().exists())
        return {QStringLiteral("文件夹不存在。")};
    if (info.isDir())
        return {QStringLiteral("这个名字是一个文件夹。")};
    if (info.exists() && !info.isWritable())
        return {QStringLiteral("文件是只读的。")};

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {withDetail(QStringLiteral("无法在这个文件夹里写文件,可能没有写入权限。"),
                           file.errorString())};
    // Without a commit the temporary file goes and the old file stays.
    if (file.write(data) != data.size() || !file.commit())
        return {withDetail(QStringLiteral("写入文件时出错,磁盘可能已满。"), file.errorString())};
    return {};
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
