#include "common/fakes.h"
#include "common/question_oracle.h"
#include "common/test_main.h"

#include "controls/command_button.h"
#include "question/answer_key.h"
#include "quiz/frm_face.h"
#include "quiz/practice_questions.h"
#include "record/practice_record.h"

#include <QLineEdit>

using namespace drillpad;
using namespace drillpad::testing;
using namespace Qt::StringLiterals;

namespace {

// Additions asking for a missing addend, and divisions with a remainder.
SheetSettings blanksAndRemainders(int additions, int divisions) {
    SheetSettings settings;
    TypeSettings &add = settings[QuestionType::Add];
    add = {true, 0, 9, additions};
    add.askFor = AskFor::Unknown;
    TypeSettings &div = settings[QuestionType::Devition];
    div = {divisions > 0, 0, 9, divisions};
    div.remainder = Remainder::Required;
    return settings;
}

} // namespace

Q_DECLARE_METATYPE(drillpad::SheetSettings)

class TestPractice : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void practiceAsksTheSheetsQuestions() {
        const SheetSettings settings = blanksAndRemainders(30, 20);
        const QList<quiz::QuizQuestion> questions = quiz::practiceQuestions(settings);
        QCOMPARE(questions.size(), 50);
        int blanks = 0;
        for (const quiz::QuizQuestion &question : questions) {
            const std::optional<Read> read = readQuestion(question.text);
            QVERIFY2(read, qPrintable(question.text));
            const bool addition = read->op == u'+';
            QString why;
            QVERIFY2(
                meets(*read, settings[addition ? QuestionType::Add : QuestionType::Devition], why),
                qPrintable(question.text + u' ' + why));
            // The answer: the missing addend, or the quotient and remainder.
            const QString expected =
                addition ? QString::number(read->blank == 1 ? read->first : read->second)
                         : u"%1……%2"_s.arg(read->result).arg(read->remainder);
            QCOMPARE(question.answer, expected);
            blanks += read->blank != 0 ? 1 : 0;
        }
        QCOMPARE(blanks, 30);
        QCOMPARE(quiz::practiceProblem(settings), std::nullopt);
        QVERIFY(quiz::practiceProblem(SheetSettings())->contains(u"选择出题类型"_s));
    }

    // A blank question is judged on the missing number, and kept as asked.
    void quizJudgesABlankOnTheMissingNumber_data() {
        QTest::addColumn<SheetSettings>("settings");
        QTest::newRow("additions, (　)") << blanksAndRemainders(4, 0);
        SheetSettings mixed;
        mixed[QuestionType::Mix] = {true, 0, 20, 4};
        mixed[QuestionType::Mix].brackets = true;
        mixed[QuestionType::Mix].askFor = AskFor::Unknown;
        mixed.blank = BlankStyle::Box;
        QTest::newRow("mixed with brackets, □") << mixed;
    }
    void quizJudgesABlankOnTheMissingNumber() {
        QFETCH(SheetSettings, settings);
        FrmFace face;
        face.show();
        QApplication::setActiveWindow(&face);
        QVERIFY(QTest::qWaitForWindowActive(&face));
        QVERIFY(face.startPractice(settings));
        const QString blank = settings.blank == BlankStyle::Box ? kBox : kParen;
        QStringList asked;
        for (int i = 0; i < 4; ++i) {
            const QString question = face.txtQuestion()->text();
            asked << question;
            // The number the answer key writes in the blank.
            const qsizetype at = question.indexOf(blank);
            QVERIFY2(at >= 0 && question.count(blank) == 1, qPrintable(question));
            const QString filled = makeAnswerKey({question}).lines.at(1).text;
            QString missing;
            for (qsizetype c = at + (blank == kParen); filled.at(c).isDigit(); ++c)
                missing += filled.at(c);
            QVERIFY2(!missing.isEmpty(), qPrintable(filled));
            QTest::keyClicks(face.txtAnswer(),
                             i == 0 ? QString::number(missing.toLongLong() + 1) : missing);
            QTest::keyClick(face.txtAnswer(), Qt::Key_Return);
        }
        QCOMPARE(face.totalCount(), 4);
        QCOMPARE(face.rightCount(), 3);
        QVERIFY(face.button("cmdBegin")->isEnabled()); // finished by itself
        const QList<AnswerEntry> recorded = practiceRecord()
                                                .answers(practiceRecord().quizzes()->value(0).id)
                                                .value_or(QList<AnswerEntry>());
        QCOMPARE(recorded.size(), 4);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(recorded[i].question, asked[i]);
    }

    void settingsWithoutQuestionsStartNothing() {
        RecordingMessageBoxes boxes;
        ScopedSeam<MessageBoxes> messages(boxes);
        FrmFace face;
        SheetSettings settings = blanksAndRemainders(5, 0);
        settings[QuestionType::Add].resultLowest = 19; // above 9+9
        QVERIFY(!face.startPractice(settings));
        QCOMPARE(boxes.messages.size(), 1);
        QVERIFY(boxes.messages[0].contains(u"“和的范围”"_s));
        QVERIFY(face.button("cmdBegin")->isEnabled());
    }
};

DRILLPAD_TEST_MAIN(TestPractice)
#include "tst_practice.moc"
