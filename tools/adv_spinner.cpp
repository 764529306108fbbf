#include "tools/adv_spinner.h"

#include <algorithm>

#include "platform/gui/graphics.h"
#include "platform/gui/menus.h"
#include "platform/gui/timer.h"
#include "platform/string_list.h"

QM_CLASS_INFO(TAdvSpinner, TPanel, [](TClassBuilder<TAdvSpinner>& c) {
  using C = TAdvSpinner;
  c.Integer("Min", &C::Min, &C::SetMin)
      .Integer("Max", &C::Max, &C::SetMax)
      .Integer("Position", &C::Position, &C::SetPosition)
      .Strings("ValueList", [](C& s) { return s.ValueList(); },
               [](C& s, const std::vector<std::string>& v) { s.SetValueList(v); })
      .Boolean("Sorted", &C::Sorted, &C::SetSorted)
      .Boolean("ValueLoop", &C::ValueLoop, &C::SetValueLoop)
      .Integer("Break", &C::Break, &C::SetBreak)
      .Integer("ButtonWidth", &C::ButtonWidth, &C::SetButtonWidth)
      .Set<TSpinButtonSet>("VisibleButtons", {"sbFirst", "sbPrior", "sbValue", "sbNext", "sbLast"},
                           &C::VisibleButtons, &C::SetVisibleButtons)
      .Enum<TSpinValueStyle>("ValueStyle", {"vsPopup", "vsText", "vsScrollBar", "vsGauge", "vsVolumeGauge", "vsOwnerDraw"},
                             &C::ValueStyle, &C::SetValueStyle)
      .Enum<TAlignment>("ValueAlign", {"taLeftJustify", "taRightJustify", "taCenter"}, &C::ValueAlign, &C::SetValueAlign)
      .Color("BarColor", &C::BarColor, &C::SetBarColor)
      .Color("ThumbColor", &C::ThumbColor, &C::SetThumbColor)
      .Boolean("ShowModify", &C::ShowModify, &C::SetShowModify)
      .Color("ChangedColor", &C::ChangedColor, &C::SetChangedColor)
      .Boolean("AutoRun", &C::AutoRun, &C::SetAutoRun)
      .Boolean("DesignBorder", &C::DesignBorder, &C::SetDesignBorder)
      .Event("OnSpinClick", &C::OnSpinClick)
      .Event("OnSetValue", &C::OnSetValue)
      .Event("OnDraw", &C::OnDraw);
})

namespace {

constexpr int kMinHeight = 12;
constexpr unsigned kRepeatDelay = 400, kRepeatInterval = 100;
const char* const kGlyphs[] = {"|<", "<", "", ">", ">|"};

}  // namespace

// --- TAdvSpinButton ---

TAdvSpinButton::TAdvSpinButton(TAdvSpinner* spinner, TAdvSpinBtn kind)
    : TSpeedButton(spinner), spinner_(spinner), kind_(kind) {
  SetParent(spinner);
  SetFlat(true);
  SetTag(kind == sbValue ? -999 : kind);
  SetCaption(kGlyphs[kind]);
  timer_ = new TTimer(this);
  timer_->SetEnabled(false);
  timer_->OnTimer = [this](TObject*) { RepeatTick(); };
  OnClick = [this](TObject*) { spinner_->Act(kind_); };
}

void TAdvSpinButton::SetRange(const TSpinRange& r) {
  range_ = r;
  if (kind_ == sbValue && spinner_->ValueStyle() >= vsScrollBar) Invalidate();
}

void TAdvSpinButton::SetRepeat(bool v) {
  repeat_ = v;
  if (!v) timer_->SetEnabled(false);
}

void TAdvSpinButton::SetTextAlign(TAlignment a) {
  align_ = a;
  Invalidate();
}

void TAdvSpinButton::RepeatTick() {
  timer_->SetInterval(kRepeatInterval);
  Click();
}

void TAdvSpinButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft && spinner_->CanFocus()) spinner_->SetFocus();
  TSpeedButton::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  if (kind_ == sbValue && spinner_->ValueStyle() >= vsScrollBar) spinner_->PressValueAt(x);
  if (repeat_) {
    timer_->SetInterval(kRepeatDelay);
    timer_->SetEnabled(true);
  }
}

void TAdvSpinButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  timer_->SetEnabled(false);
  TSpeedButton::MouseUp(button, shift, x, y);
}

