#include "common/fakes.h"
#include "common/test_main.h"

#include "app/forms_registry.h"
#include "controls/command_button.h"
#include "controls/frame_box.h"
#include "controls/rich_text_box.h"
#include "guide/frm_guide.h"
#include "guide/guide_steps.h"
#include "mainwin/frm_main.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit> // the hint box
#include <QRegularExpression>

using namespace drillpad;
using namespace Qt::StringLiterals;
using drillpad::testing::RecordingMessageBoxes;

namespace {

const QString kOldSheet = u"旧内容\n第二行"_s;

// The numbers of the pages shown, such as "2", or "" for none.
QString visiblePages() {
    QString found;
    for (int number = 1; number <= 3; ++number)
        found += frmGuide().page(number)->isVisibleTo(&frmGuide()) ? QString::number(number) : "";
    return found;
}

// Runs the user's clicks: N Next, B Back, R Reset, S show the wizard again.
void perform(const QString &actions) {
    const char *const buttons[] = {"cmdNext", "cmdBack", "cmdReset"};
    for (const QChar action : actions) {
        if (action == u'S')
            frmGuide().show();
        else
            QTest::mouseClick(frmGuide().button(buttons[u"NBR"_s.indexOf(action)]), Qt::LeftButton);
    }
}

QString editorText() {
    return frmMain().txtMain()->text();
}

// The wizard as the user sees it: step, pages shown, Next's caption, whether
// Next and Back are enabled, the hint's opening words, and whether it is shown.
QString state() {
    return u"%1 p%2 %3%4 Back%5 %6 %7"_s.arg(guideStep())
        .arg(visiblePages())
        .arg(frmGuide().button("cmdNext")->caption())
        .arg(frmGuide().button("cmdNext")->isEnabled() ? "+"_L1 : "-"_L1)
        .arg(frmGuide().button("cmdBack")->isEnabled() ? "+"_L1 : "-"_L1)
        .arg(frmGuide().txtGuideHelp()->toPlainText().left(3))
        .arg(frmGuide().isVisible() ? "shown"_L1 : "hidden"_L1);
}

} // namespace

Q_DECLARE_METATYPE(QuestionType)
Q_DECLARE_METATYPE(GuideField)

class TestFrmGuide : public QObject {
    Q_OBJECT
    RecordingMessageBoxes messages_;
    ScopedSeam<MessageBoxes> seam_{messages_};

