#pragma once

#include <QPushButton>
#include <QString>

class QKeyEvent;

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

    bool isDefaultRole() const { return defaultRole_; }
    void setDefaultRole(bool on) { defaultRole_ = on; }
    bool isCancelRole() const { return cancelRole_; }
    void setCancelRole(bool on) { cancelRole_ = on; }

Q_SIGNALS:
    void mouseMoved();

protected:
    bool event(QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QString tag_;
    bool defaultRole_ = false;
    bool cancelRole_ = false;
};

} // namespace drillpad
