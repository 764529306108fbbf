#include "shell/program_start_script.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <time.h>
#include <sstream>
#include <deque>
#include <map>
#include <set>
#include <thread>
#include <vector>

#include "platform/code_pages.h"
#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/gui/actions.h"
#include "platform/gui/application.h"
#include "platform/gui/common_controls.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/key_send.h"
#include "platform/gui/menus.h"
#include "platform/gui/mouse_send.h"
#include "platform/gui/shell_open.h"
#include "platform/gui/shown_texts.h"
#include "platform/gui/timer.h"
#include "platform/gui/window_walk.h"
#include "shell/form_list.h"
#include "shell/main_form.h"
#include "shell/open_save.h"
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

// A question nobody answered fails the script: one the dialog service met with no answer queued
// (the program may have swallowed the error it raised), or a window left waiting in its modal
// loop. The program then ends instead of waiting for a user who never comes.
constexpr auto kAnswerGrace = std::chrono::seconds(3);

void FailUnanswered() {
  static size_t reported = 0;
  const std::vector<std::string>& unexpected = Dialogs().Unexpected();
  for (; reported < unexpected.size(); ++reported) Fail("nobody answered the " + AnsiToUtf8(unexpected[reported]));
}

// Checks, every tenth of a second while a window waits, for one that waits for an answer longer
// than the scripted answers and window plans take; after a failure every such window is closed
// at once. The idle work, which runs whenever the program has handled messages (a window coming
// up among them), starts the checks, so that the script wakes no program left alone.
void WatchUnanswered() {
  auto* timer = new TTimer(Application);
  timer->SetEnabled(false);
  timer->SetInterval(100);
  Application->OnIdle = [timer, before = Application->OnIdle](TObject* sender, bool& done) {
    if (before) before(sender, done);
    FailUnanswered();
    if (!timer->Enabled() && WaitingModalWindow().Window) timer->SetEnabled(true);
  };
  timer->OnTimer = [timer](TObject*) {
    static const void* seen = nullptr;
    static std::chrono::steady_clock::time_point since;
    FailUnanswered();
    const TWaitingWindow waiting = WaitingModalWindow();
    if (waiting.Window != seen) {
      seen = waiting.Window;
      since = std::chrono::steady_clock::now();
    }
    if (!waiting.Window) {
      timer->SetEnabled(false);
      return;
    }
    if (g_exitCode == 0) {
      if (std::chrono::steady_clock::now() - since < kAnswerGrace) return;
      Fail("nobody answered the window " + AnsiToUtf8(waiting.Description));
    }
    CloseTopModalWindow();
    seen = nullptr;
    Application->Terminate();
  };
}

// Why a user could not click `component` now; empty when one could.
std::string Unreachable(TComponent* component) {
  if (auto* item = dynamic_cast<TMenuItem*>(component)) return MenuItemUnreachable(*item);
  if (auto* action = dynamic_cast<TAction*>(component)) {
    action->Update();
    return !action->Visible() ? "it is hidden" : !action->Enabled() ? "it is disabled" : "";
  }
  for (auto* at = dynamic_cast<TControl*>(component); at; at = at->Parent()) {
    const std::string what = at == component ? "it" : "its parent " + at->Name();
    if (!at->Visible()) return what + " is hidden";
    if (!at->Enabled()) return what + " is disabled";
  }
  return {};
}

// Opens the submenus above `item` from the top, as a user does on the way to it: their opening
// handlers set what they offer. An item of a popup menu is reached by popping the menu up.
void OpenMenusAbove(TMenuItem* item) {
  if (auto* popup = dynamic_cast<TPopupMenu*>(item->GetParentMenu()); popup && popup->OnPopup) popup->OnPopup(popup);
  std::vector<TMenuItem*> above;
  for (TMenuItem* at = item->Parent(); at && at->Parent(); at = at->Parent()) above.insert(above.begin(), at);
  for (TMenuItem* menu : above) {
    if (!menu->Visible() || !menu->Enabled()) return;
    if (menu->OnClick) menu->Click();
  }
}

