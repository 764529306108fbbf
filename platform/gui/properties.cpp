#include "platform/gui/properties.h"

#include <climits>
#include <cstdint>
#include <atomic>
#include <mutex>

#include "platform/exceptions.h"
#include "platform/gui/component.h"

namespace {

TNameMap<std::string, const TClassInfo*>& Registry() {
  static TNameMap<std::string, const TClassInfo*> registry;
  return registry;
}

void RequireWritable(const TPropInfo& prop) {
  if (prop.ReadOnly()) throw EConvertError("Property " + prop.Name + " is read-only");
}

void RequireKind(const TPropInfo& prop, std::initializer_list<TPropKind> kinds) {
  for (TPropKind k : kinds)
    if (prop.Kind == k) return;
  throw EConvertError("Property " + prop.Name + " is not of the kind asked for");
}

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t"), e = s.find_last_not_of(" \t");
  return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

int ParseInt(const std::string& text, const std::string& what) {
  std::string t = Trim(text);
  try {
    bool hex = t.size() > 1 && t[0] == '$';
    std::string digits = hex ? t.substr(1) : t;
    size_t used = 0;
    long long v = std::stoll(digits, &used, hex ? 16 : 10);
    if (used != digits.size() || v < INT_MIN || v > static_cast<long long>(UINT32_MAX)) throw std::invalid_argument(t);
    return static_cast<int>(static_cast<uint32_t>(v));
  } catch (const std::logic_error&) {
    throw EConvertError("'" + text + "' is not a valid integer value for " + what);
  }
}

// An enumerated property's ordinal, refused when its type has no such value.
int CheckedEnum(const TPropInfo& prop, int value) {
  if (value < 0 || size_t(value) >= prop.Names.size())
    throw EConvertError(std::to_string(value) + " is not a value of property " + prop.Name);
  return value;
}

int EnumValue(const TPropInfo& prop, const std::string& text) {
  std::string t = Trim(text);
  for (size_t i = 0; i < prop.Names.size(); ++i)
    if (SameName(prop.Names[i], t)) return int(i);
  if (!t.empty() && (isdigit(static_cast<unsigned char>(t[0])) || t[0] == '-'))
    return CheckedEnum(prop, ParseInt(t, prop.Name));
  throw EConvertError("'" + text + "' is not a value of property " + prop.Name);
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
    start = end + 1;
  }
  return lines;
}

}  // namespace

const TClassInfo& TPersistent::StaticClass() {
  static const TClassInfo info("TPersistent", nullptr);
  return info;
}

// Every property of a class and its parents by name; a class's own property hides a parent's of
// the same name, and within a class the first of a name wins.
struct TClassInfo::PropIndex {
  std::atomic<bool> Built{false};
  TNameTable<const TPropInfo, &TPropInfo::Name> ByName;
};

TClassInfo::TClassInfo(std::string name, const TClassInfo* parent)
    : Name(std::move(name)), Parent(parent), index_(std::make_unique<PropIndex>()) {}
TClassInfo::TClassInfo(TClassInfo&&) noexcept = default;
TClassInfo::~TClassInfo() = default;

const TPropInfo* TClassInfo::FindProp(std::string_view name) const {
  if (!index_->Built.load(std::memory_order_acquire)) {
    static std::mutex building;
    std::lock_guard<std::mutex> lock(building);
    if (!index_->Built.load(std::memory_order_relaxed)) {
      size_t count = 0;
      for (const TClassInfo* c = this; c; c = c->Parent) count += c->Props.size();
      index_->ByName.Reserve(count);
      for (const TClassInfo* c = this; c; c = c->Parent)
        for (const TPropInfo& p : c->Props) index_->ByName.Insert(&p);
      index_->Built.store(true, std::memory_order_release);
    }
  }
  return index_->ByName.Find(name);
}

std::vector<const TPropInfo*> TClassInfo::AllProps() const {
  std::vector<const TPropInfo*> all = Parent ? Parent->AllProps() : std::vector<const TPropInfo*>();
  for (const TPropInfo& p : Props) all.push_back(&p);
  return all;
}

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
  for (const TClassInfo* c = this; c; c = c->Parent)
    if (c == &other) return true;
  return false;
}

void RegisterClass(const TClassInfo& info) {
  if (info.Factory) Registry()[info.Name] = &info;
}

void RegisterStandardClasses();  // standard_classes.cpp

