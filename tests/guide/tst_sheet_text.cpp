#include "common/chi_square.h"
#include "common/test_main.h"
#include "guide/guide_entries.h"
#include "guide/sheet_writer.h"
#include "question/no_repeats.h"
#include "question/random.h"

#include <QRegularExpression>

using namespace drillpad;
using drillpad::testing::looksUniform;

Q_DECLARE_METATYPE(drillpad::SheetSettings)
Q_DECLARE_METATYPE(drillpad::QuestionType)

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

// The questions of a one-section sheet, in order.
QStringList questionsOf(const QString &sheet) {
    QStringList words =
        sheet.split(QRegularExpression(QStringLiteral("[\n\u3000]")), Qt::SkipEmptyParts);
    words.removeFirst(); // the heading
    return words;
}

SheetSettings oneSection(QuestionType type, int from, int to, int count) {
    SheetSettings settings;
    settings[type] = {true, from, to, count};
    return settings;
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

        SheetSettings full;
        full[QuestionType::Add] = {true, 0, 9, 18};
        QTest::newRow("full last line: three empty lines follow")
            << full
            << QStringLiteral("\n加法题:\n") + line(u'+', 9) + line(u'+', 9) +
                   QStringLiteral("\n\n");

        SheetSettings empty;
        empty[QuestionType::Minus] = {true, 0, 9, 0};
        QTest::newRow("count zero: heading only") << empty << QStringLiteral("\n减法题:\n\n\n");

        QTest::newRow("nothing ticked") << SheetSettings() << QString();
    }
    void sheetLayout() {
        QFETCH(SheetSettings, settings);
        QTEST(shapeOf(makeSheetText(settings)), "expected");
    }

    // No question comes back while the range holds others; when the count
    // is more than the range holds, each question appears at most
    // ⌈count / different⌉ times and never twice in a row. Avoiding repeats
    // keeps every question equally likely at every place on the sheet: the
    // first, the last, and when questions must repeat.
    void noRepeatsWithinASection_data() {
        QTest::addColumn<QuestionType>("type");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("different");
        QTest::addColumn<int>("uniformAt"); // the place checked for uniformity, -1: none
        using T = QuestionType;
        QTest::newRow("subtraction 8..9: only 9-8") << T::Minus << 8 << 9 << 20 << 1 << -1;
        QTest::newRow("subtraction to 9, the largest count")
            << T::Minus << 0 << 9 << 32767 << 28 << -1;
        QTest::newRow("division 5..5: only 25÷5") << T::Devition << 5 << 5 << 10 << 1 << -1;
        QTest::newRow("mixed 10..15") << T::Mix << 10 << 15 << 5000 << 1638 << -1;
        QTest::newRow("mixed to 9: enough") << T::Mix << 0 << 9 << 2000 << 3729 << -1;
        QTest::newRow("subtraction to 9, first uniform") << T::Minus << 0 << 9 << 20 << 28 << 0;
        QTest::newRow("subtraction to 9, last uniform") << T::Minus << 0 << 9 << 20 << 28 << 19;
        QTest::newRow("subtraction to 9, uniform after a round")
            << T::Minus << 0 << 9 << 40 << 28 << 29;
        QTest::newRow("addition to 3, repeating, uniform") << T::Add << 0 << 3 << 10 << 4 << 9;
        QTest::newRow("addition to 9: every one once, the last uniform")
            << T::Add << 0 << 9 << 64 << 64 << 63;
    }
    void noRepeatsWithinASection() {
        QFETCH(QuestionType, type);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, count);
        QFETCH(int, different);
        QFETCH(int, uniformAt);
        const SheetSettings settings = oneSection(type, from, to, count);
        const Sheet sheet = makeSheet(settings);
        QCOMPARE(sheet.sections.front().different, different);
        QCOMPARE(sheet.sections.front().repeats(), different < count);
        const QStringList questions = questionsOf(sheet.text);
        QCOMPARE(questions.size(), count);
        std::map<QString, int> times;
        for (qsizetype i = 0; i < questions.size(); ++i) {
            ++times[questions[i]];
            if (i > 0 && different > 1)
                QVERIFY2(questions[i] != questions[i - 1], qPrintable(questions[i]));
        }
        QCOMPARE(static_cast<int>(times.size()), std::min(count, different));
        const int most = (count + different - 1) / different;
        for (const auto &[question, n] : times)
            QVERIFY2(n <= most, qPrintable(question));
        if (uniformAt >= 0)
            QVERIFY(looksUniform([&] { return questionsOf(makeSheetText(settings)).at(uniformAt); },
                                 different, different * 200));
    }

    // The note counts the questions that meet the rules: carrying to 5
    // leaves 5+5 alone, asked three ways when blanks are asked too.
    void repeatNoteCountsOnlyQualifyingQuestions_data() {
        QTest::addColumn<int>("askFor");
        QTest::addColumn<int>("different");
        QTest::newRow("results") << static_cast<int>(AskFor::Result) << 1;
        QTest::newRow("both kinds") << static_cast<int>(AskFor::Both) << 3;
    }
    void repeatNoteCountsOnlyQualifyingQuestions() {
        QFETCH(int, askFor);
        QFETCH(int, different);
        SheetSettings settings = oneSection(QuestionType::Add, 0, 5, 12);
        settings[QuestionType::Add].carry = Carry::Required;
        settings[QuestionType::Add].askFor = static_cast<AskFor>(askFor);
        const Sheet sheet = makeSheet(settings);
        QCOMPARE(sheet.sections.front().different, different);
        QCOMPARE(repeatNote(sheet), QStringLiteral("加法范围内只有%1道不同的题").arg(different));
        const std::vector<long long> &answers = sheet.sections.front().answers;
        const QSet<long long> written(answers.begin(), answers.end());
        const QSet<long long> expected =
            different == 1 ? QSet<long long>{10} : QSet<long long>{10, 5};
        QCOMPARE(written, expected);
    }

    // Two questions alternate, whichever comes first.
    void twoQuestionsAlternate() {
        const std::vector<int> drawn = drawWithoutRepeats<int>(
            20, 2, [] { return randomBetween(0, 1); }, [](int q) { return std::uint64_t(q); });
        QCOMPARE(static_cast<int>(drawn.size()), 20);
        for (std::size_t i = 1; i < drawn.size(); ++i)
            QCOMPARE(drawn[i], 1 - drawn[i - 1]);
    }
};

DRILLPAD_TEST_MAIN(TestSheetText)
#include "tst_sheet_text.moc"
