#include "controls/file_dialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

namespace drillpad {

namespace {

// The first pattern of an entry without "*.", as a default suffix: "rtf".
QString suffixOf(const QString &entry) {
    static const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
    return pattern.match(entry).captured(1);
}

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
        dialog.setAcceptMode(mode);
        dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                           : QFileDialog::ExistingFile);
        dialog.setNameFilters(filters);
        const int index = qBound(0, initial.filterIndex, static_cast<int>(filters.size()) - 1);
        if (!filters.isEmpty())
            dialog.selectNameFilter(filters.at(index));
        if (mode == QFileDialog::AcceptSave) {
            // The dialog adds the entry's suffix itself, so that it asks
            // before replacing the file that will really be written.
            dialog.setDefaultSuffix(filters.isEmpty() ? QString() : suffixOf(filters.at(index)));
            QObject::connect(
                &dialog, &QFileDialog::filterSelected, &dialog,
                [&dialog](const QString &entry) { dialog.setDefaultSuffix(suffixOf(entry)); });
        }
        if (!initial.path.isEmpty()) {
            const QFileInfo info(initial.path);
            dialog.setDirectory(info.absolutePath());
            dialog.selectFile(info.fileName());
        }
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return FileChoice{dialog.selectedFiles().constFirst(),
                          static_cast<int>(filters.indexOf(dialog.selectedNameFilter()))};
    }
};

} // namespace

template <> FileDialogs &Seam<FileDialogs>::real() {
    static RealFileDialogs dialogs;
    return dialogs;
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
