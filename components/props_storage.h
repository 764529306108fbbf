// Published properties kept in a form's storage section: one value per property named
// "Component_Property", by kind (numbers and colours in decimal, enumerations and sets by name, Booleans
// "True"/"False", component references by name or "(null)", string lists in a subsection
// "Section.Value" with "Count" and "Item%d", sub-objects property by property).
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

class TComponent;
class TPersistent;
class TFormPlacement;

// The component and property names of a "Comp.Prop" entry, both trimmed; nullopt when the
// entry has no "." or an empty side.
std::optional<std::pair<std::string, std::string>> SplitStoredProp(const std::string& entry);

class TPropsStorage {
public:
  // Values go to `section` of `store`; component references are named relative to `root`.
  TPropsStorage(TFormPlacement& store, std::string section, TComponent* root);
  // Writes `prop` of `obj` under `valueName`; events and collections are not kept.
  void StoreProperty(TPersistent& obj, const std::string& prop, const std::string& valueName);
  // Reads it back; a missing value leaves the property as it is. Errors propagate.
  void LoadProperty(TPersistent& obj, const std::string& prop, const std::string& valueName);

private:
  // The lines of the string-list subsection `sub`.
  std::vector<std::string> StoredLines(const std::string& sub);
  // True when `sub` holds "Count" and "Item%d" of exactly these lines and nothing else.
  bool HoldsExactly(const std::string& sub, const std::vector<std::string>& lines);
  std::string ComponentText(TComponent* c) const;
  TComponent* FindByText(const std::string& text) const;

  TFormPlacement& store_;
  std::string section_;
  TComponent* root_;
};
