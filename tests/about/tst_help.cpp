#include "common/fakes.h"
#include "common/test_main.h"

#include "about/frm_help.h"
#include "controls/command_button.h"
#include "controls/rich_text_box.h"
#include "controls/rtf_reader.h"
#include "controls/shape.h"
#include "mainwin/forms_registry.h"
#include "mainwin/frm_main.h"

#include <QDir>
#include <QFile>
#include <QTextBlock>

using namespace drillpad;
using namespace drillpad::testing;

Q_DECLARE_METATYPE(drillpad::TwipsSize)
Q_DECLARE_METATYPE(drillpad::TwipsRect)

namespace {

bool writeManual(const QByteArray &data) {
    QFile::remove(FrmHelp::documentPath());
    QFile file(FrmHelp::documentPath());
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

QByteArray readFile(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void closeHelp() {
    if (isFormLoaded(FormId::Help))
        frmHelp().close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestHelp : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup();
    void cleanupTestCase();

    void layoutRule_data();
    void layoutRule();
    void showsTheManualFromTheProgramFolder();
    void firstLayoutThenFollowsTheViewer();
    void enlargingEnlargesTheViewer();
    void closingUnloadsAndReopeningReadsAgain();
    void badManualLeavesAnEmptyUsableWindow_data();
    void badManualLeavesAnEmptyUsableWindow();
    void viewerTakesNoTyping();
    void helpButtonShowsTheWindowModally();
    void theManualShipsBesideTheProgram();
};

void TestHelp::cleanup() {
    closeHelp();
    QFile::remove(FrmHelp::documentPath());
    QDir(FrmHelp::documentPath()).removeRecursively();
}

void TestHelp::cleanupTestCase() {
    RecordingProcessControl process;
    ScopedSeam<ProcessControl> seam(process);
    UnloadAllForms();
}

void TestHelp::layoutRule_data() {
    QTest::addColumn<TwipsSize>("inner");
    QTest::addColumn<TwipsSize>("previous");
    QTest::addColumn<TwipsRect>("outline");
    QTest::addColumn<TwipsRect>("viewer");
    QTest::newRow("design size, first layout")
        << TwipsSize{7365, 5970} << TwipsSize{2655, 1815} << TwipsRect{8, 8, 2657, 1817}
        << TwipsRect{9, 9, 7341, 5946};
    QTest::newRow("design size, second layout")
        << TwipsSize{7365, 5970} << TwipsSize{7341, 5946} << TwipsRect{8, 8, 7343, 5948}
        << TwipsRect{9, 9, 7341, 5946};
    QTest::newRow("enlarged") << TwipsSize{9000, 7000} << TwipsSize{7341, 5946}
                              << TwipsRect{8, 8, 7343, 5948} << TwipsRect{9, 9, 8976, 6976};
    QTest::newRow("smallest with a layout") << TwipsSize{24, 24} << TwipsSize{100, 100}
                                            << TwipsRect{8, 8, 102, 102} << TwipsRect{9, 9, 0, 0};
}

void TestHelp::layoutRule() {
    QFETCH(TwipsSize, inner);
    QFETCH(TwipsSize, previous);
    QFETCH(TwipsRect, outline);
    QFETCH(TwipsRect, viewer);
    const std::optional<HelpLayout> layout = helpLayoutFor(inner, previous);
    QVERIFY(layout.has_value());
    QCOMPARE(layout->outline, outline);
    QCOMPARE(layout->viewer, viewer);
    QVERIFY(!helpLayoutFor({23, 5000}, previous));
    QVERIFY(!helpLayoutFor({5000, 23.5f}, previous));
}

void TestHelp::showsTheManualFromTheProgramFolder() {
    QCOMPARE(FrmHelp::documentPath(),
             QCoreApplication::applicationDirPath() + QStringLiteral("/help.rtf"));
    QVERIFY(
        writeManual("{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}"
                    "\\qc\\b\\fs32 \\'ca\\'b9\\'d3\\'c3\\'cb\\'b5\\'c3\\'f7\\par\\pard\\b0\\fs21 "
                    "\\'b5\\'da\\'d2\\'bb\\'b2\\'bd}"));
    FrmHelp &help = frmHelp();
    QCOMPARE(help.windowTitle(), QStringLiteral("软件使用说明"));
    QCOMPARE(help.txtHelp()->text(), QStringLiteral("使用说明\n第一步"));
    const QTextBlock title = help.txtHelp()->document()->firstBlock();
    QVERIFY(title.blockFormat().alignment() & Qt::AlignHCenter);
    QCOMPARE(title.begin().fragment().charFormat().fontPointSize(), 16.0);
    QVERIFY(title.begin().fragment().charFormat().fontWeight() >= QFont::Bold);
}

void TestHelp::firstLayoutThenFollowsTheViewer() {
    FrmHelp &help = frmHelp();
    // Before it is shown, both controls stand where the design puts them.
    QCOMPARE(twipsGeometry(help.txtHelp()), (TwipsRect{840, 480, 2655, 1815}));
    QCOMPARE(twipsGeometry(help.shapeHelp()), (TwipsRect{720, 3120, 615, 735}));
    help.show();
    QVERIFY(QTest::qWaitForWindowExposed(&help));
    QCOMPARE(innerSizeTwips(&help), (TwipsSize{7365, 5970}));
    QCOMPARE(twipsGeometry(help.shapeHelp()), (TwipsRect{8, 8, 2657, 1817}));
    QCOMPARE(twipsGeometry(help.txtHelp()), (TwipsRect{9, 9, 7341, 5946}));
    // The outline lies beneath the viewer.
    QVERIFY(help.children().indexOf(help.shapeHelp()) < help.children().indexOf(help.txtHelp()));
}

void TestHelp::enlargingEnlargesTheViewer() {
    FrmHelp &help = frmHelp();
    help.show();
    QVERIFY(QTest::qWaitForWindowExposed(&help));
    help.resize(help.width() + 100, help.height() + 60);
    QTRY_COMPARE(twipsGeometry(help.txtHelp()), (TwipsRect{9, 9, 7341 + 1500, 5946 + 900}));
    QCOMPARE(twipsGeometry(help.shapeHelp()), (TwipsRect{8, 8, 7343, 5948}));
    help.resize(help.width() - 50, help.height() - 50);
    QTRY_COMPARE(twipsGeometry(help.txtHelp()), (TwipsRect{9, 9, 7341 + 750, 5946 + 150}));
    QCOMPARE(twipsGeometry(help.shapeHelp()), (TwipsRect{8, 8, 7343 + 1500, 5948 + 900}));
    QCOMPARE(help.txtHelp()->geometry().topLeft(), QPoint(1, 1));
}

void TestHelp::closingUnloadsAndReopeningReadsAgain() {
    QVERIFY(writeManual("{\\rtf1 first}"));
    frmHelp().show();
    QCOMPARE(frmHelp().txtHelp()->text(), QStringLiteral("first"));
    frmHelp().txtHelp()->setText(QStringLiteral("changed in the viewer"));
    frmHelp().close();
    QVERIFY(!isFormLoaded(FormId::Help));
    QVERIFY(writeManual("{\\rtf1 second}"));
    QCOMPARE(frmHelp().txtHelp()->text(), QStringLiteral("second"));
}

void TestHelp::badManualLeavesAnEmptyUsableWindow_data() {
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("folder");
    QTest::newRow("missing") << QByteArray() << false;
    QTest::newRow("not RTF") << QByteArray("PK\3\4\0\0 zip") << false;
    QTest::newRow("unreadable: a folder of that name") << QByteArray() << true;
    QTest::newRow("damaged RTF keeps what it could read")
        << QByteArray("{\\rtf1 kept{\\b{{\\'") << false;
}

void TestHelp::badManualLeavesAnEmptyUsableWindow() {
    QFETCH(QByteArray, data);
    QFETCH(bool, folder);
    if (folder)
        QVERIFY(QDir().mkpath(FrmHelp::documentPath()));
    else if (!data.isEmpty())
        QVERIFY(writeManual(data));
    RecordingMessageBoxes messages;
    ScopedSeam<MessageBoxes> seam(messages);
    FrmHelp &help = frmHelp();
    help.show();
    QVERIFY(QTest::qWaitForWindowExposed(&help));
    QCOMPARE(help.txtHelp()->text(),
             data.startsWith("{\\rtf") ? QStringLiteral("kept") : QString());
    QVERIFY(messages.messages.isEmpty());
    QCOMPARE(twipsGeometry(help.txtHelp()), (TwipsRect{9, 9, 7341, 5946}));
    help.close();
    QVERIFY(!isFormLoaded(FormId::Help));
}

void TestHelp::viewerTakesNoTyping() {
    QVERIFY(writeManual("{\\rtf1 manual}"));
    FrmHelp &help = frmHelp();
    help.show();
    QVERIFY(QTest::qWaitForWindowExposed(&help));
    help.txtHelp()->setFocus();
    QTest::keyClicks(help.txtHelp(), QStringLiteral("xyz"));
    QTest::keyClick(help.txtHelp(), Qt::Key_Delete);
    QCOMPARE(help.txtHelp()->text(), QStringLiteral("manual"));
    QTest::keyClick(help.txtHelp(), Qt::Key_End, Qt::ShiftModifier);
    QCOMPARE(help.txtHelp()->selText(), QStringLiteral("manual"));
}

void TestHelp::helpButtonShowsTheWindowModally() {
    QVERIFY(writeManual("{\\rtf1 modal}"));
    bool shownModally = false;
    QString shownText;
    QTimer::singleShot(0, [&] {
        FrmHelp &help = frmHelp();
        shownModally = help.isVisible() && QApplication::activeModalWidget() == &help;
        shownText = help.txtHelp()->text();
        help.close(); // through the title bar
    });
    frmMain().button("cmdHelp")->click(); // returns when the window closes
    QVERIFY(shownModally);
    QCOMPARE(shownText, QStringLiteral("modal"));
    QVERIFY(!isFormLoaded(FormId::Help));
}

void TestHelp::theManualShipsBesideTheProgram() {
    const QString source =
        qEnvironmentVariable("DRILLPAD_SOURCE_DIR") + QStringLiteral("/resources/help.rtf");
    const QString shipped =
        qEnvironmentVariable("DRILLPAD_BINARY_DIR") + QStringLiteral("/help.rtf");
    QCOMPARE(readFile(shipped), readFile(source));

    const std::optional<RtfDocument> manual = parseRtf(readFile(source));
    QVERIFY(manual.has_value());
    const QString text = manual->plainText();
    for (const char *topic : {"Drillpad", "出题向导", "第一步", "第二步", "第三步", "交互练习",
                              "保存", "打印", "Ctrl+S"})
        QVERIFY2(text.contains(QString::fromUtf8(topic)), topic);
    // A centred title, headings larger than the text, emphasis in the text.
    QCOMPARE(manual->paragraphs.front().alignment, RtfAlignment::Centre);
    int headings = 0;
    int emphasised = 0;
    for (const RtfParagraph &paragraph : manual->paragraphs) {
        for (const RtfRun &run : paragraph.runs) {
            if (run.format.bold && run.format.halfPoints >= 28)
                ++headings;
            else if (run.format.bold || run.format.underline || run.format.italic)
                ++emphasised;
        }
    }
    QVERIFY(headings >= 8);
    QVERIFY(emphasised >= 10);
}

DRILLPAD_TEST_MAIN(TestHelp)
#include "tst_help.moc"
