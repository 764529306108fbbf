#include "tools/sort_form.h"

#include "components/combo_edit.h"
#include "components/languages_combo.h"
#include "components/spin_edit.h"
#include "platform/files.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/std_controls.h"
#include "textcore/locale_text.h"
#include "textcore/rich_edit.h"
#include "textcore/win_registry.h"

TSortForm* SortForm = nullptr;

QM_CLASS_INFO(TSortForm, TForm, [](TClassBuilder<TSortForm>&) {})

namespace {

constexpr const char* kSection = "Sort";
constexpr LCID kDefaultLanguage = 1049;

}  // namespace

TSortForm::TSortForm(TComponent* owner) : TForm(owner) {
  Handler("FormCreate", &TSortForm::FormCreate);
  Handler("FormDestroy", &TSortForm::FormDestroy);
  Handler("ControlsClick", &TSortForm::ControlsClick);
  Handler("SpeedButton1Click", &TSortForm::SpeedButton1Click);
  Field("CBSort", CBSort);
  Field("CBDup", CBDup);
  Field("CBCaseSense", CBCaseSense);
  Field("CBLenSense", CBLenSense);
  Field("CBReverse", CBReverse);
  Field("LangCombo", LangCombo);
  Field("CBTrim", CBTrim);
  Field("CBExtract", CBExtract);
  Field("CBDelete", CBDelete);
  Field("CBRemIf", CBRemIf);
  Field("CBRemIfNot", CBRemIfNot);
  Field("CBNoEmpty", CBNoEmpty);
  Field("ExtrCol", ExtrCol);
  Field("DeleteCol", DeleteCol);
  Field("EditRemIf", EditRemIf);
  Field("EditRemIfNot", EditRemIfNot);
  Field("RBInEdit", RBInEdit);
  Field("RBInFile", RBInFile);
  Field("RBOutEdit", RBOutEdit);
  Field("RBOutFile", RBOutFile);
  Field("InFile", InFile);
  Field("OutFile", OutFile);
  Field("SpeedButton1", SpeedButton1);
  ReadForm();
}

TSortForm::~TSortForm() {
  if (SortForm == this) SortForm = nullptr;
}

void TSortForm::FormCreate(TObject*) {
  SortForm = this;
  LangCombo->SetLanguage(kDefaultLanguage);
  LoadSettings();
}

void TSortForm::FormDestroy(TObject*) { SaveSettings(); }

namespace {

std::vector<TCheckBox*> Boxes(const TSortForm& f) {
  return {f.CBSort, f.CBDup, f.CBCaseSense, f.CBLenSense, f.CBReverse, f.CBTrim,
          f.CBExtract, f.CBDelete, f.CBRemIf, f.CBRemIfNot, f.CBNoEmpty};
}

}  // namespace

void TSortForm::LoadSettings() {
  TWinRegistry registry(RegistryKey);
  for (TCheckBox* box : Boxes(*this)) box->SetChecked(registry.ReadBool(kSection, box->Name() + ".Checked", box->Checked()));
  for (TRadioButton* button : {RBInEdit, RBInFile, RBOutEdit, RBOutFile})
    if (registry.ReadBool(kSection, button->Name() + ".Checked", button->Checked())) button->SetChecked(true);
  for (TExSpinEdit* spin : {ExtrCol, DeleteCol})
    spin->SetValue(registry.ReadInteger(kSection, spin->Name() + ".Value", int(spin->Value())));
  for (TEdit* edit : {EditRemIf, EditRemIfNot})
    edit->SetText(registry.ReadString(kSection, edit->Name() + ".Text", edit->Text()));
  InFile->SetText(registry.ReadString(kSection, "InFile.Text", InFile->Text()));
  OutFile->SetText(registry.ReadString(kSection, "OutFile.Text", OutFile->Text()));
  LangCombo->SetLanguage(LCID(registry.ReadInteger(kSection, "LangCombo.Language", int(kDefaultLanguage))));
  ControlsClick(this);
}

void TSortForm::SaveSettings() {
  TWinRegistry registry(RegistryKey);
  for (TCheckBox* box : Boxes(*this)) registry.WriteBool(kSection, box->Name() + ".Checked", box->Checked());
  for (TRadioButton* button : {RBInEdit, RBInFile, RBOutEdit, RBOutFile})
    registry.WriteBool(kSection, button->Name() + ".Checked", button->Checked());
  for (TExSpinEdit* spin : {ExtrCol, DeleteCol}) registry.WriteInteger(kSection, spin->Name() + ".Value", int(spin->Value()));
  for (TEdit* edit : {EditRemIf, EditRemIfNot}) registry.WriteString(kSection, edit->Name() + ".Text", edit->Text());
  registry.WriteString(kSection, "InFile.Text", InFile->Text());
  registry.WriteString(kSection, "OutFile.Text", OutFile->Text());
  registry.WriteInteger(kSection, "LangCombo.Language", int(LangCombo->Language()));
}

