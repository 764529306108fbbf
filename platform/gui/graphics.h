// Drawing: fonts, pens, brushes, the canvas (over QPainter) and bitmaps (over QImage).
// Texts are in the system code page; colours are TColor values.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gui/properties.h"

class QPainter;
class QPaintDevice;
class QImage;

// Font styles as a bit mask.
using TFontStyles = unsigned;
inline constexpr TFontStyles fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
inline constexpr int DEFAULT_CHARSET = 1, ANSI_CHARSET = 0, RUSSIAN_CHARSET = 204, SYMBOL_CHARSET = 2;

// Screen resolution the layer measures fonts in.
inline constexpr int ScreenPixelsPerInch = 96;

// A font description. Size is in points; Height in pixels (negative: character height).
class TFont : public TPersistent {
  QM_CLASS(TFont, TPersistent)
public:
  TFont();
  void Assign(const TFont& other);
  const std::string& Name() const { return name_; }
  void SetName(const std::string& name);
  int Size() const { return size_; }
  void SetSize(int points);
  int Height() const;
  void SetHeight(int pixels);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles style);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  int Charset() const { return charset_; }
  void SetCharset(int charset);
  TFontPitch Pitch() const { return pitch_; }
  void SetPitch(TFontPitch pitch);
  bool operator==(const TFont& o) const;
  // Fired after any change.
  TNotifyEvent OnChange;

private:
  void Changed();
  std::string name_ = "MS Sans Serif";
  int size_ = 8;
  TFontStyles style_ = 0;
  TColor color_ = clWindowText;
  int charset_ = DEFAULT_CHARSET;
  TFontPitch pitch_ = fpDefault;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode { pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
                pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor };

class TPen : public TPersistent {
  QM_CLASS(TPen, TPersistent)
public:
  void Assign(const TPen& o) { color_ = o.color_; width_ = o.width_; style_ = o.style_; mode_ = o.mode_; }
  TColor Color() const { return color_; }
  void SetColor(TColor c) { color_ = c; }
  int Width() const { return width_; }
  void SetWidth(int w) { width_ = w < 1 ? 1 : w; }
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle s) { style_ = s; }
  TPenMode Mode() const { return mode_; }
  void SetMode(TPenMode m) { mode_ = m; }

private:
  TColor color_ = clBlack;
  int width_ = 1;
  TPenStyle style_ = psSolid;
  TPenMode mode_ = pmCopy;
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBrush : public TPersistent {
  QM_CLASS(TBrush, TPersistent)
public:
  void Assign(const TBrush& o) { color_ = o.color_; style_ = o.style_; }
  TColor Color() const { return color_; }
  void SetColor(TColor c) { color_ = c; if (style_ == bsClear) style_ = bsSolid; }
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle s) { style_ = s; }

private:
  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
};

class TBitmap;

// Text drawing flags of DrawText.
inline constexpr unsigned DT_LEFT = 0, DT_CENTER = 1, DT_RIGHT = 2, DT_VCENTER = 4, DT_BOTTOM = 8,
    DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_NOPREFIX = 0x800, DT_CALCRECT = 0x400,
    DT_END_ELLIPSIS = 0x8000;

// A drawing surface: a control while it paints, or a bitmap.
class TCanvas {
public:
  TCanvas();
  ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  TPen* Pen() { return &pen_; }
  TBrush* Brush() { return &brush_; }
  TFont* Font() { return &font_; }
  TPoint PenPos() const { return penPos_; }
  void SetPenPos(TPoint p) { penPos_ = p; }

