#include "common/fakes.h"
#include "common/test_main.h"
#include "mainwin/frm_main.h"
#include "platform/shell.h"
#include "version.h"

#include <QDir>

using namespace drillpad;

// Records shell requests and answers that the shell could not open them.
class FailingShell final : public Shell {
public:
    bool execute(const ShellRequest &request) override {
        requests << request;
        return false;
    }
    QList<ShellRequest> requests;
};

// The four links of the Help menu hand exactly these requests to the shell;
// a request that fails shows nothing.
class TestLinks : public QObject {
    Q_OBJECT

    FailingShell shell_;
    ScopedSeam<Shell> shellSeam_{shell_};
    testing::RecordingMessageBoxes messages_;
    ScopedSeam<MessageBoxes> messageSeam_{messages_};

private Q_SLOTS:
    void requests_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("verb");
        QTest::addColumn<QString>("file");
        const QString home = QString::fromUtf8(product::kHomePage);
        // The subject goes in unchanged, not percent-encoded.
        const QString mail = "mailto:" + QString::fromUtf8(product::kAuthorMail) + "?subject=";
        QTest::newRow("home page")
            << "mnuHome" << QStringLiteral("访问软件官方主页[&H]") << "open" << home;
        QTest::newRow("guestbook") << "mnuGbook" << QStringLiteral("在线技术支持[留言解答][&G]")
                                   << "open" << home + "/gbook";
        QTest::newRow("write to the author")
            << "mnuWriteTo" << QStringLiteral("给作者写信[&E]") << "Open"
            << mail + QStringLiteral("Drillpad用户-交个朋友");
        QTest::newRow("report an error")
            << "mnuReportErr" << QStringLiteral("报告错误[&R]") << "Open"
            << mail + QStringLiteral("Drillpad用户-报告错误");
    }
    void requests() {
        QFETCH(QString, entry);
        QFETCH(QString, caption);
        QFETCH(QString, verb);
        QFETCH(QString, file);
        shell_.requests.clear();
        FrmMain window;
        QAction *action = window.menuAction(entry.toLatin1().constData());
        QVERIFY(action);
        QCOMPARE(action->text(), caption);
        action->trigger();

        QCOMPARE(shell_.requests.size(), 1);
        const ShellRequest &request = shell_.requests.first();
        QCOMPARE(request.owner, &window);
        QCOMPARE(request.verb, verb); // "open" and "Open" are different verbs here
        QCOMPARE(request.file, file);
        // A mail link has an empty string (not none) as parameters, and the
        // program's folder to work in.
        const bool mail = file.startsWith(QLatin1String("mailto:"));
        const auto none = std::optional<QString>();
        const QString folder = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
        QCOMPARE(request.parameters, mail ? std::optional(QString()) : none);
        QCOMPARE(request.folder, mail ? std::optional(folder) : none);
        QCOMPARE(request.showCommand, mail ? 1 : 0);
        QVERIFY(messages_.messages.isEmpty());
    }
};

DRILLPAD_TEST_MAIN(TestLinks)
#include "tst_links.moc"
