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
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(drillpad::Question)

class TestControls : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void twipsAreKeptExactlyAndPlacedAt15PerPixel_data() {
        QTest::addColumn<TwipsRect>("rect");
        QTest::addColumn<QRect>("pixels");
        QTest::newRow("between pixels") << TwipsRect{10, 35, 2657, 1817} << QRect(1, 2, 177, 121);
        QTest::newRow("negative") << TwipsRect{-120, 920, 8655, 3510} << QRect(-8, 61, 577, 234);
    }
    void twipsAreKeptExactlyAndPlacedAt15PerPixel() {
        QFETCH(TwipsRect, rect);
        QWidget parent;
        QWidget child(&parent);
        setTwipsGeometry(&child, rect);
        QCOMPARE(twipsGeometry(&child), rect);
        QTEST(child.geometry(), "pixels");
    }

    // The access key and a screen reader's press action (which finds the button
    // by its caption as shown) click the button, only while it is enabled. (Enter
    // and Esc in the windows: tests/mainwin/tst_keyboard.cpp.)
    void accessKeyAndPressActionClickOnlyWhileEnabled() {
        FormDialog dialog;
        auto *edit = new QLineEdit(&dialog);
        auto *other = new CommandButton(&dialog);
        other->setCaption(u"跳过[&N]"_s);
        other->move(0, 30);
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        edit->setFocus();
        QSignalSpy clicks(other, &QPushButton::clicked);
        QAccessibleInterface *button = QAccessible::queryAccessibleInterface(other);
        QCOMPARE(button->text(QAccessible::Name), u"跳过[N]"_s);
        const QString press = QAccessibleActionInterface::pressAction();
        for (bool enabled : {true, false}) {
            other->setEnabled(enabled);
            QCOMPARE(button->actionInterface()->actionNames().contains(press), enabled);
            QTest::keyClick(edit, Qt::Key_N, Qt::AltModifier);
            button->actionInterface()->doAction(press);
            QCoreApplication::processEvents();
            QTRY_COMPARE(clicks.count(), 2);
        }
    }

    // "隶书" is a brush face of its own, not the face of "宋体".
    void chineseFontNamesResolveToDifferentFaces() {
        const QString song = QFontInfo(QFont(u"宋体"_s)).family();
        const QString li = QFontInfo(QFont(u"隶书"_s)).family();
        QCOMPARE(li, u"AR PL UKai CN"_s);
        QVERIFY2(song != li, qPrintable(song));
    }

    // A question shows its buttons in the order given, titled "Drillpad"; Enter
    // takes the default button and Esc the escape button.
    void questionBoxes_data() {
        QTest::addColumn<Question>("question");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("chosen");
        const Question replace{u"文件“a.rtf”已存在。要替换它吗?"_s, {u"是"_s, u"否"_s}, 1, 1};
        const Question save{
            u"出题区的内容已修改。要保存吗?"_s, {u"保存"_s, u"不保存"_s, u"取消"_s}, 0, 2};
        QTest::newRow("replace, Esc") << replace << int(Qt::Key_Escape) << 1;
        QTest::newRow("save, Enter") << save << int(Qt::Key_Return) << 0;
        QTest::newRow("save, Esc") << save << int(Qt::Key_Escape) << 2;
    }
    void questionBoxes() {
        QFETCH(Question, question);
        QFETCH(int, key);
        QMessageBox box;
        prepareQuestionBox(box, question);
        QCOMPARE(box.windowTitle() + u' ' + box.text(), u"Drillpad "_s + question.text);
        QStringList captions;
        for (QAbstractButton *button : box.buttons())
            captions << button->text();
        QCOMPARE(captions, question.buttons);
        box.open();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QTest::keyClick(&box, Qt::Key(key));
        QTRY_VERIFY(!box.isVisible());
        QTEST(int(box.buttons().indexOf(box.clickedButton())), "chosen");
    }

    // The save dialog asks nothing before replacing a file (the program asks
    // about the name it really writes); both offer the filters and the name
    // chosen last.
    void fileDialogs_data() {
        QTest::addColumn<QFileDialog::AcceptMode>("mode");
        QTest::newRow("save") << QFileDialog::AcceptSave;
        QTest::newRow("open") << QFileDialog::AcceptOpen;
    }
    void fileDialogs() {
        QFETCH(QFileDialog::AcceptMode, mode);
        QTemporaryDir folder;
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        prepareFileDialog(dialog, mode, filterEntries(u"A (*.a)|*.a|B (*.b)|*.b"_s),
                          {folder.filePath(u"x.b"_s), 1});
        QCOMPARE(dialog.testOption(QFileDialog::DontConfirmOverwrite),
                 mode == QFileDialog::AcceptSave);
        QCOMPARE(dialog.nameFilters(), (QStringList{u"A (*.a)"_s, u"B (*.b)"_s}));
        QCOMPARE(dialog.selectedNameFilter(), u"B (*.b)"_s);
        QCOMPARE(QFileInfo(dialog.directory().absolutePath()), QFileInfo(folder.path()));
    }
};

DRILLPAD_TEST_MAIN(TestControls)
#include "tst_controls.moc"
