// The walk through the real program on a real X server (a private Xvfb): a formatted Russian
// document is opened, every main-menu entry opened and every command that needs no outside
// program run once, then again with a selection and history, and a picture of the main window is
// kept in the build folder ("artefacts/main-window.png", with the walks' report beside it). No
// error box may come up, Qt may print no warning, and no command may stay disabled in every
// state the walks visit (but those disabled by design).
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/shell/program_test_util.h"

namespace {

using namespace std::chrono_literals;

// Commands that leave the program or reach outside it: another copy, the end, the web page,
// the help viewer. (The web directory shows the copy shipped with the program: no address is
// configured, so it downloads nothing.)
const char* const kOutside = "NewWindow1 FileExitItem QuillomarkWWWpage1 Contents1";
// Commands disabled in every state the walks reach: Help > Contents has no help file to show on
// this system (disabled by design); "Recent Results..." needs the results of an automatic spell
// check, which only a check started and confirmed in its start window gives (the walks cancel
// every window; the spelling results tests open it after a real check).
// Object Properties needs a selected object, which the walked document has none of.
const char* const kDisabledByDesign = "Contents1 ShowSpellList ObjectProperties1";

TEST(Walk, EveryMenuAndCommandOnARealDocument) {
  if (!std::filesystem::exists("/usr/bin/xvfb-run")) GTEST_SKIP() << "xvfb-run is not installed";
  ProgramFolders f;
  std::filesystem::copy_file(std::string(QM_FIXTURES_DIR) + "/rtf/wordpad-style-cp1251.rtf", f.Path("letter.rtf"));
  const std::string picture = std::string(QM_PROGRAM_DIR) + "/../artefacts/main-window.png";
  std::filesystem::create_directories(std::filesystem::path(picture).parent_path());
  std::filesystem::remove(picture);
  f.Write("walk.script",
          "wait-text \xD0\x9F\n"  // a capital Pe: the document is in the editor
          "screenshot " + picture + "\n"
          "walk-menus " + f.Path("walk.txt") + " " + kOutside + "\n"
          // Again in the formatted view (the first walk ended on a plain system file), after an
          // edit, with the whole text selected and the history shown (the first walk left entries
          // in it), so that the commands of formatted text, a selection and the history are live.
          // This walk keeps its document and selection: no File command, undo, cut, paste or
          // delete (they are seen enabled and passed over).
          "click ViewFormatted\n"
          "click SelectAll1\n"
          "click CaseUpper\n"
          "click SelectAll1\n"
          "click CaseLower\n"
          "click EditUndoItem\n"  // one change to undo and one to redo
          "click SelectAll1\n"
          "walk-menus " + f.Path("walk2.txt") + " " + kOutside +
              " FileMenu EditUndoItem Redo1 EditCutItem EditPasteItem PasteRussian1 EditClear1Item HistoryPane1\n"
          "walked-enabled " + kDisabledByDesign + "\n"
          "answer messagedlg 7\n"
          "close\n");
  auto env = f.Env("walk.script");
  env["QT_QPA_PLATFORM"] = "xcb";
  env["HOME"] = f.Path("home");
  ProgramRun run({f.Path("letter.rtf")}, env, {},
                 {"/usr/bin/xvfb-run", "-a", "-s", "-screen 0 1280x900x24 -nolisten tcp"});
  const int code = run.Wait(240s);
  const std::string report = ProgramRun::ReadText(f.Path("walk.txt")) + ProgramRun::ReadText(f.Path("walk2.txt"));
  std::ofstream(std::filesystem::path(picture).parent_path() / "menu-walk.txt") << report;
  ASSERT_EQ(code, 0) << run.Stderr() << report;
  EXPECT_EQ(run.Stderr(), "") << "the program printed warnings";
  EXPECT_GT(std::filesystem::file_size(picture), 1000u);
  // Every entry of the menu bar was opened.
  for (const char* menu : {"File", "Edit", "Search", "View", "Format", "Convert", "Tools"})
    EXPECT_NE(report.find(std::string("menu ") + menu + "\n"), std::string::npos) << menu << "\n" << report;
}

}  // namespace
