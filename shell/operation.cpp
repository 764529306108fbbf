#include "shell/operation.h"

#include <algorithm>

#include "textcore/cyr_codes.h"
#include "textcore/text_utils.h"

namespace {

// The step is asked at most every this many bytes (and at the last one): asking pumps the
// message queue, which costs far more than converting a byte.
constexpr int64_t kStepInterval = 4096;

const TCharSet& WriteBackDelimiters() {
  static const TCharSet delimiters = MakeCharSet(std::string_view("\0\t\n\v\r !\"()+,-./:;<=>?[\\]", 24));
  return delimiters;
}

}  // namespace

bool RecodeCyrillicText(std::string& text, int source, int target, const TStepEvent& step) {
  if (source == target) return true;
  const auto map = CyrCodeMap(source, target);
  std::string copy = text;
  const int64_t length = int64_t(copy.size());
  for (int64_t i = 1; i <= length; ++i) {
    if ((i % kStepInterval == 0 || i == length) && step && step(i, length)) return false;
    copy[size_t(i - 1)] = char(map[static_cast<unsigned char>(copy[size_t(i - 1)])]);
  }
  text = std::move(copy);
  return true;
}

std::string RecodeHistoryName(int source, int target) {
  return std::string(CyrCodeNames.at(size_t(source))) + " to " + std::string(CyrCodeNames.at(size_t(target)));
}

bool WalkWorkTokens(std::string_view text, const TStepEvent& step,
                    const std::function<void(int offset, const std::string& token)>& write) {
  const int64_t length = int64_t(text.size());
  int position = 1;
  for (;;) {
    const int start = position;
    std::string field;
    const std::string token = ExtractToken(text, WriteBackDelimiters(), position, field);
    if (field.empty()) return true;
    if (step && step(std::min<int64_t>(position - 1, length), length)) return false;
    if (!token.empty()) write(start - 1, token);
  }
}