// Clicks what a user can click; anything else (hidden, disabled, in a closed-off menu, or a
// command the window refuses now) fails with the reason.
void UseWindow(TCustomForm& form, const std::string& step);
TCustomForm& ShownForm(const std::string& name);

void Click(const std::string& name) {
  if (const size_t dot = name.find('.'); dot != std::string::npos) {
    // "FORM.NAME": a control of another window of the program, up now.
    UseWindow(ShownForm(name.substr(0, dot)), "click:" + name.substr(dot + 1));
    return;
  }
  TComponent* component = MainForm->FindComponent(name);
  if (!component) throw Exception("no component " + name + " on the main window");
  MainForm->ActionList1->UpdateActions();  // the states as a user finds them after an idle moment
  if (auto* item = dynamic_cast<TMenuItem*>(component)) OpenMenusAbove(item);
  std::string why = Unreachable(component);
  if (why.empty() && !MainForm->AllowCommand(component)) why = "the window takes no such command now";
  if (!why.empty()) throw Exception("a user cannot click " + name + ": " + why);
  if (auto* item = dynamic_cast<TMenuItem*>(component))
    item->Click();
  else if (auto* action = dynamic_cast<TBasicAction*>(component))
    action->Execute();
  else if (auto* control = dynamic_cast<TControl*>(component))
    control->Click();
  else
    throw Exception(name + " is no menu item, action or control");
}

TShortCut KeyOf(const std::string& text) {
  const TShortCut shortCut = TextToShortCut(text);
  if (!shortCut) throw Exception("no such key: " + text);
  return shortCut;
}

void SendShortCut(TWinControl* target, TShortCut shortCut) {
  const TShiftState shift = ((shortCut & scShift) ? ssShift : 0) | ((shortCut & scCtrl) ? ssCtrl : 0) |
                            ((shortCut & scAlt) ? ssAlt : 0);
  SendKeyTo(target, uint16_t(shortCut & 0x0FFF), shift);
}

// Presses a key such as "Ctrl+Alt+C" where the user's keys go: the control of the main window
// that has the keyboard focus, else its active control, else its editor.
void PressKey(const std::string& text) {
  TWinControl* target = FocusedControl();
  if (!target || target->ParentForm() != MainForm) target = MainForm->ActiveControl();
  SendShortCut(target ? target : MainForm->Editor, KeyOf(text));
}

// The window of that name, shown now.
TCustomForm& ShownForm(const std::string& name) {
  for (int i = 0; i < Screen->FormCount(); ++i)
    if (TCustomForm* form = Screen->Forms(i); form->Name() == name) {
      if (!form->Visible()) throw Exception("a user cannot reach the window " + name + ": it is not shown");
      return *form;
    }
  throw Exception("no window " + name);
}

// "type-in FORM.NAME TEXT": TEXT typed into a control of another window of the program, up now.
void TypeIn(const std::string& argument) {
  std::istringstream in(argument);
  std::string path, text;
  in >> path;
  std::getline(in >> std::ws, text);
  const size_t dot = path.find('.');
  if (dot == std::string::npos) throw Exception("type-in needs a window and a control: " + argument);
  TCustomForm& form = ShownForm(path.substr(0, dot));
  auto* control = dynamic_cast<TWinControl*>(form.FindComponent(path.substr(dot + 1)));
  if (!control || !control->Visible() || !control->Enabled()) throw Exception("a user cannot type into " + path);
  TypeTextTo(control, Utf8ToWide(text));
  Application->ProcessMessages();
}

