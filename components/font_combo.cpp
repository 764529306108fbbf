#include "components/font_combo.h"

#include <algorithm>

#include "textcore/win_registry.h"

QM_CLASS_INFO(TFlatFontComboBox, TCustomFlatComboBox, [](TClassBuilder<TFlatFontComboBox>& b) {
  using C = TFlatFontComboBox;
  b.String("FontName", &C::FontName, &C::SetFontName)
      .Integer("RecentFonts", &C::RecentFonts, &C::SetRecentFonts)
      .String("RootKey", &C::RootKey, &C::SetRootKey)
      .Set<TFilterOptions>("FilterOptions", {"ShowTrueType", "ShowPostScript", "ShowRaster"}, &C::FilterOptions,
                           &C::SetFilterOptions)
      .Integer("DroppedWidth", &C::DroppedWidth, &C::SetDroppedWidth)
      .Event("OnValidateFont", &C::OnValidateFont);
})

QM_CLASS_INFO(TFontListBox, TListBox, [](TClassBuilder<TFontListBox>& b) {
  using C = TFontListBox;
  b.Set<TFilterOptions>("FilterOptions", {"ShowTrueType", "ShowPostScript", "ShowRaster"}, &C::FilterOptions,
                        &C::SetFilterOptions)
      .String("FontName", &C::FontName, &C::SetFontName)
      .Event("OnValidateFont", &C::OnValidateFont);
})

namespace {

const char* const kRecentSection = "RecentFonts";

bool Passes(const TFontFamily& f, TFilterOptions filter) {
  switch (f.Type) {
    case ftTrueType: return filter & ShowTrueType;
    case ftPostScript: return filter & ShowPostScript;
    default: return filter & ShowRaster;
  }
}

}  // namespace

