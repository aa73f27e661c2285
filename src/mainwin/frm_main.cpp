#include "mainwin/frm_main.h"

#include "about/frm_about.h"
#include "about/frm_help.h"
#include "app/forms_registry.h"
#include "controls/command_button.h"
#include "controls/rich_text_box.h"
#include "controls/tool_bar.h"
#include "forms/frm_main_def.h"
#include "guide/frm_guide.h"
#include "mainwin/answer_page.h"
#include "mainwin/edit_tools.h"
#include "mainwin/find_box.h"
#include "mainwin/font_list.h"
#include "mainwin/links.h"
#include "mainwin/main_hints.h"
#include "mainwin/main_layout.h"
#include "mainwin/sheet_file.h"
#include "masterywin/frm_mastery.h"
#include "platform/process.h"
#include "quiz/frm_face.h"
#include "recordwin/frm_record.h"
#include "recordwin/pupil_commands.h"
#include "settings/frm_settings.h"
#include "settings/settings_store.h"

#include <QAbstractScrollArea>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTextDocument>

#include <utility>

namespace drillpad {

namespace {
// The status bar sits in the band below the editor.
constexpr float kStatusBarHeight = 255.0f;
// The two toolbars fill the band above the editor.
constexpr const char *kTopBands[] = {"toolbarSYSTEM", "toolbarEdit"};

// What each key of the document toolbar runs. Keys are compared exactly; a
// key not listed does nothing.
constexpr std::pair<const char *, void (FrmMain::*)()> kSystemKeys[] = {
    {"tbNew", &FrmMain::cmdGuide_Click},       {"tbOpen", &FrmMain::tbOpen_Click},
    {"tbSave", &FrmMain::mnuFileSave_Click},   {"tbPrint", &FrmMain::mnuFilePrint_Click},
    {"tbCut", &FrmMain::mnuEditCut_Click},     {"tbCopy", &FrmMain::mnuEditCopy_Click},
    {"tbPaste", &FrmMain::mnuEditPaste_Click}, {"tbFind", &FrmMain::mnuEditFind_Click},
    {"tbUndo", &FrmMain::mnuEditUndo_Click},   {"tbRedo", &FrmMain::mnuEditRedo_Click},
    {"tbHelp", &FrmMain::cmdHelp_Click},
};

// The formatting toolbar: three switches and three paragraph alignments.
constexpr std::pair<const char *, const edit::Toggle *> kToggleKeys[] = {
    {"tbBold", &edit::kBold},
    {"tbItaic", &edit::kItalic},
    {"tbUnderline", &edit::kUnderline},
};
constexpr std::pair<const char *, int> kAlignmentKeys[] = {
    {"tbLeft", RichTextBox::AlignLeftCode},
    {"tbMid", RichTextBox::AlignCenterCode},
    {"tbRight", RichTextBox::AlignRightCode},
};

// The value listed for a key, or nullptr.
template <typename Value, std::size_t N>
const Value *lookUpKey(const std::pair<const char *, Value> (&table)[N], const QString &key) {
    for (const auto &[name, value] : table) {
        if (key == QLatin1String(name))
            return &value;
    }
    return nullptr;
}

QClipboard &clipboard() {
    return *QGuiApplication::clipboard();
}

} // namespace

FrmMain::FrmMain() {
    const forms::FormDef &def = forms::frmMainDef();
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("clientArea"));
    setCentralWidget(client_);
    forms::applyWindowDef(def, this, client_);
    menus_ = forms::buildMenus(def, menuBar());
    controls_ = forms::buildControls(def, client_);
    forms::applyTabOrder(def, controls_);

    buildToolbars();
    buildStatusBar();

    // The border lies beneath the editor.
    if (QWidget *shape = controls_.widget(QStringLiteral("shapeTXT")))
        shape->lower();