// What a user does in a window: a key pressed in its focused control, "type:TEXT" typed there,
// or "click:NAME", a click on its control NAME (a window control takes the Space key, as after
// Tab to it); or what the script notes of it: "place:FILE" writes "LEFT TOP WIDTH HEIGHT" of the
// window (screen).
void UseWindow(TCustomForm& form, const std::string& step) {
  if (step.rfind("type:", 0) == 0) {
    TypeTextTo(form.ActiveControl() ? form.ActiveControl() : &form, Utf8ToWide(step.substr(5)));
    return;
  }
  if (step.rfind("place:", 0) == 0) {
    std::ostringstream place;
    place << form.Left() << ' ' << form.Top() << ' ' << form.Width() << ' ' << form.Height() << '\n';
    WriteFileAtomic(ProgramFileName(step.substr(6)), place.str());
    return;
  }
  if (step.rfind("click:", 0) != 0) {
    SendShortCut(form.ActiveControl() ? form.ActiveControl() : &form, KeyOf(step));
    return;
  }
  const std::string name = step.substr(6);
  auto* control = dynamic_cast<TControl*>(form.FindComponent(name));
  if (!control) throw Exception("no control " + name + " on the window " + form.Name());
  if (!control->Visible() || !control->Enabled()) throw Exception("a user cannot click " + name + " on " + form.Name());
  if (auto* window = dynamic_cast<TWinControl*>(control))
    SendKeyTo(window, VK_SPACE, 0);
  else
    control->Click();
}

// Takes the `steps` in `form` (up modally) and closes it with `result` unless a step closed it;
// a step that fails fails the script and cancels the window.
void UseModalWindow(TCustomForm& form, const std::vector<std::string>& steps, int result) {
  // A window a step closed has its modal result (its modal loop ends after the step).
  const auto closed = [&form] { return !form.Modal() || form.ModalResult() != mrNone; };
  try {
    for (const std::string& step : steps) {
      if (closed()) break;
      UseWindow(form, step);
      Application->ProcessMessages();
    }
  } catch (const Exception& e) {
    Fail(e.Message);
    result = mrCancel;
  }
  if (!closed()) form.SetModalResult(result);
}

// Shows `form` modally, takes the `steps` in it once it is up, and closes it; its modal result.
int ShowUsing(TCustomForm& form, const std::vector<std::string>& steps, int result) {
  TTimer timer(nullptr);
  timer.SetInterval(1);
  timer.OnTimer = [&](TObject*) {
    if (!form.Modal()) return;
    timer.SetEnabled(false);
    UseModalWindow(form, steps, result);
  };
  return form.ShowModal();
}

// "in-window FORM N STEP...": the next time the window FORM is up modally, the steps are taken
// in it and it closes with N. The plans wait in order; each has a timer of its own, since a
// step may open the next window while its own timer's handler runs.
struct TWindowPlan {
  std::string Form;
  int Result = 0;
  std::vector<std::string> Steps;
};

std::deque<TWindowPlan>& WindowPlans() {
  static std::deque<TWindowPlan> plans;
  return plans;
}

