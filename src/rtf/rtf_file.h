#pragma once

#include <QByteArray>
#include <QString>

namespace drillpad {

// The outcome of reading or writing a file: on failure, why, in words for
// the user.
struct FileStatus {
    QString error;

    bool ok() const { return error.isEmpty(); }
};

// Writes the file in one piece: the data goes to a temporary file beside it
// that replaces the old file only once everything is written, so a failure
// (missing or protected folder, full disk) leaves any old file untouched.
FileStatus writeFileAtomically(const QString &path, const QByteArray &data);

// Reads a whole file of at most `maxBytes`.
struct FileContents {
    QByteArray data;
    FileStatus status;
};
FileContents readWholeFile(const QString &path, qint64 maxBytes);

// Sheets and the manual are far smaller than this; a larger file is refused
// rather than freezing the editor.
inline constexpr qint64 kMaxDocumentFileBytes = 64 * 1024 * 1024;

} // namespace drillpad
