#include "common/fakes.h"
#include "common/small_disk.h"
#include "common/test_main.h"

#include "app/forms_registry.h"
#include "controls/command_button.h"
#include "quiz/frm_face.h"
#include "recordwin/frm_record.h"
#include "recordwin/record_chart.h"
#include "recordwin/record_csv.h"
#include "recordwin/record_table.h"

#include <QAccessible>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <optional>

using namespace drillpad;
using namespace Qt::StringLiterals;

namespace {

// A judged answer, taking 2.5 seconds per place in the quiz.
AnswerEntry answer(qint64 quiz, int sequence, const QString &question, const QString &expected,
                   const QString &typed, bool skipped = false) {
    return {
        quiz,           sequence, question, expected, typed, skipped, !skipped && typed == expected,
        2.5 * sequence, {}};
}

// Seven quizzes a day apart: mistakes of every kind, answers that need
// quoting in CSV, an unfinished quiz (4), a redo (6) and one with no answers.
struct Sample {
    QList<QuizSummary> quizzes;
    QList<AnswerEntry> answers;

    Sample() {
        add(u"+"_s,
            {{u"1+2="_s, u"3"_s, u"3"_s}, {u"4+4="_s, u"8"_s, u"9"_s}, {u"5+3="_s, u"8"_s}});
        add(u"*"_s, {{u"7×3="_s, u"21"_s, u"21"_s},
                     {u"6×7="_s, u"42"_s, u"4,2"_s},
                     {u"8×9="_s, u"72"_s, u"\"72\""_s}});
        add(u"*"_s, {{u"7×3="_s, u"21"_s, u"21"_s}, {u"6×7="_s, u"42"_s, u" 42"_s}});
        add(u"/"_s, {{u"8÷2="_s, u"4"_s}}, false);
        add(u"-"_s, {{u"9-3="_s, u"6"_s, u"6"_s}});
        add({}, {{u"4+4="_s, u"8"_s, u"8"_s}, {u"6×7="_s, u"42"_s, u"41"_s}}, true, QuizKind::Redo);
        add(u"+"_s, {});
    }
    // Adds a quiz of answers given as question, expected and typed (none: skipped).
    void add(const QString &op, const QList<QStringList> &typed, bool finished = true,
             QuizKind kind = QuizKind::Normal) {
        const qint64 id = quizzes.size() + 1;
        QList<AnswerEntry> own;
        for (const QStringList &t : typed)
            own << answer(id, int(own.size()) + 1, t[0], t[1], t.value(2), t.size() < 3);
        const bool redo = kind == QuizKind::Redo;
        const auto n = static_cast<int>(own.size());
        const auto right = static_cast<int>(
            std::count_if(own.cbegin(), own.cend(), [](const AnswerEntry &a) { return a.right; }));
        const double rate = n ? 100.0 * right / n : 0, seconds = 1.25 * n * (n + 1);
        const QDateTime started = kFirstDay.addDays(id - 1);
        quizzes << QuizSummary(id, started,
                               finished ? started.addSecs(qint64(seconds) + 5) : QDateTime(), op,
                               redo ? 0 : 1, redo ? 0 : 9, n, right, rate,
                               finished ? qRound(rate) : -1, seconds, kind, finished, 0, {});
        answers << own;
    }
    const QDateTime kFirstDay{QDate(2026, 11, 2), QTime(18, 30)};
};

// Reads CSV as a spreadsheet program would: fields may be quoted, with
// commas and doubled quotes inside; lines end in CR LF.
QList<QStringList> parseCsv(const QString &text) {
    static const QRegularExpression field(uR"re((?:^|,)(?:"((?:[^"]|"")*)"|([^,]*)))re"_s);
    QList<QStringList> lines;
    for (const QString &line : text.split(u"\r\n"_s, Qt::SkipEmptyParts)) {
        lines << QStringList();
        for (const QRegularExpressionMatch &m : field.globalMatch(line))
            lines.last() << (m.hasCaptured(1) ? m.captured(1).replace(u"\"\""_s, u"\""_s)
                                              : m.captured(2));
    }
    return lines;
}

bool writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray contents(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QList<QPointF> pointsOf(const QChart *chart, int series) {
    return qobject_cast<QLineSeries *>(chart->series().at(series))->points();
}

QString cell(const FrmRecord &window, int row, int column) {
    return window.quizModel().index(row, column).data().toString();
}

// Shows the window and makes it the active one, so that access keys reach it.
bool showActive(QWidget &window) {
    window.show();
    QApplication::setActiveWindow(&window);
    return QTest::qWaitForWindowActive(&window);
}

// Clicks a row of the table where a person would, with Ctrl to add it.
void clickRow(QTableView *table, int row, Qt::KeyboardModifiers modifiers = {}) {
    const QRect rect = table->visualRect(table->model()->index(row, 0));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, modifiers, rect.center());
}

} // namespace

class TestFrmRecord : public QObject {
    Q_OBJECT
    std::optional<QTemporaryDir> dir_;
    std::optional<PracticeRecord> record_;
    testing::RecordingMessageBoxes messages_;
    ScopedSeam<MessageBoxes> messageSeam_{messages_};
    testing::ScriptedFileDialogs dialogs_;
    ScopedSeam<FileDialogs> dialogSeam_{dialogs_};
    Sample sample_;

    QString path(const QString &name) const { return QDir(dir_->path()).filePath(name); }

private Q_SLOTS:
    void init() {
        dir_.emplace();
        record_.emplace();
        QVERIFY(record_->open(path(u"drillpad.sqlite"_s)));
        QVERIFY(record_->importQuizzes(sample_.quizzes, sample_.answers));
        messages_ = {};
        dialogs_ = {};
    }
    void cleanup() { record_.reset(); }

    void filterAndChart_data() {
        QTest::addColumn<int>("filter");
        QTest::addColumn<QList<qint64>>("ids"); // the rows, newest first
        QTest::newRow("全部, without the quiz that has no answers")
            << 0 << QList<qint64>{6, 5, 4, 3, 2, 1};
        QTest::newRow("乘法") << 3 << QList<qint64>{3, 2};
        QTest::newRow("除法, unfinished only") << 4 << QList<qint64>{4};
    }
    // The filter picks the rows; every finished quiz with answers in the
    // table is one point of each series, at its start, with its score and
    // its seconds per question; the unfinished one says so.
    void filterAndChart() {
        QFETCH(int, filter);
        QFETCH(QList<qint64>, ids);
        FrmRecord window(*record_);
        QVERIFY(showActive(window));
        // Opened, the table has the focus; moved through with the keyboard,
        // the filter keeps it and the newest quiz stays selected.
        QCOMPARE(QApplication::focusWidget(), window.tblQuizzes());
        QTest::keyClick(&window, Qt::Key_O, Qt::AltModifier);
        for (int index = 1; index <= filter; ++index)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(window.cmbOperation()->currentIndex(), filter);
        QCOMPARE(QApplication::focusWidget(), window.cmbOperation());
        QCOMPARE(window.quizModel().rowCount(), ids.size());
        QVERIFY(window.tblQuizzes()->selectionModel()->isRowSelected(0));
        QList<QPointF> scores, seconds;
        for (int row = 0; row < ids.size(); ++row) {
            const QuizSummary &q = window.quizModel().quiz(row);
            QCOMPARE(q.id, ids.at(row));
            QCOMPARE(cell(window, row, QuizTableModel::Answered), QString::number(q.answered));
            QCOMPARE(cell(window, row, QuizTableModel::Score),
                     q.finished ? QString::number(q.score) : u"未完成"_s);
            if (!q.finished || q.answered == 0)
                continue;
            const double x = q.started.toMSecsSinceEpoch();
            scores.prepend({x, cell(window, row, QuizTableModel::Score).toDouble()});
            seconds.prepend({x, q.secondsUsed / q.answered});
        }
        QCOMPARE(pointsOf(window.chart(), 0), scores);
        QCOMPARE(pointsOf(window.chart(), 1), seconds);
        // The chart's text alternative follows the filter.
        QCOMPARE(QAccessible::queryAccessibleInterface(window.chartProgress())
                     ->text(QAccessible::Description),
                 progressSummary({scores, seconds}));
    }

    void redo_data() {
        QTest::addColumn<QList<int>>("rows"); // clicked, the first without Ctrl
        QTest::addColumn<QStringList>("questions");
        QTest::newRow("newest, a redo") << QList<int>{0} << QStringList{u"6×7=42"_s};
        QTest::newRow("three quizzes, oldest first, one mistake in two")
            << QList<int>{3, 4, 5} << QStringList{u"4+4=8"_s, u"5+3=8"_s, u"6×7=42"_s, u"8×9=72"_s};
        QTest::newRow("skipped in an unfinished quiz") << QList<int>{2} << QStringList{u"8÷2=4"_s};
        QTest::newRow("all right") << QList<int>{1} << QStringList{};
    }
    // The wrong table lists exactly the wrong and skipped questions of the
    // selected quizzes, each once, oldest quiz first and in the order asked;
    // the redo gets them all, nothing to redo greys the button. Alt+R is the
    // button.
    void redo() {
        QFETCH(QList<int>, rows);
        QFETCH(QStringList, questions);
        FrmRecord window(*record_);
        QList<QList<AnswerEntry>> runs;
        connect(&window, &FrmRecord::redoRequested,
                [&runs](const QList<AnswerEntry> &asked) { runs << asked; });
        QVERIFY(showActive(window));
        for (int row : rows)
            clickRow(window.tblQuizzes(), row,
                     row == rows.first() ? Qt::NoModifier : Qt::ControlModifier);
        QCOMPARE(window.button("cmdRedo")->isEnabled(), !questions.isEmpty());
        const QList<AnswerEntry> listed = window.wrongModel().answers();
        QStringList inOrder;
        for (const AnswerEntry &a : listed)
            inOrder << a.question + a.expected;
        QCOMPARE(inOrder, questions);
        QTest::keyClick(&window, Qt::Key_R, Qt::AltModifier);
        QCOMPARE(runs.size(), questions.isEmpty() ? 0 : 1);
        QCOMPARE(runs.value(0), listed);
    }

    // The whole record read back as a spreadsheet program would: BOM,
    // header, Chinese, and the typed answers exactly, quotes and commas
    // included. The name offered is in the documents folder; a file that
    // cannot be written is refused with the reason.
    void csvRoundTrip() {
        FrmRecord window(*record_);
        QVERIFY(showActive(window));
        dialogs_.answers = {FileChoice{path(u"no/such/folder.csv"_s), 0},
                            FileChoice{path(u"导出.csv"_s), 0}};
        QTest::keyClick(&window, Qt::Key_E, Qt::AltModifier);
        QCOMPARE(messages_.messages.size(), 1);
        QVERIFY(messages_.messages[0].startsWith(u"无法保存文件"_s) &&
                messages_.messages[0].contains(u"文件夹不存在"_s));
        QVERIFY(dialogs_.shown.value(0).endsWith(u"/练习记录.csv 0"_s));
        QVERIFY(showActive(window)); // the offscreen platform does not activate it again
        QTest::keyClick(&window, Qt::Key_E, Qt::AltModifier);
        QCOMPARE(messages_.messages.size(), 1);
        const QByteArray bytes = contents(path(u"导出.csv"_s));
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        QStringDecoder utf8(QStringConverter::Utf8);
        const QList<QStringList> lines = parseCsv(utf8.decode(bytes.sliced(3)));
        QVERIFY(!utf8.hasError());
        QCOMPARE(lines.value(0).mid(0, 2), (QStringList{u"练习编号"_s, u"练习者"_s}));
        QCOMPARE(lines.value(0).value(15), u"题目"_s);
        // One line per answer; the quiz without answers is not kept.
        QCOMPARE(lines.size(), 1 + sample_.answers.size());
        QList<AnswerEntry> typed;
        for (const QStringList &line : lines.sliced(1)) {
            QCOMPARE(line.size(), lines.first().size());
            QCOMPARE(line.at(1), QString::fromUtf8(kFirstPupilName));
            if (!line.at(14).isEmpty())
                typed << answer(line.at(0).toLongLong(), line.at(14).toInt(), line.at(15),
                                line.at(16), line.at(17), line.at(18) == u"跳过"_s);
        }
        QCOMPARE(typed, sample_.answers);
        QCOMPARE(lines.at(4).mid(4, 3), (QStringList{u"乘法"_s, u"练习"_s, u"完成"_s}));
        QCOMPARE(lines.at(9).mid(4, 3), (QStringList{u"除法"_s, u"练习"_s, u"未完成"_s}));
    }

    // Mistakes of more quizzes than are read at once are read off the
    // interface thread and then listed the same way, oldest first.
    void manyQuizzesReadOffThread() {
        QList<QuizSummary> quizzes;
        QList<AnswerEntry> answers;
        for (int id = 101; id <= 250; ++id) {
            QuizSummary quiz = sample_.quizzes.at(3); // unfinished, one question
            quiz.id = id;
            quiz.started = sample_.kFirstDay.addDays(10).addSecs(id);
            quizzes << quiz;
            answers << answer(id, 1, u"%1+1="_s.arg(7 - id % 7), QString::number(8 - id % 7),
                              u"0"_s);
        }
        QVERIFY(record_->importQuizzes(quizzes, answers));
        FrmRecord window(*record_);
        window.tblQuizzes()->selectAll();
        QVERIFY(!window.button("cmdRedo")->isEnabled());
        QStringList listed;
        QTRY_VERIFY(window.button("cmdRedo")->isEnabled());
        for (const AnswerEntry &a : window.wrongModel().answers())
            listed << a.question;
        // Quiz 101 asks 4+1=, 102 3+1=, ... each of the seven first in 101..107;
        // the sample's own mistakes come before them.
        QCOMPARE(listed.mid(listed.size() - 7),
                 (QStringList{u"4+1="_s, u"3+1="_s, u"2+1="_s, u"1+1="_s, u"7+1="_s, u"6+1="_s,
                              u"5+1="_s}));
        QCOMPARE(listed.size(), 5 + 7);
    }

    // Saving the export asks before it replaces a file, as saving a sheet
    // does, and a name without an extension gets ".csv"; the old file
    // stays byte for byte unless 是 is chosen, or when the export is
    // cancelled.
    void exportReplaces_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("answer"); // to the question; empty: none asked
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("no extension") << u"noext"_s << u"noext.csv"_s << u""_s << false << true;
        QTest::newRow("another extension kept")
            << u"data.txt"_s << u"data.txt"_s << u""_s << false << true;
        QTest::newRow("existing, 否") << u"old.csv"_s << u"old.csv"_s << u"否"_s << false << false;
        QTest::newRow("existing, Esc") << u"old"_s << u"old.csv"_s << u"Esc"_s << false << false;
        QTest::newRow("existing, 是") << u"old.csv"_s << u"old.csv"_s << u"是"_s << false << true;
        QTest::newRow("existing, 是, cancelled")
            << u"old"_s << u"old.csv"_s << u"是"_s << true << false;
    }
    void exportReplaces() {
        QFETCH(QString, chosen);
        QFETCH(QString, written);
        QFETCH(QString, answer);
        QFETCH(bool, cancel);
        QFETCH(bool, replaced);
        const QByteArray old = "old,file\r\n";
        QVERIFY(writeFile(path(u"old.csv"_s), old));
        FrmRecord window(*record_);
        QVERIFY(showActive(window));
        dialogs_.answers = {FileChoice{path(chosen), 0}};
        messages_.answers = {answer};
        if (cancel) {
            QTimer::singleShot(0, &window,
                               [&window] { window.findChild<QProgressDialog *>()->cancel(); });
        }
        QTest::keyClick(&window, Qt::Key_E, Qt::AltModifier);
        // The question itself is pinned in tst_controls.
        QCOMPARE(messages_.questions.size(), answer.isEmpty() ? 0 : 1);
        if (!answer.isEmpty())
            QVERIFY(messages_.questions[0].text.contains(
                u"“%1”"_s.arg(QDir::toNativeSeparators(path(u"old.csv"_s)))));
        QVERIFY(messages_.messages.isEmpty());
        const QByteArray bytes = contents(path(written));
        QCOMPARE(bytes == old, !replaced);
        QCOMPARE(bytes.startsWith("\xEF\xBB\xBF"), replaced);
        QVERIFY(!QFile::exists(path(chosen)) || chosen == written || chosen == u"old"_s);
    }

    // On a full disk the export says so and the old file stays byte for
    // byte, alone beside the disk's filler.
    void exportOnFullDisk() {
        testing::SmallDisk disk(64);
        if (!disk.mounted)
            QSKIP("A small file system cannot be mounted here (it needs root).");
        const QString old = disk.dir.filePath(u"old.csv"_s);
        QVERIFY(writeFile(old, "old,file\r\n"));
        QVERIFY(disk.leaveFree(0));
        FrmRecord window(*record_);
        QVERIFY(showActive(window));
        dialogs_.answers = {FileChoice{old, 0}};
        messages_.answers = {u"是"_s};
        QTest::keyClick(&window, Qt::Key_E, Qt::AltModifier);
        QCOMPARE(messages_.messages.size(), 1);
        QVERIFY2(messages_.messages.first().contains(u"磁盘可能已满"_s),
                 qPrintable(messages_.messages.first()));
        QCOMPARE(contents(old), QByteArray("old,file\r\n"));
        QCOMPARE(QDir(disk.dir.path()).entryList(QDir::Files),
                 (QStringList{u"filler"_s, u"old.csv"_s}));
    }

    // Text a spreadsheet would run as a formula is written with a leading
    // apostrophe, quoted; numbers, signed ones included, stay numbers.
    void formulaCells_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("field");
        for (const auto &[name, typed, field] : {std::tuple{"=", "=1+1", "\"'=1+1\""},
                                                 {"- formula", "-2+3", "\"'-2+3\""},
                                                 {"@", "@SUM(A1)", "\"'@SUM(A1)\""},
                                                 {"tab", "\t=1", "\"'\t=1\""},
                                                 {"carriage return", "\r=1", "\"'\r=1\""},
                                                 {"quote inside", "=\"a\"", "\"'=\"\"a\"\"\""},
                                                 {"lone minus", "-", "\"'-\""},
                                                 {"negative number", "-5", "-5"},
                                                 {"signed decimal", "+7.5", "+7.5"},
                                                 {"blank before =", " =1", "\" =1\""}})
            QTest::newRow(name) << QString::fromUtf8(typed) << QString::fromUtf8(field);
    }
    void formulaCells() {
        QFETCH(QString, typed);
        QFETCH(QString, field);
        QCOMPARE(csvField(typed), field);
    }

