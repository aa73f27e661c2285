#pragma once

#include <QProcess>
#include <QRegularExpression>
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

} // namespace drillpad::testing
