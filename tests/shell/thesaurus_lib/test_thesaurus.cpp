// A thesaurus library for the tests: the chosen word is the looked-up one in angle brackets;
// looking up "none" is a window closed without a choice.
#include <cstring>
#include <string>

extern "C" __attribute__((visibility("default"))) int ShowModalWordWeb(void*, int, char* result, const char* word) {
  if (std::strcmp(word, "none") == 0) return 0;
  const std::string chosen = "<" + std::string(word) + ">";
  std::strncpy(result, chosen.c_str(), 255);
  return 1;
}
