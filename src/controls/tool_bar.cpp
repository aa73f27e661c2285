#include "controls/tool_bar.h"

#include "controls/click_accessible.h"
#include "controls/twips.h"

#include <QActionGroup>
#include <QToolButton>
#include <QWidgetAction>

namespace drillpad {

ImageList::ImageList(const ImageListDef &def) : def_(def) {}

const ImageDef *ImageList::at(int position) const {
    if (position < 1 || position > count())
        return nullptr;
    return &def_.images[static_cast<std::size_t>(position - 1)];
}

QString ImageList::key(int position) const {
    const ImageDef *image = at(position);
    return image && image->key ? QString::fromLatin1(image->key) : QString();
}

QIcon ImageList::icon(int position) const {
    const ImageDef *image = at(position);
    if (!image || !image->picture)
        return QIcon();
    // QIcon hands an SVG file to the SVG icon engine, which renders it at
    // the requested size and device pixel ratio instead of scaling a bitmap.
    return QIcon(QString::fromUtf8(image->picture));
}

ToolBar::ToolBar(QWidget *parent) : QToolBar(parent) {
    installClickAccessibility();
    // The bar stays where the window puts it.
    setMovable(false);
    setFloatable(false);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    setContextMenuPolicy(Qt::PreventContextMenu);
}

void ToolBar::setButtons(std::span<const ToolButtonDef> buttons, const ImageList &images) {
    setIconSize(images.imageSize());
    QActionGroup *group = nullptr;
    for (const ToolButtonDef &def : buttons) {
        if (def.style != ToolButtonStyle::Group)
            group = nullptr;
        switch (def.style) {
        case ToolButtonStyle::Separator:
            positions_ << addSeparator();
            continue;
        case ToolButtonStyle::Placeholder: {
            auto *space = new QWidget(this);
            space->setFixedSize(twipsToPixels(def.width), iconSize().height() + 4);
            positions_ << addWidget(space);
            continue;
        }
        case ToolButtonStyle::Push:
        case ToolButtonStyle::Check:
        case ToolButtonStyle::Group:
            break;
        }

        auto *action = new QAction(images.icon(def.image), QString(), this);
        const QString key = QString::fromLatin1(def.key);
        action->setObjectName(key);
        if (def.style != ToolButtonStyle::Push)
            action->setCheckable(true);
        if (def.style == ToolButtonStyle::Group) {
            if (!group)
                group = new QActionGroup(this);
            group->addAction(action);
        }
        addAction(action);
        positions_ << action;

        QWidget *widget = widgetForAction(action);
        widget->setObjectName(key);
        widget->setFocusPolicy(Qt::NoFocus);
        if (def.accessibleName) {
            widget->setAccessibleName(QString::fromUtf8(def.accessibleName));
            action->setToolTip(widget->accessibleName());
        }
        connect(action, &QAction::triggered, this, [this, action] { Q_EMIT buttonClick(action); });
    }
}

QAction *ToolBar::button(const QString &key) const {
    for (QAction *action : positions_) {
        if (!action->isSeparator() && !qobject_cast<QWidgetAction *>(action) &&
            action->objectName() == key)
            return action;
    }
    return nullptr;
}

QToolButton *ToolBar::buttonWidget(const QString &key) const {
    QAction *action = button(key);
    return action ? qobject_cast<QToolButton *>(widgetForAction(action)) : nullptr;
}

QStringList ToolBar::keys() const {
    QStringList result;
    for (QAction *action : positions_) {
        if (!action->isSeparator() && !qobject_cast<QWidgetAction *>(action))
            result << action->objectName();
    }
    return result;
}

void ToolBar::showShortcut(const QString &key, const QKeySequence &shortcut) {
    QToolButton *widget = buttonWidget(key);
    if (!widget || shortcut.isEmpty())
        return;
    button(key)->setToolTip(QStringLiteral("%1 (%2)").arg(
        widget->accessibleName(), shortcut.toString(QKeySequence::NativeText)));
}

QWidget *ToolBar::placeholder(int position) const {
    if (position < 1 || position > positions_.size())
        return nullptr;
    auto *action = qobject_cast<QWidgetAction *>(positions_.at(position - 1));
    return action ? action->defaultWidget() : nullptr;
}

void ToolBar::placeOnPlaceholder(QWidget *control, int position) {
    QWidget *space = placeholder(position);
    if (!control || !space)
        return;
    const TwipsRect rect = twipsGeometry(control);
    control->setParent(space);
    setTwipsGeometry(control, rect);
    control->show();
    if (control->geometry().bottom() >= space->height())
        space->setFixedHeight(control->geometry().bottom() + 1);
}

} // namespace drillpad
