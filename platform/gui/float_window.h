// Floating tool windows: a control of a form shown as a small window of its own that stays
// above its form, hides with it and does not take the keyboard from it. The control draws the
// window's frame and caption itself and handles the mouse on them.
#pragma once

#include <functional>
#include <string>

#include "platform/gui/gui_types.h"

class TControl;
class TCustomForm;

// Makes `control` (a child of `form`) a floating tool window without a frame of the window
// system, or a child again. A request to close the window does not close it: `onClose` decides.
void SetFloatingWindow(TControl& control, TCustomForm& form, bool floating, const std::string& caption,
                       std::function<void()> onClose = nullptr);
// The outline that follows a dragged toolbar: a half-tone frame `thickness` pixels wide around
// screen rectangle `r`, above every window; hidden again by HideDragOutline.
void ShowDragOutline(const TRect& r, int thickness);
void HideDragOutline();
// The frame width and the caption height of floating tool windows.
int FloatFrameWidth();
int FloatCaptionHeight();
