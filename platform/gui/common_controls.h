// The common controls: page controls with tab sheets, track bars, progress bars, up-down
// buttons and status bars with panels.
#pragma once

#include "platform/gui/collection.h"
#include "platform/gui/control.h"

class TPageControl;
class TImageList;

// One page of a page control; its Caption is the tab's text.
class TTabSheet : public TWinControl {
  QM_CLASS(TTabSheet, TWinControl)
public:
  explicit TTabSheet(TComponent* owner);
  ~TTabSheet() override;
  TPageControl* PageControl() const { return pageControl_; }
  void SetPageControl(TPageControl* pc);
  void SetParent(TWinControl* parent) override;
  // Position among the page control's pages.
  int PageIndex() const;
  void SetPageIndex(int index);
  bool TabVisible() const { return tabVisible_; }
  void SetTabVisible(bool v);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v) { imageIndex_ = v; }

protected:
  void TextChanged() override;

private:
  friend class TPageControl;
  TPageControl* pageControl_ = nullptr;
  bool tabVisible_ = true;
  int imageIndex_ = -1;
};

class TPageControl : public TWinControl {
  QM_CLASS(TPageControl, TWinControl)
public:
  explicit TPageControl(TComponent* owner);
  ~TPageControl() override;
  int PageCount() const { return int(pages_.size()); }
  TTabSheet* Pages(int index) const { return pages_.at(size_t(index)); }
  TTabSheet* ActivePage() const;
  // Shows `page` (no OnChanging/OnChange: those are for the user's choice).
  void SetActivePage(TTabSheet* page);
  int ActivePageIndex() const;
  void SetActivePageIndex(int index);
  // The next visible page after (or before) `current`, wrapping.
  TTabSheet* FindNextPage(TTabSheet* current, bool goForward) const;
  void SelectNextPage(bool goForward);

  TNotifyEvent OnChange;
  std::function<void(TObject* Sender, bool& AllowChange)> OnChanging;

protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void InitWidget() override;
  void PlaceChildWidget(TControl* child) override;
  QWidget* ChildHost(TControl* child) override;

private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  void UpdateTabs();
  std::vector<TTabSheet*> pages_;
  TTabSheet* active_ = nullptr;
  bool syncing_ = false;
};

enum TTrackBarOrientation { trHorizontal, trVertical };
enum TTickStyle { tsNone, tsAuto, tsManual };
enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };

class TTrackBar : public TWinControl {
  QM_CLASS(TTrackBar, TWinControl)
public:
  explicit TTrackBar(TComponent* owner);
  int Min() const { return min_; }
  void SetMin(int v);
  int Max() const { return max_; }
  void SetMax(int v);
  int Position() const { return position_; }
  // Changing the position (by the user or by code) fires OnChange.
  void SetPosition(int v);
  int Frequency() const { return frequency_; }
  void SetFrequency(int v);
  int LineSize() const { return lineSize_; }
  void SetLineSize(int v);
  int PageSize() const { return pageSize_; }
  void SetPageSize(int v);
  TTrackBarOrientation Orientation() const { return orientation_; }
  void SetOrientation(TTrackBarOrientation v);
  TTickStyle TickStyle() const { return tickStyle_; }
  void SetTickStyle(TTickStyle v);
  TTickMark TickMarks() const { return tickMarks_; }
  void SetTickMarks(TTickMark v);

  TNotifyEvent OnChange;

protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void InitWidget() override;
  bool ClickOnMouseUp() const override { return false; }

private:
  void Apply();
  int min_ = 0, max_ = 10, position_ = 0, frequency_ = 1, lineSize_ = 1, pageSize_ = 2;
  TTrackBarOrientation orientation_ = trHorizontal;
  TTickStyle tickStyle_ = tsAuto;
  TTickMark tickMarks_ = tmBottomRight;
  bool syncing_ = false;
};

enum TProgressBarOrientation { pbHorizontal, pbVertical };

class TProgressBar : public TWinControl {
  QM_CLASS(TProgressBar, TWinControl)
public:
  explicit TProgressBar(TComponent* owner);
  int Min() const { return min_; }
  void SetMin(int v);
  int Max() const { return max_; }
  void SetMax(int v);
  int Position() const { return position_; }
  void SetPosition(int v);
  int Step() const { return step_; }
  void SetStep(int v) { step_ = v; }
  // Advances by Step (wrapping to Min past Max, as the system control does).
  void StepIt();
  void StepBy(int delta);
  bool Smooth() const { return smooth_; }
  void SetSmooth(bool v) { smooth_ = v; }
  TProgressBarOrientation Orientation() const { return orientation_; }
  void SetOrientation(TProgressBarOrientation v);

protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void InitWidget() override;

private:
  void Apply();
  int min_ = 0, max_ = 100, position_ = 0, step_ = 10;
  bool smooth_ = false;
  TProgressBarOrientation orientation_ = pbHorizontal;
};

