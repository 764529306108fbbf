#include "shell/command_rule.h"

#include <algorithm>

namespace {

const char* const kAlways[] = {"BtnStop", "Open1"};

}  // namespace

bool CommandAllowed(TCommandNeed need, const TCommandState& state) {
  switch (need) {
    case TCommandNeed::Always: return true;
    case TCommandNeed::Idle: return !state.Busy;
    case TCommandNeed::Text: return !state.Busy && state.HasText;
  }
  return false;
}

const std::vector<std::string>& TextCommandNames() {
  // The text commands: the converters, decoders, engines and tools that work on the text, with
  // their menu items, toolbar buttons and the encoding toolbar.
  static const std::vector<std::string> names = {
      "ToolsAutoConvert", "ToolsVerbal", "ForceKbdLayout", "EditNoColor",
      "CheckStart", "RemoveHTML1", "ConvertToPlainText1", "AutosetLanguage1", "Kestrivancorrection1",
      "Reformat1", "FixMixedCharacters1", "ConvUNICODE1", "DecodeDelimited1", "TranslittoWin12511",
      "Transliterate1", "ForcetoCyrillic1", "QuickConvert", "DOS866toWin12511", "ISO88595toWin12511",
      "KOI8toWin12511", "MactoWin12511", "Win1251toDOS8661", "Win1251toISO885951", "Win1251toKOI1",
      "Win1251toMac1", "ConvBackButton", "ConvFwdButton", "Enc1", "Enc2", "BtnTransliterate",
      "BtnDeTransliterate", "BtnCodeToChar", "BtnGrammarCheck", "BtnReformat", "BtnOCRFix",
      "BtnVerifyLang"};
  return names;
}

TCommandNeed CommandNeed(const std::string& name) {
  if (std::find(std::begin(kAlways), std::end(kAlways), name) != std::end(kAlways)) return TCommandNeed::Always;
  const auto& text = TextCommandNames();
  if (std::find(text.begin(), text.end(), name) != text.end()) return TCommandNeed::Text;
  return TCommandNeed::Idle;
}