    // The empty sheet the window starts with is nothing to undo or to save.
    QTextDocument *sheet = txtMain()->document();
    sheet->clearUndoRedoStacks();
    sheet->setModified(false);
    // The caption marks a sheet with unsaved edits.
    setWindowTitle(windowTitle() + QStringLiteral("[*]"));
    connect(sheet, &QTextDocument::modificationChanged, this, &QWidget::setWindowModified);

    // Alt+E and Alt+A open the 编辑 and 帮助 menus; 退出 and 关于 keep them
    // within their frame. The sheet's context menu is the 编辑 menu.
    yieldAccessKeysToMenus(menuBar());
    txtMain()->setContextMenu(menus_.get<QMenu>(QStringLiteral("mnuEdit")));

    client_->installEventFilter(this);
    connectHints();
    connectHandlers();
    updateUndoRedo();
    setClientSizeTwips(def.client);
    Form_Load();
}

RichTextBox *FrmMain::txtMain() const {
    return controls_.get<RichTextBox>(QStringLiteral("txtMain"));
}

QPlainTextEdit *FrmMain::txtHelp() const {
    return controls_.get<QPlainTextEdit>(QStringLiteral("txtHelp"));
}

QComboBox *FrmMain::cmbFont() const {
    return controls_.get<QComboBox>(QStringLiteral("cmbFont"));
}

QComboBox *FrmMain::cmbFontSize() const {
    return controls_.get<QComboBox>(QStringLiteral("cmbFontSize"));
}

ToolBar *FrmMain::toolbarSYSTEM() const {
    return controls_.get<ToolBar>(QStringLiteral("toolbarSYSTEM"));
}

ToolBar *FrmMain::toolbarEdit() const {
    return controls_.get<ToolBar>(QStringLiteral("toolbarEdit"));
}

CommandButton *FrmMain::button(const char *name) const {
    return controls_.get<CommandButton>(QString::fromLatin1(name));
}

QAction *FrmMain::menuAction(const char *name) const {
    return menus_.get<QAction>(QString::fromLatin1(name));
}

void FrmMain::setClientSizeTwips(const TwipsSize &size) {
    const QSize clientPixels(twipsToPixels(size.width), twipsToPixels(size.height));
    resize(clientPixels.width(), clientPixels.height() + menuBar()->sizeHint().height());
    client_->resize(clientPixels);
    Form_Resize();
}

FindBox *FrmMain::findBox() const {
    return findBox_;
}

void FrmMain::buildToolbars() {
    const ImageList images(forms::frmMainImageList());
    for (const forms::ToolbarDef &def : forms::frmMainToolbars()) {
        if (auto *bar = controls_.get<ToolBar>(QString::fromLatin1(def.name)))
            bar->setButtons(def.buttons, images);
    }
    // Buttons that share their command with a menu entry show its key in
    // their tooltip; the Format menu's entries click the formatting switches.
    for (const forms::ToolbarDef &def : forms::frmMainToolbars()) {
        auto *bar = controls_.get<ToolBar>(QString::fromLatin1(def.name));
        for (const ToolButtonDef &button : def.buttons) {
            QAction *entry = button.menuEntry ? menuAction(button.menuEntry) : nullptr;
            if (!bar || !entry)
                continue;
            const QString key = QString::fromLatin1(button.key);
            bar->showShortcut(key, entry->shortcut());
            if (bar == toolbarEdit())
                connect(entry, &QAction::triggered, bar->button(key), &QAction::trigger);
        }
    }
    // The empty sheet is aligned left.
    showCaretAlignment();
    // The font lists lie over the space left for them on the formatting bar.
    for (QWidget *combo :
         {static_cast<QWidget *>(cmbFont()), static_cast<QWidget *>(cmbFontSize())})
        toolbarEdit()->placeOnPlaceholder(combo, forms::kFontComboPlaceholder);
}

