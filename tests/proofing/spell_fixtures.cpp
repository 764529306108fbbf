#include "spell_fixtures.h"

#include <random>

#include "platform/code_pages.h"
#include "platform/locale.h"

TTempFolder::TTempFolder() {
  std::random_device random;
  const auto path = std::filesystem::temp_directory_path() / ("qm-proofing-" + std::to_string(random()));
  std::filesystem::create_directories(path);
  FName = path.string() + "/";
}

TTempFolder::~TTempFolder() {
  std::error_code error;
  std::filesystem::remove_all(FName, error);
}

void WriteTestDictionary(const std::string& Folder, const std::string& Name, LCID Lcid,
                         std::vector<std::string> Words, int Group, int OnByDefault) {
  SortDictWords(Lcid, Words);
  TQDictHeader header;
  header.SetLcid(Lcid);
  header.SetTitle(Name + " title");
  header.SetDescription(Name + " description");
  header.SetDataName(Name);
  header.SetGroupNumber(Group);
  header.SetOnByDefault(OnByDefault);
  WriteFileAtomic(Folder + Name + ".qd", BuildDictData(Words, header));
  WriteFileAtomic(Folder + Name + ".qdi", std::string(header.Bytes.data(), kDictHeaderSize));
}

void WriteTestLanguage(const std::string& Folder, const std::string& Name, LCID Lcid, const std::string& Alphabet,
                       const std::vector<std::string>& CommonWords) {
  TQLanguageBlock block;
  block.SetLcid(Lcid);
  block.SetName(Name);
  block.SetAlphabet(Alphabet);
  block.SetInsertionLetters("aeiou");
  for (char c : Alphabet) {
    const auto ch = static_cast<unsigned char>(c);
    block.SetSimilar(ch, "aeiou");
    block.SetFollowing(ch, Alphabet.substr(0, std::min<size_t>(Alphabet.size(), 40)));
    block.SetDoubled(ch, std::string(1, c));
  }
  WriteFileAtomic(Folder + Name + ".qlx", BuildLanguageFile(block, CommonWords, {"unused"}));
}

std::string Cp1251(const std::string& Utf8) { return WideToAnsi(Utf8ToWide(Utf8), 1251); }

TQSpell* ShippedSpellTest::Spell = nullptr;

void ShippedSpellTest::SetUpTestSuite() {
  SetProgramFolder(QM_PROGRAM_DIR "/");
  Spell = new TQSpell();
  Spell->LoadLanguages(QM_PROGRAM_DIR "/Dict/");
  Spell->EnableStandardDictionaries();
}

void ShippedSpellTest::TearDownTestSuite() {
  delete Spell;
  Spell = nullptr;
}
