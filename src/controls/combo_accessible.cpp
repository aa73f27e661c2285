#include "controls/combo_accessible.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace drillpad {

namespace {

// The object names of the captions added to a box, kept with the box.
constexpr const char *kCaptionsProperty = "drillpadCaptions";

class ComboAccessible final : public QAccessibleWidget {
public:
    explicit ComboAccessible(QComboBox *box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

    // The drop-down list, then the edit field of an editable box.
    int childCount() const override { return box()->lineEdit() ? 2 : 1; }
    QAccessibleInterface *child(int index) const override {
        QWidget *children[] = {box()->view(), box()->lineEdit()};
        return index == 0 || (index == 1 && children[1])
                   ? QAccessible::queryAccessibleInterface(children[index])
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override {
        if (!child || !child->object())
            return -1;
        if (child->object() == box()->view())
            return 0;
        return box()->lineEdit() && child->object() == box()->lineEdit() ? 1 : -1;
    }

    QString text(QAccessible::Text t) const override {
        switch (t) {
        case QAccessible::Name:
            return widget()->accessibleName().isEmpty() ? box()->currentText()
                                                        : widget()->accessibleName();
        case QAccessible::Value:
            return box()->currentText();
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.expanded = box()->view()->isVisible();
        state.editable = box()->isEditable();
        return state;
    }

    QStringList actionNames() const override {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString &actionName) override {
        if (actionName != showMenuAction() && actionName != pressAction())
            return QAccessibleWidget::doAction(actionName);
        if (box()->view()->isVisible())
            box()->hidePopup();
        else
            box()->showPopup();
    }

    // The added captions first: a row caption is read before the "从" or
    // "到" right in front of the box.
    QList<std::pair<QAccessibleInterface *, QAccessible::Relation>>
    relations(QAccessible::Relation match) const override {
        QList<std::pair<QAccessibleInterface *, QAccessible::Relation>> result;
        QWidget *container = widget()->parentWidget();
        if ((match & QAccessible::Label) && container) {
            for (const QString &name : widget()->property(kCaptionsProperty).toStringList()) {
                if (auto *caption =
                        container->findChild<QLabel *>(name, Qt::FindDirectChildrenOnly))
                    result.emplace_back(QAccessible::queryAccessibleInterface(caption),
                                        QAccessible::Label);
            }
        }
        return result + QAccessibleWidget::relations(match);
    }

    // The value is read, and written, through the edit field's text.
    void *interface_cast(QAccessible::InterfaceType type) override {
        const bool text =
            type == QAccessible::TextInterface || type == QAccessible::EditableTextInterface;
        if (text && box()->lineEdit()) {
            QAccessibleInterface *field = QAccessible::queryAccessibleInterface(box()->lineEdit());
            return field ? field->interface_cast(type) : nullptr;
        }
        return QAccessibleWidget::interface_cast(type);
    }

private:
    QComboBox *box() const { return static_cast<QComboBox *>(widget()); }
};

QAccessibleInterface *comboAccessible(const QString &className, QObject *object) {
    if (className != QLatin1String("QComboBox"))
        return nullptr;
    auto *box = qobject_cast<QComboBox *>(object);
    return box ? new ComboAccessible(box) : nullptr;
}

} // namespace

void installComboAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(comboAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}

void addAccessibleCaption(QWidget *comboBox, const QLabel *caption) {
    QStringList captions = comboBox->property(kCaptionsProperty).toStringList();
    captions << caption->objectName();
    comboBox->setProperty(kCaptionsProperty, captions);
}

} // namespace drillpad
