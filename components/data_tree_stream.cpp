// The node stream format: a 12-byte header, then nodes as self-sized little-endian chunks
// (anchor 1, base 2 with the children inside, caption 3, user data 4).
#include <cstring>
#include <string>

#include "components/data_tree_model.h"
#include "platform/streams.h"

namespace {

constexpr uint16_t kHeader[6] = {0x2045, 0x0056, 0x0054, 0x0001, 0x0010, 0x2046};
constexpr uint32_t AnchorChunk = 1, BaseChunk = 2, UserChunk = 4;
constexpr int kBaseBodySize = 12;
// Deeper nesting than this is taken as corrupt data (the reader recurses per level).
constexpr int kMaxDepth = 512;

void WriteU32(TStream& s, uint32_t v) {
  unsigned char b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
  s.WriteBuffer(b, 4);
}

uint32_t U32(const unsigned char* b) { return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24; }

[[noreturn]] void Corrupt(const char* what) { throw EDataTreeError(what); }
constexpr const char* kNoAnchor = "Stream data corrupt. A node's anchor chunk is missing.";
constexpr const char* kTrailing = "Stream data corrupt. Unexpected data after node's end position.";
constexpr const char* kTooLarge = "Stream data corrupt. A chunk is larger than the data that holds it.";
constexpr const char* kTooDeep = "Stream data corrupt. Nodes are nested too deeply.";

// Reads a chunk header; false when fewer than 8 bytes are left before `end`.
bool ReadHeader(TStream& s, int64_t end, uint32_t& type, uint32_t& size) {
  if (end - s.Position() < 8) return false;
  unsigned char b[8];
  s.ReadBuffer(b, 8);
  type = U32(b);
  size = U32(b + 4);
  return true;
}

// Fills in a chunk's size at `start` and returns to the end.
void PatchSize(TStream& s, int64_t start) {
  int64_t endPos = s.Position();
  s.SetPosition(start + 4);
  WriteU32(s, uint32_t(endPos - start - 8));
  s.SetPosition(endPos);
}

// Checks the structure of one node (anchor at the position) without building anything.
void ValidateNode(TStream& s, int64_t limit, int depth) {
  if (depth > kMaxDepth) Corrupt(kTooDeep);
  uint32_t type, size;
  if (!ReadHeader(s, limit, type, size) || type != AnchorChunk) Corrupt(kNoAnchor);
  int64_t end = s.Position() + size;
  if (end > limit) Corrupt(kTooLarge);
  while (s.Position() < end) {
    if (!ReadHeader(s, end, type, size)) Corrupt(kTrailing);
    int64_t chunkEnd = s.Position() + size;
    if (chunkEnd > end) Corrupt(kTooLarge);
    if (type == BaseChunk) {
      if (size < uint32_t(kBaseBodySize)) Corrupt(kTooLarge);
      unsigned char body[kBaseBodySize];
      s.ReadBuffer(body, kBaseBodySize);
      uint32_t children = U32(body);
      for (uint32_t i = 0; i < children; ++i) ValidateNode(s, chunkEnd, depth + 1);
      if (s.Position() != chunkEnd) Corrupt(kTrailing);
    }
    s.SetPosition(chunkEnd);
  }
  if (s.Position() != end) Corrupt(kTrailing);
}

}  // namespace

void TDataTreeModel::SaveToStream(TStream& Stream, PDataNode Node) {
  for (uint16_t w : kHeader) {
    unsigned char b[2] = {uint8_t(w), uint8_t(w >> 8)};
    Stream.WriteBuffer(b, 2);
  }
  if (Node && Node != root_) {
    WriteNode(Stream, Node);
  } else {
    for (PDataNode run = GetFirst(); run; run = GetNextSibling(run)) WriteNode(Stream, run);
  }
}

void TDataTreeModel::WriteNode(TStream& Stream, PDataNode Node) {
  if (HasOption(voInitOnSave)) {
    if (!Node->Has(vsInitialized)) InitNode(Node);
    if (Node->Has(vsHasChildren) && Node->ChildCount == 0) InitChildren(Node);
  }
  int64_t start = Stream.Position();
  WriteU32(Stream, AnchorChunk);
  WriteU32(Stream, 0);
  WriteChunks(Stream, Node);
  PatchSize(Stream, start);
}

