#include "platform/gui/rich_edit_formats.h"

#include <algorithm>

#include <QColor>
#include <QFont>
#include <QList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextOption>

#include "platform/gui/rich_edit_control.h"

namespace rich_edit {
namespace {

// Character properties.
enum : int {
  PCharset = QTextFormat::UserProperty + 1,
  PPitch,
  PSize,
  PUnderlineType,
  PProtected,
  PLink,
  PLinkTarget,
  PHidden,
  PShadow,
  PEmboss,
  PImprint,
  POutline,
  PSmallCaps,
  PAllCaps,
  PSubscript,
  POffset,
  PSpacing,
  PKerning,
  PAnimation,
  PLcid,
  PColor,
  PBackColor,
  // Display-only link marking: the CFM_ bits it set (0: none), the values it set, and the
  // values the text had before it.
  PAutoLink,
  PAutoColor,
  PAutoUnderline,
  PWasLink,
  PWasLinkTarget,
  PWasColor,
  PWasUnderline,
};

// Paragraph properties.
enum : int {
  PAlignment = QTextFormat::UserProperty + 40,
  PLeftIndent,
  PFirstIndent,
  PRightIndent,
  PSpaceBefore,
  PSpaceAfter,
  PLineRule,
  PLineSpacing,
  PTabs,
  PNumbering,
  PNumberingStart,
  PNumberingStyle,
  PNumberingTab,
  PPageBreak,
};

QColor ToQColor(uint32_t rgb) { return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF); }

QTextCharFormat::UnderlineStyle QtUnderline(uint8_t type) {
  switch (type) {
    case ulNone: return QTextCharFormat::NoUnderline;
    case ulDotted: return QTextCharFormat::DotLine;
    case ulDash: case ulLongDash: return QTextCharFormat::DashUnderline;
    case ulDashDot: return QTextCharFormat::DashDotLine;
    case ulDashDotDot: return QTextCharFormat::DashDotDotLine;
    case ulWave: case ulDoubleWave: case ulHeavyWave: return QTextCharFormat::WaveUnderline;
    default: return QTextCharFormat::SingleUnderline;
  }
}

int IntProperty(const QTextFormat& f, int id, int fallback) {
  return f.hasProperty(id) ? f.intProperty(id) : fallback;
}
bool BoolProperty(const QTextFormat& f, int id, bool fallback) {
  return f.hasProperty(id) ? f.boolProperty(id) : fallback;
}

void ShowCapitalization(QTextCharFormat& t) {
  const bool all = t.boolProperty(PAllCaps), small = t.boolProperty(PSmallCaps);
  t.setFontCapitalization(all ? QFont::AllUppercase : small ? QFont::SmallCaps : QFont::MixedCase);
}

void SetBaselineOffset(QTextCharFormat& t, int offset, int size) {
  if (offset == 0) t.setBaselineOffset(0);
  else t.setBaselineOffset(100.0 * offset / (size > 0 ? size : 240));
}

}  // namespace

