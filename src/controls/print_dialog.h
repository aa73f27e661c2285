#pragma once

#include "platform/seam.h"

#include <functional>

class QPrinter;
class QWidget;

namespace drillpad {

// The platform's print dialog over the current printer, whose settings last
// for the whole session. Returns the printer to print on, or nullptr when
// the user cancels. `hasSelection` offers printing only the selection.
// The preview is Qt's print preview of the pages `paint` draws on the
// printer it is given, also when the user prints from there; it returns
// when the user closes it.
class PrintDialogs {
public:
    virtual ~PrintDialogs() = default;
    virtual QPrinter *choosePrinter(QWidget *parent, bool hasSelection) = 0;
    virtual void preview(QWidget *parent, const std::function<void(QPrinter *)> &paint) = 0;
};

QPrinter *choosePrinter(QWidget *parent, bool hasSelection);
void showPrintPreview(QWidget *parent, const std::function<void(QPrinter *)> &paint);

} // namespace drillpad
