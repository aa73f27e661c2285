#include "controls/file_dialogs.h"

#include "controls/message_box.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace drillpad {

namespace {

class RealFileDialogs final : public FileDialogs {
public:
    std::optional<FileChoice> saveFile(QWidget *parent, const QStringList &filters,
                                       const FileChoice &initial) override {
        return run(parent, filters, initial, QFileDialog::AcceptSave);
    }
    std::optional<FileChoice> openFile(QWidget *parent, const QStringList &filters,
                                       const FileChoice &initial) override {
        return run(parent, filters, initial, QFileDialog::AcceptOpen);
    }

private:
    static std::optional<FileChoice> run(QWidget *parent, const QStringList &filters,
                                         const FileChoice &initial, QFileDialog::AcceptMode mode) {
        QFileDialog dialog(parent);
#if !defined(Q_OS_WIN) && !defined(Q_OS_MACOS)
        // A desktop's own dialog speaks the desktop's language; Qt's speaks
        // the program's Chinese.
        dialog.setOption(QFileDialog::DontUseNativeDialog);
#endif
        prepareFileDialog(dialog, mode, filters, initial);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return FileChoice{dialog.selectedFiles().constFirst(),
                          static_cast<int>(filters.indexOf(dialog.selectedNameFilter()))};
    }
};

} // namespace

bool askToReplaceFile(QWidget *parent, const QString &path) {
    const QFileInfo existing(path);
    return !existing.exists() || existing.isDir() ||
           askYesNo(
               parent,
               QStringLiteral("文件“%1”已存在。要替换它吗?").arg(QDir::toNativeSeparators(path)));
}

std::optional<QString> chooseSavePath(QWidget *parent, const QString &filter,
                                      const QString &fileName, const QString &suffix) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const std::optional<FileChoice> choice =
        Seam<FileDialogs>::get().saveFile(parent, {filter}, {QDir(folder).filePath(fileName), 0});
    if (!choice || choice->path.isEmpty())
        return std::nullopt;
    QString path = choice->path;
    if (QFileInfo(path).suffix().isEmpty())
        path += suffix;
    if (!askToReplaceFile(parent, path))
        return std::nullopt;
    return path;
}

template <> FileDialogs &Seam<FileDialogs>::real() {
    static RealFileDialogs dialogs;
    return dialogs;
}

void prepareFileDialog(QFileDialog &dialog, QFileDialog::AcceptMode mode,
                       const QStringList &filters, const FileChoice &initial) {
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                       : QFileDialog::ExistingFile);
    // The program may add a suffix to the name chosen, so the dialog would
    // ask about another file than the one written: the program asks itself.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, mode == QFileDialog::AcceptSave);
    dialog.setNameFilters(filters);
    const int index = qBound(0, initial.filterIndex, static_cast<int>(filters.size()) - 1);
    if (!filters.isEmpty())
        dialog.selectNameFilter(filters.at(index));
    if (!initial.path.isEmpty()) {
        const QFileInfo info(initial.path);
        dialog.setDirectory(info.absolutePath());
        dialog.selectFile(info.fileName());
    }
}

QStringList filterEntries(const QString &filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        entries << parts.at(i);
    return entries;
}

FileDialog::FileDialog(const QString &filter, QObject *parent)
    : QObject(parent), filters_(filterEntries(filter)) {}

std::optional<FileChoice> FileDialog::showSave(QWidget *parent) {
    return remember(Seam<FileDialogs>::get().saveFile(parent, filters_, last_));
}

std::optional<FileChoice> FileDialog::showOpen(QWidget *parent) {
    return remember(Seam<FileDialogs>::get().openFile(parent, filters_, last_));
}

std::optional<FileChoice> FileDialog::remember(std::optional<FileChoice> choice) {
    if (!choice || choice->path.isEmpty())
        return std::nullopt;
    if (choice->filterIndex < 0 || choice->filterIndex >= filters_.size())
        choice->filterIndex = 0;
    last_ = *choice;
    return choice;
}

} // namespace drillpad
