#include "proofing/spell_list_form.h"

#include <algorithm>
#include <vector>

#include "components/data_tree_string.h"
#include "components/spin_edit.h"
#include "platform/code_pages.h"
#include "platform/gui/application.h"
#include "platform/gui/clipboard.h"
#include "platform/gui/common_controls.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/menus.h"
#include "platform/gui/std_controls.h"
#include "proofing/spell.h"
#include "proofing/spell_options_form.h"

namespace {

constexpr unsigned kUnknownBranchColour = 0xC0C0C0;
// Occurrences that make a suspected word valid.
constexpr int kSuspectRepeats = 2;

bool Checked(const TCheckBox* Box) { return Box && Box->Checked(); }

}  // namespace

QM_CLASS_INFO(TSCList, TForm, [](TClassBuilder<TSCList>&) {})

TSCList::TSCList(TComponent* Owner) : TForm(Owner) {
  Field("DST", DST);
  Field("PanelStat", PanelStat);
  Field("Gauge1", Gauge1);
  Field("SpeedButton1", SpeedButton1);
  Field("PopupMenu1", PopupMenu1);
  Field("GetSuggestions1", GetSuggestions1);
  Field("AddWord1", AddWord1);
  Field("CopyWord1", CopyWord1);
  Field("CopyBranch1", CopyBranch1);
  Handler("FormHide", &TSCList::FormHide);
  Handler("SpeedButton1Click", &TSCList::SpeedButton1Click);
  Handler("DSTDblClick", &TSCList::DSTDblClick);
  Handler("GetSuggestions1Click", &TSCList::GetSuggestions1Click);
  Handler("AddWord1Click", &TSCList::AddWord1Click);
  Handler("CopyWord1Click", &TSCList::CopyWord1Click);
  Handler("CopyBranch1Click", &TSCList::CopyBranch1Click);
  ReadForm();
  // Each node holds its finding; the tree frees it with the node.
  DST->SetNodeDataSize(sizeof(TSpellFinding*));
  DST->OnFreeNode = [this](TDataTreeModel* Tree, PDataNode Node) {
    auto** data = static_cast<TSpellFinding**>(Tree->GetNodeData(Node));
    // While the tree goes with the window, the window's index is gone already.
    if (*data && !Tree->HasState(tsDestroying)) {
      auto word = FWords.find({(*data)->Kind, (*data)->Word});
      if (word != FWords.end() && word->second == Node) FWords.erase(word);
    }
    delete *data;
    *data = nullptr;
  };
  TDTHeader& header = *DST->Header();
  for (auto [width, minimum] : {std::pair{149, 50}, std::pair{75, 75}}) {
    TDataTreeColumn* column = header.AddColumn();
    column->SetWidth(width);
    column->SetMinWidth(minimum);
  }
  header.SetOptions(hoVisible | hoAutoResize | hoColumnResize | hoDrag);
  header.Style = hsPlates;
  DST->SetOptions(DST->Options() | voFullRowSelect);
  DST->OnGetText = [this](TCustomDataStringTree*, PDataNode Node, int Column, TDSTTextType, std::u16string& Text) {
    GetText(Node, Column, Text);
  };
  DST->OnPaintText = [this](TCustomDataStringTree*, TCanvas& Canvas, PDataNode Node, int Column, TDSTTextType) {
    PaintText(Canvas, Node, Column);
  };
  DST->OnFocusChanged = [this](TDataTreeModel*, PDataNode Node, int) { FocusChanged(Node); };
  // The popup menu's keys work while the window is active.
  OnShortCut = [this](TObject*, uint16_t Key, TShiftState Shift, bool& Handled) {
    Handled = PopupMenu1->IsShortCut(ShortCut(Key, Shift));
  };
}

TSpellFinding* TSCList::Finding(PDataNode Node) {
  auto** data = static_cast<TSpellFinding**>(DST->GetNodeData(Node));
  return data ? *data : nullptr;
}

std::u16string TSCList::WordText(const TSpellFinding& F) const { return AnsiToWide(F.Word, CodePageOf(F.Lcid)); }

void TSCList::Clear() {
  DST->Clear();
  FWords.clear();
  FBranchColours.clear();
  FWordsToAdd = false;
}

void TSCList::AddBranch(TWordClass Kind, const std::string& Caption, unsigned Colour) {
  PDataNode branch = DST->AddChild(nullptr);
  *static_cast<TSpellFinding**>(DST->GetNodeData(branch)) = new TSpellFinding{Kind, Caption, "", 0, 0, 0};
  FBranchColours[Kind] = Colour;
  branch->Include(vsDisabled);  // until a finding arrives
}

PDataNode TSCList::FindBranch(TWordClass Kind) {
  for (PDataNode branch = DST->GetFirstChild(nullptr); branch; branch = DST->GetNextSibling(branch))
    if (Finding(branch)->Kind == Kind) return branch;
  return nullptr;
}

