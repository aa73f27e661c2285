#include "controls/print_dialog.h"

#include <QCoreApplication>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace drillpad {

namespace {

class RealPrintDialogs final : public PrintDialogs {
public:
    QPrinter *choosePrinter(QWidget *parent, bool hasSelection) override {
        QPrinter &printer = currentPrinter();
        QPrintDialog dialog(&printer, parent);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, hasSelection);
        printer.setPrintRange(hasSelection ? QPrinter::Selection : QPrinter::AllPages);
        return dialog.exec() == QDialog::Accepted ? &printer : nullptr;
    }

    void preview(QWidget *parent, const std::function<void(QPrinter *)> &paint) override {
        QPrintPreviewDialog dialog(&currentPrinter(), parent);
        dialog.setWindowTitle(QStringLiteral("打印预览"));
        QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, paint);
        dialog.exec();
    }

private:
    // Deleted with the application, while the print system still exists.
    static QPrinter &currentPrinter() {
        static QPrinter *printer = [] {
            auto *p = new QPrinter(QPrinter::HighResolution);
            qAddPostRoutine([] { delete printer; });
            return p;
        }();
        return *printer;
    }
};

} // namespace

template <> PrintDialogs &Seam<PrintDialogs>::real() {
    static RealPrintDialogs dialogs;
    return dialogs;
}

QPrinter *choosePrinter(QWidget *parent, bool hasSelection) {
    return Seam<PrintDialogs>::get().choosePrinter(parent, hasSelection);
}

void showPrintPreview(QWidget *parent, const std::function<void(QPrinter *)> &paint) {
    Seam<PrintDialogs>::get().preview(parent, paint);
}

} // namespace drillpad
