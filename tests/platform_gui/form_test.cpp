// Forms: modal loops ended by buttons, ModalResult and keys; Enter and Esc reaching the default
// and cancel buttons; the close sequence; alignment of child controls.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>
#include <string>
#include <vector>

#include "platform/exceptions.h"
#include "platform/gui/application.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/form.h"
#include "platform/gui/menus.h"
#include "platform/gui/std_controls.h"
#include "platform/gui/timer.h"

namespace {

// A dialog with an edit, a memo, OK (default) and Cancel (cancel) buttons, made in code.
struct Dialog {
  TForm* form = new TForm(nullptr);
  TEdit* edit = new TEdit(form);
  TMemo* memo = new TMemo(form);
  TButton* ok = new TButton(form);
  TButton* cancel = new TButton(form);
  TTimer* timer = new TTimer(form);
  Dialog() {
    for (TControl* c : std::initializer_list<TControl*>{edit, memo, ok, cancel}) c->SetParent(form);
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    timer->SetEnabled(false);
    timer->SetInterval(1);
  }
  ~Dialog() { delete form; }
  // Runs `step` once from the message loop after the modal loop has started.
  void Then(std::function<void()> step) {
    timer->OnTimer = [this, step](TObject*) {
      timer->SetEnabled(false);
      step();
    };
    timer->SetEnabled(true);
  }
};

void SendKey(TWinControl* control, int qtKey, const QString& text, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, qtKey, mods, text);
  QCoreApplication::sendEvent(control->Widget(), &press);
  QKeyEvent release(QEvent::KeyRelease, qtKey, mods, text);
  QCoreApplication::sendEvent(control->Widget(), &release);
}

TEST(FormTest, ModalLoopEndsWithTheClickedButtonsResult) {
  Dialog d;
  d.Then([&] { d.cancel->Click(); });
  EXPECT_EQ(d.form->ShowModal(), mrCancel);
  EXPECT_FALSE(d.form->Visible());
  // Setting ModalResult from a handler ends the loop with that value.
  d.Then([&] { d.form->SetModalResult(mrRetry); });
  EXPECT_EQ(d.form->ShowModal(), mrRetry);
  // A visible form cannot be made modal.
  d.form->Show();
  EXPECT_THROW(d.form->ShowModal(), EInvalidOperation);
}

TEST(FormTest, KeyboardFocusReturnsWhereItWasAfterAModalWindow) {
  TForm main(nullptr);
  auto* first = new TEdit(&main);
  auto* second = new TMemo(&main);
  for (TWinControl* c : std::initializer_list<TWinControl*>{first, second}) c->SetParent(&main);
  second->SetTop(40);
  main.Show();
  main.Widget()->activateWindow();
  second->SetFocus();
  QCoreApplication::processEvents();
  ASSERT_EQ(QApplication::focusWidget(), second->Widget());
  Dialog d;
  d.Then([&] {
    d.edit->SetFocus();
    d.cancel->Click();
  });
  EXPECT_EQ(d.form->ShowModal(), mrCancel);
  QCoreApplication::processEvents();
  EXPECT_EQ(QApplication::focusWidget(), second->Widget());
}

