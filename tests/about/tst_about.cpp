#include "about/frm_about.h"
#include "common/test_main.h"
#include "controls/command_button.h"
#include "controls/message_box.h"
#include "controls/program_starter.h"
#include "forms/frm_about_def.h"
#include "mainwin/forms_registry.h"
#include "mainwin/frm_main.h"

#include <QAction>
#include <QLabel>

#include <cstring>

using namespace drillpad;

namespace {

struct Value {
    std::uint32_t type = 0; // 0: no such value
    QByteArray data;
};

// The About box's platform in memory: a registry that refuses the rights in
// `denied` and has keys only under HKEY_LOCAL_MACHINE opened with options 0; a
// starter for which only `files` exist and start; messages kept apart from
// warnings (the failure message has no icon).
class FakePlatform final : public Registry, public ProgramStarter, public MessageBoxes {
public:
    reg::Result openKeyEx(reg::Key root, const QByteArray &key, std::uint32_t options,
                          std::uint32_t access, reg::Key *opened) override {
        opens << key;
        accesses << access;
        if (access & denied)
            return reg::kAccessDenied;
        if (root != reg::kLocalMachine || options != 0 || !values.contains(key))
            return reg::kFileNotFound;
        *opened = static_cast<reg::Key>(opens.size());
        openKeys.insert(*opened, key);
        return reg::kSuccess;
    }
    reg::Result queryValueEx(reg::Key key, const QByteArray &name, std::uint32_t *type, char *data,
                             std::uint32_t *size) override {
        const Value value = values.value(openKeys.value(key)).value(name);
        if (!value.type)
            return reg::kFileNotFound;
        const auto needed = static_cast<std::uint32_t>(value.data.size());
        const bool fits = *size >= needed;
        if (fits)
            std::memcpy(data, value.data.constData(), needed);
        *type = value.type;
        *size = needed;
        return fits ? reg::kSuccess : reg::kMoreData;
    }
    reg::Result closeKey(reg::Key key) override {
        return openKeys.remove(key) ? reg::kSuccess : reg::kInvalidHandle;
    }
    bool start(const QString &path) override {
        attempts << path;
        return files.contains(path);
    }
    bool fileExists(const QString &path) override { return files.contains(path); }
    void information(QWidget *, const QString &text) override { messages << text; }
    void warning(QWidget *, const QString &text) override { warnings << text; }

    QMap<QByteArray, QMap<QByteArray, Value>> values; // by key and value name
    std::uint32_t denied = 0;
    QByteArrayList opens;
    QList<std::uint32_t> accesses;
    QMap<reg::Key, QByteArray> openKeys; // not yet closed
    QStringList files, attempts, messages, warnings;

private:
    ScopedSeam<Registry> registrySeam_{*this};
    ScopedSeam<ProgramStarter> starterSeam_{*this};
    ScopedSeam<MessageBoxes> messageSeam_{*this};
};

const QString kUnavailable = QStringLiteral("此时系统信息不可用");
const QString kTool = QStringLiteral("C:\\WINDOWS\\msinfo32.exe");
const QString kToolInFolder = QStringLiteral("C:\\MSInfo\\MSINFO32.EXE");

QByteArray text(const QByteArray &s) {
    return s + QByteArray(1, '\0');
}

} // namespace

Q_DECLARE_METATYPE(Value)

class TestAbout : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() {
        unloadForm(FormId::About);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void load_replacesTheDesignTexts() {
        QWidget unloaded;
        const forms::ControlMap design = forms::buildControls(forms::frmAboutDef(), &unloaded);
        QCOMPARE(QString::fromUtf8(forms::frmAboutDef().caption),
                 QStringLiteral("关于我的应用程序"));
        QCOMPARE(design.get<QLabel>("lblTitle")->text(), QStringLiteral("应用程序标题"));
        QCOMPARE(design.get<QLabel>("lblVersion")->text(), QStringLiteral("版本"));

        FrmAbout &box = frmAbout();
        QCOMPARE(box.windowTitle(), QStringLiteral("关于 Drillpad"));
        QCOMPARE(box.label("lblTitle")->text(), QStringLiteral("Drillpad"));
        QCOMPARE(box.label("lblVersion")->text(), QStringLiteral("版本 1.0.0"));
    }

    // Opened modally from the main window, the box ignores Enter and Esc (it
    // has no default or cancel button). Closing it unloads it and ends the
    // modal call; the next opening loads it afresh.
    void closing_unloadsTheBox_data() {
        QTest::addColumn<bool>("fromMenu");
        QTest::addColumn<bool>("byOK");
        QTest::newRow("cmdAbout, OK") << false << true;
        QTest::newRow("menu, close box") << true << false;
    }

    void closing_unloadsTheBox() {
        QFETCH(bool, fromMenu);
        QFETCH(bool, byOK);
        bool wasModal = false, keysIgnored = false;
        QTimer::singleShot(0, [&] {
            FrmAbout &box = frmAbout();
            wasModal = QApplication::activeModalWidget() == &box;
            box.label("lblTitle")->setText(QStringLiteral("changed"));
            box.setFocus();
            QTest::keyClick(&box, Qt::Key_Escape);
            QTest::keyClick(&box, Qt::Key_Return);
            keysIgnored = isFormLoaded(FormId::About) && box.isVisible();
            if (byOK)
                QTest::mouseClick(box.button("cmdOK"), Qt::LeftButton);
            else
                box.close();
        });
        if (fromMenu)
            frmMain().menuAction("mnuAboutAbout")->trigger();
        else
            frmMain().button("cmdAbout")->click();
        QVERIFY(wasModal);
        QVERIFY(keysIgnored);
        QVERIFY(!isFormLoaded(FormId::About));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(frmAbout().label("lblTitle")->text(), QStringLiteral("Drillpad"));
    }

