#include "platform/rtf_writer.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "platform/code_pages.h"
#include "platform/exceptions.h"

namespace {

constexpr std::size_t kProgressParagraphs = 1024;
constexpr std::size_t kMaxTabStops = 32;
constexpr char kHexDigits[] = "0123456789abcdef";

using FontKey = std::tuple<std::u16string, int, int>;  // face name, character set, pitch/family

// The byte of each character in a single-byte code page, for the fallbacks after \u.
class FallbackTable {
public:
  explicit FallbackTable(unsigned codePage) {
    if (!IsCodePageSupported(codePage)) return;
    for (int b = 0x80; b < 0x100; ++b) {
      try {
        std::u16string wide = AnsiToWide(std::string(1, static_cast<char>(b)), codePage);
        if (wide.size() == 1) bytes_.emplace(wide[0], static_cast<unsigned char>(b));
      } catch (const EConvertError&) {
        return;
      }
    }
  }
  // The byte for `ch`, or -1.
  int Find(char16_t ch) const {
    auto it = bytes_.find(ch);
    return it == bytes_.end() ? -1 : it->second;
  }

private:
  std::unordered_map<char16_t, unsigned char> bytes_;
};

int RoundDiv(long long value, int divisor) {
  long long q = value >= 0 ? (value + divisor / 2) / divisor : -((-value + divisor / 2) / divisor);
  return static_cast<int>(std::clamp<long long>(q, -2000000000LL, 2000000000LL));
}

class RtfWriter {
public:
  RtfWriter(const TRichDocument& doc, const TRtfWriteOptions& options)
      : doc_(doc), options_(options),
        codePage_(options.CodePage ? options.CodePage : doc.CodePage) {
    if (codePage_ == CP_ACP) codePage_ = SystemCodePage();
  }

  std::string Write();

private:
  const TRichDocument& doc_;
  const TRtfWriteOptions& options_;
  unsigned codePage_;
  std::string out_;
  std::map<FontKey, int> fontIndex_;
  std::vector<const FontKey*> fonts_;
  std::unordered_map<std::uint32_t, int> colorIndex_;
  std::vector<std::uint32_t> colors_;
  std::map<unsigned, FallbackTable> fallbacks_;
  std::optional<TCharFormat> current_;  // the format in effect, when one was written

  void CollectTables();
  void AddFont(const TCharFormat& format);
  void AddColor(std::uint32_t color);
  int FontOf(const TCharFormat& format) const;
  unsigned FontCodePage(const TCharFormat& format) const {
    return CharsetCodePage(format.Charset, codePage_);
  }
  const FallbackTable& Fallback(unsigned codePage);

