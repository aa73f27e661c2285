#pragma once

#include "controls/form_dialog.h"
#include "forms/form_builder.h"
#include "platform/registry.h"

#include <QString>

#include <optional>
#include <stdexcept>

class QLabel;

namespace drillpad {

class CommandButton;

// Raised by FrmAbout::GetKeyValue when a value was found but holds no data
// at all: it cannot be taken as text, and the whole search for the
// system-information tool fails with it.
class EmptyKeyValue : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The About box: the program icon, title, version, a description and a
// notice; OK closes it and "系统信息[&S]" starts the system's information
// tool, found through the registry.
class FrmAbout : public FormDialog {
    Q_OBJECT
public:
    FrmAbout();

    QLabel *label(const char *name) const;
    CommandButton *button(const char *name) const;
    const forms::ControlMap &controls() const { return controls_; }

    // Starts the system-information tool without waiting for it, or shows
    // "此时系统信息不可用"; the box stays open either way.
    void StartSysInfo();

    // Reads the value `SubKeyRef` of the key `KeyName` under `KeyRoot`.
    // Text is stored in KeyVal as it is (less one terminating zero), a
    // 32-bit number as signed decimal text; a value of any other type leaves
    // KeyVal as it was. Returns true when the value was read. When the key
    // cannot be opened or the value cannot be read (missing, or longer than
    // 1024 bytes), KeyVal becomes empty and the result is false. Throws
    // EmptyKeyValue for a value of zero length. The key is always closed.
    static bool GetKeyValue(reg::Key KeyRoot, const QString &KeyName, const QString &SubKeyRef,
                            QString &KeyVal);

    void cmdOK_Click();
    void cmdSysInfo_Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    void showProgramIcon();
    // The full path of the system-information tool as the registry gives
    // it, or nothing when it names none.
    static std::optional<QString> sysInfoPath();

    forms::ControlMap controls_;
};

} // namespace drillpad