    void sysInfoButton_data() {
        QTest::addColumn<Value>("path");   // location 1
        QTest::addColumn<Value>("folder"); // location 2
        QTest::addColumn<uint>("denied");
        QTest::addColumn<QStringList>("attempts"); // programs the box tries to start
        QTest::addColumn<bool>("folderRead");
        QTest::addColumn<bool>("failed");

        const Value none, path{reg::kSz, text(kTool.toLatin1())},
            folder{reg::kSz, text("C:\\MSInfo")}, elsewhere{reg::kSz, text("C:\\Other")},
            notStarting{reg::kSz, text("C:\\missing.exe")};
        const QStringList tool{kTool}, inFolder{kToolInFolder}, nothing;
        QTest::newRow("location 1") << path << folder << 0u << tool << false << false;
        QTest::newRow("location 2") << none << folder << 0u << inFolder << true << false;
        QTest::newRow("location 2 without MSINFO32.EXE")
            << none << elsewhere << 0u << nothing << true << true;
        QTest::newRow("location 1 of another type: empty path, location 2 untried")
            << Value{reg::kExpandSz, text(kTool.toLatin1())} << folder << 0u
            << QStringList{QString()} << false << true;
        QTest::newRow("location 1 of 1025 bytes counts as missing")
            << Value{reg::kSz, text(QByteArray(1024, 'a'))} << folder << 0u << inFolder << true
            << false;
        QTest::newRow("location 1 of zero length fails the whole lookup")
            << Value{reg::kSz, {}} << folder << 0u << nothing << false << true;
        QTest::newRow("write rights refused: opened for reading")
            << path << folder << uint(reg::kSetValue) << tool << false << false;
        QTest::newRow("every opening refused")
            << path << folder << uint(reg::kReadControl) << nothing << true << true;
        QTest::newRow("the program does not start")
            << notStarting << folder << 0u << QStringList{"C:\\missing.exe"} << false << true;
    }

    void sysInfoButton() {
        QFETCH(Value, path);
        QFETCH(Value, folder);
        QFETCH(uint, denied);
        QFETCH(QStringList, attempts);
        QFETCH(bool, folderRead);
        QFETCH(bool, failed);

        FakePlatform fake;
        fake.values[sysinfo::kPathKey]["PATH"] = path;
        fake.values[sysinfo::kFolderKey]["MSINFO"] = folder;
        fake.denied = denied;
        fake.files = QStringList{kTool, kToolInFolder};

        FrmAbout &box = frmAbout();
        box.show();
        QTest::mouseClick(box.button("cmdSysInfo"), Qt::LeftButton);

        QCOMPARE(fake.attempts, attempts);
        QCOMPARE(fake.opens.contains(sysinfo::kFolderKey), folderRead);
        QCOMPARE(fake.messages, failed ? QStringList{kUnavailable} : QStringList{});
        QVERIFY(fake.warnings.isEmpty());
        QVERIFY2(fake.openKeys.isEmpty(), "every key opened is closed");
        QVERIFY(box.isVisible());
    }

    void getKeyValue_data() {
        QTest::addColumn<Value>("value");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QString>("after"); // "old" on entry

        const uint sz = reg::kSz;
        QTest::newRow("text: the zero dropped") << Value{sz, text("abc")} << true << "abc";
        QTest::newRow("text: one of two zeros dropped")
            << Value{sz, text("abc") + '\0'} << true << QStringLiteral("abc") + QChar(u'\0');
        QTest::newRow("signed number, least significant byte first")
            << Value{reg::kDword, QByteArray("\x04\x03\x02\x81", 4)} << true << "-2130574588";
        QTest::newRow("another type") << Value{reg::kExpandSz, text("%windir%")} << true << "old";
        QTest::newRow("1024 bytes without a zero fit")
            << Value{sz, QByteArray(1024, 'x')} << true << QString(1024, u'x');
        QTest::newRow("1025 bytes do not") << Value{sz, QByteArray(1025, 'x')} << false << "";
        QTest::newRow("no such value") << Value{} << false << "";
    }

    void getKeyValue() {
        QFETCH(Value, value);
        QFETCH(bool, result);
        QFETCH(QString, after);

        FakePlatform fake;
        fake.values["Key"]["Value"] = value;
        QString KeyVal = QStringLiteral("old");
        QCOMPARE(FrmAbout::GetKeyValue(reg::kLocalMachine, "Key", "Value", KeyVal), result);
        QCOMPARE(KeyVal, after);
        QCOMPARE(fake.accesses, QList<std::uint32_t>{0x2003F});
        QVERIFY(fake.openKeys.isEmpty());
    }
};

DRILLPAD_TEST_MAIN(TestAbout)
#include "tst_about.moc"
