#include "about/frm_help.h"

#include "app/forms_registry.h"
#include "controls/rich_text_box.h"
#include "controls/shape.h"
#include "forms/frm_help_def.h"

#include "version.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace drillpad {

namespace {
constexpr float kViewerMargin = 24.0f;
}

std::optional<HelpLayout> helpLayoutFor(TwipsSize inner, TwipsSize previousViewer) {
    if (!(inner.width >= kViewerMargin) || !(inner.height >= kViewerMargin))
        return std::nullopt;
    HelpLayout layout;
    layout.outline = {8.0f, 8.0f, previousViewer.width + 2.0f, previousViewer.height + 2.0f};
    layout.viewer = {layout.outline.left + 1.0f, layout.outline.top + 1.0f,
                     inner.width - kViewerMargin, inner.height - kViewerMargin};
    return layout;
}

FrmHelp::FrmHelp() {
    const forms::FormDef &def = forms::frmHelpDef();
    forms::applyWindowDef(def, this, this);
    controls_ = forms::buildControls(def, this);
    forms::applyTabOrder(def, controls_);
    // Nothing typed here is ever saved: the manual is for reading.
    txtHelp()->setReadOnly(true);
    txtHelp()->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Form_Load();
}

RichTextBox *FrmHelp::txtHelp() const {
    return controls_.get<RichTextBox>(QStringLiteral("txtHelp"));
}

ShapeWidget *FrmHelp::shapeHelp() const {
    return controls_.get<ShapeWidget>(QStringLiteral("shapeHelp"));
}

QString FrmHelp::documentPath(const QString &programFolder) {
    const QString besideProgram = programFolder + QStringLiteral("/help.rtf");
    const QString installed =
        QDir::cleanPath(programFolder + QLatin1Char('/') +
                        QLatin1String(product::kDataFromProgram) + QStringLiteral("/help.rtf"));
    if (!QFileInfo::exists(besideProgram) && QFileInfo::exists(installed))
        return installed;
    return besideProgram;
}

QString FrmHelp::documentPath() {
    return documentPath(QCoreApplication::applicationDirPath());
}

void FrmHelp::Form_Load() {
    // A missing, unreadable or damaged manual leaves the viewer empty; the
    // window stays usable and says nothing.
    txtHelp()->loadFile(documentPath());
}

void FrmHelp::Form_Resize() {
    if (isMinimized())
        return;
    const TwipsRect viewer = twipsGeometry(txtHelp());
    const std::optional<HelpLayout> layout =
        helpLayoutFor(innerSizeTwips(this), {viewer.width, viewer.height});
    if (!layout)
        return;
    setTwipsGeometry(shapeHelp(), layout->outline);
    setTwipsGeometry(txtHelp(), layout->viewer);
}

void FrmHelp::resizeEvent(QResizeEvent *event) {
    FormDialog::resizeEvent(event);
    Form_Resize();
}

void FrmHelp::changeEvent(QEvent *event) {
    FormDialog::changeEvent(event);
    // Coming back from the minimised state lays the window out again.
    if (event->type() == QEvent::WindowStateChange && !isMinimized())
        Form_Resize();
}

void FrmHelp::closeEvent(QCloseEvent *event) {
    event->accept();
    unloadForm(FormId::Help);
}

} // namespace drillpad
