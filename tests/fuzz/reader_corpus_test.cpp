// Every reader of outside data on its seed corpus (fuzz/corpus/NAME) and on every input a fuzzer
// ever found (fuzz/found/NAME), through the entries the libFuzzer programs drive: a fault found
// once stays fixed.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "fuzz/fuzz_readers.h"

namespace {

namespace fs = std::filesystem;

const fs::path kFuzzDir = fs::path(QM_SOURCE_DIR) / "fuzz";

std::vector<fs::path> FilesOf(const fs::path& folder) {
  std::vector<fs::path> files;
  if (fs::is_directory(folder))
    for (const auto& entry : fs::directory_iterator(folder))
      if (entry.is_regular_file()) files.push_back(entry.path());
  return files;
}

class ReaderCorpusTest : public ::testing::TestWithParam<TFuzzReader> {};

TEST_P(ReaderCorpusTest, ReadsEverySeedAndEveryFinding) {
  const TFuzzReader& reader = GetParam();
  const std::vector<fs::path> seeds = FilesOf(kFuzzDir / "corpus" / reader.Name);
  EXPECT_FALSE(seeds.empty()) << "no seed corpus for " << reader.Name;
  std::vector<fs::path> inputs = seeds;
  for (const fs::path& found : FilesOf(kFuzzDir / "found" / reader.Name)) inputs.push_back(found);
  for (const fs::path& input : inputs) {
    SCOPED_TRACE(input.string());
    std::ifstream file(input, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    EXPECT_EQ(reader.Run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Readers, ReaderCorpusTest, ::testing::ValuesIn(FuzzReaders()),
                         [](const auto& info) { return std::string(info.param.Name); });

// Each corpus or findings folder belongs to a reader, so none is silently left out.
TEST(ReaderCorpusFolders, NameAReader) {
  std::set<std::string> names;
  for (const TFuzzReader& reader : FuzzReaders()) names.insert(reader.Name);
  for (const char* kind : {"corpus", "found"})
    if (fs::is_directory(kFuzzDir / kind))
      for (const auto& entry : fs::directory_iterator(kFuzzDir / kind))
        if (entry.is_directory()) {
          EXPECT_TRUE(names.count(entry.path().filename().string())) << entry.path();
        }
}

}  // namespace