void FrmMain::buildStatusBar() {
    statusBar_ = new QStatusBar(client_);
    statusBar_->setObjectName(QStringLiteral("StatusBar1"));
    statusBar_->setSizeGripEnabled(false);
    // One empty panel across the whole bar.
    auto *panel = new QLabel(statusBar_);
    panel->setObjectName(QStringLiteral("Panel1"));
    statusBar_->addWidget(panel, 1);
}

void FrmMain::Form_Load() {
    FillFontList(cmbFont());
}

void FrmMain::Form_Resize() {
    if (isMinimized())
        return;
    const TwipsSize inner = innerSizeTwips(client_);
    const std::optional<MainLayout> layout = mainLayoutFor(inner);
    if (!layout)
        return; // too small: keep the last layout
    setTwipsGeometry(txtMain(), layout->editor);
    setTwipsGeometry(controls_.widget(QStringLiteral("shapeTXT")), layout->border);

    // Controls aligned to the top and bottom edges follow the width.
    for (const char *name : kTopBands) {
        if (QWidget *band = controls_.widget(QString::fromLatin1(name))) {
            TwipsRect rect = twipsGeometry(band);
            rect.width = inner.width;
            setTwipsGeometry(band, rect);
        }
    }
    setTwipsGeometry(statusBar_,
                     {0, inner.height - kStatusBarHeight, inner.width, kStatusBarHeight});
}

void FrmMain::connectHints() {
    for (const MainHint &hint : kMainHints) {
        QWidget *widget = controls_.widget(QString::fromLatin1(hint.control));
        if (!widget)
            continue;
        widget->setMouseTracking(true);
        widget->installEventFilter(this);
        if (auto *area = qobject_cast<QAbstractScrollArea *>(widget)) {
            area->viewport()->setMouseTracking(true);
            area->viewport()->installEventFilter(this);
        }
    }
}

