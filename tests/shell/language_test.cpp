// The interface language component: translating live forms, message look-ups and the template.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/files.h"
#include "platform/gui/actions.h"
#include "platform/gui/application.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/form.h"
#include "platform/gui/menus.h"
#include "platform/gui/std_controls.h"
#include "platform/ini_file.h"
#include "shell/lang_messages.h"
#include "shell/language.h"
#include "tests/shell/preferences_test_env.h"

namespace {

void WriteText(const std::string& file, const std::string& text) { WriteFileAtomic(file, text); }

template <class C>
C* Make(TComponent* owner, const std::string& name, TWinControl* parent = nullptr) {
  auto* c = new C(owner);
  c->SetName(name);
  if constexpr (std::is_base_of_v<TControl, C>) {
    if (parent) c->SetParent(parent);
  }
  return c;
}

class LanguageTest : public ::testing::Test {
protected:
  void SetUp() override { EnsureGuiApplication(); }
  void TearDown() override { forms_.clear(); }
  // A form owned by the application, as the program makes them.
  TForm* AddForm(const std::string& name, const std::string& caption) {
    forms_.push_back(std::make_unique<TForm>(Application));
    TForm* form = forms_.back().get();
    form->SetName(name);
    form->SetCaption(caption);
    return form;
  }

