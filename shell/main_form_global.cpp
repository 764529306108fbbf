// The global actions: the system-wide hot keys of the preferences, and what each action does
// with the foreground application's selection through the clipboard or in this window.
#include "platform/gui/application.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/hot_key_service.h"
#include "proofing/correction_editor_adapter.h"
#include "proofing/correction_engine.h"
#include "shell/convert_text.h"
#include "shell/main_form.h"
#include "shell/sys_hot_key.h"
#include "textcore/keyboard_layouts.h"
#include "textcore/locale_text.h"
#include "textcore/rich_edit.h"
#include "tools/quick_form.h"
#include "tools/rev_form.h"

namespace {

constexpr unsigned kCodePage = 1251;
constexpr int kOutOfSight = 10000;  // left edge that keeps the window off every screen

}  // namespace

void TMainForm::BindGlobal() {
  // Where the program does not show on X11 there are no system-wide hot keys; the actions'
  // commands stay in the menus.
  UseHotKeyService(OpenDesktopHotKeys(nullptr));
  foreignApp_ = OpenDesktopForeignApp(nullptr);
}

void TMainForm::UseHotKeyService(std::unique_ptr<THotKeyService> service) {
  SysHotKey1 = std::make_unique<TSysHotKey>(std::move(service));
  SysHotKey1->OnHotKey = [this](int index) { SysHotKey1HotKey(index); };
  ApplyGlobalHotKeys(globalHotKeys_);
}

void TMainForm::UseForeignApp(std::unique_ptr<TForeignApp> app) { foreignApp_ = std::move(app); }

void TMainForm::ApplyGlobalHotKeys(const std::vector<THotKey>& hotKeys) {
  globalHotKeys_ = hotKeys;
  SysHotKey1->Clear();
  for (const THotKey& hotKey : hotKeys) SysHotKey1->Add(HotKeyIndexOf(hotKey.Key), hotKey.Modifiers);
  SysHotKey1->SetActive(true);
}

void TMainForm::SysHotKey1HotKey(int Index) { ExecuteGlobalAction(Index); }

void TMainForm::ExecuteGlobalAction(int Action) {
  // The waits of a running action, operation or engine handle messages, and with them hot keys:
  // those are dropped, so that nothing changes the text or the work text under them.
  if (globalActionRunning_ || busy_ || engineRunning_) return;
  const bool foreign = foreignApp_ ? !foreignApp_->InFront(*this) : !Active();
  const TGlobalStep step = GlobalActionStep(Action, foreign);
  if (step.Kind == TGlobalStep::Nothing) return;
  if (step.Kind == TGlobalStep::RoundTrip && !foreignApp_) return;  // no desktop to reach
  globalActionRunning_ = true;
  struct TRunning {
    bool& Flag;
    ~TRunning() { Flag = false; }
  } running{globalActionRunning_};
  if (step.Kind == TGlobalStep::OwnCommand) {
    switch (step.Command) {
      case TOwnCommand::Transliterate: ConvTransliterateExecute(this); break;
      case TOwnCommand::DeTransliterate: ConvDeTransliterateExecute(this); break;
      case TOwnCommand::TextCleanup: ConvOCRFixExecute(this); break;
    }
    return;
  }
  GlobalSource = step.Source;
  GlobalTarget = step.Target;
  const bool outOfSight = foreign;  // in front, this window's own editor has the selection
  const int left = Left();
  if (outOfSight) SetLeft(kOutOfSight);
  try {
    TransformForeignText([&](const std::u16string& text, bool& cancel, std::u16string& result) {
      RunForeignTransform(step.Transform, text, cancel, result);
    });
  } catch (...) {
    if (outOfSight) SetLeft(left);
    throw;
  }
  if (outOfSight) SetLeft(left);
}

void TMainForm::TransformForeignText(const TForeignTransformEvent& transform) {
  RoundTripForeignText(*foreignApp_, transform, ForeignWaits);
}

void TMainForm::RunForeignTransform(TForeignTransform transform, const std::u16string& text, bool& cancel,
                                    std::u16string& result) {
  switch (transform) {
    case TForeignTransform::QuickPanel: QuickPanelTransform(text, cancel, result); break;
    case TForeignTransform::OpenInEditor:
      OpenAsNewDocument(text);
      cancel = true;
      break;
    case TForeignTransform::KeyboardLayout: result = SwitchKeyboardLayoutW(text); break;
    case TForeignTransform::Transliterate: result = TransliterateW(text); break;
    case TForeignTransform::DeTransliterate:
    case TForeignTransform::TextCleanup: {
      TQGrammar* engine = transform == TForeignTransform::TextCleanup ? CLGrammar.get() : QGrammar.get();
      if (!engine) {
        cancel = true;
        break;
      }
      TRichEditW& work = *QuickWindow().Editor;
      work.SetTextW(text);
      {
        TRichEditCorrectionEditor target(work);
        engine->ExecuteOn(target, 0);
      }
      result = work.GetTextW();
      break;
    }
    case TForeignTransform::Recode: result = RecodeForeignText(text, GlobalSource, GlobalTarget); break;
    case TForeignTransform::Template: result = ApplyTemplate(Editor->GetTextW(), text); break;
  }
}

void TMainForm::QuickPanelTransform(const std::u16string& text, bool& cancel, std::u16string& result) {
  cancel = true;
  TQuickForm& quick = QuickWindow();
  // No operation runs (actions wait for it), so the work text is free for the quick window.
  WorkText = WideStringToAnsi(text, kCodePage);
  const std::string taken = WorkText;
  quick.Editor->SetTextW(text);
  if (RevForm && RevForm->Visible()) {
    RevForm->SetModalResult(mrCancel);
    RevForm->Hide();
    Application->ProcessMessages();
  }
  const int answer = ShowModalDialog(quick);
  if (answer == mrOk) {
    OpenAsNewDocument(text);  // "Load": the text as it was copied
  } else if (answer == kQuickWorkTextDone) {
    result = WorkTextToWide(text, taken, WorkText);
    cancel = false;
  } else if (answer == kQuickEditorDone) {
    result = quick.Editor->GetTextW();
    cancel = false;
  }
}

bool TMainForm::OpenAsNewDocument(const std::u16string& text) {
  Show();
  BringToFront();
  const int started = newDocuments_;
  FileNew(this);
  if (newDocuments_ == started) return false;  // the user kept the modified document
  Editor->SetTextW(text);
  return true;
}