void PlanWindow(const std::string& argument) {
  std::istringstream in(argument);
  TWindowPlan plan;
  if (!(in >> plan.Form >> plan.Result)) throw Exception("in-window needs a window and a modal result: " + argument);
  for (std::string step; in >> step;) plan.Steps.push_back(step);
  for (const std::string& step : plan.Steps)
    if (step.find(':') == std::string::npos) KeyOf(step);  // a key that does not exist fails now
  const size_t index = WindowPlans().size();
  WindowPlans().push_back(plan);
  auto* timer = new TTimer(Application);
  timer->SetInterval(5);
  timer->OnTimer = [timer, index](TObject*) {
    static size_t used = 0;  // plans used so far, shared by every plan's timer
    if (used != index) return;  // the plans before it come first
    TCustomForm* form = TopModalForm();
    if (!form || form->Name() != WindowPlans()[index].Form) return;
    timer->SetEnabled(false);
    ++used;
    UseModalWindow(*form, WindowPlans()[index].Steps, WindowPlans()[index].Result);
  };
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

// Waits, handling messages, until file `name` exists (another program's signal to go on).
void WaitFile(const std::string& name) {
  const auto limit = std::chrono::steady_clock::now() + std::chrono::minutes(3);
  while (!FileExists(ProgramFileName(name))) {
    if (std::chrono::steady_clock::now() > limit) throw Exception("the file " + name + " never came");
    Application->ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

// Waits `ms` milliseconds in the message loop, as the program waits for the user: messages are
// handled as they come, the idle work runs when they are done, and the script wakes it no more.
void Idle(int ms) {
  bool over = false;
  TTimer end(nullptr);
  end.OnTimer = [&over](TObject*) { over = true; };
  end.SetInterval(unsigned(std::max(1, ms)));
  while (!over && !Application->Terminated()) Application->HandleMessage();
}

// Types `utf8` into the editor one key at a time, each key handled (painted) before the next.
void Type(const std::string& utf8) {
  for (const char16_t c : Utf8ToWide(utf8)) {
    TypeTextTo(MainForm->Editor, std::u16string(1, c));
    Application->ProcessMessages();
  }
}

// Appends "LABEL wall-ms cpu-ms peak-kB resident-kB" to `file`: the time, the process's
// processor time (both to the microsecond), its peak and current resident size, for the
// benchmarks that drive the program.
void Stamp(const std::string& argument) {
  std::istringstream in(argument);
  std::string file, label;
  in >> file >> label;
  timespec wall{}, cpu{};
  ::clock_gettime(CLOCK_MONOTONIC, &wall);
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
  long peak = 0, resident = 0;
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) peak = std::stol(line.substr(6));
    if (line.rfind("VmRSS:", 0) == 0) resident = std::stol(line.substr(6));
  }
  const auto ms = [](const timespec& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%03ld", static_cast<long long>(t.tv_sec) * 1000 + t.tv_nsec / 1000000,
                  (t.tv_nsec / 1000) % 1000);
    return std::string(text);
  };
  std::ofstream(ProgramFileName(file), std::ios::app)
      << label << ' ' << ms(wall) << ' ' << ms(cpu) << ' ' << peak << ' ' << resident << '\n';
}

TControl* NamedControl(const std::string& name) {
  auto* control = dynamic_cast<TControl*>(MainForm->FindComponent(name));
  if (!control) throw Exception("no control " + name + " on the main window");
  return control;
}

// "mouse press NAME X Y [ctrl]": the left button at a point of a control, as the user uses it
// ("double" is the second press of a double click).
void Mouse(const std::string& argument) {
  std::istringstream in(argument);
  std::string action, name, x, y, key;
  if (!(in >> action >> name >> x >> y)) throw Exception("mouse needs an action, a control and a point: " + argument);
  in >> key;
  TControl* control = NamedControl(name);
  auto coordinate = [](const std::string& text, int size) {
    return text[0] == 'w' || text[0] == 'h' ? size + std::stoi(text.substr(1)) : std::stoi(text);
  };
  const TPoint p = control->ClientToScreen(Point(coordinate(x, control->Width()), coordinate(y, control->Height())));
  const TMouseAction a = action == "press"     ? TMouseAction::Press
                         : action == "double"  ? TMouseAction::DoubleClick
                         : action == "release" ? TMouseAction::Release
                         : action == "move"    ? TMouseAction::Move
                                               : throw Exception("no such mouse action: " + action);
  SendMouseAt(a, p, key == "ctrl" ? ssCtrl : 0);
  Application->ProcessMessages();
}

// "save-places FILE NAME...": each control's parent and its place on the screen, one a line; a
// NAME that is a window of the program shown now gives its own place ("-" for the parent).
void SavePlaces(const std::string& argument) {
  std::istringstream in(argument);
  std::string file, name;
  in >> file;
  std::ostringstream out;
  while (in >> name) {
    if (!MainForm->FindComponent(name)) {
      // A window of the program, shown now: its place on the screen.
      const TCustomForm& form = ShownForm(name);
      out << name << " - " << form.Left() << ' ' << form.Top() << ' ' << form.Width() << ' ' << form.Height() << '\n';
      continue;
    }
    TControl* control = NamedControl(name);
    const TPoint p = control->ClientToScreen(Point(0, 0));
    out << name << ' ' << (control->Parent() ? control->Parent()->Name() : std::string("-")) << ' ' << p.X << ' '
        << p.Y << ' ' << control->Width() << ' ' << control->Height() << '\n';
  }
  WriteFileAtomic(ProgramFileName(file), out.str());
}

