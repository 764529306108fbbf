#include "platform/ini_document.h"

#include "platform/locale.h"

namespace {

// Trims blanks and control characters at both ends.
std::string_view Trim(std::string_view s) {
  size_t begin = 0, end = s.size();
  while (begin < end && static_cast<unsigned char>(s[begin]) <= ' ') ++begin;
  while (end > begin && static_cast<unsigned char>(s[end - 1]) <= ' ') --end;
  return s.substr(begin, end - begin);
}

// The form of a section or key name that look-ups compare, in a buffer of this thread: valid
// until the next call.
const std::string& Fold(std::string_view name) {
  thread_local std::string folded;
  AnsiLowerCaseTo(folded, Trim(name));
  return folded;
}

// Where `part` (a view into `text`) begins in it.
size_t PlaceIn(std::string_view text, std::string_view part) { return static_cast<size_t>(part.data() - text.data()); }

}  // namespace

void IniDocument::Line::SetEntry(std::string_view key, std::string_view value) {
  std::string text;
  text.reserve(key.size() + 1 + value.size());
  text.append(key).append(1, '=').append(value);
  Text = std::move(text);
  Entry = HasValue = true;
  KeyAt = 0;
  KeySize = key.size();
  ValueAt = key.size() + 1;
  ValueSize = value.size();
}

void IniDocument::Section::Reindex() {
  KeyIndex.clear();
  for (size_t i = 0; i < Lines.size(); ++i)
    if (Lines[i].Entry) KeyIndex.try_emplace(Fold(Lines[i].Key()), i);
}

void IniDocument::AddLine(std::string_view text, Section*& current) {
  std::string_view trimmed = Trim(text);
  if (trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']') {
    std::string name(Trim(trimmed.substr(1, trimmed.size() - 2)));
    current = Find(name);
    if (current == nullptr) {
      FSectionIndex.try_emplace(Fold(name), FSections.size());
      FSections.push_back(Section{name, std::string(text), {}, {}});
      current = &FSections.back();
    }
    return;
  }
  if (current == nullptr) {
    FPreamble.emplace_back(text);
    return;
  }
  Line& line = current->Lines.emplace_back();
  line.Text = text;
  if (trimmed.empty() || trimmed.front() == ';') return;
  line.Entry = true;
  std::string_view key = trimmed;
  if (auto eq = trimmed.find('='); eq != std::string_view::npos) {
    key = Trim(trimmed.substr(0, eq));
    const std::string_view value = Trim(trimmed.substr(eq + 1));
    line.HasValue = true;
    line.ValueAt = PlaceIn(text, value);
    line.ValueSize = value.size();
  }
  line.KeyAt = PlaceIn(text, key);
  line.KeySize = key.size();
  current->KeyIndex.try_emplace(Fold(key), current->Lines.size() - 1);
}

void IniDocument::Parse(std::string_view text) {
  FPreamble.clear();
  FSections.clear();
  FSectionIndex.clear();
  Section* current = nullptr;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = pos;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    AddLine(text.substr(pos, end - pos), current);
    pos = end;
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n') ++pos;
  }
}

void IniDocument::ParseLines(const std::vector<std::string>& lines) {
  FPreamble.clear();
  FSections.clear();
  FSectionIndex.clear();
  Section* current = nullptr;
  for (const std::string& line : lines) AddLine(line, current);
}

std::vector<std::string> IniDocument::Lines() const {
  std::vector<std::string> lines = FPreamble;
  for (const Section& section : FSections) {
    lines.push_back(section.Header);
    for (const Line& line : section.Lines) lines.push_back(line.Text);
  }
  return lines;
}

std::string IniDocument::Text() const {
  std::string text;
  for (const std::string& line : Lines()) {
    text += line;
    text += "\r\n";
  }
  return text;
}

IniDocument::Section* IniDocument::Find(const std::string& section) {
  auto it = FSectionIndex.find(Fold(section));
  return it == FSectionIndex.end() ? nullptr : &FSections[it->second];
}

const IniDocument::Section* IniDocument::Find(const std::string& section) const {
  return const_cast<IniDocument*>(this)->Find(section);
}

bool IniDocument::HasSection(const std::string& section) const { return Find(section) != nullptr; }

std::optional<std::string> IniDocument::Value(const std::string& section, const std::string& key) const {
  const Section* s = Find(section);
  if (s == nullptr) return std::nullopt;
  auto it = s->KeyIndex.find(Fold(key));
  if (it == s->KeyIndex.end()) return std::nullopt;
  return std::string(s->Lines[it->second].Value());
}

bool IniDocument::HasKey(const std::string& section, const std::string& key) const {
  const Section* s = Find(section);
  return s != nullptr && s->KeyIndex.count(Fold(key)) != 0;
}

std::vector<std::string> IniDocument::SectionNames() const {
  std::vector<std::string> names;
  for (const Section& section : FSections) names.push_back(section.Name);
  return names;
}

std::vector<std::pair<std::string, std::optional<std::string>>> IniDocument::Entries(
    const std::string& section) const {
  std::vector<std::pair<std::string, std::optional<std::string>>> entries;
  if (const Section* s = Find(section))
    for (const Line& line : s->Lines)
      if (line.Entry)
        entries.emplace_back(line.Key(), line.HasValue ? std::optional<std::string>(line.Value()) : std::nullopt);
  return entries;
}

bool IniDocument::Set(const std::string& section, const std::string& key, const std::string& value) {
  std::string k(Trim(key)), v(Trim(value));
  Section* s = Find(section);
  if (s == nullptr) {
    // Keep sections apart with a blank line.
    if (!FSections.empty()) {
      auto& lines = FSections.back().Lines;
      if (lines.empty() || !Trim(lines.back().Text).empty()) lines.push_back(Line{});
    } else if (!FPreamble.empty() && !Trim(FPreamble.back()).empty()) {
      FPreamble.emplace_back();
    }
    std::string name(Trim(section));
    FSectionIndex.try_emplace(Fold(name), FSections.size());
    FSections.push_back(Section{name, "[" + name + "]", {}, {}});
    s = &FSections.back();
  }
  if (auto it = s->KeyIndex.find(Fold(k)); it != s->KeyIndex.end()) {
    Line& line = s->Lines[it->second];  // keeps the key as the file spells it
    if (line.HasValue && line.Value() == v) return false;
    line.SetEntry(line.Key(), v);
    return true;
  }
  // After the last key of the section, so that trailing blank lines and comments stay last.
  size_t at = 0;
  for (size_t i = 0; i < s->Lines.size(); ++i)
    if (s->Lines[i].Entry) at = i + 1;
  s->Lines.insert(s->Lines.begin() + at, Line{})->SetEntry(k, v);
  s->Reindex();
  return true;
}

bool IniDocument::EraseSection(const std::string& section) {
  auto it = FSectionIndex.find(Fold(section));
  if (it == FSectionIndex.end()) return false;
  FSections.erase(FSections.begin() + it->second);
  FSectionIndex.clear();
  for (size_t i = 0; i < FSections.size(); ++i) FSectionIndex.try_emplace(Fold(FSections[i].Name), i);
  return true;
}

bool IniDocument::DeleteKey(const std::string& section, const std::string& key) {
  Section* s = Find(section);
  if (s == nullptr) return false;
  auto it = s->KeyIndex.find(Fold(key));
  if (it == s->KeyIndex.end()) return false;
  s->Lines.erase(s->Lines.begin() + it->second);
  s->Reindex();
  return true;
}
