#include "components/data_tree_draw.h"

int TDataDrawTree::GetNodeWidth(PDataNode Node, int Column) {
  int width = 4;
  if (OnGetNodeWidth) OnGetNodeWidth(this, Node, Column, width);
  return width;
}

TRect TDataDrawTree::HintSize(PDataNode Node, int Column) {
  TRect r;
  if (OnGetHintSize) OnGetHintSize(this, Node, Column, r);
  return r;
}

void TDataDrawTree::DrawHint(TCanvas& Canvas, PDataNode Node, const TRect& R, int Column) {
  if (OnDrawHint) OnDrawHint(this, Canvas, Node, R, Column);
}

void TDataDrawTree::DoPaintNode(TCanvas& Canvas, PDataNode Node, int Column, const TRect& Cell, const TRect& Content) {
  if (OnDrawNode) OnDrawNode(this, Canvas, Node, Column, Cell, Content);
}

QM_CLASS_INFO(TDataDrawTree, TBaseDataTree, [](TClassBuilder<TDataDrawTree>&) {})
