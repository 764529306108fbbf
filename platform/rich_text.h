// The rich text document model: what the rich edit control holds, independent of any GUI.
// A document is a list of paragraphs; a paragraph is a paragraph format, its runs of
// equally formatted text and the format of its end mark. Paragraph ends are implicit between
// paragraphs (the control counts each as one '\r'); a soft line break is U+000B inside a run;
// an embedded picture or object is a run whose text is U+FFFC and which carries the object.
// Sizes and distances are twips (1/20 point); colours are 0x00BBGGRR or RichAutoColor.
//
// RTF (rtf_writer.h, rtf_reader.h) keeps every value exactly, within these bounds: font sizes,
// offsets and kerning in multiples of 10 twips (RTF counts half points), face names without
// surrounding blanks, families 0x00 to 0x50, at most 32 tab stops, no control characters in
// runs but tab and RichLineBreak, LinkTarget only on link text, Link and LinkTarget not on
// paragraph marks, and numbering fields only on numbered paragraphs (see TParaFormat). RTF knows
// only bold or not: a Weight of its own is not kept.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/locale.h"

// A colour value meaning "the automatic colour" (window text, window background).
inline constexpr std::uint32_t RichAutoColor = 0xFF000000u;

inline constexpr char16_t RichObjectChar = u'\uFFFC';  // the place of an object in the text
inline constexpr char16_t RichLineBreak = u'\v';       // a soft line break inside a paragraph
inline constexpr char16_t RichParagraphEnd = u'\r';    // a paragraph end in the control's text

// Underline types, as the rich edit control numbers them (0 is no underline).
enum TRichUnderline : std::uint8_t {
  ulNone = 0, ulSingle = 1, ulWord = 2, ulDouble = 3, ulDotted = 4, ulDash = 5, ulDashDot = 6,
  ulDashDotDot = 7, ulWave = 8, ulThick = 9, ulHairline = 10, ulDoubleWave = 11,
  ulHeavyWave = 12, ulLongDash = 13
};

// Character format of a run.
struct TCharFormat {
  std::u16string FaceName;            // font name; empty for "no font given"
  int Charset = 1;                    // GDI character set of the font (1 = the document's)
  int PitchAndFamily = 0;             // low 2 bits pitch (1 fixed, 2 variable), high nibble family
  int Size = 240;                     // twips (12 points)
  std::uint32_t Color = RichAutoColor;
  std::uint32_t BackColor = RichAutoColor;
  bool Bold = false;
  int Weight = 0;                     // font weight 1-1000; 0: that of Bold (700 or 400)
  bool Italic = false;
  std::uint8_t UnderlineType = ulNone;
  bool StrikeOut = false;
  bool Protected = false;
  bool Link = false;                  // hyperlink text
  std::u16string LinkTarget;          // the link's URL when it differs from the link text;
                                      // adjacent link runs with one target are one link
  bool Hidden = false;
  bool Shadow = false;
  bool Emboss = false;
  bool Imprint = false;
  bool Outline = false;
  bool SmallCaps = false;
  bool AllCaps = false;
  std::uint8_t SubscriptStyle = 0;    // 0 none, 1 subscript, 2 superscript
  int Offset = 0;                     // vertical offset, twips; positive raises
  int Spacing = 0;                    // character spacing, twips
  int Kerning = 0;                    // kerning from this font size up, twips
  int Animation = 0;                  // text animation kind
  LCID Lcid = 0;                      // language of the text; 0 when none is given
  bool operator==(const TCharFormat&) const = default;
};

// Paragraph alignment, numbered as the rich edit control numbers it.
enum TRichAlignment : std::uint8_t { raLeft = 1, raRight = 2, raCenter = 3, raJustify = 4 };

// Paragraph numbering kinds; nkCharSequence counts characters from NumberingStart as a
// UTF-16 character (1072 gives "а, б, в").
enum TRichNumbering : std::uint8_t {
  nkNone = 0, nkBullet = 1, nkArabic = 2, nkLowerLetter = 3, nkUpperLetter = 4,
  nkLowerRoman = 5, nkUpperRoman = 6, nkCharSequence = 7
};

// What follows a paragraph number: 0 "1)", 1 "1.", 2 "(1)", 3 "1".
enum TRichNumberingStyle : std::uint8_t { nsParen = 0, nsPeriod = 1, nsParens = 2, nsPlain = 3 };

// Line-spacing rules, as the rich edit control numbers them; LineSpacing is twips for 3 and 4
// and twentieths of a line for 5.
enum TRichLineSpacingRule : std::uint8_t {
  lsSingle = 0, lsOneAndHalf = 1, lsDouble = 2, lsAtLeast = 3, lsExactly = 4, lsMultiple = 5
};

struct TTabStop {
  int Position = 0;                   // twips from the left margin
  std::uint8_t Alignment = 0;         // 0 left, 1 centre, 2 right, 3 decimal, 4 bar
  std::uint8_t Leader = 0;            // 0 none, 1 dots, 2 dashes, 3 underline, 4 thick line, 5 equals
  bool operator==(const TTabStop&) const = default;
};