void TDataTreeModel::WriteChunks(TStream& Stream, PDataNode Node) {
  int64_t start = Stream.Position();
  unsigned char chunk[8 + kBaseBodySize] = {};
  uint32_t header[2] = {BaseChunk, 0};
  for (int i = 0; i < 2; ++i)
    for (int k = 0; k < 4; ++k) chunk[i * 4 + k] = uint8_t(header[i] >> (8 * k));
  uint32_t childCount = Node->ChildCount, height = Node->NodeHeight;
  for (int k = 0; k < 4; ++k) {
    chunk[8 + k] = uint8_t(childCount >> (8 * k));
    chunk[12 + k] = uint8_t(height >> (8 * k));
  }
  chunk[16] = uint8_t(Node->States.load() & ~(vsChecking | vsCutOrCopy | vsDeleting));
  chunk[17] = Node->Align;
  chunk[18] = Node->CheckState;
  chunk[19] = Node->CheckType;
  // Children are only written for an initialised node; the count must then match.
  if (!(Node->Has(vsInitialized) && Node->FirstChild)) std::memset(chunk + 8, 0, 4);
  Stream.WriteBuffer(chunk, sizeof chunk);
  if (Node->Has(vsInitialized))
    for (PDataNode run = Node->FirstChild; run; run = run->NextSibling) WriteNode(Stream, run);
  PatchSize(Stream, start);

  int64_t user = Stream.Position();
  WriteU32(Stream, UserChunk);
  WriteU32(Stream, 0);
  if (OnSaveNode) OnSaveNode(this, Node, Stream);
  if (Stream.Position() == user + 8) {
    bool atEnd = Stream.Size() == user + 8;
    Stream.SetPosition(user);
    if (atEnd) Stream.SetSize(user);
  } else {
    PatchSize(Stream, user);
  }
}

bool TDataTreeModel::ReadChunk(TStream& Stream, PDataNode Node, uint32_t ChunkType, uint32_t ChunkSize, int Depth) {
  int64_t chunkEnd = Stream.Position() + ChunkSize;
  if (ChunkType == BaseChunk) {
    unsigned char body[kBaseBodySize];
    Stream.ReadBuffer(body, kBaseBodySize);
    uint32_t children = U32(body);
    Node->NodeHeight = uint16_t(U32(body + 4));
    Node->States.store(body[8]);
    Node->Align = body[9];
    Node->CheckState = body[10];
    Node->CheckType = body[11];
    if (!Node->FirstChild) Node->TotalHeight = Node->NodeHeight;
    for (uint32_t i = 0; i < children; ++i) {
      PDataNode child = MakeNode();
      child->Parent = Node;
      child->PrevSibling = Node->LastChild;
      child->Index = Node->LastChild ? Node->LastChild->Index + 1 : 0;
      if (Node->LastChild) Node->LastChild->NextSibling = child;
      else Node->FirstChild = child;
      Node->LastChild = child;
      ++Node->ChildCount;
      ReadNode(Stream, child, chunkEnd, Depth + 1);
    }
    // The detached subtree's totals, from its children.
    Node->TotalCount = 1;
    Node->TotalHeight = Node->NodeHeight;
    for (PDataNode run = Node->FirstChild; run; run = run->NextSibling) {
      Node->TotalCount += run->TotalCount;
      if (Node->Has(vsExpanded)) Node->TotalHeight += run->TotalHeight;
    }
    return true;
  }
  if (ChunkType == UserChunk) {
    if (ChunkSize > 0 && OnLoadNode) OnLoadNode(this, Node, Stream);
    Stream.SetPosition(chunkEnd);
    return true;
  }
  Stream.SetPosition(chunkEnd);
  return false;
}

void TDataTreeModel::ReadNode(TStream& Stream, PDataNode Node, int64_t End, int Depth) {
  if (End < 0) End = Stream.Size();
  uint32_t type, size;
  if (!ReadHeader(Stream, End, type, size) || type != AnchorChunk) Corrupt(kNoAnchor);
  int64_t end = Stream.Position() + size;
  if (end > End) Corrupt(kTooLarge);
  while (Stream.Position() < end) {
    if (!ReadHeader(Stream, end, type, size)) Corrupt(kTrailing);
    if (Stream.Position() + size > end) Corrupt(kTooLarge);
    ReadChunk(Stream, Node, type, size, Depth);
  }
  if (Stream.Position() != end) Corrupt(kTrailing);
}

