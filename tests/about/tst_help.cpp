#include "common/fakes.h"
#include "common/test_main.h"

#include "about/frm_help.h"
#include "controls/command_button.h"
#include "controls/rich_text_box.h"
#include "controls/shape.h"
#include "mainwin/forms_registry.h"
#include "mainwin/frm_main.h"

#include <QDir>
#include <QFile>
#include <QTextBlock>

using namespace drillpad;
using namespace drillpad::testing;

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

FrmHelp &shownHelp() {
    FrmHelp &help = frmHelp();
    help.show();
    if (!QTest::qWaitForWindowExposed(&help))
        qWarning("the help window was not shown");
    return help;
}

} // namespace

class TestHelp : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() {
        if (isFormLoaded(FormId::Help))
            frmHelp().close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QFile::remove(FrmHelp::documentPath());
        QDir(FrmHelp::documentPath()).removeRecursively();
    }
    void cleanupTestCase() {
        RecordingProcessControl process;
        ScopedSeam<ProcessControl> seam(process);
        UnloadAllForms();
    }

    void showsTheManualFromTheProgramFolder() {
        QCOMPARE(FrmHelp::documentPath(),
                 QCoreApplication::applicationDirPath() + QStringLiteral("/help.rtf"));
        QVERIFY(writeManual(
            "{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}"
            "\\qc\\b\\fs32 \\'ca\\'b9\\'d3\\'c3\\'cb\\'b5\\'c3\\'f7\\par\\pard\\b0\\fs21 "
            "\\'b5\\'da\\'d2\\'bb\\'b2\\'bd}"));
        FrmHelp &help = shownHelp();
        QCOMPARE(help.windowTitle(), QStringLiteral("软件使用说明"));
        QCOMPARE(help.txtHelp()->text(), QStringLiteral("使用说明\n第一步"));
        const QTextBlock title = help.txtHelp()->document()->firstBlock();
        QVERIFY(title.blockFormat().alignment() & Qt::AlignHCenter);
        QCOMPARE(title.begin().fragment().charFormat().fontPointSize(), 16.0);
        QVERIFY(title.begin().fragment().charFormat().fontWeight() >= QFont::Bold);
    }

    // The viewer fills the window less 24 twips; the outline around it
    // takes the size the viewer had before each resize.
    void layoutFollowsTheWindow() {
        FrmHelp &help = frmHelp();
        QCOMPARE(help.pos(), QPoint(196, 152));
        QCOMPARE(twipsGeometry(help.txtHelp()), (TwipsRect{840, 480, 2655, 1815}));
        QCOMPARE(twipsGeometry(help.shapeHelp()), (TwipsRect{720, 3120, 615, 735}));
        shownHelp();
        QCOMPARE(innerSizeTwips(&help), (TwipsSize{7365, 5970}));
        QCOMPARE(twipsGeometry(help.shapeHelp()), (TwipsRect{8, 8, 2657, 1817}));
        QCOMPARE(twipsGeometry(help.txtHelp()), (TwipsRect{9, 9, 7341, 5946}));
        QCOMPARE(help.txtHelp()->geometry().topLeft(), QPoint(1, 1));
        // The outline lies beneath the viewer.
        QVERIFY(help.children().indexOf(help.shapeHelp()) <
                help.children().indexOf(help.txtHelp()));

        help.resize(help.width() + 100, help.height() + 60);
        QTRY_COMPARE(twipsGeometry(help.txtHelp()), (TwipsRect{9, 9, 7341 + 1500, 5946 + 900}));
        QCOMPARE(twipsGeometry(help.shapeHelp()), (TwipsRect{8, 8, 7343, 5948}));
        help.resize(help.width() - 50, help.height() - 50);
        QTRY_COMPARE(twipsGeometry(help.txtHelp()), (TwipsRect{9, 9, 7341 + 750, 5946 + 150}));
        QCOMPARE(twipsGeometry(help.shapeHelp()), (TwipsRect{8, 8, 7343 + 1500, 5948 + 900}));

        // Smaller than the margin, the window keeps its layout.
        QCOMPARE(helpLayoutFor({24, 24}, {100, 100})->viewer, (TwipsRect{9, 9, 0, 0}));
        QVERIFY(!helpLayoutFor({23, 5000}, {100, 100}));
        QVERIFY(!helpLayoutFor({5000, 23.5f}, {100, 100}));
    }

    void closingUnloadsAndReopeningReadsAgain() {
        QVERIFY(writeManual("{\\rtf1 first}"));
        QCOMPARE(shownHelp().txtHelp()->text(), QStringLiteral("first"));
        frmHelp().txtHelp()->setText(QStringLiteral("changed in the viewer"));
        frmHelp().close();
        QVERIFY(!isFormLoaded(FormId::Help));
        QVERIFY(writeManual("{\\rtf1 second}"));
        QCOMPARE(frmHelp().txtHelp()->text(), QStringLiteral("second"));
    }

    void badManualLeavesAnEmptyUsableWindow_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("folder");
        QTest::newRow("missing") << QByteArray() << false;
        QTest::newRow("not RTF") << QByteArray("PK\3\4\0\0 zip") << false;
        QTest::newRow("unreadable: a folder of that name") << QByteArray() << true;
        QTest::newRow("damaged RTF keeps what it could read")
            << QByteArray("{\\rtf1 kept{\\b{{\\'") << false;
    }
    void badManualLeavesAnEmptyUsableWindow() {
        QFETCH(QByteArray, data);
        QFETCH(bool, folder);
        if (folder)
            QVERIFY(QDir().mkpath(FrmHelp::documentPath()));
        else if (!data.isEmpty())
            QVERIFY(writeManual(data));
        RecordingMessageBoxes messages;
        ScopedSeam<MessageBoxes> seam(messages);
        FrmHelp &help = shownHelp();
        QCOMPARE(help.txtHelp()->text(),
                 data.startsWith("{\\rtf") ? QStringLiteral("kept") : QString());
        QVERIFY(messages.messages.isEmpty());
        QCOMPARE(twipsGeometry(help.txtHelp()), (TwipsRect{9, 9, 7341, 5946}));
        help.close();
        QVERIFY(!isFormLoaded(FormId::Help));
    }

    void helpButtonShowsTheWindowModally() {
        QVERIFY(writeManual("{\\rtf1 modal}"));
        QString shown;
        QTimer::singleShot(0, [&] {
            if (QApplication::activeModalWidget() == &frmHelp())
                shown = frmHelp().txtHelp()->text();
            frmHelp().close(); // through the title bar
        });
        frmMain().button("cmdHelp")->click(); // returns when the window closes
        QCOMPARE(shown, QStringLiteral("modal"));
        QVERIFY(!isFormLoaded(FormId::Help));
    }

    void theManualShipsBesideTheProgram() {
        const QByteArray manual = readFile(qEnvironmentVariable("DRILLPAD_SOURCE_DIR") +
                                           QStringLiteral("/resources/help.rtf"));
        QVERIFY(manual.startsWith("{\\rtf1"));
        QCOMPARE(
            readFile(qEnvironmentVariable("DRILLPAD_BINARY_DIR") + QStringLiteral("/help.rtf")),
            manual);
    }
};

DRILLPAD_TEST_MAIN(TestHelp)
#include "tst_help.moc"
