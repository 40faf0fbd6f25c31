#pragma once

#include <string>

namespace ui {

// An object with published properties that is not a component: fonts,
// pens, brushes, pictures. Stored layouts write its properties under the
// name of the property that holds it ("Font.Height = -11").
class TPersistent {
 public:
  TPersistent() = default;
  virtual ~TPersistent() = default;
  TPersistent(const TPersistent&) = delete;
  TPersistent& operator=(const TPersistent&) = delete;

  // Copies source's value into this object. The base raises
  // core::EConvertError "Cannot assign a <source> to a <this>" for classes
  // that do not know each other.
  virtual void Assign(const TPersistent& source);
};

}  // namespace ui
