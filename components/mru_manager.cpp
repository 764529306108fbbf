#include "components/mru_manager.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "components/form_placement.h"
#include "platform/gui/menus.h"
#include "textcore/win_registry.h"

QM_CLASS_INFO(TMRUManager, TComponent, [](TClassBuilder<TMRUManager>& b) {
  using C = TMRUManager;
  b.Enum<TAccelDelimiter>("AccelDelimiter", {"adTab", "adSpace"}, &C::AccelDelimiter, &C::SetAccelDelimiter)
      .Boolean("AutoEnable", &C::AutoEnable, &C::SetAutoEnable)
      .Boolean("AutoUpdate", &C::AutoUpdate, &C::SetAutoUpdate)
      .Integer("Capacity", &C::Capacity, &C::SetCapacity)
      .Enum<TRecentMode>("Mode", {"rmInsert", "rmAppend"}, &C::Mode, &C::SetMode)
      .Boolean("RemoveOnSelect", &C::RemoveOnSelect, &C::SetRemoveOnSelect)
      .Integer("SeparateSize", &C::SeparateSize, &C::SetSeparateSize)
      .Component<TMenuItem>("RecentMenu", &C::RecentMenu, &C::SetRecentMenu)
      .Component<TFormPlacement>("IniStorage", &C::IniStorage, &C::SetIniStorage)
      .Boolean("ShowAccelChar", &C::ShowAccelChar, &C::SetShowAccelChar)
      .Integer("StartAccel", &C::StartAccel, &C::SetStartAccel)
      .Event("OnChange", &C::OnChange)
      .Event("OnClick", &C::OnClick)
      .Event("OnReadItem", &C::OnReadItem)
      .Event("OnWriteItem", &C::OnWriteItem);
})

namespace {

TObject* AsObject(int data) { return reinterpret_cast<TObject*>(intptr_t(data)); }

std::string Numbered(const char* format, int index) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, format, index);
  return buffer;
}

// A menu shows "&" as the accelerator mark: a file name keeps its own.
std::string MenuText(const std::string& text) {
  std::string out;
  for (char c : text) {
    out += c;
    if (c == '&') out += '&';
  }
  return out;
}

}  // namespace

// --- TRecentStrings ----------------------------------------------------------------------------

TRecentStrings::TRecentStrings() { SetCaseSensitive(true); }

void TRecentStrings::SetCapacity(int NewCapacity) {
  capacity_ = std::max(1, NewCapacity);
  Trim();
}

void TRecentStrings::Trim() {
  if (Count() <= capacity_) return;
  BeginUpdate();
  while (Count() > capacity_) Delete(mode_ == rmInsert ? Count() - 1 : 0);
  EndUpdate();
}

int TRecentStrings::Add(const std::string& S, int Data) { return AddObject(S, AsObject(Data)); }

int TRecentStrings::AddObject(const std::string& S, TObject* AObject) {
  BeginUpdate();
  const int present = IndexOf(S);
  if (present >= 0) Delete(present);
  int index = mode_ == rmInsert ? 0 : Count();
  InsertObject(index, S, AObject);
  Trim();
  if (mode_ == rmAppend) index = Count() - 1;
  EndUpdate();
  return index;
}

int TRecentStrings::Data(int Index) const { return int(reinterpret_cast<intptr_t>(Objects(Index))); }

// --- TMRURegistryStorage -----------------------------------------------------------------------

TMRURegistryStorage::TMRURegistryStorage(std::string keyPath, std::string rootSection)
    : key_(std::move(keyPath)), root_(std::move(rootSection)) {}

std::string TMRURegistryStorage::ReadString(const std::string& section, const std::string& ident,
                                            const std::string& def) {
  return TWinRegistry(key_).ReadString(section, ident, def);
}

int TMRURegistryStorage::ReadInteger(const std::string& section, const std::string& ident, int def) {
  return TWinRegistry(key_).ReadInteger(section, ident, def);
}

void TMRURegistryStorage::WriteString(const std::string& section, const std::string& ident, const std::string& value) {
  TWinRegistry(key_).WriteString(section, ident, value);
}

void TMRURegistryStorage::WriteInteger(const std::string& section, const std::string& ident, int value) {
  TWinRegistry(key_).WriteInteger(section, ident, value);
}

