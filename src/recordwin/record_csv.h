#pragma once

#include "record/practice_record.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace drillpad {

// One field of a CSV line: quoted, with its quotes doubled, when it holds a
// comma, a quote or a line break, or starts or ends with a blank. Text that a
// spreadsheet would run as a formula (starting with =, +, -, @, a tab or a
// carriage return) gets a leading apostrophe and quotes, so it shows as
// typed; plain numbers such as -5 stay numbers.
QString csvField(const QString &text);
// Fields joined with commas, ending in CR LF.
QString csvLine(const QStringList &fields);

// The column names of the exported record.
QStringList recordCsvHeader();

// The start of the exported record: UTF-8 with a byte-order mark (so that
// spreadsheet programs read the Chinese) and the header line.
QByteArray recordCsvStart();
// One line of the export is an answer after its quiz's columns: the quiz's
// columns with the comma after them, the same for each of its answers, and
// the answer's columns with the line's end. Numbers are written with a full
// stop, whatever the locale.
QByteArray recordCsvQuizColumns(const QuizSummary &quiz);
QByteArray recordCsvAnswerColumns(const AnswerEntry &answer);

} // namespace drillpad
