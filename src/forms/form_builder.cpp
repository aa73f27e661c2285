#include "forms/form_builder.h"

#include "controls/combo_accessible.h"
#include "controls/command_button.h"
#include "controls/frame_box.h"
#include "controls/narrow_arrow.h"
#include "controls/rich_text_box.h"
#include "controls/shape.h"
#include "controls/tool_bar.h"

#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QTableView>
#include <QTimer>

namespace drillpad::forms {

QWidget *ControlMap::widget(const QString &name) const {
    return qobject_cast<QWidget *>(objects_.value(name));
}

QFont fontOf(const FontDef &font) {
    QFont result(QString::fromUtf8(font.family ? font.family : kDefaultFontFamily));
    result.setPointSizeF(font.points > 0 ? font.points : kDefaultFontPoints);
    result.setBold(font.bold);
    return result;
}

QString captionText(const char *caption) {
    return caption ? QString::fromUtf8(caption) : QString();
}

namespace {

QString designText(const char *caption) {
    // Design texts of text boxes end lines with CR LF; the widgets use LF.
    QString text = captionText(caption);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

void setColours(QWidget *widget, const ControlDef &def) {
    if (!def.foreground.isSet() && !def.background.isSet())
        return;
    QPalette palette = widget->palette();
    if (def.foreground.isSet()) {
        const QColor fg = resolveColour(def.foreground);
        palette.setColor(QPalette::WindowText, fg);
        palette.setColor(QPalette::Text, fg);
        palette.setColor(QPalette::ButtonText, fg);
    }
    if (def.background.isSet()) {
        const QColor bg = resolveColour(def.background);
        palette.setColor(QPalette::Window, bg);
        palette.setColor(QPalette::Base, bg);
        widget->setAutoFillBackground(true);
    }
    widget->setPalette(palette);
}

QStringList itemsOf(const ControlDef &def) {
    QStringList items;
    for (const char *item : def.items)
        items << QString::fromUtf8(item);
    return items;
}

QObject *createControl(const ControlDef &def, QWidget *parent) {
    const bool centred = def.flags & Centred;
    switch (def.kind) {
    case ControlKind::CommandButton: {
        auto *button = new CommandButton(parent);
        button->setCaption(captionText(def.caption));
        return button;
    }
    case ControlKind::Label: {
        auto *label = new QLabel(captionText(def.caption), parent);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment((centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
        label->setWordWrap(def.flags & WordWrap);
        return label;
    }
    case ControlKind::TextBox: {
        auto *edit = new QLineEdit(designText(def.caption), parent);
        edit->setFrame(!(def.flags & NoBorder));
        edit->setReadOnly(def.flags & ReadOnly);
        edit->setCursorPosition(0);
        if (centred)
            edit->setAlignment(Qt::AlignHCenter);
        return edit;
    }
    case ControlKind::MultiLineTextBox: {
        auto *edit = new QPlainTextEdit(designText(def.caption), parent);
        if (def.flags & NoBorder)
            edit->setFrameShape(QFrame::NoFrame);
        edit->setReadOnly(def.flags & ReadOnly);
        edit->setTabChangesFocus(true);
        return edit;
    }
    case ControlKind::Frame: {
        auto *frame = new FrameBox(captionText(def.caption), parent);
        frame->setBorder(!(def.flags & NoBorder));
        return frame;
    }
    case ControlKind::CheckBox: {
        auto *box = new QCheckBox(captionText(def.caption), parent);
        box->setChecked(def.flags & Checked);
        return box;
    }
    case ControlKind::OptionButton: {
        auto *option = new QRadioButton(captionText(def.caption), parent);
        option->setChecked(def.flags & Checked);
        return option;
    }
    case ControlKind::ComboBox: {
        installComboAccessibility();
        auto *combo = new QComboBox(parent);
        // Read-only: a list to choose from, not typed into.
        combo->setEditable(!(def.flags & ReadOnly));
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->addItems(itemsOf(def));
        // The list opens on the entry that matches the initial text.
        const QString text = captionText(def.caption);
        combo->setCurrentIndex(combo->findText(text));
        if (combo->isEditable())
            combo->setEditText(text);
        if (def.flags & NarrowArrow)
            useNarrowArrow(combo);
        return combo;
    }
    case ControlKind::ListBox: {
        auto *list = new QListWidget(parent);
        list->addItems(itemsOf(def));
        return list;
    }
    case ControlKind::PictureBox: {
        // A picture box shows its picture at the picture's own size from the
        // top-left corner, cut off at the box's edges.
        auto *picture = new QLabel(parent);
        picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        if (def.picture)
            picture->setPixmap(QPixmap(QString::fromUtf8(def.picture)));
        if (!(def.flags & NoBorder))
            picture->setFrameShape(QFrame::Box);
        return picture;
    }
    case ControlKind::Shape: {
        auto *shape = new ShapeWidget(parent);
        shape->setOutlineColor(def.foreground.isSet() ? resolveColour(def.foreground)
                                                      : QColor(Qt::black));
        if (def.background.isSet())
            shape->setFillColor(resolveColour(def.background));
        return shape;
    }
    case ControlKind::Line: {
        auto *line = new ShapeWidget(parent);
        line->setOutlineColor(QColor());
        line->setFillColor(def.foreground.isSet() ? resolveColour(def.foreground)
                                                  : QColor(Qt::black));
        return line;
    }
    case ControlKind::RichTextBox: {
        auto *editor = new RichTextBox(parent);
        editor->setText(captionText(def.caption));
        return editor;
    }
    case ControlKind::Timer: {
        auto *timer = new QTimer(parent);
        timer->setInterval(def.interval);
        return timer;
    }
    case ControlKind::Container:
        return new QWidget(parent);
    case ControlKind::Toolbar:
        return new ToolBar(parent);
    case ControlKind::TableView: {
        auto *table = new QTableView(parent);
        table->setSelectionBehavior(QAbstractItemView::SelectRows);
        table->setTabKeyNavigation(false);
        return table;
    }
    case ControlKind::ChartView:
        return new QChartView(parent);
    }
    return nullptr;
}

// A read-only text box that shows a value is read out by its text, like a
// label; its name follows the text.
void readOutByText(QWidget *widget) {
    if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
        edit->setAccessibleName(edit->text());
        QObject::connect(edit, &QLineEdit::textChanged, edit, &QWidget::setAccessibleName);
    } else if (auto *text = qobject_cast<QPlainTextEdit *>(widget)) {
        text->setAccessibleName(text->toPlainText());
        QObject::connect(text, &QPlainTextEdit::textChanged, text,
                         [text] { text->setAccessibleName(text->toPlainText()); });
    }
}

void setAccessibleTexts(QWidget *widget, const ControlDef &def) {
    if (def.accessibleName)
        widget->setAccessibleName(QString::fromUtf8(def.accessibleName));
    if (def.accessibleDescription) {
        widget->setAccessibleDescription(QString::fromUtf8(def.accessibleDescription));
        if (!def.accessibleName)
            readOutByText(widget);
    }
}

} // namespace

ControlMap buildControls(const FormDef &form, QWidget *client) {
    ControlMap map;
    for (const ControlDef &def : form.controls) {
        QWidget *parent = def.parent ? map.widget(QString::fromUtf8(def.parent)) : client;
        if (!parent)
            parent = client;
        QObject *object = createControl(def, parent);
        object->setObjectName(objectNameOf(def));
        map.insert(objectNameOf(def), object);

        auto *widget = qobject_cast<QWidget *>(object);
        if (!widget)
            continue;
        if (!def.font.isDefault())
            widget->setFont(fontOf(def.font));
        setColours(widget, def);
        setTwipsGeometry(widget, def.rect);
        if (def.kind == ControlKind::Label && (def.flags & SizedToText))
            widget->resize(widget->sizeHint().expandedTo(widget->size()));
        if (def.flags & Disabled)
            widget->setEnabled(false);
        if (def.flags & Hidden)
            widget->setVisible(false);
        setAccessibleTexts(widget, def);
    }
    // Captions name the control they stand in front of; that control may
    // come later in the definition.
    for (const ControlDef &def : form.controls) {
        auto *caption = map.get<QLabel>(objectNameOf(def));
        if (caption && def.buddy)
            caption->setBuddy(map.widget(QString::fromUtf8(def.buddy)));
        if (def.rowCaption) {
            const auto *rowCaption = map.get<QLabel>(QString::fromUtf8(def.rowCaption));
            if (QWidget *box = map.widget(objectNameOf(def)); box && rowCaption)
                addAccessibleCaption(box, rowCaption);
        }
    }
    return map;
}

void applyWindowDef(const FormDef &form, QWidget *window, QWidget *client) {
    window->setObjectName(QString::fromUtf8(form.name));
    window->setWindowTitle(captionText(form.caption));
    window->setFont(fontOf({}));
    if (form.icon)
        window->setWindowIcon(QIcon(QString::fromUtf8(form.icon)));

    Qt::WindowFlags flags = window->windowFlags();
    if (form.border != BorderStyle::Sizable) {
        flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                Qt::MSWindowsFixedSizeDialogHint;
    } else if (form.minMaxButtons) {
        flags |= Qt::WindowMinMaxButtonsHint;
    }
    window->setWindowFlags(flags);

    if (window == client) {
        const QSize size(twipsToPixels(form.client.width), twipsToPixels(form.client.height));
        if (form.border == BorderStyle::Sizable)
            window->resize(size);
        else
            window->setFixedSize(size);
    }

    if (form.centred) {
        if (const QScreen *screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            const QSize size(twipsToPixels(form.client.width), twipsToPixels(form.client.height));
            window->move(area.center() - QPoint(size.width() / 2, size.height() / 2));
        }
    } else {
        window->move(twipsToPixels(form.position.left), twipsToPixels(form.position.top));
    }
}

ControlMap buildMenus(const FormDef &form, QMenuBar *menuBar) {
    ControlMap map;
    for (const MenuDef &def : form.menus) {
        const QString name = QString::fromUtf8(def.name);
        if (!def.parent) {
            QMenu *menu = menuBar->addMenu(captionText(def.caption));
            menu->setObjectName(name);
            menu->menuAction()->setObjectName(name + QStringLiteral("Action"));
            map.insert(name, menu);
            continue;
        }
        auto *menu = map.get<QMenu>(QString::fromUtf8(def.parent));
        if (!menu)
            continue;
        QAction *action =
            def.isSeparator() ? menu->addSeparator() : menu->addAction(captionText(def.caption));
        action->setObjectName(name);
        if (def.shortcut)
            action->setShortcut(QKeySequence(QString::fromLatin1(def.shortcut)));
        else if (def.standardKey != QKeySequence::UnknownKey)
            action->setShortcuts(def.standardKey);
        map.insert(name, action);
    }
    return map;
}

void applyTabOrder(const FormDef &form, const ControlMap &controls) {
    QWidget *previous = nullptr;
    for (const char *name : form.tabOrder) {
        QWidget *widget = controls.widget(QString::fromUtf8(name));
        if (!widget)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

} // namespace drillpad::forms
