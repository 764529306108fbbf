// What the text tools do to the editor: take the selection (or the whole text) and mark
// ranges of it with a colour or a language.
#pragma once

#include <functional>
#include <string>

#include "platform/gui/gui_types.h"

class TRichEditW;

// The selection, or the whole text when nothing is selected, and where it starts.
struct TEditorRange {
  int Start = 0;
  std::u16string Text;
};
TEditorRange EditorWorkRange(TRichEditW& editor);

// Sets the text colour, or the language, of `start`..`end` (each one undo step).
void ColourEditorRange(TRichEditW& editor, int start, int end, TColor colour);
void SetEditorRangeLanguage(TRichEditW& editor, int start, int end, unsigned lcid);

// Reports how far a tool is (done of total); answers true to stop.
using TToolStep = std::function<bool(int64_t done, int64_t total)>;

// The program's settings key, under which each tool keeps its own section.
inline constexpr const char* kToolsRegistryKey = "Software\\Vortanel\\Quillomark";
