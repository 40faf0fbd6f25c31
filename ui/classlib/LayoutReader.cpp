#include "ui/classlib/LayoutReader.h"

#include <string>
#include <vector>

#include "core/Exception.h"
#include "core/Format.h"
#include "core/StringUtils.h"
#include "ui/classlib/Forms.h"
#include "ui/classlib/LayoutValue.h"
#include "ui/classlib/Properties.h"

namespace ui {

namespace {

std::string JoinPath(const std::vector<std::string>& path) {
  std::string text;
  for (std::size_t i = 0; i < path.size(); ++i) text += (i ? "." : "") + path[i];
  return text;
}

class Reader {
 public:
  explicit Reader(core::TComponent& root) : FRoot(root) {}

  void Read(std::string_view text) {
    TLayoutObject tree = ParseLayout(text);
    FRootInfo = ClassInfoOfComponent(FRoot);
    if (!FRootInfo) throw core::EReadError("Line 1: The class of the root component is not registered");
    FRootObject = FRootInfo->FromComponent(&FRoot);
    Begin(FRoot);
    if (!tree.Name.empty()) Guarded(tree.Line, [&] { FRoot.SetName(tree.Name); });
    ReadProperties(FRoot, *FRootInfo, tree);
    FRoot.ExcludeComponentState(core::csReading);
    for (const TLayoutObject& child : tree.Children) ReadChild(child, FRoot);
    ResolveReferences();
    for (core::TComponent* component : FLoaded) component->Loaded();
  }

 private:
  struct Reference {
    void* Target;
    const TPropertyInfo* Property;
    std::string Name;
    std::string Where;
    int Line;
  };

  template <class F>
  void Guarded(int line, F&& action, const std::string& where = {}) {
    try {
      action();
    } catch (const std::exception& e) {
      if (std::string_view(e.what()).starts_with("Line ")) throw;
      std::string what = where.empty() ? std::string(e.what()) : "Error reading " + where + ": " + e.what();
      throw core::EReadError(core::Format("Line %d: %s", line, what));
    }
  }

  void Begin(core::TComponent& component) {
    component.IncludeComponentState(core::csLoading);
    component.IncludeComponentState(core::csReading);
    FLoaded.push_back(&component);
  }

  void ReadChild(const TLayoutObject& object, core::TComponent& parent) {
    const TClassInfo* info = FindComponentClass(object.ClassName);
    if (!info || !info->FFactory) {
      throw core::EReadError(core::Format("Line %d: Class %s not found", object.Line, object.ClassName));
    }
    core::TComponent* component = nullptr;
    Guarded(object.Line, [&] { component = info->Create(FRoot); });
    Begin(*component);
    Guarded(object.Line, [&] { component->SetName(object.Name); });
    Guarded(object.Line, [&] {
      bool placed = info->SetParentComponent(component, &parent);
      if (!placed && &parent != &FRoot) {
        throw core::EReadError(core::Format("Line %d: %s cannot be placed in %s", object.Line, object.Name, parent.Name()));
      }
    });
    ReadProperties(*component, *info, object);
    component->ExcludeComponentState(core::csReading);
    for (const TLayoutObject& child : object.Children) ReadChild(child, *component);
  }

  void ReadProperties(core::TComponent& component, const TClassInfo& info, const TLayoutObject& object) {
    void* target = info.FromComponent(&component);
    for (const TLayoutProperty& property : object.Properties) {
      std::string where = (component.Name().empty() ? object.ClassName : component.Name()) + "." + JoinPath(property.Path);
      Guarded(property.Line, [&] { SetProperty(target, &info, property, 0, where); }, where);
    }
  }

