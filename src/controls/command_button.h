#pragma once

#include <QPointer>
#include <QPushButton>
#include <QString>

class QKeyEvent;
class QMenuBar;

namespace drillpad {

// Enter or Return, from the main keys or the keypad, with no other modifier
// held: the key that confirms, wherever it comes from.
bool isPlainEnter(const QKeyEvent *event);
// Esc with no modifier held.
bool isPlainEscape(const QKeyEvent *event);

// The push button of every window. Captions carry their access key as
// "保存[&S]"; Alt with that letter clicks the button while it is enabled.
// A button may be its window's default (Enter) or cancel (Esc) button; the
// window hands those keys to it only while it is enabled (see FormDialog).
class CommandButton : public QPushButton {
    Q_OBJECT
public:
    explicit CommandButton(QWidget *parent = nullptr);

    QString caption() const { return text(); }
    void setCaption(const QString &caption) { setText(caption); }

    // A free text kept with the button.
    QString tag() const { return tag_; }
    void setTag(const QString &tag) { tag_ = tag; }

    // Limits the access key to the times the keyboard focus lies within
    // `scope` (the button's frame), for a key that elsewhere belongs to a
    // menu of the window: Alt with the letter then opens the menu, as menu
    // bars do, and clicks the button only from inside its frame.
    void keepAccessKeyWithin(QWidget *scope);

    bool isDefaultRole() const { return defaultRole_; }
    void setDefaultRole(bool on) { defaultRole_ = on; }
    bool isCancelRole() const { return cancelRole_; }
    void setCancelRole(bool on) { cancelRole_ = on; }

Q_SIGNALS:
    void mouseMoved();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QPointer<QWidget> accessKeyScope_;
    QString tag_;
    bool defaultRole_ = false;
    bool cancelRole_ = false;
};

// Where a button of the menu bar's window shares its access key with a menu
// title, Alt with the letter opens the menu; the button keeps the key for
// when the focus lies in its frame (its parent).
void yieldAccessKeysToMenus(QMenuBar *menuBar);

} // namespace drillpad
