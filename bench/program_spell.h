// The spelling component on the program's own dictionaries (those of the built program folder),
// loaded once for a benchmark.
#pragma once

#include "proofing/spell.h"

inline TQSpell& ProgramSpell() {
  static TQSpell* spell = [] {
    auto* s = new TQSpell();
    s->LoadLanguages(QM_PROGRAM_DIR "/Dict/");
    s->EnableStandardDictionaries();
    return s;
  }();
  return *spell;
}
