#pragma once

#include "app/application.h"

#include <QApplication>
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
#define DRILLPAD_TEST_MAIN(TestClass)                                                              \
    int main(int argc, char *argv[]) {                                                             \
        QApplication app(argc, argv);                                                              \
        drillpad::initialiseApplication();                                                         \
        QTEST_DISABLE_KEYPAD_NAVIGATION                                                            \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
