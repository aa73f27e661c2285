#include "about/frm_about.h"
#include "common/sysinfo_fakes.h"
#include "common/test_main.h"
#include "controls/command_button.h"
#include "controls/message_box.h"
#include "forms/frm_about_def.h"
#include "mainwin/forms_registry.h"
#include "mainwin/frm_main.h"
#include "version.h"

#include <QAction>
#include <QFile>
#include <QLabel>

#include <optional>

using namespace drillpad;
using drillpad::testing::FakeProgramStarter;
using drillpad::testing::FakeRegistry;

namespace {

// Keeps plain messages apart from warnings: the About box's failure message
// has no icon.
class MessageRecorder final : public MessageBoxes {
public:
    void information(QWidget *, const QString &text) override { plain << text; }
    void warning(QWidget *, const QString &text) override { warnings << text; }
    QStringList plain;
    QStringList warnings;
};

// Every platform call of a test goes to these fakes.
struct Fakes {
    FakeRegistry registry;
    FakeProgramStarter starter;
    MessageRecorder messages;
    ScopedSeam<Registry> registrySeam{registry};
    ScopedSeam<ProgramStarter> starterSeam{starter};
    ScopedSeam<MessageBoxes> messageSeam{messages};
};

const QByteArray kPathKey = sysinfo::kPathKey;
const QByteArray kFolderKey = sysinfo::kFolderKey;
const QString kUnavailable = QStringLiteral("此时系统信息不可用");

QByteArray text(const char *s) {
    return QByteArray(s) + QByteArray(1, '\0');
}

QByteArray bytes(std::initializer_list<unsigned char> list) {
    QByteArray result;
    for (unsigned char b : list)
        result.append(static_cast<char>(b));
    return result;
}

QStringList labelTexts(const QWidget &window) {
    QStringList texts;
    for (const QLabel *label : window.findChildren<QLabel *>())
        texts << label->text();
    return texts;
}

// The installed value, or nothing (type 0) for a missing value.
struct Installed {
    std::uint32_t type = 0;
    QByteArray data;
};

} // namespace

Q_DECLARE_METATYPE(Installed)

