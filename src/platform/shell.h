#pragma once

#include "platform/seam.h"

#include <QString>

#include <optional>

class QWidget;

namespace drillpad {

// A request to the operating system's shell to open something (a web page,
// a mail link) with whatever program the user has registered for it.
struct ShellRequest {
    QWidget *owner = nullptr;          // the window the request comes from
    QString verb;                      // "open", "Open", ...
    QString file;                      // what to open
    std::optional<QString> parameters; // nullopt: none at all, as opposed to ""
    std::optional<QString> folder;     // working folder; nullopt: none
    int showCommand = 0;               // 0 hidden, 1 normal window

    friend bool operator==(const ShellRequest &, const ShellRequest &) = default;
};

// The shell's open operation. The result is the platform's and callers may
// ignore it: a request that fails shows nothing.
class Shell {
public:
    virtual ~Shell() = default;
    virtual bool execute(const ShellRequest &request) = 0;
};

// Passes a request to the shell through the seam.
bool shellExecute(const ShellRequest &request);

} // namespace drillpad
