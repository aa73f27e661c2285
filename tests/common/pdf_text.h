#pragma once

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

namespace drillpad::testing {

inline QString withoutBlanks(QString text) {
    static const QRegularExpression blanks(QStringLiteral("\\s"),
                                           QRegularExpression::UseUnicodePropertiesOption);
    return text.remove(blanks);
}

// The text of each page of a PDF, line by line as it stands on the page,
// without blanks; nothing when pdftotext fails. pdftotext writes some
// ideographs as the radicals' own forms, which are read as the ideographs.
inline QStringList pdfPageTexts(const QString &path) {
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!pdftotext.waitForFinished(120000) || pdftotext.exitCode() != 0)
        return {};
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput())
                             .normalized(QString::NormalizationForm_KC);
    QStringList pages;
    for (const QString &page : text.split(u'\f'))
        pages << withoutBlanks(page);
    if (!pages.isEmpty() && pages.back().isEmpty())
        pages.removeLast();
    return pages;
}

// LibreOffice's PDF of a file, written into `folder` (with a profile of its
// own there); empty when LibreOffice is not installed or failed.
inline QString officePdf(const QString &file, const QString &folder) {
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        return {};
    const QDir dir(folder);
    QProcess office;
    office.start(
        soffice,
        {QStringLiteral("-env:UserInstallation=file://") + dir.filePath(QStringLiteral("profile")),
         QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("pdf"),
         QStringLiteral("--outdir"), dir.filePath(QStringLiteral("office")), file});
    if (!office.waitForFinished(300000))
        return {};
    const QString pdf = dir.filePath(QStringLiteral("office/") +
                                     QFileInfo(file).completeBaseName() + QStringLiteral(".pdf"));
    return QFileInfo::exists(pdf) ? pdf : QString();
}

} // namespace drillpad::testing