const TClassInfo* FindClass(const std::string& name) {
  static const bool standard = (RegisterStandardClasses(), true);
  (void)standard;
  auto it = Registry().find(std::string_view(name));
  return it == Registry().end() ? nullptr : it->second;
}

TComponent* CreateComponent(const std::string& className, TComponent* owner) {
  const TClassInfo* info = FindClass(className);
  if (!info) throw EConvertError("Class " + className + " not found");
  return info->Factory(owner);
}

void ThrowWrongComponentClass(TComponent* c, const TClassInfo& wanted) {
  throw EConvertError("Component " + c->Name() + " of class " + c->ClassName() + " is not a " + wanted.Name);
}

void ThrowWrongHandler(const std::string& event) {
  throw EConvertError("The handler given for " + event + " has the wrong parameters");
}

bool IsPublishedProp(TPersistent& obj, const std::string& path) {
  try {
    FindPropRef(obj, path);
    return true;
  } catch (const EConvertError&) {
    return false;
  }
}

TPropRef FindPropRef(TPersistent& obj, const std::string& path) {
  TPersistent* target = &obj;
  std::string_view rest = path;
  for (;;) {
    const size_t dot = rest.find('.');
    const std::string_view part = rest.substr(0, dot);
    const TPropInfo* prop = target->ClassInfo().FindProp(part);
    if (!prop)
      throw EConvertError("Property " + path + " does not exist in " + obj.ClassName());
    if (dot == std::string_view::npos) return {&obj, target, prop};
    if (prop->Kind != TPropKind::Object)
      throw EConvertError("Property " + std::string(part) + " of " + target->ClassName() + " has no properties");
    target = std::get<TPersistent*>(prop->Get(*target));
    if (!target) throw EConvertError("Property " + std::string(part) + " of " + obj.ClassName() + " is not set");
    rest.remove_prefix(dot + 1);
  }
}

TPropKind PropKind(TPersistent& obj, const std::string& path) { return FindPropRef(obj, path).Info->Kind; }

TPropValue GetPropValue(const TPropRef& prop) { return prop.Info->Get(*prop.Object); }

TPropValue GetPropValue(TPersistent& obj, const std::string& path) { return GetPropValue(FindPropRef(obj, path)); }

void SetPropValue(TPersistent& obj, const std::string& path, const TPropValue& value) {
  auto [root, target, prop] = FindPropRef(obj, path);
  RequireWritable(*prop);
  prop->Set(*target, value);
}

std::string GetPropText(TPersistent& obj, const std::string& path) {
  auto [root, target, prop] = FindPropRef(obj, path);
  TPropValue v = prop->Get(*target);
  switch (prop->Kind) {
    case TPropKind::String: return std::get<std::string>(v);
    case TPropKind::Integer: return std::to_string(std::get<int>(v));
    case TPropKind::Boolean: return std::get<int>(v) ? "True" : "False";
    case TPropKind::Color: return ColorToString(std::get<int>(v));
    case TPropKind::Enum: {
      int i = std::get<int>(v);
      return i >= 0 && size_t(i) < prop->Names.size() ? prop->Names[size_t(i)] : std::to_string(i);
    }
    case TPropKind::Set: {
      std::string text = "[";
      unsigned mask = unsigned(std::get<int>(v));
      for (size_t i = 0; i < prop->Names.size(); ++i)
        if (mask & (1u << i)) text += (text.size() > 1 ? "," : "") + prop->Names[i];
      return text + "]";
    }
    case TPropKind::Strings: {
      std::string text;
      for (const std::string& line : std::get<std::vector<std::string>>(v)) text += line + "\r\n";
      return text;
    }
    case TPropKind::Component: {
      TComponent* c = std::get<TComponent*>(v);
      return c ? c->Name() : std::string();
    }
    default: throw EConvertError("Property " + path + " has no text form");
  }
}

