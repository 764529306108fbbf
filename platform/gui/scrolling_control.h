// TScrollingControl: a custom-painted control with scroll bars of its own and an optional
// strip above its client area (a header). It scrolls nothing by itself: bar requests arrive
// as ScrollRequest (SB_ codes) and the control sets the bars back. Mouse positions arrive in
// client coordinates; the strip lies at negative y.
#pragma once

#include <memory>
#include <string>

#include "platform/gui/control.h"

// Scroll-bar requests, numbered as Windows numbers them (LINELEFT = LINEUP and so on).
inline constexpr int SB_LINEUP = 0, SB_LINEDOWN = 1, SB_PAGEUP = 2, SB_PAGEDOWN = 3,
    SB_THUMBPOSITION = 4, SB_THUMBTRACK = 5, SB_TOP = 6, SB_BOTTOM = 7, SB_ENDSCROLL = 8;
inline constexpr int SB_LINELEFT = 0, SB_LINERIGHT = 1, SB_PAGELEFT = 2, SB_PAGERIGHT = 3,
    SB_LEFT = 6, SB_RIGHT = 7;

class TScrollArea;

class TScrollingControl : public TCustomControl {
  QM_CLASS(TScrollingControl, TCustomControl)
public:
  explicit TScrollingControl(TComponent* owner);
  ~TScrollingControl() override;

  int ClientWidth() const override;
  int ClientHeight() const override;
  // Sets a bar as SCROLLINFO does: range 0..Max with a page of Page and the thumb at
  // Position; the bar hides when the page covers the range, unless AlwaysVisible.
  void SetScrollInfo(bool Vertical, int Max, int Page, int Position, bool AlwaysVisible = false);
  int ScrollPosition(bool Vertical) const;
  // Height of the horizontal scroll bar (for bringing a node into view above it).
  int HorizontalBarHeight() const;
  // The strip above the client area (0: none).
  int StripHeight() const { return stripHeight_; }
  void SetStripHeight(int Height);
  void SetBorder(bool Single);
  // Repaints the client area, a part of it, or the strip.
  void InvalidateClient();
  void InvalidateClientRect(const TRect& R);
  void InvalidateStrip();
  // Where the client area starts inside the control (frame and strip).
  TPoint ClientOrigin() const;

protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void WndProc(TMessage& Message) override;
  // Paints the strip (canvas coordinates: the strip's own, from 0,0).
  virtual void PaintStrip(TCanvas& /*Canvas*/, const TRect& /*R*/) {}
  // A bar asks to scroll (SB_ code, the thumb position for SB_THUMBTRACK/SB_THUMBPOSITION).
  virtual void ScrollRequest(bool /*Vertical*/, int /*Code*/, int /*Position*/) {}
  // The hint for a client point (the strip at negative y): its text and the client rectangle
  // it belongs to; false leaves the control's ordinary hint.
  virtual bool HintRequest(TPoint /*P*/, std::u16string& /*Text*/, TRect& /*R*/) { return false; }

private:
  friend class TScrollArea;
  void PlaceStrip();
  TScrollArea* Area() const;
  std::unique_ptr<TCanvas> stripCanvas_;
  int stripHeight_ = 0;
  bool border_ = true;
  bool settingBars_ = false;
};
