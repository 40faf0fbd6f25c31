#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

#include "core/Set.h"

namespace core {
class TComponent;
}

// Event types of the class library. An event is a std::function that also
// remembers the name of the method a stored layout bound to it ("StarClick"),
// so that writing the layout back names the same method. Assigning code
// directly forgets the name.
namespace ui {

template <class Signature>
class TMethod : public std::function<Signature> {
 public:
  using Function = std::function<Signature>;

  TMethod() = default;
  TMethod(std::nullptr_t) {}
  template <class F, class = std::enable_if_t<!std::is_same_v<std::decay_t<F>, TMethod>>>
  TMethod(F&& function) : Function(std::forward<F>(function)) {}

  template <class F, class = std::enable_if_t<!std::is_same_v<std::decay_t<F>, TMethod>>>
  TMethod& operator=(F&& function) {
    Function::operator=(std::forward<F>(function));
    FMethodName.clear();
    return *this;
  }
  TMethod& operator=(std::nullptr_t) {
    Function::operator=(nullptr);
    FMethodName.clear();
    return *this;
  }

  // The method the layout reader bound, empty for code assigned directly.
  const std::string& MethodName() const { return FMethodName; }
  void Bind(Function function, std::string methodName) {
    Function::operator=(std::move(function));
    FMethodName = std::move(methodName);
  }

 private:
  std::string FMethodName;
};

// Keys and buttons held during an input event.
enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = core::TSet<TShiftStateItem>;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// Sender is the component that raises the event.
using TNotifyEvent = TMethod<void(core::TComponent* Sender)>;
using TMouseEvent = TMethod<void(core::TComponent* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = TMethod<void(core::TComponent* Sender, TShiftState Shift, int X, int Y)>;
// Key is a virtual-key code; setting it to 0 swallows the key.
using TKeyEvent = TMethod<void(core::TComponent* Sender, int& Key, TShiftState Shift)>;
// Key is the Unicode code point typed; setting it to 0 swallows it.
using TKeyPressEvent = TMethod<void(core::TComponent* Sender, char32_t& Key)>;

}  // namespace ui
