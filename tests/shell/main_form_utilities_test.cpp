// The Tools menu shows the utilities beside the main window, linked to its editor.
#include <gtest/gtest.h>

#include "components/clipboard_viewer.h"
#include "components/ex_draw_grid.h"
#include "platform/gui/application.h"
#include "platform/gui/clipboard_image.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/control_grab.h"
#include "platform/gui/graphics.h"
#include "platform/gui/clipboard.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/menus.h"
#include "platform/gui/std_controls.h"
#include "preferences_test_env.h"
#include "proofing/spell_windows.h"
#include "shell/main_form.h"
#include "shell/single_instance_window.h"
#include "textcore/rich_edit.h"
#include "tools/adv_spinner.h"
#include "tools/calc_form.h"
#include "tools/char_map_form.h"
#include "tools/collect_form.h"
#include "tools/rev_form.h"
#include "tools/special_char_form.h"

namespace {

class UtilityCommandsTest : public ::testing::Test {
protected:
  void SetUp() override {
    EnsureGuiApplication();
    main = new TMainForm(Application);
    CalcForm = new TCalcForm(Application);
    FormGenChar = new TFormGenChar(Application);
    SpecialCharForm = new TSpecialCharForm(Application);
    CollectForm = new TCollectForm(Application);
    new TRevForm(Application);
    main->BindInsertingWindows();  // as the start-up does once every window exists
  }
  void TearDown() override {
    TComponent::Free(RevForm);
    TComponent::Free(CollectForm);
    TComponent::Free(SpecialCharForm);
    CollectForm = nullptr;
    SpecialCharForm = nullptr;
    TComponent::Free(FormGenChar);
    TComponent::Free(CalcForm);
    TComponent::Free(main);
    FormGenChar = nullptr;
    CalcForm = nullptr;
    EXPECT_TRUE(dialogs.Unexpected().empty());
  }
  void Click(const char* name) {
    auto* item = dynamic_cast<TMenuItem*>(main->FindComponent(name));
    ASSERT_NE(item, nullptr) << name;
    item->Click();
  }

