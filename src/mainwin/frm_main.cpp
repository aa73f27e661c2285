#include "mainwin/frm_main.h"

#include "about/frm_about.h"
#include "about/frm_help.h"
#include "controls/command_button.h"
#include "controls/process.h"
#include "controls/rich_text_box.h"
#include "forms/frm_main_def.h"
#include "guide/frm_guide.h"
#include "mainwin/font_list.h"
#include "mainwin/forms_registry.h"
#include "mainwin/main_hints.h"
#include "mainwin/main_layout.h"
#include "mainwin/sheet_file.h"
#include "quiz/frm_face.h"

#include <QAbstractScrollArea>
#include <QCloseEvent>
#include <QComboBox>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>

namespace drillpad {

namespace {
// The status bar sits in the band below the editor.
constexpr float kStatusBarHeight = 255.0f;
// The two toolbars fill the band above the editor.
constexpr const char *kTopBands[] = {"toolbarSYSTEM", "toolbarEdit"};
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

    statusBar_ = new QStatusBar(client_);
    statusBar_->setObjectName(QStringLiteral("StatusBar1"));
    statusBar_->setSizeGripEnabled(false);

    // The border lies beneath the editor.
    if (QWidget *shape = controls_.widget(QStringLiteral("shapeTXT")))
        shape->lower();

    client_->installEventFilter(this);
    connectHints();
    connectHandlers();
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

CommandButton *FrmMain::button(const char *name) const {
    return controls_.get<CommandButton>(QString::fromLatin1(name));
}

QAction *FrmMain::menuAction(const char *name) const {
    return menus_.get<QAction>(QString::fromLatin1(name));
}

void FrmMain::setClientSizeTwips(const TwipsSize &size) {
    const QSize clientPixels(twipsToPixels(size.width), twipsToPixels(size.height));
    const int menuHeight =
        menuBar()->isVisible() || !isVisible() ? menuBar()->sizeHint().height() : 0;
    resize(clientPixels.width(), clientPixels.height() + menuHeight);
    client_->resize(clientPixels);
    Form_Resize();
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
    onMenu("mnuFileSave", &FrmMain::mnuFileSave_Click);
    onMenu("mnuFilePrint", &FrmMain::mnuFilePrint_Click);
    onMenu("mnuHelp", &FrmMain::cmdHelp_Click);
    onMenu("mnuAboutAbout", &FrmMain::cmdAbout_Click);
}

void FrmMain::cmdGuide_Click() {
    frmGuide().showModal();
}

void FrmMain::cmdFace_Click() {
    frmFace().showModal();
}

void FrmMain::cmdReset_Click() {
    txtMain()->setText(QString());
}

void FrmMain::cmdHelp_Click() {
    frmHelp().showModal();
}

void FrmMain::cmdAbout_Click() {
    frmAbout().showModal();
}

void FrmMain::cmdExit_Click() {
    endProcess();
}

void FrmMain::mnuExit_Click() {
    UnloadAllForms();
    endProcess();
}

void FrmMain::mnuFileSave_Click() {
    saveSheet(*this);
}

void FrmMain::mnuFilePrint_Click() {
    printSheet(*this);
}

void FrmMain::formUnload() {
    UnloadAllForms();
    endProcess();
}

void FrmMain::closeEvent(QCloseEvent *event) {
    // Closing the window unloads every window in the fixed order, this one
    // included, and ends the process; it is never cancelled.
    event->accept();
    UnloadAllForms();
    endProcess();
}

} // namespace drillpad
