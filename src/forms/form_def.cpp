#include "forms/form_def.h"

#include <QApplication>
#include <QPalette>

#include <cstring>

namespace drillpad::forms {

QColor resolveColour(const Colour &colour) {
    switch (colour.kind) {
    case Colour::Kind::Unset:
        return QColor();
    case Colour::Kind::Rgb:
        return QColor(QRgb(colour.rgb));
    case Colour::Kind::ButtonFace:
        return QApplication::palette().color(QPalette::Button);
    case Colour::Kind::Desktop:
        // The classic desktop blue-grey; there is no portable desktop colour.
        return QColor(0x3A, 0x6E, 0xA5);
    case Colour::Kind::WindowBackground:
        return QApplication::palette().color(QPalette::Base);
    }
    return QColor();
}

QString objectNameOf(const ControlDef &def) {
    QString name = QString::fromUtf8(def.name);
    if (def.index >= 0)
        name += QLatin1Char('(') + QString::number(def.index) + QLatin1Char(')');
    return name;
}

const ControlDef *findControl(const FormDef &form, const char *name, int index) {
    for (const ControlDef &def : form.controls) {
        if (std::strcmp(def.name, name) == 0 && def.index == index)
            return &def;
    }
    return nullptr;
}

} // namespace drillpad::forms
