// Helpers shared by the RTF tests: UTF-8 literals to UTF-16 and files of the fixtures folder.
#pragma once

#include <fstream>
#include <ostream>
#include <sstream>
#include <string>

#include "platform/code_pages.h"
#include "platform/rich_text.h"

inline std::u16string U(const char* utf8) { return Utf8ToWide(utf8); }
inline std::string U8(const std::u16string& text) { return WideToUtf8(text); }

inline std::string ReadFixture(const std::string& name) {
  std::ifstream file(std::string(QM_FIXTURES_DIR) + "/rtf/" + name, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

// A run of text in a format.
inline TRichRun TextRun(const char* utf8, TCharFormat format = {}) {
  TRichRun run;
  run.Text = U(utf8);
  run.Format = std::move(format);
  return run;
}

// Readable output of documents in failed expectations.
inline void PrintTo(const TCharFormat& f, std::ostream* os) {
  *os << "{" << WideToUtf8(f.FaceName) << "/" << f.Charset << "/" << f.PitchAndFamily << " sz"
      << f.Size << " c" << std::hex << f.Color << " bg" << f.BackColor << std::dec
      << (f.Bold ? " B" : "") << (f.Italic ? " I" : "") << " u" << int(f.UnderlineType)
      << (f.StrikeOut ? " S" : "") << (f.Protected ? " P" : "") << (f.Link ? " L:" : "")
      << WideToUtf8(f.LinkTarget) << (f.Hidden ? " H" : "") << (f.Shadow ? " sh" : "")
      << (f.Emboss ? " em" : "") << (f.Imprint ? " im" : "") << (f.Outline ? " ou" : "")
      << (f.SmallCaps ? " sc" : "") << (f.AllCaps ? " ac" : "") << " ss"
      << int(f.SubscriptStyle) << " off" << f.Offset << " sp" << f.Spacing << " k" << f.Kerning
      << " an" << f.Animation << " lang" << f.Lcid << "}";
}

inline void PrintTo(const TParaFormat& p, std::ostream* os) {
  *os << "{al" << int(p.Alignment) << " li" << p.LeftIndent << " fi" << p.FirstIndent << " ri"
      << p.RightIndent << " sb" << p.SpaceBefore << " sa" << p.SpaceAfter << " ls"
      << int(p.LineSpacingRule) << "/" << p.LineSpacing << " tabs";
  for (const TTabStop& t : p.Tabs)
    *os << " " << t.Position << "/" << int(t.Alignment) << "/" << int(t.Leader);
  *os << " num" << int(p.Numbering) << "/" << p.NumberingStart << "/" << int(p.NumberingStyle)
      << "/" << p.NumberingTab << (p.PageBreakBefore ? " pb" : "") << "}";
}

inline void PrintTo(const TRichDocument& doc, std::ostream* os) {
  *os << "\ncp" << doc.CodePage << " lcid" << doc.DefaultLcid << " tab" << doc.DefaultTabWidth;
  for (const TRichParagraph& paragraph : doc.Paragraphs) {
    *os << "\n  paragraph ";
    PrintTo(paragraph.Format, os);
    *os << " mark ";
    PrintTo(paragraph.MarkFormat, os);
    for (const TRichRun& run : paragraph.Runs) {
      *os << "\n    ";
      PrintTo(run.Format, os);
      if (run.Object) {
        const TRichObject& o = *run.Object;
        *os << " object " << int(o.Kind) << " " << int(o.Picture.Format) << " bytes"
            << o.Picture.Bytes.size() << " " << o.Picture.PictureWidth << "x"
            << o.Picture.PictureHeight << " goal" << o.Picture.GoalWidth << "x"
            << o.Picture.GoalHeight << " scale" << o.Picture.ScaleX << "x" << o.Picture.ScaleY
            << " mm" << o.Picture.MetafileMapMode << " class " << o.ClassName << " data"
            << o.ObjectData.size() << " rtf" << o.Rtf.size();
      } else {
        *os << " \"" << WideToUtf8(run.Text) << "\"";
      }
    }
  }
}
