#include "controls/fonts.h"

#include <QFont>

namespace drillpad {

void installFontSubstitutions() {
    const QStringList song = {QStringLiteral("Noto Serif CJK SC"),
                              QStringLiteral("Noto Sans CJK SC"), QStringLiteral("AR PL UMing CN"),
                              QStringLiteral("WenQuanYi Zen Hei")};
    // "隶书" is a brush face: a brush face stands in for it, so that it does not
    // look the same as "宋体".
    const QStringList li = {QStringLiteral("AR PL UKai CN"), QStringLiteral("Noto Serif CJK SC"),
                            QStringLiteral("Noto Sans CJK SC")};
    QFont::insertSubstitutions(QStringLiteral("宋体"), song);
    QFont::insertSubstitutions(QStringLiteral("隶书"), li);
}

} // namespace drillpad
