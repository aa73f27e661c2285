#include "about/frm_help.h"
#include "app/forms_registry.h"
#include "common/fakes.h"
#include "common/test_main.h"
#include "controls/command_button.h"
#include "controls/rich_text_box.h"
#include "controls/shape.h"
#include "mainwin/frm_main.h"
#include "rtf/rtf_reader.h"

#include <QDir>
#include <QFile>

using namespace drillpad;
using namespace drillpad::testing;
using namespace Qt::StringLiterals;

namespace {

bool writeManual(const QByteArray &data) {
    QFile file(FrmHelp::documentPath());
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
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
    }
    void cleanupTestCase() {
        RecordingProcessControl process;
        ScopedSeam<ProcessControl> seam(process);
        UnloadAllForms();
    }

    // The help button shows the manual from the program folder modally, read
    // afresh at each opening; the window unloads on closing. A missing or bad
    // manual leaves the window empty (or with what could be read) and usable.
    void helpButtonShowsTheManual_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("text");
        QTest::newRow("GBK manual")
            << QByteArray("{\\rtf1\\ansi\\ansicpg936 \\'ca\\'b9\\'d3\\'c3\\'cb\\'b5\\'c3\\'f7}")
            << u"使用说明"_s;
        QTest::newRow("missing") << QByteArray() << QString();
        QTest::newRow("not RTF") << QByteArray("PK\3\4\0\0 zip") << QString();
        QTest::newRow("damaged RTF") << QByteArray("{\\rtf1 kept{\\b{{\\'") << u"kept"_s;
    }
    void helpButtonShowsTheManual() {
        QFETCH(QByteArray, data);
        QCOMPARE(FrmHelp::documentPath(), QCoreApplication::applicationDirPath() + "/help.rtf"_L1);
        QVERIFY(data.isEmpty() || writeManual(data));
        RecordingMessageBoxes messages;
        ScopedSeam<MessageBoxes> seam(messages);
        QString shown = u"not modal"_s;
        QTimer::singleShot(0, [&] {
            if (QApplication::activeModalWidget() == &frmHelp())
                shown = frmHelp().txtHelp()->text();
            frmHelp().close(); // through the title bar
        });
        frmMain().button("cmdHelp")->click(); // returns when the window closes
        QTEST(shown, "text");
        QVERIFY(!isFormLoaded(FormId::Help) && messages.messages.isEmpty());
    }

    // A build tree keeps the manual next to the program; an installed copy
    // (program in bin/, data in share/drillpad/) finds it in its data folder,
    // wherever the tree was installed or unpacked.
    void manualIsFoundWhereItLies_data() {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QString>("expected");
        const QString bin = u"bin/help.rtf"_s, share = u"share/drillpad/help.rtf"_s;
        QTest::newRow("installed") << QStringList{share} << share;
        QTest::newRow("both: next to the program wins") << QStringList{bin, share} << bin;
        QTest::newRow("neither") << QStringList{} << bin;
    }
    void manualIsFoundWhereItLies() {
        QFETCH(QStringList, present);
        QFETCH(QString, expected);
        QTemporaryDir root;
        const QDir dir(root.path());
        QVERIFY(dir.mkpath(u"bin"_s) && dir.mkpath(u"share/drillpad"_s));
        for (const QString &name : present) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("{\\rtf1 x}") > 0);
        }
        QCOMPARE(FrmHelp::documentPath(dir.filePath(u"bin"_s)), dir.filePath(expected));
    }

    // The viewer fills the window less 24 twips; the outline around it
    // takes the size the viewer had before each resize.
    void layoutFollowsTheWindow() {
        FrmHelp &help = frmHelp();
        help.show();
        QVERIFY(QTest::qWaitForWindowExposed(&help));
        // The outline lies beneath the viewer.
        QVERIFY(help.children().indexOf(help.shapeHelp()) <
                help.children().indexOf(help.txtHelp()));

        help.resize(help.width() + 100, help.height() + 60);
        QTRY_COMPARE(twipsGeometry(help.txtHelp()), (TwipsRect{9, 9, 7341 + 1500, 5946 + 900}));
        QCOMPARE(twipsGeometry(help.shapeHelp()), (TwipsRect{8, 8, 7343, 5948}));

        // Smaller than the margin, the window keeps its layout.
        QCOMPARE(helpLayoutFor({24, 24}, {100, 100})->viewer, (TwipsRect{9, 9, 0, 0}));
        QVERIFY(!helpLayoutFor({23, 5000}, {100, 100}) &&
                !helpLayoutFor({5000, 23.5f}, {100, 100}));
    }

    void theManualIsBuiltBesideTheProgramFromItsSource() {
        QFile source(qEnvironmentVariable("DRILLPAD_SOURCE_DIR") + "/resources/manual/help.txt"_L1);
        QFile built(qEnvironmentVariable("DRILLPAD_BINARY_DIR") + "/help.rtf"_L1);
        QVERIFY(source.open(QIODevice::ReadOnly) && built.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(source.readAll()).trimmed().split(u'\n');
        const std::optional<RtfDocument> manual = parseRtf(built.readAll());
        QVERIFY(manual);
        // One paragraph per line, the marks of the source gone.
        QCOMPARE(manual->paragraphs.size(), std::size_t(lines.size()));
        QCOMPARE(lines.first(), u"= Drillpad 软件使用说明"_s);
        QCOMPARE(manual->plainText().section(u'\n', 0, 0), u"Drillpad 软件使用说明"_s);
        QVERIFY(!manual->plainText().contains(u"**"_s));
    }
};

DRILLPAD_TEST_MAIN(TestHelp)
#include "tst_help.moc"
