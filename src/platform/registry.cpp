#include "platform/registry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cstring>
#include <utility>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif

namespace drillpad {

namespace {

constexpr const char *kIniFileName = "drillpad-sysinfo.ini";

bool sameName(const QByteArray &a, const QByteArray &b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Adds the values of the section `section` of an INI file to `values`,
// keeping those already there. A file that cannot be read adds nothing.
void readSection(const QString &path, const QByteArray &section,
                 QHash<QByteArray, QByteArray> &values) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    bool inSection = false;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(';') || line.startsWith('#'))
            continue;
        if (line.startsWith('[') && line.endsWith(']')) {
            inSection = sameName(line.mid(1, line.size() - 2).trimmed(), section);
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (!inSection || equals <= 0)
            continue;
        const QByteArray name = line.left(equals).trimmed().toLower();
        if (!values.contains(name))
            values.insert(name, line.mid(equals + 1).trimmed());
    }
}

#ifdef Q_OS_WIN
class WindowsRegistry final : public Registry {
public:
    reg::Result openKeyEx(reg::Key root, const QByteArray &subKey, std::uint32_t options,
                          std::uint32_t access, reg::Key *opened) override {
        HKEY key = nullptr;
        const LONG result = ::RegOpenKeyExA(reinterpret_cast<HKEY>(root), subKey.constData(),
                                            options, access, &key);
        if (result == ERROR_SUCCESS)
            *opened = reinterpret_cast<reg::Key>(key);
        return result;
    }

    reg::Result queryValueEx(reg::Key key, const QByteArray &valueName, std::uint32_t *type,
                             char *data, std::uint32_t *size) override {
        DWORD valueType = 0;
        DWORD bytes = *size;
        const LONG result =
            ::RegQueryValueExA(reinterpret_cast<HKEY>(key), valueName.constData(), nullptr,
                               &valueType, reinterpret_cast<LPBYTE>(data), &bytes);
        *type = valueType;
        *size = bytes;
        return result;
    }

    reg::Result closeKey(reg::Key key) override {
        return ::RegCloseKey(reinterpret_cast<HKEY>(key));
    }
};
#endif

} // namespace

IniRegistryStore::IniRegistryStore(QStringList iniFiles, ProgramFinder findProgram)
    : iniFiles_(std::move(iniFiles)), findProgram_(std::move(findProgram)) {}

QStringList IniRegistryStore::defaultIniFiles() {
    QStringList files;
    const QStringList folders =
        QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation) +
        QStringList{QCoreApplication::applicationDirPath()};
    for (const QString &folder : folders) {
        if (!folder.isEmpty())
            files << QDir(folder).filePath(QString::fromLatin1(kIniFileName));
    }
    return files;
}

QStringList IniRegistryStore::sysInfoPrograms() {
    return {QStringLiteral("hardinfo"), QStringLiteral("hardinfo2"), QStringLiteral("kinfocenter"),
            QStringLiteral("gnome-system-monitor")};
}

IniRegistryStore::Values IniRegistryStore::valuesOf(const QByteArray &subKey) const {
    Values values;
    for (const QString &file : iniFiles_)
        readSection(file, subKey, values);

    const QByteArray pathValue = QByteArray(sysinfo::kPathValue).toLower();
    if (sameName(subKey, sysinfo::kPathKey) && !values.contains(pathValue) && findProgram_) {
        for (const QString &program : sysInfoPrograms()) {
            const QString path = findProgram_(program);
            if (!path.isEmpty()) {
                values.insert(pathValue, path.toLocal8Bit());
                break;
            }
        }
    }
    return values;
}

reg::Result IniRegistryStore::openKeyEx(reg::Key root, const QByteArray &subKey, std::uint32_t,
                                        std::uint32_t, reg::Key *opened) {
    if (root != reg::kLocalMachine || !opened)
        return reg::kInvalidHandle;
    Values values = valuesOf(subKey);
    if (values.isEmpty())
        return reg::kFileNotFound;
    *opened = nextKey_++;
    open_.emplace(*opened, std::move(values));
    return reg::kSuccess;
}

reg::Result IniRegistryStore::queryValueEx(reg::Key key, const QByteArray &valueName,
                                           std::uint32_t *type, char *data, std::uint32_t *size) {
    const auto found = open_.find(key);
    if (found == open_.end() || !size)
        return reg::kInvalidHandle;
    const auto value = found->second.constFind(valueName.toLower());
    if (value == found->second.constEnd())
        return reg::kFileNotFound;

    // Text is stored with its terminating zero byte.
    const auto needed = static_cast<std::uint32_t>(value->size() + 1);
    if (type)
        *type = reg::kSz;
    if (data && *size < needed) {
        *size = needed;
        return reg::kMoreData;
    }
    if (data)
        std::memcpy(data, value->constData(), needed); // includes the zero byte
    *size = needed;
    return reg::kSuccess;
}

reg::Result IniRegistryStore::closeKey(reg::Key key) {
    return open_.erase(key) ? reg::kSuccess : reg::kInvalidHandle;
}

template <> Registry &Seam<Registry>::real() {
#ifdef Q_OS_WIN
    static WindowsRegistry registry;
#else
    static IniRegistryStore registry(IniRegistryStore::defaultIniFiles(), [](const QString &name) {
        return QStandardPaths::findExecutable(name);
    });
#endif
    return registry;
}

Registry &registry() {
    return Seam<Registry>::get();
}

} // namespace drillpad
