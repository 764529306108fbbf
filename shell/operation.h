// The parts of the operation frame that do not need a window: the processing options it reads,
// the encoding pass over the work text and the word-by-word walk of the styled write-back.
#pragma once

#include <functional>
#include <string>
#include <string_view>

// The processing options ("Speed" section of the processing-options window).
struct TProcessingOptions {
  bool EnableUndo = false;     // "Enable step-by-step undo"
  bool EnableHist = false;     // "Save original text to History"
  bool PreserveStyle = false;  // "Preserve text styles"
  int HistIgnoreSize = 20;     // "Ignore files over" ... "KB" (thousands of characters)
};

// Reports how far a pass is (position of total); answers true to stop.
using TStepEvent = std::function<bool(int64_t position, int64_t total)>;

// Recodes `text` (code-page bytes) from encoding column `source` to `target` of the Cyrillic
// code table. Answers false, with `text` unchanged, when `step` asked to stop.
bool RecodeCyrillicText(std::string& text, int source, int target, const TStepEvent& step);

// The history name of a conversion between two columns: "KOI to WIN".
std::string RecodeHistoryName(int source, int target);

// The UTF-16 text that `after` (the work text in code page 1251 once an operation changed it)
// stands for, keeping the characters of `original` whose bytes the operation left as they were,
// so that characters the code page cannot hold survive. `before` is `original` in code page 1251
// (one byte per character, one for a surrogate pair). When the length changed, the unchanged
// head and tail are kept.
std::u16string WorkTextToWide(std::u16string_view original, std::string_view before, std::string_view after);

// `text` with every character outside ASCII made 'x': token offsets in it are UTF-16 offsets.
std::string WorkTextShape(std::u16string_view text);

// Walks the tokens of `text` between the write-back delimiters (blanks, control characters and
// punctuation), calling `write` with each non-empty token and its 0-based offset; `step` gets
// the position after each token. Answers false when `step` asked to stop.
bool WalkWorkTokens(std::string_view text, const TStepEvent& step,
                    const std::function<void(int offset, const std::string& token)>& write);
