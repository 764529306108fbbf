#include "components/clipboard_icon.h"

#include "platform/gui/clipboard.h"
#include "platform/gui/graphics.h"

namespace {

// Little-endian reads that fail instead of reading past the block.
class Reader {
public:
  explicit Reader(const std::string& b) : b_(b) {}
  bool U16(size_t at, uint32_t& v) const { return Get(at, 2, v); }
  bool U32(size_t at, uint32_t& v) const { return Get(at, 4, v); }
  bool Has(size_t at, size_t n) const { return at <= b_.size() && n <= b_.size() - at; }
  uint8_t Byte(size_t at) const { return uint8_t(b_[at]); }

private:
  bool Get(size_t at, size_t n, uint32_t& v) const {
    if (!Has(at, n)) return false;
    v = 0;
    for (size_t i = 0; i < n; ++i) v |= uint32_t(uint8_t(b_[at + i])) << (8 * i);
    return true;
  }
  const std::string& b_;
};

}  // namespace

bool ReadIconData(const std::string& bytes, TIconImage& icon) {
  const Reader r(bytes);
  uint32_t reserved, type, count, size, offset;
  if (!r.U16(0, reserved) || !r.U16(2, type) || !r.U16(4, count)) return false;
  if (reserved != 0 || type != 1 || count < 1) return false;
  if (!r.U32(6 + 8, size) || !r.U32(6 + 12, offset)) return false;  // the first directory entry
  if (!r.Has(offset, size)) return false;
  const size_t dib = offset;
  uint32_t headerSize, w, h2, planes, bits, compression, colorsUsed;
  if (!r.U32(dib, headerSize) || headerSize < 40 || headerSize > size) return false;
  if (!r.U32(dib + 4, w) || !r.U32(dib + 8, h2) || !r.U16(dib + 12, planes) || !r.U16(dib + 14, bits) ||
      !r.U32(dib + 16, compression) || !r.U32(dib + 32, colorsUsed))
    return false;
  const int width = int(int32_t(w)), height = int(int32_t(h2)) / 2;  // colour image and mask
  if (width < 1 || width > 256 || height < 1 || height > 256 || compression != 0) return false;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return false;
  const size_t paletteCount = bits <= 8 ? (colorsUsed ? colorsUsed : 1u << bits) : 0;
  if (paletteCount > 256) return false;
  const size_t palette = dib + headerSize;
  const size_t colorRow = (size_t(width) * bits + 31) / 32 * 4;
  const size_t colorBits = palette + paletteCount * 4;
  const size_t maskBits = colorBits + colorRow * size_t(height);
  const size_t end = maskBits + size_t(MaskRowBytes(width)) * size_t(height);
  if (end > offset + size || !r.Has(palette, end - palette)) return false;
  icon.Width = width;
  icon.Height = height;
  icon.Pixels.assign(size_t(width) * size_t(height), 0);
  for (int y = 0; y < height; ++y) {
    const size_t row = colorBits + colorRow * size_t(height - 1 - y);  // rows are stored bottom up
    const size_t maskRow = maskBits + size_t(MaskRowBytes(width)) * size_t(height - 1 - y);
    for (int x = 0; x < width; ++x) {
      uint32_t argb = 0;
      if (bits <= 8) {
        const size_t bit = size_t(x) * bits;
        const uint8_t byte = r.Byte(row + bit / 8);
        const uint32_t index = (byte >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
        if (index >= paletteCount) return false;
        const size_t p = palette + index * 4;
        argb = 0xFF000000u | uint32_t(r.Byte(p + 2)) << 16 | uint32_t(r.Byte(p + 1)) << 8 | r.Byte(p);
      } else {
        const size_t p = row + size_t(x) * (bits / 8);
        const uint32_t alpha = bits == 32 ? r.Byte(p + 3) : 0xFF;
        argb = alpha << 24 | uint32_t(r.Byte(p + 2)) << 16 | uint32_t(r.Byte(p + 1)) << 8 | r.Byte(p);
        if (bits == 32 && alpha == 0) argb = 0;
      }
      const bool transparent = (r.Byte(maskRow + size_t(x) / 8) >> (7 - x % 8)) & 1;
      icon.Pixels[size_t(y) * size_t(width) + size_t(x)] = transparent ? 0 : (argb | (bits == 32 ? 0 : 0xFF000000u));
    }
  }
  return true;
}

unsigned IconClipboardFormat() { return RegisterClipboardFormat("Pictor Icon"); }

bool ClipboardHasIcon() {
  TIconImage icon;
  return Clipboard()->HasFormat(IconClipboardFormat()) &&
         ReadIconData(Clipboard()->GetAsBytes(IconClipboardFormat()), icon);
}

bool IconFromClipboard(TBitmap& bitmap) {
  if (!Clipboard()->HasFormat(IconClipboardFormat())) return false;
  TIconImage icon;
  if (!ReadIconData(Clipboard()->GetAsBytes(IconClipboardFormat()), icon)) return false;
  // Stretched to the system icon size, pixel by pixel; transparent pixels take fuchsia.
  bitmap.SetSize(kSystemIconSize, kSystemIconSize);
  for (int y = 0; y < kSystemIconSize; ++y)
    for (int x = 0; x < kSystemIconSize; ++x) {
      const uint32_t p = icon.Pixels[size_t(y * icon.Height / kSystemIconSize) * size_t(icon.Width) +
                                     size_t(x * icon.Width / kSystemIconSize)];
      const TColor c = (p >> 24) == 0 ? clFuchsia : RGB(int((p >> 16) & 0xFF), int((p >> 8) & 0xFF), int(p & 0xFF));
      bitmap.Canvas()->SetPixel(x, y, c);
    }
  bitmap.SetTransparentColor(clFuchsia);
  bitmap.SetTransparent(true);
  return true;
}
