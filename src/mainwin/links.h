#pragma once

#include "platform/shell.h"

namespace drillpad {

// The shell requests of the main window's Help menu: the product's home page,
// its guestbook, and two prepared mails to the author. `owner` is the main
// window; `programFolder` is the folder of the running program without a
// trailing separator.
inline constexpr const char *kFriendSubject = "Drillpad用户-交个朋友";
inline constexpr const char *kErrorReportSubject = "Drillpad用户-报告错误";

QString guestbookAddress();
// "mailto:", the address, "?subject=" and the subject as it is: no
// percent-encoding.
QString mailLink(const QString &subject);

ShellRequest homePageRequest(QWidget *owner);
ShellRequest guestbookRequest(QWidget *owner);
ShellRequest mailRequest(QWidget *owner, const QString &subject, const QString &programFolder);

// The folder of the running program in the platform's notation.
QString programFolder();

} // namespace drillpad
