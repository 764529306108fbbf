#include "proofing/grammar_cipher.h"

#include "platform/exceptions.h"
#include "textcore/decipher.h"

std::string EncipherString(std::string_view Plain, std::uint32_t Key, std::uint32_t Multiplier) {
  std::string result;
  result.reserve(Plain.size());
  std::uint32_t k = Key;
  for (char p : Plain) {
    const auto c = static_cast<unsigned char>((static_cast<unsigned char>(p) ^ (k >> 8)) & 255);
    switch (c) {
      case 0: result.append(6, '\x01'); break;
      case 13: result.append(6, '\x02'); break;
      case 10: result.append(6, '\x03'); break;
      default: result.push_back(static_cast<char>(c)); break;
    }
    k = (k + c) * Multiplier + kDecipherAddend;
  }
  return result;
}

std::vector<std::string> EncipherLines(const std::vector<std::string>& Lines, std::uint32_t Key,
                                       std::uint32_t Multiplier) {
  std::vector<std::string> result;
  result.reserve(Lines.size());
  for (size_t i = 0; i < Lines.size(); ++i) {
    result.push_back(EncipherString(Lines[i], Key, Multiplier));
    if (DecipherString(result.back(), Key, Multiplier, kDecipherAddend) != Lines[i])
      throw EConvertError("Line " + std::to_string(i + 1) + " does not read back after enciphering: \"" + Lines[i] +
                          "\"; change its wording");
  }
  return result;
}
