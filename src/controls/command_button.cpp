#include "controls/command_button.h"

#include "controls/click_accessible.h"

#include <QKeyEvent>
#include <QShortcutEvent>

namespace drillpad {

namespace {

bool withoutModifiers(const QKeyEvent *event) {
    return (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

} // namespace

bool isPlainEnter(const QKeyEvent *event) {
    return (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
           withoutModifiers(event);
}

bool isPlainEscape(const QKeyEvent *event) {
    return event->key() == Qt::Key_Escape && withoutModifiers(event);
}

CommandButton::CommandButton(QWidget *parent) : QPushButton(parent) {
    installClickAccessibility();
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
    if (isPlainEnter(event)) {
        if (isEnabled())
            click();
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

} // namespace drillpad
