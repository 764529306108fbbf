// The text of a stored window placement and the decisions of restoring one, free of windows:
// number lists, the screen-size suffix, show commands and keeping a window on the desktop.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/gui/form.h"
#include "platform/gui/gui_types.h"

// Show commands of a stored placement.
inline constexpr int SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_SHOWMINIMIZED = 2, SW_SHOWMAXIMIZED = 3;

// The numbers of a stored list, split at blanks, commas and brackets; a token that is not a
// number is nullopt.
std::vector<std::optional<int>> SplitPlacementNumbers(const std::string& text);
// "%d,%d,%d,%d" of a rectangle (left, top, right, bottom).
std::string RectToPlacementText(const TRect& r);
// Four numbers of `text`; a missing or bad one takes the matching number of `fallback`.
TRect PlacementTextToRect(const std::string& text, const TRect& fallback);
// The value name with the screen size appended: «NormPos(1024x768)».
std::string ScreenSuffixedName(const std::string& name, int screenWidth, int screenHeight);
// The window state a stored show command restores; `maximiseByDefault` for a main form with
// the default position when the command is none of the known ones.
TWindowState StateFromShowCmd(int showCmd, bool maximiseByDefault);
// The rectangle moved (and shrunk when it must) into `workArea` when too little of it lies
// on any of `monitors` to be reached with the mouse; otherwise unchanged.
TRect KeepOnDesktop(const TRect& r, const std::vector<TRect>& monitors, const TRect& workArea);
