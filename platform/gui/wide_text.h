// UTF-16 text on a canvas: drawing, clipping and measuring in the canvas's font (the
// canvas's own text routines take system-code-page text).
#pragma once

#include <string>

#include "platform/gui/graphics.h"

// Text at (x, y) (top-left of its line); the cell is filled with the brush unless it is clear.
void WideTextOut(TCanvas& canvas, int x, int y, const std::u16string& text);
// The same, clipped to `clip`.
void WideTextRect(TCanvas& canvas, const TRect& clip, int x, int y, const std::u16string& text);
int WideTextWidth(TCanvas& canvas, const std::u16string& text);
// The font's line height (tmHeight).
int FontLineHeight(TCanvas& canvas);
