#include "proofing/spell_addword_form.h"

#include "components/languages_combo.h"
#include "platform/code_pages.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/std_controls.h"
#include "proofing/spell.h"
#include "proofing/spell_editor_adapter.h"
#include "platform/gui/rich_edit_control.h"
#include "textcore/rich_edit.h"

namespace {

struct TLine {
  int Start = 0, End = 0;  // End: before the line's break
};

std::vector<TLine> LinesOf(const std::u16string& Text) {
  std::vector<TLine> lines;
  int start = 0;
  for (int i = 0; i <= static_cast<int>(Text.size()); ++i) {
    if (i < static_cast<int>(Text.size()) && Text[i] != u'\r' && Text[i] != u'\n') continue;
    if (i > start) lines.push_back({start, i});
    start = i + 1;
  }
  return lines;
}

bool IsBlank(const std::u16string& Text) {
  for (char16_t ch : Text)
    if (ch > u' ') return false;
  return true;
}

}  // namespace

QM_CLASS_INFO(TSCAddWord, TForm, [](TClassBuilder<TSCAddWord>&) {})

TSCAddWord::TSCAddWord(TComponent* Owner) : TForm(Owner) {
  Field("NewWords", NewWords);
  Field("LangCombo", LangCombo);
  Field("BtnAdd", BtnAdd);
  Field("BtnClose", BtnClose);
  Field("SBTitle", SBTitle);
  Field("SBLower", SBLower);
  Field("SBClear", SBClear);
  Handler("NewWordsChange", &TSCAddWord::NewWordsChange);
  Handler("NewWordsSelectionChange", &TSCAddWord::NewWordsSelectionChange);
  Handler("NewWordsKeyDown", &TSCAddWord::NewWordsKeyDown);
  Handler("LangComboChange", &TSCAddWord::LangComboChange);
  Handler("BtnAddClick", &TSCAddWord::BtnAddClick);
  Handler("BtnCloseClick", &TSCAddWord::BtnCloseClick);
  Handler("SBTitleClick", &TSCAddWord::SBTitleClick);
  Handler("SBLowerClick", &TSCAddWord::SBLowerClick);
  Handler("SBClearClick", &TSCAddWord::SBClearClick);
  ReadForm();
  NewWordsChange(NewWords);
}

void TSCAddWord::SetSpell(TQSpell* Spell) {
  FSpell = Spell;
  std::vector<std::string> lcids;
  if (Spell)
    for (int i = 0; i < Spell->LanguageCount(); ++i) lcids.push_back(std::to_string(Spell->Language(i).Lcid()));
  LangCombo->SetLanguageType(ltCustom);
  LangCombo->SetCustomList(lcids);
}

void TSCAddWord::AppendWord(const std::string& Text, LCID Lcid) {
  if (Text.empty()) return;
  NewWords->SetLanguage(Lcid);
  const int end = static_cast<int>(NewWords->GetTextW().size());
  NewWords->Control().SetSel(end, end);
  NewWords->SetSelTextW(AnsiToWide(Text, CodePageOf(Lcid)) + u"\r");
  TRichEditSpellEditor(*NewWords).SetLanguage(end, end + static_cast<int>(AnsiToWide(Text, CodePageOf(Lcid)).size()), Lcid);
  NewWordsChange(NewWords);
}

void TSCAddWord::AddWords() {
  TRichEditSpellEditor editor(*NewWords);
  const std::u16string text = NewWords->GetTextW();
  const std::vector<TLine> lines = LinesOf(text);
  std::string skipped;
  // From the last line up, so the places of the lines above stay.
  for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
    const std::u16string word = text.substr(line->Start, line->End - line->Start);
    if (IsBlank(word)) continue;
    const LCID lcid = editor.LanguageAt(line->Start);
    TQLanguage* language = FSpell ? FSpell->FindLanguage(lcid) : nullptr;
    if (!language) {
      skipped = WideToAnsi(word, SystemCodePage()) + (skipped.empty() ? "" : ", ") + skipped;
      continue;
    }
    language->AddUserWord(WideToAnsi(word, CodePageOf(lcid)));
    const int end = line->End < static_cast<int>(text.size()) ? line->End + 1 : line->End;
    editor.SetSelection(line->Start, end);
    editor.ReplaceSelection(u"");
  }
  NewWordsChange(NewWords);
  if (!skipped.empty()) {
    const std::string why = Message ? Message("SpellNoLanguage") : std::string();
    MessageDlg((why.empty() ? std::string("These words were not added: their language has no spelling dictionary:") : why) +
                   " " + skipped,
               mtWarning, mbOK);
  }
}

void TSCAddWord::ChangeLines(const std::function<void(std::string&)>& Change) {
  TRichEditSpellEditor editor(*NewWords);
  const std::u16string text = NewWords->GetTextW();
  for (const TLine& line : LinesOf(text)) {
    const unsigned codePage = CodePageOf(editor.LanguageAt(line.Start));
    std::string word = WideToAnsi(text.substr(line.Start, line.End - line.Start), codePage);
    const std::string before = word;
    Change(word);
    if (word == before) continue;
    editor.SetSelection(line.Start, line.End);
    editor.ReplaceSelection(AnsiToWide(word, codePage));
  }
}

void TSCAddWord::ToTitleCase() {
  ChangeLines([](std::string& Word) {
    if (!Word.empty()) Word[0] = static_cast<char>(AnsiUpperChar(static_cast<unsigned char>(Word[0])));
  });
}

void TSCAddWord::ToLowerCase() {
  ChangeLines([](std::string& Word) {
    for (char& ch : Word) ch = static_cast<char>(AnsiLowerChar(static_cast<unsigned char>(ch)));
  });
}

void TSCAddWord::ClearAll() {
  if (IsBlank(NewWords->GetTextW())) return;
  const std::string question = Message ? Message("SpellClearWords") : std::string();
  if (MessageDlg(question.empty() ? "Clear all words?" : question, mtConfirmation, mbYesNo) != mrYes) return;
  NewWords->SetTextW(u"");
  NewWordsChange(NewWords);
}

void TSCAddWord::NewWordsChange(TObject*) { BtnAdd->SetEnabled(!IsBlank(NewWords->GetTextW())); }

void TSCAddWord::NewWordsSelectionChange(TObject*) {
  LangCombo->SetLanguage(TRichEditSpellEditor(*NewWords).LanguageAt(NewWords->SelStart()));
}

void TSCAddWord::NewWordsKeyDown(TObject*, uint16_t& Key, TShiftState Shift) {
  if (!(Shift & ssCtrl) || (Key != VK_UP && Key != VK_DOWN)) return;
  if (Key == VK_UP) ToTitleCase();
  else ToLowerCase();
  Key = 0;
}

void TSCAddWord::LangComboChange(TObject*) {
  const int start = NewWords->SelStart();
  TRichEditSpellEditor(*NewWords).SetLanguage(start, start + NewWords->SelLength(), LangCombo->Language());
}

void TSCAddWord::BtnAddClick(TObject*) { AddWords(); }
void TSCAddWord::BtnCloseClick(TObject*) {
  if (!Modal()) Hide();
}
void TSCAddWord::SBTitleClick(TObject*) { ToTitleCase(); }
void TSCAddWord::SBLowerClick(TObject*) { ToLowerCase(); }
void TSCAddWord::SBClearClick(TObject*) { ClearAll(); }
