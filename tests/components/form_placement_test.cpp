// Form placement and stored properties: the registry layout a form's storage writes, what a
// restore takes back (screen-size suffix, pixels per inch, version, show command), the stored
// property kinds, the lifecycle (never shown, shown again) and damaged stores.
#include <gtest/gtest.h>

#include <memory>

#include "components/form_placement.h"
#include "components/placement_values.h"
#include "components/props_storage.h"
#include "platform/gui/application.h"
#include "platform/gui/form.h"
#include "platform/gui/form_reader.h"
#include "platform/gui/std_controls.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "tests/platform/temp_folder.h"
#include "textcore/string_routines.h"
#include "textcore/win_registry.h"

namespace {

const char* const kKey = "Software\\Vortanel\\PlacementTest";

const char* const kLayout = R"(
object PlacementForm: TForm
  Left = 100
  Top = 80
  Width = 300
  Height = 200
  object CheckBox1: TCheckBox
    Caption = 'Check'
  end
  object Edit1: TEdit
    Text = 'designed'
  end
  object Memo1: TMemo
  end
  object FormStorage1: TFormStorage
    IniFileName = 'Software\Vortanel\PlacementTest'
    IniSection = 'Sect'
    UseRegistry = True
    StoredProps = ('CheckBox1.Checked' 'Edit1.Text' 'Memo1.Lines' 'Gone1.Text' 'Foo' '.X' 'A.' 'Edit1.NoSuchProp')
  end
end
)";

class FormPlacementTest : public ::testing::Test {
protected:
  void SetUp() override { EnsureGuiApplication(); }
  // A form made from the layout, with its storage and controls.
  std::unique_ptr<TForm> MakeForm() {
    auto form = std::make_unique<TForm>(nullptr);
    ReadLayout(*form, kLayout, "placement.qfm");
    storage = dynamic_cast<TFormStorage*>(form->FindComponent("FormStorage1"));
    return form;
  }
  static TWinRegistry Reg() { return TWinRegistry(kKey); }
  static std::string Suffixed(const std::string& name) { return ScreenSuffixedName(name, Screen->Width(), Screen->Height()); }

  TempFolder folder;
  ScopedEnv config{"QUILLOMARK_CONFIG_DIR", folder.Name()};
  TFormStorage* storage = nullptr;
};

TEST(PlacementValues, NumbersRectanglesAndShowCommands) {
  EXPECT_EQ(PlacementTextToRect("10, 20,(30) [40]", Rect(1, 2, 3, 4)), Rect(10, 20, 30, 40));
  // A missing or bad number takes the current one.
  EXPECT_EQ(PlacementTextToRect("10,x,30", Rect(1, 2, 3, 4)), Rect(10, 2, 30, 4));
  EXPECT_EQ(PlacementTextToRect("", Rect(1, 2, 3, 4)), Rect(1, 2, 3, 4));
  EXPECT_EQ(RectToPlacementText(Rect(-5, 6, 70, 80)), "-5,6,70,80");
  EXPECT_EQ(ScreenSuffixedName("NormPos", 1024, 768), "NormPos(1024x768)");
  struct Case { int cmd; bool mainDefault; TWindowState state; };
  for (const Case& c : {Case{1, false, wsNormal}, Case{5, false, wsNormal}, Case{9, true, wsNormal},
                        Case{2, false, wsMinimized}, Case{6, false, wsMinimized}, Case{7, false, wsMinimized},
                        Case{3, false, wsMaximized}, Case{0, false, wsNormal}, Case{0, true, wsMaximized},
                        Case{42, true, wsMaximized}})
    EXPECT_EQ(StateFromShowCmd(c.cmd, c.mainDefault), c.state) << c.cmd;
}

