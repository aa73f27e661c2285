#include "common/chi_square.h"
#include "common/question_oracle.h"
#include "common/test_main.h"
#include "question/question.h"
#include "question/question_pool.h"
#include "question/question_settings.h"
#include "question/random.h"

#include <QRegularExpression>

#include <set>

using namespace drillpad;
using namespace drillpad::testing;

Q_DECLARE_METATYPE(drillpad::TypeSettings)
Q_DECLARE_METATYPE(drillpad::QuestionType)

namespace {

// Every question of the type's settings, as the quiz writes it, found by
// trying every operand pair of the range.
std::set<QString> everyQualifying(QuestionType type, const TypeSettings &t) {
    std::set<QString> all;
    const QChar glyph = QStringLiteral("+-×÷").at(static_cast<int>(type));
    const int lo = std::max(t.from, 2);
    const auto add = [&](long long x, long long y, long long r, long long result) {
        const QString tail = QString::number(result) +
                             (r > 0 ? QStringLiteral("……") + QString::number(r) : QString());
        if (t.askFor != AskFor::Unknown)
            all.insert(QString::number(x) + glyph + QString::number(y) + u'=');
        if (t.askFor != AskFor::Result) {
            all.insert(kParen + glyph + QString::number(y) + u'=' + tail);
            all.insert(QString::number(x) + glyph + kParen + u'=' + tail);
        }
    };
    QString why;
    for (long long x = 0; x <= t.to; ++x) {
        for (long long y = lo; y <= t.to; ++y) {
            if (type == QuestionType::Devition) {
                for (long long r = 0; r < y; ++r) {
                    const Read q{glyph, x * y + r, y, x, r, 0};
                    if (meets(q, t, why))
                        add(q.first, y, r, x);
                }
                continue;
            }
            const long long result = type == QuestionType::Add     ? x + y
                                     : type == QuestionType::Minus ? x - y
                                                                   : x * y;
            if (meets({glyph, x, y, result, 0, 0}, t, why))
                add(x, y, 0, result);
        }
    }
    return all;
}

TypeSettings rules(int from, int to, Carry carry = Carry::Any, int low = 0, int high = kNoLimit) {
    TypeSettings t;
    t.selected = true;
    t.from = from;
    t.to = to;
    t.carry = carry;
    t.resultLowest = low;
    t.resultHighest = high;
    return t;
}

TypeSettings asking(TypeSettings t, AskFor askFor) {
    t.askFor = askFor;
    return t;
}

TypeSettings division(int to, Remainder remainder, int low = 0, int high = kNoLimit) {
    TypeSettings t = rules(0, to, Carry::Any, low, high);
    t.remainder = remainder;
    return t;
}

TypeSettings manyByOne(int to, Carry carry, int high = kNoLimit) {
    TypeSettings t = rules(0, to, carry, 0, high);
    t.oneDigitFactor = true;
    return t;
}

} // namespace

