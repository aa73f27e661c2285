#include "platform/shell.h"

#ifdef Q_OS_WIN
#include <QWidget>
#include <qt_windows.h>
#include <shellapi.h>
#else
#include <QDesktopServices>
#include <QUrl>
#endif

namespace drillpad {

namespace {

#ifdef Q_OS_WIN
const wchar_t *wide(const QString &text) {
    return reinterpret_cast<const wchar_t *>(text.utf16());
}

const wchar_t *wideOrNull(const std::optional<QString> &text) {
    return text ? wide(*text) : nullptr;
}
#endif

class RealShell final : public Shell {
public:
    bool execute(const ShellRequest &request) override {
#ifdef Q_OS_WIN
        // The Unicode entry point, so that the Chinese mail subjects arrive
        // intact whatever the system's code page.
        HWND owner = request.owner ? reinterpret_cast<HWND>(request.owner->winId()) : nullptr;
        const HINSTANCE result = ShellExecuteW(owner, wide(request.verb), wide(request.file),
                                               wideOrNull(request.parameters),
                                               wideOrNull(request.folder), request.showCommand);
        // Values above 32 mean success.
        return reinterpret_cast<quintptr>(result) > 32;
#else
        // The desktop's URL opener has no verb, folder or show command: the
        // target alone decides which program opens it.
        return QDesktopServices::openUrl(QUrl(request.file, QUrl::TolerantMode));
#endif
    }
};

} // namespace

template <> Shell &Seam<Shell>::real() {
    static RealShell shell;
    return shell;
}

bool shellExecute(const ShellRequest &request) {
    return Seam<Shell>::get().execute(request);
}

} // namespace drillpad
