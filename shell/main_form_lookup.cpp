// The editor's context menu: spelling suggestions for the selected word, web look-ups of the
// selection, and the thesaurus.
#include <chrono>
#include <ctime>

#include "platform/code_pages.h"
#include "platform/gui/actions.h"
#include "platform/gui/std_controls.h"
#include "platform/files.h"
#include "platform/rich_text.h"
#include "platform/gui/application.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/menus.h"
#include "platform/gui/shell_open.h"
#include "proofing/spell.h"
#include "proofing/spell_global.h"
#include "shell/convert_text.h"
#include "shell/insertion_lists.h"
#include "shell/lang_messages.h"
#include "shell/main_form.h"
#include "shell/program_data_files.h"
#include "shell/suggestion_menu.h"
#include "shell/thesaurus_link.h"
#include "shell/web_lookup.h"
#include "textcore/locale_text.h"
#include "textcore/rich_edit.h"

namespace {

// Items the window makes itself: kept out of interface-language translation.
constexpr int kOwnItemTag = -999;
// The spelling component's flags for a misspelt word.
constexpr int kSuggestFlags = 0xBF;

// Frees the sub-items of `menu` from `first` up to (not including) the last `keep` ones.
void FreeItems(TMenuItem* menu, int first, int keep) {
  while (menu->Count() > first + keep) {
    TMenuItem* item = menu->Items(first);
    menu->Delete(first);
    delete item;
  }
}

TDateTimeValue SystemNow() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
          int(millis)};
}

}  // namespace

void TMainForm::BindSuggest() {
  Field("SuggList", SuggList);
  Field("PopupMenu1", PopupMenu1);
  Field("SpellerSuggestions1", SpellerSuggestions1);
  Field("InternetLookup2", InternetLookup2);
  Field("LastUsed2", LastUsed2);
  Field("ToolsVerbal", ToolsVerbal);
  Field("ToolsThesaurus", ToolsThesaurus);
  Handler("SuggListKeyDown", &TMainForm::SuggListKeyDown);
  Handler("SuggListKeyPress", &TMainForm::SuggListKeyPress);
  Handler("SuggListMouseUp", &TMainForm::SuggListMouseUp);
  Handler("SuggListExit", &TMainForm::SuggListExit);
  Handler("EditorMouseDown", &TMainForm::EditorMouseDown);
  Handler("DateTime1Click", &TMainForm::DateTime1Click);
  Handler("HTMLTag1Click", &TMainForm::HTMLTag1Click);
  Handler("SystemFileClick", &TMainForm::SystemFileClick);
  Handler("LookupWord", &TMainForm::LookupWord);
  Handler("InternetLookup2Click", &TMainForm::InternetLookup2Click);
  Handler("PopupMenu1Popup", &TMainForm::PopupMenu1Popup);
  Handler("ToolsVerbalExecute", &TMainForm::ToolsVerbalExecute);
  Handler("ToolsThesaurusExecute", &TMainForm::ToolsThesaurusExecute);
  Th = new TThesaurusLink(this);
  Clock = SystemNow;
  DateTimeSettings = DateTimeSettingsFor(1049);
}

