// Published properties: each class describes its properties by name, kind, getter and setter,
// so that the form reader, form storage and language files read and write them by name.
// A class states its table once in its .cpp with QM_CLASS_INFO; classes that can be made from
// a layout join the class registry there too.
#pragma once

#include <any>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "platform/gui/gui_types.h"

class TPersistent;
class TComponent;
class TClassInfo;

enum class TPropKind {
  String,      // std::string
  Integer,     // int
  Boolean,     // bool (read and written as 0/1 by the ordinal accessors)
  Enum,        // an ordinal named by TPropInfo::Names
  Set,         // a bit mask; bit n is named by TPropInfo::Names[n]
  Color,       // TColor
  Strings,     // a list of lines (TStrings items)
  Object,      // a sub-object with properties of its own (Font, Pen, Brush)
  Collection,  // a list of sub-objects (status-bar panels, list-view columns)
  Component,   // a reference to another component, by name in layouts
  Event,       // a handler bound by name
};

// A value handed through the generic accessors; which member is used depends on the kind.
using TPropValue = std::variant<std::monostate, std::string, int, std::vector<std::string>,
                                TPersistent*, TComponent*, std::any>;

struct TPropInfo {
  std::string Name;
  TPropKind Kind = TPropKind::String;
  std::vector<std::string> Names;  // enumeration names (Enum, Set)
  std::function<TPropValue(TPersistent&)> Get;
  std::function<void(TPersistent&, const TPropValue&)> Set;  // empty for read-only properties
  bool ReadOnly() const { return !Set; }
};

// A list of sub-objects with properties (the base of status panels, columns, ...).
class TCollectionBase {
public:
  virtual ~TCollectionBase() = default;
  virtual int Count() const = 0;
  virtual TPersistent* Item(int index) const = 0;
  virtual TPersistent* AddItem() = 0;
  virtual void Clear() = 0;
};

using TComponentFactory = TComponent* (*)(TComponent* owner);

// What a class publishes: its name, parent class, properties and (for registered component
// classes) how to make one.
class TClassInfo {
public:
  TClassInfo(std::string name, const TClassInfo* parent);
  TClassInfo(TClassInfo&&) noexcept;
  ~TClassInfo();
  std::string Name;
  const TClassInfo* Parent;
  TComponentFactory Factory = nullptr;
  std::vector<TPropInfo> Props;  // own properties only; FindProp searches the parents too
  // The property of that name (case-insensitive) here or in a parent class, or nullptr.
  const TPropInfo* FindProp(std::string_view name) const;
  // Every property, parents' first.
  std::vector<const TPropInfo*> AllProps() const;
  // True when this class is `other` or derives from it.
  bool InheritsFrom(const TClassInfo& other) const;

private:
  struct PropIndex;
  std::unique_ptr<PropIndex> index_;  // FindProp's table, filled on first use once Props is complete
};

// The root of classes with published properties.
class TPersistent : public TObject {
public:
  static const TClassInfo& StaticClass();
  virtual const TClassInfo& ClassInfo() const { return StaticClass(); }
  const std::string& ClassName() const { return ClassInfo().Name; }
};

// Declares the class-information members; put it first in the class body.
#define QM_CLASS(Self, Base)                                                         \
public:                                                                              \
  using inherited = Base;                                                            \
  static const TClassInfo& StaticClass();                                            \
  const TClassInfo& ClassInfo() const override { return StaticClass(); }             \
                                                                                     \
private:

// Fills a class's property table with typed getters and setters (member function pointers,
// data member pointers for events, or lambdas taking the object).
template <class C>
class TClassBuilder {
public:
  explicit TClassBuilder(TClassInfo& info) : info_(info) {}

