#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <stop_token>

class QProgressDialog;
class QWidget;

namespace drillpad {

// Long work the user waits for, done without freezing the window. Once the
// work has taken more than a moment, a progress window titled "Drillpad"
// shows `label` and how far the work is, with "取消" (and Esc) to stop it;
// until then the user's input waits. The window never stops answering:
// the work runs on a thread of its own, or in slices on the window's thread
// between which the window answers.
class ProgressWindow {
public:
    ProgressWindow(QWidget *parent, const QString &label);
    ~ProgressWindow();
    ProgressWindow(const ProgressWindow &) = delete;
    ProgressWindow &operator=(const ProgressWindow &) = delete;

    // Runs `work` on a thread of its own while the window answers. False
    // when the user cancelled: the work was asked to stop through its
    // token, and it has ended.
    bool runAside(const std::function<void(std::stop_token)> &work);
    // Between slices of work on the window's own thread: shows how far it
    // is and lets the window answer. False once the user has cancelled.
    bool keepAnswering(qint64 done, qint64 total);

    // How long the work may take before the progress window shows.
    static constexpr int kShowAfterMilliseconds = 250;

private:
    void answer(bool waitForEvents);

    QPointer<QWidget> parent_;
    QString label_;
    std::unique_ptr<QProgressDialog> dialog_;
    QElapsedTimer elapsed_;
    bool cancelled_ = false;
};

} // namespace drillpad
