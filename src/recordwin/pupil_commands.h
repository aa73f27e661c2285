#pragma once

#include "record/practice_record.h"

#include <QString>

class QMenu;
class QWidget;

namespace drillpad {

// The 练习 menu's entry for the current pupil: "练习者: 小明[&U]".
QString currentPupilCaption(const PracticeRecord &record);

// Fills `menu` with one checkable entry per pupil, the current one checked;
// choosing one makes it the current pupil.
void fillPupilMenu(QMenu &menu, PracticeRecord &record);

// 添加练习者: asks for a name until it is one a pupil can have (or the user
// cancels) and makes the new pupil the current one. True when added.
bool addPupil(QWidget *parent, PracticeRecord &record);
// 重命名练习者: the current pupil.
bool renameCurrentPupil(QWidget *parent, PracticeRecord &record);
// 删除练习者: asks, saying how many quizzes go with the current pupil, and
// removes it; the last pupil is not removed but said to be the last.
bool removeCurrentPupil(QWidget *parent, PracticeRecord &record);

} // namespace drillpad
