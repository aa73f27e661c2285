#include "record/practice_record.h"

#include <QStandardPaths>

namespace drillpad {

struct PracticeRecord::Impl {
    QString path;
    QString problem;
};

PracticeRecord::PracticeRecord() : d_(std::make_unique<Impl>()) {}

PracticeRecord::~PracticeRecord() = default;

QString PracticeRecord::defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/drillpad.sqlite");
}

bool PracticeRecord::open(const QString &path) {
    d_->path = path;
    return false;
}

void PracticeRecord::close() {}

bool PracticeRecord::isOpen() const {
    return false;
}

QString PracticeRecord::path() const {
    return d_->path;
}

QString PracticeRecord::problem() const {
    return d_->problem;
}

QString PracticeRecord::takeProblemToReport() {
    return {};
}

void PracticeRecord::setBusyTimeout(int) {}

QString PracticeRecord::connectionName() const {
    return {};
}

qint64 PracticeRecord::startQuiz(QuizKind, const QString &, int, int) {
    return 0;
}

bool PracticeRecord::recordAnswer(const AnswerEntry &) {
    return false;
}

bool PracticeRecord::finishQuiz(qint64, int, int, double, int, double) {
    return false;
}

QList<QuizSummary> PracticeRecord::quizzes(const QString &) const {
    return {};
}

QList<AnswerEntry> PracticeRecord::answers(qint64) const {
    return {};
}

QList<AnswerEntry> PracticeRecord::allAnswers() const {
    return {};
}

QList<AnswerEntry> PracticeRecord::wrongAndSkipped(const QList<qint64> &) const {
    return {};
}

bool PracticeRecord::importQuizzes(const QList<QuizSummary> &, const QList<AnswerEntry> &) {
    return false;
}

bool PracticeRecord::clear() {
    return false;
}

PracticeRecord &practiceRecord() {
    static PracticeRecord record;
    return record;
}

} // namespace drillpad