enum TUDBtnType { btNext, btPrev };
enum TUDAlignButton { udLeft, udRight };
enum TUDOrientation { udHorizontal, udVertical };

// Up and down arrows that step Position and show it in the Associate control.
class TUpDown : public TWinControl {
  QM_CLASS(TUpDown, TWinControl)
public:
  explicit TUpDown(TComponent* owner);
  int Min() const { return min_; }
  void SetMin(int v);
  int Max() const { return max_; }
  void SetMax(int v);
  int Position() const;
  void SetPosition(int v);
  int Increment() const { return increment_; }
  void SetIncrement(int v) { increment_ = v; }
  bool Wrap() const { return wrap_; }
  void SetWrap(bool v) { wrap_ = v; }
  bool Thousands() const { return thousands_; }
  void SetThousands(bool v);
  bool ArrowKeys() const { return arrowKeys_; }
  void SetArrowKeys(bool v) { arrowKeys_ = v; }
  TUDAlignButton AlignButton() const { return alignButton_; }
  void SetAlignButton(TUDAlignButton v);
  TUDOrientation Orientation() const { return orientation_; }
  void SetOrientation(TUDOrientation v);
  TWinControl* Associate() const { return associate_; }
  void SetAssociate(TWinControl* control);
  // Steps as a click on an arrow does.
  void Step(TUDBtnType button);

  std::function<void(TObject* Sender, TUDBtnType Button)> OnClick;
  std::function<void(TObject* Sender, bool& AllowChange)> OnChanging;

protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void InitWidget() override;
  bool ClickOnMouseUp() const override { return false; }
  void Notification(TComponent* component, TOperation operation) override;

private:
  void UpdateAssociate();
  void PlaceBesideAssociate();
  void ArrangeArrows();
  int min_ = 0, max_ = 100, position_ = 0, increment_ = 1;
  bool wrap_ = false, thousands_ = true, arrowKeys_ = true;
  TUDAlignButton alignButton_ = udRight;
  TUDOrientation orientation_ = udVertical;
  TWinControl* associate_ = nullptr;
};

enum TStatusPanelStyle { psText, psOwnerDraw };
enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };

class TStatusPanel : public TCollectionItem {
  QM_CLASS(TStatusPanel, TCollectionItem)
public:
  const std::string& Text() const { return text_; }
  void SetText(const std::string& v);
  int Width() const { return width_; }
  void SetWidth(int v);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  TStatusPanelStyle Style() const { return style_; }
  void SetStyle(TStatusPanelStyle v);
  TStatusPanelBevel Bevel() const { return bevel_; }
  void SetBevel(TStatusPanelBevel v);

private:
  std::string text_;
  int width_ = 50;
  TAlignment alignment_ = taLeftJustify;
  TStatusPanelStyle style_ = psText;
  TStatusPanelBevel bevel_ = pbLowered;
};

class TStatusBar;
using TDrawPanelEvent = std::function<void(TStatusBar* StatusBar, TStatusPanel* Panel, const TRect& Rect)>;

// A status bar of panels (the last one takes the rest of the width), or one simple text.
class TStatusBar : public TCustomControl {
  QM_CLASS(TStatusBar, TCustomControl)
public:
  explicit TStatusBar(TComponent* owner);
  ~TStatusBar() override;
  TOwnedCollection<TStatusPanel>* Panels() const { return panels_.get(); }
  bool SimplePanel() const { return simplePanel_; }
  void SetSimplePanel(bool v);
  const std::string& SimpleText() const { return simpleText_; }
  void SetSimpleText(const std::string& v);
  bool SizeGrip() const { return sizeGrip_; }
  void SetSizeGrip(bool v);
  // The rectangle of panel `index` in client coordinates.
  TRect PanelRect(int index) const;
  // The panel under client x, or -1.
  int PanelAt(int x) const;
  // Draws an owner-drawn panel on Canvas.
  TDrawPanelEvent OnDrawPanel;

protected:
  void Paint() override;

private:
  std::unique_ptr<TOwnedCollection<TStatusPanel>> panels_;
  bool simplePanel_ = false, sizeGrip_ = true;
  std::string simpleText_;
};
