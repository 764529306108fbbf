#include "components/spin_edit.h"

#include <algorithm>
#include <cmath>

#include "platform/exceptions.h"
#include "platform/gui/edit_layout.h"
#include "platform/gui/form.h"
#include "platform/gui/graphics.h"
#include "platform/gui/keyboard_layouts.h"
#include "platform/gui/locale_format.h"
#include "platform/gui/timer.h"
#include "platform/number_text.h"

namespace {

// Numbers of layouts and stored properties: text with "." whatever the locale.
double NumberProp(const std::string& text) {
  auto v = ParseFloat(text);
  if (!v) throw EConvertError("'" + text + "' is not a valid floating point value");
  return *v;
}

constexpr int kUpDownWidth = 15;

}  // namespace

QM_CLASS_INFO(TExUpDown, TUpDown, [](TClassBuilder<TExUpDown>&) {})

QM_CLASS_INFO(TExSpinButton, TCustomControl, [](TClassBuilder<TExSpinButton>& b) {
  b.Component<TWinControl>("FocusControl", &TExSpinButton::FocusControl, &TExSpinButton::SetFocusControl)
      .Event("OnTopClick", &TExSpinButton::OnTopClick)
      .Event("OnBottomClick", &TExSpinButton::OnBottomClick);
})

QM_CLASS_INFO(TExSpinEdit, TEdit, [](TClassBuilder<TExSpinEdit>& b) {
  using C = TExSpinEdit;
  b.String("Value", [](C& c) { return FormatFloat(c.Value()); }, [](C& c, const std::string& t) { c.SetValue(NumberProp(t)); })
      .Enum<TValueType>("ValueType", {"vtInteger", "vtFloat", "vtHex"}, &C::ValueType, &C::SetValueType)
      .String("Increment", [](C& c) { return FormatFloat(c.Increment()); },
              [](C& c, const std::string& t) { c.SetIncrement(NumberProp(t)); })
      .String("MinValue", [](C& c) { return FormatFloat(c.MinValue()); },
              [](C& c, const std::string& t) { c.SetMinValue(NumberProp(t)); })
      .String("MaxValue", [](C& c) { return FormatFloat(c.MaxValue()); },
              [](C& c, const std::string& t) { c.SetMaxValue(NumberProp(t)); })
      .Integer("Decimal", &C::Decimal, &C::SetDecimal)
      .Boolean("ArrowKeys", &C::ArrowKeys, &C::SetArrowKeys)
      .Enum<TSpinButtonKind>("ButtonKind", {"bkStandard", "bkDiagonal"}, &C::ButtonKind, &C::SetButtonKind)
      .Enum<TAlignment>("Alignment", {"taLeftJustify", "taRightJustify", "taCenter"}, &C::Alignment, &C::SetAlignment)
      .Boolean("EditorEnabled", &C::EditorEnabled, &C::SetEditorEnabled)
      .Event("OnTopClick", &C::OnTopClick)
      .Event("OnBottomClick", &C::OnBottomClick);
})

// --- TExUpDown ---------------------------------------------------------------------------------

TExUpDown::TExUpDown(TComponent* owner) : TUpDown(owner) {
  SetOrientation(udVertical);
  SetMin(-1);
  SetMax(1);
  SetPosition(0);
}

void TExUpDown::SetBounds(int left, int top, int, int height) {
  TUpDown::SetBounds(left, top, kUpDownWidth, height);
}

// --- TExSpinButton -----------------------------------------------------------------------------

TExSpinButton::TExSpinButton(TComponent* owner) : TCustomControl(owner) {
  SetBounds(0, 0, 20, 20);
  repeat_ = new TTimer(this);
  repeat_->SetEnabled(false);
  repeat_->OnTimer = [this](TObject*) { RepeatTick(); };
}

TExSpinButton::~TExSpinButton() { SetFocusControl(nullptr); }

void TExSpinButton::SetFocusControl(TWinControl* control) {
  if (focusControl_) focusControl_->RemoveFreeNotification(this);
  focusControl_ = control;
  if (focusControl_) focusControl_->FreeNotification(this);
}

void TExSpinButton::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == focusControl_) focusControl_ = nullptr;
}

unsigned TExSpinButton::RepeatInterval() const { return repeat_->Enabled() ? repeat_->Interval() : 0; }

void TExSpinButton::ClickHalf(TSpinButtonState half) {
  const TNotifyEvent& event = half == sbTopDown ? OnTopClick : OnBottomClick;
  if (event) event(this);
}

void TExSpinButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft || !Enabled()) return;
  if (focusControl_ && focusControl_->TabStop() && focusControl_->CanFocus()) focusControl_->SetFocus();
  down_ = HalfAt(y);
  Invalidate();
  ClickHalf(down_);
  if (down_ == sbNotDown) return;  // the click handler let go (a dialog, the control hidden)
  repeat_->SetInterval(400);
  repeat_->SetEnabled(true);
}

void TExSpinButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseUp(button, shift, x, y);
  repeat_->SetEnabled(false);
  if (down_ != sbNotDown) {
    down_ = sbNotDown;
    Invalidate();
  }
}

void TExSpinButton::RepeatTick() {
  if (down_ == sbNotDown || !Enabled()) {
    repeat_->SetEnabled(false);
    return;
  }
  if (repeat_->Interval() != 100) repeat_->SetInterval(100);
  // The handler may run a modal dialog: the timer waits for it instead of clicking again.
  repeat_->SetEnabled(false);
  const TSpinButtonState half = down_;
  ClickHalf(half);
  if (down_ == half) repeat_->SetEnabled(true);
}

void TExSpinButton::EnabledChanged() {
  TCustomControl::EnabledChanged();
  if (!Enabled()) {
    down_ = sbNotDown;
    repeat_->SetEnabled(false);
  }
  Invalidate();
}

void TExSpinButton::Paint() {
  TCanvas* c = Canvas();
  const int w = Width(), h = Height(), mid = h / 2;
  auto half = [&](int top, int bottom, bool pressed, bool up) {
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(Rect(0, top, w, bottom));
    c->Pen()->SetColor(pressed ? clBtnShadow : clBtnHighlight);
    c->MoveTo(0, bottom - 1);
    c->LineTo(0, top);
    c->LineTo(w - 1, top);
    c->Pen()->SetColor(pressed ? clBtnHighlight : clBtnShadow);
    c->LineTo(w - 1, bottom - 1);
    c->LineTo(0, bottom - 1);
    // The arrow: a small triangle in the middle of the half.
    const int cx = w / 2 + (pressed ? 1 : 0), cy = (top + bottom) / 2 + (pressed ? 1 : 0);
    const int size = std::max(2, std::min(w, bottom - top) / 4);
    c->Pen()->SetColor(Enabled() ? clBtnText : clGrayText);
    for (int k = 0; k < size; ++k) {
      const int y = up ? cy - size / 2 + k : cy + size / 2 - k;
      c->MoveTo(cx - k, y);
      c->LineTo(cx + k + 1, y);
    }
  };
  half(0, mid, down_ == sbTopDown, true);
  half(mid, h, down_ == sbBottomDown, false);
}

// --- TExSpinEdit -------------------------------------------------------------------------------

TExSpinEdit::TExSpinEdit(TComponent* owner) : TEdit(owner) {
  format_.DecimalSeparator = LocaleDecimalSeparator();
  SetText("0");
  MakeButton();
}

TExSpinEdit::~TExSpinEdit() { changing_ = true; }

void TExSpinEdit::SetDecimalSeparator(char c) {
  const double v = Value();
  format_.DecimalSeparator = c;
  if (format_.Type == vtFloat) SetValue(v);
}

double TExSpinEdit::Value() const { return SpinTextToValue(Text(), format_, minValue_); }

void TExSpinEdit::SetValue(double value) {
  SetText(SpinValueToText(ClampSpinValue(value, minValue_, maxValue_), format_));
}

void TExSpinEdit::SetValueType(TValueType type) {
  if (type == format_.Type) return;
  const double v = Value();
  format_.Type = type;
  if (type != vtFloat) {
    increment_ = std::nearbyint(increment_);
    if (increment_ == 0) increment_ = 1;
  }
  SetValue(v);
}

void TExSpinEdit::SetDecimal(int v) {
  if (v == format_.Decimal) return;
  const double value = Value();
  format_.Decimal = std::clamp(v, 0, 18);
  SetValue(value);
}

void TExSpinEdit::SetAlignment(TAlignment a) {
  alignment_ = a;
  if (WidgetCreated()) SetEditAlignment(*this, a);
}

void TExSpinEdit::SetButtonKind(TSpinButtonKind kind) {
  if (kind == buttonKind_) return;
  buttonKind_ = kind;
  MakeButton();
}

