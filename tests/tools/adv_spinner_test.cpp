// The value spinner and the resizing grid as controls: their properties, buttons, popup items,
// repeat, layout and column fitting.
#include <gtest/gtest.h>

#include "platform/gui/application.h"
#include "platform/gui/form.h"
#include "platform/gui/form_reader.h"
#include "platform/gui/std_controls.h"
#include "tools/adv_spinner.h"
#include "tools/resize_grid.h"

namespace {

struct SpinnerFixture : ::testing::Test {
  void SetUp() override {
    EnsureGuiApplication();
    spinner = new TAdvSpinner(nullptr);
    spinner->OnSpinClick = [this](TObject*, TAdvSpinBtn b) { clicks.push_back(b); };
  }
  void TearDown() override { TComponent::Free(spinner); }
  TAdvSpinner* spinner = nullptr;
  std::vector<TAdvSpinBtn> clicks;
};

TEST_F(SpinnerFixture, RangeListAndButtons) {
  EXPECT_EQ(spinner->Max(), 9);
  spinner->SetPosition(12);
  EXPECT_EQ(spinner->Position(), 9);
  spinner->SetMax(4);
  EXPECT_EQ(spinner->Position(), 4);
  spinner->SetMin(6);  // Min above Max: an empty range, nothing divides by zero
  EXPECT_EQ(spinner->Max(), 5);
  EXPECT_TRUE(spinner->PopupItems().empty());

  spinner->SetValueList({"Dec", "Hex", "Oct"});
  EXPECT_EQ(spinner->Min(), 0);
  EXPECT_EQ(spinner->Max(), 2);
  EXPECT_EQ(spinner->Position(), 0);
  EXPECT_EQ(spinner->Button(sbValue)->Caption(), "Dec");
  EXPECT_FALSE(spinner->Button(sbPrior)->Enabled());
  EXPECT_TRUE(spinner->Button(sbNext)->Enabled());
  spinner->Act(sbLast);
  EXPECT_EQ(spinner->Button(sbValue)->Caption(), "Oct");
  spinner->Act(sbNext);  // no loop: stays
  EXPECT_EQ(spinner->Position(), 2);
  spinner->SetValueLoop(true);
  spinner->Act(sbNext);
  EXPECT_EQ(spinner->Position(), 0);
  spinner->Act(sbPrior);
  EXPECT_EQ(spinner->Position(), 2);
  EXPECT_EQ(clicks, (std::vector<TAdvSpinBtn>{sbLast, sbNext, sbNext, sbPrior}));
  spinner->ChooseValue(1);
  EXPECT_EQ(spinner->Position(), 1);
  EXPECT_EQ(clicks.back(), sbValue);
  const auto items = spinner->PopupItems();
  ASSERT_EQ(items.size(), 3u);
  EXPECT_TRUE(items[1].Checked);

  spinner->SetValueList({});
  EXPECT_EQ(spinner->Max(), -1);
  EXPECT_TRUE(spinner->PopupItems().empty());

  spinner->SetSorted(true);
  spinner->SetValueList({"beta", "Gamma", "alpha"});
  EXPECT_EQ(spinner->ValueList(), (std::vector<std::string>{"alpha", "beta", "Gamma"}));
  spinner->SetPosition(1);
  spinner->SetEnabled(false);
  for (int kind = sbFirst; kind <= sbLast; ++kind) EXPECT_FALSE(spinner->Button(TAdvSpinBtn(kind))->Enabled()) << kind;
  spinner->SetEnabled(true);
  EXPECT_TRUE(spinner->Button(sbPrior)->Enabled());
  EXPECT_TRUE(spinner->Button(sbNext)->Enabled());
}

TEST_F(SpinnerFixture, ValueTextsFromTheHandlerAndModifyColour) {
  spinner->OnSetValue = [](TObject*, int pos, std::string& text, bool& offered) {
    text = pos % 2 ? "odd " + std::to_string(pos) : " ";
    offered = true;
  };
  EXPECT_EQ(spinner->ValueText(3).Text, "odd 3");
  EXPECT_FALSE(spinner->ValueText(2).Offered);  // blank texts are never offered
  EXPECT_EQ(spinner->PopupItems().size(), 5u);
  spinner->SetShowModify(true);
  const TColor before = spinner->Color();
  spinner->SetPosition(4);
  EXPECT_EQ(spinner->Color(), spinner->ChangedColor());
  EXPECT_NE(before, spinner->ChangedColor());
}

TEST_F(SpinnerFixture, HeldButtonsRepeatWhileAutoRunIsOn) {
  spinner->SetPosition(5);
  TAdvSpinButton* next = spinner->Button(sbNext);
  EXPECT_TRUE(next->Repeat());
  EXPECT_FALSE(spinner->Button(sbValue)->Repeat());
  next->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(1, 1));
  next->RepeatTick();
  next->RepeatTick();
  next->Perform(WM_LBUTTONUP, 0, MakeLParam(1, 1));
  EXPECT_EQ(spinner->Position(), 7);
  spinner->SetAutoRun(false);
  EXPECT_FALSE(next->Repeat());
  EXPECT_FALSE(spinner->Button(sbPrior)->Repeat());
}