TEST(FormTest, AModalWindowOpenedFromAStayOnTopOneStaysAboveIt) {
  TForm top(nullptr);
  top.SetFormStyle(fsStayOnTop);
  top.Show();
  top.Widget()->activateWindow();
  QCoreApplication::processEvents();
  ASSERT_EQ(QApplication::activeWindow(), top.Widget());
  Dialog d;
  bool above = false;
  d.Then([&] {
    above = d.form->Widget()->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    d.cancel->Click();
  });
  d.form->ShowModal();
  EXPECT_TRUE(above);
  EXPECT_FALSE(d.form->Widget()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST(FormTest, EnterAndEscReachDefaultAndCancelButtons) {
  Dialog d;
  d.Then([&] { SendKey(d.edit, Qt::Key_Return, "\r"); });
  EXPECT_EQ(d.form->ShowModal(), mrOk);
  d.Then([&] { SendKey(d.edit, Qt::Key_Escape, "\x1b"); });
  EXPECT_EQ(d.form->ShowModal(), mrCancel);

  // A multi-line memo keeps Enter: it types a line break and the dialog stays open.
  d.Then([&] {
    SendKey(d.memo, Qt::Key_Return, "\r");
    SendKey(d.memo, Qt::Key_Escape, "\x1b");
  });
  EXPECT_EQ(d.form->ShowModal(), mrCancel);
  EXPECT_EQ(d.memo->Text(), "\r\n");
  EXPECT_EQ(d.memo->Lines()->Count(), 1);  // one empty line; the empty one after the break does not count
  EXPECT_EQ(d.memo->Lines()->Strings(0), "");

  // A disabled default button does not take Enter.
  d.ok->SetEnabled(false);
  bool cancelled = false;
  d.Then([&] {
    SendKey(d.edit, Qt::Key_Return, "\r");
    cancelled = d.form->ModalResult() == mrNone;
    d.cancel->Click();
  });
  EXPECT_EQ(d.form->ShowModal(), mrCancel);
  EXPECT_TRUE(cancelled);
}

TEST(FormTest, KeyPreviewLetsTheFormSeeAndEatKeysFirst) {
  Dialog d;
  std::vector<std::string> seen;
  d.form->SetKeyPreview(true);
  d.form->OnKeyPress = [&](TObject*, char& key) {
    seen.push_back(std::string("form:") + key);
    if (key == 'x') key = 0;  // eaten
    if (key == 'a') key = 'b';  // changed on its way to the edit
  };
  d.edit->OnKeyPress = [&](TObject*, char& key) { seen.push_back(std::string("edit:") + key); };
  d.form->Show();
  SendKey(d.edit, Qt::Key_X, "x");
  SendKey(d.edit, Qt::Key_A, "a");
  EXPECT_EQ(seen, (std::vector<std::string>{"form:x", "form:a", "edit:b"}));
  EXPECT_EQ(d.edit->Text(), "b");
  // Key-down handlers see Windows key codes and can eat the key.
  uint16_t seenKey = 0;
  d.edit->OnKeyDown = [&](TObject*, uint16_t& key, TShiftState shift) {
    seenKey = key;
    if (shift & ssCtrl) key = 0;
  };
  SendKey(d.edit, Qt::Key_F5, "");
  EXPECT_EQ(seenKey, VK_F1 + 4);
}

TEST(FormTest, CloseQueryAndCloseActionDecide) {
  Dialog d;
  int asked = 0;
  d.form->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = ++asked > 1; };
  d.Then([&] {
    d.ok->Click();  // refused by OnCloseQuery: the loop goes on
    d.Then([&] { d.ok->Click(); });
  });
  EXPECT_EQ(d.form->ShowModal(), mrOk);
  EXPECT_EQ(asked, 2);

  d.form->OnCloseQuery = nullptr;
  d.form->Show();
  TCloseAction next = caNone;
  d.form->OnClose = [&](TObject*, TCloseAction& action) { action = next; };
  d.form->Close();
  EXPECT_TRUE(d.form->Visible());  // caNone keeps it open
  next = caHide;
  d.form->Close();
  EXPECT_FALSE(d.form->Visible());
}

TEST(FormTest, ReleasedFormIsFreedByTheMessageLoop) {
  auto* form = new TForm(nullptr);
  int destroyed = 0;
  form->OnDestroy = [&](TObject*) { ++destroyed; };
  form->Show();
  TCloseAction action = caFree;
  form->OnClose = [&](TObject*, TCloseAction& a) { a = action; };
  form->Close();
  EXPECT_EQ(destroyed, 0);
  Application->ProcessMessages();
  EXPECT_EQ(destroyed, 1);
}

TEST(FormTest, AlignedControlsFillTheClientAreaInOrder) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  auto make = [&](TAlign align, int size) {
    auto* p = new TPanel(&form);
    p->SetParent(&form);
    p->SetBounds(0, 0, size, size);
    p->SetAlign(align);
    return p;
  };
  TPanel* top = make(alTop, 30);
  TPanel* bottom = make(alBottom, 20);
  TPanel* left = make(alLeft, 50);
  TPanel* client = make(alClient, 10);
  EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 300, 30));
  EXPECT_EQ(bottom->BoundsRect(), Rect(0, 180, 300, 200));
  EXPECT_EQ(left->BoundsRect(), Rect(0, 30, 50, 180));
  EXPECT_EQ(client->BoundsRect(), Rect(50, 30, 300, 180));
  // Resizing the form re-places them; an anchored control keeps its distance to the right.
  auto* anchored = new TButton(&form);
  anchored->SetParent(client);
  anchored->SetBounds(200, 10, 40, 20);
  anchored->SetAnchors(akTop | akRight);
  form.SetWidth(400);
  EXPECT_EQ(client->BoundsRect(), Rect(50, 30, 400, 180));
  EXPECT_EQ(anchored->Left(), 300);
  top->SetVisible(false);
  EXPECT_EQ(left->Top(), 0);
}

}  // namespace