  void Word(std::string_view word) { out_ += word; }
  void Word(std::string_view word, long long value) {
    out_ += word;
    out_ += std::to_string(value);
  }
  void Text(std::u16string_view text, unsigned codePage);
  void Bytes(std::string_view bytes);
  void Hex(std::string_view bytes);
  void Header();
  void ParagraphFormat(const TParaFormat& format);
  void Numbering(const TParaFormat& format);
  void CharFormat(const TCharFormat& format);
  void EnsureFormat(const TCharFormat& format);
  void Runs(const std::vector<TRichRun>& runs, std::size_t begin, std::size_t end);
  void Hyperlink(const std::vector<TRichRun>& runs, std::size_t begin, std::size_t end);
  void Object(const TRichObject& object);
  void Picture(const TRichPicture& picture);
};

void RtfWriter::AddFont(const TCharFormat& format) {
  FontKey key{format.FaceName, format.Charset, format.PitchAndFamily};
  auto [it, added] = fontIndex_.emplace(std::move(key), static_cast<int>(fonts_.size()));
  if (added) fonts_.push_back(&it->first);
}

void RtfWriter::AddColor(std::uint32_t color) {
  if (color == RichAutoColor) return;
  color &= 0xFFFFFF;
  if (colorIndex_.emplace(color, static_cast<int>(colors_.size()) + 1).second)
    colors_.push_back(color);
}

int RtfWriter::FontOf(const TCharFormat& format) const {
  return fontIndex_.at(FontKey{format.FaceName, format.Charset, format.PitchAndFamily});
}

void RtfWriter::CollectTables() {
  auto add = [&](const TCharFormat& format) {
    AddFont(format);
    AddColor(format.Color);
    AddColor(format.BackColor);
  };
  for (const TRichParagraph& paragraph : doc_.Paragraphs) {
    for (const TRichRun& run : paragraph.Runs) add(run.Format);
    add(paragraph.MarkFormat);
  }
  if (fonts_.empty()) AddFont(TCharFormat());
}

const FallbackTable& RtfWriter::Fallback(unsigned codePage) {
  auto it = fallbacks_.find(codePage);
  if (it == fallbacks_.end()) it = fallbacks_.emplace(codePage, FallbackTable(codePage)).first;
  return it->second;
}

void RtfWriter::Text(std::u16string_view text, unsigned codePage) {
  const FallbackTable* fallback = nullptr;
  for (char16_t ch : text) {
    if (ch >= 0x20 && ch < 0x80) {
      if (ch == u'\\' || ch == u'{' || ch == u'}') out_ += '\\';
      out_ += static_cast<char>(ch);
      continue;
    }
    if (ch == u'\t') {
      out_ += "\\tab ";
      continue;
    }
    if (ch == RichLineBreak) {
      out_ += "\\line ";
      continue;
    }
    if (ch < 0x20) {
      // Other control characters are kept as bytes; CR and LF never stand inside a run.
      if (ch == u'\r' || ch == u'\n') continue;
      out_ += "\\'";
      out_ += kHexDigits[ch >> 4];
      out_ += kHexDigits[ch & 15];
      continue;
    }
    out_ += "\\u";
    out_ += std::to_string(static_cast<std::int16_t>(ch));
    if (!fallback) fallback = &Fallback(codePage);
    int byte = fallback->Find(ch);
    if (byte < 0) {
      out_ += '?';
    } else {
      out_ += "\\'";
      out_ += kHexDigits[byte >> 4];
      out_ += kHexDigits[byte & 15];
    }
  }
}

// 8-bit text kept as bytes (an object's class name).
void RtfWriter::Bytes(std::string_view bytes) {
  for (unsigned char b : bytes) {
    if (b >= 0x20 && b < 0x80 && b != '\\' && b != '{' && b != '}' && b != ';') {
      out_ += static_cast<char>(b);
    } else {
      out_ += "\\'";
      out_ += kHexDigits[b >> 4];
      out_ += kHexDigits[b & 15];
    }
  }
}

void RtfWriter::Hex(std::string_view bytes) {
  out_.reserve(out_.size() + bytes.size() * 2 + bytes.size() / 64 * 2 + 2);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i % 64 == 0) out_ += "\r\n";
    unsigned char b = static_cast<unsigned char>(bytes[i]);
    out_ += kHexDigits[b >> 4];
    out_ += kHexDigits[b & 15];
  }
}

