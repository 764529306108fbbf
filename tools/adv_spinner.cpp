#include "tools/adv_spinner.h"

#include <algorithm>

#include "platform/gui/menus.h"
#include "platform/gui/std_controls.h"
#include "platform/gui/timer.h"
#include "platform/string_list.h"

QM_CLASS_INFO(TAdvSpinner, TPanel, [](TClassBuilder<TAdvSpinner>& c) {
  using C = TAdvSpinner;
  c.Integer("Min", &C::Min, &C::SetMin)
      .Integer("Max", &C::Max, &C::SetMax)
      .Integer("Position", &C::Position, &C::SetPosition)
      .Strings("ValueList", [](C& s) { return s.ValueList(); },
               [](C& s, const std::vector<std::string>& v) { s.SetValueList(v); })
      .Boolean("ValueLoop", &C::ValueLoop, &C::SetValueLoop)
      .Integer("Break", &C::Break, &C::SetBreak)
      .Integer("ButtonWidth", &C::ButtonWidth, &C::SetButtonWidth)
      .Set<TSpinButtonSet>("VisibleButtons", {"sbFirst", "sbPrior", "sbValue", "sbNext", "sbLast"},
                           &C::VisibleButtons, &C::SetVisibleButtons)
      .Enum<TSpinValueStyle>("ValueStyle", {"vsPopup", "vsText", "vsScrollBar", "vsGauge", "vsVolumeGauge", "vsOwnerDraw"},
                             &C::ValueStyle, &C::SetValueStyle)
      .Boolean("ShowModify", &C::ShowModify, &C::SetShowModify)
      .Color("ChangedColor", &C::ChangedColor, &C::SetChangedColor)
      .Boolean("AutoRun", &C::AutoRun, &C::SetAutoRun)
      .Event("OnSpinClick", &C::OnSpinClick)
      .Event("OnSetValue", &C::OnSetValue);
})

namespace {

constexpr int kMinHeight = 12;
constexpr unsigned kRepeatDelay = 400, kRepeatInterval = 100;
const char* const kGlyphs[] = {"|<", "<", "", ">", ">|"};

}  // namespace

TAdvSpinner::TAdvSpinner(TComponent* owner) : TPanel(owner) {
  SetBevelOuter(bvNone);
  popup_ = new TPopupMenu(this);
  repeat_ = new TTimer(this);
  repeat_->SetEnabled(false);
  repeat_->OnTimer = [this](TObject*) { RepeatTick(); };
  for (int kind = sbFirst; kind <= sbLast; ++kind) {
    auto* button = new TSpeedButton(this);
    button->SetParent(this);
    button->SetFlat(true);
    button->SetTag(kind == sbValue ? -999 : kind);
    button->SetCaption(kGlyphs[kind]);
    button->OnClick = [this](TObject* s) { ButtonClick(s); };
    button->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) { ButtonMouseDown(s, b, sh, x, y); };
    button->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) { ButtonMouseUp(s, b, sh, x, y); };
    buttons_[size_t(kind)] = button;
  }
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
  range_.Max = int(v.size()) - 1;
  range_.Min = range_.Position = 0;
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
  for (int kind = sbFirst; kind <= sbLast; ++kind) buttons_[size_t(kind)]->SetEnabled(Enabled() && states[size_t(kind)]);
  buttons_[sbValue]->SetCaption(ValueText(range_.Position).Text);
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
  if (button == sbValue && (style_ == vsPopup || style_ == vsText)) {
    popup_->Items()->Clear();
    for (const TSpinPopupItem& entry : PopupItems()) {
      auto* item = new TMenuItem(popup_);
      item->SetCaption(entry.Text);
      item->SetRadioItem(true);
      item->SetGroupIndex(197);
      item->SetChecked(entry.Checked);
      item->SetDefault(entry.Checked);
      item->SetTag(entry.Position);
      item->OnClick = [this](TObject* s) { PopupItemClick(s); };
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

void TAdvSpinner::PopupItemClick(TObject* sender) { ChooseValue(static_cast<TMenuItem*>(sender)->Tag()); }

void TAdvSpinner::ButtonClick(TObject* sender) {
  const auto it = std::find(buttons_.begin(), buttons_.end(), sender);
  if (it != buttons_.end()) Act(TAdvSpinBtn(it - buttons_.begin()));
}

void TAdvSpinner::ButtonMouseDown(TObject* sender, TMouseButton button, TShiftState, int, int) {
  if (button != mbLeft || !autoRun_) return;
  if (sender == buttons_[sbPrior]) held_ = sbPrior;
  else if (sender == buttons_[sbNext]) held_ = sbNext;
  else return;
  repeat_->SetInterval(kRepeatDelay);
  repeat_->SetEnabled(true);
}

void TAdvSpinner::ButtonMouseUp(TObject*, TMouseButton, TShiftState, int, int) { repeat_->SetEnabled(false); }

void TAdvSpinner::RepeatTick() {
  repeat_->SetInterval(kRepeatInterval);
  Act(held_);
}
