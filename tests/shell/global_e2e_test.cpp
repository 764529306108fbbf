// End to end on a real X display: the program runs beside another application (a line edit
// that answers the copy and paste keys) whose selection is KOI-8 text shown as Windows-1251;
// the hot key of "Decode from KOI", pressed as the user would, turns it into readable Russian,
// and the clipboard the user had is back afterwards; the quick panel's hot key brings the
// selection into the quick conversion window, whose engine buttons convert it.
#include <gtest/gtest.h>

#include <poll.h>
#include <xcb/xtest.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "platform/code_pages.h"
#include "platform/gui/x11_hotkeys.h"
#include "tests/platform_gui/test_display.h"
#include "tests/shell/program_test_util.h"

namespace {

using namespace std::chrono_literals;

// The other application, spoken to through its standard input and output.
class TForeignEdit {
public:
  TForeignEdit(const std::string& display, const std::string& runtimeDir) {
    int in[2], out[2];
    if (pipe(in) != 0 || pipe(out) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(in[0], 0);
      dup2(out[1], 1);
      close(in[1]);
      close(out[0]);
      setenv("DISPLAY", display.c_str(), 1);
      setenv("QT_QPA_PLATFORM", "xcb", 1);
      setenv("XDG_RUNTIME_DIR", runtimeDir.c_str(), 1);
      execl(QM_FOREIGN_EDIT, QM_FOREIGN_EDIT, static_cast<char*>(nullptr));
      _exit(127);
    }
    close(in[0]);
    close(out[1]);
    to_ = in[1];
    from_ = out[0];
  }
  ~TForeignEdit() {
    if (to_ >= 0) close(to_);
    if (from_ >= 0) close(from_);
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
  }

  // The next line it prints ("" when none comes within `limit`).
  std::string ReadLine(std::chrono::milliseconds limit = 10s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
      const size_t eol = buffer_.find('\n');
      if (eol != std::string::npos) {
        std::string line = buffer_.substr(0, eol);
        buffer_.erase(0, eol + 1);
        return line;
      }
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
      pollfd fd{from_, POLLIN, 0};
      if (left.count() <= 0 || poll(&fd, 1, int(left.count())) <= 0) return {};
      char chunk[4096];
      const ssize_t n = read(from_, chunk, sizeof chunk);
      if (n <= 0) return {};
      buffer_.append(chunk, size_t(n));
    }
  }
  std::string Ask(const std::string& command) {
    const std::string line = command + "\n";
    if (write(to_, line.data(), line.size()) != ssize_t(line.size())) return {};
    return ReadLine();
  }
  // Asks until the answer is `wanted` or `limit` passed; the last answer.
  std::string AskUntil(const std::string& command, const std::string& wanted, std::chrono::seconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    std::string answer;
    while ((answer = Ask(command)) != wanted && std::chrono::steady_clock::now() < end)
      std::this_thread::sleep_for(100ms);
    return answer;
  }

private:
  pid_t pid_ = -1;
  int to_ = -1, from_ = -1;
  std::string buffer_;
};