TEST(PlacementValues, AWindowOffEveryScreenComesBackInsideTheWorkArea) {
  const std::vector<TRect> monitors = {Rect(0, 0, 1024, 768)};
  const TRect work = Rect(0, 0, 1024, 740);
  struct Case { TRect in, out; };
  for (const Case& c : {
           Case{Bounds(100, 100, 300, 200), Bounds(100, 100, 300, 200)},   // on the screen
           Case{Bounds(900, 700, 300, 200), Bounds(900, 700, 300, 200)},   // partly on it, caption reachable
           Case{Bounds(1500, 100, 300, 200), Bounds(724, 100, 300, 200)},  // on a screen that is gone
           Case{Bounds(-400, -300, 300, 200), Bounds(0, 0, 300, 200)},     // above and left
           Case{Bounds(100, -150, 300, 200), Bounds(100, 0, 300, 200)},    // caption above the screen
           Case{Bounds(3000, 3000, 2000, 900), Bounds(0, 0, 1024, 740)},   // larger than the work area
       })
    EXPECT_EQ(KeepOnDesktop(c.in, monitors, work), c.out) << c.in.Left << "," << c.in.Top;
  // A second screen to the right keeps a window there.
  EXPECT_EQ(KeepOnDesktop(Bounds(1500, 100, 300, 200), {Rect(0, 0, 1024, 768), Rect(1024, 0, 2048, 768)}, work),
            Bounds(1500, 100, 300, 200));
}

TEST(PlacementValues, StoredPropEntriesNeedBothSides) {
  EXPECT_EQ(SplitStoredProp(" ShowRuler1 . Checked "), std::make_pair(std::string("ShowRuler1"), std::string("Checked")));
  for (const char* bad : {"Foo", ".X", "A.", " . ", ""}) EXPECT_FALSE(SplitStoredProp(bad)) << bad;
}

TEST_F(FormPlacementTest, SaveWritesThePlacementValuesAndTheStoredProperties) {
  auto form = MakeForm();
  storage->SetVersion(3);
  form->Show();
  form->SetBounds(40, 50, 320, 210);
  Application->ProcessMessages();
  ASSERT_EQ(form->BoundsRect(), Bounds(40, 50, 320, 210));
  auto* check = dynamic_cast<TCheckBox*>(form->FindComponent("CheckBox1"));
  check->SetChecked(true);
  SetStrProp(*form->FindComponent("Edit1"), "Text", "typed");
  SetStringsProp(*form->FindComponent("Memo1"), "Lines", {"one", "two"});
  storage->SaveFormPlacement();

  TWinRegistry reg = Reg();
  EXPECT_EQ(reg.ReadInteger("Sect", "FormVersion", -1), 3);
  EXPECT_EQ(reg.ReadInteger("Sect", "PixelsPerInch", -1), Screen->PixelsPerInch());
  EXPECT_EQ(reg.ReadInteger("Sect", "ShowCmd", -1), SW_SHOWNORMAL);
  EXPECT_EQ(reg.ReadInteger("Sect", "Flags", -1), 0);
  EXPECT_EQ(reg.ReadString("Sect", "NormPos", ""), "40,50,360,260");
  EXPECT_EQ(reg.ReadString("Sect", Suffixed("NormPos"), ""), "40,50,360,260");
  EXPECT_EQ(reg.ReadString("Sect", "MinMaxPos", ""), "-1,-1,-1,-1");
  EXPECT_EQ(reg.ReadString("Sect", "Visible", ""), "True");
  EXPECT_EQ(reg.ReadString("Sect", "CheckBox1_Checked", ""), "True");
  EXPECT_EQ(reg.ReadString("Sect", "Edit1_Text", ""), "typed");
  EXPECT_EQ(reg.ReadInteger("Sect.Memo1_Lines", "Count", -1), 2);
  EXPECT_EQ(reg.ReadString("Sect.Memo1_Lines", "Item1", ""), "two");
  // Entries without both sides, removed components and unknown properties are skipped.
  EXPECT_EQ(reg.ReadString("Sect", "Gone1_Text", "none"), "none");
  EXPECT_EQ(reg.ReadString("Sect", "Edit1_NoSuchProp", "none"), "none");

  // A new form takes it all back on its first show.
  form.reset();
  auto again = MakeForm();
  again->Show();
  EXPECT_EQ(again->BoundsRect(), Bounds(40, 50, 320, 210));
  EXPECT_TRUE(dynamic_cast<TCheckBox*>(again->FindComponent("CheckBox1"))->Checked());
  EXPECT_EQ(GetStrProp(*again->FindComponent("Edit1"), "Text"), "typed");
  EXPECT_EQ(GetStringsProp(*again->FindComponent("Memo1"), "Lines"), (std::vector<std::string>{"one", "two"}));
}

