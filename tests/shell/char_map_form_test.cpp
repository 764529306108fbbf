// The character map driven as the user drives it: blocks, sizes, the selected code, inserting,
// copying and adding to the special symbols, and its own settings section.
#include <gtest/gtest.h>

#include "components/font_combo.h"
#include "components/form_placement.h"
#include "components/spin_edit.h"
#include "platform/gui/application.h"
#include "platform/gui/clipboard.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/std_controls.h"
#include "editor_tool_fixture.h"
#include "preferences_test_env.h"
#include "textcore/rich_edit.h"
#include "textcore/rich_edit_attributes.h"
#include "textcore/win_registry.h"
#include "tools/char_map_form.h"
#include "tools/special_char_form.h"

namespace {

class CharMapFormTest : public EditorToolTest<TFormGenChar> {
protected:
  void SetUp() override {
    EditorToolTest::SetUp();
    Make();
  }
};

TEST_F(CharMapFormTest, BlocksSizesAndTheSelectedCode) {
  EXPECT_EQ(form->Caption(), "Character Map");
  EXPECT_EQ(form->ComboBox1->Items()->Count(), 22);
  form->ComboBox1->SetItemIndex(5);
  form->ComboBox1->OnChange(form->ComboBox1);
  EXPECT_EQ(form->EditFrom->Value(), 1024);
  EXPECT_EQ(form->ComboBox1->ItemIndex(), 5);
  form->EditSize->SetValue(8);  // 16 columns
  Select(3, 2);
  EXPECT_EQ(form->SelectedCode(), 1059);
  form->Grid->OnMouseDown(form->Grid, mbLeft, 0, 0, 0);
  EXPECT_EQ(form->Label1->Caption(), "1059 (#423)");

  form->EditSize->SetValue(24);
  EXPECT_EQ(form->Grid->ColCount(), 8);
  EXPECT_EQ(form->Grid->DefaultColWidth(), 48);
  EXPECT_EQ(form->EditFrom->Increment(), 8);
  EXPECT_EQ(form->SelectedCode(), 1024 + 3 + 8 * 2);

  // A code typed by hand leaves no block chosen rather than naming a wrong one.
  form->EditFrom->SetValue(2000);
  EXPECT_EQ(form->ComboBox1->ItemIndex(), -1);
}

TEST_F(CharMapFormTest, InsertCopyAndAdd) {
  std::vector<std::pair<int, std::string>> added;  // what the special symbols are given
  form->OnAddSymbol = [&added](int code, const std::string& fontName) { added.emplace_back(code, fontName); };
  form->FontCombo->SetFontName("DejaVu Sans");
  const std::string font = form->FontCombo->FontName();
  form->ApplyBlock(5);
  Select(1, 0);
  form->InsertSelected();
  EXPECT_EQ(editor->GetTextW(), u"Ё");
  editor->SetSelStart(0);
  editor->SetSelLength(1);
  EXPECT_EQ(editor->SelAttributes()->Name(), font);
  form->CopySelected();
  EXPECT_EQ(Clipboard()->AsUnicodeText(), u"Ё");
  form->AddSelected();
  EXPECT_EQ(added, (std::vector<std::pair<int, std::string>>{{1025, font}}));

  // Control codes are never inserted.
  form->ApplyBlock(0);
  Select(0, 0);
  editor->SetTextW(u"");
  form->InsertSelected();
  EXPECT_EQ(editor->GetTextW(), u"");
  form->AddSelected();
  EXPECT_EQ(added.size(), 1u);
}

TEST_F(CharMapFormTest, SettingsLiveInTheirOwnSection) {
  form->EditFrom->SetValue(8192);
  form->EditPreview->SetValue(100);
  form->FormStorage1->SaveFormPlacement();
  TWinRegistry registry("Software\\Vortanel\\Quillomark");
  EXPECT_EQ(registry.ReadString("CharGen", "EditFrom_Value", ""), "8192");
  TComponent::Free(form);
  form = new TFormGenChar(Application);
  EXPECT_EQ(form->EditFrom->Value(), 8192);
  EXPECT_EQ(form->EditPreview->Value(), 100);
}

}  // namespace