bool FrmMain::eventFilter(QObject *watched, QEvent *event) {
    if (watched == client_ && event->type() == QEvent::Resize) {
        Form_Resize();
        return false;
    }
    if (event->type() == QEvent::MouseMove) {
        QObject *control = watched;
        if (auto *viewport = qobject_cast<QWidget *>(watched);
            viewport && qobject_cast<QAbstractScrollArea *>(viewport->parentWidget()) &&
            qobject_cast<QAbstractScrollArea *>(viewport->parentWidget())->viewport() == viewport)
            control = viewport->parentWidget();
        for (const MainHint &hint : kMainHints) {
            if (control->objectName() == QLatin1String(hint.control)) {
                txtHelp()->setPlainText(QString::fromUtf8(hint.text));
                break;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void FrmMain::connectHandlers() {
    const auto onClick = [this](const char *name, void (FrmMain::*handler)()) {
        if (CommandButton *b = button(name))
            connect(b, &QPushButton::clicked, this, handler);
    };
    onClick("cmdGuide", &FrmMain::cmdGuide_Click);
    onClick("cmdFace", &FrmMain::cmdFace_Click);
    onClick("cmdReset", &FrmMain::cmdReset_Click);
    onClick("cmdHelp", &FrmMain::cmdHelp_Click);
    onClick("cmdAbout", &FrmMain::cmdAbout_Click);
    onClick("cmdExit", &FrmMain::cmdExit_Click);

    const auto onMenu = [this](const char *name, void (FrmMain::*handler)()) {
        if (QAction *action = menuAction(name))
            connect(action, &QAction::triggered, this, handler);
    };
    onMenu("mnuExit", &FrmMain::mnuExit_Click);
    onMenu("mnuFileNew", &FrmMain::cmdGuide_Click);
    onMenu("mnuFileOpen", &FrmMain::tbOpen_Click);
    onMenu("mnuFileSave", &FrmMain::mnuFileSave_Click);
    onMenu("mnuFilePrint", &FrmMain::mnuFilePrint_Click);
    onMenu("mnuFilePreview", &FrmMain::mnuFilePreview_Click);
    onMenu("mnuFilePdf", &FrmMain::mnuFilePdf_Click);
    onMenu("mnuFileAnswerKey", &FrmMain::mnuFileAnswerKey_Click);
    onMenu("mnuHelp", &FrmMain::cmdHelp_Click);
    onMenu("mnuAboutAbout", &FrmMain::cmdAbout_Click);
    onMenu("mnuEditUndo", &FrmMain::mnuEditUndo_Click);
    onMenu("mnuEditRedo", &FrmMain::mnuEditRedo_Click);
    onMenu("mnuEditCut", &FrmMain::mnuEditCut_Click);
    onMenu("mnuEditCopy", &FrmMain::mnuEditCopy_Click);
    onMenu("mnuEditPaste", &FrmMain::mnuEditPaste_Click);
    onMenu("mnuEditFind", &FrmMain::mnuEditFind_Click);
    onMenu("mnuEditSelectAll", &FrmMain::mnuEditSelectAll_Click);
    onMenu("mnuHome", &FrmMain::mnuHome_Click);
    onMenu("mnuWriteTo", &FrmMain::mnuWriteTo_Click);
    onMenu("mnuReportErr", &FrmMain::mnuReportErr_Click);
    onMenu("mnuGbook", &FrmMain::mnuGbook_Click);
    onMenu("mnuPracticeRecord", &FrmMain::mnuPracticeRecord_Click);
    onMenu("mnuFileSettings", &FrmMain::mnuFileSettings_Click);
    onMenu("mnuPracticeSettings", &FrmMain::mnuPracticeSettings_Click);
    onMenu("mnuPracticeMastery", &FrmMain::mnuPracticeMastery_Click);
    onMenu("mnuPracticeReview", &FrmMain::mnuPracticeReview_Click);
    onMenu("mnuPracticePupilAdd", &FrmMain::mnuPracticePupilAdd_Click);
    onMenu("mnuPracticePupilRename", &FrmMain::mnuPracticePupilRename_Click);
    onMenu("mnuPracticePupilRemove", &FrmMain::mnuPracticePupilRemove_Click);
    if (QAction *pupils = menuAction("mnuPracticePupil")) {
        // The pupils as they are when the menu opens; the entry itself names
        // the current one whenever the 练习 menu opens.
        auto *menu = new QMenu(this);
        menu->setObjectName(QStringLiteral("mnuPracticePupilMenu"));
        pupils->setMenu(menu);
        connect(menu, &QMenu::aboutToShow, this,
                [menu] { fillPupilMenu(*menu, practiceRecord()); });
        if (auto *practice = menus_.get<QMenu>(QStringLiteral("mnuPractice")))
            connect(practice, &QMenu::aboutToShow, this,
                    [pupils] { pupils->setText(currentPupilCaption(practiceRecord())); });
    }
    if (QAction *presets = menuAction("mnuPracticePreset")) {
        // The presets as they are when the menu opens, the user's included.
        auto *menu = new QMenu(this);
        menu->setObjectName(QStringLiteral("mnuPracticePresetMenu"));
        presets->setMenu(menu);
        connect(menu, &QMenu::aboutToShow, this, [this, menu] {
            menu->clear();
            for (const QString &name : presetNames())
                connect(menu->addAction(name), &QAction::triggered, this,
                        [this, name] { practisePreset(name); });
        });
    }

    connect(toolbarSYSTEM(), &ToolBar::buttonClick, this, &FrmMain::toolbarSYSTEM_ButtonClick);
    connect(toolbarEdit(), &ToolBar::buttonClick, this, &FrmMain::toolbarEdit_ButtonClick);
    connect(cmbFont(), &QComboBox::activated, this, &FrmMain::cmbFont_Click);
    connect(cmbFontSize(), &QComboBox::activated, this, &FrmMain::cmbFontSize_Click);

    // The formatting tools show the format at the caret.
    RichTextBox *editor = txtMain();
    connect(editor, &QTextEdit::cursorPositionChanged, this, &FrmMain::showCaretFormat);
    connect(editor, &QTextEdit::selectionChanged, this, &FrmMain::showCaretFormat);
    connect(editor, &QTextEdit::currentCharFormatChanged, this, &FrmMain::showCaretFormat);
    connect(editor, &QTextEdit::textChanged, this, &FrmMain::showCaretFormat);

    QTextDocument *sheet = txtMain()->document();
    connect(sheet, &QTextDocument::undoAvailable, this, &FrmMain::updateUndoRedo);
    connect(sheet, &QTextDocument::redoAvailable, this, &FrmMain::updateUndoRedo);
}

void FrmMain::updateUndoRedo() {
    // Undo and redo are greyed while there is nothing to undo or redo.
    const auto enable = [this](const char *key, const char *entry, bool on) {
        if (QAction *button = toolbarSYSTEM()->button(QString::fromLatin1(key)))
            button->setEnabled(on);
        if (QAction *action = menuAction(entry))
            action->setEnabled(on);
    };
    const QTextDocument *sheet = txtMain()->document();
    enable("tbUndo", "mnuEditUndo", sheet->isUndoAvailable());
    enable("tbRedo", "mnuEditRedo", sheet->isRedoAvailable());
}

void FrmMain::showCaretFormat() {
    // One reading of the selection serves every button and box.
    const RichTextBox::CharFormatState state = txtMain()->selCharFormat();
    for (const auto &[key, format] : kToggleKeys) {
        if (QAction *button = toolbarEdit()->button(QLatin1String(key)))
            button->setChecked((state.*format->state).value_or(false));
    }
    showCaretAlignment();
    // A mixed selection leaves the boxes blank.
    const auto show = [](QComboBox *box, const std::optional<QString> &text) {
        const QString shown = text.value_or(QString());
        if (box->currentText() != shown)
            box->setEditText(shown);
    };
    show(cmbFont(), state.fontName);
    show(cmbFontSize(), edit::fontSizeText(state.fontSize));
}

void FrmMain::showCaretAlignment() {
    // A selection over paragraphs aligned differently presses none.
    const std::optional<int> alignment = txtMain()->selAlignment();
    for (const auto &[key, code] : kAlignmentKeys) {
        if (QAction *button = toolbarEdit()->button(QLatin1String(key)))
            button->setChecked(alignment == code);
    }
}

void FrmMain::cmdGuide_Click() {
    frmGuide().showModal();
}

void FrmMain::cmdFace_Click() {
    frmFace().showModal();
}

void FrmMain::cmdReset_Click() {
    // An empty sheet stays as it is, so that undo has no empty step to take.
    if (!txtMain()->document()->isEmpty())
        txtMain()->setText(QString());
}

void FrmMain::cmdHelp_Click() {
    frmHelp().showModal();
}

void FrmMain::cmdAbout_Click() {
    frmAbout().showModal();
}

void FrmMain::cmdExit_Click() {
    // Ends at once, without unloading, once unsaved edits are dealt with.
    if (offerToSaveSheet(*this))
        endProcess();
}

void FrmMain::mnuExit_Click() {
    if (!offerToSaveSheet(*this))
        return;
    UnloadAllForms();
    endProcess();
}

void FrmMain::mnuFileSave_Click() {
    saveSheet(*this);
}

void FrmMain::mnuFilePrint_Click() {
    printSheet(*this);
}

void FrmMain::mnuFilePreview_Click() {
    previewSheet(*this);
}

void FrmMain::mnuFilePdf_Click() {
    exportPdf(*this);
}

void FrmMain::mnuFileAnswerKey_Click() {
    addAnswerPage(*this);
}

void FrmMain::tbOpen_Click() {
    openSheet(*this);
}

void FrmMain::mnuPracticeRecord_Click() {
    frmRecord().showModal();
}

namespace {

// The wizard's ticks, ranges and counts as they stand, or a fresh wizard's.
SheetSettings wizardSheetPart() {
    return isFormLoaded(FormId::Guide) ? frmGuide().sheetPart() : SheetSettings::initial();
}

void practise(const SheetSettings &settings) {
    FrmFace &face = frmFace();
    if (face.startPractice(settings))
        face.showModal();
}

} // namespace

void FrmMain::mnuFileSettings_Click() {
    frmSettings().editSettings(wizardSheetPart());
}

void FrmMain::mnuPracticeMastery_Click() {
    FrmMastery map(practiceRecord(), this);
    map.showModal();
}

void FrmMain::mnuPracticeReview_Click() {
    FrmFace &face = frmFace();
    if (face.startReview())
        face.showModal();
}

void FrmMain::mnuPracticePupilAdd_Click() {
    addPupil(this, practiceRecord());
}

void FrmMain::mnuPracticePupilRename_Click() {
    renameCurrentPupil(this, practiceRecord());
}

void FrmMain::mnuPracticePupilRemove_Click() {
    removeCurrentPupil(this, practiceRecord());
}

void FrmMain::mnuPracticeSettings_Click() {
    practise(wizardSheetPart().withRulesOf(loadCurrentSettings()));
}

void FrmMain::practisePreset(const QString &name) {
    if (const std::optional<Preset> preset = findPreset(name))
        practise(preset->settings);
}

void FrmMain::mnuEditUndo_Click() {
    txtMain()->undo();
}

void FrmMain::mnuEditRedo_Click() {
    txtMain()->redo();
}

void FrmMain::mnuEditCut_Click() {
    edit::cutToClipboard(*txtMain(), clipboard());
}

void FrmMain::mnuEditCopy_Click() {
    edit::copyToClipboard(*txtMain(), clipboard());
}

void FrmMain::mnuEditPaste_Click() {
    edit::pasteFromClipboard(*txtMain(), clipboard());
}

void FrmMain::mnuEditSelectAll_Click() {
    txtMain()->selectAll();
}

void FrmMain::mnuEditFind_Click() {
    if (!findBox_)
        findBox_ = new FindBox(txtMain(), this);
    findBox_->showFor(txtMain()->selText());
}

void FrmMain::mnuHome_Click() {
    shellExecute(homePageRequest(this));
}

void FrmMain::mnuWriteTo_Click() {
    shellExecute(mailRequest(this, QString::fromUtf8(kFriendSubject), programFolder()));
}

void FrmMain::mnuReportErr_Click() {
    shellExecute(mailRequest(this, QString::fromUtf8(kErrorReportSubject), programFolder()));
}

void FrmMain::mnuGbook_Click() {
    shellExecute(guestbookRequest(this));
}

void FrmMain::toolbarSYSTEM_ButtonClick(const QAction *button) {
    if (const auto *handler = lookUpKey(kSystemKeys, button->objectName()))
        (this->**handler)();
}

void FrmMain::toolbarEdit_ButtonClick(const QAction *button) {
    const QString key = button->objectName();
    if (const auto *format = lookUpKey(kToggleKeys, key))
        edit::toggle(*txtMain(), **format);
    else if (const int *code = lookUpKey(kAlignmentKeys, key))
        txtMain()->setSelAlignment(*code);
}

void FrmMain::cmbFont_Click() {
    txtMain()->setSelFontName(cmbFont()->currentText());
    txtMain()->setFocus();
}

void FrmMain::cmbFontSize_Click() {
    txtMain()->setSelFontSize(cmbFontSize()->currentText());
    txtMain()->setFocus();
}

void FrmMain::formUnload() {
    UnloadAllForms();
    endProcess();
}

void FrmMain::closeEvent(QCloseEvent *event) {
    // Closing the window unloads every window in the fixed order, this one
    // included, and ends the process; only the user's "取消" to saving
    // unsaved edits keeps it open.
    if (!offerToSaveSheet(*this)) {
        event->ignore();
        return;
    }
    event->accept();
    UnloadAllForms();
    endProcess();
}

} // namespace drillpad
