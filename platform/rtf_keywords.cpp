#include "platform/rtf_keywords.h"

#include <string_view>
#include <unordered_map>

RtfKeyword LookupRtfKeyword(std::string_view word) {
#define QM_RTF_ENTRY(name) {#name, RtfKeyword::name},
  static const std::unordered_map<std::string_view, RtfKeyword> table = {
      QM_RTF_DESTINATIONS(QM_RTF_ENTRY) QM_RTF_SKIPPED_DESTINATIONS(QM_RTF_ENTRY)
      QM_RTF_DOCUMENT_WORDS(QM_RTF_ENTRY) QM_RTF_TABLE_WORDS(QM_RTF_ENTRY)
      QM_RTF_CHARACTER_WORDS(QM_RTF_ENTRY) QM_RTF_PARAGRAPH_WORDS(QM_RTF_ENTRY)
      QM_RTF_NUMBERING_WORDS(QM_RTF_ENTRY) QM_RTF_OBJECT_WORDS(QM_RTF_ENTRY)
      QM_RTF_TEXT_WORDS(QM_RTF_ENTRY)};
#undef QM_RTF_ENTRY
  auto it = table.find(word);
  return it == table.end() ? RtfKeyword::Unknown : it->second;
}
