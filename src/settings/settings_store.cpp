#include "settings/settings_store.h"

#include <QSettings>
#include <QStringList>

namespace drillpad {

namespace {

constexpr char kCurrentKey[] = "questions/current";
constexpr char kPresetsArray[] = "presets";
constexpr char kNameKey[] = "name";
constexpr char kSettingsKey[] = "settings";

// The program's own INI file, Drillpad/Drillpad.ini in the user's
// configuration folder, whatever the platform's native store is.
class Store : public QSettings {
public:
    Store()
        : QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Drillpad"),
                    QStringLiteral("Drillpad")) {}
};

} // namespace

SheetSettings loadCurrentSettings() {
    const Store store;
    const QVariant text = store.value(QLatin1String(kCurrentKey));
    return text.isValid() ? settingsFromText(text.toString()) : SheetSettings::initial();
}

void saveCurrentSettings(const SheetSettings &settings) {
    Store store;
    store.setValue(QLatin1String(kCurrentKey), settingsToText(settings));
}

QList<Preset> loadUserPresets() {
    Store store;
    QList<Preset> presets;
    const int size = store.beginReadArray(QLatin1String(kPresetsArray));
    for (int i = 0; i < size; ++i) {
        store.setArrayIndex(i);
        const QString name = store.value(QLatin1String(kNameKey)).toString();
        // A hand-edited file may hold a name that is not allowed; it is left out.
        if (presetNameAllowed(name))
            presets.append({name.trimmed(),
                            settingsFromText(store.value(QLatin1String(kSettingsKey)).toString())});
    }
    store.endArray();
    return presets;
}

void saveUserPresets(const QList<Preset> &presets) {
    Store store;
    store.remove(QLatin1String(kPresetsArray));
    store.beginWriteArray(QLatin1String(kPresetsArray), static_cast<int>(presets.size()));
    for (int i = 0; i < presets.size(); ++i) {
        store.setArrayIndex(i);
        store.setValue(QLatin1String(kNameKey), presets[i].name);
        store.setValue(QLatin1String(kSettingsKey), settingsToText(presets[i].settings));
    }
    store.endArray();
}

std::optional<Preset> findPreset(const QString &name) {
    if (std::optional<Preset> builtIn = builtInPreset(name))
        return builtIn;
    for (const Preset &preset : loadUserPresets()) {
        if (preset.name == name)
            return preset;
    }
    return std::nullopt;
}

QStringList presetNames() {
    QStringList names;
    for (const Preset &preset : builtInPresets())
        names << preset.name;
    for (const Preset &preset : loadUserPresets())
        names << preset.name;
    return names;
}

} // namespace drillpad
