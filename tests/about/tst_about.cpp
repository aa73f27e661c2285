#include "about/frm_about.h"
#include "app/forms_registry.h"
#include "common/test_main.h"
#include "controls/command_button.h"
#include "controls/message_box.h"
#include "mainwin/frm_main.h"
#include "platform/program_starter.h"

#include <QAction>

#include <cstring>

using namespace drillpad;

namespace {

using Value = std::pair<std::uint32_t, QByteArray>; // type 0: no such value

const QString kTool = QStringLiteral("C:\\WINDOWS\\msinfo32.exe");
const QString kToolInFolder = QStringLiteral("C:\\MSInfo\\MSINFO32.EXE");

// A registry with keys only under HKEY_LOCAL_MACHINE that refuses write
// rights, as for an ordinary user; a starter for which only our two tools
// exist and start.
class FakePlatform final : public Registry, public ProgramStarter, public MessageBoxes {
public:
    reg::Result openKeyEx(reg::Key root, const QByteArray &key, std::uint32_t options,
                          std::uint32_t access, reg::Key *opened) override {
        opens << key;
        if (access & reg::kSetValue)
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
        if (!value.first)
            return reg::kFileNotFound;
        const auto needed = static_cast<std::uint32_t>(value.second.size());
        const bool fits = *size >= needed;
        if (fits)
            std::memcpy(data, value.second.constData(), needed);
        *type = value.first;
        *size = needed;
        return fits ? reg::kSuccess : reg::kMoreData;
    }
    reg::Result closeKey(reg::Key key) override {
        return openKeys.remove(key) ? reg::kSuccess : reg::kInvalidHandle;
    }
    static bool installed(const QString &path) { return path == kTool || path == kToolInFolder; }
    bool start(const QString &path) override { return attempts << path, installed(path); }
    bool fileExists(const QString &path) override { return installed(path); }
    void information(QWidget *, const QString &text) override { messages << text; }
    void warning(QWidget *, const QString &text) override { messages << "warning: " + text; }
    int ask(QWidget *, const Question &q) override { return messages << q.text, q.escapeButton; }

    QMap<QByteArray, QMap<QByteArray, Value>> values; // by key and value name
    QByteArrayList opens;
    QMap<reg::Key, QByteArray> openKeys; // not yet closed
    QStringList attempts, messages;

private:
    ScopedSeam<Registry> registrySeam_{*this};
    ScopedSeam<ProgramStarter> starterSeam_{*this};
    ScopedSeam<MessageBoxes> messageSeam_{*this};
};

Value sz(const QByteArray &s) {
    return {reg::kSz, s + '\0'};
}

} // namespace

class TestAbout : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() {
        unloadForm(FormId::About);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Opened modally, the box ignores Enter (it has no default button);
    // closing it unloads it (Esc: tests/mainwin/tst_keyboard.cpp).
    void closing_unloadsTheBox_data() {
        QTest::addColumn<bool>("fromMenu");
        QTest::newRow("cmdAbout, OK") << false;
        QTest::newRow("menu, close box") << true;
    }
    void closing_unloadsTheBox() {
        QFETCH(bool, fromMenu);
        bool modalAndKeysIgnored = false;
        QTimer::singleShot(0, [&] {
            FrmAbout &box = frmAbout();
            box.setFocus();
            QTest::keyClick(&box, Qt::Key_Return);
            modalAndKeysIgnored = QApplication::activeModalWidget() == &box && box.isVisible();
            if (fromMenu)
                box.close();
            else
                QTest::mouseClick(box.button("cmdOK"), Qt::LeftButton);
        });
        if (fromMenu)
            frmMain().menuAction("mnuAboutAbout")->trigger();
        else
            frmMain().button("cmdAbout")->click();
        QVERIFY(modalAndKeysIgnored && !isFormLoaded(FormId::About));
    }

    void sysInfoButton_data() {
        QTest::addColumn<Value>("path");           // location 1
        QTest::addColumn<Value>("folder");         // location 2
        QTest::addColumn<QStringList>("attempts"); // programs the box tries to start
        QTest::addColumn<bool>("folderRead");

        const Value path = sz(kTool.toLatin1()), folder = sz("C:\\MSInfo");
        const QStringList inFolder{kToolInFolder}, none;
        QTest::newRow("location 1") << path << folder << QStringList{kTool} << false;
        QTest::newRow("location 2") << Value{} << folder << inFolder << true;
        QTest::newRow("location 2 without MSINFO32.EXE")
            << Value{} << sz("C:\\Other") << none << true;
        QTest::newRow("location 1 of another type: empty path, location 2 untried")
            << Value{reg::kExpandSz, path.second} << folder << QStringList{QString()} << false;
        QTest::newRow("location 1 of zero length fails the whole lookup")
            << Value{reg::kSz, {}} << folder << none << false;
        QTest::newRow("location 1 a signed number, least significant byte first: not installed")
            << Value{reg::kDword, QByteArray("\x04\x03\x02\x81", 4)} << folder
            << QStringList{"-2130574588"} << false;
        QTest::newRow("location 1 of 1024 bytes without a zero fits")
            << Value{reg::kSz, QByteArray(1024, 'x')} << folder << QStringList{QString(1024, u'x')}
            << false;
        QTest::newRow("location 1 of 1025 bytes does not")
            << Value{reg::kSz, QByteArray(1025, 'x')} << folder << inFolder << true;
    }
    void sysInfoButton() {
        QFETCH(Value, path);
        QFETCH(Value, folder);
        QFETCH(QStringList, attempts);
        FakePlatform fake;
        fake.values[sysinfo::kPathKey]["PATH"] = path;
        fake.values[sysinfo::kFolderKey]["MSINFO"] = folder;
        frmAbout().show();
        QTest::mouseClick(frmAbout().button("cmdSysInfo"), Qt::LeftButton);

        QCOMPARE(fake.attempts, attempts);
        QTEST(fake.opens.contains(sysinfo::kFolderKey), "folderRead");
        const bool started = attempts.size() == 1 && FakePlatform::installed(attempts[0]);
        // Failure is told without a warning icon.
        QCOMPARE(fake.messages, started ? QStringList{} : QStringList{"此时系统信息不可用"});
        QVERIFY2(fake.openKeys.isEmpty(), "every key opened is closed");
        QVERIFY(frmAbout().isVisible());
    }
};

DRILLPAD_TEST_MAIN(TestAbout)
#include "tst_about.moc"
