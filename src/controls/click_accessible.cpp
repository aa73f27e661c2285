#include "controls/click_accessible.h"

#include "controls/command_button.h"
#include "controls/tool_bar.h"

#include <QAccessibleWidget>
#include <QToolButton>

namespace drillpad {

namespace {

// A caption as it is read: the access-key marker gone, "&&" a single "&".
QString withoutAccessKey(const QString &caption) {
    QString text;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == u'&' && i + 1 < caption.size())
            ++i;
        text += caption.at(i);
    }
    return text;
}

// The click is queued, so that a button opening a modal window does not hold
// up the reader's request; it still runs before the reader's next request.
class ClickAccessible final : public QAccessibleWidget {
public:
    explicit ClickAccessible(QAbstractButton *button)
        : QAccessibleWidget(button, QAccessible::Button) {}

    QAccessible::Role role() const override {
        return button()->isCheckable() ? QAccessible::CheckBox : QAccessible::Button;
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = button()->isCheckable();
        state.checked = button()->isChecked();
        state.pressed = button()->isDown();
        return state;
    }

    QString text(QAccessible::Text t) const override {
        switch (t) {
        case QAccessible::Name:
            if (widget()->accessibleName().isEmpty())
                return withoutAccessKey(button()->text());
            break;
        case QAccessible::Accelerator:
            return QKeySequence::mnemonic(button()->text()).toString(QKeySequence::NativeText);
        default:
            break;
        }
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override {
        QStringList names;
        if (widget()->isEnabled()) {
            if (button()->isCheckable())
                names << toggleAction();
            names << pressAction();
        }
        return names + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &actionName) override {
        if (actionName != pressAction() && actionName != toggleAction())
            return QAccessibleWidget::doAction(actionName);
        if (widget()->isEnabled())
            QMetaObject::invokeMethod(button(), &QAbstractButton::click, Qt::QueuedConnection);
    }

    QStringList keyBindingsForAction(const QString &actionName) const override {
        const QString key = text(QAccessible::Accelerator);
        if (actionName == pressAction() && !key.isEmpty())
            return {key};
        return {};
    }

private:
    QAbstractButton *button() const { return static_cast<QAbstractButton *>(widget()); }
};

QAccessibleInterface *clickAccessible(const QString &className, QObject *object) {
    if (className == QLatin1String(CommandButton::staticMetaObject.className()))
        return new ClickAccessible(static_cast<CommandButton *>(object));
    auto *button = qobject_cast<QToolButton *>(object);
    if (className == QLatin1String("QToolButton") && button &&
        qobject_cast<ToolBar *>(button->parentWidget()))
        return new ClickAccessible(button);
    return nullptr;
}

} // namespace

void installClickAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(clickAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace drillpad
