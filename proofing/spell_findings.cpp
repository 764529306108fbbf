#include "proofing/spell_findings.h"

#include <algorithm>

unsigned SpellMarkColour(unsigned Colour) {
  unsigned Result = 0;
  for (int Shift = 0; Shift < 24; Shift += 8) {
    const unsigned Channel = std::min(((Colour >> Shift) & 0xFFu) + 224u, 255u);
    Result |= Channel << Shift;
  }
  return Result;
}

bool FollowTextChange(TSpellFinding& Finding, int Pos, int Removed, int Added) {
  if (Pos + Removed <= Finding.Start) {
    Finding.Start += Added - Removed;
    return true;
  }
  if (Pos >= Finding.Start + Finding.Length) return true;
  return false;
}
