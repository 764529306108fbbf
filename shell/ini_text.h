// An INI text split into its sections and joined again with every line it had: the lines
// before the first section, comments, blank lines and the headers as written.
#pragma once

#include <string>
#include <vector>

struct TIniSection {
  std::u16string Name;    // the section name; "Default" for the lines before the first header
  bool HasHeader = true;  // false for those lines, which are written back without a header
  std::u16string Header;  // the header line as read; rebuilt as "[Name]" when the name changes
  std::vector<std::u16string> Lines;  // the lines after the header, up to the next one
};

// Lines of an editor text (paragraphs end with CR); an empty text has no lines.
std::vector<std::u16string> SplitIniLines(const std::u16string& text);
std::u16string JoinIniLines(const std::vector<std::u16string>& lines);
// Whether the text is an INI text: every line is blank, a comment (";" or "#"), a section
// header or a "key=value" line, with at least one header and one key.
bool LooksLikeIni(const std::u16string& text);
// The sections of a text; lines before the first header (or a text without headers) become a
// section "Default" without header.
std::vector<TIniSection> SplitIni(const std::u16string& text);
// The text of the sections in their order.
std::u16string JoinIni(const std::vector<TIniSection>& sections);
