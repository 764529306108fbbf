// TOpenSave: the document's file name and format, and the only way a document enters or leaves
// the editor. It opens by dialog, by path and from a recent-list entry, saves in the format the
// document came in, with Save As and as a recovery copy, and asks before a modified document is
// dropped. Formats come from its TConverterList: plain text (8-bit in the Cyrillic code page of
// the editor, UTF-8, or UTF-16 with a byte order mark, kept as the file had it), RTF and the
// installed text converters.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/gui/component.h"
#include "shell/converter_list.h"
#include "shell/plain_text.h"

class TDocumentState;
class TOpenDialog;
class TRichEditW;
class TSaveDialog;
class TStringList;
class TStrings;

class TOpenSave : public TComponent {
  QM_CLASS(TOpenSave, TComponent)
public:
  // Loads the converter list, makes the dialogs and reads "InitDir" and "UserExt".
  explicit TOpenSave(TComponent* owner);
  // Writes "InitDir" and "UserExt".
  ~TOpenSave() override;

  // The control that is loaded and saved.
  TRichEditW* Editor() const { return editor_; }
  void SetEditor(TRichEditW* editor);
  // The document's one "modified" state: read before a document is dropped, cleared by
  // opening, saving and New. Must be set before any open or save.
  TDocumentState* DocumentState() const { return document_; }
  void SetDocumentState(TDocumentState* state) { document_ = state; }
  // Keep the previous file as a "~" backup when saving over it.
  bool MakeBackup() const { return makeBackup_; }
  void SetMakeBackup(bool value) { makeBackup_ = value; }
  // Full path of the document; empty for a new one.
  const std::string& FileName() const { return fileName_; }
  void SetFileName(const std::string& name) { fileName_ = name, diskStamp_ = {}; }
  bool EditHTML() const { return editHTML_; }
  void SetEditHTML(bool value) { editHTML_ = value; }

  // --- Opening --------------------------------------------------------------------------------
  // File > Open: asks about a modified document, then offers the open dialog.
  void Open();
  // Opens a path (dropped file, second start, command line, system files): asks about a
  // modified document, then detects the format. The number of the import format used, -1 when
  // nothing was opened, -2 when the file does not exist or cannot be read, or a converter failed.
  int OpenFile(const std::string& path);
  // Opens a recent-list entry with its remembered import format number (negative: detect).
  void OpenRecent(const std::string& path, int formatNumber);
  // Loads with one format: 1 loaded, 0 cancelled or stopped by the user, -1 not loaded, -2
  // converter error, -3 an RTF file the reader cannot read (said to the user). A load that fails or is stopped leaves the document, its name, its format
  // and its state as they were.
  int LoadFile(const std::string& path, TConverterRec* format);
  // Empties the document after asking about a modified one.
  void New();

  // --- Saving ---------------------------------------------------------------------------------
  // Saves under the document's name in its format (Save As for a new document); true when saved.
  bool Save();
  // Asks for a name and format and saves; true only when the document was saved.
  bool SaveAs();
  // Writes the recovery copy (auto-save timer); changes neither name, format nor modified state.
  void AutoSave();
  // Saves `name` in `format` (nullptr: Save As; plain text in the format's encoding, else in
  // the document's). A save replaces the file only when the new
  // one is complete; a failed save says so and leaves the document modified.
  void DoSave(const std::string& name, TConverterRec* format, bool autoSave);
  // The result of the last save request.
  bool Saved() const { return saved_; }

  // False stops closing, New or Open: the user cancelled, or chose to save and saving failed.
  bool CloseQuery();

