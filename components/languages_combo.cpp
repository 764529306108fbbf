#include "components/languages_combo.h"

#include <algorithm>
#include <cstdint>

#include "platform/number_text.h"

QM_CLASS_INFO(TLanguagesCombo, TCustomFlatComboBox, [](TClassBuilder<TLanguagesCombo>& b) {
  using C = TLanguagesCombo;
  b.Integer("Language", [](C& c) { return int(c.Language()); }, [](C& c, int v) { c.SetLanguage(LCID(v)); })
      .String("LanguageName", &C::LanguageName, &C::SetLanguageName)
      .Integer("LanguageCount", &C::LanguageCount)
      .Enum<TLanguageType>("LanguageType", {"ltInstalled", "ltSupported", "ltPrimary", "ltCustom"}, &C::LanguageType,
                           &C::SetLanguageType)
      .Enum<TLanguageViewType>("ViewType", {"lvtLocalized", "lvtEnglish", "lvtNative", "lvtAbbrev"}, &C::ViewType,
                               &C::SetViewType)
      .Strings("CustomList", &C::CustomList, &C::SetCustomList)
      .Boolean("ShowFlag", &C::ShowFlag, &C::SetShowFlag);
})

std::vector<TLanguageEntry> BuildLanguageList(TLanguageType type, TLanguageViewType view,
                                              const std::vector<std::string>& customList,
                                              const TLocaleSource& source) {
  const TLocaleNameKind kind = view == lvtEnglish ? lnEnglish
                               : view == lvtNative ? lnNative
                               : view == lvtAbbrev ? lnAbbrev
                                                   : lnLocalized;
  std::vector<TLanguageEntry> all;
  for (LCID lcid : source.Enumerate(type == ltSupported)) {
    if (type == ltPrimary && lcid >= 2048) continue;
    all.push_back({source.Name(lcid, kind), lcid});
  }
  if (type != ltCustom) return all;
  std::vector<TLanguageEntry> custom;
  for (const std::string& line : customList) {
    const LCID lcid = LCID(ParseInteger(line).value_or(0));
    auto it = std::find_if(all.begin(), all.end(), [&](const TLanguageEntry& e) { return e.Lcid == lcid; });
    if (it != all.end()) custom.push_back(*it);
  }
  return custom;
}

TLanguagesCombo::TLanguagesCombo(TComponent* owner) : TCustomFlatComboBox(owner) {
  SetStyle(csDropDownList);
  BuildList();
}

void TLanguagesCombo::Loaded() {
  TCustomFlatComboBox::Loaded();
  BuildList();
}

LCID TLanguagesCombo::Language() const {
  const int index = ItemIndex();
  if (index < 0) return LOCALE_SYSTEM_DEFAULT;
  return LCID(reinterpret_cast<uintptr_t>(Items()->Objects(index)));
}

void TLanguagesCombo::SetLanguage(LCID lcid) {
  const std::vector<LCID> installed = source_.Enumerate(false);
  if (std::find(installed.begin(), installed.end(), lcid) == installed.end()) return;
  int found = -1;
  for (int i = 0; i < Items()->Count() && found < 0; ++i)
    if (LCID(reinterpret_cast<uintptr_t>(Items()->Objects(i))) == lcid) found = i;
  SetItemIndex(found);
}

void TLanguagesCombo::SetLanguageName(const std::string& name) { SetItemIndex(Items()->IndexOf(name)); }

void TLanguagesCombo::SetLanguageType(TLanguageType v) {
  languageType_ = v;
  BuildList();
}

void TLanguagesCombo::SetViewType(TLanguageViewType v) {
  viewType_ = v;
  BuildList();
}

void TLanguagesCombo::SetCustomList(const std::vector<std::string>& v) {
  customList_ = v;
  if (languageType_ == ltCustom) BuildList();
}

void TLanguagesCombo::SetLocaleSource(TLocaleSource source) {
  source_ = std::move(source);
  BuildList();
}

void TLanguagesCombo::BuildList() {
  if (ComponentState() & csLoading) return;
  const int index = ItemIndex();
  const LCID kept = index >= 0 ? Language() : 0;
  Items()->BeginUpdate();
  Items()->Clear();
  for (const TLanguageEntry& e : BuildLanguageList(languageType_, viewType_, customList_, source_))
    Items()->AddObject(e.Name, reinterpret_cast<TObject*>(uintptr_t(e.Lcid)));
  Items()->EndUpdate();
  int found = -1;
  for (int i = 0; kept && i < Items()->Count() && found < 0; ++i)
    if (LCID(reinterpret_cast<uintptr_t>(Items()->Objects(i))) == kept) found = i;
  SetItemIndex(found);
}
