#include "recordwin/pupil_commands.h"

#include "controls/message_box.h"

#include <QActionGroup>
#include <QMenu>

namespace drillpad {

namespace {

const QString &unreadable() {
    static const QString text = QStringLiteral("练习记录现在无法读取，练习者没有改动。");
    return text;
}

// Asks for a name for a pupil (`renaming` is the pupil being renamed) until
// the name is one a pupil can have; nothing when the user cancels.
std::optional<QString> askPupilName(QWidget *parent, const QList<Pupil> &pupils,
                                    const QString &prompt, const QString &initial,
                                    qint64 renaming) {
    QString typed = initial;
    for (;;) {
        const std::optional<QString> answer = askText(parent, prompt, typed);
        if (!answer)
            return std::nullopt;
        if (const std::optional<QString> problem = pupilNameProblem(*answer, pupils, renaming)) {
            showWarning(parent, *problem);
            typed = *answer;
            continue;
        }
        return answer->trimmed();
    }
}

// Tells what the record has to say after a change that failed.
void reportFailure(QWidget *parent, const PracticeRecord &record) {
    showWarning(parent, record.problem().isEmpty()
                            ? unreadable()
                            : QStringLiteral("练习者没有改动。\n\n") + record.problem());
}

} // namespace

QString currentPupilCaption(const PracticeRecord &record) {
    const std::optional<Pupil> pupil = record.currentPupil();
    return QStringLiteral("练习者: %1[&U]").arg(pupil ? pupil->name : QStringLiteral("—"));
}

void fillPupilMenu(QMenu &menu, PracticeRecord &record) {
    menu.clear();
    const std::optional<QList<Pupil>> pupils = record.pupils();
    if (!pupils) {
        menu.addAction(unreadable())->setEnabled(false);
        return;
    }
    auto *group = new QActionGroup(&menu);
    const qint64 current = record.currentPupilId();
    for (const Pupil &pupil : *pupils) {
        QAction *entry = menu.addAction(pupil.name);
        entry->setCheckable(true);
        entry->setChecked(pupil.id == current);
        group->addAction(entry);
        QObject::connect(entry, &QAction::triggered, &record,
                         [&record, id = pupil.id] { record.setCurrentPupil(id); });
    }
}

bool addPupil(QWidget *parent, PracticeRecord &record) {
    const std::optional<QList<Pupil>> pupils = record.pupils();
    if (!pupils) {
        showWarning(parent, unreadable());
        return false;
    }
    const std::optional<QString> name =
        askPupilName(parent, *pupils, QStringLiteral("新练习者的名字:"), {}, 0);
    if (!name)
        return false;
    const std::optional<qint64> id = record.addPupil(*name);
    if (!id) {
        reportFailure(parent, record);
        return false;
    }
    record.setCurrentPupil(*id);
    return true;
}

bool renameCurrentPupil(QWidget *parent, PracticeRecord &record) {
    const std::optional<QList<Pupil>> pupils = record.pupils();
    const std::optional<Pupil> pupil = record.currentPupil();
    if (!pupils || !pupil) {
        showWarning(parent, unreadable());
        return false;
    }
    const std::optional<QString> name = askPupilName(
        parent, *pupils, QStringLiteral("“%1”的新名字:").arg(pupil->name), pupil->name, pupil->id);
    if (!name || *name == pupil->name)
        return false;
    if (!record.renamePupil(pupil->id, *name)) {
        reportFailure(parent, record);
        return false;
    }
    return true;
}

bool removeCurrentPupil(QWidget *parent, PracticeRecord &record) {
    const std::optional<QList<Pupil>> pupils = record.pupils();
    const std::optional<Pupil> pupil = record.currentPupil();
    const std::optional<int> quizzes = pupil ? record.quizCount(pupil->id) : std::nullopt;
    if (!pupils || !quizzes) {
        showWarning(parent, unreadable());
        return false;
    }
    if (pupils->size() < 2) {
        showWarning(parent, QStringLiteral("“%1”是唯一的练习者，不能删除。可以先添加另一位练习者。")
                                .arg(pupil->name));
        return false;
    }
    const QString question =
        *quizzes == 0
            ? QStringLiteral("要删除练习者“%1”吗？这位练习者还没有练习记录。").arg(pupil->name)
            : QStringLiteral(
                  "要删除练习者“%1”吗？这位练习者的 %2 次练习也会一起删除，而且不能恢复。")
                  .arg(pupil->name)
                  .arg(*quizzes);
    if (!askYesNo(parent, question))
        return false;
    if (!record.removePupil(pupil->id)) {
        reportFailure(parent, record);
        return false;
    }
    return true;
}

} // namespace drillpad
