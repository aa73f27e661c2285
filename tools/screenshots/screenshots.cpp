// Takes the README's screenshots. Starts Drillpad as its main() does, then
// uses it as a person would: the wizard writes a sheet into the editor, a
// pupil answers a few quiz questions, some right and some wrong, finishes a
// second quiz, and the practice record shows them beside two weeks of
// earlier quizzes. Each window is saved as the display shows it. The record
// is kept in a temporary data folder, never the user's.
//
// Usage: drillpad_screenshots OUTDIR
// Writes OUTDIR/main-window.png, OUTDIR/quiz.png, OUTDIR/message-box.png,
// OUTDIR/save-dialog.png, OUTDIR/record.png, OUTDIR/mastery.png, OUTDIR/settings.png and
// OUTDIR/vertical-sheet.png. Meant for an X display (QT_QPA_PLATFORM=xcb);
// scripts/screenshots.sh provides a virtual one.

#include "app/application.h"
#include "app/forms_registry.h"
#include "controls/command_button.h"
#include "controls/message_box.h"
#include "controls/rich_text_box.h"
#include "controls/tool_bar.h"
#include "guide/frm_guide.h"
#include "guide/sheet_layout.h"
#include "mainwin/frm_main.h"
#include "masterywin/frm_mastery.h"
#include "quiz/frm_face.h"
#include "record/practice_record.h"
#include "recordwin/frm_record.h"
#include "settings/frm_settings.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <cstdio>
#include <cstdlib>
#include <functional>

using namespace drillpad;
using namespace Qt::StringLiterals;

namespace {

// Long enough for a window to be mapped and painted on a slow machine.
constexpr int kPaintDelayMs = 500;
// The whole run takes a few seconds; past this something waits for input
// that will never come.
constexpr int kTimeLimitMs = 60'000;

// Leaves at once: a modal loop may be running, and nobody will close it.
[[noreturn]] void fail(const QString &why) {
    std::fprintf(stderr, "drillpad_screenshots: %s\n", qPrintable(why));
    std::fflush(stderr);
    std::_Exit(EXIT_FAILURE);
}

void require(bool ok, const QString &what) {
    if (!ok)
        fail(what);
}

// A message box would wait for a click that never comes; any message means
// the windows did not go as planned.
class FailingMessageBoxes final : public MessageBoxes {
public:
    void information(QWidget *, const QString &text) override { fail(u"message: "_s + text); }
    void warning(QWidget *, const QString &text) override { fail(u"warning: "_s + text); }
    int ask(QWidget *, const Question &question) override { fail(u"question: "_s + question.text); }
};

// Returns once the window is on screen, has the keyboard and has painted.
void waitUntilShown(QWidget &window) {
    require(QTest::qWaitForWindowExposed(&window), u"%1 did not appear"_s.arg(window.objectName()));
    window.activateWindow();
    require(QTest::qWaitForWindowActive(&window),
            u"%1 did not become active"_s.arg(window.objectName()));
    QTest::qWait(kPaintDelayMs);
}

// Runs `step` once a modal window other than `over` is open, inside its
// loop: the click that opens the window returns only when the window goes.
void whenModalOpen(std::function<void()> step, QWidget *over = nullptr) {
    QTimer::singleShot(10, qApp, [step, over] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal != over)
            step();
        else
            whenModalOpen(step, over);
    });
}

void click(QAbstractButton *button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

// Ticks a check box by its box, where a person clicks.
void tick(QCheckBox *box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->height() / 2, box->height() / 2));
    require(box->isChecked(), box->text() + u" is not ticked"_s);
}

// Replaces the text of a box as typed from the keyboard.
void retype(QLineEdit *box, const QString &text) {
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, text);
}

// Saves the window as the display shows it. Other platforms than X cannot
// read the screen; there the window paints itself into the picture.
void save(QWidget &window, const QDir &folder, const QString &name) {
    QTest::qWait(kPaintDelayMs);
    QPixmap shot;
    if (QGuiApplication::platformName() == "xcb"_L1)
        shot = window.screen()->grabWindow(window.winId());
    if (shot.isNull())
        shot = window.grab();
    QImageWriter writer(folder.filePath(name), "png");
    writer.setQuality(0); // the strongest compression
    require(writer.write(shot.toImage()),
            u"cannot write %1: %2"_s.arg(writer.fileName(), writer.errorString()));
    std::printf("%s\n", qPrintable(QDir::toNativeSeparators(writer.fileName())));
}