void ApplyCharFormat(QTextCharFormat& t, const TCharFormat& f, uint32_t mask) {
  if (mask & CFM_FACE) {
    if (f.FaceName.empty()) {
      t.clearProperty(QTextFormat::FontFamilies);  // the document's font
      t.clearProperty(QTextFormat::FontFamily);
    } else {
      t.setFontFamilies(QStringList{QString::fromStdU16String(f.FaceName)});
    }
    t.setProperty(PPitch, f.PitchAndFamily);
    t.setFontFixedPitch((f.PitchAndFamily & 3) == 1);
  }
  if (mask & CFM_CHARSET) t.setProperty(PCharset, f.Charset);
  if (mask & CFM_SIZE) {
    t.setProperty(PSize, f.Size);
    t.setFontPointSize(f.Size > 0 ? f.Size / 20.0 : 12.0);
  }
  if (mask & CFM_WEIGHT) t.setFontWeight(f.Weight > 0 ? std::clamp(f.Weight, 1, 1000) : f.Bold ? 700 : 400);
  else if (mask & CFM_BOLD) t.setFontWeight(f.Bold ? QFont::Bold : QFont::Normal);
  if (mask & CFM_ITALIC) t.setFontItalic(f.Italic);
  if (mask & (CFM_UNDERLINE | CFM_UNDERLINETYPE)) {
    t.setProperty(PUnderlineType, int(f.UnderlineType));
    t.setUnderlineStyle(QtUnderline(f.UnderlineType));
  }
  if (mask & CFM_STRIKEOUT) t.setFontStrikeOut(f.StrikeOut);
  if (mask & CFM_COLOR) {
    t.setProperty(PColor, uint(f.Color));
    if (f.Color == RichAutoColor) t.clearForeground(); else t.setForeground(ToQColor(f.Color));
  }
  if (mask & CFM_BACKCOLOR) {
    t.setProperty(PBackColor, uint(f.BackColor));
    if (f.BackColor == RichAutoColor) t.clearBackground(); else t.setBackground(ToQColor(f.BackColor));
  }
  if (mask & CFM_PROTECTED) t.setProperty(PProtected, f.Protected);
  if (mask & CFM_LINK) {
    t.setProperty(PLink, f.Link);
    t.setProperty(PLinkTarget, QString::fromStdU16String(f.LinkTarget));
    t.setProperty(PAutoLink, 0);  // a link set as a format is the text's own
  }
  if (mask & CFM_HIDDEN) t.setProperty(PHidden, f.Hidden);
  if (mask & CFM_SHADOW) t.setProperty(PShadow, f.Shadow);
  if (mask & CFM_EMBOSS) t.setProperty(PEmboss, f.Emboss);
  if (mask & CFM_IMPRINT) t.setProperty(PImprint, f.Imprint);
  if (mask & CFM_OUTLINE) {
    t.setProperty(POutline, f.Outline);
    if (f.Outline) t.setTextOutline(QPen(Qt::black)); else t.clearProperty(QTextFormat::TextOutline);
  }
  if (mask & CFM_SMALLCAPS) { t.setProperty(PSmallCaps, f.SmallCaps); ShowCapitalization(t); }
  if (mask & CFM_ALLCAPS) { t.setProperty(PAllCaps, f.AllCaps); ShowCapitalization(t); }
  if (mask & CFM_SUBSCRIPT) {
    t.setProperty(PSubscript, int(f.SubscriptStyle));
    t.setVerticalAlignment(f.SubscriptStyle == 1   ? QTextCharFormat::AlignSubScript
                           : f.SubscriptStyle == 2 ? QTextCharFormat::AlignSuperScript
                                                   : QTextCharFormat::AlignNormal);
  }
  if (mask & CFM_OFFSET) t.setProperty(POffset, f.Offset);
  if ((mask & CFM_OFFSET) && (mask & CFM_SIZE)) SetBaselineOffset(t, f.Offset, f.Size);
  if (mask & CFM_SPACING) {
    t.setProperty(PSpacing, f.Spacing);
    t.setFontLetterSpacingType(QFont::AbsoluteSpacing);
    t.setFontLetterSpacing(TwipsToPixels(f.Spacing));
  }
  if (mask & CFM_KERNING) {
    t.setProperty(PKerning, f.Kerning);
    t.setFontKerning(f.Kerning > 0);
  }
  if (mask & CFM_ANIMATION) t.setProperty(PAnimation, f.Animation);
  if (mask & CFM_LCID) t.setProperty(PLcid, uint(f.Lcid));
}

