#include "controls/command_button.h"

#include <QKeyEvent>
#include <QShortcutEvent>

namespace drillpad {

CommandButton::CommandButton(QWidget *parent) : QPushButton(parent) {
    setMouseTracking(true);
    // Enter goes to the window's default button, never to Qt's own notion of
    // one; a focused button still takes Enter itself (keyPressEvent).
    setAutoDefault(false);
    setDefault(false);
}

bool CommandButton::event(QEvent *event) {
    // An access key clicks at once, like a mouse click, rather than after a
    // pressed-look animation.
    if (event->type() == QEvent::Shortcut && isEnabled()) {
        const auto *shortcut = static_cast<QShortcutEvent *>(event);
        if (!shortcut->isAmbiguous()) {
            if (focusPolicy() & Qt::TabFocus)
                setFocus(Qt::ShortcutFocusReason);
            click();
            return true;
        }
    }
    return QPushButton::event(event);
}

void CommandButton::mouseMoveEvent(QMouseEvent *event) {
    Q_EMIT mouseMoved();
    QPushButton::mouseMoveEvent(event);
}

void CommandButton::keyPressEvent(QKeyEvent *event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        event->modifiers() == Qt::NoModifier) {
        if (isEnabled())
            click();
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

} // namespace drillpad
