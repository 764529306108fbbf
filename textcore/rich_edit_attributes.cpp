#include "textcore/rich_edit_attributes.h"

#include <algorithm>
#include <cmath>

#include "platform/code_pages.h"
#include "platform/gui/rich_edit_control.h"
#include "textcore/rich_edit.h"
#include "platform/rich_text.h"

QM_CLASS_INFO(TTextAttributesW, TPersistent, [](TClassBuilder<TTextAttributesW>&) {})
QM_CLASS_INFO(TParaAttributesW, TPersistent, [](TClassBuilder<TParaAttributesW>&) {})

namespace {

int ToTwips(double points) { return int(std::lround(points * 20)); }

TCharFormat Read(const TCustomRichEditW& owner, TAttributeType type) {
  return type == atSelected ? owner.Control().SelCharFormat() : owner.Control().DefaultCharFormat();
}

void Write(TCustomRichEditW& owner, TAttributeType type, const TCharFormat& f, uint32_t mask) {
  const TRichFormatTarget target = type == atDefaultText ? TRichFormatTarget::Default
                                   : owner.WordFormatting() ? TRichFormatTarget::Word
                                                            : TRichFormatTarget::Selection;
  owner.Control().SetCharFormat(f, mask, target);
}

// Builds a format with one field set and writes it.
template <class Set>
void Change(TCustomRichEditW& owner, TAttributeType type, uint32_t mask, Set set) {
  TCharFormat f;
  set(f);
  Write(owner, type, f, mask);
}

}  // namespace

#define QM_TEXT_GET(Type, Name, expr) \
  Type TTextAttributesW::Name() const { const TCharFormat f = Read(owner_, type_); return expr; }
#define QM_TEXT_SET(Name, Type, mask, field, value) \
  void TTextAttributesW::Set##Name(Type v) { Change(owner_, type_, mask, [&](TCharFormat& f) { f.field = value; }); }

TColor TTextAttributesW::Color() const {
  const TCharFormat f = Read(owner_, type_);
  return f.Color == RichAutoColor ? clWindowText : TColor(f.Color);
}

void TTextAttributesW::SetColor(TColor color) {
  Change(owner_, type_, CFM_COLOR, [&](TCharFormat& f) {
    f.Color = color == clWindowText ? RichAutoColor : uint32_t(ColorToRGB(color));
  });
}

std::string TTextAttributesW::Name() const { return WideToAnsi(Read(owner_, type_).FaceName); }

void TTextAttributesW::SetName(const std::string& name) {
  Change(owner_, type_, CFM_FACE, [&](TCharFormat& f) {
    f.FaceName = AnsiToWide(name).substr(0, 31);
    f.PitchAndFamily = Read(owner_, type_).PitchAndFamily;
  });
}

TFontPitch TTextAttributesW::Pitch() const {
  switch (Read(owner_, type_).PitchAndFamily & 3) {
    case 1: return fpFixed;
    case 2: return fpVariable;
    default: return fpDefault;
  }
}

QM_TEXT_GET(int, Charset, f.Charset)
QM_TEXT_SET(Charset, int, CFM_CHARSET, Charset, v)
QM_TEXT_GET(int, Size, f.Size / 20)
QM_TEXT_SET(Size, int, CFM_SIZE, Size, v * 20)
QM_TEXT_GET(int, Weight, f.Weight > 0 ? f.Weight : f.Bold ? 700 : 400)

void TTextAttributesW::SetWeight(int weight) {
  Change(owner_, type_, CFM_WEIGHT, [&](TCharFormat& f) {
    f.Weight = std::clamp(weight, 1, 1000);
    f.Bold = f.Weight >= 600;
  });
}

TColor TTextAttributesW::BackColor() const {
  const TCharFormat f = Read(owner_, type_);
  return f.BackColor == RichAutoColor ? clWindow : TColor(f.BackColor);
}

void TTextAttributesW::SetBackColor(TColor color) {
  Change(owner_, type_, CFM_BACKCOLOR, [&](TCharFormat& f) {
    f.BackColor = color == clWindow || color == clDefault ? RichAutoColor : uint32_t(ColorToRGB(color));
  });
}