TCharFormat ReadCharFormat(const QTextCharFormat& s, const TCharFormat& d) {
  TCharFormat f;
  if (s.hasProperty(QTextFormat::FontFamilies)) {
    const QStringList families = s.fontFamilies().toStringList();
    f.FaceName = families.isEmpty() ? d.FaceName : families.front().toStdU16String();
  } else {
    f.FaceName = d.FaceName;
  }
  f.PitchAndFamily = IntProperty(s, PPitch, d.PitchAndFamily);
  f.Charset = IntProperty(s, PCharset, d.Charset);
  f.Size = s.hasProperty(PSize) ? s.intProperty(PSize)
           : s.hasProperty(QTextFormat::FontPointSize) ? qRound(s.fontPointSize() * 20)
                                                       : d.Size;
  if (s.hasProperty(QTextFormat::FontWeight)) {
    const int weight = s.fontWeight();
    f.Bold = weight >= QFont::DemiBold;
    f.Weight = weight == (f.Bold ? QFont::Bold : QFont::Normal) ? 0 : weight;
  } else {
    f.Bold = d.Bold;
    f.Weight = d.Weight;
  }
  f.Italic = BoolProperty(s, QTextFormat::FontItalic, d.Italic);
  f.UnderlineType = uint8_t(IntProperty(s, PUnderlineType,
      s.hasProperty(QTextFormat::TextUnderlineStyle)
          ? (s.underlineStyle() == QTextCharFormat::NoUnderline ? 0 : 1) : d.UnderlineType));
  f.StrikeOut = BoolProperty(s, QTextFormat::FontStrikeOut, d.StrikeOut);
  f.Color = s.hasProperty(PColor) ? uint32_t(s.property(PColor).toUInt()) : d.Color;
  f.BackColor = s.hasProperty(PBackColor) ? uint32_t(s.property(PBackColor).toUInt()) : d.BackColor;
  f.Protected = BoolProperty(s, PProtected, d.Protected);
  f.Link = BoolProperty(s, PLink, d.Link);
  f.LinkTarget = s.hasProperty(PLinkTarget) ? s.stringProperty(PLinkTarget).toStdU16String() : d.LinkTarget;
  f.Hidden = BoolProperty(s, PHidden, d.Hidden);
  f.Shadow = BoolProperty(s, PShadow, d.Shadow);
  f.Emboss = BoolProperty(s, PEmboss, d.Emboss);
  f.Imprint = BoolProperty(s, PImprint, d.Imprint);
  f.Outline = BoolProperty(s, POutline, d.Outline);
  f.SmallCaps = BoolProperty(s, PSmallCaps, d.SmallCaps);
  f.AllCaps = BoolProperty(s, PAllCaps, d.AllCaps);
  f.SubscriptStyle = uint8_t(IntProperty(s, PSubscript, d.SubscriptStyle));
  f.Offset = IntProperty(s, POffset, d.Offset);
  f.Spacing = IntProperty(s, PSpacing, d.Spacing);
  f.Kerning = IntProperty(s, PKerning, d.Kerning);
  f.Animation = IntProperty(s, PAnimation, d.Animation);
  f.Lcid = s.hasProperty(PLcid) ? LCID(s.property(PLcid).toUInt()) : d.Lcid;
  return f;
}

void ShowOffset(QTextCharFormat& format) {
  const int size = format.hasProperty(PSize) ? format.intProperty(PSize)
                   : format.hasProperty(QTextFormat::FontPointSize) ? qRound(format.fontPointSize() * 20)
                                                                   : 240;
  SetBaselineOffset(format, format.intProperty(POffset), size);
}

void MarkAutoLink(QTextCharFormat& change, const QTextCharFormat& current, const TCharFormat& defaults) {
  uint32_t fields = CFM_LINK;
  if (change.hasProperty(PColor)) {
    fields |= CFM_COLOR;
    change.setProperty(PAutoColor, change.property(PColor));
  }
  if (change.hasProperty(PUnderlineType)) {
    fields |= CFM_UNDERLINETYPE;
    change.setProperty(PAutoUnderline, change.property(PUnderlineType));
  }
  const uint32_t marked = current.property(PAutoLink).toUInt();
  if (marked == 0) {
    const TCharFormat was = ReadCharFormat(current, defaults);
    change.setProperty(PWasLink, was.Link);
    change.setProperty(PWasLinkTarget, QString::fromStdU16String(was.LinkTarget));
    change.setProperty(PWasColor, uint(was.Color));
    change.setProperty(PWasUnderline, int(was.UnderlineType));
  }
  change.setProperty(PAutoLink, uint(fields | marked));
}

bool IsAutoLink(const QTextCharFormat& format) { return format.property(PAutoLink).toUInt() != 0; }

