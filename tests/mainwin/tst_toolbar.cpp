#include "common/editor_helpers.h"
#include "common/main_window_fixture.h"
#include "common/test_main.h"
#include "controls/tool_bar.h"

#include <QLineEdit>
#include <QTextBlock>
#include <QToolButton>

using namespace drillpad;
using testing::placeCaret;
using testing::selectRange;

using SelectionState = std::optional<bool> (RichTextBox::*)() const;
using SetSelectionState = void (RichTextBox::*)(bool);
Q_DECLARE_METATYPE(SelectionState)
Q_DECLARE_METATYPE(SetSelectionState)

// What the toolbar buttons and the font lists do to the sheet.
class TestToolbar : public QObject {
    Q_OBJECT

    std::unique_ptr<FrmMain> window_;

    RichTextBox *editor() const { return window_->txtMain(); }

    void click(const char *key) {
        ToolBar *bar = window_->toolbarSYSTEM()->button(QString::fromLatin1(key))
                           ? window_->toolbarSYSTEM()
                           : window_->toolbarEdit();
        QToolButton *button = bar->buttonWidget(QString::fromLatin1(key));
        QVERIFY2(button, key);
        QVERIFY2(button->isVisible(), key);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // The name of the modal window that a click opens, closed again at once.
    QString modalWindowOpenedBy(const char *key) {
        QString opened;
        QTimer::singleShot(0, this, [&opened] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                opened = modal->objectName();
                modal->hide();
            }
        });
        click(key);
        QTest::qWait(1);
        return opened;
    }

