#pragma once

#include <any>
#include <deque>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeindex>
#include <utility>
#include <vector>

#include "core/Component.h"
#include "core/Set.h"
#include "core/Strings.h"
#include "ui/classlib/Events.h"
#include "ui/classlib/LayoutValue.h"
#include "ui/classlib/Persistent.h"

// Published properties, registered once per class, which the stored-layout
// reader and writer use. A class with published properties declares
//
//   using inherited = TWinControl;                       // its base
//   static void DefineProperties(TPropertyList<TMyControl>& list);
//
// and defines them in its source file:
//
//   void TMyControl::DefineProperties(TPropertyList<TMyControl>& list) {
//     list.Property("Caption", &TMyControl::Caption, &TMyControl::SetCaption, std::string());
//     list.Property("Spacing", &TMyControl::Spacing, &TMyControl::SetSpacing, 2);
//     list.Enum("Kind", &TMyControl::Kind, &TMyControl::SetKind, bkPush, {"bkPush", "bkFlat"});
//     list.Component("SkinData", &TMyControl::SkinData, &TMyControl::SetSkinData);
//     list.Event("OnClick", &TMyControl::OnClick);
//   }
//
// The inherited properties come from the base's registration; registering
// a name again in a derived class replaces the base's entry (for example a
// different default). A property with a default is stored only when its
// value differs; one without is always stored. StoredIf adds a condition.
//
// Component classes that layouts create are registered by name:
//   RegisterComponentClass<TForm1>("TForm1");
namespace ui {

class TClassInfo;

enum class TPropertyKind { Integer, Boolean, Float, String, Enum, Set, Binary, Strings, Component, Event, Object };

// A method a form class offers to event properties, by name.
struct TMethodEntry {
  std::type_index Signature = typeid(void);
  // Binds the method to a root object of the class: a std::function of the
  // signature, in a std::any.
  std::function<std::any(void* root)> Bind;
};

// One published property. The functions take the object as void*
// pointing to an object of the class that registered the property.
struct TPropertyInfo {
  std::string Name;
  TPropertyKind Kind = TPropertyKind::Integer;
  // Identifiers of enumerations and sets (index = value), or the names of
  // integer values (colours, character sets) through the two functions.
  std::vector<std::string> Names;
  std::function<bool(std::int64_t, std::string&)> ValueToIdent;
  std::function<bool(std::string_view, std::int64_t&)> IdentToValue;

  // Integer, Boolean, Float, String, Enum, Set, Binary.
  std::function<TLayoutValue(void*)> Get;
  // Raises core::EReadError for a value of the wrong kind.
  std::function<void(void*, const TLayoutValue&)> Set;
  // Strings.
  std::function<core::TStrings*(void*)> GetStrings;
  // Component references.
  std::function<core::TComponent*(void*)> GetComponent;
  // False when the component is not of the property's class.
  std::function<bool(void*, core::TComponent*)> SetComponent;
  // Events.
  std::function<std::string(void*)> GetMethodName;
  std::function<bool(void*, const std::string&, const TMethodEntry&, void* root)> BindMethod;
  // Objects (fonts, pictures): their class and the object.
  const TClassInfo* ObjectClass = nullptr;
  std::function<void*(void*)> GetObject;

  // False when the value is the default (or a StoredIf condition says
  // no): the writer leaves it out.
  std::function<bool(void*)> IsStored;
};

// What the registry knows about one class.
class TClassInfo {
 public:
  explicit TClassInfo(std::type_index type) : FType(type) {}

  std::type_index Type() const { return FType; }
  // The registered name ("TButton"); the C++ name for classes nobody
  // registered by name.
  const std::string& Name() const { return FName; }
  const TClassInfo* Parent() const { return FParent; }
  bool InheritsFrom(const TClassInfo* other) const;

