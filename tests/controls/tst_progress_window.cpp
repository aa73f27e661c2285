// Long work with a progress window: the window answers, the progress window
// shows once the work takes a while, in Chinese, and 取消 or Esc stops it.
#include "common/test_main.h"
#include "controls/progress_window.h"

#include <QProgressDialog>
#include <QPushButton>

#include <chrono>
#include <thread>

using namespace drillpad;
using namespace Qt::StringLiterals;

class TestProgressWindow : public QObject {
    Q_OBJECT

    // Work on its own thread that goes on until it is asked to stop, or
    // for ten seconds; the user stops it once the progress window shows.
    static bool stoppedByUser(const QString &how, QString &seen) {
        QWidget window;
        window.show();
        QTimer watcher;
        QObject::connect(&watcher, &QTimer::timeout, [&] {
            auto *dialog = window.findChild<QProgressDialog *>();
            if (!dialog || !dialog->isVisible() || !seen.isEmpty())
                return;
            auto *cancel = dialog->findChild<QPushButton *>();
            seen = dialog->windowTitle() + u' ' + dialog->labelText() + u' ' + cancel->text();
            if (how == u"Esc"_s)
                QTest::keyClick(dialog, Qt::Key_Escape);
            else
                cancel->click();
        });
        watcher.start(20);
        ProgressWindow progress(&window, u"正在打开文件“a.rtf”……"_s);
        bool stopped = false;
        const bool done = progress.runAside([&stopped](std::stop_token stop) {
            for (int i = 0; i < 500 && !stop.stop_requested(); ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            stopped = stop.stop_requested();
        });
        return !done && stopped && !progress.keepAnswering(1, 2);
    }

private Q_SLOTS:
    void cancels_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("取消") << u"取消"_s;
        QTest::newRow("Esc") << u"Esc"_s;
    }
    void cancels() {
        QFETCH(QString, how);
        QString seen;
        QVERIFY(stoppedByUser(how, seen));
        QCOMPARE(seen, u"Drillpad 正在打开文件“a.rtf”…… 取消"_s);
    }

    // Short work ends before any progress window shows.
    void quickWorkShowsNothing() {
        QWidget window;
        ProgressWindow progress(&window, u"x"_s);
        int calls = 0;
        QVERIFY(progress.runAside([&calls](std::stop_token) { ++calls; }));
        QVERIFY(progress.keepAnswering(1, 2) && calls == 1);
        QVERIFY(!window.findChild<QProgressDialog *>());
    }
};

DRILLPAD_TEST_MAIN(TestProgressWindow)
#include "tst_progress_window.moc"