namespace {

// SetPropText's work; `path` names the property in the error for kinds without text.
void SetText(const TPropRef& ref, const std::string& path, const std::string& text) {
  TPersistent* target = ref.Object;
  const TPropInfo* prop = ref.Info;
  RequireWritable(*prop);
  switch (prop->Kind) {
    case TPropKind::String: prop->Set(*target, text); return;
    case TPropKind::Integer: prop->Set(*target, ParseInt(text, prop->Name)); return;
    case TPropKind::Boolean: {
      std::string t = Trim(text);
      if (SameName(t, "True") || t == "1") prop->Set(*target, 1);
      else if (SameName(t, "False") || t == "0") prop->Set(*target, 0);
      else throw EConvertError("'" + text + "' is not a valid boolean value for " + prop->Name);
      return;
    }
    case TPropKind::Color: prop->Set(*target, int(StringToColor(Trim(text)))); return;
    case TPropKind::Enum: prop->Set(*target, EnumValue(*prop, text)); return;
    case TPropKind::Set: {
      std::string t = Trim(text);
      if (t.size() < 2 || t.front() != '[' || t.back() != ']')
        throw EConvertError("'" + text + "' is not a set value for " + prop->Name);
      unsigned mask = 0;
      std::string inner = t.substr(1, t.size() - 2);
      size_t start = 0;
      while (start <= inner.size()) {
        size_t comma = inner.find(',', start);
        std::string item = Trim(inner.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (!item.empty()) mask |= 1u << EnumValue(*prop, item);
        if (comma == std::string::npos) break;
        start = comma + 1;
      }
      prop->Set(*target, int(mask));
      return;
    }
    case TPropKind::Strings: prop->Set(*target, SplitLines(text)); return;
    case TPropKind::Component: {
      auto* self = dynamic_cast<TComponent*>(ref.Root);
      TComponent* root = self ? (self->Owner() ? self->Owner() : self) : nullptr;
      TComponent* ref = nullptr;
      if (!Trim(text).empty()) {
        ref = root ? root->FindComponent(Trim(text)) : nullptr;
        if (!ref && root && SameName(root->Name(), Trim(text))) ref = root;
        if (!ref) throw EConvertError("Component " + text + " not found for " + prop->Name);
      }
      prop->Set(*target, ref);
      return;
    }
    default: throw EConvertError("Property " + path + " has no text form");
  }
}

}  // namespace

void SetPropText(TPersistent& obj, const std::string& path, const std::string& text) {
  SetText(FindPropRef(obj, path), path, text);
}

void SetPropText(const TPropRef& prop, const std::string& text) { SetText(prop, prop.Info->Name, text); }

std::string GetStrProp(TPersistent& obj, const std::string& path) {
  auto [root, target, prop] = FindPropRef(obj, path);
  RequireKind(*prop, {TPropKind::String});
  return std::get<std::string>(prop->Get(*target));
}

void SetStrProp(const TPropRef& prop, const std::string& value) {
  RequireKind(*prop.Info, {TPropKind::String});
  RequireWritable(*prop.Info);
  prop.Info->Set(*prop.Object, value);
}

void SetStrProp(TPersistent& obj, const std::string& path, const std::string& value) {
  SetStrProp(FindPropRef(obj, path), value);
}

int GetOrdProp(TPersistent& obj, const std::string& path) {
  auto [root, target, prop] = FindPropRef(obj, path);
  RequireKind(*prop, {TPropKind::Integer, TPropKind::Boolean, TPropKind::Enum, TPropKind::Set, TPropKind::Color});
  return std::get<int>(prop->Get(*target));
}

void SetOrdProp(const TPropRef& prop, int value) {
  const TPropInfo& info = *prop.Info;
  RequireKind(info, {TPropKind::Integer, TPropKind::Boolean, TPropKind::Enum, TPropKind::Set, TPropKind::Color});
  RequireWritable(info);
  info.Set(*prop.Object, info.Kind == TPropKind::Enum ? CheckedEnum(info, value) : value);
}

void SetOrdProp(TPersistent& obj, const std::string& path, int value) { SetOrdProp(FindPropRef(obj, path), value); }

std::vector<std::string> GetStringsProp(TPersistent& obj, const std::string& path) {
  auto [root, target, prop] = FindPropRef(obj, path);
  RequireKind(*prop, {TPropKind::Strings});
  return std::get<std::vector<std::string>>(prop->Get(*target));
}

void SetStringsProp(const TPropRef& prop, const std::vector<std::string>& lines) {
  RequireKind(*prop.Info, {TPropKind::Strings});
  RequireWritable(*prop.Info);
  prop.Info->Set(*prop.Object, lines);
}

void SetStringsProp(TPersistent& obj, const std::string& path, const std::vector<std::string>& lines) {
  SetStringsProp(FindPropRef(obj, path), lines);
}

void SetEventProp(const TPropRef& prop, const std::any& handler) {
  RequireKind(*prop.Info, {TPropKind::Event});
  prop.Info->Set(*prop.Object, handler);
}

void SetEventProp(TPersistent& obj, const std::string& path, const std::any& handler) {
  SetEventProp(FindPropRef(obj, path), handler);
}