TCharFormat StoredCharFormat(const QTextCharFormat& source, const TCharFormat& defaults) {
  TCharFormat f = ReadCharFormat(source, defaults);
  const uint32_t marked = source.property(PAutoLink).toUInt();
  if (marked == 0) return f;
  if ((marked & CFM_LINK) && f.Link) {
    f.Link = source.boolProperty(PWasLink);
    f.LinkTarget = source.stringProperty(PWasLinkTarget).toStdU16String();
  }
  if ((marked & CFM_COLOR) && f.Color == source.property(PAutoColor).toUInt())
    f.Color = uint32_t(source.property(PWasColor).toUInt());
  if ((marked & CFM_UNDERLINETYPE) && f.UnderlineType == source.intProperty(PAutoUnderline))
    f.UnderlineType = uint8_t(source.intProperty(PWasUnderline));
  return f;
}

uint32_t CharFormatDifference(const TCharFormat& a, const TCharFormat& b) {
  uint32_t m = 0;
  if (a.FaceName != b.FaceName || a.PitchAndFamily != b.PitchAndFamily) m |= CFM_FACE;
  if (a.Charset != b.Charset) m |= CFM_CHARSET;
  if (a.Size != b.Size) m |= CFM_SIZE;
  if (a.Bold != b.Bold) m |= CFM_BOLD | CFM_WEIGHT;
  if (a.Weight != b.Weight) m |= CFM_WEIGHT;
  if (a.Italic != b.Italic) m |= CFM_ITALIC;
  if ((a.UnderlineType != 0) != (b.UnderlineType != 0)) m |= CFM_UNDERLINE;
  if (a.UnderlineType != b.UnderlineType) m |= CFM_UNDERLINETYPE;
  if (a.StrikeOut != b.StrikeOut) m |= CFM_STRIKEOUT;
  if (a.Color != b.Color) m |= CFM_COLOR;
  if (a.BackColor != b.BackColor) m |= CFM_BACKCOLOR;
  if (a.Protected != b.Protected) m |= CFM_PROTECTED;
  if (a.Link != b.Link || a.LinkTarget != b.LinkTarget) m |= CFM_LINK;
  if (a.Hidden != b.Hidden) m |= CFM_HIDDEN;
  if (a.Shadow != b.Shadow) m |= CFM_SHADOW;
  if (a.Emboss != b.Emboss) m |= CFM_EMBOSS;
  if (a.Imprint != b.Imprint) m |= CFM_IMPRINT;
  if (a.Outline != b.Outline) m |= CFM_OUTLINE;
  if (a.SmallCaps != b.SmallCaps) m |= CFM_SMALLCAPS;
  if (a.AllCaps != b.AllCaps) m |= CFM_ALLCAPS;
  if (a.SubscriptStyle != b.SubscriptStyle) m |= CFM_SUBSCRIPT;
  if (a.Offset != b.Offset) m |= CFM_OFFSET;
  if (a.Spacing != b.Spacing) m |= CFM_SPACING;
  if (a.Kerning != b.Kerning) m |= CFM_KERNING;
  if (a.Animation != b.Animation) m |= CFM_ANIMATION;
  if (a.Lcid != b.Lcid) m |= CFM_LCID;
  return m;
}