QM_TEXT_GET(LCID, Language, f.Lcid)
QM_TEXT_SET(Language, LCID, CFM_LCID, Lcid, v)
QM_TEXT_GET(int, SubscriptStyle, f.SubscriptStyle)
QM_TEXT_SET(SubscriptStyle, int, CFM_SUBSCRIPT, SubscriptStyle, uint8_t(v))
QM_TEXT_GET(double, Offset, f.Offset / 20.0)
QM_TEXT_SET(Offset, double, CFM_OFFSET, Offset, ToTwips(v))
QM_TEXT_GET(int, Spacing, f.Spacing / 20)
QM_TEXT_SET(Spacing, int, CFM_SPACING, Spacing, v * 20)
QM_TEXT_GET(int, Kerning, f.Kerning / 20)
QM_TEXT_SET(Kerning, int, CFM_KERNING, Kerning, v * 20)
QM_TEXT_GET(int, UnderlineType, f.UnderlineType)
QM_TEXT_SET(UnderlineType, int, CFM_UNDERLINETYPE, UnderlineType, uint8_t(v))
QM_TEXT_GET(int, Animation, f.Animation)
QM_TEXT_SET(Animation, int, CFM_ANIMATION, Animation, v)
QM_TEXT_GET(bool, Bold, f.Bold)
QM_TEXT_SET(Bold, bool, CFM_BOLD, Bold, v)
QM_TEXT_GET(bool, Italic, f.Italic)
QM_TEXT_SET(Italic, bool, CFM_ITALIC, Italic, v)
QM_TEXT_GET(bool, StrikeOut, f.StrikeOut)
QM_TEXT_SET(StrikeOut, bool, CFM_STRIKEOUT, StrikeOut, v)
QM_TEXT_GET(bool, Protected, f.Protected)
QM_TEXT_SET(Protected, bool, CFM_PROTECTED, Protected, v)
QM_TEXT_GET(bool, SmallCaps, f.SmallCaps)
QM_TEXT_SET(SmallCaps, bool, CFM_SMALLCAPS, SmallCaps, v)
QM_TEXT_GET(bool, AllCaps, f.AllCaps)
QM_TEXT_SET(AllCaps, bool, CFM_ALLCAPS, AllCaps, v)
QM_TEXT_GET(bool, Hidden, f.Hidden)
QM_TEXT_SET(Hidden, bool, CFM_HIDDEN, Hidden, v)
QM_TEXT_GET(bool, Outline, f.Outline)
QM_TEXT_SET(Outline, bool, CFM_OUTLINE, Outline, v)
QM_TEXT_GET(bool, Shadow, f.Shadow)
QM_TEXT_SET(Shadow, bool, CFM_SHADOW, Shadow, v)
QM_TEXT_GET(bool, Emboss, f.Emboss)
QM_TEXT_SET(Emboss, bool, CFM_EMBOSS, Emboss, v)
QM_TEXT_GET(bool, Imprint, f.Imprint)
QM_TEXT_SET(Imprint, bool, CFM_IMPRINT, Imprint, v)
QM_TEXT_GET(bool, Link, f.Link)
QM_TEXT_SET(Link, bool, CFM_LINK, Link, v)

#undef QM_TEXT_GET
#undef QM_TEXT_SET

TFontStyles TTextAttributesW::Style() const {
  const TCharFormat f = Read(owner_, type_);
  return (f.Bold ? fsBold : 0) | (f.Italic ? fsItalic : 0) | (f.StrikeOut ? fsStrikeOut : 0) |
         (f.UnderlineType != ulNone ? fsUnderline : 0);
}

void TTextAttributesW::SetStyle(TFontStyles style) {
  Change(owner_, type_, CFM_BOLD | CFM_ITALIC | CFM_STRIKEOUT | CFM_UNDERLINETYPE, [&](TCharFormat& f) {
    f.Bold = style & fsBold;
    f.Italic = style & fsItalic;
    f.StrikeOut = style & fsStrikeOut;
    f.UnderlineType = (style & fsUnderline) ? ulSingle : ulNone;
  });
}

