// The draw tree: cells without text; the application paints each cell's content and gives
// its width and hint through events.
#pragma once

#include "components/data_tree.h"

class TDataDrawTree;
using TDTDrawNodeEvent = std::function<void(TDataDrawTree* Sender, TCanvas& Canvas, PDataNode Node, int Column,
                                            const TRect& CellRect, const TRect& ContentRect)>;
using TDTGetNodeWidthEvent = std::function<void(TDataDrawTree* Sender, PDataNode Node, int Column, int& Width)>;
using TDTGetHintSizeEvent = std::function<void(TDataDrawTree* Sender, PDataNode Node, int Column, TRect& R)>;
using TDTDrawHintEvent = std::function<void(TDataDrawTree* Sender, TCanvas& Canvas, PDataNode Node, const TRect& R, int Column)>;

class TDataDrawTree : public TBaseDataTree {
  QM_CLASS(TDataDrawTree, TBaseDataTree)
public:
  explicit TDataDrawTree(TComponent* owner) : TBaseDataTree(owner) {}
  // 4 unless OnGetNodeWidth says otherwise.
  int GetNodeWidth(PDataNode Node, int Column) override;
  // The hint rectangle OnGetHintSize leaves (empty: no hint).
  TRect HintSize(PDataNode Node, int Column);
  void DrawHint(TCanvas& Canvas, PDataNode Node, const TRect& R, int Column);

  TDTDrawNodeEvent OnDrawNode;
  TDTGetNodeWidthEvent OnGetNodeWidth;
  TDTGetHintSizeEvent OnGetHintSize;
  TDTDrawHintEvent OnDrawHint;

protected:
  void DoPaintNode(TCanvas& Canvas, PDataNode Node, int Column, const TRect& Cell, const TRect& Content) override;
};
