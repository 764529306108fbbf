// TQDictionary: one word list of a spelling language. Look-ups search the records of the open
// data file (".qd"), each length group read into memory on its first look-up; a packed
// dictionary (".qdp") is unpacked once into the data file.
#pragma once

#include <array>
#include <bitset>
#include <memory>
#include <string>
#include <string_view>

#include "platform/object.h"
#include "proofing/dictionary_format.h"

class TFileStream;

// What the user answers when the disk is short of space for unpacking.
enum class TLowSpaceAnswer { Abort, Retry, Ignore };

// The unpacking window as the dictionary sees it.
class IUnpackView {
public:
  virtual ~IUnpackView() = default;
  // Shows the window when hidden, naming the dictionary ("Russian (Title)").
  virtual void BeginUnpack(const std::string& DictionaryLabel) = 0;
  // Checks step `Step` (1..5) and clears the later ones, then processes pending messages.
  virtual void CheckStep(int Step) = 0;
  // The free-space label ("%d MB left").
  virtual void ShowFreeSpace(const std::string& Text) = 0;
  // The Abort/Retry/Ignore error dialog.
  virtual TLowSpaceAnswer AskLowSpace(const std::string& Message) = 0;
  // An error message with an OK button.
  virtual void ShowError(const std::string& Message) = 0;
};

class TQDictionary : public TObject {
public:
  // Reads the header of `HeaderFileName` (".qdi") and brings the data file up to date,
  // unpacking a newer ".qdp" (reported to `View` when given).
  explicit TQDictionary(const std::string& HeaderFileName, IUnpackView* View = nullptr);
  ~TQDictionary() override;

  // True when no ".qdp" exists, the ".qd" does and the files are sound (see Damage).
  bool IsReady() const;
  // What is wrong with the files, "" when nothing: a ".qdi" cut short, or a ".qd" whose size
  // or word groups do not match the header. Checked at creation; a damaged dictionary is off
  // and never opened.
  const std::string& Damage() const { return FDamage; }
  LCID Lcid() const { return FHeader.Lcid(); }
  std::string Title() const { return FHeader.Title(); }
  std::string Description() const { return FHeader.Description(); }
  int WordCount() const { return static_cast<int>(FHeader.WordCount()); }
  const TQDictHeader& Header() const { return FHeader; }
  const std::string& DataFileName() const { return FDataFileName; }
  const std::string& HeaderFileName() const { return FHeaderFileName; }
  const std::string& PackedFileName() const { return FPackedFileName; }

  // Opens the data file read-only when it exists; closes it and drops the groups read from it.
  void Open();
  void Close();
  bool IsOpen() const { return FData != nullptr; }

  // Looks `Word` up (case-insensitively, by the dictionary's locale). With `MatchCase` a stored
  // form F is accepted for W = F, W = F with its first letter raised, or W = F in capitals.
  // `Found` gets the stored form. Empty and over-long words and a closed file give false.
  bool FindWord(const std::string& Word, std::string& Found, bool MatchCase);

  // Unpacks the ".qdp" into the ".qd" and deletes it; false when nothing was unpacked.
  bool Unpack();

  // Whether look-ups use this dictionary, and the copy saved around a document check.
  bool Enabled = false;
  bool SavedEnabled = false;

private:
  // Sets FDamage from the header (`HeaderBytes` read of it) and the data file's size.
  void CheckFiles(size_t HeaderBytes);
  // The whole records of length `Length` that the open data file holds, read on first use.
  std::string_view Group(int Length);

  std::string FPackedFileName;
  std::string FDataFileName;
  std::string FHeaderFileName;
  TQDictHeader FHeader;
  std::unique_ptr<TFileStream> FData;
  std::array<std::string, kMaxDictWordLength + 1> FGroups;
  std::bitset<kMaxDictWordLength + 1> FGroupsRead;
  IUnpackView* FView = nullptr;
  std::string FDamage;
};

// The case rule of look-ups: W matches the stored form F when W = F, W = F with its first
// character raised, or W = F in capitals (AnsiUpperCase).
bool MatchesStoredCase(std::string_view Word, std::string_view Stored);
