#pragma once

#include "controls/message_box.h"
#include "controls/process.h"

#include <QStringList>

namespace drillpad::testing {

// Records every message and question instead of showing it; questions are
// answered with `answer`.
class RecordingMessageBoxes final : public MessageBoxes {
public:
    void information(QWidget *, const QString &text) override { messages << text; }
    void warning(QWidget *, const QString &text) override { messages << text; }
    bool question(QWidget *, const QString &text) override {
        questions << text;
        return answer;
    }
    QStringList messages;
    QStringList questions;
    bool answer = false;
};

// Records requests to end the process instead of ending it.
class RecordingProcessControl final : public ProcessControl {
public:
    void endProcess() override { ++endRequests; }
    int endRequests = 0;
};

} // namespace drillpad::testing