void TMRURegistryStorage::EraseSection(const std::string& section) {
  TWinRegistry(key_).DeleteKey("\\" + key_ + "\\" + section);
}

// --- TMRUManager -------------------------------------------------------------------------------

TMRUManager::TMRUManager(TComponent* owner) : TComponent(owner) {
  strings_.OnChange = [this](TObject*) { ListChanged(); };
}

TMRUManager::~TMRUManager() {
  strings_.OnChange = nullptr;
  SetIniStorage(nullptr);
  SetRecentMenu(nullptr);
}

void TMRUManager::SetAccelDelimiter(TAccelDelimiter v) {
  accelDelimiter_ = v;
  UpdateRecentMenu();
}

void TMRUManager::SetAutoEnable(bool v) {
  autoEnable_ = v;
  UpdateEnabled();
}

void TMRUManager::SetSeparateSize(int v) {
  separateSize_ = std::max(0, v);
  UpdateRecentMenu();
}

void TMRUManager::SetShowAccelChar(bool v) {
  showAccelChar_ = v;
  UpdateRecentMenu();
}

void TMRUManager::SetStartAccel(int v) {
  startAccel_ = v;
  UpdateRecentMenu();
}

void TMRUManager::SetRecentMenu(TMenuItem* menu) {
  if (menu == recentMenu_) return;
  ClearMenuItems();
  if (recentMenu_) recentMenu_->RemoveFreeNotification(this);
  recentMenu_ = menu;
  if (recentMenu_) recentMenu_->FreeNotification(this);
  UpdateRecentMenu();
}

void TMRUManager::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == recentMenu_) {
    recentMenu_ = nullptr;
  } else {
    auto made = std::find(madeItems_.begin(), madeItems_.end(), component);
    if (made != madeItems_.end()) madeItems_.erase(made);
  }
}

void TMRUManager::Loaded() {
  TComponent::Loaded();
  if (iniStorage_) SetStorage(iniStorage_);  // the section once every name is read
  UpdateRecentMenu();
}

void TMRUManager::Add(const std::string& item, int userData) { strings_.Add(item, userData); }

void TMRUManager::ListChanged() {
  if (autoUpdate_) UpdateRecentMenu();
  if (OnChange) OnChange(this);
}

std::string TMRUManager::ItemCaption(int index) const {
  const std::string text = MenuText(strings_[index]);
  if (!showAccelChar_) return text;
  const std::string delimiter = accelDelimiter_ == adTab ? "\t" : " ";
  const int n = index + startAccel_;
  std::string caption;
  if (n < 10) caption = {'&', char('0' + n)};
  else if (n <= 100) caption = {'&', char(n + 55)};
  else caption = " ";
  caption += delimiter;
  caption += text;
  return caption;
}

void TMRUManager::ClearMenuItems() {
  std::vector<TMenuItem*> made;
  made.swap(madeItems_);
  for (TMenuItem* item : made) delete item;
}

void TMRUManager::UpdateRecentMenu() {
  if (!recentMenu_ || (ComponentState() & csLoading)) return;
  // What the menu should show after its own items: -1 a separator, else the entry's index.
  std::vector<int> shown;
  const int count = strings_.Count();
  for (int i = 0; i < count; ++i) {
    if (i == 0 && recentMenu_->Count() > int(madeItems_.size())) shown.push_back(-1);
    shown.push_back(i);
    if (separateSize_ > 0 && (i + 1) % separateSize_ == 0 && i + 1 < count) shown.push_back(-1);
  }
  // The manager's items are reused rather than freed, so that rebuilding the menu from the
  // click of one of them (opening a file adds it to the list) never frees the clicked item.
  while (madeItems_.size() < shown.size()) {
    auto* item = new TMenuItem(this);
    item->OnClick = [this](TObject* sender) { ItemClicked(static_cast<TMenuItem*>(sender)->Tag()); };
    recentMenu_->Add(item);
    madeItems_.push_back(item);
  }
  for (size_t k = 0; k < madeItems_.size(); ++k) {
    TMenuItem* item = madeItems_[k];
    const bool used = k < shown.size();
    item->SetVisible(used);
    if (!used) continue;
    item->SetTag(shown[k]);
    item->SetCaption(shown[k] < 0 ? "-" : ItemCaption(shown[k]));
  }
  UpdateEnabled();
}

