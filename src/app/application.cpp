#include "app/application.h"

#include "controls/fonts.h"
#include "forms/form_builder.h"
#include "version.h"

#include <QApplication>
#include <QFont>

namespace drillpad {

void initialiseApplication() {
    // No display name: Qt would append it to every window's title, and each
    // window's caption is exactly its own.
    QApplication::setApplicationName(QStringLiteral("Drillpad"));
    QApplication::setApplicationVersion(QString::fromLatin1(version::kText));
    // Lets the desktop match the windows to the installed desktop entry.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(product::kAppId));
    installFontSubstitutions();
    QApplication::setFont(forms::fontOf({}));
}

} // namespace drillpad