void TSortForm::ControlsClick(TObject* Sender) {
  // Extracting and deleting a column exclude each other.
  if (Sender == CBExtract && CBExtract->Checked()) CBDelete->SetChecked(false);
  if (Sender == CBDelete && CBDelete->Checked()) CBExtract->SetChecked(false);
  for (TCheckBox* box : {CBDup, CBCaseSense, CBLenSense, CBReverse}) box->SetEnabled(CBSort->Checked());
  InFile->SetEnabled(RBInFile->Checked());
  OutFile->SetEnabled(RBOutFile->Checked());
}

void TSortForm::SpeedButton1Click(TObject*) { OutFile->SetText(InFile->Text()); }

TSortOptions TSortForm::Options() const {
  TSortOptions o;
  o.Sort = CBSort->Checked();
  o.Duplicates = CBDup->Checked();
  o.CaseSensitive = CBCaseSense->Checked();
  o.LengthSensitive = CBLenSense->Checked();
  o.Reverse = CBReverse->Checked();
  o.Locale = LangCombo->Language() == 0x0800 ? kDefaultLanguage : LangCombo->Language();
  o.Trim = CBTrim->Checked();
  o.Extract = CBExtract->Checked();
  o.Delete = CBDelete->Checked();
  o.NoEmpty = CBNoEmpty->Checked();
  o.RemoveIf = CBRemIf->Checked();
  o.RemoveIfNot = CBRemIfNot->Checked();
  o.ExtractColumn = int(ExtrCol->Value() + 0.5);
  o.DeleteColumn = int(DeleteCol->Value() + 0.5);
  o.RemoveIfText = AnsiToWideString(EditRemIf->Text(), 1251);
  o.RemoveIfNotText = AnsiToWideString(EditRemIfNot->Text(), 1251);
  return o;
}

TSortResult TSortForm::Execute(TRichEditW& editor, const TToolStep& step,
                               const std::function<void(const std::string&)>& caption) {
  const TSortOptions options = Options();
  const unsigned codePage = LocaleCodePage(options.Locale);
  auto stage = [&](const char* key) {
    if (caption) caption(key);
  };
  if (RBOutFile->Checked() && OutFile->FileName().empty()) return TSortResult::NoOutFile;
  stage("SortLoading");
  std::vector<std::u16string> lines;
  TEditorRange range;
  // The editor speaks the chosen language from now on.
  editor.SetLanguage(options.Locale);
  if (RBInFile->Checked()) {
    if (!FileExists(InFile->FileName())) return TSortResult::NoFile;
    const std::string bytes = ReadFileBytes(InFile->FileName());
    lines = SplitSortLines(DecodeFile ? DecodeFile(bytes, codePage) : AnsiToWideString(bytes, codePage));
  } else {
    if (editor.GetTextW().size() < 2) return TSortResult::NoData;
    range = EditorWorkRange(editor);
    lines = SplitSortLines(range.Text);
  }
  if (options.Filtering()) {
    stage("SortFiltering");
    if (!FilterSortLines(lines, options, step)) return TSortResult::Stopped;
  }
  if (options.Sort) {
    stage("SortSorting");
    SortSortLines(lines, options);
    if (step && step(1, 1)) return TSortResult::Stopped;
  }
  if (RBOutFile->Checked()) {
    std::u16string text;
    for (const std::u16string& line : lines) text += line + u"\r\n";
    WriteFileAtomic(OutFile->FileName(), WideStringToAnsi(text, codePage));
    return TSortResult::Done;
  }
  // In place of what was read; a final line break stays when there was one.
  std::u16string text;
  for (size_t i = 0; i < lines.size(); ++i) text += (i ? u"\r" : u"") + lines[i];
  const bool endBreak = !range.Text.empty() && (range.Text.back() == u'\r' || range.Text.back() == u'\n');
  if (RBInEdit->Checked() && endBreak) text += u"\r";
  if (RBInFile->Checked()) {
    range = EditorWorkRange(editor);
  }
  editor.SetSelStart(range.Start);
  editor.SetSelLength(int(range.Text.size()));
  editor.SetSelTextW(text);
  editor.SetSelStart(range.Start);
  editor.SetSelLength(0);
  return TSortResult::Done;
}
