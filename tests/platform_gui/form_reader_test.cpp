// The form reader: a compiled-in layout builds a form with its properties, references, menus,
// actions, fields and bound events; bad layouts fail with the file, the line and the fault.
#include <gtest/gtest.h>

#include <functional>

#include "platform/code_pages.h"
#include "platform/exceptions.h"
#include "platform/gui/actions.h"
#include "platform/gui/application.h"
#include "platform/gui/common_controls.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/form.h"
#include "platform/gui/form_reader.h"
#include "platform/gui/menus.h"
#include "platform/gui/std_controls.h"

// The form of forms/tests/TReaderTestForm.qfm, written as every form class of the program is.
class TReaderTestForm : public TForm {
  QM_CLASS(TReaderTestForm, TForm)
public:
  TPanel* TopPanel = nullptr;
  TEdit* NameEdit = nullptr;
  TListBox* Choices = nullptr;
  TButton* OkButton = nullptr;
  TMenuItem* OpenItem = nullptr;
  TMenuItem* ExitItem = nullptr;
  TAction* OpenAction = nullptr;
  std::vector<std::string> Calls;
  std::function<bool(TComponent*)> Allow;  // the form's command gate; none allows everything

  bool AllowCommand(TComponent* source) override { return !Allow || Allow(source); }

  explicit TReaderTestForm(TComponent* owner) : TForm(owner) {
    Field("TopPanel", TopPanel);
    Field("NameEdit", NameEdit);
    Field("Choices", Choices);
    Field("OkButton", OkButton);
    Field("OpenItem", OpenItem);
    Field("ExitItem", ExitItem);
    Field("OpenAction", OpenAction);
    Handler("FormCreate", &TReaderTestForm::FormCreate);
    Handler("FormKeyDown", &TReaderTestForm::FormKeyDown);
    Handler("NameEditChange", &TReaderTestForm::NameEditChange);
    Handler("OkButtonClick", &TReaderTestForm::OkButtonClick);
    Handler("ExitItemClick", &TReaderTestForm::ExitItemClick);
    Handler("OpenActionExecute", &TReaderTestForm::OpenActionExecute);
    ReadForm();
  }

private:
  void FormCreate(TObject*) { Calls.push_back("FormCreate:" + NameEdit->Text()); }
  void FormKeyDown(TObject*, uint16_t& key, TShiftState) { Calls.push_back("FormKeyDown:" + std::to_string(key)); }
  void NameEditChange(TObject*) { Calls.push_back("NameEditChange"); }
  void OkButtonClick(TObject*) { Calls.push_back("OkButtonClick"); }
  void ExitItemClick(TObject*) { Calls.push_back("ExitItemClick"); }
  void OpenActionExecute(TObject*) { Calls.push_back("OpenActionExecute"); }
};

QM_CLASS_INFO(TReaderTestForm, TForm, [](TClassBuilder<TReaderTestForm>&) {})

