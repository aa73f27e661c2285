#pragma once

#include "controls/file_dialogs.h"
#include "controls/print_dialog.h"

#include <QList>
#include <QPrinter>

#include <optional>

namespace drillpad::testing {

// Answers file dialogs from a script, one answer per dialog shown (nothing:
// cancelled), and records what each dialog was opened with.
class ScriptedFileDialogs final : public FileDialogs {
public:
    struct Shown {
        bool save = false;
        QStringList filters;
        FileChoice initial;
    };

    std::optional<FileChoice> saveFile(QWidget *, const QStringList &filters,
                                       const FileChoice &initial) override {
        return answer(true, filters, initial);
    }
    std::optional<FileChoice> openFile(QWidget *, const QStringList &filters,
                                       const FileChoice &initial) override {
        return answer(false, filters, initial);
    }

    QList<std::optional<FileChoice>> answers;
    QList<Shown> shown;

private:
    std::optional<FileChoice> answer(bool save, const QStringList &filters,
                                     const FileChoice &initial) {
        shown.append({save, filters, initial});
        return answers.isEmpty() ? std::nullopt : answers.takeFirst();
    }
};

// A print dialog that the user confirms (with a printer writing PDF to
// `pdfPath`) or cancels. Like the real one, it offers to print only the
// selection when there is one; `allPages` is the user choosing everything.
class FakePrintDialogs final : public PrintDialogs {
public:
    explicit FakePrintDialogs(const QString &pdfPath) : printer(QPrinter::HighResolution) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfPath);
    }

    QPrinter *choosePrinter(QWidget *, bool selection) override {
        ++shown;
        offeredSelection = selection;
        printer.setPrintRange(selection && !allPages ? QPrinter::Selection : QPrinter::AllPages);
        return accept ? &printer : nullptr;
    }

    QPrinter printer;
    bool accept = true;
    bool allPages = false;
    int shown = 0;
    bool offeredSelection = false;
};

} // namespace drillpad::testing