void TMainForm::PopupMenu1Popup(TObject*) {
  BuildLookupMenu();
  const bool object = Editor->SelectedObject().has_value();
  for (TMenuItem* item : {ObjectOpen1, ObjectProperties2, PopupSepObject}) item->SetVisible(object);
  suggestionWords_.clear();
  FreeItems(SpellerSuggestions1, 0, 0);
  const unsigned lcid = SelectionLanguage();
  const unsigned codePage = LocaleCodePage(lcid);
  const std::u16string word = SpellableWord(Editor->GetSelTextW());
  bool valid = false;
  std::vector<std::u16string> suggestions;
  if (!word.empty() && SpellingInitialized()) {
    // A word selected with its sentence's period is spelled without it; the period returns on
    // every caption.
    const bool period = word.size() > 1 && word.back() == u'.';
    const std::string bytes = WideToAnsi(period ? word.substr(0, word.size() - 1) : word, codePage);
    valid = SpellChecker().IsValidWord(bytes, lcid);
    TSuggestionList list;
    SpellChecker().Suggest(bytes, list, kSuggestFlags, lcid);
    for (const TSuggestion& entry : list.Items) suggestions.push_back(AnsiToWide(entry.Word, codePage));
  }
  for (const TSuggestionMenuItem& entry : SuggestionMenu(word, valid, suggestions)) {
    auto* item = new TMenuItem(this);
    item->SetCaption(entry.Caption);
    item->SetTag(kOwnItemTag);
    item->SetDefault(entry.Default);
    item->SetEnabled(entry.Enabled);
    item->SetBreak(entry.BarBreak ? mbBarBreak : mbNone);
    if (!item->IsLine() && entry.Enabled) {
      suggestionWords_[item] = entry.Replacement;
      item->OnClick = [this](TObject* sender) { SuggestionItemClick(sender); };
    }
    SpellerSuggestions1->Add(item);
  }
}

void TMainForm::SuggestionItemClick(TObject* Sender) {
  const auto found = suggestionWords_.find(dynamic_cast<TMenuItem*>(Sender));
  if (found == suggestionWords_.end()) return;
  Editor->SetSelTextW(found->second);
}

void TMainForm::BuildLookupMenu() {
  const std::string file = ProgramDataFile("interlook.ini");
  const TFileStamp stamp = GetFileStamp(file);
  if (lookupMenuBuilt_ && stamp == lookupFileStamp_) return;
  lookupMenuBuilt_ = true;
  lookupFileStamp_ = stamp;
  lookupTemplates_.clear();
  FreeItems(InternetLookup2, 0, 2);
  const std::vector<TLookupService> services = LookupServices(RuleFileLines(file));
  for (auto service = services.rbegin(); service != services.rend(); ++service) {
    auto* item = new TMenuItem(this);
    item->SetCaption(service->Name);
    item->SetTag(kOwnItemTag);
    item->OnClick = [this](TObject* sender) { LookupWord(sender); };
    lookupTemplates_[item] = service->Template;
    InternetLookup2->Insert(0, item);
  }
}

void TMainForm::InternetLookup2Click(TObject*) {
  BuildLookupMenu();
  LastUsed2->SetEnabled(!lastLookup_.empty());
}

void TMainForm::LookupWord(TObject* Sender) {
  const auto found = lookupTemplates_.find(dynamic_cast<TMenuItem*>(Sender));
  if (found != lookupTemplates_.end()) lastLookup_ = found->second;
  else if (Sender != LastUsed2) return;
  if (lastLookup_.empty()) return;
  if (Editor->SelLength() == 0) SelectWordAt(Editor->SelStart());
  // The word travels as UTF-8 inside the address; a template that is no web address is refused.
  try {
    WebLookup(lastLookup_, Editor->GetSelTextW());
  } catch (const Exception& e) {
    Application->ShowException(e);
  }
}

void TMainForm::ToolsThesaurusExecute(TObject*) {
  // The user's own selection is looked up as it stands; only without one the word at the caret.
  if (Editor->SelLength() == 0) SelectWordAt(Editor->SelStart());
  const unsigned codePage = LocaleCodePage(SelectionLanguage());
  Th->LookupWord = WideToAnsi(Editor->GetSelTextW(), codePage);
  Th->ReturnWord.clear();
  try {
    if (Th->Execute()) Editor->SetSelTextW(AnsiToWide(Th->ReturnWord, codePage));
  } catch (const std::exception&) {
    if (MessageDlg(GetLangMessage("ThesaurusNotFound"), mtError, mbOK | mbCancel) == mrOk)
      ShellOpen(kThesaurusDownloadAddress);
  }
}
