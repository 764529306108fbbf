#include "proofing/dictionary.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <system_error>

#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/locale.h"
#include "platform/streams.h"

namespace {

constexpr const char* kUnpackedSuffix = ".part";

std::string FormatLowSpace(const std::string& Drive, int64_t NeededMb, int64_t FreeMb) {
  char text[512];
  std::snprintf(text, sizeof text, "Drive %s is low on space. You need at least %lld MB and you only have %lld",
                Drive.c_str(), static_cast<long long>(NeededMb), static_cast<long long>(FreeMb));
  return text;
}

// Free bytes on the file system of `Folder`; -1 when unknown.
int64_t FreeSpace(const std::string& Folder) {
  std::error_code error;
  const auto info = std::filesystem::space(NativePath(Folder), error);
  return error ? -1 : static_cast<int64_t>(info.available);
}

void CopyFileTime(const std::string& From, const std::string& To) {
  std::error_code error;
  const auto time = std::filesystem::last_write_time(NativePath(From), error);
  if (!error) std::filesystem::last_write_time(NativePath(To), time, error);
}

// The header's data file name names a file beside the header: no folder part, not "." or "..".
bool IsPlainDataName(const std::string& Name) {
  return !Name.empty() && Name != "." && Name != ".." && Name.find_first_of("/\\") == std::string::npos;
}

}  // namespace

bool MatchesStoredCase(std::string_view Word, std::string_view Stored) {
  if (Word == Stored) return true;
  if (Stored.empty() || Word.size() != Stored.size()) return false;
  const auto upper = [](char Ch) { return static_cast<char>(AnsiUpperChar(static_cast<unsigned char>(Ch))); };
  if (Word[0] == upper(Stored[0]) && Word.substr(1) == Stored.substr(1)) return true;
  for (size_t i = 0; i < Word.size(); ++i)
    if (Word[i] != upper(Stored[i])) return false;
  return true;
}

TQDictionary::TQDictionary(const std::string& HeaderFileName, IUnpackView* View)
    : FHeaderFileName(HeaderFileName), FView(View) {
  FPackedFileName = ChangeFileExt(HeaderFileName, ".qdp");
  size_t headerBytes = kDictHeaderSize;
  if (FileExists(HeaderFileName)) {
    try {
      const std::string bytes = ReadFileBytes(HeaderFileName);
      headerBytes = bytes.size();
      std::copy_n(bytes.begin(), std::min<size_t>(bytes.size(), kDictHeaderSize), FHeader.Bytes.begin());
    } catch (const EFileError&) {
      // An unreadable header leaves an empty dictionary that is never ready.
    }
  }
  const bool plainName = IsPlainDataName(FHeader.DataName());
  FDataFileName = ExtractFilePath(HeaderFileName) + FHeader.DataName() + ".qd";
  if (plainName && FileExists(FPackedFileName)) {
    const auto dataTime = FileModificationTime(FDataFileName);
    const auto packedTime = FileModificationTime(FPackedFileName);
    if (dataTime && packedTime && *dataTime >= *packedTime)
      DeleteFile(FPackedFileName);
    else
      Unpack();
  }
  CheckFiles(headerBytes);
  if (!plainName && FDamage.empty()) FDamage = "the header names no data file beside it";
  Enabled = FDamage.empty() && FHeader.OnByDefault() > 0;
  SavedEnabled = Enabled;
}

void TQDictionary::CheckFiles(size_t HeaderBytes) {
  if (HeaderBytes < size_t(kDictHeaderSize)) {
    FDamage = "the header file is cut short";
    return;
  }
  // A dictionary still packed or without its data file is only not ready yet.
  if (FileExists(FPackedFileName) || !FileExists(FDataFileName)) return;
  const int64_t size = GetFileStamp(FDataFileName).Size;
  if (size != int64_t(FHeader.DataSize())) {
    FDamage = "the data file holds " + std::to_string(size) + " bytes, not " + std::to_string(FHeader.DataSize());
    return;
  }
  for (int L = 1; L <= kMaxDictWordLength; ++L)
    if (int64_t(FHeader.GroupOffset(L)) + int64_t(FHeader.GroupCount(L)) * L > size) {
      FDamage = "the words of " + std::to_string(L) + " letters lie beyond the data file";
      return;
    }
}