    // The date axis shows hours within two days, dates beyond, and the year
    // when the record spans two years.
    void dateAxis_data() {
        QTest::addColumn<QDateTime>("first");
        QTest::addColumn<QDateTime>("last");
        QTest::addColumn<QString>("format");
        const QDateTime start(QDate(2025, 12, 7), QTime(9, 0));
        QTest::newRow("two days") << start << start.addDays(2) << u"HH:mm"_s;
        QTest::newRow("two days and a second")
            << start << start.addDays(2).addSecs(1) << u"MM-dd"_s;
        QTest::newRow("to the end of the year")
            << start << QDateTime(QDate(2025, 12, 31), QTime(23, 59, 59)) << u"MM-dd"_s;
        QTest::newRow("into the next year")
            << start << QDateTime(QDate(2026, 1, 1), QTime(0, 0)) << u"yyyy-MM-dd"_s;
    }
    void dateAxis() {
        QFETCH(QDateTime, first);
        QFETCH(QDateTime, last);
        QFETCH(QString, format);
        QCOMPARE(dateAxisFormat(first.toMSecsSinceEpoch(), last.toMSecsSinceEpoch()), format);
    }

    // The chart's words: the newest five values and the trend of the newer
    // half against the older, a point of score and half a second a question
    // being the least that counts.
    void chartSummary_data() {
        QTest::addColumn<QList<double>>("scores"); // oldest first
        QTest::addColumn<QList<double>>("seconds");
        QTest::addColumn<QString>("summary");
        QTest::newRow("none") << QList<double>{} << QList<double>{} << u"图表中还没有练习。"_s;
        QTest::newRow("one") << QList<double>{80} << QList<double>{4}
                             << u"图表显示1次练习的得分和每题秒数。最近1次（从新到旧）得分：80；"
                                "每题秒数：4.0。只有一次练习，还看不出变化。"_s;
        QTest::newRow("a point up, half a second faster")
            << QList<double>{80, 81} << QList<double>{4, 3.5}
            << u"图表显示2次练习的得分和每题秒数。最近2次（从新到旧）得分：81、80；"
               "每题秒数：3.5、4.0。较新的一半练习比较早的一半：得分上升，每题用时缩短。"_s;
        QTest::newRow("less: level")
            << QList<double>{80, 80, 80, 81} << QList<double>{4, 4, 4, 4.9}
            << u"图表显示4次练习的得分和每题秒数。最近4次（从新到旧）得分：81、80、80、80；"
               "每题秒数：4.9、4.0、4.0、4.0。较新的一半练习比较早的一半：得分持平，每题用时持平。"_s;
        QTest::newRow("seven, the middle one left out, five named")
            << QList<double>{90, 90, 90, 0, 70, 80, 70} << QList<double>{2, 2, 2, 60, 3, 2.5, 3}
            << u"图表显示7次练习的得分和每题秒数。最近5次（从新到旧）得分：70、80、70、0、90；"
               "每题秒数：3.0、2.5、3.0、60.0、2.0。较新的一半练习比较早的一半：得分下降，"
               "每题用时变长。"_s;
    }
    void chartSummary() {
        QFETCH(QList<double>, scores);
        QFETCH(QList<double>, seconds);
        QFETCH(QString, summary);
        ProgressPoints points;
        for (int i = 0; i < scores.size(); ++i) {
            points.score.append({double(i), scores[i]});
            points.secondsPerQuestion.append({double(i), seconds[i]});
        }
        QCOMPARE(progressSummary(points), summary);
    }

