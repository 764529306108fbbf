// The letter model: letters in the order the words have them cost less than the same letters in
// an order they never show, word edges count, and a damaged file is refused.
#include <gtest/gtest.h>

#include "proofing/letter_model.h"
#include "spell_fixtures.h"

namespace {

TLetterModel Model(const std::vector<std::string>& Words) {
  TLetterModel model;
  model.LoadFromBytes(BuildLetterModelFile(1251, Cp1251("абвгдеёжзийклмнопрстуфхцчшщъыьэюя"), Words));
  return model;
}

const std::vector<std::string> kWords = {Cp1251("чаще"), Cp1251("слаще"), Cp1251("площадь"), Cp1251("русский"),
                                         Cp1251("близкий"), Cp1251("линии"), Cp1251("яма"), Cp1251("янтарь")};

TEST(LetterModel, ReadingsInTheWordsOrderOfLettersCostLess) {
  const TLetterModel model = Model(kWords);
  struct TCase {
    const char* Likely;
    const char* Unlikely;
  };
  for (const TCase& c : std::vector<TCase>{{"кащеев", "кашхеев"},
                                           {"ключевский", "клиючевскии"},
                                           {"янина", "иянина"}})
    EXPECT_LT(model.Cost(Cp1251(c.Likely)), model.Cost(Cp1251(c.Unlikely))) << c.Likely;
  // Case does not matter; a blank or a sign ends a part; a Latin letter costs the most.
  EXPECT_EQ(model.Cost(Cp1251("ЯМА")), model.Cost(Cp1251("яма")));
  EXPECT_EQ(model.Cost(Cp1251("яма-яма")), 2 * model.Cost(Cp1251("яма")));
  EXPECT_GT(model.Cost(Cp1251("яма") + "x"), model.Cost(Cp1251("яма")) + 200);
  EXPECT_EQ(TLetterModel().Cost(Cp1251("яма")), 0);
}

TEST(LetterModel, DamagedFileIsRefusedAndLeavesNoModel) {
  const std::string file = BuildLetterModelFile(1251, Cp1251("абв"), {Cp1251("ба")});
  TLetterModel model;
  model.LoadFromBytes(file);
  EXPECT_FALSE(model.Empty());
  for (const std::string& damaged : {file.substr(0, file.size() - 1), "QLM2" + file.substr(4), std::string()}) {
    EXPECT_THROW(model.LoadFromBytes(damaged), ELetterModelError);
    EXPECT_TRUE(model.Empty());
  }
}

}  // namespace
