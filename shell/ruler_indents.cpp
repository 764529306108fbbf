#include "shell/ruler_indents.h"

#include <cmath>

#include "textcore/rich_edit.h"
#include "textcore/rich_edit_attributes.h"

namespace {
int ToPoints(int pixels) { return int(std::lround(pixels * 3.0 / 4.0)); }
int ToPixels(int points) { return int(std::lround(points * 4.0 / 3.0)); }
constexpr int kRightGap = 10;
}  // namespace

TRulerPositions RulerPositions(const TParaIndents& in, int width) {
  return {ToPixels(in.First), ToPixels(in.First + in.Left), width - kRightGap - ToPixels(in.Right)};
}

TParaIndents IndentsFromRuler(int id, const TRulerPositions& markers, int width, TParaIndents current) {
  switch (id) {
    case 0:
    case 3:
      current.First = ToPoints(markers.First);
      current.Left = ToPoints(markers.Left) - current.First;
      break;
    case 1: current.Left = ToPoints(markers.Left) - current.First; break;
    case 2: current.Right = ToPoints(width - markers.Right - kRightGap); break;
    default: break;
  }
  return current;
}

TParaIndents ReadIndents(TCustomRichEditW& editor) {
  const TParaAttributesW& p = *editor.Paragraph();
  return {p.FirstIndent(), p.LeftIndent(), p.RightIndent()};
}

void WriteIndents(TCustomRichEditW& editor, const TParaIndents& before, const TParaIndents& after) {
  TParaAttributesW& p = *editor.Paragraph();
  if (after.First != before.First) p.SetFirstIndent(after.First);
  if (after.Left != before.Left) p.SetLeftIndent(after.Left);
  if (after.Right != before.Right) p.SetRightIndent(after.Right);
}