void TSCList::Reset() {
  FStopped = false;
  Gauge1->SetMax(100);
  Gauge1->SetPosition(0);
  PanelStat->SetVisible(true);
  Show();
}

bool TSCList::Progress(int Percent) {
  Gauge1->SetPosition(Percent);
  return FStopped;
}

void TSCList::AddFinding(const std::string& Word, const std::string& Second, LCID Lcid, bool Group, TWordClass Kind,
                         int Length, int Start) {
  PDataNode branch = FindBranch(Kind);
  if (!branch) {
    AddBranch(Kind, std::to_string(Kind), kUnknownBranchColour);
    branch = FindBranch(Kind);
  }
  branch->Exclude(vsDisabled);
  PDataNode parent = branch;
  auto word = Group ? FWords.find({Kind, Word}) : FWords.end();
  if (word != FWords.end()) {
    parent = word->second;
    // The word's first finding moves into a child of its own, beside the new one.
    if (parent->ChildCount == 0)
      *static_cast<TSpellFinding**>(DST->GetNodeData(DST->AddChild(parent))) = new TSpellFinding(*Finding(parent));
  }
  PDataNode node = DST->AddChild(parent);
  *static_cast<TSpellFinding**>(DST->GetNodeData(node)) = new TSpellFinding{Kind, Word, Second, Start, Length, Lcid};
  if (Group && parent == branch) FWords[{Kind, Word}] = node;
  if (parent == branch) DST->SetExpanded(branch, true);
  DST->InvalidateNode(parent);
}

void TSCList::Disable(PDataNode Node) {
  Node->Include(vsDisabled);
  DST->SetChildrenEnabled(Node, false, true);
  DST->InvalidateNode(Node);
}

void TSCList::DeleteVerified(PDataNode Node) {
  const bool remove = Options && Checked(Options->CBRemoveVerified);
  for (PDataNode parent; Node && Node != DST->RootNode(); Node = parent) {
    parent = Node->Parent;
    if (remove) DST->DeleteNode(Node);
    else Disable(Node);
    if (parent == DST->RootNode() || DST->CountEnabledChildren(parent, false) > 0) break;
  }
}

void TSCList::VerifyRepeatedWords() {
  const int repeats = Options ? static_cast<int>(Options->SpinRep->Value()) : 0;
  const bool addWords = Options && Checked(Options->CBRepSave);
  for (auto [kind, needed] : {std::pair{wcUnrecognized, repeats}, std::pair{wcSuspected, kSuspectRepeats}}) {
    PDataNode branch = FindBranch(kind);
    if (!branch) continue;
    std::vector<PDataNode> verified;
    for (PDataNode node = DST->GetFirstChild(branch); node; node = DST->GetNextSibling(node))
      if (!node->Has(vsDisabled) && static_cast<int>(node->ChildCount) >= needed) verified.push_back(node);
    for (PDataNode node : verified) {
      const TSpellFinding& word = *Finding(node);
      if (kind == wcUnrecognized && addWords && OnAddWord) {
        OnAddWord(word.Word, word.Lcid, false);
        FWordsToAdd = true;
      }
      if (kind == wcUnrecognized) DeleteVerified(node);
      else DST->DeleteNode(node);
    }
    if (kind == wcSuspected && DST->CountEnabledChildren(branch, false) == 0) Disable(branch);
  }
}

void TSCList::MarkFindings() {
  Gauge1->SetMax(std::max<int>(1, DST->TotalCount()));
  Gauge1->SetPosition(0);
  if (!FEditor) return;
  const std::u16string text = FEditor->Text();
  const bool colour = Options && Checked(Options->CBTextColors);
  int done = 0;
  for (PDataNode node = DST->GetFirst(); node; node = DST->GetNext(node), Gauge1->SetPosition(++done)) {
    const TSpellFinding& finding = *Finding(node);
    if (finding.Length == 0 || node->ChildCount > 0 || node->Has(vsDisabled)) continue;
    const std::u16string word = WordText(finding);
    const bool same = finding.Start >= 0 && finding.Start + finding.Length <= static_cast<int>(text.size()) &&
                      text.compare(finding.Start, finding.Length, word) == 0;
    if (!same) {
      Disable(node);
      // A group whose every finding changed is greyed with them.
      if (node->Parent->Parent != DST->RootNode() && DST->CountEnabledChildren(node->Parent, false) == 0)
        Disable(node->Parent);
    } else if (colour) {
      FEditor->MarkBackground(finding.Start, finding.Start + finding.Length,
                              SpellMarkColour(FBranchColours.count(finding.Kind) ? FBranchColours[finding.Kind]
                                                                                  : kUnknownBranchColour));
    }
  }
}

