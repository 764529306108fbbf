// The tools' inputs: the symbol table, calculator formulas and mail-encoded text; and the data
// tree's stream.
#include <cstring>
#include <string>

#include "components/data_tree_model.h"
#include "components/data_tree_node.h"
#include "fuzz/fuzz_readers.h"
#include "fuzz/fuzz_support.h"
#include "platform/exceptions.h"
#include "platform/streams.h"
#include "tools/expression_parser.h"
#include "tools/mail_decoder.h"
#include "tools/symbol_list.h"

// "symbols.dat": its lines, each read, with the hot-key search over them.
int FuzzSymbols(const std::uint8_t* Data, std::size_t Size) {
  const std::vector<std::string> lines = LoadSymbolLines(WriteFuzzFile("symbols.dat", FuzzText(Data, Size)));
  for (const std::string& line : lines)
    if (ParseSymbolLine(line)) WithShortcut(line, "Alt+X");
  FindSymbolHotKey(lines, 'X', TShiftState{});
  SymbolGridRows(SymbolGridColumns(400), int(lines.size()));
  ClearFuzzFiles();
  return 0;
}

// A formula with the calculator's functions and a variable, evaluated when it parses; integer
// operators without a result raise EMathError.
int FuzzExpression(const std::uint8_t* Data, std::size_t Size) {
  TParser parser;
  parser.RegisterDefaults();
  parser.AddVariable("x", 1.5);
  int error = 0;
  if (auto tree = parser.Parse(FuzzText(Data, Size), error)) {
    try {
      tree->Evaluate();
    } catch (const EMathError&) {
    }
  }
  return 0;
}

// Mail-encoded text: the first byte picks the codes ("=", "%", "\'" hexadecimal or "&#" ";"
// decimal), the rest is the text as UTF-16.
int FuzzMailDecoder(const std::uint8_t* Data, std::size_t Size) {
  if (Size == 0) return 0;
  static const TMailCodes kCodes[] = {
      {u"=", u"", false}, {u"%", u"", false}, {u"\\'", u"", false}, {u"&#", u";", true}};
  const TMailCodes& codes = kCodes[Data[0] % 4];
  std::u16string text((Size - 1) / 2, u'\0');
  std::memcpy(text.data(), Data + 1, text.size() * 2);
  std::u16string out;
  DecodeMailCodes(text, codes, out);
  return 0;
}

// A data tree stream read into a tree; a stream of another format is refused with EDataTreeError.
// The tree is kept between inputs: each tree starts and stops the shared worker thread.
int FuzzDataTreeStream(const std::uint8_t* Data, std::size_t Size) {
  static TDataTreeModel tree;
  TStringStream stream(std::string(FuzzText(Data, Size)));
  try {
    tree.LoadFromStream(stream);
  } catch (const EDataTreeError&) {
  }
  return 0;
}
