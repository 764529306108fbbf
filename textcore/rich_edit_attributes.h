// Character and paragraph attributes of a TRichEditW. Every read fetches the format of the
// selection (or the default format) from the control; every write changes exactly one
// attribute. Sizes and distances are points here and twips (points x 20) in the control.
#pragma once

#include <cstdint>
#include <string>

#include "platform/gui/graphics.h"
#include "platform/locale.h"

class TCustomRichEditW;

enum TAttributeType { atSelected, atDefaultText };

// Members of ConsistentAttributes, as bits.
using TConsistentAttributes = uint32_t;
inline constexpr TConsistentAttributes caBold = 1u << 0, caColor = 1u << 1, caFace = 1u << 2,
    caItalic = 1u << 3, caSize = 1u << 4, caStrikeOut = 1u << 5, caUnderline = 1u << 6,
    caProtected = 1u << 7, caWeight = 1u << 8, caBackColor = 1u << 9, caLanguage = 1u << 10,
    caSubscript = 1u << 11, caOffset = 1u << 12, caSpacing = 1u << 13, caKerning = 1u << 14,
    caUnderlineType = 1u << 15, caAnimation = 1u << 16, caSmallCaps = 1u << 17,
    caAllCaps = 1u << 18, caHidden = 1u << 19, caOutline = 1u << 20, caShadow = 1u << 21,
    caEmboss = 1u << 22, caImprint = 1u << 23, caLink = 1u << 24;

class TTextAttributesW : public TPersistent {
  QM_CLASS(TTextAttributesW, TPersistent)
public:
  TTextAttributesW(TCustomRichEditW& owner, TAttributeType type) : owner_(owner), type_(type) {}

  TColor Color() const;
  // The window-text colour makes the text follow the system colour.
  void SetColor(TColor color);
  std::string Name() const;
  // At most 31 characters are kept.
  void SetName(const std::string& name);
  TFontPitch Pitch() const;
  int Charset() const;
  void SetCharset(int charset);
  int Size() const;
  void SetSize(int points);
  int Weight() const;
  void SetWeight(int weight);
  TColor BackColor() const;
  // The window colour and the default colour make the background automatic.
  void SetBackColor(TColor color);
  LCID Language() const;
  void SetLanguage(LCID language);
  // 0 none, 1 subscript, 2 superscript.
  int SubscriptStyle() const;
  void SetSubscriptStyle(int style);
  double Offset() const;
  void SetOffset(double points);
  int Spacing() const;
  void SetSpacing(int points);
  int Kerning() const;
  void SetKerning(int points);
  // 0 none, 1 single, 2 word, 3 double, 4 dotted...
  int UnderlineType() const;
  void SetUnderlineType(int type);
  int Animation() const;
  void SetAnimation(int animation);
  bool Bold() const;
  void SetBold(bool on);
  bool Italic() const;
  void SetItalic(bool on);
  bool StrikeOut() const;
  void SetStrikeOut(bool on);
  bool Protected() const;
  void SetProtected(bool on);
  bool SmallCaps() const;
  void SetSmallCaps(bool on);
  bool AllCaps() const;
  void SetAllCaps(bool on);
  bool Hidden() const;
  void SetHidden(bool on);
  bool Outline() const;
  void SetOutline(bool on);
  bool Shadow() const;
  void SetShadow(bool on);
  bool Emboss() const;
  void SetEmboss(bool on);
  bool Imprint() const;
  void SetImprint(bool on);
  bool Link() const;
  void SetLink(bool on);
  TFontStyles Style() const;
  // Bold, italic, strike-out and underline (as underline type 1) in one change.
  void SetStyle(TFontStyles style);
  // The attributes that are the same over the whole selection; empty for the default ones.
  TConsistentAttributes ConsistentAttributes() const;

  // Copies every attribute of another attribute object.
  void Assign(const TTextAttributesW& source);
  // Takes a font's name, size, style, colour and pitch; AssignTo gives them to a font.
  void Assign(const TFont& font);
  void AssignTo(TFont& font) const;

private:
  TCustomRichEditW& owner_;
  TAttributeType type_;
};

// The paragraph alignments, in the class library's order with justify after them.
enum TParaAlignment { paLeftJustify, paRightJustify, paCenter, paJustify };

class TParaAttributesW : public TPersistent {
  QM_CLASS(TParaAttributesW, TPersistent)
public:
  explicit TParaAttributesW(TCustomRichEditW& owner) : owner_(owner) {}

  // The first line's indent from the left margin.
  int FirstIndent() const;
  void SetFirstIndent(int points);
  // The other lines' indent relative to the first line.
  int LeftIndent() const;
  void SetLeftIndent(int points);
  int RightIndent() const;
  void SetRightIndent(int points);
  double LineSpacing() const;
  void SetLineSpacing(double points);
  // 0 single, 1 one and a half, 2 double, 3 at least, 4 exactly, 5 multiple (of LineSpacing/20).
  int LineSpacingRule() const;
  void SetLineSpacingRule(int rule);
  // Rule and spacing in one change.
  void SetLineSpacing(int rule, double points);
  TParaAlignment Alignment() const;
  void SetAlignment(TParaAlignment alignment);
  // 0 none, 1 bullet, 2 arabic, 3 and 4 letters, 5 and 6 roman, 7 characters from NumberingStart.
  int Numbering() const;
  void SetNumbering(int numbering);
  int NumberingStart() const;
  void SetNumberingStart(int start);
  // 0 "1)", 1 "1.", 2 "(1)", 3 "1".
  int NumberingStyle() const;
  void SetNumberingStyle(int style);
  int SpaceBefore() const;
  void SetSpaceBefore(int points);
  int SpaceAfter() const;
  void SetSpaceAfter(int points);

private:
  TCustomRichEditW& owner_;
};