  template <class G, class S = std::nullptr_t>
  TClassBuilder& String(const char* name, G get, S set = nullptr) {
    return Add(name, TPropKind::String, {}, Getter<std::string>(get), Setter<std::string>(set));
  }
  template <class G, class S = std::nullptr_t>
  TClassBuilder& Integer(const char* name, G get, S set = nullptr) {
    return Add(name, TPropKind::Integer, {}, OrdGetter(get), OrdSetter<int>(set));
  }
  template <class G, class S = std::nullptr_t>
  TClassBuilder& Boolean(const char* name, G get, S set = nullptr) {
    return Add(name, TPropKind::Boolean, {}, OrdGetter(get), OrdSetter<bool>(set));
  }
  template <class G, class S = std::nullptr_t>
  TClassBuilder& Color(const char* name, G get, S set = nullptr) {
    return Add(name, TPropKind::Color, {}, OrdGetter(get), OrdSetter<TColor>(set));
  }
  // `names` lists the enumeration's values in ordinal order.
  template <class E, class G, class S = std::nullptr_t>
  TClassBuilder& Enum(const char* name, std::vector<std::string> names, G get, S set = nullptr) {
    return Add(name, TPropKind::Enum, std::move(names), OrdGetter(get), OrdSetter<E>(set));
  }
  // A set held as a bit mask of type M; `names` names bit 0, 1, ...
  template <class M, class G, class S = std::nullptr_t>
  TClassBuilder& Set(const char* name, std::vector<std::string> names, G get, S set = nullptr) {
    return Add(name, TPropKind::Set, std::move(names), OrdGetter(get), OrdSetter<M>(set));
  }
  // A list of lines: the getter returns std::vector<std::string>, the setter takes one.
  template <class G, class S = std::nullptr_t>
  TClassBuilder& Strings(const char* name, G get, S set = nullptr) {
    return Add(name, TPropKind::Strings, {}, Getter<std::vector<std::string>>(get),
               Setter<std::vector<std::string>>(set));
  }
  // A sub-object: the getter returns a pointer to a TPersistent owned by the object.
  template <class G>
  TClassBuilder& Object(const char* name, G get) {
    return Add(name, TPropKind::Object, {}, [get](TPersistent& o) -> TPropValue {
      return static_cast<TPersistent*>(std::invoke(get, static_cast<C&>(o)));
    }, nullptr);
  }
  // A collection: the getter returns a TCollectionBase-derived TPersistent.
  template <class G>
  TClassBuilder& Collection(const char* name, G get) {
    return Add(name, TPropKind::Collection, {}, [get](TPersistent& o) -> TPropValue {
      return static_cast<TPersistent*>(std::invoke(get, static_cast<C&>(o)));
    }, nullptr);
  }
  // A reference to a component of class R (or derived); a wrong class raises EConvertError.
  template <class R, class G, class S>
  TClassBuilder& Component(const char* name, G get, S set) {
    return Add(name, TPropKind::Component, {}, [get](TPersistent& o) -> TPropValue {
      return static_cast<TComponent*>(std::invoke(get, static_cast<C&>(o)));
    }, [set](TPersistent& o, const TPropValue& v) {
      std::invoke(set, static_cast<C&>(o), CastComponent<R>(std::get<TComponent*>(v)));
    });
  }
  // An event: `field` is the std::function data member; binding takes a std::any holding
  // exactly that std::function type.
  template <class F>
  TClassBuilder& Event(const char* name, F C::*field) {
    return Add(name, TPropKind::Event, {}, [field](TPersistent& o) -> TPropValue {
      return std::any(static_cast<C&>(o).*field);
    }, [field, n = std::string(name)](TPersistent& o, const TPropValue& v) {
      static_cast<C&>(o).*field = CastHandler<F>(std::get<std::any>(v), n);
    });
  }

private:
  template <class R>
  static R* CastComponent(TComponent* c);
  template <class F>
  static F CastHandler(const std::any& handler, const std::string& event);

  TClassBuilder& Add(const char* name, TPropKind kind, std::vector<std::string> names,
                     std::function<TPropValue(TPersistent&)> get,
                     std::function<void(TPersistent&, const TPropValue&)> set) {
    info_.Props.push_back({name, kind, std::move(names), std::move(get), std::move(set)});
    return *this;
  }
  template <class T, class G>
  static std::function<TPropValue(TPersistent&)> Getter(G get) {
    return [get](TPersistent& o) -> TPropValue { return T(std::invoke(get, static_cast<C&>(o))); };
  }
  template <class G>
  static std::function<TPropValue(TPersistent&)> OrdGetter(G get) {
    return [get](TPersistent& o) -> TPropValue { return int(std::invoke(get, static_cast<C&>(o))); };
  }
  template <class T, class S>
  static std::function<void(TPersistent&, const TPropValue&)> Setter(S set) {
    if constexpr (std::is_same_v<S, std::nullptr_t>) return nullptr;
    else return [set](TPersistent& o, const TPropValue& v) { std::invoke(set, static_cast<C&>(o), std::get<T>(v)); };
  }
  template <class T, class S>
  static std::function<void(TPersistent&, const TPropValue&)> OrdSetter(S set) {
    if constexpr (std::is_same_v<S, std::nullptr_t>) return nullptr;
    else return [set](TPersistent& o, const TPropValue& v) {
      std::invoke(set, static_cast<C&>(o), static_cast<T>(std::get<int>(v)));
    };
  }

  TClassInfo& info_;
};