    // Clearing asks first; 否 keeps everything, 是 empties the record, table
    // and chart.
    void clear() {
        FrmRecord window(*record_);
        QVERIFY(showActive(window));
        messages_.answers = {u"否"_s, u"是"_s};
        for (const qsizetype left : {sample_.quizzes.size() - 1, qsizetype(0)}) {
            QTest::keyClick(&window, Qt::Key_D, Qt::AltModifier);
            QVERIFY(messages_.questions.last().text.contains(u"清除全部练习记录"_s));
            QCOMPARE(record_->quizzes()->size(), left);
            QCOMPARE(window.quizModel().rowCount(), left);
            QCOMPARE(pointsOf(window.chart(), 0).isEmpty(), left == 0);
        }
        QCOMPARE(messages_.questions.size(), 2);
    }

    // A record that is not kept is said so in place of empty tables; only
    // Close is left to do.
    void notKept() {
        record_->close();
        FrmRecord window(*record_);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.lblNotKept()->isVisible());
        QVERIFY(window.lblNotKept()->text().startsWith(u"现在没有保存练习记录"_s));
        QVERIFY(!window.tblQuizzes()->isVisible() && !window.chartProgress()->isVisible());
        for (const char *name : {"cmdRedo", "cmdExport", "cmdClear"})
            QVERIFY2(!window.button(name)->isEnabled(), name);
        QCOMPARE(QApplication::focusWidget(), window.button("cmdClose"));
    }

    // The quiz window asks the two mistakes of the second quiz; both
    // answered right, the record gains a finished redo at the top, selected,
    // with nothing left to redo.
    void redoInTheQuizWindow() {
        record_.reset();
        PracticeRecord &record = practiceRecord();
        QVERIFY(record.open(path(u"program.sqlite"_s)));
        QVERIFY(record.importQuizzes(sample_.quizzes, sample_.answers));
        FrmRecord &window = frmRecord(); // connected to the quiz window as the menu's is
        QVERIFY(showActive(window));
        clickRow(window.tblQuizzes(), 4);
        const QHash<QString, QString> expected{{u"6×7="_s, u"42"_s}, {u"8×9="_s, u"72"_s}};
        QStringList asked;
        QTimer::singleShot(0, this, [&] {
            FrmFace &face = frmFace();
            while (face.redoing() && asked.size() < 5) {
                asked << face.txtQuestion()->text();
                QTest::keyClicks(face.txtAnswer(), expected.value(asked.last()));
                QTest::keyClick(face.txtAnswer(), Qt::Key_Return);
            }
            face.button("cmdClose")->click();
        });
        window.button("cmdRedo")->click();
        asked.sort();
        QCOMPARE(asked, (QStringList{u"6×7="_s, u"8×9="_s}));
        const QuizSummary &newest = window.quizModel().quiz(0);
        QVERIFY(newest.kind == QuizKind::Redo && newest.finished && newest.right == 2);
        QCOMPARE(cell(window, 0, QuizTableModel::Operation), u"乘法(重做)"_s);
        QCOMPARE(window.quizModel().rowCount(), sample_.quizzes.size());
        QVERIFY(!window.button("cmdRedo")->isEnabled());
        unloadForm(FormId::Record);
        record.close();
    }
};

DRILLPAD_TEST_MAIN(TestFrmRecord)
#include "tst_frm_record.moc"
