#include "platform/streams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/exceptions.h"
#include "platform/files.h"

namespace {

// The new position of a seek, -1 when it would fall before the start.
int64_t SeekTarget(int64_t position, int64_t size, int64_t offset, TSeekOrigin origin) {
  int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? position : size;
  int64_t target = base + offset;
  return target < 0 ? -1 : target;
}

// Reads from a byte container at `position`; returns the count read.
template <typename Container>
int ReadAt(const Container& data, int64_t& position, void* buffer, int count) {
  if (count <= 0 || position < 0 || position >= static_cast<int64_t>(data.size())) return 0;
  int n = static_cast<int>(std::min<int64_t>(count, static_cast<int64_t>(data.size()) - position));
  std::memcpy(buffer, data.data() + position, static_cast<size_t>(n));
  position += n;
  return n;
}

// Writes into a byte container at `position`, growing it as needed (zero-filled where the
// position lies past the end). Writing at the end appends: the bytes are copied once, never
// zeroed first.
template <typename Container>
int WriteAt(Container& data, int64_t& position, const void* buffer, int count) {
  if (count <= 0 || position < 0) return 0;
  const auto* bytes = static_cast<const typename Container::value_type*>(buffer);
  if (static_cast<size_t>(position) == data.size()) {
    data.insert(data.end(), bytes, bytes + count);
    position += count;
    return count;
  }
  size_t end = static_cast<size_t>(position) + static_cast<size_t>(count);
  if (end > data.size()) data.resize(end);
  std::memcpy(data.data() + position, buffer, static_cast<size_t>(count));
  position += count;
  return count;
}

}  // namespace

// --- TStream -------------------------------------------------------------------------------------

int64_t TStream::Size() {
  int64_t position = Seek(0, soCurrent);
  int64_t size = Seek(0, soEnd);
  Seek(position, soBeginning);
  return size;
}

void TStream::ReadBuffer(void* Buffer, int Count) {
  if (Count != 0 && Read(Buffer, Count) != Count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, int Count) {
  if (Count != 0 && Write(Buffer, Count) != Count) throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& Source, int64_t Count) {
  if (Count == 0) {
    Source.SetPosition(0);
    Count = Source.Size();
  }
  std::vector<char> buffer(static_cast<size_t>(std::min<int64_t>(Count, 1 << 16)));
  for (int64_t left = Count; left > 0;) {
    int n = static_cast<int>(std::min<int64_t>(left, static_cast<int64_t>(buffer.size())));
    Source.ReadBuffer(buffer.data(), n);
    WriteBuffer(buffer.data(), n);
    left -= n;
  }
  return Count;
}

// --- TMemoryStream -------------------------------------------------------------------------------

int TMemoryStream::Read(void* Buffer, int Count) { return ReadAt(FData, FPosition, Buffer, Count); }

int TMemoryStream::Write(const void* Buffer, int Count) { return WriteAt(FData, FPosition, Buffer, Count); }

int64_t TMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  int64_t target = SeekTarget(FPosition, Size(), Offset, Origin);
  if (target >= 0) FPosition = target;
  return target;
}

void TMemoryStream::SetSize(int64_t NewSize) {
  FData.resize(static_cast<size_t>(std::max<int64_t>(NewSize, 0)));
  FPosition = std::min(FPosition, Size());
}

void TMemoryStream::Clear() {
  FData.clear();
  FData.shrink_to_fit();
  FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& Stream) {
  Stream.SetPosition(0);
  std::vector<char> data(static_cast<size_t>(Stream.Size()));
  if (!data.empty()) Stream.ReadBuffer(data.data(), static_cast<int>(data.size()));
  FData.swap(data);
  FPosition = 0;
}

void TMemoryStream::LoadFromFile(const std::string& FileName) {
  std::string data = ReadFileBytes(FileName);
  FData.assign(data.begin(), data.end());
  FPosition = 0;
}

void TMemoryStream::SaveToStream(TStream& Stream) const {
  if (!FData.empty()) Stream.WriteBuffer(FData.data(), static_cast<int>(FData.size()));
}

void TMemoryStream::SaveToFile(const std::string& FileName) const {
  WriteFileAtomic(FileName, std::string(FData.begin(), FData.end()));
}

// --- TStringStream -------------------------------------------------------------------------------

int TStringStream::Read(void* Buffer, int Count) { return ReadAt(FData, FPosition, Buffer, Count); }

int TStringStream::Write(const void* Buffer, int Count) { return WriteAt(FData, FPosition, Buffer, Count); }

int64_t TStringStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  int64_t target = SeekTarget(FPosition, Size(), Offset, Origin);
  if (target >= 0) FPosition = target;
  return target;
}

void TStringStream::SetSize(int64_t NewSize) {
  FData.resize(static_cast<size_t>(std::max<int64_t>(NewSize, 0)));
  FPosition = std::min(FPosition, Size());
}

std::string TStringStream::ReadString(int Count) {
  std::string result(static_cast<size_t>(std::max(Count, 0)), '\0');
  result.resize(static_cast<size_t>(Read(result.data(), Count)));
  return result;
}

void TStringStream::WriteString(const std::string& AString) {
  Write(AString.data(), static_cast<int>(AString.size()));
}

// --- TFileStream ---------------------------------------------------------------------------------

TFileStream::TFileStream(const std::string& FileName, unsigned Mode) : FFileName(FileName) {
  std::string native = NativePath(FileName).string();
  if (Mode == fmCreate) {
    FHandle = ::open(native.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (FHandle < 0)
      throw EFCreateError("Cannot create file \"" + FileName + "\". " + std::strerror(errno));
    return;
  }
  int access = (Mode & 3) == fmOpenWrite ? O_WRONLY : (Mode & 3) == fmOpenReadWrite ? O_RDWR : O_RDONLY;
  FHandle = ::open(native.c_str(), access | O_CLOEXEC);
  int error = errno;
  if (FHandle >= 0) {
    struct stat info;
    if (::fstat(FHandle, &info) == 0 && S_ISDIR(info.st_mode)) {
      ::close(FHandle);
      FHandle = -1;
      error = EISDIR;
    }
  }
  if (FHandle < 0) throw EFOpenError("Cannot open file \"" + FileName + "\". " + std::strerror(error));
}

TFileStream::~TFileStream() {
  if (FHandle >= 0) ::close(FHandle);
}

int TFileStream::Read(void* Buffer, int Count) {
  int done = 0;
  while (done < Count) {
    ssize_t n = ::read(FHandle, static_cast<char*>(Buffer) + done, static_cast<size_t>(Count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<int>(n);
  }
  return done;
}

int TFileStream::Write(const void* Buffer, int Count) {
  int done = 0;
  while (done < Count) {
    ssize_t n = ::write(FHandle, static_cast<const char*>(Buffer) + done, static_cast<size_t>(Count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<int>(n);
  }
  return done;
}

int64_t TFileStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  int whence = Origin == soBeginning ? SEEK_SET : Origin == soCurrent ? SEEK_CUR : SEEK_END;
  return ::lseek(FHandle, Offset, whence);
}

void TFileStream::SetSize(int64_t NewSize) {
  if (::ftruncate(FHandle, NewSize) != 0) throw EWriteError("Stream write error");
  if (Position() > NewSize) Seek(0, soEnd);
}
