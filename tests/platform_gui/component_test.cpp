// Ownership, names, free notification and the published-property table.
#include <gtest/gtest.h>

#include "platform/exceptions.h"
#include "platform/gui/actions.h"
#include "platform/gui/common_controls.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/form.h"
#include "platform/gui/menus.h"
#include "platform/gui/std_controls.h"

namespace {

// Counts its own destruction and records what it is told.
class TProbe : public TComponent {
public:
  TProbe(TComponent* owner, int* destroyed) : TComponent(owner), destroyed_(destroyed) {}
  ~TProbe() override { ++*destroyed_; }
  std::vector<std::pair<TComponent*, TOperation>> Heard;

protected:
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    Heard.emplace_back(c, op);
  }

private:
  int* destroyed_;
};

TEST(ComponentTest, OwnerFreesOwnedAndFindsByNameIgnoringCase) {
  int destroyed = 0;
  auto* owner = new TProbe(nullptr, &destroyed);
  auto* a = new TProbe(owner, &destroyed);
  auto* b = new TProbe(owner, &destroyed);
  a->SetName("FirstOne");
  b->SetName("Second");
  EXPECT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(owner->Components(1), b);
  EXPECT_EQ(b->ComponentIndex(), 1);
  EXPECT_EQ(owner->FindComponent("firstone"), a);
  EXPECT_EQ(owner->FindComponent("SECOND"), b);
  EXPECT_EQ(owner->FindComponent("Third"), nullptr);
  EXPECT_THROW(b->SetName("FIRSTONE"), EInvalidOperation);  // duplicate within the owner
  EXPECT_THROW(b->SetName("1bad"), EInvalidOperation);
  EXPECT_EQ(b->Name(), "Second");

  auto address = reinterpret_cast<uintptr_t>(static_cast<TComponent*>(a));
  delete a;  // an owned component that dies leaves its owner's list and tells the owner
  EXPECT_EQ(owner->ComponentCount(), 1);
  ASSERT_FALSE(owner->Heard.empty());
  EXPECT_EQ(reinterpret_cast<uintptr_t>(owner->Heard.back().first), address);
  EXPECT_EQ(owner->Heard.back().second, TOperation::opRemove);

  delete owner;  // frees b too
  EXPECT_EQ(destroyed, 3);
}

TEST(ComponentTest, NameLookupFollowsRenamesRemovalsAndOwnerChanges) {
  int destroyed = 0;
  TProbe owner(nullptr, &destroyed), other(nullptr, &destroyed);
  auto* a = new TProbe(&owner, &destroyed);
  auto* b = new TProbe(&owner, &destroyed);
  a->SetName("Alpha");
  b->SetName("Beta_2");
  // Names compare by ASCII case only: Cyrillic is no identifier, and found under no spelling.
  EXPECT_THROW(b->SetName("Кнопка"), EInvalidOperation);
  EXPECT_EQ(owner.FindComponent("Кнопка"), nullptr);
  EXPECT_EQ(owner.FindComponent("BETA_2"), b);
  EXPECT_EQ(owner.FindComponent("Beta_"), nullptr);
  EXPECT_EQ(owner.FindComponent(""), nullptr);

  a->SetName("ALPHA");  // a change of case only: still unique, found under every spelling
  EXPECT_EQ(a->Name(), "ALPHA");
  EXPECT_EQ(owner.FindComponent("alpha"), a);
  a->SetName("Gamma");  // the old name is free again
  EXPECT_EQ(owner.FindComponent("Alpha"), nullptr);
  EXPECT_EQ(owner.FindComponent("gamma"), a);
  b->SetName("alpha");
  EXPECT_EQ(owner.FindComponent("ALPHA"), b);
  a->SetName("");  // unnamed components are not found by the empty name
  EXPECT_EQ(owner.FindComponent("Gamma"), nullptr);
  EXPECT_EQ(owner.FindComponent(""), nullptr);
  a->SetName("Gamma");

  owner.RemoveComponent(a);  // no longer the owner's: not found, and its name is free there
  EXPECT_EQ(owner.FindComponent("Gamma"), nullptr);
  auto* c = new TProbe(&owner, &destroyed);
  c->SetName("GAMMA");
  a->SetName("Other");  // renamed while it has no owner
  other.InsertComponent(a);
  EXPECT_EQ(other.FindComponent("other"), a);
  b->SetName("Other");  // a name may repeat under another owner...
  EXPECT_THROW(other.InsertComponent(b), EInvalidOperation);  // ...but not within one
  EXPECT_EQ(b->Owner(), &owner);
  EXPECT_EQ(owner.FindComponent("OTHER"), b);
  c->SetName("Moved");
  other.InsertComponent(c);  // moving takes the name along
  EXPECT_EQ(owner.FindComponent("moved"), nullptr);
  EXPECT_EQ(other.FindComponent("moved"), c);
  delete c;  // a freed component is gone from its owner's names
  EXPECT_EQ(other.FindComponent("Moved"), nullptr);

  // Many siblings: each found under any case, and a freed one no more.
  std::vector<TProbe*> many;
  for (int i = 0; i < 300; ++i) {
    many.push_back(new TProbe(&owner, &destroyed));
    many.back()->SetName("Item" + std::to_string(i));
  }
  for (int i = 0; i < 300; i += 7) EXPECT_EQ(owner.FindComponent("ITEM" + std::to_string(i)), many[size_t(i)]);
  delete many[150];
  EXPECT_EQ(owner.FindComponent("item150"), nullptr);
  EXPECT_EQ(owner.FindComponent("item151"), many[151]);
  EXPECT_THROW(many[1]->SetName("ITEM2"), EInvalidOperation);
  owner.DestroyComponents();
  EXPECT_EQ(owner.FindComponent("Item1"), nullptr);
  EXPECT_EQ(owner.FindComponent("Other"), nullptr);
}

