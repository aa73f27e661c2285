#pragma once

#include "platform/seam.h"

#include <QFileDialog>
#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

namespace drillpad {

// A name chosen in a file dialog and the filter entry selected with it.
struct FileChoice {
    QString path;
    int filterIndex = 0;

    friend bool operator==(const FileChoice &, const FileChoice &) = default;
};

// The platform's save and open dialogs. Each opens on `initial` (its folder,
// name and filter entry) and returns the user's choice, or nothing when the
// user cancels. `filters` are entries such as "RTF格式 (*.rtf)".
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual std::optional<FileChoice> saveFile(QWidget *parent, const QStringList &filters,
                                               const FileChoice &initial) = 0;
    virtual std::optional<FileChoice> openFile(QWidget *parent, const QStringList &filters,
                                               const FileChoice &initial) = 0;
};

// Sets up a dialog as the real save and open dialogs show it: the filters
// with the initial entry selected, the initial folder and name. A save
// dialog asks nothing before replacing a file; its caller does that for the
// name it really writes.
void prepareFileDialog(QFileDialog &dialog, QFileDialog::AcceptMode mode,
                       const QStringList &filters, const FileChoice &initial);

// Before a save replaces the file at `path`: when it exists, asks
// "文件“…”已存在。要替换它吗?" with 是 and 否 (否 the default, Esc = 否).
// True when nothing is there or the user chose 是.
bool askToReplaceFile(QWidget *parent, const QString &path);

// Asks where to save a file of one kind: the save dialog over `filter`
// ("CSV文件 (*.csv)"), offering `fileName` in the documents folder; a name
// without an extension gets `suffix` (".csv"), and an existing file is
// replaced only if the user agrees. The path to write, or nothing.
std::optional<QString> chooseSavePath(QWidget *parent, const QString &filter,
                                      const QString &fileName, const QString &suffix);

// The entries of a filter written as "label|pattern|label|pattern": the
// labels, which carry their patterns in brackets.
QStringList filterEntries(const QString &filter);

// One common dialog as a window keeps it: its filter list, and the name and
// filter entry chosen last, which the next save or open offers again.
class FileDialog : public QObject {
    Q_OBJECT
public:
    FileDialog(const QString &filter, QObject *parent);

    QStringList filters() const { return filters_; }
    FileChoice lastChoice() const { return last_; }

    // Shows the dialog; an accepted choice with a name becomes the last one.
    std::optional<FileChoice> showSave(QWidget *parent);
    std::optional<FileChoice> showOpen(QWidget *parent);
    // The name of the file really written for the last choice (its suffix
    // added), which the next dialog then offers.
    void setLastPath(const QString &path) { last_.path = path; }

private:
    std::optional<FileChoice> remember(std::optional<FileChoice> choice);

    QStringList filters_;
    FileChoice last_;
};

} // namespace drillpad
