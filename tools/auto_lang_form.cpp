#include "tools/auto_lang_form.h"

#include "platform/gui/ext_controls.h"
#include "platform/gui/std_controls.h"
#include "textcore/locale_text.h"
#include "textcore/rich_edit.h"
#include "textcore/win_registry.h"
#include "components/color_menu.h"
#include "components/colour_swatch.h"
#include "tools/language_runs.h"

TAutoLangForm* AutoLangForm = nullptr;

QM_CLASS_INFO(TAutoLangForm, TForm, [](TClassBuilder<TAutoLangForm>&) {})

namespace {

// Its own section: the window's choices never mix with another window's.
constexpr const char* kSection = "AutoLang";
constexpr unsigned kLatin = 1033;

}  // namespace

TAutoLangForm::TAutoLangForm(TComponent* owner) : TForm(owner) {
  Handler("FormCreate", &TAutoLangForm::FormCreate);
  Handler("FormDestroy", &TAutoLangForm::FormDestroy);
  Handler("ColorClick", &TAutoLangForm::ColorClick);
  Handler("ColorMenu1ColorSelect", &TAutoLangForm::ColorMenu1ColorSelect);
  Field("ColorMenu1", ColorMenu1);
  Field("CBEng", CBEng);
  Field("CBRus", CBRus);
  Field("ColorEng", ColorEng);
  Field("ColorRus", ColorRus);
  Field("EditIgnored", EditIgnored);
  ReadForm();
}

TAutoLangForm::~TAutoLangForm() {
  if (AutoLangForm == this) AutoLangForm = nullptr;
}

void TAutoLangForm::FormCreate(TObject*) {
  AutoLangForm = this;
  LoadSettings();
}

void TAutoLangForm::FormDestroy(TObject*) { SaveSettings(); }

void TAutoLangForm::LoadSettings() {
  TWinRegistry registry(RegistryKey);
  for (TCheckBox* box : {CBEng, CBRus})
    box->SetChecked(registry.ReadBool(kSection, box->Name() + ".Checked", box->Checked()));
  for (TShape* shape : {ColorEng, ColorRus})
    shape->Brush()->SetColor(TColor(registry.ReadInteger(kSection, shape->Name() + ".Brush.Color", int(shape->Brush()->Color()))));
}

void TAutoLangForm::SaveSettings() {
  TWinRegistry registry(RegistryKey);
  for (TCheckBox* box : {CBEng, CBRus}) registry.WriteBool(kSection, box->Name() + ".Checked", box->Checked());
  for (TShape* shape : {ColorEng, ColorRus})
    registry.WriteInteger(kSection, shape->Name() + ".Brush.Color", int(shape->Brush()->Color()));
}

void TAutoLangForm::ColorClick(TObject* Sender) { PopupSwatchMenu(ColorMenu1, Sender); }

void TAutoLangForm::ColorMenu1ColorSelect(TObject*, int, TColor Color) { SwatchColourChosen(ColorMenu1, Color); }

bool TAutoLangForm::Execute(TRichEditW& editor, const TToolStep& step) {
  const TEditorRange range = EditorWorkRange(editor);
  const std::vector<TLanguageRun> runs = SplitLanguageRuns(range.Text, AnsiToWideString(EditIgnored->Text(), 1251));
  bool done = true;
  // Marking every run of a long paragraph must not lay it out or analyse it again each time;
  // the marks are one undo step.
  const TEditorUpdateHold unseen(editor);
  const TEditorUndoStep oneStep(editor);
  TEditorMarks marks(editor);
  for (const TLanguageRun& run : runs) {
    if (step && step(run.Start, int64_t(range.Text.size()))) {
      done = false;
      break;
    }
    const int start = range.Start + run.Start, end = start + run.Length;
    const bool latin = run.Lcid == kLatin;
    if (latin ? CBEng->Checked() : CBRus->Checked())
      marks.Colour(start, end, (latin ? ColorEng : ColorRus)->Brush()->Color());
    marks.Language(start, end, run.Lcid);
  }
  marks.Finish();
  editor.SetSelStart(range.Start);
  editor.SetSelLength(0);
  return done;
}
