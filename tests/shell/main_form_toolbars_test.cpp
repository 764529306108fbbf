// The main window's toolbars: their first places and controls, the toolbar menu, "Align all",
// the places kept between sessions, the formatting toolbars in the views, and the formatting
// buttons and keys on the editor's selection.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "components/color_menu.h"
#include "components/flat_dock.h"
#include "components/font_combo.h"
#include "platform/gui/font_families.h"
#include "components/languages_combo.h"
#include "components/toolbar_controls.h"
#include "platform/gui/application.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/menus.h"
#include "platform/gui/wide_edit.h"
#include "shell/main_form.h"
#include "tests/shell/preferences_test_env.h"
#include "textcore/rich_edit.h"
#include "textcore/rich_edit_attributes.h"
#include "textcore/ruler.h"
#include "textcore/win_registry.h"

namespace {

const char* const kToolbarPos = "Software\\Vortanel\\Quillomark\\ToolbarPos";

class ToolbarsTest : public ::testing::Test {
protected:
  void SetUp() override {
    EnsureGuiApplication();
    form = new TMainForm(Application);
  }
  void TearDown() override { TComponent::Free(form); }
  // The names of a toolbar's controls from left to right, separators as "|".
  static std::vector<std::string> ControlsOf(const TWinControl* bar) {
    std::vector<TControl*> controls;
    for (int i = 0; i < bar->ControlCount(); ++i) controls.push_back(bar->Controls(i));
    std::sort(controls.begin(), controls.end(), [](TControl* a, TControl* b) { return a->Left() < b->Left(); });
    std::vector<std::string> names;
    for (TControl* c : controls)
      names.push_back(dynamic_cast<TFlatToolbarSep*>(c) ? std::string("|") : c->Name());
    return names;
  }
  TMenuItem* Item(const char* name) { return dynamic_cast<TMenuItem*>(form->FindComponent(name)); }
  void Key(uint16_t key) {
    form->Editor->OnKeyDown(form->Editor, key, ssCtrl);
    EXPECT_EQ(key, 0);  // swallowed
  }

