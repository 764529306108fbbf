#include "components/button_glyph.h"

#include <algorithm>

#include "platform/gui/image_list.h"

int GlyphStripIndex(TButtonState state, int numGlyphs) { return int(state) < numGlyphs ? int(state) : 0; }

bool GlyphDerivesDisabled(int numGlyphs) { return numGlyphs <= int(bsDisabled); }

// --- TGlyphList --------------------------------------------------------------------------------

TGlyphList::TGlyphList(int width, int height) : width_(width), height_(height), images_(std::make_unique<TImageList>(nullptr)) {
  images_->SetWidth(width);
  images_->SetHeight(height);
}

TGlyphList::~TGlyphList() = default;

int TGlyphList::Add(const TBitmap& image, TColor maskColor) {
  auto free = std::find(used_.begin(), used_.end(), false);
  const int index = int(free - used_.begin());
  if (free == used_.end()) {
    images_->Add(image, maskColor);
    used_.push_back(true);
  } else {
    images_->Replace(index, image, maskColor);
    *free = true;
  }
  ++count_;
  return index;
}

void TGlyphList::Delete(int index) {
  if (index < 0 || index >= int(used_.size()) || !used_[size_t(index)]) return;
  used_[size_t(index)] = false;
  --count_;
}

// --- TGlyphCache -------------------------------------------------------------------------------

TGlyphList& TGlyphCache::GetList(int width, int height) {
  for (auto it = lists_.rbegin(); it != lists_.rend(); ++it)
    if ((*it)->Width() == width && (*it)->Height() == height) return **it;
  lists_.push_back(std::make_unique<TGlyphList>(width, height));
  return *lists_.back();
}

void TGlyphCache::ReturnList(TGlyphList& list) {
  if (list.Count() > 0) return;
  lists_.erase(std::remove_if(lists_.begin(), lists_.end(), [&](const auto& l) { return l.get() == &list; }), lists_.end());
}

TGlyphCache& GlyphCache() {
  static TGlyphCache cache;
  return cache;
}

// --- TButtonGlyph ------------------------------------------------------------------------------

TButtonGlyph::TButtonGlyph() = default;

TButtonGlyph::~TButtonGlyph() { Invalidate(); }

void TButtonGlyph::SetGlyph(const TBitmap& bitmap) {
  glyph_.Assign(bitmap);
  Invalidate();
}

void TButtonGlyph::SetNumGlyphs(int v) {
  numGlyphs_ = std::clamp(v, 1, 5);
  Invalidate();
}

void TButtonGlyph::SetOldDisabledStyle(bool v) {
  oldDisabledStyle_ = v;
  Invalidate();
}

int TButtonGlyph::GlyphWidth() const { return glyph_.Empty() ? 0 : glyph_.Width() / numGlyphs_; }
int TButtonGlyph::GlyphHeight() const { return glyph_.Empty() ? 0 : glyph_.Height(); }

void TButtonGlyph::Invalidate() {
  if (list_) {
    for (int& image : images_) {
      if (image >= 0) list_->Delete(image);
      image = -1;
    }
    GlyphCache().ReturnList(*list_);
    list_ = nullptr;
  }
}

int TButtonGlyph::StateImage(TButtonState state) {
  if (glyph_.Empty()) return -1;
  if (images_[state] >= 0) return images_[state];
  const int w = GlyphWidth(), h = GlyphHeight();
  if (!list_) list_ = &GlyphCache().GetList(w + 1, h + 1);
  const TColor transparent = ColorToRGB(glyph_.Canvas()->Pixel(0, glyph_.Height() - 1));
  // One pixel wider and higher than the glyph: room for the embossed copy.
  TBitmap image(w + 1, h + 1);
  image.Canvas()->Brush()->SetColor(transparent);
  image.Canvas()->FillRect(Rect(0, 0, w + 1, h + 1));
  const int source = GlyphStripIndex(state, numGlyphs_);
  if (state == bsDisabled && GlyphDerivesDisabled(numGlyphs_)) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const TColor c = ColorToRGB(glyph_.Canvas()->Pixel(x, y));
        if (c == transparent) continue;
        if (oldDisabledStyle_) {
          const int lum = (GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11) / 100;
          if (lum < 192) {
            image.Canvas()->SetPixel(x + 1, y + 1, ColorToRGB(clBtnHighlight));
            image.Canvas()->SetPixel(x, y, ColorToRGB(clBtnShadow));
          }
        } else {
          const int lum = (GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11) / 100;
          const int grey = 128 + lum / 2;
          image.Canvas()->SetPixel(x, y, RGB(grey, grey, grey));
        }
      }
  } else {
    image.Canvas()->CopyRect(Rect(0, 0, w, h), *glyph_.Canvas(), Bounds(source * w, 0, w, h));
  }
  images_[state] = list_->Add(image, transparent);
  return images_[state];
}

void TButtonGlyph::Draw(TCanvas& canvas, int x, int y, TButtonState state) {
  const int index = StateImage(state);
  if (index >= 0) list_->Images().Draw(&canvas, x, y, index);
}
