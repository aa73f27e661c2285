#pragma once

#include "mainwin/forms_registry.h"
#include "mainwin/frm_main.h"

#include <QtTest>

#include <memory>

namespace drillpad::testing {

// A main window of the test's own, shown on the screen.
inline std::unique_ptr<FrmMain> shownMainWindow() {
    auto window = std::make_unique<FrmMain>();
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        qWarning("main window not exposed");
    return window;
}

// Unloads every window the test opened and lets Qt delete them.
inline void unloadAllWindows() {
    UnloadAllForms();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace drillpad::testing
