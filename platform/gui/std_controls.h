// The standard controls: labels, buttons, check and radio boxes, group boxes, edits, memos,
// combo boxes, list boxes and scroll bars, each over a Qt widget.
#pragma once

#include <memory>

#include "platform/gui/control.h"
#include "platform/string_list.h"

// The item list of a list-like control: a string list that tells its control of every change
// (outside BeginUpdate/EndUpdate) so the widget shows the same items.
class TControlItems : public TStringList {
public:
  explicit TControlItems(std::function<void()> changed) : changed_(std::move(changed)) {}

protected:
  void Changed() override;

private:
  std::function<void()> changed_;
};

enum TTextLayout { tlTop, tlCenter, tlBottom };

class TLabel : public TGraphicControl {
  QM_CLASS(TLabel, TGraphicControl)
public:
  explicit TLabel(TComponent* owner);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);
  // With AutoSize the label takes the size of its text.
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout v);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool v);
  // The control that the label's accelerator focuses.
  TWinControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* c);

protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void InitWidget() override;
  void TextChanged() override;
  void FontChanged() override;
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;

private:
  void ApplyLabel();
  void AdjustSize();
  TAlignment alignment_ = taLeftJustify;
  bool autoSize_ = true, wordWrap_ = false, transparent_ = false, showAccelChar_ = true;
  TTextLayout layout_ = tlTop;
  TWinControl* focusControl_ = nullptr;
};

// A push button. Clicking sets the form's ModalResult to the button's ModalResult first.
class TButton : public TWinControl {
  QM_CLASS(TButton, TWinControl)
public:
  explicit TButton(TComponent* owner);
  // Enter on the form clicks the default button (when no other button has the focus).
  bool Default() const { return default_; }
  void SetDefault(bool v);
  // Esc on the form clicks the cancel button.
  bool Cancel() const { return cancel_; }
  void SetCancel(bool v) { cancel_ = v; }
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int v) { modalResult_ = v; }
  void Click() override;

protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void TextChanged() override;
  bool ClickOnMouseUp() const override { return false; }

private:
  bool default_ = false, cancel_ = false;
  int modalResult_ = mrNone;
};

enum TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };

// A button with a stock kind: the kind gives its caption, modal result and default/cancel role.
class TBitBtn : public TButton {
  QM_CLASS(TBitBtn, TButton)
public:
  explicit TBitBtn(TComponent* owner);
  TBitBtnKind Kind() const { return kind_; }
  void SetKind(TBitBtnKind kind);
  void Click() override;

private:
  TBitBtnKind kind_ = bkCustom;
};

// A flat tool button that can stay down; buttons of one GroupIndex act as radio buttons.
class TSpeedButton : public TGraphicControl {
  QM_CLASS(TSpeedButton, TGraphicControl)
public:
  explicit TSpeedButton(TComponent* owner);
  bool Down() const { return down_; }
  void SetDown(bool v);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int v);
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool v) { allowAllUp_ = v; }
  bool Flat() const { return flat_; }
  void SetFlat(bool v);
  void Click() override;

protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void InitWidget() override;
  void TextChanged() override;
  bool ClickOnMouseUp() const override { return false; }
  // True when Paint draws the content (caption and more) over the plain button face.
  virtual bool PaintsContent() const { return false; }

private:
  friend class TSpeedToolButton;
  bool down_ = false, allowAllUp_ = false, flat_ = false;
  int groupIndex_ = 0;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
enum TLeftRight { taLeftSide, taRightSide };

// A check box; a change of its state (by the user or by code) fires OnClick.
class TCheckBox : public TWinControl {
  QM_CLASS(TCheckBox, TWinControl)
public:
  explicit TCheckBox(TComponent* owner);
  bool Checked() const { return state_ == cbChecked; }
  void SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }
  TCheckBoxState State() const { return state_; }
  void SetState(TCheckBoxState s);
  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool v);
  TLeftRight Alignment() const { return alignment_; }
  void SetAlignment(TLeftRight a);

protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void InitWidget() override;
  void TextChanged() override;
  bool ClickOnMouseUp() const override { return false; }

private:
  TCheckBoxState state_ = cbUnchecked;
  bool allowGrayed_ = false;
  TLeftRight alignment_ = taRightSide;
};

// A radio button; checking one unchecks the other radio buttons of its parent.
class TRadioButton : public TWinControl {
  QM_CLASS(TRadioButton, TWinControl)
public:
  explicit TRadioButton(TComponent* owner);
  bool Checked() const { return checked_; }
  void SetChecked(bool v);

protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void InitWidget() override;
  void TextChanged() override;
  bool ClickOnMouseUp() const override { return false; }

private:
  bool checked_ = false;
};

class TGroupBox : public TWinControl {
  QM_CLASS(TGroupBox, TWinControl)
public:
  explicit TGroupBox(TComponent* owner);

protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void TextChanged() override;
  void AlignControls(TRect rect) override;
};

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

