// Checks of the interface language files shipped in the program folder: their layout as INI
// text, their "Messages" sections, and the code page each file is written in.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Entry {
  std::string key;
  std::string value;
};

// One language file read as raw bytes and split into its sections, in file order.
struct LanguageFile {
  std::string bytes;
  std::vector<std::string> lines;                       // without their line ends
  std::vector<std::string> sectionOrder;
  std::map<std::string, std::vector<Entry>> sections;
  std::vector<std::string> stray;                       // lines that are no comment, head or key=value
};

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

LanguageFile Load(const std::string& name) {
  LanguageFile file;
  file.bytes = ReadBytes(std::string(QM_SOURCE_DIR) + "/data/" + name);
  std::string line;
  for (char c : file.bytes) {
    if (c == '\n') {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      file.lines.push_back(line);
      line.clear();
    } else {
      line += c;
    }
  }
  if (!line.empty()) file.lines.push_back(line);

  std::string section;
  for (const std::string& l : file.lines) {
    if (l.empty() || l[0] == ';') continue;
    if (l.front() == '[' && l.back() == ']') {
      section = l.substr(1, l.size() - 2);
      file.sectionOrder.push_back(section);
      file.sections[section];
      continue;
    }
    const auto eq = l.find('=');
    if (section.empty() || eq == std::string::npos || eq == 0) {
      file.stray.push_back(l);
      continue;
    }
    file.sections[section].push_back({l.substr(0, eq), l.substr(eq + 1)});
  }
  return file;
}

// The printf-style conversions of a text in order ("%d", "%s", ...); "%%" is no conversion.
std::vector<std::string> Conversions(const std::string& text) {
  std::vector<std::string> result;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') continue;
    size_t j = i + 1;
    while (j < text.size() && std::string("0123456789.-:").find(text[j]) != std::string::npos) ++j;
    if (j < text.size() && text[j] != '%') result.push_back(text.substr(i, j - i + 1));
    i = j;
  }
  return result;
}

// True when the bytes hold a UTF-8 encoded character of two or more bytes.
bool HasUtf8Sequence(const std::string& bytes) {
  for (size_t i = 0; i + 1 < bytes.size(); ++i) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    const auto next = static_cast<unsigned char>(bytes[i + 1]);
    if (lead >= 0xC2 && lead <= 0xF4 && next >= 0x80 && next <= 0xBF) return true;
  }
  return false;
}

bool IsCyrillic1251(unsigned char c) { return c >= 0xC0 || c == 0xA8 || c == 0xB8; }

const char* const kFiles[] = {"english.lng", "russian.lng"};

TEST(LanguageFiles, LayoutIsIniTextWithCrLfAndTheFiveSections) {
  const std::vector<std::string> expected = {"Caption", "Hint", "Items", "Columns", "Messages"};
  for (const char* name : kFiles) {
    SCOPED_TRACE(name);
    const LanguageFile file = Load(name);
    ASSERT_FALSE(file.bytes.empty());
    EXPECT_EQ(file.lines.front().rfind(';', 0), 0u) << "the file starts with a comment line";
    EXPECT_TRUE(file.bytes.size() >= 2 && file.bytes.compare(file.bytes.size() - 2, 2, "\r\n") == 0);
    for (size_t i = 0; i < file.bytes.size(); ++i) {
      const char c = file.bytes[i];
      const bool lineEnd = c == '\n' || c == '\r';
      if (lineEnd) {
        const bool crLf = c == '\n' ? i > 0 && file.bytes[i - 1] == '\r'
                                    : i + 1 < file.bytes.size() && file.bytes[i + 1] == '\n';
        EXPECT_TRUE(crLf) << "line end without CR LF at byte " << i;
      } else if (static_cast<unsigned char>(c) < 0x20) {
        ADD_FAILURE() << "control character at byte " << i;
      }
    }
    EXPECT_EQ(file.sectionOrder, expected);
    EXPECT_TRUE(file.stray.empty()) << "stray line: " << (file.stray.empty() ? "" : file.stray.front());
  }
}

TEST(LanguageFiles, MessagesAreSortedUniqueAndNonEmpty) {
  for (const char* name : kFiles) {
    SCOPED_TRACE(name);
    const auto messages = Load(name).sections["Messages"];
    ASSERT_FALSE(messages.empty());
    for (size_t i = 0; i < messages.size(); ++i) {
      const Entry& e = messages[i];
      if (i > 0) {
        EXPECT_LT(messages[i - 1].key, e.key) << "order or duplicate";
      }
      EXPECT_EQ(e.key.find_first_of(" \t"), std::string::npos) << e.key;
      const auto first = e.value.find_first_not_of(" \t");
      EXPECT_NE(first, std::string::npos) << "empty text of " << e.key;
      // INI readers strip one pair of enclosing quotation marks from a value.
      EXPECT_FALSE(e.value.size() >= 2 && e.value.front() == '"' && e.value.back() == '"') << e.key;
    }
  }
}

TEST(LanguageFiles, BothFilesHaveTheSameKeysAndPlaceholders) {
  const auto english = Load("english.lng").sections["Messages"];
  const auto russian = Load("russian.lng").sections["Messages"];
  std::map<std::string, std::string> ru;
  for (const Entry& e : russian) ru[e.key] = e.value;
  std::map<std::string, std::string> en;
  for (const Entry& e : english) en[e.key] = e.value;
  for (const auto& [key, value] : en) {
    const auto it = ru.find(key);
    if (it == ru.end()) {
      ADD_FAILURE() << key << " is missing in russian.lng";
      continue;
    }
    EXPECT_EQ(Conversions(value), Conversions(it->second)) << key;
  }
  for (const auto& [key, value] : ru)
    EXPECT_TRUE(en.count(key)) << key << " is missing in english.lng";
}

