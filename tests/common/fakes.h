#pragma once

#include "controls/message_box.h"
#include "controls/process.h"

#include <QStringList>

namespace drillpad::testing {

// Records every message instead of showing it.
class RecordingMessageBoxes final : public MessageBoxes {
public:
    void information(QWidget *, const QString &text) override { messages << text; }
    void warning(QWidget *, const QString &text) override { messages << text; }
    QStringList messages;
};

// Records requests to end the process instead of ending it.
class RecordingProcessControl final : public ProcessControl {
public:
    void endProcess() override { ++endRequests; }
    int endRequests = 0;
};

} // namespace drillpad::testing
