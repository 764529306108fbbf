// The RTF reader on arbitrary bytes: it either refuses them with EConvertError or reads a
// document. That document written and read again must come back equal; written without
// objects, it must read back as the same text with a blank for each object.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/exceptions.h"
#include "platform/rtf_reader.h"
#include "platform/rtf_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  TRichDocument document;
  try {
    document = ReadRtf(input);
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
