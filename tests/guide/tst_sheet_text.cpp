#include "common/test_main.h"
#include "guide/sheet_writer.h"

#include <QRegularExpression>

using namespace drillpad;

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

QString repeated(QChar glyph, int count) {
    return QString(count, glyph);
}

SheetSettings only(QuestionType type, int count, int to = 9) {
    SheetSettings settings;
    settings[type] = {true, 0, to, count};
    return settings;
}

} // namespace

class TestSheetText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void workedExample() {
        SheetSettings settings;
        settings[QuestionType::Add] = {true, 0, 9, 11};
        settings[QuestionType::Mul] = {true, 0, 9, 3};
        const QString expected = QStringLiteral("\n加法题:\n") + repeated(u'+', 9) +
                                 QStringLiteral("\n") + repeated(u'+', 2) +
                                 QStringLiteral("\n\n\n乘法题:\n") + repeated(u'\u00D7', 3) +
                                 QStringLiteral("\n\n");
        QCOMPARE(shapeOf(makeSheetText(settings)), expected);
    }

    void initialSettingsGiveTwentyMultiplications() {
        const QString sheet = makeSheetText(SheetSettings::initial());
        QCOMPARE(shapeOf(sheet), QStringLiteral("\n乘法题:\n") + repeated(u'\u00D7', 8) + u'\n' +
                                     repeated(u'\u00D7', 8) + u'\n' + repeated(u'\u00D7', 4) +
                                     QStringLiteral("\n\n"));
        // Nothing but questions, headings and line feeds: no ASCII spaces,
        // carriage returns or tabs.
        QVERIFY(!sheet.contains(QLatin1Char(' ')));
        QVERIFY(!sheet.contains(QLatin1Char('\r')));
        QVERIFY(!sheet.contains(QLatin1Char('\t')));
    }

    void sectionLayouts_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("expected");
        const auto add = QStringLiteral("\n加法题:\n");
        const auto sub = QStringLiteral("\n减法题:\n");
        const auto div = QStringLiteral("\n除法题:\n");
        QTest::newRow("addition, two full lines")
            << int(QuestionType::Add) << 18
            << add + repeated(u'+', 9) + u'\n' + repeated(u'+', 9) + QStringLiteral("\n\n\n");
        QTest::newRow("subtraction, one short line")
            << int(QuestionType::Minus) << 4 << sub + repeated(u'-', 4) + QStringLiteral("\n\n");
        QTest::newRow("division, one full line")
            << int(QuestionType::Devition) << 8
            << div + repeated(u'\u00F7', 8) + QStringLiteral("\n\n\n");
        QTest::newRow("count zero: heading only")
            << int(QuestionType::Add) << 0 << add + QStringLiteral("\n\n");
    }
    void sectionLayouts() {
        QFETCH(int, type);
        QFETCH(int, count);
        QFETCH(QString, expected);
        QCOMPARE(shapeOf(makeSheetText(only(static_cast<QuestionType>(type), count))), expected);
    }

    void sectionsFollowTheFixedOrder() {
        SheetSettings settings;
        for (QuestionType type :
             {QuestionType::Devition, QuestionType::Mul, QuestionType::Minus, QuestionType::Add})
            settings[type] = {true, 0, 9, 1};
        QCOMPARE(shapeOf(makeSheetText(settings)),
                 QStringLiteral(
                     "\n加法题:\n+\n\n\n减法题:\n-\n\n\n乘法题:\n\u00D7\n\n\n除法题:\n\u00F7\n\n"));
    }

    void nothingTickedGivesAnEmptySheet() {
        SheetSettings settings;
        QCOMPARE(makeSheetText(settings), QString());
    }

    void divisionQuestionsDivideExactly() {
        const QString sheet = makeSheetText(only(QuestionType::Devition, 200));
        static const QRegularExpression question(QStringLiteral("([0-9]+)\u00F7([0-9]+)=\u3000"));
        int seen = 0;
        for (auto it = question.globalMatch(sheet); it.hasNext(); ++seen) {
            const QRegularExpressionMatch m = it.next();
            const int dividend = m.captured(1).toInt();
            const int divisor = m.captured(2).toInt();
            QVERIFY(divisor >= 2 && divisor <= 9);
            QCOMPARE(dividend % divisor, 0);
            QVERIFY(dividend / divisor >= 2 && dividend / divisor <= 9);
        }
        QCOMPARE(seen, 200);
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
    }
};

DRILLPAD_TEST_MAIN(TestSheetText)
#include "tst_sheet_text.moc"
