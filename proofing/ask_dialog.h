// What the correction dialog holds and decides, apart from its window: the options page
// content, the question of one word, the answer memory, the break flags and the event colours
// of one engine. The window (TAskForm) or a test script answers through IAskView.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "proofing/grammar.h"

class TQSpell;
class TAskDialog;

// The answers of the confirm page: Replace and "Add To Dictionary" close with OK, Skip with
// Ignore, closing the window with Cancel (stop the pass).
enum class TAskAnswer { Replace, ReplaceAll, Skip, SkipAll, AddToDictionary, Stop };

// The dialog's pages, shown modally.
class IAskView {
public:
  virtual ~IAskView() = default;
  // The options page; false when cancelled.
  virtual bool ShowOptionsPage(TAskDialog& Dialog) = 0;
  // The confirm page for a word of `Kind`; the view leaves the edit's text in Dialog.Edit.
  virtual TAskAnswer ShowConfirmPage(TAskDialog& Dialog, int Kind) = 0;
};

// One item of the options list: a preprocessing list (List) or a user option (Option >= 0).
struct TAskOptionItem {
  std::string Caption;
  bool Checked = false;
  int Option = -1;
  TGrammar* List = nullptr;
};

// One row of the event list: the caption's title, the description after "|", the check and
// the colour.
struct TAskEventRow {
  int Kind = 0;
  std::string Title, Description;
  bool Enabled = true;
  unsigned Colour = 0;
};

class TAskDialog {
public:
  explicit TAskDialog(IAskView* View = nullptr);

  // Sets every break flag and shows the options page; false when cancelled.
  bool ShowOptions();
  // Asks about the current word: clears both check boxes, shows the confirm page and applies
  // the answer (memory, dictionary, break flags).
  TAskAnswer Ask(int Kind);
  // Puts the context of the word (line breaks and tabs shown as blanks) on the confirm page.
  void ShowContext(const std::string& Context, const std::string& Word, int Position);

  // Event rows: the colour and check come from the registry (defaults: this engine's colour
  // table and true), and the stored colour becomes the table's colour.
  void ClearEventRows() { Events.clear(); }
  void AddEventRow(int Kind, const std::string& Caption);
  // Writes "Color<N>" and "Enabled<N>" of every row.
  void SaveEvents();
  // A colour chosen for a row: the row, the table and the registry take it.
  void SetEventColour(int Row, unsigned Colour);
  bool IsEventEnabled(int Kind) const;
  // True when "Replace All" or "Skip All" was answered for the word in any letter case (the
  // first answer about a word holds); `Word` becomes the replacement in the occurrence's case
  // (small, capitalised or all capitals; as answered when the occurrence is the word asked or
  // when the user gave the replacement a case of its own, "moskva" as "Москва"), or empty for
  // "Skip All" and for "Replace All" with an empty edit.
  bool LookupRemembered(std::string& Word) const;
  void ClearMemory();

  IAskView* View;
  TQSpell* Spell = nullptr;                                    // takes "Add To Dictionary"
  std::string RegistryKey = "Software\\Vortanel\\Quillomark";  // "Events" lives under it
  TEventColours Colours = DefaultEventColours();               // this engine's marking colours
  std::function<void()> OnChangeOptions;                       // the "Options..." button

  // Options page.
  std::string Caption;
  std::vector<std::string> Schemes;
  int SchemeIndex = -1;
  std::vector<TAskOptionItem> Options;
  std::vector<TAskEventRow> Events;
  bool ModePanel = true;
  bool Automatic = false;
  int HelpContext = 0;

  // Confirm page.
  std::string Context, Word;
  int WordPosition = 0;
  std::vector<std::string> Suggestions;
  int RuleSuggestions = 0;  // the first ones come from the rules, the rest from the speller
  std::string Edit;
  bool IgnoreEvent = false, IgnoreAll = false;

  // New words page.
  std::vector<std::string> NewWords, ErrorWords;

private:
  std::array<bool, kWordKindCount> FBreaks{};
  struct TRemembered {
    std::string Word, Replacement;  // as asked and answered ("" keeps the word)
  };
  // By the word in small letters.
  std::unordered_map<std::string, TRemembered> FMemory;
  void Remember(const std::string& Replacement);
};
