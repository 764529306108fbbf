#include "components/props_storage.h"

#include <algorithm>

#include "components/form_placement.h"
#include "platform/gui/properties.h"
#include "platform/number_text.h"

namespace {

std::string Trim(const std::string& s) {
  size_t a = s.find_first_not_of(" \t");
  if (a == std::string::npos) return {};
  return s.substr(a, s.find_last_not_of(" \t") - a + 1);
}

const char* const kMissing = "\x01";

}  // namespace

std::optional<std::pair<std::string, std::string>> SplitStoredProp(const std::string& entry) {
  const size_t dot = entry.find('.');
  if (dot == std::string::npos) return std::nullopt;
  std::string comp = Trim(entry.substr(0, dot)), prop = Trim(entry.substr(dot + 1));
  if (comp.empty() || prop.empty()) return std::nullopt;
  return std::make_pair(comp, prop);
}

TPropsStorage::TPropsStorage(TFormPlacement& store, std::string section, TComponent* root)
    : store_(store), section_(std::move(section)), root_(root) {}

std::string TPropsStorage::ComponentText(TComponent* c) const {
  if (!c) return "(null)";
  TComponent* owner = c->Owner();
  if (!owner || owner == root_) return c->Name();
  std::string ownerName = owner->Name();
  if (ownerName.empty()) {
    ownerName = owner->ClassName();
    if (!ownerName.empty() && ownerName[0] == 'T') ownerName.erase(0, 1);
  }
  return ownerName + "." + c->Name();
}

TComponent* TPropsStorage::FindByText(const std::string& text) const {
  if (!root_) return nullptr;
  const size_t dot = text.find('.');
  if (dot == std::string::npos) return root_->FindComponent(text);
  TComponent* owner = root_->FindComponent(text.substr(0, dot));
  return owner ? owner->FindComponent(text.substr(dot + 1)) : nullptr;
}

std::vector<std::string> TPropsStorage::StoredLines(const std::string& sub) {
  // A damaged "Count" cannot make more lines than the values there are.
  const int count = std::clamp(store_.ReadInteger(sub, "Count", 0), 0, int(store_.ValueNames(sub).size()));
  std::vector<std::string> lines;
  for (int i = 0; i < count; ++i) lines.push_back(store_.ReadString(sub, "Item" + std::to_string(i), ""));
  return lines;
}

bool TPropsStorage::HoldsExactly(const std::string& sub, const std::vector<std::string>& lines) {
  std::vector<std::string> names = store_.ValueNames(sub), expected{"Count"};
  for (size_t i = 0; i < lines.size(); ++i) expected.push_back("Item" + std::to_string(i));
  std::sort(names.begin(), names.end());
  std::sort(expected.begin(), expected.end());
  return names == expected && store_.ReadInteger(sub, "Count", -1) == int(lines.size()) && StoredLines(sub) == lines;
}

void TPropsStorage::StoreProperty(TPersistent& obj, const std::string& prop, const std::string& valueName) {
  switch (PropKind(obj, prop)) {
    case TPropKind::Event:
    case TPropKind::Collection:
      return;
    case TPropKind::Strings: {
      const std::vector<std::string> lines = GetStringsProp(obj, prop);
      const std::string sub = section_ + "." + valueName;
      if (HoldsExactly(sub, lines)) return;  // rewriting it would change nothing
      store_.EraseSection(sub);
      store_.WriteInteger(sub, "Count", int(lines.size()));
      for (size_t i = 0; i < lines.size(); ++i) store_.WriteString(sub, "Item" + std::to_string(i), lines[i]);
      return;
    }
    case TPropKind::Object: {
      auto* sub = std::get<TPersistent*>(GetPropValue(obj, prop));
      if (!sub) return;
      for (const TPropInfo* info : sub->ClassInfo().AllProps())
        if (!info->ReadOnly() || info->Kind == TPropKind::Object)
          StoreProperty(*sub, info->Name, valueName + "." + info->Name);
      return;
    }
    case TPropKind::Component:
      store_.WriteString(section_, valueName, ComponentText(std::get<TComponent*>(GetPropValue(obj, prop))));
      return;
    case TPropKind::Color:  // a colour is a number
      store_.WriteString(section_, valueName, std::to_string(GetOrdProp(obj, prop)));
      return;
    default:
      store_.WriteString(section_, valueName, GetPropText(obj, prop));
  }
}

void TPropsStorage::LoadProperty(TPersistent& obj, const std::string& prop, const std::string& valueName) {
  switch (PropKind(obj, prop)) {
    case TPropKind::Event:
    case TPropKind::Collection:
      return;
    case TPropKind::Strings: {
      const std::string sub = section_ + "." + valueName;
      if (store_.ValueNames(sub).empty()) return;
      SetStringsProp(obj, prop, StoredLines(sub));
      return;
    }
    case TPropKind::Object: {
      auto* sub = std::get<TPersistent*>(GetPropValue(obj, prop));
      if (!sub) return;
      for (const TPropInfo* info : sub->ClassInfo().AllProps())
        if (!info->ReadOnly() || info->Kind == TPropKind::Object)
          LoadProperty(*sub, info->Name, valueName + "." + info->Name);
      return;
    }
    default:
      break;
  }
  const std::string text = store_.ReadString(section_, valueName, kMissing);
  if (text == kMissing) return;
  const TPropKind kind = PropKind(obj, prop);
  if (kind == TPropKind::Color)
    SetOrdProp(obj, prop, int(StringToColor(text)));  // refuses what is no colour: the default stays
  else if (kind == TPropKind::Component)
    SetPropValue(obj, prop, TPropValue(text == "(null)" ? static_cast<TComponent*>(nullptr) : FindByText(text)));
  else
    SetPropText(obj, prop, text);
}