TEST(ComponentTest, FreeNotificationClearsReferencesAcrossOwners) {
  TForm form(nullptr);
  auto* menu = new TPopupMenu(nullptr);  // owned elsewhere
  auto* button = new TButton(&form);
  button->SetPopupMenu(menu);
  auto* label = new TLabel(&form);
  auto* edit = new TEdit(&form);
  label->SetFocusControl(edit);
  auto* action = new TAction(&form);
  button->SetAction(action);
  delete menu;
  EXPECT_EQ(button->PopupMenu(), nullptr);
  delete edit;
  EXPECT_EQ(label->FocusControl(), nullptr);
  delete action;
  EXPECT_EQ(button->Action(), nullptr);
  button->Click();  // no action, no handler: nothing happens
}

TEST(ComponentTest, PropertiesByNameForEveryKind) {
  TForm form(nullptr);
  auto* edit = new TEdit(&form);
  edit->SetName("Edit1");
  edit->SetParent(&form);
  auto* menu = new TPopupMenu(&form);
  menu->SetName("Menu1");
  auto* list = new TListBox(&form);
  auto* bar = new TStatusBar(&form);

  SetStrProp(*edit, "Text", "abc");  // string
  EXPECT_EQ(edit->Text(), "abc");
  SetPropText(*edit, "Left", "17");  // integer
  EXPECT_EQ(edit->Left(), 17);
  EXPECT_EQ(GetPropText(*edit, "Left"), "17");
  SetPropText(*edit, "readonly", "True");  // boolean, name in any case
  EXPECT_TRUE(edit->ReadOnly());
  EXPECT_EQ(GetPropText(*edit, "ReadOnly"), "True");
  SetPropText(*edit, "Align", "alBottom");  // enumeration by name
  EXPECT_EQ(edit->Align(), alBottom);
  EXPECT_EQ(GetOrdProp(*edit, "Align"), int(alBottom));
  SetPropText(*edit, "Font.Style", "[fsBold, fsUnderline]");  // set, through a sub-object
  EXPECT_EQ(edit->Font()->Style(), fsBold | fsUnderline);
  EXPECT_EQ(GetPropText(*edit, "Font.Style"), "[fsBold,fsUnderline]");
  SetPropText(*edit, "Color", "clHighlight");  // colour, system and plain
  EXPECT_EQ(edit->Color(), clHighlight);
  SetPropText(*edit, "Font.Color", "$000000FF");
  EXPECT_EQ(edit->Font()->Color(), clRed);
  EXPECT_EQ(GetPropText(*edit, "Font.Color"), "clRed");
  SetStringsProp(*list, "Items", {"один", "two"});  // string list
  EXPECT_EQ(list->Items()->Count(), 2);
  EXPECT_EQ(GetPropText(*list, "Items"), "один\r\ntwo\r\n");
  SetPropText(*edit, "PopupMenu", "menu1");  // component reference by name
  EXPECT_EQ(edit->PopupMenu(), menu);
  bool clicked = false;
  SetEventProp(*edit, "OnClick", std::any(TNotifyEvent([&](TObject*) { clicked = true; })));  // event
  edit->Click();
  EXPECT_TRUE(clicked);
  auto* panels = dynamic_cast<TCollectionBase*>(std::get<TPersistent*>(GetPropValue(*bar, "Panels")));  // collection
  ASSERT_NE(panels, nullptr);
  SetPropText(*panels->AddItem(), "Text", "x");
  EXPECT_EQ(bar->Panels()->Items(0)->Text(), "x");
}

