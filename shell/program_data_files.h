// The program's own text files that the user edits (insertion lists, look-up services, rule
// files). The program folder may be read-only, so the user edits a copy of his own.
#pragma once

#include <string>

// The user's copy of program-folder file `name`, made from the shipped file on first use.
std::string UserDataFile(const std::string& name);
// The file to read `name` from: the user's copy when there is one, else the program folder's.
std::string ProgramDataFile(const std::string& name);
