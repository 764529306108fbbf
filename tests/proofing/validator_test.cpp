#include "proofing/validator.h"

#include <gtest/gtest.h>

#include "spell_fixtures.h"

namespace {

int Index(const std::string& Letter) { return ValidatorLetterIndex(static_cast<unsigned char>(Letter[0])); }

// Letters a and b: "ab" is a word; b may follow a inside a word before c.
std::string SmallLatinValidator() {
  TQValidatorRecord a, b;
  a.Name = "a";
  a.StartMask = 1u << Index("b");
  a.WholeWord = 1;
  b.Name = "b";
  b.EndMask = 1u << Index("a");
  b.Transitions[Index("c")] = 1u << Index("a");
  TQValidatorRecord later = a;  // a second record of a name is ignored: the first wins
  later.WholeWord = 0;
  later.StartMask = 0;
  return EncodeValidatorRecord(b) + EncodeValidatorRecord(a) + EncodeValidatorRecord(later);
}

TQValidator Load(const TTempFolder& Folder, const std::string& Bytes, const std::string& Alphabet) {
  WriteFileAtomic(Folder / "test.qgo", Bytes);
  TQValidator validator;
  validator.Alphabet = MakeCharSet(Alphabet);
  validator.LoadFromFile(Folder / "test.txt");  // the extension is replaced by ".qgo"
  return validator;
}

TEST(Validator, FragmentsAndScores) {
  TTempFolder folder;
  const TQValidator validator =
      Load(folder, SmallLatinValidator(), "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
  EXPECT_EQ(validator.RecordCount(), 3);
  EXPECT_TRUE(validator.IsValidFragment("", "a", ""));   // whole word
  EXPECT_FALSE(validator.IsValidFragment("", "b", ""));
  EXPECT_TRUE(validator.IsValidFragment("", "a", "b"));  // start mask
  EXPECT_TRUE(validator.IsValidFragment("A", "B", ""));  // end mask, after lower-casing
  EXPECT_TRUE(validator.IsValidFragment("a", "b", "c"));
  EXPECT_FALSE(validator.IsValidFragment("a", "b", "d"));
  EXPECT_TRUE(validator.IsValidFragment("a", "b", "_"));  // "_" after the fragment counts as a blank
  EXPECT_TRUE(validator.IsValidFragment("x", "zz", "y"));  // no record
  EXPECT_TRUE(validator.IsValidFragment("x", "", "y"));
  EXPECT_TRUE(validator.IsValidFragment("x", "9b", "y"));  // digits and marks are always valid
  struct Case {
    const char* Word;
    int Score;
  };
  const Case cases[] = {{"ab", 0}, {"AB", 0}, {"abc", 0}, {"abd", 1}, {"ba", 2},
                        {"a", 0},  {"b", 1},  {"a1", 99}, {"a-b", 1}};
  for (const auto& c : cases) EXPECT_EQ(validator.Score(c.Word), c.Score) << c.Word;
}

TEST(Validator, YoIsJudgedAsYe) {
  TTempFolder folder;
  TQValidatorRecord ye, zhe;
  ye.Name = Cp1251("е");
  ye.StartMask = 1u << Index(Cp1251("ж"));
  zhe.Name = Cp1251("ж");
  zhe.EndMask = 1u << Index(Cp1251("е"));
  TCharSet cyrillic;
  for (int c = 192; c <= 255; ++c) cyrillic.set(c);
  cyrillic.set(0xA8).set(0xB8);
  TQValidator validator = Load(folder, EncodeValidatorRecord(ye) + EncodeValidatorRecord(zhe), "");
  validator.Alphabet = cyrillic;
  EXPECT_EQ(validator.Score(Cp1251("еж")), 0);
  EXPECT_EQ(validator.Score(Cp1251("ёж")), 0);
  EXPECT_EQ(validator.Score(Cp1251("ЁЖ")), 0);
  EXPECT_EQ(validator.Score(Cp1251("жё")), 2);
  EXPECT_EQ(validator.Score(Cp1251("жz1")), 1 + 99 + 99);  // Latin letters and digits are outside
}

TEST(Validator, RecordCountAndMissingFile) {
  TTempFolder folder;
  const TQValidator partial = Load(folder, SmallLatinValidator() + std::string(1, 'x'), "ab");
  EXPECT_EQ(partial.RecordCount(), 3);  // 517 bytes: three records, the tail ignored
  EXPECT_NE(partial.Damage().find("is corrupt: 517 bytes"), std::string::npos) << partial.Damage();
  EXPECT_EQ(Load(folder, SmallLatinValidator(), "ab").Damage(), "");
  EXPECT_NE(Load(folder, "", "ab").Damage(), "");  // an empty file
  EXPECT_NE(Load(folder, std::string(100, 'x'), "ab").Damage(), "");  // shorter than one record
  TQValidator missing;
  missing.LoadFromFile(folder / "none.qgo");
  EXPECT_TRUE(missing.IsEmpty());
  EXPECT_EQ(missing.Score("qqq1"), 0);
  EXPECT_TRUE(missing.IsValidFragment("q", "q", "q"));
}

}  // namespace
