// Sheets laid out on their pages: the header on every page of Qt's PDF and
// of LibreOffice's (where installed), columns that line up, several sets
// each with its answers, and 竖式 read back from the RTF.
#include "common/pdf_text.h"
#include "common/test_main.h"

#include "guide/sheet_header.h"
#include "guide/sheet_layout.h"
#include "print/page_layout.h"
#include "rtf/rtf_file.h"
#include "rtf/rtf_reader.h"
#include "rtf/rtf_writer.h"

#include <QRegularExpression>
#include <QTemporaryDir>

#include <set>

using namespace drillpad;
using namespace Qt::StringLiterals;
using testing::kTitle;
using testing::pdfPageTexts;

namespace {

SheetSettings settingsOf(QuestionType type, int to, int count, const SheetLayout &layout) {
    SheetSettings settings;
    settings[type].selected = true;
    settings[type].from = 2;
    settings[type].to = to;
    settings[type].count = count;
    settings.layout = layout;
    return settings;
}

QString paragraphText(const RtfParagraph &paragraph) {
    QString text;
    for (const RtfRun &run : paragraph.runs)
        text += run.text;
    return text;
}

// The questions answered in a text, "a op b" of "a op b=c" (a remainder
// written "c……r"); the answers' arithmetic is the answer key's
// (tst_answer_key).
QStringList answeredQuestions(const QString &text) {
    static const QRegularExpression answered(u"(\\d+[+\\-×÷]\\d+)=\\d+"_s);
    QStringList questions;
    for (auto it = answered.globalMatch(text); it.hasNext();)
        questions << it.next().captured(1);
    return questions;
}

} // namespace

class TestSheetLayout : public QObject {
    Q_OBJECT

