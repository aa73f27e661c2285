#include "about/frm_about.h"
#include "common/test_main.h"
#include "platform/registry.h"

#include <QTemporaryDir>

using namespace drillpad;

// The INI store, read as the About box reads the registry.
class TestRegistry : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Each value comes from the first file that has it, the tool's path
    // failing that from the first system-information program installed;
    // names compare without regard to case.
    void lookup_data() {
        QTest::addColumn<bool>("userFile");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("expected"); // empty: not found

        const auto row = [](const char *tag, bool userFile, const QString &key,
                            const QString &value, const QString &expected) {
            QTest::newRow(tag) << userFile << key << value << expected;
        };
        const QString tool = sysinfo::kPathKey, folder = sysinfo::kFolderKey;
        row("another case, blanks, comments", true, tool.toLower(), "path", "/opt/用户");
        row("values of their own section only", true, "Other", "PATH", "");
        row("no such key", true, "Missing", "A", "");
        row("the first file wins", true, "Key", "A", "from the user");
        row("a later file", true, "Key", "B", "program");
        row("a file wins over a program", true, tool, "PATH", "/opt/用户");
        row("the first program", false, tool, "PATH", "/usr/bin/hardinfo");
        row("only the tool's path comes from a program", false, folder, "MSINFO", "");
    }

    void lookup() {
        QFETCH(bool, userFile);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QString, expected);

        QTemporaryDir dir;
        const auto write = [&dir](const char *name, const QByteArray &content) {
            QFile file(dir.filePath(QString::fromLatin1(name)));
            return file.open(QIODevice::WriteOnly) && file.write(content) ? file.fileName() : "";
        };
        QStringList files{dir.filePath("missing.ini")};
        if (userFile)
            files << write("user.ini",
                           "; a comment\n[SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\n"
                           "# PATH=/commented\n  PATH = /opt/用户  \n[Key]\nA=from the user\n");
        files << write("program.ini", "[SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\nX=1\n"
                                      "[Key]\nA=from the program\nB=program\n[Other]\nName=x\n");
        IniRegistryStore store(files, [](const QString &name) { return "/usr/bin/" + name; });
        ScopedSeam<Registry> seam(store);
        QString read;
        QCOMPARE(FrmAbout::GetKeyValue(reg::kLocalMachine, key, value, read), !expected.isEmpty());
        QCOMPARE(read, expected);
        QCOMPARE(store.openKeyCount(), 0);
    }
};

DRILLPAD_TEST_MAIN(TestRegistry)
#include "tst_registry.moc"
