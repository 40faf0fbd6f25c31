#include <algorithm>
#include <map>
#include <memory>
#include <unordered_map>

#include "core/Exception.h"
#include "core/Format.h"
#include "core/StringUtils.h"
#include "ui/classlib/Properties.h"

namespace ui {

namespace {

std::unordered_map<std::type_index, TClassInfo*>& InfosByType() {
  static std::unordered_map<std::type_index, TClassInfo*> infos;
  return infos;
}

// Class names compare without letter case, as identifiers of layouts do.
struct NoCase {
  bool operator()(std::string_view a, std::string_view b) const { return core::CompareText(a, b) < 0; }
};

std::map<std::string, TClassInfo*, NoCase>& InfosByName() {
  static std::map<std::string, TClassInfo*, NoCase> infos;
  return infos;
}

}  // namespace

namespace detail {

void RaiseBadValue(const std::string& property) {
  throw core::EReadError(core::Format("Invalid property value of %s", property));
}

std::int64_t IntegerOf(const TLayoutValue& value, const TPropertyInfo& info) {
  if (value.Kind == TLayoutValue::TKind::Integer) return value.Integer;
  if (value.Kind == TLayoutValue::TKind::Identifier && info.IdentToValue) {
    std::int64_t result = 0;
    if (info.IdentToValue(value.Text, result)) return result;
  }
  RaiseBadValue(info.Name);
}

bool BooleanOf(const TLayoutValue& value, const TPropertyInfo& info) {
  if (value.Kind == TLayoutValue::TKind::Identifier) {
    if (core::SameText(value.Text, "True")) return true;
    if (core::SameText(value.Text, "False")) return false;
  }
  RaiseBadValue(info.Name);
}

}  // namespace detail

void RecordClassInfo(TClassInfo* info) { InfosByType()[info->Type()] = info; }

const TClassInfo* FindClassInfo(std::type_index type) {
  auto found = InfosByType().find(type);
  return found == InfosByType().end() ? nullptr : found->second;
}

const TClassInfo* ClassInfoOfComponent(const core::TComponent& component) {
  // The root of a layout is looked up by its type, before any class name.
  RegisterClassLibraryClasses();
  return FindClassInfo(typeid(component));
}

const TClassInfo* FindComponentClass(std::string_view name) {
  RegisterClassLibraryClasses();
  auto found = InfosByName().find(std::string(name));
  return found == InfosByName().end() ? nullptr : found->second;
}

// The class library's own classes are known before any look-up and before
// any class of the application, so that a layout naming them loads without
// set-up and an application's class of the same name wins.
void RecordComponentClass(std::string_view name, TClassInfo* info) {
  RegisterClassLibraryClasses();
  InfosByName()[std::string(name)] = info;
}

bool TClassInfo::InheritsFrom(const TClassInfo* other) const {
  for (const TClassInfo* c = this; c; c = c->FParent) {
    if (c == other) return true;
  }
  return false;
}

const TPropertyInfo* TClassInfo::FindProperty(std::string_view name, const TClassInfo** declaring) const {
  for (const TClassInfo* c = this; c; c = c->FParent) {
    for (const TPropertyInfo& property : c->FProperties) {
      if (core::SameText(property.Name, name)) {
        if (declaring) *declaring = c;
        return &property;
      }
    }
  }
  return nullptr;
}

std::vector<std::pair<const TPropertyInfo*, const TClassInfo*>> TClassInfo::AllProperties() const {
  std::vector<const TClassInfo*> chain;
  for (const TClassInfo* c = this; c; c = c->FParent) chain.push_back(c);
  std::vector<std::pair<const TPropertyInfo*, const TClassInfo*>> result;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    for (const TPropertyInfo& property : (*it)->FProperties) {
      auto same = std::find_if(result.begin(), result.end(),
                               [&](const auto& entry) { return core::SameText(entry.first->Name, property.Name); });
      if (same != result.end()) {
        *same = {&property, *it};
      } else {
        result.emplace_back(&property, *it);
      }
    }
  }
  return result;
}

const TMethodEntry* TClassInfo::FindMethod(std::string_view name, const TClassInfo** declaring) const {
  for (const TClassInfo* c = this; c; c = c->FParent) {
    for (const auto& [methodName, entry] : c->FMethods) {
      if (core::SameText(methodName, name)) {
        if (declaring) *declaring = c;
        return &entry;
      }
    }
  }
  return nullptr;
}

void* TClassInfo::CastTo(void* object, const TClassInfo* target) const {
  const TClassInfo* c = this;
  while (object && c && c != target) {
    object = c->FToParent ? c->FToParent(object) : nullptr;
    c = c->FParent;
  }
  return c == target ? object : nullptr;
}

void* TClassInfo::FromComponent(core::TComponent* component) const {
  return FFromComponent && component ? FFromComponent(component) : nullptr;
}

core::TComponent* TClassInfo::Create(core::TComponent& owner) const { return FFactory ? FFactory(owner) : nullptr; }

core::TComponent* TClassInfo::GetParentComponent(core::TComponent* component) const {
  void* object = FromComponent(component);
  for (const TClassInfo* c = this; c && object; c = c->FParent) {
    if (c->FGetParentComponent) return c->FGetParentComponent(CastTo(object, c));
  }
  return nullptr;
}

bool TClassInfo::SetParentComponent(core::TComponent* child, core::TComponent* parent) const {
  void* object = FromComponent(child);
  for (const TClassInfo* c = this; c && object; c = c->FParent) {
    if (c->FSetParentComponent) return c->FSetParentComponent(CastTo(object, c), parent);
  }
  return false;
}

std::vector<core::TComponent*> TClassInfo::GetChildren(core::TComponent* component, core::TComponent* root) const {
  void* object = FromComponent(component);
  for (const TClassInfo* c = this; c && object; c = c->FParent) {
    if (c->FGetChildren) return c->FGetChildren(CastTo(object, c), root);
  }
  return {};
}

}  // namespace ui
