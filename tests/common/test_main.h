#pragma once

#include "app/application.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QtTest>

#include "controls/twips.h"

namespace drillpad {
// Readable failure messages for twips values.
inline char *toString(const TwipsRect &r) {
    return QTest::toString(
        QStringLiteral("{%1, %2, %3, %4}").arg(r.left).arg(r.top).arg(r.width).arg(r.height));
}
inline char *toString(const TwipsSize &s) {
    return QTest::toString(QStringLiteral("%1 x %2").arg(s.width).arg(s.height));
}
} // namespace drillpad

// Like QTEST_MAIN, with the program's application settings (fonts, names).
// The user's data and configuration folders are temporary ones, so the
// practice record and the settings the windows keep never land among the
// user's own.
#define DRILLPAD_TEST_MAIN(TestClass)                                                              \
    int main(int argc, char *argv[]) {                                                             \
        QTemporaryDir dataHome;                                                                    \
        qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());                                   \
        QTemporaryDir configHome;                                                                  \
        qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());                               \
        QApplication app(argc, argv);                                                              \
        drillpad::initialiseApplication();                                                         \
        QTEST_DISABLE_KEYPAD_NAVIGATION                                                            \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
