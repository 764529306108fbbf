// TComponent: the owner tree of the program's objects. An owner frees what it owns; components
// find each other by name; a component that dies tells its owner and everyone who asked.
// Forms also keep a table of their event handlers and fields by name for the form reader.
#pragma once

#include <any>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/names.h"
#include "platform/gui/properties.h"

enum class TOperation { opInsert, opRemove };

// Bits of TComponent::ComponentState.
inline constexpr unsigned csLoading = 1, csDestroying = 2, csReading = 4;

class TComponent : public TPersistent {
  QM_CLASS(TComponent, TPersistent)
public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  // Renames; raises EInvalidOperation for a name that is not an identifier or that another
  // component of the same owner already has.
  virtual void SetName(const std::string& name);
  int Tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }
  unsigned ComponentState() const { return state_; }

  int ComponentCount() const { return int(components_.size()); }
  TComponent* Components(int index) const { return components_.at(size_t(index)); }
  // Position among the owner's components, -1 without an owner.
  int ComponentIndex() const;
  // The owned component of that name (case-insensitive), or nullptr.
  TComponent* FindComponent(const std::string& name) const;
  // Takes over ownership of `component` (removing it from its previous owner).
  void InsertComponent(TComponent* component);
  // Gives up ownership without freeing.
  void RemoveComponent(TComponent* component);
  // Frees every owned component, last first.
  void DestroyComponents();

  // Asks for Notification(this, opRemove) on `component` when this component dies.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

  // Event handlers and component fields by name, as the form reader binds them: a handler is
  // a std::any holding the event's exact std::function type.
  void DefineHandler(const std::string& name, std::any handler);
  // Binds a member function of the derived class as the handler `name`. Once the component's
  // destruction reaches the base classes (or its construction failed), the handler does nothing.
  template <class F, class R, class... A>
  void Handler(const std::string& name, R (F::*method)(A...)) {
    F* self = static_cast<F*>(this);
    if (!handlersLive_) handlersLive_ = std::make_shared<bool>(true);
    DefineHandler(name, std::function<R(A...)>([self, method, live = handlersLive_](A... a) -> R {
      if (!*live) return R();
      return (self->*method)(a...);
    }));
  }
  // The handler of that name (case-insensitive); an empty std::any when there is none.
  const std::any* FindHandler(const std::string& name) const;
  // Sets `field` to the component called `name` once the form reader has made it.
  template <class T>
  void Field(const std::string& name, T*& field) {
    DefineField(name, [&field, name](TComponent* c) {
      field = dynamic_cast<T*>(c);
      if (c && !field) FieldClassMismatch(name, c, T::StaticClass());
    });
  }
  // Called by the form reader for each component it made with this component as root.
  void AssignField(const std::string& name, TComponent* component);

  // Loading: state csLoading while the form reader works; Loaded runs after every property
  // is read.
  void BeginLoading() { state_ |= csLoading | csReading; }
  virtual void Loaded();
  // Places a component read inside another one in a layout (a control in its parent, an action
  // in its list, a menu item in its menu); the default refuses with EConvertError.
  virtual void SetParentComponent(TComponent* parent);
  // Marks the component as being destroyed (freed components tell no one about changes).
  void Destroying() { state_ |= csDestroying; }
  // Runs while the whole object still exists, just before it is deleted by its owner or by
  // `Free`: the place for work that needs the derived class (a form's OnDestroy).
  virtual void BeforeDestruction() { Destroying(); }
  // Deletes a component the way its owner does: BeforeDestruction first, then the destructor.
  static void Free(TComponent* component);

protected:
  // Silences every handler bound with Handler: the derived object they call is gone.
  void ReleaseHandlers() {
    if (handlersLive_) *handlersLive_ = false;
  }
  // Called when `component` is inserted into or removed from this component's owned list,
  // and (opRemove) when a component this one asked FreeNotification of dies.
  virtual void Notification(TComponent* component, TOperation operation);

private:
  void DefineField(const std::string& name, std::function<void(TComponent*)> setter);
  [[noreturn]] static void FieldClassMismatch(const std::string& name, TComponent* c, const TClassInfo& wanted);
  void RemoveNotificationLinks();

  TComponent* owner_ = nullptr;
  std::string name_;
  int tag_ = 0;
  unsigned state_ = 0;
  std::vector<TComponent*> components_;
  TNameTable<TComponent, &TComponent::name_> componentsByName_;  // the named ones
  std::vector<TComponent*> freeNotifies_;
  TNameMap<std::string, std::any> handlers_;
  std::shared_ptr<bool> handlersLive_;  // false once Handler's bindings must not run
  TNameMap<std::string, std::function<void(TComponent*)>> fields_;
};