TEST_F(FormPlacementTest, TheSuffixedPositionWinsAndThePlainOneStandsIn) {
  TWinRegistry reg = Reg();
  reg.WriteInteger("Sect", "PixelsPerInch", Screen->PixelsPerInch());
  reg.WriteString("Sect", "NormPos", "10,20,210,170");
  {
    auto form = MakeForm();
    form->Show();
    EXPECT_EQ(form->BoundsRect(), Rect(10, 20, 210, 170));
  }
  reg.WriteString("Sect", Suffixed("NormPos"), "30,40,230,190");
  auto form = MakeForm();
  form->Show();
  EXPECT_EQ(form->BoundsRect(), Rect(30, 40, 230, 190));
}

TEST_F(FormPlacementTest, OtherPixelsPerInchOrAnOlderVersionKeepTheDesignedPlace) {
  TWinRegistry reg = Reg();
  reg.WriteString("Sect", "NormPos", "10,20,210,170");
  reg.WriteString("Sect", "Edit1_Text", "stored");
  reg.WriteInteger("Sect", "PixelsPerInch", Screen->PixelsPerInch() + 24);
  {
    auto form = MakeForm();
    form->Show();
    EXPECT_EQ(form->BoundsRect(), Bounds(100, 80, 300, 200));
    EXPECT_EQ(GetStrProp(*form->FindComponent("Edit1"), "Text"), "stored");
  }
  reg.WriteInteger("Sect", "PixelsPerInch", Screen->PixelsPerInch());
  reg.WriteInteger("Sect", "FormVersion", 1);
  auto form = MakeForm();
  storage->SetVersion(2);
  form->Show();
  EXPECT_EQ(form->BoundsRect(), Bounds(100, 80, 300, 200));
  EXPECT_EQ(GetStrProp(*form->FindComponent("Edit1"), "Text"), "designed");
  // The next save writes the new version, so the data counts again after it.
  form->Close();
  EXPECT_EQ(reg.ReadInteger("Sect", "FormVersion", -1), 2);
}

TEST_F(FormPlacementTest, ANeverShownFormKeepsTheStoredData) {
  Reg().WriteString("Sect", "NormPos", "1,2,3,4");
  MakeForm().reset();
  EXPECT_EQ(Reg().ReadString("Sect", "NormPos", ""), "1,2,3,4");
}

TEST_F(FormPlacementTest, AWindowShownAgainAfterClosingSavesItsNewPlaceAtTheEnd) {
  auto form = MakeForm();
  form->Show();
  form->Close();  // hides and saves
  EXPECT_EQ(Reg().ReadString("Sect", "NormPos", ""), "100,80,400,280");
  form->Show();
  form->SetBounds(60, 70, 300, 200);
  SetStrProp(*form->FindComponent("Edit1"), "Text", "later");
  form.reset();  // the program ends with the window still open
  EXPECT_EQ(Reg().ReadString("Sect", "NormPos", ""), "60,70,360,270");
  EXPECT_EQ(Reg().ReadString("Sect", "Edit1_Text", ""), "later");
}

TEST_F(FormPlacementTest, APlaceOffEveryScreenIsBroughtBack) {
  Reg().WriteInteger("Sect", "PixelsPerInch", Screen->PixelsPerInch());
  Reg().WriteString("Sect", "NormPos", "30000,30000,30300,30200");
  auto form = MakeForm();
  form->Show();
  const TRect work = Screen->WorkAreaRect();
  EXPECT_LE(form->Left() + form->Width(), work.Right);
  EXPECT_LE(form->Top() + form->Height(), work.Bottom);
  EXPECT_EQ(form->Width(), std::min(300, work.Width()));
}

// Closing a window whose stored lists did not change leaves the settings file alone; a list
// that changed, even only in its number of lines, is written.
TEST_F(FormPlacementTest, AnUnchangedStoredListIsNotWrittenAgain) {
  auto form = MakeForm();
  form->Show();
  const std::string file = folder.Name() + "HKEY_CURRENT_USER.registry";
  for (const std::vector<std::string>& lines : {std::vector<std::string>{}, {"one", "two"}, {"one"}, {"three", "four", "five"}}) {
    SetStringsProp(*form->FindComponent("Memo1"), "Lines", lines);
    storage->SaveFormPlacement();
    const TFileStamp written = GetFileStamp(file);
    EXPECT_EQ(Reg().ReadInteger("Sect.Memo1_Lines", "Count", -1), int(lines.size()));
    storage->SaveFormPlacement();
    EXPECT_EQ(GetFileStamp(file), written) << lines.size();
  }
}