TConsistentAttributes TTextAttributesW::ConsistentAttributes() const {
  if (type_ != atSelected) return 0;
  uint32_t mask = 0;
  owner_.Control().SelCharFormat(&mask);
  static constexpr std::pair<uint32_t, TConsistentAttributes> kBits[] = {
      {CFM_BOLD, caBold}, {CFM_COLOR, caColor}, {CFM_FACE, caFace}, {CFM_ITALIC, caItalic},
      {CFM_SIZE, caSize}, {CFM_STRIKEOUT, caStrikeOut}, {CFM_UNDERLINE, caUnderline},
      {CFM_PROTECTED, caProtected}, {CFM_WEIGHT, caWeight}, {CFM_BACKCOLOR, caBackColor},
      {CFM_LCID, caLanguage}, {CFM_SUBSCRIPT, caSubscript}, {CFM_OFFSET, caOffset},
      {CFM_SPACING, caSpacing}, {CFM_KERNING, caKerning}, {CFM_UNDERLINETYPE, caUnderlineType},
      {CFM_ANIMATION, caAnimation}, {CFM_SMALLCAPS, caSmallCaps}, {CFM_ALLCAPS, caAllCaps},
      {CFM_HIDDEN, caHidden}, {CFM_OUTLINE, caOutline}, {CFM_SHADOW, caShadow},
      {CFM_EMBOSS, caEmboss}, {CFM_IMPRINT, caImprint}, {CFM_LINK, caLink}};
  TConsistentAttributes result = 0;
  for (const auto& [bits, member] : kBits)
    if ((mask & bits) == bits) result |= member;
  return result;
}

void TTextAttributesW::Assign(const TTextAttributesW& source) {
  if (&source == this) return;
  TCharFormat f = Read(source.owner_, source.type_);
  if (f.Color == RichAutoColor && source.Color() != clWindowText) f.Color = uint32_t(source.Color());
  Write(owner_, type_, f, CFM_ALL2);
}

void TTextAttributesW::Assign(const TFont& font) {
  Change(owner_, type_, CFM_FACE | CFM_SIZE | CFM_BOLD | CFM_ITALIC | CFM_STRIKEOUT | CFM_UNDERLINETYPE | CFM_COLOR,
         [&](TCharFormat& f) {
           f.FaceName = AnsiToWide(font.Name()).substr(0, 31);
           f.PitchAndFamily = font.Pitch() == fpFixed ? 1 : font.Pitch() == fpVariable ? 2 : 0;
           f.Size = font.Size() * 20;
           f.Bold = font.Style() & fsBold;
           f.Italic = font.Style() & fsItalic;
           f.StrikeOut = font.Style() & fsStrikeOut;
           f.UnderlineType = (font.Style() & fsUnderline) ? ulSingle : ulNone;
           f.Color = font.Color() == clWindowText ? RichAutoColor : uint32_t(ColorToRGB(font.Color()));
         });
}

void TTextAttributesW::AssignTo(TFont& font) const {
  font.SetName(Name());
  font.SetSize(Size());
  font.SetStyle(Style());
  font.SetColor(Color());
  font.SetPitch(Pitch());
}

// --- Paragraph -----------------------------------------------------------------------------------

namespace {

TParaFormat ReadPara(const TCustomRichEditW& owner) { return owner.Control().SelParaFormat(); }

template <class Set>
void ChangePara(TCustomRichEditW& owner, uint32_t mask, Set set) {
  TParaFormat f;
  set(f);
  owner.Control().SetParaFormat(f, mask);
}

}  // namespace

int TParaAttributesW::FirstIndent() const {
  const TParaFormat f = ReadPara(owner_);
  return (f.LeftIndent + f.FirstIndent) / 20;
}

void TParaAttributesW::SetFirstIndent(int points) {
  ChangePara(owner_, PFM_STARTINDENT, [&](TParaFormat& f) { f.LeftIndent = points * 20; });
}

