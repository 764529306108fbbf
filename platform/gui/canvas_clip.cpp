#include "platform/gui/canvas_clip.h"

#include <QPainter>

TCanvasClip::TCanvasClip(TCanvas& canvas, const TRect& r) : canvas_(canvas) {
  if (QPainter* p = canvas.Painter()) {
    p->save();
    p->setClipRect(QRect(r.Left, r.Top, r.Width(), r.Height()), Qt::IntersectClip);
    saved_ = true;
  }
}

TCanvasClip::~TCanvasClip() {
  if (saved_)
    if (QPainter* p = canvas_.Painter()) p->restore();
}