namespace {

TEST(FormReaderTest, BuildsTheFormFromItsCompiledLayout) {
  ASSERT_TRUE(HasFormLayout("TReaderTestForm"));
  TReaderTestForm form(nullptr);
  EXPECT_EQ(form.Name(), "ReaderTestForm");
  EXPECT_EQ(form.Caption(), Utf8ToAnsi("Проверка формы"));  // UTF-8 in the file, code page 1251 here
  EXPECT_EQ(form.Width(), 400);
  EXPECT_EQ(form.Position(), poScreenCenter);
  EXPECT_EQ(form.BorderStyle(), bsDialog);
  EXPECT_TRUE(form.KeyPreview());
  EXPECT_EQ(form.Font()->Name(), "Arial");
  EXPECT_EQ(form.Font()->Style(), fsBold | fsItalic);
  // Fields are filled, parents follow the nesting, the owner is the form.
  ASSERT_NE(form.NameEdit, nullptr);
  EXPECT_EQ(form.NameEdit->Parent(), form.TopPanel);
  EXPECT_EQ(form.NameEdit->Owner(), &form);
  EXPECT_EQ(form.TopPanel->Align(), alTop);
  EXPECT_EQ(form.TopPanel->Width(), form.ClientWidth());  // aligned once loading ended
  EXPECT_EQ(form.NameEdit->Text(), "It's joined");
  EXPECT_EQ(form.NameEdit->Font()->Style(), fsBold | fsItalic);  // fonts pass to children
  // References resolve after the whole file, also to components defined later.
  EXPECT_EQ(form.ActiveControl(), form.NameEdit);
  EXPECT_EQ(form.TopPanel->PopupMenu(), form.FindComponent("PanelMenu"));
  EXPECT_EQ(form.Menu(), form.FindComponent("MainMenu1"));
  auto* label = static_cast<TLabel*>(form.FindComponent("TitleLabel"));
  EXPECT_EQ(label->Caption(), Utf8ToAnsi("Имя:\ttab"));
  EXPECT_EQ(label->FocusControl(), form.NameEdit);
  ASSERT_EQ(form.Choices->Items()->Count(), 3);
  EXPECT_EQ(form.Choices->Items()->Strings(2), Utf8ToAnsi("три"));
  EXPECT_EQ(form.Choices->ItemIndex(), 1);
  // Menus nest, actions join their list and drive their items.
  TMenuItem* file = form.Menu()->Items()->Items(0);
  EXPECT_EQ(file->Count(), 3);
  EXPECT_TRUE(file->Items(1)->IsLine());
  EXPECT_EQ(form.OpenItem->Caption(), "&Open...");
  EXPECT_EQ(form.OpenItem->ShortCut(), ShortCut('O', ssCtrl));
  EXPECT_EQ(form.OpenAction->ActionList(), form.FindComponent("Actions"));
  // OnCreate runs after reading; loading fired no OnChange.
  EXPECT_EQ(form.Calls, std::vector<std::string>{"FormCreate:It's joined"});
  form.Calls.clear();
  form.NameEdit->SetText("x");
  form.OkButton->Click();
  form.ExitItem->Click();
  form.OpenItem->Click();
  EXPECT_EQ(form.Calls, (std::vector<std::string>{"NameEditChange", "OkButtonClick", "ExitItemClick", "OpenActionExecute"}));
  // The form's shortcuts: the menu first, then the action lists.
  form.Calls.clear();
  EXPECT_TRUE(form.IsShortCut(ShortCut('Q', ssCtrl)));
  EXPECT_TRUE(form.IsShortCut(ShortCut('O', ssCtrl)));
  EXPECT_FALSE(form.IsShortCut(ShortCut('Z', ssCtrl)));
  EXPECT_EQ(form.Calls, (std::vector<std::string>{"ExitItemClick", "OpenActionExecute"}));
  // A disabled action neither runs nor lets its menu item run.
  form.OpenAction->SetEnabled(false);
  EXPECT_FALSE(form.OpenItem->Enabled());
  EXPECT_FALSE(form.IsShortCut(ShortCut('O', ssCtrl)));
}

TEST(FormReaderTest, TheFormsGateAndItsMenusDecideWhatACommandReaches) {
  EnsureGuiApplication();
  TReaderTestForm form(nullptr);
  form.Calls.clear();
  // Closed gate: no item, button, action or key of the form fires.
  form.Allow = [](TComponent*) { return false; };
  form.OkButton->Click();
  form.ExitItem->Click();
  form.OpenItem->Click();
  EXPECT_FALSE(form.OpenAction->Execute());
  form.IsShortCut(ShortCut('Q', ssCtrl));
  form.IsShortCut(ShortCut('O', ssCtrl));
  EXPECT_TRUE(form.Calls.empty());
  // The gate is asked about each command by itself.
  form.Allow = [&](TComponent* source) { return source != form.ExitItem; };
  form.ExitItem->Click();
  form.OkButton->Click();
  EXPECT_EQ(form.Calls, std::vector<std::string>{"OkButtonClick"});
  // A disabled menu closes its items to keys too, and a user's way to them says why.
  form.Allow = nullptr;
  form.Calls.clear();
  TMenuItem* file = form.Menu()->Items()->Items(0);
  EXPECT_EQ(MenuItemUnreachable(*form.ExitItem), "");
  file->SetEnabled(false);
  EXPECT_FALSE(form.IsShortCut(ShortCut('Q', ssCtrl)));
  EXPECT_TRUE(form.Calls.empty());
  EXPECT_EQ(MenuItemUnreachable(*form.ExitItem), "its menu " + StripHotkey(file->Caption()) + " is disabled");
  file->SetEnabled(true);
  form.ExitItem->SetVisible(false);
  EXPECT_EQ(MenuItemUnreachable(*form.ExitItem), "it is hidden");
}

// A form with no layout of its own reads the texts the tests give it.
class TBareForm : public TForm {
  QM_CLASS(TBareForm, TForm)
public:
  explicit TBareForm(TComponent* owner) : TForm(owner) { Handler("Clicked", &TBareForm::Clicked); }
  void Clicked(TObject*) {}
  void KeyHandler(TObject*, char&) {}
};

TEST(FormReaderTest, BadLayoutsNameFileLineAndFault) {
  struct Case {
    const char* text;
    const char* expected;  // part of the message
  };
  const Case cases[] = {
      {"object F: TBareForm\n  object B: TNoSuchClass\n  end\nend\n", "bad.qfm(2): unknown class TNoSuchClass"},
      {"object F: TBareForm\n  Colour = clRed\nend\n", "bad.qfm(2): unknown property Colour"},
      {"object F: TBareForm\n  object B: TButton\n    OnClick = Missing\n  end\nend\n", "bad.qfm(3): handler Missing"},
      {"object F: TBareForm\n  Caption = 12\nend\n", "bad.qfm(2): property Caption cannot take a number"},
      {"object F: TBareForm\n  Caption = 'open\nend\n", "bad.qfm(2): unterminated string"},
      {"object F: TBareForm\n  Position = poNowhere\nend\n", "bad.qfm(2):"},
      {"object F: TBareForm\n  ActiveControl = Nobody\nend\n", "bad.qfm(2): component Nobody not found"},
      {"object F: TOtherForm\nend\n", "bad.qfm(1): the layout is for TOtherForm"},
      {"object F: TBareForm\n  Left = 1\n", "'end' expected"},
      {"object F: TBareForm\n  object T: TTimer\n    object B: TButton\n    end\n  end\nend\n", "bad.qfm(3):"},
      {"object F: TBareForm\n  object B: TButton\n  end\n  object B: TButton\n  end\nend\n", "bad.qfm(4):"},
      // Numbers that fit no property, names that are no component names, values outside a type.
      {"object F: TBareForm\n  Left = 99999999999999999999999\nend\n", "bad.qfm(2): number out of range"},
      {"object F: TBareForm\n  Left = 4294967296\nend\n", "bad.qfm(2): number out of range"},
      {"object F: TBareForm\n  Left = -2147483649\nend\n", "bad.qfm(2): number out of range"},
      {"object F: TBareForm\n  Caption = #99999999999999999999\nend\n", "bad.qfm(2): character code out of range"},
      {"object F: TBareForm\n  Items = (99999999999999999999)\nend\n", "bad.qfm(2): number out of range"},
      {"object F.G: TBareForm\nend\n", "bad.qfm(1): F.G is not a component name"},
      {"object F: TBareForm\n  object B.C: TButton\n  end\nend\n", "bad.qfm(2): B.C is not a component name"},
      {"object F: TBareForm\n  Position = 99\nend\n", "bad.qfm(2): 99 is not a value of property Position"},
      {"object F: TBareForm\n  Position = -1\nend\n", "bad.qfm(2): -1 is not a value of property Position"},
  };
  for (const Case& c : cases) {
    TBareForm form(nullptr);
    try {
      ReadLayout(form, c.text, "bad.qfm");
      ADD_FAILURE() << "no error for: " << c.text;
    } catch (const EConvertError& e) {
      EXPECT_NE(e.Message.find(c.expected), std::string::npos) << e.Message;
    }
  }
  TBareForm form(nullptr);
  EXPECT_THROW(ReadComponentRes(form), EInvalidOperation);  // no compiled layout for this class
  // In code as in a layout, an enumerated property takes only values of its type.
  EXPECT_THROW(SetOrdProp(form, "Position", 99), EConvertError);
  EXPECT_THROW(SetPropText(form, "Position", "8"), EConvertError);
  SetOrdProp(form, "Position", int(poScreenCenter));
  EXPECT_EQ(form.Position(), poScreenCenter);
}

TEST(FormReaderTest, ValueSyntax) {
  TBareForm form(nullptr);
  ReadLayout(form,
             "object F: TBareForm\n"
             "  // a comment line\n"
             "  Caption = 'a'#13#10'b' + 'c''d' + #1072\n"
             "  Color = $00FF0000\n"
             "  Left = -5\n"
             "  object S: TStatusBar\n"
             "    Panels = <\n"
             "      item\n"
             "        Width = 120\n"
             "        Text = 'one'\n"
             "      end\n"
             "      item\n"
             "        Style = psOwnerDraw\n"
             "      end>\n"
             "  end\n"
             "  object B: TButton\n"
             "    OnClick = clicked\n"
             "  end\n"
             "end\n",
             "syntax.qfm");
  EXPECT_EQ(form.Caption(), "a\r\nbc'd" + Utf8ToAnsi("а"));
  EXPECT_EQ(form.Color(), clBlue);
  EXPECT_EQ(form.Left(), -5);
  auto* bar = static_cast<TStatusBar*>(form.FindComponent("S"));
  ASSERT_EQ(bar->Panels()->Count(), 2);
  EXPECT_EQ(bar->Panels()->Items(0)->Width(), 120);
  EXPECT_EQ(bar->Panels()->Items(1)->Style(), psOwnerDraw);
  EXPECT_TRUE(static_cast<TButton*>(form.FindComponent("B"))->OnClick);
}

}  // namespace

QM_CLASS_INFO(TBareForm, TForm, [](TClassBuilder<TBareForm>&) {})
