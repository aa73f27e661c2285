#pragma once

#include <QStringList>

class QComboBox;

namespace drillpad {

// Appends the given font names to the font combo box, after the entries it
// already has, in the given order: no sorting and no removal of duplicates.
void appendFontNames(QComboBox *cmbFont, const QStringList &fontNames);

// Appends the screen's font names to the main window's font combo box.
void FillFontList(QComboBox *cmbFont);

} // namespace drillpad
