// Narrows a canvas's drawing to a rectangle for the lifetime of the object (nested clips
// intersect; the previous clip comes back at the end).
#pragma once

#include "platform/gui/graphics.h"

class TCanvasClip {
public:
  TCanvasClip(TCanvas& canvas, const TRect& r);
  ~TCanvasClip();
  TCanvasClip(const TCanvasClip&) = delete;
  TCanvasClip& operator=(const TCanvasClip&) = delete;

private:
  TCanvas& canvas_;
  bool saved_ = false;
};
