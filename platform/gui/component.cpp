#include "platform/gui/component.h"

#include <algorithm>

#include "platform/exceptions.h"

namespace {

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
    TComponent* other = byName.Find(name);
    if (other && other != this) throw EInvalidOperation("A component named " + name + " already exists");
  }
  if (!name_.empty()) byName.Erase(this);
  name_ = name;
  if (!name_.empty()) byName.Insert(this);
}

int TComponent::ComponentIndex() const {
  if (!owner_) return -1;
  auto& list = owner_->components_;
  return int(std::find(list.begin(), list.end(), this) - list.begin());
}

TComponent* TComponent::FindComponent(const std::string& name) const {
  if (name.empty()) return nullptr;
  return componentsByName_.Find(name);
}

void TComponent::InsertComponent(TComponent* component) {
  if (component->owner_ == this) return;
  if (!component->name_.empty() && FindComponent(component->name_))
    throw EInvalidOperation("A component named " + component->name_ + " already exists");
  if (component->owner_) component->owner_->RemoveComponent(component);
  components_.push_back(component);
  if (!component->name_.empty()) componentsByName_.Insert(component);
  component->owner_ = this;
  Notification(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  auto it = std::find(components_.begin(), components_.end(), component);
  if (it == components_.end()) return;
  if (!(state_ & csDestroying)) Notification(component, TOperation::opRemove);
  components_.erase(std::find(components_.begin(), components_.end(), component));
  if (!component->name_.empty()) componentsByName_.Erase(component);
  component->owner_ = nullptr;
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* c = components_.back();
    components_.pop_back();
    if (!c->name_.empty()) componentsByName_.Erase(c);
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