// Builds a class's information once: its table from `fill` and, for a component class that
// can be made with an owner, its factory.
template <class C, class Fill>
TClassInfo MakeClassInfo(const char* name, const TClassInfo* parent, Fill fill) {
  TClassInfo info(name, parent);
  if constexpr (std::is_base_of_v<TComponent, C> && !std::is_abstract_v<C> &&
                std::is_constructible_v<C, TComponent*>)
    info.Factory = [](TComponent* owner) -> TComponent* { return new C(owner); };
  TClassBuilder<C> builder(info);
  fill(builder);
  return info;
}

// Defines Self::StaticClass with the property table filled by `fill` (a lambda taking
// TClassBuilder<Self>&) and registers the class by name when it has a factory.
#define QM_CLASS_INFO(Self, Base, fill)                                                 \
  const TClassInfo& Self::StaticClass() {                                              \
    static const TClassInfo info = MakeClassInfo<Self>(#Self, &Base::StaticClass(), fill); \
    return info;                                                                       \
  }                                                                                    \
  static const bool qmRegistered##Self = (RegisterClass(Self::StaticClass()), true);

// The class registry: component classes that layouts can name.
void RegisterClass(const TClassInfo& info);
// The registered class of that name (case-insensitive), or nullptr.
const TClassInfo* FindClass(const std::string& name);
// Makes a component of the registered class; EConvertError for an unknown class.
TComponent* CreateComponent(const std::string& className, TComponent* owner);

// Generic access by property name, dotted paths through sub-objects allowed ("Font.Size").
// An unknown property raises EConvertError naming it; IsPublishedProp tests first.
bool IsPublishedProp(TPersistent& obj, const std::string& path);
TPropKind PropKind(TPersistent& obj, const std::string& path);
TPropValue GetPropValue(TPersistent& obj, const std::string& path);
void SetPropValue(TPersistent& obj, const std::string& path, const TPropValue& value);
// The value as text: strings as they are, numbers in decimal, booleans "True"/"False",
// enumerations by name, sets as "[a,b]", colours by name or "$00BBGGRR", string lists as lines
// joined by CR LF, components by name. Events and sub-objects have no text.
std::string GetPropText(TPersistent& obj, const std::string& path);
void SetPropText(TPersistent& obj, const std::string& path, const std::string& text);
std::string GetStrProp(TPersistent& obj, const std::string& path);
void SetStrProp(TPersistent& obj, const std::string& path, const std::string& value);
// Integer, Boolean, Enum, Set and Color properties as their ordinal.
int GetOrdProp(TPersistent& obj, const std::string& path);
void SetOrdProp(TPersistent& obj, const std::string& path, int value);
std::vector<std::string> GetStringsProp(TPersistent& obj, const std::string& path);
void SetStringsProp(TPersistent& obj, const std::string& path, const std::vector<std::string>& lines);
// Binds an event to a handler held in a std::any of the event's exact std::function type.
void SetEventProp(TPersistent& obj, const std::string& path, const std::any& handler);

// A property found by its path, for several accesses with one look-up: the object the path
// starts from, the object holding the property, and the property.
struct TPropRef {
  TPersistent* Root = nullptr;
  TPersistent* Object = nullptr;
  const TPropInfo* Info = nullptr;
};
// The property at `path`; EConvertError as above when there is none.
TPropRef FindPropRef(TPersistent& obj, const std::string& path);
// The accessors above on a property already found.
TPropValue GetPropValue(const TPropRef& prop);
void SetPropText(const TPropRef& prop, const std::string& text);
void SetStrProp(const TPropRef& prop, const std::string& value);
void SetOrdProp(const TPropRef& prop, int value);
void SetStringsProp(const TPropRef& prop, const std::vector<std::string>& lines);
void SetEventProp(const TPropRef& prop, const std::any& handler);

// Errors raised by the typed setters (EConvertError).
[[noreturn]] void ThrowWrongComponentClass(TComponent* c, const TClassInfo& wanted);
[[noreturn]] void ThrowWrongHandler(const std::string& event);

template <class C>
template <class R>
R* TClassBuilder<C>::CastComponent(TComponent* c) {
  if (!c) return nullptr;
  if (auto* r = dynamic_cast<R*>(c)) return r;
  ThrowWrongComponentClass(c, R::StaticClass());
}

template <class C>
template <class F>
F TClassBuilder<C>::CastHandler(const std::any& handler, const std::string& event) {
  if (!handler.has_value()) return F();
  if (const F* f = std::any_cast<F>(&handler)) return *f;
  ThrowWrongHandler(event);
}
