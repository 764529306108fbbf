#include "proofing/spell_popup_form.h"

#include "platform/code_pages.h"
#include "platform/gui/rich_edit_control.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/graphics.h"
#include "platform/gui/std_controls.h"
#include "proofing/spell.h"
#include "textcore/rich_edit.h"
#include "textcore/rich_edit_attributes.h"

namespace {

std::string Trimmed(const std::string& Text) {
  size_t first = 0, last = Text.size();
  while (first < last && static_cast<unsigned char>(Text[first]) <= ' ') ++first;
  while (last > first && static_cast<unsigned char>(Text[last - 1]) <= ' ') --last;
  return Text.substr(first, last - first);
}

// Between the word's code page and the system code page the edit field and list hold.
std::string ToSystem(const std::string& Text, LCID Lcid) {
  return WideToAnsi(AnsiToWide(Text, CodePageOf(Lcid)), SystemCodePage());
}
std::string FromSystem(const std::string& Text, LCID Lcid) {
  return WideToAnsi(AnsiToWide(Text, SystemCodePage()), CodePageOf(Lcid));
}

}  // namespace

std::array<std::u16string, 3> SuggestionParts(const std::u16string& Word, int Position, int Count) {
  if (Position <= 0 || Count <= 0 || size_t(Position) > Word.size()) return {Word, u"", u""};
  const size_t start = size_t(Position - 1), length = std::min(size_t(Count), Word.size() - start);
  return {Word.substr(0, start), Word.substr(start, length), Word.substr(start + length)};
}

int SuggestionColumns(int Length) { return Length < 4 ? 4 : Length <= 5 ? 2 : 1; }

bool CanReplace(const std::string& EditText, const std::string& Word) {
  const std::string text = Trimmed(EditText);
  return !text.empty() && text != Trimmed(Word);
}

QM_CLASS_INFO(TSCPopup, TForm, [](TClassBuilder<TSCPopup>&) {})

TSCPopup::TSCPopup(TComponent* Owner) : TForm(Owner) {
  Field("EditTrg", EditTrg);
  Field("ListSugg", ListSugg);
  Field("PanelSrc", PanelSrc);
  Field("EditSrc", EditSrc);
  Field("Label1", Label1);
  Field("BtnIgnore", BtnIgnore);
  Field("BtnIgnoreAll", BtnIgnoreAll);
  Field("BtnReplace", BtnReplace);
  Field("BtnReplaceAll", BtnReplaceAll);
  Field("BtnAdd", BtnAdd);
  Field("BtnCancel", BtnCancel);
  Handler("FormShow", &TSCPopup::FormShow);
  Handler("EditTrgChange", &TSCPopup::EditTrgChange);
  Handler("EditTrgKeyDown", &TSCPopup::EditTrgKeyDown);
  Handler("ListSuggClick", &TSCPopup::ListSuggClick);
  Handler("ListSuggDblClick", &TSCPopup::ListSuggDblClick);
  Handler("ListSuggKeyDown", &TSCPopup::ListSuggKeyDown);
  Handler("ListSuggDrawItem", &TSCPopup::ListSuggDrawItem);
  ReadForm();
}

void TSCPopup::Prepare(const TWordQuestion& Question) {
  FWord = ToSystem(Question.Word, Question.Lcid);
  FLcid = Question.Lcid;
  FSuggestions = Question.Suggestions;
  FProperCount = Question.ProperCount;
  ListSugg->Clear();
  for (const TSuggestion& s : Question.Suggestions.Items) ListSugg->Items()->Add(ToSystem(s.Word, FLcid));
  EditSrc->SetReadOnly(false);
  EditSrc->SetTextW(Question.Context);
  EditSrc->SetSelStart(Question.WordStart);
  EditSrc->SetSelLength(Question.Length);
  EditSrc->SelAttributes()->SetColor(Question.Valid ? clGreen : clRed);
  EditSrc->SetReadOnly(true);
  Label1->SetVisible(Question.Valid);
  BtnAdd->SetVisible(!Question.Valid);
  EditTrg->SetText(Question.Valid ? std::string() : ToSystem(Question.Replacement, FLcid));
  UpdateButtons();
}

void TSCPopup::ListSuggDrawItem(TWinControl*, int Index, const TRect& Rect, TOwnerDrawState State) {
  TCanvas& canvas = *ListSugg->Canvas();
  canvas.FillRect(Rect);
  if (Index < 0 || Index >= FSuggestions.Count()) return;
  const TSuggestion& s = FSuggestions.Items[size_t(Index)];
  const TColor normal = Index >= FProperCount ? TColor(clGray) : canvas.Font()->Color();
  const TColor changed = State & odSelected ? TColor(clYellow) : TColor(clBlue);
  const auto parts = SuggestionParts(AnsiToWide(s.Word, CodePageOf(FLcid)), s.Position, s.Kind);
  canvas.Brush()->SetStyle(bsClear);
  int x = Rect.Left + 2;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (parts[i].empty()) continue;
    canvas.Font()->SetColor(i == 1 ? changed : normal);
    TRect cell{x, Rect.Top, Rect.Right, Rect.Bottom};
    TRect measure = cell;
    canvas.DrawTextW(parts[i], measure, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    canvas.DrawTextW(parts[i], cell, DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
    x += measure.Right - measure.Left;
  }
}

std::string TSCPopup::Replacement() const { return FromSystem(Trimmed(EditTrg->Text()), FLcid); }

TPopupAnswer TSCPopup::AnswerOf(int ModalResult) {
  switch (ModalResult) {
    case kPopupIgnore: return TPopupAnswer::Ignore;
    case kPopupIgnoreAll: return TPopupAnswer::IgnoreAll;
    case kPopupReplace: return TPopupAnswer::Replace;
    case kPopupReplaceAll: return TPopupAnswer::ReplaceAll;
    case kPopupAdd: return TPopupAnswer::Add;
    default: return TPopupAnswer::Cancel;
  }
}

void TSCPopup::FormShow(TObject*) {
  FColumns = SuggestionColumns(static_cast<int>(AnsiToWide(FWord, SystemCodePage()).size()));
  ListSugg->SetColumns(FColumns > 1 ? FColumns : 0);
  if (EditTrg->Text().empty() && BtnAdd->Visible()) EditTrg->SetText(FWord);
  UpdateButtons();
  SetActiveControl(EditTrg);
  // The context box scrolls so that the word shows.
  EditSrc->Control().ScrollCaret();
}

void TSCPopup::UpdateButtons() {
  const bool can = CanReplace(EditTrg->Text(), FWord);
  BtnReplace->SetEnabled(can);
  BtnReplaceAll->SetEnabled(can);
}

void TSCPopup::EditTrgChange(TObject*) { UpdateButtons(); }

void TSCPopup::EditTrgKeyDown(TObject*, uint16_t& Key, TShiftState) {
  if (Key != VK_RETURN) return;
  Key = 0;
  if (BtnReplace->Enabled()) SetModalResult(kPopupReplace);
}

void TSCPopup::ListSuggClick(TObject*) {
  const int index = ListSugg->ItemIndex();
  if (index >= 0) EditTrg->SetText(ListSugg->Items()->Strings(index));
}

void TSCPopup::ListSuggDblClick(TObject*) {
  ListSuggClick(ListSugg);
  if (BtnReplace->Enabled()) SetModalResult(kPopupReplace);
}

void TSCPopup::ListSuggKeyDown(TObject*, uint16_t& Key, TShiftState) {
  if (Key != VK_RETURN) return;
  Key = 0;
  ListSuggDblClick(ListSugg);
}
