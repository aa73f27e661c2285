#include "common/fakes.h"
#include "common/test_main.h"
#include "mainwin/frm_main.h"
#include "platform/shell.h"
#include "version.h"

#include <QDir>

using namespace drillpad;
using namespace Qt::StringLiterals;

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
    // (The entries' captions and access keys: tst_keyboard's manualListsEveryKey.)
    void requests_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("verb"); // "open" and "Open" are different verbs here
        QTest::addColumn<QString>("file");
        const QString home = QString::fromUtf8(product::kHomePage);
        // The subject goes in unchanged, not percent-encoded.
        const QString mail = "mailto:" + QString::fromUtf8(product::kAuthorMail) + "?subject=";
        QTest::newRow("home page") << u"mnuHome"_s << u"open"_s << home;
        QTest::newRow("guestbook") << u"mnuGbook"_s << u"open"_s << home + "/gbook";
        QTest::newRow("to the author")
            << u"mnuWriteTo"_s << u"Open"_s << mail + u"Drillpad用户-交个朋友"_s;
        QTest::newRow("report an error")
            << u"mnuReportErr"_s << u"Open"_s << mail + u"Drillpad用户-报告错误"_s;
    }
    void requests() {
        QFETCH(QString, entry);
        QFETCH(QString, verb);
        QFETCH(QString, file);
        shell_.requests.clear();
        FrmMain window;
        window.menuAction(entry.toLatin1().constData())->trigger();
        ShellRequest expected;
        expected.owner = &window;
        expected.verb = verb;
        expected.file = file;
        if (file.startsWith("mailto:"_L1)) { // parameters "" (not none), the program's folder
            expected.parameters = QString();
            expected.folder = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
            expected.showCommand = 1;
        }
        QCOMPARE(shell_.requests, QList{expected});
        QVERIFY(messages_.messages.isEmpty());
    }
};

DRILLPAD_TEST_MAIN(TestLinks)
#include "tst_links.moc"
