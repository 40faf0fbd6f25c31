#include "ui/LayoutReader.h"

#include "core/Exception.h"

namespace ui {

void ReadLayout(core::TComponent&, std::string_view) {
  throw core::EReadError("Stored layouts cannot be read yet");
}

}  // namespace ui
