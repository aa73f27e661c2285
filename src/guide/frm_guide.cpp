#include "guide/frm_guide.h"

#include "app/forms_registry.h"
#include "controls/command_button.h"
#include "controls/frame_box.h"
#include "controls/message_box.h"
#include "forms/frm_guide_def.h"
#include "guide/guide_steps.h"
#include "settings/frm_settings.h"
#include "settings/settings_store.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>

namespace drillpad {

namespace {

constexpr const char *kNextCaption = "下一步[&N]";
constexpr const char *kFinishCaption = "完成[&F]";
constexpr const char *kNoTypeMessage = "请选择出题类型";
constexpr const char *kCountReset = "20";

// Where the page panels lie once loaded: all three in one place.
constexpr TwipsRect kPagePlace = {2040, 120, 6525, 3315};

// The page on which a field's box lies.
int pageOf(GuideField field) {
    return field == GuideField::Count ? 3 : 2;
}

const forms::GuideTypeControls &namesOf(QuestionType type) {
    return forms::kGuideTypeControls[static_cast<int>(type)];
}

const char *nameOf(QuestionType type, GuideField field) {
    const forms::GuideTypeControls &names = namesOf(type);
    switch (field) {
    case GuideField::From:
        return names.from;
    case GuideField::To:
        return names.to;
    case GuideField::Count:
    case GuideField::Rules:
        return names.count;
    }
    return names.count;
}

constexpr QuestionType kTypes[] = {QuestionType::Add, QuestionType::Minus, QuestionType::Mul,
                                   QuestionType::Devition, QuestionType::Mix};

} // namespace

FrmGuide::FrmGuide() {
    const forms::FormDef &def = forms::frmGuideDef();
    forms::applyWindowDef(def, this, this);
    controls_ = forms::buildControls(def, this);
    forms::applyTabOrder(def, controls_);

    // The hint box and the success text only show text; the keyboard passes
    // them by.
    for (const char *name : {"txtGuideHelp", "Text1"}) {
        if (QWidget *widget = controls_.widget(QString::fromLatin1(name)))
            widget->setFocusPolicy(Qt::NoFocus);
    }

    // Enter advances as in any wizard; Esc cancels as 取消 does.
    setDefaultButton(button("cmdNext"));
    setCancelButton(button("cmdCancle"));

    connectHandlers();
    Form_Load();
}

CommandButton *FrmGuide::button(const char *name) const {
    return controls_.get<CommandButton>(QString::fromLatin1(name));
}

FrameBox *FrmGuide::page(int number) const {
    return controls_.get<FrameBox>(QString::fromLatin1(forms::kGuidePages[number - 1]));
}

QPlainTextEdit *FrmGuide::txtGuideHelp() const {
    return controls_.get<QPlainTextEdit>(QStringLiteral("txtGuideHelp"));
}

QCheckBox *FrmGuide::chkSelectAll() const {
    return controls_.get<QCheckBox>(QStringLiteral("chkSelectAll"));
}

QCheckBox *FrmGuide::typeCheck(QuestionType type) const {
    return controls_.get<QCheckBox>(QString::fromLatin1(namesOf(type).check));
}

QWidget *FrmGuide::entryBox(QuestionType type, GuideField field) const {
    return controls_.widget(QString::fromLatin1(nameOf(type, field)));
}

QString FrmGuide::entryText(QuestionType type, GuideField field) const {
    QWidget *box = entryBox(type, field);
    if (auto *combo = qobject_cast<QComboBox *>(box))
        return combo->currentText();
    if (auto *edit = qobject_cast<QLineEdit *>(box))
        return edit->text();
    return QString();
}

void FrmGuide::setEntryText(QuestionType type, GuideField field, const QString &text) {
    QWidget *box = entryBox(type, field);
    if (auto *combo = qobject_cast<QComboBox *>(box))
        combo->setEditText(text);
    else if (auto *edit = qobject_cast<QLineEdit *>(box))
        edit->setText(text);
}

GuideEntries FrmGuide::entries() const {
    GuideEntries result;
    for (const QuestionType type : kTypes) {
        TypeEntries &entry = result[type];
        entry.selected = typeCheck(type)->isChecked();
        entry.from = entryText(type, GuideField::From);
        entry.to = entryText(type, GuideField::To);
        entry.count = entryText(type, GuideField::Count);
    }
    return result;
}

void FrmGuide::setSheetGuard(std::function<bool()> mayReplaceSheet) {
    mayReplaceSheet_ = std::move(mayReplaceSheet);
}

SheetSettings FrmGuide::sheetPart() const {
    SheetSettings settings = SheetSettings::initial();
    const GuideEntries current = entries();
    for (const QuestionType type : kTypes) {
        TypeSettings &part = settings[type];
        part.selected = current[type].selected;
        part.from = parseWholeNumber(current[type].from).value_or(part.from);
        part.to = parseWholeNumber(current[type].to).value_or(part.to);
        part.count = parseWholeNumber(current[type].count).value_or(part.count);
    }
    return settings;
}

void FrmGuide::showSheetPart(const SheetSettings &settings) {
    for (const QuestionType type : kTypes) {
        const TypeSettings &part = settings[type];
        typeCheck(type)->setChecked(part.selected);
        setEntryText(type, GuideField::From, QString::number(part.from));
        setEntryText(type, GuideField::To, QString::number(part.to));
        setEntryText(type, GuideField::Count, QString::number(part.count));
    }
    // The page shown takes the new ticks at once.
    EnableTypeControls(*this);
}

void FrmGuide::cmdSettings_Click() {
    frmSettings().editSettings(sheetPart());
}

void FrmGuide::connectHandlers() {
    const auto onClick = [this](const char *name, void (FrmGuide::*handler)()) {
        if (CommandButton *b = button(name))
            connect(b, &QPushButton::clicked, this, handler);
    };
    onClick("cmdNext", &FrmGuide::cmdNext_Click);
    onClick("cmdBack", &FrmGuide::cmdBack_Click);
    onClick("cmdReset", &FrmGuide::cmdReset_Click);
    onClick("cmdCancle", &FrmGuide::cmdCancle_Click);
    onClick("cmdSettings", &FrmGuide::cmdSettings_Click);
    // Like the check box's click event, this follows every change of its
    // value, by mouse or keyboard.
    connect(chkSelectAll(), &QCheckBox::toggled, this, &FrmGuide::chkSelectAll_Click);
}

void FrmGuide::Form_Load() {
    for (int number = 1; number <= 3; ++number) {
        FrameBox *panel = page(number);
        setTwipsGeometry(panel, kPagePlace);
        // No border, but opaque, so that the success text behind shows only
        // when no page is.
        panel->setBorder(false);
        panel->setAutoFillBackground(true);
    }
    setGuideStep(1);
    button("cmdBack")->setEnabled(false);
    EnableTypeControls(*this);
}

void FrmGuide::hideAllPages() {
    for (int number = 1; number <= 3; ++number)
        page(number)->hide();
}

void FrmGuide::showPage(int number) {
    for (int other = 1; other <= 3; ++other) {
        if (other != number)
            page(other)->hide();
    }
    page(number)->show();
}

void FrmGuide::setNextCaption(const char *caption) {
    button("cmdNext")->setCaption(QString::fromUtf8(caption));
}

void FrmGuide::returnToPage(int number) {
    setGuideStep(static_cast<std::int16_t>(number));
    showPage(number);
    setNextCaption(number == 3 ? kFinishCaption : kNextCaption);
}

void FrmGuide::cmdNext_Click() {
    setGuideStep(static_cast<std::int16_t>(guideStep() + 1));
    hideAllPages();
    // The counts are read and checked when they are used, at Finish; on the
    // earlier pages nothing is done with them.
    switch (guideStep()) {
    case 1:
        showPage(1);
        EnableTypeControls(*this);
        break;
    case 2: {
        EnableTypeControls(*this);
        bool anyTicked = false;
        for (const QuestionType type : kTypes)
            anyTicked = anyTicked || typeCheck(type)->isChecked();
        if (!anyTicked) {
            // Page 1 is back before the message, so that the success text
            // behind the pages never shows with it.
            setGuideStep(1);
            showPage(1);
            showMessage(this, QString::fromUtf8(kNoTypeMessage));
        } else {
            showPage(2);
        }
        break;
    }
    case 3:
        EnableTypeControls(*this);
        showPage(3);
        setNextCaption(kFinishCaption);
        break;
    case 4:
        EnableTypeControls(*this);
        finish();
        break;
    case 5:
        setGuideStep(4);
        EnableTypeControls(*this);
        button("cmdNext")->setEnabled(false);
        break;
    default:
        break;
    }
    if (guideStep() > 1)
        button("cmdBack")->setEnabled(true);
    ShowStepHint(*this);
}

bool FrmGuide::finish() {
    const std::variant<SheetSettings, EntryError> checked =
        checkGuideEntries(entries(), loadCurrentSettings());
    if (const auto *error = std::get_if<EntryError>(&checked)) {
        if (error->field == GuideField::Rules) {
            // The rules of "出题设置" leave the type no question: the
            // counts page stays, and the next key opens the settings.
            returnToPage(3);
            showWarning(this, error->message);
            button("cmdSettings")->setFocus(Qt::OtherFocusReason);
            return false;
        }
        // Nothing is written: back to the page that holds the box.
        returnToPage(pageOf(error->field));
        showWarning(this, error->message);
        QWidget *box = entryBox(error->type, error->field);
        box->setFocus(Qt::OtherFocusReason);
        if (auto *combo = qobject_cast<QComboBox *>(box))
            combo->lineEdit()->selectAll();
        else if (auto *edit = qobject_cast<QLineEdit *>(box))
            edit->selectAll();
        return false;
    }
    if (mayReplaceSheet_ && !mayReplaceSheet_()) {
        returnToPage(3);
        return false;
    }
    const Sheet sheet = makeSheet(std::get<SheetSettings>(checked));
    Q_EMIT sheetReplaced(sheet.text);
    // Seen with the success text when the wizard is opened again.
    const QString note = repeatNote(sheet);
    controls_.get<QLabel>(QStringLiteral("lblRepeats"))->setText(note);
    hide();
    return true;
}

void FrmGuide::cmdBack_Click() {
    setGuideStep(static_cast<std::int16_t>(guideStep() - 1));
    hideAllPages();
    switch (guideStep()) {
    case 1:
    case 2:
        showPage(guideStep());
        EnableTypeControls(*this);
        break;
    case 3:
        showPage(3);
        setNextCaption(kFinishCaption);
        EnableTypeControls(*this);
        break;
    default:
        break;
    }
    if (guideStep() < 3)
        setNextCaption(kNextCaption);
    if (guideStep() == 1)
        button("cmdBack")->setEnabled(false);
    if (guideStep() < 5)
        button("cmdNext")->setEnabled(true);
    ShowStepHint(*this);
}

void FrmGuide::cmdReset_Click() {
    if (mayReplaceSheet_ && !mayReplaceSheet_())
        return;
    showPage(1);
    setGuideStep(1);
    setNextCaption(kNextCaption);
    button("cmdNext")->setEnabled(true);
    button("cmdBack")->setEnabled(false);
    for (const QuestionType type : kTypes)
        setEntryText(type, GuideField::Count, QString::fromLatin1(kCountReset));
    Q_EMIT sheetReplaced(QString());
}

void FrmGuide::cmdCancle_Click() {
    unloadForm(FormId::Guide);
}

void FrmGuide::chkSelectAll_Click() {
    const bool ticked = chkSelectAll()->isChecked();
    for (const QuestionType type : kTypes)
        typeCheck(type)->setChecked(ticked);
}

void FrmGuide::keyPressEvent(QKeyEvent *event) {
    // Enter in a range box only confirms what was typed there, as in any
    // combo box; the next Enter elsewhere advances.
    if (isPlainEnter(event) && qobject_cast<QComboBox *>(focusWidget())) {
        event->accept();
        return;
    }
    FormDialog::keyPressEvent(event);
}

void FrmGuide::closeEvent(QCloseEvent *event) {
    // Closing the window unloads it, as Cancel does.
    event->accept();
    unloadForm(FormId::Guide);
}

} // namespace drillpad
