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

// Sets the text colour, or the language, of ranges of the editor. A plain text holds one
// format for all its characters, so there a mark takes the whole text: the marks then leave
// the last colour and the last language over all of it, which `Finish` applies once (a mark
// each would format the whole text again and again).
class TEditorMarks {
public:
  explicit TEditorMarks(TRichEditW& editor);
  void Colour(int start, int end, TColor colour);
  void Language(int start, int end, unsigned lcid);
  // Applies what a plain text keeps of the marks made; nothing to do in formatted text.
  void Finish();

private:
  TRichEditW& editor_;
  const bool plain_;
  bool colourSet_ = false, languageSet_ = false;
  TColor colour_ = 0;
  unsigned lcid_ = 0;
};

// Reports how far a tool is (done of total); answers true to stop.
using TToolStep = std::function<bool(int64_t done, int64_t total)>;

// The program's settings key, under which each tool keeps its own section.
inline constexpr const char* kToolsRegistryKey = "Software\\Vortanel\\Quillomark";