  // The property of that name, searched from this class up; declaring
  // receives the class that registered it.
  const TPropertyInfo* FindProperty(std::string_view name, const TClassInfo** declaring = nullptr) const;
  // Every property, base classes first, each name once (a derived
  // registration replacing the base's in place), with its declaring class.
  std::vector<std::pair<const TPropertyInfo*, const TClassInfo*>> AllProperties() const;
  const TMethodEntry* FindMethod(std::string_view name, const TClassInfo** declaring = nullptr) const;

  // The object (an object of this class, as void*) seen as one of the
  // ancestor class target.
  void* CastTo(void* object, const TClassInfo* target) const;
  // A component of this class as void*; nullptr when it is not one.
  void* FromComponent(core::TComponent* component) const;
  // Makes a component of this class owned by owner; nullptr for classes
  // not registered by name.
  core::TComponent* Create(core::TComponent& owner) const;

  // Layout tree hooks (the nearest class that set one answers):
  // - the component a child sits in (its parent control, its menu); the
  //   writer writes the child there, not at the root;
  core::TComponent* GetParentComponent(core::TComponent* component) const;
  // - puts a child read inside parent there; false when it cannot go
  //   there;
  bool SetParentComponent(core::TComponent* child, core::TComponent* parent) const;
  // - the components written inside this one, in order.
  std::vector<core::TComponent*> GetChildren(core::TComponent* component, core::TComponent* root) const;

  // For the registration templates.
  std::string FName;
  const TClassInfo* FParent = nullptr;
  void* (*FToParent)(void*) = nullptr;
  void* (*FFromComponent)(core::TComponent*) = nullptr;
  std::function<core::TComponent*(core::TComponent&)> FFactory;
  // A deque: the registration lambdas keep references to their entry.
  std::deque<TPropertyInfo> FProperties;
  std::map<std::string, TMethodEntry, std::less<>> FMethods;
  std::function<core::TComponent*(void*)> FGetParentComponent;
  std::function<bool(void*, core::TComponent*)> FSetParentComponent;
  std::function<std::vector<core::TComponent*>(void*, core::TComponent*)> FGetChildren;

 private:
  std::type_index FType;
};

// ---- Registry ---------------------------------------------------------------

// Records info by C++ type (the registration templates call it).
void RecordClassInfo(TClassInfo* info);
// The info of a C++ type, nullptr when no template has built it yet.
const TClassInfo* FindClassInfo(std::type_index type);
// The info of a component's class (its most derived registered class).
const TClassInfo* ClassInfoOfComponent(const core::TComponent& component);
// The class a layout names; nullptr when it was never registered.
const TClassInfo* FindComponentClass(std::string_view name);
void RecordComponentClass(std::string_view name, TClassInfo* info);

template <class T>
class TPropertyList;

namespace detail {

template <class T>
concept HasInherited = requires { typename T::inherited; };

template <class T>
concept DefinesOwnProperties = requires(TPropertyList<T>& list) { T::DefineProperties(list); };

template <class T>
struct IsSet : std::false_type {};
template <class E>
struct IsSet<core::TSet<E>> : std::true_type {
  using Item = E;
};

template <class T>
struct IsMethod : std::false_type {};
template <class F>
struct IsMethod<TMethod<F>> : std::true_type {
  using Signature = F;
};

template <class T>
struct MemberFunctionTraits;
template <class C, class R, class... A>
struct MemberFunctionTraits<R (C::*)(A...)> {
  using Class = C;
  using Signature = R(A...);
};

[[noreturn]] void RaiseBadValue(const std::string& property);
std::int64_t IntegerOf(const TLayoutValue& value, const TPropertyInfo& info);
bool BooleanOf(const TLayoutValue& value, const TPropertyInfo& info);

}  // namespace detail

template <class T>
TClassInfo& ClassInfoOf();

// ---- The registration list of one class ------------------------------------

template <class T>
class TPropertyList {
 public:
  explicit TPropertyList(TClassInfo& info) : FInfo(info) {}

