#include "shell/object_open.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string_view>
#include <utility>

#include "platform/code_pages.h"
#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/gui/shell_open.h"
#include "platform/rich_text.h"
#include "shell/plain_text.h"

namespace {

// The bytes a copy of the object holds.
std::string ObjectBytes(const TRichObject& object) {
  if (object.Kind != TRichObjectKind::Picture) return object.ObjectData;
  const TRichPicture& picture = object.Picture;
  if (picture.Format != TPictureFormat::Dib) return picture.Bytes;
  // A device-independent bitmap becomes a bitmap file: the file header goes before it.
  const uint32_t size = uint32_t(14 + picture.Bytes.size());
  uint32_t offset = 14;
  if (picture.Bytes.size() >= 4) {
    const auto* b = reinterpret_cast<const unsigned char*>(picture.Bytes.data());
    const uint32_t header = b[0] | b[1] << 8 | b[2] << 16 | uint32_t(b[3]) << 24;
    uint32_t colours = 0;
    if (header == 40 && picture.Bytes.size() >= 36) {
      const uint32_t bits = b[14] | b[15] << 8;
      const uint32_t used = b[32] | b[33] << 8 | b[34] << 16 | uint32_t(b[35]) << 24;
      colours = used != 0 ? used : bits <= 8 ? 1u << bits : 0;
    }
    offset += header + colours * 4;
  }
  std::string file = "BM";
  for (uint32_t value : {size, 0u, offset})
    for (int shift = 0; shift < 32; shift += 8) file += char((value >> shift) & 0xFF);
  return file + picture.Bytes;
}

// The private folder of the copies: made with mode 0700, or refused when it is not the user's own.
std::string CopyFolder() {
  const std::string runtime = UserRuntimeFolder();
  if (!DirectoryExists(runtime) && ForceDirectories(runtime)) ::chmod(runtime.c_str(), 0700);
  const std::string folder = IncludeTrailingPathDelimiter(runtime) + "quillomark-objects";
  ::mkdir(folder.c_str(), 0700);
  struct stat info {};
  if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid() ||
      (info.st_mode & 077) != 0)
    throw EFCreateError("Cannot make a private folder for the object's copy: " + folder);
  return folder + "/";
}

}  // namespace

std::string ObjectCopyName(const TRichObject& object) {
  if (object.Kind == TRichObjectKind::Picture) {
    switch (object.Picture.Format) {
      case TPictureFormat::Png: return "object.png";
      case TPictureFormat::Jpeg: return "object.jpg";
      case TPictureFormat::Emf: return "object.emf";
      case TPictureFormat::Wmf: return "object.wmf";
      case TPictureFormat::Dib:
      case TPictureFormat::Bitmap: return "object.bmp";
    }
  }
  const std::string_view bytes = object.ObjectData;
  static const std::pair<std::string_view, const char*> kSignatures[] = {
      {"%PDF", ".pdf"}, {"\x89PNG\r\n\x1A\n", ".png"}, {"\xFF\xD8\xFF", ".jpg"}, {"GIF8", ".gif"},
      {"{\\rtf", ".rtf"}, {"PK\x03\x04", ".zip"}, {"BM", ".bmp"}};
  for (const auto& [head, extension] : kSignatures)
    if (bytes.substr(0, head.size()) == head) return std::string("object") + extension;
  const bool text = !bytes.empty() && bytes.find('\0') == std::string_view::npos && IsUtf8(bytes);
  return text ? "object.txt" : "object.bin";
}

std::string ObjectOpenPath(const TRichObject& object) {
  if (object.Kind == TRichObjectKind::Link) return Utf8ToAnsi(object.ObjectData);
  const std::string name = ObjectCopyName(object);
  const size_t dot = name.rfind('.');
  std::string path = CopyFolder() + name.substr(0, dot) + "-XXXXXX" + name.substr(dot);
  const int file = ::mkstemps(path.data(), int(name.size() - dot));
  if (file < 0) throw EFCreateError("Cannot write the object's copy: " + path);
  const std::string bytes = ObjectBytes(object);
  size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = ::write(file, bytes.data() + written, bytes.size() - written);
    if (n <= 0) break;
    written += size_t(n);
  }
  const bool closed = ::close(file) == 0;
  if (written != bytes.size() || !closed) {
    ::unlink(path.c_str());
    throw EFCreateError("Cannot write the object's copy: " + path);
  }
  return Utf8ToAnsi(path);
}

bool OpenObject(const TRichObject& object) { return ShellOpen(ObjectOpenPath(object)); }
