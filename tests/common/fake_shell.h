#pragma once

#include "controls/shell.h"

#include <QList>

namespace drillpad::testing {

// Records shell requests instead of opening browsers or mail programs, and
// answers with `result` (false: the shell could not open the target).
class RecordingShell final : public Shell {
public:
    bool execute(const ShellRequest &request) override {
        requests << request;
        return result;
    }
    QList<ShellRequest> requests;
    bool result = true;
};

} // namespace drillpad::testing