// Saves the modal window on top (a standard dialog) and closes it.
void saveAndDismiss(const QDir &folder, const QString &name) {
    auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
    require(dialog != nullptr, u"no dialog for "_s + name);
    waitUntilShown(*dialog);
    save(*dialog, folder, name);
    dialog->reject();
}

// Works out the answer to a quiz question such as "7×8=", as the pupil does.
qint64 solve(const QString &question) {
    static const QRegularExpression shape(u"^([0-9]+)([-+×÷])([0-9]+)=$"_s);
    const QRegularExpressionMatch m = shape.match(question);
    require(m.hasMatch(), u"unexpected question: "_s + question);
    const qint64 a = m.captured(1).toLongLong(), b = m.captured(3).toLongLong();
    switch (m.captured(2).at(0).unicode()) {
    case u'+':
        return a + b;
    case u'-':
        return a - b;
    case u'×':
        return a * b;
    default:
        require(b != 0, u"division by zero: "_s + question);
        return a / b;
    }
}

// Inside the wizard's modal loop: addition and division beside the
// multiplication ticked at start, each with a count that fills whole lines.
void writeSheet() {
    FrmGuide &guide = frmGuide();
    waitUntilShown(guide);
    tick(guide.typeCheck(QuestionType::Add));
    tick(guide.typeCheck(QuestionType::Devition));
    click(guide.button("cmdNext")); // to the ranges
    click(guide.button("cmdNext")); // to the counts
    const auto count = [&guide](QuestionType type) {
        auto *box = qobject_cast<QLineEdit *>(guide.entryBox(type, GuideField::Count));
        require(box != nullptr, u"no count box for "_s + questionTypeName(type));
        return box;
    };
    retype(count(QuestionType::Add), u"18"_s);
    retype(count(QuestionType::Mul), u"16"_s);
    retype(count(QuestionType::Devition), u"16"_s);
    click(guide.button("cmdNext")); // Finish: writes the sheet and hides the wizard
}

// Inside the quiz's modal loop: a multiplication quiz with six answers
// judged, two of them wrong, and the seventh being typed.
void answerQuiz(const QDir &folder) {
    FrmFace &face = frmFace();
    waitUntilShown(face);
    click(face.optActive(2));
    click(face.button("cmdBegin"));
    for (const bool right : {true, true, false, true, true, false}) {
        const qint64 answer = solve(face.txtQuestion()->text());
        QTest::keyClicks(face.txtAnswer(), QString::number(right ? answer : answer + 1));
        QTest::keyClick(face.txtAnswer(), Qt::Key_Return);
    }
    require(face.listHistory()->count() == 6 && face.rightCount() == 4,
            u"the quiz judged %1 answers, %2 right"_s.arg(face.listHistory()->count())
                .arg(face.rightCount()));
    QTest::keyClicks(face.txtAnswer(), QString::number(solve(face.txtQuestion()->text())));
    save(face, folder, u"quiz.png"_s);

    // Esc finishes the quiz. A bound the quiz refuses is told in a real
    // message box, with Qt's own button text in Chinese.
    QTest::keyClick(face.txtAnswer(), Qt::Key_Escape);
    face.comboTo()->setEditText(u"0"_s);
    MessageBoxes *failing = Seam<MessageBoxes>::replace(nullptr);
    whenModalOpen([folder] { saveAndDismiss(folder, u"message-box.png"_s); }, &face);
    click(face.button("cmdBegin"));
    Seam<MessageBoxes>::replace(failing);
    face.comboTo()->setEditText(u"9"_s);
    // Close hides the window and ends its modal loop.
    click(face.button("cmdClose"));
}

// The save dialog in a folder that holds one saved sheet.
void showSaveDialog(FrmMain &main, const QDir &folder) {
    static QTemporaryDir sheets;
    require(sheets.isValid() && QDir::setCurrent(sheets.path()), u"no folder for sheets"_s);
    require(main.txtMain()->saveFile(sheets.filePath(u"乘法练习.rtf"_s)).ok(),
            u"cannot save a sheet"_s);
    whenModalOpen([folder] { saveAndDismiss(folder, u"save-dialog.png"_s); });
    click(main.toolbarSYSTEM()->buttonWidget(u"tbSave"_s));
}

