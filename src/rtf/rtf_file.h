#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <memory>

class QSaveFile;

namespace drillpad {

// The outcome of reading or writing a file: on failure, why, in words for
// the user.
struct FileStatus {
    QString error;

    bool ok() const { return error.isEmpty(); }
};

// Writes a file in one piece as its data is produced: the data goes to a
// temporary file beside it that replaces the old file only once every byte
// has reached the disk, so a failure (missing or protected folder, full disk)
// leaves any old file byte for byte as it was. Dropping the writer without
// commit() discards what was written.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(const QString &path);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter &) = delete;
    AtomicFileWriter &operator=(const AtomicFileWriter &) = delete;

    // Checks the folder and starts the temporary file.
    FileStatus open();
    // Appends data; after the first failure nothing more is written and
    // commit() reports it.
    void write(QByteArrayView data);
    bool failed() const { return !status_.ok(); }
    // Flushes, syncs and puts the file in place of the old one.
    FileStatus commit();

private:
    std::unique_ptr<QSaveFile> file_;
    QString path_;
    FileStatus status_;
};

// The whole of `data` through an AtomicFileWriter.
FileStatus writeFileAtomically(const QString &path, QByteArrayView data);

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
