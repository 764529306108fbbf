// Acting on the program's real windows as a user would, for the test scripts: a main-menu
// entry's drop-down opened and closed, the window on top closed, a window's picture saved.
#pragma once

#include <string>

class TCustomForm;
class TMenuItem;

// Shows the sub-items of `item` (an entry of `form`'s main menu) as its drop-down below the
// menu bar, running the entry's opening handler; true when the drop-down is up.
bool OpenMenuDropDown(TCustomForm& form, TMenuItem& item);
// Closes every drop-down and popup menu.
void CloseMenuDropDowns();
// Closes the popup menu or modal window on top (a form's modal result becomes Cancel); its
// caption ("menu" for a popup), "" when nothing modal is up.
std::string CloseTopModalWindow();
// Writes a picture of the form as it is on the screen to a PNG file; false when it fails.
bool SaveFormPicture(TCustomForm& form, const std::string& fileName);
