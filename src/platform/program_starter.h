#pragma once

#include "platform/seam.h"

#include <QString>

namespace drillpad {

// Starting another program, and asking whether a file is there.
class ProgramStarter {
public:
    virtual ~ProgramStarter() = default;
    // Starts the program at `path` in a normal window that gets the focus,
    // and returns at once without waiting for it; false when it could not
    // be started.
    virtual bool start(const QString &path) = 0;
    // True when an ordinary file (not a folder) exists at `path`.
    virtual bool fileExists(const QString &path) = 0;
};

// Convenience calls through the seam.
bool startProgram(const QString &path);
bool fileExists(const QString &path);

} // namespace drillpad
