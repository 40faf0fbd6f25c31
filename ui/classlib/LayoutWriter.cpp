#include "ui/classlib/LayoutWriter.h"

#include <algorithm>

#include "core/Exception.h"
#include "core/Format.h"
#include "ui/classlib/Properties.h"

namespace ui {

namespace {

class Writer {
 public:
  explicit Writer(core::TComponent& root) : FRoot(root) {}

  TLayoutObject Describe(core::TComponent& component) {
    const TClassInfo* info = ClassInfoOfComponent(component);
    if (!info || !info->FFactory) {
      throw core::EWriteError(core::Format("Class of component '%s' is not registered", component.Name()));
    }
    TLayoutObject object;
    object.Name = component.Name();
    object.ClassName = info->Name();
    WriteProperties(info->FromComponent(&component), info, {}, object.Properties);
    for (core::TComponent* child : Children(component, *info)) object.Children.push_back(Describe(*child));
    return object;
  }

 private:
  std::vector<core::TComponent*> Children(core::TComponent& component, const TClassInfo& info) {
    std::vector<core::TComponent*> children = info.GetChildren(&component, &FRoot);
    if (&component != &FRoot) return children;
    // The root also writes what it owns and nobody else holds.
    for (int i = 0; i < FRoot.ComponentCount(); ++i) {
      core::TComponent* owned = FRoot.Components(i);
      const TClassInfo* ownedInfo = ClassInfoOfComponent(*owned);
      if (ownedInfo && ownedInfo->GetParentComponent(owned)) continue;
      if (std::find(children.begin(), children.end(), owned) == children.end()) children.push_back(owned);
    }
    return children;
  }

  std::string ReferenceName(core::TComponent* component) {
    if (component == &FRoot) return FRoot.Name();
    if (component->Owner() == &FRoot || !component->Owner()) return component->Name();
    return component->Owner()->Name() + "." + component->Name();
  }

  void WriteProperties(void* object, const TClassInfo* info, const std::vector<std::string>& prefix,
                       std::vector<TLayoutProperty>& out) {
    if (!object) return;
    for (auto [property, declaring] : info->AllProperties()) {
      void* target = info->CastTo(object, declaring);
      if (property->IsStored && !property->IsStored(target)) continue;
      std::vector<std::string> path = prefix;
      path.push_back(property->Name);
      switch (property->Kind) {
        case TPropertyKind::Object:
          WriteProperties(property->GetObject(target), property->ObjectClass, path, out);
          break;
        case TPropertyKind::Strings: {
          core::TStrings* strings = property->GetStrings(target);
          if (!strings) break;
          std::vector<TLayoutValue> lines;
          for (int i = 0; i < strings->Count(); ++i) lines.push_back(TLayoutValue::MakeString(strings->Get(i)));
          path.push_back("Strings");
          out.push_back(TLayoutProperty{path, TLayoutValue::MakeList(std::move(lines)), 0});
          break;
        }
        case TPropertyKind::Component: {
          core::TComponent* component = property->GetComponent(target);
          if (!component) break;
          out.push_back(TLayoutProperty{path, TLayoutValue::MakeIdentifier(ReferenceName(component)), 0});
          break;
        }
        case TPropertyKind::Event: {
          std::string method = property->GetMethodName(target);
          if (method.empty()) break;
          out.push_back(TLayoutProperty{path, TLayoutValue::MakeIdentifier(method), 0});
          break;
        }
        default:
          out.push_back(TLayoutProperty{path, property->Get(target), 0});
          break;
      }
    }
  }

  core::TComponent& FRoot;
};

}  // namespace

TLayoutObject DescribeLayout(core::TComponent& root) { return Writer(root).Describe(root); }

std::string WriteLayout(core::TComponent& root) { return FormatLayout(DescribeLayout(root)); }

}  // namespace ui
