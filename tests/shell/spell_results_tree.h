// Walking the results window's tree from tests that also hold a rich text control (whose
// header cannot share a file with the tree's).
#pragma once

#include <string>
#include <vector>

#include "components/data_tree_node.h"

class TSCList;

// The text of a node's cell.
std::u16string CellText(TSCList& List, PDataNode Node, int Column);
// The child of `Parent` (nullptr: a branch) whose word is `Text`; nullptr when none.
PDataNode ChildNode(TSCList& List, PDataNode Parent, const std::u16string& Text);
PDataNode FirstChildNode(TSCList& List, PDataNode Parent);
// The findings (leaves under the branches), in tree order.
std::vector<PDataNode> FindingLeaves(TSCList& List);
void FocusNode(TSCList& List, PDataNode Node);
PDataNode FocusedNode(TSCList& List);
