#include "settings/frm_settings.h"

#include "controls/command_button.h"
#include "controls/message_box.h"
#include "forms/frm_settings_def.h"
#include "question/question_pool.h"
#include "settings/settings_store.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace drillpad {

namespace {

constexpr QuestionType kSingleTypes[] = {QuestionType::Add, QuestionType::Minus, QuestionType::Mul,
                                         QuestionType::Devition};

// What a type's result is called in messages.
constexpr const char *kResultNames[] = {"和", "差", "积", "商"};

QString boundText(int value, int unset) {
    return value == unset ? QString() : QString::number(value);
}

} // namespace

FrmSettings::FrmSettings() {
    const forms::FormDef &def = forms::frmSettingsDef();
    forms::applyWindowDef(def, this, this);
    controls_ = forms::buildControls(def, this);
    forms::applyTabOrder(def, controls_);
    setDefaultButton(button("cmdOK"));
    setCancelButton(button("cmdCancel"));

    const auto onClick = [this](const char *name, void (FrmSettings::*handler)()) {
        connect(button(name), &QPushButton::clicked, this, handler);
    };
    onClick("cmdLoad", &FrmSettings::cmdLoad_Click);
    onClick("cmdSave", &FrmSettings::cmdSave_Click);
    onClick("cmdRename", &FrmSettings::cmdRename_Click);
    onClick("cmdDelete", &FrmSettings::cmdDelete_Click);
    onClick("cmdDefault", &FrmSettings::cmdDefault_Click);
    onClick("cmdOK", &FrmSettings::cmdOK_Click);
    onClick("cmdCancel", &FrmSettings::cmdCancel_Click);

    // Choosing a preset in the list shows it at once, as 载入 does.
    connect(combo("cmbPreset"), &QComboBox::activated, this, [this] { loadPreset(); });

    fillPresets(QString());
    showSettings(loadCurrentSettings());
}

CommandButton *FrmSettings::button(const char *name) const {
    return controls_.get<CommandButton>(QString::fromLatin1(name));
}

QComboBox *FrmSettings::combo(const char *name) const {
    return controls_.get<QComboBox>(QString::fromLatin1(name));
}

QLineEdit *FrmSettings::edit(const char *name) const {
    return controls_.get<QLineEdit>(QString::fromLatin1(name));
}

void FrmSettings::editSettings(const SheetSettings &sheet) {
    presetLoaded_ = false;
    showSettings(sheet.withRulesOf(loadCurrentSettings()));
    fillPresets(combo("cmbPreset")->currentText());
    showModal();
}

void FrmSettings::fillPresets(const QString &selected) {
    QComboBox *presets = combo("cmbPreset");
    presets->clear();
    presets->addItems(presetNames());
    presets->setCurrentIndex(std::max(0, static_cast<int>(presets->findText(selected))));
}

void FrmSettings::showSettings(const SheetSettings &settings) {
    sheet_ = settings;
    for (int i = 0; i < 4; ++i) {
        const forms::SettingsTypeControls &names = forms::kSettingsTypeControls[i];
        const TypeSettings &type = settings[kSingleTypes[i]];
        const int rule = kSingleTypes[i] == QuestionType::Devition
                             ? static_cast<int>(type.remainder)
                             : static_cast<int>(type.carry);
        combo(names.carry)->setCurrentIndex(rule);
        if (names.low)
            edit(names.low)->setText(boundText(type.resultLowest, 0));
        edit(names.high)->setText(boundText(type.resultHighest, kNoLimit));
        combo(names.ask)->setCurrentIndex(static_cast<int>(type.askFor));
    }
    controls_.get<QCheckBox>(QStringLiteral("chkMulOneDigit"))
        ->setChecked(settings[QuestionType::Mul].oneDigitFactor);
    combo("cmbMixBrackets")->setCurrentIndex(settings[QuestionType::Mix].brackets ? 1 : 0);
    combo("cmbMixAsk")->setCurrentIndex(static_cast<int>(settings[QuestionType::Mix].askFor));
    combo("cmbBlank")->setCurrentIndex(static_cast<int>(settings.blank));
}

std::variant<SheetSettings, FrmSettings::Refusal> FrmSettings::settingsFromControls() const {
    SheetSettings settings = sheet_;
    for (int i = 0; i < 4; ++i) {
        const forms::SettingsTypeControls &names = forms::kSettingsTypeControls[i];
        TypeSettings &type = settings[kSingleTypes[i]];
        const QString what = questionTypeName(kSingleTypes[i]) + QString::fromUtf8(kResultNames[i]);
        const int rule = combo(names.carry)->currentIndex();
        if (kSingleTypes[i] == QuestionType::Devition)
            type.remainder = static_cast<Remainder>(rule);
        else
            type.carry = static_cast<Carry>(rule);
        type.askFor = static_cast<AskFor>(combo(names.ask)->currentIndex());

        const auto bound = [&](const char *name, int unset, int &value) -> std::optional<Refusal> {
            QLineEdit *box = edit(name);
            if (box->text().trimmed().isEmpty()) {
                value = unset;
                return std::nullopt;
            }
            const std::optional<int> parsed = parseWholeNumber(box->text());
            if (!parsed)
                return Refusal{box, QStringLiteral("%1的范围要填0到%2之间的整数，不限就留空")
                                        .arg(what)
                                        .arg(kLargestEntry)};
            value = *parsed;
            return std::nullopt;
        };
        type.resultLowest = 0;
        if (names.low) {
            if (auto refusal = bound(names.low, 0, type.resultLowest))
                return *refusal;
        }
        if (auto refusal = bound(names.high, kNoLimit, type.resultHighest))
            return *refusal;
        if (type.resultLowest > type.resultHighest)
            return Refusal{edit(names.low), what + QStringLiteral("的范围，“从”不能大于“到”")};
    }
    settings[QuestionType::Mul].oneDigitFactor =
        controls_.get<QCheckBox>(QStringLiteral("chkMulOneDigit"))->isChecked();
    settings[QuestionType::Mix].brackets = combo("cmbMixBrackets")->currentIndex() == 1;
    settings[QuestionType::Mix].askFor = static_cast<AskFor>(combo("cmbMixAsk")->currentIndex());
    settings.blank = static_cast<BlankStyle>(combo("cmbBlank")->currentIndex());
    return settings;
}

