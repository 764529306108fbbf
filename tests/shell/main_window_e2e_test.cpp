// End to end: the real program's main window as a user meets it. Its view is remembered from one
// start to the next; the plain view offers only what plain text can hold and the formatted view
// all of it; favourites take the current file; the keyboard stays with the editor when the
// history pane comes and goes and after a dialog; Go to Line lands on the line asked for.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

#include "tests/shell/program_test_util.h"

namespace {

using namespace std::chrono_literals;

// The states a "save-states" line gives, by name: "usable checked", "unusable - (it is hidden)"...
std::map<std::string, std::string> ReadStates(const std::string& path) {
  std::map<std::string, std::string> states;
  std::istringstream lines(ProgramRun::ReadText(path));
  for (std::string line; std::getline(lines, line);) {
    std::istringstream fields(line);
    std::string name, usable, checked, why;
    std::getline(fields, name, '\t');
    std::getline(fields, usable, '\t');
    std::getline(fields, checked, '\t');
    std::getline(fields, why);
    states[name] = usable + " " + checked + (why.empty() ? "" : " (" + why + ")");
  }
  return states;
}

// The status bar's panel that starts with `prefix` ("Line:", "Pos:").
std::string Panel(const std::string& statusFile, const std::string& prefix) {
  std::istringstream lines(ProgramRun::ReadText(statusFile));
  for (std::string line; std::getline(lines, line);)
    if (line.rfind(prefix, 0) == 0) return line;
  return "";
}

// The width of the control `name` in a "save-places" file.
int PlacedWidth(const std::string& path, const std::string& name) {
  std::istringstream lines(ProgramRun::ReadText(path));
  std::string control, parent;
  int left = 0, top = 0, width = 0, height = 0;
  while (lines >> control >> parent >> left >> top >> width >> height)
    if (control == name) return width;
  return -1;
}

// The ruler, line wrapping and the history pane with the place the user dragged its bar to
// come back at the next start (the panes used to be centred again).
TEST(MainWindowEndToEnd, TheViewComesBackAtTheNextStart) {
  ProgramFolders f;
  const std::string states = " ShowRuler1 WordWrap1 Ruler1 HistoryPane1";
  f.Write("first.script", "click ShowRuler1\nclick WordWrap1\nclick HistoryPane1\nidle 100\n"
                          "mouse press HistPanes 399 200\nmouse move HistPanes 300 200\nmouse release HistPanes 300 200\n"
                          "save-states " + f.Path("first.txt") + states + "\nsave-places " + f.Path("first-places.txt") +
                          " Editor\nclose\n");
  ProgramRun first({}, f.Env("first.script"));
  ASSERT_EQ(first.Wait(30s), 0) << first.Stderr();
  f.Write("second.script", "idle 100\nsave-states " + f.Path("second.txt") + states + "\nsave-places " +
                               f.Path("second-places.txt") + " Editor\nclose\n");
  ProgramRun second({}, f.Env("second.script"));
  ASSERT_EQ(second.Wait(30s), 0) << second.Stderr();
  const auto changed = ReadStates(f.Path("first.txt")), next = ReadStates(f.Path("second.txt"));
  EXPECT_EQ(changed.at("ShowRuler1"), "usable checked");
  EXPECT_EQ(changed.at("WordWrap1"), "usable unchecked");
  EXPECT_EQ(changed.at("HistoryPane1"), "usable checked");
  EXPECT_EQ(next, changed);
  const int dragged = PlacedWidth(f.Path("first-places.txt"), "Editor");
  EXPECT_GT(dragged, 250);
  EXPECT_LT(dragged, 350);
  EXPECT_EQ(PlacedWidth(f.Path("second-places.txt"), "Editor"), dragged);
}

// A plain text file opens in the plain view (the View menu says so); the ruler shows there
// disabled; pictures, objects, Paste Special and Remove Formatting are hidden there; all come
// with the formatted view; the other menus' commands are there in both.
TEST(MainWindowEndToEnd, ThePlainViewOffersOnlyWhatPlainTextHolds) {
  ProgramFolders f;
  f.Write("note.txt", "plain words\n");
  const std::string names =
      " ViewPlain ViewFormatted Ruler1 InsertPicture1 InsertObject1 PasteSpecial1 ConvertToPlainText1"
      " VirtualKeyboard1 UniversalDecoder1 ShowAll1 ResetAll1";
  f.Write("run.script", "wait-text plain\nclick ShowRuler1\nsave-states " + f.Path("plain.txt") + names +
                            "\nclick ViewFormatted\nsave-states " + f.Path("formatted.txt") + names +
                            "\nanswer messagedlg 7\nclose\n");
  ProgramRun run({f.Path("note.txt")}, f.Env("run.script"));
  ASSERT_EQ(run.Wait(30s), 0) << run.Stderr();
  const auto plain = ReadStates(f.Path("plain.txt")), formatted = ReadStates(f.Path("formatted.txt"));
  const struct {
    const char* name;
    const char* plain;
    const char* formatted;
  } cases[] = {
      {"ViewPlain", "usable checked", "usable unchecked"},
      {"ViewFormatted", "usable unchecked", "usable checked"},
      {"Ruler1", "unusable - (it is disabled)", "usable -"},
      {"InsertPicture1", "unusable unchecked (it is hidden)", "usable unchecked"},
      {"InsertObject1", "unusable unchecked (it is hidden)", "usable unchecked"},
      {"PasteSpecial1", "unusable unchecked (it is hidden)", "usable unchecked"},
      {"ConvertToPlainText1", "unusable unchecked (it is hidden)", "usable unchecked"},
      // The status bar's menu reaches the on-screen keyboard and the character map; the toolbar
      // menu's commands carry no check marks.
      {"VirtualKeyboard1", "usable unchecked", "usable unchecked"},
      {"UniversalDecoder1", "usable unchecked", "usable unchecked"},
      {"ShowAll1", "usable unchecked", "usable unchecked"},
      {"ResetAll1", "usable unchecked", "usable unchecked"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(plain.at(c.name), c.plain) << c.name;
    EXPECT_EQ(formatted.at(c.name), c.formatted) << c.name;
  }
}

// Add Current puts the open file into Favorite Files, whose menu then lists it.
TEST(MainWindowEndToEnd, FavouritesTakeTheCurrentFile) {
  ProgramFolders f;
  f.Write("note.txt", "kept words\n");
  f.Write("run.script", "wait-text kept\nclick AddCurrent1\nwalk-menus " + f.Path("walk.txt") +
                            " NewWindow1 FileExitItem EditMenu SearchMenu ViewMenu FormatMenu ConvertMenu ToolsMenu"
                            " HelpMenu\nclose\n");
  ProgramRun run({f.Path("note.txt")}, f.Env("run.script"));
  ASSERT_EQ(run.Wait(60s), 0) << run.Stderr();
  const std::string walk = ProgramRun::ReadText(f.Path("walk.txt"));
  EXPECT_NE(walk.find("  Favorite Files\n    Add Current\n    1 " + f.Path("note.txt") + "\n"), std::string::npos) << walk;
}

// Keys pressed after the history pane is shown or hidden, or after a dialog closed, move the
// editor's caret (they used to go to the zoom box).
TEST(MainWindowEndToEnd, TheKeyboardStaysWithTheEditor) {
  ProgramFolders f;
  f.Write("note.txt", "hello world\n");
  f.Write("run.script",
          "wait-text hello\n"
          "click HistoryPane1\n"
          "idle 100\n"
          "key End\n"
          "save-status " + f.Path("shown.txt") + "\n"
          "click HistoryPane1\n"
          "idle 100\n"
          "key Home\n"
          "save-status " + f.Path("hidden.txt") + "\n"
          "in-window GotoLineForm 2\n"
          "click GotoLine1\n"
          "idle 100\n"
          "key End\n"
          "save-status " + f.Path("dialog.txt") + "\n"
          "close\n");
  ProgramRun run({f.Path("note.txt")}, f.Env("run.script"));
  ASSERT_EQ(run.Wait(30s), 0) << run.Stderr();
  EXPECT_EQ(Panel(f.Path("shown.txt"), "Pos:"), "Pos: 11 of 12");
  EXPECT_EQ(Panel(f.Path("hidden.txt"), "Pos:"), "Pos: 0 of 12");
  EXPECT_EQ(Panel(f.Path("dialog.txt"), "Pos:"), "Pos: 11 of 12");
}

// From the end of a long first line, Go to Line 5 lands on line 5 (a short one) at its end,
// not on a later line at the kept column.
TEST(MainWindowEndToEnd, GoToLineLandsOnTheLineAskedFor) {
  ProgramFolders f;
  f.Write("note.txt", "the first line is long\n2\n3\n4\nabc\nthe sixth line is long too\n");
  f.Write("run.script",
          "wait-text sixth\n"
          "key End\n"
          "in-window GotoLineForm 1 Up Up Up Up\n"
          "click GotoLine1\n"
          "save-status " + f.Path("status.txt") + "\n"
          "close\n");
  ProgramRun run({f.Path("note.txt")}, f.Env("run.script"));
  ASSERT_EQ(run.Wait(30s), 0) << run.Stderr();
  EXPECT_EQ(Panel(f.Path("status.txt"), "Line:"), "Line: 5 of 7    Col: 4") << ProgramRun::ReadText(f.Path("status.txt"));
}

}  // namespace

namespace {

// With no directory address configured (the default) the web directory shows the copy shipped
// with the program at once: the script goes on, no download is waited for.
TEST(MainWindowEndToEnd, TheWebDirectoryShowsTheShippedCopyAtOnce) {
  ProgramFolders f;
  f.Write("run.script", "record-opens " + f.Path("opened.txt") + "\nclick QuillomarkUpdates\nsave-shown " +
                            f.Path("shown.txt") + "\nclose\n");
  ProgramRun run({}, f.Env("run.script"));
  ASSERT_EQ(run.Wait(30s), 0) << run.Stderr();
  EXPECT_NE(ProgramRun::ReadText(f.Path("shown.txt")).find("NetDialog.Caption\ttitle\tfits"), std::string::npos)
      << ProgramRun::ReadText(f.Path("shown.txt"));
  EXPECT_EQ(ProgramRun::ReadText(f.Path("opened.txt")), "") << "nothing is handed to the desktop";
}

}  // namespace