// "save-states FILE NAME...": for each component of the main window, whether a user can use it
// now (the menus above an item opened first) and, for a menu item, its check mark:
// "NAME<TAB>usable|unusable<TAB>checked|unchecked|-<TAB>why" a line.
void SaveStates(const std::string& argument) {
  std::istringstream in(argument);
  std::string file, name;
  in >> file;
  MainForm->ActionList1->UpdateActions();
  std::ostringstream out;
  while (in >> name) {
    TComponent* component = MainForm->FindComponent(name);
    if (!component) throw Exception("no component " + name + " on the main window");
    auto* item = dynamic_cast<TMenuItem*>(component);
    if (item) OpenMenusAbove(item);
    const std::string why = Unreachable(component);
    out << name << '\t' << (why.empty() ? "usable" : "unusable") << '\t'
        << (item ? (item->Checked() ? "checked" : "unchecked") : "-") << '\t' << why << '\n';
  }
  WriteFileAtomic(ProgramFileName(file), out.str());
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
  else if (kind == "form") {
    // "answer form N [STEP...]": with steps the window shows and takes them before it closes.
    std::vector<std::string> steps;
    for (std::string step; in >> step;) steps.push_back(step);
    if (steps.empty())
      Dialogs().Answer(TDialogKind::Form, result);
    else
      Dialogs().Answer(TDialogKind::Form, result,
                       [steps, result](TDialogRequest& r) { r.Result = ShowUsing(*r.Form, steps, result); });
  }
  else if (kind == "openfile" || kind == "savefile") {
    // "answer savefile 2 PATH": the file dialog is confirmed with PATH under filter 2.
    std::string path;
    std::getline(in >> std::ws, path);
    const bool save = kind == "savefile";
    Dialogs().Answer(save ? TDialogKind::SaveFile : TDialogKind::OpenFile, 1, [path, result](TDialogRequest& r) {
      r.Value = ProgramFileName(path);
      r.FilterIndex = result;
    });
  } else if (kind == "pagesetup" || kind == "print") {
    // "answer print 1 WIDTH HEIGHT [PDF]": the dialog confirmed with that paper (hundredths of
    // millimetres, upright), printing into the PDF file when one is named.
    int width = 0, height = 0;
    std::string pdf;
    if (!(in >> width >> height)) throw Exception("answer " + kind + " needs a paper width and height: " + argument);
    std::getline(in >> std::ws, pdf);
    Dialogs().Answer(kind == "print" ? TDialogKind::Print : TDialogKind::PageSetup, result,
                     [width, height, pdf](TDialogRequest& r) {
                       if (width > 0 && height > 0) {  // else the paper offered
                         r.Printing.PaperWidth = width;
                         r.Printing.PaperHeight = height;
                       }
                       if (!pdf.empty()) {
                         r.Printing.Printer.clear();
                         r.Printing.OutputFile = ProgramFileName(pdf);
                       }
                     });
  } else
    throw Exception("unknown kind of question: " + kind);
}

// Fails unless a message asked so far holds `text`.
void Asked(const std::string& text) {
  for (const TDialogRequest& request : Dialogs().Asked())
    if (request.Text.find(Utf8ToAnsi(text)) != std::string::npos) return;
  throw Exception("no message said " + text);
}

