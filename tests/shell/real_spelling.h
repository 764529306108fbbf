// The spelling component over the dictionaries and validators the build generates, loaded once
// for a test suite that runs the real correction engines.
#pragma once

#include "platform/files.h"
#include "proofing/spell.h"
#include "proofing/validator.h"

inline TQSpell* LoadRealSpelling() {
  SetProgramFolder(QM_PROGRAM_DIR "/");
  EnglishValidator();
  RussianValidator();
  auto* spell = new TQSpell();
  spell->LoadLanguages(QM_PROGRAM_DIR "/Dict/");
  spell->EnableStandardDictionaries();
  return spell;
}
