#include "components/form_placement.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "components/placement_values.h"
#include "components/props_storage.h"
#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/gui/application.h"
#include "platform/gui/form.h"
#include "platform/gui/window_placement.h"
#include "platform/ini_file.h"
#include "platform/number_text.h"
#include "platform/registry.h"
#include "platform/string_list.h"
#include "textcore/string_routines.h"

QM_CLASS_INFO(TWinMinMaxInfo, TPersistent, [](TClassBuilder<TWinMinMaxInfo>& b) {
  using C = TWinMinMaxInfo;
  auto field = [&b](const char* name, int C::*member) {
    b.Integer(name, [member](C& o) { return o.*member; }, [member](C& o, int v) { o.*member = v; });
  };
  field("MaxPosLeft", &C::MaxPosLeft);
  field("MaxPosTop", &C::MaxPosTop);
  field("MaxSizeWidth", &C::MaxSizeWidth);
  field("MaxSizeHeight", &C::MaxSizeHeight);
  field("MaxTrackWidth", &C::MaxTrackWidth);
  field("MaxTrackHeight", &C::MaxTrackHeight);
  field("MinTrackWidth", &C::MinTrackWidth);
  field("MinTrackHeight", &C::MinTrackHeight);
})

QM_CLASS_INFO(TFormPlacement, TComponent, [](TClassBuilder<TFormPlacement>& b) {
  using C = TFormPlacement;
  b.Boolean("Active", &C::Active, &C::SetActive)
      .String("IniFileName", &C::IniFileName, &C::SetIniFileName)
      .String("IniSection", &C::IniSection, &C::SetIniSection)
      .Object("MinMaxInfo", &C::MinMaxInfo)
      .Set<TPlacementOptions>("Options", {"fpState", "fpPosition", "fpActiveControl"}, &C::Options, &C::SetOptions)
      .Boolean("PreventResize", &C::PreventResize, &C::SetPreventResize)
      .Enum<TPlacementRegRoot>("RegistryRoot", {"prCurrentUser", "prLocalMachine", "prCurrentConfig",
                                                "prClassesRoot", "prUsers", "prDynData"},
                               &C::RegistryRoot, &C::SetRegistryRoot)
      .Boolean("UseRegistry", &C::UseRegistry, &C::SetUseRegistry)
      .Integer("Version", &C::Version, &C::SetVersion)
      .Event("OnSavePlacement", &C::OnSavePlacement)
      .Event("OnRestorePlacement", &C::OnRestorePlacement);
})

QM_CLASS_INFO(TStoredValue, TCollectionItem, [](TClassBuilder<TStoredValue>& b) {
  using C = TStoredValue;
  b.String("Name", [](C& v) { return v.Name; }, [](C& v, const std::string& s) { v.Name = s; })
      .String("Value", [](C& v) { return v.Value; }, [](C& v, const std::string& s) { v.Value = s; })
      .String("KeyString", [](C& v) { return v.KeyString; }, [](C& v, const std::string& s) { v.KeyString = s; })
      .Event("OnSave", &C::OnSave)
      .Event("OnRestore", &C::OnRestore);
})

QM_CLASS_INFO(TFormStorage, TFormPlacement, [](TClassBuilder<TFormStorage>& b) {
  using C = TFormStorage;
  b.Strings("StoredProps", &C::StoredProps, &C::SetStoredProps).Collection("StoredValues", &C::StoredValues);
})

namespace {

std::string Numbered(const char* format, int n) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, format, n);
  return buffer;
}

HKEY RootKeyOf(TPlacementRegRoot root) {
  switch (root) {
    case prLocalMachine: return HKEY_LOCAL_MACHINE;
    case prCurrentConfig: return HKEY_CURRENT_CONFIG;
    case prClassesRoot: return HKEY_CLASSES_ROOT;
    case prUsers: return HKEY_USERS;
    default: return HKEY_CURRENT_USER;
  }
}

std::string Trim(const std::string& s) {
  size_t a = s.find_first_not_of(" \t");
  if (a == std::string::npos) return {};
  size_t b = s.find_last_not_of(" \t");
  return s.substr(a, b - a + 1);
}

bool Quoted(const std::string& s, char q) { return s.size() >= 2 && s.front() == q && s.back() == q; }

}  // namespace

// --- the store ---------------------------------------------------------------------------------