void RtfWriter::Header() {
  Word("{\\rtf1\\ansi\\ansicpg", codePage_);
  Word("\\deff0");
  if (!options_.Plain && doc_.DefaultLcid) Word("\\deflang", doc_.DefaultLcid);
  if (doc_.DefaultTabWidth != 720) Word("\\deftab", doc_.DefaultTabWidth);
  Word("{\\fonttbl");
  for (std::size_t i = 0; i < fonts_.size(); ++i) {
    const auto& [name, charset, pitchAndFamily] = *fonts_[i];
    Word("{\\f", static_cast<long long>(i));
    static constexpr std::string_view kFamilies[] = {"\\fnil", "\\froman", "\\fswiss",
                                                     "\\fmodern", "\\fscript", "\\fdecor"};
    int family = (pitchAndFamily >> 4) & 15;
    Word(family < 6 ? kFamilies[family] : kFamilies[0]);
    if (pitchAndFamily & 3) Word("\\fprq", pitchAndFamily & 3);
    Word("\\fcharset", std::clamp(charset, 0, 255));
    out_ += ' ';
    // A name is written like text, with its ';' escaped so that it cannot end the entry.
    unsigned codePage = CharsetCodePage(charset, codePage_);
    std::size_t start = 0;
    for (std::size_t semicolon; (semicolon = name.find(u';', start)) != std::u16string::npos;
         start = semicolon + 1) {
      Text(std::u16string_view(name).substr(start, semicolon - start), codePage);
      out_ += "\\'3b";
    }
    Text(std::u16string_view(name).substr(start), codePage);
    out_ += ";}";
  }
  out_ += "}\r\n{\\colortbl ;";
  for (std::uint32_t color : colors_) {
    Word("\\red", color & 0xFF);
    Word("\\green", (color >> 8) & 0xFF);
    Word("\\blue", (color >> 16) & 0xFF);
    out_ += ';';
  }
  out_ += "}\r\n\\viewkind4\\uc1\r\n";
}

void RtfWriter::ParagraphFormat(const TParaFormat& format) {
  Word("\\pard");
  if (format.Numbering != nkNone && format.Numbering <= nkCharSequence) Numbering(format);
  // The alignment always comes after the numbering group, so that the format ends with a
  // control word and the blank after it is a delimiter, not text.
  switch (format.Alignment) {
    case raRight: Word("\\qr"); break;
    case raCenter: Word("\\qc"); break;
    case raJustify: Word("\\qj"); break;
    default: Word("\\ql"); break;
  }
  if (format.LeftIndent) Word("\\li", format.LeftIndent);
  if (format.RightIndent) Word("\\ri", format.RightIndent);
  if (format.FirstIndent) Word("\\fi", format.FirstIndent);
  if (format.SpaceBefore) Word("\\sb", format.SpaceBefore);
  if (format.SpaceAfter) Word("\\sa", format.SpaceAfter);
  int sl;
  bool multiple;
  LineSpacingToRtf(format.LineSpacingRule, format.LineSpacing, sl, multiple);
  if (sl) {
    Word("\\sl", sl);
    Word("\\slmult", multiple ? 1 : 0);
  }
  std::size_t tabs = std::min(format.Tabs.size(), kMaxTabStops);
  for (std::size_t i = 0; i < tabs; ++i) {
    const TTabStop& tab = format.Tabs[i];
    static constexpr std::string_view kLeaders[] = {"", "\\tldot", "\\tlhyph", "\\tlul",
                                                    "\\tlth", "\\tleq"};
    if (tab.Leader < 6) Word(kLeaders[tab.Leader]);
    if (tab.Alignment == 4) {
      Word("\\tb", tab.Position);
      continue;
    }
    static constexpr std::string_view kAlignments[] = {"", "\\tqc", "\\tqr", "\\tqdec"};
    if (tab.Alignment < 4) Word(kAlignments[tab.Alignment]);
    Word("\\tx", tab.Position);
  }
  if (format.PageBreakBefore) Word("\\pagebb");
  out_ += ' ';
}