// What the one-line and the multi-line edit share: the length limit, the read-only and
// modified flags, the selection, clipboard and undo, and OnChange on every change of the text.
class TCustomEdit : public TWinControl {
  QM_CLASS(TCustomEdit, TWinControl)
public:
  void SetText(const std::string& text) override;
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int v);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v);
  bool Modified() const { return modified_; }
  void SetModified(bool v) { modified_ = v; }
  // Selection as 0-based character positions.
  virtual int SelStart() = 0;
  virtual void SetSelStart(int v) = 0;
  virtual int SelLength() = 0;
  virtual void SetSelLength(int v) = 0;
  virtual std::string SelText() = 0;
  virtual void SetSelText(const std::string& text) = 0;
  virtual void SelectAll() = 0;
  void Clear() { SetText(""); }
  // Clipboard and undo of the edit (also reached by WM_COPY, WM_CUT, WM_PASTE, WM_UNDO, WM_CLEAR).
  virtual void CopyToClipboard() = 0;
  virtual void CutToClipboard() = 0;
  virtual void PasteFromClipboard() = 0;
  virtual void ClearSelection() = 0;
  virtual void Undo() = 0;
  virtual bool CanUndo() = 0;

  TNotifyEvent OnChange;

protected:
  explicit TCustomEdit(TComponent* owner);
  void WndProc(TMessage& message) override;
  virtual void Change();
  // A change of ReadOnly or MaxLength: the widget, when it exists, follows it (by default a
  // widget keeps no length limit).
  virtual void ReadOnlyChanged() = 0;
  virtual void MaxLengthChanged() {}
  // The user changed the text in the widget: it is stored, the edit is modified, OnChange fires.
  void TextEdited(const std::string& text);

  bool syncing_ = false;  // set while the edit puts its text into the widget

private:
  int maxLength_ = 0;
  bool readOnly_ = false, modified_ = false;
};

// A one-line edit.
class TEdit : public TCustomEdit {
  QM_CLASS(TEdit, TCustomEdit)
public:
  explicit TEdit(TComponent* owner);
  void SetText(const std::string& text) override;
  char PasswordChar() const { return passwordChar_; }
  void SetPasswordChar(char c);
  bool AutoSelect() const { return autoSelect_; }
  void SetAutoSelect(bool v) { autoSelect_ = v; }
  TEditCharCase CharCase() const { return charCase_; }
  void SetCharCase(TEditCharCase v);
  int SelStart() override;
  void SetSelStart(int v) override;
  int SelLength() override;
  void SetSelLength(int v) override;
  std::string SelText() override;
  void SetSelText(const std::string& text) override;
  void SelectAll() override;
  void CopyToClipboard() override;
  void CutToClipboard() override;
  void PasteFromClipboard() override;
  void ClearSelection() override;
  void Undo() override;
  bool CanUndo() override;

protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void InitWidget() override;
  void TextChanged() override;
  void DoEnter() override;
  void ReadOnlyChanged() override;
  void MaxLengthChanged() override;
  // Above 0: the edit has no frame of the window system; a border that wide is kept around the
  // text and PaintBorder draws it (on the whole client) after the edit has painted.
  void SetOwnBorder(int width);
  virtual void PaintBorder(TCanvas& canvas) {}

private:
  friend class TBorderLineEdit;
  int ownBorder_ = 0;
  bool autoSelect_ = true;
  char passwordChar_ = 0;
  TEditCharCase charCase_ = ecNormal;
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// A multi-line edit; Lines are its paragraphs. It keeps Enter unless WantReturns is off.
class TMemo : public TCustomEdit {
  QM_CLASS(TMemo, TCustomEdit)
public:
  explicit TMemo(TComponent* owner);
  ~TMemo() override;
  TStrings* Lines();
  void SetLines(const TStrings& lines) { Lines()->Assign(lines); }
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle v);
  bool WantReturns() const { return wantReturns_; }
  void SetWantReturns(bool v) { wantReturns_ = v; }
  bool WantTabs() const { return wantTabs_; }
  void SetWantTabs(bool v);
  // Positions count a line end as its two characters, CR and LF.
  int SelStart() override;
  void SetSelStart(int v) override;
  int SelLength() override;
  void SetSelLength(int v) override;
  std::string SelText() override;
  void SetSelText(const std::string& text) override;
  void SelectAll() override;
  void CopyToClipboard() override;
  void CutToClipboard() override;
  void PasteFromClipboard() override;
  void ClearSelection() override;
  void Undo() override;
  bool CanUndo() override;
  bool WantsKey(uint16_t key) const override;

protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void InitWidget() override;
  void TextChanged() override;
  void ReadOnlyChanged() override;

private:
  class TMemoLines;
  std::unique_ptr<TMemoLines> lines_;
  bool wordWrap_ = true, wantReturns_ = true, wantTabs_ = false;
  TScrollStyle scrollBars_ = ssNone;
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

// A combo box. OnChange fires when the user changes the text or the choice.
class TComboBox : public TWinControl {
  QM_CLASS(TComboBox, TWinControl)
public:
  explicit TComboBox(TComponent* owner);
  ~TComboBox() override;
  TStrings* Items() const { return items_.get(); }
  void SetItems(const TStrings& items) { items_->Assign(items); }
  int ItemIndex() const;
  void SetItemIndex(int index);
  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle s);
  std::string GetText() const override;
  void SetText(const std::string& text) override;
  bool Sorted() const { return items_->Sorted(); }
  void SetSorted(bool v) { items_->SetSorted(v); }
  int DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int v);
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int v);
  bool DroppedDown() const;
  void SetDroppedDown(bool v);
  int SelStart();
  void SetSelStart(int v);
  int SelLength();
  void SetSelLength(int v);
  void SelectAll();
  void Clear();

  TNotifyEvent OnChange, OnSelect, OnDropDown, OnCloseUp;

protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void InitWidget() override;
  bool ClickOnMouseUp() const override { return false; }
  virtual void Change();

private:
  void SyncItems();
  // Hooks the edit of an editable box (after the box got one).
  void AttachEdit();
  std::unique_ptr<TControlItems> items_;
  TComboBoxStyle style_ = csDropDown;
  int dropDownCount_ = 8, maxLength_ = 0;
  int itemIndex_ = -1;
  bool syncing_ = false;
};

// A list box. A change of the selection by the user fires OnClick.
enum TListBoxStyle { lbStandard, lbOwnerDrawFixed };
class TCanvas;
// Draws entry `Index` of an owner-drawn list into `Rect` of the list's canvas.
using TDrawItemEvent = std::function<void(TWinControl* Control, int Index, const TRect& Rect, TOwnerDrawState State)>;

class TListBox : public TWinControl {
  QM_CLASS(TListBox, TWinControl)
public:
  explicit TListBox(TComponent* owner);
  ~TListBox() override;
  TStrings* Items() const { return items_.get(); }
  void SetItems(const TStrings& items) { items_->Assign(items); }
  int ItemIndex() const;
  void SetItemIndex(int index);
  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool v);
  bool ExtendedSelect() const { return extendedSelect_; }
  void SetExtendedSelect(bool v);
  bool Selected(int index) const;
  void SetSelected(int index, bool v);
  int SelCount() const;
  bool Sorted() const { return items_->Sorted(); }
  void SetSorted(bool v) { items_->SetSorted(v); }
  int TopIndex() const;
  void SetTopIndex(int index);
  int ItemHeight() const;
  // The item at a client point, or -1.
  int ItemAtPos(TPoint p, bool existing) const;
  TRect ItemRect(int index) const;
  void Clear() { items_->Clear(); }
  // lbOwnerDrawFixed: OnDrawItem paints every entry on Canvas (brush and font colours set for
  // the entry's state beforehand).
  TListBoxStyle Style() const { return style_; }
  void SetStyle(TListBoxStyle v);
  // Entries flow down and on into this many columns of equal width; 0 is one plain column.
  int Columns() const { return columns_; }
  void SetColumns(int v);
  TCanvas* Canvas() { return canvas_.get(); }
  TDrawItemEvent OnDrawItem;
  // Paints one entry as the widget would (tests draw into a bitmap this way).
  void DrawItem(int index, const TRect& rect, TOwnerDrawState state);

protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void InitWidget() override;
  bool ClickOnMouseUp() const override { return false; }

private:
  void SyncItems();
  void ApplySelectionMode();
  void ApplyColumns();
  std::unique_ptr<TControlItems> items_;
  std::unique_ptr<TCanvas> canvas_;
  TListBoxStyle style_ = lbStandard;
  int columns_ = 0;
  bool multiSelect_ = false, extendedSelect_ = true;
  int itemIndex_ = -1;
  std::vector<bool> selected_;
  bool syncing_ = false;
};

enum TScrollBarKind { sbHorizontal, sbVertical };
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };

class TScrollBar : public TWinControl {
  QM_CLASS(TScrollBar, TWinControl)
public:
  explicit TScrollBar(TComponent* owner);
  TScrollBarKind Kind() const { return kind_; }
  void SetKind(TScrollBarKind k);
  int Min() const { return min_; }
  void SetMin(int v) { SetParams(position_, v, max_); }
  int Max() const { return max_; }
  void SetMax(int v) { SetParams(position_, min_, v); }
  int Position() const { return position_; }
  void SetPosition(int v) { SetParams(v, min_, max_); }
  void SetParams(int position, int min, int max);
  int SmallChange() const { return smallChange_; }
  void SetSmallChange(int v);
  int LargeChange() const { return largeChange_; }
  void SetLargeChange(int v);
  int PageSize() const { return pageSize_; }
  void SetPageSize(int v);

  TNotifyEvent OnChange;
  std::function<void(TObject* Sender, TScrollCode Code, int& ScrollPos)> OnScroll;

protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void InitWidget() override;
  bool ClickOnMouseUp() const override { return false; }

private:
  void Apply();
  TScrollBarKind kind_ = sbHorizontal;
  int min_ = 0, max_ = 100, position_ = 0, smallChange_ = 1, largeChange_ = 1, pageSize_ = 0;
  bool syncing_ = false;
};