    // Lines of questions, as a PDF has them: the questions of a column start
    // at one x within 1 pt, with `columns` to a full line.
    static void verifyColumns(const QList<QList<double>> &lines, int columns) {
        QVERIFY(!lines.isEmpty());
        QString shown;
        for (const QList<double> &line : lines.mid(0, 4))
            shown += u"%1 at %2; "_s.arg(line.size()).arg(line.front());
        QVERIFY2(lines.front().size() == columns, qPrintable(shown));
        for (const QList<double> &line : lines) {
            QVERIFY(line.size() <= columns);
            for (qsizetype column = 0; column < line.size(); ++column)
                QVERIFY2(
                    qAbs(line[column] - lines.front()[column]) <= 1.0,
                    qPrintable(u"%1 against %2"_s.arg(line[column]).arg(lines.front()[column])));
        }
    }

private Q_SLOTS:
    void pages_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("sets");
        QTest::addColumn<bool>("vertical");
        QTest::addColumn<int>("perLine");
        QTest::addColumn<int>("printSize");
        QTest::addColumn<int>("perPage");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("columns"); // 0: perLine
        const auto row = [](const char *name, QuestionType type, int sets, bool vertical,
                            int perLine, PrintSize size, int perPage, int to = 99,
                            int columns = 0) {
            QTest::newRow(name) << int(type) << sets << vertical << perLine << int(size) << perPage
                                << to << columns;
        };
        row("multiplication 竖式, 特大", QuestionType::Mul, 2, true, 4, PrintSize::ExtraLarge, 0);
        row("columns in 大字, 12 to a page", QuestionType::Minus, 1, false, 4, PrintSize::Large,
            12);
        row("division stays in a line", QuestionType::Devition, 2, true, 3, PrintSize::ExtraLarge,
            0);
        row("6 to a line asked, 9 pt", QuestionType::Add, 1, false, 6, PrintSize::Standard, 0);
        // "999+999=　" at 20 pt is about 2.5 cm wide: three to a line of 17 cm.
        row("by type, 20 pt: as many as fit", QuestionType::Add, 1, false, 0, PrintSize::ExtraLarge,
            0, 999, 3);
        row("one to a line", QuestionType::Add, 1, false, 1, PrintSize::Large, 0);
    }
    // Qt's PDF has the header at the top of every page, each set from a
    // page of its own with "第N套" and its answers after all sets, every
    // question of its own; no more questions to a page than 每页题数; LibreOffice's
    // PDF of the saved RTF has the same pages with the same text.
    void pages() {
        QFETCH(int, type);
        QFETCH(int, sets);
        QFETCH(bool, vertical);
        QFETCH(int, perLine);
        QFETCH(int, printSize);
        QFETCH(int, perPage);
        QFETCH(int, to);
        QFETCH(int, columns);
        SheetLayout layout;
        layout.sets = sets;
        layout.vertical = vertical;
        layout.perLine = perLine;
        layout.printSize = static_cast<PrintSize>(printSize);
        layout.perPage = perPage;
        layout.title = kTitle;
        const LaidOutSheet sheet =
            layOutSheet(settingsOf(static_cast<QuestionType>(type), to, 30, layout));
        QCOMPARE(int(sheet.sets.size()), sets);

        QTemporaryDir dir;
        const QString qtPdf = dir.filePath(u"qt.pdf"_s);
        QVERIFY(writeFileAtomically(qtPdf, pdfOf(sheet.document, u"sheet"_s)).ok());
        const QStringList pages = pdfPageTexts(qtPdf);
        QVERIFY(!pages.isEmpty());
        const QString header = testing::headerText();
        QStringList bodies;
        testing::verifyUnderHeader(pages, header, &bodies);
        int setsSeen = 0, answersSeen = 0;
        for (const QString &body : bodies) {
            if (sets > 1 && body.startsWith(setAnswersHeading(answersSeen + 1)))
                ++answersSeen;
            else if (sets > 1 && body.startsWith(setHeading(setsSeen + 1)))
                ++setsSeen;
            if (perPage > 0)
                QVERIFY2(body.count(u'=') <= perPage, qPrintable(body));
        }
        QCOMPARE(setsSeen, sets > 1 ? sets : 0);
        QCOMPARE(answersSeen, sets > 1 ? sets : 0);
        // Each set's answers, under its heading, are its questions answered.
        std::vector<QString> answers;
        for (const RtfParagraph &paragraph : sheet.document.paragraphs) {
            const QString text = paragraphText(paragraph);
            if (text == setAnswersHeading(int(answers.size()) + 1))
                answers.emplace_back();
            else if (!answers.empty())
                answers.back() += text + u'\n';
        }
        QCOMPARE(int(answers.size()), sets > 1 ? sets : 0);
        for (std::size_t set = 0; set < answers.size(); ++set) {
            QStringList asked;
            for (const WrittenQuestion &question : sheet.sets[set].sections.front().questions)
                asked << question.text.section(u'=', 0, 0);
            QCOMPARE(answeredQuestions(answers[set]), asked);
        }

        if (!vertical)
            verifyColumns(testing::pdfQuestionColumns(qtPdf), columns ? columns : perLine);
        const QString rtf = dir.filePath(u"sheet.rtf"_s);
        QVERIFY(writeFileAtomically(rtf, writeRtf(sheet.document)).ok());
        const QString officePdf = testing::officePdf(rtf, dir.path());
        if (officePdf.isEmpty())
            QSKIP("LibreOffice is not installed");
        const QStringList officePages = pdfPageTexts(officePdf);
        if (!vertical) // the columns line up in LibreOffice as in Qt
            verifyColumns(testing::pdfQuestionColumns(officePdf), columns ? columns : perLine);
        testing::verifyUnderHeader(officePages, header);
        testing::compareCharacters(officePages, pages);
    }

    // Sets differ from one another and repeat no question within
    // themselves; each 竖式 reads back from the RTF as the question written.
    void setsAndVerticalReadBack() {
        SheetLayout layout;
        layout.sets = 4;
        layout.vertical = true;
        const LaidOutSheet sheet = layOutSheet(settingsOf(QuestionType::Mul, 99, 25, layout));
        std::set<QString> texts;
        std::vector<QString> written;
        for (const Sheet &set : sheet.sets) {
            texts.insert(set.text);
            std::set<QString> inSet;
            for (const WrittenQuestion &question : set.sections.front().questions) {
                QVERIFY(inSet.insert(question.text).second);
                written.push_back(u"%1×%2"_s.arg(question.top).arg(question.bottom));
            }
        }
        QCOMPARE(int(texts.size()), 4);
        const std::optional<RtfDocument> read = parseRtf(writeRtf(sheet.document));
        QVERIFY(read);
        // Each cell: the first number, the operator and second number ruled.
        std::vector<QString> readBack;
        const auto &paragraphs = read->paragraphs;
        for (std::size_t i = 0; i + 1 < paragraphs.size(); ++i) {
            const RtfParagraph &top = paragraphs[i], &second = paragraphs[i + 1];
            if (top.row < 0 || second.row != top.row || second.cell != top.cell ||
                paragraphText(top).isEmpty() || !paragraphText(second).startsWith(u'×'))
                continue;
            QVERIFY(second.runs.front().format.underline);
            QCOMPARE(second.alignment, RtfAlignment::Right);
            QString bottom = paragraphText(second).mid(1);
            bottom.remove(u'\u2007');
            readBack.push_back(paragraphText(top) + u'×' + bottom);
        }
        QCOMPARE(readBack, written);
    }
};

DRILLPAD_TEST_MAIN(TestSheetLayout)
#include "tst_sheet_layout.moc"