// Inside the quiz's modal loop: an addition quiz of six questions, one
// answered wrong and one skipped, finished and closed.
void answerSecondQuiz() {
    FrmFace &face = frmFace();
    waitUntilShown(face);
    click(face.optActive(0));
    click(face.button("cmdBegin"));
    for (int i = 0; i < 6; ++i) {
        if (i == 4) {
            click(face.button("cmdJump"));
            continue;
        }
        // The answer box may still hold what was typed before the last Finish.
        const qint64 answer = solve(face.txtQuestion()->text());
        retype(face.txtAnswer(), QString::number(i == 2 ? answer + 10 : answer));
        QTest::keyClick(face.txtAnswer(), Qt::Key_Return);
    }
    QTest::keyClick(face.txtAnswer(), Qt::Key_Escape);
    click(face.button("cmdClose"));
}

// Two weeks of earlier quizzes, one a day, the scores rising and the
// answers coming faster, as the record of a child who practises.
void addEarlierQuizzes() {
    PracticeRecord &record = practiceRecord();
    require(record.isOpen(), u"the record is not kept: "_s + record.problem());
    const QDateTime today = QDateTime::currentDateTime();
    QList<QuizSummary> quizzes;
    QList<AnswerEntry> answers;
    for (int day = 14; day >= 1; --day) {
        QuizSummary quiz;
        quiz.id = 1000 + day;
        quiz.started = today.addDays(-day).addSecs(-3600 * (day % 3));
        quiz.operation = QString::fromLatin1(day % 2 ? "*" : "+");
        quiz.from = 1;
        quiz.to = 9;
        quiz.answered = 20;
        for (int i = 1; i <= quiz.answered; ++i) {
            // The last eight questions are the same facts every day, known by
            // now: answered right and quickly, they show as 已掌握.
            const bool known = i > 12;
            const int shift = known ? 0 : day;
            const int a = (i * 7 + shift) % 9 + 1, b = (i * 5 + shift) % 9 + 1;
            const bool right = i > (day + 2) / 3;
            const qint64 product = day % 2 ? a * b : a + b;
            const QString text =
                QString::number(a) + (day % 2 ? u"×"_s : u"+"_s) + QString::number(b) + u"="_s;
            const double seconds = known ? 1.0 + (i % 3) * 0.5 : 1.5 + day * 0.4 + (i % 3);
            answers << AnswerEntry{quiz.id,
                                   i,
                                   text,
                                   QString::number(product),
                                   QString::number(right ? product : product + 1),
                                   false,
                                   right,
                                   seconds,
                                   {}};
            quiz.right += right;
            quiz.secondsUsed += seconds;
        }
        quiz.rate = 100.0 * quiz.right / quiz.answered;
        quiz.score = qRound(quiz.rate);
        quiz.finished = true;
        quiz.ended = quiz.started.addSecs(qint64(quiz.secondsUsed));
        quizzes << quiz;
    }
    require(record.importQuizzes(quizzes, answers),
            u"cannot add earlier quizzes: "_s + record.problem());
}

// Inside the map's modal loop: the multiplication table, 7×8 chosen.
void showMastery(const QDir &folder) {
    auto *window = qobject_cast<FrmMastery *>(QApplication::activeModalWidget());
    require(window != nullptr, u"the mastery map did not open"_s);
    waitUntilShown(*window);
    window->cmbGrid()->setCurrentIndex(2);
    window->tblFacts()->setCurrentIndex(window->model().index(6, 7));
    save(*window, folder, u"mastery.png"_s);
    window->reject();
}

// Inside the record's modal loop: the two quizzes of today selected, so
// that their mistakes show.
void showRecord(const QDir &folder) {
    auto *window = qobject_cast<FrmRecord *>(QApplication::activeModalWidget());
    require(window != nullptr, u"the practice record did not open"_s);
    waitUntilShown(*window);
    QTableView *table = window->tblQuizzes();
    const QRect second = table->visualRect(table->model()->index(1, 0));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::ControlModifier, second.center());
    save(*window, folder, u"record.png"_s);
    click(window->button("cmdClose"));
}

