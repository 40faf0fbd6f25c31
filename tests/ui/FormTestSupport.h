#pragma once

#include <functional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "core/Component.h"
#include "platform/VirtualKeys.h"
#include "UiTestSupport.h"
#include "ui/classlib/Controls.h"
#include "ui/classlib/Forms.h"

namespace gfx {
inline void PrintTo(const Rect& r, std::ostream* out) {
  *out << "(" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << ")";
}
inline void PrintTo(const Point& p, std::ostream* out) { *out << "(" << p.X << ", " << p.Y << ")"; }
}  // namespace gfx

namespace ui::testing {

// A focusable control that records what happens to it and answers the
// dialog keys the way a push button does: Enter when it is the default
// button, Escape when it is the cancel button.
class TProbeControl : public TCustomControl {
 public:
  using inherited = TCustomControl;

  explicit TProbeControl(core::TComponent* owner) : TCustomControl(owner) {
    SetTabStop(true);
    SetControlStyle(ControlStyle() | TControlStyle{csOpaque});
  }

  bool Default = false;
  bool Cancel = false;
  // WM_GETDLGCODE answer (an edit would want the arrows).
  LRESULT DialogCode = 0;
  TColor PaintColor = clWhite;
  std::vector<std::string> Events;
  std::vector<int> KeysDown;
  std::u32string Typed;

  void Dispatch(TMessage& message) override {
    switch (message.Msg) {
      case CM_DIALOGKEY:
        if ((message.WParam == WPARAM(platform::VK_RETURN) && Default) ||
            (message.WParam == WPARAM(platform::VK_ESCAPE) && Cancel)) {
          Events.push_back(message.WParam == WPARAM(platform::VK_RETURN) ? "enter" : "escape");
          message.Result = 1;
          Click();
          return;
        }
        TCustomControl::Dispatch(message);
        break;
      case WM_GETDLGCODE: message.Result = DialogCode; break;
      case CM_MOUSEENTER:
        Events.push_back("enter-mouse");
        TCustomControl::Dispatch(message);
        break;
      case CM_MOUSELEAVE:
        Events.push_back("leave-mouse");
        TCustomControl::Dispatch(message);
        break;
      default: TCustomControl::Dispatch(message); break;
    }
  }

 protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(PaintColor);
    Canvas()->FillRect(ClientRect());
  }
  void KeyDown(int& key, TShiftState shift) override {
    KeysDown.push_back(key);
    TCustomControl::KeyDown(key, shift);
  }
  void KeyPress(char32_t& key) override {
    Typed += key;
    TCustomControl::KeyPress(key);
  }
  void DoEnter() override {
    Events.push_back("focus");
    TCustomControl::DoEnter();
  }
  void DoExit() override {
    Events.push_back("blur");
    TCustomControl::DoExit();
  }
};

// A windowless control that fills itself with one colour.
class TSwatch : public TGraphicControl {
 public:
  using inherited = TGraphicControl;
  explicit TSwatch(core::TComponent* owner) : TGraphicControl(owner) {}
  TColor PaintColor = clRed;
  int Paints = 0;

 protected:
  void Paint() override {
    ++Paints;
    Canvas()->Brush()->SetColor(PaintColor);
    // Deliberately larger than the control: the parent clips it.
    Canvas()->FillRect(gfx::Rect{-50, -50, Width() + 50, Height() + 50});
  }
};

// A headless desktop with an application titled "Ostvane".
class FormTest : public UiTest {
 protected:
  FormTest() {
    App = core::CreateUnowned<TApplication>();
    App->SetTitle("Ostvane");
  }
  ~FormTest() override { App.reset(); }

  // A visible form with a client area of the given size at (100, 100).
  TForm* MakeForm(int clientWidth = 300, int clientHeight = 200) {
    TForm* form = App->CreateForm<TForm>();
    form->SetBounds(100, 100, 10, 10);
    form->SetClientSize(clientWidth, clientHeight);
    return form;
  }

  template <class T>
  T* Add(TWinControl* parent, gfx::Rect bounds) {
    T* control = core::Create<T>(*App->MainForm());
    control->SetParent(parent);
    control->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    return control;
  }

  gfx::Point Centre(const TControl* control) const {
    return control->ClientToScreen(gfx::Point{control->Width() / 2, control->Height() / 2});
  }
  void ClickOn(const TControl* control) {
    Headless->Click(Centre(control));
    App->ProcessMessages();
  }
  void Stroke(int key) {
    Headless->StrokeKey(key);
    App->ProcessMessages();
  }
  void StrokeShifted(int key) {
    Headless->PressKey(platform::VK_SHIFT);
    Headless->StrokeKey(key);
    Headless->ReleaseKey(platform::VK_SHIFT);
    App->ProcessMessages();
  }

  core::TComponentPtr<TApplication> App;
};

}  // namespace ui::testing
