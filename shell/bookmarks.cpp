#include "shell/bookmarks.h"

#include <algorithm>
#include <charconv>

namespace {

constexpr size_t kMaxNameLength = 30;
constexpr size_t kMaxFieldLength = 1000;

std::string Trim(const std::string& s) {
  const size_t begin = s.find_first_not_of(" \t");
  if (begin == std::string::npos) return {};
  return s.substr(begin, s.find_last_not_of(" \t") - begin + 1);
}

bool ReadInt(const std::string& s, int& value) {
  const std::string t = Trim(s);
  const auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), value);
  return error == std::errc() && end == t.data() + t.size() && !t.empty();
}

}  // namespace

std::string BookmarkName(int number, const std::string& selectedText) {
  std::string name = std::to_string(number);
  std::string text = selectedText;
  std::replace_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n' || c == '\v' || c == '\t'; }, ' ');
  text = Trim(text);
  if (!text.empty()) name += ". " + text;
  if (name.size() > kMaxNameLength) name = name.substr(0, kMaxNameLength) + "...";
  return name;
}

std::string BookmarkFileName(const std::string& documentName) { return documentName + ".qb"; }

void MoveBookmarks(std::vector<TBookmark>& bookmarks, int caret, int lengthDelta, int lineDelta) {
  for (TBookmark& b : bookmarks) {
    if (lengthDelta > 0 ? b.Position >= caret - lengthDelta : b.Position > caret) {
      b.Position = std::max(caret, b.Position + lengthDelta);
      b.TopLine = std::max(0, b.TopLine + lineDelta);
    }
  }
}

void ClampBookmarks(std::vector<TBookmark>& bookmarks, int length, int lines) {
  for (TBookmark& b : bookmarks) {
    b.Position = std::clamp(b.Position, 0, std::max(0, length));
    b.TopLine = std::clamp(b.TopLine, 0, std::max(0, lines - 1));
  }
}

std::string FormatBookmarks(const std::vector<TBookmark>& bookmarks) {
  std::string text;
  for (const TBookmark& b : bookmarks) text += std::to_string(b.Position) + "|" + std::to_string(b.TopLine) + "=" + b.Name + "\r\n";
  return text;
}

std::vector<TBookmark> ParseBookmarks(const std::string& text) {
  std::vector<TBookmark> bookmarks;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t bar = line.find('|'), equals = line.find('=', bar == std::string::npos ? 0 : bar);
    if (bar == std::string::npos || equals == std::string::npos) continue;
    TBookmark b;
    if (!ReadInt(line.substr(0, std::min(bar, kMaxFieldLength)), b.Position) || b.Position < 0) continue;
    if (!ReadInt(line.substr(bar + 1, std::min(equals - bar - 1, kMaxFieldLength)), b.TopLine) || b.TopLine < 0) continue;
    b.Name = line.substr(equals + 1, kMaxFieldLength);
    bookmarks.push_back(std::move(b));
  }
  return bookmarks;
}
