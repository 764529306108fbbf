// Renders a control (with its children) into a bitmap, as it would appear on the screen.
#pragma once

class TControl;
class TBitmap;

void GrabControl(TControl& control, TBitmap& bitmap);
