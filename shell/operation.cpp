#include "shell/operation.h"

#include <algorithm>
#include <vector>

#include "platform/code_pages.h"

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

std::u16string WorkTextToWide(std::u16string_view original, std::string_view before, std::string_view after) {
  constexpr unsigned kWorkCodePage = 1251;
  // Where each byte of `before` stands in `original`.
  std::vector<size_t> starts;
  starts.reserve(before.size() + 1);
  for (size_t i = 0; i < original.size(); ++i) {
    starts.push_back(i);
    if (original[i] >= 0xD800 && original[i] <= 0xDBFF && i + 1 < original.size() && original[i + 1] >= 0xDC00 &&
        original[i + 1] <= 0xDFFF)
      ++i;
  }
  if (starts.size() != before.size()) return AnsiToWide(after, kWorkCodePage);
  starts.push_back(original.size());
  auto source = [&](size_t from, size_t to) { return original.substr(starts[from], starts[to] - starts[from]); };

  std::u16string out;
  out.reserve(original.size() + after.size());
  if (after.size() == before.size()) {
    // Byte for byte: only the bytes the operation changed are taken from the code page.
    for (size_t i = 0; i < after.size(); ++i) {
      if (after[i] == before[i]) out += source(i, i + 1);
      else out += AnsiToWide(after.substr(i, 1), kWorkCodePage);
    }
    return out;
  }
  size_t head = 0;
  while (head < before.size() && head < after.size() && before[head] == after[head]) ++head;
  size_t tail = 0;
  while (tail < before.size() - head && tail < after.size() - head &&
         before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
    ++tail;
  out += source(0, head);
  out += AnsiToWide(after.substr(head, after.size() - head - tail), kWorkCodePage);
  out += source(before.size() - tail, before.size());
  return out;
}

std::string WorkTextShape(std::u16string_view text) {
  std::string shape(text.size(), 'x');
  for (size_t i = 0; i < text.size(); ++i)
    if (text[i] < 0x80) shape[i] = char(text[i]);
  return shape;
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
