#include "common/test_main.h"
#include "controls/command_button.h"
#include "controls/file_dialogs.h"
#include "controls/form_dialog.h"
#include "controls/message_box.h"
#include "controls/twips.h"

#include <QAccessible>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QSignalSpy>

using namespace drillpad;

Q_DECLARE_METATYPE(drillpad::Question)

namespace {

#define QVERIFY_ACTIVE(w)                                                                          \
    do {                                                                                           \
        if (!QTest::qWaitForWindowActive(w))                                                       \
            qWarning("window did not become active");                                              \
    } while (false)

// A shown, active window with an edit field, a default and a cancel button.
struct Window {
    FormDialog dialog;
    QLineEdit *edit = new QLineEdit(&dialog);
    CommandButton *ok = new CommandButton(&dialog);
    CommandButton *finish = new CommandButton(&dialog);
    CommandButton *other = new CommandButton(&dialog);

    Window() {
        ok->setCaption(QStringLiteral("确认[&O]"));
        finish->setCaption(QStringLiteral("结束[&S]"));
        other->setCaption(QStringLiteral("跳过[&N]"));
        ok->move(0, 30);
        finish->move(0, 60);
        other->move(0, 90);
        dialog.setDefaultButton(ok);
        dialog.setCancelButton(finish);
        dialog.show();
        dialog.activateWindow();
        QApplication::setActiveWindow(&dialog);
        QVERIFY_ACTIVE(&dialog);
        edit->setFocus();
    }
};

} // namespace

