#pragma once

#include "controls/program_starter.h"
#include "controls/registry.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QSet>
#include <QStringList>

#include <cstring>

namespace drillpad::testing {

// A registry held in memory that records every call made on it.
class FakeRegistry final : public Registry {
public:
    struct Value {
        std::uint32_t type = reg::kSz;
        QByteArray data;
    };
    struct OpenCall {
        reg::Key root = 0;
        QByteArray key;
        std::uint32_t options = 0;
        std::uint32_t access = 0;
    };

    // Stores text as the registry does, with its terminating zero byte.
    void setText(const QByteArray &key, const QByteArray &name, const QByteArray &text) {
        setValue(key, name, reg::kSz, text + QByteArray(1, '\0'));
    }
    void setValue(const QByteArray &key, const QByteArray &name, std::uint32_t type,
                  const QByteArray &data) {
        keys[key][name] = Value{type, data};
    }
    void addKey(const QByteArray &key) { keys[key]; }

    reg::Result openKeyEx(reg::Key root, const QByteArray &subKey, std::uint32_t options,
                          std::uint32_t access, reg::Key *opened) override {
        opens << OpenCall{root, subKey, options, access};
        if (access & deniedRights)
            return reg::kAccessDenied;
        if (root != reg::kLocalMachine || !keys.contains(subKey))
            return reg::kFileNotFound;
        *opened = nextKey_++;
        openKeys.insert(*opened, subKey);
        return reg::kSuccess;
    }

    reg::Result queryValueEx(reg::Key key, const QByteArray &valueName, std::uint32_t *type,
                             char *data, std::uint32_t *size) override {
        if (!openKeys.contains(key))
            return reg::kInvalidHandle;
        const QByteArray keyName = openKeys.value(key);
        queries << keyName + '/' + valueName;
        if (!keys[keyName].contains(valueName))
            return reg::kFileNotFound;
        const Value &value = keys[keyName][valueName];
        const auto needed = static_cast<std::uint32_t>(value.data.size());
        *type = value.type;
        if (data && *size < needed) {
            *size = needed;
            return reg::kMoreData;
        }
        if (data && needed > 0)
            std::memcpy(data, value.data.constData(), needed);
        *size = needed;
        return reg::kSuccess;
    }

    reg::Result closeKey(reg::Key key) override {
        return openKeys.remove(key) ? reg::kSuccess : reg::kInvalidHandle;
    }

    // Keys and their values, by exact name.
    QMap<QByteArray, QMap<QByteArray, Value>> keys;
    // Opening with any of these rights is refused.
    std::uint32_t deniedRights = 0;

    QList<OpenCall> opens;
    QByteArrayList queries; // "key/value"
    QMap<reg::Key, QByteArray> openKeys;

private:
    reg::Key nextKey_ = 0x1000;
};

// Starts nothing: records the requests and answers from its lists.
class FakeProgramStarter final : public ProgramStarter {
public:
    bool start(const QString &path) override {
        attempts << path;
        return startable.contains(path);
    }
    bool fileExists(const QString &path) override {
        fileChecks << path;
        return files.contains(path);
    }

    QStringList startable; // programs that start
    QStringList files;     // files that exist
    QStringList attempts;
    QStringList fileChecks;
};

} // namespace drillpad::testing
