// File and folder helpers of the component library. Names use "/" (a folder name ends in one);
// there are no drive letters and no short 8.3 names on this system.
#pragma once

#include <string>

namespace FileUtil {

// The folder name with a trailing "/" (unchanged when empty or already ending in one).
std::string NormalizeDirName(const std::string& dir);
bool DirExists(const std::string& name);
// Creates the folder and every missing parent; false when it cannot be made.
[[nodiscard]] bool CreateDirPath(const std::string& dir);
// The system's data folder (there is no Windows folder here).
std::string GetWindowsDirName();
// Not empty, and no "/" nor control characters (NUL among them) in the name.
bool ValidFileName(const std::string& name);
// The name of the existing file (wildcards are not expanded: such a name gives ""); the short
// form is the long one.
std::string LongFileName(const std::string& name);
std::string ShortFileName(const std::string& name);

}  // namespace FileUtil
