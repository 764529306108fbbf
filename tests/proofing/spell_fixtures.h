// Small dictionaries and languages written into a temporary folder for the spelling tests.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/files.h"
#include "proofing/dictionary_format.h"
#include "proofing/language_format.h"
#include "proofing/spell.h"

// A fresh temporary folder, removed with the object. Name() ends with '/'.
class TTempFolder {
public:
  TTempFolder();
  ~TTempFolder();
  const std::string& Name() const { return FName; }
  std::string operator/(const std::string& File) const { return FName + File; }

private:
  std::string FName;
};

// Writes "<Name>.qdi" and "<Name>.qd" (sorted as the dictionary needs) into `Folder`.
void WriteTestDictionary(const std::string& Folder, const std::string& Name, LCID Lcid,
                         std::vector<std::string> Words, int Group = 1, int OnByDefault = 1);
// Writes "<Name>.qlx" with the alphabet, letter tables for the misprint test and common words.
void WriteTestLanguage(const std::string& Folder, const std::string& Name, LCID Lcid, const std::string& Alphabet,
                       const std::vector<std::string>& CommonWords = {});
// Code page 1251 text from UTF-8.
std::string Cp1251(const std::string& Utf8);

// A suite over the program's own spelling dictionaries (built into the program folder), loaded
// once for all its tests.
class ShippedSpellTest : public ::testing::Test {
protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
  static TQSpell* Spell;
};
