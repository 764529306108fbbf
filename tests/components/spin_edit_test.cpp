// Spin edits: the value model (text and number, limits, typing filter) as tables, and the edit
// on a dialog: Enter writes the value within limits before the default button reads it, the
// buttons step once per press, read-only and paste rules, the repeating diagonal button.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

#include "components/spin_edit.h"
#include "platform/gui/application.h"
#include "platform/gui/clipboard.h"
#include "platform/gui/form.h"
#include "platform/gui/form_reader.h"
#include "platform/gui/std_controls.h"
#include "platform/gui/timer.h"

namespace {

void SendKey(TWinControl* control, int qtKey, const QString& text, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, qtKey, mods, text);
  QCoreApplication::sendEvent(control->Widget(), &press);
  QKeyEvent release(QEvent::KeyRelease, qtKey, mods, text);
  QCoreApplication::sendEvent(control->Widget(), &release);
}

TEST(SpinValue, TextAndNumberByValueType) {
  const TSpinFormat integer{vtInteger, 2, ','}, hex{vtHex, 2, ','}, real{vtFloat, 2, ','};
  EXPECT_EQ(SpinValueToText(255, hex), "FF");
  EXPECT_EQ(SpinValueToText(0, hex), "0");
  EXPECT_EQ(SpinValueToText(3.14159, real), "3,14");
  EXPECT_EQ(SpinValueToText(2.5, integer), "2");  // rounded to even, as the class library rounds
  EXPECT_EQ(SpinValueToText(-7.6, integer), "-8");
  EXPECT_EQ(SpinValueToText(1e12, integer), "2147483647");
  EXPECT_EQ(SpinTextToValue("FF", hex, 0), 255);
  EXPECT_EQ(SpinTextToValue(" 42 ", integer, 0), 42);
  EXPECT_EQ(SpinTextToValue("1,5", real, 0), 1.5);
  EXPECT_EQ(SpinTextToValue("2,5e1", real, 0), 25);
  // Text that holds no number gives the fallback (the minimum), never an error.
  for (const char* bad : {"", "-", "1-2", "abc", "1,2,3", "+"}) EXPECT_EQ(SpinTextToValue(bad, real, 7), 7) << bad;
  for (const char* bad : {"-", "1.5", "9999999999", "G"}) EXPECT_EQ(SpinTextToValue(bad, integer, 3), 3) << bad;
  EXPECT_EQ(ClampSpinValue(-5, 0, 0), -5);
  EXPECT_EQ(ClampSpinValue(1, 2, 100), 2);
  EXPECT_EQ(ClampSpinValue(150, 2, 100), 100);
}

TEST(SpinValue, TypingFilterLooksAtWhatStaysOfTheText) {
  const TSpinFormat integer{vtInteger, 2, '.'}, hex{vtHex, 2, '.'}, real{vtFloat, 2, '.'};
  struct Case { char c; const char* text; int selStart, selLength; TSpinFormat format; bool ok; };
  for (const Case& c : {Case{'a', "", 0, 0, integer, false}, Case{'-', "", 0, 0, integer, true},
                        Case{'5', "1", 1, 0, integer, true}, Case{'\b', "1", 1, 0, integer, true},
                        Case{'F', "", 0, 0, hex, true}, Case{'g', "", 0, 0, hex, false},
                        Case{'.', "1", 1, 0, real, true}, Case{'.', "1.5", 3, 0, real, false},
                        Case{'.', "1.5", 0, 3, real, true},  // replaces the whole selected text
                        Case{'e', "1.5", 3, 0, real, true}, Case{'E', "1e5", 3, 0, real, false},
                        Case{',', "1", 1, 0, real, false}})
    EXPECT_EQ(IsValidSpinChar(c.c, c.text, c.selStart, c.selLength, c.format), c.ok) << c.c << " in " << c.text;
}

