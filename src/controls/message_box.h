#pragma once

#include "platform/seam.h"

#include <QString>
#include <QStringList>

#include <optional>

class QMessageBox;
class QWidget;

namespace drillpad {

inline constexpr const char *kAppTitle = "Drillpad";

// A question titled "Drillpad" with buttons of its own, shown left to right.
struct Question {
    QString text;
    QStringList buttons;
    int defaultButton = 0; // taken by Enter
    int escapeButton = 0;  // taken by Esc and by closing the box

    friend bool operator==(const Question &, const Question &) = default;
};

// The program's message boxes: messages with an OK button, and questions.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Shows `text` titled "Drillpad" and returns when the user closes it.
    virtual void information(QWidget *parent, const QString &text) = 0;
    // The same with a warning icon, for refused input and failed operations.
    virtual void warning(QWidget *parent, const QString &text) = 0;
    // Asks the question and returns the index of the button the user chose.
    virtual int ask(QWidget *parent, const Question &question) = 0;
    // Asks for a line of text under `prompt`, starting from `initial`;
    // nothing when the user cancels (as boxes that cannot ask do).
    virtual std::optional<QString> askText(QWidget * /*parent*/, const QString & /*prompt*/,
                                           const QString & /*initial*/) {
        return std::nullopt;
    }
};

// Convenience calls through the seam.
void showMessage(QWidget *parent, const QString &text);
void showWarning(QWidget *parent, const QString &text);
// A question with the buttons "是" and "否"; true for "是". "否" is the
// default, so that Enter pressed once too often changes nothing.
bool askYesNo(QWidget *parent, const QString &text);
std::optional<QString> askText(QWidget *parent, const QString &prompt, const QString &initial = {});

// Sets up a box for the question as the real message boxes show it.
void prepareQuestionBox(QMessageBox &box, const Question &question);

} // namespace drillpad
