#pragma once

#include "question/question_settings.h"

#include <QList>

namespace drillpad {

// The rules of "出题设置" (with the ticks, ranges and counts they were set
// with) and the user's own presets, kept between runs in the application's
// QSettings, in Drillpad/Drillpad.ini in the user's configuration folder
// ($XDG_CONFIG_HOME, normally ~/.config, on Linux; %APPDATA% on Windows).
SheetSettings loadCurrentSettings();
void saveCurrentSettings(const SheetSettings &settings);

// The user's presets in the order they were saved.
QList<Preset> loadUserPresets();
void saveUserPresets(const QList<Preset> &presets);

// A built-in preset or one of the user's, by name.
std::optional<Preset> findPreset(const QString &name);

// Every preset name: the built-in ones first, then the user's.
QStringList presetNames();

} // namespace drillpad