// One opened storage: a registry key with a subkey per section, or an INI file.
class TPlacementStore {
public:
  virtual ~TPlacementStore() = default;
  virtual std::optional<std::string> Read(const std::string& section, const std::string& ident) = 0;
  virtual std::optional<int> ReadInt(const std::string& section, const std::string& ident) {
    auto text = Read(section, ident);
    return text ? ParseInteger(Trim(*text)) : std::nullopt;
  }
  virtual void Write(const std::string& section, const std::string& ident, const std::string& value) = 0;
  virtual void WriteInt(const std::string& section, const std::string& ident, int value) = 0;
  virtual void Erase(const std::string& section) = 0;
  virtual std::vector<std::string> Names(const std::string& section) = 0;
};

namespace {

class RegistryPlacementStore : public TPlacementStore {
public:
  RegistryPlacementStore(HKEY root, std::string key) : key_("\\" + std::move(key)) { reg_.SetRootKey(root); }
  std::optional<std::string> Read(const std::string& section, const std::string& ident) override {
    switch (TypeOf(section, ident)) {
      case rdString: case rdExpandString: return reg_.ReadString(ident);
      case rdInteger: return std::to_string(reg_.ReadInteger(ident));
      default: return std::nullopt;
    }
  }
  std::optional<int> ReadInt(const std::string& section, const std::string& ident) override {
    switch (TypeOf(section, ident)) {
      case rdInteger: return reg_.ReadInteger(ident);
      case rdString: case rdExpandString: return TPlacementStore::ReadInt(section, ident);
      default: return std::nullopt;
    }
  }
  void Write(const std::string& section, const std::string& ident, const std::string& value) override {
    if (Open(section, true)) reg_.WriteString(ident, value);
  }
  void WriteInt(const std::string& section, const std::string& ident, int value) override {
    if (Open(section, true)) reg_.WriteInteger(ident, value);
  }
  void Erase(const std::string& section) override {
    reg_.CloseKey();
    open_.clear();
    reg_.DeleteKey(Path(section));
  }
  std::vector<std::string> Names(const std::string& section) override {
    if (!Open(section, false)) return {};
    TStringList names;
    reg_.GetValueNames(names);
    std::vector<std::string> out;
    for (int i = 0; i < names.Count(); ++i) out.push_back(names[i]);
    return out;
  }

private:
  // The type of the value in `section` (its key opened); rdUnknown when missing.
  TRegDataType TypeOf(const std::string& section, const std::string& ident) {
    TRegDataInfo info;
    return Open(section, false) && reg_.GetDataInfo(ident, info) ? info.RegData : rdUnknown;
  }
  std::string Path(const std::string& section) const { return section.empty() ? key_ : key_ + "\\" + section; }
  bool Open(const std::string& section, bool create) {
    const std::string path = Path(section);
    if (path == open_ && (!create || openForWrite_)) return true;
    reg_.CloseKey();
    open_.clear();
    if (!(create ? reg_.OpenKey(path, true) : reg_.OpenKeyReadOnly(path))) return false;
    open_ = path;
    openForWrite_ = create;
    return true;
  }
  TRegistry reg_;
  std::string key_, open_;
  bool openForWrite_ = false;
};

class IniStore : public TPlacementStore {
public:
  explicit IniStore(const std::string& fileName) : ini_(fileName) {}
  std::optional<std::string> Read(const std::string& section, const std::string& ident) override {
    if (!ini_.ValueExists(section, ident)) return std::nullopt;
    return ini_.ReadString(section, ident, "");
  }
  void Write(const std::string& section, const std::string& ident, const std::string& value) override {
    // A value in quotes is quoted again, for reading strips one pair.
    ini_.WriteString(section, ident, Quoted(value, '"') || Quoted(value, '\'') ? '"' + value + '"' : value);
  }
  void WriteInt(const std::string& section, const std::string& ident, int value) override {
    ini_.WriteInteger(section, ident, value);
  }
  void Erase(const std::string& section) override { ini_.EraseSection(section); }
  std::vector<std::string> Names(const std::string& section) override {
    TStringList names;
    ini_.ReadSection(section, names);
    std::vector<std::string> out;
    for (int i = 0; i < names.Count(); ++i) out.push_back(names[i]);
    return out;
  }

private:
  TIniFile ini_;
};

}  // namespace

// --- TFormPlacement ----------------------------------------------------------------------------

TFormPlacement::TFormPlacement(TComponent* owner) : TComponent(owner) {}