// The answer a careful user gives to a question met on the walk: Cancel, else No, else OK; a
// window or file dialog is cancelled.
void CancelAnswer(TDialogRequest& request) {
  switch (request.Kind) {
    case TDialogKind::MessageDlg:
      request.Result = (request.Buttons & mbCancel) ? mrCancel : (request.Buttons & mbNo) ? mrNo : mrOk;
      break;
    case TDialogKind::MessageBox: {
      const unsigned buttons = request.Flags & 0xF;
      request.Result = buttons == MB_YESNO ? IDNO
                       : buttons == MB_ABORTRETRYIGNORE ? IDABORT
                       : buttons == MB_OK ? IDOK
                                          : IDCANCEL;
      break;
    }
    case TDialogKind::Form: request.Result = mrCancel; break;
    default: request.Result = 0;
  }
}

bool IsErrorBox(const TDialogRequest& request) {
  return (request.Kind == TDialogKind::MessageDlg && request.DlgType == mtError) ||
         (request.Kind == TDialogKind::MessageBox && (request.Flags & 0xF0) == MB_ICONERROR);
}

std::string Plain(const std::string& caption) {
  std::string text;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && ++i == caption.size()) break;  // "&&" is one "&", "&x" is x
    text += caption[i];
  }
  return AnsiToUtf8(text);
}

// The walk through the main menu: every entry opened as its drop-down, then every enabled item
// below it clicked once (submenus opened first, as a user reaches them); the items named in
// `skip` are passed over. Questions get the careful answer, windows and popup menus that stay
// up are closed, and an error box or an exception fails the walk. The report lists it all.
// The commands found enabled (and all those seen) on the walks so far.
struct TWalkedCommands {
  std::set<std::string> Seen, Enabled;
  std::vector<std::string> Order;  // as first seen, for the report
};

TWalkedCommands& Walked() {
  static TWalkedCommands walked;
  return walked;
}

// What the text check of the windows met: each shown text by its path.
class TTextRecord {
public:
  void Form(TCustomForm& form) {
    for (TShownText& t : ShownTexts(form)) Add(std::move(t));
  }
  // A question's title and text, under the command that asked it (the system's own dialogs,
  // which show their texts in the system's language, and our windows are left out).
  void Question(const TDialogRequest& request, const std::string& command) {
    if (request.Kind != TDialogKind::MessageDlg && request.Kind != TDialogKind::MessageBox &&
        request.Kind != TDialogKind::InputQuery)
      return;
    const std::string path = "Question@" + command;
    if (!request.Caption.empty()) Add({path + ".Caption", "title", request.Caption, false});
    if (!request.Text.empty()) Add({path + ".Text", "message", request.Text, false});
  }
  // Every form that is up now.
  void Visible() {
    for (int i = 0; i < Screen->FormCount(); ++i)
      if (Screen->Forms(i)->Visible()) Form(*Screen->Forms(i));
  }
  bool Seen(const TCustomForm& form) const { return forms_.count(form.Name()) > 0; }
  // "PATH<TAB>KIND<TAB>clipped|fits NEED/ROOM<TAB>TEXT" a line (UTF-8), by path.
  std::string Report() const {
    std::string lines;
    for (const auto& [path, t] : texts_)
      lines += path + "\t" + t.Kind + "\t" + (t.Clipped ? "clipped " : "fits ") + std::to_string(t.Need) + "/" + std::to_string(t.Room) + "\t" + AnsiToUtf8(t.Text) + "\n";
    return lines;
  }

private:
  void Add(TShownText t) {
    forms_.insert(t.Path.substr(0, t.Path.find('.')));
    auto [at, added] = texts_.emplace(t.Path, t);
    if (!added && t.Clipped && !at->second.Clipped) at->second = t;  // the first text, or the first clipped
  }
  std::map<std::string, TShownText> texts_;
  std::set<std::string> forms_;
};

class TMenuWalk {
public:
  TMenuWalk(std::set<std::string> skip, TTextRecord* texts = nullptr) : skip_(std::move(skip)), texts_(texts) {}

