// The start of the program: the real program started twice (the second start hands its file
// to the running copy and ends; the new-window flag lets one further full copy start), without
// a display, and in process the order of its windows and the rich edit check.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>

#include <sys/resource.h>
#include <sys/wait.h>

#include "platform/gui/application.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/std_controls.h"
#include "proofing/dictionary_format.h"
#include "shell/about_box.h"
#include "shell/form_list.h"
#include "shell/preferences.h"
#include "shell/program_start.h"
#include "shell/splash_form.h"
#include "tests/shell/preferences_test_env.h"
#include "tests/shell/program_test_util.h"
#include "textcore/rich_edit.h"
#include "textcore/win_registry.h"

namespace {

using namespace std::chrono_literals;

TEST(ProgramTest, SecondStartHandsItsFileToTheRunningCopyAndEnds) {
  ProgramFolders f;
  std::filesystem::create_directories(f.Path("elsewhere"));
  f.Write("elsewhere/note.txt", "handed over from a second start\r\n");
  f.Write("first.script",
          "answer messagedlg 1\nwait-text handed over\nasked nothing-here.txt\" not found\nsave-text " + f.Path("first.out") + "\nclose\n");
  ProgramRun first({}, f.Env("first.script"));
  ASSERT_TRUE(f.WaitForCopy());

  // A missing file: the running copy says that it is not found.
  ProgramRun missing({"nothing-here.txt"}, f.Env(), f.Path("elsewhere"));
  EXPECT_EQ(missing.Wait(20s), 0) << missing.Stderr();
  {
    ScopedEnv config("QUILLOMARK_CONFIG_DIR", f.Path("config"));
    EXPECT_EQ(TWinRegistry(kProductKey).ReadString("General", "OpenNow", "?"), f.Path("elsewhere/nothing-here.txt"));
  }

  // A name relative to the second start's own working folder.
  ProgramRun second({"note.txt"}, f.Env(), f.Path("elsewhere"));
  EXPECT_EQ(second.Wait(20s), 0) << second.Stderr();
  EXPECT_EQ(first.Wait(30s), 0) << first.Stderr();
  EXPECT_EQ(ProgramRun::ReadText(f.Path("first.out")), "handed over from a second start\r");
}

TEST(ProgramTest, ASecondStartOpensItsFileItselfWhenNoSameSessionCopyTakesIt) {
  // A copy with another settings folder is not handed the file; a copy that does not answer
  // (stopped here, as under a modal box) is given up after a while.
  ProgramFolders f;
  f.Write("first.script", "wait-text never\n");
  ProgramRun first({}, f.Env("first.script"));
  ASSERT_TRUE(f.WaitForCopy());
  f.Write("mine.txt", "opened by the second start");
  f.Write("second.script", "wait-text second start\nsave-text " + f.Path("second.out") + "\nclose\n");
  auto env = f.Env("second.script");
  env["QUILLOMARK_CONFIG_DIR"] = f.Path("other-config");
  ProgramRun elsewhere({f.Path("mine.txt")}, env);
  EXPECT_EQ(elsewhere.Wait(60s), 0) << elsewhere.Stderr();
  EXPECT_EQ(ProgramRun::ReadText(f.Path("second.out")), "opened by the second start");

  std::filesystem::remove(f.Path("second.out"));
  ::kill(first.Pid(), SIGSTOP);
  ProgramRun stuck({f.Path("mine.txt")}, f.Env("second.script"));
  EXPECT_EQ(stuck.Wait(60s), 0) << stuck.Stderr();
  EXPECT_EQ(ProgramRun::ReadText(f.Path("second.out")), "opened by the second start");
  ::kill(first.Pid(), SIGKILL);
  ::kill(first.Pid(), SIGCONT);
  first.Wait(10s);
}

TEST(ProgramTest, NewWindowFlagLetsOneFullCopyStart) {
  ProgramFolders f;
  f.Write("release.txt", "release");
  f.Write("first.script", "wait-text release\nclose\n");
  ProgramRun first({}, f.Env("first.script"));
  ASSERT_TRUE(f.WaitForCopy());
  {
    ScopedEnv config("QUILLOMARK_CONFIG_DIR", f.Path("config"));
    TWinRegistry(kProductKey).WriteBool("General", "NewWindow", true);
  }
  f.Write("own.txt", "a copy of its own");
  f.Write("copy.script", "save-text " + f.Path("copy.out") + "\nclose\n");
  ProgramRun copy({f.Path("own.txt")}, f.Env("copy.script"));
  EXPECT_EQ(copy.Wait(30s), 0) << copy.Stderr();
  EXPECT_EQ(ProgramRun::ReadText(f.Path("copy.out")), "a copy of its own");
  {
    ScopedEnv config("QUILLOMARK_CONFIG_DIR", f.Path("config"));
    EXPECT_FALSE(TWinRegistry(kProductKey).ReadBool("General", "NewWindow", true));
  }

  ProgramRun release({f.Path("release.txt")}, f.Env());
  EXPECT_EQ(release.Wait(20s), 0) << release.Stderr();
  EXPECT_EQ(first.Wait(30s), 0) << first.Stderr();
}

TEST(ProgramTest, NewWindowCommandStartsAFullCopy) {
  ProgramFolders f;
  f.Write("release.txt", "release");
  f.Write("first.script", "click NewWindow1\nwait-text release\nclose\n");
  ProgramRun first({}, f.Env("first.script"));
  // The command starts the program again, and the new process runs as a copy of its own.
  const auto limit = std::chrono::steady_clock::now() + 20s;
  while (f.CopyPids().size() < 2 && std::chrono::steady_clock::now() < limit)
    std::this_thread::sleep_for(20ms);
  const std::vector<pid_t> pids = f.CopyPids();
  ASSERT_EQ(pids.size(), 2u);
  {
    ScopedEnv config("QUILLOMARK_CONFIG_DIR", f.Path("config"));
    EXPECT_FALSE(TWinRegistry(kProductKey).ReadBool("General", "NewWindow", true));
  }
  for (pid_t pid : pids)
    if (pid != first.Pid()) ::kill(pid, SIGTERM);  // the copy is not this test's child
  ProgramRun release({f.Path("release.txt")}, f.Env());
  EXPECT_EQ(release.Wait(20s), 0) << release.Stderr();
  EXPECT_EQ(first.Wait(30s), 0) << first.Stderr();
}

// The windows the main window does not need come up when first used, by each way a user
// reaches them: menu, pop-up menu, toolbar and key. A window shown modally notes its place
// while it is up.
TEST(ProgramTest, WindowsMadeOnFirstUseComeUpByEveryPath) {
  struct Case {
    const char* steps;
    const char* window;
    bool modal;
  };
  const Case cases[] = {
      {"click CharacterMap1", "FormGenChar", false},
      {"click UniversalDecoder1", "FormGenChar", false},
      {"click BtnCharMap", "FormGenChar", false},
      {"key F12", "FormGenChar", false},
      {"click CharacterMap2", "FormGenChar", false},  // the tray's menu
      {"click GenerateCharacters1", "VirtualKbd", false},
      {"click VirtualKeyboard1", "VirtualKbd", false},
      {"click ClipboardPane1", "CollectForm", false},
      {"click InsertSymbol1", "SpecialCharForm", false},
      {"click Find1", "FindForm", false},
      {"key Ctrl+F", "FindForm", false},
      {"answer messagedlg 1\nclick FindNextOcc1", "FindForm", false},  // the one word is searched past
      {"click ViewFormatted\nclick BtnNumStyle", "NumStyleForm", false},
      {"click AutosetLanguage1", "AutoLangForm", true},
      {"click ViewFormatted\nclick BtnVerifyLang", "AutoLangForm", true},
      {"click ConvUNICODE1", "UnicodeForm", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.steps);
    ProgramFolders f;
    f.Write("note.txt", "word");
    const std::string place = c.modal ? std::string("in-window ") + c.window + " 2 place:" + f.Path("place") + "\n"
                                      : std::string();
    const std::string note = c.modal ? std::string() : std::string("save-places ") + f.Path("places") + " " + c.window + "\n";
    f.Write("run.script", "wait-text word\n" + place + c.steps + "\n" + note + "close\n");
    ProgramRun run({f.Path("note.txt")}, f.Env("run.script"));
    EXPECT_EQ(run.Wait(30s), 0) << run.Stderr();
    if (c.modal)
      EXPECT_FALSE(ProgramRun::ReadText(f.Path("place")).empty());
    else
      EXPECT_EQ(ProgramRun::ReadText(f.Path("places")).rfind(std::string(c.window) + " - ", 0), 0u);
  }
}

// What such a window keeps works before it is made: the clipboard window shows at the start when
// it was up at the end, Alt+Right finds the stored search text, a symbol's shortcut types it,
// and capture mode can be switched on from the menu.
TEST(ProgramTest, StoredStateOfWindowsMadeOnFirstUseHoldsFromTheStart) {
  ProgramFolders f;
  f.Write("note.txt", "hay needle hay");
  f.Write("first.script", "wait-text hay\nclick ClipboardPane1\nclick Find1\ntype-in FindForm.EditFind needle\nclose\n");
  ProgramRun first({f.Path("note.txt")}, f.Env("first.script"));
  ASSERT_EQ(first.Wait(30s), 0) << first.Stderr();

  f.Write("second.script", "wait-text hay\nsave-places " + f.Path("places") + " CollectForm\nkey Alt+Right\nkey Ctrl+X\nkey Ctrl+Alt+N\n"
          "save-text " + f.Path("out") + "\nclick Autopaste1\nsave-states " + f.Path("states") + " Autopaste1\n"
          "answer messagedlg 7\nclose\n");
  ProgramRun second({f.Path("note.txt")}, f.Env("second.script"));
  EXPECT_EQ(second.Wait(30s), 0) << second.Stderr();
  EXPECT_EQ(ProgramRun::ReadText(f.Path("places")).rfind("CollectForm - ", 0), 0u);
  EXPECT_NE(ProgramRun::ReadText(f.Path("states")).find("Autopaste1\tusable\tchecked"), std::string::npos)
      << ProgramRun::ReadText(f.Path("states"));
  EXPECT_EQ(ProgramRun::ReadText(f.Path("out")), "hay \xE2\x84\x96 hay");
}

// A packed dictionary in the dictionary folder is unpacked at the start, through the unpacking
// window made for it then.
TEST(ProgramTest, APackedDictionaryIsUnpackedAtTheStart) {
  ProgramFolders f;
  const std::string folder = f.Path("dict") + "/";
  std::filesystem::create_directories(folder);
  TQDictHeader header;
  header.SetLcid(LANG_ENGLISH_US);
  header.SetTitle("Golden");
  header.SetDataName("golden");
  header.SetGroupNumber(1);
  header.SetDataSize(12);
  header.SetWordCount(4);
  header.SetGroup(2, 0, 1);
  header.SetGroup(3, 2, 2);
  header.SetGroup(4, 8, 1);
  const std::string bytes(header.Bytes.data(), kDictHeaderSize);
  f.Write("dict/golden.qdp", bytes + "\x01" "cat" "\x04" "s" "\x01" "dog" "\x01" "ox");
  f.Write("dict/golden.qdi", bytes);
  {
    ScopedEnv config("QUILLOMARK_CONFIG_DIR", f.Path("config"));
    TWinRegistry(HKEY_LOCAL_MACHINE, "Software\\Vortanel\\Shared").WriteString("Proof", "DicPath", folder);
  }
  // The program's own languages are missing there: it says so.
  f.Write("run.script", "answer messagedlg 2\nclose\n");
  ProgramRun run({}, f.Env("run.script"));
  EXPECT_EQ(run.Wait(30s), 0) << run.Stderr();
  EXPECT_EQ(ProgramRun::ReadText(folder + "golden.qd"), "oxcatdogcats");
}

// A start that fails (here a question of the start-up that nobody answers: the dictionary
// folder holds none of the program's languages) says why and ends with 1, its windows freed.
TEST(ProgramTest, AFailedStartSaysWhyAndEndsWithOne) {
  ProgramFolders f;
  std::filesystem::create_directories(f.Path("empty"));
  {
    ScopedEnv config("QUILLOMARK_CONFIG_DIR", f.Path("config"));
    TWinRegistry(HKEY_LOCAL_MACHINE, "Software\\Vortanel\\Shared").WriteString("Proof", "DicPath", f.Path("empty") + "/");
  }
  f.Write("run.script", "close\n");
  ProgramRun run({}, f.Env("run.script"));
  EXPECT_EQ(run.Wait(30s), 1) << run.Stderr();
  EXPECT_NE(run.Stderr().find("Quillomark: "), std::string::npos) << run.Stderr();
  EXPECT_NE(run.Stderr().find("spell-checkers"), std::string::npos) << run.Stderr();
}

TEST(ProgramTest, AFileNamedAtStartThatIsNoFileIsSaidToBeNotFound) {
  ProgramFolders f;
  std::filesystem::create_directories(f.Path("a-folder"));
  f.Write("start.script", "answer messagedlg 1\nasked not found\nclose\n");
  for (const std::string& name : {f.Path("missing.txt"), f.Path("a-folder")}) {
    SCOPED_TRACE(name);
    ProgramRun run({name}, f.Env("start.script"));
    EXPECT_EQ(run.Wait(30s), 0) << run.Stderr();
  }
}

TEST(ProgramTest, AFileTooLargeForTheMemoryIsRefusedBeforeLoading) {
  ProgramFolders f;
  f.Write("huge.txt", "");
  std::filesystem::resize_file(f.Path("huge.txt"), uint64_t(3) << 30);  // sparse: takes no room
  f.Write("start.script", "answer messagedlg 1\nasked too large\nclose\n");
  ProgramRun run({f.Path("huge.txt")}, f.Env("start.script"));
  EXPECT_EQ(run.Wait(30s), 0) << run.Stderr();
}

TEST(ProgramTest, SavingBeyondTheFileSizeLimitIsAFailedSave) {
  // Under "ulimit -f" a save larger than the limit is reported, the file and its folder stay
  // as they were, and the program goes on.
  ProgramFolders f;
  const std::string big(200 * 1024, 'x');
  f.Write("big.txt", big);
  f.Write("run.script", "answer messagedlg 1\nwait-text xxx\nclick FileSaveItem\nasked could not be saved\nclose\n");
  rlimit before;
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
  rlimit limited = before;
  limited.rlim_cur = 100 * 1024;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
  ProgramRun run({f.Path("big.txt")}, f.Env("run.script"));
  ::setrlimit(RLIMIT_FSIZE, &before);
  EXPECT_EQ(run.Wait(60s), 0) << run.Stderr();
  EXPECT_EQ(ProgramRun::ReadText(f.Path("big.txt")), big);
  for (const auto& entry : std::filesystem::directory_iterator(f.Path("")))
    EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
}

TEST(ProgramTest, AnRtfTheReaderCannotReadIsRefusedAndLeftAlone) {
  // Groups nested deeper than the reader goes: said, not opened as its own source text.
  ProgramFolders f;
  const std::string deep = ProgramRun::ReadText(std::string(QM_FIXTURES_DIR) + "/hostile/nested-too-deep.rtf");
  f.Write("deep.rtf", deep);
  f.Write("run.script", "answer messagedlg 1\nasked cannot be read as rich text\nsave-text " + f.Path("shown.txt") +
                            "\nclose\n");
  ProgramRun run({f.Path("deep.rtf")}, f.Env("run.script"));
  EXPECT_EQ(run.Wait(60s), 0) << run.Stderr();
  EXPECT_EQ(ProgramRun::ReadText(f.Path("shown.txt")), "");
  EXPECT_EQ(ProgramRun::ReadText(f.Path("deep.rtf")), deep);
}

TEST(ProgramTest, StartedProgramsAreNeverLeftAsZombies) {
  ProgramFolders f;
  const std::string pidFile = f.Path("child.pid");
  ASSERT_TRUE(SpawnDetached("/bin/sh", {"-c", "echo $$ > " + pidFile + ".tmp && mv " + pidFile + ".tmp " + pidFile}, false));
  const auto limit = std::chrono::steady_clock::now() + 10s;
  while (!std::filesystem::exists(pidFile) && std::chrono::steady_clock::now() < limit)
    std::this_thread::sleep_for(10ms);
  const pid_t pid = std::stoi(ProgramRun::ReadText(pidFile));
  std::this_thread::sleep_for(100ms);  // the program has ended by now
  // It is not this process's child, so nothing waits here to reap it.
  errno = 0;
  EXPECT_EQ(::waitpid(pid, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
  EXPECT_FALSE(SpawnDetached("/nonexistent/program", {}, false));
}

TEST(ProgramTest, WithoutADisplayItSaysHowToRunIt) {
  ProgramFolders f;
  auto env = f.Env();
  env["QT_QPA_PLATFORM"] = ProgramRun::kUnset;
  env["DISPLAY"] = ProgramRun::kUnset;
  env["WAYLAND_DISPLAY"] = ProgramRun::kUnset;
  ProgramRun run({}, env);
  EXPECT_EQ(run.Wait(20s), 2);
  const std::string message = run.Stderr();
  EXPECT_NE(message.find("no display"), std::string::npos) << message;
  EXPECT_NE(message.find("xvfb-run"), std::string::npos) << message;
}

}  // namespace

// --- In-process parts of the start -------------------------------------------------------------

namespace {

// The windows made at start-up come in their fixed order; the others are made once each, when
// a command first needs them.
TEST(ProgramStart, WindowsAreMadeInTheFixedOrderOnceEach) {
  // Every window class of the program in its creation order; the lists hold those that exist.
  const std::vector<std::string> order = {
      "TMainForm", "TPrefForm", "TGotoLineForm", "TAutoLangForm", "TAskForm", "TNumStyleForm",
      "TMixedCharForm", "TReformatForm", "TCollectForm", "TMailForm", "TSpeedForm", "TSortForm",
      "TCyrForm", "TWaitForm", "TUnicodeForm", "TVirtualKbd", "TRevForm", "TQuickForm",
      "TAutoForm", "TFindForm", "TProgressForm", "TFormGenChar", "TSpecialCharForm", "TCalcForm"};
  std::vector<std::string> listed;
  for (const auto* list : {&FormsBeforeSplash(), &FormsAfterSplash()})
    for (const TStartupForm& form : *list) listed.push_back(form.ClassName);
  ASSERT_FALSE(listed.empty());
  EXPECT_EQ(listed.front(), "TMainForm");
  // The splash window shows between TNumStyleForm and TMixedCharForm.
  const auto splash = std::find(order.begin(), order.end(), "TMixedCharForm");
  for (const TStartupForm& form : FormsBeforeSplash())
    EXPECT_LT(std::find(order.begin(), order.end(), form.ClassName), splash) << form.ClassName;
  for (const TStartupForm& form : FormsAfterSplash())
    EXPECT_GE(std::find(order.begin(), order.end(), form.ClassName), splash) << form.ClassName;
  size_t at = 0;
  for (const std::string& name : listed) {
    const auto found = std::find(order.begin() + long(at), order.end(), name);
    ASSERT_NE(found, order.end()) << name << " is out of order or unknown";
    at = size_t(found - order.begin()) + 1;
  }
  for (const TStartupForm& form : FormsOnFirstUse()) {
    EXPECT_NE(std::find(order.begin(), order.end(), form.ClassName), order.end()) << form.ClassName;
    EXPECT_EQ(std::find(listed.begin(), listed.end(), form.ClassName), listed.end()) << form.ClassName;
  }

  EnsureGuiApplication();
  const auto made = [](const std::string& className) {
    int count = 0;
    for (int i = 0; i < Screen->FormCount(); ++i) count += Screen->Forms(i)->WindowClassName() == className;
    return count;
  };
  const int before = Screen->FormCount();
  for (const auto* list : {&FormsBeforeSplash(), &FormsAfterSplash()})
    for (const TStartupForm& form : *list) form.Create(*Application);
  EXPECT_EQ(Screen->FormCount() - before, int(listed.size()));
  for (const TStartupForm& form : FormsOnFirstUse()) {
    EXPECT_EQ(made(form.ClassName), 0) << form.ClassName << " is made at start-up";
    form.Create(*Application);
    form.Create(*Application);
    EXPECT_EQ(made(form.ClassName), 1) << form.ClassName;
  }
  for (int i = Application->ComponentCount() - 1; i >= 0; --i)
    if (dynamic_cast<TCustomForm*>(Application->Components(i))) delete Application->Components(i);
}

TEST(ProgramStart, SplashShowsUnlessThePreferencesSayNo) {
  TTestWorld world;
  EnsureGuiApplication();
  auto pref = std::make_unique<TPrefForm>(Application);
  PrefForm = pref.get();
  PrefForm->CBNoSplash->SetChecked(false);
  ASSERT_TRUE(Application->SetIconFile(std::string(QM_SOURCE_DIR) + "/data/quillomark.png"));
  {
    auto splash = ShowSplashWhenWanted();
    ASSERT_TRUE(splash);
    EXPECT_TRUE(splash->Visible());
    EXPECT_EQ(splash->LabelVer->Caption(), ProgramVersionText());
    EXPECT_EQ(splash->Logo->Picture()->Bitmap()->Width(), 128);  // the program's icon
  }
  PrefForm->CBNoSplash->SetChecked(true);
  EXPECT_FALSE(ShowSplashWhenWanted());
  PrefForm = nullptr;
}

TEST(ProgramStart, RichEditCheckFindsOurControlAndSaysNothing) {
  EXPECT_EQ(GetRichEditVersion(), 3);
  EXPECT_EQ(RichEditVersionMessage(3), "");
  EXPECT_EQ(RichEditVersionMessage(-1), "");
  EXPECT_EQ(RichEditVersionMessage(0),
            "Your system doesn't seem to have the RichEdit Control.\rPress OK to open the download site");
  EXPECT_NE(RichEditVersionMessage(2).find("compatibility. We recommend downloading version 3.0 or better.\r\rPress OK"),
            std::string::npos);
}

}  // namespace
