// Takes the README's screenshots. Starts Drillpad as its main() does, then
// uses it as a person would: the wizard writes a sheet into the editor, and a
// pupil answers a few quiz questions, some right and some wrong. Each window
// is saved as the display shows it.
//
// Usage: drillpad_screenshots OUTDIR
// Writes OUTDIR/main-window.png and OUTDIR/quiz.png. Meant for an X display
// (QT_QPA_PLATFORM=xcb); scripts/screenshots.sh provides a virtual one.

#include "app/application.h"
#include "app/forms_registry.h"
#include "controls/command_button.h"
#include "controls/message_box.h"
#include "controls/rich_text_box.h"
#include "guide/frm_guide.h"
#include "mainwin/frm_main.h"
#include "quiz/frm_face.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFontDatabase>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <QTimer>

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
};

// Returns once the window is on screen, has the keyboard and has painted.
void waitUntilShown(QWidget &window) {
    require(QTest::qWaitForWindowExposed(&window), u"%1 did not appear"_s.arg(window.objectName()));
    window.activateWindow();
    require(QTest::qWaitForWindowActive(&window),
            u"%1 did not become active"_s.arg(window.objectName()));
    QTest::qWait(kPaintDelayMs);
}

// Runs `step` once a modal window is open, inside its loop: the click that
// opens the window returns only when the window goes.
void whenModalOpen(std::function<void()> step) {
    QTimer::singleShot(10, qApp, [step] {
        if (QApplication::activeModalWidget())
            step();
        else
            whenModalOpen(step);
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

    // Esc finishes the quiz; Close hides the window and ends its modal loop.
    QTest::keyClick(face.txtAnswer(), Qt::Key_Escape);
    click(face.button("cmdClose"));
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

    whenModalOpen([folder] { answerQuiz(folder); });
    click(main.button("cmdFace"));
    QCoreApplication::exit(EXIT_SUCCESS);
}

} // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: drillpad_screenshots OUTDIR\n");
        return 2;
    }
    const QDir folder(args.at(1));
    require(QDir().mkpath(folder.path()), u"cannot create "_s + folder.path());

    initialiseApplication();
    // Without a Chinese font every caption would be a row of boxes.
    require(!QFontDatabase::families(QFontDatabase::SimplifiedChinese).isEmpty(),
            u"no Simplified Chinese font installed (fonts-noto-cjk)"_s);

    FailingMessageBoxes messages;
    ScopedSeam<MessageBoxes> noMessages(messages);
    QTimer::singleShot(kTimeLimitMs, &app, [] { fail(u"timed out"_s); });

    frmMain().show();
    QTimer::singleShot(0, &app, [folder] { takeScreenshots(folder); });
    return QApplication::exec();
}
