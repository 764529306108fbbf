// TFindForm: the stay-on-top Find & Replace window of the main window's editor (pages Find,
// Replace, Multi and Attributes) and the entry of every silent list-driven replacement
// (ReplaceFromList). The search and replacement itself is the replace engine's.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/form.h"
#include "shell/replace_list_engine.h"
#include "textcore/interface_hooks.h"

class TButton;
class TCheckBox;
class TColorMenu;
class TComboBox;
class TGroupBox;
class TLabel;
class TMemo;
class TPageControl;
class TPopupMenu;
class TRadioButton;
class TRichEditW;
class TShape;
class TSpeedButton;
class TStrings;
class TTabSheet;
class TRichEditReplaceTarget;

class TFindForm : public TForm {
  QM_CLASS(TFindForm, TForm)
public:
  explicit TFindForm(TComponent* owner);
  ~TFindForm() override;

  TPageControl* PageControl1 = nullptr;
  TTabSheet *TSFind = nullptr, *TSReplace = nullptr, *TSMulti = nullptr, *TSAttrib = nullptr;
  TComboBox *EditFind = nullptr, *EditReplace = nullptr;
  TMemo* EditMulti = nullptr;
  TLabel *LabelFind = nullptr, *LabelReplace = nullptr, *LabelMulti = nullptr;  // name the fields above
  TGroupBox *GroupOptions = nullptr, *GroupScope = nullptr;
  TCheckBox *CBMatchCase = nullptr, *CBWholeWords = nullptr, *CBPreserveCase = nullptr, *CBColor = nullptr;
  TShape *ColorRep = nullptr, *ColorFind = nullptr, *ColorReplace = nullptr;
  TColorMenu* ColorMenu1 = nullptr;  // colour choice for a clicked swatch
  TRadioButton *RBSelOnly = nullptr, *RBGlobal = nullptr;
  TButton *BtnFirst = nullptr, *BtnPrev = nullptr, *BtnNext = nullptr, *BtnLast = nullptr;
  TButton *BtnReplace = nullptr, *BtnAll = nullptr, *BtnSpec = nullptr, *BtnClear = nullptr, *BtnFormat = nullptr,
          *BtnCancel = nullptr;
  TSpeedButton *SpeedButton1 = nullptr, *SpeedButton2 = nullptr;
  TCheckBox *CBInvColor = nullptr, *CBReplaceColor = nullptr, *CBDelWord = nullptr, *CBCopy = nullptr;
  TCheckBox *CBIgnoreSpace = nullptr, *CBIgnorePunct = nullptr;
  TPopupMenu* PopupMenu1 = nullptr;

  // The editor searched; any use while it is nil raises "FindForm: Editor is not assigned."
  TRichEditW* Editor = nullptr;
  TProgressCallback OnProgress;
  TNotifyEvent OnReplaceStart, OnReplaceEnd, OnBeforeFind, OnAfterFind;
  std::function<void(TObject* Sender, const std::string& Section)> OnListSection;
  // May veto one replacement and pre-approve a count of following ones.
  std::function<bool(TObject* Sender, int Start, int Length, int& ApproveNext)> OnConfirmReplace;

  // Runs `list` silently over the editor's selection (the whole text without one) and answers
  // the number of replacements. linkFilter: 0 none, 1 only in links, 2 only outside links,
  // 3 not in embossed text, 4 not in imprinted text.
  int ReplaceFromList(const TStrings& list, bool matchCase, bool wholeWords, bool markChanges, bool resetCount,
                      int linkFilter);
  // 1 Find, 2 Replace, 3 Multi, 4 Attributes.
  void ShowPage(int page);
  // 1 next, 2 last, -1 prior, -2 first, when the page has a find text.
  void FindAgain(int direction);
  // Searches `text` on the Find page, backward or forward.
  void FindText(const std::string& text, bool backward);
  // Stops a running replace-all.
  void Stop() { stop_ = true; }
  bool Running() const { return running_; }
  // Whether the last replace-all was stopped before its end.
  bool Stopped() const { return stopped_; }
  // The text of a message: the interface language's, else the built-in English one.
  static std::string GetMsg(const std::string& key);
  int Count() const { return engine_ ? engine_->Count : 0; }
  // The sections of the last list run with their replacement counts.
  std::vector<std::pair<std::string, int>> Sections() const;
  // The text "Copy to clipboard" gathered in the last attribute run.
  const std::u16string& GatheredText() const { return gathered_; }

  // Button handlers.
  void FindClick(TObject* Sender);
  void BtnReplaceClick(TObject* Sender);
  void BtnAllClick(TObject* Sender);

private:
  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void FormActivate(TObject* Sender);
  void FormDestroy(TObject* Sender);
  void FormKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
  void PageControl1Change(TObject* Sender);
  void BtnCancelClick(TObject* Sender);
  void BtnSpecClick(TObject* Sender);
  void SpecialSymbolClick(TObject* Sender);
  void BtnClearClick(TObject* Sender);
  void BtnFormatClick(TObject* Sender);
  void LoadListClick(TObject* Sender);
  void SaveListClick(TObject* Sender);
  void ColorClick(TObject* Sender);
  void ColorMenu1ColorSelect(TObject* Sender, int ColorIndex, TColor Color);
  void ActionBoxClick(TObject* Sender);

  TReplaceEngine& Engine();
  void ApplyOptions();
  // Takes the scope from the editor: its selection with "Selection Only", else the whole text.
  void UpdateSelection(bool askNoSelection);
  // Searches by the button tag (-2 first, -1 prior, 1 next, 2 last); true when found.
  bool Search(int tag);
  // Searches forward from `from` to the scope end (a replacement's next search).
  bool SearchFrom(int from);
  bool AttributeMode() const;
  void ShowReached(bool forward);
  void ReplaceAllRun(const std::vector<std::string>* list, bool resetCount);
  // Attribute runs: the next run of characters in the find colour (or not) in the direction.
  bool FindColorRun(int from, int to, bool backward, int& runStart, int& runLength);
  bool AttributeStep(int tag);
  void ApplyAttributeActions(int start, int length);
  // Keeps the user's find options away from what a list run sets.
  void RestoreUserOptions();
  void LoadOptions();
  void SaveOptions();

  std::unique_ptr<TRichEditReplaceTarget> target_;
  std::unique_ptr<TReplaceEngine> engine_;
  TRichEditW* targetEditor_ = nullptr;
  int lastPos_ = -1, lastLen_ = 0;
  bool running_ = false, stop_ = false, stopped_ = false, messages_ = true, attributeMode_ = false;
  std::u16string gathered_;
  struct TUserOptions {
    bool saved = false, matchCase = false, wholeWords = false, preserveCase = true, color = true;
  } userOptions_;
};

extern TFindForm* FindForm;