// A dialog with a spin edit, another edit and OK/Cancel buttons.
struct SpinDialog {
  TForm* form = new TForm(nullptr);
  TExSpinEdit* spin = new TExSpinEdit(form);
  TEdit* other = new TEdit(form);
  TButton* ok = new TButton(form);
  TButton* cancel = new TButton(form);
  TTimer* timer = new TTimer(form);
  SpinDialog() {
    EnsureGuiApplication();
    for (TControl* c : std::initializer_list<TControl*>{spin, other, ok, cancel}) c->SetParent(form);
    spin->SetButtonKind(bkStandard);
    spin->SetBounds(10, 10, 80, 22);
    other->SetTop(40);
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    timer->SetEnabled(false);
    timer->SetInterval(1);
  }
  ~SpinDialog() { delete form; }
  void Then(std::function<void()> step) {
    timer->OnTimer = [this, step](TObject*) {
      timer->SetEnabled(false);
      step();
    };
    timer->SetEnabled(true);
  }
};

TEST(ExSpinEdit, LimitsApplyOnWritingLeavingAndEnter) {
  SpinDialog d;
  d.spin->SetMinValue(2);
  d.spin->SetMaxValue(100);
  d.spin->SetValue(4);
  d.spin->SetText("1");
  EXPECT_EQ(d.spin->Value(), 1);  // read as typed
  d.spin->SetValue(150);
  EXPECT_EQ(d.spin->Text(), "100");
  // Enter presses the default button, which reads the value within the limits.
  double seenByOk = -1;
  d.ok->OnClick = [&](TObject*) { seenByOk = d.spin->Value(); };
  d.Then([&] {
    d.spin->SetFocus();
    d.spin->SetText("1");
    SendKey(d.spin, Qt::Key_Return, "\r");
  });
  EXPECT_EQ(d.form->ShowModal(), mrOk);
  EXPECT_EQ(seenByOk, 2);
  // Esc reaches the cancel button.
  d.Then([&] {
    d.spin->SetFocus();
    SendKey(d.spin, Qt::Key_Escape, QString(QChar(27)));
  });
  EXPECT_EQ(d.form->ShowModal(), mrCancel);
  // Leaving the field writes the clamped value back; text that holds no number too.
  d.form->Show();
  d.spin->SetFocus();
  d.spin->SetText("1");
  d.other->SetFocus();
  d.spin->Perform(WM_KILLFOCUS);
  EXPECT_EQ(d.spin->Text(), "2");
  d.spin->SetText("-");
  d.spin->Perform(WM_KILLFOCUS);
  EXPECT_EQ(d.spin->Text(), "2");
}

TEST(ExSpinEdit, ValueTypeDecimalAndIncrement) {
  SpinDialog d;
  d.spin->SetDecimalSeparator('.');
  d.spin->SetValueType(vtFloat);
  d.spin->SetValue(3.14159);
  EXPECT_EQ(d.spin->Text(), "3.14");
  d.spin->SetDecimal(3);
  EXPECT_EQ(d.spin->Text(), "3.140");
  d.spin->SetIncrement(0.3);
  d.spin->SetValueType(vtInteger);
  EXPECT_EQ(d.spin->Increment(), 1);  // 0.3 rounds to 0, which becomes 1
  EXPECT_EQ(d.spin->Text(), "3");
  d.spin->SetValueType(vtHex);
  d.spin->SetValue(255);
  EXPECT_EQ(d.spin->Text(), "FF");
  // Layout and stored text is plain "." notation.
  d.spin->SetValueType(vtFloat);
  SetStrProp(*d.spin, "Value", "1.25");
  EXPECT_EQ(d.spin->Value(), 1.25);
  EXPECT_EQ(GetStrProp(*d.spin, "Value"), "1.25");
}