// Loaded states: selection only with voMultiSelect and never for disabled nodes.
void TDataTreeModel::FixLoadedNode(PDataNode Node) {
  std::vector<PDataNode> select;
  std::vector<PDataNode> stack{Node};
  while (!stack.empty()) {
    PDataNode n = stack.back();
    stack.pop_back();
    if (n->Has(vsSelected)) {
      n->Exclude(vsSelected);
      if (HasOption(voMultiSelect) && !n->Has(vsDisabled)) select.push_back(n);
    }
    for (PDataNode c = n->FirstChild; c; c = c->NextSibling) stack.push_back(c);
  }
  InternalAddToSelection(std::move(select), false);
}

std::vector<PDataNode> TDataTreeModel::ReadNodes(TStream& Stream, int64_t End, PDataNode Target, TDTNodeAttachMode Mode) {
  // Check the whole block first, so that corrupt data leaves the tree untouched.
  int64_t start = Stream.Position();
  while (Stream.Position() < End) ValidateNode(Stream, End, 0);
  Stream.SetPosition(start);
  if (!Target || Target == root_) {
    Target = root_;
    if (Mode == amInsertBefore) Mode = amAddChildFirst;
    if (Mode == amInsertAfter) Mode = amAddChildLast;
  }
  std::vector<PDataNode> read;
  BeginUpdate();
  try {
    while (Stream.Position() < End) {
      PDataNode node = MakeNode();
      try {
        ReadNode(Stream, node, End, 0);
      } catch (...) {
        std::vector<PDataNode> gone;
        FreeSubtree(node, gone);
        throw;
      }
      LinkNode(node, Target, Mode);
      FixLoadedNode(node);
      IncludeState(tsStructureChangePending);
      read.push_back(node);
      if (Mode == amInsertBefore || Mode == amAddChildFirst) {
        Target = node;
        Mode = amInsertAfter;
      }
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  return read;
}

void TDataTreeModel::LoadFromStream(TStream& Stream) {
  unsigned char b[12];
  if (Stream.Size() - Stream.Position() < 12) throw EDataTreeError("Unable to load tree structure, the format is wrong.");
  Stream.ReadBuffer(b, 12);
  auto word = [&](int i) { return uint16_t(b[2 * i] | b[2 * i + 1] << 8); };
  if (word(0) != kHeader[0] || word(1) != kHeader[1] || word(2) != kHeader[2] || word(5) != kHeader[5])
    throw EDataTreeError("Unable to load tree structure, the format is wrong.");
  if (word(3) > 1) throw EDataTreeError("Unable to load tree structure, the version is unknown.");
  int64_t start = Stream.Position(), end = Stream.Size();
  while (Stream.Position() < end) ValidateNode(Stream, end, 0);
  Stream.SetPosition(start);
  BeginUpdate();
  try {
    Clear();
    ReadNodes(Stream, end, root_, amAddChildLast);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  if (OnNodeCopied) OnNodeCopied(this, nullptr);
}

void TDataTreeModel::LoadFromFile(const std::string& FileName) {
  TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(stream);
}

PDataNode TDataTreeModel::CopyTo(PDataNode Node, PDataNode Target, TDTNodeAttachMode Mode, bool ChildrenOnly) {
  if (Mode == amNowhere || !Node || Node == root_) return nullptr;
  TDataTreeModel* targetTree = Target ? TreeOf(Target) : this;
  TMemoryStream stream;
  if (ChildrenOnly) {
    for (PDataNode run = Node->FirstChild; run; run = run->NextSibling) WriteNode(stream, run);
  } else {
    WriteNode(stream, Node);
  }
  stream.SetPosition(0);
  std::vector<PDataNode> read = targetTree->ReadNodes(stream, stream.Size(), Target, Mode);
  if (read.empty()) return nullptr;
  if (targetTree->OnNodeCopied)
    for (PDataNode node : read) targetTree->OnNodeCopied(targetTree, node);
  return read.back();
}