    FrmGuide &open() {
        FrmGuide &guide = frmGuide();
        guide.show();
        guide.activateWindow();
        [&] { QVERIFY(QTest::qWaitForWindowActive(&guide)); }();
        return guide;
    }

private Q_SLOTS:
    void init() {
        messages_.messages.clear();
        // A saved sheet; Reset after Finish gives the new one up when asked.
        frmMain().txtMain()->setText(kOldSheet);
        frmMain().txtMain()->document()->setModified(false);
        messages_.answers = {u"不保存"_s};
        cleanup();
    }
    void cleanup() {
        unloadForm(FormId::Guide);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Every row of the step machine, reached by the user's clicks; with no
    // type ticked, Next refuses.
    void stepMachine_data() {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QString>("state");
        QTest::newRow("load") << "" << u"1 p1 下一步[&N]+ Back- 第一步 shown"_s;
        QTest::newRow("1 Next") << "N" << u"2 p2 下一步[&N]+ Back+ 第二步 shown"_s;
        QTest::newRow("2 Next") << "NN" << u"3 p3 完成[&F]+ Back+ 第三步 shown"_s;
        QTest::newRow("3 Finish") << "NNN" << u"4 p 完成[&F]+ Back+ 恭喜你 hidden"_s;
        QTest::newRow("4 Next") << "NNNSN" << u"4 p 完成[&F]- Back+ 恭喜你 shown"_s;
        QTest::newRow("4 Back") << "NNNSB" << u"3 p3 完成[&F]+ Back+ 第三步 shown"_s;
        QTest::newRow("Reset, Next disabled")
            << "NNNSNR" << u"1 p1 下一步[&N]+ Back- 恭喜你 shown"_s;
        QTest::newRow("no type ticked") << "UN" << u"1 p1 下一步[&N]+ Back- 第一步 shown"_s;
    }
    void stepMachine() {
        QFETCH(QString, actions);
        QFETCH(QString, state);
        open().typeCheck(QuestionType::Mul)->setChecked(!actions.startsWith(u'U'));
        perform(actions.remove(u'U'));
        QCOMPARE(::state(), state);
        QCOMPARE(messages_.messages, QTest::currentDataTag() == "no type ticked"_L1
                                         ? QStringList(u"请选择出题类型"_s)
                                         : QStringList());
    }

    // The range boxes keep their size (735 x 300 twips), offer usual bounds
    // and show five digits whole: "32767" ends inside the edit field. (What
    // screen readers read of them: tests/accessibility.)
    void rangeBoxes() {
        FrmGuide &guide = open();
        QTest::mouseClick(guide.chkSelectAll(), Qt::LeftButton);
        perform(u"N"_s);
        for (int type = 0; type < kQuestionTypeCount; ++type) {
            for (const GuideField field : {GuideField::From, GuideField::To}) {
                auto *box = qobject_cast<QComboBox *>(guide.entryBox(QuestionType(type), field));
                QVERIFY(box && box->isVisible() && box->isEnabled());
                QCOMPARE(box->size(), QSize(49, 20));
                QStringList items;
                for (int i = 0; i < box->count(); ++i)
                    items << box->itemText(i);
                const bool isFrom = field == GuideField::From;
                QCOMPARE(items.join(u' '),
                         isFrom ? u"0 2 5 10 20 50 100"_s : u"5 9 10 12 20 50 100 1000"_s);
                QCOMPARE(box->currentText() + u' ' + box->itemText(box->currentIndex()),
                         isFrom ? u"0 0"_s : u"9 9"_s);
                QLineEdit *edit = box->lineEdit();
                const auto cursorAt = [edit](int position) {
                    edit->setCursorPosition(position);
                    return edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
                };
                edit->setText(u"32767"_s);
                QVERIFY(cursorAt(0) >= 0 && cursorAt(5) < edit->width());
            }
        }
    }

    // After a Finish, Reset empties the document and puts all five counts back,
    // but keeps the ticks and the ranges. Cancel and the close box unload the
    // wizard, which opens afresh; the step number outlives the window.
    void resetAndCancel() {
        FrmGuide &guide = open();
        guide.typeCheck(QuestionType::Mix)->setChecked(true);
        for (int type = 0; type < kQuestionTypeCount; ++type)
            for (const auto &[field, text] : {std::pair{GuideField::From, u"3"_s},
                                              {GuideField::To, u"30"_s},
                                              {GuideField::Count, u"7"_s}})
                guide.setEntryText(QuestionType(type), field, text);
        perform(u"NNNSR"_s);
        QCOMPARE(editorText(), QString());
        for (const TypeEntries &entries : guide.entries().types)
            QCOMPARE(entries.from + u' ' + entries.to + u' ' + entries.count, u"3 30 20"_s);
        QVERIFY(guide.typeCheck(QuestionType::Mix)->isChecked() &&
                !guide.typeCheck(QuestionType::Add)->isChecked());
        perform(u"NN"_s);
        QTest::mouseClick(frmGuide().button("cmdCancle"), Qt::LeftButton);
        QVERIFY(!isFormLoaded(FormId::Guide));
        QCOMPARE(guideStep(), 3);
        open();
        QCOMPARE(state(), u"1 p1 下一步[&N]+ Back- 第一步 shown"_s);
        QVERIFY(frmGuide().entries()[QuestionType::Mix].count == u"20"_s &&
                !frmGuide().typeCheck(QuestionType::Mix)->isChecked());
        frmGuide().close();
        QVERIFY(!isFormLoaded(FormId::Guide));
    }

    // Opened modally from the main window, Finish writes a section per ticked type
    // from its own entries (operands from max(2, from) to "to"), notes the repeats,
    // and replaces the document, as unsaved work, in one step that one undo takes back.
    void finishFromTheMainWindow() {
        bool wasModal = false;
        QTimer::singleShot(0, [&] {
            FrmGuide &guide = frmGuide();
            wasModal = guide.isVisible() && guide.isModal();
            QTest::mouseClick(guide.chkSelectAll(), Qt::LeftButton);
            const int ranges[][2] = {{10, 20}, {15, 16}, {1, 2}, {5, 5}, {7, 7}};
            for (int type = 0; type < kQuestionTypeCount; ++type)
                for (int field = 0; field < 3; ++field)
                    guide.setEntryText(
                        QuestionType(type), GuideField(field),
                        QString::number(field < 2 ? ranges[type][field] : 40 + type));
            perform(u"NNN"_s);
        });
        frmMain().button("cmdGuide")->click();
        QVERIFY(wasModal && !frmGuide().isVisible() && messages_.messages.isEmpty());
        const QStringList sections = editorText().split(u"\n\n"_s, Qt::SkipEmptyParts);
        QCOMPARE(sections.size(), 5);
        // Every question these ranges allow.
        const QString shapes[] = {u"加法题:((1[0-9]|20)\\+(1[0-9]|20)=　){40}"_s,
                                  u"减法题:(16-15=　){41}"_s, u"乘法题:(2×2=　){42}"_s,
                                  u"除法题:(25÷5=　){43}"_s,
                                  u"四则混合运算题:((7[-+×÷]){2}7=　){44}"_s};
        const int perLine[] = {9, 9, 8, 8, 6};
        for (int type = 0; type < kQuestionTypeCount; ++type) {
            QString section = sections[type];
            QCOMPARE(section.count(u'\n'), 2 + (40 + type) / perLine[type]);
            QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(shapes[type]))
                         .match(section.remove(u'\n'))
                         .hasMatch(),
                     qPrintable(section));
        }
        QCOMPARE(frmGuide().controls().get<QLabel>(u"lblRepeats"_s)->text(),
                 u"减法范围内只有1道不同的题\n乘法范围内只有1道不同的题\n"
                 u"除法范围内只有1道不同的题\n四则混合运算范围内只有12道不同的题"_s);
        QTextDocument *sheet = frmMain().txtMain()->document();
        QVERIFY(sheet->isModified());
        frmMain().txtMain()->undo();
        QCOMPARE(editorText(), kOldSheet);
        QVERIFY(!sheet->isModified());
    }

    // Bad entries of ticked types are refused at Finish, not before: the message
    // says what is wrong, nothing is written, and the offending box, on its page,
    // has the focus. Mended (blanks and full-width digits allowed), Finish writes.
    void refusesBadEntries_data() {
        QTest::addColumn<QuestionType>("type");
        QTest::addColumn<GuideField>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        using T = QuestionType;
        using F = GuideField;
        QTest::newRow("empty count")
            << T::Add << F::Count << "" << u"加法的出题数量必须是0到32767之间的整数"_s;
        QTest::newRow("subtraction to 2")
            << T::Minus << F::To << "2" << u"减法范围的结束数必须是3到32767之间的整数"_s;
        QTest::newRow("from above to")
            << T::Add << F::From << "10" << u"加法范围的起始数不能大于结束数"_s;
        QTest::newRow("no subtraction pair")
            << T::Minus << F::From << "9" << u"减法范围的起始数必须小于结束数"_s;
    }
    void refusesBadEntries() {
        QFETCH(QuestionType, type);
        QFETCH(GuideField, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        FrmGuide &guide = open();
        guide.typeCheck(type)->setChecked(true);
        guide.setEntryText(type, field, text);
        guide.setEntryText(QuestionType::Mix, GuideField::Count, u"x"_s); // not ticked, not read
        perform(u"NNN"_s);
        QCOMPARE(messages_.messages, QStringList(message));
        QCOMPARE(editorText(), kOldSheet);
        const bool onCounts = field == GuideField::Count;
        QCOMPARE(state(), onCounts ? u"3 p3 完成[&F]+ Back+ 第三步 shown"_s
                                   : u"2 p2 下一步[&N]+ Back+ 第二步 shown"_s);
        // An editable combo box has the focus through its edit field.
        QWidget *focus = QApplication::focusWidget(), *box = guide.entryBox(type, field);
        QVERIFY(focus && (focus == box || focus->parentWidget() == box));
        guide.setEntryText(type, field, field == GuideField::From ? u" ０"_s : u"\u3000１２ "_s);
        perform(onCounts ? u"N"_s : u"NN"_s);
        QVERIFY(messages_.messages.size() == 1 && !guide.isVisible() && editorText() != kOldSheet);
    }
};

DRILLPAD_TEST_MAIN(TestFrmGuide)
#include "tst_frm_guide.moc"
