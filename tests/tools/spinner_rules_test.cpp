// The value spinner's rules and the grid's column fitting.
#include <gtest/gtest.h>

#include <numeric>

#include "tools/column_fit.h"
#include "tools/spinner_rules.h"

namespace {

TEST(SpinnerRules, RangeAndPosition) {
  TSpinRange r{0, 9, 0};
  EXPECT_EQ(ClampPosition(r, -3), 0);
  EXPECT_EQ(ClampPosition(r, 12), 9);
  TSpinRange bad{5, 2, 0};
  FixRange(bad);
  EXPECT_EQ(bad.Max, 4);
  EXPECT_EQ(ButtonStates({0, 9, 0}), (std::vector<bool>{false, false, true, true, true}));
  EXPECT_EQ(ButtonStates({0, 9, 9}), (std::vector<bool>{true, true, true, false, false}));
  EXPECT_EQ(ButtonStates({3, 2, 2}), (std::vector<bool>{false, false, true, false, false}));
}

TEST(SpinnerRules, Stepping) {
  struct Case {
    TSpinRange r;
    TAdvSpinBtn button;
    bool loop;
    int expected;
  } cases[] = {
      {{0, 2, 2}, sbNext, true, 0},  {{0, 2, 2}, sbNext, false, 2}, {{0, 2, 0}, sbPrior, true, 2},
      {{0, 2, 0}, sbPrior, false, 0}, {{0, 2, 1}, sbFirst, false, 0}, {{0, 2, 1}, sbLast, false, 2},
      {{0, 2, 1}, sbNext, false, 2}, {{0, 2, 1}, sbValue, true, 1},
  };
  for (const Case& c : cases) EXPECT_EQ(StepPosition(c.r, c.button, c.loop), c.expected) << c.button;
}

TEST(SpinnerRules, ValueTextsAndPopup) {
  const std::vector<std::string> list = {"Degrees", " ", "Grads"};
  EXPECT_EQ(ListValueText(0, list).Text, "Degrees");
  EXPECT_TRUE(ListValueText(0, list).Offered);
  EXPECT_FALSE(ListValueText(1, list).Offered);
  EXPECT_EQ(ListValueText(7, list).Text, "7");
  EXPECT_FALSE(ListValueText(7, list).Offered);

  const auto text = [&](int p) { return ListValueText(p, list); };
  const auto items = SpinPopupItems({0, 2, 2}, 0, text);
  ASSERT_EQ(items.size(), 2u);  // the blank one is not offered
  EXPECT_EQ(items[1].Text, "Grads");
  EXPECT_TRUE(items[1].Checked);
  EXPECT_FALSE(items[0].Checked);

  const auto all = [](int p) { return TSpinValueText{std::to_string(p), true}; };
  const auto columns = [&](int breakEvery) {
    std::vector<bool> out;
    for (const auto& item : SpinPopupItems({0, 4, 0}, breakEvery, all)) out.push_back(item.NewColumn);
    return out;
  };
  EXPECT_EQ(columns(0), (std::vector<bool>{false, false, false, false, false}));
  EXPECT_EQ(columns(1), (std::vector<bool>{false, true, true, true, true}));
  EXPECT_EQ(columns(2), (std::vector<bool>{false, false, true, false, true}));
  // A wide range keeps the popup short, around the current position.
  const auto wide = SpinPopupItems({0, 1000000, 500000}, 0, all);
  ASSERT_EQ(int(wide.size()), kMaxSpinPopupItems);
  EXPECT_TRUE(std::any_of(wide.begin(), wide.end(), [](const auto& i) { return i.Checked; }));
  EXPECT_TRUE(SpinPopupItems({0, -1, 0}, 0, all).empty());
}

TEST(SpinnerRules, PressPicksAPositionWithoutDividingByZero) {
  EXPECT_EQ(PositionAtX({0, 9, 0}, 35, 100), 3);
  EXPECT_EQ(PositionAtX({0, 99, 0}, 35, 100), 35);
  const TSpinCells narrow = SpinCells({0, 99, 0}, 100);
  EXPECT_EQ(narrow.Width, 2);
  EXPECT_EQ(narrow.Drawn, 50);
  // Min above Max and an empty value list leave no cells; a press keeps the position.
  EXPECT_EQ(SpinCells({0, -1, 0}, 100).Count, 0);
  EXPECT_EQ(PositionAtX({0, -1, 0}, 35, 100), 0);
  EXPECT_EQ(PositionAtX({0, 9, 0}, 35, 0), 0);
  EXPECT_EQ(PositionAtX({0, 9, 0}, -50, 100), 0);
  EXPECT_EQ(PositionAtX({0, 9, 0}, 500, 100), 9);
}

TEST(SpinnerRules, BarStylesDrawTheirCells) {
  // Range 0..3 at position 1 on a 42 x 22 button: four cells of 10 pixels from x = 1.
  struct Case {
    TSpinValueStyle style;
    std::vector<int> tops;  // one per drawn cell
  } cases[] = {
      {vsPopup, {}},
      {vsScrollBar, {2, 2, 2, 2}},
      {vsGauge, {2, 9}},             // full before the current one, the current at its level
      {vsVolumeGauge, {14, 9}},      // levels rise to the current one
      {vsOwnerDraw, {2, 2, 2, 2}},
  };
  for (const Case& c : cases) {
    const auto cells = SpinBarCells({0, 3, 1}, c.style, 42, 22);
    std::vector<int> tops;
    for (const auto& cell : cells) tops.push_back(cell.Top);
    EXPECT_EQ(tops, c.tops) << c.style;
    for (size_t i = 0; i < cells.size(); ++i) {
      EXPECT_EQ(cells[i].Left, 1 + int(i) * 10);
      EXPECT_EQ(cells[i].Right, cells[i].Left + 9);
      EXPECT_EQ(cells[i].Bottom, 20);
      EXPECT_EQ(cells[i].Current, i == 1);
      EXPECT_EQ(cells[i].Position, int(i));
    }
  }
  // Narrowed cells stand for spread positions; the current one is scaled with them.
  const auto many = SpinBarCells({0, 99, 99}, vsScrollBar, 102, 22);
  ASSERT_EQ(many.size(), 50u);
  EXPECT_EQ(many[25].Position, 50);
  EXPECT_TRUE(many.back().Current);  // the last position rounds to no cell beyond the last
  EXPECT_EQ(many.back().Position, 98);
  EXPECT_TRUE(SpinBarCells({0, -1, 0}, vsScrollBar, 42, 22).empty());
  EXPECT_TRUE(SpinBarCells({0, 3, 0}, vsScrollBar, 1, 22).empty());
}

TEST(ColumnFit, RoomToSpareKeepsContentAndProportions) {
  // Base 100/100 in 300 pixels: each 150.
  EXPECT_EQ(FitColumns({100, 100}, {30, 30}, 300), (std::vector<int>{150, 150}));
  // A column whose share is below its content gets its content; the other takes the rest.
  EXPECT_EQ(FitColumns({10, 290}, {60, 30}, 300), (std::vector<int>{60, 240}));
  const auto widths = FitColumns({50, 50, 200}, {100, 120, 20}, 400);
  EXPECT_GE(widths[0], 100);
  EXPECT_GE(widths[1], 120);
  EXPECT_NEAR(std::accumulate(widths.begin(), widths.end(), 0), 400, 2);
}

TEST(ColumnFit, TooNarrowNeverGoesBelowTheMinimum) {
  const auto widths = FitColumns({100, 100, 100}, {200, 25, 300}, 200);
  for (int w : widths) EXPECT_GE(w, 20);
  EXPECT_EQ(widths[1], 20);
  EXPECT_EQ(FitColumns({100, 100}, {300, 300}, 10), (std::vector<int>{20, 20}));
  // A zero sum of base widths shares equally instead of dividing by zero.
  EXPECT_EQ(FitColumns({0, 0}, {10, 10}, 100), (std::vector<int>{50, 50}));
  EXPECT_TRUE(FitColumns({}, {}, 100).empty());
}

}  // namespace
