// The "Spelling Suggestions" submenu of the editor's context menu as data: what each item
// shows, what it puts into the text, and where a new column begins.
#pragma once

#include <string>
#include <vector>

struct TSuggestionMenuItem {
  std::string Caption;        // the text shown ("&" already doubled); "-" for a separator
  std::u16string Replacement;  // what choosing the item puts in place of the selection
  bool Default = false;       // shown bold
  bool Enabled = true;
  bool BarBreak = false;      // starts a new column with a bar
};

// The selection as a word to check, or empty when it cannot be one: a selection with a blank or
// line break in it, or longer than any word, is never spelled or shown as a caption.
std::u16string SpellableWord(const std::u16string& selection);

// The submenu for `word` (already a spellable word): the word itself (bold) and a separator when
// `valid`, then the suggestions (bold, ending in "." once when the word does, ten a column up to the
// sixth), or one disabled "- None -" when there is nothing to offer. Captions and suggestions
// are UTF-16; captions are shown in the system code page.
std::vector<TSuggestionMenuItem> SuggestionMenu(const std::u16string& word, bool valid,
                                                const std::vector<std::u16string>& suggestions);
