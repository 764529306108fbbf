// Reading a glyph's outline with FreeType: the font file comes from fontconfig, the outline's
// points and tags become contours of lines and quadratic splines.
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include "tools/glyph_outline.h"

namespace {

// The file of the font that fontconfig matches for a family name; empty when none.
std::string FontFile(const std::string& family) {
  std::string file;
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family.c_str()));
  if (!pattern) return file;
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  if (FcPattern* match = FcFontMatch(nullptr, pattern, &result)) {
    FcChar8* path = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path) file = reinterpret_cast<char*>(path);
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  return file;
}

// One contour of FreeType points as line and spline records, starting at an on-curve point.
std::optional<TOutlineContour> Contour(const FT_Outline& outline, int first, int last) {
  const int n = last - first + 1;
  int start = -1;
  for (int i = 0; i < n && start < 0; ++i)
    if (FT_CURVE_TAG(outline.tags[first + i]) == FT_CURVE_TAG_ON) start = i;
  if (start < 0) return std::nullopt;
  const auto point = [&](int i) {
    const FT_Vector& v = outline.points[first + (start + i) % n];
    return TOutlinePoint{v.x / 64.0, v.y / 64.0};
  };
  const auto tag = [&](int i) { return FT_CURVE_TAG(outline.tags[first + (start + i) % n]); };
  TOutlineContour contour;
  contour.Start = point(0);
  std::vector<TOutlinePoint> pending;
  TOutlineCurve::TKind pendingKind = TOutlineCurve::QSpline;
  for (int i = 1; i <= n; ++i) {
    const TOutlinePoint p = point(i);
    if (tag(i) != FT_CURVE_TAG_ON) {
      pendingKind = tag(i) == FT_CURVE_TAG_CUBIC ? TOutlineCurve::Other : TOutlineCurve::QSpline;
      pending.push_back(p);
      continue;
    }
    if (!pending.empty()) {
      pending.push_back(p);
      contour.Curves.push_back({pendingKind, std::move(pending)});
      pending.clear();
    } else if (!contour.Curves.empty() && contour.Curves.back().Kind == TOutlineCurve::Line) {
      contour.Curves.back().Points.push_back(p);
    } else {
      contour.Curves.push_back({TOutlineCurve::Line, {p}});
    }
  }
  return contour;
}

}  // namespace

std::unique_ptr<TStrokeCollection> TTTFToVectorConverter::Convert(char32_t ch) const {
  const std::string file = FontFile(fontName_);
  if (file.empty()) return nullptr;
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library)) return nullptr;
  std::unique_ptr<TStrokeCollection> strokes;
  FT_Face face = nullptr;
  if (!FT_New_Face(library, file.c_str(), 0, &face)) {
    // The outline at 1024 points, as the glyph's design is measured.
    if (!FT_Set_Char_Size(face, 0, 1024 * 64, 72, 72) && FT_Get_Char_Index(face, ch) != 0 &&
        !FT_Load_Char(face, ch, FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING) &&
        face->glyph->format == FT_GLYPH_FORMAT_OUTLINE) {
      const FT_Outline& outline = face->glyph->outline;
      std::vector<TOutlineContour> contours;
      int first = 0;
      for (int c = 0; c < outline.n_contours; ++c) {
        if (auto contour = Contour(outline, first, outline.contours[c])) contours.push_back(std::move(*contour));
        first = outline.contours[c] + 1;
      }
      if (!contours.empty()) strokes = OutlineToStrokes(contours, precision_);
    }
    FT_Done_Face(face);
  }
  FT_Done_FreeType(library);
  return strokes;
}
