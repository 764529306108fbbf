#include "proofing/spell_findings.h"

#include <gtest/gtest.h>

TEST(SpellFindings, MarkColourRaisesEachChannelCapped) {
  EXPECT_EQ(SpellMarkColour(0x000080u), 0xE0E0FFu);  // maroon
  EXPECT_EQ(SpellMarkColour(0x808000u), 0xFFFFE0u);  // teal
  EXPECT_EQ(SpellMarkColour(0x800000u), 0xFFE0E0u);  // navy
  EXPECT_EQ(SpellMarkColour(0xC0C0C0u), 0xFFFFFFu);
}

TEST(SpellFindings, FollowsChangesAnywhereInTheText) {
  struct Case {
    int Pos, Removed, Added;
    int Start;
    bool Kept;
  };
  // The finding starts at 10 and is 5 long.
  const Case Cases[] = {
      {0, 0, 3, 13, true},    // typed above
      {2, 4, 0, 6, true},     // deleted above
      {5, 5, 1, 6, true},     // replaced up to its start
      {15, 0, 7, 10, true},   // typed after it
      {20, 3, 0, 10, true},   // deleted after it
      {12, 1, 1, 10, false},  // its own text changed
      {8, 4, 0, 10, false},   // a deletion reaching into it
  };
  for (const Case& C : Cases) {
    TSpellFinding F{wcUnrecognized, "слово", "", 10, 5, 1049};
    EXPECT_EQ(FollowTextChange(F, C.Pos, C.Removed, C.Added), C.Kept) << C.Pos << "," << C.Removed;
    EXPECT_EQ(F.Start, C.Start) << C.Pos << "," << C.Removed;
    EXPECT_EQ(F.Length, 5);
  }
}

TEST(SpellFindings, LongFindingKeepsItsWholeRange) {
  TSpellFinding F{wcExtraSpace, std::string(300, ' '), "", 40, 300, 1033};
  EXPECT_EQ(F.Length, 300);
  EXPECT_TRUE(FollowTextChange(F, 0, 0, 2));
  EXPECT_EQ(F.Start, 42);
  EXPECT_EQ(F.Length, 300);
  EXPECT_FALSE(FollowTextChange(F, 300, 1, 0));  // inside the long range, past byte 255
}
