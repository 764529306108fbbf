// Start-up with a settings store the program did not expect: values of other types, a store
// of a newer version, a store that is a folder, a settings folder that cannot be created. The
// program starts, works, leaves what it must not touch alone and tells the user once.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "platform/files.h"
#include "platform/gui/application.h"
#include "platform/gui/dialogs.h"
#include "shell/program_start.h"
#include "shell/settings_notice.h"
#include "tests/shell/program_test_util.h"
#include "textcore/win_registry.h"

namespace {

using namespace std::chrono_literals;

struct StoreCase {
  const char* what;
  std::function<void(ProgramFolders& f)> prepare;
  const char* configFolder;  // the settings folder, in the test's folder
  const char* notice;        // part of the notice shown at start, "" for none
};

const std::string kNewerStore = "QuillomarkRegistry 9\n[Software\\Vortanel\\Quillomark\\Main]\n\"InitDir\"=sz:\"/x\"\n";

const StoreCase kStoreCases[] = {
    {"values of other types",
     [](ProgramFolders& f) {
       f.Write("config/HKEY_CURRENT_USER.registry",
               "QuillomarkRegistry 1\n"
               "[Software\\Vortanel\\Quillomark\\General]\n\"UpdateNotify\"=sz:\"many\"\n\"NewWindow\"=sz:\"yes\"\n"
               "\"OpenNow\"=dword:00000007\n"
               "[Software\\Vortanel\\Quillomark\\Main]\n\"InitDir\"=dword:0000002a\n\"UserExt\"=dword:00000001\n"
               "\"Item_0\"=dword:00000003\n\"Data_0\"=sz:\"x\"\n"
               "[Software\\Vortanel\\Quillomark\\Preferences]\n\"Language\"=binary:01,02\n"
               "EndOfRegistry\n");
     },
     "config", ""},
    {"newer version", [](ProgramFolders& f) { f.Write("config/HKEY_CURRENT_USER.registry", kNewerStore); }, "config",
     "newer version"},
    {"store is a folder",
     [](ProgramFolders& f) { std::filesystem::create_directories(f.Path("config/HKEY_CURRENT_USER.registry")); },
     "config", "cannot be read"},
    {"folder cannot be created", [](ProgramFolders& f) { f.Write("blocker", "a file, not a folder"); },
     "blocker/config", "cannot be saved"},
    {"damaged store",
     [](ProgramFolders& f) {
       f.Write("config/HKEY_CURRENT_USER.registry",
               "QuillomarkRegistry 1\n[Software\\Vortanel\\Quillomark\\General]\n\"UpdateNotify\"=dword:00000003\n"
               "[Software\\Vortanel\\Quillomark\\Ma");  // cut short
     },
     "config", "was damaged"},
};

TEST(SettingsStart, TheProgramStartsAndWorksWithAnyStore) {
  for (const StoreCase& c : kStoreCases) {
    SCOPED_TRACE(c.what);
    ProgramFolders f;
    c.prepare(f);
    f.Write("note.txt", "works anyway");
    f.Write("run.script", "answer messagedlg 1\nwait-text works anyway\nsave-text " + f.Path("out.txt") + "\nclose\n");
    auto env = f.Env("run.script");
    env["QUILLOMARK_CONFIG_DIR"] = f.Path(c.configFolder);
    ProgramRun run({f.Path("note.txt")}, env);
    EXPECT_EQ(run.Wait(60s), 0) << run.Stderr();
    EXPECT_EQ(ProgramRun::ReadText(f.Path("out.txt")), "works anyway");
  }
  // The newer store is left exactly as it was.
  ProgramFolders f;
  f.Write("config/HKEY_CURRENT_USER.registry", kNewerStore);
  f.Write("run.script", "answer messagedlg 1\nclose\n");
  ProgramRun run({}, f.Env("run.script"));
  EXPECT_EQ(run.Wait(60s), 0) << run.Stderr();
  EXPECT_EQ(ProgramRun::ReadText(f.Path("config/HKEY_CURRENT_USER.registry")), kNewerStore);
}

TEST(SettingsStart, DamagedListCountsCannotHoldTheStartUp) {
  // "Count"=dword:7fffffff under each of the find window's stored lists, read when the window
  // is first opened.
  ProgramFolders f;
  std::filesystem::copy_file(std::string(QM_FIXTURES_DIR) + "/hostile/find-list-count.registry",
                             f.Path("config/HKEY_CURRENT_USER.registry"));
  f.Write("note.txt", "started");
  f.Write("run.script", "wait-text started\nclick Replace1\nclose\n");
  ProgramRun run({f.Path("note.txt")}, f.Env("run.script"));
  EXPECT_EQ(run.Wait(60s), 0) << run.Stderr();
  ScopedEnv config("QUILLOMARK_CONFIG_DIR", f.Path("config"));
  TWinRegistry registry(kProductKey);
  // The lists were read as far as their lines go and written back with their true counts.
  EXPECT_EQ(registry.ReadInteger("FindForm\\EditFind_Items", "Count", -1), 1);
  EXPECT_EQ(registry.ReadInteger("FindForm\\EditReplace_Items", "Count", -1), 0);
  EXPECT_EQ(registry.ReadInteger("FindForm\\EditMulti_Lines", "Count", -1), 2);
}

TEST(SettingsStart, TheUserIsToldOnceWhenSettingsCannotBeSaved) {
  EnsureGuiApplication();
  for (const StoreCase& c : kStoreCases) {
    SCOPED_TRACE(c.what);
    ProgramFolders f;
    c.prepare(f);
    ScopedEnv config("QUILLOMARK_CONFIG_DIR", f.Path(c.configFolder) + "/");
    TWinRegistry registry(kProductKey);
    EXPECT_EQ(registry.ReadString("Main", "InitDir", "default"), "default");
    registry.WriteString("Main", "InitDir", "/home");  // repairs a value of another type
    EXPECT_EQ(registry.ReadString("Main", "InitDir", "default"), "/home");

    TScriptedDialogs dialogs;
    if (*c.notice) dialogs.Answer(TDialogKind::MessageDlg, mrOk);
    ScheduleSettingsNotice();
    for (int i = 0; i < 40; ++i) {
      Application->ProcessMessages();
      std::this_thread::sleep_for(5ms);
    }
    ASSERT_EQ(dialogs.Asked().size(), *c.notice ? 1u : 0u);
    if (*c.notice) EXPECT_NE(dialogs.Asked()[0].Text.find(c.notice), std::string::npos) << dialogs.Asked()[0].Text;
    EXPECT_TRUE(dialogs.Unexpected().empty());
  }
}

}  // namespace