// Old-style paragraph numbering, which common word processors and the rich edit control read.
void RtfWriter::Numbering(const TParaFormat& format) {
  Word("{\\*\\pn");
  if (format.Numbering == nkBullet) {
    Word("\\pnlvlblt");
    if (format.NumberingTab) Word("\\pnindent", format.NumberingTab);
    if (format.NumberingStart) Word("\\pnstart", format.NumberingStart);
    Word("{\\pntxtb\\'b7}}");
    return;
  }
  Word("\\pnlvlbody");
  if (format.NumberingTab) Word("\\pnindent", format.NumberingTab);
  switch (format.Numbering) {
    case nkLowerLetter: Word("\\pnlcltr"); break;
    case nkUpperLetter: Word("\\pnucltr"); break;
    case nkLowerRoman: Word("\\pnlcrm"); break;
    case nkUpperRoman: Word("\\pnucrm"); break;
    case nkCharSequence: {
      // Other readers count Latin letters; ours starts from the given character.
      int first = format.NumberingStart;
      bool upper = (first >= 0x410 && first <= 0x42F) || (first >= 'A' && first <= 'Z');
      Word(upper ? "\\pnucltr" : "\\pnlcltr");
      Word("\\pnstart1\\pnqmchar", first);
      break;
    }
    default: Word("\\pndec"); break;
  }
  if (format.Numbering != nkCharSequence) Word("\\pnstart", format.NumberingStart);
  switch (format.NumberingStyle) {
    case nsParen: Word("{\\pntxta )}"); break;
    case nsPeriod: Word("{\\pntxta .}"); break;
    case nsParens: Word("{\\pntxtb (}{\\pntxta )}"); break;
    default: break;
  }
  out_ += '}';
}

void RtfWriter::CharFormat(const TCharFormat& format) {
  Word("\\plain\\f", FontOf(format));
  if (format.Size != 240) Word("\\fs", std::clamp(RoundDiv(format.Size, 10), 1, 32767));
  if (format.Color != RichAutoColor) Word("\\cf", colorIndex_.at(format.Color & 0xFFFFFF));
  if (format.BackColor != RichAutoColor)
    Word("\\highlight", colorIndex_.at(format.BackColor & 0xFFFFFF));
  if (format.Bold) Word("\\b");
  if (format.Italic) Word("\\i");
  static constexpr std::string_view kUnderlines[] = {
      "", "\\ul", "\\ulw", "\\uldb", "\\uld", "\\uldash", "\\uldashd", "\\uldashdd",
      "\\ulwave", "\\ulth", "\\ulhair", "\\ululdbwave", "\\ulhwave", "\\ulldash"};
  if (format.UnderlineType < std::size(kUnderlines)) Word(kUnderlines[format.UnderlineType]);
  if (format.StrikeOut) Word("\\strike");
  if (format.Protected) Word("\\protect");
  if (format.Hidden) Word("\\v");
  if (format.Shadow) Word("\\shad");
  if (format.Emboss) Word("\\embo");
  if (format.Imprint) Word("\\impr");
  if (format.Outline) Word("\\outl");
  if (format.SmallCaps) Word("\\scaps");
  if (format.AllCaps) Word("\\caps");
  if (format.SubscriptStyle == 1) Word("\\sub");
  if (format.SubscriptStyle == 2) Word("\\super");
  if (format.Offset > 0) Word("\\up", RoundDiv(format.Offset, 10));
  if (format.Offset < 0) Word("\\dn", -RoundDiv(format.Offset, 10));
  if (format.Spacing) Word("\\expndtw", format.Spacing);
  if (format.Kerning) Word("\\kerning", RoundDiv(format.Kerning, 10));
  if (format.Animation) Word("\\animtext", format.Animation);
  if (!options_.Plain && format.Lcid != doc_.DefaultLcid) Word("\\lang", format.Lcid);
  out_ += ' ';
}

void RtfWriter::EnsureFormat(const TCharFormat& format) {
  // Links are written as fields, not as character format.
  TCharFormat written = format;
  written.Link = false;
  written.LinkTarget.clear();
  if (current_ == written) return;
  CharFormat(written);
  current_ = std::move(written);
}

void RtfWriter::Picture(const TRichPicture& picture) {
  Word("{\\pict");
  switch (picture.Format) {
    case TPictureFormat::Png: Word("\\pngblip"); break;
    case TPictureFormat::Jpeg: Word("\\jpegblip"); break;
    case TPictureFormat::Emf: Word("\\emfblip"); break;
    case TPictureFormat::Wmf: Word("\\wmetafile", picture.MetafileMapMode); break;
    case TPictureFormat::Dib: Word("\\dibitmap0"); break;
    case TPictureFormat::Bitmap: Word("\\wbitmap0"); break;
  }
  Word("\\picw", picture.PictureWidth);
  Word("\\pich", picture.PictureHeight);
  Word("\\picwgoal", picture.GoalWidth);
  Word("\\pichgoal", picture.GoalHeight);
  if (picture.ScaleX != 100) Word("\\picscalex", picture.ScaleX);
  if (picture.ScaleY != 100) Word("\\picscaley", picture.ScaleY);
  Hex(picture.Bytes);
  out_ += "}";
}

