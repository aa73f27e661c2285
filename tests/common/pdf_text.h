#pragma once

#include "guide/sheet_header.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTest>

#include <algorithm>
#include <tuple>
#include <vector>

namespace drillpad::testing {

inline const QString kTitle = QStringLiteral("二年级口算练习");

inline QString withoutBlanks(QString text) {
    static const QRegularExpression blanks(QStringLiteral("\\s"),
                                           QRegularExpression::UseUnicodePropertiesOption);
    return text.remove(blanks);
}

// What pdftotext writes of a PDF with `option`; nothing when it fails.
inline QString pdftotext(const QString &option, const QString &path) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {option, path, QStringLiteral("-")});
    if (!process.waitForFinished(120000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of each page of a PDF, line by line as it stands on the page,
// without blanks; nothing when pdftotext fails. pdftotext writes some
// ideographs as the radicals' own forms, which are read as the ideographs.
inline QStringList pdfPageTexts(const QString &path) {
    const QString text =
        pdftotext(QStringLiteral("-layout"), path).normalized(QString::NormalizationForm_KC);
    QStringList pages;
    for (const QString &page : text.split(u'\f'))
        pages << withoutBlanks(page);
    if (!pages.isEmpty() && pages.back().isEmpty())
        pages.removeLast();
    return pages;
}

// The x of each question ("…=") on each line of a PDF, in points from the
// left edge, line by line down each page and left to right; nothing when
// pdftotext fails.
inline QList<QList<double>> pdfQuestionColumns(const QString &path) {
    static const QRegularExpression word(
        QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>([^<]*)</word>|<page "));
    // Words are listed in reading order, which may go down a column first:
    // sorted by page, line and x.
    std::vector<std::tuple<int, double, double>> words;
    int page = 0;
    const QString xml = pdftotext(QStringLiteral("-bbox"), path);
    for (auto it = word.globalMatch(xml); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(0).startsWith(QStringLiteral("<page")))
            ++page;
        else if (m.captured(3).contains(u'='))
            words.emplace_back(page, m.captured(2).toDouble(), m.captured(1).toDouble());
    }
    std::sort(words.begin(), words.end());
    QList<QList<double>> lines;
    std::tuple<int, double> line{-1, 0.0};
    for (const auto &[wordPage, y, x] : words) {
        if (lines.isEmpty() || std::get<0>(line) != wordPage || y - std::get<1>(line) > 2) {
            lines.append(QList<double>());
            line = {wordPage, y};
        }
        lines.back().append(x);
    }
    for (QList<double> &xs : lines)
        std::sort(xs.begin(), xs.end());
    return lines;
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

// The header of a sheet titled kTitle, as pdfPageTexts reads it.
inline QString headerText() {
    return withoutBlanks(kTitle + QString::fromUtf8(kNameLine));
}

// Each page starts with `header`; what follows it on each page.
inline void verifyUnderHeader(const QStringList &pages, const QString &header,
                              QStringList *bodies = nullptr) {
    for (const QString &page : pages) {
        QVERIFY2(page.startsWith(header), qPrintable(page.left(80)));
        if (bodies)
            *bodies << page.mid(header.size());
    }
}

// Another reader's pages hold the same characters as ours, page by page:
// it may read the cells of a table in another order.
inline void compareCharacters(QStringList theirs, QStringList ours) {
    QCOMPARE(theirs.size(), ours.size());
    for (qsizetype i = 0; i < ours.size(); ++i) {
        std::sort(ours[i].begin(), ours[i].end());
        std::sort(theirs[i].begin(), theirs[i].end());
        QCOMPARE(theirs[i], ours[i]);
    }
}

} // namespace drillpad::testing
