// Putting one symbol into an editor.
#pragma once

#include <string>

class TRichEditW;

// Replaces the selection by the character; with a font name, gives the character that font.
// The caret ends after the character.
void InsertSymbolInto(TRichEditW& editor, char16_t code, const std::string& fontName);
