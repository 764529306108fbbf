// TSpellWindows: the windows of the spelling component, each made once when first needed and
// owned by the application: the correction popup, the finding window, the start, options,
// add-words and results windows; the languages window is made for each showing. The component
// asks its questions through them and reports its results to them.
#pragma once

#include <optional>

#include <functional>
#include <memory>
#include <string>

#include "platform/gui/component.h"
#include "platform/gui/gui_types.h"
#include "proofing/spell_interfaces.h"

class TCustomRichEditW;
class TRichEditSpellEditor;
class TSCList;
class TSCMessage;
class TSCOptions;
class TSCAddWord;
class TSCSetup;
class TQSpell;
class TSCPopup;
class TSCStart;

class TSpellWindows : public TComponent, public ISpellWindows, public ISpellResults {
  QM_CLASS(TSpellWindows, TComponent)
public:
  explicit TSpellWindows(TComponent* Owner);
  ~TSpellWindows() override;

  // Each window, made on the first call.
  TSCPopup* Popup();
  TSCMessage* Message();
  TSCStart* Start();
  TSCOptions* Options();
  TSCAddWord* AddWord();
  TSCList* List();  // the results of the automatic check
  TSCSetup* Setup = nullptr;  // made for each showing of the languages window

  // The languages window (also from the options window's "Dictionaries..."); answers its
  // modal result.
  int ShowSetup();

  // The document check of `Editor` with the options window's check boxes as they are now.
  void CheckDocument(ISpellEditor& Editor);
  // The same on a rich text control, through an editor kept for the results window until the
  // control goes.
  void CheckDocument(TCustomRichEditW& Edit);
  // The add-words window, empty unless words wait, shown without waiting.
  void AddWords() { ShowAddWords("", 0, false); }

  // The spelling component whose languages the windows show, whose user dictionaries get the
  // words added and whose findings the results window re-checks and stops.
  void SetSpell(TQSpell* Spell);
  // The interface language's text of a message key (empty: the built-in English text).
  void SetMessages(std::function<std::string(const std::string& Key)> Message);

  // The options window, modal (also from the start window's "Settings..."); true for OK.
  bool ShowOptions();

  bool AskStart(bool HasSelection, TSpellMode& Mode, TSpellScope& Scope) override;
  TPopupAnswer AskWord(TWordQuestion& Question) override;
  TFindingAnswer AskFinding(TWordClass Kind, int Start, int Length) override;
  void ShowAddWords(const std::string& Text, LCID Lcid, bool Modal) override;
  void ProcessMessages() override;

  // The results go to the results window; asking for none does not make it.
  void Clear() override;
  void AddBranch(TWordClass Kind, const std::string& Caption, unsigned Colour) override;
  void Reset() override;
  bool Progress(int Percent) override;
  void AddFinding(const std::string& Word, const std::string& Second, LCID Lcid, bool Group, TWordClass Kind,
                  int Length, int Start) override;
  bool ShowResults() override;
  bool HasResults() override;
  void CloseResults() override;
  void SetEditor(ISpellEditor* Editor) override;
  void TextChanged(int Pos, int Removed, int Added) override;

protected:
  void Notification(TComponent* Component, TOperation Operation) override;

private:
  // The screen point of a text position of the editor being checked, its vertical coordinate
  // at least `MinY` in the editor; nothing while no editor is checked.
  std::optional<TPoint> WordPoint(int Position, int MinY) const;

  TSCPopup* FPopup = nullptr;
  TSCMessage* FMessage = nullptr;
  TSCStart* FStart = nullptr;
  TSCOptions* FOptions = nullptr;
  TSCAddWord* FAddWord = nullptr;
  TSCList* FList = nullptr;
  ISpellEditor* FResultsEditor = nullptr;  // for the results window when it is made
  std::function<std::string(const std::string& Key)> FMessages;
  TQSpell* FSpell = nullptr;
  TCustomRichEditW* FEdit = nullptr;
  std::unique_ptr<TRichEditSpellEditor> FEditor;  // over FEdit
};

// The program's spelling windows (set at start-up; null where a program makes none).
extern TSpellWindows* SpellWindows;
