// The content of an INI file as the INI classes read and change it: sections of lines, with
// look-up of sections and keys without case, and every line that is not changed written back
// as it was read. See ini_file.h for the syntax. A section's lines are read from the parsed
// text when the section is first used, also by the const members: one thread at a time.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class IniDocument {
public:
  // Replaces the content with the text (lines ending in CR LF, LF or CR).
  void Parse(std::string_view Text);
  void ParseLines(const std::vector<std::string>& Lines);
  // The content as lines / as text with CR LF after every line.
  std::vector<std::string> Lines() const;
  std::string Text() const;

  bool HasSection(const std::string& Section) const;
  // The stored (trimmed) value of the first `Key` of `Section`: nullopt when the key is
  // missing, an empty string for a key without '='.
  std::optional<std::string> Value(const std::string& Section, const std::string& Key) const;
  bool HasKey(const std::string& Section, const std::string& Key) const;
  std::vector<std::string> SectionNames() const;
  // The keys of a section in order, each with its value (nullopt for a key without '=').
  std::vector<std::pair<std::string, std::optional<std::string>>> Entries(const std::string& Section) const;

  // Sets the first `Key` of `Section`, adding the section or the key at its end when missing.
  // Returns whether the content changed.
  bool Set(const std::string& Section, const std::string& Key, const std::string& Value);
  bool EraseSection(const std::string& Section);
  bool DeleteKey(const std::string& Section, const std::string& Key);

private:
  // A line; an entry's trimmed key and value are places in its text.
  struct Line {
    std::string Text;  // as read, or as last written
    bool Entry = false;
    bool HasValue = false;  // the entry has '='
    size_t KeyAt = 0, KeySize = 0, ValueAt = 0, ValueSize = 0;
    std::string_view Key() const { return std::string_view(Text).substr(KeyAt, KeySize); }
    std::string_view Value() const { return std::string_view(Text).substr(ValueAt, ValueSize); }
    // Makes this line the entry "key=value".
    void SetEntry(std::string_view key, std::string_view value);
  };
  struct Section {
    std::string Name;
    std::string Header;  // the "[...]" line as read
    std::vector<Line> Lines;
    std::unordered_map<std::string, size_t> KeyIndex;  // folded key -> first line
    // Parts of FSource whose lines belong here but are not read into Lines yet.
    std::vector<std::pair<size_t, size_t>> Unread;
    void Reindex();
    void AddLine(std::string_view Text);
  };
  // The section by name, its lines read.
  Section* Find(const std::string& Section);
  const Section* Find(const std::string& Section) const;
  // Reads the section's lines that are still in FSource.
  void ReadLines(Section& Section) const;
  // The section named by the "[...]" line `trimmed`, added when new.
  Section& SectionOf(std::string_view trimmed, std::string_view header);
  void AddLine(std::string_view Text, Section*& current);

  // The text last parsed: a section's lines are read from it when the section is first used,
  // for a program usually asks for few of a large file's sections.
  std::string FSource;
  std::vector<std::string> FPreamble;  // lines before the first section
  mutable std::vector<Section> FSections;
  std::unordered_map<std::string, size_t> FSectionIndex;  // folded name -> section
};
