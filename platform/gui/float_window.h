// Floating tool windows: a control of a form shown as a small window of its own that stays
// above its form, hides with it and does not take the keyboard from it.
#pragma once

#include <string>

#include "platform/gui/gui_types.h"

class TControl;
class TCustomForm;

// Makes `control` (a child of `form`) a floating tool window, or a child again.
void SetFloatingWindow(TControl& control, TCustomForm& form, bool floating, const std::string& caption);
// The frame width and the caption height of floating tool windows.
int FloatFrameWidth();
int FloatCaptionHeight();
