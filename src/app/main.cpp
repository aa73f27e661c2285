#include "app/application.h"
#include "app/forms_registry.h"
#include "mainwin/frm_main.h"
#include "record/practice_record.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char *argv[]) {
    // Qt joins the desktop's accessibility bus only once a screen reader has
    // said it is running; accessibility tools that do not say so (and a
    // reader started later) would find no Drillpad. Always join, unless the
    // user chose otherwise.
    if (!qEnvironmentVariableIsSet("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"))
        qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    QApplication app(argc, argv);
    drillpad::initialiseApplication();
    drillpad::frmMain().show();
    // The practice record is opened once the window shows, so that a large
    // record's integrity check runs in the background before the first quiz.
    QTimer::singleShot(0, [] { drillpad::practiceRecord(); });
    return QApplication::exec();
}
