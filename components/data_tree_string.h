// The string tree: cells show texts the application gives through OnGetText (starting from
// DefaultText), shortened with an ellipsis when they do not fit; the main column's text
// width is cached per node; captions travel in the node stream; texts are edited in place.
#pragma once

#include "components/data_tree.h"

class TDTEdit;

enum TDSTTextType { ttNormal, ttStatic };
using TDSTOptions = unsigned;
inline constexpr TDSTOptions soSaveCaptions = 1, soShowStaticText = 2;

class TCustomDataStringTree;
using TDSTGetTextEvent = std::function<void(TCustomDataStringTree* Sender, PDataNode Node, int Column, TDSTTextType TextType,
                                            std::u16string& Text)>;
using TDSTPaintTextEvent = std::function<void(TCustomDataStringTree* Sender, TCanvas& Canvas, PDataNode Node, int Column,
                                              TDSTTextType TextType)>;
using TDSTNewTextEvent = std::function<void(TCustomDataStringTree* Sender, PDataNode Node, int Column, const std::u16string& Text)>;

class TCustomDataStringTree : public TBaseDataTree {
  QM_CLASS(TCustomDataStringTree, TBaseDataTree)
public:
  explicit TCustomDataStringTree(TComponent* owner);
  ~TCustomDataStringTree() override;

  const std::u16string& DefaultText() const { return defaultText_; }
  void SetDefaultText(const std::u16string& Value);
  TDSTOptions StringOptions() const { return stringOptions_; }
  void SetStringOptions(TDSTOptions Value);

  // The node's text: DefaultText, then whatever OnGetText makes of it.
  std::u16string DoGetText(PDataNode Node, int Column, TDSTTextType TextType = ttNormal);
  void DoNewText(PDataNode Node, int Column, const std::u16string& Text);
  // Text width + 8; cached for the main column (and no column).
  int GetNodeWidth(PDataNode Node, int Column) override;
  // Three dots in the tree's font.
  int EllipsisWidth();
  std::u16string NodeHintText(PDataNode Node, int Column) override;
  // The rectangle of a node's text in a cell (for the editor).
  TRect TextRect(PDataNode Node, int Column);
  void InvalidateNode(PDataNode Node) override;

  TDSTGetTextEvent OnGetText, OnGetHint;
  TDSTPaintTextEvent OnPaintText;
  TDSTNewTextEvent OnNewText;

protected:
  int TotalInternalDataSize() const override { return 4; }
  void DoPaintNode(TCanvas& Canvas, PDataNode Node, int Column, const TRect& Cell, const TRect& Content) override;
  std::u16string ClipboardText(PDataNode Node, int Column) override { return DoGetText(Node, Column); }
  bool ColumnIsEmpty(PDataNode Node, int Column) override { return DoGetText(Node, Column).empty(); }
  std::unique_ptr<IDTEditLink> CreateEditor(PDataNode Node, int Column) override;
  void WriteChunks(TStream& Stream, PDataNode Node) override;
  bool ReadChunk(TStream& Stream, PDataNode Node, uint32_t ChunkType, uint32_t ChunkSize, int Depth) override;
  void FontChanged() override;

private:
  int MeasureText(PDataNode Node, int Column, const std::u16string& Text);
  std::u16string defaultText_ = u"Node";
  TDSTOptions stringOptions_ = soSaveCaptions;
};

// The published string tree.
class TDataStringTree : public TCustomDataStringTree {
  QM_CLASS(TDataStringTree, TCustomDataStringTree)
public:
  explicit TDataStringTree(TComponent* owner) : TCustomDataStringTree(owner) {}
};

// The string tree's in-place editor link.
class TStringEditLink : public IDTEditLink {
public:
  ~TStringEditLink() override;
  bool PrepareEdit(TBaseDataTree* Tree, PDataNode Node, int Column) override;
  void SetBounds(const TRect& R) override;
  bool BeginEdit() override;
  bool EndEdit() override;
  void CancelEdit() override;
  TDTEdit* Edit() const { return edit_; }

private:
  TDTEdit* edit_ = nullptr;
  TCustomDataStringTree* tree_ = nullptr;
  PDataNode node_ = nullptr;
  int column_ = -1;
  bool stopped_ = false;
};