  std::string Run() {
    Dialogs().AnswerRest([this](TDialogRequest& request) {
      if (texts_ && request.Kind == TDialogKind::Form && request.Form) {
        // Shown a moment without waiting, so that it is laid out as the user sees it.
        request.Form->Show();
        Application->ProcessMessages();
        texts_->Form(*request.Form);
        request.Form->Hide();
      }
      CancelAnswer(request);
    });
    TTimer closer(nullptr);
    closer.SetInterval(200);
    closer.OnTimer = [this](TObject*) {
      if (texts_)
        if (TCustomForm* form = TopModalForm()) texts_->Form(*form);
      const std::string closed = CloseTopModalWindow();
      if (!closed.empty()) report_ << "    closed " << AnsiToUtf8(closed) << "\n";
    };
    TMenuItem* bar = MainForm->MainMenu1->Items();
    for (int i = 0; i < bar->Count(); ++i) {
      TMenuItem* entry = bar->Items(i);
      // The enabled states as the idle update leaves them before a user opens a menu.
      MainForm->ActionList1->UpdateActions();
      if (skip_.count(entry->Name())) {
        report_ << "menu " << Plain(entry->Caption()) << " (skipped)\n";
        continue;
      }
      if (!entry->Visible()) {
        report_ << "menu " << Plain(entry->Caption()) << " (hidden)\n";
        continue;
      }
      if (!OpenMenuDropDown(*MainForm, *entry)) Failure("the menu " + Plain(entry->Caption()) + " did not open");
      report_ << "menu " << Plain(entry->Caption()) << "\n";
      CloseMenuDropDowns();
      for (int k = 0; k < entry->Count(); ++k) Visit(entry->Items(k), "  ");
    }
    Dialogs().AnswerRest(nullptr);
    if (!errors_.empty()) throw Exception("the walk met errors:" + errors_);
    return report_.str();
  }

private:
  void Failure(const std::string& what) { errors_ += "\n  " + what; }

  void Visit(TMenuItem* item, const std::string& indent) {
    if (item->IsLine()) return;
    const std::string caption = Plain(item->Caption());
    // A user reopens the menu after each command: the states are updated as idle time does.
    MainForm->ActionList1->UpdateActions();
    Note(item);
    report_ << indent << caption;
    if (!item->Visible() || !item->Enabled() || skip_.count(item->Name())) {
      report_ << (skip_.count(item->Name()) ? " (skipped)\n" : !item->Visible() ? " (hidden)\n" : " (disabled)\n");
      return;
    }
    report_ << "\n";
    const size_t asked = Dialogs().Asked().size();
    try {
      item->Click();  // a submenu's opening handler, or the command
      Application->ProcessMessages();
    } catch (const std::exception& e) {
      Failure(caption + ": " + e.what());
    }
    if (texts_) texts_->Visible();
    for (size_t q = asked; q < Dialogs().Asked().size(); ++q) {
      const TDialogRequest& request = Dialogs().Asked()[q];
      if (texts_) texts_->Question(request, item->Name().empty() ? caption : item->Name());
      report_ << indent << "    asked " << AnsiToUtf8(request.Text.empty() ? request.Caption : request.Text) << "\n";
      if (IsErrorBox(request)) Failure(caption + ": " + AnsiToUtf8(request.Text));
    }
    for (int k = 0; k < item->Count(); ++k) Visit(item->Items(k), indent + "  ");
  }

  // Remembers a named command's state (the items the program makes itself have no name).
  static void Note(const TMenuItem* item) {
    if (item->Name().empty()) return;
    TWalkedCommands& walked = Walked();
    if (walked.Seen.insert(item->Name()).second) walked.Order.push_back(item->Name());
    if (item->Visible() && item->Enabled()) walked.Enabled.insert(item->Name());
  }

