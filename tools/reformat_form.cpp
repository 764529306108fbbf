#include "tools/reformat_form.h"

#include "platform/gui/ext_controls.h"
#include "platform/gui/std_controls.h"
#include "platform/code_pages.h"
#include "proofing/correction_engine.h"
#include "textcore/rich_edit.h"
#include "textcore/win_registry.h"
#include "components/color_menu.h"
#include "components/colour_swatch.h"

TReformatForm* ReformatForm = nullptr;

QM_CLASS_INFO(TReformatForm, TForm, [](TClassBuilder<TReformatForm>&) {})

namespace {

constexpr const char* kSection = "Reformat";

}  // namespace

TReformatForm::TReformatForm(TComponent* owner) : TForm(owner) {
  Handler("FormCreate", &TReformatForm::FormCreate);
  Handler("FormDestroy", &TReformatForm::FormDestroy);
  Handler("ColorClick", &TReformatForm::ColorClick);
  Handler("ColorMenu1ColorSelect", &TReformatForm::ColorMenu1ColorSelect);
  Field("ColorMenu1", ColorMenu1);
  Field("CBUndoHyphen", CBUndoHyphen);
  Field("CBUndoJustify", CBUndoJustify);
  Field("CBParagraphs", CBParagraphs);
  Field("CBMultiCol", CBMultiCol);
  Field("CBDeQuote", CBDeQuote);
  Field("CBMarkChanged", CBMarkChanged);
  Field("CBMarkSkipped", CBMarkSkipped);
  Field("ColorChanged", ColorChanged);
  Field("ColorSkipped", ColorSkipped);
  Field("RGParagraph", RGParagraph);
  ReadForm();
}

TReformatForm::~TReformatForm() {
  if (ReformatForm == this) ReformatForm = nullptr;
}

void TReformatForm::FormCreate(TObject*) {
  ReformatForm = this;
  LoadSettings();
}

void TReformatForm::FormDestroy(TObject*) { SaveSettings(); }

void TReformatForm::LoadSettings() {
  TWinRegistry registry(RegistryKey);
  for (TCheckBox* box : {CBUndoHyphen, CBUndoJustify, CBParagraphs, CBMultiCol, CBDeQuote, CBMarkChanged, CBMarkSkipped})
    box->SetChecked(registry.ReadBool(kSection, box->Name() + ".Checked", box->Checked()));
  for (TShape* shape : {ColorChanged, ColorSkipped})
    shape->Brush()->SetColor(TColor(registry.ReadInteger(kSection, shape->Name() + ".Brush.Color", int(shape->Brush()->Color()))));
  const int paragraph = registry.ReadInteger(kSection, "RGParagraph.ItemIndex", RGParagraph->ItemIndex());
  RGParagraph->SetItemIndex(paragraph >= 0 && paragraph <= 2 ? paragraph : 0);
}

void TReformatForm::SaveSettings() {
  TWinRegistry registry(RegistryKey);
  for (TCheckBox* box : {CBUndoHyphen, CBUndoJustify, CBParagraphs, CBMultiCol, CBDeQuote, CBMarkChanged, CBMarkSkipped})
    registry.WriteBool(kSection, box->Name() + ".Checked", box->Checked());
  for (TShape* shape : {ColorChanged, ColorSkipped})
    registry.WriteInteger(kSection, shape->Name() + ".Brush.Color", int(shape->Brush()->Color()));
  registry.WriteInteger(kSection, "RGParagraph.ItemIndex", RGParagraph->ItemIndex());
}

void TReformatForm::ColorClick(TObject* Sender) { PopupSwatchMenu(ColorMenu1, Sender); }

void TReformatForm::ColorMenu1ColorSelect(TObject*, int, TColor Color) { SwatchColourChosen(ColorMenu1, Color); }

TReformatOptions TReformatForm::Options() const {
  TReformatOptions options;
  options.UndoHyphen = CBUndoHyphen->Checked();
  options.UndoJustify = CBUndoJustify->Checked();
  options.Paragraphs = CBParagraphs->Checked();
  options.MultiCol = CBMultiCol->Checked();
  options.DeQuote = CBDeQuote->Checked();
  options.Paragraph = RGParagraph->ItemIndex();
  return options;
}

bool TReformatForm::ApplyEdits(TRichEditW& editor, int start, const std::vector<TReformatEdit>& edits,
                               const TToolStep& step) {
  // Where each edit ends up once the ones before it changed the length of the text.
  std::vector<int> finalStart(edits.size());
  int delta = 0;
  for (size_t i = 0; i < edits.size(); ++i) {
    finalStart[i] = start + edits[i].Start + delta;
    delta += int(edits[i].Text.size()) - edits[i].Length;
  }
  size_t done = 0;
  for (size_t i = edits.size(); i-- > 0; ++done) {
    if (step && step(int64_t(done), int64_t(edits.size()))) return false;
    editor.SetSelStart(start + edits[i].Start);
    editor.SetSelLength(edits[i].Length);
    editor.SetSelTextW(edits[i].Text);
  }
  TEditorMarks marks(editor);
  for (size_t i = 0; i < edits.size(); ++i) {
    const TReformatEdit& edit = edits[i];
    if (edit.MarkLength == 0 || !(edit.Skipped ? CBMarkSkipped : CBMarkChanged)->Checked()) continue;
    const int from = finalStart[i] + edit.MarkStart;
    marks.Colour(from, from + edit.MarkLength, (edit.Skipped ? ColorSkipped : ColorChanged)->Brush()->Color());
  }
  marks.Finish();
  return true;
}

bool TReformatForm::Execute(TQGrammar& Engine, TRichEditW& Editor, const TToolStep& step) {
  const TEditorRange range = EditorWorkRange(Editor);
  if (range.Text.empty()) return true;
  const TReformatOptions options = Options();
  // Joining lines makes long paragraphs: no edit in one may lay it out or analyse it again.
  // The whole reformat is one undo step.
  const TEditorUpdateHold unseen(Editor);
  const TEditorUndoStep oneStep(Editor);
  int indentation = 0;
  const std::vector<TReformatEdit> columns = ReformatColumns(range.Text, options, indentation);
  bool done = ApplyEdits(Editor, range.Start, columns, step);
  if (done) {
    const std::u16string text = ApplyReformatEdits(range.Text, columns);
    const TWordTest isWord = [&Engine](std::u16string_view word) {
      bool lossy = false;
      const std::string bytes = WideToAnsi(word, 1251, &lossy);
      return !lossy && (Engine.IsRussianWord(bytes) || Engine.IsEnglishWord(bytes));
    };
    done = ApplyEdits(Editor, range.Start, ReformatJoin(text, options, indentation, isWord), step);
  }
  Editor.SetSelStart(range.Start);
  Editor.SetSelLength(0);
  return done;
}