TFormPlacement::~TFormPlacement() {
  for (TPlacementLink* link : std::vector<TPlacementLink*>(links_)) link->PlacementGone(*this);
  RemoveHooks();
}

TCustomForm* TFormPlacement::Form() const { return dynamic_cast<TCustomForm*>(Owner()); }

std::string TFormPlacement::IniFileName() const {
  if (!iniFileName_.empty()) return iniFileName_;
  const std::string exe = Application ? Application->ExeName() : std::string("quillomark");
  if (!useRegistry_) return ChangeFileExt(exe, ".INI");
  const std::string title = Application ? Application->Title() : std::string();
  return "Software\\" + (title.empty() ? ChangeFileExt(ExtractFileName(exe), "") : title);
}

std::string TFormPlacement::IniSection() const {
  if (!iniSection_.empty()) return iniSection_;
  if (!formClass_.empty()) return formClass_;
  if (Form()) return Form()->ClassName();
  return (Owner() ? Owner()->ClassName() : std::string()) + "." + Name();
}

void TFormPlacement::SetPreventResize(bool v) {
  preventResize_ = v;
  if (hookedForm_ && hookedForm_->Visible()) ApplySizeLimits();
}

template <class F>
auto TFormPlacement::WithStore(F f) {
  std::unique_ptr<TPlacementStore> opened;
  if (!store_) {
    if (useRegistry_) opened = std::make_unique<RegistryPlacementStore>(RootKeyOf(registryRoot_), IniFileName());
    else opened = std::make_unique<IniStore>(IniFileName());
    store_ = opened.get();
  }
  struct Close {
    TPlacementStore*& store;
    bool owned;
    ~Close() { if (owned) store = nullptr; }
  } close{store_, opened != nullptr};
  return f(*store_);
}

std::string TFormPlacement::ReadString(const std::string& section, const std::string& ident, const std::string& def) {
  return WithStore([&](TPlacementStore& s) { return s.Read(section, ident).value_or(def); });
}

int TFormPlacement::ReadInteger(const std::string& section, const std::string& ident, int def) {
  return WithStore([&](TPlacementStore& s) { return s.ReadInt(section, ident).value_or(def); });
}

void TFormPlacement::WriteString(const std::string& section, const std::string& ident, const std::string& value) {
  WithStore([&](TPlacementStore& s) { s.Write(section, ident, value); });
}

void TFormPlacement::WriteInteger(const std::string& section, const std::string& ident, int value) {
  WithStore([&](TPlacementStore& s) { s.WriteInt(section, ident, value); });
}

void TFormPlacement::EraseSection(const std::string& section) {
  WithStore([&](TPlacementStore& s) { s.Erase(section); });
}

std::vector<std::string> TFormPlacement::ValueNames(const std::string& section) {
  return WithStore([&](TPlacementStore& s) { return s.Names(section); });
}

std::string TFormPlacement::ReadString(const std::string& ident, const std::string& def) {
  return ReadString(IniSection(), ident, def);
}

void TFormPlacement::WriteString(const std::string& ident, const std::string& value) {
  WriteString(IniSection(), ident, value);
}

void TFormPlacement::AddLink(TPlacementLink* link) {
  if (std::find(links_.begin(), links_.end(), link) == links_.end()) links_.push_back(link);
}

void TFormPlacement::RemoveLink(TPlacementLink* link) {
  links_.erase(std::remove(links_.begin(), links_.end(), link), links_.end());
}

void TFormPlacement::SaveFormPlacement() {
  if (active_ && state_ == State::NotRestored) return;  // never shown: keep what is stored
  WithStore([&](TPlacementStore& s) {
    s.WriteInt(IniSection(), "FormVersion", version_);
    SavePlacement();
    for (TPlacementLink* link : std::vector<TPlacementLink*>(links_)) link->PlacementSaved(*this);
  });
  if (OnSavePlacement) OnSavePlacement(this);
  state_ = State::Saved;
}

void TFormPlacement::RestoreFormPlacement() {
  WithStore([&](TPlacementStore& s) {
    if (s.ReadInt(IniSection(), "FormVersion").value_or(0) < version_) return;
    RestorePlacement();
    for (TPlacementLink* link : std::vector<TPlacementLink*>(links_)) link->PlacementRestored(*this);
    if (OnRestorePlacement) OnRestorePlacement(this);
    TCustomForm* form = Form();
    if (form && (options_ & fpActiveControl)) {
      auto* control = dynamic_cast<TWinControl*>(form->FindComponent(s.Read(IniSection(), "ActiveControl").value_or("")));
      if (control && control->CanFocus()) form->SetActiveControl(control);
    }
  });
  state_ = State::Restored;
}

