#include "shell/preferences_store.h"

#include "platform/exceptions.h"
#include "platform/gui/component.h"

namespace {

// Calls `visit` (object, property name, value name) for each stored simple property of
// `object`, descending into sub-objects.
template <class Visit>
void ForEachStored(TPersistent& object, const TPropInfo& prop, const std::string& valueName, Visit& visit) {
  switch (prop.Kind) {
    case TPropKind::Object: {
      TPropValue v = GetPropValue(object, prop.Name);
      if (TPersistent* sub = std::get<TPersistent*>(v))
        for (const TPropInfo* inner : sub->ClassInfo().AllProps())
          ForEachStored(*sub, *inner, valueName + "." + inner->Name, visit);
      break;
    }
    case TPropKind::String: case TPropKind::Integer: case TPropKind::Boolean:
    case TPropKind::Enum: case TPropKind::Set: case TPropKind::Color:
      if (!prop.ReadOnly()) visit(object, prop.Name, valueName);
      break;
    default:
      break;
  }
}

// Calls `visit` for every stored property named by `paths` that the form's component publishes.
template <class Visit>
void ForEachPath(TComponent& form, const std::vector<std::string>& paths, Visit visit) {
  for (const std::string& path : paths) {
    const size_t dot = path.find('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == path.size()) continue;
    TComponent* component = form.FindComponent(path.substr(0, dot));
    if (!component) continue;
    const TPropInfo* prop = component->ClassInfo().FindProp(path.substr(dot + 1));
    if (prop) ForEachStored(*component, *prop, component->Name() + "_" + prop->Name, visit);
  }
}

bool IsNumber(TPropKind kind) { return kind == TPropKind::Integer || kind == TPropKind::Color; }

}  // namespace

TStoredValues CaptureStoredProps(TComponent& form, const std::vector<std::string>& paths) {
  TStoredValues values;
  ForEachPath(form, paths, [&](TPersistent& object, const std::string& name, const std::string& valueName) {
    values[valueName] = IsNumber(PropKind(object, name)) ? std::to_string(GetOrdProp(object, name))
                                                         : GetPropText(object, name);
  });
  return values;
}

void ApplyStoredProps(TComponent& form, const std::vector<std::string>& paths, const TStoredValues& values) {
  ForEachPath(form, paths, [&](TPersistent& object, const std::string& name, const std::string& valueName) {
    const auto it = values.find(valueName);
    if (it == values.end()) return;
    try {
      if (IsNumber(PropKind(object, name))) SetOrdProp(object, name, std::stoi(it->second));
      else SetPropText(object, name, it->second);
    } catch (const std::exception&) {
      // A value that does not fit the property leaves it as it is.
    }
  });
}

