// Byte streams with the class library's semantics: the abstract stream, memory, string and
// file streams. Sizes and positions are 64-bit; one Read or Write moves at most 2 GB.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/object.h"

// Where Seek counts its offset from.
enum TSeekOrigin { soBeginning, soCurrent, soEnd };

// The abstract stream.
class TStream : public TObject {
public:
  TStream() = default;
  TStream(const TStream&) = delete;
  TStream& operator=(const TStream&) = delete;

  // Reads up to `Count` bytes; returns how many were read (0 at the end).
  virtual int Read(void* Buffer, int Count) = 0;
  // Writes up to `Count` bytes; returns how many were written.
  virtual int Write(const void* Buffer, int Count) = 0;
  // Moves the position; returns the new position.
  virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;
  // Sets the size; the position stays unless it would be past the end.
  virtual void SetSize(int64_t NewSize) = 0;

  int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(int64_t Pos) { Seek(Pos, soBeginning); }
  virtual int64_t Size();

  // Reads exactly `Count` bytes or raises EReadError "Stream read error".
  void ReadBuffer(void* Buffer, int Count);
  // Writes exactly `Count` bytes or raises EWriteError "Stream write error".
  void WriteBuffer(const void* Buffer, int Count);
  // Copies `Count` bytes from the current position of `Source`; a `Count` of 0 copies all of
  // `Source` from its beginning. Returns the number of bytes copied.
  int64_t CopyFrom(TStream& Source, int64_t Count);
};

// A stream over a growable block of memory.
class TMemoryStream : public TStream {
public:
  int Read(void* Buffer, int Count) override;
  int Write(const void* Buffer, int Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  void SetSize(int64_t NewSize) override;
  int64_t Size() override { return static_cast<int64_t>(FData.size()); }

  // The bytes of the stream (valid until the next write or resize).
  const char* Memory() const { return FData.data(); }
  char* Memory() { return FData.data(); }
  // Empties the stream.
  void Clear();
  // Replaces the content with all of `Stream` (from its beginning) / the file; position 0.
  void LoadFromStream(TStream& Stream);
  void LoadFromFile(const std::string& FileName);
  // Writes the whole content to `Stream` / replaces the file atomically.
  void SaveToStream(TStream& Stream) const;
  void SaveToFile(const std::string& FileName) const;

private:
  std::vector<char> FData;
  int64_t FPosition = 0;
};

// A stream over a string of bytes.
class TStringStream : public TStream {
public:
  explicit TStringStream(std::string AString = {}) : FData(std::move(AString)) {}

  int Read(void* Buffer, int Count) override;
  int Write(const void* Buffer, int Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  void SetSize(int64_t NewSize) override;
  int64_t Size() override { return static_cast<int64_t>(FData.size()); }

  const std::string& DataString() const { return FData; }
  // Reads up to `Count` bytes from the position.
  std::string ReadString(int Count);
  // Writes `AString` at the position.
  void WriteString(const std::string& AString);

private:
  std::string FData;
  int64_t FPosition = 0;
};

// Open modes of TFileStream: one access mode, optionally or-ed with a sharing mode (sharing
// modes are accepted and ignored: files are not locked against other programs).
inline constexpr unsigned fmCreate = 0xFFFF;  // create or truncate, read and write
inline constexpr unsigned fmOpenRead = 0x0000;
inline constexpr unsigned fmOpenWrite = 0x0001;
inline constexpr unsigned fmOpenReadWrite = 0x0002;
inline constexpr unsigned fmShareCompat = 0x0000;
inline constexpr unsigned fmShareExclusive = 0x0010;
inline constexpr unsigned fmShareDenyWrite = 0x0020;
inline constexpr unsigned fmShareDenyRead = 0x0030;
inline constexpr unsigned fmShareDenyNone = 0x0040;

// A stream over an open file. Opening fails with EFOpenError "Cannot open file "%s". <reason>";
// creating fails with EFCreateError "Cannot create file "%s". <reason>".
class TFileStream : public TStream {
public:
  TFileStream(const std::string& FileName, unsigned Mode);
  ~TFileStream() override;

  int Read(void* Buffer, int Count) override;
  int Write(const void* Buffer, int Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  // Raises EWriteError when the file cannot be resized.
  void SetSize(int64_t NewSize) override;

  const std::string& FileName() const { return FFileName; }
  int Handle() const { return FHandle; }

private:
  std::string FFileName;
  int FHandle = -1;
};