bool FrmSettings::refuse(const Refusal &refusal) {
    showWarning(this, refusal.message);
    refusal.box->setFocus(Qt::OtherFocusReason);
    if (auto *box = qobject_cast<QLineEdit *>(refusal.box))
        box->selectAll();
    return false;
}

std::optional<SheetSettings> FrmSettings::acceptedSettings() {
    auto read = settingsFromControls();
    if (const auto *refusal = std::get_if<Refusal>(&read)) {
        refuse(*refusal);
        return std::nullopt;
    }
    return std::get<SheetSettings>(read);
}

bool FrmSettings::loadPreset() {
    const std::optional<Preset> preset = findPreset(combo("cmbPreset")->currentText());
    if (!preset)
        return false;
    showSettings(preset->settings);
    presetLoaded_ = true;
    return true;
}

void FrmSettings::cmdLoad_Click() {
    // The next key most likely confirms the preset.
    if (loadPreset())
        button("cmdOK")->setFocus(Qt::OtherFocusReason);
}

namespace {

QString presetNameRule() {
    return QStringLiteral("预设的名称不能为空，不能超过%1个字，也不能和内置的预设同名")
        .arg(kLongestPresetName);
}

qsizetype indexOfPreset(const QList<Preset> &presets, const QString &name) {
    for (qsizetype i = 0; i < presets.size(); ++i) {
        if (presets[i].name == name)
            return i;
    }
    return -1;
}

} // namespace

void FrmSettings::cmdSave_Click() {
    QLineEdit *nameBox = edit("txtPresetName");
    const QString name = nameBox->text().trimmed();
    if (!presetNameAllowed(name)) {
        refuse({nameBox, presetNameRule()});
        return;
    }
    const std::optional<SheetSettings> settings = acceptedSettings();
    if (!settings)
        return;
    QList<Preset> presets = loadUserPresets();
    const qsizetype existing = indexOfPreset(presets, name);
    if (existing >= 0) {
        if (!askYesNo(this,
                      QStringLiteral("已有名为“%1”的预设，要用现在的设置替换它吗？").arg(name)))
            return;
        presets[existing].settings = *settings;
    } else {
        presets.append({name, *settings});
    }
    saveUserPresets(presets);
    fillPresets(name);
}

void FrmSettings::cmdRename_Click() {
    const QString oldName = combo("cmbPreset")->currentText();
    QLineEdit *nameBox = edit("txtPresetName");
    const QString newName = nameBox->text().trimmed();
    QList<Preset> presets = loadUserPresets();
    const qsizetype index = indexOfPreset(presets, oldName);
    if (index < 0) {
        showWarning(this, QStringLiteral("内置的预设不能改名，请先选一个自己存的预设"));
        return;
    }
    if (!presetNameAllowed(newName)) {
        refuse({nameBox, presetNameRule()});
        return;
    }
    if (newName != oldName && indexOfPreset(presets, newName) >= 0) {
        refuse({nameBox, QStringLiteral("已有名为“%1”的预设，请换一个名称").arg(newName)});
        return;
    }
    presets[index].name = newName;
    saveUserPresets(presets);
    fillPresets(newName);
}

void FrmSettings::cmdDelete_Click() {
    const QString name = combo("cmbPreset")->currentText();
    QList<Preset> presets = loadUserPresets();
    const qsizetype index = indexOfPreset(presets, name);
    if (index < 0) {
        showWarning(this, QStringLiteral("内置的预设不能删除，请先选一个自己存的预设"));
        return;
    }
    if (!askYesNo(this, QStringLiteral("要删除预设“%1”吗？").arg(name)))
        return;
    presets.removeAt(index);
    saveUserPresets(presets);
    fillPresets(QString());
}

void FrmSettings::cmdDefault_Click() {
    showSettings(sheet_.withRulesOf(SheetSettings{}));
}

void FrmSettings::cmdOK_Click() {
    const std::optional<SheetSettings> settings = acceptedSettings();
    if (!settings)
        return;
    // Rules that leave a ticked type without a question are refused here,
    // naming the type and the rule, rather than at the wizard's 完成.
    for (int i = 0; i < 4; ++i) {
        const TypeSettings &type = (*settings)[kSingleTypes[i]];
        if (!type.selected)
            continue;
        if (const std::optional<QString> message = noQuestionMessage(kSingleTypes[i], type)) {
            refuse({combo(forms::kSettingsTypeControls[i].carry), *message});
            return;
        }
    }
    saveCurrentSettings(*settings);
    Q_EMIT settingsApplied(*settings, presetLoaded_);
    presetLoaded_ = false;
    hide();
}

void FrmSettings::cmdCancel_Click() {
    presetLoaded_ = false;
    hide();
}

} // namespace drillpad
