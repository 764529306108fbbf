// TScrollBox: a container whose children may reach beyond its client area; scroll bars
// appear as needed and move the children.
#pragma once

#include "platform/gui/control.h"

class TScrollBox;

// One scroll bar of a scroll box.
class TControlScrollBar {
public:
  int Position() const;
  void SetPosition(int v);
  // How far the content reaches (the children's extent), in pixels.
  int Range() const;
  bool IsScrollBarVisible() const;

private:
  friend class TScrollBox;
  TControlScrollBar(TScrollBox* box, bool vertical) : box_(box), vertical_(vertical) {}
  TScrollBox* box_;
  bool vertical_;
};

class TScrollBox : public TWinControl {
  QM_CLASS(TScrollBox, TWinControl)
public:
  explicit TScrollBox(TComponent* owner);
  TControlScrollBar* HorzScrollBar() { return &horz_; }
  TControlScrollBar* VertScrollBar() { return &vert_; }
  // Scrolls so that `control` (a child) is fully visible where possible.
  void ScrollInView(TControl* control);
  int ClientWidth() const override;
  int ClientHeight() const override;

protected:
  QWidget* CreateWidget(QWidget* parent) override;
  QWidget* ClientWidget() override;
  void AlignControls(TRect rect) override;

private:
  friend class TControlScrollBar;
  void UpdateRange();
  TControlScrollBar horz_{this, false}, vert_{this, true};
};