int TParaAttributesW::LeftIndent() const { return -ReadPara(owner_).FirstIndent / 20; }

void TParaAttributesW::SetLeftIndent(int points) {
  ChangePara(owner_, PFM_OFFSET, [&](TParaFormat& f) { f.FirstIndent = -points * 20; });
}

int TParaAttributesW::RightIndent() const { return ReadPara(owner_).RightIndent / 20; }

void TParaAttributesW::SetRightIndent(int points) {
  ChangePara(owner_, PFM_RIGHTINDENT, [&](TParaFormat& f) { f.RightIndent = points * 20; });
}

double TParaAttributesW::LineSpacing() const { return ReadPara(owner_).LineSpacing / 20.0; }

void TParaAttributesW::SetLineSpacing(double points) {
  const int rule = LineSpacingRule();
  ChangePara(owner_, PFM_LINESPACING, [&](TParaFormat& f) {
    f.LineSpacingRule = TRichLineSpacingRule(rule);
    f.LineSpacing = ToTwips(points);
  });
}

int TParaAttributesW::LineSpacingRule() const { return ReadPara(owner_).LineSpacingRule; }

void TParaAttributesW::SetLineSpacingRule(int rule) {
  const int spacing = ReadPara(owner_).LineSpacing;
  ChangePara(owner_, PFM_LINESPACING, [&](TParaFormat& f) {
    f.LineSpacingRule = TRichLineSpacingRule(std::clamp(rule, 0, 5));
    f.LineSpacing = spacing;
  });
}

void TParaAttributesW::SetLineSpacing(int rule, double points) {
  ChangePara(owner_, PFM_LINESPACING, [&](TParaFormat& f) {
    f.LineSpacingRule = TRichLineSpacingRule(std::clamp(rule, 0, 5));
    f.LineSpacing = ToTwips(points);
  });
}

TParaAlignment TParaAttributesW::Alignment() const {
  const int a = ReadPara(owner_).Alignment;
  return a >= 1 && a <= 4 ? TParaAlignment(a - 1) : paLeftJustify;
}

void TParaAttributesW::SetAlignment(TParaAlignment alignment) {
  ChangePara(owner_, PFM_ALIGNMENT, [&](TParaFormat& f) { f.Alignment = TRichAlignment(int(alignment) + 1); });
}

int TParaAttributesW::Numbering() const { return ReadPara(owner_).Numbering; }

void TParaAttributesW::SetNumbering(int numbering) {
  ChangePara(owner_, PFM_NUMBERING, [&](TParaFormat& f) { f.Numbering = TRichNumbering(std::clamp(numbering, 0, 7)); });
}

int TParaAttributesW::NumberingStart() const { return ReadPara(owner_).NumberingStart; }

void TParaAttributesW::SetNumberingStart(int start) {
  ChangePara(owner_, PFM_NUMBERINGSTART, [&](TParaFormat& f) { f.NumberingStart = start; });
}

int TParaAttributesW::NumberingStyle() const { return ReadPara(owner_).NumberingStyle; }

void TParaAttributesW::SetNumberingStyle(int style) {
  ChangePara(owner_, PFM_NUMBERINGSTYLE,
             [&](TParaFormat& f) { f.NumberingStyle = TRichNumberingStyle(std::clamp(style, 0, 3)); });
}

int TParaAttributesW::SpaceBefore() const { return ReadPara(owner_).SpaceBefore / 20; }

void TParaAttributesW::SetSpaceBefore(int points) {
  ChangePara(owner_, PFM_SPACEBEFORE, [&](TParaFormat& f) { f.SpaceBefore = points * 20; });
}

int TParaAttributesW::SpaceAfter() const { return ReadPara(owner_).SpaceAfter / 20; }

void TParaAttributesW::SetSpaceAfter(int points) {
  ChangePara(owner_, PFM_SPACEAFTER, [&](TParaFormat& f) { f.SpaceAfter = points * 20; });
}
