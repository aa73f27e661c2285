#pragma once

#include "question/answer_key.h"

class QTextEdit;

namespace drillpad {

class FrmMain;

// The answer page ("答案页[&K]", Ctrl+K): the sheet's questions answered on
// a page of their own after the sheet. Running it again replaces the answer
// page instead of adding a second one; undo takes it away in one step.
void addAnswerPage(FrmMain &window);

// The editing part: reads the questions above an earlier answer page (if
// any), replaces that page, or appends a new one, by the answer section
// starting with a page break. Each line takes the paragraph and character
// format of the sheet line it repeats. The editor is left unchanged when the
// sheet has no question (the key returned has no lines).
AnswerKey writeAnswerPage(QTextEdit &editor);

} // namespace drillpad
