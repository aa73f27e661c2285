#include "mainwin/links.h"

#include "version.h"

#include <QCoreApplication>
#include <QDir>

namespace drillpad {

namespace {

// Web pages open hidden (show command 0) with "open"; mails open in a normal
// window (1) with "Open", from the program's folder.
ShellRequest webRequest(QWidget *owner, const QString &address) {
    return {.owner = owner,
            .verb = QStringLiteral("open"),
            .file = address,
            .parameters = std::nullopt,
            .folder = std::nullopt,
            .showCommand = 0};
}

} // namespace

QString guestbookAddress() {
    return QString::fromUtf8(product::kHomePage) + QStringLiteral("/gbook");
}

QString mailLink(const QString &subject) {
    return QStringLiteral("mailto:") + QString::fromUtf8(product::kAuthorMail) +
           QStringLiteral("?subject=") + subject;
}

ShellRequest homePageRequest(QWidget *owner) {
    return webRequest(owner, QString::fromUtf8(product::kHomePage));
}

ShellRequest guestbookRequest(QWidget *owner) {
    return webRequest(owner, guestbookAddress());
}

ShellRequest mailRequest(QWidget *owner, const QString &subject, const QString &programFolder) {
    return {.owner = owner,
            .verb = QStringLiteral("Open"),
            .file = mailLink(subject),
            .parameters = QStringLiteral(""),
            .folder = programFolder,
            .showCommand = 1};
}

QString programFolder() {
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

} // namespace drillpad
