#pragma once

#include "forms/form_def.h"

#include <QHash>
#include <QObject>
#include <QString>

class QMenuBar;
class QWidget;

namespace drillpad::forms {

// The controls a window was built with, by object name.
class ControlMap {
public:
    void insert(const QString &name, QObject *object) { objects_.insert(name, object); }
    QObject *object(const QString &name) const { return objects_.value(name); }
    template <typename T> T *get(const QString &name) const {
        return qobject_cast<T *>(objects_.value(name));
    }
    QWidget *widget(const QString &name) const;
    int size() const { return static_cast<int>(objects_.size()); }

private:
    QHash<QString, QObject *> objects_;
};

// The font of a control: the definition's font over the default one.
QFont fontOf(const FontDef &font);

// Converts a caption with access keys as written in the definitions for a
// widget that shows text literally (labels): "&&" stays as "&".
QString captionText(const char *caption);

// Creates every control of the definition inside `client` (the window's
// client area), places it by its twips rectangle, and applies captions,
// fonts, colours, flags and accessible names. Containers come before the
// controls inside them in the definition.
ControlMap buildControls(const FormDef &form, QWidget *client);

// Applies the window-level parts of a definition to a top-level window whose
// client area is `client`: caption, default font, border, client size, icon.
void applyWindowDef(const FormDef &form, QWidget *window, QWidget *client);

// Builds the menu bar of a definition. Menus and entries are returned by
// name: QMenu objects for menus, QAction objects for entries and separators.
ControlMap buildMenus(const FormDef &form, QMenuBar *menuBar);

// Sets the keyboard tab order of the definition; controls not listed keep
// their default focus policy but come after the listed ones.
void applyTabOrder(const FormDef &form, const ControlMap &controls);

} // namespace drillpad::forms
