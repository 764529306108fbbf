#include <gtest/gtest.h>

#include "correction_engine_fixture.h"

#include <fstream>

#include "platform/code_pages.h"
#include "platform/files.h"
#include "proofing/grammar_cipher.h"
#include "proofing/validator.h"

CorrectionEngineTest::CorrectionEngineTest() {
  // The module-wide validators load once, from the program folder of the generated data.
  SetProgramFolder(QM_PROGRAM_DIR "/");
  EnglishValidator();
  RussianValidator();
  SetProgramFolder(Folder.Name());
  ForceDirectories(Folder / "Dict");
  WriteTestLanguage(Folder / "Dict/", "russian", 1049, Cp1251("абвгдежзийклмнопрстуфхцчшщъыьэюя"));
  WriteTestLanguage(Folder / "Dict/", "english", 1033, "abcdefghijklmnopqrstuvwxyz");
  std::vector<std::string> russian;
  for (const char* word : {"жаа", "ааж", "ажа", "шаа", "жжжаа", "думать", "кот", "дом", "-жаа", "мама", "привет"})
    russian.push_back(Cp1251(word));
  WriteTestDictionary(Folder / "Dict/", "ru_test", 1049, russian);
  WriteTestDictionary(Folder / "Dict/", "ru_rare", 1049, {Cp1251("редкое")}, 2, 0);
  WriteTestDictionary(Folder / "Dict/", "en_test", 1033, {"the", "cat", "house", "is", "big"});
  Spell.LoadLanguages(Folder / "Dict/");
  Engine.Spell = &Spell;
  Engine.Editor = &Editor;
  Engine.GrammarFile = "test.qg";
  Engine.ExecMode = emNoDialog;
}

CorrectionEngineTest::~CorrectionEngineTest() { SetProgramFolder(QM_PROGRAM_DIR "/"); }

void CorrectionEngineTest::WriteGrammar(const std::string& Name, const std::string& Utf8Ini, unsigned Key) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < Utf8Ini.size()) {
    size_t end = Utf8Ini.find('\n', start);
    if (end == std::string::npos) end = Utf8Ini.size();
    lines.push_back(Cp1251(Utf8Ini.substr(start, end - start)));
    start = end + 1;
  }
  std::ofstream out(Folder / (Name + ".qge"), std::ios::binary);
  for (const std::string& line : EncipherLines(lines, Key, kGrammarMultiplier)) out << line << "\r\n";
  std::ofstream(Folder / (Name + ".qg")) << "grammar\n";
}

std::string CorrectionEngineTest::Run(const std::string& Schema, const std::string& Rules, const std::string& Utf8Text) {
  WriteGrammar("test",
               "[General]\nInfo=Test\n[Validator1]\nName=russian\nLanguage=1049\n"
               "[Schema1]\nId=Test\nValidator=russian\nPerformAnalytical=1\nAnalytical=R\n" +
                   Schema + "\n[R]\n" + Rules + "\n");
  Engine.LoadGrammar();
  Engine.Dialog().Automatic = true;
  Engine.SelectScheme(0);
  Editor.SetText(Cp1251(Utf8Text));
  Editor.SetSelection(0, 0);
  Engine.Execute();
  return Utf8(Editor.Text());
}

std::string CorrectionEngineTest::Utf8(const std::string& Cp1251Text) { return WideToUtf8(AnsiToWide(Cp1251Text, 1251)); }
