// TLanguage: translates the program's forms from an interface language file (INI text in the
// program folder) and answers message look-ups from its "Messages" section. It also writes a
// template of the current texts from which translators make new language files.
//
// File layout: sections named after the property ("Caption", "Hint", "Items", "Columns") with
// keys "{Form}.Caption" and "{Form}.{Component}.{Property}", plus "Messages" keyed by message.
#pragma once

#include <memory>
#include <string>

#include "platform/gui/component.h"

class TCustomForm;
class TStrings;
class TStringList;
class TIniFile;

// Kept with the component for the layouts that name it; never fired.
using TLanguageNotifyEvent =
    std::function<void(TObject* Sender, const std::string& Key, std::string& Value)>;

// The locale of the language a file is named after ("russian.lng": 1049); 0 when none is.
unsigned LanguageOfFile(const std::string& fileName);

// Components with this tag are never translated (menu items made at run time carry it).
inline constexpr int kNoTranslationTag = -999;

class TLanguage : public TComponent {
  QM_CLASS(TLanguage, TComponent)
public:
  explicit TLanguage(TComponent* owner);
  // The language applied last puts the program's interface back to English.
  ~TLanguage() override;

  // The language file; only its file-name part is used, always in the program folder. With
  // AutoLoad (and outside form loading) setting it applies the file at once.
  const std::string& LanguageFile() const { return languageFile_; }
  void SetLanguageFile(const std::string& fileName);
  // Names of the forms to translate, one a line. An entry ending in "_" and one character
  // ("AskForm_1") uses the keys of the entry without those two ("AskForm").
  TStrings* Forms() const;
  void SetForms(const TStrings& forms);
  // Kept with the component; nothing reads it.
  TStrings* Properties() const;
  void SetProperties(const TStrings& properties);
  // Separator of list values; a blank value stores ",".
  const std::string& Separator() const { return separator_; }
  void SetSeparator(const std::string& separator);
  bool AutoLoad() const { return autoLoad_; }
  void SetAutoLoad(bool autoLoad) { autoLoad_ = autoLoad; }

  // Applies the language file to every listed form that exists (also those other components
  // own) and to each listed form made later; Qt's own texts and the names of locales follow in
  // the language the file is named after ("russian.lng"). Then fires OnChangeLanguage. A
  // missing file changes nothing.
  void LoadLanguage();
  // Writes a template of the listed forms' current texts to `fileName` (a name without a
  // folder goes to the program folder).
  void SaveLanguage(const std::string& fileName);
  // The text of `key` in section "Messages": "" when the file lacks it, "???" for an empty key.
  std::string GetMessage(const std::string& key);

  TNotifyEvent OnBeforeTranslation, OnAfterTranslation, OnChangeLanguage;
  TLanguageNotifyEvent OnTranslate;

private:
  // Translates a form just read when the forms list names it.
  void TranslateNewForm(TCustomForm& form);
  // The program-folder file that LanguageFile names, or nullptr when it names none.
  TIniFile* File();

  std::string languageFile_;
  std::unique_ptr<TStringList> forms_, properties_;
  std::string separator_ = ",";
  bool autoLoad_ = false;
  std::unique_ptr<TIniFile> file_;
};