// Inside the modal loop of "出题设置": the preset 20以内进位加法 loaded
// with both kinds of question, shown, and left by 取消.
void showSettings(const QDir &folder) {
    auto *window = qobject_cast<FrmSettings *>(QApplication::activeModalWidget());
    require(window != nullptr, u"出题设置 did not open"_s);
    waitUntilShown(*window);
    QComboBox *presets = window->combo("cmbPreset");
    presets->setCurrentIndex(presets->findText(u"20以内进位加法"_s));
    click(window->button("cmdLoad"));
    window->combo("cmbAddAsk")->setCurrentIndex(2);
    save(*window, folder, u"settings.png"_s);
    click(window->button("cmdCancel"));
}

// A sheet of multiplications in 竖式, in 大字, under the header with a title.
void showVerticalSheet(FrmMain &main, const QDir &folder) {
    SheetSettings settings = SheetSettings::initial();
    settings[QuestionType::Mul].to = 99;
    settings.layout.vertical = true;
    settings.layout.printSize = PrintSize::Large;
    settings.layout.title = u"二年级口算练习"_s;
    main.txtMain()->setRtfDocument(layOutSheet(settings).document);
    QTest::keyClick(main.txtMain(), Qt::Key_Home, Qt::ControlModifier);
    save(main, folder, u"vertical-sheet.png"_s);
}

void takeScreenshots(const QDir &folder) {
    FrmMain &main = frmMain();
    waitUntilShown(main);

    whenModalOpen(writeSheet);
    click(main.button("cmdGuide"));
    require(!main.txtMain()->text().isEmpty(), u"the wizard wrote no sheet"_s);
    waitUntilShown(main);
    QTest::keyClick(main.txtMain(), Qt::Key_Home, Qt::ControlModifier); // the sheet's top
    save(main, folder, u"main-window.png"_s);

    addEarlierQuizzes();
    whenModalOpen([folder] { answerQuiz(folder); });
    click(main.button("cmdFace"));
    whenModalOpen(answerSecondQuiz);
    click(main.button("cmdFace"));

    // Ctrl+R opens the record; the shot is taken inside its modal loop.
    waitUntilShown(main);
    bool shown = false;
    whenModalOpen([folder, &shown] {
        showRecord(folder);
        shown = true;
    });
    QTest::keyClick(&main, Qt::Key_R, Qt::ControlModifier);
    require(shown, u"Ctrl+R did not open the practice record"_s);

    // Ctrl+M opens the mastery map, on the multiplication table.
    waitUntilShown(main);
    shown = false;
    whenModalOpen([folder, &shown] {
        showMastery(folder);
        shown = true;
    });
    QTest::keyClick(&main, Qt::Key_M, Qt::ControlModifier);
    require(shown, u"Ctrl+M did not open 掌握情况"_s);

    waitUntilShown(main);
    shown = false;
    whenModalOpen([folder, &shown] {
        showSettings(folder);
        shown = true;
    });
    QTest::keyClick(&main, Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
    require(shown, u"Ctrl+Shift+T did not open 出题设置"_s);

    waitUntilShown(main);
    showVerticalSheet(main, folder);
    showSaveDialog(main, folder);
    QCoreApplication::exit(EXIT_SUCCESS);
}

} // namespace

int main(int argc, char *argv[]) {
    // The practice record and the settings go into folders of their own,
    // not the user's.
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: drillpad_screenshots OUTDIR\n");
        return 2;
    }
    // Absolute: taking the save dialog changes the working folder.
    const QDir folder(QFileInfo(args.at(1)).absoluteFilePath());
    require(QDir().mkpath(folder.path()), u"cannot create "_s + folder.path());

    initialiseApplication();
    // Without a Chinese font every caption would be a row of boxes.
    require(!QFontDatabase::families(QFontDatabase::SimplifiedChinese).isEmpty(),
            u"no Simplified Chinese font installed (fonts-noto-cjk)"_s);

    // The quiz it drives is kept in a record of its own, not the user's.
    const QTemporaryDir recordFolder;
    const bool recordOpen = usePracticeRecordAt(recordFolder.filePath(u"drillpad.sqlite"_s));
    require(recordOpen, practiceRecord().problem());

    FailingMessageBoxes messages;
    ScopedSeam<MessageBoxes> noMessages(messages);
    QTimer::singleShot(kTimeLimitMs, &app, [] { fail(u"timed out"_s); });

    frmMain().show();
    QTimer::singleShot(0, &app, [folder] { takeScreenshots(folder); });
    return QApplication::exec();
}
