// A libFuzzer program: QM_FUZZ_READER names the reader (an entry of FuzzReaders) it drives.
#include <cstdlib>
#include <string_view>

#include "fuzz/fuzz_readers.h"

namespace {

TFuzzEntry Entry() {
  for (const TFuzzReader& reader : FuzzReaders())
    if (std::string_view(reader.Name) == QM_FUZZ_READER) return reader.Run;
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const TFuzzEntry entry = Entry();
  return entry(data, size);
}
