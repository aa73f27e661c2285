#include "app/application.h"
#include "app/forms_registry.h"
#include "mainwin/frm_main.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    drillpad::initialiseApplication();
    drillpad::frmMain().show();
    return QApplication::exec();
}
