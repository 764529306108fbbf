#include "shell/program_start.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include <spawn.h>
#include <unistd.h>
#include <sys/wait.h>

#include "platform/code_pages.h"
#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/gui/application.h"
#include "platform/gui/dialogs.h"
#include "platform/registry_store.h"
#include "proofing/spell_global.h"
#include "proofing/spell_list_form.h"
#include "proofing/spell_unpack_form.h"
#include "proofing/spell_windows.h"
#include "shell/lang_messages.h"
#include "shell/form_list.h"
#include "shell/hand_off_window.h"
#include "shell/main_form.h"
#include "shell/program_start_script.h"
#include "shell/settings_notice.h"
#include "shell/single_instance.h"
#include "shell/splash_form.h"
#include "textcore/app_files.h"
#include "textcore/interface_hooks.h"
#include "textcore/rich_edit.h"
#include "textcore/win_registry.h"

extern char** environ;

namespace {

const char* const kRichEditDownloadPage = "https://www.vortanel.com/quillomark/richedit";

std::vector<std::string>& Params() {
  static std::vector<std::string> params;
  return params;
}

}  // namespace

bool SpawnDetached(const std::string& program, const std::vector<std::string>& args, bool searchPath) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  // A short-lived go-between starts the program and ends at once, so the program is never this
  // process's child: nobody has to wait for it, and it leaves no zombie behind when it ends.
  const pid_t between = ::fork();
  if (between < 0) return false;
  if (between == 0) {
    pid_t pid;
    const int rc = searchPath ? ::posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ)
                              : ::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ);
    ::_exit(rc == 0 ? 0 : 1);
  }
  int status = 0;
  while (::waitpid(between, &status, 0) < 0 && errno == EINTR) {}
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

namespace {

// The shell's "open" of an address: the desktop's default handler.
void OpenAddress(const std::string& address) { SpawnDetached("xdg-open", {address}, true); }

void CheckRichEdit() {
  const int version = GetRichEditVersion();
  const std::string message = RichEditVersionMessage(version);
  if (message.empty()) return;
  if (MessageDlg(message, version == 0 ? mtError : mtWarning, mbOKCancel) == mrOk)
    OpenAddress(kRichEditDownloadPage);
}

// The unpacking window, made only when a packed dictionary has to be unpacked.
class TUnpackWhenNeeded : public IUnpackView {
public:
  void BeginUnpack(const std::string& label) override { View().BeginUnpack(label); }
  void CheckStep(int step) override { View().CheckStep(step); }
  void ShowFreeSpace(const std::string& text) override { View().ShowFreeSpace(text); }
  TLowSpaceAnswer AskLowSpace(const std::string& message) override { return View().AskLowSpace(message); }
  void ShowError(const std::string& message) override { View().ShowError(message); }

private:
  TSCUnpack& View() {
    if (!form_) form_ = std::make_unique<TSCUnpack>(nullptr);
    return *form_;
  }
  std::unique_ptr<TSCUnpack> form_;
};

// A local X display (":0", "unix:0.0") whose socket is missing cannot be reached.
bool LocalDisplayMissing(const std::string& display) {
  std::string rest = display;
  if (rest.rfind("unix:", 0) == 0) rest = rest.substr(4);
  if (rest.empty() || rest[0] != ':') return false;  // a remote display: Qt finds out
  const std::string number = rest.substr(1, rest.find('.') == std::string::npos ? std::string::npos : rest.find('.') - 1);
  std::error_code error;
  return !std::filesystem::exists("/tmp/.X11-unix/X" + number, error);
}

}  // namespace

const std::vector<std::string>& ProgramParams() { return Params(); }

std::string RichEditVersionMessage(int version) {
  const std::string download = "Press OK to open the download site";
  switch (version) {
    case 0:
      return "Your system doesn't seem to have the RichEdit Control.\r" + download;
    case 1:
      return "Your system has version 1.0 of the RichEdit Control. The functionality if the editor "
             "will be VERY limited. We strongly recommend downloading version 3.0 of RichEdit "
             "Control or better.\r\r" + download;
    case 2:
      return "Your system has version 2.0 of the RichEdit Control. Version 3.0 is required for full "
             "compatibility. We recommend downloading version 3.0 or better.\r\r" + download;
    default:
      return {};
  }
}

