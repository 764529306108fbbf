#include "proofing/ask_dialog.h"

#include <algorithm>

#include "proofing/language.h"
#include "proofing/spell.h"
#include "proofing/word_routines.h"
#include "textcore/cyr_case.h"
#include "textcore/text_utils.h"
#include "textcore/win_registry.h"

namespace {

constexpr const char* kEventsSection = "Events";

}  // namespace

TAskDialog::TAskDialog(IAskView* View) : View(View) { FBreaks.fill(true); }

bool TAskDialog::ShowOptions() {
  FBreaks.fill(true);
  return View == nullptr || View->ShowOptionsPage(*this);
}

TAskAnswer TAskDialog::Ask(int Kind) {
  IgnoreEvent = IgnoreAll = false;
  if (View == nullptr) return TAskAnswer::Skip;
  const TAskAnswer answer = View->ShowConfirmPage(*this, Kind);
  if (IgnoreEvent && Kind >= 0 && Kind < kWordKindCount) FBreaks[Kind] = false;
  if (IgnoreAll) FBreaks.fill(false);
  switch (answer) {
    case TAskAnswer::ReplaceAll: Remember(Edit); break;
    case TAskAnswer::SkipAll: Remember({}); break;
    case TAskAnswer::AddToDictionary:
      if (!Edit.empty() && Spell != nullptr) {
        const LCID lcid = IsCyrillicLetter(static_cast<unsigned char>(Edit[0])) ? 1049 : 1033;
        if (TQLanguage* language = Spell->FindLanguage(lcid)) language->AddUserWord(Edit);
      }
      break;
    default: break;
  }
  return answer;
}

void TAskDialog::ShowContext(const std::string& AContext, const std::string& AWord, int Position) {
  Word = AWord;
  Context.clear();
  for (char c : AContext) {
    if (c == '\n') continue;
    Context.push_back(c == '\r' || c == '\t' || c == '\v' ? ' ' : c);
  }
  WordPosition = Position;
}

void TAskDialog::AddEventRow(int Kind, const std::string& ACaption) {
  TAskEventRow row;
  row.Kind = Kind;
  const size_t bar = ACaption.find('|');
  row.Title = ACaption.substr(0, bar);
  if (bar != std::string::npos) row.Description = ACaption.substr(bar + 1);
  TWinRegistry registry(RegistryKey);
  const std::string n = std::to_string(Kind);
  row.Colour = static_cast<unsigned>(registry.ReadInteger(kEventsSection, "Color" + n, static_cast<int>(Colours[Kind])));
  row.Enabled = registry.ReadBool(kEventsSection, "Enabled" + n, true);
  Colours[Kind] = row.Colour;
  Events.push_back(row);
}

void TAskDialog::SaveEvents() {
  TWinRegistry registry(RegistryKey);
  for (const TAskEventRow& row : Events) {
    const std::string n = std::to_string(row.Kind);
    registry.WriteInteger(kEventsSection, "Color" + n, static_cast<int>(Colours[row.Kind]));
    registry.WriteBool(kEventsSection, "Enabled" + n, row.Enabled);
  }
}

void TAskDialog::SetEventColour(int Row, unsigned Colour) {
  if (Row < 0 || Row >= static_cast<int>(Events.size())) return;
  Events[Row].Colour = Colour;
  Colours[Events[Row].Kind] = Colour;
  SaveEvents();
}

bool TAskDialog::IsEventEnabled(int Kind) const {
  if (Kind < 0 || Kind >= kWordKindCount || !FBreaks[Kind]) return false;
  return std::any_of(Events.begin(), Events.end(),
                     [Kind](const TAskEventRow& row) { return row.Kind == Kind && row.Enabled; });
}

void TAskDialog::Remember(const std::string& Replacement) {
  FMemory.emplace(CyrLowerCase(Word), TRemembered{Word, Replacement});
}

bool TAskDialog::LookupRemembered(std::string& AWord) const {
  const auto found = FMemory.find(CyrLowerCase(AWord));
  if (found == FMemory.end()) return false;
  const TRemembered& answer = found->second;
  if (AWord == answer.Word || answer.Replacement.empty()) {
    AWord = answer.Replacement;
    return true;
  }
  // A word's case as MatchCase reads it; one capital letter begins a word rather than writing it
  // in capitals.
  auto caseOf = [](const std::string& Word) { return Word.size() == 1 ? Word + "a" : Word; };
  // A replacement in the case of the word asked follows each occurrence's case; one the user
  // wrote in a case of its own (a name's capital, an abbreviation) stays so, but in capitals
  // where the occurrence is.
  if (MatchCase(caseOf(answer.Word), answer.Replacement) == answer.Replacement)
    AWord = MatchCase(caseOf(AWord), answer.Replacement);
  else
    AWord = AWord.size() > 1 && CyrUpperCase(AWord) == AWord ? CyrUpperCase(answer.Replacement) : answer.Replacement;
  return true;
}

void TAskDialog::ClearMemory() { FMemory.clear(); }
