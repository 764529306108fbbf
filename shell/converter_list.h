// The document formats that can be opened and saved: the built-in plain text and RTF entries
// and every text converter installed on the system (converter_api.h). Builds the file-dialog
// filters, matches formats to extensions and runs converters to import and export.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/object.h"
#include "platform/string_list.h"
#include "shell/converter_library.h"

class TRichEditW;

// Registry keys (under HKEY_LOCAL_MACHINE) that list the installed converters.
inline constexpr const char* ImportConvertersKey =
    "SOFTWARE\\Microsoft\\Shared Tools\\Text Converters\\Import";
inline constexpr const char* ExportConvertersKey =
    "SOFTWARE\\Microsoft\\Shared Tools\\Text Converters\\Export";

// One format of the import or export list.
class TConverterRec : public TObject {
public:
  int Number = 0;          // 1-based position in its list
  std::string Class;       // "TXT", "RTF", "" (All Files), or the converter library's path
  std::string Name;        // the name shown in the dialogs
  std::string Extensions;  // space-separated, without dots
  std::string DefaultExt;  // without a dot
  bool BuiltIn = false;
  unsigned CodePage = 0;   // plain text saved in a given encoding (65001 UTF-8, 1200 UTF-16); 0 none

  // True when `ext` is one of Extensions (letters compared without case, whole tokens).
  bool HasExtension(const std::string& ext) const;
};

class TConverterList {
public:
  TConverterList();
  ~TConverterList();
  TConverterList(const TConverterList&) = delete;
  TConverterList& operator=(const TConverterList&) = delete;

  // (Re)builds both lists: the built-in formats, then the installed converters.
  void Load();
  // The list of names with their records as objects.
  const TStringList& Formats(bool import) const { return import ? imports_ : exports_; }

  // "Name|*.ext1;*.ext2|..." of every record of the list; `shownName` (when given) gives the
  // name a record shows in the dialog.
  std::string BuildFilter(bool import,
                          const std::function<std::string(const TConverterRec&)>& shownName = nullptr) const;
  // The export record of plain text in that encoding (a code page number), or nullptr.
  TConverterRec* FindTextExport(unsigned codePage) const;
  // Fills `list` with (name, record) of every record that claims `ext` (a leading ".", then
  // leading "~", then a leading "." are ignored); an empty `ext` gives the whole list.
  void GetConverters(bool import, const std::string& ext, TStrings& list) const;
  // Adds "*." + each extension (lower case) once, with its record.
  void GetExtensions(bool import, TStrings& list) const;
  // The first record of that class (a leading "." ignored, letters compared without case).
  TConverterRec* FindByClass(bool import, const std::string& cls) const;
  // The import record with that number, or nullptr.
  TConverterRec* FindByNumber(int number) const;
  // The export record for a document of `format`: the same name, else the same class, else a
  // name containing or contained in its name, else the RTF record; nullptr for nullptr.
  TConverterRec* FindExport(const TConverterRec* format) const;

  // Converts the file to RTF with the converter of `format` on a worker thread, handling
  // interface messages meanwhile (through OnImportProgress when set), and loads the RTF into
  // the editor: 1 imported, 0 stopped by the user, -1 the converter is not usable or the file
  // is not in its format, -2 converter error (the editor is unchanged unless 1).
  int Import(const std::string& fileName, const TConverterRec& format, TRichEditW& editor);
  // Writes the editor's text through the converter of `format`; the file is replaced only
  // when the converter succeeded. True when written.
  bool Export(const std::string& fileName, const TConverterRec& format, TRichEditW& editor);
  // Told how far an import is (percent) while it runs, and pumps the messages; true stops it.
  std::function<bool(TObject* Sender, int Percent)> OnImportProgress;
  // The converter's text for the error of the last failed import ("" when it gave none).
  const std::string& LastError() const { return lastError_; }

private:
  TConverterRec* Add(bool import, std::string cls, std::string name, std::string extensions,
                     std::string defaultExt, bool builtIn);
  void AddInstalled(bool import);
  // Loads the converter library of `format` and initialises it; false when it cannot be used.
  bool Initialise(const TConverterRec& format);

  TStringList imports_, exports_;
  std::vector<std::unique_ptr<TConverterRec>> records_;
  TConverterLibrary library_;
  bool running_ = false;  // a conversion is in progress
  std::string lastError_;
};
