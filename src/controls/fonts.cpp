#include "controls/fonts.h"

#include <QFont>

namespace drillpad {

void installFontSubstitutions() {
    const QStringList song = {QStringLiteral("Noto Serif CJK SC"),
                              QStringLiteral("Noto Sans CJK SC"), QStringLiteral("AR PL UMing CN"),
                              QStringLiteral("WenQuanYi Zen Hei")};
    const QStringList li = {QStringLiteral("Noto Serif CJK SC"), QStringLiteral("AR PL UKai CN"),
                            QStringLiteral("Noto Sans CJK SC")};
    QFont::insertSubstitutions(QStringLiteral("宋体"), song);
    QFont::insertSubstitutions(QStringLiteral("隶书"), li);
}

} // namespace drillpad
