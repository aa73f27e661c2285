#pragma once

#include "rtf/rtf_document.h"

#include <QString>

#include <vector>

namespace drillpad {

// The line at the top of every page of a sheet, for the pupil to fill in.
inline constexpr const char *kNameLine = "姓名:______ 日期:______ 用时:______ 得分:______";

// The sheet's header: the title, when there is one, centred in bold 16 pt,
// and the name line in 12 pt when it is wanted; nothing when neither is.
std::vector<RtfParagraph> makeSheetHeader(bool nameLine, const QString &title);

} // namespace drillpad
