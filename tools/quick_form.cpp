#include "tools/quick_form.h"

#include "platform/gui/std_controls.h"
#include "proofing/correction_editor_adapter.h"
#include "proofing/correction_engine.h"
#include "textcore/keyboard_layouts.h"
#include "textcore/rich_edit.h"

TQuickForm* QuickForm = nullptr;

QM_CLASS_INFO(TQuickForm, TForm, [](TClassBuilder<TQuickForm>&) {})

namespace {

constexpr int kKoi = 3, kWin = 0;

}  // namespace

TQuickForm::TQuickForm(TComponent* owner) : TForm(owner) {
  Handler("FormCreate", &TQuickForm::FormCreate);
  Handler("ConvClick", &TQuickForm::ConvClick);
  Handler("TransliterateClick", &TQuickForm::TransliterateClick);
  Handler("EngineClick", &TQuickForm::EngineClick);
  Handler("SwitchKbdClick", &TQuickForm::SwitchKbdClick);
  Handler("LoadClick", &TQuickForm::LoadClick);
  Field("Enc1", Enc1);
  Field("Enc2", Enc2);
  Field("BtnConvFwd", BtnConvFwd);
  Field("BtnConvBwd", BtnConvBwd);
  Field("BtnTransliterate", BtnTransliterate);
  Field("BtnDeTransliterate", BtnDeTransliterate);
  Field("BtnCleanup", BtnCleanup);
  Field("BtnSwitchKbd", BtnSwitchKbd);
  Field("Editor", Editor);
  ReadForm();
}

TQuickForm::~TQuickForm() {
  if (QuickForm == this) QuickForm = nullptr;
}

void TQuickForm::FormCreate(TObject*) {
  QuickForm = this;
  Enc1->SetItemIndex(kKoi);
  Enc2->SetItemIndex(kWin);
  Editor->SetLanguage(1049);
}

void TQuickForm::ConvClick(TObject* Sender) {
  const bool back = Sender == BtnConvBwd;
  if (OnRecode) OnRecode(back ? Enc2->ItemIndex() : Enc1->ItemIndex(), back ? Enc1->ItemIndex() : Enc2->ItemIndex());
  SetModalResult(kQuickWorkTextDone);
}

void TQuickForm::TransliterateClick(TObject*) {
  if (OnTransliterate) OnTransliterate();
  SetModalResult(kQuickWorkTextDone);
}

void TQuickForm::EngineClick(TObject* Sender) {
  TQGrammar* engine = Sender == BtnCleanup ? Cleaner : DeTransliterator;
  if (engine != nullptr && !Editor->GetTextW().empty()) {
    struct TRunGuard {
      const std::function<void()>& End;
      ~TRunGuard() {
        if (End) End();
      }
    };
    if (OnEngineStart) OnEngineStart();
    TRunGuard guard{OnEngineEnd};
    TRichEditCorrectionEditor target(*Editor);
    engine->ExecuteOn(target, 0);
  }
  SetModalResult(kQuickEditorDone);
}

void TQuickForm::SwitchKbdClick(TObject*) {
  Editor->SetTextW(SwitchKeyboardLayoutW(Editor->GetTextW()));
  SetModalResult(kQuickEditorDone);
}

void TQuickForm::LoadClick(TObject*) { SetModalResult(mrOk); }