TEST(ExSpinEdit, EachButtonPressStepsOnceAndFiresOneChange) {
  SpinDialog d;
  int changes = 0, tops = 0;
  d.spin->OnChange = [&](TObject*) { ++changes; };
  d.spin->OnTopClick = [&](TObject*) { ++tops; };
  auto* updown = dynamic_cast<TExUpDown*>(d.spin->Button());
  ASSERT_NE(updown, nullptr);
  EXPECT_EQ(updown->Width(), 15);
  for (int i = 0; i < 3; ++i) updown->Step(btNext);
  EXPECT_EQ(d.spin->Value(), 3);
  EXPECT_EQ(updown->Position(), 0);
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(tops, 3);
  updown->Step(btPrev);
  EXPECT_EQ(d.spin->Value(), 2);
  // Arrow keys step too.
  d.form->Show();
  d.spin->SetFocus();
  SendKey(d.spin, Qt::Key_Up, "");
  EXPECT_EQ(d.spin->Value(), 3);
  // Typing letters into an integer spin edit changes nothing.
  SendKey(d.spin, Qt::Key_A, "a");
  EXPECT_EQ(d.spin->Text(), "3");
}

TEST(ExSpinEdit, ReadOnlyKeepsItsValueAndEditorDisabledRefusesPaste) {
  SpinDialog d;
  d.spin->SetValue(5);
  d.spin->SetReadOnly(true);
  d.spin->UpClick();
  EXPECT_EQ(d.spin->Value(), 5);
  d.spin->SetReadOnly(false);
  d.spin->SetEditorEnabled(false);
  Clipboard()->SetAsText("77");
  d.spin->SelectAll();
  d.spin->Perform(WM_PASTE);
  d.spin->PasteFromClipboard();
  d.form->Show();
  d.spin->SetFocus();
  d.spin->SelectAll();
  SendKey(d.spin, Qt::Key_V, "v", Qt::ControlModifier);
  EXPECT_EQ(d.spin->Text(), "5");
  d.spin->SetEditorEnabled(true);
  d.spin->SelectAll();
  d.spin->Perform(WM_PASTE);
  EXPECT_EQ(d.spin->Text(), "77");
}

TEST(ExSpinEdit, DiagonalButtonRepeatsAfter400ThenEvery100WhileHeld) {
  SpinDialog d;
  d.spin->SetButtonKind(bkDiagonal);
  auto* button = dynamic_cast<TExSpinButton*>(d.spin->Button());
  ASSERT_NE(button, nullptr);
  button->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(2, 1));  // the top half
  EXPECT_EQ(d.spin->Value(), 1);
  EXPECT_EQ(button->RepeatInterval(), 400u);
  button->RepeatTick();
  EXPECT_EQ(d.spin->Value(), 2);
  EXPECT_EQ(button->RepeatInterval(), 100u);
  button->RepeatTick();
  EXPECT_EQ(d.spin->Value(), 3);
  button->Perform(WM_LBUTTONUP, 0, MakeLParam(2, 1));
  EXPECT_EQ(button->RepeatInterval(), 0u);
  button->RepeatTick();
  EXPECT_EQ(d.spin->Value(), 3);
  // The bottom half steps down.
  button->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(2, button->Height() - 2));
  button->Perform(WM_LBUTTONUP, 0, MakeLParam(2, button->Height() - 2));
  EXPECT_EQ(d.spin->Value(), 2);
}

TEST(ExSpinEdit, ReadFromALayout) {
  EnsureGuiApplication();
  TForm form(nullptr);
  ReadLayout(form, R"(
object F: TForm
  object Spin1: TExSpinEdit
    ButtonKind = bkStandard
    MaxValue = '1000'
    MinValue = '10'
    Increment = '10'
    Value = '20'
  end
end
)", "spin.qfm");
  auto* spin = dynamic_cast<TExSpinEdit*>(form.FindComponent("Spin1"));
  ASSERT_NE(spin, nullptr);
  EXPECT_EQ(spin->Value(), 20);
  spin->UpClick();
  EXPECT_EQ(spin->Value(), 30);
  spin->SetValue(5000);
  EXPECT_EQ(spin->Value(), 1000);
}

}  // namespace
