#include "controls/command_button.h"

#include "controls/click_accessible.h"

#include <QKeyEvent>
#include <QMenuBar>
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

void CommandButton::keepAccessKeyWithin(QWidget *scope) {
    if (accessKeyScope_)
        accessKeyScope_->removeEventFilter(this);
    accessKeyScope_ = scope;
    // The window-wide key goes; keys pressed within the scope reach it on
    // their way up from the focused control.
    setShortcut(QKeySequence());
    if (scope)
        scope->installEventFilter(this);
}

bool CommandButton::eventFilter(QObject *watched, QEvent *event) {
    const bool isKey =
        event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress;
    if (watched == accessKeyScope_ && isKey) {
        const auto *press = static_cast<QKeyEvent *>(event);
        if (QKeySequence(press->keyCombination()) == QKeySequence::mnemonic(text())) {
            // Taking the override keeps the menu's shortcut from firing; the
            // key then arrives as a key press, which clicks.
            event->accept();
            if (event->type() == QEvent::KeyPress && isEnabled()) {
                setFocus(Qt::ShortcutFocusReason);
                click();
            }
            return true;
        }
    }
    return QPushButton::eventFilter(watched, event);
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

void yieldAccessKeysToMenus(QMenuBar *menuBar) {
    QList<QKeySequence> menuKeys;
    for (const QAction *menu : menuBar->actions())
        menuKeys << QKeySequence::mnemonic(menu->text());
    QWidget *window = menuBar->window();
    for (CommandButton *button : window->findChildren<CommandButton *>()) {
        const QKeySequence key = QKeySequence::mnemonic(button->caption());
        if (button->window() == window && !key.isEmpty() && menuKeys.contains(key))
            button->keepAccessKeyWithin(button->parentWidget());
    }
}

} // namespace drillpad
