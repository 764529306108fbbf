// The web-services directory file: lines "item{N}=group caption" and
// "item{N}-subitem{M}=caption|address" (N and M from 0 to 99), read into groups of entries.
#pragma once

#include <string>
#include <vector>

struct TDirectoryEntry {
  std::string Caption, Address;  // both trimmed; the address at most 128 characters
  int ImageIndex = 1;            // DirectoryImage(Address)
  bool operator==(const TDirectoryEntry&) const = default;
};

struct TDirectoryGroup {
  std::string Caption;
  std::vector<TDirectoryEntry> Entries;
  bool operator==(const TDirectoryGroup&) const = default;
};

// Image indexes: a group, an entry, a "zip" and an "exe" address.
enum TDirectoryImage { diGroup = 0, diEntry = 1, diZip = 2, diExe = 3 };

// The groups in the order of N, each with its entries in the order of M; entries of a missing
// group are dropped.
std::vector<TDirectoryGroup> ParseDirectory(const std::string& text);
// The image of an entry by its address's extension.
int DirectoryImage(const std::string& address);
// Whether an address may be handed to the desktop: http, https, ftp or mailto.
bool OpenableAddress(const std::string& address);
// The directory's file name: the text after the last "/" of its address.
std::string DirectoryFileName(const std::string& url);
