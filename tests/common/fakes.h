#pragma once

#include "controls/file_dialogs.h"
#include "controls/message_box.h"
#include "controls/print_dialog.h"
#include "platform/process.h"
#include "platform/seam.h"

#include <QPrinter>
#include <QStringList>

namespace drillpad::testing {

// Records every message and question instead of showing it. Questions are
// answered from `answers` (button captions, or "Esc", in turn); with none
// left, the user presses Esc.
class RecordingMessageBoxes final : public MessageBoxes {
public:
    void information(QWidget *, const QString &text) override { messages << text; }
    void warning(QWidget *, const QString &text) override { messages << text; }
    int ask(QWidget *, const Question &question) override {
        questions << question;
        if (answers.isEmpty())
            return question.escapeButton;
        const QString answer = answers.takeFirst();
        const int chosen = static_cast<int>(question.buttons.indexOf(answer));
        if (chosen < 0 && answer != QLatin1String("Esc"))
            qWarning("no such button in the question: %s", qPrintable(question.text));
        return chosen < 0 ? question.escapeButton : chosen;
    }
    // Answered from `texts` in turn; with none left, cancelled.
    std::optional<QString> askText(QWidget *, const QString &prompt, const QString &) override {
        prompts << prompt;
        return texts.isEmpty() ? std::nullopt : std::optional(texts.takeFirst());
    }
    QStringList messages;
    QList<Question> questions;
    QStringList answers;
    QStringList prompts, texts;
};

// Answers file dialogs from a script (none left: cancelled); records each
// dialog shown as "save <initial path> <initial filter>" or "open ...".
class ScriptedFileDialogs final : public FileDialogs {
public:
    using Choice = std::optional<FileChoice>;
    Choice saveFile(QWidget *, const QStringList &f, const FileChoice &i) override {
        return answer("save", f, i);
    }
    Choice openFile(QWidget *, const QStringList &f, const FileChoice &i) override {
        return answer("open", f, i);
    }
    QList<Choice> answers;
    QStringList shown, filters;

private:
    Choice answer(const char *kind, const QStringList &f, const FileChoice &i) {
        shown << QStringLiteral("%1 %2 %3").arg(QLatin1String(kind), i.path).arg(i.filterIndex);
        filters = f;
        return answers.isEmpty() ? std::nullopt : answers.takeFirst();
    }
};

// A print dialog writing PDF to `pdfPath`, or cancelled; `allPages`: the user
// declines the selection. The preview paints its pages into the same file.
class PdfPrintDialogs final : public PrintDialogs {
public:
    explicit PdfPrintDialogs(const QString &pdfPath) : printer(QPrinter::HighResolution) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfPath);
    }
    QPrinter *choosePrinter(QWidget *, bool selection) override {
        printer.setPrintRange(selection && !allPages ? QPrinter::Selection : QPrinter::AllPages);
        return accept ? &printer : nullptr;
    }
    void preview(QWidget *, const std::function<void(QPrinter *)> &paint) override {
        ++previews;
        printer.setPrintRange(QPrinter::AllPages);
        paint(&printer);
    }
    QPrinter printer;
    bool accept = true, allPages = false;
    int previews = 0;
};

// Records requests to end the process instead of ending it.
class RecordingProcessControl final : public ProcessControl {
public:
    void endProcess() override { ++endRequests; }
    int endRequests = 0;
};

// For a whole test class: the program does not end and no message box shows;
// both are recorded instead.
struct RecordedEndAndMessages {
    RecordingProcessControl process;
    ScopedSeam<ProcessControl> processSeam{process};
    RecordingMessageBoxes messages;
    ScopedSeam<MessageBoxes> messageSeam{messages};
};

} // namespace drillpad::testing