void TAdvSpinButton::Paint() { spinner_->PaintValue(this); }

// --- TAdvSpinner ---

TAdvSpinner::TAdvSpinner(TComponent* owner) : TPanel(owner) {
  SetBevelOuter(bvNone);
  popup_ = new TPopupMenu(this);
  for (int kind = sbFirst; kind <= sbLast; ++kind) buttons_[size_t(kind)] = new TAdvSpinButton(this, TAdvSpinBtn(kind));
  SetAutoRun(true);
  minValueWidth_ = buttonWidth_;
  TPanel::SetBounds(Left(), Top(), 24, kMinHeight);
  Arrange();
  Refresh();
}

TAdvSpinner::~TAdvSpinner() = default;

void TAdvSpinner::Loaded() {
  TPanel::Loaded();
  Arrange();
  Refresh();
}

void TAdvSpinner::FontChanged() {
  TPanel::FontChanged();
  if (buttons_[sbValue]) buttons_[sbValue]->Font()->Assign(*Font());
}

void TAdvSpinner::SetMin(int v) {
  range_.Min = v;
  range_.Position = std::max(range_.Position, v);
  Refresh();
}

void TAdvSpinner::SetMax(int v) {
  range_.Max = v;
  range_.Position = std::min(range_.Position, v);
  Refresh();
}

void TAdvSpinner::SetPosition(int v) {
  const int old = range_.Position;
  range_.Position = ClampPosition(range_, v);
  if (Color() != changedColor_) restoreColor_ = Color();
  Refresh();
  if (showModify_ && range_.Position != old) SetColor(changedColor_);
}

void TAdvSpinner::SetValueList(const std::vector<std::string>& v) {
  valueList_ = v;
  if (sorted_) SortValues();
  range_.Max = int(valueList_.size()) - 1;
  range_.Min = range_.Position = 0;
  Refresh();
}

void TAdvSpinner::SetSorted(bool v) {
  sorted_ = v;
  if (!v) return;
  SortValues();
  Refresh();
}

void TAdvSpinner::SortValues() {
  TStringList list;
  for (const std::string& s : valueList_) list.Add(s);
  list.Sort();
  for (size_t i = 0; i < valueList_.size(); ++i) valueList_[i] = list.Strings(int(i));
}

void TAdvSpinner::SetValueStyle(TSpinValueStyle v) {
  style_ = v;
  buttons_[sbValue]->Invalidate();
}

void TAdvSpinner::SetValueAlign(TAlignment v) {
  valueAlign_ = v;
  buttons_[sbValue]->SetTextAlign(v);
}

void TAdvSpinner::SetBarColor(TColor v) {
  barColor_ = v;
  buttons_[sbValue]->Invalidate();
}

void TAdvSpinner::SetThumbColor(TColor v) {
  thumbColor_ = v;
  buttons_[sbValue]->Invalidate();
}

void TAdvSpinner::SetAutoRun(bool v) {
  autoRun_ = v;
  buttons_[sbPrior]->SetRepeat(v);
  buttons_[sbNext]->SetRepeat(v);
}

void TAdvSpinner::SetEnabled(bool enabled) {
  TPanel::SetEnabled(enabled);
  Refresh();
}

void TAdvSpinner::SetButtonWidth(int v) {
  buttonWidth_ = std::max(v, 1);
  Arrange();
}

void TAdvSpinner::SetVisibleButtons(TSpinButtonSet v) {
  visible_ = v;
  Arrange();
}

void TAdvSpinner::SetBounds(int left, int top, int width, int height) {
  TPanel::SetBounds(left, top, width, height);
  Arrange();
}

void TAdvSpinner::Arrange() {
  if (ComponentState() & csLoading) return;
  if (!buttons_[sbValue]) return;
  int others = 0;
  for (int kind = sbFirst; kind <= sbLast; ++kind)
    if (kind != sbValue && (visible_ & (1u << kind))) others += buttonWidth_;
  const int valueWidth = (visible_ & (1u << sbValue)) ? std::max(Width() - others, minValueWidth_) : 0;
  const int height = std::max(Height(), kMinHeight);
  int x = 0;
  for (int kind = sbFirst; kind <= sbLast; ++kind) {
    TSpeedButton* button = buttons_[size_t(kind)];
    const bool shown = (visible_ & (1u << kind)) != 0;
    const int w = kind == sbValue ? valueWidth : buttonWidth_;
    button->SetVisible(shown);
    button->SetBounds(shown ? x : others + valueWidth + 1, 0, std::max(w, 1), height);
    if (shown) x += w;
  }
  if (Width() != x || Height() != height) TPanel::SetBounds(Left(), Top(), std::max(x, 1), height);
}

