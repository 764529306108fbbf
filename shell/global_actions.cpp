#include "shell/global_actions.h"

#include <vector>

#include "platform/code_pages.h"
#include "textcore/cyr_codes.h"

namespace {

// `text` changed in code page 1251 by `change` (a pass that keeps the length); characters the
// code page lacks stay as they were.
template <typename Change>
std::u16string ThroughCodePage(std::u16string_view text, Change change) {
  std::string bytes(text.size(), '\0');
  std::vector<bool> held(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] >= 0xD800 && text[i] <= 0xDFFF) continue;
    bool lossy = false;
    const std::string byte = WideToAnsi(text.substr(i, 1), 1251, &lossy);
    if (lossy || byte.size() != 1) continue;
    bytes[i] = byte[0];
    held[i] = true;
  }
  const std::string changed = change(bytes);
  std::u16string out(text);
  for (size_t i = 0; i < out.size() && i < changed.size(); ++i)
    if (held[i] && changed[i] != bytes[i]) out[i] = AnsiToWide(std::string_view(&changed[i], 1), 1251)[0];
  return out;
}

}  // namespace

TGlobalStep GlobalActionStep(int action, bool foreign) {
  TGlobalStep step;
  auto roundTrip = [&](TForeignTransform transform) {
    step.Kind = TGlobalStep::RoundTrip;
    step.Transform = transform;
  };
  auto own = [&](TOwnCommand command) {
    step.Kind = TGlobalStep::OwnCommand;
    step.Command = command;
  };
  if (action == 2) {
    roundTrip(TForeignTransform::KeyboardLayout);  // in front, the main window's editor has the focus
  } else if (action >= 3 && action <= 5) {
    const TForeignTransform transforms[] = {TForeignTransform::Transliterate, TForeignTransform::DeTransliterate,
                                            TForeignTransform::TextCleanup};
    const TOwnCommand commands[] = {TOwnCommand::Transliterate, TOwnCommand::DeTransliterate,
                                    TOwnCommand::TextCleanup};
    if (foreign)
      roundTrip(transforms[action - 3]);
    else
      own(commands[action - 3]);
  } else if (!foreign) {
    return step;
  } else if (action == 0) {
    roundTrip(TForeignTransform::QuickPanel);
  } else if (action == 1) {
    roundTrip(TForeignTransform::OpenInEditor);
  } else if (action >= 6 && action <= 13) {
    roundTrip(TForeignTransform::Recode);
    step.Source = action <= 9 ? 0 : action - 9;
    step.Target = action <= 9 ? action - 5 : 0;
  } else if (action == 14) {
    roundTrip(TForeignTransform::Template);
  }
  return step;
}

std::u16string RecodeForeignText(std::u16string_view text, int source, int target) {
  const auto map = CyrCodeMap(source, target);
  return ThroughCodePage(text, [&](std::string bytes) {
    for (char& c : bytes) c = char(map[static_cast<unsigned char>(c)]);
    return bytes;
  });
}

std::u16string ApplyTemplate(std::u16string_view pattern, std::u16string_view text) {
  std::u16string out;
  for (char16_t c : pattern) {
    if (c == u'$')
      out += text;
    else
      out += c;
  }
  return out;
}