void TFormPlacement::SavePlacement() {
  TCustomForm* form = Form();
  if (!form) return;
  const std::string section = IniSection();
  TPlacementStore& s = *store_;
  const bool minimizedApp = Application && Application->MainForm() == form && form->WindowState() == wsMinimized;
  int showCmd = SW_SHOWNORMAL;
  if (minimizedApp || form->WindowState() == wsMinimized) showCmd = SW_SHOWMINIMIZED;
  else if (form->WindowState() == wsMaximized) showCmd = SW_SHOWMAXIMIZED;
  s.WriteInt(section, "Flags", 0);
  s.WriteInt(section, "ShowCmd", showCmd);
  s.WriteInt(section, "PixelsPerInch", Screen->PixelsPerInch());
  // Minimised and maximised places belong to the window manager.
  const std::string minMax = "-1,-1,-1,-1";
  const std::string normal = RectToPlacementText(NormalFormBounds(*form));
  const int sw = Screen->Width(), sh = Screen->Height();
  s.Write(section, ScreenSuffixedName("MinMaxPos", sw, sh), minMax);
  s.Write(section, "MinMaxPos", minMax);
  s.Write(section, ScreenSuffixedName("NormPos", sw, sh), normal);
  s.Write(section, "NormPos", normal);
  s.Write(section, "Visible", form->Visible() ? "True" : "False");
  if (options_ & fpActiveControl) {
    TWinControl* active = form->ActiveControl();
    s.Write(section, "ActiveControl", active ? active->Name() : std::string());
  }
}

void TFormPlacement::RestorePlacement() {
  TCustomForm* form = Form();
  if (!form) return;
  const std::string section = IniSection();
  TPlacementStore& s = *store_;
  if (options_ & fpPosition) {
    std::string text = s.Read(section, ScreenSuffixedName("NormPos", Screen->Width(), Screen->Height())).value_or("");
    if (text.empty()) text = s.Read(section, "NormPos").value_or("");
    const int ppi = s.ReadInt(section, "PixelsPerInch").value_or(Screen->PixelsPerInch());
    if (!text.empty() && ppi == Screen->PixelsPerInch()) {
      TRect r = PlacementTextToRect(text, form->BoundsRect());
      const TFormBorderStyle border = form->BorderStyle();
      if (border != bsSizeable && border != bsSizeToolWin) r = Bounds(r.Left, r.Top, form->Width(), form->Height());
      if (r.Width() > 0 && r.Height() > 0) {
        r = KeepOnDesktop(r, MonitorRects(), Screen->WorkAreaRect());
        if (form->Position() == poScreenCenter || form->Position() == poDesktopCenter) form->SetPosition(poDesigned);
        form->SetBoundsRect(r);
      }
    }
  }
  if (options_ & fpState) {
    const bool main = !Application->MainForm() || Application->MainForm() == form;
    const int showCmd = s.ReadInt(section, "ShowCmd").value_or(0);
    TWindowState state = StateFromShowCmd(showCmd, main && form->Position() == poDefault);
    if (state == wsMinimized && main) {
      form->SetWindowState(wsNormal);
      if (form->Visible()) Application->Minimize();
    } else {
      form->SetWindowState(state);
    }
  }
}

// --- hooks on the form -------------------------------------------------------------------------

void TFormPlacement::Loaded() {
  TComponent::Loaded();
  InstallHooks();
}

void TFormPlacement::InstallHooks() {
  TCustomForm* form = Form();
  if (!form || hookedForm_) return;
  formClass_ = form->ClassName();  // the form's own class, also while it is being destroyed
  hookedForm_ = form;
  formOnShow_ = std::move(form->OnShow);
  formOnCloseQuery_ = std::move(form->OnCloseQuery);
  formOnDestroy_ = std::move(form->OnDestroy);
  form->OnShow = [this](TObject* sender) { FormShow(sender); };
  form->OnCloseQuery = [this](TObject* sender, bool& canClose) { FormCloseQuery(sender, canClose); };
  form->OnDestroy = [this](TObject* sender) { FormDestroy(sender); };
}

