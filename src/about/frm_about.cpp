#include "about/frm_about.h"

#include "app/forms_registry.h"
#include "controls/command_button.h"
#include "controls/message_box.h"
#include "forms/frm_about_def.h"
#include "platform/program_starter.h"
#include "version.h"

#include <QCloseEvent>
#include <QIcon>
#include <QLabel>

#include <algorithm>
#include <array>

namespace drillpad {

namespace {

// Keys are opened with read-control, query-value, set-value,
// create-subkey, enumerate-subkeys, notify and create-link rights.
constexpr std::uint32_t kOpenAccess = reg::kReadControl | reg::kQueryValue | reg::kSetValue |
                                      reg::kCreateSubKey | reg::kEnumerateSubKeys | reg::kNotify |
                                      reg::kCreateLink;
static_assert(kOpenAccess == 0x2003F);

constexpr std::uint32_t kValueBufferSize = 1024;

// The program icon is shown at this size, in pixels.
constexpr int kIconPixels = 65;

// A 32-bit number stored least significant byte first.
std::int32_t dwordOf(const std::array<char, kValueBufferSize> &data) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(data[static_cast<std::size_t>(i)]);
    return static_cast<std::int32_t>(value);
}

} // namespace

FrmAbout::FrmAbout() {
    const forms::FormDef &def = forms::frmAboutDef();
    forms::applyWindowDef(def, this, this);
    controls_ = forms::buildControls(def, this);
    forms::applyTabOrder(def, controls_);
    showProgramIcon();

    connect(button("cmdOK"), &QPushButton::clicked, this, &FrmAbout::cmdOK_Click);
    connect(button("cmdSysInfo"), &QPushButton::clicked, this, &FrmAbout::cmdSysInfo_Click);
    Form_Load();
}

QLabel *FrmAbout::label(const char *name) const {
    return controls_.get<QLabel>(QString::fromLatin1(name));
}

CommandButton *FrmAbout::button(const char *name) const {
    return controls_.get<CommandButton>(QString::fromLatin1(name));
}

void FrmAbout::Form_Load() {
    const QString title = QString::fromLatin1(kAppTitle);
    setWindowTitle(QStringLiteral("关于 ") + title);
    label("lblVersion")
        ->setText(QStringLiteral("版本 %1.%2.%3")
                      .arg(version::kMajor)
                      .arg(version::kMinor)
                      .arg(version::kRevision));
    label("lblTitle")->setText(title);
}

void FrmAbout::showProgramIcon() {
    const forms::ControlDef *def = forms::findControl(forms::frmAboutDef(), "picIcon");
    QLabel *picIcon = label("picIcon");
    const QSize size(kIconPixels, kIconPixels);
    picIcon->setPixmap(QIcon(QString::fromUtf8(def->picture)).pixmap(size, devicePixelRatioF()));
    // The picture box takes the size of its picture.
    setTwipsGeometry(picIcon, {def->rect.left, def->rect.top, pixelsToTwips(size.width()),
                               pixelsToTwips(size.height())});
}

void FrmAbout::cmdOK_Click() {
    unloadForm(FormId::About);
}

void FrmAbout::cmdSysInfo_Click() {
    StartSysInfo();
}

void FrmAbout::closeEvent(QCloseEvent *event) {
    // The close box unloads the box, as OK does.
    event->accept();
    unloadForm(FormId::About);
}

void FrmAbout::StartSysInfo() {
    bool started = false;
    try {
        const std::optional<QString> path = sysInfoPath();
        started = path && startProgram(*path);
    } catch (const EmptyKeyValue &) {
        started = false;
    }
    if (!started)
        showMessage(this, QStringLiteral("此时系统信息不可用"));
}

std::optional<QString> FrmAbout::sysInfoPath() {
    QString SysInfoPath;
    if (GetKeyValue(reg::kLocalMachine, QString::fromLatin1(sysinfo::kPathKey),
                    QString::fromLatin1(sysinfo::kPathValue), SysInfoPath))
        return SysInfoPath;
    if (!GetKeyValue(reg::kLocalMachine, QString::fromLatin1(sysinfo::kFolderKey),
                     QString::fromLatin1(sysinfo::kFolderValue), SysInfoPath))
        return std::nullopt;
    SysInfoPath += QString::fromLatin1(sysinfo::kProgramFile);
    if (!fileExists(SysInfoPath))
        return std::nullopt;
    return SysInfoPath;
}

bool FrmAbout::GetKeyValue(reg::Key KeyRoot, const QString &KeyName, const QString &SubKeyRef,
                           QString &KeyVal) {
    Registry &registry = drillpad::registry();
    const QByteArray keyName = KeyName.toLocal8Bit();
    reg::Key hKey = 0;
    reg::Result rc = registry.openKeyEx(KeyRoot, keyName, 0, kOpenAccess, &hKey);
    // Ordinary users are refused write rights on HKEY_LOCAL_MACHINE; reading
    // the value needs no more than read rights.
    if (rc == reg::kAccessDenied)
        rc = registry.openKeyEx(KeyRoot, keyName, 0, reg::kRead, &hKey);
    if (rc != reg::kSuccess) {
        KeyVal.clear();
        return false;
    }

    std::array<char, kValueBufferSize> tmpVal{};
    std::uint32_t KeyValSize = kValueBufferSize;
    std::uint32_t KeyValType = 0;
    rc = registry.queryValueEx(hKey, SubKeyRef.toLocal8Bit(), &KeyValType, tmpVal.data(),
                               &KeyValSize);
    registry.closeKey(hKey);
    if (rc != reg::kSuccess) {
        KeyVal.clear();
        return false;
    }

    // Never trust a size beyond the buffer.
    const std::uint32_t size = std::min(KeyValSize, kValueBufferSize);
    if (size == 0)
        throw EmptyKeyValue("the registry value holds no data");
    QByteArray text(tmpVal.data(), static_cast<qsizetype>(size));
    if (text.endsWith('\0'))
        text.chop(1);

    switch (KeyValType) {
    case reg::kSz:
        KeyVal = QString::fromLocal8Bit(text);
        break;
    case reg::kDword:
        KeyVal = QString::number(dwordOf(tmpVal));
        break;
    default:
        break; // other types leave KeyVal as it was
    }
    return true;
}

} // namespace drillpad
