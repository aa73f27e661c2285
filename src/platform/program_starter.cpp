#include "platform/program_starter.h"

#include <QFileInfo>
#include <QProcess>

namespace drillpad {

namespace {

// A path that no file system accepts.
bool unusable(const QString &path) {
    return path.isEmpty() || path.contains(QChar(u'\0'));
}

class RealProgramStarter final : public ProgramStarter {
public:
    bool start(const QString &path) override {
        // The path names the program itself; it is never split into a
        // command line.
        return !unusable(path) && QProcess::startDetached(path, {});
    }

    bool fileExists(const QString &path) override {
        return !unusable(path) && QFileInfo(path).isFile();
    }
};

} // namespace

template <> ProgramStarter &Seam<ProgramStarter>::real() {
    static RealProgramStarter starter;
    return starter;
}

bool startProgram(const QString &path) {
    return Seam<ProgramStarter>::get().start(path);
}

bool fileExists(const QString &path) {
    return Seam<ProgramStarter>::get().fileExists(path);
}

} // namespace drillpad
