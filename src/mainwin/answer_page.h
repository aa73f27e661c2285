#pragma once

#include "question/answer_key.h"

class QTextEdit;

namespace drillpad {

class FrmMain;

// The answer page ("答案页[&K]", Ctrl+K): the sheet's questions answered on
// a page of their own after the sheet. Running it again replaces the answer
// page instead of adding a second one; undo takes it away in one step.
void addAnswerPage(FrmMain &window);

struct WrittenAnswerPage {
    AnswerKey key;
    // Lines the user added to an earlier answer page, moved to the sheet.
    int linesMoved = 0;
};

// The editing part. An earlier answer page is the line "答案:" that starts a
// page, or where no such line is (a text file that lost its page break) the
// first line "答案:" after the sheet: it and everything after it are
// replaced, except the lines the user added to it (linesAddedToAnswerKey),
// which move to the end of the sheet and are answered with it. The answer
// section starts with a page break; each line takes the paragraph and
// character format of the sheet line it repeats. The editor is left
// unchanged when the sheet has no question (the key returned has no lines).
WrittenAnswerPage writeAnswerPage(QTextEdit &editor);

} // namespace drillpad
