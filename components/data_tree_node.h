// The node record of the virtual data tree, its flags and check kinds, and the tree's error.
// Every node is one zero-filled block: this record, the tree's internal data, the user data.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/exceptions.h"

// Node state bits (TDataNode::States).
inline constexpr uint8_t vsInitialized = 1, vsChecking = 2, vsCutOrCopy = 4, vsDisabled = 8,
    vsDeleting = 16, vsExpanded = 32, vsHasChildren = 64, vsSelected = 128;

enum TCheckType : uint8_t { ctNone, ctCheckBox, ctTriStateCheckBox, ctRadioButton, ctButton };
enum TCheckState : uint8_t { csUncheckedNormal, csCheckedNormal, csMixedNormal, csButtonNormal, csButtonPressed };

// The states OnInitNode may ask for.
using TDataNodeInitStates = unsigned;
inline constexpr TDataNodeInitStates ivsDisabled = 1, ivsExpanded = 2, ivsHasChildren = 4, ivsSelected = 8;

// Where a node goes relative to a destination node.
enum TDTNodeAttachMode { amNowhere, amInsertBefore, amInsertAfter, amAddChildFirst, amAddChildLast };

// One node. States is atomic (one byte, lock-free) because the cache worker reads the
// expansion bit while the interface thread changes other bits.
struct TDataNode {
  uint32_t Index = 0;
  uint32_t ChildCount = 0;
  uint16_t NodeHeight = 0;
  std::atomic<uint8_t> States{0};
  uint8_t Align = 50;
  uint8_t CheckState = csUncheckedNormal;
  uint8_t CheckType = ctNone;
  uint32_t TotalCount = 1;
  uint32_t TotalHeight = 0;
  TDataNode* Parent = nullptr;
  TDataNode* PrevSibling = nullptr;
  TDataNode* NextSibling = nullptr;
  TDataNode* FirstChild = nullptr;
  TDataNode* LastChild = nullptr;

  bool Has(uint8_t state) const { return (States.load(std::memory_order_relaxed) & state) != 0; }
  void Include(uint8_t state) { States.fetch_or(state, std::memory_order_relaxed); }
  void Exclude(uint8_t state) { States.fetch_and(uint8_t(~state), std::memory_order_relaxed); }
};
using PDataNode = TDataNode*;

// Errors of the data tree (fixed English texts).
class EDataTreeError : public Exception { using Exception::Exception; };
