#pragma once

#include "controls/fonts.h"

#include <QApplication>
#include <QtTest>

// Like QTEST_MAIN, with the program's application settings (fonts, names).
#define DRILLPAD_TEST_MAIN(TestClass)                                                              \
    int main(int argc, char *argv[]) {                                                             \
        QApplication app(argc, argv);                                                              \
        drillpad::initialiseApplication();                                                         \
        QTEST_DISABLE_KEYPAD_NAVIGATION                                                            \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
