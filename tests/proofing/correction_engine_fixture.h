// A correction engine over a small grammar, a small speller and plain text, in a temporary
// program folder.
#pragma once

#include <string>
#include <vector>

#include "proofing/correction_engine.h"
#include "proofing/spell.h"
#include "proofing/text_correction_editor.h"
#include "spell_fixtures.h"

// Plain text that also records the colours the engine paints.
class TRecordingEditor : public TTextCorrectionEditor {
public:
  using TTextCorrectionEditor::TTextCorrectionEditor;
  void SetColour(int Start, int End, unsigned Colour) override { Colours.push_back({Start, End, Colour}); }
  struct TPaint {
    int Start, End;
    unsigned Colour;
    bool operator==(const TPaint&) const = default;
  };
  std::vector<TPaint> Colours;
};

class CorrectionEngineTest : public ::testing::Test {
protected:
  CorrectionEngineTest();
  ~CorrectionEngineTest() override;

  // Writes "<Name>.qge" from UTF-8 INI lines (enciphered with `Key`) and an empty "<Name>.qg".
  void WriteGrammar(const std::string& Name, const std::string& Utf8Ini, unsigned Key = 0);
  // Loads "test.qg" written from `Body` (the General, Validator1 and Schema1 heads are added)
  // and runs it without the dialog, in automatic mode, over `Utf8Text`; returns the text.
  std::string Run(const std::string& Schema, const std::string& Rules, const std::string& Utf8Text);
  static std::string Utf8(const std::string& Cp1251Text);

  TTempFolder Folder;
  TQSpell Spell;
  TQGrammar Engine;
  TRecordingEditor Editor;
};
