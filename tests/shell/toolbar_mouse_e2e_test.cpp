// The real program's toolbars under the mouse: the Edit toolbar dragged off its dock by its
// separator, moved by the separator while floating, narrowed by its right edge (the buttons
// wrap into lines inside the window) and dragged by its caption into the bottom dock.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "tests/shell/program_test_util.h"

namespace {

using namespace std::chrono_literals;

struct Place {
  std::string Parent;
  int Left = 0, Top = 0, Width = 0, Height = 0;
  bool Inside(const Place& outer) const {
    return Left >= outer.Left && Top >= outer.Top && Left + Width <= outer.Left + outer.Width &&
           Top + Height <= outer.Top + outer.Height;
  }
};

std::map<std::string, Place> ReadPlaces(const std::string& path) {
  std::map<std::string, Place> places;
  std::istringstream in(ProgramRun::ReadText(path));
  std::string name;
  Place p;
  while (in >> name >> p.Parent >> p.Left >> p.Top >> p.Width >> p.Height) places[name] = p;
  return places;
}

TEST(ToolbarMouse, DraggedOffSizedAndDockedAgain) {
  ProgramFolders f;
  const std::string controls = " TBEdit BtnUndo BtnPaste\n";
  f.Write("run.script",
          "mouse press SepEdit1 3 10\n"
          "mouse move SepEdit1 20 150\n"
          "mouse move SepEdit1 40 300\n"
          "mouse release SepEdit1 40 300\n"
          "save-places " + f.Path("floated.txt") + controls +
          "mouse press SepEdit1 3 10\n"
          "mouse move SepEdit1 43 40\n"
          "mouse release SepEdit1 43 40\n"
          "save-places " + f.Path("moved.txt") + controls +
          "# the right edge of the frame, pulled in\n"
          "mouse press TBEdit w-1 h-10\n"
          "mouse move TBEdit w-40 h-10\n"
          "mouse move TBEdit w-60 h-10\n"
          "mouse release TBEdit w-60 h-10\n"
          "save-places " + f.Path("sized.txt") + controls +
          "# the caption, over the bottom dock\n"
          "mouse press TBEdit 8 6\n"
          "mouse move DockBottom 100 -40\n"
          "mouse move DockBottom 100 2\n"
          "mouse release DockBottom 100 2\n"
          "save-places " + f.Path("docked.txt") + controls +
          "close\n");
  ProgramRun run({}, f.Env("run.script"));
  ASSERT_EQ(run.Wait(60s), 0) << run.Stderr();
  auto floated = ReadPlaces(f.Path("floated.txt")), moved = ReadPlaces(f.Path("moved.txt")),
       sized = ReadPlaces(f.Path("sized.txt")), docked = ReadPlaces(f.Path("docked.txt"));
  ASSERT_EQ(floated.size(), 3u);
  EXPECT_NE(floated["TBEdit"].Parent, "DockTop");  // floating: a window of its own
  EXPECT_TRUE(floated["BtnPaste"].Inside(floated["TBEdit"]));
  EXPECT_EQ(moved["TBEdit"].Left, floated["TBEdit"].Left + 40);
  EXPECT_EQ(moved["TBEdit"].Top, floated["TBEdit"].Top + 30);
  // Narrower and higher, every button inside, the last one on a line below the first.
  ASSERT_EQ(sized.size(), 3u);
  EXPECT_LT(sized["TBEdit"].Width, moved["TBEdit"].Width);
  EXPECT_GT(sized["TBEdit"].Height, moved["TBEdit"].Height);
  EXPECT_EQ(sized["TBEdit"].Left, moved["TBEdit"].Left);
  for (const char* name : {"BtnUndo", "BtnPaste"}) EXPECT_TRUE(sized[name].Inside(sized["TBEdit"])) << name;
  EXPECT_GT(sized["BtnPaste"].Top, sized["BtnUndo"].Top);
  // Docked below, on one line again.
  EXPECT_EQ(docked["TBEdit"].Parent, "DockBottom");
  EXPECT_EQ(docked["BtnPaste"].Top, docked["BtnUndo"].Top);
}

}  // namespace
