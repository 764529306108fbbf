#include "tools/mixed_char_form.h"

#include "platform/gui/ext_controls.h"
#include "platform/gui/std_controls.h"
#include "textcore/rich_edit.h"
#include "textcore/win_registry.h"
#include "components/color_menu.h"
#include "components/colour_swatch.h"

TMixedCharForm* MixedCharForm = nullptr;

QM_CLASS_INFO(TMixedCharForm, TForm, [](TClassBuilder<TMixedCharForm>&) {})

namespace {

// Its own section: the window's choices never mix with another window's.
constexpr const char* kSection = "MixedChar";

}  // namespace

TMixedCharForm::TMixedCharForm(TComponent* owner) : TForm(owner) {
  Handler("FormCreate", &TMixedCharForm::FormCreate);
  Handler("FormDestroy", &TMixedCharForm::FormDestroy);
  Handler("ColorClick", &TMixedCharForm::ColorClick);
  Handler("ColorMenu1ColorSelect", &TMixedCharForm::ColorMenu1ColorSelect);
  Field("ColorMenu1", ColorMenu1);
  Handler("Button3Click", &TMixedCharForm::Button3Click);
  Field("ColorFix", ColorFix);
  Field("ColorSusp", ColorSusp);
  Field("CBMarkFixed", CBMarkFixed);
  Field("CBMarkSusp", CBMarkSusp);
  Field("RBAuto", RBAuto);
  Field("RBRus", RBRus);
  Field("RBLat", RBLat);
  Field("RBAmbRus", RBAmbRus);
  Field("RBAmbLat", RBAmbLat);
  Field("RBAmbNone", RBAmbNone);
  ReadForm();
}

TMixedCharForm::~TMixedCharForm() {
  if (MixedCharForm == this) MixedCharForm = nullptr;
}

void TMixedCharForm::FormCreate(TObject*) {
  MixedCharForm = this;
  LoadSettings();
}

void TMixedCharForm::FormDestroy(TObject*) { SaveSettings(); }

void TMixedCharForm::LoadSettings() {
  TWinRegistry registry(RegistryKey);
  for (TCheckBox* box : {CBMarkFixed, CBMarkSusp})
    box->SetChecked(registry.ReadBool(kSection, box->Name() + ".Checked", box->Checked()));
  for (TRadioButton* button : {RBAuto, RBRus, RBLat, RBAmbRus, RBAmbLat, RBAmbNone})
    if (registry.ReadBool(kSection, button->Name() + ".Checked", button->Checked())) button->SetChecked(true);
  for (TShape* shape : {ColorFix, ColorSusp})
    shape->Brush()->SetColor(TColor(registry.ReadInteger(kSection, shape->Name() + ".Brush.Color", int(shape->Brush()->Color()))));
}

void TMixedCharForm::SaveSettings() {
  TWinRegistry registry(RegistryKey);
  for (TCheckBox* box : {CBMarkFixed, CBMarkSusp}) registry.WriteBool(kSection, box->Name() + ".Checked", box->Checked());
  for (TRadioButton* button : {RBAuto, RBRus, RBLat, RBAmbRus, RBAmbLat, RBAmbNone})
    registry.WriteBool(kSection, button->Name() + ".Checked", button->Checked());
  for (TShape* shape : {ColorFix, ColorSusp})
    registry.WriteInteger(kSection, shape->Name() + ".Brush.Color", int(shape->Brush()->Color()));
}

void TMixedCharForm::ColorClick(TObject* Sender) { PopupSwatchMenu(ColorMenu1, Sender); }

void TMixedCharForm::ColorMenu1ColorSelect(TObject*, int, TColor Color) { SwatchColourChosen(ColorMenu1, Color); }

void TMixedCharForm::Button3Click(TObject* Sender) {
  if (OnOptions) OnOptions(Sender);
}

int TMixedCharForm::Execute(TRichEditW& editor, const TToolStep& step, const std::function<void(int)>& changes) {
  const TEditorRange range = EditorWorkRange(editor);
  const TMixedTarget mixed = RBRus->Checked() ? TMixedTarget::Cyrillic
                             : RBLat->Checked() ? TMixedTarget::Latin
                                                : TMixedTarget::Auto;
  const TAmbiguousTarget ambiguous = RBAmbRus->Checked() ? TAmbiguousTarget::Cyrillic
                                     : RBAmbLat->Checked() ? TAmbiguousTarget::Latin
                                                           : TAmbiguousTarget::Leave;
  const std::vector<TMixedWord> words = FindMixedWords(range.Text, mixed, ambiguous);
  int count = 0;
  // Words fixed or marked one by one: none of them may lay its paragraph out or analyse it
  // again; the run is one undo step.
  const TEditorUpdateHold unseen(editor);
  const TEditorUndoStep oneStep(editor);
  TEditorMarks marks(editor);
  for (size_t i = 0; i < words.size(); ++i) {
    if (step && step(int64_t(i), int64_t(words.size()))) break;
    const TMixedWord& word = words[i];
    const int start = range.Start + word.Start, end = start + word.Length;
    if (word.Changed) {
      // Same length: the later positions stay right.
      editor.SetSelStart(start);
      editor.SetSelLength(word.Length);
      editor.SetSelTextW(word.Text);
      if (CBMarkFixed->Checked()) marks.Colour(start, end, ColorFix->Brush()->Color());
      ++count;
      if (changes) changes(count);
    } else if (CBMarkSusp->Checked()) {
      marks.Colour(start, end, ColorSusp->Brush()->Color());
    }
  }
  marks.Finish();
  editor.SetSelStart(range.Start);
  editor.SetSelLength(0);
  return count;
}