void TExSpinEdit::MakeButton() {
  delete button_;
  button_ = nullptr;
  if (buttonKind_ == bkStandard) {
    auto* updown = new TExUpDown(this);
    updown->OnClick = [this](TObject*, TUDBtnType type) {
      if (TabStop() && CanFocus()) SetFocus();
      if (type == btNext) UpClick();
      else DownClick();
      static_cast<TExUpDown*>(button_)->SetPosition(0);
    };
    button_ = updown;
  } else {
    auto* spin = new TExSpinButton(this);
    spin->SetFocusControl(this);
    spin->OnTopClick = [this](TObject*) { UpClick(); };
    spin->OnBottomClick = [this](TObject*) { DownClick(); };
    button_ = spin;
  }
  button_->SetEnabled(Enabled());
  button_->SetParent(this);
  PlaceButton();
}

int TExSpinEdit::ButtonWidth() const { return button_ ? button_->Width() : kUpDownWidth; }

void TExSpinEdit::PlaceButton() {
  if (!button_) return;
  const int w = ClientWidth(), h = ClientHeight();
  if (buttonKind_ == bkStandard) button_->SetBounds(w - kUpDownWidth, 0, kUpDownWidth, h);
  else button_->SetBounds(w - h, 0, h, h);
  if (WidgetCreated()) SetEditTextMargins(*this, 0, ButtonWidth() + 2);
}

void TExSpinEdit::InitWidget() {
  TEdit::InitWidget();
  SetEditAlignment(*this, alignment_);
  PlaceButton();
}

void TExSpinEdit::Resize() {
  TEdit::Resize();
  PlaceButton();
}

void TExSpinEdit::EnabledChanged() {
  TEdit::EnabledChanged();
  if (button_) button_->SetEnabled(Enabled());
}

bool TExSpinEdit::IsValidChar(char key) {
  const std::string text = Text();
  int start = 0, length = 0;
  if (WidgetCreated()) {
    start = SelStart();
    length = SelLength();
  }
  return IsValidSpinChar(key, text, start, length, format_);
}

void TExSpinEdit::Step(double delta) {
  if (ReadOnly()) {
    MessageBeep();
    return;
  }
  const std::string before = Text();
  changing_ = true;
  try {
    SetValue(Value() + delta);
  } catch (...) {
    changing_ = false;
    throw;
  }
  changing_ = false;
  if (Text() != before) {
    SetModified(true);
    Change();
  }
}

void TExSpinEdit::UpClick() {
  Step(increment_);
  if (!ReadOnly() && OnTopClick) OnTopClick(this);
}

void TExSpinEdit::DownClick() {
  Step(-increment_);
  if (!ReadOnly() && OnBottomClick) OnBottomClick(this);
}

void TExSpinEdit::Change() {
  if (!changing_) TEdit::Change();
}

void TExSpinEdit::CheckText() {
  const double v = Value();
  const double clamped = ClampSpinValue(v, minValue_, maxValue_);
  // Text that holds no number, or another form of the number, is written again too.
  if (clamped != v || SpinTextToValue(Text(), format_, std::nan("")) != v) SetValue(clamped);
}

void TExSpinEdit::KeyDown(uint16_t& key, TShiftState shift) {
  TEdit::KeyDown(key, shift);
  const TShiftState mods = shift & (ssShift | ssCtrl | ssAlt);
  if (arrowKeys_ && mods == 0 && (key == VK_UP || key == VK_DOWN)) {
    if (key == VK_UP) UpClick();
    else DownClick();
    key = 0;
  } else if (key == VK_RETURN) {
    // The default button reads the value: it gets the one within the limits.
    CheckText();
  } else if (!editorEnabled_ && ((mods == ssCtrl && (key == 'V' || key == 'X')) ||
                                 (mods == ssShift && (key == VK_INSERT || key == VK_DELETE)))) {
    key = 0;
  }
}

void TExSpinEdit::KeyPress(char& key) {
  TEdit::KeyPress(key);
  if (key && !IsValidChar(key)) {
    key = 0;
    MessageBeep();
  }
}

void TExSpinEdit::DoExit() {
  CheckText();
  TEdit::DoExit();
}

void TExSpinEdit::CutToClipboard() {
  if (editorEnabled_) TEdit::CutToClipboard();
}

void TExSpinEdit::PasteFromClipboard() {
  if (editorEnabled_) TEdit::PasteFromClipboard();
}

void TExSpinEdit::WndProc(TMessage& message) {
  if (!editorEnabled_ && (message.Msg == WM_PASTE || message.Msg == WM_CUT)) return;
  TEdit::WndProc(message);
}