TEST_F(FormPlacementTest, ADamagedCountReadsOnlyTheLinesThereAre) {
  TWinRegistry reg = Reg();
  reg.WriteInteger("Sect.Memo1_Lines", "Count", 2147483647);
  reg.WriteString("Sect.Memo1_Lines", "Item0", "first");
  reg.WriteString("Sect.Memo1_Lines", "Item1", "second");
  reg.WriteString("Sect", "CheckBox1_Checked", "not a boolean");
  reg.WriteString("Sect", "ShowCmd", "garbage");
  auto form = MakeForm();
  form->Show();
  const auto lines = GetStringsProp(*form->FindComponent("Memo1"), "Lines");
  ASSERT_LE(lines.size(), 3u);
  EXPECT_EQ(lines[0], "first");
  EXPECT_EQ(lines[1], "second");
  EXPECT_FALSE(dynamic_cast<TCheckBox*>(form->FindComponent("CheckBox1"))->Checked());
  EXPECT_EQ(form->WindowState(), wsNormal);
}

TEST_F(FormPlacementTest, StoredValuesAreXorEncodedWithAKeyString) {
  auto form = MakeForm();
  TStoredValue* plain = storage->StoredValues()->Add();
  plain->Name = "Plain";
  plain->Value = "abc";
  TStoredValue* secret = storage->StoredValues()->Add();
  secret->Name = "Secret";
  secret->Value = "text";
  secret->KeyString = "k";
  form->Show();
  int restored = 0;
  secret->OnRestore = [&](TObject*, std::string& v) { ++restored; v += "!"; };
  storage->SaveFormPlacement();
  EXPECT_EQ(Reg().ReadString("Sect", "Plain", ""), "abc");
  EXPECT_EQ(Reg().ReadString("Sect", "Secret", ""), XorEncode("k", "text"));
  secret->Value = "changed";
  storage->RestoreFormPlacement();
  EXPECT_EQ(secret->Value, "text!");
  EXPECT_EQ(restored, 1);
}

TEST_F(FormPlacementTest, AnIniFileKeepsAQuotedStringAsItIs) {
  auto form = MakeForm();
  storage->SetUseRegistry(false);
  storage->SetIniFileName(folder.Name() + "test.ini");
  SetStrProp(*form->FindComponent("Edit1"), "Text", "\"a\"");
  form->Show();
  storage->SaveFormPlacement();
  SetStrProp(*form->FindComponent("Edit1"), "Text", "x");
  storage->RestoreFormPlacement();
  EXPECT_EQ(GetStrProp(*form->FindComponent("Edit1"), "Text"), "\"a\"");
}

TEST_F(FormPlacementTest, ShowCommandsRestoreTheWindowState) {
  Reg().WriteInteger("Sect", "ShowCmd", SW_SHOWMAXIMIZED);
  auto form = MakeForm();
  form->Show();
  EXPECT_EQ(form->WindowState(), wsMaximized);
  // The normal place is what is saved while maximised.
  storage->SaveFormPlacement();
  EXPECT_EQ(Reg().ReadInteger("Sect", "ShowCmd", -1), SW_SHOWMAXIMIZED);
}

TEST_F(FormPlacementTest, RecentListsLoadAndSaveWithThePlacement) {
  auto form = MakeForm();
  auto* mru = new TMRUManager(form.get());
  mru->SetName("MRUManager1");
  mru->SetIniStorage(storage);
  form->Show();
  mru->Add("/docs/a.txt", 3);
  mru->Add("/docs/b.txt", 4);
  form->Close();
  EXPECT_EQ(Reg().ReadString("Sect\\TForm.MRUManager1", "Item_0", ""), "/docs/b.txt");
  EXPECT_EQ(Reg().ReadInteger("Sect\\TForm.MRUManager1", "Data_1", -1), 3);
  form.reset();
  auto again = MakeForm();
  auto* list = new TMRUManager(again.get());
  list->SetName("MRUManager1");
  list->SetIniStorage(storage);
  storage->RestoreFormPlacement();
  ASSERT_EQ(list->Strings().Count(), 2);
  EXPECT_EQ(list->Strings()[0], "/docs/b.txt");
}

}  // namespace