void TAdvSpinner::Refresh() {
  FixRange(range_);
  if (!buttons_[sbValue]) return;
  const std::vector<bool> states = ButtonStates(range_);
  for (int kind = sbFirst; kind <= sbLast; ++kind) {
    TAdvSpinButton* button = buttons_[size_t(kind)];
    button->SetEnabled(Enabled() && states[size_t(kind)]);
    button->SetRange(range_);
  }
  buttons_[sbValue]->SetCaption(ValueText(range_.Position).Text);
}

void TAdvSpinner::PaintValue(TAdvSpinButton* button) {
  TCanvas* canvas = button->Canvas();
  const TRect area = Rect(0, 0, button->Width(), button->Height());
  if (style_ < vsScrollBar) {
    static const unsigned kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    TRect text = Rect(area.Left + 2, area.Top, area.Right - 2, area.Bottom);
    canvas->Brush()->SetStyle(bsClear);
    if (!button->Enabled()) canvas->Font()->SetColor(clGrayText);
    canvas->DrawText(button->Caption(), text, kAlign[button->TextAlign()] | DT_VCENTER | DT_SINGLELINE);
    return;
  }
  const TColor pen = canvas->Pen()->Color(), brush = canvas->Brush()->Color();
  for (const TSpinBarCell& cell : SpinBarCells(button->Range(), style_, area.Width(), area.Height())) {
    const TRect r = Rect(cell.Left, cell.Top, cell.Right, cell.Bottom);
    if (style_ == vsOwnerDraw) {
      if (OnDraw) OnDraw(this, canvas, cell.Position, r);
      continue;
    }
    const TColor colour = cell.Current ? thumbColor_ : barColor_;
    canvas->Pen()->SetColor(colour);
    canvas->Brush()->SetColor(colour);
    canvas->Rectangle(r);
  }
  canvas->Pen()->SetColor(pen);
  canvas->Brush()->SetColor(brush);
}

TSpinValueText TAdvSpinner::ValueText(int position) const {
  TSpinValueText value;
  if (OnSetValue) {
    value.Offered = true;
    OnSetValue(const_cast<TAdvSpinner*>(this), position, value.Text, value.Offered);
  } else {
    value = ListValueText(position, valueList_);
  }
  if (value.Text.find_first_not_of(" \t") == std::string::npos) value.Offered = false;
  return value;
}

std::vector<TSpinPopupItem> TAdvSpinner::PopupItems() const {
  return SpinPopupItems(range_, break_, [this](int p) { return ValueText(p); });
}

void TAdvSpinner::Act(TAdvSpinBtn button) {
  if (button == sbValue && style_ >= vsScrollBar) return;  // the press on a cell acted
  if (button == sbValue) {
    popup_->Items()->Clear();
    for (const TSpinPopupItem& entry : PopupItems()) {
      auto* item = new TMenuItem(popup_);
      item->SetCaption(entry.Text);
      item->SetRadioItem(true);
      item->SetGroupIndex(197);
      item->SetChecked(entry.Checked);
      item->SetDefault(entry.Checked);
      item->SetTag(entry.Position);
      if (entry.NewColumn) item->SetBreak(mbBarBreak);
      item->OnClick = [this](TObject* s) { ChooseValue(static_cast<TMenuItem*>(s)->Tag()); };
      popup_->Items()->Add(item);
    }
    const TPoint corner = ClientToScreen({0, Height()});
    popup_->Popup(corner.X, corner.Y);
    return;
  }
  SetPosition(StepPosition(range_, button, valueLoop_));
  if (OnSpinClick) OnSpinClick(this, button);
}

void TAdvSpinner::ChooseValue(int position) {
  SetPosition(position);
  if (OnSpinClick) OnSpinClick(this, sbValue);
}

void TAdvSpinner::PressValueAt(int x) { ChooseValue(PositionAtX(range_, x, buttons_[sbValue]->Width())); }
