// The entries of the main window's pick list and look-up menu: date-time formats, text
// fragments, the web look-up services, and the suggestion entries that add a user word.
#pragma once

#include <string>
#include <vector>

#include "textcore/date_time_format.h"

// The formats offered when there is no "datetime.ini", and the fragments without "fragment.ini".
const std::vector<std::string>& DefaultDateTimeFormats();
const std::vector<std::string>& DefaultFragments();

// Each format (code page 1251) applied to `now`.
std::vector<std::u16string> DateTimeEntries(const std::vector<std::string>& formats, const TDateTimeValue& now,
                                            const TDateTimeSettings& settings);
// The fragment (code page 1251) with every "..." replaced by `selection`, or `selection`
// followed by the fragment when it has no "...".
std::u16string ApplyFragment(const std::string& fragment, const std::u16string& selection);

// A web look-up service: its menu caption and its address template ("#" stands for the word).
struct TLookupService {
  std::string Name, Template;
};
// The services of "interlook.ini" lines (as RuleFileLines gives them: "name=template", the
// template cut to 1000 characters; "="-less lines are passed over); the default services when
// no line gives one.
std::vector<TLookupService> LookupServices(const std::vector<std::string>& lines);

// A suggestion entry beginning with "+" adds the rest (trimmed) to a user dictionary: true and
// the word with the language of its first letter (1033 for ASCII, else 1049).
bool UserWordEntry(const std::u16string& entry, std::u16string& word, unsigned& lcid);
