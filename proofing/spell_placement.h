// Where the windows of the interactive check go: near the word without covering it.
#pragma once

#include "platform/gui/gui_types.h"

// The popup's new top-left for a word at screen point `Word` (its y at least 20); the popup
// keeps `Popup`'s place when it does not cover the word.
TPoint PlacePopup(TRect Popup, TPoint Word, int ScreenWidth, int ScreenHeight);
// The finding window's top-left for a range at screen point `At` (its y at least 10): below it,
// or above it when it would leave the screen.
TPoint PlaceFinding(int Height, TPoint At, int ScreenHeight);
