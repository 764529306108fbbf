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
// The window on top that waits for the user's answer: a window in its modal loop or a message
// box of the system's (not a window that only holds off the input while the program works).
struct TWaitingWindow {
  const void* Window = nullptr;  // nullptr when none waits
  // Its name and title, then the texts it shows (labels, edits, text views), each in quotes.
  std::string Description;
};
TWaitingWindow WaitingModalWindow();
// A window's name, title and texts, as a waiting window's description gives them.
std::string WindowDescription(TCustomForm& form);
// Writes a picture of the form as it is on the screen to a PNG file; false when it fails.
bool SaveFormPicture(TCustomForm& form, const std::string& fileName);