  void MoveTo(int x, int y) { penPos_ = {x, y}; }
  // A line from the pen position up to (not including) (x, y); the pen moves there.
  void LineTo(int x, int y);
  // Outline with the pen, inside with the brush; the right and bottom edges are excluded.
  void Rectangle(int x1, int y1, int x2, int y2);
  void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
  void RoundRect(int x1, int y1, int x2, int y2, int w, int h);
  void Ellipse(int x1, int y1, int x2, int y2);
  void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
  void Polygon(const std::vector<TPoint>& points);
  void Polyline(const std::vector<TPoint>& points);
  // Fills with the brush (no outline).
  void FillRect(const TRect& r);
  // A one-pixel frame in the brush colour.
  void FrameRect(const TRect& r);
  // The dotted focus rectangle (drawn by inverting, so a second call removes it).
  void DrawFocusRect(const TRect& r);
  // Text at (x, y), its cell filled with the brush unless the brush is clear.
  void TextOut(int x, int y, const std::string& text);
  // Text clipped to `r`.
  void TextRect(const TRect& r, int x, int y, const std::string& text);
  // Text laid out in `r` by DT_ flags; with DT_CALCRECT only measures (r is updated).
  int DrawText(const std::string& text, TRect& r, unsigned flags);
  // The same for UTF-16 text (characters the system code page lacks).
  int DrawTextW(const std::u16string& text, TRect& r, unsigned flags);
  int TextWidth(const std::string& text);
  int TextHeight(const std::string& text);
  TPoint TextExtent(const std::string& text) { return {TextWidth(text), TextHeight(text)}; }
  void Draw(int x, int y, const TBitmap& bitmap);
  void StretchDraw(const TRect& r, const TBitmap& bitmap);
  // Copies `source` of another canvas (bitmap canvases only as the source).
  void CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect);
  // Pixel access; reading needs a bitmap canvas (a window canvas answers clNone).
  TColor Pixel(int x, int y);
  void SetPixel(int x, int y, TColor color);
  TRect ClipRect() const;

  // For the layer: the painter in use, made on demand for bitmap canvases.
  QPainter* Painter();
  // Starts drawing on a device with a painter owned elsewhere (a widget's paint event).
  void Attach(QPainter* painter, TRect clip);
  void Detach();
  // Starts drawing on a bitmap's image (painter made on first use and ended by Release).
  void AttachImage(QImage* image);
  // Ends the bitmap painter so the image can be read or resized.
  void Release();

private:
  void ApplyPen(bool withBrush);
  TPen pen_;
  TBrush brush_;
  TFont font_;
  TPoint penPos_;
  QPainter* painter_ = nullptr;
  std::unique_ptr<QPainter> ownPainter_;
  QImage* image_ = nullptr;
  TRect clip_;
};

// Draws a 3-D frame of `width` inside `r` (top and left in `topColor`), shrinking `r` by it.
void Frame3D(TCanvas& canvas, TRect& r, TColor topColor, TColor bottomColor, int width);

// A picture in memory (32-bit), drawn on through Canvas.
class TBitmap : public TPersistent {
  QM_CLASS(TBitmap, TPersistent)
public:
  TBitmap();
  TBitmap(int width, int height);
  ~TBitmap() override;
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;
  void Assign(const TBitmap& other);

  int Width() const;
  int Height() const;
  void SetWidth(int w) { SetSize(w, Height()); }
  void SetHeight(int h) { SetSize(Width(), h); }
  void SetSize(int w, int h);
  bool Empty() const;
  TCanvas* Canvas();
  // Loads BMP, PNG or any format Qt reads; EFOpenError / EReadError on failure.
  void LoadFromFile(const std::string& fileName);
  // Saves as PNG when the name ends in ".png", else as BMP; EFCreateError on failure.
  void SaveToFile(const std::string& fileName);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v) { transparent_ = v; }
  // The colour drawn as transparent: clDefault means the bottom-left pixel's colour.
  TColor TransparentColor() const;
  void SetTransparentColor(TColor c) { transparentColor_ = c; }

  // For the layer: the image, with any painter on it ended.
  QImage& Image();
  const QImage& Image() const;

private:
  std::unique_ptr<QImage> image_;
  std::unique_ptr<TCanvas> canvas_;
  bool transparent_ = false;
  TColor transparentColor_ = clDefault;
};
