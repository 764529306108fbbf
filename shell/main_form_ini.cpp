// The INI view of the main window: an INI text shown as a tree of sections beside the editor,
// which holds one section at a time; the tree is written back as one text before saving and
// when the view is left. The section in the editor is known by its node, never by a number.
#include <algorithm>

#include "components/data_tree_string.h"
#include "platform/gui/actions.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/menus.h"
#include "shell/lang_messages.h"
#include "shell/main_form.h"

void TMainForm::BindIni() {
  Handler("ViewINIClick", &TMainForm::ViewINIClick);
  Handler("EditAddSectionExecute", &TMainForm::EditAddSectionExecute);
  Handler("EditDelSectionExecute", &TMainForm::EditDelSectionExecute);
  Handler("EditRenSectionExecute", &TMainForm::EditRenSectionExecute);
  Handler("EditAddSectionUpdate", &TMainForm::EditAddSectionUpdate);
  Field("TreeStorage", TreeStorage);
  Field("Splitter1", Splitter1);
  Field("ViewINI", ViewINI);
  Field("EditAddSection", EditAddSection);
  Field("EditDelSection", EditDelSection);
  Field("EditRenSection", EditRenSection);
}

void TMainForm::InitIniView() {
  TreeStorage->SetOptions(TreeStorage->Options() | voEditable);
  TreeStorage->OnGetText = [this](TCustomDataStringTree*, PDataNode node, int, TDSTTextType, std::u16string& text) {
    if (TIniSection* section = IniSectionOf(node)) text = section->Name;
  };
  TreeStorage->OnNewText = [this](TCustomDataStringTree*, PDataNode node, int, const std::u16string& text) {
    if (TIniSection* section = IniSectionOf(node)) section->Name = text;
  };
  TreeStorage->OnFocusChanged = [this](TDataTreeModel*, PDataNode node, int) {
    if (!IniViewActive() || !node || node == lastIniNode_) return;
    StoreIniSection();
    ShowIniSection(node);
  };
  TreeStorage->OnFreeNode = [this](TDataTreeModel* tree, PDataNode node) {
    if (tree->HasState(tsDestroying)) return;  // the window's members are gone already
    if (node == lastIniNode_) lastIniNode_ = nullptr;
    std::erase_if(iniNodes_, [node](const TIniNode& n) { return n.Node == node; });
  };
  TreeStorage->OnKeyDown = [this](TObject*, uint16_t& key, TShiftState) {
    if (TreeStorage->IsEditing()) return;
    if (key == VK_INSERT) EditAddSectionExecute(this);
    else if (key == VK_DELETE) EditDelSectionExecute(this);
    else if (key == VK_RETURN) EditRenSectionExecute(this);
    else return;
    key = 0;
  };
}

void TMainForm::ShowIniTree(bool shown) {
  Splitter1->SetVisible(shown);
  TreeStorage->SetVisible(shown);
}

bool TMainForm::IniViewActive() const { return TreeStorage->Visible(); }

TIniSection* TMainForm::IniSectionOf(TDataNode* node) {
  for (TIniNode& n : iniNodes_)
    if (n.Node == node) return &n.Section;
  return nullptr;
}

std::vector<std::u16string> TMainForm::IniSectionNames() {
  std::vector<std::u16string> names;
  for (PDataNode node = TreeStorage->GetFirstChild(nullptr); node; node = TreeStorage->GetNextSibling(node))
    if (TIniSection* section = IniSectionOf(node)) names.push_back(section->Name);
  return names;
}

void TMainForm::ChooseIniSection(int index) {
  PDataNode node = TreeStorage->GetFirstChild(nullptr);
  for (int i = 0; node && i < index; ++i) node = TreeStorage->GetNextSibling(node);
  if (node) TreeStorage->SetFocusedNode(node);
}

void TMainForm::ViewINIClick(TObject*) {
  if (IniViewActive() || !ConfirmPlainView()) return;
  if (HistoryPane1->Checked()) HistoryPane1Click(HistoryPane1);
  UpdateViewMode(true);
  IniTextToTree();
}

