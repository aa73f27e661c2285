#include "platform/process.h"

#include <QCoreApplication>

namespace drillpad {

namespace {
class RealProcessControl final : public ProcessControl {
public:
    // Leaves the event loop; main() returns from there.
    void endProcess() override { QCoreApplication::exit(0); }
};
} // namespace

template <> ProcessControl &Seam<ProcessControl>::real() {
    static RealProcessControl control;
    return control;
}

void endProcess() {
    Seam<ProcessControl>::get().endProcess();
}

} // namespace drillpad
