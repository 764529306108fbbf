// The language descriptor (".qlx"): a fixed block of 31634 bytes (locale, name, alphabet and
// three letter tables that bound the suggestion steps) followed by two word lists, each a 16-bit
// length and that many bytes of CR LF separated lines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/locale.h"

inline constexpr int kLanguageBlockSize = 31634;
inline constexpr int kMaxLetterEntry = 40;

class TQLanguageBlock {
public:
  TQLanguageBlock() : Bytes(kLanguageBlockSize, '\0') {}

  LCID Lcid() const;
  void SetLcid(LCID Value);
  // The language's name (length-prefixed at offset 2).
  std::string Name() const;
  void SetName(std::string_view Value);
  // The small letters of the language.
  std::string Alphabet() const;
  void SetAlphabet(std::string_view Value);
  // Letters that may stand in place of `Ch`.
  std::string Similar(unsigned char Ch) const;
  void SetSimilar(unsigned char Ch, std::string_view Value);
  // Letters that may be inserted after `Ch`.
  std::string Following(unsigned char Ch) const;
  void SetFollowing(unsigned char Ch, std::string_view Value);
  // Letters that may be deleted when they follow `Ch`.
  std::string Doubled(unsigned char Ch) const;
  void SetDoubled(unsigned char Ch, std::string_view Value);
  // Letters tried by the insertion step when it is not given the whole alphabet.
  std::string InsertionLetters() const;
  void SetInsertionLetters(std::string_view Value);

  std::string Bytes;  // exactly kLanguageBlockSize bytes

private:
  // Writes a length-prefixed entry; one longer than MaxLength raises EInvalidOperation.
  void WriteEntry(int Offset, int MaxLength, std::string_view Value);
};

// A whole descriptor file: the block, then the common-words list and the second list.
// Each list may hold at most 65535 bytes of text.
std::string BuildLanguageFile(const TQLanguageBlock& Block, const std::vector<std::string>& CommonWords,
                              const std::vector<std::string>& OtherWords);
