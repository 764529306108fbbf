#include "platform/rich_text.h"

#include <algorithm>
#include <climits>

TRichDocument::TRichDocument() : Paragraphs(1) {}

std::u16string TRichParagraph::Text() const {
  std::u16string text;
  for (const TRichRun& run : Runs) text += run.Text;
  return text;
}

std::u16string TRichDocument::PlainText() const {
  std::u16string text;
  for (std::size_t i = 0; i < Paragraphs.size(); ++i) {
    if (i > 0) text += RichParagraphEnd;
    for (const TRichRun& run : Paragraphs[i].Runs) text += run.Text;
  }
  return text;
}

void TRichParagraph::Normalize() {
  // In place: a paragraph whose runs are already apart allocates nothing.
  size_t kept = 0;
  for (size_t i = 0; i < Runs.size(); ++i) {
    TRichRun& run = Runs[i];
    if (run.Text.empty() && !run.Object) continue;
    if (kept > 0) {
      TRichRun& last = Runs[kept - 1];
      if (!run.Object && !last.Object && last.Format == run.Format) {
        last.Text += run.Text;
        continue;
      }
    }
    if (kept != i) Runs[kept] = std::move(run);
    ++kept;
  }
  Runs.erase(Runs.begin() + std::ptrdiff_t(kept), Runs.end());
}

void TRichDocument::Normalize() {
  if (Paragraphs.empty()) Paragraphs.emplace_back();
  for (TRichParagraph& paragraph : Paragraphs) paragraph.Normalize();
}

unsigned CharsetCodePage(int charset, unsigned documentCodePage) {
  switch (charset) {
    case 0: return 1252;
    case 2: return 1252;   // symbol fonts: the bytes are the glyph numbers
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 130: return 1361;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 255: return 437;
    default: return documentCodePage;
  }
}

namespace {

int Magnitude(int value) { return value == INT_MIN ? INT_MAX : value < 0 ? -value : value; }

}  // namespace

void LineSpacingToRtf(TRichLineSpacingRule rule, int value, int& sl, bool& multiple) {
  switch (rule) {
    case lsOneAndHalf: sl = 360; multiple = true; return;
    case lsDouble: sl = 480; multiple = true; return;
    case lsAtLeast: sl = Magnitude(value); multiple = false; return;
    case lsExactly: sl = -Magnitude(value); multiple = false; return;
    case lsMultiple: sl = std::clamp(value, 0, INT_MAX / 12) * 12; multiple = true; return;
    case lsSingle: break;
  }
  sl = 0;
  multiple = false;
}

void LineSpacingFromRtf(int sl, bool multiple, TRichLineSpacingRule& rule, int& value) {
  value = 0;
  if (sl == 0) {
    rule = lsSingle;
  } else if (multiple && sl > 0) {
    int lines = std::max(sl / 12, 1);  // twentieths of a line
    if (lines == 30) {
      rule = lsOneAndHalf;
    } else if (lines == 40) {
      rule = lsDouble;
    } else {
      rule = lsMultiple;
      value = lines;
    }
  } else if (sl > 0) {
    rule = lsAtLeast;
    value = sl;
  } else {
    rule = lsExactly;
    value = sl == INT_MIN ? INT_MAX : -sl;
  }
}
