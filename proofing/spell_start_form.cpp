#include "proofing/spell_start_form.h"

#include "components/form_placement.h"
#include "platform/gui/application.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/std_controls.h"

QM_CLASS_INFO(TSCStart, TForm, [](TClassBuilder<TSCStart>&) {})

TSCStart::TSCStart(TComponent* Owner) : TForm(Owner) {
  Field("Label1", Label1);
  Field("RGMode", RGMode);
  Field("RGScope", RGScope);
  Field("LabelSelection", LabelSelection);
  Field("LabelCursor", LabelCursor);
  Field("BtnStart", BtnStart);
  Field("BtnSettings", BtnSettings);
  Field("BtnCancel", BtnCancel);
  Field("FormStorage1", FormStorage1);
  Handler("BtnSettingsClick", &TSCStart::BtnSettingsClick);
  ReadForm();
  FormStorage1->SetIniSection(Application->Title() + " Run");
  FormStorage1->RestoreFormPlacement();
}

bool TSCStart::Ask(bool HasSelection, TSpellMode& Mode, TSpellScope& Scope) {
  RGScope->Items()->Put(1, (HasSelection ? LabelSelection : LabelCursor)->Caption());
  if (HasSelection) RGScope->SetItemIndex(1);
  if (ShowModal() != mrOk) return false;
  FormStorage1->SaveFormPlacement();
  Mode = RGMode->ItemIndex() == 1 ? TSpellMode::Automatic : TSpellMode::Interactive;
  Scope = RGScope->ItemIndex() == 0 ? TSpellScope::WholeText : TSpellScope::FromCursor;
  return true;
}

void TSCStart::BtnSettingsClick(TObject*) {
  if (OnSettings) OnSettings(this);
}
