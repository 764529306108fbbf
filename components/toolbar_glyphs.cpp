#include "components/toolbar_glyphs.h"

#include <functional>
#include <map>

#include "platform/gui/graphics.h"

namespace {

constexpr TColor kInk = 0x202020, kPaper = 0xFFFFFF, kBlue = 0xC05020, kRed = 0x2020C0, kGreen = 0x20A020,
                 kYellow = 0x40D0F0, kGrey = 0x808080;

struct Pen {
  TCanvas& c;
  void Color(TColor col) { c.Pen()->SetColor(col); }
  void Line(int x1, int y1, int x2, int y2, TColor col) {
    Color(col);
    c.MoveTo(x1, y1);
    c.LineTo(x2, y2);
    c.SetPixel(x2, y2, col);
  }
  void Box(int l, int t, int r, int b, TColor fill, TColor outline) {
    c.Brush()->SetColor(fill);
    c.Pen()->SetColor(outline);
    c.Rectangle(l, t, r, b);
  }
  void Fill(int l, int t, int r, int b, TColor col) {
    c.Brush()->SetColor(col);
    c.FillRect(Rect(l, t, r, b));
  }
  void Text(const std::string& s, int size, bool bold, bool italic, bool underline, TColor col, int x = 0, int y = 0,
            int w = 16, int h = 16) {
    c.Font()->SetName("Serif");
    c.Font()->SetSize(size);
    c.Font()->SetStyle((bold ? fsBold : 0) | (italic ? fsItalic : 0) | (underline ? fsUnderline : 0));
    c.Font()->SetColor(col);
    c.Brush()->SetStyle(bsClear);
    TRect r = Bounds(x, y, w, h);
    c.DrawText(s, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    c.Brush()->SetStyle(bsSolid);
  }
  void Page(int l = 3, int t = 1, int r = 13, int b = 15) {
    Box(l, t, r, b, kPaper, kInk);
  }
  void Lines(int l, int t, int r, int step, int count, TColor col, std::function<int(int)> width = nullptr) {
    for (int i = 0; i < count; ++i) {
      const int w = width ? width(i) : r - l;
      Line(l, t + i * step, l + w - 1, t + i * step, col);
    }
  }
  void ArrowRight(int x, int y, TColor col) {
    Line(x, y, x + 6, y, col);
    Line(x + 4, y - 2, x + 6, y, col);
    Line(x + 4, y + 2, x + 6, y, col);
  }
  void ArrowLeft(int x, int y, TColor col) {
    Line(x, y, x + 6, y, col);
    Line(x, y, x + 2, y - 2, col);
    Line(x, y, x + 2, y + 2, col);
  }
};

using Draw = std::function<void(Pen&)>;

void Align(Pen& p, int kind) {  // 0 left, 1 centre, 2 right, 3 justify
  for (int i = 0; i < 6; ++i) {
    const int w = kind == 3 || i % 2 == 0 ? 13 : 8;
    const int x = kind == 0 || kind == 3 ? 1 : kind == 1 ? 1 + (13 - w) / 2 : 14 - w;
    p.Line(x, 2 + i * 2, x + w - 1, 2 + i * 2, kInk);
  }
}

const std::vector<std::pair<std::string, Draw>>& Table() {
  static const std::vector<std::pair<std::string, Draw>> table = {
      {"FileNew", [](Pen& p) { p.Page(); p.Line(10, 1, 12, 3, kInk); }},
      {"FileOpen", [](Pen& p) { p.Box(1, 4, 14, 14, kYellow, kInk); p.Box(1, 2, 6, 5, kYellow, kInk); }},
      {"FileSave", [](Pen& p) { p.Box(1, 1, 15, 15, kBlue, kInk); p.Fill(4, 2, 12, 7, kPaper); p.Fill(5, 10, 11, 15, kGrey); }},
      {"FileSettings", [](Pen& p) { p.Box(2, 2, 14, 14, kGrey, kInk); p.Box(5, 5, 11, 11, kPaper, kInk); }},
      {"FilePrintPreview", [](Pen& p) { p.Page(); p.Box(6, 6, 12, 12, kPaper, kBlue); p.Line(11, 11, 14, 14, kBlue); }},
      {"FilePrint", [](Pen& p) { p.Box(4, 1, 12, 6, kPaper, kInk); p.Box(1, 6, 15, 12, kGrey, kInk); p.Box(4, 10, 12, 15, kPaper, kInk); }},
      {"EditUndo", [](Pen& p) { p.ArrowLeft(2, 6, kBlue); p.Line(8, 6, 12, 8, kBlue); p.Line(12, 8, 12, 12, kBlue); }},
      {"EditRedo", [](Pen& p) { p.ArrowRight(7, 6, kBlue); p.Line(7, 6, 3, 8, kBlue); p.Line(3, 8, 3, 12, kBlue); }},
      {"EditCut", [](Pen& p) { p.Line(4, 1, 10, 10, kInk); p.Line(11, 1, 5, 10, kInk); p.Box(2, 10, 6, 14, kPaper, kRed); p.Box(9, 10, 13, 14, kPaper, kRed); }},
      {"EditCopy", [](Pen& p) { p.Page(1, 1, 10, 12); p.Page(6, 4, 15, 15); }},
      {"EditPaste", [](Pen& p) { p.Box(2, 2, 13, 15, kYellow, kInk); p.Box(5, 1, 10, 4, kGrey, kInk); p.Page(7, 6, 15, 15); }},
      {"ConvTransliterate", [](Pen& p) { p.Text("A", 8, true, false, false, kInk, 0, 0, 8, 10); p.Text("\xDF", 8, true, false, false, kBlue, 8, 6, 8, 10); }},
      {"ConvDeTransliterate", [](Pen& p) { p.Text("\xDF", 8, true, false, false, kInk, 0, 0, 8, 10); p.Text("A", 8, true, false, false, kBlue, 8, 6, 8, 10); }},
      {"ConvBack", [](Pen& p) { p.ArrowLeft(4, 8, kInk); p.ArrowLeft(5, 8, kInk); }},
      {"ConvForward", [](Pen& p) { p.ArrowRight(5, 8, kInk); p.ArrowRight(4, 8, kInk); }},
      {"ToolsAutoConvert", [](Pen& p) { p.Text("?\xC6", 7, true, false, false, kRed); }},
      {"ConvCodeToChar", [](Pen& p) { p.Text("#", 9, true, false, false, kBlue, 0, 0, 8); p.Text("\xC6", 8, true, false, false, kInk, 7, 0, 9); }},
      {"ToolsCalc", [](Pen& p) { p.Box(2, 1, 14, 15, kGrey, kInk); p.Fill(4, 3, 12, 6, kGreen); for (int i = 0; i < 3; ++i) for (int j = 0; j < 3; ++j) p.Fill(4 + i * 3, 8 + j * 2, 6 + i * 3, 9 + j * 2, kPaper); }},
      {"ToolsCharMap", [](Pen& p) { p.Box(1, 1, 15, 15, kPaper, kInk); p.Line(5, 1, 5, 14, kGrey); p.Line(10, 1, 10, 14, kGrey); p.Line(1, 5, 14, 5, kGrey); p.Line(1, 10, 14, 10, kGrey); p.Fill(6, 6, 10, 10, kBlue); }},
      {"ConvGrammarCheck", [](Pen& p) { p.Text("ab", 7, true, false, false, kInk, 0, 0, 16, 9); p.Line(3, 12, 6, 14, kGreen); p.Line(6, 14, 12, 8, kGreen); }},
      {"TextReformat", [](Pen& p) { p.Lines(1, 3, 14, 3, 4, kInk); p.ArrowRight(8, 13, kBlue); }},
      {"ConvOCRFix", [](Pen& p) { p.Page(); p.Text("Oc", 6, true, false, false, kRed, 3, 2, 10, 12); }},
      {"ToolsSort", [](Pen& p) { p.Text("A", 6, true, false, false, kInk, 0, 0, 8, 8); p.Text("Z", 6, true, false, false, kInk, 0, 8, 8, 8); p.Line(11, 2, 11, 13, kBlue); p.Line(9, 11, 11, 13, kBlue); p.Line(13, 11, 11, 13, kBlue); }},
      {"Bold", [](Pen& p) { p.Text("B", 10, true, false, false, kInk); }},
      {"Italic", [](Pen& p) { p.Text("I", 10, false, true, false, kInk); }},
      {"Underline", [](Pen& p) { p.Text("U", 9, false, false, false, kInk, 0, 0, 16, 13); p.Line(3, 14, 12, 14, kInk); }},
      {"UnderlineStyle", [](Pen& p) { p.Line(1, 4, 14, 4, kInk); p.Line(1, 8, 14, 8, kInk); p.Line(1, 9, 14, 9, kInk); for (int x = 1; x < 15; x += 2) p.c.SetPixel(x, 13, kInk); }},
      {"Subscript", [](Pen& p) { p.Text("x", 9, false, false, false, kInk, 0, 0, 10, 12); p.Text("2", 6, false, false, false, kBlue, 9, 7, 7, 9); }},
      {"Superscript", [](Pen& p) { p.Text("x", 9, false, false, false, kInk, 0, 4, 10, 12); p.Text("2", 6, false, false, false, kBlue, 9, 0, 7, 9); }},
      {"TextColor", [](Pen& p) { p.Text("A", 9, true, false, false, kInk, 0, 0, 16, 12); p.Fill(1, 12, 15, 15, kRed); }},
      {"BackColor", [](Pen& p) { p.Line(4, 10, 10, 2, kInk); p.Line(5, 10, 11, 2, kInk); p.Fill(1, 12, 15, 15, kYellow); }},
      {"LineSpacing", [](Pen& p) { p.Lines(6, 3, 15, 4, 3, kInk); p.Line(2, 1, 2, 13, kBlue); p.Line(1, 2, 3, 2, kBlue); p.Line(1, 12, 3, 12, kBlue); }},
      {"AlignLeft", [](Pen& p) { Align(p, 0); }},
      {"AlignCenter", [](Pen& p) { Align(p, 1); }},
      {"AlignRight", [](Pen& p) { Align(p, 2); }},
      {"AlignJustify", [](Pen& p) { Align(p, 3); }},
      {"NumberingStyle", [](Pen& p) { p.Text("1", 5, false, false, false, kBlue, 0, 0, 5, 8); p.Text("a", 5, false, false, false, kBlue, 0, 7, 5, 8); p.Lines(6, 4, 15, 6, 2, kInk); p.Line(12, 13, 14, 13, kInk); }},
      {"Numbering", [](Pen& p) { p.Text("1", 5, false, false, false, kBlue, 0, 0, 5, 6); p.Text("2", 5, false, false, false, kBlue, 0, 5, 5, 6); p.Text("3", 5, false, false, false, kBlue, 0, 10, 5, 6); p.Lines(6, 3, 15, 5, 3, kInk); }},
      {"Bullets", [](Pen& p) { for (int i = 0; i < 3; ++i) { p.Fill(1, 2 + i * 5, 4, 5 + i * 5, kBlue); p.Line(6, 3 + i * 5, 14, 3 + i * 5, kInk); } }},
      {"DecreaseIndent", [](Pen& p) { p.Lines(1, 2, 15, 3, 5, kInk, [](int i) { return i == 0 || i == 4 ? 14 : 8; }); p.ArrowLeft(9, 8, kBlue); }},
      {"IncreaseIndent", [](Pen& p) { p.Lines(1, 2, 15, 3, 5, kInk, [](int i) { return i == 0 || i == 4 ? 14 : 8; }); p.ArrowRight(9, 8, kBlue); }},
      {"ToolsVerifyLang", [](Pen& p) { p.Box(1, 1, 15, 15, kPaper, kBlue); p.Text("?", 9, true, false, false, kBlue); }},
      {"ConvSendToHistory", [](Pen& p) { p.Page(); p.Line(8, 4, 8, 12, kGreen); p.Line(5, 9, 8, 12, kGreen); p.Line(11, 9, 8, 12, kGreen); }},
      {"ConvLoadRev", [](Pen& p) { p.Page(); p.Line(8, 4, 8, 12, kBlue); p.Line(5, 7, 8, 4, kBlue); p.Line(11, 7, 8, 4, kBlue); }},
      {"ConvSaveRev", [](Pen& p) { p.Box(1, 1, 15, 15, kGreen, kInk); p.Fill(4, 2, 12, 7, kPaper); p.Fill(5, 10, 11, 15, kGrey); }},
  };
  return table;
}

}  // namespace

const std::vector<std::string>& ToolbarGlyphNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> out;
    for (const auto& [name, draw] : Table()) out.push_back(name);
    return out;
  }();
  return names;
}

bool DrawToolbarGlyph(const std::string& name, TBitmap& bitmap) {
  for (const auto& [n, draw] : Table()) {
    if (n != name) continue;
    bitmap.SetSize(16, 16);
    TCanvas& c = *bitmap.Canvas();
    c.Brush()->SetColor(clFuchsia);
    c.FillRect(Rect(0, 0, 16, 16));
    Pen pen{c};
    draw(pen);
    return true;
  }
  return false;
}
