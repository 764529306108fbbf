// The platform's readers: RTF, the settings store's file and INI text.
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_readers.h"
#include "fuzz/fuzz_support.h"
#include "platform/exceptions.h"
#include "platform/ini_document.h"
#include "platform/registry_store.h"
#include "platform/rtf_reader.h"
#include "platform/rtf_writer.h"

// The RTF reader either refuses the bytes with EConvertError or reads a document. That document
// written and read again must come back equal; written without objects, it must read back as the
// same text with a blank for each object.
int FuzzRtf(const std::uint8_t* Data, std::size_t Size) {
  TRichDocument document;
  try {
    document = ReadRtf(FuzzText(Data, Size));
  } catch (const EConvertError&) {
    return 0;
  }
  if (document.Paragraphs.empty()) std::abort();
  if (!(ReadRtf(WriteRtf(document)) == document)) std::abort();

  std::u16string blanked;
  for (std::size_t i = 0; i < document.Paragraphs.size(); ++i) {
    if (i > 0) blanked += RichParagraphEnd;
    for (const TRichRun& run : document.Paragraphs[i].Runs) blanked += run.Object ? u" " : run.Text;
  }
  TRtfWriteOptions noObjects;
  noObjects.NoObjects = true;
  if (ReadRtf(WriteRtf(document, noObjects)).PlainText() != blanked) std::abort();
  return 0;
}

// A store file is parsed (a newer format is refused) and what was kept formats and parses again.
int FuzzRegistry(const std::uint8_t* Data, std::size_t Size) {
  try {
    const RegParseResult result = ParseRegistryText(std::string(FuzzText(Data, Size)), "fuzz.registry");
    const std::string text = FormatRegistryText(*result.Root, "HKEY_CURRENT_USER");
    if (ParseRegistryText(text, "fuzz.registry").Damaged) std::abort();
  } catch (const ERegistryException&) {
  }
  return 0;
}

// INI text: every section and key is read, one value changed and the text written.
int FuzzIni(const std::uint8_t* Data, std::size_t Size) {
  IniDocument ini;
  ini.Parse(FuzzText(Data, Size));
  for (const std::string& section : ini.SectionNames())
    for (const auto& [key, value] : ini.Entries(section)) ini.Value(section, key);
  ini.Set("Fuzz", "Key", "value");
  ini.Text();
  return 0;
}
