#include "about/frm_about.h"
#include "common/test_main.h"
#include "controls/program_starter.h"
#include "controls/registry.h"

#include <QTemporaryDir>

using namespace drillpad;

namespace {

// Finds the programs of its table, and nothing else.
IniRegistryStore::ProgramFinder finderOf(QHash<QString, QString> installed) {
    return [installed](const QString &name) { return installed.value(name); };
}

struct Read {
    reg::Result result = reg::kSuccess;
    std::uint32_t type = 0;
    QByteArray data; // as stored, of the reported size
};

// Opens a key of the store, reads one value into a buffer of `bufferSize`
// bytes and closes the key again.
Read read(IniRegistryStore &store, const QByteArray &key, const QByteArray &value,
          std::uint32_t bufferSize = 1024) {
    Read r;
    reg::Key open = 0;
    r.result = store.openKeyEx(reg::kLocalMachine, key, 0, reg::kRead, &open);
    if (r.result != reg::kSuccess)
        return r;
    QByteArray buffer(static_cast<qsizetype>(bufferSize), '\x7f');
    std::uint32_t size = bufferSize;
    r.result = store.queryValueEx(open, value, &r.type, buffer.data(), &size);
    r.data = r.result == reg::kSuccess ? buffer.left(size) : QByteArray::number(size);
    store.closeKey(open);
    return r;
}

QByteArray zeroEnded(const QByteArray &text) {
    return text + QByteArray(1, '\0');
}

} // namespace

