// The draw grid with button-like fixed cells: defaults, the editor the form may refuse, fixed
// cells pressed and clicked, pressed cells drawn sunken, column widths kept in form storage.
#include <gtest/gtest.h>

#include "components/ex_draw_grid.h"
#include "components/form_placement.h"
#include "platform/gui/application.h"
#include "platform/gui/form.h"
#include "platform/gui/std_controls.h"
#include "tests/platform/temp_folder.h"

namespace {

struct GridForm {
  TForm form{nullptr};
  TExDrawGrid* grid = new TExDrawGrid(&form);
  GridForm() {
    EnsureGuiApplication();
    grid->SetParent(&form);
    grid->SetBounds(0, 0, 300, 200);
    grid->SetName("Grid1");
  }
};

TEST(ExDrawGrid, DefaultsAndTheEditorTheFormMayRefuse) {
  GridForm f;
  TExDrawGrid* g = f.grid;
  EXPECT_EQ(g->DefaultRowHeight(), 18);
  EXPECT_EQ(g->Options(), goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goDrawFocusSelected | goColSizing);
  EXPECT_FALSE(g->ShowEditor());  // no goEditing
  g->SetOptions(g->Options() | goEditing);
  g->OnShowEditor = [](TObject*, int, int row, bool& allow) { allow = row != 1; };
  EXPECT_FALSE(g->ShowEditor());
  EXPECT_FALSE(g->EditorVisible());
  g->SetRow(2);
  std::string stored;
  g->OnGetEditText = [](TObject*, int, int, std::string& v) { v = "old"; };
  g->OnSetEditText = [&](TObject*, int, int, const std::string& v) { stored = v; };
  ASSERT_TRUE(g->ShowEditor());
  EXPECT_EQ(g->InplaceEditor()->Text(), "old");
  g->InplaceEditor()->SetText("new");
  g->HideEditor(true);
  EXPECT_EQ(stored, "new");
  EXPECT_FALSE(g->EditorVisible());
}

TEST(ExDrawGrid, FixedCellsActAsButtonsAndDrawSunkenWhenPressed) {
  GridForm f;
  TExDrawGrid* g = f.grid;
  g->SetFixedButtons(true);
  std::vector<std::pair<int, int>> clicks;
  g->OnFixedCellClick = [&](TObject*, int c, int r) { clicks.emplace_back(c, r); };
  const TRect cell = g->CellRect(2, 0);
  g->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(cell.Left + 3, cell.Top + 3));
  EXPECT_EQ(g->PressedCol(), 2);
  EXPECT_EQ(g->PressedRow(), 0);
  g->Perform(WM_LBUTTONUP, 0, MakeLParam(cell.Left + 3, cell.Top + 3));
  EXPECT_EQ(clicks, (std::vector<std::pair<int, int>>{{2, 0}}));
  EXPECT_EQ(g->PressedCol(), -1);
  // A button the form disables is not pressed.
  g->OnCheckButton = [](TObject*, int, int, bool& enabled) { enabled = false; };
  g->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(cell.Left + 3, cell.Top + 3));
  EXPECT_EQ(g->PressedCol(), -1);
  // Released elsewhere: no click.
  g->OnCheckButton = nullptr;
  g->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(cell.Left + 3, cell.Top + 3));
  g->Perform(WM_LBUTTONUP, 0, MakeLParam(-5, -5));
  EXPECT_EQ(clicks.size(), 1u);
}

TEST(ExDrawGrid, ColumnWidthsAreKeptInFormStorage) {
  TempFolder folder;
  ScopedEnv config("QUILLOMARK_CONFIG_DIR", folder.Name());
  {
    GridForm f;
    auto* storage = new TFormStorage(&f.form);
    storage->SetUseRegistry(true);
    storage->SetIniFileName("Software\\Vortanel\\GridTest");
    storage->SetIniSection("Grid");
    f.grid->SetIniStorage(storage);
    storage->RestoreFormPlacement();  // nothing stored yet
    f.grid->SetColWidths(1, 99);
    storage->SaveFormPlacement();
  }
  GridForm f;
  auto* storage = new TFormStorage(&f.form);
  storage->SetUseRegistry(true);
  storage->SetIniFileName("Software\\Vortanel\\GridTest");
  storage->SetIniSection("Grid");
  f.grid->SetIniStorage(storage);
  storage->RestoreFormPlacement();
  EXPECT_EQ(f.grid->ColWidths(1), 99);
  EXPECT_EQ(f.grid->ColWidths(2), 64);
}

}  // namespace
