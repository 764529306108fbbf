// Recent-file lists: TRecentStrings keeps the items with an integer of user data each, newest at
// one end; TMRUManager shows them as numbered items of a menu, reports a click on one and keeps
// the list in a storage section ("Item_%d" / "Data_%d", newest first).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "components/placement_link.h"
#include "platform/gui/component.h"
#include "platform/string_list.h"

class TMenuItem;
class TFormPlacement;

enum TRecentMode { rmInsert, rmAppend };
enum TAccelDelimiter { adTab, adSpace };

// A string list of at most Capacity recent items; the user data rides as each item's object.
class TRecentStrings : public TStringList {
public:
  // Capacity 10, mode rmInsert; items compare with case (file names do).
  TRecentStrings();

  // The most items kept (at least 1); lowering it drops items from the old end.
  int GetCapacity() const override { return capacity_; }
  void SetCapacity(int NewCapacity) override;
  TRecentMode Mode() const { return mode_; }
  void SetMode(TRecentMode mode) { mode_ = mode; }

  // Puts `S` at the new end given by Mode (moving it there when present), then drops items
  // beyond Capacity from the other end. Answers the item's index.
  int Add(const std::string& S, int Data);
  int AddObject(const std::string& S, TObject* AObject) override;
  using TStringList::Add;
  // The user data of item `Index`.
  int Data(int Index) const;

private:
  void Trim();

  int capacity_ = 10;
  TRecentMode mode_ = rmInsert;
};

// Where a manager keeps its list: string and integer values in sections of one store.
class TMRUStorage {
public:
  virtual ~TMRUStorage() = default;
  // The store's own section, in front of every manager's section ("Main").
  virtual std::string RootSection() const = 0;
  virtual std::string ReadString(const std::string& section, const std::string& ident, const std::string& def) = 0;
  virtual int ReadInteger(const std::string& section, const std::string& ident, int def) = 0;
  virtual void WriteString(const std::string& section, const std::string& ident, const std::string& value) = 0;
  virtual void WriteInteger(const std::string& section, const std::string& ident, int value) = 0;
  // Removes the section with everything in it.
  virtual void EraseSection(const std::string& section) = 0;
};

// A storage in a registry key (HKEY_CURRENT_USER), sections below `rootSection`.
class TMRURegistryStorage : public TMRUStorage {
public:
  TMRURegistryStorage(std::string keyPath, std::string rootSection);
  std::string RootSection() const override { return root_; }
  std::string ReadString(const std::string& section, const std::string& ident, const std::string& def) override;
  int ReadInteger(const std::string& section, const std::string& ident, int def) override;
  void WriteString(const std::string& section, const std::string& ident, const std::string& value) override;
  void WriteInteger(const std::string& section, const std::string& ident, int value) override;
  void EraseSection(const std::string& section) override;

private:
  std::string key_, root_;
};

using TClickMenuEvent =
    std::function<void(TObject* Sender, const std::string& RecentName, const std::string& Caption, int UserData)>;
using TReadItemEvent = std::function<void(TObject* Sender, TMRUStorage& IniFile, const std::string& Section, int Index,
                                          std::string& RecentName, int& UserData)>;
using TWriteItemEvent = std::function<void(TObject* Sender, TMRUStorage& IniFile, const std::string& Section,
                                           int Index, const std::string& RecentName, int UserData)>;

class TMRUManager : public TComponent, private TPlacementLink {
  QM_CLASS(TMRUManager, TComponent)
public:
  explicit TMRUManager(TComponent* owner);
  ~TMRUManager() override;

  TAccelDelimiter AccelDelimiter() const { return accelDelimiter_; }
  void SetAccelDelimiter(TAccelDelimiter v);
  // The menu is enabled only while it holds recent items.
  bool AutoEnable() const { return autoEnable_; }
  void SetAutoEnable(bool v);
  // The menu is rebuilt on every change of the list.
  bool AutoUpdate() const { return autoUpdate_; }
  void SetAutoUpdate(bool v) { autoUpdate_ = v; }
  int Capacity() const { return strings_.GetCapacity(); }
  void SetCapacity(int v) { strings_.SetCapacity(v); }
  TRecentMode Mode() const { return strings_.Mode(); }
  void SetMode(TRecentMode v) { strings_.SetMode(v); }
  // A clicked item leaves the list.
  bool RemoveOnSelect() const { return removeOnSelect_; }
  void SetRemoveOnSelect(bool v) { removeOnSelect_ = v; }
  // A separator after every that many items (0: none).
  int SeparateSize() const { return separateSize_; }
  void SetSeparateSize(int v);
  // The menu item whose sub-items show the list.
  TMenuItem* RecentMenu() const { return recentMenu_; }
  void SetRecentMenu(TMenuItem* menu);
  // Captions begin with "&" and the item's number.
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool v);
  // The number of the first item.
  int StartAccel() const { return startAccel_; }
  void SetStartAccel(int v);
  // The store of Save/Load (not owned); nullptr keeps the list in memory only. Setting it fixes
  // the section, so that a form being destroyed still saves under its own class name.
  TMRUStorage* Storage() const { return storage_; }
  void SetStorage(TMRUStorage* storage);
  // The form's placement the list is kept in: it loads when the placement restores and saves
  // when it saves, in a section below the placement's own.
  TFormPlacement* IniStorage() const { return iniStorage_; }
  void SetIniStorage(TFormPlacement* placement);

  TRecentStrings& Strings() { return strings_; }
  const TRecentStrings& Strings() const { return strings_; }
  // Adds an item with its user data (see TRecentStrings::Add).
  void Add(const std::string& item, int userData);
  // Rebuilds the menu: the manager's own items only, after a separator when the menu has
  // items of its own.
  void UpdateRecentMenu();
  // The menu caption of item `index`.
  std::string ItemCaption(int index) const;

  // The storage section: root section \ owner class . name ("Main\TMainForm.MRUManager1").
  const std::string& StorageSection() const { return section_; }
  // Erases the section and writes every item, newest first, followed by the items another copy
  // of the program stored since this one read the section (up to Capacity).
  void SaveToStorage();
  // Reads up to Capacity items, keeping the stored order; empty or damaged items are skipped.
  void LoadFromStorage();

  TNotifyEvent OnChange;
  TClickMenuEvent OnClick;
  TReadItemEvent OnReadItem;
  TWriteItemEvent OnWriteItem;

protected:
  void Notification(TComponent* component, TOperation operation) override;
  void Loaded() override;

private:
  void ListChanged();
  void ItemClicked(int index);
  void ClearMenuItems();
  void UpdateEnabled();
  void PlacementRestored(TFormPlacement& placement) override;
  void PlacementSaved(TFormPlacement& placement) override;
  void PlacementGone(TFormPlacement& placement) override;
  // The stored items in their stored order (Item_0 first); empty and damaged ones left out.
  std::vector<std::pair<std::string, int>> StoredItems();

  TRecentStrings strings_;
  std::vector<std::string> loaded_;  // the stored names when the section was last read
  TAccelDelimiter accelDelimiter_ = adTab;
  bool autoEnable_ = true, autoUpdate_ = true, removeOnSelect_ = false, showAccelChar_ = true;
  int separateSize_ = 0, startAccel_ = 1;
  TMenuItem* recentMenu_ = nullptr;
  TMRUStorage* storage_ = nullptr;
  TFormPlacement* iniStorage_ = nullptr;
  std::string section_;
  std::vector<TMenuItem*> madeItems_;  // the items this manager put into the menu
};