class TestRegistry : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { QVERIFY(dir_.isValid()); }

    void readsTextValuesOfASection() {
        const QString file = write("a.ini", "; the system-information tool\n"
                                            "[SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\n"
                                            "  PATH = /opt/tools/系统信息  \n"
                                            "\n"
                                            "# not this one\n"
                                            "[Other]\n"
                                            "Name=other\n");
        IniRegistryStore store({file}, finderOf({}));
        const Read r = read(store, sysinfo::kPathKey, "PATH");
        QCOMPARE(r.result, reg::kSuccess);
        QCOMPARE(r.type, reg::kSz);
        QCOMPARE(r.data, zeroEnded("/opt/tools/系统信息"));
        QCOMPARE(store.openKeyCount(), 0);

        // Names compare without regard to case, as in the registry.
        QCOMPARE(read(store, "software\\microsoft\\SHARED TOOLS\\msinfo", "path").data,
                 zeroEnded("/opt/tools/系统信息"));
        QCOMPARE(read(store, "other", "NAME").data, zeroEnded("other"));
        // Values belong to their own section only.
        QCOMPARE(read(store, "Other", "PATH").result, reg::kFileNotFound);
        QCOMPARE(read(store, "Missing", "PATH").result, reg::kFileNotFound);
    }

    void theFirstFileThatHasAValueWins() {
        const QString user = write("user.ini", "[Key]\nA=from the user\n");
        const QString program = write("program.ini", "[Key]\nA=from the program\nB=program\n");
        IniRegistryStore store({dir_.filePath("missing.ini"), user, program}, finderOf({}));
        QCOMPARE(read(store, "Key", "A").data, zeroEnded("from the user"));
        QCOMPARE(read(store, "Key", "B").data, zeroEnded("program"));
    }

    void aSmallBufferReportsTheSizeNeeded() {
        IniRegistryStore store({write("a.ini", "[Key]\nA=12345\n")}, finderOf({}));
        QCOMPARE(read(store, "Key", "A", 6).data, zeroEnded("12345"));
        const Read tooSmall = read(store, "Key", "A", 5);
        QCOMPARE(tooSmall.result, reg::kMoreData);
        QCOMPARE(tooSmall.data, QByteArray("6"));

        // Without a buffer the store reports type and size only.
        reg::Key key = 0;
        QCOMPARE(store.openKeyEx(reg::kLocalMachine, "Key", 0, reg::kRead, &key), reg::kSuccess);
        std::uint32_t type = 0;
        std::uint32_t size = 0;
        QCOMPARE(store.queryValueEx(key, "A", &type, nullptr, &size), reg::kSuccess);
        QCOMPARE(size, 6u);
        QCOMPARE(store.closeKey(key), reg::kSuccess);
        QCOMPARE(store.closeKey(key), reg::kInvalidHandle);
        QCOMPARE(store.queryValueEx(key, "A", &type, nullptr, &size), reg::kInvalidHandle);
    }

    // Without a file that names it, the tool's path is the first
    // system-information program installed.
    void installedProgramsAnswerTheToolsPath_data() {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QByteArray>("path"); // empty: the key is missing

        const QString none;
        QTest::newRow("none installed") << none << QStringList{} << QByteArray();
        QTest::newRow("one installed")
            << none << QStringList{"kinfocenter"} << QByteArray("/usr/bin/kinfocenter");
        QTest::newRow("the first of the list")
            << none << QStringList{"gnome-system-monitor", "hardinfo", "kinfocenter"}
            << QByteArray("/usr/bin/hardinfo");
        QTest::newRow("a file wins")
            << "[SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\nPATH=/opt/info\n"
            << QStringList{"hardinfo"} << QByteArray("/opt/info");
        QTest::newRow("a file without the path")
            << "[SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\nOther=1\n"
            << QStringList{"hardinfo"} << QByteArray("/usr/bin/hardinfo");
    }

    void installedProgramsAnswerTheToolsPath() {
        QFETCH(QString, ini);
        QFETCH(QStringList, installed);
        QFETCH(QByteArray, path);

        QHash<QString, QString> programs;
        for (const QString &name : installed)
            programs.insert(name, QStringLiteral("/usr/bin/") + name);
        IniRegistryStore store({write("a.ini", ini.toUtf8())}, finderOf(programs));
        const Read r = read(store, sysinfo::kPathKey, sysinfo::kPathValue);
        if (path.isEmpty()) {
            QCOMPARE(r.result, reg::kFileNotFound);
        } else {
            QCOMPARE(r.result, reg::kSuccess);
            QCOMPARE(r.data, zeroEnded(path));
        }
        // The folder of location 2 only ever comes from a file.
        QCOMPARE(read(store, sysinfo::kFolderKey, sysinfo::kFolderValue).result,
                 reg::kFileNotFound);
    }

    // The About box reads the store as it reads the registry.
    void theAboutBoxReadsTheStore() {
        IniRegistryStore store({write("a.ini", "[SOFTWARE\\Microsoft\\Shared Tools Location]\n"
                                               "MSINFO=/opt/信息\n")},
                               finderOf({{"hardinfo", "/usr/bin/hardinfo"}}));
        ScopedSeam<Registry> seam(store);
        QString value;
        QVERIFY(FrmAbout::GetKeyValue(reg::kLocalMachine, QString::fromLatin1(sysinfo::kPathKey),
                                      QStringLiteral("PATH"), value));
        QCOMPARE(value, QStringLiteral("/usr/bin/hardinfo"));
        QVERIFY(FrmAbout::GetKeyValue(reg::kLocalMachine, QString::fromLatin1(sysinfo::kFolderKey),
                                      QStringLiteral("MSINFO"), value));
        QCOMPARE(value, QStringLiteral("/opt/信息"));
        QCOMPARE(store.openKeyCount(), 0);
    }

    void fileExists_onlyForOrdinaryFiles_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("exists");
        QTest::newRow("a file") << write("file.txt", "x") << true;
        QTest::newRow("a folder") << dir_.path() << false;
        QTest::newRow("missing") << dir_.filePath("missing") << false;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("with a zero character")
            << write("file.txt", "x") + QChar(u'\0') + QStringLiteral("x") << false;
    }

    void fileExists_onlyForOrdinaryFiles() {
        QFETCH(QString, path);
        QFETCH(bool, exists);
        QCOMPARE(drillpad::fileExists(path), exists);
    }

    void startProgram_refusesWhatCannotStart_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("empty") << QString();
        QTest::newRow("missing") << dir_.filePath("missing");
        QTest::newRow("a folder") << dir_.path();
        QTest::newRow("not a program") << write("notes.txt", "x");
        QTest::newRow("with a zero character") << QStringLiteral("/bin/true") + QChar(u'\0');
    }

    void startProgram_refusesWhatCannotStart() {
        QFETCH(QString, path);
        QVERIFY(!startProgram(path));
    }

    void startProgram_startsWithoutWaiting() {
        // A program that says it has started, then runs on for a while.
        const QString program =
            write("long-running",
                  "#!/bin/sh\nexec </dev/null >/dev/null 2>&1\ntouch \"$0.started\"\nsleep 10\n");
        QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QElapsedTimer timer;
        timer.start();
        QVERIFY(startProgram(program));
        QVERIFY(timer.elapsed() < 5000);
        QTRY_VERIFY(QFile::exists(program + QStringLiteral(".started")));
    }

private:
    QString write(const char *name, const QByteArray &content) {
        const QString path = dir_.filePath(QString::fromLatin1(name));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(content);
        return path;
    }

    QTemporaryDir dir_;
};

DRILLPAD_TEST_MAIN(TestRegistry)
#include "tst_registry.moc"
