#include "tests/shell/spell_results_tree.h"

#include "components/data_tree_string.h"
#include "proofing/spell_list_form.h"

std::u16string CellText(TSCList& List, PDataNode Node, int Column) { return List.DST->DoGetText(Node, Column); }

PDataNode ChildNode(TSCList& List, PDataNode Parent, const std::u16string& Text) {
  for (PDataNode node = List.DST->GetFirstChild(Parent); node; node = List.DST->GetNextSibling(node))
    if (CellText(List, node, 0) == Text) return node;
  return nullptr;
}

PDataNode FirstChildNode(TSCList& List, PDataNode Parent) { return List.DST->GetFirstChild(Parent); }

std::vector<PDataNode> FindingLeaves(TSCList& List) {
  std::vector<PDataNode> leaves;
  for (PDataNode node = List.DST->GetFirst(); node; node = List.DST->GetNext(node))
    if (node->Parent != List.DST->RootNode() && node->ChildCount == 0) leaves.push_back(node);
  return leaves;
}

void FocusNode(TSCList& List, PDataNode Node) { List.DST->SetFocusedNode(Node); }

PDataNode FocusedNode(TSCList& List) { return List.DST->FocusedNode(); }