// Paragraph format. Indents are RTF-style: LeftIndent for every line, FirstIndent for the first
// line relative to LeftIndent. In the rich edit control's terms the first line starts at
// LeftIndent + FirstIndent (dxStartIndent) and the other lines -FirstIndent after it (dxOffset).
// Bullets keep no numbering style (nsParen); a paragraph without numbering keeps no numbering
// start, style or tab.
struct TParaFormat {
  TRichAlignment Alignment = raLeft;
  int LeftIndent = 0;
  int FirstIndent = 0;
  int RightIndent = 0;
  int SpaceBefore = 0;
  int SpaceAfter = 0;
  TRichLineSpacingRule LineSpacingRule = lsSingle;
  int LineSpacing = 0;
  std::vector<TTabStop> Tabs;         // ascending positions
  TRichNumbering Numbering = nkNone;
  int NumberingStart = 0;             // first number (or first character for nkCharSequence)
  TRichNumberingStyle NumberingStyle = nsParen;
  int NumberingTab = 0;               // distance from the number to the text, twips
  bool PageBreakBefore = false;
  bool operator==(const TParaFormat&) const = default;
};

enum class TRichObjectKind : std::uint8_t { Picture, Embedded, Link };
enum class TPictureFormat : std::uint8_t { Png, Jpeg, Emf, Wmf, Dib, Bitmap };

// A picture: its bytes exactly as stored (for Wmf, the metafile bits; for Dib, the bitmap
// without file header; for Bitmap, device-dependent bitmap bits).
struct TRichPicture {
  TPictureFormat Format = TPictureFormat::Png;
  std::string Bytes;
  int PictureWidth = 0;               // \picw, \pich: pixels, or 0.01 mm for metafiles
  int PictureHeight = 0;
  int GoalWidth = 0;                  // desired size, twips
  int GoalHeight = 0;
  int ScaleX = 100;                   // percent
  int ScaleY = 100;
  int MetafileMapMode = 8;            // Wmf only: the mapping mode (8 = MM_ANISOTROPIC)
  bool operator==(const TRichPicture&) const = default;
};

// An object in the text. For a picture only Picture is used. An embedded or linked object
// keeps its whole RTF group byte for byte in Rtf (written back unchanged when not empty) and,
// read from it, its class, size, data and the picture last shown for it (when it has one).
// An object made in code leaves Rtf empty; it is then written from its fields, and reading
// that back gives the same fields with Rtf filled in.
struct TRichObject {
  TRichObjectKind Kind = TRichObjectKind::Picture;
  TRichPicture Picture;
  bool HasPicture = true;             // false for an object without a shown picture
  std::string ClassName;              // embedded/link: the object's class (\objclass)
  std::string ObjectData;             // embedded/link: the object's data (\objdata bytes)
  int Width = 0;                      // embedded/link: the object's size, twips (\objw, \objh)
  int Height = 0;
  std::string Rtf;                    // embedded/link: the {\object ...} group as read
  bool operator==(const TRichObject&) const = default;
};

// An optional object, held apart from its run: runs are many and objects few, so a run without
// one costs a pointer. Copies are deep; it reads like std::optional.
class TRichObjectSlot {
public:
  TRichObjectSlot() = default;
  TRichObjectSlot(std::nullopt_t) {}
  TRichObjectSlot(TRichObject object) : object_(std::make_unique<TRichObject>(std::move(object))) {}
  TRichObjectSlot(const TRichObjectSlot& other)
      : object_(other.object_ ? std::make_unique<TRichObject>(*other.object_) : nullptr) {}
  TRichObjectSlot(TRichObjectSlot&&) noexcept = default;
  TRichObjectSlot& operator=(TRichObjectSlot other) noexcept {
    object_ = std::move(other.object_);
    return *this;
  }
  bool has_value() const { return object_ != nullptr; }
  explicit operator bool() const { return has_value(); }
  TRichObject& operator*() const { return *object_; }
  TRichObject* operator->() const { return object_.get(); }
  bool operator==(const TRichObjectSlot& other) const {
    return has_value() == other.has_value() && (!has_value() || *object_ == *other.object_);
  }

private:
  std::unique_ptr<TRichObject> object_;
};

// A run of text in one format. An object run's text is exactly one RichObjectChar.
struct TRichRun {
  std::u16string Text;
  TCharFormat Format;
  TRichObjectSlot Object;
  bool operator==(const TRichRun&) const = default;
};

struct TRichParagraph {
  TParaFormat Format;
  std::vector<TRichRun> Runs;
  TCharFormat MarkFormat;             // format of the paragraph's end mark
  bool operator==(const TRichParagraph&) const = default;
  // The paragraph's text without its end.
  std::u16string Text() const;
  // Normalizes every paragraph.
  void Normalize();
};

struct TRichDocument {
  TRichDocument();
  std::vector<TRichParagraph> Paragraphs;  // never empty: an empty document has one empty paragraph
  unsigned CodePage = 1251;           // the document's code page (\ansicpg)
  LCID DefaultLcid = 0;               // the document's default language (\deflang); 0 when none
  int DefaultTabWidth = 720;          // twips (\deftab)
  bool operator==(const TRichDocument&) const = default;

  // The control's text: the paragraphs' texts joined by '\r'.
  std::u16string PlainText() const;
  // Normalizes every paragraph.
  void Normalize();
};

// The code page of a GDI character set (204 -> 1251, 0 -> 1252, ...); `documentCodePage`
// for the default character set and for sets without a known code page.
unsigned CharsetCodePage(int charset, unsigned documentCodePage);
// A paragraph's line spacing between the rich edit control's rule and value and the RTF form
// \slN with \slmult (N twips, or N/240 lines when multiple; negative N is exact). Reading
// gives lsOneAndHalf and lsDouble for 1.5 and 2 lines, and lsSingle for \sl0; a value of 0
// with rules 3 to 5 is written as \sl0.
void LineSpacingToRtf(TRichLineSpacingRule rule, int value, int& sl, bool& multiple);
void LineSpacingFromRtf(int sl, bool multiple, TRichLineSpacingRule& rule, int& value);
