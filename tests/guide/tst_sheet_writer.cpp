#include "common/sheet_text.h"
#include "common/test_main.h"

#include "guide/sheet_writer.h"
#include "question/mixed_question.h"

using namespace drillpad;
using namespace drillpad::testing;

namespace {

SheetSettings only(QuestionType type, int from, int to, int count) {
    SheetSettings settings;
    settings[type] = {true, from, to, count};
    return settings;
}

// The operands a pupil works with: for division the divisor and the
// quotient, as the range of a division row bounds them.
QList<long long> boundedOperands(const ReadQuestion &q) {
    if (q.glyphs == QStringLiteral("÷"))
        return {q.operands[1], q.operands[0] / q.operands[1]};
    return q.operands;
}

} // namespace

Q_DECLARE_METATYPE(QuestionType)

class TestSheetWriter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void writesAHeadingForCountZero() {
        QCOMPARE(makeSheetText(only(QuestionType::Mix, 0, 9, 0)),
                 QStringLiteral("\n四则混合运算题:\n\n\n"));
    }

    // The mixed section comes last, six questions to a line, laid out like
    // the others.
    void writesTheMixedSectionLast() {
        SheetSettings settings;
        for (TypeSettings &type : settings.types)
            type = {true, 0, 9, 13};
        const QString sheet = makeSheetText(settings);
        const QList<SheetSection> sections = readSheet(sheet);
        QStringList headings;
        for (const SheetSection &section : sections)
            headings << section.heading;
        QCOMPARE(headings,
                 QStringList({"加法题:", "减法题:", "乘法题:", "除法题:", "四则混合运算题:"}));
        QCOMPARE(sheet, rebuildSheet(sections, {9, 9, 8, 8, 6}));
    }

    // Every question of a section is of its kind, with its operands (for
    // division the divisor and quotient) from max(2, from) to "to" and a
    // whole answer of at least 0.
    void drawsOperandsFromTheRange_data() {
        QTest::addColumn<QuestionType>("type");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("glyphs");
        QTest::newRow("addition 0..9") << QuestionType::Add << 0 << 9 << "+";
        QTest::newRow("addition 10..20") << QuestionType::Add << 10 << 20 << "+";
        QTest::newRow("subtraction 3 only") << QuestionType::Minus << 0 << 3 << "-";
        QTest::newRow("subtraction 15..16") << QuestionType::Minus << 15 << 16 << "-";
        QTest::newRow("multiplication 2..2") << QuestionType::Mul << 1 << 2 << "×";
        QTest::newRow("division 0..9") << QuestionType::Devition << 0 << 9 << "÷";
        QTest::newRow("division 5..6") << QuestionType::Devition << 5 << 6 << "÷";
        QTest::newRow("division 32767") << QuestionType::Devition << 32767 << 32767 << "÷";
        QTest::newRow("mixed 0..9") << QuestionType::Mix << 0 << 9 << "";
        QTest::newRow("mixed 3..4") << QuestionType::Mix << 3 << 4 << "";
    }
    void drawsOperandsFromTheRange() {
        QFETCH(QuestionType, type);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QString, glyphs);
        const QList<SheetSection> sections = readSheet(makeSheetText(only(type, from, to, 300)));
        QCOMPARE(sections.size(), 1);
        QCOMPARE(sections[0].questions.size(), 300);
        for (const QString &text : sections[0].questions) {
            const std::optional<ReadQuestion> q = readQuestion(text);
            QVERIFY2(q, qPrintable(text));
            if (!glyphs.isEmpty()) {
                QCOMPARE(q->glyphs, glyphs);
            } else {
                QCOMPARE(q->glyphs.size(), 2);
                QVERIFY2(evaluateMixed(asMixed(*q)), qPrintable(text));
            }
            if (glyphs == u"-")
                QVERIFY2(q->operands[0] > q->operands[1], qPrintable(text));
            if (glyphs == u"÷")
                QCOMPARE(q->operands[0] % q->operands[1], 0);
            for (const long long operand : boundedOperands(*q))
                QVERIFY2(operand >= std::max(from, 2) && operand <= to, qPrintable(text));
        }
    }
};

DRILLPAD_TEST_MAIN(TestSheetWriter)
#include "tst_sheet_writer.moc"