// The user presses `keys` (X keysyms) in order and lets go of them in reverse.
void PressKeys(xcb_connection_t* c, const std::vector<uint32_t>& keys) {
  for (uint32_t key : keys)
    xcb_test_fake_input(c, XCB_KEY_PRESS, X11KeyCode(c, key), XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
  for (auto key = keys.rbegin(); key != keys.rend(); ++key)
    xcb_test_fake_input(c, XCB_KEY_RELEASE, X11KeyCode(c, *key), XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
  free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

// True when a top-level window's title holds `name`.
bool WindowShown(xcb_connection_t* c, const std::string& name) {
  xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  auto* tree = xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr);
  if (!tree) return false;
  bool found = false;
  const xcb_window_t* children = xcb_query_tree_children(tree);
  for (int i = 0; i < xcb_query_tree_children_length(tree) && !found; ++i) {
    auto* title = xcb_get_property_reply(
        c, xcb_get_property(c, 0, children[i], XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256), nullptr);
    if (title) {
      const std::string text(static_cast<const char*>(xcb_get_property_value(title)),
                             size_t(xcb_get_property_value_length(title)));
      found = text.find(name) != std::string::npos;
    }
    free(title);
  }
  free(tree);
  return found;
}

// Gives `window` the keyboard focus; true when it has it.
bool FocusOn(xcb_connection_t* c, xcb_window_t window) {
  xcb_set_input_focus(c, XCB_INPUT_FOCUS_PARENT, window, XCB_CURRENT_TIME);
  auto* focus = xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr);
  const bool done = focus && focus->focus == window;
  free(focus);
  return done;
}

// The program started beside the line edit with `script` (which ends when the file "done"
// appears), once its window shows and its hot keys are registered.
class TProgramBesideEdit {
public:
  TProgramBesideEdit(const std::string& script)
      : display_(Display().Name), edit_(display_, f_.Path("run")), c_(xcb_connect(display_.c_str(), nullptr)) {
    const std::string ready = edit_.ReadLine(30s);
    EXPECT_EQ(ready.rfind("ready ", 0), 0u) << "the line edit did not start: " << ready;
    if (ready.rfind("ready ", 0) == 0) editWindow_ = xcb_window_t(std::stoul(ready.substr(6)));
    f_.Write("run.script", script + "wait-file " + f_.Path("done") + "\nclose\n");
    auto env = f_.Env("run.script");
    env["QT_QPA_PLATFORM"] = "xcb";
    env["DISPLAY"] = display_;
    env["HOME"] = f_.Path("home");
    run_ = std::make_unique<ProgramRun>(std::vector<std::string>{}, env);
    const auto limit = std::chrono::steady_clock::now() + 60s;
    while (!WindowShown(c_, "Quillomark")) {
      if (std::chrono::steady_clock::now() >= limit) {
        ADD_FAILURE() << "the program never showed\n" << run_->Stderr();
        return;
      }
      std::this_thread::sleep_for(100ms);
    }
    std::this_thread::sleep_for(1s);
  }
  ~TProgramBesideEdit() { xcb_disconnect(c_); }
  // Lets the program end; its exit code.
  int Finish() {
    f_.Write("done", "");
    return run_->Wait(30s);
  }
  TForeignEdit& Edit() { return edit_; }
  xcb_connection_t* X() { return c_; }
  bool FocusOnEdit() { return FocusOn(c_, editWindow_); }
  std::string Stderr() const { return run_->Stderr(); }

private:
  ProgramFolders f_;
  std::string display_;
  TForeignEdit edit_;
  xcb_connection_t* c_;
  xcb_window_t editWindow_ = 0;
  std::unique_ptr<ProgramRun> run_;
};

TEST(GlobalActionsEndToEnd, DecodeFromKoiHotKeyConvertsAnotherProgramsSelection) {
  if (Display().Name.empty()) GTEST_SKIP() << "Xvfb is not installed and DISPLAY is not set";
  TProgramBesideEdit program("");
  TForeignEdit& edit = program.Edit();
  ASSERT_EQ(edit.Ask("clip-set the user's own"), "ok");
  // The hot key of "Decode from KOI" is taken.
  auto probe = TX11HotKeys::Open(Display().Name, nullptr);
  ASSERT_TRUE(probe);
  EXPECT_FALSE(probe->Register(1, 'K', TX11HotKeys::Shift | TX11HotKeys::Ctrl | TX11HotKeys::Alt));
  probe.reset();

  const std::u16string russian = u"Съешь же ещё этих мягких французских булок";
  ASSERT_EQ(edit.Ask("text " + WideToUtf8(AnsiToWide(WideToAnsi(russian, 20866), 1251))), "ok");
  ASSERT_TRUE(program.FocusOnEdit());
  PressKeys(program.X(), {0xffe1, 0xffe3, 0xffe9, 'k'});
  EXPECT_EQ(edit.AskUntil("get", "text " + WideToUtf8(russian), 20s), "text " + WideToUtf8(russian));
  EXPECT_EQ(edit.AskUntil("clip-get", "clip the user's own|keep", 10s), "clip the user's own|keep");
  EXPECT_EQ(program.Finish(), 0) << program.Stderr();
}

// Scroll Lock over another program's selection shows the quick conversion window with that
// text; its De-Transliterate button runs the correction engine (in the progress window) and the
// result goes back in place of the selection.
TEST(GlobalActionsEndToEnd, TheQuickPanelsEngineButtonConvertsAnotherProgramsSelection) {
  if (Display().Name.empty()) GTEST_SKIP() << "Xvfb is not installed and DISPLAY is not set";
  TProgramBesideEdit program("answer form 2 click:BtnDeTransliterate\n");
  TForeignEdit& edit = program.Edit();
  ASSERT_EQ(edit.Ask("text privet, mir"), "ok");
  ASSERT_TRUE(program.FocusOnEdit());
  PressKeys(program.X(), {0xff14});  // Scroll Lock
  const std::string russian = WideToUtf8(u"привет, мир");
  EXPECT_EQ(edit.AskUntil("get", "text " + russian, 20s), "text " + russian);
  EXPECT_EQ(program.Finish(), 0) << program.Stderr();
}

}  // namespace
