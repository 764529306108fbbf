// The global actions the system-wide hot keys start: what each does with the foreground
// application's selection or, when the main window is in front, in the main window; and the
// transforms of the copied text that need no window.
#pragma once

#include <string>
#include <string_view>

// How the copied text is transformed.
enum class TForeignTransform { QuickPanel, OpenInEditor, KeyboardLayout, Transliterate, DeTransliterate,
                               TextCleanup, Recode, Template };
// The main window's own commands some actions run when it is in front.
enum class TOwnCommand { Transliterate, DeTransliterate, TextCleanup };

struct TGlobalStep {
  enum TKind { Nothing, RoundTrip, OwnCommand } Kind = Nothing;
  TForeignTransform Transform = TForeignTransform::QuickPanel;  // for RoundTrip
  TOwnCommand Command = TOwnCommand::Transliterate;             // for OwnCommand
  int Source = 0, Target = 0;  // code table columns of the recode transform
};

// What action `action` does with another application (`foreign`) or the main window in front.
TGlobalStep GlobalActionStep(int action, bool foreign);

// `text` with each character of code page 1251 recoded from column `source` to column `target`
// of the Cyrillic code table; characters the code page lacks stay.
std::u16string RecodeForeignText(std::u16string_view text, int source, int target);
// `pattern` with every "$" replaced by `text`.
std::u16string ApplyTemplate(std::u16string_view pattern, std::u16string_view text);