  void SetProperty(void* object, const TClassInfo* info, const TLayoutProperty& line, std::size_t index,
                   const std::string& where) {
    const std::string& name = line.Path[index];
    const TClassInfo* declaring = nullptr;
    const TPropertyInfo* property = info->FindProperty(name, &declaring);
    if (!property) throw core::EReadError(core::Format("Line %d: Property %s does not exist", line.Line, where));
    void* target = info->CastTo(object, declaring);
    bool last = index + 1 == line.Path.size();
    const TLayoutValue& value = line.Value;
    if (property->Kind == TPropertyKind::Object) {
      if (last) throw core::EReadError(core::Format("Line %d: Invalid property value of %s", line.Line, where));
      SetProperty(property->GetObject(target), property->ObjectClass, line, index + 1, where);
      return;
    }
    if (property->Kind == TPropertyKind::Strings) {
      bool listPath = last || (index + 2 == line.Path.size() && core::SameText(line.Path[index + 1], "Strings"));
      if (!listPath || value.Kind != TLayoutValue::TKind::List) {
        throw core::EReadError(core::Format("Line %d: Invalid property value of %s", line.Line, where));
      }
      core::TStrings* strings = property->GetStrings(target);
      strings->BeginUpdate();
      strings->Clear();
      for (const TLayoutValue& item : value.Items) {
        if (item.Kind != TLayoutValue::TKind::String) {
          strings->EndUpdate();
          throw core::EReadError(core::Format("Line %d: Invalid property value of %s", line.Line, where));
        }
        strings->Add(item.Text);
      }
      strings->EndUpdate();
      return;
    }
    if (!last) throw core::EReadError(core::Format("Line %d: Property %s does not exist", line.Line, where));
    switch (property->Kind) {
      case TPropertyKind::Component:
        if (value.Kind != TLayoutValue::TKind::Identifier) {
          throw core::EReadError(core::Format("Line %d: Invalid property value of %s", line.Line, where));
        }
        // The component may come later in the layout: set it at the end.
        FReferences.push_back(Reference{target, property, value.Text, where, line.Line});
        break;
      case TPropertyKind::Event: {
        if (value.Kind != TLayoutValue::TKind::Identifier) {
          throw core::EReadError(core::Format("Line %d: Invalid property value of %s", line.Line, where));
        }
        const TClassInfo* methodClass = nullptr;
        const TMethodEntry* entry = FRootInfo->FindMethod(value.Text, &methodClass);
        if (!entry) {
          throw core::EReadError(core::Format("Line %d: Method %s of %s does not exist", line.Line, value.Text, where));
        }
        void* root = FRootInfo->CastTo(FRootObject, methodClass);
        if (!property->BindMethod(target, value.Text, *entry, root)) {
          throw core::EReadError(
              core::Format("Line %d: Method %s does not fit the event %s", line.Line, value.Text, where));
        }
        break;
      }
      default:
        property->Set(target, value);
        break;
    }
  }

  core::TComponent* FindReference(const std::string& name) {
    if (core::SameText(name, FRoot.Name())) return &FRoot;
    if (core::TComponent* found = FRoot.FindComponent(name)) return found;
    // "Form2.Button1": a component of another form.
    auto dot = name.find('.');
    if (dot == std::string::npos || !Screen) return nullptr;
    std::string formName = name.substr(0, dot);
    for (int i = 0; i < Screen->FormCount(); ++i) {
      TCustomForm* form = Screen->Forms(i);
      if (core::SameText(form->Name(), formName)) return form->FindComponent(name.substr(dot + 1));
    }
    return nullptr;
  }

  void ResolveReferences() {
    for (const Reference& reference : FReferences) {
      core::TComponent* component = nullptr;
      if (!core::SameText(reference.Name, "nil")) {
        component = FindReference(reference.Name);
        if (!component) {
          throw core::EReadError(core::Format("Line %d: Error reading %s: component %s does not exist", reference.Line,
                                              reference.Where, reference.Name));
        }
      }
      bool fits = false;
      Guarded(reference.Line, [&] { fits = reference.Property->SetComponent(reference.Target, component); },
              reference.Where);
      if (!fits) {
        throw core::EReadError(core::Format("Line %d: Error reading %s: %s is of the wrong class", reference.Line,
                                            reference.Where, reference.Name));
      }
    }
  }

  core::TComponent& FRoot;
  const TClassInfo* FRootInfo = nullptr;
  void* FRootObject = nullptr;
  std::vector<core::TComponent*> FLoaded;
  std::vector<Reference> FReferences;
};

}  // namespace

void ReadLayout(core::TComponent& root, std::string_view text) { Reader(root).Read(text); }

}  // namespace ui
