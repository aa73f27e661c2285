#pragma once

#include "controls/rich_text_box.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QTextCursor>
#include <QtTest>

namespace drillpad::testing {

// Selects the characters from `from` to `to` (document positions).
inline void selectRange(QTextEdit *editor, int from, int to) {
    QTextCursor cursor(editor->document());
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    editor->setTextCursor(cursor);
}

inline void placeCaret(QTextEdit *editor, int position) {
    selectRange(editor, position, position);
}

// Picks an entry of a combo box the way a user does: opens the list and
// clicks the entry.
inline bool pickFromList(QComboBox *combo, const QString &entry) {
    const int index = combo->findText(entry, Qt::MatchExactly);
    if (index < 0)
        return false;
    combo->showPopup();
    QAbstractItemView *view = combo->view();
    if (!QTest::qWaitFor([view] { return view->isVisible(); }))
        return false;
    const QModelIndex item = view->model()->index(index, 0);
    view->scrollTo(item);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(item).center());
    return QTest::qWaitFor([view] { return !view->isVisible(); });
}

} // namespace drillpad::testing