std::vector<std::string> FilteredFontNames(const TFontSource& source, TFilterOptions filter,
                                           const EValidateFont& validate, TObject* sender) {
  std::vector<std::string> names;
  for (const TFontFamily& f : source()) {
    if (!Passes(f, filter)) continue;
    bool accept = true;
    if (validate) validate(sender, f.Name, accept);
    if (accept) names.push_back(f.Name);
  }
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

std::vector<std::string> FontListLayout(const std::vector<std::string>& recent, const std::vector<std::string>& families) {
  std::vector<std::string> items;
  for (const std::string& name : recent)
    if (std::binary_search(families.begin(), families.end(), name) &&
        std::find(items.begin(), items.end(), name) == items.end())
      items.push_back(name);
  if (!items.empty()) items.push_back("-");
  items.insert(items.end(), families.begin(), families.end());
  return items;
}

std::vector<std::string> PushRecentFont(std::vector<std::string> recent, const std::string& name, int capacity) {
  recent.erase(std::remove(recent.begin(), recent.end(), name), recent.end());
  recent.insert(recent.begin(), name);
  if (int(recent.size()) > std::max(0, capacity)) recent.resize(size_t(std::max(0, capacity)));
  return recent;
}

// --- TFlatFontComboBox -------------------------------------------------------------------------

TFlatFontComboBox::TFlatFontComboBox(TComponent* owner) : TCustomFlatComboBox(owner) {
  SetDropDownCount(24);
}

void TFlatFontComboBox::Loaded() {
  TCustomFlatComboBox::Loaded();
  LoadRecentFonts();
}

void TFlatFontComboBox::SetRecentFonts(int v) {
  recentFonts_ = std::max(0, v);
  if (!(ComponentState() & csLoading)) LoadRecentFonts();
}

void TFlatFontComboBox::SetRootKey(const std::string& v) {
  rootKey_ = v;
  if (!(ComponentState() & csLoading)) LoadRecentFonts();
}

void TFlatFontComboBox::SetFilterOptions(TFilterOptions v) {
  filter_ = v;
  if (!(ComponentState() & csLoading)) LoadRecentFonts();
}

void TFlatFontComboBox::SetFontSource(TFontSource source) {
  source_ = std::move(source);
  LoadRecentFonts();
}

std::vector<std::string> TFlatFontComboBox::StoredRecentFonts() const {
  std::vector<std::string> recent;
  TWinRegistry reg(rootKey_);
  for (int i = 0; i < recentFonts_; ++i) {
    try {
      const std::string name = reg.ReadString(kRecentSection, std::to_string(i), "");
      if (!name.empty()) recent.push_back(name);
    } catch (const std::exception&) {
      // A value of another type is no font name.
    }
  }
  return recent;
}

bool TFlatFontComboBox::IsInstalled(const std::string& name) const {
  return std::binary_search(families_.begin(), families_.end(), name);
}

void TFlatFontComboBox::LoadRecentFonts() {
  families_ = FilteredFontNames(source_, filter_, OnValidateFont, this);
  const std::string text = Text();
  filling_ = true;
  Items()->BeginUpdate();
  Items()->Clear();
  for (const std::string& item : FontListLayout(StoredRecentFonts(), families_)) Items()->Add(item);
  Items()->EndUpdate();
  SetItemIndex(Items()->IndexOf(text));
  if (ItemIndex() < 0 && !text.empty()) SetText(text);
  lastIndex_ = ItemIndex();
  filling_ = false;
}

void TFlatFontComboBox::SaveRecentFonts(const std::string& name) {
  if (recentFonts_ > 0) {
    const std::vector<std::string> recent = PushRecentFont(StoredRecentFonts(), name, recentFonts_);
    TWinRegistry reg(rootKey_);
    for (int i = 0; i < recentFonts_; ++i) {
      if (size_t(i) < recent.size()) reg.WriteString(kRecentSection, std::to_string(i), recent[size_t(i)]);
      else reg.DeleteValue(kRecentSection, std::to_string(i));  // no stale name behind the list
    }
  }
  SetText(name);
  LoadRecentFonts();
}

void TFlatFontComboBox::SetFontName(const std::string& name) {
  const int index = Items()->IndexOf(name);
  if (index >= 0) SetItemIndex(index);
  else SetText(name);
  lastIndex_ = ItemIndex();
  typed_ = false;
}

void TFlatFontComboBox::Choose() {
  typed_ = false;
  const std::string name = Text();
  if (name == "-" || !IsInstalled(name)) return;
  try {
    SaveRecentFonts(name);
  } catch (const std::exception&) {
    // The settings store cannot be written: the font is still chosen.
  }
}

void TFlatFontComboBox::Change() {
  if (!filling_) {
    const int index = ItemIndex();
    if (index != lastIndex_ && index >= 0 && Items()->Strings(index) == Text()) {
      lastIndex_ = index;
      if (Text() == "-") {
        // The separator is no font: the item after it is taken instead.
        SetItemIndex(std::min(index + 1, Items()->Count() - 1));
        lastIndex_ = ItemIndex();
      }
      Choose();
    } else {
      typed_ = true;
    }
  }
  TCustomFlatComboBox::Change();
}

void TFlatFontComboBox::KeyDown(uint16_t& key, TShiftState shift) {
  TCustomFlatComboBox::KeyDown(key, shift);
  if (key == VK_RETURN) Choose();
}

void TFlatFontComboBox::DoExit() {
  if (typed_) Choose();
  TCustomFlatComboBox::DoExit();
}

// --- TFontListBox ------------------------------------------------------------------------------

TFontListBox::TFontListBox(TComponent* owner) : TListBox(owner) { Fill(); }

void TFontListBox::Loaded() {
  TListBox::Loaded();
  Fill();
}

void TFontListBox::SetFilterOptions(TFilterOptions v) {
  filter_ = v;
  Fill();
}

void TFontListBox::SetFontSource(TFontSource source) {
  source_ = std::move(source);
  Fill();
}

void TFontListBox::Fill() {
  if (ComponentState() & csLoading) return;
  const std::string current = FontName();
  Items()->BeginUpdate();
  Items()->Clear();
  for (const std::string& name : FilteredFontNames(source_, filter_, OnValidateFont, this)) Items()->Add(name);
  Items()->EndUpdate();
  SetFontName(current);
}

std::string TFontListBox::FontName() const {
  const int index = ItemIndex();
  return index >= 0 ? Items()->Strings(index) : std::string();
}

void TFontListBox::SetFontName(const std::string& name) { SetItemIndex(Items()->IndexOf(name)); }
