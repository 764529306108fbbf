// Picking a colour for a swatch as the user does: a click on the swatch pops up its form's
// colour menu, and a click on the menu's item of that colour chooses it.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>

#include "components/color_menu.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/menus.h"

// Clicks `swatch` (through `click`, the swatch's own click by default) and picks `colour` from
// the colour menu "ColorMenu1" of its form; "Other" is picked for a colour the table lacks (its
// dialog must then be answered).
inline void PickFromColourMenu(TShape* swatch, TColor colour, const std::function<void()>& click = {}) {
  ASSERT_NE(swatch, nullptr);
  auto* menu = dynamic_cast<TColorMenu*>(swatch->Owner()->FindComponent("ColorMenu1"));
  ASSERT_NE(menu, nullptr) << "no colour menu on the swatch's form";
  int popups = 0;
  menu->OnPopup = [&](TObject*) { ++popups; };
  if (click) click();
  else swatch->Click();
  menu->OnPopup = nullptr;
  ASSERT_EQ(popups, 1) << "the swatch did not pop up the colour menu";
  ASSERT_EQ(menu->PopupControl(), swatch);
  const auto& entries = menu->Entries();
  auto it = std::find_if(entries.begin(), entries.end(), [&](const TColorMenuEntry& e) { return e.Color == colour; });
  if (it == entries.end()) it = entries.end() - 1;  // "Other"
  TMenuItem* item = menu->Items()->Items(int(it - entries.begin()));
  ASSERT_TRUE(item->Visible());
  item->Click();
}
