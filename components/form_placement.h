// Form placement and stored properties: TFormPlacement keeps a form's place, size, state and
// focused control between runs in a registry key (or an INI file); TFormStorage adds the values
// of chosen published properties ("Comp.Prop") and named free values. Recent-file lists and
// other components linked to a placement save and restore with it.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "components/mru_manager.h"
#include "components/placement_link.h"
#include "platform/gui/collection.h"
#include "platform/gui/component.h"

class TPropsStorage;

class TCustomForm;
class TPlacementStore;

using TPlacementOptions = unsigned;
inline constexpr TPlacementOptions fpState = 1, fpPosition = 2, fpActiveControl = 4;
enum TPlacementRegRoot { prCurrentUser, prLocalMachine, prCurrentConfig, prClassesRoot, prUsers, prDynData };

// Size and position limits of a form (0: no limit). The maximised place and size are kept
// only: window managers decide them.
class TWinMinMaxInfo : public TPersistent {
  QM_CLASS(TWinMinMaxInfo, TPersistent)
public:
  int MaxPosLeft = 0, MaxPosTop = 0, MaxSizeWidth = 0, MaxSizeHeight = 0;
  int MaxTrackWidth = 0, MaxTrackHeight = 0, MinTrackWidth = 0, MinTrackHeight = 0;
};

class TFormPlacement : public TComponent, public TMRUStorage {
  QM_CLASS(TFormPlacement, TComponent)
public:
  explicit TFormPlacement(TComponent* owner);
  ~TFormPlacement() override;

  // False: the form's show, close and destroy no longer restore or save by themselves.
  bool Active() const { return active_; }
  void SetActive(bool v) { active_ = v; }
  // The registry key path (UseRegistry) or INI file name; empty means the default.
  std::string IniFileName() const;
  void SetIniFileName(const std::string& v) { iniFileName_ = v; }
  // The section (subkey); empty means the form's class name.
  std::string IniSection() const;
  void SetIniSection(const std::string& v) { iniSection_ = v; }
  TWinMinMaxInfo* MinMaxInfo() { return &minMaxInfo_; }
  TPlacementOptions Options() const { return options_; }
  void SetOptions(TPlacementOptions v) { options_ = v; }
  // The form keeps its size.
  bool PreventResize() const { return preventResize_; }
  void SetPreventResize(bool v);
  TPlacementRegRoot RegistryRoot() const { return registryRoot_; }
  void SetRegistryRoot(TPlacementRegRoot v) { registryRoot_ = v; }
  bool UseRegistry() const { return useRegistry_; }
  void SetUseRegistry(bool v) { useRegistry_ = v; }
  // Data stored by an older version is ignored.
  int Version() const { return version_; }
  void SetVersion(int v) { version_ = v; }

  // Writes the placement (and, in TFormStorage, the stored properties and values); a form
  // never restored since it was made keeps its stored data.
  void SaveFormPlacement();
  // Reads them back, unless they were stored by an older Version.
  void RestoreFormPlacement();
  // True once restored (and not saved since).
  bool Restored() const { return state_ == State::Restored; }
  // One string value of the section.
  std::string ReadString(const std::string& ident, const std::string& def);
  void WriteString(const std::string& ident, const std::string& value);

  // Components saved and restored with the placement.
  void AddLink(TPlacementLink* link);
  void RemoveLink(TPlacementLink* link);

  // Sections of the store (the storage of linked recent-file lists).
  std::string RootSection() const override { return IniSection(); }
  std::string ReadString(const std::string& section, const std::string& ident, const std::string& def) override;
  int ReadInteger(const std::string& section, const std::string& ident, int def) override;
  void WriteString(const std::string& section, const std::string& ident, const std::string& value) override;
  void WriteInteger(const std::string& section, const std::string& ident, int value) override;
  void EraseSection(const std::string& section) override;
  // The names of a section's values.
  std::vector<std::string> ValueNames(const std::string& section);

  TNotifyEvent OnSavePlacement, OnRestorePlacement;

protected:
  void Loaded() override;
  virtual void SavePlacement();
  virtual void RestorePlacement();
  TCustomForm* Form() const;

private:
  enum class State { NotRestored, Restored, Saved };
  // The storage open for this call (or the one opened by the save or restore running).
  template <class F>
  auto WithStore(F f);
  void InstallHooks();
  void RemoveHooks();
  void FormShow(TObject* sender);
  void FormCloseQuery(TObject* sender, bool& canClose);
  void FormDestroy(TObject* sender);
  void ApplySizeLimits();

  bool active_ = true, preventResize_ = false, useRegistry_ = false;
  std::string iniFileName_, iniSection_, formClass_;
  TWinMinMaxInfo minMaxInfo_;
  TPlacementOptions options_ = fpState | fpPosition;
  TPlacementRegRoot registryRoot_ = prCurrentUser;
  int version_ = 0;
  State state_ = State::NotRestored;
  TPlacementStore* store_ = nullptr;  // open while saving or restoring
  std::vector<TPlacementLink*> links_;
  TCustomForm* hookedForm_ = nullptr;
  TNotifyEvent formOnShow_, formOnDestroy_;
  std::function<void(TObject*, bool&)> formOnCloseQuery_;
};

// A named free value kept with the form's data; KeyString set stores it XOR-encoded.
class TStoredValue : public TCollectionItem {
  QM_CLASS(TStoredValue, TCollectionItem)
public:
  std::string Name, Value, KeyString;
  std::function<void(TObject* Sender, std::string& Value)> OnSave, OnRestore;
};

class TFormStorage : public TFormPlacement {
  QM_CLASS(TFormStorage, TFormPlacement)
public:
  explicit TFormStorage(TComponent* owner);

  // Paths "Component.Property" of the values kept.
  const std::vector<std::string>& StoredProps() const { return storedProps_; }
  void SetStoredProps(const std::vector<std::string>& v) { storedProps_ = v; }
  TOwnedCollection<TStoredValue>* StoredValues() { return &storedValues_; }

  void SaveProperties();
  void RestoreProperties();

protected:
  // Calls `fn` with the storage, component, property and value name of each stored property
  // that exists on the form.
  void ForEachStoredProp(
      const std::function<void(TPropsStorage&, TComponent&, const std::string&, const std::string&)>& fn);

  void SavePlacement() override;
  void RestorePlacement() override;

private:
  std::vector<std::string> storedProps_;
  TOwnedCollection<TStoredValue> storedValues_{nullptr};
};
