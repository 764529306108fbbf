#include "tools/symbol_insert.h"

#include "textcore/rich_edit.h"
#include "textcore/rich_edit_attributes.h"

void InsertSymbolInto(TRichEditW& editor, char16_t code, const std::string& fontName) {
  editor.SetSelTextW(std::u16string(1, code));
  if (fontName.empty()) return;
  const int after = editor.SelStart();
  editor.SetSelStart(after - 1);
  editor.SetSelLength(1);
  editor.SelAttributes()->SetName(fontName);
  editor.SetSelStart(after);
  editor.SetSelLength(0);
}