void RtfWriter::Object(const TRichObject& object) {
  if (object.Kind == TRichObjectKind::Picture) {
    Picture(object.Picture);
    return;
  }
  if (!object.Rtf.empty()) {
    out_ += object.Rtf;
    return;
  }
  Word(object.Kind == TRichObjectKind::Link ? "{\\object\\objlink" : "{\\object\\objemb");
  Word("\\objw", object.Width);
  Word("\\objh", object.Height);
  Word("{\\*\\objclass ");
  Bytes(object.ClassName);
  Word("}{\\*\\objdata");
  Hex(object.ObjectData);
  out_ += '}';
  if (object.HasPicture) {
    Word("{\\result ");
    Picture(object.Picture);
    out_ += '}';
  }
  out_ += '}';
}

void RtfWriter::Runs(const std::vector<TRichRun>& runs, std::size_t begin, std::size_t end) {
  for (std::size_t i = begin; i < end; ++i) {
    const TRichRun& run = runs[i];
    EnsureFormat(run.Format);
    if (run.Object) {
      if (options_.NoObjects) {
        out_ += ' ';
      } else {
        Object(*run.Object);
      }
    } else {
      Text(run.Text, FontCodePage(run.Format));
    }
  }
}

// A stretch of link runs with one target is one HYPERLINK field; a link without a target of
// its own points at its text.
void RtfWriter::Hyperlink(const std::vector<TRichRun>& runs, std::size_t begin, std::size_t end) {
  std::u16string url = runs[begin].Format.LinkTarget;
  if (url.empty()) {
    for (std::size_t k = begin; k < end; ++k) url += runs[k].Text;
  }
  std::u16string escaped;
  for (char16_t ch : url) {
    if (ch == u'\\' || ch == u'"') escaped += u'\\';
    escaped += ch;
  }
  Word("{\\field{\\*\\fldinst{HYPERLINK \"");
  Text(escaped, codePage_);
  Word("\"}}{\\fldrslt{");
  // The field's group keeps its formats to itself.
  std::optional<TCharFormat> outside = std::move(current_);
  current_.reset();
  Runs(runs, begin, end);
  out_ += "}}}";
  current_ = std::move(outside);
}

std::string RtfWriter::Write() {
  CollectTables();
  Header();
  const std::size_t count = doc_.Paragraphs.size();
  for (std::size_t p = 0; p < count; ++p) {
    const TRichParagraph& paragraph = doc_.Paragraphs[p];
    ParagraphFormat(paragraph.Format);
    const std::vector<TRichRun>& runs = paragraph.Runs;
    for (std::size_t i = 0; i < runs.size();) {
      if (!runs[i].Format.Link) {
        Runs(runs, i, i + 1);
        ++i;
        continue;
      }
      std::size_t end = i + 1;
      while (end < runs.size() && runs[end].Format.Link &&
             runs[end].Format.LinkTarget == runs[i].Format.LinkTarget) ++end;
      Hyperlink(runs, i, end);
      i = end;
    }
    EnsureFormat(paragraph.MarkFormat);
    out_ += "\\par\r\n";
    if (options_.Progress && (p + 1) % kProgressParagraphs == 0) options_.Progress(p + 1, count);
  }
  out_ += "}\r\n";
  return std::move(out_);
}

}  // namespace

std::string WriteRtf(const TRichDocument& document, const TRtfWriteOptions& options) {
  return RtfWriter(document, options).Write();
}
