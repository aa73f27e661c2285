#include "common/test_main.h"
#include "controls/command_button.h"
#include "controls/file_dialogs.h"
#include "controls/form_dialog.h"
#include "controls/message_box.h"
#include "controls/progress_window.h"
#include "controls/rich_text_box.h"
#include "controls/translations.h"
#include "controls/twips.h"

#include <QAccessible>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextBlock>

#include <thread>

using namespace drillpad;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(drillpad::Question)

namespace {

void select(RichTextBox &box, int start, int end) {
    QTextCursor cursor = box.textCursor();
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    box.setTextCursor(cursor);
}

} // namespace

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
        QWidget child;
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
        const Question save{
            u"出题区的内容已修改。要保存吗?"_s, {u"保存"_s, u"不保存"_s, u"取消"_s}, 0, 2};
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

    void replacingATableWithTheCaretInIt_data() {
        QTest::addColumn<int>("caret"); // a position in the document
        QTest::addColumn<bool>("rich"); // replaced by rich text, else by plain text
        QTest::newRow("in a cell, by text") << 4 << false;
        QTest::newRow("in a cell, by a table") << 4 << true;
        QTest::newRow("in the last cell, with a selection, by text") << -1 << false;
    }
    // A table in the editor, the caret or a selection in one of its cells,
    // is replaced whole; the caret ends at the start, the formats read.
    void replacingATableWithTheCaretInIt() {
        QFETCH(int, caret);
        QFETCH(bool, rich);
        RtfDocument table;
        table.rows.push_back({{1440, 1440}, true});
        for (int cell = 0; cell < 2; ++cell) {
            for (const char *text : {"34", "+ 25", ""}) {
                RtfParagraph &paragraph = table.paragraphs.emplace_back();
                paragraph.append(QString::fromUtf8(text), RtfCharFormat{});
                paragraph.row = 0;
                paragraph.cell = cell;
            }
        }
        RichTextBox box;
        box.show();
        QVERIFY(box.setRtfDocument(table));
        const int end = box.document()->characterCount() - 2;
        select(box, caret < 0 ? end - 3 : caret, caret < 0 ? end : caret);
        QVERIFY(box.textCursor().currentTable());
        QVERIFY(rich ? box.setRtfDocument(table) : box.setText(u"7+3="_s));
        QCOMPARE(box.textCursor().position(), 0);
        QCOMPARE(box.selAlignment(), std::optional<int>(RichTextBox::AlignLeftCode));
        QCOMPARE(box.text(), rich ? u"34\n+ 25\n\n34\n+ 25\n"_s : u"7+3="_s);
    }

    // The header shows above the text, named by what it says, and comes
    // and goes with the text, undo (one step) and redo included; the text keeps
    // its room below it. New text drops the old formatting.
    void headerComesAndGoesWithTheText() {
        RichTextBox box;
        box.resize(400, 300);
        box.show();
        const auto *shown = box.findChild<QLabel *>(u"headerView"_s);
        QVERIFY(shown && shown->isHidden());
        RtfParagraph line;
        line.append(u"姓名:______ 得分:______"_s, RtfCharFormat{});
        box.setText(u"first"_s, {}, {line, line});
        QVERIFY(box.header().size() == 2 && shown->isVisible());
        QCOMPARE(shown->accessibleName(), u"姓名:______ 得分:______\n姓名:______ 得分:______"_s);
        QVERIFY(box.viewport()->y() >= shown->geometry().bottom());
        select(box, 0, 5);
        box.setSelBold(true);
        box.setSelAlignment(RichTextBox::AlignCenterCode);
        box.setText(u"second"_s);
        QVERIFY(box.header().empty() && shown->isHidden());
        select(box, 0, 6);
        QCOMPARE(box.selCharFormat().bold, std::optional<bool>(false));
        QCOMPARE(box.selAlignment(), std::optional<int>(RichTextBox::AlignLeftCode));
        box.undo();
        QCOMPARE(box.text(), u"first"_s);
        QVERIFY(box.header().size() == 2 && shown->isVisible());
        box.redo();
        QVERIFY(box.header().empty() && shown->isHidden());
        QCOMPARE(box.text(), u"second"_s);
    }

    void fontSizeTakesOnlySizesInRange_data() {
        QTest::addColumn<QString>("size");
        QTest::addColumn<bool>("taken");
        QTest::newRow("design text") << u"五号"_s << false;
        QTest::newRow("zero") << u"0"_s << false;
        QTest::newRow("largest") << u"1638"_s << true;
        QTest::newRow("too large") << u"1638.5"_s << false;
    }
    void fontSizeTakesOnlySizesInRange() {
        QFETCH(QString, size);
        QFETCH(bool, taken);
        RichTextBox box;
        box.setText(u"abc"_s);
        select(box, 0, 3);
        const std::optional<double> before = box.selCharFormat().fontSize;
        QCOMPARE(box.setSelFontSize(size), taken);
        QCOMPARE(box.selCharFormat().fontSize, taken ? std::optional(size.toDouble()) : before);
    }

    void alignmentSparesAParagraphTheSelectionOnlyReaches_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("aligned"); // per paragraph: l left, c centred, r right
        const int centre = RichTextBox::AlignCenterCode, right = RichTextBox::AlignRightCode;
        // "one\ntwo\nthree": "two" starts at 4, "three" at 8.
        QTest::newRow("one line to the next one's start") << 4 << 8 << centre << "lcl";
        QTest::newRow("backwards from the next one's start") << 8 << 4 << centre << "lcl";
        QTest::newRow("into the next line") << 4 << 9 << centre << "lcc";
        QTest::newRow("caret at a line's start") << 8 << 8 << centre << "llc";
        QTest::newRow("right, from inside a line into the next") << 5 << 9 << right << "lrr";
    }
    void alignmentSparesAParagraphTheSelectionOnlyReaches() {
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(int, code);
        QFETCH(QString, aligned);
        RichTextBox box;
        box.setText(u"one\ntwo\nthree"_s);
        select(box, start, end);
        QCOMPARE(box.selAlignment(), std::optional<int>(RichTextBox::AlignLeftCode));
        box.setSelAlignment(code);
        QString found;
        for (QTextBlock block = box.document()->firstBlock(); block.isValid();
             block = block.next()) {
            const Qt::Alignment alignment = block.blockFormat().alignment();
            found += alignment & Qt::AlignRight ? u'r' : alignment & Qt::AlignHCenter ? u'c' : u'l';
        }
        QCOMPARE(found, aligned);
        // Read back over the same selection: what it covers is uniformly aligned.
        QCOMPARE(box.selAlignment(), std::optional<int>(code));
    }

    // Long work with a progress window: the window answers, the progress window
    // shows once the work takes a while, in Chinese, and 取消 or Esc stops it.
    void cancels_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("取消") << u"取消"_s;
        QTest::newRow("Esc") << u"Esc"_s;
    }
    // Work on its own thread that goes on until it is asked to stop, or for ten
    // seconds; the user stops it once the progress window shows.
    void cancels() {
        QFETCH(QString, how);
        QString seen;
        QWidget window;
        window.show();
        QTimer watcher;
        QObject::connect(&watcher, &QTimer::timeout, [&] {
            auto *dialog = window.findChild<QProgressDialog *>();
            if (!dialog || !dialog->isVisible() || !seen.isEmpty())
                return;
            auto *cancel = dialog->findChild<QPushButton *>();
            seen = dialog->windowTitle() + u' ' + dialog->labelText() + u' ' + cancel->text();
            if (how == u"Esc"_s)
                QTest::keyClick(dialog, Qt::Key_Escape);
            else
                cancel->click();
        });
        watcher.start(20);
        ProgressWindow progress(&window, u"正在打开文件“a.rtf”……"_s);
        bool stopped = false;
        const bool done = progress.runAside([&stopped](std::stop_token stop) {
            for (int i = 0; i < 500 && !stop.stop_requested(); ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            stopped = stop.stop_requested();
        });
        QVERIFY(!done && stopped && !progress.keepAnswering(1, 2));
        QCOMPARE(seen, u"Drillpad 正在打开文件“a.rtf”…… 取消"_s);
    }

    void quickWorkShowsNothing() {
        QWidget window;
        ProgressWindow progress(&window, u"x"_s);
        int calls = 0;
        QVERIFY(progress.runAside([&calls](std::stop_token) { ++calls; }));
        QVERIFY(progress.keepAnswering(1, 2) && calls == 1);
        QVERIFY(!window.findChild<QProgressDialog *>());
    }

    // Whatever the locale, Qt's own texts (standard buttons, dialogs, context
    // menus) are Chinese, like the rest of the program. (Last: it changes the locale.)
    void qtTextsInChineseWhateverTheLocale() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QVERIFY(installQtTranslations()); // installed by the application's settings already
        QMessageBox box(QMessageBox::Warning, u"Drillpad"_s, u"请选择出题类型"_s, QMessageBox::Ok);
        QPrinter printer;
        QPrintDialog print(&printer);
        QFileDialog files;
        files.setOption(QFileDialog::DontUseNativeDialog);
        files.setAcceptMode(QFileDialog::AcceptSave);
        auto *buttons = files.findChild<QDialogButtonBox *>();
        QVERIFY(buttons);
        QCOMPARE(box.button(QMessageBox::Ok)->text() + u' ' + print.windowTitle() + u' ' +
                     buttons->button(QDialogButtonBox::Save)->text().left(2) + u' ' +
                     buttons->button(QDialogButtonBox::Cancel)->text(),
                 u"确定 打印 保存 取消"_s);

        RichTextBox editor;
        editor.setText(u"7+3="_s);
        editor.selectAll();
        std::unique_ptr<QMenu> menu(editor.createStandardContextMenu());
        const QRegularExpression chinese(u"\\p{Han}"_s);
        QStringList english;
        for (QAction *action : menu->actions()) {
            if (!action->isSeparator() && !action->text().contains(chinese))
                english << action->text();
        }
        QVERIFY2(english.isEmpty(), qPrintable(english.join(u", ")));
        QVERIFY(menu->actions().size() > 5);
    }
};

DRILLPAD_TEST_MAIN(TestControls)
#include "tst_controls.moc"
