#pragma once

#include "app/application.h"

#include <QApplication>

#include <benchmark/benchmark.h>

// The main() of every benchmark program: the widgets need an application
// object (on the offscreen platform unless another is chosen) with the
// program's own settings.
#define DRILLPAD_BENCHMARK_MAIN()                                                                  \
    int main(int argc, char **argv) {                                                              \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))                                        \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                               \
        QApplication app(argc, argv);                                                              \
        drillpad::initialiseApplication();                                                         \
        benchmark::Initialize(&argc, argv);                                                        \
        if (benchmark::ReportUnrecognizedArguments(argc, argv))                                    \
            return 1;                                                                              \
        benchmark::RunSpecifiedBenchmarks();                                                       \
        benchmark::Shutdown();                                                                     \
        return 0;                                                                                  \
    }
