#include "common/fake_shell.h"
#include "common/fakes.h"
#include "common/test_main.h"
#include "controls/rich_text_box.h"
#include "mainwin/frm_main.h"
#include "version.h"

#include <QDir>

#include <QPlainTextEdit>
#include <algorithm>

using namespace drillpad;

// The four links of the Help menu hand exactly these requests to the shell.
class TestLinks : public QObject {
    Q_OBJECT

    testing::RecordingShell shell_;
    ScopedSeam<Shell> shellSeam_{shell_};
    testing::RecordingMessageBoxes messages_;
    ScopedSeam<MessageBoxes> messageSeam_{messages_};

private Q_SLOTS:
    void init() {
        shell_.requests.clear();
        shell_.result = true;
        messages_.messages.clear();
    }

    void requestsAsTheMenuMakesThem_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("verb");
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("mail");
        QTest::addColumn<int>("showCommand");

        const QString home = QString::fromUtf8(product::kHomePage);
        const QString mailto =
            QStringLiteral("mailto:") + QString::fromUtf8(product::kAuthorMail) + "?subject=";
        QTest::newRow("home page")
            << "mnuHome" << QStringLiteral("访问软件官方主页[&H]") << "open" << home << false << 0;
        QTest::newRow("guestbook") << "mnuGbook" << QStringLiteral("在线技术支持[留言解答][&G]")
                                   << "open" << home + "/gbook" << false << 0;
        QTest::newRow("write to the author")
            << "mnuWriteTo" << QStringLiteral("给作者写信[&E]") << "Open"
            << mailto + QStringLiteral("Drillpad用户-交个朋友") << true << 1;
        QTest::newRow("report an error")
            << "mnuReportErr" << QStringLiteral("报告错误[&R]") << "Open"
            << mailto + QStringLiteral("Drillpad用户-报告错误") << true << 1;
    }
    void requestsAsTheMenuMakesThem() {
        QFETCH(QString, entry);
        QFETCH(QString, caption);
        QFETCH(QString, verb);
        QFETCH(QString, file);
        QFETCH(bool, mail);
        QFETCH(int, showCommand);

        FrmMain window;
        QAction *action = window.menuAction(entry.toLatin1().constData());
        QVERIFY(action);
        QCOMPARE(action->text(), caption);
        action->trigger();

        QCOMPARE(shell_.requests.size(), 1);
        const ShellRequest &request = shell_.requests.first();
        QCOMPARE(request.owner, &window);
        // Compared exactly: "open" and "Open" are different verbs here.
        QVERIFY(request.verb == verb);
        QVERIFY(request.file == file);
        QCOMPARE(request.showCommand, showCommand);
        if (mail) {
            // An empty string, not "no parameters".
            QVERIFY(request.parameters.has_value());
            QVERIFY(request.parameters->isEmpty());
            QVERIFY(request.folder.has_value());
            QCOMPARE(*request.folder,
                     QDir::toNativeSeparators(QCoreApplication::applicationDirPath()));
            QVERIFY(!request.folder->endsWith(QLatin1Char('/')));
            QVERIFY(!request.folder->endsWith(QLatin1Char('\\')));
        } else {
            QVERIFY(!request.parameters.has_value());
            QVERIFY(!request.folder.has_value());
        }
    }

    void subjectIsNotPercentEncoded() {
        FrmMain window;
        window.menuAction("mnuReportErr")->trigger();
        QCOMPARE(shell_.requests.size(), 1);
        QVERIFY(shell_.requests.first().file.endsWith(
            QStringLiteral("?subject=Drillpad用户-报告错误")));
        QVERIFY(!shell_.requests.first().file.contains(QLatin1Char('%')));
    }

    void failedRequestChangesNothingVisible() {
        shell_.result = false; // no mail program registered
        FrmMain window;
        window.show();
        window.txtMain()->setText(QStringLiteral("乘法题:"));
        const QString hint = window.txtHelp()->toPlainText();
        window.menuAction("mnuWriteTo")->trigger();
        window.menuAction("mnuHome")->trigger();
        QCOMPARE(shell_.requests.size(), 2);
        QVERIFY(messages_.messages.isEmpty());
        QVERIFY(window.isVisible());
        QCOMPARE(window.windowTitle(), QStringLiteral("Drillpad"));
        QCOMPARE(window.txtMain()->text(), QStringLiteral("乘法题:"));
        QCOMPARE(window.txtHelp()->toPlainText(), hint);
        const QWidgetList windows = QApplication::topLevelWidgets();
        QCOMPARE(std::count_if(windows.begin(), windows.end(),
                               [](const QWidget *w) { return w->isVisible(); }),
                 std::ptrdiff_t(1));
    }
};

DRILLPAD_TEST_MAIN(TestLinks)
#include "tst_links.moc"