  std::set<std::string> skip_;
  TTextRecord* texts_;
  std::ostringstream report_;
  std::string errors_;
};

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
  else if (verb == "key")
    PressKey(argument);
  else if (verb == "wait-text")
    WaitText(argument);
  else if (verb == "wait-file")
    WaitFile(argument);
  else if (verb == "save-text")
    WriteFileAtomic(ProgramFileName(argument), WideToUtf8(MainForm->Editor->GetTextW()));
  else if (verb == "save-status") {
    // The texts of the status bar's panels, one a line.
    std::string panels;
    for (int i = 0; i < MainForm->StatusBar->Panels()->Count(); ++i) panels += MainForm->StatusBar->Panels()->Items(i)->Text() + "\n";
    WriteFileAtomic(ProgramFileName(argument), panels);
  } else if (verb == "answer")
    Answer(argument);
  else if (verb == "open")
    MainForm->OS->OpenFile(ExpandFileName(ProgramFileName(argument)));
  else if (verb == "type")
    Type(argument);
  else if (verb == "idle")
    Idle(std::stoi(argument));
  else if (verb == "stamp")
    Stamp(argument);
  else if (verb == "mouse")
    Mouse(argument);
  else if (verb == "save-places")
    SavePlaces(argument);
  else if (verb == "save-states")
    SaveStates(argument);
  else if (verb == "type-in")
    TypeIn(argument);
  else if (verb == "asked")
    Asked(argument);
  else if (verb == "in-window")
    PlanWindow(argument);
  else if (verb == "record-opens") {
    // Nothing is handed to the desktop from now on: each target is written down instead.
    const std::string file = ProgramFileName(argument);
    SetShellOpenHandler([file](const std::string& target) {
      std::ofstream(file, std::ios::app) << AnsiToUtf8(target) << '\n';
      return true;
    });
  } else if (verb == "save-shown") {
    TTextRecord texts;
    texts.Visible();
    WriteFileAtomic(ProgramFileName(argument), texts.Report());
  }
  else if (verb == "walk-menus") {
    std::istringstream names(argument);
    std::string report, name;
    names >> report;
    std::set<std::string> skip;
    while (names >> name) skip.insert(name);
    WriteFileAtomic(ProgramFileName(report), TMenuWalk(std::move(skip)).Run());
  } else if (verb == "check-texts") {
    // The walk, recording the texts of every window it meets; then every other window of the
    // program, shown a moment.
    std::istringstream names(argument);
    std::string report, name;
    names >> report;
    std::set<std::string> skip;
    while (names >> name) skip.insert(name);
    TTextRecord texts;
    texts.Visible();  // the windows as the script left them, before the walk changes them
    TMenuWalk(std::move(skip), &texts).Run();
    texts.Visible();
    // The windows made on first use that the walk did not reach are made now, so that every
    // window of the program is checked.
    for (const TStartupForm& form : FormsOnFirstUse()) form.Create(*Application);
    for (int i = 0; i < Screen->FormCount(); ++i) {
      TCustomForm* form = Screen->Forms(i);
      if (texts.Seen(*form) || form->Name().empty()) continue;
      form->Show();
      Application->ProcessMessages();
      texts.Form(*form);
      form->Hide();
    }
    WriteFileAtomic(ProgramFileName(report), texts.Report());
  } else if (verb == "walked-enabled") {
    // Every command the walks met was enabled in one of the states they visited, but the NAMEd.
    std::istringstream names(argument);
    std::set<std::string> allowed;
    for (std::string name; names >> name;) allowed.insert(name);
    std::string never;
    for (const std::string& name : Walked().Order)
      if (!Walked().Enabled.count(name) && !allowed.count(name)) never += " " + name;
    if (!never.empty()) throw Exception("disabled in every state the walks visited:" + never);
  } else if (verb == "screenshot") {
    if (!SaveFormPicture(*MainForm, argument)) throw Exception("no picture of the main window in " + argument);
  } else if (verb == "close")
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
      if (leading == answers)
        RunLine(line);
      else if (answers)
        break;
      FailUnanswered();
    }
  } catch (const EUnexpectedDialog&) {
    FailUnanswered();  // the question, as the dialog service noted it
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
  WatchUnanswered();
  auto* timer = new TTimer(Application);
  timer->SetInterval(1);
  timer->OnTimer = [timer, name = fileName](TObject*) {
    timer->SetEnabled(false);
    RunScript(name, false);
  };
  return true;
}

int TestScriptExitCode() { return g_exitCode; }
