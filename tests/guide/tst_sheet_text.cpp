#include "common/test_main.h"
#include "guide/sheet_writer.h"

#include <QRegularExpression>

using namespace drillpad;

Q_DECLARE_METATYPE(drillpad::SheetSettings)

namespace {

// The sheet with every question replaced by its glyph, so that the layout of
// headings, line feeds and questions can be compared exactly.
QString shapeOf(const QString &sheet) {
    static const QRegularExpression question(
        QStringLiteral("[1-9][0-9]*([-+\u00D7\u00F7])[1-9][0-9]*=\u3000"));
    QString shape = sheet;
    shape.replace(question, QStringLiteral("\\1"));
    return shape;
}

QString line(char16_t glyph, int count) {
    return QString(count, QChar(glyph)) + u'\n';
}

} // namespace

class TestSheetText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sheetLayout_data() {
        QTest::addColumn<SheetSettings>("settings");
        QTest::addColumn<QString>("expected");

        SheetSettings example;
        example[QuestionType::Add] = {true, 0, 9, 11};
        example[QuestionType::Mul] = {true, 0, 9, 3};
        QTest::newRow("worked example")
            << example
            << QStringLiteral("\n加法题:\n") + line(u'+', 9) + QStringLiteral("++\n\n\n乘法题:\n") +
                   line(u'\u00D7', 3) + u'\n';

        QTest::newRow("initial settings") << SheetSettings::initial()
                                          << QStringLiteral("\n乘法题:\n") + line(u'\u00D7', 8) +
                                                 line(u'\u00D7', 8) + line(u'\u00D7', 4) + u'\n';

        SheetSettings full;
        full[QuestionType::Add] = {true, 0, 9, 18};
        QTest::newRow("full last line: three empty lines follow")
            << full
            << QStringLiteral("\n加法题:\n") + line(u'+', 9) + line(u'+', 9) +
                   QStringLiteral("\n\n");

        SheetSettings empty;
        empty[QuestionType::Minus] = {true, 0, 9, 0};
        QTest::newRow("count zero: heading only") << empty << QStringLiteral("\n减法题:\n\n\n");

        SheetSettings order;
        for (QuestionType type :
             {QuestionType::Devition, QuestionType::Mul, QuestionType::Minus, QuestionType::Add})
            order[type] = {true, 0, 9, 1};
        QTest::newRow("fixed section order")
            << order
            << QStringLiteral(
                   "\n加法题:\n+\n\n\n减法题:\n-\n\n\n乘法题:\n\u00D7\n\n\n除法题:\n\u00F7\n\n");

        QTest::newRow("nothing ticked") << SheetSettings() << QString();
    }
    void sheetLayout() {
        QFETCH(SheetSettings, settings);
        QFETCH(QString, expected);
        QCOMPARE(shapeOf(makeSheetText(settings)), expected);
    }

    void largestSheetHasEveryQuestion() {
        SheetSettings settings;
        for (QuestionType type :
             {QuestionType::Add, QuestionType::Minus, QuestionType::Mul, QuestionType::Devition})
            settings[type] = {true, 0, 32767, 32767};
        const QString sheet = makeSheetText(settings);
        QCOMPARE(sheet.count(QChar(u'\u3000')), 4 * 32767);
        // 32767 = 9 × 3640 + 7 = 8 × 4095 + 7: no section ends on a full line.
        QCOMPARE(sheet.count(QChar(u'\n')), 2 * (3640 + 4095) + 4 * 4);
        QVERIFY(!sheet.contains(QLatin1Char(' ')) && !sheet.contains(QLatin1Char('\r')));
    }
};

DRILLPAD_TEST_MAIN(TestSheetText)
#include "tst_sheet_text.moc"
