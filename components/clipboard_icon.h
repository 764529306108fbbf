// Icons on the clipboard: the format "Pictor Icon" holds an icon file (6-byte header, one
// directory entry, the device-independent bitmap with its mask). Data from other programs is
// checked at every offset and size; anything malformed is refused, never read past its end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TBitmap;

// An icon's pixels, 0xAARRGGBB, rows top down.
struct TIconImage {
  int Width = 0, Height = 0;
  std::vector<uint32_t> Pixels;
};

inline constexpr int kSystemIconSize = 32;
// Bytes of one row of a 1-bit mask of that width (rows padded to 4 bytes).
inline int MaskRowBytes(int width) { return (width + 31) / 32 * 4; }
// Reads icon-file data; false for anything malformed or of an unsupported kind.
bool ReadIconData(const std::string& bytes, TIconImage& icon);
// The icon format's number on the clipboard.
unsigned IconClipboardFormat();
bool ClipboardHasIcon();
// The clipboard's icon, stretched to the system icon size, its transparent part in
// TBitmap's transparent colour; false (icon unchanged) when there is none or it is malformed.
bool IconFromClipboard(TBitmap& icon);
