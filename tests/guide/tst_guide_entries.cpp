#include "common/test_main.h"

#include "guide/guide_entries.h"

using namespace drillpad;

namespace {

// The entries of a fresh wizard: only multiplication ticked, "0", "9", "20".
GuideEntries initialEntries() {
    GuideEntries entries;
    for (TypeEntries &type : entries.types)
        type = {false, QStringLiteral("0"), QStringLiteral("9"), QStringLiteral("20")};
    entries[QuestionType::Mul].selected = true;
    return entries;
}

QString &fieldOf(TypeEntries &type, GuideField field) {
    switch (field) {
    case GuideField::From:
        return type.from;
    case GuideField::To:
        return type.to;
    case GuideField::Count:
        break;
    }
    return type.count;
}

} // namespace

Q_DECLARE_METATYPE(QuestionType)
Q_DECLARE_METATYPE(GuideField)

class TestGuideEntries : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void parsesWholeNumbers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected"); // -1: refused
        QTest::newRow("plain") << "20" << 20;
        QTest::newRow("zero") << "0" << 0;
        QTest::newRow("largest") << "32767" << 32767;
        QTest::newRow("leading zeros") << "007" << 7;
        QTest::newRow("blanks around") << " \t12 \n" << 12;
        QTest::newRow("full-width digits and spaces") << "\u3000\uFF11\uFF12\u3000" << 12;
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("only blanks") << "   " << -1;
        QTest::newRow("too large") << "32768" << -1;
        QTest::newRow("far too large") << "99999999999999999999" << -1;
        QTest::newRow("negative") << "-1" << -1;
        QTest::newRow("plus sign") << "+5" << -1;
        QTest::newRow("decimal") << "1.5" << -1;
        QTest::newRow("letters") << "abc" << -1;
        QTest::newRow("trailing letter") << "12a" << -1;
        QTest::newRow("blank inside") << "1 2" << -1;
        QTest::newRow("Chinese numeral") << "二十" << -1;
    }
    void parsesWholeNumbers() {
        QFETCH(QString, text);
        QFETCH(int, expected);
        const std::optional<int> value = parseWholeNumber(text);
        QCOMPARE(value, expected < 0 ? std::nullopt : std::optional<int>(expected));
    }

    void acceptsTheInitialEntries() {
        const auto checked = checkGuideEntries(initialEntries());
        QVERIFY(std::holds_alternative<SheetSettings>(checked));
        const SheetSettings &settings = std::get<SheetSettings>(checked);
        const SheetSettings initial = SheetSettings::initial();
        for (int i = 0; i < kQuestionTypeCount; ++i)
            QCOMPARE(settings.types[i].selected, initial.types[i].selected);
        const TypeSettings &mul = settings[QuestionType::Mul];
        QCOMPARE(mul.from, 0);
        QCOMPARE(mul.to, 9);
        QCOMPARE(mul.count, 20);
    }

    void convertsCustomEntries() {
        GuideEntries entries = initialEntries();
        entries[QuestionType::Minus] = {true, QStringLiteral(" 8 "), QStringLiteral("9"),
                                        QStringLiteral("0")};
        entries[QuestionType::Mix] = {true, QStringLiteral("32767"), QStringLiteral("32767"),
                                      QStringLiteral("32767")};
        // An unticked type is not read, whatever it holds.
        entries[QuestionType::Add] = {false, QStringLiteral("x"), QString(), QStringLiteral("-")};
        const auto checked = checkGuideEntries(entries);
        QVERIFY(std::holds_alternative<SheetSettings>(checked));
        const SheetSettings &settings = std::get<SheetSettings>(checked);
        QVERIFY(!settings[QuestionType::Add].selected);
        const TypeSettings &minus = settings[QuestionType::Minus];
        QVERIFY(minus.selected);
        QCOMPARE(minus.from, 8);
        QCOMPARE(minus.to, 9);
        QCOMPARE(minus.count, 0);
        const TypeSettings &mix = settings[QuestionType::Mix];
        QCOMPARE(mix.from, 32767);
        QCOMPARE(mix.count, 32767);
    }

    void refusesBadEntries_data() {
        QTest::addColumn<QuestionType>("type");
        QTest::addColumn<GuideField>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<GuideField>("refusedField");
        QTest::addColumn<QString>("message");
        using T = QuestionType;
        using F = GuideField;
        const QString count = QStringLiteral("%1的出题数量必须是0到32767之间的整数");
        const QString from = QStringLiteral("%1范围的起始数必须是0到32767之间的整数");
        QTest::newRow("empty count") << T::Add << F::Count << "" << F::Count << count.arg("加法");
        QTest::newRow("letters in count")
            << T::Minus << F::Count << "abc" << F::Count << count.arg("减法");
        QTest::newRow("decimal count")
            << T::Mul << F::Count << "2.5" << F::Count << count.arg("乘法");
        QTest::newRow("negative count")
            << T::Devition << F::Count << "-1" << F::Count << count.arg("除法");
        QTest::newRow("count over 32767")
            << T::Mix << F::Count << "32768" << F::Count << count.arg("四则混合运算");
        QTest::newRow("addition to 1")
            << T::Add << F::To << "1" << F::To << "加法范围的结束数必须是2到32767之间的整数";
        QTest::newRow("subtraction to 2")
            << T::Minus << F::To << "2" << F::To << "减法范围的结束数必须是3到32767之间的整数";
        QTest::newRow("empty to") << T::Devition << F::To << "" << F::To
                                  << "除法范围的结束数必须是2到32767之间的整数";
        QTest::newRow("to over 32767")
            << T::Mul << F::To << "40000" << F::To << "乘法范围的结束数必须是2到32767之间的整数";
        QTest::newRow("mixed to 0") << T::Mix << F::To << "0" << F::To
                                    << "四则混合运算范围的结束数必须是2到32767之间的整数";
        QTest::newRow("letters in from")
            << T::Devition << F::From << "x" << F::From << from.arg("除法");
        QTest::newRow("negative from") << T::Add << F::From << "-2" << F::From << from.arg("加法");
        QTest::newRow("from above to")
            << T::Add << F::From << "10" << F::From << "加法范围的起始数不能大于结束数";
        QTest::newRow("subtraction from equal to")
            << T::Minus << F::From << "9" << F::From << "减法范围的起始数必须小于结束数";
        QTest::newRow("mixed from above to")
            << T::Mix << F::From << "12" << F::From << "四则混合运算范围的起始数不能大于结束数";
    }
    void refusesBadEntries() {
        QFETCH(QuestionType, type);
        QFETCH(GuideField, field);
        QFETCH(QString, text);
        QFETCH(GuideField, refusedField);
        QFETCH(QString, message);
        GuideEntries entries = initialEntries();
        entries[type].selected = true;
        fieldOf(entries[type], field) = text;
        const auto checked = checkGuideEntries(entries);
        QVERIFY(std::holds_alternative<EntryError>(checked));
        QCOMPARE(std::get<EntryError>(checked), (EntryError{type, refusedField, message}));
    }

    // The first bad entry is reported: types in order, then from, to, count.
    void reportsTheFirstBadEntry() {
        GuideEntries entries = initialEntries();
        entries[QuestionType::Devition] = {true, QStringLiteral("0"), QStringLiteral("1"),
                                           QStringLiteral("x")};
        entries[QuestionType::Minus] = {true, QStringLiteral("a"), QStringLiteral("b"),
                                        QStringLiteral("c")};
        const auto checked = checkGuideEntries(entries);
        QVERIFY(std::holds_alternative<EntryError>(checked));
        const EntryError &error = std::get<EntryError>(checked);
        QCOMPARE(error.type, QuestionType::Minus);
        QCOMPARE(error.field, GuideField::From);
    }
};

DRILLPAD_TEST_MAIN(TestGuideEntries)
#include "tst_guide_entries.moc"