class TestControls : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void twipsAreKeptExactlyAndPlacedAt15PerPixel_data() {
        QTest::addColumn<TwipsRect>("rect");
        QTest::addColumn<QRect>("pixels");
        QTest::newRow("whole pixels")
            << TwipsRect{2520, 960, 7320, 6135} << QRect(168, 64, 488, 409);
        QTest::newRow("between pixels") << TwipsRect{10, 35, 2657, 1817} << QRect(1, 2, 177, 121);
        QTest::newRow("negative left")
            << TwipsRect{-120, 920, 8655, 3510} << QRect(-8, 61, 577, 234);
    }
    void twipsAreKeptExactlyAndPlacedAt15PerPixel() {
        QFETCH(TwipsRect, rect);
        QFETCH(QRect, pixels);
        QWidget parent;
        QWidget child(&parent);
        setTwipsGeometry(&child, rect);
        QCOMPARE(twipsGeometry(&child), rect);
        QCOMPARE(child.geometry(), pixels);
    }

    void accessKeyClicksOnlyWhileEnabled() {
        Window w;
        QSignalSpy clicks(w.other, &QPushButton::clicked);
        QTest::keyClick(w.edit, Qt::Key_N, Qt::AltModifier);
        QCOMPARE(clicks.count(), 1);
        w.other->setEnabled(false);
        QTest::keyClick(w.edit, Qt::Key_N, Qt::AltModifier);
        QCOMPARE(clicks.count(), 1);
    }

    void enterAndEscapeActOnlyWhileTheirButtonsAreEnabled_data() {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("expectedClicks");
        QTest::newRow("enabled") << true << 1;
        QTest::newRow("disabled") << false << 0;
    }
    void enterAndEscapeActOnlyWhileTheirButtonsAreEnabled() {
        QFETCH(bool, enabled);
        QFETCH(int, expectedClicks);
        Window w;
        w.ok->setEnabled(enabled);
        w.finish->setEnabled(enabled);
        QSignalSpy okClicks(w.ok, &QPushButton::clicked);
        QSignalSpy finishClicks(w.finish, &QPushButton::clicked);
        QTest::keyClick(w.edit, Qt::Key_Return);
        QTest::keyClick(w.edit, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(okClicks.count(), 2 * expectedClicks);
        QTest::keyClick(w.edit, Qt::Key_Escape);
        QCOMPARE(finishClicks.count(), expectedClicks);
        QVERIFY2(w.dialog.isVisible(), "Esc must never close the window by itself");
    }

    // The main keys' Enter and the keypad's alike.
    void focusedButtonTakesEnterItself_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::newRow("Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers();
        QTest::newRow("keypad Enter")
            << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier);
    }
    void focusedButtonTakesEnterItself() {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        Window w;
        QSignalSpy okClicks(w.ok, &QPushButton::clicked);
        QSignalSpy otherClicks(w.other, &QPushButton::clicked);
        w.other->setFocus();
        QTest::keyClick(w.other, Qt::Key(key), modifiers);
        QCOMPARE(otherClicks.count(), 1);
        QCOMPARE(okClicks.count(), 0);
    }

    // "隶书" is a brush face of its own, not the face of "宋体".
    void chineseFontNamesResolveToDifferentFaces() {
        const QString song = QFontInfo(QFont(QStringLiteral("宋体"))).family();
        const QString li = QFontInfo(QFont(QStringLiteral("隶书"))).family();
        QCOMPARE(li, QStringLiteral("AR PL UKai CN"));
        QVERIFY2(song != li, qPrintable(song));
    }

    void questionBoxes_data() {
        QTest::addColumn<Question>("question");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("chosen");
        const Question replace{QStringLiteral("文件“a.rtf”已存在。要替换它吗?"),
                               {QStringLiteral("是"), QStringLiteral("否")},
                               1,
                               1};
        const Question save{
            QStringLiteral("出题区的内容已修改。要保存吗?"),
            {QStringLiteral("保存"), QStringLiteral("不保存"), QStringLiteral("取消")},
            0,
            2};
        QTest::newRow("replace, Enter") << replace << int(Qt::Key_Return) << 1;
        QTest::newRow("replace, Esc") << replace << int(Qt::Key_Escape) << 1;
        QTest::newRow("save, Enter") << save << int(Qt::Key_Return) << 0;
        QTest::newRow("save, Esc") << save << int(Qt::Key_Escape) << 2;
    }
    // A question shows its buttons in the order given, titled "Drillpad"; Enter
    // takes the default button and Esc the escape button.
    void questionBoxes() {
        QFETCH(Question, question);
        QFETCH(int, key);
        QFETCH(int, chosen);
        QMessageBox box;
        prepareQuestionBox(box, question);
        QCOMPARE(box.windowTitle(), QStringLiteral("Drillpad"));
        QCOMPARE(box.text(), question.text);
        QStringList captions;
        for (QAbstractButton *button : box.buttons())
            captions << button->text();
        QCOMPARE(captions, question.buttons);
        box.open();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QTest::keyClick(&box, Qt::Key(key));
        QTRY_VERIFY(!box.isVisible());
        QCOMPARE(box.buttons().indexOf(box.clickedButton()), chosen);
    }

    // The save dialog asks nothing before replacing a file (the program asks
    // about the name it really writes); both offer the filters and the name
    // chosen last.
    void fileDialogs_data() {
        QTest::addColumn<int>("mode");
        QTest::newRow("save") << int(QFileDialog::AcceptSave);
        QTest::newRow("open") << int(QFileDialog::AcceptOpen);
    }
    void fileDialogs() {
        QFETCH(int, mode);
        const auto acceptMode = QFileDialog::AcceptMode(mode);
        QTemporaryDir folder;
        const QStringList filters = filterEntries(QStringLiteral("A (*.a)|*.a|B (*.b)|*.b"));
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        prepareFileDialog(dialog, acceptMode, filters, {folder.filePath(QStringLiteral("x.b")), 1});
        QCOMPARE(dialog.testOption(QFileDialog::DontConfirmOverwrite),
                 acceptMode == QFileDialog::AcceptSave);
        QCOMPARE(dialog.acceptMode(), acceptMode);
        QCOMPARE(dialog.nameFilters(),
                 (QStringList{QStringLiteral("A (*.a)"), QStringLiteral("B (*.b)")}));
        QCOMPARE(dialog.selectedNameFilter(), QStringLiteral("B (*.b)"));
        QCOMPARE(QFileInfo(dialog.directory().absolutePath()), QFileInfo(folder.path()));
    }

    // A screen reader finds the button by its caption as shown and clicks it
    // with its press action, only while it is enabled.
    void screenReaderPressClicks() {
        Window w;
        QSignalSpy clicks(w.other, &QPushButton::clicked);
        QAccessibleInterface *button = QAccessible::queryAccessibleInterface(w.other);
        QCOMPARE(button->text(QAccessible::Name), QStringLiteral("跳过[N]"));
        QCOMPARE(button->role(), QAccessible::Button);
        const QString press = QAccessibleActionInterface::pressAction();
        button->actionInterface()->doAction(press);
        QTRY_COMPARE(clicks.count(), 1);
        w.other->setEnabled(false);
        QVERIFY(!button->actionInterface()->actionNames().contains(press));
        button->actionInterface()->doAction(press);
        QCoreApplication::processEvents();
        QCOMPARE(clicks.count(), 1);
    }
};

DRILLPAD_TEST_MAIN(TestControls)
#include "tst_controls.moc"
