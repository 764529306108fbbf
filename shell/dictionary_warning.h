// The start-up warning about missing English or Russian spelling dictionaries.
#pragma once

#include <string>

// Where the warning's OK button leads: the page from which spelling dictionaries are downloaded.
extern const char* const kDictionaryDownloadPage;

// The warning's text for the languages whose dictionaries are missing; empty when none is.
std::string MissingDictionariesMessage(bool englishMissing, bool russianMissing);
// Asks the spelling component which dictionaries it found and, when English or Russian ones are
// missing, shows the warning (OK opens the download page). Does nothing before the spelling
// component exists.
void WarnMissingDictionaries();