class TestAbout : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() {
        unloadForm(FormId::About);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void windowDefinition() {
        const forms::FormDef &def = forms::frmAboutDef();
        QCOMPARE(QString::fromUtf8(def.caption), QStringLiteral("关于我的应用程序"));
        QCOMPARE(def.client, (TwipsSize{6000, 3825}));
        QCOMPARE(def.border, forms::BorderStyle::FixedDialog);
        QVERIFY(def.centred);
        QVERIFY(!def.minMaxButtons);
        QVERIFY(!def.inTaskBar);
        QCOMPARE(QString::fromUtf8(def.icon), QStringLiteral(":/images/drillpad.svg"));
        QStringList tabOrder;
        for (const char *name : def.tabOrder)
            tabOrder << QString::fromLatin1(name);
        QCOMPARE(tabOrder, (QStringList{"cmdOK", "cmdSysInfo"}));

        FrmAbout &box = frmAbout();
        QCOMPARE(box.size(), QSize(400, 255));
        QVERIFY(!(box.windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(box.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(!box.windowIcon().isNull());
        QVERIFY(!box.defaultButton());
        QVERIFY(!box.cancelButton());
        QCOMPARE(box.button("cmdOK")->nextInFocusChain(), box.button("cmdSysInfo"));
    }

    void controlDefinitions_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRectF>("rect");
        QTest::addColumn<QColor>("foreground");

        using K = forms::ControlKind;
        const QColor none;
        const QColor black(Qt::black);
        const auto row = [](const char *tag, const char *name, int index, K kind,
                            const char *caption, QRectF rect, QColor foreground) {
            QTest::newRow(tag) << QString::fromLatin1(name) << index << static_cast<int>(kind)
                               << QString::fromUtf8(caption) << rect << foreground;
        };
        row("picIcon", "picIcon", -1, K::PictureBox, "", {53, 72, 975, 975}, none);
        row("lblTitle", "lblTitle", -1, K::Label, "应用程序标题", {1171, 240, 4725, 480}, black);
        row("lblVersion", "lblVersion", -1, K::Label, "版本", {1171, 780, 4845, 225}, none);
        row("Label1", "Label1", -1, K::Label, "说明:", {1080, 1200, 450, 180}, none);
        row("Line1(0)", "Line1", 0, K::Line, "", {105, 2640, 5775, 30}, QColor(0xFF, 0xFF, 0xFF));
        row("Line1(1)", "Line1", 1, K::Line, "", {120, 2640, 5760, 15}, QColor(0x80, 0x80, 0x80));
        row("cmdOK", "cmdOK", -1, K::CommandButton, "确定[&O]", {4320, 2880, 1575, 330}, none);
        row("cmdSysInfo", "cmdSysInfo", -1, K::CommandButton, "系统信息[&S]",
            {4320, 3360, 1575, 330}, none);
        // Their texts are checked by texts_fit.
        row("lblDescription", "lblDescription", -1, K::Label, nullptr, {1171, 1440, 4725, 1050},
            black);
        row("lblDisclaimer", "lblDisclaimer", -1, K::Label, nullptr, {120, 2880, 4095, 585}, black);
    }

    void controlDefinitions() {
        QFETCH(QString, name);
        QFETCH(int, index);
        QFETCH(int, kind);
        QFETCH(QString, caption);
        QFETCH(QRectF, rect);
        QFETCH(QColor, foreground);

        const QByteArray latin = name.toLatin1();
        const forms::ControlDef *def =
            forms::findControl(forms::frmAboutDef(), latin.constData(), index);
        QVERIFY(def);
        QCOMPARE(static_cast<int>(def->kind), kind);
        if (!caption.isEmpty())
            QCOMPARE(QString::fromUtf8(def->caption), caption);
        const TwipsRect expected{float(rect.x()), float(rect.y()), float(rect.width()),
                                 float(rect.height())};
        QCOMPARE(def->rect, expected);
        QCOMPARE(forms::resolveColour(def->foreground), foreground);

        // The built control stands where the definition puts it.
        QWidget *widget = frmAbout().controls().widget(forms::objectNameOf(*def));
        QVERIFY(widget);
        QCOMPARE(twipsGeometry(widget), expected);
        QCOMPARE(widget->pos(), toPixels(expected).topLeft());
    }

    // The two lines of the pair draw an etched separator: grey over white.
    void separator_isEtched() {
        FrmAbout &box = frmAbout();
        box.show();
        const QImage image = box.grab().toImage();
        const QRgb white = qRgb(0xFF, 0xFF, 0xFF);
        const QRgb grey = qRgb(0x80, 0x80, 0x80);
        const int row = 2640 / 15;
        QCOMPARE(image.pixel(200, row), grey);
        QCOMPARE(image.pixel(200, row + 1), white);
        QCOMPARE(image.pixel(7, row), white); // the white line starts a pixel further left
        QCOMPARE(image.pixel(8, row), grey);
        QCOMPARE(image.pixel(391, row), grey);
        const QRgb background = image.pixel(200, row + 2);
        QVERIFY(background != white && background != grey);
        QCOMPARE(image.pixel(200, row - 1), background);
        QCOMPARE(image.pixel(392, row), background);
    }

    void designTexts_replacedAtLoad() {
        // Before its load code runs, the box holds the design texts.
        QWidget unloaded;
        const forms::ControlMap controls = forms::buildControls(forms::frmAboutDef(), &unloaded);
        QCOMPARE(controls.get<QLabel>("lblTitle")->text(), QStringLiteral("应用程序标题"));
        QCOMPARE(controls.get<QLabel>("lblVersion")->text(), QStringLiteral("版本"));

        FrmAbout &box = frmAbout();
        QCOMPARE(box.windowTitle(), QStringLiteral("关于 Drillpad"));
        QCOMPARE(box.label("lblTitle")->text(), QStringLiteral("Drillpad"));
        QCOMPARE(box.label("lblVersion")->text(), QStringLiteral("版本 1.0.0"));
        const QStringList texts = labelTexts(box);
        for (const QString &design : {QStringLiteral("关于我的应用程序"),
                                      QStringLiteral("应用程序标题"), QStringLiteral("版本")}) {
            QVERIFY2(!texts.contains(design), qPrintable(design));
            QVERIFY(box.windowTitle() != design);
        }
    }

    // The About box, the application object and the Windows version resource
    // all carry the project's version.
    void version_hasOneSource() {
        const QString shown = frmAbout().label("lblVersion")->text();
        QCOMPARE(shown, QStringLiteral("版本 ") + QCoreApplication::applicationVersion());
        QCOMPARE(shown, QStringLiteral("版本 ") + QString::fromLatin1(version::kText));

        QFile rc(qEnvironmentVariable("DRILLPAD_BINARY_DIR") +
                 QStringLiteral("/generated/drillpad.rc"));
        QVERIFY2(rc.open(QIODevice::ReadOnly), qPrintable(rc.fileName()));
        const QString resource = QString::fromUtf8(rc.readAll());
        const QString numbers = QStringLiteral("%1,%2,%3,0")
                                    .arg(version::kMajor)
                                    .arg(version::kMinor)
                                    .arg(version::kRevision);
        QVERIFY(resource.contains(QStringLiteral("FILEVERSION ") + numbers));
        QVERIFY(resource.contains(QStringLiteral("PRODUCTVERSION ") + numbers));
        const QString text =
            QStringLiteral("%1.%2").arg(version::kMajor).arg(version::kMinor, 2, 10, QChar(u'0'));
        QCOMPARE(text, QStringLiteral("1.00"));
        QVERIFY(resource.contains(QStringLiteral("\"FileVersion\", \"") + text + u'"'));
        QVERIFY(resource.contains(QStringLiteral("\"ProductVersion\", \"") + text + u'"'));
    }

    void texts_fit() {
        FrmAbout &box = frmAbout();
        box.show();

        // The description: one paragraph that starts with four blanks and
        // wraps within its label.
        QLabel *description = box.label("lblDescription");
        const QString paragraph = description->text();
        QVERIFY(paragraph.startsWith(QStringLiteral("    ")));
        QVERIFY(!paragraph.at(4).isSpace());
        QVERIFY(!paragraph.contains(u'\n'));
        QVERIFY(description->wordWrap());
        QVERIFY(description->heightForWidth(description->width()) <= description->height());

        // The notice: two lines below the separator, beside OK.
        QLabel *notice = box.label("lblDisclaimer");
        const QStringList lines = notice->text().split(u'\n');
        QCOMPARE(lines.size(), 2);
        for (const QString &line : lines) {
            QVERIFY(!line.trimmed().isEmpty());
            QVERIFY2(notice->fontMetrics().horizontalAdvance(line) <= notice->width(),
                     qPrintable(line));
        }
        QVERIFY(notice->heightForWidth(notice->width()) <= notice->height());
        QVERIFY(notice->geometry().top() > box.controls().widget("Line1(0)")->geometry().bottom());
        QVERIFY(notice->geometry().right() < box.button("cmdOK")->geometry().left());
    }

    void icon_isTheProgramIconAt65Pixels() {
        QLabel *picIcon = frmAbout().label("picIcon");
        QVERIFY(!picIcon->pixmap().isNull());
        QCOMPARE(picIcon->pixmap().deviceIndependentSize(), QSizeF(65, 65));
        QCOMPARE(picIcon->size(), QSize(65, 65));
        QCOMPARE(picIcon->frameShape(), QFrame::NoFrame);
        QCOMPARE(picIcon->accessibleName(), QStringLiteral("程序图标"));
        // Not blank: the icon draws something other than its background.
        const QImage image = picIcon->pixmap().toImage();
        QVERIFY(image.pixelColor(image.width() / 2, image.height() / 2).alpha() > 0);
    }

    void closing_unloadsTheBox_data() {
        QTest::addColumn<int>("how");
        QTest::newRow("click OK") << 0;
        QTest::newRow("Alt+O") << 1;
        QTest::newRow("close box") << 2;
    }

    void closing_unloadsTheBox() {
        QFETCH(int, how);
        FrmAbout &box = frmAbout();
        box.show();
        QVERIFY(QTest::qWaitForWindowActive(&box));
        box.label("lblTitle")->setText(QStringLiteral("changed"));
        switch (how) {
        case 0:
            QTest::mouseClick(box.button("cmdOK"), Qt::LeftButton);
            break;
        case 1:
            QTest::keyClick(&box, Qt::Key_O, Qt::AltModifier);
            break;
        default:
            box.close();
            break;
        }
        QVERIFY(!isFormLoaded(FormId::About));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        // The next opening loads it afresh.
        QCOMPARE(frmAbout().label("lblTitle")->text(), QStringLiteral("Drillpad"));
    }

    // Neither button is the default or cancel button.
    void enterAndEsc_doNothingWithoutFocusOnAButton() {
        Fakes fakes;
        FrmAbout &box = frmAbout();
        box.show();
        QVERIFY(QTest::qWaitForWindowActive(&box));
        box.setFocus();
        QTest::keyClick(&box, Qt::Key_Escape);
        QTest::keyClick(&box, Qt::Key_Return);
        QVERIFY(isFormLoaded(FormId::About));
        QVERIFY(box.isVisible());
        QVERIFY(fakes.messages.plain.isEmpty());
    }

    void sysInfoButton_keepsTheBoxOpen() {
        Fakes fakes;
        FrmAbout &box = frmAbout();
        box.show();
        QVERIFY(QTest::qWaitForWindowActive(&box));
        QTest::keyClick(&box, Qt::Key_S, Qt::AltModifier);
        QCOMPARE(fakes.messages.plain, QStringList{kUnavailable});
        QVERIFY(fakes.messages.warnings.isEmpty());
        QTest::mouseClick(box.button("cmdSysInfo"), Qt::LeftButton);
        QCOMPARE(fakes.messages.plain.size(), 2);
        QVERIFY(isFormLoaded(FormId::About));
        QVERIFY(box.isVisible());
    }

    void openedModallyFromTheMainWindow_data() {
        QTest::addColumn<bool>("fromMenu");
        QTest::newRow("cmdAbout") << false;
        QTest::newRow("mnuAboutAbout") << true;
    }

    void openedModallyFromTheMainWindow() {
        QFETCH(bool, fromMenu);
        FrmMain &main = frmMain();
        bool wasModal = false;
        QString caption;
        QTimer::singleShot(0, [&] {
            wasModal =
                isFormLoaded(FormId::About) && QApplication::activeModalWidget() == &frmAbout();
            caption = frmAbout().windowTitle();
            frmAbout().button("cmdOK")->click();
        });
        if (fromMenu)
            main.menuAction("mnuAboutAbout")->trigger();
        else
            main.button("cmdAbout")->click();
        // The handler resumes once the box has been unloaded.
        QVERIFY(wasModal);
        QCOMPARE(caption, QStringLiteral("关于 Drillpad"));
        QVERIFY(!isFormLoaded(FormId::About));
    }

    void startSysInfo_data() {
        QTest::addColumn<Installed>("path");   // location 1
        QTest::addColumn<Installed>("folder"); // location 2
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("startable");
        QTest::addColumn<uint>("deniedRights");
        QTest::addColumn<QStringList>("attempts"); // programs the box tries to start
        QTest::addColumn<bool>("folderOpened");
        QTest::addColumn<bool>("failed");

        const QByteArray tool = "C:\\WINDOWS\\system32\\msinfo32.exe";
        const QString toolPath = QString::fromLatin1(tool);
        const QByteArray folder = "C:\\Program Files\\Microsoft Shared\\MSInfo";
        const QString inFolder = QString::fromLatin1(folder) + QStringLiteral("\\MSINFO32.EXE");
        const Installed none;
        const Installed pathText{reg::kSz, text(tool)};
        const Installed folderText{reg::kSz, text(folder)};
        const QByteArray longPath = QByteArray(1024, 'a');
        const QByteArray longestPath = QByteArray(1023, 'a');

        QTest::newRow("location 1 present and valid")
            << pathText << folderText << QStringList{inFolder} << QStringList{toolPath} << 0u
            << QStringList{toolPath} << false << false;
        QTest::newRow("location 2 with MSINFO32.EXE in the folder")
            << none << folderText << QStringList{inFolder} << QStringList{inFolder} << 0u
            << QStringList{inFolder} << true << false;
        QTest::newRow("location 2 without MSINFO32.EXE in the folder")
            << none << folderText << QStringList{} << QStringList{inFolder} << 0u << QStringList{}
            << true << true;
        QTest::newRow("folder ending in a separator gets another")
            << none << Installed{reg::kSz, text(folder + '\\')}
            << QStringList{QString::fromLatin1(folder) + QStringLiteral("\\\\MSINFO32.EXE")}
            << QStringList{QString::fromLatin1(folder) + QStringLiteral("\\\\MSINFO32.EXE")} << 0u
            << QStringList{QString::fromLatin1(folder) + QStringLiteral("\\\\MSINFO32.EXE")} << true
            << false;
        QTest::newRow("location 1 of another type: empty path, location 2 untried")
            << Installed{reg::kExpandSz, text("%SystemRoot%\\system32\\msinfo32.exe")} << folderText
            << QStringList{inFolder} << QStringList{inFolder} << 0u << QStringList{QString()}
            << false << true;
        QTest::newRow("location 1 longer than 1024 bytes counts as missing")
            << Installed{reg::kSz, text(longPath)} << folderText << QStringList{inFolder}
            << QStringList{inFolder} << 0u << QStringList{inFolder} << true << false;
        QTest::newRow("location 1 of exactly 1024 bytes is read")
            << Installed{reg::kSz, text(longestPath)} << folderText << QStringList{inFolder}
            << QStringList{QString::fromLatin1(longestPath)} << 0u
            << QStringList{QString::fromLatin1(longestPath)} << false << false;
        QTest::newRow("location 1 of zero length fails the whole lookup")
            << Installed{reg::kSz, QByteArray()} << folderText << QStringList{inFolder}
            << QStringList{inFolder} << 0u << QStringList{} << false << true;
        QTest::newRow("location 2 of zero length")
            << none << Installed{reg::kSz, QByteArray()} << QStringList{inFolder}
            << QStringList{inFolder} << 0u << QStringList{} << true << true;
        QTest::newRow("write rights refused: opened for reading")
            << pathText << folderText << QStringList{} << QStringList{toolPath}
            << uint(reg::kSetValue) << QStringList{toolPath} << false << false;
        QTest::newRow("every opening refused")
            << pathText << folderText << QStringList{inFolder} << QStringList{toolPath}
            << uint(reg::kReadControl) << QStringList{} << true << true;
        QTest::newRow("nothing registered") << none << none << QStringList{} << QStringList{} << 0u
                                            << QStringList{} << true << true;
        QTest::newRow("the program does not start")
            << pathText << none << QStringList{} << QStringList{} << 0u << QStringList{toolPath}
            << false << true;
    }

    void startSysInfo() {
        QFETCH(Installed, path);
        QFETCH(Installed, folder);
        QFETCH(QStringList, files);
        QFETCH(QStringList, startable);
        QFETCH(uint, deniedRights);
        QFETCH(QStringList, attempts);
        QFETCH(bool, folderOpened);
        QFETCH(bool, failed);

        Fakes fakes;
        if (path.type)
            fakes.registry.setValue(kPathKey, "PATH", path.type, path.data);
        if (folder.type)
            fakes.registry.setValue(kFolderKey, "MSINFO", folder.type, folder.data);
        fakes.registry.deniedRights = deniedRights;
        fakes.starter.files = files;
        fakes.starter.startable = startable;

        FrmAbout &box = frmAbout();
        box.show();
        box.StartSysInfo();

        QCOMPARE(fakes.starter.attempts, attempts);
        bool opened = false;
        for (const FakeRegistry::OpenCall &call : fakes.registry.opens)
            opened = opened || call.key == kFolderKey;
        QCOMPARE(opened, folderOpened);
        QCOMPARE(fakes.messages.plain, failed ? QStringList{kUnavailable} : QStringList{});
        QVERIFY(fakes.messages.warnings.isEmpty());
        QVERIFY2(fakes.registry.openKeys.isEmpty(), "every key opened is closed");
        QVERIFY(isFormLoaded(FormId::About));
        QVERIFY(box.isVisible());
    }

    void getKeyValue_data() {
        QTest::addColumn<uint>("type");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QString>("after");

        const uint sz = reg::kSz;
        const uint dword = reg::kDword;
        const QString old = QStringLiteral("old");
        QTest::newRow("text: one trailing zero dropped")
            << sz << text("abc") << old << true << "abc";
        QTest::newRow("text without a zero kept whole")
            << sz << QByteArray("abc") << old << true << "abc";
        QTest::newRow("text: only one of two zeros dropped")
            << sz << text("abc") + '\0' << old << true << QStringLiteral("abc") + QChar(u'\0');
        QTest::newRow("text: a lone zero gives empty text") << sz << text("") << old << true << "";
        QTest::newRow("text in the local code page")
            << sz << text("C:\\系统") << old << true << QStringLiteral("C:\\系统");
        QTest::newRow("number") << dword << bytes({0x2A, 0, 0, 0}) << old << true << "42";
        QTest::newRow("number, least significant first")
            << dword << bytes({0x04, 0x03, 0x02, 0x01}) << old << true << "16909060";
        QTest::newRow("negative number")
            << dword << bytes({0xFE, 0xFF, 0xFF, 0xFF}) << old << true << "-2";
        QTest::newRow("largest number")
            << dword << bytes({0xFF, 0xFF, 0xFF, 0x7F}) << old << true << "2147483647";
        QTest::newRow("smallest number")
            << dword << bytes({0, 0, 0, 0x80}) << old << true << "-2147483648";
        QTest::newRow("expandable text leaves the result as it was")
            << uint(reg::kExpandSz) << text("%windir%") << old << true << old;
        QTest::newRow("binary leaves the result as it was")
            << uint(reg::kBinary) << bytes({1, 2}) << old << true << old;
        QTest::newRow("1024 bytes fit")
            << sz << QByteArray(1024, 'x') << old << true << QString(1024, u'x');
        QTest::newRow("1025 bytes do not") << sz << QByteArray(1025, 'x') << old << false << "";
    }

    void getKeyValue() {
        QFETCH(uint, type);
        QFETCH(QByteArray, data);
        QFETCH(QString, before);
        QFETCH(bool, result);
        QFETCH(QString, after);

        Fakes fakes;
        fakes.registry.setValue("Key", "Value", type, data);
        QString KeyVal = before;
        QCOMPARE(FrmAbout::GetKeyValue(reg::kLocalMachine, "Key", "Value", KeyVal), result);
        QCOMPARE(KeyVal, after);
        QVERIFY(fakes.registry.openKeys.isEmpty());

        // The key is opened under the root with options 0 and the rights
        // 0x2003F.
        QCOMPARE(fakes.registry.opens.size(), 1);
        const FakeRegistry::OpenCall &call = fakes.registry.opens.first();
        QCOMPARE(call.root, reg::kLocalMachine);
        QCOMPARE(call.key, QByteArray("Key"));
        QCOMPARE(call.options, 0u);
        QCOMPARE(call.access, 0x2003Fu);
        QCOMPARE(fakes.registry.queries, QByteArrayList{"Key/Value"});
    }

    void getKeyValue_failures() {
        Fakes fakes;
        fakes.registry.addKey("Key");
        QString KeyVal = QStringLiteral("old");
        QVERIFY(!FrmAbout::GetKeyValue(reg::kLocalMachine, "Missing", "Value", KeyVal));
        QCOMPARE(KeyVal, QString());
        QVERIFY(fakes.registry.queries.isEmpty());

        KeyVal = QStringLiteral("old");
        QVERIFY(!FrmAbout::GetKeyValue(reg::kLocalMachine, "Key", "Missing", KeyVal));
        QCOMPARE(KeyVal, QString());
        QVERIFY(fakes.registry.openKeys.isEmpty());

        // A value of zero length cannot be read as text; the key is still
        // closed.
        fakes.registry.setValue("Key", "Empty", reg::kSz, QByteArray());
        KeyVal = QStringLiteral("old");
        QVERIFY_THROWS_EXCEPTION(EmptyKeyValue,
                                 FrmAbout::GetKeyValue(reg::kLocalMachine, "Key", "Empty", KeyVal));
        QVERIFY(fakes.registry.openKeys.isEmpty());

        // Refused write rights: opened again with read rights only.
        fakes.registry.setText("Key", "Value", "abc");
        fakes.registry.opens.clear();
        fakes.registry.deniedRights = reg::kCreateLink;
        QVERIFY(FrmAbout::GetKeyValue(reg::kLocalMachine, "Key", "Value", KeyVal));
        QCOMPARE(KeyVal, QStringLiteral("abc"));
        QCOMPARE(fakes.registry.opens.size(), 2);
        QCOMPARE(fakes.registry.opens.at(1).access, 0x20019u);
    }
};

DRILLPAD_TEST_MAIN(TestAbout)
#include "tst_about.moc"
