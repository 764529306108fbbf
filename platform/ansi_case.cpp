// Case mapping of 8-bit text by the letters of its code page (CharUpperBuffA, CharLowerBuffA).
#include "platform/locale.h"

#include "platform/code_page_tables.h"
#include "platform/code_pages.h"
#include "platform/exceptions.h"
#include "platform/single_byte_codec.h"

#include <unicode/uchar.h>

#include <array>
#include <vector>

namespace {

struct CaseTables {
  unsigned CodePage;
  std::array<unsigned char, 256> Upper;
  std::array<unsigned char, 256> Lower;
};

// Each byte's simple case mapping when the result is a byte of the same code page, else the byte.
std::array<unsigned char, 256> MapCase(const SingleByteCodec& codec, UChar32 (*map)(UChar32)) {
  std::array<unsigned char, 256> table;
  for (int byte = 0; byte < 256; ++byte) {
    const UChar32 mapped = map(codec.ToWide(static_cast<unsigned char>(byte)));
    const int target = mapped <= 0xFFFF ? codec.ToByte(static_cast<char16_t>(mapped)) : -1;
    table[byte] = static_cast<unsigned char>(target >= 0 ? target : byte);
  }
  return table;
}

// The case tables of `codePage` (pseudo code pages resolved); raises EConvertError when unknown.
const CaseTables& CaseTablesOf(unsigned codePage) {
  static const std::vector<CaseTables> all = [] {
    std::vector<CaseTables> result;
    for (const SingleByteCodePage& page : SingleByteCodePages()) {
      const SingleByteCodec& codec = *FindSingleByteCodec(page.CodePage);
      result.push_back({page.CodePage, MapCase(codec, u_toupper), MapCase(codec, u_tolower)});
    }
    return result;
  }();
  codePage = ResolveCodePage(codePage);
  for (const CaseTables& tables : all)
    if (tables.CodePage == codePage) return tables;
  throw EConvertError("Code page " + std::to_string(codePage) + " is not supported");
}

// `out` becomes `text` mapped by `table` (its storage reused).
void MapText(std::string& out, std::string_view text, const std::array<unsigned char, 256>& table) {
  out.resize(text.size());
  for (size_t i = 0; i < text.size(); ++i) out[i] = static_cast<char>(table[static_cast<unsigned char>(text[i])]);
}

} // namespace

std::string AnsiLowerCase(std::string_view text) {
  std::string out;
  MapText(out, text, CaseTablesOf(CP_ACP).Lower);
  return out;
}

void AnsiLowerCaseTo(std::string& out, std::string_view text) { MapText(out, text, CaseTablesOf(CP_ACP).Lower); }

std::string AnsiUpperCase(std::string_view text) {
  std::string out;
  MapText(out, text, CaseTablesOf(CP_ACP).Upper);
  return out;
}

unsigned char AnsiUpperChar(unsigned char ch, unsigned codePage) {
  return CaseTablesOf(codePage).Upper[ch];
}

unsigned char AnsiLowerChar(unsigned char ch, unsigned codePage) {
  return CaseTablesOf(codePage).Lower[ch];
}
