#include "shell/language.h"

#include <vector>

#include "platform/files.h"
#include "platform/gui/application.h"
#include "platform/gui/form.h"
#include "platform/ini_file.h"
#include "platform/locale_names.h"
#include "platform/string_list.h"
#include "textcore/app_files.h"

namespace {

void AssignLines(TStrings& list, const std::vector<std::string>& lines) {
  list.BeginUpdate();
  list.Clear();
  for (const std::string& line : lines) list.Add(line);
  list.EndUpdate();
}

// Removes blanks and control characters from both ends.
std::string Trim(const std::string& s) {
  size_t begin = 0, end = s.size();
  while (begin < end && static_cast<unsigned char>(s[begin]) <= ' ') ++begin;
  while (end > begin && static_cast<unsigned char>(s[end - 1]) <= ' ') --end;
  return s.substr(begin, end - begin);
}

// Parts of a list value, each trimmed; a blank last part is dropped.
std::vector<std::string> SplitList(const std::string& value, const std::string& separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    const size_t at = value.find(separator, start);
    parts.push_back(Trim(value.substr(start, at == std::string::npos ? std::string::npos : at - start)));
    if (at == std::string::npos) break;
    start = at + separator.size();
  }
  if (parts.back().empty()) parts.pop_back();
  return parts;
}

// Parts joined by "|", trailing separators removed.
std::string JoinList(const std::vector<std::string>& parts) {
  std::string value;
  for (const std::string& part : parts) value += part + "|";
  while (!value.empty() && value.back() == '|') value.pop_back();
  return value;
}

// The text without its accelerator: the first "&" is removed unless it starts a doubled "&&"
// somewhere between the first and the last character.
std::string StripAccelerator(const std::string& text) {
  const size_t at = text.find('&');
  if (at == std::string::npos) return text;
  const bool doubled = at + 1 < text.size() && text[at + 1] == '&';
  if (doubled && at != 0 && at != text.size() - 1) return text;
  return text.substr(0, at) + text.substr(at + 1);
}

bool IsKindOf(const TPersistent& object, const char* className) {
  for (const TClassInfo* c = &object.ClassInfo(); c; c = c->Parent)
    if (SameName(c->Name, className)) return true;
  return false;
}

bool IsRadioGroup(const TPersistent& object) { return IsKindOf(object, "TRadioGroup"); }
// List views: their column headers are a published "Columns" collection of captioned items.
bool IsListView(TPersistent& object) {
  return IsPublishedProp(object, "Columns") && PropKind(object, "Columns") == TPropKind::Collection;
}

// Controls whose window text is the user's data rather than a caption (edits, memos, lists).
bool HoldsUserText(const TPersistent& object) {
  for (const char* name : {"TEdit", "TMemo", "TComboBox", "TListBox", "TCustomRichEditW"})
    if (IsKindOf(object, name)) return true;
  return false;
}

// The published string property `name` of the component when it is a translatable text.
bool HasText(TComponent& component, const std::string& name) {
  if (name == "Caption" && HoldsUserText(component)) return false;
  return IsPublishedProp(component, name) && PropKind(component, name) == TPropKind::String;
}

// Whether a form-list entry is a further instance of a form ("AskForm_1").
bool IsInstanceEntry(const std::string& entry) {
  return entry.size() >= 2 && entry[entry.size() - 2] == '_';
}

// The key prefix of a form-list entry: instances share the keys of their form.
std::string KeyPrefix(const std::string& entry) {
  return IsInstanceEntry(entry) ? entry.substr(0, entry.size() - 2) : entry;
}

bool NameBegins(const std::string& name, const std::string& entry) {
  return name.size() >= entry.size() && SameName(name.substr(0, entry.size()), entry);
}

// The first of the application's components whose name begins with `entry` (without case); the
// windows other components own (the spelling windows) after them.
TCustomForm* FindForm(const std::string& entry) {
  if (!Application || entry.empty()) return nullptr;
  for (int i = 0; i < Application->ComponentCount(); ++i) {
    TComponent* c = Application->Components(i);
    if (NameBegins(c->Name(), entry)) return dynamic_cast<TCustomForm*>(c);
  }
  for (int i = 0; Screen && i < Screen->FormCount(); ++i)
    if (NameBegins(Screen->Forms(i)->Name(), entry)) return Screen->Forms(i);
  return nullptr;
}

// The columns of a list view.
TCollectionBase* ColumnsOf(TComponent& listView) {
  TPropValue v = GetPropValue(listView, "Columns");
  auto* columns = std::get_if<TPersistent*>(&v);
  return columns ? dynamic_cast<TCollectionBase*>(*columns) : nullptr;
}

