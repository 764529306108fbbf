// More controls: panels, bevels, shapes, images, paint boxes, splitters and radio groups.
#pragma once

#include <memory>

#include "platform/gui/graphics.h"
#include "platform/gui/std_controls.h"

class QButtonGroup;

enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };

// A container drawn with bevels and an optional centred caption.
class TPanel : public TCustomControl {
  QM_CLASS(TPanel, TCustomControl)
public:
  explicit TPanel(TComponent* owner);
  TPanelBevel BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TPanelBevel v);
  TPanelBevel BevelInner() const { return bevelInner_; }
  void SetBevelInner(TPanelBevel v);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int v);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int v);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);

protected:
  void Paint() override;
  void TextChanged() override { Invalidate(); }
  void AlignControls(TRect rect) override;

private:
  TPanelBevel bevelOuter_ = bvRaised, bevelInner_ = bvNone;
  int bevelWidth_ = 1, borderWidth_ = 0;
  TAlignment alignment_ = taCenter;
};

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
  QM_CLASS(TBevel, TGraphicControl)
public:
  explicit TBevel(TComponent* owner);
  TBevelShape Shape() const { return shape_; }
  void SetShape(TBevelShape s);
  TBevelStyle Style() const { return style_; }
  void SetStyle(TBevelStyle s);

protected:
  void Paint() override;

private:
  TBevelShape shape_ = bsBox;
  TBevelStyle style_ = bsLowered;
};

enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };

class TShape : public TGraphicControl {
  QM_CLASS(TShape, TGraphicControl)
public:
  explicit TShape(TComponent* owner);
  TShapeType Shape() const { return shape_; }
  void SetShape(TShapeType s);
  TPen* Pen() { return &pen_; }
  TBrush* Brush() { return &brush_; }

protected:
  void Paint() override;

private:
  TShapeType shape_ = stRectangle;
  TPen pen_;
  TBrush brush_;
};

// What a TImage shows: a bitmap, loaded from a file or drawn on.
class TPicture : public TPersistent {
  QM_CLASS(TPicture, TPersistent)
public:
  TPicture();
  ~TPicture() override;
  TBitmap* Bitmap() { return bitmap_.get(); }
  int Width() const;
  int Height() const;
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName) { bitmap_->SaveToFile(fileName); }
  void Assign(const TBitmap& bitmap);
  TNotifyEvent OnChange;

private:
  std::unique_ptr<TBitmap> bitmap_;
};

class TImage : public TGraphicControl {
  QM_CLASS(TImage, TGraphicControl)
public:
  explicit TImage(TComponent* owner);
  ~TImage() override;
  TPicture* Picture() { return picture_.get(); }
  // The picture's canvas: drawing on it changes the picture (made at the control's size
  // when still empty).
  TCanvas* Canvas();
  bool Stretch() const { return stretch_; }
  void SetStretch(bool v);
  bool Center() const { return center_; }
  void SetCenter(bool v);
  bool Proportional() const { return proportional_; }
  void SetProportional(bool v);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);

protected:
  void Paint() override;

private:
  void PictureChanged();
  std::unique_ptr<TPicture> picture_;
  bool stretch_ = false, center_ = false, proportional_ = false, transparent_ = false, autoSize_ = false;
};

// A control that leaves its painting to OnPaint.
class TPaintBox : public TGraphicControl {
  QM_CLASS(TPaintBox, TGraphicControl)
public:
  explicit TPaintBox(TComponent* owner);
  TNotifyEvent OnPaint;

protected:
  void Paint() override;
};

enum TResizeStyle { rsNone, rsLine, rsUpdate, rsPattern };
using TCanResizeEvent = std::function<void(TObject* Sender, int& NewSize, bool& Accept)>;

// A bar between aligned controls; dragging it resizes the control it is aligned against.
class TSplitter : public TGraphicControl {
  QM_CLASS(TSplitter, TGraphicControl)
public:
  explicit TSplitter(TComponent* owner);
  int MinSize() const { return minSize_; }
  void SetMinSize(int v) { minSize_ = v; }
  bool Beveled() const { return beveled_; }
  void SetBeveled(bool v);
  TResizeStyle ResizeStyle() const { return resizeStyle_; }
  void SetResizeStyle(TResizeStyle v) { resizeStyle_ = v; }

  TCanResizeEvent OnCanResize;
  TNotifyEvent OnMoved;

protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void Loaded() override;

private:
  // The control the splitter resizes: the one aligned on the same side just before it.
  TControl* FindControl() const;
  void UpdateCursor();
  int minSize_ = 30;
  bool beveled_ = false;
  TResizeStyle resizeStyle_ = rsPattern;
  TControl* target_ = nullptr;
  int downPos_ = 0, startSize_ = 0;
};

// A group box of radio buttons made from Items; ItemIndex is the checked one.
class TRadioGroup : public TGroupBox {
  QM_CLASS(TRadioGroup, TGroupBox)
public:
  explicit TRadioGroup(TComponent* owner);
  ~TRadioGroup() override;
  TStrings* Items() const { return items_.get(); }
  int ItemIndex() const { return itemIndex_; }
  // Checks item `index` (-1: none); a change by the user fires OnClick.
  void SetItemIndex(int index);
  int Columns() const { return columns_; }
  void SetColumns(int v);

protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void InitWidget() override;
  void Resize() override;
  void EnabledChanged() override;

private:
  void BuildButtons();
  void ArrangeButtons();
  std::unique_ptr<TControlItems> items_;
  QButtonGroup* group_ = nullptr;
  int itemIndex_ = -1, columns_ = 1;
};