TQDictionary::~TQDictionary() = default;

bool TQDictionary::IsReady() const {
  return FDamage.empty() && !FileExists(FPackedFileName) && FileExists(FDataFileName);
}

void TQDictionary::Open() {
  Close();
  if (!FDamage.empty() || !FileExists(FDataFileName)) return;
  try {
    FData = std::make_unique<TFileStream>(FDataFileName, fmOpenRead | fmShareDenyNone);
  } catch (const EFileError&) {
    FData.reset();
  }
}

void TQDictionary::Close() {
  FData.reset();
  FGroups = {};
  FGroupsRead.reset();
}

std::string_view TQDictionary::Group(int Length) {
  std::string& bytes = FGroups[Length];
  if (!FGroupsRead[Length]) {
    FGroupsRead[Length] = true;
    // Cut to what the file holds, so a damaged group table cannot ask for more memory.
    const int64_t offset = FHeader.GroupOffset(Length);
    const int64_t available = std::max<int64_t>(FData->Seek(0, soEnd) - offset, 0);
    const int64_t wanted = std::min({int64_t(FHeader.GroupCount(Length)) * Length, available,
                                     int64_t(std::numeric_limits<int>::max())});
    bytes.resize(wanted);
    const int read = FData->Seek(offset, soBeginning) == offset ? FData->Read(bytes.data(), int(wanted)) : 0;
    bytes.resize(read - read % Length);
    bytes.shrink_to_fit();
  }
  return bytes;
}

bool TQDictionary::FindWord(const std::string& Word, std::string& Found, bool MatchCase) {
  const int L = static_cast<int>(Word.size());
  // Lengths outside the group table would read header fields as word offsets.
  if (L < 1 || L > kMaxDictWordLength || !FData) return false;
  const int64_t count = FHeader.GroupCount(L);
  const std::string_view group = Group(L);
  // A record the file does not hold (a damaged table) ends the search without a match.
  const auto held = [&](int64_t Index) { return (Index + 1) * L <= int64_t(group.size()); };
  const auto record = [&](int64_t Index) { return group.substr(size_t(Index) * L, L); };
  // The order the generator sorted the records in, with the word converted once for the search.
  const TLocaleProbe order(FHeader.Lcid(), true, Word);
  int64_t low = 0, high = count - 1;
  while (low <= high) {
    const int64_t middle = (low + high) / 2;
    if (!held(middle)) return false;
    const std::string_view probe = record(middle);
    const int side = order.Compare(probe);
    if (side < 0) {
      low = middle + 1;
    } else if (side > 0) {
      high = middle - 1;
    } else {
      // Forms that differ only in case lie next to each other: take the exact form, else one
      // the case rule accepts, else (without MatchCase) the one hit first.
      std::string_view caseMatch;
      bool exact = probe == Word, ruled = MatchesStoredCase(Word, probe);
      if (ruled) caseMatch = probe;
      for (int step : {-1, 1}) {
        for (int64_t i = middle + step; !exact && i >= 0 && i < count; i += step) {
          if (!held(i)) break;
          const std::string_view other = record(i);
          if (order.Compare(other) != 0) break;
          if (other == Word) {
            exact = true;
            caseMatch = other;
          } else if (!ruled && MatchesStoredCase(Word, other)) {
            ruled = true;
            caseMatch = other;
          }
        }
      }
      if (exact || ruled) {
        Found = caseMatch;
        return true;
      }
      Found = probe;
      return !MatchCase;
    }
  }
  return false;
}

