#include "platform/ini_document.h"

#include <cstring>

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
size_t PlaceIn(std::string_view text, std::string_view part) {
  return static_cast<size_t>(part.data() - text.data());
}

// Whether `trimmed` (a trimmed line) is a section's "[...]" line.
bool IsHeader(std::string_view trimmed) {
  return trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']';
}

// Calls `line` with every line of `text` (ending in CR LF, LF or CR), where it begins and
// where the next line begins.
template <typename Line>
void ForEachLine(std::string_view text, Line line) {
  size_t pos = 0;
  while (pos < text.size()) {
    // The first LF, then a CR before it (both by memchr: lines are long, line ends few).
    const char* from = text.data() + pos;
    auto place = [&text](const void* at) { return static_cast<size_t>(static_cast<const char*>(at) - text.data()); };
    const void* lf = std::memchr(from, '\n', text.size() - pos);
    size_t end = lf ? place(lf) : text.size();
    if (const void* cr = std::memchr(from, '\r', end - pos)) end = place(cr);
    size_t next = end;
    if (next < text.size() && text[next] == '\r') ++next;
    if (next < text.size() && text[next] == '\n') ++next;
    line(text.substr(pos, end - pos), pos, next);
    pos = next;
  }
}

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

void IniDocument::Section::AddLine(std::string_view text) {
  Line& line = Lines.emplace_back();
  line.Text = text;
  std::string_view trimmed = Trim(text);
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
  KeyIndex.try_emplace(Fold(key), Lines.size() - 1);
}

IniDocument::Section& IniDocument::SectionOf(std::string_view trimmed, std::string_view header) {
  const std::string_view name = Trim(trimmed.substr(1, trimmed.size() - 2));
  auto [it, added] = FSectionIndex.try_emplace(Fold(name), FSections.size());
  if (added) FSections.push_back(Section{std::string(name), std::string(header), {}, {}, {}});
  return FSections[it->second];
}

void IniDocument::AddLine(std::string_view text, Section*& current) {
  std::string_view trimmed = Trim(text);
  if (IsHeader(trimmed)) {
    current = &SectionOf(trimmed, text);
  } else if (current == nullptr) {
    FPreamble.emplace_back(text);
  } else {
    current->AddLine(text);
  }
}

void IniDocument::ReadLines(Section& section) const {
  for (auto [begin, end] : section.Unread)
    ForEachLine(std::string_view(FSource).substr(begin, end - begin),
                [&section](std::string_view line, size_t, size_t) { section.AddLine(line); });
  section.Unread.clear();
}

void IniDocument::Parse(std::string_view text) {
  FSource.assign(text);
  FPreamble.clear();
  FSections.clear();
  FSectionIndex.clear();
  // Only the sections are found now; their lines are read when the section is first used.
  Section* current = nullptr;
  size_t unreadFrom = 0;
  auto endUnread = [&](size_t end) {
    if (current != nullptr && end > unreadFrom) current->Unread.emplace_back(unreadFrom, end);
  };
  const std::string_view source(FSource);
  ForEachLine(source, [&](std::string_view line, size_t at, size_t next) {
    // Only a line starting with a blank or '[' can be a section's line.
    const bool mayBeHeader =
        !line.empty() && (static_cast<unsigned char>(line.front()) <= ' ' || line.front() == '[');
    const std::string_view trimmed = mayBeHeader ? Trim(line) : std::string_view();
    if (!IsHeader(trimmed)) {
      if (current == nullptr) FPreamble.emplace_back(line);
      return;
    }
    endUnread(at);
    current = &SectionOf(trimmed, line);
    unreadFrom = next;
  });
  endUnread(source.size());
}

void IniDocument::ParseLines(const std::vector<std::string>& lines) {
  FSource.clear();
  FPreamble.clear();
  FSections.clear();
  FSectionIndex.clear();
  Section* current = nullptr;
  for (const std::string& line : lines) AddLine(line, current);
}

std::vector<std::string> IniDocument::Lines() const {
  std::vector<std::string> lines = FPreamble;
  for (Section& section : FSections) {
    ReadLines(section);
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
  if (it == FSectionIndex.end()) return nullptr;
  ReadLines(FSections[it->second]);
  return &FSections[it->second];
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
      ReadLines(FSections.back());
      auto& lines = FSections.back().Lines;
      if (lines.empty() || !Trim(lines.back().Text).empty()) lines.push_back(Line{});
    } else if (!FPreamble.empty() && !Trim(FPreamble.back()).empty()) {
      FPreamble.emplace_back();
    }
    std::string name(Trim(section));
    FSectionIndex.try_emplace(Fold(name), FSections.size());
    FSections.push_back(Section{name, "[" + name + "]", {}, {}, {}});
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