// Publishes a string property named like TComponent's integer Tag, hiding it.
class TShadowTag : public TComponent {
  QM_CLASS(TShadowTag, TComponent)
public:
  using TComponent::TComponent;
  const std::string& Label() const { return label_; }
  void SetLabel(const std::string& label) { label_ = label; }

private:
  std::string label_;
};

TEST(ComponentTest, PropertiesFoundByAnySpellingNearestClassFirst) {
  TForm form(nullptr);
  auto* shadow = new TShadowTag(&form);
  SetPropText(*shadow, "tag", "own");
  EXPECT_EQ(shadow->Label(), "own");
  EXPECT_EQ(shadow->Tag(), 0);
  EXPECT_EQ(PropKind(*shadow, "TAG"), TPropKind::String);
  EXPECT_EQ(PropKind(*shadow, "name"), TPropKind::String);  // the parents' others still show

  // Every property of these classes is found under another case, as the one nearest the class.
  for (TComponent* c : std::initializer_list<TComponent*>{&form, new TEdit(&form), new TMenuItem(&form),
                                                          new TStatusBar(&form), shadow}) {
    const TClassInfo& info = c->ClassInfo();
    for (const TPropInfo* p : info.AllProps()) {
      const TPropInfo* nearest = nullptr;
      for (const TClassInfo* k = &info; k && !nearest; k = k->Parent)
        for (const TPropInfo& own : k->Props)
          if (!nearest && SameName(own.Name, p->Name)) nearest = &own;
      std::string lower = p->Name;
      for (char& ch : lower) ch = char(std::tolower(static_cast<unsigned char>(ch)));
      EXPECT_EQ(info.FindProp(lower), nearest) << info.Name << "." << p->Name;
    }
    for (const char* missing : {"", "Captio", "Caption_", "Font.Size", "Ca ption"})
      EXPECT_EQ(info.FindProp(missing), nullptr) << info.Name << "." << missing;
  }
}

TEST(ComponentTest, PropertyErrorsNameWhatIsWrong) {
  TForm form(nullptr);
  auto* edit = new TEdit(&form);
  struct Case {
    const char* path;
    const char* text;
  };
  for (const Case& c : {Case{"NoSuchProperty", "1"}, Case{"Left", "12x"}, Case{"Align", "alNowhere"},
                        Case{"ReadOnly", "maybe"}, Case{"Font.Style", "fsBold"}, Case{"Color", "clPlaid"},
                        Case{"PopupMenu", "Missing"}, Case{"Font.Nothing", "1"}}) {
    EXPECT_THROW(SetPropText(*edit, c.path, c.text), EConvertError) << c.path << " = " << c.text;
  }
  // A handler of the wrong shape is refused, not bound.
  EXPECT_THROW(SetEventProp(*edit, "OnKeyPress", std::any(TNotifyEvent([](TObject*) {}))), EConvertError);
  EXPECT_FALSE(IsPublishedProp(*edit, "Nope"));
  EXPECT_TRUE(IsPublishedProp(*edit, "font.size"));
}

TEST(ComponentTest, ClassRegistryMakesComponentsByName) {
  TForm form(nullptr);
  for (const char* name : {"TButton", "tlabel", "TEdit", "TMemo", "TComboBox", "TListBox", "TCheckBox", "TRadioButton",
                           "TRadioGroup", "TGroupBox", "TPanel", "TPageControl", "TTabSheet", "TTrackBar",
                           "TProgressBar", "TUpDown", "TStatusBar", "TScrollBar", "TImage", "TShape", "TBevel",
                           "TSplitter", "TMainMenu", "TPopupMenu", "TMenuItem", "TAction", "TActionList",
                           "TImageList", "TTimer", "TOpenDialog", "TSaveDialog", "TFontDialog", "TColorDialog",
                           "TBitBtn", "TSpeedButton", "TPaintBox"}) {
    TComponent* c = CreateComponent(name, &form);
    ASSERT_NE(c, nullptr) << name;
    EXPECT_TRUE(SameName(c->ClassName(), name));
    EXPECT_EQ(c->Owner(), &form);
  }
  EXPECT_THROW(CreateComponent("TNoSuchThing", &form), EConvertError);
}

