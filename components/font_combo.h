// Font lists: TFlatFontComboBox lists the installed font families after the most recently
// chosen ones (kept in the registry, newest at "0"), TFontListBox lists the families alone.
// A font counts as chosen when it is picked from the list, confirmed with Enter or typed and
// left with an installed family's name: never on every typed letter.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "components/flat_combo.h"
#include "platform/gui/font_families.h"

using TFilterOptions = unsigned;
inline constexpr TFilterOptions ShowTrueType = 1, ShowPostScript = 2, ShowRaster = 4;

using TFontSource = std::function<std::vector<TFontFamily>()>;
using EValidateFont = std::function<void(TObject* Sender, const std::string& Font, bool& Accept)>;

// The family names the filter, the validation event and the source let through, sorted.
std::vector<std::string> FilteredFontNames(const TFontSource& source, TFilterOptions filter,
                                           const EValidateFont& validate, TObject* sender);
// The list shown: the recent fonts still installed (newest first), "-" when there are any,
// then every family.
std::vector<std::string> FontListLayout(const std::vector<std::string>& recent, const std::vector<std::string>& families);
// The recent list after choosing `name`: it moves (or comes) to the front, at most `capacity`.
std::vector<std::string> PushRecentFont(std::vector<std::string> recent, const std::string& name, int capacity);

class TFlatFontComboBox : public TCustomFlatComboBox {
  QM_CLASS(TFlatFontComboBox, TCustomFlatComboBox)
public:
  explicit TFlatFontComboBox(TComponent* owner);

  std::string FontName() const { return Text(); }
  // Selects the font's item (the recent list stays as it is).
  void SetFontName(const std::string& name);
  // How many recent fonts are kept (0: none and no separator).
  int RecentFonts() const { return recentFonts_; }
  void SetRecentFonts(int v);
  // The registry key (under HKEY_CURRENT_USER) of section "RecentFonts".
  const std::string& RootKey() const { return rootKey_; }
  void SetRootKey(const std::string& v);
  TFilterOptions FilterOptions() const { return filter_; }
  void SetFilterOptions(TFilterOptions v);
  int DroppedWidth() const { return droppedWidth_; }
  void SetDroppedWidth(int v) { droppedWidth_ = v; }
  // Where the families come from (the installed ones unless a test says otherwise).
  void SetFontSource(TFontSource source);

  // Fills the list from the families and the stored recent fonts.
  void LoadRecentFonts();
  // Stores `name` as the newest recent font and fills the list again.
  void SaveRecentFonts(const std::string& name);
  // The recent fonts as stored, newest first.
  std::vector<std::string> StoredRecentFonts() const;

  EValidateFont OnValidateFont;

protected:
  void Loaded() override;
  void Change() override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void DoExit() override;

private:
  bool IsInstalled(const std::string& name) const;
  void Choose();

  int recentFonts_ = 3, droppedWidth_ = 0, lastIndex_ = -1;
  std::string rootKey_ = "Software\\Vortanel\\Components";
  TFilterOptions filter_ = ShowTrueType | ShowPostScript | ShowRaster;
  TFontSource source_ = InstalledFontFamilies;
  std::vector<std::string> families_;
  bool typed_ = false, filling_ = false;
};

// The families alone, in a list box.
class TFontListBox : public TListBox {
  QM_CLASS(TFontListBox, TListBox)
public:
  explicit TFontListBox(TComponent* owner);
  TFilterOptions FilterOptions() const { return filter_; }
  void SetFilterOptions(TFilterOptions v);
  void SetFontSource(TFontSource source);
  std::string FontName() const;
  void SetFontName(const std::string& name);

  EValidateFont OnValidateFont;

protected:
  void Loaded() override;

private:
  void Fill();
  TFilterOptions filter_ = ShowTrueType | ShowPostScript | ShowRaster;
  TFontSource source_ = InstalledFontFamilies;
};
