// The misprint test of valid words: a word is suspected only when the prose the word
// frequencies were counted from shows it rare while a far more frequent word lies one slip
// away (a letter changed, left out, added, or two neighbours swapped).
#pragma once

#include <string>
#include <vector>

#include "proofing/language_format.h"
#include "proofing/word_frequencies.h"

// The words next to the one examined (frequency keys; empty when punctuation or the end of a
// paragraph lies between).
struct TMisprintContext {
  std::string Previous, Next;
};

// The context of the word at Start..Start+Length of `Text`, read in the code page of `Lcid`.
TMisprintContext MisprintContextAt(const std::u16string& Text, int Start, int Length, LCID Lcid);

// The frequency keys of the words that `Key` (a valid word's FrequencyKey) is likely a slip
// for, likeliest first; empty when the word is not suspect or there is no frequency data.
// Slips between letters that `Block` marks as similar (neighbouring keys, sound-alikes) and
// doubled letters need less evidence than others, and so does a word meant that the prose shows
// beside a neighbour of the context; a word the prose shows beside one is not suspected.
std::vector<std::string> MisprintCandidates(const TWordFrequencies& Frequencies, const TQLanguageBlock& Block,
                                            const std::string& Key, const TMisprintContext& Context = {});
