// Button glyphs: a glyph bitmap is a strip of NumGlyphs images (up, disabled, down, exclusive,
// mouse-in); each state's image is made once and kept in an image list shared by every button
// of the same glyph size (TGlyphList in TGlyphCache), freed when no button uses it.
#pragma once

#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "platform/gui/graphics.h"

class TImageList;

enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive, bsMouseIn };
inline constexpr int kButtonStates = 5;

// Which image of the strip a state shows: its own, else image 0.
int GlyphStripIndex(TButtonState state, int numGlyphs);
// Whether the disabled image is made from image 0 (the strip has none of its own).
bool GlyphDerivesDisabled(int numGlyphs);

// An image list that keeps track of the indexes in use: a new image takes the first free index.
class TGlyphList {
public:
  TGlyphList(int width, int height);
  ~TGlyphList();
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Stores the image (transparent where it is `maskColor`) and answers its index.
  int Add(const TBitmap& image, TColor maskColor);
  void Delete(int index);
  int Count() const { return count_; }
  TImageList& Images() { return *images_; }

private:
  int width_, height_, count_ = 0;
  std::vector<bool> used_;
  std::unique_ptr<TImageList> images_;
};

// The glyph lists by size; a list is freed when its last image goes.
class TGlyphCache {
public:
  TGlyphList& GetList(int width, int height);
  void ReturnList(TGlyphList& list);
  int ListCount() const { return int(lists_.size()); }
  bool Empty() const { return lists_.empty(); }

private:
  std::vector<std::unique_ptr<TGlyphList>> lists_;
};

// The cache every button glyph shares.
TGlyphCache& GlyphCache();

// One button's glyph: its bitmap and the state images made from it.
class TButtonGlyph {
public:
  TButtonGlyph();
  ~TButtonGlyph();
  TBitmap& Glyph() { return glyph_; }
  void SetGlyph(const TBitmap& bitmap);
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int v);
  // Disabled glyphs embossed in highlight and shadow instead of grey shades.
  bool OldDisabledStyle() const { return oldDisabledStyle_; }
  void SetOldDisabledStyle(bool v);
  bool Empty() const { return glyph_.Empty(); }
  // The size of one glyph of the strip.
  int GlyphWidth() const;
  int GlyphHeight() const;
  // The cached image of a state (made on first need); -1 without a glyph.
  int StateImage(TButtonState state);
  // Draws the state's glyph with its top-left corner at (x, y).
  void Draw(TCanvas& canvas, int x, int y, TButtonState state);
  // Frees the cached images (after a change of the bitmap).
  void Invalidate();

private:
  TBitmap glyph_;
  int numGlyphs_ = 1;
  bool oldDisabledStyle_ = false;
  int images_[kButtonStates] = {-1, -1, -1, -1, -1};
  TGlyphList* list_ = nullptr;
};
