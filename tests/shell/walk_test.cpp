// The walk through the real program on a real X server (a private Xvfb): a formatted Russian
// document is opened, every main-menu entry opened and every command that needs no outside
// program run once, and a picture of the main window is kept in the build folder
// ("artefacts/main-window.png", with the walk's report beside it). No error box may come up and Qt may print no warning.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/shell/program_test_util.h"

namespace {

using namespace std::chrono_literals;

// Commands that leave the program or reach outside it: another copy, the end, the web pages,
// the printer, the help viewer.
const char* const kOutside = "NewWindow1 FileExitItem QuillomarkWWWpage1 QuillomarkUpdates Contents1";

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
          "answer messagedlg 7\n"
          "close\n");
  auto env = f.Env("walk.script");
  env["QT_QPA_PLATFORM"] = "xcb";
  env["HOME"] = f.Path("home");
  ProgramRun run({f.Path("letter.rtf")}, env, {},
                 {"/usr/bin/xvfb-run", "-a", "-s", "-screen 0 1280x900x24 -nolisten tcp"});
  const int code = run.Wait(240s);
  const std::string report = ProgramRun::ReadText(f.Path("walk.txt"));
  std::ofstream(std::filesystem::path(picture).parent_path() / "menu-walk.txt") << report;
  ASSERT_EQ(code, 0) << run.Stderr() << report;
  EXPECT_EQ(run.Stderr(), "") << "the program printed warnings";
  EXPECT_GT(std::filesystem::file_size(picture), 1000u);
  // Every entry of the menu bar was opened.
  for (const char* menu : {"File", "Edit", "Search", "View", "Format", "Convert", "Tools"})
    EXPECT_NE(report.find(std::string("menu ") + menu + "\n"), std::string::npos) << menu << "\n" << report;
}

}  // namespace
