// The program's own files: interface language files, bookmarks, plain text, the web-services
// directory, and form layouts.
#include <memory>
#include <string>

#include "fuzz/fuzz_readers.h"
#include "fuzz/fuzz_support.h"
#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/gui/application.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/form.h"
#include "platform/gui/form_reader.h"
#include "platform/gui/std_controls.h"
#include "platform/string_list.h"
#include "shell/bookmarks.h"
#include "shell/language.h"
#include "shell/net_directory.h"
#include "shell/plain_text.h"

namespace {

// A form of the application with the kinds of components a language file translates.
void EnsureTranslatedForm() {
  static TForm* form = nullptr;
  if (form) return;
  form = new TForm(Application);
  form->SetName("FuzzForm");
  auto* button = new TButton(form);
  button->SetName("Button");
  button->SetParent(form);
  auto* label = new TLabel(form);
  label->SetName("Label");
  label->SetParent(form);
  auto* group = new TRadioGroup(form);
  group->SetName("Group");
  group->SetParent(form);
}

}  // namespace

// A language file in the program folder, applied to a live form; then message look-ups.
int FuzzLanguageFile(const std::uint8_t* Data, std::size_t Size) {
  EnsureFuzzGui();
  EnsureTranslatedForm();
  const std::string saved = ProgramFolder();
  SetProgramFolder(FuzzFile(""));
  WriteFuzzFile("fuzz.lng", FuzzText(Data, Size));
  {
    TLanguage language(nullptr);
    TStringList forms;
    forms.Add("FuzzForm");
    language.SetForms(forms);
    language.SetLanguageFile("fuzz.lng");
    language.LoadLanguage();
    for (const char* key : {"FileNotFound", "", "Fuzz"}) language.GetMessage(key);
  }
  SetProgramFolder(saved);
  ClearFuzzFiles();
  return 0;
}

// A ".qb" file: its bookmarks, written back.
int FuzzBookmarks(const std::uint8_t* Data, std::size_t Size) {
  FormatBookmarks(ParseBookmarks(std::string(FuzzText(Data, Size))));
  return 0;
}

// Plain-text bytes: their encoding and line end, the text, and the text written back in them.
int FuzzPlainText(const std::uint8_t* Data, std::size_t Size) {
  const std::string_view bytes = FuzzText(Data, Size);
  for (unsigned codePage : {1251u, 866u, 20866u}) {
    TPlainText plain = ReadPlainText(bytes, codePage);
    EncodePlainText(plain.Text, plain.Format);
    KeepLineEnds(plain.Text, plain.Format);
  }
  return 0;
}

// The web-services directory file, with each address judged as the window does.
int FuzzWebDirectory(const std::uint8_t* Data, std::size_t Size) {
  for (const TDirectoryGroup& group : ParseDirectory(std::string(FuzzText(Data, Size))))
    for (const TDirectoryEntry& entry : group.Entries) {
      DirectoryImage(entry.Address);
      OpenableAddress(entry.Address);
      DirectoryFileName(entry.Address);
    }
  return 0;
}

// A form layout read into a bare form; a bad layout is refused with EConvertError.
int FuzzFormLayout(const std::uint8_t* Data, std::size_t Size) {
  EnsureFuzzGui();
  auto form = std::make_unique<TForm>(nullptr);
  try {
    ReadLayout(*form, FuzzText(Data, Size), "fuzz.qfm");
  } catch (const EConvertError&) {
  }
  return 0;
}
