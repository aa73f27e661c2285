#include "common/fakes.h"
#include "common/test_main.h"

#include "app/forms_registry.h"
#include "controls/command_button.h"
#include "mainwin/frm_main.h"
#include "masterywin/frm_mastery.h"
#include "quiz/frm_face.h"
#include "record/record_clock.h"
#include "recordwin/frm_record.h"
#include "recordwin/pupil_commands.h"
#include "recordwin/record_table.h"

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRandomGenerator>
#include <QTableView>

using namespace drillpad;
using namespace Qt::StringLiterals;

namespace {

constexpr int kAddGrid = 0, kMultiplyGrid = 2;

// One answer of a history: right or not, and its seconds.
struct Try {
    bool right;
    double seconds;
};

// The state and record text of a fact from its whole history, worked out
// here from the rules as the manual states them.
QString expectedState(const QList<Try> &tries) {
    if (tries.isEmpty())
        return u"未练习"_s;
    if (!tries.last().right || tries.last().seconds > 6.0)
        return u"不熟"_s;
    if (tries.size() >= 3 && std::all_of(tries.end() - 3, tries.end(),
                                         [](const Try &t) { return t.right && t.seconds <= 3.0; }))
        return u"已掌握"_s;
    return u"练习中"_s;
}

QString expectedRecord(const QString &question, int answer, const QList<Try> &tries,
                       const QDate &last) {
    if (tries.isEmpty())
        return u"%1%2: 未练习"_s.arg(question).arg(answer);
    double seconds = 0;
    int right = 0;
    for (const Try &t : tries) {
        seconds += t.seconds;
        right += t.right;
    }
    return u"%1%2: %3 次, 对 %4 次, 平均 %5 秒, 上次 %6月%7日"_s.arg(
        question, QString::number(answer), QString::number(tries.size()), QString::number(right),
        QString::number(seconds / tries.size(), 'f', 1), QString::number(last.month()),
        QString::number(last.day()));
}

// Answers the question on screen: right when `right`, else with a wrong number.
void answerShown(FrmFace &face, bool right) {
    const QString expected = face.expectedAnswer();
    face.txtAnswer()->setText(right ? expected : expected + u'1');
    face.button("cmdOK")->click();
}

AnswerEntry question(const QString &text, const QString &expected) {
    return AnswerEntry{0, 0, text, expected, {}, false, false, 0, {}};
}

} // namespace

class TestFrmMastery : public QObject {
    Q_OBJECT

    testing::RecordingMessageBoxes messages_;
    ScopedSeam<MessageBoxes> messageSeam_{messages_};
    testing::ScriptedFileDialogs dialogs_;
    ScopedSeam<FileDialogs> dialogSeam_{dialogs_};
    QTemporaryDir folder_;

private Q_SLOTS:
    // The path a parent takes from the menus: two pupils, a quiz each, the
    // map of the first, and a review that asks first the fact it missed.
    void twoPupilsMapAndReview() {
        FrmMain &main = frmMain();
        PracticeRecord &record = practiceRecord();
        messages_.texts = {u""_s, u"小明"_s}; // an empty name is refused, then asked again
        main.menuAction("mnuPracticePupilAdd")->trigger();
        QCOMPARE(messages_.messages, QStringList{u"请输入练习者的名字。"_s});
        QCOMPARE(record.currentPupil()->name, u"小明"_s);
        FrmFace &face = frmFace();
        QVERIFY(face.startRedo({question(u"7×8="_s, u"56"_s)}));
        answerShown(face, false);

        messages_.texts = {u"小红"_s};
        main.menuAction("mnuPracticePupilAdd")->trigger();
        QCOMPARE(record.currentPupil()->name, u"小红"_s);
        QVERIFY(face.startRedo({question(u"7×8="_s, u"56"_s), question(u"3+4="_s, u"7"_s)}));
        answerShown(face, true);
        answerShown(face, true);

        // The 练习 menu names the current pupil and offers the others.
        auto *practice = main.findChild<QMenu *>(u"mnuPracticePupilMenu"_s);
        QVERIFY(practice);
        Q_EMIT practice->aboutToShow();
        QStringList names;
        for (QAction *entry : practice->actions())
            names << entry->text() + (entry->isChecked() ? u"*"_s : QString());
        QCOMPARE(names, (QStringList{QString::fromUtf8(kFirstPupilName), u"小明"_s, u"小红*"_s}));
        practice->actions().at(1)->trigger();
        QCOMPARE(currentPupilCaption(record), u"练习者: 小明[&U]"_s);

        // The record window opens on the current pupil's quizzes.
        FrmRecord &window = frmRecord();
        window.show();
        QCOMPARE(window.cmbPupil()->currentText(), u"小明"_s);
        QCOMPARE(window.quizModel().rowCount(), 1);
        QCOMPARE(window.controls().get<QLabel>(u"lblToday"_s)->text(),
                 u"小明今天练了 0 分钟, 1 题; 连续 1 天"_s);
        window.hide();

        FrmMastery map(record);
        map.cmbGrid()->setCurrentIndex(kMultiplyGrid);
        const QModelIndex cell = map.model().index(7 - 1, 8 - 1);
        QCOMPARE(cell.data().toString(), u"不熟"_s);
        map.tblFacts()->setCurrentIndex(cell);
        QVERIFY(map.label("lblCell")->text().startsWith(u"7×8=56: 1 次, 对 0 次"_s));
        QCOMPARE(map.label("lblPupil")->text(), u"练习者: 小明"_s);

        QVERIFY(face.startReview());
        QCOMPARE(face.txtQuestion()->text(), u"7×8="_s);
        answerShown(face, true);
        face.button("cmdFinish")->click();
        QCOMPARE(record.quizzes()->value(0).kind, QuizKind::Review);
        QCOMPARE(record.quizzes()->value(0).pupilName, u"小明"_s);

        // Removing says how many quizzes go with the pupil.
        messages_.answers = {u"是"_s};
        main.menuAction("mnuPracticePupilRemove")->trigger();
        QVERIFY(messages_.questions.value(0).text.contains(u"小明”吗？这位练习者的 2 次练习"_s));
        QCOMPARE(record.pupils()->size(), 2);
        face.hide();
    }