  // A plain property: integers, booleans, doubles, strings. getter and
  // setter are member functions or callables taking T&.
  template <class Getter, class Setter, class V = std::decay_t<std::invoke_result_t<Getter, T&>>>
  TPropertyInfo& Property(std::string name, Getter getter, Setter setter, std::type_identity_t<std::optional<V>> defaultValue = {}) {
    TPropertyInfo& info = Add(std::move(name));
    if constexpr (std::is_same_v<V, bool>) {
      info.Kind = TPropertyKind::Boolean;
      info.Get = [getter](void* o) { return TLayoutValue::MakeIdentifier(std::invoke(getter, Self(o)) ? "True" : "False"); };
      info.Set = [setter, &info](void* o, const TLayoutValue& v) { std::invoke(setter, Self(o), detail::BooleanOf(v, info)); };
    } else if constexpr (std::is_integral_v<V>) {
      info.Kind = TPropertyKind::Integer;
      info.Get = [getter](void* o) { return TLayoutValue::MakeInteger(std::int64_t(std::invoke(getter, Self(o)))); };
      info.Set = [setter, &info](void* o, const TLayoutValue& v) { std::invoke(setter, Self(o), V(detail::IntegerOf(v, info))); };
    } else if constexpr (std::is_floating_point_v<V>) {
      info.Kind = TPropertyKind::Float;
      info.Get = [getter](void* o) { return TLayoutValue::MakeFloat(double(std::invoke(getter, Self(o)))); };
      info.Set = [setter, &info](void* o, const TLayoutValue& v) {
        if (v.Kind == TLayoutValue::TKind::Float) {
          std::invoke(setter, Self(o), V(v.Float));
        } else {
          std::invoke(setter, Self(o), V(detail::IntegerOf(v, info)));
        }
      };
    } else if constexpr (std::is_convertible_v<V, std::string>) {
      info.Kind = TPropertyKind::String;
      info.Get = [getter](void* o) { return TLayoutValue::MakeString(std::string(std::invoke(getter, Self(o)))); };
      info.Set = [setter, name = info.Name](void* o, const TLayoutValue& v) {
        if (v.Kind != TLayoutValue::TKind::String) detail::RaiseBadValue(name);
        std::invoke(setter, Self(o), v.Text);
      };
    } else {
      static_assert(std::is_same_v<V, void>, "use Enum, Set, Component, Event, Object, Strings or Binary");
    }
    SetDefault(info, getter, defaultValue);
    return info;
  }

  // An integer written as an identifier where it has one (colours,
  // character sets, cursors).
  template <class Getter, class Setter, class V = std::decay_t<std::invoke_result_t<Getter, T&>>>
  TPropertyInfo& IdentInteger(std::string name, Getter getter, Setter setter, std::type_identity_t<std::optional<V>> defaultValue,
                              bool (*toIdent)(V, std::string&), bool (*fromIdent)(std::string_view, V&)) {
    TPropertyInfo& info = Property(std::move(name), getter, setter, defaultValue);
    info.ValueToIdent = [toIdent](std::int64_t value, std::string& text) { return toIdent(V(value), text); };
    info.IdentToValue = [fromIdent](std::string_view text, std::int64_t& value) {
      V v{};
      if (!fromIdent(text, v)) return false;
      value = std::int64_t(v);
      return true;
    };
    info.Get = [getter, toIdent](void* o) {
      V value = std::invoke(getter, Self(o));
      std::string text;
      if (toIdent(value, text)) return TLayoutValue::MakeIdentifier(text);
      return TLayoutValue::MakeInteger(std::int64_t(value));
    };
    return info;
  }

