// The special symbols window driven as the user drives it: the list it starts with, inserting
// into the editor, assigning shortcuts by key presses and editing the list.
#include <gtest/gtest.h>

#include "components/form_placement.h"
#include "platform/gui/application.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/grids.h"
#include "platform/gui/std_controls.h"
#include "editor_tool_fixture.h"
#include "preferences_test_env.h"
#include "textcore/rich_edit.h"
#include "textcore/rich_edit_attributes.h"
#include "tools/special_char_form.h"

namespace {

class SpecialCharFormTest : public EditorToolTest<TSpecialCharForm> {
protected:
  uint16_t Press(uint16_t key, TShiftState shift) {
    form->Grid->OnKeyDown(form->Grid, key, shift);
    return key;
  }
};

TEST_F(SpecialCharFormTest, DefaultsInsertByShortcutInTheirFont) {
  Make();
  EXPECT_EQ(form->Caption(), "Special Symbols");
  ASSERT_EQ(form->Symbols().size(), 8u);
  char16_t code = 0;
  std::string font;
  ASSERT_TRUE(form->FindHotKey('C', ssCtrl | ssAlt, code, font));
  EXPECT_EQ(code, u'©');
  editor->SetTextW(u"ab");
  editor->SetSelStart(1);
  form->InsertSymbol(code, font);
  EXPECT_EQ(editor->GetTextW(), u"a©b");
  EXPECT_EQ(editor->SelStart(), 2);
  editor->SetSelStart(1);
  editor->SetSelLength(1);
  EXPECT_EQ(editor->SelAttributes()->Name(), "Arial");
  EXPECT_FALSE(form->FindHotKey('C', ssCtrl, code, font));
}

TEST_F(SpecialCharFormTest, ProgramFolderFileReplacesTheDefaults) {
  world->WriteProgramFile("symbols.dat", "937=DejaVu Sans///Alt+O\r\nbad line\r\n");
  Make();
  ASSERT_EQ(form->Symbols().size(), 2u);
  char16_t code = 0;
  std::string font;
  ASSERT_TRUE(form->FindHotKey('O', ssAlt, code, font));
  EXPECT_EQ(code, u'Ω');
  EXPECT_EQ(font, "DejaVu Sans");
  // The unreadable line shows an empty cell and inserts nothing.
  Select(1, 0);
  form->InsertSelected(false);
  EXPECT_EQ(editor->GetTextW(), u"");
}

TEST_F(SpecialCharFormTest, KeyPressesAssignShortcutsOnlyWithCtrlOrAlt) {
  Make();
  form->SetWidth(200);
  form->LayoutGrid();
  EXPECT_EQ(form->Grid->ColCount(), 7);
  EXPECT_EQ(form->Grid->RowCount(), 36);
  EXPECT_EQ(form->CellLine(0, 1), 7);
  EXPECT_EQ(form->CellLine(2, 1), -1);  // line 9: beyond the eight defaults
  Select(2, 0);
  EXPECT_EQ(form->LabelKey->Caption(), "Ctrl+Alt+T");
  // A plain letter is typing, not a shortcut.
  EXPECT_EQ(Press('A', 0), 'A');
  EXPECT_EQ(form->Symbols()[2], "8482=Arial///Ctrl+Alt+T");
  EXPECT_EQ(Press('X', ssCtrl | ssAlt), 0);
  EXPECT_EQ(form->Symbols()[2], "8482=Arial///Ctrl+Alt+X");
  EXPECT_EQ(form->LabelKey->Caption(), "Ctrl+Alt+X");
  EXPECT_EQ(Press(VK_SCROLL, ssCtrl | ssAlt | ssShift), 0);
  EXPECT_EQ(form->Symbols()[2], "8482=Arial///Shift+Alt+Ctrl+Scroll Lock");
}

TEST_F(SpecialCharFormTest, InsertFromTheGridAndEditTheList) {
  Make();
  form->Show();
  Select(0, 0);
  Press(VK_RETURN, 0);
  EXPECT_EQ(editor->GetTextW(), u"©");
  EXPECT_FALSE(form->Visible());
  // With Ctrl held the symbol takes the editor's font.
  editor->SelAttributes()->SetName("DejaVu Serif");
  Press(VK_RETURN, ssCtrl);
  EXPECT_EQ(editor->GetTextW(), u"©©");
  editor->SetSelStart(1);
  editor->SetSelLength(1);
  EXPECT_EQ(editor->SelAttributes()->Name(), "DejaVu Serif");

  form->AddSymbol(937, "Arial");
  EXPECT_EQ(form->Symbols().back(), "937=Arial");
  Select(0, 0);
  Press(VK_DELETE, ssCtrl);
  EXPECT_EQ(form->Symbols().size(), 8u);
  EXPECT_EQ(form->Symbols()[0], "174=Arial///Ctrl+Alt+R");
  EXPECT_EQ(form->FormStorage1->IniSection(), "SpChar");
}

}  // namespace
