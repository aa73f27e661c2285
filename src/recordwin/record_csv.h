#pragma once

#include "record/practice_record.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace drillpad {

// One field of a CSV line: quoted, with its quotes doubled, when it holds a
// comma, a quote or a line break, or starts or ends with a blank.
QString csvField(const QString &text);
// Fields joined with commas, ending in CR LF.
QString csvLine(const QStringList &fields);

// The column names of the exported record.
QStringList recordCsvHeader();

// The whole record as CSV: UTF-8 with a byte-order mark (so that spreadsheet
// programs read the Chinese), the header, then one line per answer, quizzes
// oldest first and answers in the order asked; each line repeats its quiz's
// columns. A quiz without answers gets one line with the answer columns
// empty. Numbers are written with a full stop, whatever the locale.
QByteArray recordCsv(const QList<QuizSummary> &quizzes, const QList<AnswerEntry> &answers);

} // namespace drillpad
