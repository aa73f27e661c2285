#pragma once

namespace drillpad {

// Loads Qt's own Simplified Chinese texts (standard dialogs, message-box
// buttons, context menus) whatever the user's locale: the whole interface is
// Chinese. False when Qt's translations are not installed; Qt then keeps its
// English texts.
bool installQtTranslations();

} // namespace drillpad
