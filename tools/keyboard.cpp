#include "tools/keyboard.h"

#include <algorithm>

#include "platform/code_pages.h"
#include "platform/gui/keyboard_layouts.h"
#include "platform/gui/std_controls.h"
#include "textcore/rich_edit.h"

QM_CLASS_INFO(TKeyboard, TPanel, [](TClassBuilder<TKeyboard>& c) {
  using C = TKeyboard;
  c.Enum<TKbMode>("KeyboardMode", {"kbmAlphaNumeric", "kbmAlphaNumericFunction", "kbmCalculator", "kbmNumeric"},
                  &C::KeyboardMode, &C::SetKeyboardMode)
      .Enum<TKbCharCase>("CharCase", {"ecNormal", "ecUpperCase", "ecLowerCase"}, &C::CharCase, &C::SetCharCase)
      .Color("HighlightColor", &C::HighlightColor, &C::SetHighlightColor)
      .Boolean("BeepOnKeyPressed", &C::BeepOnKeyPressed, &C::SetBeepOnKeyPressed)
      .Boolean("FlatKeys", &C::FlatKeys, &C::SetFlatKeys)
      .Set<TKbOptions>("Options",
                       {"DisableTab", "DisableCaps", "DisableLeftShift", "DisableRightShift", "DisableSpace",
                        "DisableEnter", "DisableBackspace", "DisableEscape", "HideTab", "HideCaps", "HideLeftShift",
                        "HideRightShift", "HideSpace", "HideEnter", "HideBackspace", "HideEscape",
                        "BoldShiftIndicator"},
                       &C::Options, &C::SetOptions);
})

namespace {

// The Disable and Hide bits of a special key (0 for character and function keys).
std::pair<TKbOptions, TKbOptions> OptionBits(TKbKeyKind kind) {
  switch (kind) {
    case kkTab: return {DisableTab, HideTab};
    case kkCaps: return {DisableCaps, HideCaps};
    case kkLeftShift: return {DisableLeftShift, HideLeftShift};
    case kkRightShift: return {DisableRightShift, HideRightShift};
    case kkSpace: return {DisableSpace, HideSpace};
    case kkEnter: return {DisableEnter, HideEnter};
    case kkBackspace: return {DisableBackspace, HideBackspace};
    case kkEscape: return {DisableEscape, HideEscape};
    default: return {0, 0};
  }
}

bool SmallFont(TKbKeyKind kind) {
  return kind == kkBackspace || kind == kkTab || kind == kkEnter || kind == kkLeftShift || kind == kkRightShift ||
         kind == kkCaps;
}

}  // namespace

TKeyboard::TKeyboard(TComponent* owner) : TPanel(owner) {
  SetBevelOuter(bvNone);
  BuildKeys();
}

TKeyboard::~TKeyboard() = default;

void TKeyboard::SetKeyboardMode(TKbMode mode) {
  mode_ = mode;
  BuildKeys();
}

void TKeyboard::SetHighlightColor(TColor v) {
  highlight_ = v;
  RefreshCaptions();
}

void TKeyboard::SetFlatKeys(bool v) {
  flat_ = v;
  ApplyOptions();
}

void TKeyboard::SetOptions(TKbOptions v) {
  options_ = v;
  ApplyOptions();
}

void TKeyboard::SetLinkedControl(TWinControl* control) {
  if (linked_) linked_->RemoveFreeNotification(this);
  linked_ = control;
  if (linked_) linked_->FreeNotification(this);
}

void TKeyboard::Notification(TComponent* component, TOperation operation) {
  TPanel::Notification(component, operation);
  if (operation == TOperation::opRemove && component == linked_) linked_ = nullptr;
}

void TKeyboard::BuildKeys() {
  for (TSpeedButton* button : buttons_) TComponent::Free(button);
  buttons_.clear();
  keys_ = KeyboardKeys(mode_, 0, 0);
  for (size_t i = 0; i < keys_.size(); ++i) {
    auto* button = new TSpeedButton(this);
    button->SetParent(this);
    if (SmallFont(keys_[i].Kind)) button->Font()->SetSize(8);
    button->OnClick = [this, i](TObject*) { Press(int(i)); };
    buttons_.push_back(button);
  }
  PlaceKeys();
  ApplyOptions();
  RefreshCaptions();
}

void TKeyboard::PlaceKeys() {
  int bevel = 0;
  if (BevelInner() != bvNone) bevel += BevelWidth();
  if (BevelOuter() != bvNone) bevel += BevelWidth();
  const int x0 = bevel + BorderWidth();
  keys_ = KeyboardKeys(mode_, Width() - 2 * x0, Height() - 2 * x0, x0, x0);
  for (size_t i = 0; i < keys_.size() && i < buttons_.size(); ++i)
    buttons_[i]->SetBounds(keys_[i].Left, keys_[i].Top, std::max(keys_[i].Width, 1), std::max(keys_[i].Height, 1));
}

