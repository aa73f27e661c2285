#pragma once

#include "platform/seam.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <map>

namespace drillpad {

// The system registry as its three read calls see it (open a key, query one
// of its values, close it), with the system's result codes, value types and
// sizes. Names travel in the system's ANSI code page; value data land in the
// caller's buffer.
namespace reg {

// An open key, or one of the predefined root keys.
using Key = std::uintptr_t;
// 0 on success, otherwise a system error code.
using Result = std::int32_t;

// Root keys are 32-bit constants, sign-extended to the handle's width as the
// system does.
inline constexpr Key kLocalMachine =
    static_cast<Key>(static_cast<std::intptr_t>(static_cast<std::int32_t>(0x80000002u)));

inline constexpr Result kSuccess = 0;
inline constexpr Result kFileNotFound = 2;
inline constexpr Result kAccessDenied = 5;
inline constexpr Result kInvalidHandle = 6;
inline constexpr Result kMoreData = 234; // the buffer is too small

// Value types.
inline constexpr std::uint32_t kSz = 1;       // text
inline constexpr std::uint32_t kExpandSz = 2; // text with environment references
inline constexpr std::uint32_t kBinary = 3;
inline constexpr std::uint32_t kDword = 4; // 32-bit number, least significant byte first

// Access rights of an open key.
inline constexpr std::uint32_t kQueryValue = 0x0001;
inline constexpr std::uint32_t kSetValue = 0x0002;
inline constexpr std::uint32_t kCreateSubKey = 0x0004;
inline constexpr std::uint32_t kEnumerateSubKeys = 0x0008;
inline constexpr std::uint32_t kNotify = 0x0010;
inline constexpr std::uint32_t kCreateLink = 0x0020;
inline constexpr std::uint32_t kReadControl = 0x20000;
inline constexpr std::uint32_t kRead = kReadControl | kQueryValue | kEnumerateSubKeys | kNotify;

} // namespace reg

// Where the system-information tool is registered under HKEY_LOCAL_MACHINE:
// its full path, or else the folder that holds it.
namespace sysinfo {
inline constexpr const char *kPathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline constexpr const char *kPathValue = "PATH";
inline constexpr const char *kFolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
inline constexpr const char *kFolderValue = "MSINFO";
// Appended to the folder as it is, whatever the folder ends with.
inline constexpr const char *kProgramFile = "\\MSINFO32.EXE";
} // namespace sysinfo

class Registry {
public:
    virtual ~Registry() = default;

    // Opens `subKey` under `root`; on success stores the open key in *opened.
    virtual reg::Result openKeyEx(reg::Key root, const QByteArray &subKey, std::uint32_t options,
                                  std::uint32_t access, reg::Key *opened) = 0;

    // Reads the value `valueName` of an open key. On entry *size is the size
    // of `data` in bytes; on return it is the number of bytes stored, or the
    // number needed when the result is reg::kMoreData. *type receives the
    // value type. A null `data` asks for the type and size only.
    virtual reg::Result queryValueEx(reg::Key key, const QByteArray &valueName, std::uint32_t *type,
                                     char *data, std::uint32_t *size) = 0;

    virtual reg::Result closeKey(reg::Key key) = 0;
};

// The registry of this system (see Seam<Registry>::real()).
Registry &registry();

// On systems without a registry: a store that answers from small INI files of
// the product and, for the full path of the system-information program, from
// the first such program installed. Every value it holds is text (reg::kSz),
// stored with its terminating zero byte as the registry stores text.
//
// File format (UTF-8): a section per key, named by its full path under
// HKEY_LOCAL_MACHINE, and a line "name=value" per value; names compare
// without regard to case; lines starting with ';' or '#' are comments.
//
//   [SOFTWARE\Microsoft\Shared Tools\MSINFO]
//   PATH=/usr/bin/hardinfo
//
// Each value is taken from the first file in the list that has it. The files
// are read afresh each time a key is opened.
class IniRegistryStore final : public Registry {
public:
    // Returns the full path of an installed program, or an empty text.
    using ProgramFinder = std::function<QString(const QString &name)>;

    IniRegistryStore(QStringList iniFiles, ProgramFinder findProgram);

    // The files the program reads, in order: drillpad-sysinfo.ini in the
    // user's configuration folder, in the system's configuration folders,
    // and next to the program.
    static QStringList defaultIniFiles();
    // System-information programs tried, in order, when no file names one.
    static QStringList sysInfoPrograms();

    reg::Result openKeyEx(reg::Key root, const QByteArray &subKey, std::uint32_t options,
                          std::uint32_t access, reg::Key *opened) override;
    reg::Result queryValueEx(reg::Key key, const QByteArray &valueName, std::uint32_t *type,
                             char *data, std::uint32_t *size) override;
    reg::Result closeKey(reg::Key key) override;

    // Keys opened and not yet closed.
    int openKeyCount() const { return static_cast<int>(open_.size()); }

private:
    // Values of one key, by lower-case name.
    using Values = QHash<QByteArray, QByteArray>;

    Values valuesOf(const QByteArray &subKey) const;

    QStringList iniFiles_;
    ProgramFinder findProgram_;
    std::map<reg::Key, Values> open_;
    reg::Key nextKey_ = 1;
};

} // namespace drillpad