  TTestWorld world_;
  const std::string folder_ = world_.ProgramFolder;
  std::vector<std::unique_ptr<TForm>> forms_;
};

TEST_F(LanguageTest, LoadLanguageTranslatesLiveFormsAndSharesKeysBetweenInstances) {
  TForm* pref = AddForm("PrefForm", "Preferences...");
  auto* ok = Make<TButton>(pref, "Button2", pref);
  ok->SetCaption("&OK");
  ok->SetHint("Keep the changes");
  auto* box = Make<TCheckBox>(pref, "CBTray", pref);
  box->SetCaption("Run in the &System Tray");
  auto* fixed = Make<TLabel>(pref, "Special", pref);
  fixed->SetCaption("\"");
  fixed->SetTag(kNoTranslationTag);
  auto* edit = Make<TEdit>(pref, "EditAdd", pref);
  edit->SetText("txt");
  auto* group = Make<TRadioGroup>(pref, "ModeGroup", pref);
  group->Items()->SetText("One\r\nTwo\r\n");
  auto* shortGroup = Make<TRadioGroup>(pref, "ShortGroup", pref);
  shortGroup->Items()->SetText("One\r\nTwo\r\nThree\r\n");
  TForm* ask = AddForm("AskForm", "Question");
  auto* yes = Make<TButton>(ask, "YesBtn", ask);
  TForm* ask1 = AddForm("AskForm_1", "Question");
  auto* yes1 = Make<TButton>(ask1, "YesBtn", ask1);

  WriteText(folder_ + "russian.lng",
            "[Caption]\r\nPrefForm.Caption=\xcd\xe0\xf1\xf2\xf0\xee\xe9\xea\xe8...\r\n"
            "PrefForm.Button2.Caption=&\xce\xca\r\nPrefForm.CBTray.Caption=\r\n"
            "PrefForm.Special.Caption=X\r\nPrefForm.EditAdd.Caption=X\r\n"
            "AskForm.Caption=Vopros\r\nAskForm.YesBtn.Caption=&Da\r\n"
            "[Hint]\r\nPrefForm.Button2.Hint=Sohranit\r\n"
            "[Items]\r\nPrefForm.ModeGroup.Items=Odin | Dva|Tri|\r\nPrefForm.ShortGroup.Items=Raz\r\n");
  TLanguage language(nullptr);
  language.Forms()->SetText("PrefForm\r\nAskForm\r\nAskForm_1\r\nMissingForm\r\n");
  language.SetSeparator("|");
  language.SetLanguageFile("/somewhere/else/russian.lng");  // the folder is ignored
  int changes = 0;
  language.OnChangeLanguage = [&](TObject*) { ++changes; };
  language.LoadLanguage();

  EXPECT_EQ(pref->Caption(), "\xcd\xe0\xf1\xf2\xf0\xee\xe9\xea\xe8...");
  EXPECT_EQ(ok->Caption(), "&\xce\xca");
  EXPECT_EQ(ok->Hint(), "Sohranit");
  EXPECT_EQ(box->Caption(), "Run in the &System Tray") << "an empty value changes nothing";
  EXPECT_EQ(fixed->Caption(), "\"") << "tag -999 is never translated";
  EXPECT_EQ(edit->GetText(), "txt") << "an edit's text is no caption";
  EXPECT_EQ(group->Items()->Text(), "Odin\r\nDva\r\nTri\r\n") << "parts beyond the items are added";
  EXPECT_EQ(shortGroup->Items()->Text(), "Raz\r\nTwo\r\nThree\r\n");
  EXPECT_EQ(ask->Caption(), "Vopros");
  EXPECT_EQ(yes->Caption(), "&Da");
  EXPECT_EQ(ask1->Caption(), "Vopros");
  EXPECT_EQ(yes1->Caption(), "&Da");
  EXPECT_EQ(changes, 1);

  // A missing file changes nothing but still reports the change of language.
  ok->SetCaption("&OK");
  language.SetLanguageFile("german.lng");
  language.LoadLanguage();
  EXPECT_EQ(ok->Caption(), "&OK");
  EXPECT_EQ(changes, 2);
}

// A window made after the language was loaded (on its first use) is translated when made;
// the other windows are left as they are.
TEST_F(LanguageTest, AWindowMadeLaterIsTranslatedWhenMade) {
  WriteText(folder_ + "russian.lng", "[Caption]\r\nMailForm.Caption=Pochta\r\nMailForm.BtnOk.Caption=&Da\r\n"
                                     "AskForm.Caption=Vopros\r\n");
  TLanguage language(nullptr);
  language.Forms()->SetText("AskForm\r\nMailForm\r\n");
  language.SetLanguageFile("russian.lng");
  language.LoadLanguage();
  TForm* ask = AddForm("AskForm", "Question");
  TForm* mail = AddForm("MailForm", "Mail");
  auto* ok = Make<TButton>(mail, "BtnOk", mail);
  ok->SetCaption("&OK");
  language.TranslateForm(*mail);
  EXPECT_EQ(mail->Caption(), "Pochta");
  EXPECT_EQ(ok->Caption(), "&Da");
  EXPECT_EQ(ask->Caption(), "Question");
  TForm* other = AddForm("OtherForm", "Other");
  language.TranslateForm(*other);
  EXPECT_EQ(other->Caption(), "Other");
}

TEST_F(LanguageTest, AutoLoadAppliesTheFileWhenItIsSet) {
  TForm* pref = AddForm("PrefForm", "Preferences...");
  WriteText(folder_ + "russian.lng", "[Caption]\r\nPrefForm.Caption=Nastroiki\r\n");
  TLanguage language(nullptr);
  language.Forms()->Add("PrefForm");
  language.SetLanguageFile("russian.lng");
  EXPECT_EQ(pref->Caption(), "Preferences...");
  language.SetAutoLoad(true);
  language.SetLanguageFile("russian.lng");
  EXPECT_EQ(pref->Caption(), "Nastroiki");
}

TEST_F(LanguageTest, MessagesComeFromTheCurrentFile) {
  WriteText(folder_ + "english.lng", "[Messages]\r\nFindEnd=end\r\n");
  WriteText(folder_ + "russian.lng", "[Messages]\r\nFindEnd=\xea\xee\xed\xe5\xf6\r\n");
  TLanguage language(nullptr);
  EXPECT_EQ(language.GetMessage("FindEnd"), "") << "no language file";
  EXPECT_EQ(language.GetMessage(""), "???");
  language.SetLanguageFile(folder_ + "english.lng");
  EXPECT_EQ(language.GetMessage("FindEnd"), "end");
  EXPECT_EQ(language.GetMessage("NoSuchKey"), "");
  EXPECT_EQ(language.GetMessage(""), "???");
  language.SetLanguageFile("russian.lng");
  EXPECT_EQ(language.GetMessage("FindEnd"), "\xea\xee\xed\xe5\xf6");
  // Folders before the name never lead out of the program folder.
  WriteText(folder_ + "../outside.lng", "[Messages]\r\nFindEnd=outside\r\n");
  WriteText(folder_ + "outside.lng", "[Messages]\r\nFindEnd=inside\r\n");
  for (const char* name : {"../outside.lng", "sub/../../outside.lng", "..\\outside.lng"}) {
    language.SetLanguageFile(name);
    EXPECT_EQ(language.GetMessage("FindEnd"), "inside") << name;
  }
  language.SetLanguageFile("russian.lng");

  EXPECT_EQ(GetLangMessage(""), "???");
  SetLangMessageSource(&language);
  EXPECT_EQ(GetLangMessage("FindEnd"), "\xea\xee\xed\xe5\xf6");
  EXPECT_EQ(GetLangMessage("NoSuchKey"), "");
  EXPECT_EQ(GetLangMessage(""), "???");
  SetLangMessageSource(nullptr);
  EXPECT_EQ(GetLangMessage("FindEnd"), "");
}

TEST_F(LanguageTest, BlankSeparatorStoresComma) {
  TLanguage language(nullptr);
  EXPECT_EQ(language.Separator(), ",");
  language.SetSeparator("|");
  EXPECT_EQ(language.Separator(), "|");
  language.SetSeparator(" ");
  EXPECT_EQ(language.Separator(), ",");
  language.SetSeparator("");
  EXPECT_EQ(language.Separator(), ",");
}

TEST_F(LanguageTest, TemplateHoldsTheWorthwhileTextsWithoutAccelerators) {
  struct Case {
    const char* name;
    const char* caption;
    const char* expected;  // nullptr: not written
  };
  const Case cases[] = {
      {"Plain", "&File", "File"},
      {"Doubled", "Fish && Chips", "Fish && Chips"},
      {"DoubledFirst", "&&Tools", "&Tools"},
      {"TrailingAmp", "Tail&", "Tail"},
      {"OnlyFirstRemoved", "&Save &As", "Save &As"},
      {"Trimmed", "  Blank  ", "Blank"},
      {"Dash", "-", nullptr},
      {"Empty", "   ", nullptr},
      {"OwnName", "OwnName", nullptr},
  };
  TForm* pref = AddForm("PrefForm", "&Preferences...");
  for (const Case& c : cases) Make<TLabel>(pref, c.name, pref)->SetCaption(c.caption);
  auto* hinted = Make<TButton>(pref, "Hinted", pref);
  hinted->SetCaption("Hinted");
  hinted->SetHint("Press &here");
  auto* skipped = Make<TLabel>(pref, "Skipped", pref);
  skipped->SetCaption("Symbol");
  skipped->SetTag(kNoTranslationTag);
  auto* actionList = Make<TActionList>(pref, "Actions");
  auto* action = Make<TAction>(pref, "OpenCmd");
  action->SetActionList(actionList);
  action->SetCaption("&Open");
  auto* bound = Make<TButton>(pref, "BoundButton", pref);
  bound->SetAction(action);
  auto* group = Make<TRadioGroup>(pref, "ModeGroup", pref);
  group->SetCaption("&Mode");
  group->Items()->SetText("&One\r\nTwo\r\n\r\n");
  auto* item = Make<TMenuItem>(pref, "FileMenu");
  item->SetCaption("&File menu");
  AddForm("AskForm", "Question");
  AddForm("AskForm_1", "Question");

  TLanguage language(nullptr);
  language.Forms()->SetText("PrefForm\r\nAskForm\r\nAskForm_1\r\n");
  language.SetLanguageFile("english.lng");
  language.SaveLanguage("english.new");

  ASSERT_TRUE(FileExists(folder_ + "english.new")) << "a name without a folder goes to the program folder";
  TMemIniFile ini(folder_ + "english.new");
  EXPECT_EQ(ini.ReadString("Caption", "PrefForm.Caption", "?"), "Preferences...");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string key = std::string("PrefForm.") + c.name + ".Caption";
    EXPECT_EQ(ini.ReadString("Caption", key, "<none>"), c.expected ? c.expected : "<none>");
  }
  EXPECT_FALSE(ini.ValueExists("Caption", "PrefForm.Hinted.Caption"));
  EXPECT_EQ(ini.ReadString("Hint", "PrefForm.Hinted.Hint", ""), "Press here");
  EXPECT_FALSE(ini.ValueExists("Caption", "PrefForm.Skipped.Caption"));
  EXPECT_FALSE(ini.ValueExists("Caption", "PrefForm.BoundButton.Caption")) << "actions carry the text";
  EXPECT_EQ(ini.ReadString("Caption", "PrefForm.OpenCmd.Caption", ""), "Open");
  EXPECT_EQ(ini.ReadString("Caption", "PrefForm.FileMenu.Caption", ""), "File menu");
  EXPECT_EQ(ini.ReadString("Caption", "PrefForm.ModeGroup.Caption", ""), "Mode");
  EXPECT_EQ(ini.ReadString("Items", "PrefForm.ModeGroup.Items", ""), "&One|Two");
  EXPECT_EQ(ini.ReadString("Caption", "AskForm.Caption", ""), "Question");
  TStringList keys;
  ini.ReadSection("Caption", keys);
  for (int i = 0; i < keys.Count(); ++i) EXPECT_NE(keys[i].rfind("AskForm_1", 0), 0u) << keys[i];

  // A template read back as a language file restores the texts it holds.
  language.SetLanguageFile("english.new");
  Make<TLabel>(pref, "Later", pref)->SetCaption("Later");
  pref->SetCaption("Changed");
  language.LoadLanguage();
  EXPECT_EQ(pref->Caption(), "Preferences...");
}

}  // namespace
