#include "tools/thesaurus/thesaurus_data.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/code_pages.h"

namespace {

std::string StripLineEnd(std::string line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
  return line;
}

std::vector<std::string> Split(const std::string& line, char sep) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t bar; (bar = line.find(sep, start)) != std::string::npos; start = bar + 1)
    parts.push_back(line.substr(start, bar - start));
  parts.push_back(line.substr(start));
  return parts;
}

// The encoding line, without a byte-order mark; only UTF-8 data is read.
void CheckEncoding(std::istream& in, const std::string& file) {
  std::string line;
  if (!std::getline(in, line)) throw EThesaurusData("Cannot read the thesaurus file " + file);
  line = StripLineEnd(line);
  if (line.rfind("\xEF\xBB\xBF", 0) == 0) line = line.substr(3);
  if (line != "UTF-8" && line != "utf-8") throw EThesaurusData("The thesaurus file " + file + " is not UTF-8 MyThes data");
}

}  // namespace

TThesaurusData::TThesaurusData(const std::string& idxFile, const std::string& datFile) : datFile_(datFile) {
  std::ifstream idx(idxFile, std::ios::binary);
  if (!idx) throw EThesaurusData("Cannot read the thesaurus file " + idxFile);
  CheckEncoding(idx, idxFile);
  std::ifstream dat(datFile, std::ios::binary);
  if (!dat) throw EThesaurusData("Cannot read the thesaurus file " + datFile);
  CheckEncoding(dat, datFile);
  std::string line;
  std::getline(idx, line);  // the number of words
  while (std::getline(idx, line)) {
    const size_t bar = line.rfind('|');
    if (bar == std::string::npos) continue;
    index_[line.substr(0, bar)] = std::atoll(line.c_str() + bar + 1);
  }
}

std::vector<TThesMeaning> TThesaurusData::Lookup(const std::string& word) const {
  const auto found = index_.find(Utf8Lower(word));
  if (found == index_.end()) return {};
  std::ifstream dat(datFile_, std::ios::binary);
  dat.seekg(found->second);
  std::string line;
  if (!dat || !std::getline(dat, line)) return {};
  const auto head = Split(StripLineEnd(line), '|');
  if (head.size() != 2 || head[0] != found->first) return {};
  const int count = std::atoi(head[1].c_str());
  std::vector<TThesMeaning> meanings;
  for (int i = 0; i < count && std::getline(dat, line); ++i) {
    auto parts = Split(StripLineEnd(line), '|');
    TThesMeaning m{parts[0], {}};
    for (size_t p = 1; p < parts.size(); ++p)
      if (!parts[p].empty()) m.Synonyms.push_back(parts[p]);
    meanings.push_back(std::move(m));
  }
  return meanings;
}

std::vector<std::string> TThesaurusData::Words() const {
  std::vector<std::string> words;
  words.reserve(index_.size());
  for (const auto& entry : index_) words.push_back(entry.first);
  return words;
}

TThesaurusFiles FindThesaurusFiles(bool russian) {
  const char* dirs = std::getenv("XDG_DATA_DIRS");
  const std::string list = dirs && *dirs ? dirs : "/usr/local/share:/usr/share";
  const std::string name = russian ? "th_ru_RU_v2" : "th_en_US_v2";
  TThesaurusFiles files;
  for (const std::string& dir : Split(list, ':')) {
    if (dir.empty()) continue;
    files = {dir + "/mythes/" + name + ".idx", dir + "/mythes/" + name + ".dat"};
    std::error_code ec;
    if (std::filesystem::exists(files.Idx, ec) && std::filesystem::exists(files.Dat, ec)) break;
  }
  return files;
}

std::string PlainSynonym(const std::string& synonym) {
  std::string s = synonym;
  if (!s.empty() && s.back() == ')') {
    const size_t open = s.rfind(" (");
    if (open != std::string::npos && open > 0) s.resize(open);
  }
  return s;
}

std::string Utf8Lower(const std::string& text) {
  std::u16string w = Utf8ToWide(text);
  for (char16_t& c : w) {
    if (c >= u'A' && c <= u'Z') c = char16_t(c + 32);
    else if (c >= 0x0410 && c <= 0x042F) c = char16_t(c + 32);  // А..Я
    else if (c >= 0x0400 && c <= 0x040F) c = char16_t(c + 80);  // Ѐ..Џ, Ё
  }
  return WideToUtf8(w);
}