TEST(LanguageFiles, EnglishIsSingleByteWestern) {
  const std::string bytes = Load("english.lng").bytes;
  EXPECT_FALSE(HasUtf8Sequence(bytes));
  for (unsigned char c : bytes) {
    // Bytes that code page 1252 leaves undefined.
    EXPECT_TRUE(c != 0x81 && c != 0x8D && c != 0x8F && c != 0x90 && c != 0x9D) << int(c);
  }
}

TEST(LanguageFiles, RussianIsCodePage1251WithEveryMessageInCyrillic) {
  const LanguageFile file = Load("russian.lng");
  EXPECT_FALSE(HasUtf8Sequence(file.bytes)) << "UTF-8 text instead of code page 1251";
  for (unsigned char c : file.bytes) EXPECT_NE(c, 0x98) << "byte undefined in code page 1251";
  for (const Entry& e : file.sections.at("Messages")) {
    EXPECT_TRUE(std::any_of(e.value.begin(), e.value.end(),
                            [](char c) { return IsCyrillic1251(static_cast<unsigned char>(c)); }))
        << "untranslated text of " << e.key;
  }
}

// Whether a caption marks an accelerator: a single "&" (a doubled one is a literal "&").
bool HasAccelerator(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (i + 1 < text.size() && text[i + 1] == '&') {
      ++i;
      continue;
    }
    return true;
  }
  return false;
}

TEST(LanguageFiles, FormTextsHaveTheSameKeysInBothFilesAndRussianIsTranslated) {
  const LanguageFile english = Load("english.lng");
  const LanguageFile russian = Load("russian.lng");
  for (const char* section : {"Caption", "Hint", "Items", "Columns"}) {
    SCOPED_TRACE(section);
    std::map<std::string, std::string> en, ru;
    for (const Entry& e : english.sections.at(section)) EXPECT_TRUE(en.emplace(e.key, e.value).second) << e.key;
    for (const Entry& e : russian.sections.at(section)) EXPECT_TRUE(ru.emplace(e.key, e.value).second) << e.key;
    const std::string suffix = std::string(".") + section;
    for (const auto& [key, value] : en) {
      EXPECT_TRUE(key.size() > suffix.size() && key.compare(key.size() - suffix.size(), suffix.size(), suffix) == 0)
          << key << " is not named after its section";
      EXPECT_FALSE(value.empty()) << key;
      const auto it = ru.find(key);
      if (it == ru.end()) {
        ADD_FAILURE() << key << " is missing in russian.lng";
        continue;
      }
      const bool cyrillic = std::any_of(it->second.begin(), it->second.end(),
                                        [](char c) { return IsCyrillic1251(static_cast<unsigned char>(c)); });
      EXPECT_TRUE(cyrillic || it->second == value) << "untranslated text of " << key;
      // A window's own title ("FindForm.Caption") has no mnemonic: an "&" there is text.
      const bool windowTitle = std::count(key.begin(), key.end(), '.') == 1;
      if (std::string(section) == "Caption" && !windowTitle)
        EXPECT_EQ(HasAccelerator(value), HasAccelerator(it->second)) << key;
      if (std::string(section) == "Items" || std::string(section) == "Columns")
        EXPECT_EQ(std::count(value.begin(), value.end(), '|'), std::count(it->second.begin(), it->second.end(), '|'))
            << key;
    }
    for (const auto& [key, value] : ru) EXPECT_TRUE(en.count(key)) << key << " is missing in english.lng";
  }
}

}  // namespace

// Every message key the program's code asks for by name is in both files, so that no message
// shows in English (or as an "undefined message") in the other interface language.
TEST(LanguageFiles, EveryKeyTheCodeLooksUpIsInBothFiles) {
  // A key followed by "+" is the stem of keys made at run time ("SpellerMsg" + number).
  const std::regex call(R"re(\b(GetLangMessage|GetMsg|OpenSaveMessage)\(\s*"([A-Za-z][A-Za-z0-9_]*)"(?!\s*\+))re");
  const std::regex builtIn(R"re(^\s*\{"([A-Za-z][A-Za-z0-9_]*)",)re");
  std::set<std::string> keys;
  for (const char* folder : {"shell", "tools", "components", "textcore", "proofing"}) {
    const std::filesystem::path root = std::filesystem::path(QM_SOURCE_DIR) / folder;
    if (!std::filesystem::exists(root)) continue;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
      const std::string name = entry.path().filename().string();
      if (entry.path().extension() != ".cpp" && entry.path().extension() != ".h") continue;
      const std::string text = ReadBytes(entry.path().string());
      for (std::sregex_iterator it(text.begin(), text.end(), call), end; it != end; ++it) keys.insert((*it)[2]);
      // Tables of built-in English texts keyed like the language files.
      if (name.find("messages") == std::string::npos) continue;
      std::istringstream lines(text);
      for (std::string line; std::getline(lines, line);)
        if (std::smatch m; std::regex_search(line, m, builtIn)) keys.insert(m[1]);
    }
  }
  ASSERT_GT(keys.size(), 10u);
  for (const char* file : {"english.lng", "russian.lng"}) {
    const LanguageFile language = Load(file);
    std::set<std::string> present;
    for (const Entry& e : language.sections.at("Messages")) present.insert(e.key);
    for (const std::string& key : keys) EXPECT_TRUE(present.count(key)) << key << " is missing in " << file;
  }
}