TEST(ComponentTest, ShortCutTextRoundTrips) {
  struct Case {
    TShortCut shortCut;
    const char* text;
  };
  for (const Case& c : {Case{ShortCut('O', ssCtrl), "Ctrl+O"}, Case{ShortCut(VK_F1 + 2, ssShift | ssCtrl), "Shift+Ctrl+F3"},
                        Case{ShortCut(VK_DELETE, 0), "Del"}, Case{ShortCut('1', ssAlt), "Alt+1"},
                        Case{ShortCut(VK_RETURN, ssCtrl), "Ctrl+Enter"},
                        Case{ShortCut(VK_PRIOR, ssCtrl | ssAlt), "Ctrl+Alt+Page Up"},
                        Case{ShortCut(0xBB, ssCtrl), "Ctrl+="}, Case{ShortCut(0xDC, ssCtrl | ssAlt), "Ctrl+Alt+\\"},
                        Case{ShortCut(VK_F1 + 5, ssShift), "Shift+F6"}, Case{ShortCut('X', ssAlt), "Alt+X"},
                        Case{ShortCut(VK_DELETE, ssCtrl), "Ctrl+Del"}}) {
    EXPECT_EQ(ShortCutToText(c.shortCut), c.text);
    EXPECT_EQ(TextToShortCut(c.text), c.shortCut);
  }
  EXPECT_EQ(TextToShortCut("ctrl+shift+f3"), ShortCut(VK_F1 + 2, ssShift | ssCtrl));
  EXPECT_EQ(TextToShortCut("Ctrl+Nothing"), 0);
  // Every key with a text reads back from it, under each set of modifiers.
  for (unsigned key = 1; key < 0x100; ++key)
    for (TShiftState shift : {0u, ssShift, ssCtrl | ssAlt, ssShift | ssCtrl | ssAlt}) {
      const TShortCut sc = ShortCut(uint16_t(key), shift);
      if (std::string text = ShortCutToText(sc); !text.empty()) EXPECT_EQ(TextToShortCut(text), sc) << text;
    }
  // Odd texts: modifiers in any order, any case and repeated; the text after them names the key.
  struct Text {
    const char* text;
    TShortCut shortCut;
  };
  for (const Text& t : {Text{"", 0}, Text{"Ctrl+", 0}, Text{"Shift+Ctrl+", 0}, Text{"Ctrl", 0}, Text{"+", 0},
                        Text{"Alt+Shift+a", ShortCut('A', ssShift | ssAlt)}, Text{"CTRL+CTRL+X", ShortCut('X', ssCtrl)},
                        Text{"page down", ShortCut(VK_NEXT, 0)}, Text{"Ctrl+Page  Down", 0}, Text{"Ctrl+ Del", 0},
                        Text{"F24", ShortCut(VK_F1 + 23, 0)}, Text{"F25", 0}, Text{"F0", 0}, Text{"Ctrl+-", ShortCut(0xBD, ssCtrl)},
                        Text{"Ctrl++", 0}, Text{"Shift+Ctrl", 0}, Text{"Ctrl+Shift", 0}, Text{"Alt+Ctrl+Alt", 0},
                        Text{"Ctrl+Alt", 0}, Text{"Shift+Shift", 0}, Text{"Ctrl+Shift+", 0}, Text{"Ctrl+Shift+Del", ShortCut(VK_DELETE, ssCtrl | ssShift)},
                        Text{"Ctrl+O ", 0}, Text{" Ctrl+O", 0}, Text{"Ctrl+OO", 0}, Text{"Ctrl+\\\\", 0},
                        Text{"Ctrl+Ф", 0}, Text{"ф", 0}})
    EXPECT_EQ(TextToShortCut(t.text), t.shortCut) << t.text;
}

}  // namespace

QM_CLASS_INFO(TShadowTag, TComponent, [](TClassBuilder<TShadowTag>& c) {
  c.String("TAG", &TShadowTag::Label, &TShadowTag::SetLabel);
})