namespace {

TEST(FormTest, MenuBarTakesItsRowBeforeTheFirstShow) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 400, 300);
  auto* menu = new TMainMenu(&form);
  auto* file = new TMenuItem(&form);
  file->SetCaption("&File");
  menu->Items()->Add(file);
  form.SetMenu(menu);
  form.Widget();  // the window exists, not yet shown
  EXPECT_LT(form.ClientHeight(), 300);
  form.Show();
  EXPECT_LT(form.ClientHeight(), 300);
}

}  // namespace

namespace {

// A form class of its own, whose OnDestroy handler needs the whole object.
class TDestroyProbeForm : public TForm {
public:
  explicit TDestroyProbeForm(TComponent* owner, std::string* seen) : TForm(owner), seen_(seen) {
    // While a base destructor runs, the object is no longer a TDestroyProbeForm.
    OnDestroy = [this](TObject* sender) {
      *seen_ = dynamic_cast<TDestroyProbeForm*>(sender) ? note_ : "only a base";
    };
  }

private:
  std::string* seen_;
  std::string note_ = "whole";
};

TEST(FormTest, OnDestroySeesTheWholeFormWhenItsOwnerFreesIt) {
  std::string seen;
  auto* owner = new TComponent(nullptr);
  new TDestroyProbeForm(owner, &seen);
  delete owner;
  EXPECT_EQ(seen, "whole");
  seen.clear();
  TComponent::Free(new TDestroyProbeForm(nullptr, &seen));
  EXPECT_EQ(seen, "whole");
}

// A form class that binds its handlers by name, the way the form reader does, and whose
// construction can fail after that (a layout or a setting it could not take).
class TBoundHandlersForm : public TForm {
public:
  TBoundHandlersForm(TComponent* owner, std::vector<std::string>* calls, bool fail)
      : TForm(owner), calls_(calls) {
    Handler("FormDestroy", &TBoundHandlersForm::FormDestroy);
    Handler("EditChange", &TBoundHandlersForm::EditChange);
    OnDestroy = std::any_cast<TNotifyEvent>(*FindHandler("FormDestroy"));
    edit_ = new TEdit(this);
    edit_->SetParent(this);
    edit_->OnChange = std::any_cast<TNotifyEvent>(*FindHandler("EditChange"));
    if (fail) throw EConvertError("Invalid property value");
  }

private:
  void FormDestroy(TObject*) { calls_->push_back("FormDestroy " + label_); }
  void EditChange(TObject*) { calls_->push_back("EditChange " + label_); }

  std::vector<std::string>* calls_;
  TEdit* edit_ = nullptr;
  std::string label_ = "whole";
};

TEST(FormTest, HandlersOfTheDerivedFormRunOnlyWhileItIsWhole) {
  std::vector<std::string> calls;
  // Construction fails: no handler of the half-made class may run while the base cleans up.
  EXPECT_THROW(new TBoundHandlersForm(nullptr, &calls, true), EConvertError);
  EXPECT_TRUE(calls.empty());
  // Deleted directly: the base destructor cannot call into the derived class either.
  delete new TBoundHandlersForm(nullptr, &calls, false);
  EXPECT_TRUE(calls.empty());
  // Freed: OnDestroy runs once, while the form is whole.
  TComponent::Free(new TBoundHandlersForm(nullptr, &calls, false));
  EXPECT_EQ(calls, std::vector<std::string>{"FormDestroy whole"});
}

}  // namespace