bool TQDictionary::Unpack() {
  if (!FileExists(FPackedFileName)) return false;
  const LCID lcid = FHeader.Lcid();
  if (FView) {
    FView->BeginUnpack(LocaleLanguageDisplayName(lcid) + " (" + FHeader.Title() + ")");
    FView->CheckStep(1);
  }
  std::string packed;
  try {
    packed = ReadFileBytes(FPackedFileName);
  } catch (const EFileError& error) {
    if (FView) FView->ShowError(error.Message);
    return false;
  }
  if (packed.size() < size_t(kDictHeaderSize)) {
    if (FView) FView->ShowError("Dictionary size doesn't match. Unpacking failed.");
    return false;
  }
  TQDictHeader packedHeader;
  std::copy_n(packed.begin(), kDictHeaderSize, packedHeader.Bytes.begin());
  if (!IsPlainDataName(packedHeader.DataName())) {
    if (FView) FView->ShowError("The packed dictionary names no data file beside it. Unpacking failed.");
    return false;
  }

  const std::string folder = ExtractFilePath(FDataFileName);
  const int64_t needed = std::llround(double(packedHeader.DataSize()) * 1.1);
  for (;;) {
    const int64_t available = FreeSpace(folder.empty() ? GetCurrentDir() : folder);
    if (available < 0) break;
    if (FView) FView->ShowFreeSpace(std::to_string(available / 1048576) + " MB left");
    if (available >= needed) break;
    const TLowSpaceAnswer answer =
        FView ? FView->AskLowSpace(FormatLowSpace(folder, needed / 1048576, available / 1048576))
              : TLowSpaceAnswer::Abort;
    if (answer == TLowSpaceAnswer::Abort) return false;
    if (answer == TLowSpaceAnswer::Ignore) break;
  }

  std::vector<std::string> words = UnpackDictWords(std::string_view(packed).substr(kDictHeaderSize));
  packed.clear();
  packed.shrink_to_fit();
  if (FView) FView->CheckStep(2);
  if (FView) FView->CheckStep(3);
  SortDictWords(lcid, words);
  if (FView) FView->CheckStep(4);

  // The new data file is completed beside the old one and renamed over it, so a crash never
  // leaves a partial ".qd" that a later start would take for an unpacked dictionary.
  const std::string partName = FDataFileName + kUnpackedSuffix;
  int64_t written = 0;
  bool full = false;
  try {
    TFileStream out(partName, fmCreate);
    for (const auto& word : words) {
      if (word.empty()) continue;
      const int n = out.Write(word.data(), static_cast<int>(word.size()));
      written += n;
      if (n < static_cast<int>(word.size())) {
        full = true;
        break;
      }
    }
  } catch (const EFileError&) {
    full = true;
  }
  if (full && FView)
    FView->ShowError(
        "Disk is full. Some dictionaries were not unpacked. Free up more disk space an restart the program.");
  if (FView) FView->CheckStep(5);
  if (written != int64_t(packedHeader.DataSize()) || full) {
    if (FView) FView->ShowError("Dictionary size doesn't match. Unpacking failed.");
    DeleteFile(partName);
    return false;
  }
  const bool wasOpen = IsOpen();
  Close();
  try {
    WriteFileAtomic(FHeaderFileName, std::string(packedHeader.Bytes.data(), kDictHeaderSize));
  } catch (const EFileError& error) {
    if (FView) FView->ShowError(error.Message);
    DeleteFile(partName);
    return false;
  }
  FHeader = packedHeader;
  FDataFileName = ExtractFilePath(FHeaderFileName) + FHeader.DataName() + ".qd";
  if (!RenameFile(partName, FDataFileName)) {
    DeleteFile(partName);
    return false;
  }
  CopyFileTime(FPackedFileName, FDataFileName);
  CopyFileTime(FPackedFileName, FHeaderFileName);
  DeleteFile(FPackedFileName);
  if (wasOpen) Open();
  return true;
}