void TranslateComponent(TComponent& c, const std::string& key, const TCustomIniFile& ini,
                        const std::string& separator) {
  for (const char* name : {"Caption", "Hint"}) {
    if (!HasText(c, name)) continue;
    const std::string value = ini.ReadString(name, key + "." + name, "");
    if (!value.empty()) SetStrProp(c, name, value);
  }
  if (IsRadioGroup(c)) {
    const std::string value = ini.ReadString("Items", key + ".Items", "");
    if (value.empty()) return;
    std::vector<std::string> items = GetStringsProp(c, "Items");
    const std::vector<std::string> parts = SplitList(value, separator);
    for (size_t n = 0; n < parts.size(); ++n) {
      if (n < items.size()) items[n] = parts[n];
      else items.push_back(parts[n]);
    }
    SetStringsProp(c, "Items", items);
  } else if (IsListView(c)) {
    const std::string value = ini.ReadString("Columns", key + ".Columns", "");
    TCollectionBase* columns = ColumnsOf(c);
    if (value.empty() || !columns) return;
    const std::vector<std::string> parts = SplitList(value, separator);
    for (int n = 0; n < columns->Count() && n < int(parts.size()); ++n)
      SetStrProp(*columns->Item(n), "Caption", parts[size_t(n)]);
  }
}

// Sets the texts of `form` from the keys that begin with `prefix`.
void TranslateForm(TCustomForm& form, const std::string& prefix, const TCustomIniFile& ini, const std::string& separator) {
  if (form.Tag() != kNoTranslationTag) {
    const std::string caption = ini.ReadString("Caption", prefix + ".Caption", "");
    if (!caption.empty()) form.SetCaption(caption);
  }
  for (int n = 0; n < form.ComponentCount(); ++n) {
    TComponent* c = form.Components(n);
    if (c->Tag() != kNoTranslationTag && !c->Name().empty())
      TranslateComponent(*c, prefix + "." + c->Name(), ini, separator);
  }
}

// The language whose file translates the forms made from now on.
TLanguage* g_translating = nullptr;

// Writes one text of the template when it is worth translating.
void WriteText(TCustomIniFile& ini, const std::string& section, const std::string& key,
               const std::string& text, const std::string& componentName) {
  std::string value = Trim(text);
  if (section == "Caption" || section == "Hint") value = StripAccelerator(value);
  if (value.empty() || value == "-" || value == componentName) return;
  ini.WriteString(section, key, value);
}

bool HasAction(TComponent& c) {
  if (!IsPublishedProp(c, "Action")) return false;
  TPropValue v = GetPropValue(c, "Action");
  auto* action = std::get_if<TComponent*>(&v);
  return action && *action;
}

void WriteComponent(TComponent& c, const std::string& key, TCustomIniFile& ini) {
  for (const char* name : {"Caption", "Hint"})
    if (HasText(c, name)) WriteText(ini, name, key + "." + name, GetStrProp(c, name), c.Name());
  if (IsRadioGroup(c)) {
    WriteText(ini, "Items", key + ".Items", JoinList(GetStringsProp(c, "Items")), c.Name());
  } else if (TCollectionBase* columns = IsListView(c) ? ColumnsOf(c) : nullptr) {
    std::vector<std::string> captions;
    for (int n = 0; n < columns->Count(); ++n) captions.push_back(GetStrProp(*columns->Item(n), "Caption"));
    WriteText(ini, "Columns", key + ".Columns", JoinList(captions), c.Name());
  }
}

}  // namespace

LCID LanguageOfFile(const std::string& fileName) {
  const std::string base = ExtractFileBaseName(ExtractFileName(fileName));
  for (LCID lcid : EnumSystemLocales(false))
    if (lcid < 0x0800 && SameName(LocaleName(lcid, lnEnglish), base)) return lcid;
  return 0;
}

QM_CLASS_INFO(TLanguage, TComponent, [](TClassBuilder<TLanguage>& c) {
  c.String("LanguageFile", &TLanguage::LanguageFile, &TLanguage::SetLanguageFile);
  c.Strings("Forms", [](TLanguage& l) { return LinesOfStrings(*l.Forms()); },
            [](TLanguage& l, const std::vector<std::string>& v) { AssignLines(*l.Forms(), v); });
  c.Strings("Properties", [](TLanguage& l) { return LinesOfStrings(*l.Properties()); },
            [](TLanguage& l, const std::vector<std::string>& v) { AssignLines(*l.Properties(), v); });
  c.String("Separator", &TLanguage::Separator, &TLanguage::SetSeparator);
  c.Boolean("AutoLoad", &TLanguage::AutoLoad, &TLanguage::SetAutoLoad);
  c.Event("OnBeforeTranslation", &TLanguage::OnBeforeTranslation);
  c.Event("OnAfterTranslation", &TLanguage::OnAfterTranslation);
  c.Event("OnChangeLanguage", &TLanguage::OnChangeLanguage);
  c.Event("OnTranslate", &TLanguage::OnTranslate);
})