bool TSCList::ShowResults() {
  if (FBusy) return false;
  FBusy = true;
  FWordsToAdd = false;
  const TCursor cursor = Screen->Cursor();
  Screen->SetCursor(crHourGlass);
  try {
    Gauge1->SetPosition(0);
    if (Options && Checked(Options->CBRepValid)) VerifyRepeatedWords();
    MarkFindings();
  } catch (...) {
    Screen->SetCursor(cursor);
    FBusy = false;
    throw;
  }
  Screen->SetCursor(cursor);
  PanelStat->SetVisible(false);
  FBusy = false;
  Show();
  return FWordsToAdd;
}

bool TSCList::HasResults() { return DST->RootNodeCount() > 0; }

void TSCList::CloseResults() {
  Hide();
  Clear();
}

void TSCList::TextChanged(int Pos, int Removed, int Added) {
  for (PDataNode node = DST->GetFirst(); node; node = DST->GetNext(node)) {
    TSpellFinding& finding = *Finding(node);
    if (finding.Length > 0) FollowTextChange(finding, Pos, Removed, Added);
  }
}

void TSCList::GetText(PDataNode Node, int Column, std::u16string& Text) {
  const TSpellFinding* finding = Finding(Node);
  if (!finding) return;
  if (Column <= 0) Text = WordText(*finding);
  else if (Node->ChildCount > 0) Text = AnsiToWide(std::to_string(Node->ChildCount), 1252);
  else Text = AnsiToWide(finding->Second, CodePageOf(finding->Lcid));
}

void TSCList::PaintText(TCanvas& Canvas, PDataNode Node, int Column) {
  const TSpellFinding* finding = Finding(Node);
  if (!finding) return;
  const bool branch = Node->Parent == DST->RootNode();
  if (branch) Canvas.Font()->SetStyle(Canvas.Font()->Style() | fsBold);
  if (Options && Checked(Options->CBListColors) && FBranchColours.count(finding->Kind))
    Canvas.Font()->SetColor(static_cast<TColor>(FBranchColours[finding->Kind]));
  if (!branch && Column == 1) Canvas.Font()->SetColor(clGrayText);
}

void TSCList::FocusChanged(PDataNode Node) {
  // A word's group shows where its first finding is now.
  if (Node && Node->ChildCount > 0 && Node->Parent != DST->RootNode()) Node = DST->GetFirstChild(Node);
  const TSpellFinding* finding = Finding(Node);
  if (!Visible() || !FEditor || !finding || finding->Length == 0) return;
  FEditor->SetSelection(finding->Start, finding->Start + finding->Length);
}

PDataNode TSCList::FocusedFinding() {
  PDataNode node = DST->FocusedNode();
  if (!node || node->Parent == DST->RootNode()) return nullptr;
  if (node->ChildCount > 0) node = DST->GetFirstChild(node);
  return node;
}

PDataNode TSCList::NextFinding(PDataNode Node) {
  for (Node = DST->GetNext(Node); Node; Node = DST->GetNext(Node))
    if (Node->Parent != DST->RootNode() && Node->ChildCount == 0 && !Node->Has(vsDisabled)) return Node;
  return nullptr;
}

void TSCList::GetSuggestions() {
  PDataNode node = FocusedFinding();
  if (node && node->Has(vsDisabled)) node = NextFinding(node);
  // Finding after finding, until the user cancels or none is left.
  while (node && OnRecheck) {
    DST->SetFocusedNode(node);
    if (!OnRecheck(*Finding(node))) break;
    PDataNode next = NextFinding(node);
    DeleteVerified(node);
    node = next;
  }
}

void TSCList::AddWord() {
  if (!OnAddWord) return;
  const TSpellFinding* finding = Finding(DST->FocusedNode());
  if (finding && finding->Length > 0) OnAddWord(finding->Word, finding->Lcid, true);
  else OnAddWord("", 0, true);
}

void TSCList::CopyWord() {
  if (const TSpellFinding* finding = Finding(DST->FocusedNode()))
    Clipboard()->SetAsUnicodeText(WordText(*finding));
}

void TSCList::CopyBranch() {
  PDataNode branch = DST->FocusedNode();
  if (!branch) return;
  while (branch->Parent != DST->RootNode()) branch = branch->Parent;
  std::u16string words;
  for (PDataNode node = DST->GetFirstChild(branch); node; node = DST->GetNextSibling(node))
    words += WordText(*Finding(node)) + u"\r";
  Clipboard()->SetAsUnicodeText(words);
}

void TSCList::FormHide(TObject*) {
  if (OnStop) OnStop(this);
}

void TSCList::SpeedButton1Click(TObject*) {
  FStopped = true;
  if (OnStop) OnStop(this);
}

void TSCList::DSTDblClick(TObject*) { GetSuggestions(); }
