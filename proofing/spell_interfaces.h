// What the spelling component needs from the editor and from its windows. The editor adapter
// and the windows implement these; tests answer them directly.
#pragma once

#include <functional>
#include <string>

#include "platform/locale.h"
#include "proofing/suggestions.h"

// Finding kinds of a document check (results-tree branches).
enum TWordClass : int {
  wcUnrecognized = 0,
  wcUrl = 4,
  wcFileName = 5,
  wcMissingSpace = 6,
  wcExtraSpace = 7,
  wcRepeated = 8,
  wcSuspected = 9,
  wcUncapitalized = 10,
};

// The editor being checked: UTF-16 text, 0-based positions.
class ISpellEditor {
public:
  virtual ~ISpellEditor() = default;
  virtual std::u16string Text() = 0;
  virtual void GetSelection(int& Start, int& End) = 0;
  virtual void SetSelection(int Start, int End) = 0;
  // Replaces the selection; the caret ends after the new text.
  virtual void ReplaceSelection(const std::u16string& Text) = 0;
  // The language (LCID) of the text at a position, and of a range.
  virtual LCID LanguageAt(int Position) = 0;
  virtual void SetLanguage(int Start, int End, LCID Lcid) = 0;
  // Removes the marking colour from a range, or gives it one (0x00BBGGRR).
  virtual void ResetBackground(int Start, int End) = 0;
  virtual void MarkBackground(int Start, int End, unsigned Colour) = 0;
  // Suspends and resumes redrawing; hides and shows the selection.
  virtual void SetRedraw(bool On) = 0;
  virtual void SetHideSelection(bool Hide) = 0;
  // Reports every change of the text to `Handler` (null: no more): `Removed` characters at
  // `Pos` became `Added` ones.
  using TTextChange = std::function<void(int Pos, int Removed, int Added)>;
  virtual void SetOnTextChange(TTextChange Handler) = 0;
};

enum class TPopupAnswer { Cancel, Add, Replace, ReplaceAll, Ignore, IgnoreAll };
enum class TFindingAnswer { Cancel, Fix, FixAll, Ignore, IgnoreAll };  // Delete answers as Fix
enum class TSpellMode { Interactive, Automatic };
enum class TSpellScope { WholeText, FromCursor };  // FromCursor is "Selection" with a selection

// A question of the correction popup.
struct TWordQuestion {
  std::string Word;           // in the code page of Lcid
  LCID Lcid = 0;
  bool Valid = false;         // a valid word suspected as a misprint (no Add button)
  TSuggestionList Suggestions;
  int ProperCount = 0;        // entries after these are remembered replacements
  std::u16string Context;     // about 80 characters around the word
  int WordStart = 0;          // the word's place in Context
  int Start = 0, Length = 0;  // the word's place in the editor
  std::string Replacement;    // the edit field: in with the first suggestion, out with the answer
};

// The windows of the check, as the component uses them.
class ISpellWindows {
public:
  virtual ~ISpellWindows() = default;
  // The start window; false for Cancel.
  virtual bool AskStart(bool HasSelection, TSpellMode& Mode, TSpellScope& Scope) = 0;
  // The correction popup (modal).
  virtual TPopupAnswer AskWord(TWordQuestion& Question) = 0;
  // The finding window (modal) for a finding over Start..Start+Length.
  virtual TFindingAnswer AskFinding(TWordClass Kind, int Start, int Length) = 0;
  // The add-words window with a word and its language.
  virtual void ShowAddWords(const std::string& Text, LCID Lcid, bool Modal) = 0;
  // Processes pending window messages.
  virtual void ProcessMessages() = 0;
};

// The results window of the automatic mode.
class ISpellResults {
public:
  virtual ~ISpellResults() = default;
  virtual void Clear() = 0;
  virtual void AddBranch(TWordClass Kind, const std::string& Caption, unsigned Colour) = 0;
  // Progress 0 of 100 and shown.
  virtual void Reset() = 0;
  // Sets the progress; true when the stop button was pressed.
  virtual bool Progress(int Percent) = 0;
  // A finding under its kind's branch; with `Group`, findings of the same word are collected
  // under one node.
  virtual void AddFinding(const std::string& Word, const std::string& Second, LCID Lcid, bool Group,
                          TWordClass Kind, int Length, int Start) = 0;
  // Applies the repeat rule, marks the findings and shows the window; true when it collected
  // words to add.
  virtual bool ShowResults() = 0;
  // True while the window holds the results of a check.
  virtual bool HasResults() = 0;
  // Hides the window and clears the tree.
  virtual void CloseResults() = 0;
  // The editor whose text the findings lie in (null: none); the window marks and selects there.
  virtual void SetEditor(ISpellEditor* Editor) = 0;
  // Keeps the findings on their text: `Removed` characters at `Pos` became `Added` ones.
  virtual void TextChanged(int Pos, int Removed, int Added) = 0;
};
