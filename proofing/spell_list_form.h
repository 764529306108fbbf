// TSCList: "Spell Checker", the results window of the automatic check. A tree of the finding
// kinds with their findings (those of one word grouped under it), a gauge and a stop button;
// the findings stay on their text while it changes and are walked, re-checked and copied here.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>

#include "components/data_tree_node.h"
#include "platform/gui/form.h"
#include "proofing/spell_findings.h"
#include "proofing/spell_interfaces.h"

class TCanvas;
class TCustomDataStringTree;
class TDataStringTree;
class TDataTreeModel;
class TMenuItem;
class TPanel;
class TPopupMenu;
class TProgressBar;
class TSCOptions;
class TSpeedButton;

class TSCList : public TForm, public ISpellResults {
  QM_CLASS(TSCList, TForm)
public:
  explicit TSCList(TComponent* Owner);

  TDataStringTree* DST = nullptr;
  TPanel* PanelStat = nullptr;
  TProgressBar* Gauge1 = nullptr;
  TSpeedButton* SpeedButton1 = nullptr;
  TPopupMenu* PopupMenu1 = nullptr;
  TMenuItem *GetSuggestions1 = nullptr, *AddWord1 = nullptr, *CopyWord1 = nullptr, *CopyBranch1 = nullptr;

  // The options window: the repeat rule and the colours (null: all off).
  TSCOptions* Options = nullptr;
  // The stop button was pressed or the window hidden.
  TNotifyEvent OnStop;
  // Checks a finding again; false when the user cancelled.
  std::function<bool(const TSpellFinding& Finding)> OnRecheck;
  // A word for the user dictionaries: shown in the add-words window, or only put there.
  std::function<void(const std::string& Word, LCID Lcid, bool Show)> OnAddWord;

  void Clear() override;
  void AddBranch(TWordClass Kind, const std::string& Caption, unsigned Colour) override;
  void Reset() override;
  bool Progress(int Percent) override;
  void AddFinding(const std::string& Word, const std::string& Second, LCID Lcid, bool Group, TWordClass Kind,
                  int Length, int Start) override;
  bool ShowResults() override;
  bool HasResults() override;
  void CloseResults() override;
  void SetEditor(ISpellEditor* Editor) override { FEditor = Editor; }
  void TextChanged(int Pos, int Removed, int Added) override;

  // The finding a node holds (a branch holds its kind and caption, with length 0).
  TSpellFinding* Finding(PDataNode Node);
  PDataNode FindBranch(TWordClass Kind);
  // Removes a finding, or only disables it when "Remove verified words from the list" is off;
  // a group or branch left without enabled children goes the same way.
  void DeleteVerified(PDataNode Node);

  // The popup menu's commands on the focused node.
  void GetSuggestions();
  void AddWord();
  void CopyWord();
  void CopyBranch();

private:
  void FormHide(TObject* Sender);
  void SpeedButton1Click(TObject* Sender);
  void DSTDblClick(TObject* Sender);
  void GetSuggestions1Click(TObject* Sender) { GetSuggestions(); }
  void AddWord1Click(TObject* Sender) { AddWord(); }
  void CopyWord1Click(TObject* Sender) { CopyWord(); }
  void CopyBranch1Click(TObject* Sender) { CopyBranch(); }
  void GetText(PDataNode Node, int Column, std::u16string& Text);
  void PaintText(TCanvas& Canvas, PDataNode Node, int Column);
  void FocusChanged(PDataNode Node);

  // The repeat rule: words met often enough are taken as valid.
  void VerifyRepeatedWords();
  // Marks each finding in the editor; a finding whose text changed is disabled.
  void MarkFindings();
  // The finding leaf after `Node` in tree order that is still enabled (nullptr: none).
  PDataNode NextFinding(PDataNode Node);
  // The finding a command acts on: the focused leaf, or the first of a focused group.
  PDataNode FocusedFinding();
  // Disables a node and everything under it.
  void Disable(PDataNode Node);
  std::u16string WordText(const TSpellFinding& Finding) const;

  ISpellEditor* FEditor = nullptr;
  std::map<int, unsigned> FBranchColours;  // by kind
  std::map<std::pair<int, std::string>, PDataNode> FWords;  // a grouped word's node by kind and word
  bool FBusy = false;       // the results are being shown (marked) now
  bool FStopped = false;    // the stop button was pressed
  bool FWordsToAdd = false;
};