  TTestWorld world;
  TMainForm* form = nullptr;
};

TEST_F(ToolbarsTest, EveryToolbarStartsInItsPlaceWithItsControlsInOrder) {
  using Names = std::vector<std::string>;
  struct Case {
    TFlatToolbar* bar;
    const char* caption;
    TFlatDock* dock;
    int row, pos;
    Names controls;
  };
  const Case cases[] = {
      {form->TBFile, "File", form->DockTop, 0, 0,
       {"BtnFileNew", "BtnFileOpen", "BtnFileSave", "|", "BtnFileSettings", "BtnPrintPreview", "BtnPrint"}},
      {form->TBEdit, "Edit", form->DockTop, 0, 157, {"BtnUndo", "BtnRedo", "|", "BtnCut", "BtnCopy", "BtnPaste"}},
      {form->TBView, "View", form->DockTop, 0, 291, {"ZoomBox"}},
      {form->TBConvert, "Convert", form->DockTop, 0, 366,
       {"BtnTransliterate", "BtnDeTransliterate", "|", "Enc1", "ConvBackButton", "ConvFwdButton", "Enc2", "|",
        "BtnAutoConvert", "BtnCodeToChar"}},
      {form->TBTools, "Tools", form->DockTop, 0, 632,
       {"BtnCalc", "BtnCharMap", "BtnGrammarCheck", "BtnReformat", "BtnOCRFix", "BtnSort"}},
      {form->TBFont, "Font", form->DockTop, 1, 0,
       {"FontName", "|", "FontSize", "|", "BoldButton", "ItalicButton", "UnderlineButton", "UnderStyleBtn", "|",
        "SubscriptButton", "SuperscriptButton", "FormatBar"}},
      {form->TBParagraph, "Paragraph", form->DockTop, 1, 389,
       {"BtnLineSpace", "LeftAlign", "CenterAlign", "RightAlign", "JustifyAlign", "|", "BtnNumStyle",
        "NumbersButton", "BulletsButton", "DecIndentBtn", "IncIndentBtn"}},
      {form->TBLanguage, "Language", form->DockTop, 1, 619, {"Panel5", "BtnVerifyLang"}},
      {form->TBHistory, "History", form->DockBottom, 0, 0, {"OriginalPreview"}},
  };
  for (const Case& c : cases) {
    ASSERT_NE(c.bar, nullptr) << c.caption;
    EXPECT_EQ(c.bar->Caption(), c.caption);
    EXPECT_EQ(c.bar->DockedTo(), c.dock) << c.caption;
    EXPECT_EQ(c.bar->DockRow(), c.row) << c.caption;
    EXPECT_EQ(c.bar->DockPos(), c.pos) << c.caption;
    EXPECT_EQ(c.bar->Left(), c.pos) << c.caption;
    EXPECT_EQ(ControlsOf(c.bar), c.controls) << c.caption;
    EXPECT_EQ(c.bar->PopupMenu(), form->ToolbarsPopup) << c.caption;
  }
  EXPECT_TRUE(form->DockLeft->Toolbars().empty());
  EXPECT_TRUE(form->DockRight->Toolbars().empty());
  // The history bar holds the list, its three commands and the preview.
  EXPECT_EQ(ControlsOf(form->OriginalPreview),
            (Names{"RevList", "BtnSendToHistory", "BtnLoadRev", "BtnSaveRev", "EditPreview"}));
  for (TControl* c : {static_cast<TControl*>(form->DockTop), static_cast<TControl*>(form->Ruler1)})
    EXPECT_EQ(c->PopupMenu(), form->ToolbarsPopup);
  EXPECT_EQ(form->UnderlineButton->Hint(), "Underline / Ctrl-U");
  EXPECT_EQ(form->JustifyAlign->Hint(), "Justify / Ctrl+J");
  EXPECT_EQ(form->ConvBackButton->Tag(), 1);
  // The drop-down buttons wait for their window: a click does nothing yet.
  EXPECT_EQ(dynamic_cast<TFlatToolbarButton*>(form->FindComponent("BtnNumStyle"))->Tag(), 1);
}

TEST_F(ToolbarsTest, TheMenuTogglesShowsHidesAndAlignsTheToolbars) {
  TPopupMenu* menu = form->ToolbarsPopup;
  ASSERT_NE(menu, nullptr);
  const std::vector<std::pair<std::string, int>> items = {
      {"File", 0}, {"Edit", 1}, {"View", 8}, {"Language", 2}, {"Font", 3}, {"Paragraph", 4}, {"Convert", 5},
      {"Tools", 6}, {"History", 7}, {"-", 0}, {"Show All", -2}, {"Hide All", -1}, {"Align all", -2}};
  ASSERT_EQ(menu->Items()->Count(), int(items.size()));
  for (size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(menu->Items()->Items(int(i))->Caption(), items[i].first);
    EXPECT_EQ(menu->Items()->Items(int(i))->Tag(), items[i].second) << items[i].first;
  }
  // Each numbered item belongs to its toolbar; the check marks follow on opening.
  form->TBTools->SetVisible(false);
  form->ToolbarsPopupPopup(menu);
  for (int i = 0; i < 9; ++i) {
    TMenuItem* item = menu->Items()->Items(i);
    EXPECT_EQ(item->Checked(), form->Toolbar(item->Tag())->Visible()) << item->Caption();
  }
  // The commands below them are no toolbars and carry no check mark.
  ASSERT_TRUE(form->TBFile->Visible());
  EXPECT_FALSE(Item("ShowAll1")->Checked());
  EXPECT_FALSE(Item("ResetAll1")->Checked());
  TMenuItem* tools = Item("ToolsTB");
  EXPECT_FALSE(tools->Checked());
  tools->Click();
  EXPECT_TRUE(tools->Checked());
  EXPECT_TRUE(form->TBTools->Visible());
  tools->Click();
  EXPECT_FALSE(form->TBTools->Visible());
  Item("HideAll1")->Click();
  for (int i = 0; i < 9; ++i) EXPECT_FALSE(form->Toolbar(i)->Visible()) << i;
  // Show All: the formatting toolbars only in the formatted view.
  form->UpdateViewMode(true);
  Item("ShowAll1")->Click();
  for (int i = 0; i < 9; ++i) {
    TFlatToolbar* bar = form->Toolbar(i);
    const bool formatting = bar == form->TBFont || bar == form->TBParagraph || bar == form->TBLanguage;
    EXPECT_EQ(bar->Visible(), !formatting) << bar->Name();
  }
  form->UpdateViewMode(false);
  Item("ShowAll1")->Click();
  for (int i = 0; i < 9; ++i) EXPECT_TRUE(form->Toolbar(i)->Visible()) << i;
  // Moved about, then aligned: fixed rows, each toolbar right after the visible ones before it.
  form->TBFile->SetDockedTo(nullptr);
  form->TBHistory->SetDockedTo(form->DockLeft);
  form->TBEdit->SetDockedTo(form->DockRight);
  form->TBFont->SetDockRow(3);
  form->TBEdit->SetVisible(false);
  Item("ResetAll1")->Click();
  const std::vector<std::vector<TFlatToolbar*>> rows = {
      {form->TBFile, form->TBEdit, form->TBConvert, form->TBTools, form->TBView},
      {form->TBFont, form->TBParagraph, form->TBLanguage}};
  for (size_t r = 0; r < rows.size(); ++r) {
    int pos = 0;
    for (TFlatToolbar* bar : rows[r]) {
      EXPECT_EQ(bar->DockedTo(), form->DockTop) << bar->Name();
      EXPECT_EQ(bar->DockRow(), int(r)) << bar->Name();
      if (!bar->Visible()) continue;
      EXPECT_EQ(bar->DockPos(), pos) << bar->Name();
      pos += bar->Width();
    }
  }
  EXPECT_EQ(form->TBConvert->DockPos(), form->TBFile->Width());  // the hidden Edit takes no room
  EXPECT_EQ(form->TBHistory->DockedTo(), form->DockBottom);
  EXPECT_EQ(form->TBHistory->DockPos(), 0);
  EXPECT_TRUE(form->DockLeft->Toolbars().empty());
  EXPECT_TRUE(form->DockRight->Toolbars().empty());
  // View > "Toolbars..." is there and pops the same menu up.
  ASSERT_TRUE(form->Toolbars1->Enabled());
  form->Toolbars1->Click();
}

TEST_F(ToolbarsTest, StoredPlacesComeBackAndADamagedOneDoesNotBreakTheStart) {
  form->TBTools->SetDockedTo(form->DockLeft);
  form->TBConvert->SetVisible(false);
  form->TBEdit->SetDockRow(2);
  TComponent::Free(form);  // the places are stored as the window goes
  form = new TMainForm(Application);
  EXPECT_EQ(form->TBTools->DockedTo(), form->DockLeft);
  EXPECT_FALSE(form->TBConvert->Visible());
  EXPECT_EQ(form->TBEdit->DockedTo(), form->DockTop);
  EXPECT_EQ(form->TBEdit->DockRow(), 2);
  EXPECT_EQ(TWinRegistry(kToolbarPos).ReadString("TBHistory", "DockedTo", ""), "DockBottom");
  TComponent::Free(form);
  form = nullptr;
  {
    TWinRegistry reg(kToolbarPos);
    reg.WriteString("TBFile", "DockedTo", "DockNowhere");
    reg.WriteString("TBEdit", "DockedTo", "DockTop");
    reg.WriteInteger("TBEdit", "DockRow", -7);
    reg.WriteInteger("TBEdit", "DockPos", -100000);
    reg.WriteString("TBView", "DockedTo", "nil");
    reg.WriteInteger("TBView", "FloatLeft", 2000000000);
    reg.WriteInteger("TBView", "FloatTop", -2000000000);
    reg.WriteInteger("TBView", "FloatRight", -5);
    reg.WriteInteger("TBView", "FloatBottom", 7);
    reg.WriteString("TBTools", "DockedTo", "");
    reg.WriteString("TBTools", "Visible", "yes");
    reg.WriteString("TBFont", "DockedTo", "Ruler1");
  }
  form = new TMainForm(Application);
  EXPECT_EQ(form->TBFile->DockedTo(), form->DockTop);  // no such dock: where the layout put it
  EXPECT_EQ(form->TBFont->DockedTo(), form->DockTop);
  EXPECT_EQ(form->TBEdit->DockedTo(), form->DockTop);
  EXPECT_GE(form->TBEdit->DockRow(), 0);
  EXPECT_GE(form->TBEdit->Left(), 0);
  EXPECT_TRUE(form->TBTools->Visible());
  EXPECT_TRUE(form->TBView->Floating());
  EXPECT_GT(form->TBView->Width(), 0);
}

TEST_F(ToolbarsTest, NoToolbarTakesCommandsWhileAnOperationRuns) {
  form->TBTools->SetDockedTo(form->DockLeft);
  form->TBFile->SetDockedTo(nullptr);
  for (bool busy : {true, false}) {
    form->SetBusy(busy);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(form->Toolbar(i)->Enabled(), !busy) << form->Toolbar(i)->Name();
    EXPECT_EQ(form->DockBottom->Enabled(), !busy);
  }
}

TEST_F(ToolbarsTest, TheHistoryPreviewRestsWhileItsToolbarIsHidden) {
  form->Editor->SetTextW(u"first state of the text");
  form->ConvSendToHistoryExecute(form);
  form->Editor->SetTextW(u"second state of the text");
  form->ConvSendToHistoryExecute(form);
  form->Editor->SetSelStart(0);
  form->UpdateStatusBar();
  EXPECT_FALSE(form->EditPreview->WideText().empty());
  Item("HistoryTB")->Click();
  ASSERT_FALSE(form->TBHistory->Visible());
  form->UpdateStatusBar();
  EXPECT_TRUE(form->EditPreview->WideText().empty());
}

TEST_F(ToolbarsTest, FormattingToolbarsFollowTheView) {
  TFlatToolbar* const formatting[] = {form->TBFont, form->TBParagraph, form->TBLanguage};
  TMenuItem* const items[] = {form->FontTB, form->ParagraphTB, form->LanguageTB};
  form->Editor->SetTextW(u"text");
  for (bool plain : {true, false, true, false}) {
    form->UpdateViewMode(plain);
    for (TFlatToolbar* bar : formatting) EXPECT_EQ(bar->Visible(), !plain) << bar->Name();
    for (TMenuItem* item : items) EXPECT_EQ(item->Visible(), !plain) << item->Name();
    EXPECT_TRUE(form->TBFile->Visible());
    EXPECT_TRUE(form->TBHistory->Visible());
  }
}

TEST_F(ToolbarsTest, FormattingButtonsAndKeysActOnTheSelection) {
  form->Editor->SetTextW(u"first paragraph\rsecond");
  form->Editor->SetSelStart(0);
  form->Editor->SetSelLength(5);
  TParaAttributesW& paragraph = *form->Editor->Paragraph();
  const TColor unhighlighted = form->Editor->SelAttributes()->BackColor();
  // Ctrl+J justifies and presses its button; Ctrl+E centres and lets it go.
  Key('J');
  EXPECT_EQ(paragraph.Alignment(), paJustify);
  EXPECT_TRUE(form->JustifyAlign->Down());
  Key('E');
  EXPECT_EQ(paragraph.Alignment(), paCenter);
  EXPECT_FALSE(form->JustifyAlign->Down());
  form->JustifyAlign->Press();
  EXPECT_EQ(paragraph.Alignment(), paJustify);
  // Ctrl+] and Ctrl+[ move the paragraph's indent in and back out.
  const int left = paragraph.LeftIndent() + paragraph.FirstIndent();
  Key(0xDD);
  const int indented = paragraph.LeftIndent() + paragraph.FirstIndent();
  EXPECT_GT(indented, left);
  Key(0xDB);
  EXPECT_EQ(paragraph.LeftIndent() + paragraph.FirstIndent(), left);
  form->IncIndentBtn->Press();
  EXPECT_EQ(paragraph.LeftIndent() + paragraph.FirstIndent(), indented);
  // The colour buttons apply the colour stored with them; the menus store another and apply it.
  form->TextColorBtn->Press();
  EXPECT_EQ(form->Editor->SelAttributes()->Color(), form->TextColor());
  form->ColorMenuColorSelect(form->ColorMenu, 0, clBlue);
  EXPECT_EQ(form->TextColor(), clBlue);
  EXPECT_EQ(form->Editor->SelAttributes()->Color(), clBlue);
  EXPECT_EQ(form->TextColorBtn->Glyph()->Canvas()->Pixel(8, 14), clBlue);  // the bar under the glyph
  form->ColorMenuColorSelect(form->HighlightMenu, 0, clLime);
  EXPECT_EQ(form->Editor->SelAttributes()->BackColor(), clLime);
  form->ColorMenuColorSelect(form->HighlightMenu, 0, clNone);  // "None": no highlight
  EXPECT_EQ(form->Editor->SelAttributes()->BackColor(), unhighlighted);
  // In the plain view the keys are swallowed and change nothing.
  form->UpdateViewMode(true);
  form->Editor->SetSelStart(0);
  const TParaAlignment before = form->Editor->Paragraph()->Alignment();
  Key('J');
  Key(0xDD);
  EXPECT_EQ(form->Editor->Paragraph()->Alignment(), before);
}

TEST_F(ToolbarsTest, TheLanguageComboSetsTheSelectionsLanguage) {
  form->LanguagesCombo1->SetLocaleSource(
      {[](bool) { return std::vector<LCID>{1033, 1049}; },
       [](LCID id, TLocaleNameKind) { return std::to_string(id); }});
  form->Editor->OnSelectionChange(form->Editor);  // the empty document: the editor's language
  EXPECT_EQ(form->LanguagesCombo1->Language(), form->Editor->Language());
  form->Editor->SetTextW(u"word word");
  form->Editor->SetSelStart(5);
  form->Editor->SetSelLength(4);
  form->Editor->SelAttributes()->SetLanguage(1049);
  form->Editor->SetSelStart(0);
  form->Editor->SetSelLength(4);
  form->LanguagesCombo1->SetLanguage(1033);
  form->LanguagesCombo1Change(form->LanguagesCombo1);
  EXPECT_EQ(form->Editor->SelAttributes()->Language(), 1033u);
  // A selection change shows the selection's language.
  form->Editor->SetSelStart(6);
  form->Editor->SetSelLength(1);
  form->Editor->OnSelectionChange(form->Editor);
  EXPECT_EQ(form->LanguagesCombo1->Language(), 1049u);
}

}  // namespace

namespace {

TEST_F(ToolbarsTest, TheFontBoxListsTheInstalledFamiliesWithTheRecentOnesFirst) {
  const std::vector<TFontFamily> installed = InstalledFontFamilies();
  ASSERT_FALSE(installed.empty());
  TStrings& items = *form->FontName->Items();
  for (const TFontFamily& family : installed) EXPECT_GE(items.IndexOf(family.Name), 0) << family.Name;
  EXPECT_LT(items.IndexOf("Times New Roman"), 0) << "only fonts that are installed";
  // A chosen font heads the list, below it a separator, and it is kept for the next start.
  form->Editor->SetTextW(u"text");
  form->Editor->SelectAll();
  form->FontName->SetText(installed.back().Name);
  form->FontNameChange(form->FontName);
  EXPECT_EQ(items.Strings(0), installed.back().Name);
  EXPECT_EQ(items.Strings(1), "-");
  EXPECT_EQ(TWinRegistry("Software\\Vortanel\\Quillomark").ReadString("RecentFonts", "0", ""), installed.back().Name);
}

}  // namespace
