#include "mainwin/font_list.h"

#include <QComboBox>
#include <QFontDatabase>

namespace drillpad {

void appendFontNames(QComboBox *cmbFont, const QStringList &fontNames) {
    // Adding items must not change the text the combo box shows.
    const QString shown = cmbFont->currentText();
    cmbFont->addItems(fontNames);
    cmbFont->setEditText(shown);
}

void FillFontList(QComboBox *cmbFont) {
    appendFontNames(cmbFont, QFontDatabase::families());
}

} // namespace drillpad