void ApplyParaFormat(QTextBlockFormat& t, const TParaFormat& f, uint32_t mask) {
  if (mask & PFM_ALIGNMENT) {
    t.setProperty(PAlignment, int(f.Alignment));
    t.setAlignment(f.Alignment == raRight    ? Qt::AlignRight
                   : f.Alignment == raCenter ? Qt::AlignHCenter
                   : f.Alignment == raJustify ? Qt::AlignJustify
                                              : Qt::AlignLeft);
  }
  if (mask & (PFM_STARTINDENT | PFM_OFFSET)) {
    t.setProperty(PLeftIndent, f.LeftIndent);
    t.setProperty(PFirstIndent, f.FirstIndent);
    t.setLeftMargin(TwipsToPixels(f.LeftIndent));
    t.setTextIndent(TwipsToPixels(f.FirstIndent));
  }
  if (mask & PFM_RIGHTINDENT) {
    t.setProperty(PRightIndent, f.RightIndent);
    t.setRightMargin(TwipsToPixels(f.RightIndent));
  }
  if (mask & PFM_SPACEBEFORE) {
    t.setProperty(PSpaceBefore, f.SpaceBefore);
    t.setTopMargin(TwipsToPixels(f.SpaceBefore));
  }
  if (mask & PFM_SPACEAFTER) {
    t.setProperty(PSpaceAfter, f.SpaceAfter);
    t.setBottomMargin(TwipsToPixels(f.SpaceAfter));
  }
  if (mask & PFM_LINESPACING) {
    t.setProperty(PLineRule, int(f.LineSpacingRule));
    t.setProperty(PLineSpacing, f.LineSpacing);
    switch (f.LineSpacingRule) {
      case lsOneAndHalf: t.setLineHeight(150, QTextBlockFormat::ProportionalHeight); break;
      case lsDouble: t.setLineHeight(200, QTextBlockFormat::ProportionalHeight); break;
      case lsAtLeast: t.setLineHeight(TwipsToPixels(f.LineSpacing), QTextBlockFormat::MinimumHeight); break;
      case lsExactly: t.setLineHeight(TwipsToPixels(f.LineSpacing), QTextBlockFormat::FixedHeight); break;
      case lsMultiple: t.setLineHeight(f.LineSpacing * 5.0, QTextBlockFormat::ProportionalHeight); break;
      default: t.setLineHeight(100, QTextBlockFormat::SingleHeight); break;
    }
  }
  if (mask & PFM_TABSTOPS) {
    QVariantList encoded;
    QList<QTextOption::Tab> shown;
    for (const TTabStop& tab : f.Tabs) {
      encoded << QVariant(tab.Position) << QVariant(int(tab.Alignment)) << QVariant(int(tab.Leader));
      const QTextOption::TabType type = tab.Alignment == 1   ? QTextOption::CenterTab
                                        : tab.Alignment == 2 ? QTextOption::RightTab
                                        : tab.Alignment == 3 ? QTextOption::DelimiterTab
                                                             : QTextOption::LeftTab;
      shown << QTextOption::Tab(TwipsToPixels(tab.Position), type, tab.Alignment == 3 ? QChar('.') : QChar());
    }
    t.setProperty(PTabs, encoded);
    t.setTabPositions(shown);
  }
  if (mask & PFM_NUMBERING) t.setProperty(PNumbering, int(f.Numbering));
  if (mask & PFM_NUMBERINGSTART) t.setProperty(PNumberingStart, f.NumberingStart);
  if (mask & PFM_NUMBERINGSTYLE) t.setProperty(PNumberingStyle, int(f.NumberingStyle));
  if (mask & PFM_NUMBERINGTAB) t.setProperty(PNumberingTab, f.NumberingTab);
  if (mask & PFM_PAGEBREAKBEFORE) {
    t.setProperty(PPageBreak, f.PageBreakBefore);
    t.setPageBreakPolicy(f.PageBreakBefore ? QTextFormat::PageBreak_AlwaysBefore : QTextFormat::PageBreak_Auto);
  }
}

TParaFormat ReadParaFormat(const QTextBlockFormat& s) {
  TParaFormat f;
  if (s.hasProperty(PAlignment)) {
    f.Alignment = TRichAlignment(s.intProperty(PAlignment));
  } else if (s.hasProperty(QTextFormat::BlockAlignment)) {
    const Qt::Alignment a = s.alignment() & Qt::AlignHorizontal_Mask;
    f.Alignment = (a & Qt::AlignJustify) == Qt::AlignJustify ? raJustify
                  : (a & Qt::AlignHCenter)                   ? raCenter
                  : (a & Qt::AlignRight)                     ? raRight
                                                             : raLeft;
  }
  f.LeftIndent = IntProperty(s, PLeftIndent, qRound(s.leftMargin() * 15));
  f.FirstIndent = IntProperty(s, PFirstIndent, qRound(s.textIndent() * 15));
  f.RightIndent = IntProperty(s, PRightIndent, qRound(s.rightMargin() * 15));
  f.SpaceBefore = IntProperty(s, PSpaceBefore, qRound(s.topMargin() * 15));
  f.SpaceAfter = IntProperty(s, PSpaceAfter, qRound(s.bottomMargin() * 15));
  f.LineSpacingRule = TRichLineSpacingRule(IntProperty(s, PLineRule, lsSingle));
  f.LineSpacing = IntProperty(s, PLineSpacing, 0);
  const QVariantList tabs = s.property(PTabs).toList();
  for (qsizetype i = 0; i + 2 < tabs.size(); i += 3)
    f.Tabs.push_back({tabs[i].toInt(), uint8_t(tabs[i + 1].toInt()), uint8_t(tabs[i + 2].toInt())});
  f.Numbering = TRichNumbering(IntProperty(s, PNumbering, nkNone));
  f.NumberingStart = IntProperty(s, PNumberingStart, 0);
  f.NumberingStyle = TRichNumberingStyle(IntProperty(s, PNumberingStyle, nsParen));
  f.NumberingTab = IntProperty(s, PNumberingTab, 0);
  f.PageBreakBefore = BoolProperty(s, PPageBreak, false);
  return f;
}

