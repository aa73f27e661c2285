#pragma once

#include "controls/seam.h"

#include <QString>

class QWidget;

namespace drillpad {

inline constexpr const char *kAppTitle = "Drillpad";

// Message boxes with an OK button only, as every message of the program is.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Shows `text` titled "Drillpad" and returns when the user closes it.
    virtual void information(QWidget *parent, const QString &text) = 0;
    // The same with a warning icon, for refused input and failed operations.
    virtual void warning(QWidget *parent, const QString &text) = 0;
};

// Convenience calls through the seam.
void showMessage(QWidget *parent, const QString &text);
void showWarning(QWidget *parent, const QString &text);

} // namespace drillpad
