// The texts a window shows its user (its title and its controls' captions, radio items, tab and
// drop-down texts) and whether each fits its control, measured with the control's font: for the
// checks of the interface languages.
#pragma once

#include <string>
#include <vector>

class TCustomForm;

struct TShownText {
  std::string Path;     // "Form.Component", with ".Items[n]"/".Tabs[n]" for a part of one
  std::string Kind;     // title, label, button, check, group, combo, tab
  std::string Text;     // as shown, without the accelerator mark, in the system code page
  bool Clipped = false;  // wider (or, wrapped, taller) than the room its control gives it
  int Need = 0, Room = 0;  // pixels the text needs and its control gives
};

// The texts of the form and of every control a user can make appear on it (pages not in
// front included); controls hidden by the program are left out.
std::vector<TShownText> ShownTexts(TCustomForm& form);
// The form of the modal window on top, nullptr when none is up (or it is no form of ours).
TCustomForm* TopModalForm();