  // --- Formats and names ----------------------------------------------------------------------
  TConverterList& Converters() { return converters_; }
  // The format the document was opened or last saved with; nullptr for a new document.
  TConverterRec* CurrentFormat() const { return format_; }
  // The import format number of the document, for the recent-file lists' data; -1 when none.
  int FormatNumber() const;
  // The encoding and line ends the document's plain text is saved with (those of its file).
  const TPlainTextFormat& TextFormat() const { return text_; }
  // The opened plain text was decoded into `text`: an unedited Save writes the file's own
  // bytes back, an edited one asks in Save As for the type to save in (UTF-8 offered).
  void SetDecodedText(const std::u16string& text);
  // True while the document is plain text decoded on open and not saved since.
  bool Decoded() const { return fileBytes_.has_value(); }
  // The document's encoding as the status bar shows it ("UTF-8", "KOI-8", ...; "RTF" or the
  // converter's name for other formats).
  std::string EncodingText() const;
  // The recovery-copy name of a document: "C:/a/b.txt" gives "C:/a/b (recovered).txt".
  static std::string RecoveredName(const std::string& path);
  // The recovery copy of an unnamed document: "autosave.rtf" in the user's state folder.
  static std::string AutoSaveName();
  // Adds an extension (a "." put in front, lower-cased) that always opens as plain text;
  // false when it is known already. The list is written to the registry at once.
  bool AddPlainTextExtension(const std::string& ext);
  // The same for several extensions, the known ones listed once; the number added.
  int AddPlainTextExtensions(const std::vector<std::string>& exts);
  // Every extension the program can open, as ".ext" lines (file-association page).
  void GetKnownExtensions(TStrings& list) const;
  // The user's extensions (".ext", lower case) that always open as plain text.
  const TStringList& UserExt() const { return *userExt_; }
  // The message of a key (interface language, else built-in English).
  static std::string GetMsg(const std::string& key);

  TOpenDialog* OpenDialog() const { return openDialog_; }
  TSaveDialog* SaveDialog() const { return saveDialog_; }

  TNotifyEvent OnNewDoc;
  TNotifyEvent OnSaveStart, OnSaveFailure, OnSaveSuccess, OnSaveFinish;  // never on auto-save
  TNotifyEvent OnOpenStart, OnOpenSuccess, OnOpenFailure, OnOpenFinish;

protected:
  void Notification(TComponent* component, TOperation operation) override;

private:
  // OpenFile after the question about the modified document.
  int OpenDetected(const std::string& path);
  // Says that the file is too large for the memory at hand, when it is (see FileFitsInMemory).
  bool RefusedAsTooLarge(const std::string& path);
  // The file's bytes, read with the editor's load progress (a stop raises EUserInterrupt).
  std::string ReadDocument(const std::string& path);
  // Loads the file's bytes into the editor as plain text; the format they were found in.
  TPlainTextFormat LoadText(const std::string& bytes);
  void LoadRtf(const std::string& bytes);
  // Makes the loaded file the document: name, format, clean state, OnOpenSuccess.
  // A recovered copy leaves the document modified.
  void Opened(const std::string& path, TConverterRec* format, const TPlainTextFormat& text, bool recovered);
  // The -1 / -2 questions of Open and OpenRecent after LoadFile with a chosen format; true when
  // the dialog's read-only choice applies (loaded, or detection chosen).
  bool AfterChosenLoad(const std::string& path, TConverterRec* format, int result);
  // The document as plain-text bytes in `format`; UTF-8 when the user chooses it because the
  // code page cannot hold every character (auto-save chooses it silently). False when the
  // user cancelled.
  bool SerialiseText(bool autoSave, TPlainTextFormat& format, std::string& data);
  // The export format the document saves in: plain text in its own encoding (UTF-8 for text
  // decoded on open), else the one matching its format.
  TConverterRec* ExportFormat() const;
  // DoSave with the plain-text encoding and line ends `text`; `fileBytes`, when given, are
  // written as they stand in place of the text.
  void Write(const std::string& name, TConverterRec* format, bool autoSave, const TPlainTextFormat& text,
             const std::string* fileBytes);
  // Moves `name` aside as its "~" backup, keeping the file itself.
  static void Backup(const std::string& name);
  void RequireDocument() const;
  void ReadSettings();
  void WriteSettings();
  void SetModified(bool modified);

  TRichEditW* editor_ = nullptr;
  TDocumentState* document_ = nullptr;
  bool makeBackup_ = false;
  bool editHTML_ = true;
  std::string fileName_;
  TFileStamp diskStamp_;  // the file as opened or last saved; not Exists: not known
  TConverterList converters_;
  TConverterRec* format_ = nullptr;
  TPlainTextFormat text_;
  std::optional<std::string> fileBytes_;  // the file's bytes of plain text decoded on open
  bool saved_ = false;
  std::unique_ptr<TStringList> userExt_;
  TOpenDialog* openDialog_ = nullptr;  // owned as components
  TSaveDialog* saveDialog_ = nullptr;
};

// True when the file begins with "{\rtf1".
bool IsRTFFile(const std::string& path);
