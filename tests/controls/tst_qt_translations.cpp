#include "common/test_main.h"
#include "controls/rich_text_box.h"
#include "controls/translations.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

using namespace drillpad;
using namespace Qt::StringLiterals;

namespace {

// True for a text without a single Chinese character.
bool isEnglish(const QString &text) {
    for (QChar c : text) {
        if (c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF)
            return false;
    }
    return true;
}

} // namespace

// Whatever the locale, Qt's own texts (standard buttons, dialogs, context
// menus) are Chinese, like the rest of the program.
class TestQtTranslations : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QVERIFY(installQtTranslations()); // installed by the application's settings already
    }

    void messageBoxButtonAndPrintDialog() {
        QMessageBox box(QMessageBox::Warning, u"Drillpad"_s, u"请选择出题类型"_s, QMessageBox::Ok);
        QPrinter printer;
        QPrintDialog dialog(&printer);
        QCOMPARE(box.button(QMessageBox::Ok)->text() + u' ' + dialog.windowTitle(), u"确定 打印"_s);
    }

    void fileDialog_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("accept");
        QTest::newRow("save") << int(QFileDialog::AcceptSave) << u"保存"_s;
        QTest::newRow("open") << int(QFileDialog::AcceptOpen) << u"打开"_s;
    }
    void fileDialog() {
        QFETCH(int, mode);
        QFETCH(QString, accept);
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptMode(mode));
        auto *buttons = dialog.findChild<QDialogButtonBox *>();
        QVERIFY(buttons);
        const QString text = buttons
                                 ->button(mode == QFileDialog::AcceptSave ? QDialogButtonBox::Save
                                                                          : QDialogButtonBox::Open)
                                 ->text();
        QVERIFY2(text.startsWith(accept), qPrintable(text));
        QCOMPARE(buttons->button(QDialogButtonBox::Cancel)->text(), u"取消"_s);
    }

    void editorContextMenu() {
        RichTextBox editor;
        editor.setText(u"7+3="_s);
        editor.selectAll();
        std::unique_ptr<QMenu> menu(editor.createStandardContextMenu());
        QStringList english;
        for (QAction *action : menu->actions()) {
            if (!action->isSeparator() && isEnglish(action->text()))
                english << action->text();
        }
        QVERIFY2(english.isEmpty(), qPrintable(english.join(u", ")));
        QVERIFY(menu->actions().size() > 5);
    }
};

DRILLPAD_TEST_MAIN(TestQtTranslations)
#include "tst_qt_translations.moc"