TEST_F(SpinnerFixture, ButtonsAreLaidOutLeftToRight) {
  spinner->SetBounds(0, 0, 100, 20);
  EXPECT_EQ(spinner->Button(sbPrior)->Left(), 0);
  EXPECT_EQ(spinner->Button(sbPrior)->Width(), 12);
  EXPECT_EQ(spinner->Button(sbValue)->Left(), 12);
  EXPECT_EQ(spinner->Button(sbValue)->Width(), 76);
  EXPECT_EQ(spinner->Button(sbNext)->Left(), 88);
  EXPECT_FALSE(spinner->Button(sbFirst)->Visible());
  spinner->SetVisibleButtons(1u << sbValue);
  EXPECT_EQ(spinner->Button(sbValue)->Left(), 0);
  EXPECT_EQ(spinner->Button(sbValue)->Width(), 100);
  spinner->SetBounds(0, 0, 100, 4);
  EXPECT_EQ(spinner->Height(), 12);
}

TEST(SpinnerLayout, PropertiesComeFromTheFormLayout) {
  EnsureGuiApplication();
  TForm form(nullptr);
  ReadLayout(form, R"(object Form1: TForm
  object Spin: TAdvSpinner
    Width = 90
    Height = 20
    BarColor = clRed
    ThumbColor = clBlue
    ValueAlign = taLeftJustify
    ValueStyle = vsGauge
    Sorted = True
    ValueList = ('beta' 'alpha')
    Break = 2
    DesignBorder = False
    Font.Color = clGreen
  end
end
)", "spinner.qfm");
  auto* spin = dynamic_cast<TAdvSpinner*>(form.FindComponent("Spin"));
  ASSERT_NE(spin, nullptr);
  EXPECT_EQ(spin->BarColor(), clRed);
  EXPECT_EQ(spin->ThumbColor(), clBlue);
  EXPECT_EQ(spin->Button(sbValue)->TextAlign(), taLeftJustify);
  EXPECT_EQ(spin->ValueStyle(), vsGauge);
  EXPECT_EQ(spin->ValueList(), (std::vector<std::string>{"alpha", "beta"}));
  EXPECT_EQ(spin->Break(), 2);
  EXPECT_TRUE(spin->DesignBorder());  // kept in layouts only
  EXPECT_EQ(spin->Button(sbValue)->Font()->Color(), clGreen);
  EXPECT_EQ(spin->Button(sbValue)->Width(), 90 - 2 * 12);
}

TEST(ResizeGrid, ColumnsFitTheirContent) {
  EnsureGuiApplication();
  auto* grid = new TResizeGrid(nullptr);
  grid->SetColCount(2);
  grid->SetRowCount(3);
  grid->SetFixedRows(1);
  grid->SetCells(0, 0, "X");
  grid->SetCells(1, 1, "a rather long value in the second column");
  grid->SetBounds(0, 0, 400, 200);
  grid->FitColumns();
  const int need = grid->Canvas()->TextWidth(grid->Cells(1, 1)) + 10;
  EXPECT_GE(grid->ColWidths(1), need);
  EXPECT_GE(grid->ColWidths(0), 20);
  grid->SetBounds(0, 0, 30, 200);
  grid->FitColumns();
  EXPECT_EQ(grid->ColWidths(0), 20);
  EXPECT_GE(grid->ColWidths(1), 20);
  grid->SetCol(1);
  grid->SetRow(1);
  EXPECT_EQ(grid->SelectionText(), "\ta rather long value in the second column\r\n");
  TComponent::Free(grid);
}

}  // namespace