class TestQuestionPool : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void randomDrawsAreUniformAndNeverRepeatWithinATick() {
        for (int i = 0; i < 1000; ++i)
            QCOMPARE(RandomUpTo(1), QStringLiteral("1"));
        QVERIFY(looksUniform([] { return RandomUpTo(9); }, 9, 90000));
        // Thousands of draws fall within one clock tick; reseeding must not
        // make them repeat.
        std::set<double> seen;
        for (int i = 0; i < 20000; ++i)
            seen.insert(drawUnit());
        QCOMPARE(static_cast<int>(seen.size()), 20000);
    }

    void questionPairsAreUniform_data() {
        QTest::addColumn<QString>("op");
        QTest::addColumn<int>("pairs");
        // 28 pairs 2 <= b < a <= 9; 8 × 8 ordered pairs, 5+5 included.
        QTest::newRow("subtraction") << "-" << 28;
        QTest::newRow("addition") << "+" << 64;
    }
    void questionPairsAreUniform() {
        QFETCH(QString, op);
        QFETCH(int, pairs);
        QVERIFY(looksUniform([&] { return MakeQuestion(op, 9); }, pairs, pairs * 1000));
    }

    void edgeBoundsAndCodes_data() {
        QTest::addColumn<QString>("op");
        QTest::addColumn<int>("bound");
        QTest::addColumn<QString>("expected");
        QTest::newRow("addition 2") << "+" << 2 << QStringLiteral("2+2=\u3000");
        QTest::newRow("division 2") << "/" << 2 << QStringLiteral("4\u00F72=\u3000");
        QTest::newRow("subtraction 3") << "-" << 3 << QStringLiteral("3-2=\u3000");
        // Too small for any question: refused instead of redrawing forever.
        QTest::newRow("addition 1") << "+" << 1 << QString();
        QTest::newRow("division 1") << "/" << 1 << QString();
        QTest::newRow("subtraction 2") << "-" << 2 << QString();
        QTest::newRow("negative") << "*" << -5 << QString();
        // Unknown operator codes draw nothing.
        QTest::newRow("letter") << "x" << 20 << QString();
        QTest::newRow("glyph as code") << QStringLiteral("\u00D7") << 20 << QString();
    }
    void edgeBoundsAndCodes() {
        QFETCH(QString, op);
        QFETCH(int, bound);
        for (int i = 0; i < 100; ++i)
            QTEST(MakeQuestion(op, static_cast<std::int16_t>(bound)), "expected");
    }

    void questionsHaveTheirShapeAndRange_data() {
        QTest::addColumn<QString>("op");
        QTest::addColumn<int>("bound");
        for (int bound : {3, 32767}) {
            for (const char *op : {"+", "-", "*", "/"})
                QTest::addRow("%s %d", op, bound) << QString::fromLatin1(op) << bound;
        }
    }
    void questionsHaveTheirShapeAndRange() {
        QFETCH(QString, op);
        QFETCH(int, bound);
        bool sawLargeDividend = false;
        static const QRegularExpression shape(
            QStringLiteral("^([1-9][0-9]*)([-+\u00D7\u00F7])([1-9][0-9]*)=\u3000$"));
        for (int i = 0; i < 2000; ++i) {
            const QString text = MakeQuestion(op, static_cast<std::int16_t>(bound));
            const QRegularExpressionMatch q = shape.match(text);
            QVERIFY2(q.hasMatch(), qPrintable(text));
            QCOMPARE(q.captured(2).at(0), operatorGlyph(*operatorFromCode(op)));
            const long long a = q.captured(1).toLongLong(), b = q.captured(3).toLongLong();
            // Division bounds the divisor and the quotient; the dividend is
            // their exact product, past 16 and 31 bits for the largest bound.
            const long long first = op == u"/" ? a / b : a;
            if (op == u"/")
                QCOMPARE(a % b, 0LL);
            QVERIFY(first >= 2 && first <= bound && b >= 2 && b <= bound);
            if (op == u"-")
                QVERIFY2(a > b, qPrintable(text));
            sawLargeDividend = sawLargeDividend || a > 32767LL * 16;
        }
        if (op == u"/" && bound == 32767)
            QVERIFY(sawLargeDividend);
    }

    // Rows of small ranges, where every operand pair can be tried.
    void poolIsExactlyTheQualifyingQuestionsEachEquallyLikely_data() {
        QTest::addColumn<QuestionType>("type");
        QTest::addColumn<TypeSettings>("settings");
        using T = QuestionType;
        using enum Carry;
        QTest::newRow("today's addition") << T::Add << rules(0, 9);
        QTest::newRow("addition carrying, sum <= 20") << T::Add << rules(0, 19, Required, 0, 20);
        QTest::newRow("addition not carrying") << T::Add << rules(5, 40, None);
        QTest::newRow("addition, sum 10..15, both kinds")
            << T::Add << asking(rules(0, 12, Any, 10, 15), AskFor::Both);
        QTest::newRow("subtraction borrowing") << T::Minus << rules(0, 30, Required);
        QTest::newRow("subtraction not borrowing, difference 5..20, blanks")
            << T::Minus << asking(rules(0, 30, None, 5, 20), AskFor::Unknown);
        QTest::newRow("many digits times one, carrying") << T::Mul << manyByOne(30, Required);
        QTest::newRow("many digits times one, not carrying, both kinds")
            << T::Mul << asking(manyByOne(45, None), AskFor::Both);
        QTest::newRow("many digits times one, product <= 60") << T::Mul << manyByOne(40, Any, 60);
        QTest::newRow("product <= 30") << T::Mul << rules(0, 12, Any, 0, 30);
        QTest::newRow("division with a remainder")
            << T::Devition << division(9, Remainder::Required);
        QTest::newRow("division, any remainder, quotient 3..5, both kinds")
            << T::Devition << asking(division(7, Remainder::Any, 3, 5), AskFor::Both);
    }
    void poolIsExactlyTheQualifyingQuestionsEachEquallyLikely() {
        QFETCH(QuestionType, type);
        QFETCH(TypeSettings, settings);
        const std::set<QString> all = everyQualifying(type, settings);
        const QuestionPool pool(*operatorOfType(type), settings);
        QCOMPARE(pool.size(), static_cast<long long>(all.size()));
        std::set<QString> listed;
        for (long long i = 0; i < pool.size(); ++i) {
            const PoolQuestion q = pool.at(i);
            QVERIFY2(all.count(quizText(q, BlankStyle::Parentheses)),
                     qPrintable(quizText(q, BlankStyle::Parentheses)));
            listed.insert(quizText(q, BlankStyle::Parentheses));
        }
        QCOMPARE(listed.size(), all.size());
        const int n = static_cast<int>(all.size());
        QVERIFY(looksUniform([&] { return quizText(pool.draw(), BlankStyle::Parentheses); }, n,
                             n * 60));
    }

    // Every question of a large section, read back from the sheet text.
    void everyQuestionMeetsItsSettings_data() {
        QTest::addColumn<QuestionType>("type");
        QTest::addColumn<TypeSettings>("settings");
        QTest::addColumn<int>("blankStyle");
        using T = QuestionType;
        using enum Carry;
        QTest::newRow("addition carrying, widest range")
            << T::Add << asking(rules(0, 32767, Required, 30000, 40000), AskFor::Both) << 0;
        QTest::newRow("addition not carrying, widest range")
            << T::Add << asking(rules(0, 32767, None), AskFor::Unknown) << 1;
        QTest::newRow("subtraction borrowing, widest range")
            << T::Minus << asking(rules(0, 32767, Required, 0, 9), AskFor::Both) << 1;
        QTest::newRow("subtraction not borrowing") << T::Minus << rules(100, 32767, None) << 0;
        QTest::newRow("many digits times one, carrying")
            << T::Mul << asking(manyByOne(32767, Required), AskFor::Both) << 0;
        QTest::newRow("many digits times one, not carrying")
            << T::Mul << manyByOne(32767, None, 20000) << 1;
        QTest::newRow("division with a remainder, widest range")
            << T::Devition << asking(division(32767, Remainder::Required, 0, 100), AskFor::Both)
            << 1;
        for (const Preset &preset : builtInPresets()) {
            for (const QuestionType type : {T::Add, T::Minus, T::Mul, T::Devition}) {
                if (preset.settings[type].selected)
                    QTest::newRow(qPrintable(preset.name)) << type << preset.settings[type] << 0;
            }
        }
    }
    void everyQuestionMeetsItsSettings() {
        QFETCH(QuestionType, type);
        QFETCH(TypeSettings, settings);
        QFETCH(int, blankStyle);
        const auto style = static_cast<BlankStyle>(blankStyle);
        const QuestionPool pool(*operatorOfType(type), settings);
        QString text;
        for (int i = 0; i < 20000; ++i)
            appendPoolQuestion(text, pool.draw(), style);
        // Questions end in the answer gap; a blank "(　)" holds one too.
        const QStringList questions = splitQuestions(text);
        QCOMPARE(questions.size(), 20000);
        std::set<int> forms;
        for (const QString &question : questions) {
            const std::optional<Read> read = readQuestion(question);
            QVERIFY2(read, qPrintable(question));
            QVERIFY2(!question.contains(style == BlankStyle::Box ? kParen : kBox),
                     qPrintable(question));
            QString why;
            QVERIFY2(meets(*read, settings, why), qPrintable(question + u' ' + why));
            forms.insert(read->blank);
        }
        const std::size_t expectedForms = settings.askFor == AskFor::Both      ? 3
                                          : settings.askFor == AskFor::Unknown ? 2
                                                                               : 1;
        QCOMPARE(forms.size(), expectedForms);
    }

    // The limit of each rule and one step past it.
    void settingsWithoutQuestionsAreRefused_data() {
        QTest::addColumn<QuestionType>("type");
        QTest::addColumn<TypeSettings>("settings");
        QTest::addColumn<long long>("questions");
        QTest::addColumn<QString>("named"); // the setting the message names
        using T = QuestionType;
        using enum Carry;
        QTest::newRow("carrying to 5: 5+5") << T::Add << rules(0, 5, Required) << 1LL << "";
        QTest::newRow("carrying to 4") << T::Add << rules(0, 4, Required) << 0LL << "进位";
        QTest::newRow("sum from 18: 9+9") << T::Add << rules(0, 9, Any, 18) << 1LL << "";
        QTest::newRow("sum from 19") << T::Add << rules(0, 9, Any, 19) << 0LL << "和的范围";
        QTest::newRow("borrowing to 10: 10-2..10-9")
            << T::Minus << rules(0, 10, Required) << 8LL << "";
        QTest::newRow("borrowing to 9") << T::Minus << rules(0, 9, Required) << 0LL << "退位";
        QTest::newRow("difference up to 1, 8..9")
            << T::Minus << rules(8, 9, Any, 0, 1) << 1LL << "";
        QTest::newRow("difference from 2, 8..9")
            << T::Minus << rules(8, 9, Any, 2) << 0LL << "差的范围";
        QTest::newRow("product up to 4") << T::Mul << rules(0, 9, Any, 0, 4) << 1LL << "";
        QTest::newRow("product up to 3") << T::Mul << rules(0, 9, Any, 0, 3) << 0LL << "积的上限";
        QTest::newRow("times one digit to 10: 10×d and d×10")
            << T::Mul << manyByOne(10, None) << 16LL << "";
        QTest::newRow("times one digit to 9")
            << T::Mul << manyByOne(9, Any) << 0LL << "多位数乘一位数";
        QTest::newRow("quotient from 9")
            << T::Devition << division(9, Remainder::None, 9) << 8LL << "";
        QTest::newRow("quotient from 10")
            << T::Devition << division(9, Remainder::None, 10) << 0LL << "商的范围";
        QTest::newRow("a remainder, 2..2: 5÷2")
            << T::Devition << division(2, Remainder::Required) << 1LL << "";
    }
    void settingsWithoutQuestionsAreRefused() {
        QFETCH(QuestionType, type);
        QFETCH(TypeSettings, settings);
        QFETCH(long long, questions);
        QFETCH(QString, named);
        QCOMPARE(static_cast<long long>(everyQualifying(type, settings).size()), questions);
        QCOMPARE(QuestionPool(*operatorOfType(type), settings).size(), questions);
        const std::optional<QString> message = noQuestionMessage(type, settings);
        QCOMPARE(message.has_value(), questions == 0);
        if (message) {
            QVERIFY2(message->startsWith(questionTypeName(type)), qPrintable(*message));
            QVERIFY2(message->contains(QStringLiteral("“%1”").arg(named)), qPrintable(*message));
        }
    }

    void settingsReadBackAsWritten() {
        SheetSettings changed = SheetSettings::initial();
        changed[QuestionType::Add] = asking(rules(3, 20, Carry::None, 4, 18), AskFor::Both);
        changed[QuestionType::Mul] = manyByOne(99, Carry::Required, 500);
        changed[QuestionType::Devition] = division(12, Remainder::Any, 2, 7);
        changed[QuestionType::Mix].brackets = true;
        changed.blank = BlankStyle::Box;
        changed.layout = {6,
                          PrintSize::ExtraLarge,
                          LineSpacing::Double,
                          40,
                          50,
                          true,
                          false,
                          QStringLiteral("二年级;口算=练习 %")};
        QCOMPARE(settingsFromText(settingsToText(changed)), changed);
        for (const Preset &preset : builtInPresets())
            QCOMPARE(settingsFromText(settingsToText(preset.settings)), preset.settings);
        // Unknown keys and unreadable values keep the defaults.
        QCOMPARE(settingsFromText(QStringLiteral("mul.on=1;add.carry=7;x=1;add.to=;blank=5")),
                 SheetSettings::initial());
        // The layout's limits: at the limit kept, one past it skipped.
        const SheetLayout read =
            settingsFromText(QStringLiteral("layout.perLine=6;layout.sets=50;layout.size=2;"
                                            "layout.perPage=32767"))
                .layout;
        QCOMPARE(read, (SheetLayout{6, PrintSize::ExtraLarge, LineSpacing::Single, 32767, 50, false,
                                    true, QString()}));
        QCOMPARE(settingsFromText(QStringLiteral("layout.perLine=7;layout.sets=51;layout.size=3;"
                                                 "layout.perPage=32768;layout.sets=0"))
                     .layout,
                 SheetLayout{});
    }

    void presetsTickWhatTheirNamesSay() {
        // The types each preset ticks: + - × ÷, and M for mixed.
        const std::pair<const char *, const char *> expected[] = {
            {"10以内加减法", "+-"},     {"20以内进位加法", "+"},    {"20以内退位减法", "-"},
            {"100以内不进位加法", "+"}, {"100以内不退位减法", "-"}, {"100以内进位加法", "+"},
            {"100以内退位减法", "-"},   {"表内乘法", "×"},          {"表内除法", "÷"},
            {"有余数的除法", "÷"},      {"两位数乘一位数", "×"},    {"带括号的四则混合运算", "M"},
        };
        QCOMPARE(builtInPresets().size(), std::size(expected));
        for (const auto &[name, ticked] : expected) {
            const std::optional<Preset> preset = builtInPreset(QString::fromUtf8(name));
            QVERIFY2(preset, name);
            QString types;
            for (const QuestionType type : kQuestionTypes) {
                if (preset->settings[type].selected) {
                    types += QStringLiteral("+-×÷M").at(static_cast<int>(type));
                    QVERIFY2(!noQuestionMessage(type, preset->settings[type]), name);
                }
            }
            QCOMPARE(types, QString::fromUtf8(ticked));
            QCOMPARE(preset->settings[QuestionType::Mix].brackets, types == u"M");
            QVERIFY(!presetNameAllowed(preset->name));
        }
        // A name of the user's own, at its limit and one past it.
        QVERIFY(presetNameAllowed(QString(kLongestPresetName, u'题')));
        QVERIFY(!presetNameAllowed(QString(kLongestPresetName + 1, u'题')));
        QVERIFY(!presetNameAllowed(QStringLiteral("  ")));
    }
};

DRILLPAD_TEST_MAIN(TestQuestionPool)
#include "tst_question_pool.moc"
