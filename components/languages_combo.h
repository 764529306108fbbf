// TLanguagesCombo: a flat combo box listing the system's locales by name, whose value is the
// LCID of the selected one (0x0800 when none is selected).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "components/flat_combo.h"
#include "platform/locale_names.h"

enum TLanguageType { ltInstalled, ltSupported, ltPrimary, ltCustom };
enum TLanguageViewType { lvtLocalized, lvtEnglish, lvtNative, lvtAbbrev };

struct TLanguageEntry {
  std::string Name;
  LCID Lcid = 0;
  friend bool operator==(const TLanguageEntry&, const TLanguageEntry&) = default;
};

// Where the locales come from (the system's, or a test's).
struct TLocaleSource {
  std::function<std::vector<LCID>(bool supported)> Enumerate = EnumSystemLocales;
  std::function<std::string(LCID, TLocaleNameKind)> Name = LocaleName;
};

// The items of a list: every enumerated locale (ltPrimary: below 2048 only), or for ltCustom
// the lines of `customList` that are enumerated locales, in their order.
std::vector<TLanguageEntry> BuildLanguageList(TLanguageType type, TLanguageViewType view,
                                              const std::vector<std::string>& customList,
                                              const TLocaleSource& source = {});

class TLanguagesCombo : public TCustomFlatComboBox {
  QM_CLASS(TLanguagesCombo, TCustomFlatComboBox)
public:
  explicit TLanguagesCombo(TComponent* owner);

  // The selected LCID; 0x0800 when nothing is selected.
  LCID Language() const;
  // Selects the item of an installed locale (none when it is not listed); others change nothing.
  void SetLanguage(LCID lcid);
  std::string LanguageName() const { return Text(); }
  // Selects the item of that text (none when there is none).
  void SetLanguageName(const std::string& name);
  int LanguageCount() const { return Items()->Count(); }
  TLanguageType LanguageType() const { return languageType_; }
  void SetLanguageType(TLanguageType v);
  TLanguageViewType ViewType() const { return viewType_; }
  void SetViewType(TLanguageViewType v);
  const std::vector<std::string>& CustomList() const { return customList_; }
  void SetCustomList(const std::vector<std::string>& v);
  bool ShowFlag() const { return showFlag_; }
  void SetShowFlag(bool v) { showFlag_ = v; }
  // The locales listed (for tests: another source).
  void SetLocaleSource(TLocaleSource source);
  // Fills the list again, keeping the selected locale.
  void BuildList();

protected:
  void Loaded() override;

private:
  TLanguageType languageType_ = ltInstalled;
  TLanguageViewType viewType_ = lvtLocalized;
  std::vector<std::string> customList_;
  bool showFlag_ = false;
  TLocaleSource source_;
};