void TMRUManager::UpdateEnabled() {
  if (recentMenu_ && autoEnable_) recentMenu_->SetEnabled(strings_.Count() > 0);
}

void TMRUManager::ItemClicked(int index) {
  if (index < 0 || index >= strings_.Count()) return;
  const std::string name = strings_[index];
  const std::string caption = ItemCaption(index);
  const int data = strings_.Data(index);
  if (OnClick) OnClick(this, name, caption, data);
  if (removeOnSelect_) {
    const int at = strings_.IndexOf(name);
    if (at >= 0) strings_.Delete(at);
  }
}

void TMRUManager::SetStorage(TMRUStorage* storage) {
  storage_ = storage;
  const std::string root = storage_ ? storage_->RootSection() : std::string();
  const std::string own = (Owner() ? Owner()->ClassName() + "." : std::string()) + Name();
  section_ = root.empty() ? own : root + "\\" + own;
}

void TMRUManager::SetIniStorage(TFormPlacement* placement) {
  if (placement == iniStorage_) return;
  if (iniStorage_) {
    iniStorage_->RemoveLink(this);
    if (storage_ == iniStorage_) SetStorage(nullptr);
  }
  iniStorage_ = placement;
  if (iniStorage_) {
    iniStorage_->AddLink(this);
    SetStorage(iniStorage_);
  }
}

void TMRUManager::PlacementRestored(TFormPlacement&) { LoadFromStorage(); }

void TMRUManager::PlacementSaved(TFormPlacement&) { SaveToStorage(); }

void TMRUManager::PlacementGone(TFormPlacement& placement) {
  if (&placement != iniStorage_) return;
  if (storage_ == iniStorage_) storage_ = nullptr;
  iniStorage_ = nullptr;
}

void TMRUManager::SaveToStorage() {
  if (!storage_) return;
  const std::string section = StorageSection();
  // Items another running copy stored meanwhile are kept behind this copy's own.
  std::vector<std::pair<std::string, int>> items;
  for (int i = 0; i < strings_.Count(); ++i) items.emplace_back(strings_[i], strings_.Data(i));
  for (auto& [name, data] : StoredItems()) {
    const bool known = std::find(loaded_.begin(), loaded_.end(), name) != loaded_.end() ||
                       std::any_of(items.begin(), items.end(), [&](const auto& item) { return item.first == name; });
    if (!known && int(items.size()) < Capacity()) items.emplace_back(std::move(name), data);
  }
  storage_->EraseSection(section);
  for (size_t i = 0; i < items.size(); ++i) {
    if (OnWriteItem) {
      OnWriteItem(this, *storage_, section, int(i), items[i].first, items[i].second);
    } else {
      storage_->WriteString(section, Numbered("Item_%d", int(i)), items[i].first);
      storage_->WriteInteger(section, Numbered("Data_%d", int(i)), items[i].second);
    }
  }
  loaded_.clear();
  for (const auto& item : items) loaded_.push_back(item.first);
}

std::vector<std::pair<std::string, int>> TMRUManager::StoredItems() {
  const std::string section = StorageSection();
  std::vector<std::pair<std::string, int>> items;
  for (int i = 0; i < Capacity(); ++i) {
    std::string name;
    int data = 0;
    try {
      if (OnReadItem) {
        OnReadItem(this, *storage_, section, i, name, data);
      } else {
        name = storage_->ReadString(section, Numbered("Item_%d", i), "");
        data = storage_->ReadInteger(section, Numbered("Data_%d", i), 0);
      }
    } catch (const std::exception&) {
      continue;  // a damaged value loses only its own item
    }
    if (!name.empty()) items.emplace_back(std::move(name), data);
  }
  return items;
}

void TMRUManager::LoadFromStorage() {
  if (!storage_) return;
  const std::vector<std::pair<std::string, int>> items = StoredItems();
  loaded_.clear();
  for (const auto& item : items) loaded_.push_back(item.first);
  strings_.BeginUpdate();
  strings_.Clear();
  // Each item added goes to the new end of the list, so reading starts at the other end of the
  // stored order (the last item for rmInsert, the first for rmAppend) to keep that order.
  if (Mode() == rmInsert)
    for (auto it = items.rbegin(); it != items.rend(); ++it) strings_.Add(it->first, it->second);
  else
    for (const auto& [name, data] : items) strings_.Add(name, data);
  strings_.EndUpdate();
}
