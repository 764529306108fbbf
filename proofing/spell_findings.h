// One finding of an automatic document check as the results window holds it, and the rules that
// keep it on its text and colour its marking.
#pragma once

#include <string>

#include "proofing/spell_interfaces.h"

struct TSpellFinding {
  TWordClass Kind = wcUnrecognized;
  std::string Word;    // the finding's text
  std::string Second;  // its suggestion or replacement
  int Start = 0;       // position in the editor text
  int Length = 0;      // full length of the range, however long
  LCID Lcid = 0;
};

// The editor back colour that marks findings of a kind drawn in `Colour` (0x00BBGGRR): each
// channel raised by 224, capped at 255.
unsigned SpellMarkColour(unsigned Colour);

// Keeps `Finding` on its text after `Removed` characters at `Pos` were replaced by `Added`.
// Returns false when the change touched the finding's own text (it stays where it was).
bool FollowTextChange(TSpellFinding& Finding, int Pos, int Removed, int Added);
