#include "shell/find_form.h"

#include <algorithm>
#include <optional>

#include "components/color_menu.h"
#include "components/colour_swatch.h"
#include "platform/exceptions.h"
#include "platform/gui/application.h"
#include "platform/gui/clipboard.h"
#include "platform/gui/common_controls.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/menus.h"
#include "platform/gui/rich_edit_control.h"
#include "platform/gui/std_controls.h"
#include "platform/rich_text.h"
#include "shell/lang_messages.h"
#include "shell/progress_wait_form.h"
#include "shell/replace_list_editor.h"
#include "shell/replace_list_rules.h"
#include "textcore/rich_edit.h"
#include "textcore/rich_edit_messages.h"

TFindForm* FindForm = nullptr;

QM_CLASS_INFO(TFindForm, TForm, [](TClassBuilder<TFindForm>&) {})

namespace {

constexpr int kTagFirst = -2, kTagPrior = -1, kTagNext = 1, kTagLast = 2;

struct TBuiltInMessage {
  const char* key;
  const char* text;
};
constexpr TBuiltInMessage kMessages[] = {
    {"FindBegin", "beginning"},
    {"FindEnd", "end"},
    {"FindDoc", "document"},
    {"FindSel", "selection"},
    {"FindSuccess", "Successfully replaced %d elements."},
    {"FindNone", "Nothing was found, nothing was replaced."},
    {"FindReached", "Reached the %s of the %s."},
    {"FindNoSel", "Nothing is selected in the editor. Using entire document."},
    {"FindClear", "Clear the replace list?"},
};

std::string Format1(const std::string& pattern, const std::string& a, const std::string& b) {
  std::string out;
  int used = 0;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's') {
      out += used++ == 0 ? a : b;
      ++i;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

std::string FormatCount(const std::string& pattern, int count) {
  const size_t at = pattern.find("%d");
  if (at == std::string::npos) return pattern;
  return pattern.substr(0, at) + std::to_string(count) + pattern.substr(at + 2);
}

std::vector<std::string> LinesOf(const TStrings& list) {
  std::vector<std::string> lines;
  lines.reserve(size_t(list.Count()));
  for (int i = 0; i < list.Count(); ++i) lines.push_back(list.Strings(i));
  return lines;
}

std::vector<std::string> ItemsOf(const TComboBox& combo) { return LinesOf(*combo.Items()); }

void SetItems(TComboBox& combo, const std::vector<std::string>& items) {
  const std::string text = combo.GetText();
  combo.Items()->BeginUpdate();
  combo.Items()->Clear();
  for (const std::string& item : items) combo.Items()->Add(item);
  combo.Items()->EndUpdate();
  combo.SetText(text);
}

TColor CharColor(TRichEditW& editor, int pos) {
  const uint32_t color = editor.Control().CharFormatAt(pos).Color;
  return color == RichAutoColor ? ColorToRGB(clWindowText) : TColor(color);
}

// A run "Empty strings" or "Punctuation marks" skips.
bool SkippedRun(const std::u16string& run, bool ignoreSpace, bool ignorePunct) {
  if (run.empty()) return true;
  if (ignoreSpace && std::all_of(run.begin(), run.end(), [](char16_t c) { return c <= u' ' || c == 0xA0; }))
    return true;
  if (ignorePunct &&
      std::none_of(run.begin(), run.end(), [](char16_t c) { return IsListLetter(c) || IsListDigit(c); }))
    return true;
  return false;
}

// Puts `text` in place of the combo box's selection.
void InsertAtCaret(TComboBox& combo, const std::string& text) {
  const std::string old = combo.GetText();
  const size_t at = std::min(size_t(std::max(0, combo.SelStart())), old.size());
  const size_t length = std::min(size_t(std::max(0, combo.SelLength())), old.size() - at);
  combo.SetText(old.substr(0, at) + text + old.substr(at + length));
}

}  // namespace

TFindForm::TFindForm(TComponent* owner) : TForm(owner) {
  Handler("FormCreate", &TFindForm::FormCreate);
  Handler("FormShow", &TFindForm::FormShow);
  Handler("FormActivate", &TFindForm::FormActivate);
  Handler("FormDestroy", &TFindForm::FormDestroy);
  Handler("FormKeyDown", &TFindForm::FormKeyDown);
  Handler("PageControl1Change", &TFindForm::PageControl1Change);
  Handler("FindClick", &TFindForm::FindClick);
  Handler("BtnReplaceClick", &TFindForm::BtnReplaceClick);
  Handler("BtnAllClick", &TFindForm::BtnAllClick);
  Handler("BtnCancelClick", &TFindForm::BtnCancelClick);
  Handler("BtnSpecClick", &TFindForm::BtnSpecClick);
  Handler("SpecialSymbolClick", &TFindForm::SpecialSymbolClick);
  Handler("BtnClearClick", &TFindForm::BtnClearClick);
  Handler("LoadListClick", &TFindForm::LoadListClick);
  Handler("SaveListClick", &TFindForm::SaveListClick);
  Handler("ColorClick", &TFindForm::ColorClick);
  Handler("ColorMenu1ColorSelect", &TFindForm::ColorMenu1ColorSelect);
  Field("ColorMenu1", ColorMenu1);
  Handler("ActionBoxClick", &TFindForm::ActionBoxClick);
  Field("PageControl1", PageControl1);
  Field("TSFind", TSFind);
  Field("TSReplace", TSReplace);
  Field("TSMulti", TSMulti);
  Field("TSAttrib", TSAttrib);
  Field("EditFind", EditFind);
  Field("EditReplace", EditReplace);
  Field("EditMulti", EditMulti);
  Field("LabelFind", LabelFind);
  Field("LabelReplace", LabelReplace);
  Field("LabelMulti", LabelMulti);
  Field("GroupOptions", GroupOptions);
  Field("GroupScope", GroupScope);
  Field("CBMatchCase", CBMatchCase);
  Field("CBWholeWords", CBWholeWords);
  Field("CBPreserveCase", CBPreserveCase);
  Field("CBColor", CBColor);
  Field("ColorRep", ColorRep);
  Field("ColorFind", ColorFind);
  Field("ColorReplace", ColorReplace);
  Field("RBSelOnly", RBSelOnly);
  Field("RBGlobal", RBGlobal);
  Field("BtnFirst", BtnFirst);
  Field("BtnPrev", BtnPrev);
  Field("BtnNext", BtnNext);
  Field("BtnLast", BtnLast);
  Field("BtnReplace", BtnReplace);
  Field("BtnAll", BtnAll);
  Field("BtnSpec", BtnSpec);
  Field("BtnClear", BtnClear);
  Field("BtnFormat", BtnFormat);
  Field("BtnCancel", BtnCancel);
  Field("SpeedButton1", SpeedButton1);
  Field("SpeedButton2", SpeedButton2);
  Field("CBInvColor", CBInvColor);
  Field("CBReplaceColor", CBReplaceColor);
  Field("CBDelWord", CBDelWord);
  Field("CBCopy", CBCopy);
  Field("CBIgnoreSpace", CBIgnoreSpace);
  Field("CBIgnorePunct", CBIgnorePunct);
  Field("PopupMenu1", PopupMenu1);
  ReadForm();
}

TFindForm::~TFindForm() {
  if (FindForm == this) FindForm = nullptr;
}

void TFindForm::FormCreate(TObject*) {
  FindForm = this;
  LoadOptions();
  // The wait window's Stop button stops a running list replacement.
  if (WaitForm && WaitForm->BtnStop) WaitForm->BtnStop->OnClick = [this](TObject*) { Stop(); };
}

void TFindForm::FormDestroy(TObject*) {
  SaveOptions();
  if (WaitForm && WaitForm->BtnStop) WaitForm->BtnStop->OnClick = nullptr;
}

std::string TFindForm::GetMsg(const std::string& key) {
  if (std::string text = GetLangMessage(key); !text.empty() && text != "???") return text;
  for (const TBuiltInMessage& m : kMessages)
    if (key == m.key) return m.text;
  return "FindForm: undefined message " + key;
}

std::vector<std::pair<std::string, int>> TFindForm::Sections() const {
  return engine_ ? engine_->Sections : std::vector<std::pair<std::string, int>>{};
}

TReplaceEngine& TFindForm::Engine() {
  if (!Editor) throw EInvalidOperation("FindForm: Editor is not assigned.");
  if (!engine_ || targetEditor_ != Editor) {
    target_ = std::make_unique<TRichEditReplaceTarget>(*Editor);
    engine_ = std::make_unique<TReplaceEngine>(*target_);
    targetEditor_ = Editor;
    lastPos_ = -1;
    lastLen_ = 0;
    engine_->ScopeLength = Editor->Control().TextLength();
  }
  return *engine_;
}

void TFindForm::ApplyOptions() {
  TReplaceEngine& engine = Engine();
  // "Entire Document" is the whole text as it is now.
  if (!running_ && RBGlobal->Checked()) {
    engine.ScopeStart = 0;
    engine.ScopeLength = Editor->Control().TextLength();
  }
  engine.Options.MatchCase = CBMatchCase->Checked();
  engine.Options.WholeWords = CBWholeWords->Checked();
  const bool replacing = PageControl1->ActivePage() != TSFind;
  engine.Options.PreserveCase = CBPreserveCase->Checked();
  engine.Options.MarkChanges = replacing && CBColor->Checked();
  engine.Options.MarkColor = ColorRep->Brush()->Color();
  engine.OnProgress = [this](int percent) {
    // The window is told of the changes before it repaints (one held off the text repaints
    // none: the changes are told once at the end).
    if (Editor->UpdateLock() == 0) Editor->Control().ShowUndoStep();
    const bool stop = OnProgress ? OnProgress(this, percent) : false;
    if (!OnProgress) Application->ProcessMessages();
    return stop || stop_;
  };
  engine.OnConfirm = [this](int start, int length, int& approveNext) {
    if (!OnConfirmReplace) return true;
    Editor->Control().ShowUndoStep();  // the user sees the replacements made so far
    return OnConfirmReplace(this, start, length, approveNext);
  };
  engine.OnListSection = [this](const std::string& section) {
    if (OnListSection) OnListSection(this, section);
  };
}

void TFindForm::UpdateSelection(bool askNoSelection) {
  TReplaceEngine& engine = Engine();
  const int length = Editor->Control().TextLength();
  if (Editor->SelLength() > 0 && (RBSelOnly->Checked() || !askNoSelection)) {
    engine.ScopeStart = Editor->SelStart();
    engine.ScopeLength = Editor->SelLength();
    return;
  }
  const bool wanted = RBSelOnly->Checked();
  engine.ScopeStart = 0;
  engine.ScopeLength = length;
  if (Editor->SelLength() == 0) {
    RBGlobal->SetChecked(true);
    if (askNoSelection && wanted && messages_) MessageDlg(GetMsg("FindNoSel"), mtInformation, mbOK);
  }
}

// --- Showing -------------------------------------------------------------------------------------

void TFindForm::ShowPage(int page) {
  TTabSheet* pages[] = {TSFind, TSReplace, TSMulti, TSAttrib};
  PageControl1->SetActivePage(pages[std::clamp(page, 1, 4) - 1]);
  PageControl1Change(this);
}

void TFindForm::PageControl1Change(TObject*) {
  TTabSheet* page = PageControl1->ActivePage();
  const bool multi = page == TSMulti, attrib = page == TSAttrib, find = page == TSFind;
  EditFind->SetVisible(!multi && !attrib);
  EditReplace->SetVisible(page == TSReplace);
  EditMulti->SetVisible(multi);
  LabelFind->SetVisible(EditFind->Visible());
  LabelReplace->SetVisible(EditReplace->Visible());
  LabelMulti->SetVisible(multi);
  BtnReplace->SetVisible(page == TSReplace || attrib);
  BtnAll->SetVisible(!find);
  for (TButton* b : {BtnFirst, BtnPrev, BtnNext, BtnLast}) b->SetVisible(!multi);
  for (TControl* c : std::initializer_list<TControl*>{SpeedButton1, SpeedButton2, BtnClear}) c->SetVisible(multi);
  BtnFormat->SetVisible(false);  // its help file is not installed
  CBPreserveCase->SetVisible(!find);
  CBColor->SetVisible(!find);
  ColorRep->SetVisible(!find);
  GroupOptions->SetVisible(!attrib);
  BtnSpec->SetVisible(!attrib);
  if (attrib) {
    ActionBoxClick(this);
  } else {
    BtnReplace->SetEnabled(true);
    BtnAll->SetEnabled(true);
  }
}

void TFindForm::FormShow(TObject*) {
  RestoreUserOptions();
  lastPos_ = -1;
  lastLen_ = 0;
  PageControl1Change(this);
  TTabSheet* page = PageControl1->ActivePage();
  if (page == TSMulti && EditMulti->CanFocus())
    EditMulti->SetFocus();
  else if ((page == TSFind || page == TSReplace) && EditFind->CanFocus())
    EditFind->SetFocus();
}

void TFindForm::FormActivate(TObject*) {
  if (!running_ && Editor) UpdateSelection(true);
}

void TFindForm::FormKeyDown(TObject*, uint16_t& Key, TShiftState) {
  if (Key != VK_RETURN) return;
  if (ActiveControl() == EditFind) {
    Key = 0;
    FindClick(BtnNext);
  } else if (ActiveControl() == EditReplace) {
    Key = 0;
    BtnReplaceClick(BtnReplace);
  }
}

void TFindForm::BtnCancelClick(TObject*) {
  if (running_)
    Stop();
  else
    Close();
}

// --- Searching -----------------------------------------------------------------------------------

bool TFindForm::AttributeMode() const { return attributeMode_ || PageControl1->ActivePage() == TSAttrib; }

void TFindForm::ShowReached(bool forward) {
  if (!messages_) return;
  const std::string scope = GetMsg(RBSelOnly->Checked() ? "FindSel" : "FindDoc");
  std::string text = Format1(GetMsg("FindReached"), GetMsg(forward ? "FindEnd" : "FindBegin"), scope);
  if (running_)
    text = (Engine().Count ? FormatCount(GetMsg("FindSuccess"), Engine().Count) : GetMsg("FindNone")) + "\r" + text;
  MessageDlg(text, mtInformation, mbOK);
}

bool TFindForm::Search(int tag) {
  if (AttributeMode()) return AttributeStep(tag);
  TReplaceEngine& engine = Engine();
  const TReplaceRule rule = MakeRule(EditFind->GetText(), EditReplace->GetText());
  const int scopeEnd = engine.ScopeStart + engine.ScopeLength;
  const bool backward = tag == kTagPrior || tag == kTagLast;
  int from = engine.ScopeStart, to = scopeEnd;
  if (tag == kTagNext) from = Editor->SelStart() + std::max(0, lastLen_);
  if (tag == kTagPrior) to = Editor->SelStart();
  if (OnBeforeFind) OnBeforeFind(this);
  const int at = engine.FindMatch(rule, from, to, backward);
  if (OnAfterFind) OnAfterFind(this);
  if (at < 0) {
    ShowReached(!backward);
    return false;
  }
  lastPos_ = at;
  lastLen_ = int(rule.Find.size());
  Editor->SetSelStart(at);
  Editor->SetSelLength(lastLen_);
  Editor->Perform(EM_HIDESELECTION, 0, 0);
  return true;
}

bool TFindForm::SearchFrom(int from) {
  Editor->SetSelStart(from);
  Editor->SetSelLength(0);
  lastLen_ = 0;
  return Search(kTagNext);
}

void TFindForm::FindClick(TObject* Sender) {
  const int tag = dynamic_cast<TComponent*>(Sender) ? dynamic_cast<TComponent*>(Sender)->Tag() : kTagNext;
  ApplyOptions();
  if (!AttributeMode()) {
    std::vector<std::string> items = ItemsOf(*EditFind);
    PushHistory(items, EditFind->GetText());
    SetItems(*EditFind, items);
    if (PageControl1->ActivePage() == TSReplace) {
      items = ItemsOf(*EditReplace);
      PushHistory(items, EditReplace->GetText());
      SetItems(*EditReplace, items);
    }
  }
  Search(tag);
}

void TFindForm::FindAgain(int direction) {
  TTabSheet* page = PageControl1->ActivePage();
  if (page == TSMulti) return;
  if ((page == TSFind || page == TSReplace) && EditFind->GetText().empty()) return;
  ApplyOptions();
  Search(direction == 2 ? kTagLast : direction == -2 ? kTagFirst : direction < 0 ? kTagPrior : kTagNext);
}

void TFindForm::FindText(const std::string& text, bool backward) {
  ShowPage(1);
  EditFind->SetText(text);
  ApplyOptions();
  lastLen_ = 0;  // the search starts at the caret
  FindClick(backward ? BtnPrev : BtnNext);
}

// --- Replacing -----------------------------------------------------------------------------------

void TFindForm::BtnReplaceClick(TObject*) {
  ApplyOptions();
  TReplaceEngine& engine = Engine();
  if (Editor->SelStart() != lastPos_ || Editor->SelLength() != lastLen_ || lastPos_ < 0) {
    if (!Search(lastPos_ < 0 ? kTagFirst : kTagNext)) return;
  }
  if (AttributeMode()) {
    ApplyAttributeActions(lastPos_, lastLen_);
    AttributeStep(kTagNext);
    return;
  }
  const TReplaceRule rule = MakeRule(EditFind->GetText(), EditReplace->GetText());
  const int after = engine.ReplaceAt(rule, lastPos_);
  // The next search starts behind the new text (or behind the start of a skipped match).
  SearchFrom(after < 0 ? lastPos_ + 1 : after);
}

void TFindForm::BtnAllClick(TObject*) {
  if (running_) return;
  ApplyOptions();
  if (PageControl1->ActivePage() == TSMulti) {
    const std::vector<std::string> lines = LinesOf(*EditMulti->Lines());
    ReplaceAllRun(&lines, true);
  } else {
    ReplaceAllRun(nullptr, true);
  }
}

void TFindForm::ReplaceAllRun(const std::vector<std::string>* list, bool resetCount) {
  if (running_) return;
  TReplaceEngine& engine = Engine();
  running_ = true;
  stop_ = false;
  attributeMode_ = attributeMode_ || PageControl1->ActivePage() == TSAttrib;
  gathered_.clear();
  const TCursor cursor = Screen->Cursor();
  Screen->SetCursor(crHourGlass);
  Editor->Perform(EM_HIDESELECTION, 1, 0);
  if (OnReplaceStart) OnReplaceStart(this);
  stopped_ = false;
  // The whole run, text and colour marks, is one undo step (and one redo step).
  const TEditorUndoStep oneUndoStep(*Editor);
  struct TTextCopy {
    TRichEditReplaceTarget& target;
    explicit TTextCopy(TRichEditReplaceTarget& t) : target(t) { target.KeepTextCopy(true); }
    ~TTextCopy() { target.KeepTextCopy(false); }
  } textCopy(*target_);
  try {
    if (resetCount) engine.Count = 0;
    // Unless each replacement is asked about, the run works unseen: the window lays the text
    // out once at the end instead of after every replacement (in a long paragraph each would
    // lay out the caret's piece again).
    std::optional<TEditorUpdateHold> unseen;
    if (AttributeMode() || !OnConfirmReplace) unseen.emplace(*Editor);
    if (AttributeMode()) {
      int from = engine.ScopeStart, start = 0, length = 0;
      while (!stop_ && FindColorRun(from, engine.ScopeStart + engine.ScopeLength, false, start, length)) {
        const int before = engine.ScopeLength;
        ApplyAttributeActions(start, length);
        from = start + length + (engine.ScopeLength - before);
        if (engine.OnProgress(int(int64_t(from - engine.ScopeStart + 1) * 100 / std::max(1, engine.ScopeLength)))) {
          stopped_ = true;
          break;
        }
      }
    } else if (list) {
      stopped_ = !engine.RunList(*list, resetCount);
    } else {
      stopped_ = !engine.ReplaceAll(MakeRule(EditFind->GetText(), EditReplace->GetText()));
    }
  } catch (...) {
    running_ = false;
    Screen->SetCursor(cursor);
    Editor->Perform(EM_HIDESELECTION, 0, 0);
    if (OnReplaceEnd) OnReplaceEnd(this);
    throw;
  }
  if (OnReplaceEnd) OnReplaceEnd(this);
  Screen->SetCursor(cursor);
  Editor->Perform(EM_HIDESELECTION, 0, 0);
  if (!gathered_.empty()) Clipboard()->SetAsUnicodeText(gathered_);
  ShowReached(true);
  running_ = false;
  attributeMode_ = false;
}

int TFindForm::ReplaceFromList(const TStrings& list, bool matchCase, bool wholeWords, bool markChanges,
                               bool resetCount, int linkFilter) {
  // The user's own options come back the next time the form is shown, and are what is stored.
  if (!userOptions_.saved) {
    userOptions_ = {true, CBMatchCase->Checked(), CBWholeWords->Checked(), CBPreserveCase->Checked(),
                    CBColor->Checked()};
  }
  attributeMode_ = false;
  Hide();
  TReplaceEngine& engine = Engine();
  messages_ = false;
  CBMatchCase->SetChecked(matchCase);
  CBWholeWords->SetChecked(wholeWords);
  CBColor->SetChecked(markChanges);
  CBPreserveCase->SetChecked(false);
  ApplyOptions();
  UpdateSelection(false);
  engine.Options.MarkChanges = markChanges;
  engine.Options.LinkFilter = linkFilter;
  const std::vector<std::string> lines = LinesOf(list);
  try {
    ReplaceAllRun(&lines, resetCount);
  } catch (...) {
    messages_ = true;
    engine.Options.LinkFilter = 0;
    throw;
  }
  messages_ = true;
  engine.Options.LinkFilter = 0;
  return engine.Count;
}

void TFindForm::RestoreUserOptions() {
  if (!userOptions_.saved) return;
  CBMatchCase->SetChecked(userOptions_.matchCase);
  CBWholeWords->SetChecked(userOptions_.wholeWords);
  CBPreserveCase->SetChecked(userOptions_.preserveCase);
  CBColor->SetChecked(userOptions_.color);
  userOptions_.saved = false;
}

// --- Attributes ----------------------------------------------------------------------------------

bool TFindForm::FindColorRun(int from, int to, bool backward, int& runStart, int& runLength) {
  const TColor wanted = ColorToRGB(ColorFind->Brush()->Color());
  const bool invert = CBInvColor->Checked();
  auto inRun = [&](int pos) { return (CharColor(*Editor, pos) == wanted) != invert; };
  const int step = backward ? -1 : 1;
  int pos = backward ? to - 1 : from;
  while (pos >= from && pos < to) {
    if (!inRun(pos)) {
      pos += step;
      continue;
    }
    int first = pos, last = pos;
    while (first - 1 >= from && inRun(first - 1)) --first;
    while (last + 1 < to && inRun(last + 1)) ++last;
    const std::u16string text = Editor->Control().TextRange(first, last + 1);
    if (!SkippedRun(text, CBIgnoreSpace->Checked(), CBIgnorePunct->Checked())) {
      runStart = first;
      runLength = last + 1 - first;
      return true;
    }
    pos = backward ? first - 1 : last + 1;
  }
  return false;
}

bool TFindForm::AttributeStep(int tag) {
  TReplaceEngine& engine = Engine();
  const bool backward = tag == kTagPrior || tag == kTagLast;
  int from = engine.ScopeStart, to = engine.ScopeStart + engine.ScopeLength;
  if (tag == kTagNext) from = Editor->SelStart() + std::max(0, Editor->SelLength());
  if (tag == kTagPrior) to = Editor->SelStart();
  int start = 0, length = 0;
  if (OnBeforeFind) OnBeforeFind(this);
  const bool found = FindColorRun(from, to, backward, start, length);
  if (OnAfterFind) OnAfterFind(this);
  if (!found) {
    ShowReached(!backward);
    return false;
  }
  lastPos_ = start;
  lastLen_ = length;
  Editor->SetSelStart(start);
  Editor->SetSelLength(length);
  return true;
}

void TFindForm::ApplyAttributeActions(int start, int length) {
  TReplaceEngine& engine = Engine();
  Editor->SetSelStart(start);
  Editor->SetSelLength(length);
  if (CBCopy->Checked()) {
    if (!gathered_.empty()) gathered_ += u"\r\n";
    gathered_ += Editor->GetSelTextW();
    ++engine.Count;
  }
  if (CBReplaceColor->Checked()) {
    TCharFormat format;
    format.Color = uint32_t(ColorToRGB(ColorReplace->Brush()->Color()));
    Editor->Control().SetCharFormat(format, CFM_COLOR, TRichFormatTarget::Selection);
    ++engine.Count;
  }
  if (CBDelWord->Checked()) {
    Editor->SetSelTextW(u"");
    engine.ScopeLength -= length;
    lastLen_ = 0;
    ++engine.Count;
  }
}

void TFindForm::ActionBoxClick(TObject*) {
  if (PageControl1->ActivePage() != TSAttrib) return;
  const bool action = CBReplaceColor->Checked() || CBDelWord->Checked() || CBCopy->Checked();
  BtnReplace->SetEnabled(action);
  BtnAll->SetEnabled(action);
}

// --- Helpers of the page -------------------------------------------------------------------------

void TFindForm::BtnSpecClick(TObject*) {
  const TPoint p = BtnSpec->ClientToScreen(TPoint{0, BtnSpec->Height()});
  PopupMenu1->Popup(p.X, p.Y);
}

void TFindForm::SpecialSymbolClick(TObject* Sender) {
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  if (!item) return;
  std::string escape(1, '{');
  escape += std::to_string(item->Tag());
  escape += '}';
  if (ActiveControl() == EditMulti)
    EditMulti->SetSelText(escape);
  else
    InsertAtCaret(ActiveControl() == EditReplace ? *EditReplace : *EditFind, escape);
}

void TFindForm::BtnClearClick(TObject*) {
  if (MessageDlg(GetMsg("FindClear"), mtConfirmation, mbYesNo) == mrYes) EditMulti->Lines()->Clear();
}

void TFindForm::LoadListClick(TObject*) {
  TOpenDialog dialog(nullptr);
  dialog.SetFilter("Text Files (*.txt)|*.txt");
  dialog.SetDefaultExt("txt");
  if (dialog.Execute()) EditMulti->Lines()->LoadFromFile(dialog.FileName());
}

void TFindForm::SaveListClick(TObject*) {
  TSaveDialog dialog(nullptr);
  dialog.SetFilter("Text Files (*.txt)|*.txt");
  dialog.SetDefaultExt("txt");
  dialog.SetOptions(dialog.Options() | ofOverwritePrompt);
  if (dialog.Execute()) EditMulti->Lines()->SaveToFile(dialog.FileName());
}

void TFindForm::ColorClick(TObject* Sender) { PopupSwatchMenu(ColorMenu1, Sender); }

void TFindForm::ColorMenu1ColorSelect(TObject*, int, TColor Color) { SwatchColourChosen(ColorMenu1, Color); }