    // Every cell of the addition and multiplication grids against histories
    // drawn at random and worked out here.
    void cellsAgreeWithTheRecord() {
        PracticeRecord record;
        QVERIFY(record.open(folder_.filePath(u"cells.sqlite"_s)));
        QRandomGenerator random(22);
        const double seconds[] = {1.0, 2.5, 3.0, 3.5, 6.0, 6.5};
        QHash<QString, QList<Try>> histories;
        QHash<QString, QDate> last;
        const QDateTime start(QDate(2026, 11, 20), QTime(17, 0));
        for (int round = 0; round < 5; ++round) {
            QuizUpdate quiz;
            quiz.started = start.addDays(round);
            for (int n = 0; n < 40; ++n) {
                const bool multiply = random.bounded(2) == 1;
                const int a = random.bounded(multiply ? 1 : 0, 10), b = random.bounded(1, 10);
                const QString text = u"%1%2%3="_s.arg(a).arg(multiply ? u"×"_s : u"+"_s).arg(b);
                const int answer = multiply ? a * b : a + b;
                const Try t{random.bounded(4) != 0, seconds[random.bounded(6)]};
                histories[text] << t;
                last[text] = quiz.started.date();
                quiz.answers << AnswerEntry{0,     n + 1,   text,      QString::number(answer), {},
                                            false, t.right, t.seconds, quiz.started.addSecs(n)};
            }
            QVERIFY(record.write(quiz));
        }
        FrmMastery map(record);
        int practised = 0;
        for (const int grid : {kAddGrid, kMultiplyGrid}) {
            map.cmbGrid()->setCurrentIndex(grid);
            const int first = grid == kAddGrid ? 0 : 1, last_ = grid == kAddGrid ? 10 : 9;
            QCOMPARE(map.model().rowCount(), last_ - first + 1);
            for (int a = first; a <= last_; ++a) {
                for (int b = first; b <= last_; ++b) {
                    const QString text =
                        u"%1%2%3="_s.arg(a).arg(grid == kAddGrid ? u"+"_s : u"×"_s).arg(b);
                    const QList<Try> tries = histories.value(text);
                    practised += !tries.isEmpty();
                    const QModelIndex cell = map.model().index(a - first, b - first);
                    QCOMPARE(cell.data().toString(), expectedState(tries));
                    QVERIFY2(cell.data(Qt::AccessibleTextRole)
                                 .toString()
                                 .startsWith(expectedRecord(text, grid == kAddGrid ? a + b : a * b,
                                                            tries, last[text])),
                             qPrintable(text));
                }
            }
        }
        QVERIFY(practised > 60); // the draw reached most states
    }

    // 存为图片 offers PNG, adds ".png" to a bare name and writes a picture of
    // the whole map; a folder that is not there is refused with the reason.
    // (An existing file is replaced only when the user agrees: tst_frm_record
    // exportReplaces, through the same save path.)
    void savePicture() {
        messages_.messages.clear();
        dialogs_.answers = {FileChoice{folder_.filePath(u"none/map.png"_s), 0},
                            FileChoice{folder_.filePath(u"map"_s), 0}};
        FrmMastery map;
        map.button("cmdSave")->click();
        QCOMPARE(dialogs_.filters, QStringList{u"PNG图片 (*.png)"_s});
        QCOMPARE(messages_.messages.size(), 1);
        QVERIFY(messages_.messages[0].startsWith(u"无法保存文件"_s));
        map.button("cmdSave")->click();
        QCOMPARE(QImage(folder_.filePath(u"map.png"_s)).size(), QSize(1754, 1240));
        QCOMPARE(messages_.messages.size(), 1);
    }

    // 打印 draws the map on one page of the printer chosen; cancelling the
    // print dialog prints nothing.
    void print() {
        const QString pdf = folder_.filePath(u"map.pdf"_s);
        testing::PdfPrintDialogs dialogs(pdf);
        ScopedSeam<PrintDialogs> seam(dialogs);
        FrmMastery map;
        dialogs.accept = false;
        map.button("cmdPrint")->click();
        QVERIFY(!QFile::exists(pdf));
        dialogs.accept = true;
        map.button("cmdPrint")->click();
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r"), 1);
    }
};

DRILLPAD_TEST_MAIN(TestFrmMastery)
#include "tst_frm_mastery.moc"
