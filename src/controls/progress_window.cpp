#include "controls/progress_window.h"

#include "controls/message_box.h"

#include <QCoreApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

#include <atomic>
#include <thread>

namespace drillpad {

ProgressWindow::ProgressWindow(QWidget *parent, const QString &label)
    : parent_(parent), label_(label) {
    elapsed_.start();
}

ProgressWindow::~ProgressWindow() = default;

void ProgressWindow::answer(bool waitForEvents) {
    if (!dialog_ && elapsed_.elapsed() >= kShowAfterMilliseconds) {
        dialog_ = std::make_unique<QProgressDialog>(parent_);
        dialog_->setWindowTitle(QString::fromLatin1(kAppTitle));
        dialog_->setLabelText(label_);
        dialog_->setCancelButtonText(QStringLiteral("取消"));
        dialog_->setWindowModality(Qt::ApplicationModal);
        dialog_->setAutoReset(false);
        dialog_->setAutoClose(false);
        dialog_->setMinimumDuration(0);
        dialog_->setRange(0, 0); // how far: unknown until told
        QObject::connect(dialog_.get(), &QProgressDialog::canceled, [this] { cancelled_ = true; });
        dialog_->show();
    }
    // Until the progress window shows, the user's clicks and keys wait: the
    // window must not start anything else meanwhile. Once it shows, it keeps
    // them from the windows behind it.
    QEventLoop::ProcessEventsFlags flags =
        dialog_ ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents;
    if (waitForEvents)
        flags |= QEventLoop::WaitForMoreEvents;
    QCoreApplication::processEvents(flags);
}

bool ProgressWindow::runAside(const std::function<void(std::stop_token)> &work) {
    std::atomic<bool> finished = false;
    // Wakes the loop below now and then, to show the progress window when
    // it is due; the work wakes it once more when it ends.
    QTimer tick;
    tick.start(20);
    QObject waker;
    std::jthread worker([&](std::stop_token stop) {
        work(stop);
        finished = true;
        QMetaObject::invokeMethod(
            &waker, [] {}, Qt::QueuedConnection);
    });
    while (!finished) {
        answer(true);
        if (cancelled_)
            worker.request_stop();
    }
    return !cancelled_;
}

bool ProgressWindow::keepAnswering(qint64 done, qint64 total) {
    if (dialog_ && total > 0) {
        // QProgressDialog counts in int.
        const int scale = total > 1'000'000 ? 1000 : 1;
        dialog_->setRange(0, static_cast<int>(total / scale));
        dialog_->setValue(static_cast<int>(done / scale));
    }
    answer(false);
    return !cancelled_;
}

} // namespace drillpad
