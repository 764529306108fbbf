#include "platform/gui/component.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/exceptions.h"

namespace {

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

bool IsIdent(const std::string& s) {
  if (s.empty()) return false;
  for (size_t i = 0; i < s.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    if (!letter && !(i > 0 && c >= '0' && c <= '9')) return false;
  }
  return true;
}

}  // namespace

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  size_t i = 0;
  for (; i + 8 <= a.size(); i += 8)  // equal words first: names are mostly written alike
    if (std::memcmp(a.data() + i, b.data() + i, 8) != 0) break;
  for (; i < a.size(); ++i)
    if (a[i] != b[i] && UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  return true;
}

size_t TNameHash::operator()(std::string_view name) const noexcept {
  // Eight bytes at a time (the last word overlapping the one before), bit 5 set in every byte so
  // that both cases of a letter hash alike.
  constexpr uint64_t kFold = 0x2020202020202020ull, kMul = 0x9E3779B97F4A7C15ull;
  auto load = [&](size_t at, size_t bytes) {
    uint64_t word = 0;
    std::memcpy(&word, name.data() + at, bytes);
    return word;
  };
  const size_t n = name.size();
  uint64_t h = n;
  auto mix = [&](uint64_t word) { h = (h ^ (word | kFold)) * kMul; };
  if (n >= 8) {
    for (size_t i = 0; i + 8 <= n; i += 8) mix(load(i, 8));
    if (n % 8) mix(load(n - 8, 8));
  } else if (n >= 4) {
    mix(load(0, 4) | load(n - 4, 4) << 32);
  } else {
    for (size_t i = 0; i < n; ++i) mix(static_cast<unsigned char>(name[i]));
  }
  return size_t(h ^ (h >> 32));
}

QM_CLASS_INFO(TComponent, TPersistent, [](TClassBuilder<TComponent>& c) {
  c.String("Name", &TComponent::Name, &TComponent::SetName);
  c.Integer("Tag", &TComponent::Tag, &TComponent::SetTag);
})

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  ReleaseHandlers();
  Destroying();
  DestroyComponents();
  RemoveNotificationLinks();
  if (owner_) owner_->RemoveComponent(this);
}

void TComponent::RemoveNotificationLinks() {
  // Everyone who asked to hear of this component's death hears it now; the links go both ways.
  while (!freeNotifies_.empty()) {
    TComponent* other = freeNotifies_.back();
    freeNotifies_.pop_back();
    auto& theirs = other->freeNotifies_;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
    other->Notification(this, TOperation::opRemove);
  }
}

void TComponent::SetName(const std::string& name) {
  if (name == name_) return;
  if (!name.empty() && !IsIdent(name))
    throw EInvalidOperation("'" + name + "' is not a valid component name");
  if (!owner_) {
    name_ = name;
    return;
  }
  auto& byName = owner_->componentsByName_;
  if (!name.empty()) {
    auto it = byName.find(std::string_view(name));
    if (it != byName.end() && it->second != this)
      throw EInvalidOperation("A component named " + name + " already exists");
  }
  if (!name_.empty()) byName.erase(std::string_view(name_));
  name_ = name;
  if (!name_.empty()) byName.emplace(name_, this);
}

int TComponent::ComponentIndex() const {
  if (!owner_) return -1;
  auto& list = owner_->components_;
  return int(std::find(list.begin(), list.end(), this) - list.begin());
}

TComponent* TComponent::FindComponent(const std::string& name) const {
  if (name.empty()) return nullptr;
  auto it = componentsByName_.find(std::string_view(name));
  return it == componentsByName_.end() ? nullptr : it->second;
}

void TComponent::InsertComponent(TComponent* component) {
  if (component->owner_ == this) return;
  if (!component->name_.empty() && FindComponent(component->name_))
    throw EInvalidOperation("A component named " + component->name_ + " already exists");
  if (component->owner_) component->owner_->RemoveComponent(component);
  components_.push_back(component);
  if (!component->name_.empty()) componentsByName_.emplace(component->name_, component);
  component->owner_ = this;
  Notification(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  auto it = std::find(components_.begin(), components_.end(), component);
  if (it == components_.end()) return;
  if (!(state_ & csDestroying)) Notification(component, TOperation::opRemove);
  components_.erase(std::find(components_.begin(), components_.end(), component));
  if (!component->name_.empty()) componentsByName_.erase(std::string_view(component->name_));
  component->owner_ = nullptr;
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* c = components_.back();
    components_.pop_back();
    if (!c->name_.empty()) componentsByName_.erase(std::string_view(c->name_));
    c->owner_ = nullptr;
    Free(c);
  }
}

void TComponent::Free(TComponent* component) {
  if (!component) return;
  component->BeforeDestruction();
  delete component;
}

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end())
    freeNotifies_.push_back(component);
  auto& theirs = component->freeNotifies_;
  if (std::find(theirs.begin(), theirs.end(), this) == theirs.end()) theirs.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  if (!component) return;
  freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), component), freeNotifies_.end());
  auto& theirs = component->freeNotifies_;
  theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  // Owned components hear of their siblings' coming and going, so that references between
  // the components of one form are cleared when the referenced one dies.
  if (operation == TOperation::opRemove && !(state_ & csDestroying))
    for (size_t i = components_.size(); i-- > 0;)
      if (i < components_.size() && components_[i] != component) components_[i]->Notification(component, operation);
}

void TComponent::SetParentComponent(TComponent* parent) {
  throw EConvertError(ClassName() + " " + name_ + " cannot be placed inside " + parent->ClassName() + " " + parent->Name());
}

void TComponent::Loaded() { state_ &= ~(csLoading | csReading); }

void TComponent::DefineHandler(const std::string& name, std::any handler) {
  handlers_[name] = std::move(handler);
}

const std::any* TComponent::FindHandler(const std::string& name) const {
  auto it = handlers_.find(std::string_view(name));
  return it == handlers_.end() ? nullptr : &it->second;
}

void TComponent::DefineField(const std::string& name, std::function<void(TComponent*)> setter) {
  fields_[name] = std::move(setter);
}

void TComponent::AssignField(const std::string& name, TComponent* component) {
  auto it = fields_.find(std::string_view(name));
  if (it != fields_.end()) it->second(component);
}

void TComponent::FieldClassMismatch(const std::string& name, TComponent* c, const TClassInfo& wanted) {
  throw EConvertError("Field " + name + " wants a " + wanted.Name + " but the component is a " + c->ClassName());
}
