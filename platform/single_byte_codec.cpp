#include "platform/single_byte_codec.h"

#include "platform/code_page_tables.h"

#include <vector>

namespace {

// The block of every high byte no character of the code page uses: every entry 0, which the
// check in ToByte rejects for all characters but U+0000 (byte 0 in every table).
constexpr std::array<unsigned char, 256> kEmptyBlock{};

} // namespace

SingleByteCodec::SingleByteCodec(const char16_t* toWide) : toWide_(toWide) {
  std::array<int, 256> blockOfHigh;
  blockOfHigh.fill(-1);
  int blockCount = 0;
  for (int byte = 0; byte < 256; ++byte) {
    int& block = blockOfHigh[toWide[byte] >> 8];
    if (block < 0) block = blockCount++;
  }
  storage_ = std::make_unique<Block[]>(blockCount);
  for (int byte = 0; byte < 256; ++byte)
    storage_[blockOfHigh[toWide[byte] >> 8]][toWide[byte] & 0xFF] = static_cast<unsigned char>(byte);
  for (int high = 0; high < 256; ++high)
    blocks_[high] = blockOfHigh[high] < 0 ? kEmptyBlock.data() : storage_[blockOfHigh[high]].data();
}

const SingleByteCodec* FindSingleByteCodec(unsigned codePage) {
  struct Entry {
    unsigned codePage;
    SingleByteCodec codec;
  };
  static const std::vector<Entry> codecs = [] {
    std::vector<Entry> result;
    for (const SingleByteCodePage& page : SingleByteCodePages())
      result.push_back({page.CodePage, SingleByteCodec(page.ToWide)});
    return result;
  }();
  for (const Entry& entry : codecs)
    if (entry.codePage == codePage) return &entry.codec;
  return nullptr;
}