void TKeyboard::Resize() {
  TPanel::Resize();
  PlaceKeys();
}

void TKeyboard::ApplyOptions() {
  for (size_t i = 0; i < buttons_.size(); ++i) {
    buttons_[i]->SetFlat(flat_);
    const auto [disable, hide] = OptionBits(keys_[i].Kind);
    buttons_[i]->SetEnabled(!(options_ & disable) || !disable);
    buttons_[i]->SetVisible(!(options_ & hide) || !hide);
  }
  RefreshCaptions();
}

std::string TKeyboard::Caption(int index) const {
  const TKbKey& key = keys_.at(size_t(index));
  std::string caption = ShowsShifted(shift_, caps_) ? key.Shifted : key.Normal;
  if (key.Kind == kkChar && OnMapKey) OnMapKey(const_cast<TKeyboard*>(this), caption);
  return caption;
}

void TKeyboard::RefreshCaptions() {
  for (size_t i = 0; i < buttons_.size(); ++i) {
    TSpeedButton* button = buttons_[i];
    button->SetCaption(Caption(int(i)));
    const TKbKeyKind kind = keys_[i].Kind;
    const bool active = ((kind == kkLeftShift || kind == kkRightShift) && shift_) || (kind == kkCaps && caps_);
    button->Font()->SetColor(active ? highlight_ : clWindowText);
    button->Font()->SetStyle(active && (options_ & BoldShiftIndicator) ? fsBold : TFontStyles(0));
  }
}

int TKeyboard::FindKey(TKbKeyKind kind, const std::string& caption) const {
  for (size_t i = 0; i < keys_.size(); ++i)
    if (keys_[i].Kind == kind && (caption.empty() || keys_[i].Normal == caption)) return int(i);
  return -1;
}

void TKeyboard::SetShift(bool on) {
  shift_ = on;
  if (OnShiftStateChange) OnShiftStateChange(this, shift_);
}

void TKeyboard::Press(int index) {
  const TKbKey& key = keys_.at(size_t(index));
  if (beep_) MessageBeep();
  switch (key.Kind) {
    case kkChar:
    case kkSpace: {
      const char ch = TypedChar(Caption(index), shift_, caps_, charCase_);
      if (OnKey) OnKey(this, ch);
      SendChar(ch);
      SetShift(false);
      break;
    }
    case kkBackspace: SendSpecial('\b', true); break;
    case kkEnter: SendSpecial('\r', true); break;
    case kkTab: SendSpecial('\t', false); break;
    case kkFunction:
    case kkEscape:
      if (OnSpecialKey) OnSpecialKey(this, key.Kind == kkEscape ? VK_ESCAPE : VK_F1 + std::stoi(key.Normal.substr(1)) - 1);
      break;
    case kkLeftShift:
    case kkRightShift:
      shift_ = !shift_;
      if (OnSpecialKey) OnSpecialKey(this, key.Kind == kkRightShift ? 3 : 2);
      if (OnShiftStateChange) OnShiftStateChange(this, shift_);
      break;
    case kkCaps:
      caps_ = !caps_;
      shift_ = false;
      if (OnCapsStateChange) OnCapsStateChange(this, caps_);
      if (OnShiftStateChange) OnShiftStateChange(this, shift_);
      break;
  }
  RefreshCaptions();
}

void TKeyboard::SendChar(char ch) {
  if (!linked_) return;
  linked_->Perform(WM_CHAR, static_cast<unsigned char>(ch), 0);
  if (auto* editor = dynamic_cast<TRichEditW*>(linked_); editor && ch) editor->SetSelTextW(AnsiToWide(std::string(1, ch)));
}

void TKeyboard::SendSpecial(char code, bool keyDown) {
  if (OnSpecialKey) OnSpecialKey(this, code);
  if (!linked_) return;
  if (keyDown) linked_->Perform(WM_KEYDOWN, static_cast<unsigned char>(code), 0);
  linked_->Perform(WM_CHAR, static_cast<unsigned char>(code), 0);
  auto* editor = dynamic_cast<TRichEditW*>(linked_);
  if (!editor) return;
  if (code == '\b') {
    if (editor->SelLength() == 0 && editor->SelStart() > 0) {
      editor->SetSelStart(editor->SelStart() - 1);
      editor->SetSelLength(1);
    }
    editor->SetSelTextW(u"");
  } else {
    editor->SetSelTextW(std::u16string(1, char16_t(code)));
  }
}
