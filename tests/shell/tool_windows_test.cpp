// The tool windows started from the main window's menus, on its editor's text: each window is
// answered by a timer step once its modal loop runs.
#include <gtest/gtest.h>

#include "platform/code_pages.h"
#include "platform/gui/application.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/menus.h"
#include "platform/gui/std_controls.h"
#include "platform/gui/timer.h"
#include "preferences_test_env.h"
#include "tests/support/colour_pick.h"
#include "platform/files.h"
#include "shell/lang_messages.h"
#include "shell/language.h"
#include "shell/main_form.h"
#include "shell/progress.h"
#include "textcore/rich_edit.h"
#include "textcore/win_registry.h"
#include "platform/gui/rich_edit_control.h"
#include "platform/rich_text.h"
#include "tools/auto_lang_form.h"
#include "tools/mail_form.h"
#include "tools/mixed_char_form.h"
#include "tools/quick_form.h"
#include "tools/sort_form.h"
#include "components/combo_edit.h"
#include "components/languages_combo.h"

namespace {

class ToolWindowsTest : public ::testing::Test {
protected:
  void SetUp() override {
    EnsureGuiApplication();
    world.WriteProgramFile("english.lng", ReadFileBytes(std::string(QM_SOURCE_DIR) + "/data/english.lng"));
    language.SetLanguageFile("english.lng");
    SetLangMessageSource(&language);
    main = new TMainForm(Application);
    timer.SetInterval(1);
    timer.OnTimer = [this](TObject*) {
      timer.SetEnabled(false);
      if (answer) answer();
    };
  }
  void TearDown() override {
    SetLangMessageSource(nullptr);
    SetProgressMessagePump(nullptr);
    TComponent::Free(main);
    EXPECT_TRUE(dialogs.Unexpected().empty());
  }
  void SetText(const std::u16string& text) {
    main->Editor->SetTextW(text);
    main->ResetDocument();
    main->Editor->SetSelStart(0);
    main->Editor->SetSelLength(0);
  }
  std::u16string Text() const { return main->Editor->GetTextW(); }
  TCharFormat FormatAt(int pos) const { return main->Editor->Control().CharFormatAt(pos); }
  // Runs a menu item; `modal` answers the window it shows.
  void Click(const char* name, std::function<void()> modal) {
    auto* item = dynamic_cast<TMenuItem*>(main->FindComponent(name));
    ASSERT_NE(item, nullptr) << name;
    answer = std::move(modal);
    timer.SetEnabled(true);
    item->Click();
  }