void TMainForm::OfferIniView() {
  // Only a plain text that is INI through and through, and only when the user wants it.
  ClearIniTree();
  if (!PlainView() || !LooksLikeIni(EditorText())) return;
  if (MessageDlg(GetLangMessage("MainOpenAsIni"), mtConfirmation, mbYesNo) != mrYes) return;
  UpdateViewMode(true);
  IniTextToTree();
}

void TMainForm::IniTextToTree() {
  const std::u16string text = EditorText();
  ClearIniTree();
  for (TIniSection& section : SplitIni(text)) iniNodes_.push_back(TIniNode{TreeStorage->AddChild(nullptr), std::move(section)});
  ShowIniTree(true);
  ViewINI->SetChecked(true);
  ViewPlain->SetChecked(false);
  ViewFormatted->SetChecked(false);
  ShowIniSection(iniNodes_.front().Node);
  TreeStorage->SetFocusedNode(lastIniNode_);
}

void TMainForm::ShowIniSection(TDataNode* node) {
  TIniSection* section = IniSectionOf(node);
  lastIniNode_ = section ? node : nullptr;
  shownSection_ = section ? JoinIniLines(section->Lines) : std::u16string();
  // Another section in the editor is no edit of the document.
  PutEditorText(shownSection_);
}

void TMainForm::StoreIniSection() {
  // Compared with what was put in, so that any change counts, by hand or by an operation.
  TIniSection* section = IniSectionOf(lastIniNode_);
  if (!section) return;
  const std::u16string text = EditorText();
  if (text == shownSection_) return;
  section->Lines = SplitIniLines(text);
  shownSection_ = text;
}

void TMainForm::TreeToIniText() {
  StoreIniSection();
  std::vector<TIniSection> sections;
  for (PDataNode node = TreeStorage->GetFirstChild(nullptr); node; node = TreeStorage->GetNextSibling(node))
    if (TIniSection* section = IniSectionOf(node)) sections.push_back(*section);
  PutEditorText(JoinIni(sections));
}

void TMainForm::ClearIniTree() {
  ShowIniTree(false);
  TreeStorage->Clear();
  iniNodes_.clear();
  lastIniNode_ = nullptr;
  shownSection_.clear();
  ViewINI->SetChecked(false);
}

void TMainForm::LeaveIniView() {
  if (!IniViewActive()) return;
  TreeToIniText();
  ClearIniTree();
}

void TMainForm::EditAddSectionExecute(TObject*) {
  if (!IniViewActive()) return;
  iniNodes_.push_back(TIniNode{TreeStorage->AddChild(nullptr), TIniSection{u"<new section>", true, {}, {}}});
}

void TMainForm::EditDelSectionExecute(TObject*) {
  PDataNode node = TreeStorage->FocusedNode();
  if (!IniViewActive() || !node) return;
  if (MessageDlg(GetLangMessage("MainDelSection"), mtConfirmation, mbYesNo) != mrYes) return;
  TreeStorage->DeleteNode(node);
  // The editor never keeps the text of a section that is gone.
  if (!lastIniNode_) {
    PDataNode first = TreeStorage->GetFirstChild(nullptr);
    ShowIniSection(first);
    if (first) TreeStorage->SetFocusedNode(first);
  }
}

void TMainForm::EditRenSectionExecute(TObject*) {
  if (PDataNode node = TreeStorage->FocusedNode(); IniViewActive() && node) TreeStorage->EditNode(node, -1);
}

void TMainForm::EditAddSectionUpdate(TObject*) {
  const bool shown = IniViewActive(), chosen = shown && TreeStorage->FocusedNode();
  EditAddSection->SetVisible(shown);
  EditDelSection->SetVisible(shown);
  EditDelSection->SetEnabled(chosen);
  EditRenSection->SetEnabled(chosen);
}