  TTestWorld world;
  TScriptedDialogs dialogs;
  TMainForm* main = nullptr;
};

TEST_F(UtilityCommandsTest, ToolsMenuShowsTheUtilitiesLinkedToTheEditor) {
  Click("GraphicCalculator1");
  EXPECT_TRUE(CalcForm->Visible());
  Click("CharacterMap1");
  EXPECT_TRUE(FormGenChar->Visible());
  EXPECT_EQ(FormGenChar->Editor, main->Editor);
}

// The character map and the special symbols are made when first needed, also by each other:
// the symbols' "Add..." shows the character map, whose Add adds to the symbols.
TEST_F(UtilityCommandsTest, SymbolsAndCharacterMapMakeEachOtherWhenFirstNeeded) {
  TComponent::Free(FormGenChar);
  FormGenChar = nullptr;
  auto* add = dynamic_cast<TMenuItem*>(SpecialCharForm->FindComponent("AddItem"));
  ASSERT_NE(add, nullptr);
  add->Click();
  ASSERT_TRUE(FormGenChar);
  EXPECT_TRUE(FormGenChar->Visible());
  EXPECT_EQ(FormGenChar->Editor, main->Editor);

  TComponent::Free(SpecialCharForm);
  SpecialCharForm = nullptr;
  FormGenChar->ApplyBlock(5);
  FormGenChar->Grid->SetCol(1);
  FormGenChar->Grid->SetRow(0);
  FormGenChar->AddSelected();
  ASSERT_TRUE(SpecialCharForm);
  EXPECT_TRUE(SpecialCharForm->Visible());
  EXPECT_EQ(SpecialCharForm->Symbols().back().rfind("1025=", 0), 0u);
  EXPECT_EQ(SpecialCharForm->Editor, main->Editor);
}

// Pixels of a control as it shows on the screen.
TColor PixelOf(TControl& control, int x, int y) {
  TBitmap picture;
  GrabControl(control, picture);
  return picture.Canvas()->Pixel(x, y);
}

TEST_F(UtilityCommandsTest, CalculatorNumberSystemsPopUpInColumnsAndShowTheChoice) {
  Click("GraphicCalculator1");
  CalcForm->Edit1->SetText("255");
  CalcForm->Calculate();
  TAdvSpinner* spin = CalcForm->SpinHex;
  spin->SetBreak(2);
  spin->Button(sbValue)->Click();
  TMenuItem* items = spin->ValuePopup()->Items();
  std::vector<std::string> captions;
  std::vector<TMenuBreakKind> breaks;
  for (int i = 0; i < items->Count(); ++i) {
    captions.push_back(items->Items(i)->Caption());
    breaks.push_back(items->Items(i)->Break());
  }
  EXPECT_EQ(captions, (std::vector<std::string>{"Dec", "Hex", "Oct", "Bin", "Roman"}));
  EXPECT_EQ(breaks, (std::vector<TMenuBreakKind>{mbNone, mbNone, mbBarBreak, mbNone, mbBarBreak}));
  EXPECT_TRUE(items->Items(0)->Checked());
  items->Items(1)->Click();
  EXPECT_EQ(spin->Position(), 1);
  EXPECT_EQ(CalcForm->ResDec->GetText(), "FF");

  // The value's text follows the spinner's font and alignment.
  spin->Font()->SetColor(clRed);
  TAdvSpinButton* value = spin->Button(sbValue);
  EXPECT_EQ(value->Font()->Color(), clRed);
  for (const TAlignment align : {taLeftJustify, taRightJustify}) {
    spin->SetValueAlign(align);
    TBitmap picture;
    GrabControl(*value, picture);
    int first = value->Width(), last = -1;
    for (int x = 0; x < value->Width(); ++x)
      for (int y = 0; y < value->Height(); ++y) {
        const TColor c = picture.Canvas()->Pixel(x, y);
        if ((c & 0xFF) > 150 && ((c >> 8) & 0xFF) < 100 && ((c >> 16) & 0xFF) < 100) {
          first = std::min(first, x);
          last = std::max(last, x);
        }
      }
    ASSERT_GE(last, 0) << "no text painted";
    if (align == taLeftJustify) EXPECT_LT(last, value->Width() / 2);
    else EXPECT_GT(first, value->Width() / 2);
  }
}

TEST_F(UtilityCommandsTest, CalculatorSpinnerPaintsItsBarStylesAndTakesPresses) {
  Click("GraphicCalculator1");
  CalcForm->Edit1->SetText("255");
  CalcForm->Calculate();
  TAdvSpinner* spin = CalcForm->SpinHex;  // five positions on a value button 110 wide
  TAdvSpinButton* value = spin->Button(sbValue);
  ASSERT_EQ(value->Width(), 110);
  spin->SetPosition(1);
  const int bottom = value->Height() - 4;
  const auto centre = [](int cell) { return 2 + 21 * cell + 10; };
  const TColor bar = spin->BarColor(), thumb = spin->ThumbColor();
  EXPECT_EQ(bar, TColor(0xC08080));
  EXPECT_EQ(thumb, TColor(10877688));
  for (const TSpinValueStyle style : {vsScrollBar, vsGauge, vsVolumeGauge}) {
    spin->SetValueStyle(style);
    EXPECT_EQ(PixelOf(*value, centre(0), bottom), bar) << style;
    EXPECT_EQ(PixelOf(*value, centre(1), bottom), thumb) << style;
    const TColor after = PixelOf(*value, centre(3), bottom);
    if (style == vsScrollBar) EXPECT_EQ(after, bar);
    else EXPECT_TRUE(after != bar && after != thumb) << style;
  }
  // A volume gauge's bars rise: the first is low, so its top row is no bar.
  EXPECT_NE(PixelOf(*value, centre(0), 3), bar);
  // A press picks the cell under it, and the calculator shows the result in that system.
  value->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(centre(3), 5));
  value->Perform(WM_LBUTTONUP, 0, MakeLParam(centre(3), 5));
  EXPECT_EQ(spin->Position(), 3);
  EXPECT_EQ(CalcForm->ResDec->GetText(), "11111111");
  // Owner drawing is asked for every cell with its position.
  std::vector<int> drawn;
  spin->OnDraw = [&](TObject*, TCanvas*, int pos, const TRect&) { drawn.push_back(pos); };
  spin->SetValueStyle(vsOwnerDraw);
  PixelOf(*value, 0, 0);
  EXPECT_EQ(drawn, (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST_F(UtilityCommandsTest, SpecialSymbolsAndTheClipboardWindowFollowTheirItems) {
  Click("InsertSymbol1");
  EXPECT_TRUE(SpecialCharForm->Visible());
  EXPECT_EQ(SpecialCharForm->Editor, main->Editor);
  Click("ClipboardPane1");
  EXPECT_TRUE(CollectForm->Visible());
  EXPECT_EQ(CollectForm->Editor, main->Editor);
  Click("ClipboardPane1");
  EXPECT_FALSE(CollectForm->Visible());
}

TEST_F(UtilityCommandsTest, TheClipboardWindowShowsPicturesAndText) {
  Click("ClipboardPane1");
  TClipboardViewer* viewer = CollectForm->ClipboardViewer1;
  TBitmap picture(30, 20);
  picture.Canvas()->Brush()->SetColor(clRed);
  picture.Canvas()->FillRect(Rect(0, 0, 30, 20));
  SetClipboardImage(picture);
  auto* image = dynamic_cast<TImage*>(viewer->View());
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->Picture()->Width(), 30);
  EXPECT_EQ(image->Picture()->Height(), 20);
  EXPECT_EQ(PixelOf(*image, 15, 10), clRed);
  Clipboard()->SetAsUnicodeText(u"Ω один");
  auto* text = dynamic_cast<TRichEditW*>(viewer->View());
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->GetTextW(), u"Ω один");
  Clipboard()->Clear();
  EXPECT_EQ(viewer->View(), nullptr);
  EXPECT_EQ(viewer->ViewFormat(), cvEmpty);
}

TEST_F(UtilityCommandsTest, CaptureModeFollowsTheClipboardWindowAndWaitsForARunningOperation) {
  auto* item = dynamic_cast<TMenuItem*>(main->FindComponent("Autopaste1"));
  Click("Autopaste1");
  EXPECT_TRUE(CollectForm->BtnCollect->Down());
  main->EditMenuClick(nullptr);
  EXPECT_TRUE(item->Checked());

  main->Editor->SetTextW(u"doc");
  Clipboard()->SetAsUnicodeText(u"Ω one");
  CollectForm->ClipboardChanged();
  EXPECT_EQ(main->Editor->GetTextW(), u"doc\rΩ one");
  main->SetBusy(true);
  Clipboard()->SetAsUnicodeText(u"two");
  CollectForm->ClipboardChanged();
  main->SetBusy(false);
  EXPECT_EQ(main->Editor->GetTextW(), u"doc\rΩ one");

  CollectForm->BtnCollect->SetDown(false);  // released in the clipboard window itself
  main->EditMenuClick(nullptr);
  EXPECT_FALSE(item->Checked());
}

TEST_F(UtilityCommandsTest, HistoryManagerLoadsClearsOrChoosesAnEntry) {
  main->Editor->SetTextW(u"first Ω");
  main->AddToHistory("one");
  main->Editor->SetTextW(u"second");
  main->AddToHistory("two");
  // Close: nothing changes.
  dialogs.Answer(TDialogKind::Form, mrCancel);
  Click("RevisionsManager1");
  EXPECT_EQ(main->History().Count(), 2);
  // Open as a new document: the chosen entry, characters outside 1251 kept.
  main->ResetDocument();
  dialogs.Answer(TDialogKind::Form, mrOk, [](TDialogRequest& r) {
    auto* form = dynamic_cast<TRevForm*>(r.Form);
    ASSERT_NE(form, nullptr);
    ASSERT_EQ(form->List->Items()->Count(), 2);
    form->List->SetItemIndex(1);  // the older entry
  });
  dialogs.Answer(TDialogKind::MessageDlg, mrYes);  // "load it as a new document?"
  Click("RevisionsManager1");
  EXPECT_EQ(main->Editor->GetTextW(), u"first Ω");
  // Clear all, after the question.
  dialogs.Answer(TDialogKind::Form, mrAbort);
  dialogs.Answer(TDialogKind::MessageDlg, mrYes);
  Click("RevisionsManager1");
  EXPECT_EQ(main->History().Count(), 0);
}

TEST_F(UtilityCommandsTest, SpellingCommandsWithoutTheSpellingWindowsDoNothing) {
  TSpellWindows* saved = SpellWindows;
  SpellWindows = nullptr;
  main->Editor->SetTextW(u"teh text");
  for (const char* item : {"CheckStart", "Configure1", "AddSpellWords"}) Click(item);
  EXPECT_EQ(main->Editor->GetTextW(), u"teh text");
  SpellWindows = saved;
}

}  // namespace