bool HandOffToRunningCopy(const std::vector<std::string>& params) {
  // Starts made at the same moment hand over one after the other.
  const THandOffLock lock;
  if (!FindWindowOfClass(THandOffWindow::kWindowClass)) return false;
  TWinRegistry registry(kProductKey);
  if (registry.ReadBool("General", "NewWindow", false)) {
    registry.WriteBool("General", "NewWindow", false);
    return false;
  }
  // The running copy has another working folder: a relative name is made full here. A name
  // that is no file is handed over too, so that the running copy says it was not found.
  std::string fileName;
  if (!params.empty() && !params[0].empty()) fileName = ExpandFileName(params[0]);
  registry.WriteString("General", "OpenNow", fileName);
  // When the copy ended in the meantime, this one carries on as a copy of its own.
  return SendMessageToWindowClass(THandOffWindow::kWindowClass, WM_OPENNOW, 0, 0);
}

std::optional<std::string> DisplayProblem() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  const std::string qpa = platform ? platform : "";
  const char* x = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  const bool hasX = x && *x, hasWayland = wayland && *wayland;
  std::string reason;
  if (qpa.empty() || qpa.rfind("xcb", 0) == 0 || qpa.rfind("wayland", 0) == 0) {
    if (!hasX && !hasWayland)
      reason = "no display is available (neither DISPLAY nor WAYLAND_DISPLAY is set)";
    else if (qpa.rfind("wayland", 0) != 0 && !hasWayland && LocalDisplayMissing(x))
      reason = std::string("the X display ") + x + " is not running";
  }
  if (reason.empty()) return std::nullopt;
  return "Quillomark cannot open its window: " + reason + ".\n"
         "Run it on a desktop session, or under a virtual X server:\n"
         "    xvfb-run -a " + Application->ExeName() + "\n"
         "(bash scripts/run.sh does this by itself when there is no display.)";
}

bool StartProgramCopy() { return SpawnDetached(NativePath(Application->ExeName()).string(), {}, false); }

int RunProgram(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) Params().push_back(Utf8ToAnsi(argv[i]));
  // A write beyond the file-size limit fails with EFBIG and is reported like a full disk,
  // instead of the signal ending the program with its unsaved work.
  std::signal(SIGXFSZ, SIG_IGN);
  int exitCode = 0;
  try {
    CheckRichEdit();
    if (HandOffToRunningCopy(Params())) return 0;
    if (auto problem = DisplayProblem()) {
      std::fprintf(stderr, "%s\n", problem->c_str());
      return 2;
    }
    Application->Initialize(argc, argv);
    Application->SetTitle("Quillomark");
    Application->SetIconFile(AppDirFile("quillomark.png"));
    Application->SetHelpFile("Quillomark.hlp");
    // Long text-core work (sorting a large list) keeps the windows answering.
    ProcessMessagesHook = [] { Application->ProcessMessages(); };
    // The spelling component and its validators come first: the windows made next use them.
    // (Its error box needs the application, so it runs once the display is known to work.)
    auto* spellWindows = SpellWindows = new TSpellWindows(Application);
    {
      TUnpackWhenNeeded unpack;  // the unpacking window exists only while the dictionaries load
      InitializeSpelling(spellWindows, spellWindows, &unpack);
    }
    spellWindows->SetSpell(&SpellChecker());
    spellWindows->SetMessages(GetLangMessage);
    SetMessageDlgCaptions([](TMsgDlgType type) {
      static const char* const keys[] = {"DlgWarning", "DlgError", "DlgInformation", "DlgConfirm"};
      return type < mtCustom ? GetLangMessage(keys[type]) : std::string();
    });
    std::unique_ptr<TSplashForm> splash;
    {
      // The windows read many settings as they are made: in a batch each store's file is looked
      // at once. It ends before the hand-off window exists, whose messages must read what a
      // second start wrote just then, and before anything can ask the user a question.
      TRegistryBatch settingsTogether;
      for (const TStartupForm& form : FormsBeforeSplash()) form.Create(*Application);
      // The splash window shows while the other windows are made, unless the preferences say no.
      splash = ShowSplashWhenWanted();
      for (const TStartupForm& form : FormsAfterSplash()) form.Create(*Application);
    }
    // From here a second start hands its command line to this copy.
    new THandOffWindow(Application);
    // A test script answers (and records) the questions of the start-up too.
    PrepareTestScript();
    MainForm->InitAfterForms();
    MainForm->ResetDocument();
    if (splash) {
      splash->Hide();
      Application->ProcessMessages();
      splash.reset();
    }
    ScheduleTestScript();
    ScheduleSettingsNotice();
    Application->Run();
    exitCode = TestScriptExitCode();
  } catch (const Exception& e) {
    std::fprintf(stderr, "Quillomark: %s\n", e.Message.c_str());
    exitCode = 1;
  }
  // Every window is freed, the last made first; their stored settings are written together.
  // Also after a failed start: what was made goes as at the end (the tree worker's thread too).
  {
    TRegistryBatch settingsTogether;
    Application->DestroyComponents();
  }
  FinalizeSpelling();
  return exitCode;
}
