// INI files: sections of key=value lines, read and written by section and key names that are
// compared without case (ASCII and system-code-page letters). Text is bytes in the system code
// page; lines may end in CR LF, LF or CR and are written with CR LF. Comments (';' lines),
// blank lines and unknown lines are kept when a file is rewritten.
//
// Parsing: a line whose trimmed form starts with '[' and ends with ']' names a section (the
// text between, trimmed); within a section a line "key=value" holds a value (key and value
// trimmed, the value being everything after the first '='); any other line that is not blank
// or a comment is a key without a value. Lines before the first section are kept but belong to
// no section. When a section appears twice, the second part continues the first; when a key
// appears twice, reads give the first.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/object.h"

class TStrings;
class IniDocument;

// The common interface of INI files.
class TCustomIniFile : public TObject {
public:
  explicit TCustomIniFile(std::string FileName);
  ~TCustomIniFile() override;
  TCustomIniFile(const TCustomIniFile&) = delete;
  TCustomIniFile& operator=(const TCustomIniFile&) = delete;

  const std::string& FileName() const { return FFileName; }

  // The value of `Ident` in `Section`, else `Default`.
  std::string ReadString(const std::string& Section, const std::string& Ident,
                         const std::string& Default) const;
  // Sets a value, adding the section and the key when missing.
  void WriteString(const std::string& Section, const std::string& Ident, const std::string& Value);
  // Decimal, or hexadecimal after "0x" or "$"; `Default` when the value is missing or not a
  // 32-bit number.
  int ReadInteger(const std::string& Section, const std::string& Ident, int Default) const;
  void WriteInteger(const std::string& Section, const std::string& Ident, int Value);
  // ReadInteger(Section, Ident, Default ? 1 : 0) != 0; written as "1" or "0".
  bool ReadBool(const std::string& Section, const std::string& Ident, bool Default) const;
  void WriteBool(const std::string& Section, const std::string& Ident, bool Value);
  // A number with '.' or ',' as the decimal separator; `Default` when missing or not a number.
  // Written with '.' and as many digits as the value needs to read back exactly.
  double ReadFloat(const std::string& Section, const std::string& Ident, double Default) const;
  void WriteFloat(const std::string& Section, const std::string& Ident, double Value);

  // Replaces `Strings` with the key names of `Section`, in file order.
  void ReadSection(const std::string& Section, TStrings& Strings) const;
  // Replaces `Strings` with the names of all sections, in file order.
  void ReadSections(TStrings& Strings) const;
  // Replaces `Strings` with the "key=value" lines of `Section` (keys without a value as the
  // key alone), values as ReadString gives them.
  void ReadSectionValues(const std::string& Section, TStrings& Strings) const;
  bool SectionExists(const std::string& Section) const;
  bool ValueExists(const std::string& Section, const std::string& Ident) const;
  // Removes a section with all its lines.
  void EraseSection(const std::string& Section);
  void DeleteKey(const std::string& Section, const std::string& Ident);
  // Writes pending changes to the file (only TMemIniFile holds any).
  virtual void UpdateFile() = 0;

protected:
  // The document to read; a TIniFile re-reads its file when the file changed.
  virtual const IniDocument& Document() const = 0;
  // Applies a change to the document (`change` returns whether it changed anything); a
  // TIniFile writes it to the file at once.
  virtual void Modify(const std::function<bool(IniDocument&)>& change) = 0;
  // A value as stored in the file -> the value that reads give.
  virtual std::string StoredToValue(const std::string& Stored) const { return Stored; }
  void SetFileName(const std::string& FileName) { FFileName = FileName; }

private:
  std::string FFileName;
};

// An INI file read from disk on demand (again whenever it changed) and written through at
// every change, atomically. A missing file reads as empty. Reading a value strips one pair of
// enclosing double or single quotes, so that a value written in quotes reads back without them.
class TIniFile : public TCustomIniFile {
public:
  explicit TIniFile(const std::string& FileName);
  ~TIniFile() override;

  void UpdateFile() override {}

protected:
  const IniDocument& Document() const override;
  void Modify(const std::function<bool(IniDocument&)>& change) override;
  std::string StoredToValue(const std::string& Stored) const override;

private:
  struct Cache;
  std::unique_ptr<Cache> FCache;
};

// An INI file held in memory: read once at creation (a missing file gives an empty one),
// changed in memory and written only by UpdateFile. Values are returned exactly as stored.
class TMemIniFile : public TCustomIniFile {
public:
  explicit TMemIniFile(const std::string& FileName);
  ~TMemIniFile() override;

  // Writes the whole content to FileName atomically.
  void UpdateFile() override;
  // Replaces the content with the lines of `List` / gives the content as lines.
  void SetStrings(const TStrings& List);
  void GetStrings(TStrings& List) const;
  // Empties the content.
  void Clear();
  // Uses another file name; with `Reload` the content is read from that file.
  void Rename(const std::string& FileName, bool Reload);

protected:
  const IniDocument& Document() const override;
  void Modify(const std::function<bool(IniDocument&)>& change) override;

private:
  std::unique_ptr<IniDocument> FDocument;
};