  TTestWorld world;
  TScriptedDialogs dialogs;
  TLanguage language{nullptr};
  TMainForm* main = nullptr;
  TTimer timer{nullptr};
  std::function<void()> answer;
};

TEST_F(ToolWindowsTest, MailDecoderPresetsFillTheControlsAndTheSample) {
  auto* mail = new TMailForm(Application);
  EXPECT_EQ(mail->LabelSample->Caption(), "=CF=F0=E8=E2");
  mail->PresetList->SetItemIndex(4);
  mail->PresetList->Click();
  EXPECT_EQ(mail->EditPrefix->Text(), "&#");
  EXPECT_EQ(mail->EditSuffix->Text(), ";");
  EXPECT_EQ(mail->RGCode->ItemIndex(), 1);
  EXPECT_EQ(mail->LabelSample->Caption(), "&#1067;&#1072;&#1074;");
  mail->ApplyPreset(3);
  EXPECT_EQ(mail->EditPrefix->Text(), "\\'");
  EXPECT_EQ(mail->RGCode->ItemIndex(), 0);
  EXPECT_EQ(mail->PresetList->ItemIndex(), 4);  // a preset keeps its own row
  mail->EditPrefix->SetText("%");
  EXPECT_EQ(mail->PresetList->ItemIndex(), 0);  // an edit makes it "Custom"
  EXPECT_EQ(mail->LabelSample->Caption(), "%CF%F0%E8%E2");
  TComponent::Free(mail);
}

TEST_F(ToolWindowsTest, MailDecoderDecodesTheTextOnOkOnly) {
  auto* mail = new TMailForm(Application);
  SetText(u"\u03b1 &#1055;&#1088;2 ok");
  Click("DecodeDelimited1", [&] {
    mail->ApplyPreset(4);
    mail->SetModalResult(mrCancel);
  });
  EXPECT_EQ(Text(), u"\u03b1 &#1055;&#1088;2 ok");
  EXPECT_FALSE(main->DocModified());
  Click("DecodeDelimited1", [&] { mail->SetModalResult(mrOk); });
  EXPECT_EQ(Text(), u"\u03b1 Пр2 ok");
  EXPECT_TRUE(main->DocModified());
  // The decoding is one undo step.
  main->Editor->Undo();
  EXPECT_EQ(Text(), u"\u03b1 &#1055;&#1088;2 ok");
  // A long text is decoded in the operation frame: Stop leaves it as it was.
  std::u16string big;
  while (big.size() < 200000) big += u"&#1055;&#1088; ";
  SetText(big);
  SetProgressMessagePump([this] {
    if (main->Busy()) ProgressCancel();
  });
  Click("DecodeDelimited1", [&] { mail->SetModalResult(mrOk); });
  SetProgressMessagePump(nullptr);
  EXPECT_EQ(Text(), big);
  EXPECT_FALSE(main->Busy());
  TComponent::Free(mail);
}

TEST_F(ToolWindowsTest, MixedCharactersFixAndMarkAsChosenAndCanBeTakenBack) {
  auto* mixed = new TMixedCharForm(Application);
  const std::u16string text = u"\U0001F600 h\u0435llo COPE Ту-134 world";
  SetText(text);
  Click("FixMixedCharacters1", [&] { mixed->SetModalResult(mrCancel); });
  EXPECT_EQ(Text(), text);
  EXPECT_FALSE(main->DocModified());
  Click("FixMixedCharacters1", [&] { mixed->SetModalResult(mrOk); });
  EXPECT_EQ(Text(), u"\U0001F600 hello COPE Ту-134 world");
  EXPECT_EQ(FormatAt(3).Color, uint32_t(clNavy));
  EXPECT_EQ(FormatAt(9).Color, uint32_t(clMaroon));
  EXPECT_EQ(FormatAt(14).Color, uint32_t(clMaroon));  // "Ту" is ambiguous too
  EXPECT_EQ(FormatAt(22).Color, RichAutoColor);
  EXPECT_EQ(main->Editor->SelStart(), 0);
  EXPECT_EQ(main->Editor->SelLength(), 0);
  EXPECT_TRUE(main->DocModified());
  // Step-by-step undo is off for this tool: the text before it is in the history.
  EXPECT_EQ(main->HistoryNames(), (std::vector<std::string>{"Original text", "Mixed characters"}));

  // Marks off, ambiguous words forced Cyrillic: changes without colours; digits stay digits.
  SetText(u"COPE A3 Ту-134");
  mixed->CBMarkFixed->SetChecked(false);
  mixed->CBMarkSusp->SetChecked(false);
  mixed->RBAmbRus->SetChecked(true);
  Click("FixMixedCharacters1", [&] { mixed->SetModalResult(mrOk); });
  EXPECT_EQ(Text(), u"СОРЕ А3 Ту-134");
  for (int pos : {0, 5, 8}) EXPECT_EQ(FormatAt(pos).Color, RichAutoColor) << pos;
  TComponent::Free(mixed);
}

TEST_F(ToolWindowsTest, MixedCharactersKeepTheirChoicesAndColoursInTheirOwnSection) {
  auto* mixed = new TMixedCharForm(Application);
  PickFromColourMenu(mixed->ColorSusp, clGreen);
  PickFromColourMenu(mixed->ColorFix, clTeal);
  mixed->CBMarkSusp->SetChecked(false);
  mixed->RBLat->SetChecked(true);
  TComponent::Free(mixed);
  mixed = new TMixedCharForm(Application);
  EXPECT_EQ(mixed->ColorSusp->Brush()->Color(), clGreen);
  EXPECT_EQ(mixed->ColorFix->Brush()->Color(), clTeal);
  EXPECT_FALSE(mixed->CBMarkSusp->Checked());
  EXPECT_TRUE(mixed->RBLat->Checked());
  EXPECT_FALSE(mixed->RBAuto->Checked());
  TWinRegistry registry(mixed->RegistryKey);
  EXPECT_EQ(registry.ReadInteger("Preferences", "ColorSusp.Brush.Color", -1), -1);
  EXPECT_EQ(registry.ReadInteger("MixedChar", "ColorSusp.Brush.Color", -1), int(clGreen));
  TComponent::Free(mixed);
}

TEST_F(ToolWindowsTest, VerifyLanguageGivesRunsTheirLanguagesAndColours) {
  auto* autoLang = new TAutoLangForm(Application);
  autoLang->CBEng->SetChecked(true);
  autoLang->CBRus->SetChecked(true);
  PickFromColourMenu(autoLang->ColorRus, clGreen);
  SetText(u"abc где пuр");
  Click("AutosetLanguage1", [&] { autoLang->SetModalResult(mrCancel); });
  EXPECT_EQ(FormatAt(0).Lcid, 0u);
  Click("AutosetLanguage1", [&] { autoLang->SetModalResult(mrOk); });
  EXPECT_EQ(Text(), u"abc где пuр");
  for (int pos : {0, 3, 9}) {
    EXPECT_EQ(FormatAt(pos).Lcid, 1033u) << pos;
    EXPECT_EQ(FormatAt(pos).Color, uint32_t(clPurple)) << pos;
  }
  for (int pos : {4, 6, 8, 10}) {
    EXPECT_EQ(FormatAt(pos).Lcid, 1049u) << pos;
    EXPECT_EQ(FormatAt(pos).Color, uint32_t(clGreen)) << pos;
  }
  EXPECT_EQ(main->Editor->SelStart(), 0);
  // All the marks are one undo step.
  main->Editor->Undo();
  for (int pos : {0, 4, 9}) EXPECT_EQ(FormatAt(pos).Lcid, 0u) << pos;

  // A plain text holds one format for all its characters: every mark takes the whole text, so
  // the last run's language and colour are left over all of it.
  main->Editor->SetPlainText(true);
  SetText(u"abc где");
  Click("AutosetLanguage1", [&] { autoLang->SetModalResult(mrOk); });
  for (int pos : {0, 4, 6}) {
    EXPECT_EQ(FormatAt(pos).Lcid, 1049u) << pos;
    EXPECT_EQ(FormatAt(pos).Color, uint32_t(clGreen)) << pos;
  }
  main->Editor->SetPlainText(false);

  // One character: nothing to tell apart, nothing changes.
  SetText(u"ж");
  Click("AutosetLanguage1", [&] { autoLang->SetModalResult(mrOk); });
  EXPECT_EQ(FormatAt(0).Lcid, 0u);
  EXPECT_EQ(FormatAt(0).Color, RichAutoColor);

  // Both colours and both switches are kept.
  PickFromColourMenu(autoLang->ColorEng, clTeal);
  TComponent::Free(autoLang);
  autoLang = new TAutoLangForm(Application);
  EXPECT_EQ(autoLang->ColorRus->Brush()->Color(), clGreen);
  EXPECT_EQ(autoLang->ColorEng->Brush()->Color(), clTeal);
  EXPECT_TRUE(autoLang->CBEng->Checked());
  EXPECT_TRUE(autoLang->CBRus->Checked());
  TComponent::Free(autoLang);
}

TEST_F(ToolWindowsTest, SortingOrdersCyrillicLinesAndReportsWhatIsMissing) {
  auto* sort = new TSortForm(Application);
  SetText(u"щука\rёж\rарбуз\r");
  Click("ListOperations1", [&] { sort->SetModalResult(mrCancel); });
  EXPECT_EQ(Text(), u"щука\rёж\rарбуз\r");
  Click("ListOperations1", [&] { sort->SetModalResult(mrOk); });
  EXPECT_EQ(Text(), u"арбуз\rёж\rщука\r");
  EXPECT_TRUE(main->DocModified());
  main->Editor->Undo();
  EXPECT_EQ(Text(), u"щука\rёж\rарбуз\r");

  // One character is no list: a message, nothing written.
  SetText(u"x");
  dialogs.Answer(TDialogKind::MessageDlg, mrOk);
  Click("ListOperations1", [&] { sort->SetModalResult(mrOk); });
  EXPECT_EQ(dialogs.Asked().back().Text, "There is no text in the editor to sort.");
  EXPECT_EQ(Text(), u"x");
  EXPECT_FALSE(main->Busy());

  // A file in, the editor out; a missing file and a missing output name are reported.
  world.WriteProgramFile("list.txt", "\xe1\r\n\xe0\r\n");
  sort->RBInFile->SetChecked(true);
  sort->InFile->SetText(world.ProgramFolder + "missing.txt");
  SetText(u"");
  dialogs.Answer(TDialogKind::MessageDlg, mrOk);
  Click("ListOperations1", [&] { sort->SetModalResult(mrOk); });
  EXPECT_EQ(dialogs.Asked().back().Text, "The input file does not exist.");
  sort->InFile->SetText(world.ProgramFolder + "list.txt");
  sort->RBOutFile->SetChecked(true);
  sort->OutFile->SetText("");
  dialogs.Answer(TDialogKind::MessageDlg, mrOk);
  Click("ListOperations1", [&] { sort->SetModalResult(mrOk); });
  EXPECT_EQ(dialogs.Asked().back().Text, "Please give the name of the output file.");
  sort->OutFile->SetText(world.ProgramFolder + "sorted.txt");
  Click("ListOperations1", [&] { sort->SetModalResult(mrOk); });
  EXPECT_EQ(ReadFileBytes(world.ProgramFolder + "sorted.txt"), "\xe0\r\n\xe1\r\n");
  // A file to a file leaves the empty document alone: nothing written into it, nothing to save.
  EXPECT_EQ(Text(), u"");
  EXPECT_FALSE(main->DocModified());

  // A UTF-8 file is read as UTF-8: sorted as Russian, and a Cyrillic filter matches.
  world.WriteProgramFile("names.txt", "Яков\nАнна\nБорис\nВера\n");
  sort->InFile->SetText(world.ProgramFolder + "names.txt");
  sort->RBOutEdit->SetChecked(true);
  sort->CBRemIf->SetChecked(true);
  sort->EditRemIf->SetText(Utf8ToAnsi("Бор"));
  sort->LangCombo->SetLanguage(1033);
  Click("ListOperations1", [&] { sort->SetModalResult(mrOk); });
  EXPECT_EQ(Text(), u"Анна\rВера\rЯков");
  EXPECT_EQ(main->Editor->Language(), 1033u);  // the editor takes the language chosen
  TComponent::Free(sort);
}

TEST_F(ToolWindowsTest, QuickConversionConvertsTheWorkTextOrItsOwnText) {
  auto* quick = new TQuickForm(Application);
  main->BindQuickForm();
  EXPECT_EQ(quick->Enc1->ItemIndex(), 3);  // KOI-8
  EXPECT_EQ(quick->Enc2->ItemIndex(), 0);  // Win-1251
  // KOI-8 "\xf0\xd2\xc9\xd7\xc5\xd4" is "Привет".
  main->WorkText = "\xf0\xd2\xc9\xd7\xc5\xd4";
  quick->BtnConvFwd->Click();
  EXPECT_EQ(main->WorkText, "\xcf\xf0\xe8\xe2\xe5\xf2");
  EXPECT_EQ(quick->ModalResult(), kQuickWorkTextDone);
  quick->BtnConvBwd->Click();
  EXPECT_EQ(main->WorkText, "\xf0\xd2\xc9\xd7\xc5\xd4");
  main->WorkText = "\xef\xf0\xe8\xe2\xe5\xf2";  // "привет"
  quick->BtnTransliterate->Click();
  EXPECT_EQ(main->WorkText, "privet");
  EXPECT_EQ(quick->ModalResult(), kQuickWorkTextDone);
  quick->Editor->SetTextW(u"ghbdtn \U0001F600 \u03b1");
  quick->BtnSwitchKbd->Click();
  EXPECT_EQ(quick->Editor->GetTextW(), u"привет \U0001F600 \u03b1");
  EXPECT_EQ(quick->ModalResult(), kQuickEditorDone);
  dynamic_cast<TSpeedButton*>(quick->FindComponent("BtnLoad"))->Click();
  EXPECT_EQ(quick->ModalResult(), mrOk);
  TComponent::Free(quick);
}

}  // namespace
