// Helpers of the component library: folder names and creation, file-name checks, glyph cells,
// gradient bands, shortened text, command tokens, and window hooks on a control.
#include <gtest/gtest.h>

#include "components/draw_utils.h"
#include "components/file_util.h"
#include "components/window_hook.h"
#include "platform/files.h"
#include "platform/gui/application.h"
#include "platform/gui/form.h"
#include "platform/gui/std_controls.h"
#include "tests/platform/temp_folder.h"

namespace {

TEST(FileUtil, FolderNamesAndCreation) {
  EXPECT_EQ(FileUtil::NormalizeDirName(""), "");
  EXPECT_EQ(FileUtil::NormalizeDirName("/tmp"), "/tmp/");
  EXPECT_EQ(FileUtil::NormalizeDirName("/tmp/"), "/tmp/");
  TempFolder folder;
  ASSERT_TRUE(ForceDirectories(folder.Name() + "a"));
  EXPECT_TRUE(FileUtil::CreateDirPath(folder.Name() + "a/b/c/"));
  EXPECT_TRUE(FileUtil::DirExists(folder.Name() + "a/b/c"));
  // A folder under a file cannot be made, and says so.
  ASSERT_TRUE(FileUtil::CreateDirPath(folder.Name() + "x"));
  { std::FILE* f = std::fopen((folder.Name() + "file").c_str(), "w"); std::fclose(f); }
  EXPECT_FALSE(FileUtil::CreateDirPath(folder.Name() + "file/sub"));
  EXPECT_FALSE(FileUtil::CreateDirPath(""));
  for (auto [name, ok] : {std::pair{"", false}, {"a|b", true}, {"a*b", true}, {"a/b", false}, {"[x]", true},
                          {"a\tb", false}})
    EXPECT_EQ(FileUtil::ValidFileName(name), ok) << name;
  EXPECT_EQ(FileUtil::LongFileName(folder.Name() + "*"), "");
  EXPECT_EQ(FileUtil::LongFileName(folder.Name() + "file"), folder.Name() + "file");
  EXPECT_EQ(FileUtil::ShortFileName(folder.Name() + "nothing"), "");
}

TEST(DrawUtils, CellsBandsAndShortenedText) {
  EXPECT_EQ(BitmapCellRect(64, 32, 4, 2, 5), Bounds(16, 16, 16, 16));
  EXPECT_EQ(BitmapCellRect(64, 32, 0, 0, -3), Bounds(0, 0, 64, 32));
  // Fewer than 2 colours: one band of the begin colour.
  EXPECT_EQ(GradientBands(Rect(0, 0, 10, 100), clRed, clBlue, gdTopToBottom, 1),
            (std::vector<TGradientBand>{{Rect(0, 0, 10, 100), clRed}}));
  // The menu margin: 32 bands from blue to a quarter of it, the far band taking the rest.
  auto bands = GradientBands(Rect(0, 0, 16, 100), 0xFF0000, 0x3F0000, gdTopToBottom, 32);
  ASSERT_EQ(bands.size(), 32u);
  EXPECT_EQ(bands.front().Color, 0xFF0000);
  EXPECT_EQ(bands.back().Color, 0x3F0000);
  EXPECT_EQ(bands.back().Rect.Bottom, 100);
  EXPECT_EQ(bands[1].Rect, Rect(0, 3, 16, 6));
  // Never more bands than pixels, never fewer than 2; reversed directions run end to begin.
  EXPECT_EQ(GradientBands(Rect(0, 0, 5, 5), clBlack, clWhite, gdLeftToRight, 32).size(), 5u);
  EXPECT_EQ(GradientBands(Rect(0, 0, 5, 5), clBlack, clWhite, gdRightToLeft, 32).front().Color, clWhite);
  // Shortened text: one width per character.
  auto width = [](const std::string& s) { return int(s.size()); };
  EXPECT_EQ(ShortenTextToWidth("abcdef", width, 10), "abcdef");
  EXPECT_EQ(ShortenTextToWidth("abcdef", width, 5), "ab...");
  EXPECT_EQ(ShortenTextToWidth("abcdef", width, 3), "...");
  EXPECT_EQ(ShortenTextToWidth("abcdef", width, 2), "");
  EXPECT_EQ(ShortenTextToWidth("", width, 0), "");
  EXPECT_EQ(CentredPosition(Rect(0, 0, 100, 50), 40, 10), (TPoint{30, 20}));
  EXPECT_EQ(CentredPosition(Rect(0, 0, 100, 50), 400, 100), (TPoint{0, 0}));
}

TEST(DrawUtils, CommandTokens) {
  EXPECT_EQ(CommandTokens(R"(a "b c" "" d)"), (std::vector<std::string>{"a", "b c", "d"}));
  std::string first, rest;
  SplitCommandTokens(R"(a "b c" "" d)", first, rest);
  EXPECT_EQ(first, "a");
  EXPECT_EQ(rest, R"("b c" d)");
  EXPECT_EQ(CommandTokenCount("   "), 0);
}

TEST(ExWindowHook, HooksSeeMessagesLastAttachedFirstAndCanKeepThemFromTheControl) {
  EnsureGuiApplication();
  TForm form(nullptr);
  auto* edit = new TEdit(&form);
  edit->SetParent(&form);
  std::vector<std::string> seen;
  auto* first = new TExWindowHook(&form);
  auto* second = new TExWindowHook(&form);
  first->BeforeMessage = [&](TObject*, TMessage& m, bool&) { if (m.Msg == WM_USER) seen.push_back("first"); };
  second->BeforeMessage = [&](TObject*, TMessage& m, bool&) { if (m.Msg == WM_USER) seen.push_back("second"); };
  first->AfterMessage = [&](TObject*, TMessage& m, bool&) { if (m.Msg == WM_USER) seen.push_back("after"); };
  first->SetWinControl(edit);
  second->SetWinControl(edit);
  edit->Perform(WM_USER);
  EXPECT_EQ(seen, (std::vector<std::string>{"second", "first", "after"}));
  // Handled keeps the message from the control: the text stays.
  second->BeforeMessage = [&](TObject*, TMessage& m, bool& handled) { handled = m.Msg == WM_SETTEXT; };
  edit->SetText("kept");
  edit->Perform(WM_SETTEXT, 0, reinterpret_cast<intptr_t>("changed"));
  EXPECT_EQ(edit->Text(), "kept");
  // Unhooking both puts the control's own handling back.
  delete second;
  delete first;
  edit->Perform(WM_SETTEXT, 0, reinterpret_cast<intptr_t>("changed"));
  EXPECT_EQ(edit->Text(), "changed");
  // A hook on a control that goes away lets go of it.
  auto* hook = new TExWindowHook(&form);
  hook->SetWinControl(edit);
  delete edit;
  EXPECT_EQ(hook->WinControl(), nullptr);
}

}  // namespace
