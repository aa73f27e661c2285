#pragma once

#include "platform/seam.h"

class QPrinter;
class QWidget;

namespace drillpad {

// The platform's print dialog over the current printer, whose settings last
// for the whole session. Returns the printer to print on, or nullptr when
// the user cancels. `hasSelection` offers printing only the selection.
class PrintDialogs {
public:
    virtual ~PrintDialogs() = default;
    virtual QPrinter *choosePrinter(QWidget *parent, bool hasSelection) = 0;
};

QPrinter *choosePrinter(QWidget *parent, bool hasSelection);

} // namespace drillpad
