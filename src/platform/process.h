#pragma once

#include "platform/seam.h"

namespace drillpad {

// Ending the process goes through here so that tests can observe it.
class ProcessControl {
public:
    virtual ~ProcessControl() = default;
    virtual void endProcess() = 0;
};

void endProcess();

} // namespace drillpad
