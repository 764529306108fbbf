// Paragraph indents (points) and the main window's ruler markers (pixels, 96 per inch: a point
// is 4/3 pixel). The right marker stands 10 pixels plus the right indent from the ruler's end.
#pragma once

class TCustomRichEditW;

struct TParaIndents {
  int First = 0, Left = 0, Right = 0;  // first line from the margin; other lines from the first
  bool operator==(const TParaIndents&) const = default;
};

struct TRulerPositions {
  int First = 0, Left = 0, Right = 0;  // marker positions from the ruler's left edge
  bool operator==(const TRulerPositions&) const = default;
};

// Where the markers show a paragraph's indents on a ruler `width` pixels wide.
TRulerPositions RulerPositions(const TParaIndents& indents, int width);
// The indents after marker `id` (0 first, 1 left, 2 right, 3 first and left) was moved.
TParaIndents IndentsFromRuler(int id, const TRulerPositions& markers, int width, TParaIndents current);
// The indents of the selection's paragraph, and setting those that differ from `before`.
TParaIndents ReadIndents(TCustomRichEditW& editor);
void WriteIndents(TCustomRichEditW& editor, const TParaIndents& before, const TParaIndents& after);