void TFormPlacement::RemoveHooks() {
  if (!hookedForm_) return;
  if (!(hookedForm_->ComponentState() & csDestroying)) {
    hookedForm_->OnShow = std::move(formOnShow_);
    hookedForm_->OnCloseQuery = std::move(formOnCloseQuery_);
    hookedForm_->OnDestroy = std::move(formOnDestroy_);
  }
  hookedForm_ = nullptr;
}

void TFormPlacement::ApplySizeLimits() {
  TCustomForm* form = Form();
  if (!form) return;
  if (preventResize_)
    SetFormSizeLimits(*form, form->Width(), form->Height(), form->Width(), form->Height());
  else
    SetFormSizeLimits(*form, minMaxInfo_.MinTrackWidth, minMaxInfo_.MinTrackHeight, minMaxInfo_.MaxTrackWidth,
                      minMaxInfo_.MaxTrackHeight);
}

void TFormPlacement::FormShow(TObject* sender) {
  if (active_) {
    if (state_ == State::NotRestored) {
      try {
        RestoreFormPlacement();
      } catch (const std::exception&) {
        state_ = State::Restored;  // an unreadable store: the designed place, saved anew later
      }
    } else {
      state_ = State::Restored;  // shown again after a save: what changes now is saved again
    }
  }
  ApplySizeLimits();
  if (formOnShow_) formOnShow_(sender);
}

void TFormPlacement::FormCloseQuery(TObject* sender, bool& canClose) {
  if (formOnCloseQuery_) formOnCloseQuery_(sender, canClose);
  if (!canClose || !active_) return;
  try {
    SaveFormPlacement();
  } catch (const std::exception&) {
    // The settings store cannot be written: what was stored before stays.
  }
}

void TFormPlacement::FormDestroy(TObject* sender) {
  if (active_ && state_ != State::Saved) {
    try {
      SaveFormPlacement();
    } catch (const std::exception&) {
    }
  }
  if (formOnDestroy_) formOnDestroy_(sender);
}

// --- TFormStorage ------------------------------------------------------------------------------

TFormStorage::TFormStorage(TComponent* owner) : TFormPlacement(owner) {}

void TFormStorage::SavePlacement() {
  TFormPlacement::SavePlacement();
  SaveProperties();
  for (int i = 0; i < storedValues_.Count(); ++i) {
    TStoredValue* v = storedValues_[i];
    if (v->Name.empty()) continue;
    std::string value = v->Value;
    if (v->OnSave) v->OnSave(v, value);
    WriteString(IniSection(), v->Name, v->KeyString.empty() ? value : XorEncode(v->KeyString, value));
  }
}

void TFormStorage::RestorePlacement() {
  TFormPlacement::RestorePlacement();
  RestoreProperties();
  for (int i = 0; i < storedValues_.Count(); ++i) {
    TStoredValue* v = storedValues_[i];
    if (v->Name.empty()) continue;
    try {
      const std::string def = v->KeyString.empty() ? v->Value : XorEncode(v->KeyString, v->Value);
      std::string text = ReadString(IniSection(), v->Name, def);
      std::string value = v->KeyString.empty() ? text : XorDecode(v->KeyString, text);
      if (v->OnRestore) v->OnRestore(v, value);
      v->Value = value;
    } catch (const std::exception&) {
    }
  }
}

void TFormStorage::ForEachStoredProp(
    const std::function<void(TPropsStorage&, TComponent&, const std::string&, const std::string&)>& fn) {
  TComponent* root = Owner();
  if (!root) return;
  TPropsStorage props(*this, IniSection(), root);
  for (const std::string& entry : storedProps_) {
    auto path = SplitStoredProp(entry);
    if (!path) continue;
    TComponent* c = SameName(path->first, root->Name()) ? root : root->FindComponent(path->first);
    if (!c || !IsPublishedProp(*c, path->second)) continue;
    fn(props, *c, path->second, path->first + "_" + path->second);
  }
}

void TFormStorage::SaveProperties() {
  ForEachStoredProp([](TPropsStorage& props, TComponent& c, const std::string& prop, const std::string& value) {
    props.StoreProperty(c, prop, value);
  });
}

void TFormStorage::RestoreProperties() {
  ForEachStoredProp([](TPropsStorage& props, TComponent& c, const std::string& prop, const std::string& value) {
    try {
      props.LoadProperty(c, prop, value);
    } catch (const std::exception&) {
      // A value that does not fit the property leaves it as it is.
    }
  });
}
