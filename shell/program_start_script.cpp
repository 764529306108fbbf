#include "shell/program_start_script.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <thread>

#include "platform/code_pages.h"
#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/gui/actions.h"
#include "platform/gui/application.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/menus.h"
#include "platform/gui/timer.h"
#include "shell/main_form.h"
#include "textcore/rich_edit.h"

namespace {

constexpr auto kWaitLimit = std::chrono::seconds(30);
int g_exitCode = 0;

TScriptedDialogs& Dialogs() {
  static TScriptedDialogs dialogs;  // installed for the rest of the run
  return dialogs;
}

void Fail(const std::string& message) {
  std::fprintf(stderr, "quillomark test script: %s\n", message.c_str());
  g_exitCode = 3;
}

void Click(const std::string& name) {
  TComponent* component = MainForm->FindComponent(name);
  if (auto* item = dynamic_cast<TMenuItem*>(component))
    item->Click();
  else if (auto* action = dynamic_cast<TBasicAction*>(component))
    action->Execute();
  else if (auto* control = dynamic_cast<TControl*>(component))
    control->Click();
  else
    throw Exception("no component " + name + " on the main window");
}

void WaitText(const std::string& utf8) {
  const std::u16string wanted = Utf8ToWide(utf8);
  const auto limit = std::chrono::steady_clock::now() + kWaitLimit;
  while (MainForm->Editor->GetTextW().find(wanted) == std::u16string::npos) {
    if (std::chrono::steady_clock::now() > limit) throw Exception("the editor never showed " + utf8);
    Application->ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

void Answer(const std::string& argument) {
  std::istringstream in(argument);
  std::string kind;
  int result = 0;
  if (!(in >> kind >> result)) throw Exception("answer needs a kind and a number: " + argument);
  if (kind == "messagedlg")
    Dialogs().Answer(TDialogKind::MessageDlg, result);
  else if (kind == "messagebox")
    Dialogs().Answer(TDialogKind::MessageBox, result);
  else
    throw Exception("unknown kind of question: " + kind);
}

// Fails unless a message asked so far holds `text`.
void Asked(const std::string& text) {
  for (const TDialogRequest& request : Dialogs().Asked())
    if (request.Text.find(Utf8ToAnsi(text)) != std::string::npos) return;
  throw Exception("no message said " + text);
}

// Runs one line of the script.
void RunLine(const std::string& line) {
  std::istringstream in(line);
  std::string verb;
  in >> verb;
  std::string argument;
  std::getline(in >> std::ws, argument);
  if (verb.empty() || verb[0] == '#') return;
  if (verb == "click")
    Click(argument);
  else if (verb == "wait-text")
    WaitText(argument);
  else if (verb == "save-text")
    WriteFileAtomic(ProgramFileName(argument), WideToUtf8(MainForm->Editor->GetTextW()));
  else if (verb == "answer")
    Answer(argument);
  else if (verb == "asked")
    Asked(argument);
  else if (verb == "close")
    MainForm->Close();
  else
    throw Exception("unknown action: " + line);
}

// The script's lines; `answers` true runs only the answers it starts with (they answer the
// questions of the start-up), false runs the rest.
void RunScript(const std::string& fileName, bool answers) {
  try {
    std::istringstream lines(ReadFileBytes(ProgramFileName(fileName)));
    std::string line;
    bool leading = true;
    while (g_exitCode == 0 && std::getline(lines, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      leading = leading && line.rfind("answer", 0) == 0;
      if (leading == answers) RunLine(line);
      else if (answers) break;
    }
  } catch (const Exception& e) {
    Fail(e.Message);
  }
  if (g_exitCode != 0) Application->Terminate();
}

std::string& ScriptName() {
  static std::string name;
  return name;
}

}  // namespace

void PrepareTestScript() {
  const char* variable = std::getenv("QUILLOMARK_TEST_SCRIPT");
  if (!variable || !*variable) return;
  ScriptName() = variable;
  ::unsetenv("QUILLOMARK_TEST_SCRIPT");  // copies this one starts do not run it again
  RunScript(ScriptName(), true);
}

bool ScheduleTestScript() {
  if (ScriptName().empty()) return false;
  const std::string fileName = ScriptName();
  auto* timer = new TTimer(Application);
  timer->SetInterval(1);
  timer->OnTimer = [timer, name = fileName](TObject*) {
    timer->SetEnabled(false);
    RunScript(name, false);
  };
  return true;
}

int TestScriptExitCode() { return g_exitCode; }