TLanguage::TLanguage(TComponent* owner)
    : TComponent(owner), forms_(std::make_unique<TStringList>()), properties_(std::make_unique<TStringList>()) {}

// The language applied last takes what it set for the whole program with it: windows made later,
// Qt's own texts and the names of locales are English again.
TLanguage::~TLanguage() {
  if (g_translating == this) {
    SetFormLayoutHook(nullptr);
    g_translating = nullptr;
    SetInterfaceLcid(LANG_ENGLISH_US);
    Application->SetQtLanguage({});
  }
}

void TLanguage::SetLanguageFile(const std::string& fileName) {
  languageFile_ = fileName;
  file_.reset();
  if (autoLoad_ && !(ComponentState() & csLoading)) LoadLanguage();
}

TStrings* TLanguage::Forms() const { return forms_.get(); }
void TLanguage::SetForms(const TStrings& forms) { forms_->Assign(forms); }
TStrings* TLanguage::Properties() const { return properties_.get(); }
void TLanguage::SetProperties(const TStrings& properties) { properties_->Assign(properties); }

void TLanguage::SetSeparator(const std::string& separator) {
  separator_ = Trim(separator).empty() ? "," : separator;
}

TIniFile* TLanguage::File() {
  // Only the name counts, whatever folders (absolute, relative, Windows-style) stand before it.
  const size_t folder = languageFile_.find_last_of("/\\");
  const std::string name = folder == std::string::npos ? languageFile_ : languageFile_.substr(folder + 1);
  if (name.empty()) return nullptr;
  if (!file_) file_ = std::make_unique<TIniFile>(AppDirFile(name));
  return file_.get();
}

void TLanguage::LoadLanguage() {
  if (const TIniFile* ini = File()) {
    // Qt's own dialogs (file dialogs, message box buttons) follow in the language the file is
    // named after ("russian.lng").
    Application->SetQtLanguage(ExtractFileBaseName(ExtractFileName(ini->FileName())));
    // Locale names in the lists follow it too.
    const LCID lcid = LanguageOfFile(ini->FileName());
    SetInterfaceLcid(lcid ? lcid : LANG_ENGLISH_US);
    for (int i = 0; i < forms_->Count(); ++i) {
      const std::string entry = Trim(forms_->Strings(i));
      if (TCustomForm* form = FindForm(entry)) TranslateForm(*form, KeyPrefix(entry), *ini, separator_);
    }
    // Windows made later (for each showing, or on first use) are translated as they are read.
    g_translating = this;
    SetFormLayoutHook([this](TCustomForm& form) { TranslateNewForm(form); });
  }
  if (OnChangeLanguage) OnChangeLanguage(this);
}

void TLanguage::TranslateNewForm(TCustomForm& form) {
  const TIniFile* ini = File();
  if (!ini) return;
  for (int i = 0; i < forms_->Count(); ++i) {
    const std::string entry = Trim(forms_->Strings(i));
    if (!entry.empty() && !IsInstanceEntry(entry) && NameBegins(form.Name(), entry)) {
      TranslateForm(form, entry, *ini, separator_);
      return;
    }
  }
}

void TLanguage::SaveLanguage(const std::string& fileName) {
  const std::string target = ExtractFilePath(fileName).empty() ? ProgramFolder() + fileName : fileName;
  TMemIniFile ini(target);
  for (int i = 0; i < forms_->Count(); ++i) {
    const std::string entry = Trim(forms_->Strings(i));
    TCustomForm* form = IsInstanceEntry(entry) ? nullptr : FindForm(entry);
    if (!form) continue;
    if (form->Tag() != kNoTranslationTag)
      WriteText(ini, "Caption", entry + ".Caption", form->Caption(), form->Name());
    for (int n = 0; n < form->ComponentCount(); ++n) {
      TComponent* c = form->Components(n);
      if (c->Tag() != kNoTranslationTag && !c->Name().empty() && !HasAction(*c))
        WriteComponent(*c, entry + "." + c->Name(), ini);
    }
  }
  ini.UpdateFile();
}

std::string TLanguage::GetMessage(const std::string& key) {
  if (key.empty()) return "???";
  const TIniFile* ini = File();
  return ini ? ini->ReadString("Messages", key, "") : std::string();
}