private Q_SLOTS:
    void init() { window_ = testing::shownMainWindow(); }

    void cleanup() {
        window_.reset();
        testing::unloadAllWindows();
    }

    void toggles_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<SelectionState>("read");
        QTest::addColumn<SetSelectionState>("write");
        QTest::newRow("bold") << "tbBold" << &RichTextBox::selBold << &RichTextBox::setSelBold;
        QTest::newRow("italic") << "tbItaic" << &RichTextBox::selItalic
                                << &RichTextBox::setSelItalic;
        QTest::newRow("underline")
            << "tbUnderline" << &RichTextBox::selUnderline << &RichTextBox::setSelUnderline;
    }

    // Twice on a uniformly formatted selection: off, then on again.
    void toggleTwiceOnAFormattedSelectionLeavesItFormatted() {
        QFETCH(QString, key);
        QFETCH(SelectionState, read);
        QFETCH(SetSelectionState, write);
        editor()->setText(QStringLiteral("3+4=\u3000 5+6=\u3000"));
        selectRange(editor(), 0, 5);
        (editor()->*write)(true);
        click(key.toLatin1().constData());
        QCOMPARE((editor()->*read)(), std::optional<bool>(false));
        click(key.toLatin1().constData());
        QCOMPARE((editor()->*read)(), std::optional<bool>(true));
        // The rest of the line was never touched.
        selectRange(editor(), 6, 11);
        QCOMPARE((editor()->*read)(), std::optional<bool>(false));
    }
    void toggleTwiceOnAFormattedSelectionLeavesItFormatted_data() { toggles_data(); }

    // A selection that is partly formatted becomes wholly formatted.
    void toggleOnAMixedSelectionSwitchesAllOn() {
        QFETCH(QString, key);
        QFETCH(SelectionState, read);
        QFETCH(SetSelectionState, write);
        editor()->setText(QStringLiteral("abcdef"));
        selectRange(editor(), 0, 3);
        (editor()->*write)(true);
        selectRange(editor(), 1, 6);
        QCOMPARE((editor()->*read)(), std::nullopt);
        click(key.toLatin1().constData());
        QCOMPARE((editor()->*read)(), std::optional<bool>(true));
        click(key.toLatin1().constData());
        QCOMPARE((editor()->*read)(), std::optional<bool>(false));
        selectRange(editor(), 0, 1);
        QCOMPARE((editor()->*read)(), std::optional<bool>(true));
    }
    void toggleOnAMixedSelectionSwitchesAllOn_data() { toggles_data(); }

    // The result follows the selection, not the button's pressed look.
    void toggleReadsTheSelectionNotTheButton() {
        editor()->setText(QStringLiteral("plain bold"));
        selectRange(editor(), 6, 10);
        editor()->setSelBold(true);
        QAction *bold = window_->toolbarEdit()->button(QStringLiteral("tbBold"));
        QVERIFY(!bold->isChecked());
        click("tbBold");
        QVERIFY(bold->isChecked());                                // the look flips...
        QCOMPARE(editor()->selBold(), std::optional<bool>(false)); // ...the text goes plain
        selectRange(editor(), 0, 5);
        click("tbBold");
        QVERIFY(!bold->isChecked());
        QCOMPARE(editor()->selBold(), std::optional<bool>(true));
    }

    void togglesAtTheCaretApplyToTextTypedNext() {
        editor()->setText(QStringLiteral("ab"));
        editor()->setFocus();
        placeCaret(editor(), 1);
        click("tbItaic");
        QTest::keyClicks(editor(), QStringLiteral("x"));
        QCOMPARE(editor()->text(), QStringLiteral("axb"));
        selectRange(editor(), 1, 2);
        QCOMPARE(editor()->selItalic(), std::optional<bool>(true));
        selectRange(editor(), 2, 3);
        QCOMPARE(editor()->selItalic(), std::optional<bool>(false));
    }

    void alignmentOfTheSelectedParagraphs_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("code");
        QTest::newRow("centre") << "tbMid" << 0 << 2;
        QTest::newRow("right") << "tbRight" << 0 << 1;
        QTest::newRow("left") << "tbLeft" << 2 << 0;
    }
    void alignmentOfTheSelectedParagraphs() {
        QFETCH(QString, key);
        QFETCH(int, before);
        QFETCH(int, code);
        editor()->setText(QStringLiteral("\n乘法题:\n2\u00D73=\u3000\n4\u00D75=\u3000"));
        selectRange(editor(), 0, editor()->text().size());
        editor()->setSelAlignment(before);
        // From inside the heading to inside the first line of questions.
        selectRange(editor(), 2, 6);
        click(key.toLatin1().constData());
        const QList<int> expected = {before, code, code, before};
        for (int paragraph = 0; paragraph < expected.size(); ++paragraph) {
            const int start = editor()->document()->findBlockByNumber(paragraph).position();
            placeCaret(editor(), start);
            QCOMPARE(editor()->selAlignment(), std::optional<int>(expected.at(paragraph)));
        }
    }

    void alignmentButtonsFormOneGroupAndChecksFlip() {
        ToolBar *bar = window_->toolbarEdit();
        const auto checked = [bar] {
            QStringList keys;
            for (const QString &key : bar->keys()) {
                if (bar->button(key)->isChecked())
                    keys << key;
            }
            return keys;
        };
        QCOMPARE(checked(), QStringList());
        click("tbMid");
        QCOMPARE(checked(), QStringList{QStringLiteral("tbMid")});
        click("tbRight");
        click("tbRight"); // the last one clicked stays pressed
        QCOMPARE(checked(), QStringList{QStringLiteral("tbRight")});
        click("tbUnderline");
        click("tbBold");
        QCOMPARE(checked(), (QStringList{QStringLiteral("tbBold"), QStringLiteral("tbUnderline"),
                                         QStringLiteral("tbRight")}));
        click("tbUnderline");
        QCOMPARE(checked(), (QStringList{QStringLiteral("tbBold"), QStringLiteral("tbRight")}));
    }

    void pickingASizeSetsIt() {
        QCOMPARE(window_->cmbFontSize()->currentText(), QStringLiteral("五号"));
        editor()->setText(QStringLiteral("7+3=\u3000"));
        selectRange(editor(), 0, 4);
        QVERIFY(testing::pickFromList(window_->cmbFontSize(), QStringLiteral("128")));
        QCOMPARE(editor()->selFontSize(), std::optional<double>(128));
        selectRange(editor(), 4, 5);
        QVERIFY(editor()->selFontSize() != std::optional<double>(128));
        QVERIFY(editor()->hasFocus()); // back to the sheet for typing
    }

    void pickingAFontWithoutSelectionSetsItForTextTypedNext() {
        editor()->setText(QStringLiteral("ab"));
        placeCaret(editor(), 2);
        QVERIFY(testing::pickFromList(window_->cmbFont(), QStringLiteral("隶书")));
        QTest::keyClicks(editor(), QStringLiteral("cd"));
        QCOMPARE(editor()->text(), QStringLiteral("abcd"));
        selectRange(editor(), 2, 4);
        QCOMPARE(editor()->selFontName(), std::optional<QString>(QStringLiteral("隶书")));
        selectRange(editor(), 0, 2);
        QVERIFY(editor()->selFontName() != std::optional<QString>(QStringLiteral("隶书")));
    }

    void nothingAppliesUntilAnEntryIsPicked() {
        editor()->setText(QStringLiteral("abc"));
        selectRange(editor(), 0, 3);
        const std::optional<double> size = editor()->selFontSize();
        window_->cmbFontSize()->setFocus();
        window_->cmbFontSize()->lineEdit()->selectAll();
        QTest::keyClicks(window_->cmbFontSize()->lineEdit(), QStringLiteral("13"));
        QCOMPARE(editor()->selFontSize(), size);
    }

    void buttonsThatOpenWindows_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("window");
        QTest::newRow("new sheet: the wizard") << "tbNew"
                                               << "frmGuide";
        QTest::newRow("help") << "tbHelp"
                              << "frmHelp";
    }
    void buttonsThatOpenWindows() {
        QFETCH(QString, key);
        QFETCH(QString, window);
        QCOMPARE(modalWindowOpenedBy(key.toLatin1().constData()), window);
    }

    void unknownKeysDoNothing_data() {
        QTest::addColumn<QString>("key");
        QTest::newRow("other case") << "tbnew";
        QTest::newRow("longer") << "tbHelp ";
        QTest::newRow("empty") << "";
    }
    void unknownKeysDoNothing() {
        QFETCH(QString, key);
        editor()->setText(QStringLiteral("abc"));
        selectRange(editor(), 0, 3);
        QAction button;
        button.setObjectName(key);
        window_->toolbarSYSTEM_ButtonClick(&button);
        window_->toolbarEdit_ButtonClick(&button);
        QVERIFY(!isFormLoaded(FormId::Guide));
        QVERIFY(!isFormLoaded(FormId::Help));
        QCOMPARE(editor()->text(), QStringLiteral("abc"));
        QCOMPARE(editor()->selBold(), std::optional<bool>(false));
        QCOMPARE(editor()->selAlignment(), std::optional<int>(0));
    }
};

DRILLPAD_TEST_MAIN(TestToolbar)
#include "tst_toolbar.moc"