  // An enumeration written by the identifiers of its values (names[value]).
  template <class Getter, class Setter, class V = std::decay_t<std::invoke_result_t<Getter, T&>>>
  TPropertyInfo& Enum(std::string name, Getter getter, Setter setter, std::type_identity_t<std::optional<V>> defaultValue,
                      std::vector<std::string> names) {
    static_assert(std::is_enum_v<V>);
    TPropertyInfo& info = Add(std::move(name));
    info.Kind = TPropertyKind::Enum;
    info.Names = std::move(names);
    info.Get = [getter, &info](void* o) {
      std::size_t value = std::size_t(std::invoke(getter, Self(o)));
      if (value < info.Names.size()) return TLayoutValue::MakeIdentifier(info.Names[value]);
      return TLayoutValue::MakeInteger(std::int64_t(value));
    };
    info.Set = [setter, &info](void* o, const TLayoutValue& v) {
      if (v.Kind != TLayoutValue::TKind::Identifier) detail::RaiseBadValue(info.Name);
      for (std::size_t i = 0; i < info.Names.size(); ++i) {
        if (info.Names[i] == v.Text) {
          std::invoke(setter, Self(o), V(i));
          return;
        }
      }
      detail::RaiseBadValue(info.Name);
    };
    SetDefault(info, getter, defaultValue);
    return info;
  }

  // A set written as [a, b] with the identifiers of its items.
  template <class Getter, class Setter, class V = std::decay_t<std::invoke_result_t<Getter, T&>>>
  TPropertyInfo& Set(std::string name, Getter getter, Setter setter, std::type_identity_t<std::optional<V>> defaultValue,
                     std::vector<std::string> names) {
    static_assert(detail::IsSet<V>::value);
    using Item = typename detail::IsSet<V>::Item;
    TPropertyInfo& info = Add(std::move(name));
    info.Kind = TPropertyKind::Set;
    info.Names = std::move(names);
    info.Get = [getter, &info](void* o) {
      V value = std::invoke(getter, Self(o));
      std::vector<std::string> items;
      for (std::size_t i = 0; i < info.Names.size(); ++i) {
        if (value.Contains(Item(i))) items.push_back(info.Names[i]);
      }
      return TLayoutValue::MakeSet(items);
    };
    info.Set = [setter, &info](void* o, const TLayoutValue& v) {
      if (v.Kind != TLayoutValue::TKind::Set) detail::RaiseBadValue(info.Name);
      V value;
      for (const std::string& item : v.Names) {
        auto found = std::find(info.Names.begin(), info.Names.end(), item);
        if (found == info.Names.end()) detail::RaiseBadValue(info.Name);
        value.Include(Item(found - info.Names.begin()));
      }
      std::invoke(setter, Self(o), value);
    };
    SetDefault(info, getter, defaultValue);
    return info;
  }

