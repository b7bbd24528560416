// The menu: a physics scene of signs hanging on chains from a gallows. A
// click throws a cube at the signs; the first sign that breaks is the choice.
#pragma once

#include <cstdint>

namespace bb {

extern int32_t MenuFade;      // 255 until a choice; drops by 2 a tick after it
extern int32_t ClickCooldown; // ticks until a click may throw again (shared with the hidden part)

extern const char* const MenuTitle;
extern const char* const MenuMotto;
extern const char* const MenuCredit;
extern const char* const DocumentationText;

// Builds the scene of MenuPage and enters the menu.
void build_menu();
void menu_tick(uint8_t draw);
// A click throws a cube, unless one was thrown within 60 ticks.
bool click_may_throw();

} // namespace bb
