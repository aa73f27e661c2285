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

// Whatever the locale, Qt's own texts (standard buttons, dialogs, context
// menus) are Chinese, like the rest of the program.
class TestQtTranslations : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QVERIFY(installQtTranslations()); // installed by the application's settings already
    }

    void dialogsAndContextMenu() {
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

DRILLPAD_TEST_MAIN(TestQtTranslations)
#include "tst_qt_translations.moc"