void ShowNumbering(QTextDocument& document, int first, int last) {
  QTextBlock block = document.findBlockByNumber(std::max(0, first));
  for (; block.isValid() && block.blockNumber() <= last; block = block.next()) {
    const TParaFormat f = ReadParaFormat(block.blockFormat());
    QTextListFormat list;
    switch (f.Numbering) {
      case nkBullet: list.setStyle(QTextListFormat::ListDisc); break;
      case nkArabic: list.setStyle(QTextListFormat::ListDecimal); break;
      case nkLowerLetter: list.setStyle(QTextListFormat::ListLowerAlpha); break;
      case nkUpperLetter: list.setStyle(QTextListFormat::ListUpperAlpha); break;
      case nkLowerRoman: list.setStyle(QTextListFormat::ListLowerRoman); break;
      case nkUpperRoman: list.setStyle(QTextListFormat::ListUpperRoman); break;
      default: break;  // none, and character sequences, which Qt cannot count
    }
    list.setIndent(1);
    if (list.style() != QTextListFormat::ListStyleUndefined && f.Numbering != nkBullet) {
      list.setNumberPrefix(f.NumberingStyle == nsParens ? "(" : "");
      list.setNumberSuffix(f.NumberingStyle == nsPeriod ? "." : f.NumberingStyle == nsPlain ? "" : ")");
    }
    QTextList* current = block.textList();
    if (current && current->format() == list) continue;
    if (current) current->remove(block);
    if (list.style() == QTextListFormat::ListStyleUndefined) continue;
    QTextList* previous = block.previous().isValid() ? block.previous().textList() : nullptr;
    if (previous && previous->format() == list) previous->add(block);
    else QTextCursor(block).createList(list);
  }
}

uint32_t ParaFormatDifference(const TParaFormat& a, const TParaFormat& b) {
  uint32_t m = 0;
  if (a.Alignment != b.Alignment) m |= PFM_ALIGNMENT;
  if (a.LeftIndent + a.FirstIndent != b.LeftIndent + b.FirstIndent) m |= PFM_STARTINDENT;
  if (a.FirstIndent != b.FirstIndent) m |= PFM_OFFSET;
  if (a.RightIndent != b.RightIndent) m |= PFM_RIGHTINDENT;
  if (a.SpaceBefore != b.SpaceBefore) m |= PFM_SPACEBEFORE;
  if (a.SpaceAfter != b.SpaceAfter) m |= PFM_SPACEAFTER;
  if (a.LineSpacingRule != b.LineSpacingRule || a.LineSpacing != b.LineSpacing) m |= PFM_LINESPACING;
  if (a.Tabs != b.Tabs) m |= PFM_TABSTOPS;
  if (a.Numbering != b.Numbering) m |= PFM_NUMBERING;
  if (a.NumberingStart != b.NumberingStart) m |= PFM_NUMBERINGSTART;
  if (a.NumberingStyle != b.NumberingStyle) m |= PFM_NUMBERINGSTYLE;
  if (a.NumberingTab != b.NumberingTab) m |= PFM_NUMBERINGTAB;
  if (a.PageBreakBefore != b.PageBreakBefore) m |= PFM_PAGEBREAKBEFORE;
  return m;
}

}  // namespace rich_edit