  // Binary data ({hex}); stored when not empty. getter answers something
  // convertible to std::vector<std::uint8_t>; setter takes a byte span.
  template <class Getter, class Setter>
  TPropertyInfo& Binary(std::string name, Getter getter, Setter setter) {
    TPropertyInfo& info = Add(std::move(name));
    info.Kind = TPropertyKind::Binary;
    info.Get = [getter](void* o) {
      auto bytes = std::invoke(getter, Self(o));
      return TLayoutValue::MakeBinary(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    };
    info.Set = [setter, &info](void* o, const TLayoutValue& v) {
      if (v.Kind != TLayoutValue::TKind::Binary) detail::RaiseBadValue(info.Name);
      std::invoke(setter, Self(o), std::span<const std::uint8_t>(v.Bytes));
    };
    info.IsStored = [getter](void* o) { return !std::invoke(getter, Self(o)).empty(); };
    return info;
  }

  // Lines ("Items.Strings = ('a' 'b')"); stored when not empty.
  template <class Getter>
  TPropertyInfo& Strings(std::string name, Getter getter) {
    TPropertyInfo& info = Add(std::move(name));
    info.Kind = TPropertyKind::Strings;
    info.GetStrings = [getter](void* o) -> core::TStrings* { return std::invoke(getter, Self(o)); };
    info.IsStored = [getter](void* o) {
      core::TStrings* strings = std::invoke(getter, Self(o));
      return strings && strings->Count() > 0;
    };
    return info;
  }

  // A reference to another component, by name; stored when set. The
  // reader sets it once every component of the layout exists.
  template <class Getter, class Setter>
  TPropertyInfo& Component(std::string name, Getter getter, Setter setter) {
    using Pointer = std::decay_t<std::invoke_result_t<Getter, T&>>;
    using Referenced = std::remove_cv_t<std::remove_pointer_t<Pointer>>;
    TPropertyInfo& info = Add(std::move(name));
    info.Kind = TPropertyKind::Component;
    info.GetComponent = [getter](void* o) -> core::TComponent* {
      return const_cast<core::TComponent*>(static_cast<const core::TComponent*>(std::invoke(getter, Self(o))));
    };
    info.SetComponent = [setter](void* o, core::TComponent* component) {
      Referenced* typed = nullptr;
      if (component) {
        typed = dynamic_cast<Referenced*>(component);
        if (!typed) return false;
      }
      std::invoke(setter, Self(o), typed);
      return true;
    };
    info.IsStored = [getter](void* o) { return std::invoke(getter, Self(o)) != nullptr; };
    return info;
  }

  // An event: a TMethod member, or a getter answering one and a setter.
  template <class F>
  TPropertyInfo& Event(std::string name, TMethod<F> T::*member) {
    return AddEvent<F>(
        std::move(name), [member](T& o) -> const TMethod<F>& { return o.*member; },
        [member](T& o, TMethod<F> method) { o.*member = std::move(method); });
  }
  template <class Getter, class Setter>
  TPropertyInfo& Event(std::string name, Getter getter, Setter setter) {
    using Method = std::decay_t<std::invoke_result_t<Getter, T&>>;
    static_assert(detail::IsMethod<Method>::value);
    return AddEvent<typename detail::IsMethod<Method>::Signature>(std::move(name), getter, setter);
  }

  // A sub-object whose own properties are written under this name
  // ("Font.Height"). getter answers a pointer to it.
  template <class Getter>
  TPropertyInfo& Object(std::string name, Getter getter) {
    using Pointer = std::decay_t<std::invoke_result_t<Getter, T&>>;
    using Sub = std::remove_cv_t<std::remove_pointer_t<Pointer>>;
    TPropertyInfo& info = Add(std::move(name));
    info.Kind = TPropertyKind::Object;
    info.ObjectClass = &ClassInfoOf<Sub>();
    info.GetObject = [getter](void* o) -> void* { return const_cast<Sub*>(std::invoke(getter, Self(o))); };
    return info;
  }

  // A method of a form class that event properties may name.
  template <class M>
  void Method(std::string name, M method) {
    using Signature = typename detail::MemberFunctionTraits<M>::Signature;
    TMethodEntry entry;
    entry.Signature = typeid(Signature);
    entry.Bind = [method](void* root) {
      T* object = static_cast<T*>(root);
      return std::any(std::function<Signature>(
          [object, method](auto&&... args) { return (object->*method)(std::forward<decltype(args)>(args)...); }));
    };
    FInfo.FMethods[name] = std::move(entry);
  }

  // Stores the property only when predicate(object) holds as well.
  template <class F>
  void StoredIf(TPropertyInfo& info, F predicate) {
    auto previous = info.IsStored;
    info.IsStored = [previous, predicate](void* o) { return (!previous || previous(o)) && predicate(Self(o)); };
  }

  // Layout tree hooks (see TClassInfo).
  template <class F>
  void ParentComponent(F getter) {
    FInfo.FGetParentComponent = [getter](void* o) -> core::TComponent* { return getter(Self(o)); };
  }
  template <class F>
  void SetParentComponent(F setter) {
    FInfo.FSetParentComponent = [setter](void* o, core::TComponent* parent) { return setter(Self(o), parent); };
  }
  template <class F>
  void Children(F lister) {
    FInfo.FGetChildren = [lister](void* o, core::TComponent* root) { return lister(Self(o), root); };
  }

 private:
  static T& Self(void* object) { return *static_cast<T*>(object); }

  TPropertyInfo& Add(std::string name) {
    for (TPropertyInfo& existing : FInfo.FProperties) {
      if (existing.Name == name) {
        existing = TPropertyInfo{};
        existing.Name = std::move(name);
        return existing;
      }
    }
    FInfo.FProperties.emplace_back();
    FInfo.FProperties.back().Name = std::move(name);
    return FInfo.FProperties.back();
  }

  template <class Getter, class V>
  static void SetDefault(TPropertyInfo& info, Getter getter, const std::optional<V>& defaultValue) {
    if (!defaultValue) return;
    info.IsStored = [getter, value = *defaultValue](void* o) { return !(std::invoke(getter, Self(o)) == value); };
  }

  template <class F, class Getter, class Setter>
  TPropertyInfo& AddEvent(std::string name, Getter getter, Setter setter) {
    TPropertyInfo& info = Add(std::move(name));
    info.Kind = TPropertyKind::Event;
    info.GetMethodName = [getter](void* o) { return std::string(std::invoke(getter, Self(o)).MethodName()); };
    info.BindMethod = [setter](void* o, const std::string& methodName, const TMethodEntry& entry, void* root) {
      if (entry.Signature != std::type_index(typeid(F))) return false;
      TMethod<F> method;
      method.Bind(std::any_cast<std::function<F>>(entry.Bind(root)), methodName);
      std::invoke(setter, Self(o), std::move(method));
      return true;
    };
    info.IsStored = [getter](void* o) { return !std::invoke(getter, Self(o)).MethodName().empty(); };
    return info;
  }

  TClassInfo& FInfo;
};

// The info of T, built on first use from T's DefineProperties and its
// base's info.
template <class T>
TClassInfo& ClassInfoOf() {
  static TClassInfo* info = [] {
    auto* made = new TClassInfo(typeid(T));
    made->FName = typeid(T).name();
    if constexpr (detail::HasInherited<T>) {
      using Base = typename T::inherited;
      made->FParent = &ClassInfoOf<Base>();
      made->FToParent = [](void* object) -> void* { return static_cast<Base*>(static_cast<T*>(object)); };
    }
    if constexpr (std::is_base_of_v<core::TComponent, T>) {
      made->FFromComponent = [](core::TComponent* component) -> void* { return dynamic_cast<T*>(component); };
    }
    if constexpr (std::is_same_v<T, core::TComponent>) {
      TPropertyList<T> list(*made);
      list.Property("Tag", &core::TComponent::Tag, &core::TComponent::SetTag, 0);
    }
    if constexpr (detail::DefinesOwnProperties<T>) {
      TPropertyList<T> list(*made);
      T::DefineProperties(list);
    }
    RecordClassInfo(made);
    return made;
  }();
  return *info;
}

// Lets layouts create T under name; returns its info.
template <class T>
const TClassInfo& RegisterComponentClass(std::string_view name) {
  TClassInfo& info = ClassInfoOf<T>();
  info.FName = std::string(name);
  info.FFactory = [](core::TComponent& owner) -> core::TComponent* { return core::Create<T>(owner); };
  RecordComponentClass(name, &info);
  return info;
}

// Registers the class library's own component classes (forms, menus,
// timers, image lists), then runs every registrar added by the libraries
// above it (the standard controls, the skinned controls). Runs once, on the
// first call; looking up or registering any class calls it first, so
// layouts naming these classes load without set-up.
void RegisterClassLibraryClasses();

// A library above the class library adds the function that registers its
// classes, usually from a static initializer; the class library knows none
// of them. A registrar added after the first look-up runs at once.
using TClassRegistrar = void (*)();
void AddClassRegistrar(TClassRegistrar registrar);

}  // namespace ui
