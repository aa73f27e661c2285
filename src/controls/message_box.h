#pragma once

#include "controls/seam.h"

#include <QString>

class QWidget;

namespace drillpad {

inline constexpr const char *kAppTitle = "Drillpad";

// Message boxes with an OK button, and questions answered 是 or 否.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Shows `text` titled "Drillpad" and returns when the user closes it.
    virtual void information(QWidget *parent, const QString &text) = 0;
    // The same with a warning icon, for refused input and failed operations.
    virtual void warning(QWidget *parent, const QString &text) = 0;
    // Asks `text` titled "Drillpad" with the buttons 是 and 否 (否 the
    // default); true when the user answers 是.
    virtual bool question(QWidget *parent, const QString &text) = 0;
};

// Convenience calls through the seam.
void showMessage(QWidget *parent, const QString &text);
void showWarning(QWidget *parent, const QString &text);
bool askYesNo(QWidget *parent, const QString &text);

} // namespace drillpad
